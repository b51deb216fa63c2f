#pragma once

// The notes document read the literal way: one path query per value ("notes/note[i]/time",
// positions counted from 0), every match's text joined. Slow by design; it is the oracle the
// reader's one walk is held to under the fuzzer.
#include <QString>

namespace pugi {
class xml_document;
}

namespace NotesPathQueries {

// Joined text of the nodes a path (positions counted from 0) selects under the root element: an
// element's text is all the text within it, an attribute's its value; a path that selects nothing,
// or a document without a root, gives the empty text. Raises XmlFailure for a path that is not valid.
QString elementGet(const pugi::xml_document& document, const QString& path);

} // namespace NotesPathQueries
