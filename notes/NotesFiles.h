#pragma once

// Which file holds the notes of a media file: names are exact bytes, as a disc carries them.
#include <QByteArray>
#include <QList>
#include <optional>

namespace NotesFiles {

// The file names tried for a media file, in order: the name with its last 3 characters
// replaced by "xml", then the name without its last 6 characters plus ".xml". A cut that
// is not possible, or that leaves no usable name, is left out.
QList<QByteArray> candidatePaths(const QByteArray& folder, const QByteArray& mediaName);

// The first candidate that exists as an ordinary file (a directory does not count).
std::optional<QByteArray> findFor(const QByteArray& folder, const QByteArray& mediaName);

// The name with its last n characters removed; UTF-8 sequences count as one character,
// any other byte as one. Empty when the name is shorter than n characters.
std::optional<QByteArray> dropLastCharacters(const QByteArray& name, int n);

} // namespace NotesFiles
