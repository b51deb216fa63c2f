// The playback tick over scripted states and positions, and note jumps.
#include "PlayerWindowFixture.h"

#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>

namespace {
using P = MediaPlayer;

struct Step {
    int state;
    double position;
    const char* clock; // what the clock reads after the tick
    const char* date;  // lblSessionDate after the tick
};

void runSteps(frmMain& window, FakeMediaPlayer& fake, std::initializer_list<Step> steps) {
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << n++);
        fake.state = s.state;
        fake.position = s.position;
        window.Timer1_Timer();
        EXPECT_EQ(window.picClockFrame->accessibleDescription(), QLatin1String(s.clock));
        EXPECT_EQ(window.lblSessionDate->text(), QLatin1String(s.date));
        EXPECT_TRUE(window.Timer1->isActive());
    }
}

TEST_F(PlayerWindowTest, TickFollowsPlayingAndScanningOnly) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_1.wma"));
    runSteps(*window, *fake,
             {
                 {P::PlayPlaying, 95.0, "10:06:35 AM", "12-14-2009"},
                 {P::PlayPlaying, 95.6, "10:06:35 AM", "12-14-2009"},
                 {P::PlayPaused, 400.0, "10:06:35 AM", "12-14-2009"},
                 {P::PlayStopped, 0.0, "10:06:35 AM", "12-14-2009"},
                 {P::PlayOpening, 0.0, "10:06:35 AM", "12-14-2009"},
                 {P::PlayReady, 0.0, "10:06:35 AM", "12-14-2009"},
                 {P::PlayScanForward, 7500.0, "12:10:00 PM", "12-14-2009"},
                 {P::PlayScanReverse, 6900.0, "12:00:00 PM", "12-14-2009"},
                 {P::PlayPlaying, 0.0, "10:05:00 AM", "12-14-2009"},
             });
    EXPECT_EQ(window->lblDate->text(), "Monday, December 14, 2009");
    EXPECT_EQ(window->lblStartTime->text(), catalogue.startTime);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(PlayerWindowTest, TickStartFieldsAndMidnight) {
    const struct {
        const char* name;
        double position;
        const char* clock;
        const char* date;
    } cases[] = {
        {"Room3_12-14-2009_86400_1.wma", 0.0, "12:00:00 AM", "12-14-2009"},
        {"Room3_12-14-2009_86399_1.wma", 0.0, "11:59:59 PM", "12-14-2009"},
        {"Room3_12-14-2009_90000_1.wma", 0.0, "01:00:00 AM", "12-14-2009"},
        {"Room3_12-14-2009_86390_1.wma", 9.9, "11:59:59 PM", "12-14-2009"},
        {"Room3_12-14-2009_86390_1.wma", 10.0, "12:00:00 AM", "12-15-2009"},
        {"Room3_12-31-2009_86390_1.wma", 3610.0, "01:00:00 AM", "01-01-2010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openSession(QString::fromLatin1(c.name));
        fake->position = c.position;
        window->Timer1_Timer();
        EXPECT_EQ(clockText(), QLatin1String(c.clock));
        EXPECT_EQ(window->lblSessionDate->text(), QLatin1String(c.date));
    }
}

TEST_F(PlayerWindowTest, NameWithoutRecordingStartLeavesClockAndKeepsTicking) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_3.wmv"));
    window->Timer1_Timer();
    ASSERT_EQ(clockText(), "10:05:00 AM");
    for (const char* name :
         {"Room3_12-14-2009.wmv", "Room3_Monday_36300_3.wmv", "Interview.wmv", "Room3_12-14-2009__3.wmv"}) {
        SCOPED_TRACE(name);
        openSession(QString::fromLatin1(name));
        fake->position = 600;
        window->Timer1_Timer();
        EXPECT_EQ(clockText(), "10:05:00 AM");
        EXPECT_FALSE(window->cmbFullScreen->isHidden());
        EXPECT_TRUE(window->Timer1->isActive());

        window->lvNotes->clear();
        auto* note = new QTreeWidgetItem(window->lvNotes, QStringList{QStringLiteral("10:15:00 AM")});
        note->setSelected(true);
        window->lvNotes_DblClick();
        EXPECT_FALSE(fake->calls.join(' ').contains("position="));
    }
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(PlayerWindowTest, FullScreenOfferedForVideoNamesInEveryState) {
    const struct {
        const char* source;
        bool offered;
    } sources[] = {
        {"/disc/Room3_12-14-2009_34200_3.wmv", true},
        {"/disc/Room3_12-14-2009_34200_3.WMV", true},
        {"/disc/ROOM3_12-14-2009_34200_3.WmV", true},
        {"/disc/Room3_12-14-2009_34200_1.wma", false},
        {"/disc/Room3_12-14-2009_34200_1.WMA", false},
        {"", false},
        {"wmv", true},
        {"mv", false},
    };
    window->CurrentFilename = QStringLiteral("Room3_12-14-2009_34200_3.wmv");
    for (const int state : {P::PlayPlaying, P::PlayPaused, P::PlayStopped, P::PlayReady, P::PlayOpening}) {
        for (const auto& s : sources) {
            SCOPED_TRACE(::testing::Message() << s.source << " state " << state);
            fake->state = state;
            fake->source = QString::fromLatin1(s.source);
            window->Timer1_Timer();
            EXPECT_EQ(!window->cmbFullScreen->isHidden(), s.offered);
        }
    }
}

TEST_F(PlayerWindowTest, TickFailureIsLoggedAndStopsTheTick) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_1.wma"));
    catalogue.hasSelection = false;
    window->Timer1->start();
    EXPECT_THROW(window->Timer1_Timer(), QuillonError);
    EXPECT_FALSE(window->Timer1->isActive());
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.last().contains(
        "Desc = Quillon502.frmMain.Timer1_Timer() > Quillon502.frmMain.SetClock()"));
}

