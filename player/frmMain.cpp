// The player window's lifecycle: load, Init from the catalogue's hand-off, unload.
#include "frmMain.h"

#include "ErrorHandling.h"
#include "UnhandledError.h"
#include "PedalDevices.h"
#include "Platform.h"
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

bool frmMain::openSession(const QString& TitleName, const QString& Filename, const QByteArray& FileBytes,
                          int openWaitMs, const std::function<bool()>& abandoned) {
    if (!m_player)
        raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    // Either window may be closed while the wait lets events run.
    const QPointer<frmMain> self(this);
    const auto gone = [&] { return !self || self->isUnloading() || (abandoned && abandoned()); };
    try {
        m_player->setURL(programFolder() + '/' + FileBytes);
        // A file that cannot be opened ends the wait at once.
        pumpEventsUntil([&] { return gone() || m_player->openState() != MediaPlayer::OpenOpening; },
                        openWaitMs);
        if (gone())
            return false;
        Timer1->start();
        Init(TitleName, Filename, FileBytes);
    } catch (...) {
        if (!gone())
            stopEverything(Failures::Skip);
        throw;
    }
    return true;
}

void frmMain::stopEverything(Failures failures) {
    const std::function<void()> steps[] = {
        [this] { Timer1->stop(); },
        [this] { logTickRepeats(); },
        [this] { tmrFoot->stop(); },
        [this] {
            if (m_player)
                m_player->stop();
        },
        [this] {
            if (m_player)
                m_player->setURL(QByteArray());
        },
    };
    for (const auto& step : steps)
        failures == Failures::Skip ? void(skipErrors(step)) : step();
}

void frmMain::handBack(Failures failures) {
    const auto step = [this] {
        if (CatalogueLink* catalogue = m_services.catalogue)
            catalogue->rowCount() == 1 ? catalogue->unload() : catalogue->showAgain();
    };
    failures == Failures::Skip ? void(skipErrors(step)) : step();
}

void frmMain::Form_Unload() {
    logAndRaise(procName(".Form_Unload()"), [&] {
        stopEverything(Failures::Raise);
        const QPointer<frmMain> self(this);
        QCoreApplication::processEvents();
        if (self)
            handBack(Failures::Raise);
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
            stopEverything(Failures::Skip);
            handBack(Failures::Skip);
        }
        hide();
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
