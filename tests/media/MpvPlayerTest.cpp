// The real media component against real WMA and WMV files made by ffmpeg for the test.
#include "MpvPlayer.h"
#include "MediaFixtures.h"
#include "Platform.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMenu>
#include <QOpenGLWidget>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

void PrintTo(VideoDrawing drawing, std::ostream* out) {
    *out << (drawing == VideoDrawing::OpenGL ? "OpenGL" : "Software");
}

namespace {

// Files are made when first asked for, once per program; short files keep the suite quick.
QByteArray media(const std::string& key) {
    static MediaFixtures made;
    static const std::map<std::string, std::function<QByteArray()>> makers{
        {"wma2", [] { return made.makeWma("Room3_12-14-2009_34200_1.wma", 2, 20); }},
        {"wma4", [] { return made.makeWma("Room3_12-14-2009_34200_2.wma", 4, 20); }},
        {"wmv", [] { return made.makeWmv("Room3_12-14-2009_34200_3.wmv", 20); }},
        {"small", [] { return made.makeWmv("Room3_12-14-2009_34200_4.wmv", 3, 160, 120); }},
        {"wide", [] { return made.makeWmv("Room3_12-14-2009_34200_5.wmv", 3, 960, 240); }},
        {"latin1", [] { return made.makeWma("Caf\xe9 \xff_12-14-2009_34200_1.wma", 2, 3); }},
        {"corrupt", [] { return made.makeCorrupt("Broken_12-14-2009_34200_1.wma"); }},
        {"empty", [] { return made.makeFile("Empty_12-14-2009_34200_1.wma", QByteArray()); }},
        {"missing", [] { return made.path("Missing_12-14-2009_34200_1.wma"); }},
        {"cut wma", [] { return made.makeCut("Cut_12-14-2009_34200_1.wma", media("wma2"), 8000); }},
        {"cut wmv", [] { return made.makeCut("Cut_12-14-2009_34200_3.wmv", media("wmv"), 8000); }},
        {"half second", [] { return made.makeWma("Short_12-14-2009_34200_1.wma", 2, 0.5); }}};
    static std::map<std::string, QByteArray> files;
    if (!files.count(key))
        files[key] = makers.at(key)();
    EXPECT_FALSE(files[key].isEmpty()) << "could not make " << key << made.lastError().toStdString();
    return files[key];
}

const auto waitFor = [](const std::function<bool()>& done, int ms = 5000) {
    return pumpEventsUntil(done, ms);
};
const auto settle = [](int ms) { pumpEventsUntil([] { return false; }, ms); };

// The player in a window of the player window's size.
struct Screen {
    explicit Screen(bool show = true, VideoDrawing drawing = chooseVideoDrawing())
        : player(&window, drawing) {
        window.resize(339, 317);
        player.resize(339, 317);
        if (show)
            window.show();
    }
    void openPlaying(const QByteArray& file) {
        player.setURL(file);
        EXPECT_EQ(player.openState(), MediaPlayer::OpenOpening);
        EXPECT_EQ(player.playState(), MediaPlayer::PlayOpening);
        ASSERT_TRUE(waitFor([&] { return player.openState() == MediaPlayer::OpenOpen; }))
            << player.statusText().toStdString();
        ASSERT_TRUE(waitFor([&] { return player.currentPosition() > 0.2; }));
        ASSERT_EQ(player.playState(), MediaPlayer::PlayPlaying);
    }
    // The video area as drawn, in the window or full screen, by either way of drawing.
    QImage videoArea() {
        QWidget* video = player.findChild<QWidget*>(QStringLiteral("MPlayerVideo"));
        for (QWidget* top : QApplication::topLevelWidgets()) // full screen: a window of its own
            if (!video && top->objectName() == QStringLiteral("MPlayerVideo") && top->isVisible())
                video = top;
        auto* gl = video ? video->findChild<QOpenGLWidget*>() : nullptr;
        return gl ? gl->grabFramebuffer() : video ? video->grab().toImage() : QImage();
    }
    // Some of the picture is lit.
    bool showsPicture() {
        const QImage frame = videoArea();
        int lit = 0;
        for (int y = 0; y < frame.height(); y += 8)
            for (int x = 0; x < frame.width(); x += 8)
                lit += qGray(frame.pixel(x, y)) > 40;
        return lit > 20;
    }
    QWidget window;
    MpvPlayer player;
};

// Each kind of file opens and autostarts, also over the media before it; an empty URL releases.
TEST(MpvPlayerTest, OpensEachFileThenPausesStopsAndReleases) {
    Screen s;
    MpvPlayer& player = s.player;
    EXPECT_TRUE(player.versionInfo().startsWith(QLatin1String("9."))) << player.versionInfo().toStdString();
    for (const char* key : {"wmv", "wma4", "latin1", "wma2"}) {
        s.openPlaying(media(key));
        EXPECT_EQ(player.URL(), media(key));
        EXPECT_EQ(player.sourceURL(), displayFileName(media(key)));
        settle(300);
        EXPECT_EQ(player.openState(), MediaPlayer::OpenOpen) << key; // the old media's end closes nothing
    }
    player.pause();
    EXPECT_EQ(player.playState(), MediaPlayer::PlayPaused);
    settle(200);
    const double held = player.currentPosition();
    settle(400);
    EXPECT_NEAR(player.currentPosition(), held, 0.01);
    player.play();
    EXPECT_EQ(player.playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player.currentPosition() > held + 0.2; }));
    player.stop();
    EXPECT_EQ(player.playState(), MediaPlayer::PlayStopped);
    settle(300);
    EXPECT_NEAR(player.currentPosition(), 0.0, 0.01);

    player.setURL(QByteArray());
    EXPECT_EQ(player.openState(), MediaPlayer::OpenNoMedia);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayReady);
    EXPECT_TRUE(player.sourceURL().isEmpty() && player.URL().isEmpty());
    EXPECT_EQ(player.currentPosition(), 0.0);
}

