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
    auto on = [this](auto* object, auto procedure) {
        return [this, object, procedure] {
            try {
                (object->*procedure)();
            } catch (...) {
                reportUnhandledError(m_services.messages, currentError());
            }
        };
    };
    const auto control = [this](const char* name) {
        return findChild<QAbstractButton*>(QLatin1String(name));
    };
    connect(Timer1, &QTimer::timeout, this, on(this, &frmMain::Timer1_Timer));
    new ListDoubleClicks(m_notes->notesList(), on(this, &frmMain::lvNotes_DblClick));
    Accessibility::onEnter(m_notes->notesList(),
                           on(this, &frmMain::lvNotes_DblClick)); // the keyboard's double-click
    connect(control("cmbPlay"), &QAbstractButton::clicked, this, on(m_transport, &Transport::cmbPlay_Click));
    connect(control("cmbPause"), &QAbstractButton::clicked, this,
            on(m_transport, &Transport::cmbPause_Click));
    // A scan box's click runs on every change of its value, also one made in code, and not when the
    // value written is the one it has: exactly what toggled() does.
    connect(control("chkScanBack"), &QAbstractButton::toggled, this,
            on(m_transport, &Transport::chkScanBack_Click));
    connect(control("chkScanForward"), &QAbstractButton::toggled, this,
            on(m_transport, &Transport::chkScanForward_Click));
    new SliderClicks(findChild<QSlider*>(QStringLiteral("sldRate")),
                     on(m_transport, &Transport::sldRate_Click));
    connect(control("cmbFullScreen"), &QAbstractButton::clicked, this,
            on(m_transport, &Transport::cmbFullScreen_Click));
    connect(picMain, &ClickableLabel::clicked, this, on(this, &frmMain::picMain_Click));
    connect(lblMin, &ClickableLabel::clicked, this, on(this, &frmMain::lblMin_Click));
}

// The pedal poll's procedure, under the name the window's events know.
void frmMain::tmrFoot_Timer() {
    m_pedalPoll->tmrFoot_Timer();
}
