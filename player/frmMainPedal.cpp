// The foot pedal poll: button edges become play, pause and rate commands.
#include "frmMain.h"

#include "ErrorHandling.h"
#include "PedalCommands.h"
#include "PedalDevices.h"
#include "Platform.h"

#include <QLineEdit>
#include <QPointer>

namespace {
PedalDevices& pedalOf(const PlayerServices& services) {
    return services.pedal ? *services.pedal : pedalDevices();
}

// A copy of the wait runs: the window and its services may go while it waits.
void waitRunningEvents(const PlayerServices& services, const std::function<bool()>& done, int timeoutMs) {
    if (const auto wait = services.waitRunningEvents)
        wait(done, timeoutMs);
    else
        pumpEventsUntil(done, timeoutMs);
}
} // namespace

void frmMain::armPedalPoll() {
    if (pedalOf(m_services).hasPedal())
        tmrFoot->start();
    else
        tmrFoot->stop();
}

void frmMain::tmrFoot_Timer() {
    // The rewind wait lets events run, and one of them may close or even destroy this window.
    const QPointer<frmMain> self(this);
    const auto windowGone = [&self] { return !self || self->isUnloading(); };

    tmrFoot->stop();
    QString now;
    logAndCarryOn(SourceModule::frmMain + QStringLiteral(".tmrFoot_Timer()"), [&] {
        now = pedalOf(m_services).GetInputDeviceData();
        txtButtons->setText(now);
        if (LastButtons.isEmpty())
            LastButtons = QStringLiteral("000");
        for (const PedalCommand& step : pedalCommands(LastButtons, now)) {
            if (step.kind == PedalCommand::RewindWait) {
                waitRunningEvents(m_services, windowGone, kRewindWaitMs);
                if (windowGone())
                    return;
                continue;
            }
            if (!m_player)
                raiseError(ErrNo::ObjectNotSet,
                           QStringLiteral("Object variable or With block variable not set"));
            switch (step.kind) {
            case PedalCommand::SetRate:
                m_player->setRate(step.rate);
                break;
            case PedalCommand::SetPlayRate:
                m_player->setRate(PlayRate);
                break;
            case PedalCommand::Play:
                m_player->play();
                break;
            case PedalCommand::Pause:
                m_player->pause();
                break;
            case PedalCommand::RewindWait:
                break;
            }
        }
    });
    if (windowGone())
        return;
    LastButtons = now;
    tmrFoot->start();
}
