// Transport controls as sequences of user clicks: rates, box values and player calls.
#include "PlayerWindowFixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {
using P = MediaPlayer;

struct TransportCase {
    int state;          // play state at the start
    const char* clicks; // b: scan back, f: scan forward, p: play, z: pause, 0/1/2: slider, F: full screen
    const char* calls;  // the player calls, in order
    bool back, forward; // boxes at the end
    double playRate;
    int endState;
};

const TransportCase kCases[] = {
    {P::PlayPlaying, "ff", "rate=2 rate=1", false, false, 1.0, P::PlayPlaying},
    {P::PlayPlaying, "fb", "rate=2 rate=1 rate=-2", true, false, 1.0, P::PlayScanReverse},
    {P::PlayPlaying, "bf", "rate=-2 rate=1 rate=2", false, true, 1.0, P::PlayScanForward},
    {P::PlayPlaying, "2pff", "rate=1.25 rate=1 rate=2 rate=1.25", false, false, 1.25, P::PlayPlaying},
    {P::PlayPlaying, "0bb", "rate=0.75 rate=-2 rate=0.75", false, false, 0.75, P::PlayPlaying},
    {P::PlayPlaying, "f0", "rate=2 rate=0.75", false, true, 0.75, P::PlayPlaying},
    {P::PlayPaused, "21", "rate=1.25 rate=1", false, false, 1.0, P::PlayPaused},
    {P::PlayPlaying, "zzz", "pause play pause", false, false, 1.0, P::PlayPaused},
    {P::PlayStopped, "z", "", false, false, 1.0, P::PlayStopped},
    {P::PlayPlaying, "2fz", "rate=1.25 rate=2 rate=1.25 pause", false, false, 1.25, P::PlayPaused},
    {P::PlayPlaying, "p", "rate=1", false, false, 1.0, P::PlayPlaying},
    {P::PlayPlaying, "2bp", "rate=1.25 rate=-2 rate=1.25 rate=1", false, false, 1.25, P::PlayPlaying},
    {P::PlayPaused, "p", "rate=1 play", false, false, 1.0, P::PlayPlaying},
    {P::PlayPaused, "f", "rate=2", false, true, 1.0, P::PlayPaused}, // a scan does not start playback
    {P::PlayPlaying, "F", "fullScreen=true", false, false, 1.0, P::PlayPlaying},
};

class TransportTest : public PlayerWindowTest, public ::testing::WithParamInterface<TransportCase> {};

TEST_P(TransportTest, ClickSequence) {
    const TransportCase& c = GetParam();
    QAbstractButton* const buttons[] = {window->chkScanBack, window->chkScanForward, window->cmbPlay,
                                        window->cmbPause, window->cmbFullScreen};
    fake->state = c.state;
    for (const char* k = c.clicks; *k; ++k) {
        if (const int b = QStringLiteral("bfpzF").indexOf(QLatin1Char(*k)); b >= 0) {
            buttons[b]->click();
        } else {
            window->sldRate->setValue(*k - '0');
            window->sldRate_Click();
        }
    }
    EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
    EXPECT_EQ(window->chkScanBack->isChecked(), c.back);
    EXPECT_EQ(window->chkScanForward->isChecked(), c.forward);
    EXPECT_DOUBLE_EQ(window->PlayRate, c.playRate);
    EXPECT_EQ(fake->state, c.endState);
    EXPECT_TRUE(messages.shown.empty() && log.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sequences, TransportTest, ::testing::ValuesIn(kCases));

TEST_F(PlayerWindowTest, ClickErrorIsShownAndTheProgramGoesOn) {
    fake->failOn = QStringLiteral("fullScreen");
    window->cmbFullScreen->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("Quillon502.frmMain.cmbFullScreen_Click()"));
}

// The slider's click is the user's: a click runs it even on the value it has, a drag once on release,
// code never.
TEST_F(PlayerWindowTest, SliderClickIsTheUsersAlone) {
    window->show();
    QSlider* slider = window->sldRate;
    auto userDid = [&](int value, const char* calls) {
        QCoreApplication::processEvents();
        EXPECT_EQ(slider->value(), value);
        EXPECT_EQ(fake->calls.join(' '), QLatin1String(calls));
        fake->calls.clear();
    };
    slider->setValue(2);
    slider->setValue(1);
    userDid(1, "");
    const QPoint middle = slider->rect().center(), end(slider->width() - 1, slider->height() / 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, middle);
    userDid(1, "rate=1");
    QTest::mousePress(slider, Qt::LeftButton, {}, middle);
    QTest::mouseMove(slider, end);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, end);
    userDid(2, "rate=1.25");
    QTest::keyClick(slider, Qt::Key_Home);
    userDid(0, "rate=0.75");
    EXPECT_DOUBLE_EQ(window->PlayRate, 0.75);
}
} // namespace
