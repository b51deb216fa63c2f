// A media file name as a disc may hold it (any bytes) to the catalogue's row: location, date, start,
// channels, video. The row must never fail the scan and must agree with the clock about the start.
#include "FuzzSupport.h"
#include "Platform.h"
#include "RecordingStart.h"
#include "SessionDiscovery.h"
#include "TimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray name(reinterpret_cast<const char*>(data), qsizetype(size));
    isMediaFileName(name);
    FuzzLog log;
    const SessionData record = GetSessionData(log, "/disc", name);
    const bool startLogged = log.lines > 0;

    FUZZ_CHECK(record.FileBytes == name && record.path() == "/disc/" + name);
    FUZZ_CHECK(record.Filename == displayFileName(name), record.Filename);
    FUZZ_CHECK(!record.Location.contains(QLatin1Char('_')) && !record.SessionDate.contains(QLatin1Char('_')),
               record.Location, record.SessionDate);
    FUZZ_CHECK(record.Channels == 0 || record.Channels == 2 || record.Channels == 4);
    // The video flag is read only from a name that has its location and date fields.
    const bool hasFields = !record.Location.isEmpty() && record.Filename.count(QLatin1Char('_')) >= 2;
    FUZZ_CHECK(record.Video ==
               (hasFields && record.Filename.endsWith(QLatin1String("wmv"), Qt::CaseInsensitive)));
    const QString shownStart = SecondsToTime(log, record.StartSeconds, QStringLiteral("hh:mm:ss AMPM"));
    FUZZ_CHECK(shownStart.size() == 11, shownStart);

    // A name the catalogue reads a date from is one the clock reads the same date from, and where
    // the clock finds a start, the row shows that same time of day, unless the row's count did not fit
    // (logged, shown as 0) while the clock's, a day less, does.
    if (record.SessionDate.isEmpty())
        return 0;
    FUZZ_CHECK(GetStartDate(record.Filename) == record.SessionDate, GetStartDate(record.Filename));
    const std::optional<QDateTime> start = record.RecordingStart;
    FUZZ_CHECK(start == RecordingStart::fromFilename(record.Filename));
    if (start && !startLogged) {
        const QString clockStart = start->time().toString(QStringLiteral("hh:mm:ss AP"));
        FUZZ_CHECK(clockStart == shownStart, record.Filename, clockStart, shownStart);
    }
    return 0;
}
