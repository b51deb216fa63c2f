#pragma once

// The real media component as the tests drive it: its fixture files, where its engine and its picture
// are, and motion as the program meets it: from a paused position, a rate and play; the position the
// component reports and the engine's own read every few milliseconds, the picture at the end.
#include "CapturedLog.h"
#include "MpvPlayer.h"

#include <optional>
#include <string>
#include <vector>

// The media tests' files, made when first asked for, once per program: "wma2", "wma4" (20 s), "wmv"
// (20 s of 640x480, larger than the video area), "small" (160x120), "wide" (960x240), and the bad
// ones of MpvPlayerTest.
QByteArray testMedia(const std::string& key);
// The video area: in the window, or full screen a window of its own.
QWidget* videoArea(MpvPlayer& player);
// The video area as the screen shows it, in the window or full screen.
QImage videoPicture(MpvPlayer& player);
// Where the picture drawn is in the media, read from the frame number the fixture videos show; none
// when it does not read.
std::optional<double> pictureTime(MpvPlayer& player);
// Runs the event loop for `ms`.
void settle(int ms);

// The component in a window of the player window's size.
struct PlayerScreen {
    explicit PlayerScreen(bool show = true, VideoDrawing drawing = chooseVideoDrawing());
    // Opens `file`; false when it is not open within 5 s.
    bool open(const QByteArray& file);
    CapturedLog log; // before the window: the player in it logs as it goes
    QWidget window;
    MpvPlayer player;
};

struct MotionSample {
    double t;        // seconds since the rate and play were asked for
    double position; // what the component reports
    double engine;   // where the engine's own clock is
};

struct MotionTrace {
    double from = 0.0;
    double rate = 0.0;
    std::vector<MotionSample> samples;
    double pauseAsked = 0.0; // the position just before the pause: reported, or the engine's at rate 1
    double pausedAt = 0.0;   // position once the pause has settled
    double engineAfterPause = 0.0;
    std::optional<double> pictureAtEnd, pictureAfterPause; // video only
    double engineAtPicture = 0.0;                          // the engine while the picture at the end was read

    // Time until the position first moved 0.05 s the asked way, less the time the rate needs for
    // that much; infinity when it never did.
    double startLatency() const;
    // At the first sample from t on (the last when none), the distance the reported position (or the
    // engine's own) moved against rate x the sample's time, in seconds of media (positive: ahead).
    double distanceError(double t, double MotionSample::*value = &MotionSample::position) const;
};

// Pauses the player at `from`, then asks for `rate` and play, records for `seconds`, then pauses; with
// video, reads the picture at the end and once the pause has settled.
MotionTrace traceMotion(MpvPlayer& player, double from, double rate, double seconds, bool video = false);

// The pedal's middle button held about holdMs from `from` and let go, as the pedal poll drives the player:
// half a second at -9, then pause. Returns how far back the engine landed.
double releaseStepBack(MpvPlayer& player, double from, int holdMs);
