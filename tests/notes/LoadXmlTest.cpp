// LoadXML and InitMetaData in a real player window built offscreen.
#include "FakeCatalogue.h"
#include "NotesDocument.h"
#include "NotesFixtures.h"
#include "Platform.h"
#include "QuillonError.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace NotesFixtures;

namespace {

class LoadXmlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setProgramFolderForTests(folder());
        window.Form_Load(); // the lists' columns
    }
    void TearDown() override { setProgramFolderForTests({}); }

    QByteArray folder() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& name, const QByteArray& bytes) { writeFile(folder() + "/" + name, bytes); }
    void load(const QByteArray& media = "ABC_1.wma") {
        window.CurrentFileBytes = media;
        window.CurrentFilename = displayFileName(media);
        window.LoadXML(window.lvNotes);
    }
    // Every row of a list as "a|b|c".
    static QStringList rows(const QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int k = 0; k < list->columnCount(); ++k)
                cells << list->topLevelItem(i)->text(k);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    // Something in each list and label, to see what a load leaves alone.
    void prefill() {
        window.lvNotes->clear();
        new QTreeWidgetItem(window.lvNotes, QStringList{QStringLiteral("old")});
        window.lblStartTime->setText(QStringLiteral("old start"));
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

    catalogue.hasSelection = false; // ends on the error path, logged at both levels
    EXPECT_THROW(load(), QuillonError);
    EXPECT_EQ(rows(window.lvData), QStringList{QStringLiteral("Location|")});
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Desc = Quillon502.frmMain.InitMetaData()")) &&
                log.lines[1].contains(QLatin1String("Desc = Quillon502.frmMain.LoadXML()")));
}

// Candidate order is the reader's own test; here a name that is not UTF-8, and no name at all.
TEST_F(LoadXmlTest, NamesThatAreNotUtf8) {
    write("Sal\xe9_1.xml", notesDocument({{"09:00:00", "S", "T"}}));
    load("Sal\xe9_1.wma");
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("09:00:00 AM|S|T")});

    prefill(); // no media name: nothing changes
    load("");
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("old||")});
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("old start"));
}

