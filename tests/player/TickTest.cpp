// The window's playback tick and digit clock over a scripted run of sessions, states and positions,
// and its note jumps; the clock's arithmetic itself is tested with the clock.
#include "ClockFace.h"
#include "PlayerWindowFixture.h"

#include <QCoreApplication>
#include <QTest>

namespace {
using P = MediaPlayer;

TEST_F(PlayerWindowTest, TickOverScriptedSessions) {
    const char* const morning = "Room3_12-14-2009_36300_1.wma"; // 10:05:00
    const struct {
        const char* name;
        int state;
        double position;
        const char* clock; // what the clock reads after the tick
        const char* date;  // lblSessionDate after the tick
        bool fullScreen;
    } steps[] = {
        {morning, P::PlayPlaying, 95.6, "10:06:35 AM", "12-14-2009", false},
        {morning, P::PlayPaused, 400, "10:06:35 AM", "12-14-2009", false}, // only a moving player
        {morning, P::PlayOpening, 0, "10:06:35 AM", "12-14-2009", false},
        {morning, P::PlayStopped, 0, "10:06:35 AM", "12-14-2009", false},
        {morning, P::PlayScanForward, 7500, "12:10:00 PM", "12-14-2009", false},
        {morning, P::PlayScanReverse, -0.2, "10:05:00 AM", "12-14-2009", false},
        {"Room3_12-14-2009_86390_3.wmv", P::PlayPlaying, 9.9, "11:59:59 PM", "12-14-2009", true},
        {"ROOM3_12-14-2009_86390_3.WmV", P::PlayPlaying, 10, "12:00:00 AM", "12-15-2009", true},
        {"Hall_03-29-2009_3000_1.wma", P::PlayPlaying, 7200, "02:50:00 AM", "03-29-2009", false},
        // No usable recording start: the clock stays, the tick and the full-screen offer go on.
        {"Room3_12-14-2009.wmv", P::PlayPlaying, 600, "02:50:00 AM", "03-29-2009", true},
        {"", P::PlayReady, 0, "02:50:00 AM", "03-29-2009", false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.name << " state " << s.state << " at " << s.position);
        openSession(QString::fromLatin1(s.name), s.state);
        fake->position = s.position;
        window->Timer1_Timer();
        EXPECT_EQ(clockText(), QLatin1String(s.clock));
        EXPECT_EQ(window->lblSessionDate->text(), QLatin1String(s.date));
        EXPECT_EQ(!window->cmbFullScreen->isHidden(), s.fullScreen);
        EXPECT_TRUE(window->Timer1->isActive());
        const QString digits = clockText().left(8).remove(':');
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(window->picClock[i]->pixmap().cacheKey(),
                      window->ilTime[ClockFace::imageOfDigit(digits[i].digitValue()) - 1].cacheKey());
            EXPECT_EQ(window->picClock[i]->accessibleName(), digits[i]);
        }
        EXPECT_EQ(window->lblPM->isHidden(), clockText().endsWith("AM"));
    }
    EXPECT_EQ(window->lblDate->text(), "Sunday, March 29, 2009");
    EXPECT_EQ(window->lblStartTime->text(), catalogue.startTime);
    EXPECT_TRUE(log.lines.isEmpty());
}

// A failing tick is shown and logged once per error and session; the clock goes on with the next tick,
// and the number of repeats is logged when the window stops.
TEST_F(PlayerWindowTest, AFailingTickIsReportedOnceAndTheClockGoesOn) {
    openSession(QStringLiteral("Room3_12-14-2009_36300_1.wma"));
    const QVector<QPixmap> digits = window->ilTime;
    const struct {
        bool selection, images; // what the tick needs: a catalogue row, the digit images
        int messages;           // shown so far
        bool newLines;          // the tick added to the log
    } ticks[] = {
        {false, true, 1, true},  {false, true, 1, false}, {false, true, 1, false}, // no row: error 91
        {true, false, 2, true},  {true, false, 2, false},                          // no images: error 9
        {false, true, 2, false}, {true, true, 2, false},                           // 91 again, then well
    };
    for (const auto& t : ticks) {
        SCOPED_TRACE(&t - ticks);
        catalogue.hasSelection = t.selection;
        window->ilTime = t.images ? digits : QVector<QPixmap>{};
        fake->position += 1;
        const qsizetype logged = log.lines.size();
        window->Timer1_Timer();
        EXPECT_TRUE(window->Timer1->isActive());
        EXPECT_EQ(messages.shown.size(), std::size_t(t.messages));
        EXPECT_EQ(log.lines.size() > logged, t.newLines);
    }
    EXPECT_EQ(clockText(), "10:05:07 AM") << "the clock goes on";
    EXPECT_TRUE(log.lines.join('\n').contains("Timer1_Timer() > Quillon502.frmMain.SetClock()"));
    const qsizetype logged = log.lines.size();
    window->Form_Unload();
    const QStringList repeats = log.lines.mid(logged);
    ASSERT_EQ(repeats.size(), 2) << repeats.join('\n').toStdString();
    EXPECT_TRUE(repeats[0].startsWith("ERROR: No = 91,") && repeats[0].endsWith("repeated 3 more times in this session"));
    EXPECT_TRUE(repeats[1].startsWith("ERROR: No = 9,") && repeats[1].endsWith("repeated 1 more times in this session"));
}

// A double-click anywhere on the notes list, also below its rows, jumps to the selected note.
TEST_F(PlayerWindowTest, NoteJumps) {
    const char* const late = "Room3_12-14-2009_82800_1.wma"; // 23:00:00
    const struct {
        const char* name;
        const char* note; // nullptr: no row selected
        bool onRow;       // else below the rows
        const char* call; // nullptr: no jump
    } cases[] = {
        {late, "12:30:00 AM", true, "position=5400"},
        {late, "12:30:00 AM", false, "position=5400"},
        {late, "25:00:00", true, nullptr}, // no position (the clock's note table has each reason)
        {late, nullptr, false, nullptr},
    };
    window->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << (c.note ? c.note : "nothing selected") << c.onRow);
        window->lvNotes->clear();
        fake->calls.clear();
        openSession(QString::fromLatin1(c.name), P::PlayPaused);
        auto* note = new QTreeWidgetItem(window->lvNotes, QStringList{QString::fromLatin1(c.note)});
        note->setSelected(c.note != nullptr);
        QWidget* list = window->lvNotes->viewport();
        const QPoint where = c.onRow ? window->lvNotes->visualItemRect(note).center()
                                     : QPoint(list->width() / 2, list->height() - 4);
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, where); // as a real double-click starts
        QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, where);
        QCoreApplication::processEvents();
        EXPECT_EQ(fake->calls, c.call ? QStringList{QString::fromLatin1(c.call)} : QStringList{});
        EXPECT_EQ(fake->state, P::PlayPaused); // a jump neither starts nor pauses
    }
    EXPECT_TRUE(log.lines.isEmpty() && messages.shown.empty());
}
} // namespace
