// The notes document reader on its own: file names, parsing, the query rules and bad input.
#include "NotesDocument.h"
#include "QuillonError.h"
#include "TimeText.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(NotesFiles, CandidatesCutCharactersNotBytes) {
    const struct {
        QByteArray media;
        QList<QByteArray> expected;
    } cases[] = {
        {"ABC_1.wmv", {"/disc/ABC_1.xml", "/disc/ABC.xml"}},
        {"AB.wma", {"/disc/AB.xml", "/disc/.xml"}}, // too short for the second cut, then for both
        {"A.wma", {"/disc/A.xml"}},
        {"ab", {}},
        {"Salé_1.wmé", {"/disc/Salé_1.xml", "/disc/Salé.xml"}},       // a two-byte character counts as one
        {"X\xe9_1.wm\xff", {"/disc/X\xe9_1.xml", "/disc/X\xe9.xml"}}, // and so does a stray byte
        {"a/b_1.wma", {}}, // a cut that would leave a path separator is no candidate
    };
    for (const auto& c : cases)
        EXPECT_EQ(NotesDocument::candidatePaths("/disc", c.media), c.expected) << c.media.constData();
}

// Empty, binary and malformed files are met through the window's own tests.
TEST(NotesFiles, FirstExistingOrdinaryFileWins) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    EXPECT_FALSE(NotesDocument::findFor(folder, "ABC_1.wmv"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ABC_1.xml"))); // a directory does not count
    EXPECT_FALSE(NotesDocument::findFor(folder, "ABC_1.wmv"));
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("ABC.xml"))).open(QIODevice::WriteOnly));
    EXPECT_EQ(NotesDocument::findFor(folder, "ABC_1.wmv"), folder + "/ABC.xml");
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("X_1.xml"))).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("X.xml"))).open(QIODevice::WriteOnly));
    EXPECT_EQ(NotesDocument::findFor(folder, "X_1.wmv"), folder + "/X_1.xml");
}

TEST(NotesQueries, PathsAreZeroBasedAndAnInvalidOneRaises) {
    NotesDocument document;
    ASSERT_TRUE(document.loadBytes("<r>lead<a>1<b>2</b></a><a>3</a><c k='v'/>tail</r>"));
    for (const auto& [path, expected] : {std::pair{"", "lead123tail"},
                                         {"a", "123"},
                                         {"a[0]", "12"},
                                         {"a[ 1 ]", "3"},
                                         {"a[2]", ""},
                                         {"c/@k", "v"},
                                         {"count(a)", "2"}})
        EXPECT_EQ(document.elementGet(QString::fromLatin1(path)), QString::fromLatin1(expected)) << path;
    // Only positions shift: not predicates, quoted text or functions.
    for (const auto& [in, out] : {std::pair{"a[9]/b[10]", "a[10]/b[11]"},
                                  {"a[@x='[0]']", "a[@x='[0]']"},
                                  {"a[\"]\"][0]", "a[\"]\"][1]"}})
        EXPECT_EQ(zeroBasedPathToXPath(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
    EXPECT_THROW(document.elementGet(QStringLiteral("a[[[")), QuillonError);
}

// Every encoding the parser knows; entities neither expanded nor fetched; deep nesting is safe. The
// query path must agree with the one walk on each.
TEST(NotesInput, EncodingsEntitiesAndDeepNesting) {
    const QString xml = QStringLiteral("<s><notes><note><speaker>Gisèle Müller</speaker></note></notes></s>");
    QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QStringEncoder be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    QByteArray bomb = "<?xml version='1.0'?>\n<!DOCTYPE s [\n<!ENTITY lol0 'lol'>\n";
    for (int i = 1; i <= 9; ++i)
        bomb += "<!ENTITY lol" + QByteArray::number(i) + " '" +
                ("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "'>\n";
    bomb += "<!ENTITY xxe SYSTEM 'file:///etc/passwd'>\n]>\n"
            "<s><notes><note><time>&lol9;</time><text>&xxe;&amp;&#65;</text></note></notes></s>";
    constexpr int depth = 200000;
    const QString speaker = QStringLiteral("|Gisèle Müller|");
    const std::pair<QByteArray, QString> cases[] = {
        {xml.toUtf8(), speaker},
        {"\xef\xbb\xbf" + xml.toUtf8(), speaker},
        {le.encode(xml), speaker},
        {be.encode(xml), speaker},
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
        EXPECT_EQ(document.elementGet(QStringLiteral("notes/note[0]")), note.time + note.speaker + note.text);
    }
}

// A huge document is refused by its tree's size (the rows' ceilings are the window's test).
TEST(NotesInput, TreeHeldToItsBudget) {
    const QByteArray many = "<s>" + QByteArray("<a/>").repeated(50000) + "</s>"; // ~3 MB of nodes
    NotesDocument::setMaxTreeBytesForTests(1 << 20);
    NotesDocument document;
    EXPECT_FALSE(document.loadBytes(many));
    EXPECT_TRUE(document.errorText().contains(QLatin1String("memory"), Qt::CaseInsensitive));
    NotesDocument::setMaxTreeBytesForTests(0);
    EXPECT_TRUE(document.loadBytes(many)) << qPrintable(document.errorText());
}

// The quick path for plain clock texts must agree with the general one on every input.
TEST(NotesTimeText, QuickPathAgreesWithTheGeneralFormatting) {
    // clang-format off
    const char* const inputs[] = {
        "09:31:10", "9:31:10", "00:15:00", "12:15:00", "23:59:59", "24:00:00", "25:61:00", "10:60:00",
        "10:00:60", "10:05:02 AM", "1:05:09 PM", "12:00:00 AM", "12:00:00 PM", "00:10:00 AM", "13:00:00 PM",
        "10:05:02 am", "10:05:02AM", "10:05 AM", "10:05", " 10:05:02", "10:05:02 ", "10:05:02 PMX",
        "123:00:00", "1:2:3", "12-14-2009 13:05:09", "", "garbage", "10:05:02 A", "10:05:02 P.M."};
    // clang-format on
    for (const char* input : inputs)
        EXPECT_EQ(noteTimeText(QString::fromLatin1(input)), formatTimeAmPm(QString::fromLatin1(input)))
            << input;
}

} // namespace
