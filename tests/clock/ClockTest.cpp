// The recorded time of day and note positions a media file's name leads to. What the clock face shows
// is read off the drawn digits with the player window, whose tick table also has the whole seconds cut,
// a time past noon and the step past midnight; its note jumps have a note after midnight, one that is
// no time of day and a name with no start.
#include "RecordingStart.h"

#include <gtest/gtest.h>
#include <limits>

TEST(RecordingStartTest, RecordedTimeOfDayFromNameAndPosition) {
    const char* const morning = "Room3_12-14-2009_36300_1.wma"; // 10:05:00
    const struct {
        const char* name;
        double position;
        const char* at; // "MM-dd-yyyy HH:mm:ss"; nullptr: the name carries no usable start
    } cases[] = {
        {morning, -0.2, "12-14-2009 10:05:00"},
        {morning, std::numeric_limits<double>::quiet_NaN(), "12-14-2009 10:05:00"},
        {"Room3_12-14-2009_86400_1.wma", 0, "12-14-2009 00:00:00"}, // one day taken off, once
        {"Room3_12-14-2009_99999999999_1.wma", 1, "12-14-2009 00:00:01"},
        {"Room3_12-31-2009_86390_1.WMA", 3610, "01-01-2010 01:00:00"},
        // A night when many zones change their clocks: the recorded wall clock must not jump.
        {"Hall_03-29-2009_3000_1.wma", 7200, "03-29-2009 02:50:00"},
        // The date field read as the date texts are (their table has the other forms).
        {"Room3_December 14, 2009_90000_1.wma", 0, "12-14-2009 01:00:00"},
        // No date, or no start: the clock is left alone.
        {"Room3_12-14-2009.wmv", 600, nullptr},
        {"Room3_02-30-2009_36300_1.wma", 600, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " at " << c.position);
        const std::optional<QDateTime> start = RecordingStart::fromFilename(QString::fromLatin1(c.name));
        ASSERT_EQ(start.has_value(), c.at != nullptr);
        if (start) {
            EXPECT_EQ(RecordingStart::recordedAt(*start, c.position).toString("MM-dd-yyyy HH:mm:ss"),
                      QLatin1String(c.at));
        }
    }
}

TEST(RecordingStartTest, NotePositions) {
    const char* const late = "Room3_12-14-2009_82800_1.wma";    // 23:00:00
    const char* const morning = "Room3_12-14-2009_36300_1.wma"; // 10:05:00
    const struct {
        const char* name;
        const char* note;
        qint64 position; // -1: no position
    } cases[] = {
        {late, "11:00:00 PM", 0},
        {late, "10:59:59 PM", 86399},    // before the start: also the next day
        {morning, "09:00:00 PM", 39300}, // beyond the media: passed on
        {"Hall_03-29-2009_3000_1.wma", "03:50:00 AM", 10800},
        {"Room3_12-14-2009_85800_1.wma", "12:10:00 AM", 1200}, // 23:50, a note 20 minutes later
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << c.note);
        const std::optional<QDateTime> start = RecordingStart::fromFilename(QString::fromLatin1(c.name));
        EXPECT_EQ(start ? RecordingStart::notePosition(*start, QString::fromLatin1(c.note)) : std::nullopt,
                  c.position < 0 ? std::nullopt : std::optional<qint64>(c.position));
    }
}
