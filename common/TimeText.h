#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

class AppLog;

// A clock text: "hh:mm:ss" (24-hour) or "hh:mm:ss AM"/"PM" (12-hour, English designators). A count
// outside one day is taken modulo 86400, so one odd file name cannot fail a whole scan.
QString clockText(qint64 seconds, bool twelveHour);

// The clock text of a pattern, "hh:mm:ss" or "hh:mm:ss AMPM"; any other pattern is an invalid call.
QString SecondsToTime(AppLog& log, qint32 seconds, const QString& pattern);

// Seconds since midnight of a clock or date-time text; raises type mismatch (13) when it is neither.
qint32 TimeToSeconds(AppLog& log, const QString& text);

// "Monday, December 14, 2009": fixed English names, day without leading zero.
QString FormatDateLong(AppLog& log, const QDate& date);

// Dates and times are read as leniently as a US-English desktop date conversion reads them:
// any run of whitespace (line breaks too), "-", "/", "." and "," separate; month names and their
// three-letter abbreviations stand anywhere; a day name is passed over; a year of one or two digits
// falls in 1930 to 2029.

// A time of day: "13:05:09", "1:05 PM", "0:15:00 AM", "13:05:09 PM" (an hour above 12 with PM stands
// as it is), "9 AM", with or without a date before or after it. Empty when the text is no time of
// day, also when its designator contradicts its hour ("13:05:09 AM", "0:30 PM").
std::optional<QTime> parseTimeOfDay(QStringView text);

// A calendar date alone: month-day-year ("12-14-2009", "12/14/09", "12 14 2009"), day-month-year
// when the first number is above 12 ("14.12.2009"), year-month-day when the first can only be a
// year ("2009-12-14"), or with a month name ("Dec 14 2009", "14-Dec-2009", "December 14, 2009").
// Empty when it is not a date, or carries a time too.
std::optional<QDate> parseDate(QStringView text);

// "hh:mm:ss AMPM" of a time text; a text that is not a time of day comes back exactly as read.
QString formatTimeAmPm(const QString& text);

// A media time as a player's bar shows it: "m:ss", or "h:mm:ss" with hours; below 0 is 0:00.
QString durationText(double seconds, bool withHours);
