#pragma once

// Motion of the real media component as the program meets it: from a paused position, a rate and
// play; the position the component reports (and the engine's own) read every few milliseconds.
#include "MpvPlayer.h"

#include <vector>

struct MotionSample {
    double t;        // seconds since the rate and play were asked for
    double position; // what the component reports
    double engine;   // where the engine's own clock is
};

struct MotionTrace {
    double from = 0.0;
    double rate = 0.0;
    std::vector<MotionSample> samples;
    double pauseAsked = 0.0; // position reported just before the pause
    double pausedAt = 0.0;   // position once the pause has settled

    // Time until the position first moved 0.05 s the asked way, less the time the rate needs for
    // that much; infinity when it never did.
    double startLatency() const;
    // The reported position at t, between the samples around it.
    double positionAt(double t) const;
    // Distance moved by t against rate x t, in seconds of media (positive: ahead of the rate).
    double distanceError(double t) const { return (positionAt(t) - from) * (rate < 0 ? -1 : 1) - std::abs(rate) * t; }
    // Largest gap between reported and engine positions after the first `after` seconds.
    double engineLag(double after) const;
};

// Pauses the player at `from`, then asks for `rate` and play, records for `seconds`, then pauses.
MotionTrace traceMotion(MpvPlayer& player, double from, double rate, double seconds);

// The pedal's middle button held about holdMs from `from` and let go, as the pedal poll drives the player:
// half a second at -9, then pause. Returns how far back it landed (reported position before the
// release minus after).
double releaseStepBack(MpvPlayer& player, double from, int holdMs);
