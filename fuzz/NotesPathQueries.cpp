#include "NotesPathQueries.h"

#include "NotesDocument.h"
#include "QuillonError.h"

#include <pugixml.hpp>

#include <QRegularExpression>

#include <string>

namespace NotesPathQueries {
namespace {

// Text of a node and all its descendants in document order, raw bytes; iterative, so deep
// nesting is safe. A node that is not an element gives its own value.
void appendTextContent(const pugi::xml_node& node, std::string& out) {
    if (node.type() != pugi::node_element) {
        out += node.value();
        return;
    }
    for (pugi::xml_node current = node.first_child(); current && current != node;) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
            out += current.value();
        if (pugi::xml_node child = current.first_child()) {
            current = child;
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current != node)
            current = current.next_sibling();
    }
}

QString text(const std::string& utf8) {
    return notesText(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Positions counted from 0 ("note[0]") turned into XPath's, counted from 1.
QString zeroBasedPathToXPath(const QString& path) {
    static const QRegularExpression position(QStringLiteral("\\[(\\d{1,18})\\]"));
    QString out;
    qsizetype from = 0;
    for (auto it = position.globalMatch(path); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += path.mid(from, m.capturedStart() - from) +
               QStringLiteral("[%1]").arg(m.captured(1).toLongLong() + 1);
        from = m.capturedEnd();
    }
    return out + path.mid(from);
}

} // namespace

QString elementGet(const pugi::xml_document& document, const QString& path) {
    const pugi::xml_node root = document.document_element();
    if (!root)
        return {};
    std::string joined;
    try {
        const QByteArray xpath = zeroBasedPathToXPath(path).toUtf8();
        const pugi::xpath_query query(xpath.constData());
        if (query.return_type() != pugi::xpath_type_node_set)
            return text(query.evaluate_string(pugi::xpath_node(root)));
        pugi::xpath_node_set nodes = query.evaluate_node_set(pugi::xpath_node(root));
        nodes.sort();
        for (const pugi::xpath_node& node : nodes) {
            if (node.attribute())
                joined += node.attribute().value();
            else
                appendTextContent(node.node(), joined);
        }
        return text(joined);
    } catch (const pugi::xpath_exception& e) {
        raiseError(ErrNo::XmlFailure, QStringLiteral("XPath error in \"%1\": %2 at offset %3")
                                          .arg(path, QString::fromUtf8(e.result().description()))
                                          .arg(e.result().offset));
    }
}

} // namespace NotesPathQueries
