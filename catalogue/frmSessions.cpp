// The catalogue window's start-up and unload, and what the player window may ask of it.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "UnhandledError.h"
#include "MessageBoxes.h"
#include "PedalDevices.h"
#include "PlatformChecks.h"
#include "frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTreeWidget>

frmSessions::frmSessions(CatalogueServices services, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)) {
    buildLayout();
}

frmSessions::~frmSessions() {
    m_unloading = true; // a player window that goes now must not call back
    delete m_main.data();
    pedal().releaseInputObjects();
}

PedalDevices& frmSessions::pedal() {
    return m_services.pedal ? *m_services.pedal : pedalDevices();
}

PlayerServices frmSessions::playerServices() {
    PlayerServices services;
    services.createMediaPlayer = m_services.createMediaPlayer;
    services.catalogue = this;
    services.pedal = &pedal();
    return services;
}

void frmSessions::Form_Load() {
    const QString procName = SourceModule::frmSessions + QStringLiteral(".Form_Load()");
    try {
        if (!versionPasses(GetMediaPlayerVersion(playerServices()))) {
            MessageBoxes::error(QStringLiteral("Media Player 9.0 or later is required!"),
                                QStringLiteral("Media Player 9.0 Required"));
            unload();
            return;
        }
        if (!versionPasses(GetDirectXVersion())) {
            MessageBoxes::error(QStringLiteral("DirectX 9.x is required!"),
                                QStringLiteral("DirectX 9.x Required"));
            unload();
            return;
        }
        addColumns();
        m_main = frmMain::load(playerServices());
        // The command line is not used.
        pedal().createInputRoots(m_services.createInputSystem);
        m_ready = true;

        // From here on the failing procedure has logged its own error.
        bool handingOff = false;
        try {
            pedal().GetInputDevices(); // without a pedal the disc is still listed
            Rescan();
            if (rowCount() == 1) {
                handingOff = true;
                handOff(lvSessions->topLevelItem(0));
            } else {
                show();
            }
        } catch (...) {
            // A failed scan or hand-off must not leave a program without a window.
            if (handingOff)
                reportUnhandledError(currentError());
            if (!m_unloading)
                show();
        }
    } catch (...) {
        const ErrorRecord record = logCurrentError(procName);
        pedal().releaseInputObjects();
        unsetCursor();
        RaiseRecordedError(record);
    }
    unsetCursor();
}

void frmSessions::Form_Unload() {
    skipErrors([&] {
        if (m_main)
            m_main->unload();
    });
    skipErrors([&] { Sessions.clear(); });
    pedal().releaseInputObjects();
}

void frmSessions::unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    Form_Unload();
    hide();
    QCoreApplication::exit(0);
}

void frmSessions::closeEvent(QCloseEvent* event) {
    event->ignore();
    unload();
}

QTreeWidgetItem* frmSessions::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = lvSessions->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString frmSessions::selectedText(int column) const {
    const QTreeWidgetItem* row = selectedRow();
    if (!row)
        raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    return row->text(column);
}

QString frmSessions::selectedLocation() const {
    return selectedText(ColLocation);
}
QString frmSessions::selectedDate() const {
    return selectedText(ColDate);
}
QString frmSessions::selectedStartTime() const {
    return selectedText(ColStartTime);
}
int frmSessions::rowCount() const {
    return lvSessions->topLevelItemCount();
}

void frmSessions::showAgain() {
    // The version check unloads a player window before the catalogue is ready to show.
    if (!m_ready || m_unloading)
        return;
    show();
    raise();
    activateWindow();
}
