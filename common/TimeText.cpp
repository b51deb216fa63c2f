#include "TimeText.h"

#include "ErrorHandling.h"

#include <QRegularExpression>
#include <QUuid>
#include <cmath>

namespace {
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString renderTime(int h, int m, int s, bool ampm) {
    if (!ampm)
        return twoDigits(h) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(s);
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return twoDigits(h12) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(s) +
           (h < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

int fullYear(int year, int digits) {
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// The plain "13:05:09" and "1:05:09 PM" forms without the general parser (a long notes document
// holds thousands); empty for any other form.
std::optional<QString> quickAmPm(const QString& time) {
    // h:mm:ss or hh:mm:ss, then nothing or " AM" / " PM" in capitals; anything else goes the long way.
    const qsizetype n = time.size();
    const auto digit = [&](qsizetype i) {
        return i < n && time[i] >= QLatin1Char('0') && time[i] <= QLatin1Char('9');
    };
    const auto value = [&](qsizetype i) { return time[i].unicode() - '0'; };
    qsizetype i = 0;
    int h = 0;
    if (digit(0) && digit(1)) {
        h = value(0) * 10 + value(1);
        i = 2;
    } else if (digit(0)) {
        h = value(0);
        i = 1;
    }
    const bool clock = i > 0 && i + 6 <= n && time[i] == QLatin1Char(':') && digit(i + 1) && digit(i + 2) &&
                       time[i + 3] == QLatin1Char(':') && digit(i + 4) && digit(i + 5);
    if (!clock)
        return std::nullopt;
    const int m = value(i + 1) * 10 + value(i + 2);
    const int s = value(i + 4) * 10 + value(i + 5);
    i += 6;
    if (i + 3 == n && time[i] == QLatin1Char(' ') && time[i + 2] == QLatin1Char('M') &&
        (time[i + 1] == QLatin1Char('A') || time[i + 1] == QLatin1Char('P'))) {
        if (h < 1 || h > 12)
            return time;
        h = h % 12 + (time[i + 1] == QLatin1Char('P') ? 12 : 0);
    } else if (i != n) {
        return std::nullopt;
    }
    if (h > 23 || m > 59 || s > 59)
        return time;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    const char16_t text[] = {char16_t(u'0' + h12 / 10),
                             char16_t(u'0' + h12 % 10),
                             u':',
                             char16_t(u'0' + m / 10),
                             char16_t(u'0' + m % 10),
                             u':',
                             char16_t(u'0' + s / 10),
                             char16_t(u'0' + s % 10),
                             u' ',
                             h < 12 ? u'A' : u'P',
                             u'M'};
    return QString(reinterpret_cast<const QChar*>(text), 11);
}
} // namespace

QString SecondsToTime(qint32 seconds, const QString& pattern) {
    return logAndRaise(SourceModule::basGlobals + QStringLiteral(".SecondsToTime()"), [&] {
        const bool ampm = pattern == QLatin1String("hh:mm:ss AMPM");
        if (!ampm && pattern != QLatin1String("hh:mm:ss"))
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        const qint64 day = ((static_cast<qint64>(seconds) % 86400) + 86400) % 86400;
        const int h = static_cast<int>(day / 3600);
        const int m = static_cast<int>(day % 3600 / 60);
        return renderTime(h, m, static_cast<int>(day % 60), ampm);
    });
}

qint32 TimeToSeconds(const QString& text) {
    return logAndRaise(SourceModule::basGlobals + QStringLiteral(".TimeToSeconds()"), [&] {
        const std::optional<QTime> t = parseTimeOfDay(text);
        if (!t)
            raiseError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
        return t->hour() * 3600 + t->minute() * 60 + t->second();
    });
}

QString FormatDateLong(const QDate& date) {
    return logAndRaise(SourceModule::basGlobals + QStringLiteral(".FormatDateLong()"), [&] {
        if (!date.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        return QString::fromLatin1(kDays[date.dayOfWeek() - 1]) + QStringLiteral(", ") +
               QString::fromLatin1(kMonths[date.month() - 1]) + QLatin1Char(' ') +
               QString::number(date.day()) + QStringLiteral(", ") + QString::number(date.year());
    });
}

QString CreateGUID() {
    return logAndRaise(SourceModule::basGlobals + QStringLiteral(".CreateGUID()"), [&] {
        const QUuid id = QUuid::createUuid();
        if (id.isNull())
            return QString();
        return QString::fromLatin1(id.toRfc4122().toHex().toUpper());
    });
}

double numericValue(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i].unicode() < 128 && text[i].isDigit()) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    return text.mid(start, i - start).toString().toDouble();
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

std::optional<QTime> parseTimeOfDay(QStringView text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(?:(\S+)\s+)?(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*(?:([AaPp])\.?[Mm]?\.?)?\s*$)"));
    const QRegularExpressionMatch m = re.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    if (m.capturedLength(1) > 0 && !parseDate(m.capturedView(1)))
        return std::nullopt;
    int h = m.capturedView(2).toInt();
    const int min = m.capturedView(3).toInt();
    const int sec = m.capturedLength(4) > 0 ? m.capturedView(4).toInt() : 0;
    if (m.capturedLength(5) > 0) {
        if (h < 1 || h > 12)
            return std::nullopt;
        const bool pm = m.capturedView(5).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
        h = (h % 12) + (pm ? 12 : 0);
    }
    if (h > 23 || min > 59 || sec > 59)
        return std::nullopt;
    return QTime(h, min, sec);
}

std::optional<QDate> parseDate(QStringView text) {
    static const QRegularExpression mdy(
        QStringLiteral(R"(^\s*(\d{1,2})([-/.])(\d{1,2})\2(\d{2}|\d{4})\s*$)"));
    static const QRegularExpression ymd(QStringLiteral(R"(^\s*(\d{4})([-/.])(\d{1,2})\2(\d{1,2})\s*$)"));
    QDate date;
    if (const QRegularExpressionMatch m = mdy.match(text.toString()); m.hasMatch()) {
        date = QDate(fullYear(m.capturedView(4).toInt(), static_cast<int>(m.capturedLength(4))),
                     m.capturedView(1).toInt(), m.capturedView(3).toInt());
    } else if (const QRegularExpressionMatch m2 = ymd.match(text.toString()); m2.hasMatch()) {
        date = QDate(m2.capturedView(1).toInt(), m2.capturedView(3).toInt(), m2.capturedView(4).toInt());
    }
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString formatTimeAmPm(const QString& text) {
    if (text.isEmpty())
        return text;
    if (std::optional<QString> quick = quickAmPm(text))
        return *quick;
    const std::optional<QTime> t = parseTimeOfDay(text);
    if (!t)
        return text;
    return renderTime(t->hour(), t->minute(), t->second(), true);
}
