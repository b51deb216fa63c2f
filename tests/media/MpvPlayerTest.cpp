// The real media component against real WMA and WMV files made by ffmpeg for the test.
#include "MpvPlayer.h"
#include "MediaFixtures.h"
#include "Platform.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QOpenGLWidget>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

// Files are made when a test first asks for them, once per program; short files keep the suite quick.
class Media {
  public:
    static QByteArray file(const std::string& key) {
        static Media media;
        auto found = media.m_files.find(key);
        if (found == media.m_files.end())
            found = media.m_files.emplace(key, media.make(key)).first;
        return found->second;
    }

  private:
    QByteArray make(const std::string& key) {
        if (key == "wma2")
            return m_fixtures.makeWma("Room3_12-14-2009_34200_1.wma", 2, 20);
        if (key == "wma4")
            return m_fixtures.makeWma("Room3_12-14-2009_34200_2.wma", 4, 20);
        if (key == "wmv")
            return m_fixtures.makeWmv("Room3_12-14-2009_34200_3.wmv", 20);
        if (key == "corrupt")
            return m_fixtures.makeCorrupt("Broken_12-14-2009_34200_1.wma");
        if (key == "empty")
            return m_fixtures.makeFile("Empty_12-14-2009_34200_1.wma", QByteArray());
        if (key == "missing")
            return m_fixtures.path("Missing_12-14-2009_34200_1.wma");
        if (key == "latin1")
            return m_fixtures.makeWma("Caf\xe9 \xff_12-14-2009_34200_1.wma", 2, 3);
        return QByteArray();
    }
    MediaFixtures m_fixtures;
    std::map<std::string, QByteArray> m_files;
};

bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    return pumpEventsUntil(done, timeoutMs);
}

QByteArray media(const std::string& key) {
    const QByteArray file = Media::file(key);
    EXPECT_FALSE(file.isEmpty()) << "could not make " << key;
    return file;
}

void settle(int ms) {
    pumpEventsUntil([] { return false; }, ms);
}

class MpvPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(339, 317);
        player = std::make_unique<MpvPlayer>(&window);
        player->resize(339, 317);
        window.show();
        ASSERT_TRUE(waitFor([&] { return window.isVisible(); }));
        ASSERT_FALSE(player->versionInfo().isEmpty()) << "libmpv unusable";
    }
    void TearDown() override { player.reset(); }

    // Opens a file and waits until it plays.
    void openPlaying(const QByteArray& file) {
        player->setURL(file);
        ASSERT_TRUE(waitFor([&] { return player->openState() == MediaPlayer::OpenOpen; }))
            << player->statusText().toStdString();
        ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.2; }));
        ASSERT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    }

    // Seeks while paused and waits for the seek to land.
    void pauseAt(double seconds) {
        player->pause();
        player->setCurrentPosition(seconds);
        settle(300);
    }

    // Position change per second of wall time over about the given span.
    double measureSpeed(int spanMs) {
        const double before = player->currentPosition();
        QElapsedTimer clock;
        clock.start();
        settle(spanMs);
        return (player->currentPosition() - before) / (clock.elapsed() / 1000.0);
    }

    QWidget window;
    std::unique_ptr<MpvPlayer> player;
};

// ---- opening, states and release, on every kind of file

class OpenEachFile : public MpvPlayerTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(OpenEachFile, OpensAutostartsAndReportsItsSource) {
    const QByteArray file = media(GetParam());
    EXPECT_EQ(player->openState(), MediaPlayer::OpenNoMedia);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayReady);
    player->setURL(file);
    EXPECT_EQ(player->openState(), MediaPlayer::OpenOpening);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayOpening);
    ASSERT_TRUE(waitFor([&] { return player->openState() == MediaPlayer::OpenOpen; }));
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > 0.5; }));
    EXPECT_EQ(player->URL(), file);
    EXPECT_EQ(player->sourceURL(), QString::fromUtf8(file));

    player->setURL(QByteArray());
    EXPECT_EQ(player->openState(), MediaPlayer::OpenNoMedia);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayReady);
    EXPECT_TRUE(player->sourceURL().isEmpty());
    EXPECT_TRUE(player->URL().isEmpty());
    EXPECT_EQ(player->currentPosition(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Media, OpenEachFile, ::testing::Values("wma2", "wma4", "wmv"));

TEST_F(MpvPlayerTest, PauseStopAndPlayAgain) {
    openPlaying(media("wma2"));
    player->pause();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPaused);
    settle(200);
    const double held = player->currentPosition();
    settle(400);
    EXPECT_NEAR(player->currentPosition(), held, 0.01);

    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > held + 0.2; }));

    player->stop();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayStopped);
    settle(300);
    EXPECT_EQ(player->openState(), MediaPlayer::OpenOpen);
    EXPECT_NEAR(player->currentPosition(), 0.0, 0.01);
    player->pause(); // a stopped player stays stopped
    EXPECT_EQ(player->playState(), MediaPlayer::PlayStopped);
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > 0.2; }));
}

