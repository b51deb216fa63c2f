// The real media component against real WMA and WMV files made by ffmpeg for the test.
#include "MpvPlayer.h"
#include "FrameCode.h"
#include "MotionProbe.h"
#include "Platform.h"
#include "QtPrinting.h"
#include "QuillonError.h"
#include "TestSupport.h"
#include "TimeText.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

void PrintTo(VideoDrawing drawing, std::ostream* out) {
    *out << (drawing == VideoDrawing::OpenGL ? "OpenGL" : "Software");
}

namespace {

struct Screen : PlayerScreen {
    using PlayerScreen::PlayerScreen;
    void openPlaying(const QByteArray& file) {
        player.setURL(file);
        EXPECT_EQ(player.openState(), MediaPlayer::OpenOpening);
        EXPECT_EQ(player.playState(), MediaPlayer::PlayOpening);
        ASSERT_TRUE(pumpEventsUntil([&] { return player.openState() == MediaPlayer::OpenOpen; }, 5000))
            << player.statusText().toStdString();
        ASSERT_TRUE(pumpEventsUntil([&] { return player.enginePosition() > 0.2; }, 5000));
        EXPECT_EQ(player.sourceURL(), displayFileName(file));
    }
    // The engine's own position and the picture both show `second`.
    bool showsMoment(double second, double slack = 0.05) {
        const std::optional<double> picture = pictureTime(player);
        return std::abs(player.enginePosition() - second) <= slack && picture &&
               std::abs(*picture - second) <= slack + 0.04; // a frame lasts 0.04 s
    }
};

// Each kind of file opens and autostarts, also over the media before it. A file that does not open
// leaves Opening at once (far inside the hand-off's 15 s), and one cut to its first kilobytes ends at
// once: each says so in the bar with one log entry, and the next file plays. A real recording of half
// a second is neither. An empty URL releases. (Pause, play and stop on the engine: the menu test and
// MotionTest.)
TEST(MpvPlayerTest, OpensEachFileOrSaysWhyWithOneLogEntry) {
    Screen s;
    MpvPlayer& player = s.player;
    QStringList& log = s.log.lines;
    for (const char* key : {"wmv", "wma4", "latin1", "wma2"}) {
        s.openPlaying(testMedia(key));
        settle(300);
        EXPECT_EQ(player.openState(), MediaPlayer::OpenOpen) << key; // the old media's end closes nothing
    }
    const char* failed = "could not be played";
    const char* nothing = "holds nothing to play";
    // what the bar says, and the system's reason where it has one (a file the user may not read says
    // "Permission denied")
    const std::tuple<const char*, const char*, const char*> files[] = {
        {"corrupt", failed, ""},
        {"empty", failed, ""},
        {"missing", failed, "No such file or directory"},
        {"cut wma", nothing, "Cut_12-14-2009_34200_1.wma"},
        {"cut wmv", nothing, "Cut_12-14-2009_34200_3.wmv"},
        {"half second", "", ""}};
    for (const auto& [key, said, reason] : files) {
        SCOPED_TRACE(key);
        const qsizetype logged = log.size();
        player.setURL(testMedia(key));
        const auto ended = [&] {
            return player.playState() == MediaPlayer::PlayReady ||
                   player.playState() == MediaPlayer::PlayStopped;
        };
        ASSERT_TRUE(pumpEventsUntil(ended, 3000));
        settle(300);
        EXPECT_TRUE(player.statusText().contains(QLatin1String(said)) &&
                    (player.openState() == MediaPlayer::OpenNoMedia) == (said == failed));
        ASSERT_EQ(log.size(), logged + (*said ? 1 : 0)) << log.join('\n').toStdString();
        EXPECT_TRUE(!*said || (log.back().startsWith(QLatin1String("ERROR: No = 1001,")) &&
                               log.back().contains(QLatin1String(reason)) &&
                               log.back().contains(QLatin1String("Quillon502.MPlayer.Open()"))))
            << qPrintable(log.back());
        player.play();
        s.openPlaying(testMedia("wma2"));
    }
    settle(1000);
    EXPECT_EQ(log.size(), 5); // also a missing sound device is no failure
    player.setURL(QByteArray());
    EXPECT_EQ(player.openState(), MediaPlayer::OpenNoMedia);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayReady);
}

