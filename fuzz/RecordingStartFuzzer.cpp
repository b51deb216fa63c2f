// The recording start and date a media file name carries, and the date and time-of-day texts a note
// or a recorder writes. Input: the file name, then after the first line break a note's time (without
// one, the whole text is both).
#include "FuzzSupport.h"
#include "QuillonError.h"
#include "RecordingStart.h"
#include "TimeText.h"

namespace {
void checkDate(const QString& text) {
    const std::optional<QDate> date = parseDate(text);
    if (!date)
        return;
    FUZZ_CHECK(date->isValid(), text);
    // What the recorder wrote reads back as the same day once written out plainly.
    const QString written = date->toString(QStringLiteral("MM-dd-yyyy"));
    FUZZ_CHECK(parseDate(written) == date, text, written);
}

void checkTimeOfDay(const QString& text) {
    const std::optional<QTime> time = parseTimeOfDay(text);
    checkNoteTimeText(text);
    try {
        FuzzLog log;
        const qint32 seconds = TimeToSeconds(log, text);
        FUZZ_CHECK(time && seconds == time->msecsSinceStartOfDay() / 1000, text);
    } catch (const QuillonError& error) {
        FUZZ_CHECK(!time && error.Number == ErrNo::TypeMismatch, text, error.Description);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
    const QString name = lineBreak < 0 ? text : text.left(lineBreak);
    const QString noteTime = lineBreak < 0 ? text : text.mid(lineBreak + 1);

    const qint32 seconds = GetStartSeconds(name);
    const QString dateText = GetStartDate(name);
    FUZZ_CHECK(!dateText.contains(QLatin1Char('_')), name, dateText);
    checkDate(dateText);
    checkDate(noteTime);
    checkTimeOfDay(noteTime);

    const std::optional<QDateTime> start = RecordingStart::fromFilename(name);
    if (!start)
        return 0;
    FUZZ_CHECK(seconds != -1 && start->isValid() && start->date() == parseDate(dateText), name);
    FUZZ_CHECK(start->time().toString(QStringLiteral("hh:mm:ss")) == clockText(seconds, false), name);
    // A note lies within the day that follows the start, and playing from it shows its time of day.
    if (const std::optional<qint64> position = RecordingStart::notePosition(*start, noteTime)) {
        FUZZ_CHECK(*position >= 0 && *position < 86400, name, noteTime, QString::number(*position));
        const QDateTime shown = RecordingStart::recordedAt(*start, double(*position));
        FUZZ_CHECK(shown.time() == parseTimeOfDay(noteTime), name, noteTime, shown.toString());
    }
    return 0;
}
