// LoadXML and InitMetaData in a real player window built offscreen.
#include "FakeCatalogue.h"
#include "NotesDocument.h"
#include "Platform.h"
#include "RecordingStart.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray exampleDocument = R"(<session>
  <header><items><item name='Room' value='Hall 2'/><item name='Recorder' value='Unit 7'/></items></header>
  <duration>1:12:45</duration><started>9:30:00 AM</started><finished>10:42:45 AM</finished><notes>
    <note><time>09:31:10</time><speaker>Chair</speaker><text>Opening remarks</text></note>
    <note><time>10:05:02 AM</time><speaker>Member</speaker><text>Item 4 taken up</text></note></notes></session>)";

class LoadXmlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setProgramFolderForTests(QFile::encodeName(dir.path()));
        window.Form_Load(); // the lists' columns
    }
    void TearDown() override { setProgramFolderForTests({}); }

    // By bytes: names may be anything a file system takes, also names that are not UTF-8.
    void write(const QByteArray& name, const QByteArray& bytes) {
        FILE* f = std::fopen((QFile::encodeName(dir.path()) + '/' + name).constData(), "wb");
        ASSERT_TRUE(f && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size()) &&
                    std::fclose(f) == 0);
    }
    void load(const QByteArray& media = "ABC_1.wma") {
        window.CurrentFileBytes = media;
        window.CurrentFilename = displayFileName(media);
        window.LoadXML(window.lvNotes);
    }
    // Every row of a list as "a|b|c".
    static QStringList rows(const QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            out << list->topLevelItem(i)->text(0);
            for (int k = 1; k < list->columnCount(); ++k)
                out.last() += '|' + list->topLevelItem(i)->text(k);
        }
        return out;
    }
    QTemporaryDir dir;
    FakeCatalogue catalogue;
    CapturedLog log;
    frmMain window{PlayerServices{{}, &catalogue, nullptr}};
    const QStringList catalogueRows{QStringLiteral("Location|Room3"), QStringLiteral("Date|12-14-2009")};
};

TEST_F(LoadXmlTest, ExampleDocumentFillsBothListsAndLabels) {
    write("ABC_1.xml", exampleDocument);
    load();
    EXPECT_EQ(rows(window.lvNotes), QStringList({QStringLiteral("09:31:10 AM|Chair|Opening remarks"),
                                                 QStringLiteral("10:05:02 AM|Member|Item 4 taken up")}));
    EXPECT_EQ(rows(window.lvData), catalogueRows + QStringList({QStringLiteral("Total Duration|1:12:45"),
                                                                QStringLiteral("Room|Hall 2"),
                                                                QStringLiteral("Recorder|Unit 7")}));
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("9:30:00 AM"));
    EXPECT_EQ(window.lblEndTime->text(), QStringLiteral("10:42:45 AM"));
    // Header rows carry a fresh key each; the rows before them carry none.
    const auto key = [&](int row) { return window.lvData->topLevelItem(row)->data(0, Qt::UserRole); };
    EXPECT_TRUE(!key(2).isValid() && key(3).toString().size() == 32 && key(3) != key(4));
    EXPECT_TRUE(log.lines.isEmpty());
}

