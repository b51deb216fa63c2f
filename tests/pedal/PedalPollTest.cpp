// The player window's pedal poll against a scripted pedal and media component.
#include "FakeCatalogue.h"
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
std::vector<bool> pressed(const char* text) {
    std::vector<bool> buttons;
    for (const char* c = text; *c; ++c)
        buttons.push_back(*c == '1');
    return buttons;
}

// Only what the pedal drives: rates, play and pause.
QStringList transport(const QStringList& calls) {
    QStringList kept;
    for (const QString& call : calls) {
        if (call.startsWith(QLatin1String("rate=")) || call == QLatin1String("play") ||
            call == QLatin1String("pause"))
            kept << call;
    }
    return kept;
}

class PedalPollTest : public ::testing::Test {
  protected:
    PedalPollTest() {
        system = std::make_shared<FakeInputSystem>();
        pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
        createInputRoots(devices, [this] { return system; });
        devices.clockMs = [this] { return clock; };
        GetInputDevices(devices);
    }

    PlayerServices services() {
        return PlayerServices{[this](QWidget*) {
                                  auto fake = std::make_unique<FakeMediaPlayer>();
                                  player = fake.get();
                                  return std::unique_ptr<MediaPlayer>(std::move(fake));
                              },
                              &catalogue, &devices};
    }

    void tick(frmMain& window, const char* buttons) {
        pedal->buttons = pressed(buttons);
        window.tmrFoot_Timer();
    }

    std::shared_ptr<FakeInputSystem> system;
    std::shared_ptr<FakeDeviceState> pedal;
    PedalDevices devices;
    qint64 clock = 50000;
    FakeCatalogue catalogue;
    FakeMediaPlayer* player = nullptr;
    CapturedLog log;
    RecordedMessages messages;
};
} // namespace

