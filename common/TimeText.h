#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Clock texts: "hh:mm:ss" (24-hour) or "hh:mm:ss AMPM" (12-hour with English AM/PM).
// A count outside one day is taken modulo 86400, so one odd file name cannot fail a whole scan.
QString SecondsToTime(qint32 seconds, const QString& pattern);

// Seconds since midnight of a clock or date-time text; raises type mismatch (13) when it is neither.
qint32 TimeToSeconds(const QString& text);

// "Monday, December 14, 2009": fixed English names, day without leading zero.
QString FormatDateLong(const QDate& date);

// 32 uppercase hexadecimal digits of a new random identifier.
QString CreateGUID();

// The number a text starts with: leading blanks skipped, optional sign, digits with an optional
// fraction; 0 when the text does not start with a number ("34200_1.wma" is 34200).
double numericValue(QStringView text);

// Rounds to the nearest whole number, halves to the even one.
double roundHalfEven(double value);

// A time of day as a user or recorder writes it: "13:05:09", "1:05 PM", "01:05:09 PM", with an
// optional date in front ("12-14-2009 13:05:09"). Empty when the text is not a time of day.
std::optional<QTime> parseTimeOfDay(QStringView text);

// A calendar date as the recorder writes it: month-day-year ("12-14-2009", "12/14/2009") or
// ISO year-month-day ("2009-12-14"). Empty when it is not a date.
std::optional<QDate> parseDate(QStringView text);

// "hh:mm:ss AMPM" of a time text; a text that is not a time of day comes back exactly as read.
QString formatTimeAmPm(const QString& text);
