#pragma once

#include "MediaPlayer.h"

#include <QString>
#include <optional>

// What the media component knows of its media and of playback, in one value: what a new media, a
// release or a failure forgets is what reset() forgets.
struct PlaybackState {
    static constexpr double kScanThreshold = 1.25; // faster than this counts as scanning forward

    int openState = MediaPlayer::OpenNoMedia;
    quint64 entryId = 0; // mpv's playlist entry of the media; events of older entries are ignored
    bool paused = false;
    bool stopped = false;
    bool atEnd = false;      // stopped by reaching the end going forwards: play starts over
    bool hasVideo = false;
    bool recovering = false; // reopening the media after mpv's backward play failed it
    bool reverseBySeeking = false;
    double rate = 1.0;
    double duration = 0.0;
    double lastPosition = 0.0;
    std::optional<double> pendingSeek; // where a seek on its way lands
    QString lastError;                 // mpv's last word on why the media fails

    // Forgets the media and everything about its playback; only the rate stays.
    void reset();
    // True while playback moves or is about to (opening with autostart).
    bool running() const;
    // The playState the program reads (MediaPlayer's Play* values).
    int playState() const;
};
