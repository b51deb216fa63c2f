// The notes document reader on its own: file names, parsing, the query rules and bad input.
#include "NotesDocument.h"
#include "NotesFiles.h"
#include "ParseBudget.h"
#include "TestSupport.h"

#include <pugixml.hpp>

#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(NotesFiles, CandidateNames) {
    const std::pair<QByteArray, QList<QByteArray>> cases[] = {
        {"ABC_1.wmv", {"ABC_1.xml", "ABC.xml"}},
        {"Room3_12-14-2009_34200_1.wm", {"Room3_12-14-2009_34200_1.xml", "Room3_12-14-2009_34200.xml"}},
        {"X\xe9_1.w\xff", {"X\xe9_1.xml", "X\xe9.xml"}}, // names that are not UTF-8 keep their bytes
        {"A.b_c", {"A.xml", "A.b.xml"}},
        {"AB.wma", {"AB.xml"}}, // no "_": no shared name
        {"AB_1", {"AB.xml"}},   // no dot: no own name
        {"_1.wma", {"_1.xml", ".xml"}},
        {"a/b_1.wma", {}}, // a name that would name another folder is no candidate
    };
    for (const auto& [media, expected] : cases)
        EXPECT_EQ(NotesFiles::candidateNames(media), expected) << media.constData();
}

// Only ordinary files count, in any letter case, the exact name first and the candidates' order kept.
TEST(NotesFiles, FoundInAnyLetterCase) {
    const struct {
        QList<QByteArray> files; // a name ending in "/" is a folder
        QByteArray media;
        QByteArray found; // empty: none
    } cases[] = {
        {{"ABC_1.xml/", "ABC.xml"}, "ABC_1.wmv", "ABC.xml"},
        // The own name in any case before the shared one.
        {{"room3_1.Xml", "ROOM3.xml"}, "ROOM3_1.WMA", "room3_1.Xml"},
        {{"ABC_1.XML", "abc_1.xml", "ABC_1.xml"}, "ABC_1.wmv", "ABC_1.xml"}, // the exact name wins
        {{"abc_1.xml", "ABC_1.XML"}, "ABC_1.wmv", "ABC_1.XML"},              // else the first in byte order
        {{"ABC_1.XML/", "abc_1.xml"}, "ABC_1.wmv", "abc_1.xml"},             // a folder is passed over
        {{"SALÉ.XML"}, "salé_1.wma", "SALÉ.XML"},
        {{"X\xe9.XML"}, "x\xe9_1.wma", "X\xe9.XML"},
    };
    for (const auto& c : cases) {
        TemporaryFolder dir;
        for (const QByteArray& name : c.files)
            ASSERT_TRUE(name.endsWith('/') ? ::mkdir((dir.path + '/' + name).constData(), 0700) == 0
                                           : dir.write(name));
        const std::optional<QByteArray> found =
            NotesFiles::findFirst(dir.path, NotesFiles::candidateNames(c.media));
        EXPECT_EQ(found.value_or(QByteArray()), c.found.isEmpty() ? QByteArray() : dir.path + '/' + c.found)
            << c.media.constData();
    }
}

