// The desktop's media controls on the real window over the scripted media component: each call as
// the player calls it, and what the desktop is told when the window's own controls change playback.
// (The end-to-end run plays, pauses and sets the position through the bus and reads the title.)
#include "MprisPlayer.h"
#include "PlayerWindowFixture.h"

#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <functional>

namespace {
using P = MediaPlayer;

class MprisTest : public PlayerWindowTest {
  protected:
    void SetUp() override {
        PlayerServices withControls = services();
        withControls.mediaControls = [this](frmMain& w, AppLog& l, MessageBoxes& m) {
            auto controls = std::make_unique<MprisPlayer>(w, l, m);
            mpris = controls.get();
            return controls;
        };
        window.reset(frmMain::load(withControls));
        // The component's bar knows the length: a minute.
        auto* seek = new QSlider(fake);
        seek->setObjectName(QStringLiteral("MPlayerSeek"));
        seek->setRange(0, 60000);
        footPedal = plugPedal();
        ASSERT_TRUE(window->openSession(sessionOf("Room3_12-14-2009_34200_1.wma"),
                                        frmMain::HandBack::ShowCatalogue, 0, {}));
        ASSERT_NE(mpris, nullptr);
    }

    MprisPlayer* mpris = nullptr;
    std::shared_ptr<FakeDeviceState> footPedal;
};

// Each call from a state acts as the window's control does: the player calls, in order.
TEST_F(MprisTest, ActsAsTheWindowsControl) {
    const struct {
        const char* name;
        int state;
        std::function<void(MprisPlayer&)> call;
        const char* calls;
    } cases[] = {
        {"PauseWhenPaused", P::PlayPaused, &MprisPlayer::Pause, ""},
        {"PauseWhenScanning", P::PlayScanReverse, &MprisPlayer::Pause, "pause"},
        {"PlayPauseWhenPaused", P::PlayPaused, &MprisPlayer::PlayPause, "play"},
        {"PlayPauseWhenStopped", P::PlayStopped, &MprisPlayer::PlayPause, "rate=1 play"},
        {"Stop", P::PlayPlaying, &MprisPlayer::Stop, "stop"},
        {"SeekOn", P::PlayPlaying, [](MprisPlayer& m) { m.Seek(5'000'000); }, "position=15"},
        {"SeekBeforeStart", P::PlayPaused, [](MprisPlayer& m) { m.Seek(-20'000'000); }, "position=0"},
        {"SeekPastEnd", P::PlayPlaying, [](MprisPlayer& m) { m.Seek(55'000'000); }, ""},
        {"SetPositionOtherTrack", P::PlayPlaying,
         [](MprisPlayer& m) { m.SetPosition(QDBusObjectPath(QStringLiteral("/other")), 30'000'000); }, ""},
        {"RateNearestSpeed", P::PlayPlaying, [](MprisPlayer& m) { m.setRate(1.3); }, "rate=1.25"},
        {"RateZeroPauses", P::PlayPlaying, [](MprisPlayer& m) { m.setRate(0.0); }, "pause"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake->calls.clear();
        fake->state = c.state;
        fake->position = 10;
        c.call(*mpris);
        EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
    }
    EXPECT_TRUE(messages.shown.empty() && log.lines.isEmpty());
}

// The slider moves with the rate and is remembered as its click remembers it; a failing media call is
// logged and shown as the button's failure is (one message at a time), and the caller hears of it.
TEST_F(MprisTest, RateMovesTheSliderAndFailuresAreShown) {
    mpris->setRate(0.7);
    EXPECT_EQ(control<QSlider>("sldRate")->value(), 0);
    EXPECT_DOUBLE_EQ(mpris->rate(), 0.75);
    fake->failOn = QStringLiteral("pause");
    EXPECT_THROW(mpris->Pause(), QuillonError);
    EXPECT_THROW(mpris->Pause(), QuillonError); // a key pressed again: one message at a time
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(log.lines.join('\n').contains(QLatin1String("cmbPause_Click")));
}

// What the desktop reads, and what it is told as the pedal and a note jump change playback (the
// end-to-end run follows the status the on-screen buttons change); the window's close takes the player
// off the bus.
TEST_F(MprisTest, TellsTheDesktopWhatThePedalAndANoteJumpChanged) {
    const QVariantMap data = mpris->metadata();
    EXPECT_EQ(data.value(QStringLiteral("mpris:length")).toLongLong(), 60'000'000);
    EXPECT_EQ(data.value(QStringLiteral("xesam:contentCreated")).toString(),
              QLatin1String("2009-12-14T09:30:00"));
    QSignalSpy changed(mpris, &MprisPlayer::propertiesChanged), seeked(mpris, &MprisPlayer::seeked);
    fake->state = P::PlayPaused;
    window->Timer1_Timer();
    footPedal->buttons = {false, true, false};
    window->tmrFoot_Timer();
    window->Timer1_Timer();
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.takeLast().at(1).toMap().value("PlaybackStatus").toString(), QLatin1String("Playing"));
    fake->position += 0.5; // playback itself is no seek
    window->Timer1_Timer();
    EXPECT_TRUE(seeked.isEmpty());
    window->transport().jumpTo(40);
    window->Timer1_Timer();
    ASSERT_EQ(seeked.size(), 1);
    EXPECT_EQ(seeked.at(0).at(0).toLongLong(), 40'000'000);
    const QPointer<MprisPlayer> gone(mpris);
    window->unload();
    EXPECT_TRUE(gone.isNull());
}
} // namespace
