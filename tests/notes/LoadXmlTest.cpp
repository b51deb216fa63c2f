// LoadXML and InitMetaData in a real player window built offscreen.
#include "FakeCatalogue.h"
#include "NotesDocument.h"
#include "NotesFixtures.h"
#include "Platform.h"
#include "QuillonError.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSet>
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
        if (window.lvNotes->columnCount() == 0)
            window.lvNotes->setHeaderLabels(
                {QStringLiteral("Time"), QStringLiteral("Source"), QStringLiteral("Note")});
        if (window.lvData->columnCount() == 0)
            window.lvData->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Value")});
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
        new QTreeWidgetItem(window.lvNotes, QStringList{QStringLiteral("old")});
        new QTreeWidgetItem(window.lvData, QStringList{QStringLiteral("old")});
        window.lblStartTime->setText(QStringLiteral("old start"));
        window.lblEndTime->setText(QStringLiteral("old end"));
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
    static const QRegularExpression key(QStringLiteral("^[0-9A-F]{32}$"));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(window.lvData->topLevelItem(i)->data(0, Qt::UserRole).isValid());
    const QString k1 = window.lvData->topLevelItem(3)->data(0, Qt::UserRole).toString();
    const QString k2 = window.lvData->topLevelItem(4)->data(0, Qt::UserRole).toString();
    EXPECT_TRUE(key.match(k1).hasMatch()) << qPrintable(k1);
    EXPECT_TRUE(key.match(k2).hasMatch()) << qPrintable(k2);
    EXPECT_NE(k1, k2);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(LoadXmlTest, CandidateOrder) {
    write("ABC.xml", notesDocument({{"08:00:00", "short", "name"}}));
    load();
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("08:00:00 AM|short|name")});

    write("ABC_1.xml", notesDocument({{"09:00:00", "channel", "name"}}));
    load();
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("09:00:00 AM|channel|name")});
}

TEST_F(LoadXmlTest, FileNameThatIsNotUtf8OpensByItsBytes) {
    write("Sal\xe9_1.xml", notesDocument({{"09:00:00", "S", "T"}}));
    load("Sal\xe9_1.wma");
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("09:00:00 AM|S|T")});
}

TEST_F(LoadXmlTest, EmptyFileNameChangesNothing) {
    write("ABC_1.xml", exampleDocument);
    prefill();
    load("");
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("old||")});
    EXPECT_EQ(rows(window.lvData), QStringList{QStringLiteral("old|")});
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("old start"));
}

// Without a usable document the information list gets its two catalogue rows, the notes list
// and the labels stay as they were, and the session goes on: nothing is raised.
struct NoDocumentCase {
    const char* name;
    QByteArray media;
    std::function<void(const QByteArray& folder)> make;
    int logEntries;
};

class NoDocument : public LoadXmlTest, public ::testing::WithParamInterface<NoDocumentCase> {};

