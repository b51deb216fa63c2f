// The notes document reader on its own: file names, parsing, the rows and the query rules.
#include "NotesDocument.h"
#include "NotesFixtures.h"
#include "QuillonError.h"
#include "TimeText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>

using namespace NotesFixtures;

namespace {

struct CandidateCase {
    QByteArray media;
    QList<QByteArray> expected; // relative to the folder
};

class CandidateNames : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(CandidateNames, CutCharactersNotBytes) {
    QList<QByteArray> expected;
    for (const QByteArray& name : GetParam().expected)
        expected << "/disc/" + name;
    EXPECT_EQ(NotesDocument::candidatePaths("/disc", GetParam().media), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Media, CandidateNames,
    ::testing::Values(CandidateCase{"ABC_1.wmv", {"ABC_1.xml", "ABC.xml"}},
                      CandidateCase{"Room3_12-14-2009_34200_1.wma",
                                    {"Room3_12-14-2009_34200_1.xml", "Room3_12-14-2009_34200.xml"}},
                      // too short for the second cut, then for both
                      CandidateCase{"AB.wma", {"AB.xml", ".xml"}}, CandidateCase{"A.wma", {"A.xml"}},
                      CandidateCase{"wma", {"xml"}}, CandidateCase{"ab", {}}, CandidateCase{"", {}},
                      // a two-byte character counts as one; a stray byte counts as one
                      CandidateCase{"Salé_1.wmé", {"Salé_1.xml", "Salé.xml"}},
                      CandidateCase{"X\xe9_1.wm\xff", {"X\xe9_1.xml", "X\xe9.xml"}},
                      // a cut that would leave a path separator is no candidate
                      CandidateCase{"a/b_1.wma", {}}));

class NotesFiles : public ::testing::Test {
  protected:
    QByteArray folder() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& name, const QByteArray& bytes) { writeFile(folder() + "/" + name, bytes); }
    QTemporaryDir dir;
};

TEST_F(NotesFiles, FirstExistingOrdinaryFileWins) {
    EXPECT_FALSE(NotesDocument::findFor(folder(), "ABC_1.wmv"));

    write("ABC.xml", "<a/>");
    EXPECT_EQ(NotesDocument::findFor(folder(), "ABC_1.wmv"), folder() + "/ABC.xml");

    write("ABC_1.xml", "<a/>");
    EXPECT_EQ(NotesDocument::findFor(folder(), "ABC_1.wmv"), folder() + "/ABC_1.xml");
}

TEST_F(NotesFiles, DirectoryNamedLikeACandidateDoesNotCount) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ABC_1.xml")));
    EXPECT_FALSE(NotesDocument::findFor(folder(), "ABC_1.wmv"));
    write("ABC.xml", "<a/>");
    EXPECT_EQ(NotesDocument::findFor(folder(), "ABC_1.wmv"), folder() + "/ABC.xml");

    NotesDocument document; // and read directly, it fails cleanly
    EXPECT_FALSE(document.loadFile(folder() + "/ABC_1.xml"));
    EXPECT_TRUE(document.errorText().contains(QLatin1String("not an ordinary file")));
}

TEST_F(NotesFiles, BadFilesFailWithTheReason) {
    write("empty.xml", "");
    write("garbage.xml", QByteArray("\x00\x01\xff\xfe\x89PNG\r\n\x1a\n\x00\x00", 13));
    write("malformed.xml", "<session><notes><note></notes></session>");
    write("noroot.xml", "<?xml version='1.0'?><!-- nothing -->");
    struct Case {
        QByteArray name;
        const char* says;
    };
    for (const Case& c :
         {Case{"empty.xml", "offset 0"}, Case{"garbage.xml", "offset"}, Case{"malformed.xml", "mismatch"},
          Case{"noroot.xml", "No document element"}, Case{"missing.xml", "No such file"}}) {
        NotesDocument document;
        EXPECT_FALSE(document.loadFile(folder() + "/" + c.name)) << c.name.constData();
        EXPECT_FALSE(document.isLoaded());
        EXPECT_TRUE(document.errorText().contains(QLatin1String(c.says))) << qPrintable(document.errorText());
        EXPECT_TRUE(document.content().notes.isEmpty());
        EXPECT_EQ(document.elementGet(QStringLiteral("notes")), QString());
    }
}

