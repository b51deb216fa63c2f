#include "TimeText.h"

#include "ErrorHandling.h"

#include <QVarLengthArray>
#include <cmath>

namespace {
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

// "hh:mm:ss", or "hh:mm:ss AM"/"PM" on the 12-hour clock; built in place, as a notes document
// may hold many thousand times.
QString renderTime(int h, int m, int s, bool ampm) {
    const int shownHour = ampm ? (h % 12 == 0 ? 12 : h % 12) : h;
    char16_t text[11] = {char16_t(u'0' + shownHour / 10),
                         char16_t(u'0' + shownHour % 10),
                         u':',
                         char16_t(u'0' + m / 10),
                         char16_t(u'0' + m % 10),
                         u':',
                         char16_t(u'0' + s / 10),
                         char16_t(u'0' + s % 10),
                         u' ',
                         h < 12 ? u'A' : u'P',
                         u'M'};
    return QString(reinterpret_cast<const QChar*>(text), ampm ? 11 : 8);
}

// A year written with one or two digits falls in 1930 to 2029.
int fullYear(int year, int digits) {
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// One piece of a date or time text; blanks, "-", "/", "." and "," only separate pieces.
struct Token {
    enum Kind { Number, Colon, Month, Weekday, Am, Pm } kind;
    int value = 0;  // the number, or the month 1 to 12
    int digits = 0; // of a number
};
constexpr qsizetype kMaxTokens = 12; // more than any date and time of day take

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// A month or day name in full or by its first three letters, or an AM/PM designator ("A", "PM").
std::optional<Token> wordToken(QStringView word) {
    const auto names = [&](const char* const* table, int count) -> int {
        for (int i = 0; i < count; ++i) {
            const QLatin1StringView name(table[i]);
            if (word.compare(name, Qt::CaseInsensitive) == 0 ||
                (word.size() == 3 && word.compare(name.left(3), Qt::CaseInsensitive) == 0))
                return i + 1;
        }
        return 0;
    };
    for (const auto& [designator, kind] :
         {std::pair{"a", Token::Am}, {"am", Token::Am}, {"p", Token::Pm}, {"pm", Token::Pm}})
        if (word.compare(QLatin1StringView(designator), Qt::CaseInsensitive) == 0)
            return Token{kind, 0, 0};
    if (const int month = names(kMonths, 12))
        return Token{Token::Month, month, 0};
    if (names(kDays, 7))
        return Token{Token::Weekday, 0, 0};
    return std::nullopt;
}

// The pieces of a text, or nothing when it holds a character no date or time has.
std::optional<QVarLengthArray<Token, kMaxTokens>> tokenize(QStringView text) {
    QVarLengthArray<Token, kMaxTokens> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        // A time written across lines (a pretty-printed document) reads as one written on a line.
        if (c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('/') || c == QLatin1Char('.') ||
            c == QLatin1Char(',')) {
            ++i;
            continue;
        }
        if (tokens.size() == kMaxTokens)
            return std::nullopt;
        if (c == QLatin1Char(':')) {
            tokens.push_back({Token::Colon});
            ++i;
        } else if (isAsciiDigit(c)) {
            Token number{Token::Number};
            for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
                if (++number.digits > 4)
                    return std::nullopt;
                number.value = number.value * 10 + (text[i].unicode() - '0');
            }
            tokens.push_back(number);
        } else if (isAsciiLetter(c)) {
            const qsizetype start = i;
            while (i < text.size() && isAsciiLetter(text[i]))
                ++i;
            const QStringView word = text.mid(start, i - start);
            // "A.M.", "p.m.": the M of a designator spelled with stops
            const bool designatorEnd = !tokens.isEmpty() &&
                                       word.compare(QLatin1StringView("m"), Qt::CaseInsensitive) == 0 &&
                                       (tokens.back().kind == Token::Am || tokens.back().kind == Token::Pm);
            if (designatorEnd)
                continue;
            const std::optional<Token> token = wordToken(word);
            if (!token)
                return std::nullopt;
            tokens.push_back(*token);
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

bool yearLike(const Token& number) {
    return number.digits >= 3 || number.value > 31;
}

// A date from its numbers and month name in the order a US-English reader takes them: with a month
// name, the number that can only be a year is the year, else the day comes first; with three
// numbers, a year-like first number starts year-month-day, a first number above 12 is the day
// (day-month-year), anything else is month-day-year.
std::optional<QDate> dateOf(const QVarLengthArray<Token, kMaxTokens>& numbers, int month) {
    int y = 0, m = 0, d = 0;
    const Token* year = nullptr;
    if (month != 0 && numbers.size() == 2) {
        const bool yearFirst = yearLike(numbers[0]) && !yearLike(numbers[1]);
        year = &numbers[yearFirst ? 0 : 1];
        m = month;
        d = numbers[yearFirst ? 1 : 0].value;
    } else if (month == 0 && numbers.size() == 3) {
        if (yearLike(numbers[0])) {
            year = &numbers[0];
            m = numbers[1].value;
            d = numbers[2].value;
        } else {
            const bool dayFirst = numbers[0].value > 12;
            year = &numbers[2];
            m = numbers[dayFirst ? 1 : 0].value;
            d = numbers[dayFirst ? 0 : 1].value;
        }
    } else {
        return std::nullopt;
    }
    y = fullYear(year->value, year->digits);
    const QDate date(y, m, d);
    if (y < 100 || !date.isValid())
        return std::nullopt;
    return date;
}

struct DateTimeReading {
    std::optional<QDate> date;
    std::optional<QTime> time;
};

// A date, a time of day, or both in either order, read as leniently as a US-English desktop
// date conversion does. A time is h:m or h:m:s, or an hour with a designator; with a designator an
// hour of 1 to 12 is a 12-hour one (12 AM is midnight, 0 AM too), a larger hour with PM stands as it
// is; an hour above 12 with AM, or 0 with PM, contradicts itself and is no time.
// Nothing when the text holds anything else, or pieces that make no date or time.
std::optional<DateTimeReading> readDateTime(QStringView text) {
    const std::optional<QVarLengthArray<Token, kMaxTokens>> tokens = tokenize(text);
    if (!tokens || tokens->isEmpty())
        return std::nullopt;
    const auto& t = *tokens;
    const qsizetype n = t.size();
    const auto is = [&](qsizetype i, Token::Kind kind) { return i >= 0 && i < n && t[i].kind == kind; };

    // The time: the first colon and the numbers around it, or an hour followed by a designator.
    qsizetype first = -1, last = -1; // the time's tokens, designator included
    int h = 0, m = 0, s = 0;
    for (qsizetype i = 0; i < n && first < 0; ++i) {
        if (is(i, Token::Colon)) {
            if (!is(i - 1, Token::Number) || !is(i + 1, Token::Number))
                return std::nullopt;
            first = i - 1;
            last = i + 1;
            if (is(i + 2, Token::Colon)) {
                if (!is(i + 3, Token::Number))
                    return std::nullopt;
                last = i + 3;
                s = t[last].value;
            }
            h = t[first].value;
            m = t[i + 1].value;
        } else if (is(i, Token::Number) && (is(i + 1, Token::Am) || is(i + 1, Token::Pm))) {
            first = last = i;
            h = t[i].value;
        }
    }
    if (first >= 0) {
        for (qsizetype i = first; i <= last; ++i)
            if (t[i].kind == Token::Number && t[i].digits > 2)
                return std::nullopt;
        if (is(last + 1, Token::Am) || is(last + 1, Token::Pm)) {
            ++last;
            const bool pm = t[last].kind == Token::Pm;
            if ((h > 12 && !pm) || (h == 0 && pm))
                return std::nullopt;
            if (h <= 12)
                h = h % 12 + (pm ? 12 : 0);
        }
        if (h > 23 || m > 59 || s > 59)
            return std::nullopt;
    }

    // The date: every other piece; a day name is passed over.
    QVarLengthArray<Token, kMaxTokens> numbers;
    int month = 0;
    bool anyDate = false;
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= first && i <= last)
            continue;
        switch (t[i].kind) {
        case Token::Number:
            numbers.push_back(t[i]);
            break;
        case Token::Month:
            if (month != 0)
                return std::nullopt;
            month = t[i].value;
            break;
        case Token::Weekday:
            continue;
        default:
            return std::nullopt; // a colon or designator outside the time
        }
        anyDate = true;
    }
    DateTimeReading reading;
    if (first >= 0)
        reading.time = QTime(h, m, s);
    if (anyDate) {
        reading.date = dateOf(numbers, month);
        if (!reading.date)
            return std::nullopt;
    }
    if (!reading.time && !reading.date)
        return std::nullopt;
    return reading;
}

} // namespace

