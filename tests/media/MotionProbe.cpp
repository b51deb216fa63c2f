#include "MotionProbe.h"

#include "MediaPlayer.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
void settle(int ms) {
    pumpEventsUntil([] { return false; }, ms);
}

// The paused player at `from`, its seek landed.
void pauseAt(MpvPlayer& player, double from) {
    player.pause();
    player.setRate(1.0);
    player.setCurrentPosition(from);
    pumpEventsUntil([&] { return std::abs(player.enginePosition() - from) < 0.05; }, 2000);
    settle(150);
}
} // namespace

double MotionTrace::startLatency() const {
    const double step = 0.05;
    for (const MotionSample& s : samples)
        if ((s.position - from) * (rate < 0 ? -1 : 1) >= step)
            return std::max(0.0, s.t - step / std::abs(rate));
    return std::numeric_limits<double>::infinity();
}

double MotionTrace::positionAt(double t) const {
    if (samples.empty())
        return from;
    const auto after = std::find_if(samples.begin(), samples.end(), [t](const auto& s) { return s.t >= t; });
    if (after == samples.begin())
        return after->position;
    if (after == samples.end())
        return samples.back().position;
    const auto before = after - 1;
    const double share = after->t > before->t ? (t - before->t) / (after->t - before->t) : 0.0;
    return before->position + share * (after->position - before->position);
}

double MotionTrace::engineLag(double after) const {
    double worst = 0.0;
    for (const MotionSample& s : samples)
        if (s.t >= after)
            worst = std::max(worst, std::abs(s.position - s.engine));
    return worst;
}

MotionTrace traceMotion(MpvPlayer& player, double from, double rate, double seconds) {
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
        trace.samples.push_back({clock.nsecsElapsed() / 1e9, player.currentPosition(), player.enginePosition()});
        QThread::usleep(2000);
    }
    trace.pauseAsked = player.currentPosition();
    player.pause();
    settle(400);
    trace.pausedAt = player.currentPosition();
    return trace;
}

double releaseStepBack(MpvPlayer& player, double from, int holdMs) {
    pauseAt(player, from);
    player.play(); // the middle button held: play at the normal rate
    settle(holdMs);
    const double before = player.currentPosition();
    // released: back at -9 for half a second, then pause, back at the normal rate
    player.setRate(-9.0);
    player.play();
    settle(500);
    player.pause();
    player.setRate(1.0);
    settle(300);
    return before - player.currentPosition();
}