class NoteJumpTest : public PlayerWindowTest {
  protected:
    QTreeWidgetItem* addNote(const QString& time) {
        return new QTreeWidgetItem(window->lvNotes,
                                   QStringList{time, QStringLiteral("Chair"), QStringLiteral("...")});
    }
    QStringList positions() const { return fake->calls.filter(QStringLiteral("position=")); }
};

TEST_F(NoteJumpTest, JumpsToTheSelectedNote) {
    const struct {
        const char* name;
        const char* note;
        const char* call; // nullptr: no jump
    } cases[] = {
        {"Room3_12-14-2009_82800_1.wma", "12:30:00 AM", "position=5400"},
        {"Room3_12-14-2009_82800_1.wma", "11:00:00 PM", "position=0"},
        {"Room3_12-14-2009_36300_1.wma", "09:00:00 PM", "position=39300"}, // beyond the media: passed on
        {"Room3_12-14-2009_36300_1.wma", "later", nullptr},
        {"Room3_12-14-2009_36300_1.wma", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        window->lvNotes->clear();
        fake->calls.clear();
        openSession(QString::fromLatin1(c.name), P::PlayPaused);
        addNote(QStringLiteral("10:00:00 AM"));
        addNote(QString::fromLatin1(c.note))->setSelected(true);
        window->lvNotes_DblClick();
        EXPECT_EQ(positions(), c.call ? QStringList{QString::fromLatin1(c.call)} : QStringList{});
        EXPECT_EQ(fake->state, P::PlayPaused); // a jump neither starts nor pauses
    }
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(NoteJumpTest, NothingSelectedDoesNothing) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_1.wma"));
    addNote(QStringLiteral("10:30:00 AM"));
    window->lvNotes_DblClick();
    EXPECT_TRUE(positions().isEmpty());
}

TEST_F(NoteJumpTest, ClockFollowsAtTheNextRunningTick) {
    openSession(QStringLiteral("Room3_12-14-2009_82800_1.wma"));
    window->Timer1_Timer();
    ASSERT_EQ(clockText(), "11:00:00 PM");
    fake->state = P::PlayPaused;
    addNote(QStringLiteral("12:30:00 AM"))->setSelected(true);
    window->lvNotes_DblClick();
    window->Timer1_Timer();
    EXPECT_EQ(clockText(), "11:00:00 PM");
    fake->state = P::PlayPlaying;
    window->Timer1_Timer();
    EXPECT_EQ(clockText(), "12:30:00 AM");
    EXPECT_EQ(window->lblSessionDate->text(), "12-15-2009");
}

TEST_F(NoteJumpTest, DoubleClickOnTheListRunsTheJump) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_1.wma"));
    QTreeWidgetItem* note = addNote(QStringLiteral("10:06:40 AM"));
    note->setSelected(true);
    emit window->lvNotes->itemDoubleClicked(note, 0);
    EXPECT_EQ(positions(), QStringList{"position=100"});
}
} // namespace