TEST(NotesContentTest, ExampleDocument) {
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes(exampleDocument)) << qPrintable(document.errorText());
    const NotesContent content = document.content();
    ASSERT_EQ(content.notes.size(), 2);
    EXPECT_EQ(content.notes[0].time, QStringLiteral("09:31:10"));
    EXPECT_EQ(content.notes[0].speaker, QStringLiteral("Chair"));
    EXPECT_EQ(content.notes[0].text, QStringLiteral("Opening remarks"));
    EXPECT_EQ(content.notes[1].time, QStringLiteral("10:05:02 AM"));
    EXPECT_EQ(content.notes[1].text, QStringLiteral("Item 4 taken up"));
    ASSERT_EQ(content.items.size(), 2);
    EXPECT_EQ(content.items[0].name, QStringLiteral("Room"));
    EXPECT_EQ(content.items[0].value, QStringLiteral("Hall 2"));
    EXPECT_EQ(content.items[1].name, QStringLiteral("Recorder"));
    EXPECT_EQ(content.items[1].value, QStringLiteral("Unit 7"));
    EXPECT_EQ(content.duration, QStringLiteral("1:12:45"));
    EXPECT_EQ(content.started, QStringLiteral("9:30:00 AM"));
    EXPECT_EQ(content.finished, QStringLiteral("10:42:45 AM"));
}

TEST(NotesContentTest, AwkwardDocumentRows) {
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes(awkwardDocument)) << qPrintable(document.errorText());
    const NotesContent c = document.content();
    // Four notes over both notes elements; row i joins the i-th note of each.
    ASSERT_EQ(c.notes.size(), 4);
    EXPECT_EQ(c.notes[0].time, QStringLiteral("10:00:00x"));
    EXPECT_EQ(c.notes[0].speaker, QStringLiteral("ACD"));
    EXPECT_EQ(c.notes[0].text, QStringLiteral("onetwo"));
    EXPECT_EQ(c.notes[1].time, QString());
    EXPECT_EQ(c.notes[1].text, QStringLiteral("plain bold tail"));
    EXPECT_EQ(c.notes[2].speaker, QString());
    EXPECT_EQ(c.notes[2].text, QStringLiteral("<raw> & more"));
    EXPECT_EQ(c.notes[3].time + c.notes[3].speaker + c.notes[3].text, QString());
    ASSERT_EQ(c.items.size(), 4);
    EXPECT_EQ(c.items[0].name, QStringLiteral("abc"));
    EXPECT_EQ(c.items[0].value, QStringLiteral("13"));
    EXPECT_EQ(c.items[1].name, QString());
    EXPECT_EQ(c.items[1].value, QStringLiteral("2"));
    EXPECT_EQ(c.duration, QString()); // white space alone is no text to the parser
    EXPECT_EQ(c.started, QStringLiteral("s1s2"));
}

