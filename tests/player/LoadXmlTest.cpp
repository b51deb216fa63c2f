// LoadXML and InitMetaData in a real player window built offscreen.
#include "ChildProcess.h"
#include "NotesDocument.h"
#include "PlayerWindowFixture.h"

#include <QLabel>
#include <sys/stat.h>

namespace {

const QStringList catalogueRows{QStringLiteral("Location|Room3"), QStringLiteral("Date|12-14-2009")};

// Without a usable document the information list gets its two catalogue rows, the notes list and
// the labels stay as they were, and the session goes on; a damaged document (which ones are damaged is
// the reader's test) is logged once.
TEST_F(PlayerWindowTest, NoUsableDocumentLeavesTheTwoCatalogueRows) {
    writeOnDisc("Zero.xml", "");
    for (const auto& [media, logged, says] : {std::tuple{"Missing_1.wma", false, ""},
                                              {"Zero_1.wma", true, "offset"},
                                              {"", false, ""}}) { // no name: nothing changes at all
        // Something in each list and label, to see what a load leaves alone.
        control<QTreeWidget>("lvNotes")->clear();
        new QTreeWidgetItem(control<QTreeWidget>("lvNotes"), QStringList{QStringLiteral("old")});
        control<QLabel>("lblStartTime")->setText(QStringLiteral("old start"));
        log.lines.clear();
        EXPECT_NO_THROW(openSession(media));
        EXPECT_EQ(rows(control<QTreeWidget>("lvData")), catalogueRows) << media;
        EXPECT_EQ(rows(control<QTreeWidget>("lvNotes")), QStringList{QStringLiteral("old||")}) << media;
        EXPECT_EQ(control<QLabel>("lblStartTime")->text(), QStringLiteral("old start")) << media;
        ASSERT_EQ(log.lines.size(), logged ? 1 : 0) << media << qPrintable(log.lines.join('\n'));
        if (logged) {
            EXPECT_TRUE(log.lines[0].startsWith(QLatin1String(
                            "ERROR: No = 1002, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")) &&
                        log.lines[0].contains(QLatin1String(says)))
                << qPrintable(log.lines[0]);
        }
    }
}

// A document the user may not read is logged with the system's reason, and the session goes on.
TEST_F(PlayerWindowTest, ALockedDocumentIsLoggedWithTheSystemsReason) {
    writeOnDisc("Locked_1.xml", "<s><duration>1:00</duration></s>");
    ASSERT_EQ(::chmod(disc.path + "/Locked_1.xml", 0), 0);
    ASSERT_EQ(::chmod(disc.path, 0755), 0); // anyone may look for documents in it
    const auto lockedDocumentFaults = [this] {
        openSession("Locked_1.wma");
        if (rows(control<QTreeWidget>("lvData")) != catalogueRows || log.lines.size() != 1 ||
            !log.lines[0].contains(QLatin1String("LoadXML() > ")) ||
            !log.lines[0].contains(QLatin1String("Permission denied")))
            return QStringLiteral("rows %1, log %2")
                .arg(rows(control<QTreeWidget>("lvData")).join(", "), log.lines.join('\n'));
        return QString();
    };
    EXPECT_TRUE(passesAsUnprivilegedUser(lockedDocumentFaults));
}

// Rows keep document order; times show as "hh:mm:ss AMPM", one that is not a time of day exactly as
// read (the time texts' own table has the rest); a value too long for any line is cut for showing,
// one of the longest length stays as read; a name that is not UTF-8 finds its document by its bytes.
TEST_F(PlayerWindowTest, DocumentOrderTimesMissingFieldsAndOverlongValues) {
    const QString longText = QString(MaxShownChars + 10, QLatin1Char('x')),
                  exact(MaxShownChars, QLatin1Char('y'));
    const QString cut = longText.left(MaxShownChars - 1) + QChar(0x2026);
    const std::pair<const char*, const char*> times[] = {
        {"10:00:00", "10:00:00 AM"}, {"9:31 PM", "09:31:00 PM"}, {"25:61:00", "25:61:00"}, {"", ""}};
    QByteArray xml = "<s><duration> \t </duration><started>" + longText.toUtf8() + "</started><notes>";
    QStringList shown;
    for (const auto& [read, show] : times) {
        xml += "<note><time>" + QByteArray(read) + "</time><speaker>s</speaker><text>t</text></note>";
        shown << QString::fromLatin1(show) + QStringLiteral("|s|t");
    }
    writeOnDisc("Sal\xe9_1.xml", xml + "<note><time>" + longText.toUtf8() + "</time><text>" + exact.toUtf8() +
                                     "</text></note></notes></s>");
    shown << cut + "||" + exact;
    openSession("Sal\xe9_1.wma");
    EXPECT_EQ(rows(control<QTreeWidget>("lvNotes")), shown);
    EXPECT_EQ(rows(control<QTreeWidget>("lvData")), catalogueRows); // blank duration: no row
    EXPECT_EQ(control<QLabel>("lblStartTime")->text(), cut);

    // The rows above cleared, nothing added; the header's duration first, then its items.
    writeOnDisc("ABC_1.xml", "<s><header><items><item name='Room' value='1'/></items></header>"
                             "<duration>1:12:45</duration></s>");
    openSession("ABC_1.wma");
    EXPECT_EQ(control<QTreeWidget>("lvNotes")->topLevelItemCount(), 0);
    EXPECT_EQ(rows(control<QTreeWidget>("lvData")),
              catalogueRows + QStringList({"Total Duration|1:12:45", "Room|1"}));
    EXPECT_EQ(control<QLabel>("lblStartTime")->text(), QString());
}

// No limit at 32,767 rows; beyond the reader's own ceilings the rest is logged, not shown, under the
// document's name as it is (a name holding "%2" is no placeholder).
TEST_F(PlayerWindowTest, ManyRows) {
    const qsizetype notes = NotesDocument::MaxNoteRows + 1, items = NotesDocument::MaxItemRows + 3;
    writeOnDisc("A%2_1.xml", "<s><header><items>" + QByteArray("<item name='n' value='v'/>").repeated(items) +
                                 "</items></header><notes>" + QByteArray("<note/>").repeated(notes) +
                                 "</notes></s>");
    openSession("A%2_1.wma");
    EXPECT_EQ(control<QTreeWidget>("lvNotes")->topLevelItemCount(), NotesDocument::MaxNoteRows);
    EXPECT_EQ(control<QTreeWidget>("lvData")->topLevelItemCount(), NotesDocument::MaxItemRows + 2);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(
        log.lines[0].startsWith(
            QLatin1String("ERROR: No = 6, Line No = 0, Desc = Quillon502.frmMain.LoadXML() > ")) &&
        log.lines[0].contains("A%2_1.xml shows the first " + QString::number(NotesDocument::MaxNoteRows)))
        << qPrintable(log.lines[0]);
}

} // namespace
