#include "MotionProbe.h"

#include "FrameCode.h"
#include "MediaFixtures.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

namespace {
// Until the engine's own position holds for a fifth of a second (a paused engine's last seek landed).
void waitStill(MpvPlayer& player) {
    double last = player.enginePosition();
    QElapsedTimer still;
    still.start();
    pumpEventsUntil(
        [&] {
            const double now = player.enginePosition();
            if (std::abs(now - last) > 0.001)
                still.restart();
            last = now;
            return still.elapsed() >= 200;
        },
        3000);
}

// The paused player at `from`, its seek landed.
void pauseAt(MpvPlayer& player, double from) {
    player.pause();
    player.setRate(1.0);
    player.setCurrentPosition(from);
    pumpEventsUntil([&] { return std::abs(player.enginePosition() - from) < 0.05; }, 2000);
    waitStill(player);
}
} // namespace

void settle(int ms) {
    pumpEventsUntil([] { return false; }, ms);
}

QByteArray testMedia(const std::string& key) {
    static MediaFixtures made;
    static const std::map<std::string, std::function<QByteArray()>> makers{
        {"wma2", [] { return made.makeWma("Room3_12-14-2009_34200_1.wma", 2, 20); }},
        {"wma4", [] { return made.makeWma("Room3_12-14-2009_34200_2.wma", 4, 20); }},
        {"wmv", [] { return made.makeWmv("Room3_12-14-2009_34200_3.wmv", 20, 640, 480); }},
        {"small", [] { return made.makeWmv("Room3_12-14-2009_34200_4.wmv", 3, 160, 120); }},
        {"wide", [] { return made.makeWmv("Room3_12-14-2009_34200_5.wmv", 3, 960, 240); }},
        {"latin1", [] { return made.makeWma("Caf\xe9 \xff_12-14-2009_34200_1.wma", 2, 3); }},
        {"corrupt", // the header object's GUID, then bytes that make no header
         [] {
             return made.makeFile("Broken_12-14-2009_34200_1.wma",
                                  QByteArray::fromHex("3026b2758e66cf11a6d900aa0062ce6c") +
                                      QByteArray(8192, 'Z'));
         }},
        {"empty", [] { return made.makeFile("Empty_12-14-2009_34200_1.wma", QByteArray()); }},
        {"missing", [] { return made.path("Missing_12-14-2009_34200_1.wma"); }},
        {"cut wma", [] { return made.makeCut("Cut_12-14-2009_34200_1.wma", testMedia("wma2"), 8000); }},
        {"cut wmv", [] { return made.makeCut("Cut_12-14-2009_34200_3.wmv", testMedia("wmv"), 8000); }},
        {"half second", [] { return made.makeWma("Short_12-14-2009_34200_1.wma", 2, 0.5); }}};
    static std::map<std::string, QByteArray> files;
    if (!files.count(key))
        files[key] = makers.at(key)();
    return files[key];
}

PlayerScreen::PlayerScreen(bool show, VideoDrawing drawing) : player(log, &window, drawing) {
    window.resize(339, 317);
    player.resize(339, 317);
    if (show)
        window.show();
}

bool PlayerScreen::open(const QByteArray& file) {
    player.setURL(file);
    return pumpEventsUntil([&] { return player.openState() == MediaPlayer::OpenOpen; }, 5000);
}

QWidget* videoArea(MpvPlayer& player) {
    if (!player.isFullScreenVideo())
        return player.findChild<QWidget*>(QStringLiteral("MPlayerVideo"));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("MPlayerVideo") && top->isVisible())
            return top;
    return nullptr;
}

QImage videoPicture(MpvPlayer& player) {
    QWidget* video = videoArea(player);
    if (!video)
        return QImage();
    // as the screen shows it, not as the widget would paint itself if asked
    const QRect area(video->mapToGlobal(QPoint(0, 0)), video->size());
    return video->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

std::optional<double> pictureTime(MpvPlayer& player) {
    const QImage area = videoPicture(player);
    const std::optional<QRect> picture = FrameCode::pictureIn(area);
    const std::optional<int> frame = picture ? FrameCode::readAt(area, *picture) : std::nullopt;
    return frame ? std::optional(FrameCode::seconds(*frame)) : std::nullopt;
}

double MotionTrace::startLatency() const {
    const double step = 0.05;
    for (const MotionSample& s : samples)
        if ((s.position - from) * (rate < 0 ? -1 : 1) >= step)
            return std::max(0.0, s.t - step / std::abs(rate));
    return std::numeric_limits<double>::infinity();
}

double MotionTrace::distanceError(double t, double MotionSample::*value) const {
    auto at = std::find_if(samples.begin(), samples.end(), [t](const MotionSample& s) { return s.t >= t; });
    if (at == samples.end())
        --at;
    return ((*at).*value - from) * (rate < 0 ? -1 : 1) - std::abs(rate) * at->t;
}

MotionTrace traceMotion(MpvPlayer& player, double from, double rate, double seconds, bool video) {
    MotionTrace trace;
    trace.from = from;
    trace.rate = rate;
    pauseAt(player, from);
    QElapsedTimer clock;
    clock.start();
    player.setRate(rate);
    player.play();
    while (trace.samples.empty() || trace.samples.back().t < seconds) { // a read may block in a seek
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        trace.samples.push_back(
            {clock.nsecsElapsed() / 1e9, player.currentPosition(), player.enginePosition()});
        QThread::usleep(2000);
    }
    if (video) { // the picture is read between two reads of the engine
        trace.engineAtPicture = player.enginePosition();
        trace.pictureAtEnd = pictureTime(player);
        trace.engineAtPicture = (trace.engineAtPicture + player.enginePosition()) / 2;
    }
    // at the engine's own rate the reported position is its clock as last heard, late under load
    trace.pauseAsked = rate == 1.0 ? player.enginePosition() : player.currentPosition();
    player.pause();
    waitStill(player);
    trace.pausedAt = player.currentPosition();
    trace.engineAfterPause = player.enginePosition();
    if (video) // drawn once the engine has landed
        pumpEventsUntil(
            [&] {
                return (trace.pictureAfterPause = pictureTime(player)) &&
                       std::abs(*trace.pictureAfterPause - trace.engineAfterPause) < 0.05;
            },
            1000);
    return trace;
}

double releaseStepBack(MpvPlayer& player, double from, int holdMs) {
    pauseAt(player, from);
    player.play(); // the middle button held: play at the normal rate
    settle(holdMs);
    const double before = player.enginePosition();
    // released: back at -9 for half a second, then pause, back at the normal rate
    player.setRate(-9.0);
    player.play();
    settle(500);
    player.pause();
    player.setRate(1.0);
    waitStill(player);
    return before - player.enginePosition();
}
