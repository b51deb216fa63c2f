// The foot pedal poll: button edges become play, pause and rate commands.
#include "PedalPoll.h"

#include "DesignedLayout.h"
#include "ErrorHandling.h"
#include "PedalCommands.h"
#include "PedalDevices.h"
#include "Transport.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>

PedalPoll::PedalPoll(QWidget* window, Transport& transport, PedalDevices& pedal, AppLog& log, Wait wait,
                     std::function<bool()> windowGone)
    : QObject(window), m_transport(transport), m_pedal(pedal), m_log(log), m_wait(std::move(wait)),
      m_windowGone(std::move(windowGone)) {
    tmrFoot = new QTimer(this);
    tmrFoot->setObjectName(QStringLiteral("tmrFoot"));
    tmrFoot->setInterval(200);
    // The pedal's buttons as designed; hidden, as the window shows no pedal indicator.
    txtButtons =
        DesignedLayout::place(new QLineEdit(QStringLiteral("000"), window), "txtButtons", 9135, 90, 465, 285);
    txtButtons->setAccessibleName(QStringLiteral("Pedal buttons"));
    txtButtons->hide();
    connect(tmrFoot, &QTimer::timeout, this, &PedalPoll::tmrFoot_Timer);
}

void PedalPoll::arm() {
    // A pedal that was lost is still polled for, so it is taken up again when it comes back.
    if (m_pedal.hasPedal())
        tmrFoot->start();
    else
        tmrFoot->stop();
}

void PedalPoll::stop() {
    tmrFoot->stop();
}

bool PedalPoll::isRunning() const {
    return tmrFoot->isActive();
}

void PedalPoll::tmrFoot_Timer() {
    // The rewind wait lets events run, and one of them may close or even destroy the window.
    const QPointer<PedalPoll> self(this);
    const auto gone = [&self, windowGone = m_windowGone] { return !self || windowGone(); };

    tmrFoot->stop();
    const Wait wait = m_wait; // a copy: the window and this poll may go while it waits
    QString now;
    logAndCarryOn(m_log, SourceModule::frmMain + QStringLiteral(".tmrFoot_Timer()"), [&] {
        now = m_pedal.GetInputDeviceData();
        txtButtons->setText(now);
        if (LastButtons.isEmpty())
            LastButtons = QStringLiteral("000");
        for (const PedalCommand& step : pedalCommands(LastButtons, now)) {
            if (step.kind != PedalCommand::RewindWait) {
                m_transport.apply(step);
            } else {
                wait(gone, kRewindWaitMs);
                if (gone())
                    return;
            }
        }
    });
    if (gone())
        return;
    LastButtons = now;
    tmrFoot->start();
}
