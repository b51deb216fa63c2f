#include "NotesDocument.h"

#include "ParseBudget.h"
#include "Platform.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// No DOCTYPE processing and no entities beyond the five predefined ones and character
// references: a document cannot make the reader fetch or expand anything.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_eol;

bool isText(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// Text of a node and all its descendants in document order; walks without recursion so a
// deeply nested document cannot exhaust the stack.
void appendTextContent(const pugi::xml_node& node, std::string& out) {
    if (node.type() != pugi::node_element && node.type() != pugi::node_document) {
        out += node.value();
        return;
    }
    pugi::xml_node current = node.first_child();
    while (current && current != node) {
        if (isText(current))
            out += current.value();
        if (pugi::xml_node child = current.first_child()) {
            current = child;
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
}

// The common case, an element holding one piece of text, without building a copy first.
QString textContent(const pugi::xml_node& node) {
    if (node.type() == pugi::node_element) {
        const pugi::xml_node first = node.first_child();
        if (!first)
            return {};
        if (isText(first) && !first.next_sibling())
            return QString::fromUtf8(first.value());
    }
    std::string text;
    appendTextContent(node, text);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void appendAttributes(const pugi::xml_node& element, const char* name, QString& out) {
    for (const pugi::xml_attribute attribute : element.attributes()) {
        if (std::strcmp(attribute.name(), name) == 0)
            out += QString::fromUtf8(attribute.value());
    }
}

qsizetype countElements(const pugi::xml_node& parent, const char* name) {
    qsizetype n = 0;
    for (const pugi::xml_node child : parent.children(name))
        n += child.type() == pugi::node_element ? 1 : 0;
    return n;
}

} // namespace

NotesDocument::NotesDocument(qint64 maxTreeBytes)
    : m_document(std::make_unique<pugi::xml_document>()), m_maxTreeBytes(maxTreeBytes) {}
NotesDocument::~NotesDocument() = default;

bool NotesDocument::loadFile(const QByteArray& path) {
    m_document->reset();
    m_loaded = false;
    const QString shown = displayFileName(path);
    const auto fail = [&](const QString& why) {
        m_error = QStringLiteral("Cannot read %1: %2").arg(shown, why);
        return false;
    };
    const auto systemError = [] { return QString::fromLocal8Bit(std::strerror(errno)); };

    // Non-blocking open: a FIFO put where the document should be must not stall the window.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return fail(systemError());
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(systemError());
    if (!S_ISREG(info.st_mode))
        return fail(QStringLiteral("not an ordinary file"));
    if (info.st_size > MaxFileBytes)
        return fail(QStringLiteral("file of %1 bytes is too large").arg(info.st_size));

    // The parser takes this buffer over, so the text is held once.
    const size_t size = static_cast<size_t>(info.st_size);
    void* buffer = pugi::get_memory_allocation_function()(size > 0 ? size : 1);
    if (!buffer)
        return fail(QStringLiteral("out of memory"));
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, static_cast<char*>(buffer) + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const QString why = systemError();
            pugi::get_memory_deallocation_function()(buffer);
            return fail(why);
        }
        if (n == 0)
            break; // the file shrank while being read: parse what is there
        done += static_cast<size_t>(n);
    }
    if (!parse(buffer, done)) {
        m_error = QStringLiteral("%1 in %2").arg(m_error, shown);
        return false;
    }
    return true;
}

bool NotesDocument::loadBytes(const QByteArray& data) {
    m_document->reset();
    m_loaded = false;
    void* buffer =
        pugi::get_memory_allocation_function()(data.size() > 0 ? static_cast<size_t>(data.size()) : 1);
    if (!buffer) {
        m_error = QStringLiteral("out of memory");
        return false;
    }
    std::memcpy(buffer, data.constData(), static_cast<size_t>(data.size()));
    return parse(buffer, static_cast<size_t>(data.size()));
}

bool NotesDocument::parse(void* buffer, size_t size) {
    // The document owns the buffer from here on, also when parsing fails.
    const qint64 budget = std::min<qint64>(m_maxTreeBytes, TreeBytesPerFileByte * qint64(size) + (64 << 20));
    pugi::xml_parse_result result;
    {
        const ParseBudget scope(static_cast<size_t>(std::max<qint64>(budget, 0)));
        result = m_document->load_buffer_inplace_own(buffer, size, kParseOptions, pugi::encoding_auto);
    }
    if (!result) {
        m_error = QStringLiteral("XML parse error: %1 at offset %2")
                      .arg(QString::fromUtf8(result.description()))
                      .arg(result.offset);
        m_document->reset();
        return false;
    }
    if (!m_document->document_element()) {
        m_error = QStringLiteral("XML parse error: No document element found at offset 0");
        m_document->reset();
        return false;
    }
    m_error.clear();
    m_loaded = true;
    return true;
}

NotesContent NotesDocument::content() const {
    NotesContent content;
    const pugi::xml_node root = m_document->document_element();
    if (!root)
        return content;

    // Every "notes" element and every "header/items" element in document order: a row i takes
    // the i-th note (item) of each of them, as the positional queries would.
    std::vector<pugi::xml_node> noteLists;
    std::vector<pugi::xml_node> itemLists;
    qsizetype noteCount = 0;
    qsizetype itemCount = 0;
    for (const pugi::xml_node child : root.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = child.name();
        if (std::strcmp(name, "notes") == 0) {
            noteLists.push_back(child);
            noteCount += countElements(child, "note");
        } else if (std::strcmp(name, "header") == 0) {
            for (const pugi::xml_node items : child.children("items")) {
                if (items.type() != pugi::node_element)
                    continue;
                itemLists.push_back(items);
                itemCount += countElements(items, "item");
            }
        } else if (std::strcmp(name, "duration") == 0) {
            content.duration += textContent(child);
        } else if (std::strcmp(name, "started") == 0) {
            content.started += textContent(child);
        } else if (std::strcmp(name, "finished") == 0) {
            content.finished += textContent(child);
        }
    }

    content.notesFound = noteCount;
    content.notes.resize(std::min(noteCount, MaxNoteRows));
    for (const pugi::xml_node& list : noteLists) {
        qsizetype i = 0;
        for (const pugi::xml_node note : list.children("note")) {
            if (note.type() != pugi::node_element)
                continue;
            if (i == content.notes.size())
                break;
            NoteEntry& row = content.notes[i++];
            for (const pugi::xml_node field : note.children()) {
                if (field.type() != pugi::node_element)
                    continue;
                const char* name = field.name();
                if (std::strcmp(name, "time") == 0)
                    row.time += textContent(field);
                else if (std::strcmp(name, "speaker") == 0)
                    row.speaker += textContent(field);
                else if (std::strcmp(name, "text") == 0)
                    row.text += textContent(field);
            }
        }
    }

    content.itemsFound = itemCount;
    content.items.resize(std::min(itemCount, MaxItemRows));
    for (const pugi::xml_node& list : itemLists) {
        qsizetype i = 0;
        for (const pugi::xml_node item : list.children("item")) {
            if (item.type() != pugi::node_element)
                continue;
            if (i == content.items.size())
                break;
            HeaderEntry& row = content.items[i++];
            appendAttributes(item, "name", row.name);
            appendAttributes(item, "value", row.value);
        }
    }
    return content;
}

QString shownText(const QString& text) {
    if (text.size() <= MaxShownChars)
        return text;
    qsizetype cut = MaxShownChars - 1;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}
