// A notes document as a disc may hold it (any bytes) through the reader: the notes, header items,
// duration, started and finished, each note's time through the list's formatter. The tree's budget is
// held small first, so refusals by memory are met as often as parses.
#include "FuzzSupport.h"
#include "NotesDocument.h"
#include "TimeText.h"

namespace {
constexpr qint64 kSmallBudget = 40 * 1024; // a page and a bit of the parser's tree

void checkShown(const QString& text) {
    const QString shown = shownText(text);
    FUZZ_CHECK(shown.size() <= MaxShownChars && text.startsWith(shown.left(shown.size() - 1)), text);
}

void checkContent(const NotesContent& content) {
    FUZZ_CHECK(content.notes.size() == std::min(content.notesFound, NotesDocument::MaxNoteRows));
    FUZZ_CHECK(content.items.size() == std::min(content.itemsFound, NotesDocument::MaxItemRows));
    for (const NoteEntry& note : content.notes) {
        checkNoteTimeText(note.time);
        checkShown(note.speaker);
        checkShown(note.text);
    }
    for (const HeaderEntry& item : content.items) {
        checkShown(item.name);
        checkShown(item.value);
    }
    for (const QString& text : {content.duration, content.started, content.finished})
        checkShown(text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto refusedByBudget = [](const NotesDocument& document) {
        return document.errorText().contains(QLatin1String("memory"), Qt::CaseInsensitive);
    };
    NotesDocument small(kSmallBudget);
    NotesDocument full;
    const bool refused = !small.loadBytes(bytes) && refusedByBudget(small);
    // A refusal by the budget leaves nothing behind: the same bytes load under the full budget.
    const NotesDocument& document = refused ? full : small;
    if (refused)
        FUZZ_CHECK(full.loadBytes(bytes) || !refusedByBudget(full), full.errorText());
    if (!document.isLoaded()) {
        FUZZ_CHECK(!document.errorText().isEmpty());
        return 0;
    }
    checkContent(document.content());
    return 0;
}
