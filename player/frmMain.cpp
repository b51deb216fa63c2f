// The player window's lifecycle: load, Init from the catalogue's hand-off, unload.
#include "frmMain.h"

#include "ErrorHandling.h"
#include "PedalDevices.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>

namespace {
QString procName(const char* name) {
    return SourceModule::frmMain + QLatin1String(name);
}

void addColumns(QTreeWidget* list, const QStringList& headers, std::initializer_list<int> widthsTwips) {
    list->setHeaderLabels(headers);
    int column = 0;
    for (const int twips : widthsTwips)
        list->setColumnWidth(column++, Twips::toPixels(twips));
}
} // namespace

frmMain* frmMain::load(PlayerServices services) {
    auto window = std::make_unique<frmMain>(std::move(services));
    window->Form_Load(); // a window whose load failed is not kept
    return window.release();
}

void frmMain::Form_Load() {
    logAndRaise(procName(".Form_Load()"), [&] {
        addColumns(lvNotes, {QStringLiteral("Time"), QStringLiteral("Source"), QStringLiteral("Note")},
                   {1100, 2500, 5800});
        {
            // Set up in code, not clicked: the slider's click does not run.
            const QSignalBlocker quiet(sldRate);
            sldRate->setRange(0, 2);
            sldRate->setValue(1);
        }
        PlayRate = 1.0;
        addColumns(lvData, {QStringLiteral("Field"), QStringLiteral("Value")}, {1300, 1800});
    });
}

void frmMain::Init(const QString& TitleName, const QString& Filename, const QByteArray& FileBytes) {
    logAndRaise(procName(".Init()"), [&] {
        setWindowTitle(TitleName);
        CurrentFilename = Filename;
        CurrentFileBytes = FileBytes.isEmpty() ? Filename.toUtf8() : FileBytes;
        cmbFullScreen->hide();
        repaint();
        LoadXML(lvNotes);
        setHeightTwips(lvNotes->topLevelItemCount() == 0 ? 5300 : 7500);
        // A pedal that was lost is still polled for, so it is taken up again when it comes back.
        armPedalPoll();
    });
}

void frmMain::Form_Unload() {
    logAndRaise(procName(".Form_Unload()"), [&] {
        Timer1->stop();
        tmrFoot->stop();
        if (m_player) {
            m_player->stop();
            m_player->setURL(QByteArray());
        }
        const QPointer<frmMain> self(this);
        QCoreApplication::processEvents();
        if (!self)
            return;
        if (CatalogueLink* catalogue = m_services.catalogue) {
            if (catalogue->rowCount() == 1)
                catalogue->unload();
            else
                catalogue->showAgain();
        }
    });
}

void frmMain::unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    const QPointer<frmMain> self(this);
    std::optional<QuillonError> failure;
    try {
        Form_Unload();
    } catch (...) {
        failure = currentError();
    }
    if (self) {
        if (failure) {
            // Whatever failed, nothing goes on playing and the user gets a window back.
            skipErrors([&] { Timer1->stop(); });
            skipErrors([&] { tmrFoot->stop(); });
            skipErrors([&] {
                if (m_player)
                    m_player->stop();
            });
            skipErrors([&] {
                if (m_player)
                    m_player->setURL(QByteArray());
            });
            skipErrors([&] {
                if (CatalogueLink* catalogue = m_services.catalogue) {
                    if (catalogue->rowCount() == 1)
                        catalogue->unload();
                    else
                        catalogue->showAgain();
                }
            });
        }
        hide();
        m_unloaded = true;
        deleteLater();
    }
    if (failure)
        throw *failure;
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    try {
        unload();
    } catch (...) {
        reportUnhandledError(currentError());
    }
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
}
