// Motion of the real component at every rate the program asks for, on each kind of media: it starts
// at once, holds its rate, pauses where it was; the pedal's release steps back 4 to 5 seconds.
// Bounds leave room for a loaded two-core machine; bench/player/MotionBench holds the tight figures.
#include "CapturedLog.h"
#include "MediaFixtures.h"
#include "MotionProbe.h"
#include "Platform.h"

#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {

QByteArray media(const std::string& key) {
    static MediaFixtures made;
    static std::map<std::string, QByteArray> files;
    if (!files.count(key))
        files[key] = key == "wma2"   ? made.makeWma("Room3_12-14-2009_34200_1.wma", 2, 20)
                     : key == "wma4" ? made.makeWma("Room3_12-14-2009_34200_2.wma", 4, 20)
                                     : made.makeWmv("Room3_12-14-2009_34200_3.wmv", 20);
    EXPECT_FALSE(files[key].isEmpty()) << made.lastError().toStdString();
    return files[key];
}

struct Shown {
    CapturedLog log; // outlives the window and the player in it
    QWidget window;
    MpvPlayer* player = new MpvPlayer(log, &window);
    explicit Shown(const QByteArray& file) {
        window.resize(339, 317);
        player->resize(339, 317);
        window.show();
        player->setURL(file);
        EXPECT_TRUE(pumpEventsUntil([&] { return player->openState() == MediaPlayer::OpenOpen; }, 5000));
    }
};

class Motion : public ::testing::TestWithParam<std::string> {};

TEST_P(Motion, StartsAtOnceHoldsItsRateAndPausesWhereItWas) {
    Shown s(media(GetParam()));
    for (const double rate : {-9.0, -8.0, -2.0, 0.75, 1.0, 1.25, 2.0, 8.0}) {
        SCOPED_TRACE(testing::Message() << "rate " << rate);
        const MotionTrace trace = traceMotion(*s.player, rate < 0 ? 16.0 : 3.0, rate, 1.2);
        EXPECT_LT(trace.startLatency(), 0.4) << "started late";
        // no stall: every quarter second after the start moves at least a third of what the rate asks
        for (double t = 0.25; t + 0.25 <= 1.2; t += 0.25) {
            const double moved = (trace.positionAt(t + 0.25) - trace.positionAt(t)) * (rate < 0 ? -1 : 1);
            EXPECT_GT(moved, std::abs(rate) * 0.25 / 3) << "stalled after " << t << " s";
        }
        EXPECT_NEAR(trace.distanceError(1.2), 0.0, 0.12 + std::abs(rate) * 0.15) << "drifted from its rate";
        if (rate != 1.0) {
            EXPECT_NEAR(trace.pausedAt, trace.pauseAsked, 0.1) << "the pause moved the position";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Media, Motion, ::testing::Values("wma2", "wma4", "wmv"));

// Fast motion ends at the ends of the media, stopped: backwards at the start, forwards at the end,
// where the next play starts over.
TEST(MotionTest, StopsAtTheEndsOfTheMedia) {
    Shown s(media("wmv"));
    MpvPlayer& player = *s.player;
    traceMotion(player, 2.0, -9.0, 0.1);
    player.play();
    EXPECT_TRUE(pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayStopped; }, 2000));
    EXPECT_NEAR(player.currentPosition(), 0.0, 0.05);
    traceMotion(player, 16.0, 8.0, 0.1);
    player.play();
    EXPECT_TRUE(pumpEventsUntil([&] { return player.playState() == MediaPlayer::PlayStopped; }, 3000));
    EXPECT_GT(player.currentPosition(), 19.5);
    player.setRate(1.0);
    player.play();
    EXPECT_TRUE(pumpEventsUntil([&] { return player.currentPosition() > 0.1 && player.currentPosition() < 2; }, 2000));
}

// Releasing the middle button: half a second at -9, then pause: 4 to 5 seconds back, every time.
TEST(MotionTest, PedalReleaseStepsBackFourToFiveSeconds) {
    Shown s(media("wma2"));
    for (const auto& [from, holdMs] : {std::pair{12.0, 400}, {15.0, 900}, {9.0, 250}}) {
        const double back = releaseStepBack(*s.player, from, holdMs);
        EXPECT_TRUE(back >= 4.0 && back <= 5.0) << back << " s back from " << from;
        EXPECT_EQ(s.player->playState(), MediaPlayer::PlayPaused);
    }
}

} // namespace
