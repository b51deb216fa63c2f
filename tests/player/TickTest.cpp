// The window's playback tick and digit clock over a scripted run of sessions, states and positions,
// and its note jumps; the clock's arithmetic itself is tested with the clock.
#include "DigitReading.h"
#include "PlayerWindowFixture.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {
using P = MediaPlayer;

TEST_F(PlayerWindowTest, TickOverScriptedSessions) {
    const char* const morning = "Room3_12-14-2009_36300_1.wma"; // 10:05:00
    const struct {
        const char* name;
        int state;
        double position;
        const char* clock; // what the clock reads after the tick
        bool fullScreen;
    } steps[] = {
        {morning, P::PlayPlaying, 95.6, "10:06:35 AM", false},
        {morning, P::PlayPaused, 400, "10:06:35 AM", false}, // only a moving player
        {morning, P::PlayOpening, 0, "10:06:35 AM", false},
        {morning, P::PlayScanForward, 7500, "12:10:00 PM", false},
        {morning, P::PlayScanReverse, 11100, "01:10:00 PM", false},
        {"ROOM3_12-14-2009_86390_3.WmV", P::PlayPlaying, 10, "12:00:00 AM", true},
        // No usable recording start: the clock stays, the tick and the full-screen offer go on.
        {"Room3 %1_12-14-2009.wmv", P::PlayPlaying, 600, "12:00:00 AM", true},
        {"", P::PlayReady, 0, "12:00:00 AM", false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.name << " state " << s.state << " at " << s.position);
        openSession(s.name, s.state);
        fake->position = s.position;
        window->Timer1_Timer();
        window->Timer1_Timer(); // a second tick of the same session: a failure is logged once
        EXPECT_EQ(clockText(), QLatin1String(s.clock));
        EXPECT_EQ(!control("cmbFullScreen")->isHidden(), s.fullScreen);
        const QString digits = clockText().left(8).remove(':');
        for (int i = 0; i < 6; ++i) { // the picture as a person reads it (the end-to-end run, by name)
            const QLabel* digit =
                control<QLabel>(QByteArray("picClock(" + QByteArray::number(i) + ")").constData());
            EXPECT_EQ(readDigit(digit->pixmap().toImage()), digits[i].digitValue()) << i;
        }
        EXPECT_EQ(control("lblPM")->isHidden(), clockText().endsWith("AM"));
    }
    EXPECT_EQ(control<QLabel>("lblDate")->text(), "Tuesday, December 15, 2009");
    EXPECT_EQ(control<QLabel>("lblStartTime")->text(), "11:59:50 PM"); // the last session's start
    ASSERT_EQ(log.lines.size(), 1) << "the one session without a start, once";
    EXPECT_TRUE(
        log.lines[0].startsWith("ERROR: No = 13, Line No = 0, Desc = Quillon502.frmMain.Timer1_Timer() > ") &&
        log.lines[0].contains("\"Room3 %1_12-14-2009.wmv\" gives no recording start"))
        << qPrintable(log.lines[0]);
    EXPECT_TRUE(messages.shown.empty());
}

// A failing tick is shown and logged once per error and session; the clock goes on with the next tick,
// and the number of repeats is logged when the window stops.
TEST_F(PlayerWindowTest, AFailingTickIsReportedOnceAndTheClockGoesOn) {
    openSession("Room3_12-14-2009_36300_1.wma");
    const struct {
        const char* failing; // the media call that fails in this tick
        int messages;        // shown so far
        bool newLines;       // the tick added to the log
    } ticks[] = {
        {"position", 1, true},  {"position", 1, false},  {"position", 1, false},
        {"playState", 2, true}, {"playState", 2, false}, {"position", 2, false}, // a repeat, then well
        {"", 2, false},
    };
    for (const auto& t : ticks) {
        SCOPED_TRACE(&t - ticks);
        fake->failOn = QLatin1String(t.failing);
        fake->position += 1;
        const qsizetype logged = log.lines.size();
        window->Timer1_Timer();
        EXPECT_TRUE(control<QTimer>("Timer1")->isActive());
        EXPECT_EQ(messages.shown.size(), std::size_t(t.messages));
        EXPECT_EQ(log.lines.size() > logged, t.newLines);
    }
    EXPECT_EQ(clockText(), "10:05:07 AM") << "the clock goes on";
    EXPECT_TRUE(log.lines.join('\n').contains("Quillon502.frmMain.Timer1_Timer() at line: "));
    const qsizetype logged = log.lines.size();
    window->Form_Unload();
    const QString repeats = log.lines.mid(logged).join('\n');
    EXPECT_TRUE(repeats.contains("fake failure in position, AddlInfo = repeated 3 more times") &&
                repeats.contains("fake failure in playState, AddlInfo = repeated 1 more times"))
        << qPrintable(repeats);
}

// A double-click on the notes list, or Enter, jumps to the selected note and neither starts nor pauses
// (the end-to-end run double-clicks below the rows; the catalogue's test, with the other button). A
// jump that cannot be made is logged once in its session.
TEST_F(PlayerWindowTest, NoteJumps) {
    const char* const late = "Room3_12-14-2009_82800_1.wma"; // 23:00:00
    const struct {
        const char* name;
        const char* note; // nullptr: no row selected, and the double-click below the rows
        const char* call; // nullptr: no jump
        const char* logged;
        bool byEnter = false;
    } cases[] = {
        {late, "12:30:00 AM", "position=5400", nullptr},
        {late, "12:30:00 AM", "position=5400", nullptr, true},
        {late, "25:00:00", nullptr, "the note time \"25:00:00\" is not a time of day"},
        {"Room3_12-14-2009.wma", "12:30:00 AM", nullptr, "gives no recording start"},
        {late, nullptr, nullptr, nullptr},
    };
    window->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << (c.note ? c.note : "nothing selected"));
        QTreeWidget* notes = control<QTreeWidget>("lvNotes");
        notes->clear();
        fake->calls.clear();
        openSession(c.name, P::PlayPaused);
        auto* note = new QTreeWidgetItem(notes, QStringList{QString::fromLatin1(c.note)});
        note->setSelected(c.note != nullptr);
        QWidget* list = notes->viewport();
        const QPoint where =
            c.note ? notes->visualItemRect(note).center() : QPoint(list->width() / 2, list->height() - 4);
        log.lines.clear();
        for (int twice = 0; twice < 2; ++twice) {
            if (c.byEnter) {
                QTest::keyClick(notes, Qt::Key_Enter);
            } else { // a click first, as a real double-click starts
                QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, where);
                QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, where);
            }
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(fake->calls, c.call ? QStringList(2, QString::fromLatin1(c.call)) : QStringList{});
        ASSERT_EQ(log.lines.size(), c.logged ? 1 : 0) << qPrintable(log.lines.join('\n'));
        if (c.logged) {
            EXPECT_TRUE(log.lines[0].contains("Quillon502.frmMain.lvNotes_DblClick() > Type mismatch: ") &&
                        log.lines[0].contains(c.logged))
                << qPrintable(log.lines[0]);
        }
    }
    EXPECT_TRUE(messages.shown.empty());
}
} // namespace
