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
    };
    const Case cases[] = {
        {M::OpenNoMedia, false, false, 1.0, M::PlayReady, false},
        {M::OpenNoMedia, true, true, -2.0, M::PlayReady, false},
        {M::OpenOpening, false, false, 1.0, M::PlayOpening, true},
        {M::OpenOpening, true, false, 1.0, M::PlayOpening, false},
        {M::OpenOpen, false, false, 1.0, M::PlayPlaying, true},
        {M::OpenOpen, false, false, 0.75, M::PlayPlaying, true},
        {M::OpenOpen, false, false, 1.25, M::PlayPlaying, true},
        {M::OpenOpen, false, false, 1.26, M::PlayScanForward, true},
        {M::OpenOpen, false, false, 8.0, M::PlayScanForward, true},
        {M::OpenOpen, false, false, -2.0, M::PlayScanReverse, true},
        {M::OpenOpen, false, false, -9.0, M::PlayScanReverse, true},
        {M::OpenOpen, true, false, -9.0, M::PlayPaused, false},
        {M::OpenOpen, true, false, 8.0, M::PlayPaused, false},
        {M::OpenOpen, false, true, 1.0, M::PlayStopped, false},
        {M::OpenOpen, true, true, -8.0, M::PlayStopped, false},
    };
    for (const Case& c : cases) {
        PlaybackState state;
        state.openState = c.open;
        state.paused = c.paused;
        state.stopped = c.stopped;
        state.rate = c.rate;
        EXPECT_EQ(state.playState(), c.playState) << c.open << ' ' << c.paused << c.stopped << ' ' << c.rate;
        EXPECT_EQ(state.running(), c.running) << c.open << ' ' << c.paused << c.stopped << ' ' << c.rate;
    }
}

// A new media, a failure or a release forgets all of the old media's playback, but the rate.
TEST(PlaybackState, ResetForgetsAllButTheRate) {
    PlaybackState state;
    state.openState = MediaPlayer::OpenOpen;
    state.entryId = 7;
    state.paused = state.stopped = state.atEnd = state.hasVideo = state.recovering = true;
    state.reverseBySeeking = true;
    state.rate = -8.0;
    state.duration = 240.0;
    state.lastPosition = 12.0;
    state.pendingSeek = 3.0;
    state.lastError = QStringLiteral("broken");
    state.reset();
    PlaybackState fresh;
    fresh.rate = -8.0;
    EXPECT_EQ(state.openState, fresh.openState);
    EXPECT_EQ(state.entryId, 0u);
    EXPECT_FALSE(state.paused || state.stopped || state.atEnd || state.hasVideo || state.recovering ||
                 state.reverseBySeeking);
    EXPECT_EQ(state.rate, -8.0);
    EXPECT_EQ(state.duration + state.lastPosition, 0.0);
    EXPECT_FALSE(state.pendingSeek.has_value());
    EXPECT_TRUE(state.lastError.isEmpty());
    EXPECT_EQ(state.playState(), MediaPlayer::PlayReady);
}

// Motion by seeks on a clock the test turns: where each step seeks, and where it stops.
struct FakeMotion {
    double now = 0.0;
    std::vector<double> seeks;
    SeekMotion motion{[this] { return now; }, [this](double s) { seeks.push_back(s); }};
};

TEST(SeekMotion, FollowsTheClockFromItsAnchor) {
    const struct {
        double from, rate, after, position;
    } cases[] = {{30.0, -9.0, 0.5, 25.5}, {30.0, -8.0, 1.5, 18.0}, {30.0, -2.0, 0.1, 29.8},
                 {10.0, 8.0, 0.5, 14.0},  {10.0, 2.0, 1.5, 13.0},  {3.0, -9.0, 1.0, 0.0}};
    for (const auto& c : cases) {
        FakeMotion m;
        m.motion.anchor(c.from, c.rate);
        m.now += c.after;
        EXPECT_NEAR(m.motion.position(), c.position, 1e-9) << c.from << ' ' << c.rate << ' ' << c.after;
        EXPECT_NEAR(m.motion.elapsed(), c.after, 1e-9);
    }
}

TEST(SeekMotion, StepsWaitForTheSeekBeforeAndEndAtTheStart) {
    FakeMotion m;
    m.motion.anchor(2.0, -4.0);
    m.now += 0.1;
    EXPECT_TRUE(m.motion.step(false));
    m.now += 0.1;
    EXPECT_TRUE(m.motion.step(true)); // the seek before still decodes: no new one
    m.now += 0.1;
    EXPECT_TRUE(m.motion.step(false)); // not late: straight to where the clock is
    m.now += 0.3;
    EXPECT_FALSE(m.motion.step(false)); // the start: seeks there and ends
    ASSERT_EQ(m.seeks.size(), 3u);
    EXPECT_NEAR(m.seeks[0], 1.6, 1e-9);
    EXPECT_NEAR(m.seeks[1], 0.8, 1e-9);
    EXPECT_NEAR(m.seeks[2], 0.0, 1e-9);
    m.motion.anchor(5.0, -4.0); // a new anchor starts the clock afresh
    EXPECT_DOUBLE_EQ(m.motion.position(), 5.0);
}

} // namespace
