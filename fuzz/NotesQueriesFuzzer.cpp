// Two readings of one document must agree: the one walk the player uses for its lists against the
// positional path queries ("notes/note[i]/time", "header/items/item[i]/@name", ...) on the same bytes.
#include "FuzzSupport.h"
#include "NotesDocument.h"
#include "NotesPathQueries.h"

namespace {
// Each query walks the whole tree; the first rows already meet every shape a row can take.
constexpr qsizetype kRowsCompared = 32;

QString query(const NotesDocument& document, const QString& path) {
    return NotesPathQueries::elementGet(document.document(), path);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NotesDocument document;
    if (!document.loadBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    const NotesContent content = document.content();

    for (const auto& [path, walked] : {std::pair{QStringLiteral("duration"), content.duration},
                                       {QStringLiteral("started"), content.started},
                                       {QStringLiteral("finished"), content.finished}}) {
        const QString queried = query(document, path);
        FUZZ_CHECK(queried == walked, path, queried, walked);
    }
    FUZZ_CHECK(query(document, QStringLiteral("count(notes/note)")).toLongLong() == content.notesFound);
    FUZZ_CHECK(query(document, QStringLiteral("count(header/items/item)")).toLongLong() ==
               content.itemsFound);

    for (qsizetype i = 0; i < std::min(content.notes.size(), kRowsCompared); ++i) {
        const NoteEntry& note = content.notes[i];
        for (const auto& [path, walked] : {std::pair{QStringLiteral("notes/note[%1]/time"), note.time},
                                           {QStringLiteral("notes/note[%1]/speaker"), note.speaker},
                                           {QStringLiteral("notes/note[%1]/text"), note.text}}) {
            const QString queried = query(document, path.arg(i));
            FUZZ_CHECK(queried == walked, path.arg(i), queried, walked);
        }
    }
    for (qsizetype i = 0; i < std::min(content.items.size(), kRowsCompared); ++i) {
        const HeaderEntry& item = content.items[i];
        for (const auto& [path, walked] :
             {std::pair{QStringLiteral("header/items/item[%1]/@name"), item.name},
              {QStringLiteral("header/items/item[%1]/@value"), item.value}}) {
            const QString queried = query(document, path.arg(i));
            FUZZ_CHECK(queried == walked, path.arg(i), queried, walked);
        }
    }
    return 0;
}
