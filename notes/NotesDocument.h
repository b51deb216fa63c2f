#pragma once

// The notes document reader (pure: file in, rows out). No widgets, no log: the caller decides
// what a failure means.
#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

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
    // Ceilings that keep a hostile document from holding the window for long or eating the
    // memory: a session's notes run to thousands, its header items to a handful.
    static constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;
    static constexpr qsizetype MaxNoteRows = 500'000;
    static constexpr qsizetype MaxItemRows = 50'000;
    // The parsed tree may take this many times the file's size, and never more than MaxTreeBytes.
    static constexpr qint64 TreeBytesPerFileByte = 8;
    static constexpr qint64 MaxTreeBytes = qint64(512) * 1024 * 1024;

    // The parsed tree may take at most maxTreeBytes (tests hold it to less).
    explicit NotesDocument(qint64 maxTreeBytes = MaxTreeBytes);
    ~NotesDocument();
    NotesDocument(const NotesDocument&) = delete;
    NotesDocument& operator=(const NotesDocument&) = delete;
    // Reads and parses a file; false with errorText() when it cannot be read or does not parse.
    bool loadFile(const QByteArray& path);
    // Parses a document held in memory (encoding found by byte-order mark or declaration).
    bool loadBytes(const QByteArray& data);

    bool isLoaded() const { return m_loaded; }
    // Why the last load failed: the parser's message and the byte offset, or the system's.
    QString errorText() const { return m_error; }
    const pugi::xml_document& document() const { return *m_document; }

    // The notes, header items and texts in one walk over the tree; the same rows as the
    // per-note path queries "notes/note[i]/time" and so on (positions from 0) would give.
    NotesContent content() const;

  private:
    bool parse(void* buffer, size_t size);

    std::unique_ptr<pugi::xml_document> m_document;
    qint64 m_maxTreeBytes;
    bool m_loaded = false;
    QString m_error;
};

// The text of raw UTF-8 from the tree, converted once; a byte-order mark at its start is kept as
// the character it is.
QString notesText(const char* utf8, qsizetype size);

// A list cell or label shows at most this many characters of a value, a longer one cut and
// ended with "…": painting a text costs time by its length, and a line holds far fewer.
constexpr qsizetype MaxShownChars = 4096;
QString shownText(const QString& text);
