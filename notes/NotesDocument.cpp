#include "NotesDocument.h"

#include "ErrorHandling.h"
#include "Platform.h"
#include "TimeText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

// The parser's memory, counted so one load can be held to a budget. Installed before main, so
// every block the parser ever frees came from here.
struct TreeBudget {
    size_t used = 0;
    size_t limit = SIZE_MAX;
};
TreeBudget treeBudget;
qint64 maxTreeBytes = NotesDocument::MaxTreeBytes;
constexpr size_t kBlockHeader = alignof(std::max_align_t);

void* budgetedAllocate(size_t size) {
    if (size > treeBudget.limit || treeBudget.used > treeBudget.limit - size)
        return nullptr; // the parser reports "out of memory" and the load fails cleanly
    auto* block = static_cast<unsigned char*>(std::malloc(size + kBlockHeader));
    if (!block)
        return nullptr;
    std::memcpy(block, &size, sizeof size);
    treeBudget.used += size;
    return block + kBlockHeader;
}

void budgetedDeallocate(void* pointer) {
    if (!pointer)
        return;
    unsigned char* block = static_cast<unsigned char*>(pointer) - kBlockHeader;
    size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    treeBudget.used -= size;
    std::free(block);
}

[[maybe_unused]] const bool budgetInstalled = [] {
    pugi::set_memory_management_functions(budgetedAllocate, budgetedDeallocate);
    return true;
}();

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

bool usableName(const QByteArray& name) {
    return !name.contains('/') && !name.contains('\0');
}

} // namespace

void NotesDocument::setMaxTreeBytesForTests(qint64 bytes) {
    maxTreeBytes = bytes > 0 ? bytes : MaxTreeBytes;
}

NotesDocument::NotesDocument() : m_document(std::make_unique<pugi::xml_document>()) {}
NotesDocument::~NotesDocument() = default;

std::optional<QByteArray> NotesDocument::dropLastCharacters(const QByteArray& name, int n) {
    qsizetype end = name.size();
    for (int i = 0; i < n; ++i) {
        if (end == 0)
            return std::nullopt;
        // One character back: a whole UTF-8 sequence when the bytes form one, else one byte.
        qsizetype start = end - 1;
        const auto byteAt = [&](qsizetype k) { return static_cast<unsigned char>(name[k]); };
        if (byteAt(start) >= 0x80) {
            qsizetype lead = start;
            while (lead > 0 && lead > end - 4 && (byteAt(lead) & 0xC0) == 0x80)
                --lead;
            const unsigned char b = byteAt(lead);
            const qsizetype length = b >= 0xF0 && b <= 0xF4  ? 4
                                     : b >= 0xE0 && b < 0xF0 ? 3
                                     : b >= 0xC2 && b < 0xE0 ? 2
                                                             : 0;
            if (length == end - lead)
                start = lead;
        }
        end = start;
    }
    return name.left(end);
}

QList<QByteArray> NotesDocument::candidatePaths(const QByteArray& folder, const QByteArray& mediaName) {
    QList<QByteArray> paths;
    const auto add = [&](const std::optional<QByteArray>& stem, const char* suffix) {
        if (stem && usableName(*stem))
            paths << folder + '/' + *stem + suffix;
    };
    add(dropLastCharacters(mediaName, 3), "xml");
    add(dropLastCharacters(mediaName, 6), ".xml");
    return paths;
}

