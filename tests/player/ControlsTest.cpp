// Transport controls as sequences of user clicks and keys (player calls, box values, rates), and the
// window modes.
#include "ClickableLabel.h"
#include "PlayerGeometry.h"
#include "PlayerWindowFixture.h"
#include "Twips.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {
using P = MediaPlayer;

TEST_F(PlayerWindowTest, TransportClickSequences) {
    const struct {
        int state;          // play state at the start
        const char* clicks; // b: scan back, f: scan forward, p: play, z: pause, 0/1/2: slider
        const char* calls;  // the player calls, in order
        bool back, forward; // boxes at the end
        double playRate;
    } cases[] = {
        {P::PlayPlaying, "fb", "rate=2 rate=1 rate=-2", true, false, 1.0},
        {P::PlayPlaying, "2pff", "rate=1.25 rate=1 rate=2 rate=1.25", false, false, 1.25},
        {P::PlayPlaying, "0bb", "rate=0.75 rate=-2 rate=0.75", false, false, 0.75},
        {P::PlayPlaying, "f0", "rate=2 rate=0.75", false, true, 0.75},
        {P::PlayPlaying, "zzz", "pause play pause", false, false, 1.0},
        {P::PlayStopped, "z", "", false, false, 1.0},
        {P::PlayPlaying, "2fz", "rate=1.25 rate=2 rate=1.25 pause", false, false, 1.25},
        {P::PlayPlaying, "2bp", "rate=1.25 rate=-2 rate=1.25 rate=1", false, false, 1.25},
        {P::PlayPaused, "p", "rate=1 play", false, false, 1.0},
        {P::PlayPaused, "f", "rate=2", false, true, 1.0}, // a scan does not start playback
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.state << " clicks " << c.clicks);
        window.reset(frmMain::load(services())); // a fresh window
        QAbstractButton* const buttons[] = {
            control<QAbstractButton>("chkScanBack"), control<QAbstractButton>("chkScanForward"),
            control<QAbstractButton>("cmbPlay"), control<QAbstractButton>("cmbPause")};
        fake->state = c.state;
        for (const char* k = c.clicks; *k; ++k) {
            if (const int b = QStringLiteral("bfpz").indexOf(QLatin1Char(*k)); b >= 0) {
                buttons[b]->click();
            } else {
                control<QSlider>("sldRate")->setValue(*k - '0');
                window->transport().sldRate_Click();
            }
        }
        EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
        EXPECT_EQ(buttons[0]->isChecked(), c.back);
        EXPECT_EQ(buttons[1]->isChecked(), c.forward);
        EXPECT_DOUBLE_EQ(window->transport().PlayRate(), c.playRate);
    }
    EXPECT_TRUE(messages.shown.empty() && log.lines.isEmpty());
}

// The user's click or drag runs the slider, also on the value it has; a value set in code never does
// (the sequences above set values that way). (Keys on the focused controls: the end-to-end run.)
TEST_F(PlayerWindowTest, SliderActsOnTheUsersClickOrDrag) {
    window->show();
    QSlider* slider = control<QSlider>("sldRate");
    const QPoint middle = slider->rect().center(), end(slider->width() - 1, slider->height() / 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, middle);
    QCoreApplication::processEvents(); // the slider's click runs after the value settles
    QTest::mousePress(slider, Qt::LeftButton, {}, middle);
    QTest::mouseMove(slider, end);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, end);
    QCoreApplication::processEvents();
    EXPECT_EQ(fake->calls.join(' '), QLatin1String("rate=1 rate=1.25"));
}

// The details label hides the right-hand column and the notes by shrinking the window, and shows them
// again, the notes only where there are any; the label shows which way it goes. Only exactly the
// designed width counts as expanded: one pixel wider, the first click expands.
TEST_F(PlayerWindowTest, DetailsShowAndHide) {
    const struct {
        bool notes;
        int startWidth;
        const char* seen; // after each of two clicks: the clock panel, the information, the notes, the label
    } cases[] = {
        {true, PlayerGeometry::ExpandedWidth, "hidden hidden hidden > shown shown shown <"},
        {false, PlayerGeometry::ExpandedWidth, "hidden hidden hidden > shown shown hidden <"},
        {true, PlayerGeometry::ExpandedWidth + Twips::PerPixel, "shown shown shown < hidden hidden hidden >"},
    };
    auto* lblMin = control<ClickableLabel>("lblMin");
    QTreeWidget* notes = control<QTreeWidget>("lvNotes");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seen);
        notes->clear();
        if (c.notes)
            new QTreeWidgetItem(notes, QStringList{QStringLiteral("10:00:00 AM")});
        window->setWidthTwips(c.startWidth);
        QStringList seen;
        for (int click = 0; click < 2; ++click) {
            emit lblMin->clicked();
            seen << inView("picClockFrame") << inView("lvData") << inView("lvNotes") << lblMin->text();
        }
        EXPECT_EQ(seen.join(' '), QLatin1String(c.seen));
    }
}

// (The end-to-end run reads the message each click shows.)
TEST_F(PlayerWindowTest, OverlayHoldsOnTopWithoutMovingOrResizing) {
    window->show();
    const QRect where = window->geometry();
    for (const bool on : {true, false}) {
        emit control<ClickableLabel>("picMain")->clicked();
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(window->isVisible()) << "changing the flags must not hide the window";
        EXPECT_EQ(window->geometry(), where);
    }
}
} // namespace
