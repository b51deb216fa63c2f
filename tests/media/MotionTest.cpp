// Motion of the real component at every rate the program asks for, on each kind of media: it starts
// at once, holds its rate (by the engine's own position and speed and by the picture; what it reports
// at other rates than 1 is its own clock) and pauses where it was; the pedal's release steps back 4 to 5
// seconds.
// Bounds leave room for a loaded two-core machine; bench/player/MotionBench holds the tight figures.
#include "MotionProbe.h"
#include "Platform.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

class Motion : public ::testing::TestWithParam<std::string> {};

TEST_P(Motion, StartsAtOnceHoldsItsRateAndPausesWhereItWas) {
    PlayerScreen s;
    ASSERT_TRUE(s.open(testMedia(GetParam())));
    const bool video = GetParam() == "wmv";
    for (const double rate : {-9.0, -8.0, -2.0, 0.75, 1.0, 1.25, 2.0, 8.0}) {
        SCOPED_TRACE(testing::Message() << "rate " << rate);
        const MotionTrace trace = traceMotion(s.player, rate < 0 ? 16.0 : 3.0, rate, 1.2, video);
        EXPECT_LT(trace.startLatency(), 0.4) << "started late";
        const double bound = 0.12 + std::abs(rate) * 0.15;
        EXPECT_NEAR(trace.distanceError(1.2, &MotionSample::engine), 0.0, bound + 0.1)
            << "the engine did not follow the rate";
        // Sought back whenever it strays, an engine at the wrong speed keeps its position close over
        // a short run; what is heard is its own speed.
        if (rate > 0) {
            EXPECT_EQ(s.player.engineValue("speed"), rate) << "the engine plays at another speed";
        }
        if (rate != 1.0) { // at the engine's own rate it reports the engine, whose clock is heard late
            EXPECT_NEAR(trace.pausedAt, trace.pauseAsked, 0.1) << "the pause moved the position";
        }
        // Where it paused, the picture shows (a paused engine without one reads early by the sound
        // buffered).
        if (video) {
            // backwards the picture trails the engine's target by the seek on its way
            EXPECT_NEAR(trace.pictureAtEnd.value_or(-1), trace.engineAtPicture, bound)
                << "the picture did not follow the engine";
            EXPECT_NEAR(trace.pictureAfterPause.value_or(-1), trace.pauseAsked, 0.12)
                << "the picture paused elsewhere";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Media, Motion, ::testing::Values("wma2", "wma4", "wmv"));

// Fast motion ends at the ends of the media, stopped: backwards at the start, forwards at the end,
// where the next play starts over.
TEST(MotionTest, StopsAtTheEndsOfTheMedia) {
    PlayerScreen s;
    ASSERT_TRUE(s.open(testMedia("wmv")));
    MpvPlayer& player = s.player;
    const auto engineWithin = [&](double low, double high) {
        return pumpEventsUntil(
            [&] { return player.enginePosition() >= low && player.enginePosition() <= high; }, 3000);
    };
    traceMotion(player, 2.0, -9.0, 0.1);
    player.play();
    EXPECT_TRUE(pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayStopped; }, 2000));
    EXPECT_TRUE(engineWithin(0.0, 0.05)) << player.enginePosition();
    traceMotion(player, 16.0, 8.0, 0.1);
    player.play();
    EXPECT_TRUE(pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayStopped; }, 3000));
    EXPECT_TRUE(engineWithin(19.5, 20.2))
        << player.enginePosition(); // its clock strays a little past the end
    player.setRate(1.0);
    player.play(); // after the end, play starts over
    EXPECT_TRUE(engineWithin(0.1, 2.0)) << player.enginePosition();
}

// Releasing the middle button: half a second at -9, then pause: 4 to 5 seconds back, every time.
TEST(MotionTest, PedalReleaseStepsBackFourToFiveSeconds) {
    PlayerScreen s;
    ASSERT_TRUE(s.open(testMedia("wma2")));
    for (const auto& [from, holdMs] : {std::pair{12.0, 400}, {15.0, 900}, {9.0, 250}}) {
        const double back = releaseStepBack(s.player, from, holdMs);
        EXPECT_TRUE(back >= 4.0 && back <= 5.0) << back << " s back from " << from;
        EXPECT_EQ(s.player.playState(), MediaPlayer::PlayPaused);
    }
}

} // namespace
