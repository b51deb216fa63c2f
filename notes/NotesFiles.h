#pragma once

// Which file holds the notes of a media file: names are exact bytes, as a disc carries them.
#include <QByteArray>
#include <QList>
#include <optional>

namespace NotesFiles {

// The names tried for a media file, in order: the name up to its last dot plus "xml"
// (ABC_1.wmv gives ABC_1.xml), then the part before its last "_" plus ".xml", the name all
// channels of a session share (ABC.xml). A name without a dot, or without a "_", gives no such
// candidate; nor does one that would hold a path separator.
QList<QByteArray> candidateNames(const QByteArray& mediaName);

// The full path of the first candidate that exists in the folder as an ordinary file, its name matched in any
// letter case (burned discs often carry upper-case names). Where several files differ from a
// candidate only in case, the exact name wins, else the first in byte order.
std::optional<QByteArray> findFirst(const QByteArray& folder, const QList<QByteArray>& candidates);

} // namespace NotesFiles
