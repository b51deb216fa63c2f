// The player window's poll of the pedal, against a scripted pedal and media component.
#include "PlayerWindowFixture.h"

#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QTimer>

namespace {
// Holds the pedal's buttons ("101") down for one poll of a window.
void poll(frmMain& window, FakeDeviceState& pedal, const QString& buttons) {
    pedal.press(buttons);
    window.tmrFoot_Timer();
}
} // namespace

TEST_F(PlayerWindowTest, ButtonSequencesDriveThePlayer) {
    const auto footPedal = plugPedal();
    const struct {
        int slider; // the slider's position, clicked before the pedal
        const char *ticks, *calls;
    } cases[] = {
        {1, "100 100 000", "rate=8 play pause rate=1"},
        {1, "010 010 000", "rate=1 play rate=-9 pause rate=1"},
        {1, "001 001 000", "rate=-8 play pause rate=1"},
        {1, "000 101", "rate=8 play rate=-8 play"},
        {1, "101 000", "rate=8 play rate=-8 play pause rate=1 pause rate=1"},
        {1, "100 001", "rate=8 play pause rate=1 rate=-8 play"},
        {1, "010", "rate=1 play"}, // held when the window opens
        {2, "010 000 100 000", "rate=1.25 play rate=-9 pause rate=1.25 rate=8 play pause rate=1.25"},
        {1, "0001 0000", ""}, // a fourth button does nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        const std::unique_ptr<frmMain> w(frmMain::load(services()));
        w->findChild<QSlider*>(QStringLiteral("sldRate"))->setValue(c.slider);
        w->transport().sldRate_Click();
        fake->calls.clear();
        const QStringList ticks = QString::fromLatin1(c.ticks).split(QLatin1Char(' '));
        for (const QString& buttons : ticks)
            poll(*w, *footPedal, buttons);
        EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
        EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("txtButtons"))->text(), ticks.last().left(3));
    }
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

// Releasing button 1 runs backwards through a half-second wait; a window that goes ends the tick.
TEST_F(PlayerWindowTest, ReleasingButtonOneRewindsHalfASecondUnlessTheWindowGoes) {
    const auto footPedal = plugPedal();
    for (int end : {0, 1, 2}) { // the window stays, is closed, is destroyed
        SCOPED_TRACE(end);
        auto* w = frmMain::load(services());
        poll(*w, *footPedal, "010");
        const QPointer<frmMain> guard(w);
        int waitedMs = 0;
        QString callsInWait;
        wait = [&](const std::function<bool()>& done, int timeoutMs) {
            waitedMs = timeoutMs;
            callsInWait = fake->calls.join(' ');
            EXPECT_FALSE(done());
            end == 1 ? void(w->close()) : end == 2 ? delete w : void();
            EXPECT_EQ(done(), end != 0);
        };
        poll(*w, *footPedal, "000");
        EXPECT_EQ(waitedMs, 500);
        EXPECT_EQ(callsInWait, "rate=1 play rate=-9");
        if (!end) { // the window stays
            EXPECT_EQ(fake->calls.join(' '), "rate=1 play rate=-9 pause rate=1");
        }
        EXPECT_EQ(guard && guard->pedalPoll().isRunning(), !end);
        delete guard.data();
    }
}

TEST_F(PlayerWindowTest, AnErrorEndsTheTickAndThePollGoesOn) {
    const auto footPedal = plugPedal();
    fake->failOn = QStringLiteral("play");
    control<QTimer>("tmrFoot")->stop();
    poll(*window, *footPedal, "101");
    EXPECT_EQ(fake->calls.join(' '), QLatin1String("rate=8")); // button 2 is not reached
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.frmMain.tmrFoot_Timer()")));
    EXPECT_TRUE(control<QTimer>("tmrFoot")->isActive()) << "the failed tick starts the next";
    fake->failOn.clear();
    // The failed tick's buttons count as seen: only button 0's release is new.
    poll(*window, *footPedal, "001");
    EXPECT_EQ(fake->calls.join(' '), QLatin1String("rate=8 pause rate=1"));
    EXPECT_EQ(log.lines.size(), 1);
}
