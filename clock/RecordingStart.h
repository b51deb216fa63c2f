#pragma once

// The recording start carried by a media file name, and the recorded time of day it leads to.
// Names look like Room3_12-14-2009_34200_1.wma: location, date, start seconds, group.
#include <QDateTime>
#include <QString>
#include <optional>

// Start time of day in seconds from the name's third field; -1 when there is none. One day is taken
// off a value past the last second of the day (once only). Never fails: a value beyond 32 bits gives 0.
qint32 GetStartSeconds(const QString& Filename);

// The name's second field, the recording date as written; empty when there is none. Never fails.
QString GetStartDate(const QString& Filename);

namespace RecordingStart {

// Date and time of day at which the file's recording began; empty when the name carries no start
// time or its date is not a date. The value is a plain wall-clock reading: no time zone, no DST.
std::optional<QDateTime> fromFilename(const QString& filename);

// The recorded time of day at a play position: the start plus the position in whole seconds, cut
// like the player's own elapsed time. Positions before the start or not finite count as 0.
QDateTime recordedAt(const QDateTime& start, double position);

// Play position, in whole seconds, of a note written at the given time of day ("02:15:30 PM"): the note
// lies on the recording date, or on the day after when that would put it before the start. Empty
// when the text is not a time of day.
std::optional<qint64> notePosition(const QDateTime& start, const QString& noteTime);

} // namespace RecordingStart