TEST_P(NoDocument, LeavesTwoCatalogueRows) {
    GetParam().make(folder());
    prefill();
    EXPECT_NO_THROW(load(GetParam().media));
    EXPECT_EQ(rows(window.lvData), catalogueRows);
    EXPECT_EQ(rows(window.lvNotes), QStringList{QStringLiteral("old||")});
    EXPECT_EQ(window.lblStartTime->text(), QStringLiteral("old start"));
    EXPECT_EQ(window.lblEndTime->text(), QStringLiteral("old end"));
    ASSERT_EQ(log.lines.size(), GetParam().logEntries) << qPrintable(log.lines.join(QLatin1Char('\n')));
    if (GetParam().logEntries > 0) {
        EXPECT_TRUE(log.lines[0].startsWith(
            QLatin1String("ERROR: No = 1002, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")))
            << qPrintable(log.lines[0]);
        EXPECT_TRUE(log.lines[0].contains(QLatin1String("offset"))) << qPrintable(log.lines[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoDocument,
    ::testing::Values(
        NoDocumentCase{"Missing", "ABC_1.wma", [](const QByteArray&) {}, 0},
        NoDocumentCase{"Directory", "ABC_1.wma",
                       [](const QByteArray& f) { QDir().mkdir(QFile::decodeName(f + "/ABC_1.xml")); }, 0},
        NoDocumentCase{"NameTooShort", "ab", [](const QByteArray&) {}, 0},
        NoDocumentCase{"Malformed", "ABC_1.wma",
                       [](const QByteArray& f) { writeFile(f + "/ABC_1.xml", "<s><notes><note></notes>"); },
                       1},
        NoDocumentCase{"ZeroBytes", "ABC_1.wma", [](const QByteArray& f) { writeFile(f + "/ABC.xml", ""); },
                       1},
        NoDocumentCase{"Garbage", "ABC_1.wma",
                       [](const QByteArray& f) {
                           writeFile(f + "/ABC_1.xml", QByteArray("\x7f"
                                                                  "ELF\x02\x01\x00\x00",
                                                                  8));
                       },
                       1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LoadXmlTest, UnreadableFileIsLoggedAndReadAsNone) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    write("ABC_1.xml", exampleDocument);
    QFile::setPermissions(dir.filePath(QStringLiteral("ABC_1.xml")), QFileDevice::Permissions());
    EXPECT_NO_THROW(load());
    EXPECT_EQ(rows(window.lvData), catalogueRows);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Permission denied")));
}

TEST_F(LoadXmlTest, TimeColumn) {
    const struct {
        const char* read;
        const char* shown;
    } cases[] = {
        {"00:15:00", "12:15:00 AM"},
        {"12:15:00", "12:15:00 PM"},
        {"14:03:22", "02:03:22 PM"},
        {"1:05:09 PM", "01:05:09 PM"},
        {"12-14-2009 13:05:09", "01:05:09 PM"},
        // not a time of day: shown exactly as read
        {"garbage", "garbage"},
        {"25:61:00", "25:61:00"},
        {"", ""},
        {" 7 ", " 7 "},
    };
    QList<QStringList> notes;
    for (const auto& c : cases)
        notes << QStringList{QString::fromLatin1(c.read), QStringLiteral("s"), QStringLiteral("t")};
    write("ABC_1.xml", notesDocument(notes));
    load();
    ASSERT_EQ(window.lvNotes->topLevelItemCount(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(window.lvNotes->topLevelItem(i)->text(0), QString::fromLatin1(cases[i].shown))
            << cases[i].read;
}

TEST_F(LoadXmlTest, DocumentOrderMissingFieldsAndNoNotesElement) {
    write("ABC_1.xml", notesDocument({{"10:00:00", "", "later"}, {"09:00:00", "A", "earlier"}},
                                     "<duration> \t </duration>"));
    load();
    EXPECT_EQ(rows(window.lvNotes),
              QStringList({QStringLiteral("10:00:00 AM||later"), QStringLiteral("09:00:00 AM|A|earlier")}));
    EXPECT_EQ(rows(window.lvData), catalogueRows); // blank duration: no row

    write("ABC_1.xml", "<s><header><items><item name='Room' value='1'/></items></header></s>");
    prefill();
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), 0); // cleared, nothing added
    EXPECT_EQ(rows(window.lvData), catalogueRows + QStringList{QStringLiteral("Room|1")});
    EXPECT_EQ(window.lblStartTime->text(), QString());
}

TEST_F(LoadXmlTest, AwkwardDocumentShowsTheJoinedRows) {
    write("ABC_1.xml", awkwardDocument);
    load();
    EXPECT_EQ(rows(window.lvNotes),
              QStringList({QStringLiteral("10:00:00x|ACD|onetwo"), QStringLiteral("|B|plain bold tail"),
                           QStringLiteral("11:00:00 AM||<raw> & more"), QStringLiteral("||")}));
    EXPECT_EQ(rows(window.lvData).mid(2), QStringList({QStringLiteral("abc|13"), QStringLiteral("|2"),
                                                       QStringLiteral("|"), QStringLiteral("|")}));
}

TEST_F(LoadXmlTest, NoLimitAt32767) {
    constexpr int count = 40000;
    QByteArray xml = "<s><header><items>";
    for (int i = 0; i < count; ++i)
        xml += "<item name='n" + QByteArray::number(i) + "' value='v'/>";
    xml += "</items></header><notes>";
    for (int i = 0; i < count; ++i)
        xml += "<note><time>10:00:00</time><speaker>S</speaker><text>" + QByteArray::number(i) +
               "</text></note>";
    write("ABC_1.xml", xml + "</notes></s>");
    load();
    ASSERT_EQ(window.lvNotes->topLevelItemCount(), count);
    EXPECT_EQ(window.lvNotes->topLevelItem(count - 1)->text(2), QString::number(count - 1));
    ASSERT_EQ(window.lvData->topLevelItemCount(), count + 2);
    EXPECT_EQ(window.lvData->topLevelItem(count + 1)->text(0), QStringLiteral("n%1").arg(count - 1));
    QSet<QString> keys;
    for (int i = 2; i < count + 2; ++i)
        keys.insert(window.lvData->topLevelItem(i)->data(0, Qt::UserRole).toString());
    EXPECT_EQ(keys.size(), count);
}

TEST_F(LoadXmlTest, RowsBeyondTheCeilingAreLoggedNotShown) {
    const qsizetype notes = NotesDocument::MaxNoteRows + 1;
    write("ABC_1.xml", "<s><notes>" + QByteArray("<note/>").repeated(notes) + "</notes></s>");
    load();
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), NotesDocument::MaxNoteRows);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith(
        QLatin1String("ERROR: No = 6, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")));
    EXPECT_TRUE(log.lines[0].contains(
        QStringLiteral("first %1 of its %2 notes").arg(NotesDocument::MaxNoteRows).arg(notes)))
        << qPrintable(log.lines[0]);
}

TEST_F(LoadXmlTest, NoCatalogueSelectionEndsOnTheErrorPath) {
    write("ABC_1.xml", exampleDocument);
    catalogue.hasSelection = false;
    EXPECT_THROW(load(), QuillonError);
    EXPECT_EQ(rows(window.lvData), QStringList{QStringLiteral("Location|")});
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Desc = Quillon502.frmMain.InitMetaData()")));
    EXPECT_TRUE(log.lines[1].contains(QLatin1String("Desc = Quillon502.frmMain.LoadXML()")));
}

} // namespace

