// Motion of the real media component at every rate the program asks for, on the three kinds of
// media, and the pedal's middle-button release through the poll. Run under tests/support/private-session.sh.
// QUILLON_MOTION_TRIALS sets the trials per case (30 unless told); a smoke run (Smoke.h) makes one trial
// of two cases and of the release.
#include "CapturedLog.h"
#include "MediaFixtures.h"
#include "MotionProbe.h"
#include "Platform.h"
#include "Smoke.h"

#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <map>
#include <random>

namespace {

MediaFixtures& fixtures() {
    static MediaFixtures made;
    return made;
}

// Long enough for 1.5 s at 9x from any start the trials pick.
QByteArray mediaOf(int kind) {
    static std::map<int, QByteArray> made;
    if (!made.count(kind))
        made[kind] = kind == 0   ? fixtures().makeWma("Room3_12-14-2009_34200_1.wma", 2, 60)
                     : kind == 1 ? fixtures().makeWma("Room3_12-14-2009_34200_2.wma", 4, 60)
                                 : fixtures().makeWmv("Room3_12-14-2009_34200_3.wmv", 60);
    return made[kind];
}

int trials() {
    const int asked = qEnvironmentVariableIntValue("QUILLON_MOTION_TRIALS");
    return benchSmoke() ? 1 : asked > 0 ? asked : 30;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double worst(const std::vector<double>& values) {
    double most = 0.0;
    for (double v : values)
        most = std::max(most, std::abs(v));
    return most;
}

std::vector<double> absolute(std::vector<double> values) {
    for (double& v : values)
        v = std::abs(v);
    return values;
}

// The largest gap between the reported and the engine's positions after the first `after` seconds.
double engineLag(const MotionTrace& trace, double after) {
    double worst = 0.0;
    for (const MotionSample& s : trace.samples)
        if (s.t >= after)
            worst = std::max(worst, std::abs(s.position - s.engine));
    return worst;
}

const double kRates[] = {-9, -8, -2, 1, 0.75, 1.25, 2, 8};

// One rate on one kind of media: start latency, distance after 0.5 s and 1.5 s against the rate,
// how far the engine trails the reported position, and where a pause lands against where it was.
void BM_Motion(benchmark::State& state) {
    const double rate = kRates[state.range(1)];
    const QByteArray file = mediaOf(static_cast<int>(state.range(0)));
    CapturedLog log; // outlives the window and the player in it
    QWidget window;
    window.resize(339, 317);
    auto* player = new MpvPlayer(log, &window);
    player->resize(339, 317);
    window.show();
    player->setURL(file);
    if (file.isEmpty() ||
        !pumpEventsUntil([&] { return player->openState() == MediaPlayer::OpenOpen; }, 5000)) {
        state.SkipWithError("the media did not open");
        return;
    }
    std::mt19937 random(static_cast<unsigned>(state.range(0) * 100 + state.range(1)));
    std::uniform_real_distribution<double> start(15.0, 45.0);
    std::vector<double> latency, err05, err15, lag, pauseErr;
    for (auto _ : state) {
        for (int i = 0; i < trials(); ++i) {
            const MotionTrace trace = traceMotion(*player, start(random), rate, 1.6);
            latency.push_back(trace.startLatency() * 1000);
            err05.push_back(trace.distanceError(0.5));
            err15.push_back(trace.distanceError(1.5));
            lag.push_back(engineLag(trace, 0.3));
            pauseErr.push_back(trace.pausedAt - trace.pauseAsked);
        }
    }
    state.counters["start_med_ms"] = median(latency);
    state.counters["start_worst_ms"] = *std::max_element(latency.begin(), latency.end());
    state.counters["d0.5_med_s"] = median(absolute(err05));
    state.counters["d0.5_worst_s"] = worst(err05);
    state.counters["d1.5_med_s"] = median(absolute(err15));
    state.counters["d1.5_worst_s"] = worst(err15);
    state.counters["lag_med_s"] = median(lag);
    state.counters["pause_med_s"] = median(absolute(pauseErr));
    state.counters["pause_worst_s"] = worst(pauseErr);
}
BENCHMARK(BM_Motion)
    ->ArgNames({"media", "rate"})
    ->ArgsProduct(benchSmoke() ? std::vector<std::vector<int64_t>>{{2}, {0, 6}}
                               : std::vector<std::vector<int64_t>>{{0, 1, 2}, {0, 1, 2, 3, 4, 5, 6, 7}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The pedal's middle button: held from a random position, released through the poll; how far back
// the release lands (target: every one 4.0 to 5.0 s).
void BM_PedalMiddleRelease(benchmark::State& state) {
    CapturedLog log; // outlives the window and the player in it
    QWidget window;
    auto* player = new MpvPlayer(log, &window);
    player->setURL(mediaOf(0));
    if (!pumpEventsUntil([&] { return player->playState() == MediaPlayer::PlayPlaying; }, 5000)) {
        state.SkipWithError("the media did not open");
        return;
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<double> start(10.0, 50.0);
    std::uniform_int_distribution<int> hold(300, 1200);
    std::vector<double> back;
    for (auto _ : state)
        for (int i = 0; i < trials(); ++i)
            back.push_back(releaseStepBack(*player, start(random), hold(random)));
    state.counters["back_med_s"] = median(back);
    state.counters["back_min_s"] = *std::min_element(back.begin(), back.end());
    state.counters["back_max_s"] = *std::max_element(back.begin(), back.end());
    state.counters["outside_4_5"] = static_cast<double>(
        std::count_if(back.begin(), back.end(), [](double b) { return b < 4.0 || b > 5.0; }));
}
BENCHMARK(BM_PedalMiddleRelease)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
