// Rates and motion: the engine's own play, and every other rate by the clock.
#include "MpvControlBar.h"
#include "MpvPlayer.h"

void MpvPlayer::updatePlayback() {
    if (!m_core.usable())
        return;
    const bool run = m_state.running();
    const bool clock = run && m_state.openState == OpenOpen && m_state.movesByClock();
    // from a seek's target where there is one: an engine just resumed reads its clock late
    if (clock && !m_clockMotion)
        m_motion.anchor(m_state.pendingSeek ? *m_state.pendingSeek : currentPosition(), m_state.rate,
                        m_state.duration);
    m_clockMotion = clock;
    if (m_state.openState != OpenNoMedia) {
        m_core.setDouble("speed", m_state.rate > 0 ? m_state.rate : 1.0);
        // Backwards the engine shows where each seek lands; forwards it plays, with its sound.
        m_core.setFlag("pause", !run || (clock && m_state.rate < 0));
    }
    if (clock)
        m_motionTimer.start();
    else
        m_motionTimer.stop();
    m_bar->setPlaying(run);
    announce();
}

void MpvPlayer::seekTo(double seconds) {
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    m_core.command({"seek", target.constData(), "absolute+exact"});
    m_state.seekSent(seconds);
    announce();
}

void MpvPlayer::motionStep() {
    if (!m_clockMotion)
        return;
    announce();
    // Forwards the engine plays by itself and is only brought back when it strays; backwards every
    // step is a seek. At speaking rates the motion drifts to the engine's clock over a few seconds,
    // so hours of play report where the sound is without a seek.
    const double slack = m_state.rate > 0 ? 0.25 + 0.05 * m_state.rate : 0.0;
    const double follow = m_state.rate > 0 && m_state.rate <= PlaybackState::kScanThreshold ? 0.02 : 0.0;
    const double engine = m_state.engineTime.value_or(m_motion.position());
    if (m_motion.step(engine, m_state.seekOnItsWay(), slack, follow))
        return;
    // An end of the media: stopped there, as after playing to the end or back to the start.
    const bool forward = m_state.rate > 0;
    m_clockMotion = false;
    seekTo(forward ? m_state.duration : 0.0);
    m_state.stopped = true;
    m_state.atEnd = forward;
    updatePlayback();
}

void MpvPlayer::settleMotion() {
    if (!m_clockMotion)
        return;
    m_clockMotion = false;
    m_motionTimer.stop();
    seekTo(m_motion.position());
}