TEST_F(MpvPlayerTest, PlaysToTheEndThenStopsAndStartsOver) {
    openPlaying(media("wma2"));
    player->setCurrentPosition(19.0);
    ASSERT_TRUE(waitFor([&] { return player->playState() == MediaPlayer::PlayStopped; }, 4000));
    EXPECT_LE(player->currentPosition(), 20.1);
    player->play();
    EXPECT_TRUE(waitFor([&] {
        const double at = player->currentPosition();
        return at > 0.1 && at < 3.0;
    }));
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
}

// ---- exact seeks

TEST_F(MpvPlayerTest, SeeksExactlyToWholeSeconds) {
    openPlaying(media("wmv"));
    for (double second : {7.0, 3.0, 12.0}) {
        pauseAt(second);
        EXPECT_NEAR(player->currentPosition(), second, 0.02) << second;
    }
    player->play();
    player->setCurrentPosition(5.0);
    EXPECT_EQ(player->currentPosition(), 5.0); // reads back at once
    settle(300);
    EXPECT_GE(player->currentPosition(), 5.0);
    EXPECT_LT(player->currentPosition(), 5.6);
    player->setCurrentPosition(-3.0); // kept inside the media
    settle(200);
    EXPECT_LT(player->currentPosition(), 0.6);
}

// ---- rates

TEST_F(MpvPlayerTest, ForwardRatesAndTheirStates) {
    openPlaying(media("wma2"));
    player->setRate(2.0);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayScanForward);
    settle(300); // sound already queued plays out at the old speed
    EXPECT_NEAR(measureSpeed(1000), 2.0, 0.4);
    player->setRate(1.25);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    player->setRate(0.75);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    EXPECT_NEAR(player->rate(), 0.75, 1e-9);
    EXPECT_THROW(player->setRate(0.0), QuillonError);
}

struct Backwards {
    std::string file;
    double rate;
    bool bySeeking;
};

class PlaysBackwards : public MpvPlayerTest, public ::testing::WithParamInterface<Backwards> {};

// The position must really fall at about the rate (the pedal rewinds for only half a second at -9),
// and backwards play ends at the start, stopped.
TEST_P(PlaysBackwards, PositionFallsAtAboutTheRateAndStopsAtTheStart) {
    const auto [file, rate, bySeeking] = GetParam();
    openPlaying(media(file));
    player->setCurrentPosition(15.0);
    settle(300);
    player->setReverseBySeeking(bySeeking);
    player->setRate(rate);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayScanReverse);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() < 14.6; }, 2000))
        << "did not start going back";
    const double speed = -measureSpeed(int(1000 * std::min(1.0, 10 / -rate)));
    EXPECT_GT(speed, -rate * 0.5);
    EXPECT_LT(speed, -rate * 1.5);
    EXPECT_EQ(player->emulatesReverse(), bySeeking) << "mpv's own backward play was given up";
    if (rate < -2) {
        EXPECT_TRUE(waitFor([&] { return player->playState() == MediaPlayer::PlayStopped; }, 3000));
        EXPECT_LT(player->currentPosition(), 0.3);
        player->setRate(1.0);
        player->play();
        EXPECT_TRUE(waitFor([&] { return player->currentPosition() > 0.3; }));
    }
}