// Without a usable document the information list gets its two catalogue rows, the notes list and
// the labels stay as they were, and the session goes on; a damaged document is logged once.
TEST_F(LoadXmlTest, NoUsableDocumentLeavesTheTwoCatalogueRows) {
    QDir(dir.path()).mkdir(QStringLiteral("Dir_1.xml"));
    write("Bad_1.xml", "<s><notes><note></notes>");
    write("Zero.xml", "");
    write("Bin_1.xml", QByteArray("\x7f\x45LF\x02\x01\x00\x00", 8));
    write("Locked_1.xml", exampleDocument);
    QFile::setPermissions(dir.filePath(QStringLiteral("Locked_1.xml")), QFileDevice::Permissions());
    for (const auto& [media, logged, says] : {std::tuple{"Missing_1.wma", false, ""},
                                              {"Dir_1.wma", false, ""},
                                              {"Bad_1.wma", true, "offset"},
                                              {"Zero_1.wma", true, "offset"},
                                              {"Bin_1.wma", true, "offset"},
                                              {::geteuid() ? "Locked_1.wma" : "ab", ::geteuid() != 0,
                                               "Permission denied"}}) { // root reads every file
        prefill();
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

TEST_F(LoadXmlTest, TimeColumnShowsWhatIsNotATimeOfDayExactlyAsRead) {
    const std::pair<const char*, const char*> cases[] = {{"00:15:00", "12:15:00 AM"},
                                                         {"12:15:00", "12:15:00 PM"},
                                                         {"12-14-2009 13:05:09", "01:05:09 PM"},
                                                         {"garbage", "garbage"},
                                                         {"25:61:00", "25:61:00"},
                                                         {"", ""},
                                                         {" 7 ", " 7 "}};
    QList<QStringList> notes;
    for (const auto& [read, shown] : cases)
        notes << QStringList{QString::fromLatin1(read), QStringLiteral("s"), QStringLiteral("t")};
    write("ABC_1.xml", notesDocument(notes));
    load();
    ASSERT_EQ(window.lvNotes->topLevelItemCount(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(window.lvNotes->topLevelItem(i)->text(0), QString::fromLatin1(cases[i].second)) << i;
}

// A value too long for any line is cut for showing; one of the longest length stays as read.
TEST_F(LoadXmlTest, DocumentOrderMissingFieldsOverlongValuesAndAwkwardShapes) {
    const QString longText = QString(MaxShownChars + 10, QLatin1Char('x')),
                  exact(MaxShownChars, QLatin1Char('y'));
    write("ABC_1.xml",
          notesDocument({{"10:00:00", "", "later"}, {"09:00:00", "A", "earlier"}, {longText, "", exact}},
                        "<duration> \t </duration><started>" + longText.toUtf8() + "</started>"));
    load();
    const QString cut = longText.left(MaxShownChars - 1) + QChar(0x2026);
    EXPECT_EQ(rows(window.lvNotes),
              QStringList({QStringLiteral("10:00:00 AM||later"), QStringLiteral("09:00:00 AM|A|earlier"),
                           cut + "||" + exact}));
    EXPECT_EQ(rows(window.lvData), catalogueRows); // blank duration: no row
    EXPECT_EQ(window.lblStartTime->text(), cut);

    write("ABC_1.xml", "<s><header><items><item name='Room' value='1'/></items></header></s>");
    prefill();
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), 0); // cleared, nothing added
    EXPECT_EQ(rows(window.lvData), catalogueRows + QStringList{QStringLiteral("Room|1")});
    EXPECT_EQ(window.lblStartTime->text(), QString());

    // Two notes elements of unequal length, nested markup, missing and repeated fields: row i joins
    // the i-th note of each notes element, as the positional queries do.
    write("ABC_1.xml", R"(<s>
  <duration>  </duration>
  <notes>
    <note><time>10:00:00</time><speaker>A</speaker><text>one</text><text>two</text></note>
    <note><speaker>B</speaker><text>plain <b>bold</b> tail</text></note>
    <note><time>11:00:00</time><text><![CDATA[<raw> & more]]></text></note>
  </notes>
  <other><notes><note><time>99</time></note></notes></other>
  <notes><note><time>x</time><speaker>C</speaker><speaker>D</speaker></note></notes>
  <header><items><item name='a' value='1'/><item value='2'/></items></header>
  <header><items><item name='b'/></items><items><item name='c' value='3'/></items></header>
  <started>s1</started><started>s2</started>
</s>)");
    load();
    EXPECT_EQ(rows(window.lvNotes),
              QStringList({QStringLiteral("10:00:00x|ACD|onetwo"), QStringLiteral("|B|plain bold tail"),
                           QStringLiteral("11:00:00 AM||<raw> & more"), QStringLiteral("||")}));
    EXPECT_EQ(rows(window.lvData).mid(2), QStringList({QStringLiteral("abc|13"), QStringLiteral("|2"),
                                                       QStringLiteral("|"), QStringLiteral("|")}));
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("s1s2"));
}

// No limit at 32,767 rows; beyond the reader's own ceiling the rest is logged, not shown.
TEST_F(LoadXmlTest, ManyRows) {
    constexpr int count = 40000;
    write("ABC_1.xml", "<s><header><items>" + QByteArray("<item name='n' value='v'/>").repeated(count) +
                           "</items></header><notes>" + QByteArray("<note/>").repeated(count) +
                           "</notes></s>");
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), count);
    EXPECT_EQ(window.lvData->topLevelItemCount(), count + 2);

    const qsizetype notes = NotesDocument::MaxNoteRows + 1;
    write("ABC_1.xml", "<s><notes>" + QByteArray("<note/>").repeated(notes) + "</notes></s>");
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), NotesDocument::MaxNoteRows);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith(
                    QLatin1String("ERROR: No = 6, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")) &&
                log.lines[0].contains(
                    QStringLiteral("first %1 of its %2 notes").arg(NotesDocument::MaxNoteRows).arg(notes)));
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