TEST(MpvPlayerTest, SeeksExactlyAndScansForward) {
    Screen s;
    MpvPlayer& player = s.player;
    s.openPlaying(media("wmv"));
    player.pause();
    for (double second : {7.0, 3.0, 12.0}) {
        player.setCurrentPosition(second);
        settle(300);
        EXPECT_NEAR(player.currentPosition(), second, 0.02) << second;
    }
    player.play();
    player.setCurrentPosition(5.0);
    EXPECT_EQ(player.currentPosition(), 5.0); // reads back at once
    settle(300);
    EXPECT_TRUE(player.currentPosition() >= 5.0 && player.currentPosition() < 5.6);
    player.setCurrentPosition(-3.0); // kept inside the media
    settle(200);
    EXPECT_LT(player.currentPosition(), 0.6);

    player.setRate(2.0);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayScanForward); // its motion: MotionTest
    EXPECT_THROW(player.setRate(0.0), QuillonError);

    // The pedal's pattern: a rate written while paused applies on resume, then forwards again.
    player.pause();
    player.setCurrentPosition(10.0);
    player.setRate(-2.0);
    EXPECT_EQ(player.playState(), MediaPlayer::PlayPaused);
    EXPECT_TRUE(waitFor([&] { return std::abs(player.currentPosition() - 10.0) < 0.1; }, 3000))
        << player.currentPosition(); // the seek lands, and the paused player stays there
    settle(300);
    EXPECT_NEAR(player.currentPosition(), 10.0, 0.1);
    player.play();
    EXPECT_EQ(player.playState(), MediaPlayer::PlayScanReverse);
    EXPECT_TRUE(waitFor([&] { return player.currentPosition() < 9.0; }, 2500));
    player.pause();
    player.setRate(1.0);
    const double held = player.currentPosition();
    player.play();
    EXPECT_EQ(player.playState(), MediaPlayer::PlayPlaying);
    EXPECT_TRUE(waitFor([&] { return player.currentPosition() > held + 0.3; }));
}