TEST_F(PedalPollTest, ButtonSequencesDriveThePlayer) {
    const struct {
        const char* what;
        double playRate;
        std::vector<const char*> ticks;
        const char* calls;
    } cases[] = {
        {"button 0 held then released", 1.0, {"100", "100", "000"}, "rate=8 play pause rate=1"},
        {"button 1 held then released", 1.0, {"010", "010", "000"}, "rate=1 play rate=-9 pause rate=1"},
        {"button 2 held then released", 1.0, {"001", "001", "000"}, "rate=-8 play pause rate=1"},
        {"buttons 0 and 2 in one tick", 1.0, {"000", "101"}, "rate=8 play rate=-8 play"},
        {"chord released in one tick",
         1.0,
         {"101", "000"},
         "rate=8 play rate=-8 play pause rate=1 pause rate=1"},
        {"button 0 handed over to 2", 1.0, {"100", "001"}, "rate=8 play pause rate=1 rate=-8 play"},
        {"held when the window opens", 1.0, {"010"}, "rate=1 play"},
        {"slider rate",
         2.0,
         {"010", "000", "100", "000"},
         "rate=2 play rate=-9 pause rate=2 rate=8 play pause rate=2"},
        {"fourth button", 1.0, {"0001", "0000"}, ""},
        {"nothing pressed", 1.0, {"000", "000"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain window(services());
        window.PlayRate = c.playRate;
        for (const char* buttons : c.ticks)
            tick(window, buttons);
        EXPECT_EQ(transport(player->calls).join(QLatin1Char(' ')), QLatin1String(c.calls));
        const QString last = buttonText(pressed(c.ticks.back()));
        EXPECT_EQ(window.LastButtons, last);
        EXPECT_EQ(window.txtButtons->text(), last);
        EXPECT_TRUE(window.tmrFoot->isActive());
        EXPECT_EQ(window.tmrFoot->interval(), 200);
    }
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

TEST_F(PedalPollTest, ReleasingButtonOneRunsBackwardsForHalfASecondWhileTheTickRuns) {
    frmMain window(services());
    tick(window, "010");
    QList<double> ratesSeen;
    QObject::connect(window.Timer1, &QTimer::timeout, [&] { ratesSeen << player->rate(); });
    window.Timer1->start(100);

    QElapsedTimer elapsed;
    elapsed.start();
    tick(window, "000");
    const qint64 ms = elapsed.elapsed();
    window.Timer1->stop();

    EXPECT_GE(ms, 500);
    EXPECT_LT(ms, 1000);
    EXPECT_GE(ratesSeen.size(), 3) << "the playback tick must run during the wait";
    for (double rate : ratesSeen)
        EXPECT_EQ(rate, -9.0);
    EXPECT_EQ(transport(player->calls).join(' '), QStringLiteral("rate=1 play rate=-9 pause rate=1"));
    EXPECT_EQ(player->playState(), MediaPlayer::PlayPaused);
}

TEST_F(PedalPollTest, ClosingTheWindowDuringTheWaitEndsIt) {
    auto* window = new frmMain(services());
    window->show();
    tick(*window, "010");
    const QPointer<frmMain> guard(window);
    QTimer::singleShot(100, window, [window] { window->close(); });
    QElapsedTimer elapsed;
    elapsed.start();
    tick(*window, "000");
    EXPECT_LT(elapsed.elapsed(), 450);
    if (guard) {
        EXPECT_TRUE(guard->isUnloading());
        EXPECT_FALSE(guard->tmrFoot->isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    delete guard.data();
}

TEST_F(PedalPollTest, DestroyingTheWindowDuringTheWaitIsSafe) {
    auto* window = new frmMain(services());
    tick(*window, "010");
    QTimer::singleShot(100, [&window] {
        delete window;
        window = nullptr;
    });
    tick(*window, "000");
    EXPECT_EQ(window, nullptr);
}

TEST_F(PedalPollTest, AnErrorStopsTheTickButNotThePoll) {
    frmMain window(services());
    player->failOn = QStringLiteral("play");
    tick(window, "101");
    EXPECT_EQ(transport(player->calls).join(' '), QStringLiteral("rate=8")); // button 2 is not reached
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.frmMain.tmrFoot_Timer()")));
    EXPECT_EQ(window.LastButtons, QStringLiteral("101"));
    EXPECT_TRUE(messages.shown.empty());
    player->failOn.clear();

    // The next tick comes from the timer itself, 200 ms after this one ended.
    const int readsBefore = pedal->reads;
    QElapsedTimer elapsed;
    elapsed.start();
    while (pedal->reads == readsBefore && elapsed.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(pedal->reads, readsBefore + 1);
    EXPECT_GE(elapsed.elapsed(), 150);
    EXPECT_LT(elapsed.elapsed(), 600);
    EXPECT_TRUE(window.tmrFoot->isActive());
    window.tmrFoot->stop();

    tick(window, "001"); // button 0 released; button 2 still held, so nothing for it
    EXPECT_EQ(transport(player->calls).join(' '), QStringLiteral("rate=8 pause rate=1"));
    EXPECT_EQ(log.lines.size(), 1);
}

TEST_F(PedalPollTest, APulledOutPedalReleasesOnceAndComesBack) {
    frmMain window(services());
    tick(window, "100");
    pedal->attached = false;
    for (int i = 0; i < 10; ++i) {
        window.tmrFoot_Timer();
        clock += 200;
    }
    EXPECT_EQ(transport(player->calls).join(' '), QStringLiteral("rate=8 play pause rate=1"));
    EXPECT_EQ(window.txtButtons->text(), QStringLiteral("000"));
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(window.tmrFoot->isActive());

    auto back = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    back->buttons = pressed("010");
    clock += 1000;
    window.tmrFoot_Timer();
    EXPECT_EQ(transport(player->calls).join(' '), QStringLiteral("rate=8 play pause rate=1 rate=1 play"));
    EXPECT_EQ(log.lines.size(), 1);
}

TEST_F(PedalPollTest, ThePollRunsOnlyWithAPedal) {
    frmMain window(services());
    window.armPedalPoll();
    EXPECT_TRUE(window.tmrFoot->isActive());

    PedalDevices none;
    frmMain bare(PlayerServices{services().createMediaPlayer, &catalogue, &none});
    bare.tmrFoot->start();
    bare.armPedalPoll();
    EXPECT_FALSE(bare.tmrFoot->isActive());
}
