// The media component's logic on its own: the playback state and motion by seeks, on a fake clock.
#include "PlaybackState.h"
#include "SeekMotion.h"

#include <functional>
#include <gmock/gmock.h>
#include <map>
#include <string>
#include <vector>

namespace {

// The playState of open media as the rate sets it, at the edges (the other states: on the real
// component in MpvPlayerTest and MotionTest).
TEST(PlaybackState, PlayStateTable) {
    const std::pair<double, int> cases[] = {{0.75, MediaPlayer::PlayPlaying},
                                            {1.25, MediaPlayer::PlayPlaying},
                                            {1.26, MediaPlayer::PlayScanForward},
                                            {-9.0, MediaPlayer::PlayScanReverse}};
    for (const auto& [rate, playState] : cases) {
        PlaybackState state;
        state.openState = MediaPlayer::OpenOpen;
        state.rate = rate;
        EXPECT_EQ(state.playState(), playState) << rate;
    }
}

// The reported position around a seek to 10 s: the target until the last seek sent has run and
// landed and a time heard since, playing, has passed it (a paused engine reads audio-only media
// early; a landing of an earlier seek or a time from before says nothing); then the engine, inside
// the media. Steps: s sent, t taken, x refused, r run, R restarted, h the engine's time heard.
TEST(PlaybackState, PositionHoldsASeekUntilTheEnginePassesIt) {
    const struct {
        const char* steps;
        bool paused;
        double engine, position;
    } cases[] = {
        {"sh", false, 3.0, 10.0},       {"strRh", true, 9.85, 10.0},   {"strRh", false, 9.9, 10.0},
        {"strRh", false, 10.02, 10.02}, {"strhR", false, 10.02, 10.0}, {"sstrRh", false, 12.0, 10.0},
        {"ssttrRh", false, 12.0, 12.0}, {"sxh", false, 12.0, 12.0},    {"h", false, -0.03, 0.0},
        {"h", false, 60.2, 60.0},
    };
    for (const auto& c : cases) {
        PlaybackState state;
        state.openState = MediaPlayer::OpenOpen;
        state.duration = 60.0;
        state.paused = c.paused;
        const std::map<char, std::function<void()>> steps{
            {'s', [&] { state.seekSent(10.0); }},      {'t', [&] { state.seekTaken(true); }},
            {'x', [&] { state.seekTaken(false); }},    {'r', [&] { state.seekRunning(); }},
            {'R', [&] { state.playbackRestarted(); }}, {'h', [&] { state.heard(c.engine); }}};
        for (const char step : std::string(c.steps))
            steps.at(step)();
        EXPECT_DOUBLE_EQ(state.position(), c.position) << c.steps << ' ' << c.engine;
    }
}

// Motion on a clock the test turns: where each step seeks, and where it ends.
TEST(SeekMotion, StepsWaitForTheSeekBeforeAndLeaveAnEngineWithinItsSlack) {
    double now = 0.0;
    std::vector<double> seeks;
    SeekMotion motion{[&] { return now; }, [&](double s) { seeks.push_back(s); }};
    motion.anchor(2.0, -4.0, 60.0);
    now = 0.1;
    EXPECT_TRUE(motion.step(2.0, false));
    now = 0.2;
    EXPECT_TRUE(motion.step(1.6, true)); // the seek before still decodes: no new one
    now = 0.3;
    EXPECT_TRUE(motion.step(1.6, false)); // not late: straight to where the clock is
    now = 0.6;
    EXPECT_FALSE(motion.step(0.8, false)); // the start: seeks there and ends
    motion.anchor(10.0, 8.0, 60.0);        // forwards the engine plays; only a stray one is brought back
    now += 0.5;
    EXPECT_TRUE(motion.step(13.8, false, 0.5));
    EXPECT_TRUE(motion.step(13.2, false, 0.5));
    motion.anchor(10.0, 0.75, 60.0); // speaking rates go a share of the way to a near engine
    EXPECT_TRUE(motion.step(10.1, false, 0.3, 0.5));
    EXPECT_NEAR(motion.position(), 10.05, 1e-9);
    EXPECT_THAT(seeks, testing::Pointwise(testing::DoubleNear(1e-9), std::vector{1.6, 0.8, 0.0, 14.0}));
}

} // namespace
