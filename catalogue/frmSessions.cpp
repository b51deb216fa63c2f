// The catalogue window's start-up and unload, and what the player window may ask of it.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "MessageBoxes.h"
#include "PedalDevices.h"
#include "PlatformChecks.h"
#include "UnhandledError.h"
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
    m_services.pedal.releaseInputObjects();
}

PlayerServices frmSessions::playerServices() {
    return {m_services.log, m_services.messages, m_services.media, *this, m_services.pedal};
}

void frmSessions::Form_Load() {
    const QString procName = SourceModule::frmSessions + QStringLiteral(".Form_Load()");
    try {
        if (!versionPasses(GetMediaPlayerVersion(m_services.media))) {
            m_services.messages.showError(QStringLiteral("Media Player 9.0 or later is required!"),
                                          QStringLiteral("Media Player 9.0 Required"));
            unload();
            return;
        }
        if (!versionPasses(GetDirectXVersion(m_services.log, m_services.registry))) {
            m_services.messages.showError(QStringLiteral("DirectX 9.x is required!"),
                                          QStringLiteral("DirectX 9.x Required"));
            unload();
            return;
        }
        addColumns();
        m_main = frmMain::load(playerServices());
        // The command line is not used.
        m_services.pedal.createInputRoots(m_services.createInputSystem);
        m_ready = true;

        // From here on the failing procedure has logged its own error.
        bool handingOff = false;
        try {
            m_services.pedal.GetInputDevices(); // without a pedal the disc is still listed
            Rescan();
            if (rowCount() == 1) {
                handingOff = true;
                handOff(0);
            } else {
                show();
            }
        } catch (...) {
            // A failed scan or hand-off must not leave a program without a window.
            if (handingOff)
                reportUnhandledError(m_services.messages, currentError());
            if (!m_unloading)
                show();
        }
    } catch (...) {
        const ErrorRecord record = logCurrentError(m_services.log, procName);
        m_services.pedal.releaseInputObjects();
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
    m_services.pedal.releaseInputObjects();
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
