// The player window's events, wired to its procedures. Each event is the top of a handler: an error
// that leaves it is shown in the modal message and the program keeps running.
#include "frmMain.h"

#include "Accessibility.h"
#include "ClickableLabel.h"
#include "ClockPanel.h"
#include "ListDoubleClicks.h"
#include "NotesPanel.h"
#include "PedalPoll.h"
#include "SliderClicks.h"
#include "Transport.h"
#include "UnhandledError.h"

#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

void frmMain::connectEvents() {
    // Procedures raise with their own source name; the handler top only shows what arrives.
    auto on = [this](auto procedure) {
        return [this, procedure] {
            try {
                (this->*procedure)();
            } catch (...) {
                reportUnhandledError(m_services.messages, currentError());
            }
        };
    };
    const auto control = [this](const char* name) {
        return findChild<QAbstractButton*>(QLatin1String(name));
    };
    connect(Timer1, &QTimer::timeout, this, on(&frmMain::Timer1_Timer));
    new ListDoubleClicks(m_notes->notesList(), on(&frmMain::lvNotes_DblClick));
    Accessibility::onEnter(m_notes->notesList(),
                           on(&frmMain::lvNotes_DblClick)); // the keyboard's double-click
    connect(control("cmbPlay"), &QAbstractButton::clicked, this, on(&frmMain::cmbPlay_Click));
    connect(control("cmbPause"), &QAbstractButton::clicked, this, on(&frmMain::cmbPause_Click));
    // A scan box's click runs on every change of its value, also one made in code, and not when the
    // value written is the one it has: exactly what toggled() does.
    connect(control("chkScanBack"), &QAbstractButton::toggled, this, on(&frmMain::chkScanBack_Click));
    connect(control("chkScanForward"), &QAbstractButton::toggled, this, on(&frmMain::chkScanForward_Click));
    new SliderClicks(findChild<QSlider*>(QStringLiteral("sldRate")), on(&frmMain::sldRate_Click));
    connect(control("cmbFullScreen"), &QAbstractButton::clicked, this, on(&frmMain::cmbFullScreen_Click));
    connect(picMain, &ClickableLabel::clicked, this, on(&frmMain::picMain_Click));
    connect(lblMin, &ClickableLabel::clicked, this, on(&frmMain::lblMin_Click));
}

// The transport's and the pedal poll's procedures, under the names the window's events know.
void frmMain::cmbPlay_Click() {
    m_transport->cmbPlay_Click();
}
void frmMain::cmbPause_Click() {
    m_transport->cmbPause_Click();
}
void frmMain::chkScanBack_Click() {
    m_transport->chkScanBack_Click();
}
void frmMain::chkScanForward_Click() {
    m_transport->chkScanForward_Click();
}
void frmMain::sldRate_Click() {
    m_transport->sldRate_Click();
}
void frmMain::cmbFullScreen_Click() {
    m_transport->cmbFullScreen_Click();
}
void frmMain::tmrFoot_Timer() {
    m_pedalPoll->tmrFoot_Timer();
}
