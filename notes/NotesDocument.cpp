#include "NotesDocument.h"

#include "ParseBudget.h"
#include "Platform.h"
#include "ScopeGuard.h"

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

bool isElement(const pugi::xml_node& node, const char* name) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

pugi::xml_node nextElement(pugi::xml_node node, const char* name) {
    while (node && !isElement(node, name))
        node = node.next_sibling();
    return node;
}

// The next node in document order below top, or none at its end; no recursion, so a deeply nested
// document cannot exhaust the stack.
pugi::xml_node nextWithin(pugi::xml_node node, const pugi::xml_node& top) {
    if (pugi::xml_node child = node.first_child())
        return child;
    while (node != top && !node.next_sibling())
        node = node.parent();
    return node == top ? pugi::xml_node() : node.next_sibling();
}

// A value's raw pieces joined, then converted once, so a character split across two pieces
// stays one character. One piece, the usual case, is converted without a copy.
class RawText {
  public:
    void append(const char* piece) {
        if (*piece == '\0')
            return;
        if (m_pieces++ == 0)
            m_single = piece;
        else if (m_pieces == 2)
            m_joined.assign(m_single).append(piece);
        else
            m_joined.append(piece);
    }
    // Every piece of text within an element, in document order.
    void appendContent(const pugi::xml_node& element) {
        for (pugi::xml_node node = element.first_child(); node; node = nextWithin(node, element)) {
            if (isText(node))
                append(node.value());
        }
    }
    QString take() {
        const QString text = m_pieces == 0 ? QString()
                             : m_pieces == 1
                                 ? notesText(m_single, static_cast<qsizetype>(std::strlen(m_single)))
                                 : notesText(m_joined.data(), static_cast<qsizetype>(m_joined.size()));
        m_pieces = 0;
        m_joined.clear();
        return text;
    }

  private:
    const char* m_single = nullptr;
    std::string m_joined;
    int m_pieces = 0;
};

qsizetype countElements(const pugi::xml_node& parent, const char* name) {
    qsizetype n = 0;
    for (pugi::xml_node child = nextElement(parent.first_child(), name); child;
         child = nextElement(child.next_sibling(), name))
        ++n;
    return n;
}

// Row i joins the i-th element of each list, in document order, as the positional queries do.
// Lists run out at different rows; each is dropped once it has, so the rows cost what the
// elements do, however many lists there are.
struct NoteFields {
    RawText time, speaker, text;
    void operator()(const pugi::xml_node& note) {
        for (pugi::xml_node field = note.first_child(); field; field = field.next_sibling()) {
            if (isElement(field, "time"))
                time.appendContent(field);
            else if (isElement(field, "speaker"))
                speaker.appendContent(field);
            else if (isElement(field, "text"))
                text.appendContent(field);
        }
    }
    NoteEntry take() { return {time.take(), speaker.take(), text.take()}; }
};

struct ItemFields {
    RawText name, value;
    void operator()(const pugi::xml_node& item) {
        name.append(item.attribute("name").value());
        value.append(item.attribute("value").value());
    }
    HeaderEntry take() { return {name.take(), value.take()}; }
};

template <typename Row, typename Fill>
void fillRows(QList<Row>& rows, std::vector<pugi::xml_node> firsts, Fill& fill) {
    for (Row& row : rows) {
        if (firsts.empty())
            break;
        size_t kept = 0;
        for (pugi::xml_node& element : firsts) {
            fill(element);
            if (pugi::xml_node next = nextElement(element.next_sibling(), element.name()))
                firsts[kept++] = next;
        }
        firsts.resize(kept);
        row = fill.take();
    }
}

// An element that names one attribute twice is not well-formed XML, though the parser lets it
// through; the first such element, or none.
pugi::xml_node duplicateAttributeAt(const pugi::xml_node& root) {
    std::vector<const char*> names;
    for (pugi::xml_node node = root; node; node = nextWithin(node, root)) {
        if (node.type() != pugi::node_element || !node.first_attribute() ||
            !node.first_attribute().next_attribute())
            continue;
        names.clear();
        for (const pugi::xml_attribute attribute : node.attributes())
            names.push_back(attribute.name());
        std::sort(names.begin(), names.end(),
                  [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
        for (size_t i = 1; i < names.size(); ++i) {
            if (std::strcmp(names[i - 1], names[i]) == 0)
                return node;
        }
    }
    return {};
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
    const ScopeGuard closer([fd] { ::close(fd); });

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
                      .arg(QString::fromUtf8(result.description()), QString::number(result.offset));
        m_document->reset();
        return false;
    }
    const pugi::xml_node root = m_document->document_element();
    if (!root) {
        m_error = QStringLiteral("XML parse error: No document element found at offset 0");
        m_document->reset();
        return false;
    }
    if (const pugi::xml_node element = duplicateAttributeAt(root)) {
        m_error = QStringLiteral("XML parse error: Duplicate attribute in element <%1> at offset %2")
                      .arg(QString::fromUtf8(element.name()), QString::number(element.offset_debug()));
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

    // The first note of every "notes" element and the first item of every "header/items"
    // element, in document order; the texts of the root's own elements as they come.
    std::vector<pugi::xml_node> noteLists;
    std::vector<pugi::xml_node> itemLists;
    RawText duration, started, finished;
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (isElement(child, "notes")) {
            content.notesFound += countElements(child, "note");
            if (pugi::xml_node first = nextElement(child.first_child(), "note"))
                noteLists.push_back(first);
        } else if (isElement(child, "header")) {
            for (pugi::xml_node items = nextElement(child.first_child(), "items"); items;
                 items = nextElement(items.next_sibling(), "items")) {
                content.itemsFound += countElements(items, "item");
                if (pugi::xml_node first = nextElement(items.first_child(), "item"))
                    itemLists.push_back(first);
            }
        } else if (isElement(child, "duration")) {
            duration.appendContent(child);
        } else if (isElement(child, "started")) {
            started.appendContent(child);
        } else if (isElement(child, "finished")) {
            finished.appendContent(child);
        }
    }
    content.duration = duration.take();
    content.started = started.take();
    content.finished = finished.take();

    content.notes.resize(std::min(content.notesFound, MaxNoteRows));
    NoteFields notes;
    fillRows(content.notes, std::move(noteLists), notes);
    content.items.resize(std::min(content.itemsFound, MaxItemRows));
    ItemFields items;
    fillRows(content.items, std::move(itemLists), items);
    return content;
}

QString notesText(const char* utf8, qsizetype size) {
    // A byte-order mark inside a text is a character of it; the conversion would drop a leading one.
    if (size >= 3 && std::memcmp(utf8, "\xEF\xBB\xBF", 3) == 0)
        return QChar(0xFEFF) + QString::fromUtf8(utf8 + 3, size - 3);
    return QString::fromUtf8(utf8, size);
}

QString shownText(const QString& text) {
    if (text.size() <= MaxShownChars)
        return text;
    qsizetype cut = MaxShownChars - 1;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}