// Without a usable document the information list gets its two catalogue rows, the notes list and
// the labels stay as they were, and the session goes on; a damaged document is logged once.
TEST_F(LoadXmlTest, NoUsableDocumentLeavesTheTwoCatalogueRows) {
    QDir(dir.path()).mkdir(QStringLiteral("Dir_1.xml"));
    write("Bad_1.xml", "<s><notes><note></notes>");
    write("Zero.xml", "");
    write("Bin_1.xml", QByteArray("\x7f\x45LF\x02\x01\x00\x00", 8));
    write("Twice_1.xml", "<s><header><items><item name='a' name='c'/></items></header></s>");
    write("Locked_1.xml", exampleDocument);
    QFile::setPermissions(dir.filePath(QStringLiteral("Locked_1.xml")), QFileDevice::Permissions());
    for (const auto& [media, logged, says] : {std::tuple{"Missing_1.wma", false, ""},
                                              {"Dir_1.wma", false, ""},
                                              {"Bad_1.wma", true, "offset"},
                                              {"Zero_1.wma", true, "offset"},
                                              {"Bin_1.wma", true, "offset"},
                                              {"Twice_1.wma", true, "Duplicate attribute"},
                                              {::geteuid() ? "Locked_1.wma" : "ab", ::geteuid() != 0,
                                               "Permission denied"}, // root reads every file
                                              {"", false, ""}}) {    // no name: nothing changes at all
        window.lvNotes->clear(); // something in each list and label, to see what a load leaves alone
        new QTreeWidgetItem(window.lvNotes, QStringList{QStringLiteral("old")});
        window.lblStartTime->setText(QStringLiteral("old start"));
        log.lines.clear();
        EXPECT_NO_THROW(load(media));
        EXPECT_EQ(rows(window.lvData), catalogueRows) << media;
        EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("old||")}) << media;
        EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("old start")) << media;
        ASSERT_EQ(log.lines.size(), logged ? 1 : 0) << media << qPrintable(log.lines.join('\n'));
        if (logged) {
            EXPECT_TRUE(log.lines[0].startsWith(QLatin1String(
                            "ERROR: No = 1002, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")) &&
                        log.lines[0].contains(QLatin1String(says)))
                << qPrintable(log.lines[0]);
        }
    }
}

// Rows keep document order; a time that is not a time of day shows exactly as read; a value too
// long for any line is cut for showing, one of the longest length stays as read; a name that is not
// UTF-8 finds its document by its bytes.
TEST_F(LoadXmlTest, DocumentOrderTimesMissingFieldsOverlongValuesAndAwkwardShapes) {
    const QString longText = QString(MaxShownChars + 10, QLatin1Char('x')),
                  exact(MaxShownChars, QLatin1Char('y'));
    const QString cut = longText.left(MaxShownChars - 1) + QChar(0x2026);
    // clang-format off
    const std::pair<const char*, const char*> times[] = {
        {"10:00:00", "10:00:00 AM"}, {"00:15:00", "12:15:00 AM"}, {"12:15:00", "12:15:00 PM"},
        {"12-14-2009 13:05:09", "01:05:09 PM"}, {"garbage", "garbage"}, {"25:61:00", "25:61:00"},
        {"", ""}, {" 7 ", " 7 "}};
    // clang-format on
    QByteArray xml = "<s><duration> \t </duration><started>" + longText.toUtf8() + "</started><notes>";
    QStringList shown;
    for (const auto& [read, show] : times) {
        xml += "<note><time>" + QByteArray(read) + "</time><speaker>s</speaker><text>t</text></note>";
        shown << QString::fromLatin1(show) + QStringLiteral("|s|t");
    }
    write("Sal\xe9_1.xml", xml + "<note><time>" + longText.toUtf8() + "</time><text>" + exact.toUtf8() +
                               "</text></note></notes></s>");
    shown << cut + "||" + exact;
    load("Sal\xe9_1.wma");
    EXPECT_EQ(rows(window.lvNotes), shown);
    EXPECT_EQ(rows(window.lvData), catalogueRows); // blank duration: no row
    EXPECT_EQ(window.lblStartTime->text(), cut);

    write("ABC_1.xml", "<s><header><items><item name='Room' value='1'/></items></header></s>");
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), 0); // the rows above cleared, nothing added
    EXPECT_EQ(rows(window.lvData), catalogueRows + QStringList{QStringLiteral("Room|1")});
    EXPECT_EQ(window.lblStartTime->text(), QString());

    // Two notes elements of unequal length, nested markup, missing and repeated fields: row i joins
    // the i-th note of each notes element, as the positional queries do.
    write("ABC_1.xml", R"(<s><duration>  </duration><notes>
    <note><time>10:00:00</time><speaker>A</speaker><text>one</text><text>two</text></note>
    <note><speaker>B</speaker><text>plain <b>bold</b> tail</text></note>
    <note><time>11:00:00</time><text><![CDATA[<raw> & more]]></text></note></notes>
  <other><notes><note><time>99</time></note></notes></other>
  <notes><note><time>x</time><speaker>C</speaker><speaker>D</speaker></note></notes>
  <header><items><item name='a' value='1'/><item value='2'/></items></header>
  <header><items><item name='b'/></items><items><item name='c' value='3'/></items></header>
  <started>s1</started><started>s2</started></s>)");
    load();
    EXPECT_EQ(rows(window.lvNotes),
              QStringList({QStringLiteral("10:00:00x|ACD|onetwo"), QStringLiteral("|B|plain bold tail"),
                           QStringLiteral("11:00:00 AM||<raw> & more"), QStringLiteral("||")}));
    EXPECT_EQ(rows(window.lvData).mid(2), QStringList({QStringLiteral("abc|13"), QStringLiteral("|2"),
                                                       QStringLiteral("|"), QStringLiteral("|")}));
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("s1s2"));
}

