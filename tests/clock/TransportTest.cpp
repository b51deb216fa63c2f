// Transport controls as sequences of user clicks: rates, box values and player calls.
#include "PlayerWindowFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {
using P = MediaPlayer;

struct TransportCase {
    const char* name;
    int state;          // play state at the start
    const char* clicks; // b: scan back, f: scan forward, p: play, z: pause, s0/s1/s2: slider, F: full screen
    const char* calls;  // the player calls, in order
    bool back, forward; // boxes at the end
    double playRate;
    int endState;
};

const TransportCase kCases[] = {
    {"ScanForwardOnOff", P::PlayPlaying, "f f", "rate=2 rate=1", false, false, 1.0, P::PlayPlaying},
    {"BackWhileForwardClearsForwardFirst", P::PlayPlaying, "f b", "rate=2 rate=1 rate=-2", true, false, 1.0,
     P::PlayScanReverse},
    {"ForwardWhileBackClearsBackFirst", P::PlayPlaying, "b f", "rate=-2 rate=1 rate=2", false, true, 1.0,
     P::PlayScanForward},
    {"ScanEndsAtSliderRate", P::PlayPlaying, "s2 f f", "rate=1.25 rate=2 rate=1.25", false, false, 1.25,
     P::PlayPlaying},
    {"PlayIgnoresSliderButScanOffReturnsToIt", P::PlayPlaying, "s2 p f f",
     "rate=1.25 rate=1 rate=2 rate=1.25", false, false, 1.25, P::PlayPlaying},
    {"SlowestPositionAppliedAndRemembered", P::PlayPlaying, "s0 b b", "rate=0.75 rate=-2 rate=0.75", false,
     false, 0.75, P::PlayPlaying},
    {"SliderDuringScanKeepsTheBox", P::PlayPlaying, "f s0", "rate=2 rate=0.75", false, true, 0.75,
     P::PlayPlaying},
    {"SliderMiddle", P::PlayPlaying, "s2 s1", "rate=1.25 rate=1", false, false, 1.0, P::PlayPlaying},
    {"SliderWorksWhilePaused", P::PlayPaused, "s2", "rate=1.25", false, false, 1.25, P::PlayPaused},
    {"PauseToggles", P::PlayPlaying, "z z z", "pause play pause", false, false, 1.0, P::PlayPaused},
    {"PauseStoppedOrReadyDoesNothing", P::PlayStopped, "z", "", false, false, 1.0, P::PlayStopped},
    {"PauseReadyDoesNothing", P::PlayReady, "z", "", false, false, 1.0, P::PlayReady},
    {"PauseDuringScanForward", P::PlayPlaying, "s2 f z", "rate=1.25 rate=2 rate=1.25 pause", false, false,
     1.25, P::PlayPaused},
    {"PauseDuringScanBack", P::PlayPlaying, "b z", "rate=-2 rate=1 pause", false, false, 1.0, P::PlayPaused},
    {"PlayWhilePlayingOnlyResets", P::PlayPlaying, "p", "rate=1", false, false, 1.0, P::PlayPlaying},
    {"PlayDuringScanClearsTheBox", P::PlayPlaying, "s2 b p", "rate=1.25 rate=-2 rate=1.25 rate=1", false,
     false, 1.25, P::PlayPlaying},
    {"PlayWhenPaused", P::PlayPaused, "p", "rate=1 play", false, false, 1.0, P::PlayPlaying},
    {"PlayWhenStopped", P::PlayStopped, "p", "rate=1 play", false, false, 1.0, P::PlayPlaying},
    {"PlayWhenReady", P::PlayReady, "p", "rate=1 play", false, false, 1.0, P::PlayPlaying},
    {"ScanWhilePausedDoesNotStart", P::PlayPaused, "f", "rate=2", false, true, 1.0, P::PlayPaused},
    {"FullScreen", P::PlayPlaying, "F", "fullScreen=true", false, false, 1.0, P::PlayPlaying},
};

class TransportTest : public PlayerWindowTest, public ::testing::WithParamInterface<TransportCase> {
  protected:
    void click(const QString& what) {
        if (what == "b")
            window->chkScanBack->click();
        else if (what == "f")
            window->chkScanForward->click();
        else if (what == "p")
            window->cmbPlay->click();
        else if (what == "z")
            window->cmbPause->click();
        else if (what == "F")
            window->cmbFullScreen->click();
        else if (what.startsWith('s')) {
            window->sldRate->setValue(what.mid(1).toInt());
            window->sldRate_Click();
        } else
            FAIL() << "unknown click " << qPrintable(what);
    }
};

TEST_P(TransportTest, ClickSequence) {
    const TransportCase& c = GetParam();
    fake->state = c.state;
    for (const QString& what : QString::fromLatin1(c.clicks).split(' ', Qt::SkipEmptyParts))
        click(what);
    EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
    EXPECT_EQ(window->chkScanBack->isChecked(), c.back);
    EXPECT_EQ(window->chkScanForward->isChecked(), c.forward);
    EXPECT_DOUBLE_EQ(window->PlayRate, c.playRate);
    EXPECT_EQ(fake->state, c.endState);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(log.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sequences, TransportTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(PlayerWindowTest, NestedClickErrorReachesTheProcedureThatChangedTheBox) {
    fake->state = P::PlayPlaying;
    window->chkScanForward->click();
    fake->failOn = QStringLiteral("rate");
    try {
        window->cmbPlay_Click();
        FAIL() << "no error";
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::MediaFailure);
        EXPECT_TRUE(chainOf(e.Description)
                        .startsWith("Quillon502.frmMain.cmbPlay_Click() > "
                                    "Quillon502.frmMain.chkScanForward_Click() > fake failure"))
            << qPrintable(e.Description);
    }
    EXPECT_FALSE(window->chkScanForward->isChecked()); // what was done stays
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(PlayerWindowTest, ClickErrorIsShownAndTheProgramGoesOn) {
    fake->failOn = QStringLiteral("fullScreen");
    window->cmbFullScreen->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("Quillon502.frmMain.cmbFullScreen_Click()"));
}

void dragHandle(QWidget* slider, QPoint from, QPoint to) {
    auto send = [slider](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, slider->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// The slider's click is the user's: a click runs it even on the value it has, code never does.
TEST_F(PlayerWindowTest, SliderClickIsTheUsersAlone) {
    window->show();
    fake->state = P::PlayPlaying;
    QSlider* slider = window->sldRate;

    slider->setValue(2);
    slider->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fake->calls.isEmpty());

    slider->setValue(1);
    const QRect handle(0, 0, slider->width(), slider->height());
    QTest::mouseClick(slider, Qt::LeftButton, {}, handle.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(fake->calls.join(' '), "rate=1");

    fake->calls.clear();
    dragHandle(slider, handle.center(), QPoint(slider->width() - 1, slider->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(slider->value(), 2);
    EXPECT_EQ(fake->calls.join(' '), "rate=1.25");

    fake->calls.clear();
    QTest::keyClick(slider, Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(fake->calls.join(' '), "rate=0.75");
    EXPECT_DOUBLE_EQ(window->PlayRate, 0.75);
}
} // namespace