namespace {
// A value too long for any line is cut for showing; everything shorter stays exactly as read.
TEST_F(LoadXmlTest, OverlongValuesAreCutForShowing) {
    const QString longText = QStringLiteral("x").repeated(MaxShownChars + 10);
    const QString exact = QStringLiteral("y").repeated(MaxShownChars);
    write("ABC_1.xml", "<s><started>" + longText.toUtf8() + "</started><header><items><item name='" +
                           exact.toUtf8() + "' value='" + longText.toUtf8() +
                           "'/></items></header><notes><note><time>" + longText.toUtf8() + "</time><text>" +
                           exact.toUtf8() + "</text></note></notes></s>");
    load();
    const QString cut = longText.left(MaxShownChars - 1) + QChar(0x2026);
    ASSERT_EQ(window.lvNotes->topLevelItemCount(), 1);
    EXPECT_EQ(window.lvNotes->topLevelItem(0)->text(0), cut);
    EXPECT_EQ(window.lvNotes->topLevelItem(0)->text(2), exact);
    EXPECT_EQ(window.lvData->topLevelItem(2)->text(0), exact);
    EXPECT_EQ(window.lvData->topLevelItem(2)->text(1), cut);
    EXPECT_EQ(window.lblStartTime->text(), cut);
}
} // namespace

namespace {
// Through the window's own hand-off: a damaged document never keeps a session from opening.
TEST_F(LoadXmlTest, SessionOpensDespiteADamagedDocument) {
    write("ABC_1.xml", "<session><notes><note><time>09:00:00</time></notes>");
    EXPECT_NO_THROW(window.Init(QStringLiteral("Room3 12-14-2009"), QStringLiteral("ABC_1.wma")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Room3 12-14-2009"));
    EXPECT_EQ(rows(window.lvData), catalogueRows);
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), 0);
    EXPECT_EQ(window.heightTwips(), 5300);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QLatin1String("Quillon502.frmMain.LoadXML() > ")));

    write("ABC_1.xml", exampleDocument);
    window.Init(QStringLiteral("Room3 12-14-2009"), QStringLiteral("ABC_1.wma"));
    EXPECT_EQ(window.lvNotes->topLevelItemCount(), 2);
    EXPECT_EQ(window.lvData->topLevelItemCount(), 5);
    EXPECT_EQ(window.heightTwips(), 7500);
}
} // namespace
