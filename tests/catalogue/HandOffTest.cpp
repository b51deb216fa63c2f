// The hand-off of a row to the player window, in both variants, and the waits that let events run.
#include "CatalogueFixture.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {
const QByteArray kRoom = "Room3_12-14-2009_34200_1.wma";
const QByteArray kOdd = "Salle\xe9_12-15-2009_50400_3.wmv"; // not UTF-8: opens by its exact bytes
} // namespace

// The selected row opens by its exact bytes, only with the primary button or Enter. (That closing the
// player brings the catalogue back, and that a disc of one file opens straight: the end-to-end run.)
TEST_F(CatalogueTest, TheSelectedRowOpensByItsBytes) {
    addFile(kRoom);
    addFile(kOdd);
    frmSessions& w = start();
    const int odd = list()->topLevelItem(0)->text(0) == "Room3" ? 1 : 0;
    list()->clearSelection();
    w.lvSessions_DblClick(); // no row selected: nothing opens, the busy pointer goes
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(urlCalls().isEmpty());

    list()->topLevelItem(odd)->setSelected(true);
    const QPoint onRow = list()->visualItemRect(list()->topLevelItem(odd)).center();
    QTest::mouseDClick(list()->viewport(), Qt::RightButton, Qt::NoModifier, onRow);
    QCoreApplication::processEvents();
    EXPECT_TRUE(urlCalls().isEmpty()) << "only the primary button opens a row";
    QTest::keyClick(list(), Qt::Key_Enter); // the keypad's Enter, as Return, as a double-click
    QCoreApplication::processEvents();
    ASSERT_TRUE(window()->isVisible());
    EXPECT_EQ(player()->url, disc.path + '/' + kOdd);
}

// The wait for a file to open ends at once when it cannot open; a double-click meanwhile is ignored.
TEST_F(CatalogueTest, TheWaitEndsAtOnceForAFileThatCannotOpenAndIgnoresADoubleClickMeanwhile) {
    addFile(kRoom);
    addFile(kOdd);
    for (auto open : {MediaPlayer::OpenNoMedia, MediaPlayer::OpenOpening}) {
        openOnURL = open;
        frmSessions& w = start();
        bool nestedReturned = false, wasHandingOff = false;
        if (open == MediaPlayer::OpenOpening)
            QTimer::singleShot(0, &w, [&] {
                wasHandingOff = w.isHandingOff();
                w.lvSessions_DblClick(); // nested: must return at once
                nestedReturned = true;
                player()->open = MediaPlayer::OpenOpen; // then the file opens
            });
        QElapsedTimer clock;
        clock.start();
        w.lvSessions_DblClick();
        EXPECT_LT(clock.elapsed(), 5000) << "the wait is 15 s";
        EXPECT_EQ(nestedReturned && wasHandingOff, open == MediaPlayer::OpenOpening);
        EXPECT_TRUE(window()->isVisible()) << "title and notes still show";
        EXPECT_EQ(urlCalls().size(), 1);
    }
}

TEST_F(CatalogueTest, ClosingTheCatalogueWhileAWaitLetsEventsRunIsSafe) {
    addFile(kRoom);
    addFile(kOdd);
    for (bool duringHandOff : {true, false}) { // else during the player's unload pump
        openOnURL = duringHandOff ? MediaPlayer::OpenOpening : MediaPlayer::OpenOpen;
        frmSessions& w = start();
        if (duringHandOff)
            QTimer::singleShot(20, &w, [&] { w.close(); });
        EXPECT_NO_THROW(w.lvSessions_DblClick());
        if (!duringHandOff) {
            QTimer::singleShot(0, &w, [&] { w.close(); });
            window()->close();
        }
        EXPECT_TRUE(w.isUnloaded());
        EXPECT_FALSE(w.isVisible()) << "an unloading catalogue must not come back";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window(), nullptr);
    }
}

TEST_F(CatalogueTest, AFailedHandOffStopsThePlayerAndKeepsTheCatalogue) {
    failOn = QStringLiteral("URL");
    addFile(kRoom);
    frmSessions& w = start(); // the start-up variant, then a double-click
    for (int variant = 0; variant < 2; ++variant) {
        if (variant) { // through the list's own double-click, the way the user does it
            QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(list()->viewport(), &click);
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith("Run-time error '1001':\n\n"));
        EXPECT_TRUE(messages.shown[0].text.endsWith("fake failure in URL"));
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
        EXPECT_FALSE(window()->isVisible() ||
                     window()->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        EXPECT_TRUE(player()->calls.contains("stop")) << "nothing plays in a window nobody sees";
        messages.shown.clear();
    }
}
