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
    double rate = 1.0;
    double duration = 0.0;
    double lastPosition = 0.0;
    // Where the last seek goes. Until the engine has landed there and, playing, passed it, the
    // position is the target: a paused engine reports audio-only media a little early. A read of
    // the position that finds the seek passed forgets it.
    mutable std::optional<double> pendingSeek;
    bool seekLanded = false;
    QString lastError;                 // mpv's last word on why the media fails
    bool nothingToPlay = false;        // found to hold nothing to play, and said so

    // Forgets the media and everything about its playback; only the rate stays.
    void reset();
    // True while playback moves or is about to (opening with autostart).
    bool running() const;
    // The playState the program reads (MediaPlayer's Play* values).
    int playState() const;
    // Every rate but the normal one follows a clock from where it began, so it starts at once, holds
    // its rate and stops exactly where the rate puts it: the engine starts late and its clock jumps
    // when it plays at another speed. Normal play is the engine's own.
    bool movesByClock() const { return rate != 1.0; }
    bool seekOnItsWay() const { return pendingSeek && !seekLanded; }
    // The position to report, given where the engine's clock is; inside the media.
    double position(double engine) const;
};