INSTANTIATE_TEST_SUITE_P(Media, PlaysBackwards,
                         ::testing::Values(Backwards{"wma2", -2.0, false}, Backwards{"wma2", -8.0, false},
                                           Backwards{"wma2", -9.0, false}, Backwards{"wma4", -2.0, false},
                                           Backwards{"wmv", -2.0, false}, Backwards{"wmv", -8.0, false},
                                           Backwards{"wmv", -9.0, false}, Backwards{"wma2", -9.0, true},
                                           Backwards{"wmv", -2.0, true}, Backwards{"wmv", -9.0, true}),
                         [](const auto& test) {
                             return test.param.file + "_" + std::to_string(int(-test.param.rate)) +
                                    (test.param.bySeeking ? "_seeking" : "");
                         });

TEST_F(MpvPlayerTest, RateWrittenWhilePausedAppliesOnResume) {
    openPlaying(media("wmv"));
    pauseAt(10.0);
    player->setRate(-2.0);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPaused);
    settle(500);
    EXPECT_NEAR(player->currentPosition(), 10.0, 0.1);
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayScanReverse);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() < 9.0; }, 2500));
    // the pedal's pattern: rewind, pause, back to the normal rate, resume forwards
    player->pause();
    player->setRate(1.0);
    const double held = player->currentPosition();
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > held + 0.3; }));
}

// ---- files that do not open

class FailsFast : public MpvPlayerTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(FailsFast, LeavesOpeningAtOnceWithOneLogEntry) {
    CapturedLog log;
    player->setURL(media(GetParam()));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitFor([&] { return player->openState() != MediaPlayer::OpenOpening; }, 3000));
    EXPECT_LT(clock.elapsed(), 5000); // far inside the hand-off's 15 s, also on a busy machine
    EXPECT_EQ(player->openState(), MediaPlayer::OpenNoMedia);
    EXPECT_EQ(player->playState(), MediaPlayer::PlayReady);
    EXPECT_TRUE(player->sourceURL().isEmpty());
    EXPECT_TRUE(player->statusText().contains(QLatin1String("could not be played")))
        << player->statusText().toStdString();
    settle(300);
    ASSERT_EQ(log.lines.size(), 1) << log.lines.join('\n').toStdString();
    EXPECT_TRUE(log.lines[0].startsWith(QLatin1String("ERROR: No = 1001"))) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.MPlayer.Open()")));
    // the player still works afterwards
    player->play();
    openPlaying(media("wma2"));
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(player->statusText().isEmpty() || player->statusText().contains(QLatin1String("sound")));
}

INSTANTIATE_TEST_SUITE_P(Media, FailsFast, ::testing::Values("corrupt", "empty", "missing"));

// ---- names, version, no side effects

TEST_F(MpvPlayerTest, OpensANameThatIsNotUtf8ByItsBytes) {
    const QByteArray file = media("latin1");
    openPlaying(file);
    EXPECT_EQ(player->URL(), file);
    EXPECT_EQ(player->sourceURL(), displayFileName(file));
}

TEST_F(MpvPlayerTest, VersionIsNineDotLibmpvVersion) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^9\\.\\d+\\.\\d+(\\.\\d+)*$"))
                    .match(player->versionInfo())
                    .hasMatch())
        << player->versionInfo().toStdString();
}

TEST_F(MpvPlayerTest, PlaysSilentlyWithoutSoundDeviceAndSaysSo) {
    openPlaying(media("wma2"));
    if (!waitFor([&] { return !player->statusText().isEmpty(); }, 2000))
        GTEST_SKIP() << "this machine has a sound device";
    EXPECT_TRUE(player->statusText().contains(QLatin1String("No sound device")))
        << player->statusText().toStdString();
}

// ---- video

QImage videoFrame(MpvPlayer& player) {
    auto* video = player.findChild<QOpenGLWidget*>(QStringLiteral("MPlayerVideo"));
    if (!video) // in full screen it is a window of its own
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("MPlayerVideo"))
                video = qobject_cast<QOpenGLWidget*>(top);
    return video ? video->grabFramebuffer() : QImage();
}

bool showsPicture(const QImage& frame) {
    if (frame.isNull())
        return false;
    int lit = 0;
    for (int y = 0; y < frame.height(); y += 8)
        for (int x = 0; x < frame.width(); x += 8)
            lit += qGray(frame.pixel(x, y)) > 40;
    return lit > 20;
}

