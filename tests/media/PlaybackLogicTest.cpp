// The media component's logic on its own: the playback state and motion by seeks, on a fake clock.
#include "PlaybackState.h"
#include "SeekMotion.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// What the program reads for each combination of media and playback.
TEST(PlaybackState, PlayStateTable) {
    using M = MediaPlayer;
    struct Case {
        int open;
        bool paused, stopped;
        double rate;
        int playState;
        bool running;
        bool byClock;
    };
    const Case cases[] = {
        {M::OpenNoMedia, false, false, 1.0, M::PlayReady, false, false},
        {M::OpenNoMedia, true, true, -2.0, M::PlayReady, false, true},
        {M::OpenOpening, false, false, 1.0, M::PlayOpening, true, false},
        {M::OpenOpening, true, false, 1.0, M::PlayOpening, false, false},
        {M::OpenOpen, false, false, 1.0, M::PlayPlaying, true, false},
        {M::OpenOpen, false, false, 0.75, M::PlayPlaying, true, true},
        {M::OpenOpen, false, false, 1.25, M::PlayPlaying, true, true},
        {M::OpenOpen, false, false, 1.26, M::PlayScanForward, true, true},
        {M::OpenOpen, false, false, 8.0, M::PlayScanForward, true, true},
        {M::OpenOpen, false, false, -2.0, M::PlayScanReverse, true, true},
        {M::OpenOpen, false, false, -9.0, M::PlayScanReverse, true, true},
        {M::OpenOpen, true, false, -9.0, M::PlayPaused, false, true},
        {M::OpenOpen, false, true, 1.0, M::PlayStopped, false, false},
        {M::OpenOpen, true, true, -8.0, M::PlayStopped, false, true},
    };
    for (const Case& c : cases) {
        PlaybackState state;
        state.openState = c.open;
        state.paused = c.paused;
        state.stopped = c.stopped;
        state.rate = c.rate;
        EXPECT_EQ(state.playState(), c.playState) << c.open << ' ' << c.paused << c.stopped << ' ' << c.rate;
        EXPECT_EQ(state.running(), c.running) << c.open << ' ' << c.paused << c.stopped << ' ' << c.rate;
        EXPECT_EQ(state.movesByClock(), c.byClock) << c.rate;
    }
}

// A new media, a failure or a release forgets all of the old media's playback, but the rate.
TEST(PlaybackState, ResetForgetsAllButTheRate) {
    PlaybackState state;
    state.openState = MediaPlayer::OpenOpen;
    state.paused = state.atEnd = state.nothingToPlay = true;
    state.rate = -8.0;
    state.pendingSeek = 3.0;
    state.lastError = QStringLiteral("broken");
    state.reset();
    EXPECT_EQ(state.rate, -8.0);
    EXPECT_TRUE(!state.paused && !state.atEnd && !state.nothingToPlay && !state.pendingSeek);
    EXPECT_TRUE(state.lastError.isEmpty());
    EXPECT_EQ(state.playState(), MediaPlayer::PlayReady);
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
        for (const char* step = c.steps; *step; ++step) {
            switch (*step) {
            case 's':
                state.seekSent(10.0);
                break;
            case 't':
                state.seekTaken(true);
                break;
            case 'x':
                state.seekTaken(false);
                break;
            case 'r':
                state.seekRunning();
                break;
            case 'R':
                state.playbackRestarted();
                break;
            case 'h':
                state.heard(c.engine);
                break;
            }
        }
        EXPECT_DOUBLE_EQ(state.position(), c.position) << c.steps << ' ' << c.engine;
    }
}

// Motion on a clock the test turns: where it is, where each step seeks, and where it ends.
struct FakeMotion {
    double now = 0.0;
    std::vector<double> seeks;
    SeekMotion motion{[this] { return now; }, [this](double s) { seeks.push_back(s); }};
};

TEST(SeekMotion, FollowsTheClockFromItsAnchorInsideTheMedia) {
    const struct {
        double from, rate, after, position;
        bool end;
    } cases[] = {{30.0, -9.0, 0.5, 25.5, false}, {30.0, -8.0, 1.5, 18.0, false},
                 {30.0, -2.0, 0.1, 29.8, false}, {10.0, 8.0, 0.5, 14.0, false},
                 {10.0, 2.0, 1.5, 13.0, false},  {3.0, -9.0, 1.0, 0.0, true},
                 {55.0, 8.0, 1.0, 60.0, true},   {0.0, -2.0, 0.0, 0.0, true}};
    for (const auto& c : cases) {
        FakeMotion m;
        m.motion.anchor(c.from, c.rate, 60.0);
        m.now += c.after;
        EXPECT_NEAR(m.motion.position(), c.position, 1e-9) << c.from << ' ' << c.rate << ' ' << c.after;
        EXPECT_EQ(m.motion.reachedEnd(), c.end) << c.from << ' ' << c.rate << ' ' << c.after;
    }
}

TEST(SeekMotion, StepsWaitForTheSeekBeforeAndLeaveAnEngineWithinItsSlack) {
    FakeMotion m;
    m.motion.anchor(2.0, -4.0, 60.0);
    m.now = 0.1;
    EXPECT_TRUE(m.motion.step(2.0, false));
    m.now = 0.2;
    EXPECT_TRUE(m.motion.step(1.6, true)); // the seek before still decodes: no new one
    m.now = 0.3;
    EXPECT_TRUE(m.motion.step(1.6, false)); // not late: straight to where the clock is
    m.now = 0.6;
    EXPECT_FALSE(m.motion.step(0.8, false)); // the start: seeks there and ends
    m.motion.anchor(10.0, 8.0, 60.0);        // forwards the engine plays; only a stray one is brought back
    m.now += 0.5;
    EXPECT_TRUE(m.motion.step(13.8, false, 0.5));
    EXPECT_TRUE(m.motion.step(13.2, false, 0.5));
    m.motion.anchor(10.0, 0.75, 60.0); // speaking rates go a share of the way to a near engine
    EXPECT_TRUE(m.motion.step(10.1, false, 0.3, 0.5));
    EXPECT_NEAR(m.motion.position(), 10.05, 1e-9);
    const std::vector<double> expected{1.6, 0.8, 0.0, 14.0};
    ASSERT_EQ(m.seeks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(m.seeks[i], expected[i], 1e-9) << i;
}

} // namespace
