#include "TestSupport.h"
#include "QuillonError.h"
#include "TimeText.h"

#include <QRegularExpression>

#include <QSet>
#include <gtest/gtest.h>

TEST(TimeText, SecondsToTimeTable) {
    struct Case {
        qint32 seconds;
        const char *plain, *ampm;
    } cases[] = {
        {0, "00:00:00", "12:00:00 AM"},       {300, "00:05:00", "12:05:00 AM"},
        {3723, "01:02:03", "01:02:03 AM"},    {34200, "09:30:00", "09:30:00 AM"},
        {43200, "12:00:00", "12:00:00 PM"},   {46800, "13:00:00", "01:00:00 PM"},
        {86399, "23:59:59", "11:59:59 PM"},   {86400, "00:00:00", "12:00:00 AM"},
        {90000, "01:00:00", "01:00:00 AM"},   {-1, "23:59:59", "11:59:59 PM"},
        {2147483647, "03:14:07", "03:14:07 AM"}, {-2147483647 - 1, "20:45:52", "08:45:52 PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SecondsToTime(c.seconds, "hh:mm:ss"), c.plain) << c.seconds;
        EXPECT_EQ(SecondsToTime(c.seconds, "hh:mm:ss AMPM"), c.ampm) << c.seconds;
    }
}

TEST(TimeText, UnknownPatternIsAnError) {
    CapturedLog log;
    EXPECT_THROW(SecondsToTime(5, "mm:ss"), QuillonError);
    EXPECT_EQ(log.lines.size(), 1);
}

TEST(TimeText, TimeToSecondsTable) {
    struct Case {
        const char* text;
        qint32 seconds;
    } cases[] = {
        {"01:05:09 PM", 47109}, {"1:05:09 PM", 47109}, {"13:05:09", 47109}, {"00:00:00", 0},
        {"12:00:00 AM", 0},     {"12:00:00 PM", 43200}, {"11:59:59 pm", 86399}, {"12-14-2009 13:05:09", 47109},
        {"2009-12-14 01:05:09 PM", 47109}, {"9:30", 34200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeToSeconds(c.text), c.seconds) << c.text;
}

TEST(TimeText, TimeToSecondsRejectsWhatIsNoTime) {
    CapturedLog log;
    for (const char* text : {"", "garbage", "25:61:00", "13:00:00 PM", "12:60:00", "x 10:00:00"})
        EXPECT_THROW(TimeToSeconds(text), QuillonError) << text;
}

TEST(TimeText, FormatTimeAmPmKeepsWhatIsNoTime) {
    EXPECT_EQ(formatTimeAmPm("14:03:22"), "02:03:22 PM");
    EXPECT_EQ(formatTimeAmPm("00:15:00"), "12:15:00 AM");
    EXPECT_EQ(formatTimeAmPm("12:15:00"), "12:15:00 PM");
    EXPECT_EQ(formatTimeAmPm("10:05:02 AM"), "10:05:02 AM");
    EXPECT_EQ(formatTimeAmPm(""), "");
    EXPECT_EQ(formatTimeAmPm("25:61:00"), "25:61:00");
    EXPECT_EQ(formatTimeAmPm("soon"), "soon");
}

TEST(TimeText, DatesAndLongDates) {
    EXPECT_EQ(parseDate(u"12-14-2009"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"12/14/2009"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"2009-12-14"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"1-5-09"), QDate(2009, 1, 5));
    EXPECT_FALSE(parseDate(u"13-45-2009"));
    EXPECT_FALSE(parseDate(u""));
    EXPECT_FALSE(parseDate(u"Tuesday"));
    EXPECT_EQ(FormatDateLong(QDate(2009, 12, 14)), "Monday, December 14, 2009");
    EXPECT_EQ(FormatDateLong(QDate(2009, 1, 5)), "Monday, January 5, 2009");
    EXPECT_EQ(FormatDateLong(QDate(2009, 3, 1)), "Sunday, March 1, 2009");
}

TEST(TimeText, NumericValueAndRounding) {
    EXPECT_EQ(numericValue(u"34200_1.wma"), 34200);
    EXPECT_EQ(numericValue(u"  12.5x"), 12.5);
    EXPECT_EQ(numericValue(u"-40"), -40);
    EXPECT_EQ(numericValue(u"abc"), 0);
    EXPECT_EQ(numericValue(u""), 0);
    EXPECT_EQ(numericValue(u"9.0c"), 9);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
}

TEST(TimeText, CreateGuidIsFreshUppercaseHex) {
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString id = CreateGUID();
        EXPECT_EQ(id.size(), 32);
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{32}$").match(id).hasMatch()) << id.toStdString();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 50);
}