TEST_F(MpvPlayerTest, DrawsVideoAndGoesFullScreenAndBack) {
    openPlaying(media("wmv"));
    EXPECT_TRUE(waitFor([&] { return showsPicture(videoFrame(*player)); }, 3000))
        << "no picture in the window";

    player->setFullScreen(true);
    ASSERT_TRUE(player->isFullScreenVideo());
    QWidget* full = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("MPlayerVideo"))
            full = top;
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(waitFor([&] { return full->isVisible() && full->width() >= 1280; }))
        << full->isVisible() << " " << full->width() << "x" << full->height() << " "
        << int(full->windowState());
    EXPECT_TRUE(waitFor([&] { return showsPicture(videoFrame(*player)); }, 3000))
        << "no picture in full screen";
    QTest::keyClick(full, Qt::Key_Escape);
    EXPECT_FALSE(player->isFullScreenVideo());

    player->setFullScreen(true);
    ASSERT_TRUE(player->isFullScreenVideo());
    settle(200);
    QTest::mouseDClick(full, Qt::LeftButton);
    EXPECT_FALSE(player->isFullScreenVideo());
    EXPECT_TRUE(waitFor([&] { return showsPicture(videoFrame(*player)); }, 3000))
        << "no picture after full screen";
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
}

// The hand-off writes the URL before the player window shows: video comes once it can be drawn.
TEST_F(MpvPlayerTest, VideoOpenedBeforeTheWindowShowsAppearsWithIt) {
    QWidget hidden;
    hidden.resize(339, 317);
    MpvPlayer late(&hidden);
    late.resize(339, 317);
    late.setURL(media("wmv"));
    ASSERT_TRUE(waitFor([&] { return late.openState() == MediaPlayer::OpenOpen; }));
    hidden.show();
    EXPECT_TRUE(waitFor([&] { return showsPicture(videoFrame(late)); }, 3000));
    EXPECT_EQ(late.playState(), MediaPlayer::PlayPlaying);
}

TEST_F(MpvPlayerTest, AnotherURLReplacesTheOpenMedia) {
    openPlaying(media("wma2"));
    player->setURL(media("wmv"));
    EXPECT_EQ(player->openState(), MediaPlayer::OpenOpening);
    ASSERT_TRUE(waitFor([&] { return player->openState() == MediaPlayer::OpenOpen; }));
    EXPECT_EQ(player->sourceURL(), QString::fromUtf8(media("wmv")));
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPlaying);
    settle(300);
    EXPECT_EQ(player->openState(), MediaPlayer::OpenOpen); // the old media's end does not close the new one
}

TEST_F(MpvPlayerTest, FullScreenIgnoredForSound) {
    openPlaying(media("wma2"));
    player->setFullScreen(true);
    EXPECT_FALSE(player->isFullScreenVideo());
}

} // namespace

// Pointing HOME and the XDG folders at an empty folder: playing leaves it empty (no configuration,
// caches or state written). Runs in a process of its own under ctest.
TEST(MpvPlayerFiles, PlayingWritesNothingUnderHome) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QTemporaryDir runtime; // a desktop session has one; sound libraries keep their sockets there
    ASSERT_TRUE(runtime.isValid());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const char* variables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                               "XDG_STATE_HOME"};
    std::map<std::string, QByteArray> saved;
    for (const char* name : variables) {
        saved[name] = qgetenv(name);
        qputenv(name, QFile::encodeName(home.path()) +
                          (qstrcmp(name, "HOME") ? QByteArray("/") + name : QByteArray()));
    }
    {
        QWidget window;
        window.resize(339, 317);
        MpvPlayer player(&window);
        player.resize(339, 317);
        window.show();
        for (const char* key : {"wmv", "wma2"}) {
            player.setURL(media(key));
            EXPECT_TRUE(waitFor([&] { return player.currentPosition() > 0.5; }));
        }
        player.setURL(QByteArray());
    }
    saved["XDG_RUNTIME_DIR"] = savedRuntime;
    for (const auto& [name, value] : saved)
        value.isNull() ? qunsetenv(name.c_str()) : qputenv(name.c_str(), value);
    QStringList written;
    for (QDirIterator it(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        written << it.next();
    EXPECT_TRUE(written.isEmpty()) << written.join('\n').toStdString();
}
