// The hand-off of a row to the player window, in both variants, and the waits that let events run.
#include "CatalogueFixture.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

namespace {
const QByteArray kRoom = "Room3_12-14-2009_34200_1.wma";
const QByteArray kHall = "Hall_12-15-2009_50400_3.wmv";

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST_F(CatalogueTest, OneFileOpensStraightIntoThePlayerAndClosingItEnds) {
    addFile(kRoom);
    frmSessions& w = start();
    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(window()->windowTitle(), "Room3 - 12-14-2009");
    EXPECT_EQ(window()->CurrentFilename, QString::fromLatin1(kRoom));
    EXPECT_TRUE(window()->Timer1->isActive());
    EXPECT_EQ(urlCalls(), QStringList{"URL=" + QString::fromUtf8(folder() + '/' + kRoom)});
    EXPECT_EQ(w.lvSessions->selectedItems().size(), 1);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);

    window()->close();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_FALSE(w.isVisible());
    flushDeletes();
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CatalogueTest, DoubleClickOpensTheSelectedRowAndClosingReturns) {
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    ASSERT_EQ(w.rowCount(), 2);
    const int hall = w.lvSessions->topLevelItem(0)->text(0) == "Hall" ? 0 : 1;
    selectRow(hall);
    w.lvSessions_DblClick();

    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(window()->windowTitle(), "Hall - 12-15-2009");
    EXPECT_EQ(window()->CurrentFileBytes, kHall);
    EXPECT_TRUE(window()->Timer1->isActive());
    EXPECT_LE((window()->geometry().center() - w.geometry().center()).manhattanLength(), 2);
    EXPECT_EQ(urlCalls(), QStringList{"URL=" + QString::fromUtf8(folder() + '/' + kHall)});
    EXPECT_EQ(w.lvSessions->selectedItems(), QList<QTreeWidgetItem*>{w.lvSessions->topLevelItem(hall)});
    EXPECT_EQ(w.selectedDate(), "12-15-2009");
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);

    // Slow the session down, close it: the catalogue is back; the next session starts afresh.
    window()->PlayRate = 0.75;
    window()->close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isUnloaded());
    flushDeletes();
    EXPECT_EQ(window(), nullptr);
    selectRow(1 - hall);
    w.lvSessions_DblClick();
    ASSERT_TRUE(window());
    EXPECT_EQ(window()->windowTitle(), "Room3 - 12-14-2009");
    EXPECT_EQ(window()->PlayRate, 1.0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CatalogueTest, BusyPointerIsRestoredAlsoWithNoRowSelected) {
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    w.lvSessions->clearSelection();
    w.lvSessions_DblClick();
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(urlCalls().isEmpty());
    EXPECT_FALSE(window()->isVisible());
}

TEST_F(CatalogueTest, AFileThatCannotOpenEndsTheWaitAtOnce) {
    openOnURL = MediaPlayer::OpenNoMedia; // the component gives up on the file
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    QElapsedTimer clock;
    clock.start();
    w.lvSessions_DblClick();
    EXPECT_LT(clock.elapsed(), 5000) << "the wait must not run to its deadline";
    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->isVisible()) << "title and notes still show";
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CatalogueTest, MediaStillOpeningAtTheDeadlineOpensTheWindowAnyway) {
    openOnURL = MediaPlayer::OpenOpening;
    openWaitMs = 100;
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    w.lvSessions_DblClick();
    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_TRUE(window()->Timer1->isActive());
}

TEST_F(CatalogueTest, ADoubleClickDuringTheWaitIsIgnored) {
    openOnURL = MediaPlayer::OpenOpening;
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    bool ranDuringWait = false;
    QTimer::singleShot(20, &w, [&] {
        ranDuringWait = w.isHandingOff();
        selectRow(1);
        w.lvSessions_DblClick(); // nested: must return at once
        player()->open = MediaPlayer::OpenOpen;
    });
    selectRow(0);
    const QString first = w.lvSessions->topLevelItem(0)->text(5);
    w.lvSessions_DblClick();
    EXPECT_TRUE(ranDuringWait);
    EXPECT_EQ(urlCalls().size(), 1);
    EXPECT_TRUE(urlCalls().value(0).endsWith(first));
    EXPECT_FALSE(w.isHandingOff());
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(CatalogueTest, ClosingTheCatalogueDuringTheWaitIsSafe) {
    openOnURL = MediaPlayer::OpenOpening;
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    QTimer::singleShot(20, &w, [&] { w.close(); });
    EXPECT_NO_THROW(w.lvSessions_DblClick());
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_FALSE(w.isVisible());
    flushDeletes();
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CatalogueTest, ClosingTheCatalogueDuringThePlayersUnloadIsSafe) {
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    w.lvSessions_DblClick();
    ASSERT_TRUE(window());
    QTimer::singleShot(0, &w, [&] { w.close(); }); // runs inside the player's unload pump
    window()->close();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_FALSE(w.isVisible()) << "the player's unload must not bring an unloading catalogue back";
    flushDeletes();
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CatalogueTest, AFailedHandOffStopsThePlayerAndKeepsTheCatalogue) {
    failOn = QStringLiteral("URL");
    addFile(kRoom);
    addFile(kHall);
    frmSessions& w = start();
    selectRow(0);
    // Through the list's own double-click, the way the user does it.
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.lvSessions->viewport(), &click);
    QCoreApplication::processEvents();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("1001")) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains(
        QRegularExpression("^Run-time error '1001':\\n\\nQuillon502.frmSessions.lvSessions_DblClick\\(\\)( "
                           "at line: \\d+)? > fake failure in URL$")))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    ASSERT_TRUE(window());
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(window()->Timer1->isActive());
    EXPECT_TRUE(player()->calls.contains("stop"));
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.last().contains("Desc = Quillon502.frmSessions.lvSessions_DblClick()"));

    // The program goes on: the next double-click works once the component does.
    player()->failOn.clear();
    w.lvSessions_DblClick();
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(CatalogueTest, ANameThatIsNotUtf8OpensByItsExactBytes) {
    const QByteArray odd = "Salle\xe9_12-14-2009_34200_1.wma";
    addFile(odd);
    addFile(kHall);
    frmSessions& w = start();
    const int row = w.lvSessions->topLevelItem(0)->text(0).startsWith("Salle") ? 0 : 1;
    EXPECT_EQ(w.lvSessions->topLevelItem(row)->text(0), QString::fromUtf8("Salle\xef\xbf\xbd"));
    EXPECT_EQ(frmSessions::fileBytes(w.lvSessions->topLevelItem(row)), odd);
    selectRow(row);
    w.lvSessions_DblClick();
    ASSERT_TRUE(player());
    EXPECT_EQ(player()->url, folder() + '/' + odd);
    EXPECT_EQ(window()->CurrentFileBytes, odd);
}