// A disc burned with upper-case names, and note times written loosely: the notes are found, each
// time shows as "hh:mm:ss AMPM", and a double-click on the row's text finds its play position.
TEST_F(LoadXmlTest, UpperCaseDiscAndLenientNoteTimes) {
    write("ROOM3_12-14-2009_34200.XML", R"(<s><notes>
    <note><time>9:31 AM</time></note><note><time>13:05:09 PM</time></note>
    <note><time>21:05</time></note><note><time>0:15:00 AM</time></note></notes></s>)");
    load("ROOM3_12-14-2009_34200_1.WMA"); // recorded from 09:30:00
    const std::pair<const char*, qint64> expected[] = {
        {"09:31:00 AM", 60}, {"01:05:09 PM", 12909}, {"09:05:00 PM", 41700}, {"12:15:00 AM", 53100}};
    ASSERT_EQ(window.lvNotes->topLevelItemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const QString time = window.lvNotes->topLevelItem(i)->text(0);
        EXPECT_EQ(time, QLatin1String(expected[i].first));
        EXPECT_EQ(RecordingStart::notePosition(window.CurrentFilename, time), expected[i].second)
            << qPrintable(time);
    }
}

// No limit at 32,767 rows; beyond the reader's own ceilings the rest is logged, not shown.
TEST_F(LoadXmlTest, ManyRows) {
    const qsizetype notes = NotesDocument::MaxNoteRows + 1, items = NotesDocument::MaxItemRows + 3;
    write("ABC_1.xml", "<s><header><items>" + QByteArray("<item name='n' value='v'/>").repeated(items) +
                           "</items></header><notes>" + QByteArray("<note/>").repeated(notes) +
                           "</notes></s>");
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), NotesDocument::MaxNoteRows);
    EXPECT_EQ(window.lvData->topLevelItemCount(), NotesDocument::MaxItemRows + 2);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(
        log.lines[0].startsWith(
            QLatin1String("ERROR: No = 6, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")) &&
        log.lines[0].contains(QStringLiteral("first %1 of its %2 notes and the first %3 of its %4 header")
                                  .arg(NotesDocument::MaxNoteRows)
                                  .arg(notes)
                                  .arg(NotesDocument::MaxItemRows)
                                  .arg(items)));
}

// Through the window's own hand-off: a damaged document never keeps a session from opening.
TEST_F(LoadXmlTest, SessionOpensDespiteADamagedDocument) {
    write("ABC_1.xml", "<session><notes><note><time>09:00:00</time></notes>");
    EXPECT_NO_THROW(window.Init(QStringLiteral("Room3 12-14-2009"), QStringLiteral("ABC_1.wma")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Room3 12-14-2009"));
    EXPECT_EQ(rows(window.lvData), catalogueRows);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.frmMain.LoadXML() > ")));
}

} // namespace
