#include "TimeText.h"
#include "QuillonError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(TimeText, SecondsToTimeTableWrapsOutsideOneDay) {
    CapturedLog log;
    // clang-format off
    const std::tuple<qint32, const char*, const char*> cases[] = {
        {0, "00:00:00", "12:00:00 AM"},          {3723, "01:02:03", "01:02:03 AM"},
        {43200, "12:00:00", "12:00:00 PM"},      {46800, "13:00:00", "01:00:00 PM"},
        {90000, "01:00:00", "01:00:00 AM"},      {-1, "23:59:59", "11:59:59 PM"},
        {2147483647, "03:14:07", "03:14:07 AM"}, {-2147483647 - 1, "20:45:52", "08:45:52 PM"}};
    // clang-format on
    for (const auto& [seconds, plain, ampm] : cases)
        EXPECT_EQ(SecondsToTime(log, seconds, "hh:mm:ss") + '|' +
                      SecondsToTime(log, seconds, "hh:mm:ss AMPM"),
                  QString::fromLatin1(plain) + '|' + ampm)
            << seconds;
}

// What a time text reads as in seconds; what it shows is the lenient table's below.
TEST(TimeText, TimeToSecondsOrARunTimeError) {
    CapturedLog log; // a failed reading is logged on its way up
    EXPECT_EQ(TimeToSeconds(log, "01:05:09 PM"), 47109);
    EXPECT_EQ(TimeToSeconds(log, "12:15:00 AM"), 900);
    EXPECT_THROW(TimeToSeconds(log, "25:61:00"), QuillonError);
}

// Note times as recorders and people write them, and what the notes list shows for each.
TEST(TimeText, LenientTimesOfDay) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"9:31:10", "09:31:10 AM"},      {"13:05:09", "01:05:09 PM"},   {"0:15:00 AM", "12:15:00 AM"},
        {"12:15:00", "12:15:00 PM"},     {"13:05:09 PM", "01:05:09 PM"}, {"9 PM", "09:00:00 PM"},
        {"10:05:02 p.m.", "10:05:02 PM"}, {"10:05:02 a", "10:05:02 AM"}, {"10:05\u00a0AM", "10:05:00 AM"},
        {"\n    10:05:02\n    AM\n  ", "10:05:02 AM"}, {"12-14-2009 13:05:09", "01:05:09 PM"},
        {"Monday, December 14, 2009 1:05 PM", "01:05:00 PM"},
        // not a time of day: shown exactly as read
        {"24:00:00", nullptr}, {"10:60:00", nullptr}, {"10:05:02 AM PM", nullptr}, {"10::05", nullptr},
        {"AM 10:05", nullptr}, {"10:05 12-14", nullptr}, {"", nullptr},
        {"13:05:09 AM", nullptr}, {"0:30 PM", nullptr}}; // the designator contradicts the hour
    // clang-format on
    for (const auto& [text, shown] : cases) {
        const QString input = QString::fromUtf8(text);
        EXPECT_EQ(formatTimeAmPm(input).toStdString(), shown ? std::string(shown) : input.toStdString())
            << text;
    }
}

// Recording dates as file names carry them; nullptr where no reading makes a date.
TEST(TimeText, LenientDates) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"12-14-2009", "2009-12-14"}, {"1-5-09", "2009-01-05"},     {"12-14-29", "2029-12-14"},
        {"12-14-30", "1930-12-14"},   {"2009-12-14", "2009-12-14"}, {"14.12.09", "2009-12-14"},
        {"DEC-14-09", "2009-12-14"},  {"Monday, December 14, 2009", "2009-12-14"},
        {"02-29-2008", "2008-02-29"}, {" 12 - 14 - 2009 ", "2009-12-14"},
        {"02-29-2009", nullptr}, {"13-13-2009", nullptr}, {"12-14", nullptr}, {"Dec Jan 14 2009", nullptr},
        {"12-14-0050", nullptr}, {"12_14_2009", nullptr}, {"12-14-2009 10:05", nullptr}, {"", nullptr}};
    // clang-format on
    for (const auto& [text, date] : cases)
        EXPECT_EQ(parseDate(QString::fromLatin1(text)),
                  date ? std::optional(QDate::fromString(QString::fromLatin1(date), Qt::ISODate))
                       : std::nullopt)
            << text;
}

// The media bar's times: hours only when the media is that long; nothing odd shows a negative time.
TEST(TimeText, DurationTexts) {
    const std::tuple<double, bool, const char*> cases[] = {
        {0, false, "0:00"},     {59.99, false, "0:59"}, {61, false, "1:01"},
        {3599, false, "59:59"}, {65, true, "0:01:05"},  {3661, true, "1:01:01"},
        {-3, false, "0:00"},    {NAN, true, "0:00:00"}, {INFINITY, false, "0:00"}};
    for (const auto& [seconds, hours, text] : cases)
        EXPECT_EQ(durationText(seconds, hours), QLatin1String(text)) << seconds;
}
