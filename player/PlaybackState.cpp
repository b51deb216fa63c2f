#include "PlaybackState.h"

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
