#include "RecordingStart.h"

#include "ErrorHandling.h"
#include "Numbers.h"
#include "TimeText.h"

#include <QTimeZone>
#include <cmath>
#include <limits>

namespace {
// Field n (1-based) of a name whose fields are separated by "_"; empty when the name has fewer.
QStringView field(QStringView name, int n) {
    qsizetype begin = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype bar = name.indexOf(QLatin1Char('_'), begin);
        if (bar < 0)
            return {};
        begin = bar + 1;
    }
    const qsizetype end = name.indexOf(QLatin1Char('_'), begin);
    return name.mid(begin, end < 0 ? name.size() - begin : end - begin);
}

bool hasField(QStringView name, int n) {
    return name.count(QLatin1Char('_')) >= n - 1;
}

// Far beyond any recording; keeps a damaged position from leaving the calendar.
constexpr double kLongestRecording = 100.0 * 366 * 86400;

// A wall-clock time with no daylight saving: Qt 6.5 names UTC as a zone, older Qt as a time spec.
QDateTime utcDateTime(QDate date, QTime time) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QDateTime(date, time, QTimeZone::UTC);
#else
    return QDateTime(date, time, Qt::UTC);
#endif
}
} // namespace

qint32 GetStartSeconds(const QString& Filename) {
    qint32 result = 0;
    skipErrors([&] {
        const QStringView text = hasField(Filename, 3) ? field(Filename, 3) : QStringView();
        if (text.isEmpty()) {
            result = -1;
            return;
        }
        double value = numericValue(text);
        if (value > 86399)
            value -= 86400;
        value = roundHalfEven(value);
        if (!std::isfinite(value) || value < std::numeric_limits<qint32>::min() ||
            value > std::numeric_limits<qint32>::max())
            raiseError(ErrNo::Overflow, QStringLiteral("Overflow"));
        result = static_cast<qint32>(value);
    });
    return result;
}

QString GetStartDate(const QString& Filename) {
    QString result;
    skipErrors([&] {
        if (hasField(Filename, 2))
            result = field(Filename, 2).toString();
    });
    return result;
}

namespace RecordingStart {

std::optional<QDateTime> fromFilename(const QString& filename) {
    const qint32 seconds = GetStartSeconds(filename);
    if (seconds == -1)
        return std::nullopt;
    const std::optional<QDate> date = parseDate(GetStartDate(filename));
    if (!date)
        return std::nullopt;
    // Taken modulo one day, as the catalogue shows a start, so both agree on odd counts.
    const QTime time = QTime::fromString(clockText(seconds, false), QStringLiteral("hh:mm:ss"));
    if (!time.isValid())
        return std::nullopt;
    return utcDateTime(*date, time);
}

QDateTime recordedAt(const QDateTime& start, double position) {
    double whole = std::isfinite(position) && position > 0 ? std::floor(position) : 0.0;
    whole = std::min(whole, kLongestRecording);
    return start.addSecs(static_cast<qint64>(whole));
}

std::optional<qint64> notePosition(const QDateTime& start, const QString& noteTime) {
    const std::optional<QTime> time = parseTimeOfDay(noteTime);
    if (!time)
        return std::nullopt;
    QDateTime note = utcDateTime(start.date(), *time);
    qint64 seconds = start.secsTo(note);
    if (seconds < 0) {
        // Written after midnight: the note belongs to the next day.
        note = note.addDays(1);
        seconds = start.secsTo(note);
    }
    return seconds;
}

} // namespace RecordingStart
