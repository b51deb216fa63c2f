#include "TimeText.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

TEST(TimeText, SecondsToTimeTableWrapsOutsideOneDay) {
    struct Case {
        qint32 seconds;
        const char *plain, *ampm;
    } cases[] = {
        {0, "00:00:00", "12:00:00 AM"},          {300, "00:05:00", "12:05:00 AM"},
        {3723, "01:02:03", "01:02:03 AM"},       {43200, "12:00:00", "12:00:00 PM"},
        {46800, "13:00:00", "01:00:00 PM"},      {86399, "23:59:59", "11:59:59 PM"},
        {90000, "01:00:00", "01:00:00 AM"},      {-1, "23:59:59", "11:59:59 PM"},
        {2147483647, "03:14:07", "03:14:07 AM"}, {-2147483647 - 1, "20:45:52", "08:45:52 PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SecondsToTime(c.seconds, "hh:mm:ss"), c.plain) << c.seconds;
        EXPECT_EQ(SecondsToTime(c.seconds, "hh:mm:ss AMPM"), c.ampm) << c.seconds;
    }
}

TEST(TimeText, TimeTextsInAndOut) {
    struct Case {
        const char* text;
        qint32 seconds; // -1: not a time of day
        const char* shown;
    } cases[] = {
        {"01:05:09 PM", 47109, "01:05:09 PM"},
        {"13:05:09", 47109, "01:05:09 PM"},
        {"12:00:00 AM", 0, "12:00:00 AM"},
        {"00:15:00", 900, "12:15:00 AM"},
        {"12:15:00", 44100, "12:15:00 PM"},
        {"12-14-2009 13:05:09", 47109, "01:05:09 PM"},
        {"9:30", 34200, "09:30:00 AM"},
        {"25:61:00", -1, "25:61:00"},
        {"13:00:00 PM", -1, "13:00:00 PM"},
        {"garbage", -1, "garbage"},
        {"", -1, ""},
    };
    CapturedLog log;
    for (const Case& c : cases) {
        if (c.seconds >= 0)
            EXPECT_EQ(TimeToSeconds(c.text), c.seconds) << c.text;
        else
            EXPECT_THROW(TimeToSeconds(c.text), QuillonError) << c.text;
        EXPECT_EQ(formatTimeAmPm(c.text), c.shown) << c.text;
    }
}

TEST(TimeText, DatesNumbersAndKeys) {
    EXPECT_EQ(parseDate(u"12-14-2009"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"2009-12-14"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"1-5-09"), QDate(2009, 1, 5));
    EXPECT_FALSE(parseDate(u"13-45-2009"));
    EXPECT_EQ(FormatDateLong(QDate(2009, 12, 14)), "Monday, December 14, 2009");
    EXPECT_EQ(FormatDateLong(QDate(2009, 3, 1)), "Sunday, March 1, 2009");
    EXPECT_EQ(numericValue(u"34200_1.wma"), 34200);
    EXPECT_EQ(numericValue(u"  -12.5x"), -12.5);
    EXPECT_EQ(numericValue(u"9.0c"), 9);
    EXPECT_EQ(numericValue(u"abc"), 0);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    QSet<QString> seen;
    for (int i = 0; i < 20; ++i) {
        const QString id = CreateGUID();
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{32}$").match(id).hasMatch()) << id.toStdString();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 20);
}