// Seeks and rates as the program asks for them, on a video larger than its area: the engine's own
// position and the picture show where each lands.
TEST(MpvPlayerTest, SeeksExactlyAndRatesWaitForPlay) {
    Screen s;
    MpvPlayer& player = s.player;
    s.openPlaying(testMedia("wmv"));
    player.pause();
    for (double second : {7.0, 3.0, 12.0}) {
        player.setCurrentPosition(second);
        EXPECT_TRUE(pumpEventsUntil([&] { return s.showsMoment(second); }, 3000))
            << second << ": engine " << player.enginePosition() << ", picture "
            << pictureTime(player).value_or(-1);
    }
    player.play();
    player.setCurrentPosition(5.0);
    EXPECT_TRUE(pumpEventsUntil([&] { return s.showsMoment(5.3, 0.3); }, 3000)) << player.enginePosition();
    player.setCurrentPosition(-3.0); // kept inside the media
    EXPECT_TRUE(pumpEventsUntil([&] { return s.showsMoment(0.3, 0.3); }, 3000)) << player.enginePosition();

    player.setRate(2.0);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayScanForward);
    EXPECT_THROW(player.setRate(0.0), QuillonError);

    // A rate written while paused waits for play, as the pedal writes it (its motion: MotionTest).
    player.pause();
    player.setCurrentPosition(10.0);
    player.setRate(-2.0);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayPaused);
    EXPECT_TRUE(pumpEventsUntil([&] { return s.showsMoment(10.0); }, 3000)) << player.enginePosition();
    settle(300);
    EXPECT_TRUE(s.showsMoment(10.0)) << player.enginePosition();
}

// A right-click on the picture (in the window and full screen) or on the bar opens the component's
// menu; its entries read as what they do now, and each acts as the bar's buttons do.
TEST(MpvPlayerTest, RightClickOpensTheMenuWhoseEntriesAct) {
    Screen s;
    MpvPlayer& player = s.player;
    auto* bar = player.findChild<QWidget*>(QStringLiteral("MPlayerBar"));
    auto* mute = player.findChild<QAbstractButton*>(QStringLiteral("MPlayerMute"));
    // each step's entries, as a screen reader reads them ("+" marking a checked one), show that the
    // entry chosen in the step before acted
    struct Step {
        const char* file;
        bool onBar;
        QStringList read;
        const char* choose;
    };
    const std::vector<Step> steps{
        {"wmv", false, {"Pause", "Stop", "Full Screen", "Mute"}, "Mute"},
        {"wmv", true, {"Pause", "Stop", "Full Screen", "+Mute"}, "Pause"},
        {"wmv", false, {"Play", "Stop", "Full Screen", "+Mute"}, "Full Screen"},
        {"wmv", false, {"Play", "Stop", "+Full Screen", "+Mute"}, "Play"},
        {"wmv", false, {"Pause", "Stop", "+Full Screen", "+Mute"}, "Full Screen"},
        {"wma2", true, {"Pause", "Stop", "+Mute"}, "Stop"},
        {"wma2", false, {"Play", "Stop", "+Mute"}, "Mute"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.choose);
        if (player.URL() != testMedia(step.file))
            s.openPlaying(testMedia(step.file));
        QWidget* target = step.onBar ? bar : videoArea(player);
        QTest::mouseClick(target->window()->windowHandle(), Qt::RightButton, {},
                          target->mapTo(target->window(), target->rect().center()));
        ASSERT_TRUE(
            pumpEventsUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 2000));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(menu);
        QStringList entries;
        QAction* chosen = nullptr;
        for (int i = 0; i < read->childCount(); ++i) {
            QAccessibleInterface* entry = read->child(i);
            if (entry->role() != QAccessible::MenuItem || entry->state().invisible)
                continue;
            entries << (entry->state().checked ? "+" : "") + entry->text(QAccessible::Name);
            if (entry->text(QAccessible::Name) == QLatin1String(step.choose))
                chosen = qobject_cast<QAction*>(entry->object());
        }
        EXPECT_EQ(entries, step.read);
        ASSERT_TRUE(chosen);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    }
    EXPECT_FALSE(mute->isChecked());
    // paused without video the engine reads off by the two frames of sound it holds (0.093 s), either way
    EXPECT_TRUE(pumpEventsUntil([&] { return std::abs(player.enginePosition()) < 0.1; }, 5000))
        << "stopped at " << player.enginePosition() << ", not the start";
}

} // namespace

class VideoDrawn : public ::testing::TestWithParam<VideoDrawing> {};

void PrintTo(const QRect& r, std::ostream* out) {
    *out << std::unique_ptr<char[]>(QTest::toString(r)).get();
}