// The walk must give exactly what the per-note positional queries give.
TEST(NotesContentTest, WalkMatchesPositionalQueries) {
    const QByteArray outOfOrder = notesDocument({{"10:00:00", "B", "later"}, {"09:00:00", "A", "earlier"}});
    for (const QByteArray& xml :
         {exampleDocument, awkwardDocument, outOfOrder,
          QByteArray("<r><notes/><header><items/></header></r>"), QByteArray("<r/>")}) {
        NotesDocument document;
        ASSERT_TRUE(document.loadBytes(xml));
        const NotesContent c = document.content();
        const auto root = document.document().document_element();
        ASSERT_EQ(c.notes.size(), qsizetype(root.select_nodes("notes/note").size()));
        for (qsizetype i = 0; i < c.notes.size(); ++i) {
            const QString at = QStringLiteral("notes/note[%1]/").arg(i);
            EXPECT_EQ(c.notes[i].time, document.elementGet(at + QStringLiteral("time")));
            EXPECT_EQ(c.notes[i].speaker, document.elementGet(at + QStringLiteral("speaker")));
            EXPECT_EQ(c.notes[i].text, document.elementGet(at + QStringLiteral("text")));
        }
        ASSERT_EQ(c.items.size(), qsizetype(root.select_nodes("header/items/item").size()));
        for (qsizetype i = 0; i < c.items.size(); ++i) {
            const QString at = QStringLiteral("header/items/item[%1]/@").arg(i);
            EXPECT_EQ(c.items[i].name, document.elementGet(at + QStringLiteral("name")));
            EXPECT_EQ(c.items[i].value, document.elementGet(at + QStringLiteral("value")));
        }
        EXPECT_EQ(c.duration, document.elementGet(QStringLiteral("duration")));
        EXPECT_EQ(c.started, document.elementGet(QStringLiteral("started")));
        EXPECT_EQ(c.finished, document.elementGet(QStringLiteral("finished")));
    }
}

TEST(ElementGetTest, QueryRules) {
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes("<r>lead<a>1<b>2</b></a><a>3</a><c k='v'/>tail</r>"));
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"", "lead123tail"}, {"/", "lead123tail"}, {"a", "123"},      {"a[0]", "12"},
        {"a[1]", "3"},       {"a[ 1 ]", "3"},      {"a[2]", ""},      {"nothing", ""},
        {"c/@k", "v"},       {"a/b", "2"},         {"count(a)", "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(document.elementGet(QString::fromLatin1(c.path)), QString::fromLatin1(c.expected))
            << c.path;

    try {
        document.elementGet(QStringLiteral("a[[["));
        FAIL() << "an invalid path must raise";
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::XmlFailure);
        EXPECT_TRUE(e.Description.contains(QLatin1String("a[[[")));
    }
}

TEST(ElementGetTest, PositionsAreShiftedOnlyWhereTheyArePositions) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"notes/note[0]/time", "notes/note[1]/time"},
        {"a[9]/b[10]", "a[10]/b[11]"},
        {"a[@x='[0]']", "a[@x='[0]']"},
        {"a[last()]", "a[last()]"},
        {"a[position()=0]", "a[position()=0]"},
        {"a[\"]\"][0]", "a[\"]\"][1]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zeroBasedPathToXPath(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(EncodingTest, DocumentsReadRightInEveryEncodingTheParserKnows) {
    const QString speaker = QStringLiteral("Gisèle Müller");
    const QString xml =
        QStringLiteral("<s><notes><note><speaker>%1</speaker></note></notes></s>").arg(speaker);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"utf-8", xml.toUtf8()},
        {"utf-8 bom", "\xef\xbb\xbf" + xml.toUtf8()},
        {"utf-16le bom", utf16WithBom(xml, false)},
        {"utf-16be bom", utf16WithBom(xml, true)},
        {"iso-8859-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + xml.toLatin1()},
    };
    for (const auto& c : cases) {
        NotesDocument document;
        ASSERT_TRUE(document.loadBytes(c.bytes)) << c.name << ": " << qPrintable(document.errorText());
        const NotesContent content = document.content();
        ASSERT_EQ(content.notes.size(), 1) << c.name;
        EXPECT_EQ(content.notes[0].speaker, speaker) << c.name;
    }
}

