// The recording start read from a media file name, and the positions of notes.
#include "RecordingStart.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
TEST(RecordingStart, FileNameFields) {
    const struct {
        const char* name;
        qint32 seconds;
        const char* date;
    } cases[] = {
        {"Room3_12-14-2009_34200_1.wma", 34200, "12-14-2009"},
        {"Room3_12-14-2009_34200.wmv", 34200, "12-14-2009"},
        {"Room3_12-14-2009_86400_1.wma", 0, "12-14-2009"}, // one day off
        {"Room3_12-14-2009_86399_1.wma", 86399, "12-14-2009"},
        {"Room3_12-14-2009_90000_1.wma", 3600, "12-14-2009"},
        {"Room3_12-14-2009_180000_1.wma", 93600, "12-14-2009"}, // once only
        {"Room3_12-14-2009_0930_1.wma", 930, "12-14-2009"},
        {"Room3_12-14-2009_36300.5_1.wma", 36300, "12-14-2009"}, // halves to even
        {"Room3_12-14-2009_36301.5_1.wma", 36302, "12-14-2009"},
        {"Room3_12-14-2009_abc_1.wma", 0, "12-14-2009"},
        {"Room3_12-14-2009_99999999999_1.wma", 0, "12-14-2009"}, // beyond 32 bits
        {"Room3_12-14-2009__1.wma", -1, "12-14-2009"},
        {"Room3_12-14-2009.wmv", -1, "12-14-2009.wmv"},
        {"Interview.wma", -1, ""},
        {"", -1, ""},
        {"Room3__34200_1.wma", 34200, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetStartSeconds(QString::fromUtf8(c.name)), c.seconds);
        EXPECT_EQ(GetStartDate(QString::fromUtf8(c.name)), QString::fromUtf8(c.date));
    }
}

TEST(RecordingStart, StartOnlyWithDateAndStartField) {
    const struct {
        const char* name;
        QDateTime start; // invalid: none
    } cases[] = {
        {"Room3_12-14-2009_36300_1.wma", QDateTime(QDate(2009, 12, 14), QTime(10, 5, 0), Qt::UTC)},
        {"Room3_12-14-2009_86400_1.wma", QDateTime(QDate(2009, 12, 14), QTime(0, 0, 0), Qt::UTC)},
        {"Room3_2009-12-14_90000_3.wmv", QDateTime(QDate(2009, 12, 14), QTime(1, 0, 0), Qt::UTC)},
        {"Room3_12-14-2009.wmv", QDateTime()},
        {"Room3_12-14-2009__1.wma", QDateTime()},
        {"Room3_Monday_36300_1.wma", QDateTime()},
        {"Room3_02-30-2009_36300_1.wma", QDateTime()},
        {"Room3__36300_1.wma", QDateTime()},
        {"Interview.wma", QDateTime()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QDateTime> start = RecordingStart::fromFilename(QString::fromUtf8(c.name));
        ASSERT_EQ(start.has_value(), c.start.isValid());
        if (start) {
            EXPECT_EQ(*start, c.start);
        }
    }
}

TEST(RecordingStart, PositionInWholeSeconds) {
    const QDateTime start(QDate(2009, 12, 14), QTime(23, 59, 50), Qt::UTC);
    const struct {
        double position;
        QDateTime expected;
    } cases[] = {
        {9.0, QDateTime(QDate(2009, 12, 14), QTime(23, 59, 59), Qt::UTC)},
        {9.99, QDateTime(QDate(2009, 12, 14), QTime(23, 59, 59), Qt::UTC)},
        {10.0, QDateTime(QDate(2009, 12, 15), QTime(0, 0, 0), Qt::UTC)},
        {-0.2, start},
        {std::nan(""), start},
        {std::numeric_limits<double>::infinity(), start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(RecordingStart::recordedAt(start, c.position), c.expected);
    }
    EXPECT_TRUE(RecordingStart::recordedAt(start, 1e300).isValid());
}

TEST(RecordingStart, NotePositions) {
    const QString late = QStringLiteral("Room3_12-14-2009_82800_1.wma");    // 23:00:00
    const QString morning = QStringLiteral("Room3_12-14-2009_36300_1.wma"); // 10:05:00
    const struct {
        QString name;
        const char* note;
        std::optional<qint64> position;
    } cases[] = {
        {late, "12:30:00 AM", 5400},  // after midnight: the next day
        {late, "10:59:59 PM", 86399}, // before the start: also the next day, no bound
        {morning, "14:15:30", 15030},
        {morning, "soon", std::nullopt},
        {morning, "25:00:00", std::nullopt},
        {QStringLiteral("Room3_12-14-2009.wma"), "10:05:00 AM", std::nullopt},
        {QStringLiteral("Room3_notadate_36300_1.wma"), "10:05:00 AM", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(RecordingStart::notePosition(c.name, QString::fromUtf8(c.note)), c.position);
    }
}

TEST(RecordingStart, RecordedTimeIgnoresDaylightSaving) {
    // A night when many zones change their clocks; the recorded wall clock must not jump.
    const std::optional<QDateTime> start =
        RecordingStart::fromFilename(QStringLiteral("Hall_03-29-2009_3000_1.wma")); // 00:50
    ASSERT_TRUE(start);
    EXPECT_EQ(RecordingStart::recordedAt(*start, 7200).time(), QTime(2, 50, 0));
    EXPECT_EQ(RecordingStart::notePosition(QStringLiteral("Hall_03-29-2009_3000_1.wma"), "03:50:00 AM"),
              10800);
}
} // namespace