QString clockText(qint64 seconds, bool twelveHour) {
    const qint64 day = ((seconds % 86400) + 86400) % 86400;
    return renderTime(static_cast<int>(day / 3600), static_cast<int>(day % 3600 / 60),
                      static_cast<int>(day % 60), twelveHour);
}

QString SecondsToTime(AppLog& log, qint32 seconds, const QString& pattern) {
    return logAndRaise(log, SourceModule::basGlobals + QStringLiteral(".SecondsToTime()"), [&] {
        const bool ampm = pattern == QLatin1String("hh:mm:ss AMPM");
        if (!ampm && pattern != QLatin1String("hh:mm:ss"))
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        return clockText(seconds, ampm);
    });
}

qint32 TimeToSeconds(AppLog& log, const QString& text) {
    return logAndRaise(log, SourceModule::basGlobals + QStringLiteral(".TimeToSeconds()"), [&] {
        const std::optional<QTime> t = parseTimeOfDay(text);
        if (!t)
            raiseError(ErrNo::TypeMismatch, QStringLiteral("Type mismatch"));
        return t->hour() * 3600 + t->minute() * 60 + t->second();
    });
}

QString FormatDateLong(AppLog& log, const QDate& date) {
    return logAndRaise(log, SourceModule::basGlobals + QStringLiteral(".FormatDateLong()"), [&] {
        if (!date.isValid())
            raiseError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        return QString::fromLatin1(kDays[date.dayOfWeek() - 1]) + QStringLiteral(", ") +
               QString::fromLatin1(kMonths[date.month() - 1]) + QLatin1Char(' ') +
               QString::number(date.day()) + QStringLiteral(", ") + QString::number(date.year());
    });
}

std::optional<QTime> parseTimeOfDay(QStringView text) {
    const std::optional<DateTimeReading> reading = readDateTime(text);
    if (!reading || !reading->time)
        return std::nullopt;
    return reading->time;
}

std::optional<QDate> parseDate(QStringView text) {
    const std::optional<DateTimeReading> reading = readDateTime(text);
    if (!reading || reading->time || !reading->date)
        return std::nullopt;
    return reading->date;
}

QString formatTimeAmPm(const QString& text) {
    const std::optional<QTime> t = parseTimeOfDay(text);
    if (!t)
        return text;
    return renderTime(t->hour(), t->minute(), t->second(), true);
}

QString durationText(double seconds, bool withHours) {
    const qint64 whole = std::isfinite(seconds) && seconds > 0 ? static_cast<qint64>(seconds) : 0;
    const QString minSec =
        QStringLiteral("%1:%2")
            .arg(withHours ? (whole / 60) % 60 : whole / 60, withHours ? 2 : 1, 10, QLatin1Char('0'))
            .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return withHours ? QString::number(whole / 3600) + QLatin1Char(':') + minSec : minSec;
}