TEST(SafetyTest, EntitiesAreNeitherExpandedNorFetched) {
    QByteArray bomb = "<?xml version='1.0'?>\n<!DOCTYPE s [\n<!ENTITY lol0 'lol'>\n";
    for (int i = 1; i <= 9; ++i)
        bomb += QStringLiteral("<!ENTITY lol%1 '").arg(i).toUtf8() +
                QStringLiteral("&lol%1;").arg(i - 1).toUtf8().repeated(10) + "'>\n";
    bomb += "<!ENTITY xxe SYSTEM 'file:///etc/passwd'>\n]>\n"
            "<s><notes><note><time>&lol9;</time><text>&xxe;&amp;&#65;</text></note></notes></s>";
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes(bomb)) << qPrintable(document.errorText());
    const NotesContent c = document.content();
    ASSERT_EQ(c.notes.size(), 1);
    EXPECT_EQ(c.notes[0].time, QStringLiteral("&lol9;"));
    EXPECT_EQ(c.notes[0].text, QStringLiteral("&xxe;&A"));
}

TEST(SafetyTest, DeepNestingDoesNotExhaustTheStack) {
    constexpr int depth = 200000;
    const QByteArray xml = "<s><notes><note><text>" + QByteArray("<i>").repeated(depth) + "x" +
                           QByteArray("</i>").repeated(depth) + "</text></note></notes></s>";
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes(xml));
    EXPECT_EQ(document.content().notes.value(0).text, QStringLiteral("x"));
    EXPECT_EQ(document.elementGet(QStringLiteral("notes/note[0]/text")), QStringLiteral("x"));
}

} // namespace

namespace {
// The quick path for plain clock texts must agree with the general one on every input.
TEST(NoteTimeTextTest, AgreesWithTheGeneralFormatting) {
    const char* inputs[] = {"09:31:10",
                            "9:31:10",
                            "00:15:00",
                            "12:15:00",
                            "23:59:59",
                            "24:00:00",
                            "25:61:00",
                            "10:60:00",
                            "10:00:60",
                            "10:05:02 AM",
                            "1:05:09 PM",
                            "12:00:00 AM",
                            "12:00:00 PM",
                            "00:10:00 AM",
                            "13:00:00 PM",
                            "10:05:02 am",
                            "10:05:02AM",
                            "10:05 AM",
                            "10:05",
                            " 10:05:02",
                            "10:05:02 ",
                            "10:05:02 PMX",
                            "123:00:00",
                            "1:2:3",
                            "12-14-2009 13:05:09",
                            "",
                            "garbage",
                            "10:05:02 A",
                            "10:05:02 P.M."};
    for (const char* input : inputs) {
        const QString text = QString::fromLatin1(input);
        EXPECT_EQ(noteTimeText(text), formatTimeAmPm(text)) << input;
    }
}
} // namespace

namespace {
TEST(SafetyTest, TreeHeldToItsBudget) {
    const QByteArray tiny = "<s>" + QByteArray("<a/>").repeated(50000) + "</s>"; // ~3 MB of nodes
    NotesDocument::setMaxTreeBytesForTests(1 << 20);
    NotesDocument document;
    EXPECT_FALSE(document.loadBytes(tiny));
    EXPECT_TRUE(document.errorText().contains(QLatin1String("memory"), Qt::CaseInsensitive))
        << qPrintable(document.errorText());
    NotesDocument::setMaxTreeBytesForTests(0);
    EXPECT_TRUE(document.loadBytes(tiny)) << qPrintable(document.errorText());
}

TEST(SafetyTest, RowsStopAtTheirCeilingAndTheTotalIsKept) {
    const qsizetype notes = NotesDocument::MaxNoteRows + 2;
    const qsizetype items = NotesDocument::MaxItemRows + 3;
    const QByteArray xml = "<s><header><items>" + QByteArray("<item name='n'/>").repeated(items) +
                           "</items></header><notes>" + QByteArray("<note/>").repeated(notes - 1) +
                           "<note><text>last</text></note></notes></s>";
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes(xml));
    const NotesContent c = document.content();
    EXPECT_EQ(c.notes.size(), NotesDocument::MaxNoteRows);
    EXPECT_EQ(c.notesFound, notes);
    EXPECT_EQ(c.items.size(), NotesDocument::MaxItemRows);
    EXPECT_EQ(c.itemsFound, items);
    EXPECT_EQ(c.items.back().name, QStringLiteral("n"));
}
} // namespace
