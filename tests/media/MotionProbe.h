#pragma once

// The real media component as the tests drive it: its fixture files, where its engine and its picture
// are, and motion as the program meets it: from a paused position, a rate and play; the position the
// component reports and the engine's own read every few milliseconds, the picture at the end.
#include "MpvPlayer.h"
#include "PedalDevices.h"
#include "frmMain.h"

#include <optional>
#include <string>
#include <vector>

// The media tests' files, made when first asked for, once per program: "wma2", "wma4" (20 s), "wmv"
// (20 s of 640x480, larger than the video area), "small" (160x120), "wide" (960x240), and the bad
// ones of MpvPlayerTest.
QByteArray testMedia(const std::string& key);
// Where the picture drawn (in the window or full screen) is in the media, read from the frame number
// the fixture videos show; none when it does not read.
std::optional<double> pictureTime(MpvPlayer& player);
// The video area as the screen shows it, in the window or full screen.
QImage videoPicture(MpvPlayer& player);

// The component in a window of the player window's size.
struct PlayerScreen {
    explicit PlayerScreen(bool show = true, VideoDrawing drawing = chooseVideoDrawing());
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
    double pauseAsked = 0.0; // position reported just before the pause
    double pausedAt = 0.0;   // position once the pause has settled
    double engineAfterPause = 0.0;
    std::optional<double> pictureAtEnd, pictureAfterPause; // video only
    double engineAtPicture = 0.0;                          // the engine while the picture at the end was read

    // Time until the position first moved 0.05 s the asked way, less the time the rate needs for
    // that much; infinity when it never did.
    double startLatency() const;
    // The reported position at t, between the samples around it.
    double positionAt(double t) const;
    // The engine's own position at t, between the samples around it.
    double engineAt(double t) const;
    // Distance moved by t against rate x t, in seconds of media (positive: ahead of the rate), by the
    // reported position and by the engine's own.
    double distanceError(double t) const {
        return (positionAt(t) - from) * (rate < 0 ? -1 : 1) - std::abs(rate) * t;
    }
    double engineDistanceError(double t) const {
        return (engineAt(t) - from) * (rate < 0 ? -1 : 1) - std::abs(rate) * t;
    }
    // Largest gap between reported and engine positions after the first `after` seconds.
    double engineLag(double after) const;
};

// Pauses the player at `from`, then asks for `rate` and play, records for `seconds`, then pauses; with
// video, reads the picture at the end and once the pause has settled.
MotionTrace traceMotion(MpvPlayer& player, double from, double rate, double seconds, bool video = false);

// An input system with one foot pedal whose buttons the test holds down.
class SimulatedPedal : public InputSystem {
  public:
    std::vector<InputDeviceInfo> devices() override;
    std::unique_ptr<InputDevice> open(const InputDeviceInfo& device) override;
    std::shared_ptr<std::vector<bool>> pressed = std::make_shared<std::vector<bool>>(3, false);
};

// The real player window on the real component with a simulated pedal, its media open and paused.
struct PedalRig {
    PedalRig();
    bool open(const QByteArray& file);
    // Holds the middle button about holdMs from `from`, releases it through the poll, and returns
    // how far the release stepped back (reported position before the release tick minus after).
    double releaseStepBack(double from, int holdMs);

    PedalDevices devices;
    std::shared_ptr<SimulatedPedal> pedal = std::make_shared<SimulatedPedal>();
    std::unique_ptr<CatalogueLink> catalogue;
    std::unique_ptr<frmMain> window;
    MpvPlayer* player = nullptr;
};
