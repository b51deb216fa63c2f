// The player window's poll of the pedal, against a scripted pedal and media component.
#include "FakeCatalogue.h"
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QLineEdit>
#include <QPointer>
#include <gtest/gtest.h>

namespace {
class PedalPollTest : public ::testing::Test {
  protected:
    PedalPollTest() {
        devices.createInputRoots([this] { return system; });
        devices.GetInputDevices();
    }

    PlayerServices services() {
        return {[this](QWidget*) { return std::unique_ptr<MediaPlayer>(player = new FakeMediaPlayer); },
                &catalogue, &devices,
                [this](const std::function<bool()>& done, int timeoutMs) { wait(done, timeoutMs); }};
    }

    void tick(frmMain& window, const QString& buttons) {
        pedal->buttons.clear();
        for (QChar c : buttons)
            pedal->buttons.push_back(c == QLatin1Char('1'));
        window.tmrFoot_Timer();
    }

    QString transport() const { return player->calls.join(QLatin1Char(' ')); }

    std::shared_ptr<FakeInputSystem> system = std::make_shared<FakeInputSystem>();
    std::shared_ptr<FakeDeviceState> pedal = system->add(QStringLiteral("VEC  VEC USB Footpedal"));
    PedalDevices devices;
    // The rewind wait: no real time passes in these tests.
    std::function<void(const std::function<bool()>&, int)> wait = [](const std::function<bool()>&, int) {};
    FakeCatalogue catalogue;
    FakeMediaPlayer* player = nullptr;
    CapturedLog log;
    RecordedMessages messages; // no message box may stop a test
};
} // namespace

TEST_F(PedalPollTest, ButtonSequencesDriveThePlayer) {
    const struct {
        double playRate; // the slider's rate
        const char *ticks, *calls;
    } cases[] = {
        {1, "100 100 000", "rate=8 play pause rate=1"},
        {1, "010 010 000", "rate=1 play rate=-9 pause rate=1"},
        {1, "001 001 000", "rate=-8 play pause rate=1"},
        {1, "000 101", "rate=8 play rate=-8 play"},
        {1, "101 000", "rate=8 play rate=-8 play pause rate=1 pause rate=1"},
        {1, "100 001", "rate=8 play pause rate=1 rate=-8 play"},
        {1, "010", "rate=1 play"}, // held when the window opens
        {2, "010 000 100 000", "rate=2 play rate=-9 pause rate=2 rate=8 play pause rate=2"},
        {1, "0001 0000", ""}, // a fourth button does nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        frmMain window(services());
        window.PlayRate = c.playRate;
        const QStringList ticks = QString::fromLatin1(c.ticks).split(QLatin1Char(' '));
        for (const QString& buttons : ticks)
            tick(window, buttons);
        EXPECT_EQ(transport(), QLatin1String(c.calls));
        EXPECT_EQ(window.txtButtons->text(), ticks.last().left(3));
    }
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

// Releasing button 1 runs backwards through a half-second wait; a window that goes ends the tick.
TEST_F(PedalPollTest, ReleasingButtonOneRewindsHalfASecondUnlessTheWindowGoes) {
    for (int end : {0, 1, 2}) { // the window stays, is closed, is destroyed
        SCOPED_TRACE(end);
        auto* window = new frmMain(services());
        tick(*window, "010");
        const QPointer<frmMain> guard(window);
        int waitedMs = 0;
        QString callsInWait;
        wait = [&](const std::function<bool()>& done, int timeoutMs) {
            waitedMs = timeoutMs;
            callsInWait = transport();
            EXPECT_FALSE(done());
            end == 1 ? void(window->close()) : end == 2 ? delete window : void();
            EXPECT_EQ(done(), end != 0);
        };
        tick(*window, "000");
        EXPECT_EQ(waitedMs, 500);
        EXPECT_EQ(callsInWait, "rate=1 play rate=-9");
        const bool stays = !end;
        if (stays) {
            EXPECT_EQ(transport(), "rate=1 play rate=-9 pause rate=1");
        }
        EXPECT_EQ(guard && guard->tmrFoot->isActive(), stays);
        delete guard.data();
    }
}

TEST_F(PedalPollTest, AnErrorEndsTheTickAndThePollGoesOn) {
    frmMain window(services());
    player->failOn = QStringLiteral("play");
    tick(window, "101");
    EXPECT_EQ(transport(), QLatin1String("rate=8")); // button 2 is not reached
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.frmMain.tmrFoot_Timer()")));
    EXPECT_GT(window.tmrFoot->remainingTime(), 150); // the next tick 200 ms later
    player->failOn.clear();
    tick(window, "001"); // the failed tick's buttons count as seen: only button 0's release is new
    EXPECT_EQ(transport(), QLatin1String("rate=8 pause rate=1"));
    EXPECT_EQ(log.lines.size(), 1);
}

// A pedal pulled out mid-press releases its button once; the poll goes on looking for it.
TEST_F(PedalPollTest, APulledOutPedalReleasesItsButtonsAndThePollGoesOn) {
    frmMain window(services());
    window.armPedalPoll();
    tick(window, "100");
    pedal->attached = false;
    for (int i = 0; i < 3; ++i)
        window.tmrFoot_Timer();
    EXPECT_EQ(transport(), QLatin1String("rate=8 play pause rate=1"));
    EXPECT_EQ(window.txtButtons->text(), "000");
    EXPECT_TRUE(window.tmrFoot->isActive());
    EXPECT_EQ(log.lines.size(), 1);
}
