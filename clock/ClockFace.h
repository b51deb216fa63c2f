#pragma once

// The digit clock's pure logic: what the six digit boxes, the PM marker and the date labels show.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>

namespace ClockFace {

// What the clock face shows for one time of day.
struct Reading {
    std::array<int, 6> digits{}; // hour tens, hour units, minute tens and units, second tens and units
    bool pm = false;             // the PM marker is shown
    QString text;                // the digits as read aloud: "hh:mm:ss AM" or "hh:mm:ss PM"
};

// The face for a time of day in seconds since midnight (taken modulo one day). The twelve-hour face
// shows midnight and noon as 12 and lights the PM marker from noon on; the other face shows the
// 24-hour digits with the marker dark.
Reading reading(qint32 secondsOfDay, bool twelveHour = true);

// Image of ilTime (1 to 11) that shows a digit.
constexpr int imageOfDigit(int digit) {
    return digit + 1;
}

// "mm-dd-yyyy".
QString sessionDateText(const QDate& date);

} // namespace ClockFace
