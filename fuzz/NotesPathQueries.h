#pragma once

// The notes document read the literal way: one path query per value ("notes/note[i]/time",
// positions counted from 0), every match's text joined. Slow by design; it is the oracle the
// reader's one walk is held to, in the tests and under the fuzzer.
#include "NotesDocument.h"

#include <QString>

namespace pugi {
class xml_document;
}

namespace NotesPathQueries {

// Joined text of the nodes a path (positions counted from 0) selects under the root element: an
// element's text is all the text within it, an attribute's its value; a path that selects nothing,
// or a document without a root, gives the empty text. Raises XmlFailure for a path that is not valid.
QString elementGet(const pugi::xml_document& document, const QString& path);

// What the reader should find, by queries: the rows are capped as the reader caps them.
NotesContent content(const pugi::xml_document& document);

} // namespace NotesPathQueries
