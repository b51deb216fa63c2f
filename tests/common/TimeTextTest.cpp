#include "TimeText.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(TimeText, SecondsToTimeTableWrapsOutsideOneDay) {
    // clang-format off
    const std::tuple<qint32, const char*, const char*> cases[] = {
        {0, "00:00:00", "12:00:00 AM"},          {300, "00:05:00", "12:05:00 AM"},
        {3723, "01:02:03", "01:02:03 AM"},       {43200, "12:00:00", "12:00:00 PM"},
        {46800, "13:00:00", "01:00:00 PM"},      {86399, "23:59:59", "11:59:59 PM"},
        {90000, "01:00:00", "01:00:00 AM"},      {-1, "23:59:59", "11:59:59 PM"},
        {2147483647, "03:14:07", "03:14:07 AM"}, {-2147483647 - 1, "20:45:52", "08:45:52 PM"}};
    // clang-format on
    for (const auto& [seconds, plain, ampm] : cases)
        EXPECT_EQ(SecondsToTime(seconds, "hh:mm:ss") + '|' + SecondsToTime(seconds, "hh:mm:ss AMPM"),
                  QString::fromLatin1(plain) + '|' + ampm)
            << seconds;
}

TEST(TimeText, TimeTextsInAndOut) {
    // clang-format off
    const std::tuple<const char*, qint32, const char*> cases[] = {
        {"01:05:09 PM", 47109, "01:05:09 PM"}, {"13:05:09", 47109, "01:05:09 PM"},
        {"12:00:00 AM", 0, "12:00:00 AM"},     {"00:15:00", 900, "12:15:00 AM"},
        {"12:15:00", 44100, "12:15:00 PM"},    {"12-14-2009 13:05:09", 47109, "01:05:09 PM"},
        {"9:30", 34200, "09:30:00 AM"},        {"25:61:00", -1, "25:61:00"},
        {"13:00:00 PM", -1, "13:00:00 PM"},    {"garbage", -1, "garbage"},
        {"", -1, ""}};
    // clang-format on
    CapturedLog log;
    for (const auto& [text, seconds, shown] : cases) {
        if (seconds >= 0)
            EXPECT_EQ(TimeToSeconds(text), seconds) << text;
        else
            EXPECT_THROW(TimeToSeconds(text), QuillonError) << text;
        EXPECT_EQ(formatTimeAmPm(text), shown) << text;
    }
}

// Plain clock texts take a quick path in formatting: it must agree with parsing on every input.
TEST(TimeText, FormattingAgreesWithParsing) {
    // clang-format off
    const char* const inputs[] = {
        "09:31:10", "9:31:10", "00:15:00", "12:15:00", "23:59:59", "24:00:00", "25:61:00", "10:60:00",
        "10:00:60", "10:05:02 AM", "1:05:09 PM", "12:00:00 AM", "12:00:00 PM", "00:10:00 AM", "13:00:00 PM",
        "10:05:02 am", "10:05:02AM", "10:05 AM", "10:05", " 10:05:02", "10:05:02 ", "10:05:02 PMX",
        "123:00:00", "1:2:3", "12-14-2009 13:05:09", "garbage", "10:05:02 A", "10:05:02 P.M."};
    // clang-format on
    for (const char* input : inputs) {
        const std::optional<QTime> t = parseTimeOfDay(QString::fromLatin1(input));
        const QString expected =
            t ? SecondsToTime(t->msecsSinceStartOfDay() / 1000, QStringLiteral("hh:mm:ss AMPM"))
              : QString::fromLatin1(input);
        EXPECT_EQ(formatTimeAmPm(QString::fromLatin1(input)), expected) << input;
    }
}

TEST(TimeText, DatesNumbersAndKeys) {
    EXPECT_EQ(parseDate(u"12-14-2009"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"2009-12-14"), QDate(2009, 12, 14));
    EXPECT_EQ(parseDate(u"1-5-09"), QDate(2009, 1, 5));
    EXPECT_FALSE(parseDate(u"13-45-2009"));
    EXPECT_EQ(FormatDateLong(QDate(2009, 12, 14)), "Monday, December 14, 2009");
    EXPECT_EQ(FormatDateLong(QDate(2009, 3, 1)), "Sunday, March 1, 2009");
    // Leading blanks, a sign and a fraction count; the file-name and version tables cover the rest.
    EXPECT_EQ(numericValue(u"  -12.5x"), -12.5);
    EXPECT_EQ(numericValue(u"abc"), 0);
    const QString id = CreateGUID();
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{32}$").match(id).hasMatch()) << id.toStdString();
    EXPECT_NE(CreateGUID(), id);
}