// Every encoding the parser knows; entities neither expanded nor fetched; deep nesting is safe.
TEST(NotesInput, EncodingsEntitiesAndDeepNesting) {
    const QString xml = QStringLiteral("<s><notes><note><speaker>Gisèle Müller</speaker></note></notes></s>");
    QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QByteArray bomb = "<?xml version='1.0'?>\n<!DOCTYPE s [\n<!ENTITY lol0 'lol'>\n";
    for (int i = 1; i <= 9; ++i)
        bomb += "<!ENTITY lol" + QByteArray::number(i) + " '" +
                ("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "'>\n";
    bomb += "<!ENTITY xxe SYSTEM 'file:///etc/passwd'>\n]>\n"
            "<s><notes><note><time>&lol9;</time><text>&xxe;&amp;&#65;</text></note></notes></s>";
    constexpr int depth = 200000;
    const QString speaker = QStringLiteral("|Gisèle Müller|");
    const std::pair<QByteArray, QString> cases[] = {
        {"\xef\xbb\xbf" + xml.toUtf8(), speaker},
        {le.encode(xml), speaker},
        {"<?xml version='1.0' encoding='ISO-8859-1'?>" + xml.toLatin1(), speaker},
        {bomb, QStringLiteral("&lol9;||&xxe;&A")},
        {"<s><notes><note><text>" + QByteArray("<i>").repeated(depth) + "x" +
             QByteArray("</i>").repeated(depth) + "</text></note></notes></s>",
         QStringLiteral("||x")}};
    for (const auto& [bytes, expected] : cases) {
        NotesDocument document;
        ASSERT_TRUE(document.loadBytes(bytes)) << qPrintable(document.errorText());
        const NoteEntry note = document.content().notes.value(0);
        EXPECT_EQ(note.time + '|' + note.speaker + '|' + note.text, expected)
            << bytes.left(8).toHex().constData();
    }
}

QStringList rowsOf(const NotesContent& c) {
    QStringList rows{c.duration + '|' + c.started + '|' + c.finished,
                     QStringLiteral("%1 notes").arg(c.notesFound)};
    for (const NoteEntry& note : c.notes)
        rows << note.time + '|' + note.speaker + '|' + note.text;
    return rows;
}

// Texts are joined as raw bytes and converted once: a byte-order mark opening a piece is a character,
// a character split across pieces is one; every notes list under the root counts, in document order.
// (The fuzzer holds the walk to the literal path queries on any input.)
TEST(NotesInput, PiecesJoinedAsTheirBytes) {
    const std::pair<QByteArray, QStringList> cases[] = {
        {"<s><notes><note><time>1</time><time>\xef\xbb\xbf"
         "2</time><text>\xef\xbb\xbfx</text></note></notes></s>",
         {"||", "1 notes", QStringLiteral("1\uFEFF2||\uFEFFx")}},
        {"<s><notes><note><text>\xc3</text><text>\xa9</text><speaker>\xc3<!---->\xa9<![CDATA[\xc3]]>\xa9"
         "</speaker></note></notes><duration>\xe2\x82</duration><duration>\xac</duration></s>",
         {QStringLiteral("\u20AC||"), "1 notes", QStringLiteral("|\u00E9\u00E9|\u00E9")}},
        {"<s><notes><note><time>a</time></note><note/><note><time>c</time></note></notes>"
         "<x><notes><note><time>z</time></note></notes></x>"
         "<notes><note><time>b</time></note></notes><notes/><notes><?note x?><note><speaker>d</speaker>"
         "</note></notes></s>",
         {"||", "5 notes", "ab|d|", "||", "c||", "||", "||"}},
    };
    for (const auto& [bytes, expected] : cases) {
        NotesDocument document;
        ASSERT_TRUE(document.loadBytes(bytes)) << qPrintable(document.errorText());
        EXPECT_EQ(rowsOf(document.content()), expected) << bytes.constData();
    }
}

// An element naming one attribute twice makes a damaged document, wherever it stands; one name
// under two prefixes is two attributes.
TEST(NotesInput, DuplicatedAttributeIsDamage) {
    const std::pair<QByteArray, bool> cases[] = {
        {"<s><header><items><item name='a' name='c'/></items></header></s>", false},
        {"<s><x><y p='1' q='2' r='3' s='4' t='5' u='6' v='7' w='8' p='9'/></x></s>", false},
        {"<s><header><items><item a:name='a' b:name='c' name='d'/></items></header></s>", true},
        {"<s><item name='a'/><item name='a'/></s>", true},
    };
    for (const auto& [bytes, loads] : cases) {
        NotesDocument document;
        EXPECT_EQ(document.loadBytes(bytes), loads) << bytes.constData();
        EXPECT_EQ(document.errorText().startsWith(QLatin1String("XML parse error: Duplicate attribute")),
                  !loads)
            << qPrintable(document.errorText());
    }
}

// A huge document is refused by its tree's size (the rows' ceilings are the window's test). A budget
// holds only while it lives, an inner one cannot lend more than the outer has left, and a tree built
// under a budget is freed after it safely (the sanitizer build watches the blocks).
TEST(NotesInput, TreeHeldToItsBudget) {
    const QByteArray many = "<s>" + QByteArray("<a/>").repeated(60000) + "</s>"; // ~3 MB of nodes
    NotesDocument small(1 << 20);
    EXPECT_FALSE(small.loadBytes(many));
    EXPECT_TRUE(small.errorText().contains(QLatin1String("memory"), Qt::CaseInsensitive));
    auto tree = std::make_unique<pugi::xml_document>();
    {
        ParseBudget outer(1 << 20);
        EXPECT_TRUE(tree->load_string("<s><a/><b/></s>"));
        ParseBudget inner(1 << 22);
        pugi::xml_document big;
        EXPECT_FALSE(big.load_string(many.constData()));
    }
    tree.reset();
    NotesDocument document;
    EXPECT_TRUE(document.loadBytes(many)) << qPrintable(document.errorText());
}

} // namespace
