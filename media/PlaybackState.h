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
    bool atEnd = false;    // stopped by reaching the end going forwards: play starts over
    bool hasVideo = false; // as the engine says
    double rate = 1.0;
    double duration = 0.0; // as the engine says
    double lastPosition = 0.0;
    std::optional<double> engineTime; // the engine's time-pos as last heard; none when it has none
    // Where the last seek goes. Until the engine has landed there and, playing, passed it, the
    // position is the target: a paused engine reports audio-only media a little early. A read of
    // the position that finds the seek passed forgets it.
    mutable std::optional<double> pendingSeek;
    // A seek is sent, taken by the core (its reply), run (mpv's seek event), and lands (playback
    // restarts): only the restart after the run of the last seek sent is its landing, and only a
    // time heard after that is where it went.
    enum class Seek { Sent, Taken, Running, Landed } seek = Seek::Landed;
    int seekRepliesDue = 0;
    bool heardSinceLanding = false;
    QString lastError;          // mpv's last word on why the media fails
    bool nothingToPlay = false; // found to hold nothing to play, and said so

    // Forgets the media and everything about its playback. The rate stays, and so does what the engine
    // last said of its media (duration, tracks, time): it tells only of changes, and a media opened
    // again is the same.
    void reset();
    // True while playback moves or is about to (opening with autostart).
    bool running() const;
    // The playState the program reads (MediaPlayer's Play* values).
    int playState() const;
    // Every rate but the normal one follows a clock from where it began, so it starts at once, holds
    // its rate and stops exactly where the rate puts it: the engine starts late and its clock jumps
    // when it plays at another speed. Normal play is the engine's own.
    bool movesByClock() const { return rate != 1.0; }
    bool seekOnItsWay() const { return pendingSeek && seek != Seek::Landed; }
    // A seek to `target` is sent; the core took one (ok: without an error); mpv's seek and
    // playback-restart events; a time-pos heard.
    void seekSent(double target);
    void seekTaken(bool ok);
    void seekRunning();
    void playbackRestarted();
    void heard(std::optional<double> time);
    // The position to report from where the engine's clock was last heard; inside the media.
    double position() const;
};
