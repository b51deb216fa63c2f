#include "ClockFace.h"

#include "TimeText.h"

namespace ClockFace {

Reading reading(qint32 secondsOfDay, bool twelveHour) {
    const qint64 s = (static_cast<qint64>(secondsOfDay) % 86400 + 86400) % 86400;
    int hour = static_cast<int>(s / 3600);
    const int minute = static_cast<int>(s % 3600 / 60);
    const int second = static_cast<int>(s % 60);
    Reading r;
    if (twelveHour) {
        if (hour >= 12) {
            r.pm = true;
            hour -= 12;
        }
        if (hour == 0)
            hour = 12;
    }
    r.digits = {hour / 10, hour % 10, minute / 10, minute % 10, second / 10, second % 10};
    r.text = clockText(s, twelveHour);
    return r;
}

QString sessionDateText(const QDate& date) {
    const QLatin1Char zero('0');
    return QString::number(date.month()).rightJustified(2, zero) + QLatin1Char('-') +
           QString::number(date.day()).rightJustified(2, zero) + QLatin1Char('-') +
           QString::number(date.year()).rightJustified(4, zero);
}

} // namespace ClockFace
