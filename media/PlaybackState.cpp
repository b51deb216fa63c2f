#include "PlaybackState.h"

#include <algorithm>

void PlaybackState::reset() {
    PlaybackState fresh;
    fresh.rate = rate;
    *this = fresh;
}

bool PlaybackState::running() const {
    return (openState == MediaPlayer::OpenOpen || openState == MediaPlayer::OpenOpening) && !paused && !stopped;
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

double PlaybackState::position(double engine) const {
    if (pendingSeek) {
        if (!seekLanded || !running() || engine < *pendingSeek)
            return *pendingSeek;
        pendingSeek.reset();
    }
    // the engine's clock strays a little outside the media at its ends
    const double position = std::max(0.0, engine);
    return duration > 0 ? std::min(position, duration) : position;
}