// A file that does not open leaves Opening at once (far inside the hand-off's 15 s), and one cut to its
// first kilobytes ends at once: each says so in the bar with one log entry, and the player works on.
// A real recording of half a second is neither.
TEST(MpvPlayerTest, FilesThatDoNotOpenOrHoldNothingSaySoWithOneLogEntry) {
    Screen s;
    MpvPlayer& player = s.player;
    CapturedLog log;
    const char* failed = "could not be played";
    const char* nothing = "holds nothing to play";
    const auto ended = [&] {
        return player.playState() == MediaPlayer::PlayReady || player.playState() == MediaPlayer::PlayStopped;
    };
    // the system's reason where it has one (a file the user may not read says "Permission denied")
    const std::tuple<const char*, const char*, const char*> files[] = {
        {"corrupt", failed, ""},
        {"empty", failed, ""},
        {"missing", failed, "No such file or directory"},
        {"cut wma", nothing, "Cut_12-14-2009_34200_1.wma"},
        {"cut wmv", nothing, "Cut_12-14-2009_34200_3.wmv"},
        {"half second", "", ""}};
    for (const auto& [key, said, reason] : files) {
        const qsizetype logged = log.lines.size();
        player.setURL(media(key));
        ASSERT_TRUE(waitFor(ended, 3000)) << key;
        settle(300);
        EXPECT_TRUE(player.statusText().contains(QLatin1String(said)) &&
                    (player.openState() == MediaPlayer::OpenNoMedia) == (said == failed))
            << key;
        ASSERT_EQ(log.lines.size(), logged + (*said ? 1 : 0)) << key << log.lines.join('\n').toStdString();
        const QString entry = *said ? log.lines.back() : QString();
        EXPECT_TRUE(!*said || (entry.startsWith(QLatin1String("ERROR: No = 1001,")) &&
                               entry.contains(QLatin1String(reason)) &&
                               entry.contains(QLatin1String("Quillon502.MPlayer.Open()"))))
            << qPrintable(entry);
        player.play();
        s.openPlaying(media("wma2"));
    }
    settle(1000);
    EXPECT_EQ(log.lines.size(), 5); // also a missing sound device is no failure
}

// A right-click on the picture (in the window and full screen) or on the bar opens the component's
// menu; its entries read as what they do now, and each acts as the bar's buttons do.
TEST(MpvPlayerTest, RightClickOpensTheMenuWhoseEntriesAct) {
    Screen s;
    MpvPlayer& player = s.player;
    auto* bar = player.findChild<QWidget*>(QStringLiteral("MPlayerBar"));
    auto* mute = player.findChild<QAbstractButton*>(QStringLiteral("MPlayerMute"));
    const auto picture = [&] {
        auto* video =
            player.isFullScreenVideo() ? nullptr : player.findChild<QWidget*>(QStringLiteral("MPlayerVideo"));
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!video && top->objectName() == QStringLiteral("MPlayerVideo"))
                video = top;
        return video;
    };
    using Done = std::function<bool()>;
    struct Step {
        const char* file;
        bool onBar;
        QStringList read; // the entries as a screen reader reads them, "+" marking a checked one
        const char* choose;
        Done done;
    };
    const auto plays = [&](int state) -> Done { return [&, state] { return player.playState() == state; }; };
    const auto full = [&](bool on) -> Done { return [&, on] { return player.isFullScreenVideo() == on; }; };
    const auto muted = [&](bool on) -> Done { return [&, on] { return mute->isChecked() == on; }; };
    const std::vector<Step> steps{
        {"wmv", false, {"Pause", "Stop", "Full Screen", "Mute"}, "Mute", muted(true)},
        {"wmv", true, {"Pause", "Stop", "Full Screen", "+Mute"}, "Pause", plays(MediaPlayer::PlayPaused)},
        {"wmv", false, {"Play", "Stop", "Full Screen", "+Mute"}, "Full Screen", full(true)},
        {"wmv", false, {"Play", "Stop", "+Full Screen", "+Mute"}, "Play", plays(MediaPlayer::PlayPlaying)},
        {"wmv", false, {"Pause", "Stop", "+Full Screen", "+Mute"}, "Full Screen", full(false)},
        {"wma2", true, {"Pause", "Stop", "+Mute"}, "Stop", plays(MediaPlayer::PlayStopped)},
        {"wma2", false, {"Play", "Stop", "+Mute"}, "Mute", muted(false)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.choose);
        if (player.URL() != media(step.file))
            s.openPlaying(media(step.file));
        QWidget* target = step.onBar ? bar : picture();
        QTest::mouseClick(target->window()->windowHandle(), Qt::RightButton, {},
                          target->mapTo(target->window(), target->rect().center()));
        ASSERT_TRUE(waitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 2000));
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
        EXPECT_TRUE(waitFor(step.done, 3000));
        EXPECT_FALSE(menu->isVisible());
    }
}

} // namespace

