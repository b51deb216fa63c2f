#include "PlaybackState.h"

#include <algorithm>

void PlaybackState::reset() {
    PlaybackState fresh;
    fresh.rate = rate;
    fresh.duration = duration;
    fresh.hasVideo = hasVideo;
    fresh.engineTime = engineTime;
    *this = fresh;
}

bool PlaybackState::running() const {
    return (openState == MediaPlayer::OpenOpen || openState == MediaPlayer::OpenOpening) && !paused &&
           !stopped;
}

int PlaybackState::playState() const {
    if (openState == MediaPlayer::OpenNoMedia)
        return MediaPlayer::PlayReady;
    if (openState == MediaPlayer::OpenOpening)
        return MediaPlayer::PlayOpening;
    if (stopped)
        return MediaPlayer::PlayStopped;
    if (paused)
        return MediaPlayer::PlayPaused;
    if (rate < 0)
        return MediaPlayer::PlayScanReverse;
    return rate > kScanThreshold ? MediaPlayer::PlayScanForward : MediaPlayer::PlayPlaying;
}

void PlaybackState::seekSent(double target) {
    pendingSeek = target;
    seek = Seek::Sent;
    ++seekRepliesDue;
    heardSinceLanding = false;
    lastPosition = target;
    atEnd = false;
}

void PlaybackState::seekTaken(bool ok) {
    seekRepliesDue = std::max(0, seekRepliesDue - 1);
    if (!ok)
        seek = Seek::Landed; // it will not run: nothing to wait for
    else if (seekRepliesDue == 0 && seek == Seek::Sent)
        seek = Seek::Taken;
}

void PlaybackState::seekRunning() {
    if (seek == Seek::Taken)
        seek = Seek::Running;
}

void PlaybackState::playbackRestarted() {
    if (seek == Seek::Running)
        seek = Seek::Landed;
}

void PlaybackState::heard(std::optional<double> time) {
    engineTime = time;
    heardSinceLanding = seek == Seek::Landed;
}

double PlaybackState::position() const {
    const double engine = engineTime.value_or(lastPosition);
    if (pendingSeek) {
        if (seek != Seek::Landed || !heardSinceLanding || !running() || engine < *pendingSeek)
            return *pendingSeek;
        pendingSeek.reset();
    }
    // the engine's clock strays a little outside the media at its ends
    const double position = std::max(0.0, engine);
    return duration > 0 ? std::min(position, duration) : position;
}