// The picture keeps its shape, centred: in the window a smaller one keeps its own size and a larger
// one shrinks to fit; full screen each fills the screen (every edge of the test picture is lit).
// Video opened before its window shows (as the hand-off does) appears with it.
TEST_P(VideoDrawn, KeepsItsShapeInTheWindowAndFullScreen) {
    Screen s(false, GetParam());
    for (const auto& [key, videoSize] :
         {std::pair{"small", QSize(160, 120)}, {"wide", QSize(960, 240)}, {"wmv", QSize(640, 480)}}) {
        const QSize size = videoSize; // a copy the lambda below can capture
        EXPECT_TRUE(s.open(testMedia(key))) << key;
        s.player.pause();
        s.window.show();
        for (const bool full : {false, true}) {
            s.player.setFullScreen(full);
            QRect expected, lit;
            const auto placed = [&] {
                const QImage frame = videoPicture(s.player);
                const bool fits = !full && size.boundedTo(frame.size()) == size;
                expected = QRect(QPoint(), fits ? size : size.scaled(frame.size(), Qt::KeepAspectRatio));
                expected.moveCenter(frame.rect().center());
                lit = FrameCode::pictureIn(frame).value_or(QRect());
                // every edge within 3 pixels of where it belongs
                return !frame.isNull() && expected.adjusted(-3, -3, 3, 3).contains(lit) &&
                       lit.contains(expected.adjusted(3, 3, -3, -3));
            };
            EXPECT_TRUE(pumpEventsUntil(placed, 3000))
                << key << (full ? " full screen" : " in the window") << ": lit "
                << testing::PrintToString(lit) << ", expected " << testing::PrintToString(expected);
        }
        s.player.setFullScreen(false);
    }
}

// While a 640x480 video plays, in the window and full screen, the event loop answers a call posted from
// another thread (as a screen reader's request comes) at once, and the picture keeps up with the
// engine. Bounds for a loaded two-core machine; bench/player/WindowBench holds the tight figures.
TEST_P(VideoDrawn, PlayingNeverHoldsTheEventLoop) {
    Screen s(true, GetParam());
    s.openPlaying(testMedia("wmv"));
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full screen" : "in the window");
        s.player.setFullScreen(full);
        settle(300);
        const auto waits = std::make_shared<std::vector<double>>();
        std::atomic<bool> stop = false;
        std::thread asker([&stop, waits] {
            while (!stop) {
                QElapsedTimer posted;
                posted.start();
                QMetaObject::invokeMethod(
                    qApp, [waits, posted] { waits->push_back(posted.nsecsElapsed() / 1e6); },
                    Qt::QueuedConnection);
                std::this_thread::sleep_for(std::chrono::milliseconds(7));
            }
        });
        settle(3000);
        stop = true;
        asker.join();
        settle(50);
        ASSERT_GT(waits->size(), 100u);
        std::sort(waits->begin(), waits->end());
        EXPECT_LT((*waits)[waits->size() / 2], 10.0) << "median wait, ms";
        EXPECT_LT(waits->back(), 100.0) << "longest wait, ms";
        // the picture, read between two reads of the engine, shows where the engine was meanwhile
        const double before = s.player.enginePosition();
        const double picture = pictureTime(s.player).value_or(-1);
        EXPECT_TRUE(picture > before - 0.2 && picture < s.player.enginePosition() + 0.05)
            << "the picture shows " << picture << " s, the engine was at " << before << " s";
    }
    s.player.setFullScreen(false);
}

INSTANTIATE_TEST_SUITE_P(Media, VideoDrawn, ::testing::Values(VideoDrawing::Software, VideoDrawing::OpenGL),
                         ::testing::PrintToStringParamName());

// The bar as a user works it, paused: the seek slider's handle dragged to three quarters moves the
// engine and the picture there and the elapsed time reads it; the volume slider dragged sets the
// engine's volume.
TEST(MpvPlayerTest, TheBarsSlidersMoveTheEngine) {
    Screen s;
    MpvPlayer& player = s.player;
    s.openPlaying(testMedia("wmv"));
    player.pause();
    const auto drag = [](QSlider* slider, double fraction) {
        const int handle = slider->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider);
        const int span = slider->width() - handle, y = slider->height() / 2;
        const QPoint from(handle / 2 + QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                                       slider->value(), span),
                          y);
        const QPoint to(handle / 2 + int(span * fraction), y);
        QTest::mousePress(slider, Qt::LeftButton, {}, from);
        QTest::mouseMove(slider, to);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, to);
    };
    auto* seek = player.findChild<QSlider*>(QStringLiteral("MPlayerSeek"));
    ASSERT_TRUE(pumpEventsUntil([&] { return seek->maximum() > 10000; }, 5000))
        << "the bar's length: " << seek->maximum();
    const double target = seek->maximum() / 1000.0 * 0.75;
    drag(seek, 0.75);
    EXPECT_TRUE(pumpEventsUntil([&] { return s.showsMoment(target, 0.3); }, 3000))
        << "engine " << player.enginePosition() << ", target " << target;
    const auto* elapsed = player.findChild<QLabel*>(QStringLiteral("MPlayerElapsed"));
    EXPECT_TRUE(pumpEventsUntil(
        [&] { return elapsed->text() == durationText(player.enginePosition(), false); }, 5000))
        << elapsed->text().toStdString();
    auto* volume = player.findChild<QSlider*>(QStringLiteral("MPlayerVolume"));
    drag(volume, 0.2);
    EXPECT_LT(volume->value(), 40);
    EXPECT_TRUE(pumpEventsUntil([&] { return player.engineValue("volume") == volume->value(); }, 5000))
        << player.engineValue("volume") << " against " << volume->value();
}
