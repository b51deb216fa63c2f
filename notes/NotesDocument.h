#pragma once

// The notes document reader (pure: file in, rows out). No widgets, no log: the caller decides
// what a failure means.
#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace pugi {
class xml_document;
}

// One note as the notes list shows it; texts exactly as read (time not yet formatted).
struct NoteEntry {
    QString time;
    QString speaker;
    QString text;
};

// One header item: a free label and its value.
struct HeaderEntry {
    QString name;
    QString value;
};

// Everything the player takes from one document.
struct NotesContent {
    QList<NoteEntry> notes;   // at most MaxNoteRows, the first ones
    QList<HeaderEntry> items; // at most MaxItemRows, the first ones
    qsizetype notesFound = 0; // all notes and items the document holds
    qsizetype itemsFound = 0;
    QString duration;
    QString started;
    QString finished;
};

class NotesDocument {
  public:
    NotesDocument();
    ~NotesDocument();
    NotesDocument(const NotesDocument&) = delete;
    NotesDocument& operator=(const NotesDocument&) = delete;

    // Ceilings that keep a hostile document from holding the window for long or eating the
    // memory: a session's notes run to thousands, its header items to a handful.
    static constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;
    static constexpr qsizetype MaxNoteRows = 500'000;
    static constexpr qsizetype MaxItemRows = 50'000;
    // The parsed tree may take this many times the file's size, and never more than MaxTreeBytes.
    static constexpr qint64 TreeBytesPerFileByte = 8;
    static constexpr qint64 MaxTreeBytes = qint64(512) * 1024 * 1024;
    // Tests hold the tree to a smaller ceiling; 0 restores MaxTreeBytes.
    static void setMaxTreeBytesForTests(qint64 bytes);

    // The file names tried for a media file, in order: the name with its last 3 characters
    // replaced by "xml", then the name without its last 6 characters plus ".xml". A cut that
    // is not possible, or that leaves no usable name, is left out.
    static QList<QByteArray> candidatePaths(const QByteArray& folder, const QByteArray& mediaName);
    // The first candidate that exists as an ordinary file (a directory does not count).
    static std::optional<QByteArray> findFor(const QByteArray& folder, const QByteArray& mediaName);
    // The name with its last n characters removed; UTF-8 sequences count as one character,
    // any other byte as one. Empty when the name is shorter than n characters.
    static std::optional<QByteArray> dropLastCharacters(const QByteArray& name, int n);

    // Reads and parses a file; false with errorText() when it cannot be read or does not parse.
    bool loadFile(const QByteArray& path);
    // Parses a document held in memory (encoding found by byte-order mark or declaration).
    bool loadBytes(const QByteArray& data);

    bool isLoaded() const { return m_loaded; }
    // Why the last load failed: the parser's message and the byte offset, or the system's.
    QString errorText() const { return m_error; }
    const pugi::xml_document& document() const { return *m_document; }

    // The notes, header items and texts in one walk over the tree; the same rows as the
    // per-note queries "notes/note[i]/time" and so on would give.
    NotesContent content() const;

    // Joined text of the nodes a path selects under the root element. Numeric positions in
    // the path count from 0; the empty path and "/" give the root's children; a path that
    // selects nothing gives the empty text. Raises XmlFailure for a path that is not valid.
    QString elementGet(const QString& path) const;

  private:
    bool parse(void* buffer, size_t size);

    std::unique_ptr<pugi::xml_document> m_document;
    bool m_loaded = false;
    QString m_error;
};

// The "Time" column text of a note: formatTimeAmPm's result, with the plain "13:05:09" and
// "1:05:09 PM" forms done without the general parser (a long document holds thousands).
QString noteTimeText(const QString& time);

// A list cell or label shows at most this many characters of a value, a longer one cut and
// ended with "…": painting a text costs time by its length, and a line holds far fewer.
constexpr qsizetype MaxShownChars = 4096;
QString shownText(const QString& text);

// Same query on any document: used by the player window's own ElementGet.
QString notesElementGet(const pugi::xml_document& document, const QString& path);
// An XPath with positions counted from 0 ("note[0]") turned into one counted from 1.
QString zeroBasedPathToXPath(const QString& path);