// With HOME and the XDG folders at an empty folder, playing leaves it empty (no configuration,
// caches or state). Video opened before its window shows (as the hand-off does) appears with it,
// and full screen, by either way of drawing.
class VideoDrawn : public ::testing::TestWithParam<VideoDrawing> {};

TEST_P(VideoDrawn, WithItsWindowAndFullScreenWritingNothingUnderHome) {
    QTemporaryDir home, runtime; // a desktop session has a runtime folder; sound libraries use it
    std::map<std::string, QByteArray> saved;
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
        saved[name] = qgetenv(name);
        qputenv(name, QFile::encodeName(home.path()) + (qstrcmp(name, "HOME") ? QByteArray("/") + name : ""));
    }
    saved["XDG_RUNTIME_DIR"] = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    {
        Screen s(false, GetParam());
        MpvPlayer& player = s.player;
        player.setURL(media("wmv"));
        ASSERT_TRUE(waitFor([&] { return player.openState() == MediaPlayer::OpenOpen; }));
        s.window.show();
        EXPECT_TRUE(waitFor([&] { return s.showsPicture(); }, 3000)) << "no picture in the window";
        player.setFullScreen(true);
        EXPECT_TRUE(player.isFullScreenVideo());
        EXPECT_TRUE(waitFor([&] { return s.showsPicture(); }, 3000)) << "no picture full screen";
        player.setFullScreen(false);
        EXPECT_TRUE(waitFor([&] { return s.showsPicture(); }, 3000)) << "no picture back in the window";
        player.setURL(QByteArray());
    }
    for (const auto& [name, value] : saved)
        value.isNull() ? qunsetenv(name.c_str()) : qputenv(name.c_str(), value);
    QStringList written;
    for (QDirIterator it(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        written << it.next();
    EXPECT_TRUE(written.isEmpty()) << written.join('\n').toStdString();
}

std::string text(const QRect& r) {
    return QStringLiteral("%1x%2 at %3,%4")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x())
        .arg(r.y())
        .toStdString();
}

// A picture smaller than its area keeps its own size, centred; a larger one is shrunk to fit keeping
// its shape; in the window and full screen. (Every edge of the test picture has lit pixels.)
TEST_P(VideoDrawn, AtItsOwnSizeCentredOrShrunkKeepingItsShape) {
    Screen s(true, GetParam());
    for (const auto& [key, size] : {std::pair{"small", QSize(160, 120)}, {"wide", QSize(960, 240)}}) {
        s.player.setURL(media(key));
        ASSERT_TRUE(waitFor([&] { return s.player.openState() == MediaPlayer::OpenOpen; })) << key;
        s.player.pause();
        for (const bool full : {false, true}) {
            s.player.setFullScreen(full);
            QRect expected, lit;
            const auto placed = [&] {
                const QImage frame = s.videoArea();
                expected = QRect(QPoint(), size.boundedTo(frame.size()) == size
                                               ? size
                                               : size.scaled(frame.size(), Qt::KeepAspectRatio));
                expected.moveCenter(frame.rect().center());
                lit = QRect();
                for (int y = 0; y < frame.height(); ++y)
                    for (int x = 0; x < frame.width(); ++x)
                        if (qGray(frame.pixel(x, y)) > 40)
                            lit |= QRect(x, y, 1, 1);
                const QMargins off(lit.left() - expected.left(), lit.top() - expected.top(),
                                   expected.right() - lit.right(), expected.bottom() - lit.bottom());
                return !frame.isNull() && std::max({std::abs(off.left()), std::abs(off.top()),
                                                    std::abs(off.right()), std::abs(off.bottom())}) <= 3;
            };
            EXPECT_TRUE(waitFor(placed, 3000)) << key << (full ? " full screen" : " in the window")
                                               << ": lit " << text(lit) << ", expected " << text(expected);
        }
        s.player.setFullScreen(false);
    }
}

INSTANTIATE_TEST_SUITE_P(Media, VideoDrawn, ::testing::Values(VideoDrawing::Software, VideoDrawing::OpenGL),
                         [](const auto& param) {
                             return param.param == VideoDrawing::OpenGL ? "OpenGL" : "Software";
                         });