std::optional<QByteArray> NotesDocument::findFor(const QByteArray& folder, const QByteArray& mediaName) {
    for (const QByteArray& path : candidatePaths(folder, mediaName)) {
        struct stat info {};
        if (::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            return path;
    }
    return std::nullopt;
}

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
    const qint64 budget = std::min<qint64>(maxTreeBytes, TreeBytesPerFileByte * qint64(size) + (64 << 20));
    treeBudget.limit = treeBudget.used + static_cast<size_t>(budget);
    const pugi::xml_parse_result result =
        m_document->load_buffer_inplace_own(buffer, size, kParseOptions, pugi::encoding_auto);
    treeBudget.limit = SIZE_MAX;
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

QString NotesDocument::elementGet(const QString& path) const {
    return notesElementGet(*m_document, path);
}

QString noteTimeText(const QString& time) {
    // h:mm:ss or hh:mm:ss, then nothing or " AM" / " PM" in capitals; anything else goes the long way.
    const qsizetype n = time.size();
    const auto digit = [&](qsizetype i) {
        return i < n && time[i] >= QLatin1Char('0') && time[i] <= QLatin1Char('9');
    };
    const auto value = [&](qsizetype i) { return time[i].unicode() - '0'; };
    qsizetype i = 0;
    int h = 0;
    if (digit(0) && digit(1)) {
        h = value(0) * 10 + value(1);
        i = 2;
    } else if (digit(0)) {
        h = value(0);
        i = 1;
    }
    const bool clock = i > 0 && i + 6 <= n && time[i] == QLatin1Char(':') && digit(i + 1) && digit(i + 2) &&
                       time[i + 3] == QLatin1Char(':') && digit(i + 4) && digit(i + 5);
    if (!clock)
        return formatTimeAmPm(time);
    const int m = value(i + 1) * 10 + value(i + 2);
    const int s = value(i + 4) * 10 + value(i + 5);
    i += 6;
    if (i + 3 == n && time[i] == QLatin1Char(' ') && time[i + 2] == QLatin1Char('M') &&
        (time[i + 1] == QLatin1Char('A') || time[i + 1] == QLatin1Char('P'))) {
        if (h < 1 || h > 12)
            return time;
        h = h % 12 + (time[i + 1] == QLatin1Char('P') ? 12 : 0);
    } else if (i != n) {
        return formatTimeAmPm(time);
    }
    if (h > 23 || m > 59 || s > 59)
        return time;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    const char16_t text[] = {char16_t(u'0' + h12 / 10),
                             char16_t(u'0' + h12 % 10),
                             u':',
                             char16_t(u'0' + m / 10),
                             char16_t(u'0' + m % 10),
                             u':',
                             char16_t(u'0' + s / 10),
                             char16_t(u'0' + s % 10),
                             u' ',
                             h < 12 ? u'A' : u'P',
                             u'M'};
    return QString(reinterpret_cast<const QChar*>(text), 11);
}

QString shownText(const QString& text) {
    if (text.size() <= MaxShownChars)
        return text;
    qsizetype cut = MaxShownChars - 1;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString zeroBasedPathToXPath(const QString& path) {
    QString out;
    out.reserve(path.size() + 8);
    QChar quote;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            // A predicate that is a plain whole number is a position: shift it by one.
            const qsizetype close = path.indexOf(QLatin1Char(']'), i + 1);
            if (close > i) {
                const QString inner = path.mid(i + 1, close - i - 1).trimmed();
                bool isNumber = !inner.isEmpty() && inner.size() <= 18;
                for (const QChar d : inner)
                    isNumber = isNumber && d >= QLatin1Char('0') && d <= QLatin1Char('9');
                if (isNumber) {
                    out += QLatin1Char('[') + QString::number(inner.toLongLong() + 1) + QLatin1Char(']');
                    i = close;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

QString notesElementGet(const pugi::xml_document& document, const QString& path) {
    const pugi::xml_node root = document.document_element();
    if (path.isEmpty() || path == QLatin1String("/")) {
        if (!root)
            return {};
        std::string text;
        for (const pugi::xml_node child : root.children())
            appendTextContent(child, text);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    if (!root)
        return {};
    try {
        const QByteArray xpath = zeroBasedPathToXPath(path).toUtf8();
        const pugi::xpath_query query(xpath.constData());
        if (query.return_type() != pugi::xpath_type_node_set)
            return QString::fromUtf8(query.evaluate_string(pugi::xpath_node(root)).c_str());
        pugi::xpath_node_set nodes = query.evaluate_node_set(pugi::xpath_node(root));
        nodes.sort();
        std::string text;
        for (const pugi::xpath_node& node : nodes) {
            if (node.attribute())
                text += node.attribute().value();
            else
                appendTextContent(node.node(), text);
        }
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    } catch (const pugi::xpath_exception& e) {
        raiseError(ErrNo::XmlFailure, QStringLiteral("XPath error in \"%1\": %2 at offset %3")
                                          .arg(path, QString::fromUtf8(e.result().description()))
                                          .arg(e.result().offset));
    }
}
