// What a screen reader and a keyboard user meet in both windows: every control named as it reads,
// windows announced as windows, the designed tab order, the transport driven by keys alone.
#include "CatalogueFixture.h"
#include "PlayerWindowFixture.h"

#include <QAccessible>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSlider>
#include <QTest>

namespace {
const QByteArray kNotes = R"(<session><header><items><item name="Room" value="Hall 2"/></items></header>
<duration>1:12:45</duration><started>9:30:00 AM</started><finished>10:42:45 AM</finished>
<notes><note><time>09:31:10</time><speaker>Chair</speaker><text>Opening remarks</text></note></notes>
</session>)";

// Roles a screen reader passes over when they carry no name: containers, and a table's own parts.
bool passedOverWithoutName(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Client:
    case QAccessible::Pane:
    case QAccessible::Grouping:
    case QAccessible::Cell:
    case QAccessible::Row:
    case QAccessible::ColumnHeader:
    case QAccessible::RowHeader:
    case QAccessible::ScrollBar:
        return true;
    default:
        return false;
    }
}

struct Reading {
    QStringList faults;
    QSet<QString> spoken; // every name and description in the tree
};

void read(QAccessibleInterface* node, Reading& out) {
    const QString name = node->text(QAccessible::Name);
    out.spoken << name << node->text(QAccessible::Description);
    const QString designed = node->object() ? node->object()->objectName() : QString();
    if (!designed.isEmpty() && name == designed)
        out.faults << designed + " reads as its designed name";
    else if (name.isEmpty() && !node->state().invisible && !passedOverWithoutName(node->role()))
        out.faults << QStringLiteral("%1 (role %2) reads as nothing").arg(designed).arg(node->role());
    if (node->tableInterface())
        return; // its cells speak their own texts
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            read(child, out);
}

// The faults a screen reader user would meet in a window: the window not announced as one with its
// title, a control read as nothing or by its designed name, a shown text that is nowhere in the tree.
std::string faultsOf(QWidget* window) {
    Reading reading;
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window);
    if (top->role() != QAccessible::Window || top->text(QAccessible::Name) != window->windowTitle())
        reading.faults << QStringLiteral("the window reads as role %1 %2")
                              .arg(top->role())
                              .arg(top->text(QAccessible::Name));
    read(top, reading);
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisibleTo(window) && !label->text().isEmpty() && !reading.spoken.contains(label->text()))
            reading.faults << label->objectName() + " shows \"" + label->text() + "\", absent from the tree";
    return reading.faults.join('\n').toStdString();
}
} // namespace

TEST_F(CatalogueTest, BothWindowsReadAsASightedUserSeesThemWithNotesAndInOverlayMode) {
    addFile("Room3_12-14-2009_34200_1.wma");
    addFile("Room3_12-14-2009_34200_2.wma");
    QFile notes(QFile::decodeName(disc) + "/Room3_12-14-2009_34200.xml");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write(kNotes) && notes.flush());
    frmSessions& sessions = start();
    ASSERT_TRUE(sessions.isVisible());
    EXPECT_EQ(faultsOf(&sessions), "") << "catalogue";

    list()->topLevelItem(1)->setSelected(true);
    sessions.lvSessions_DblClick();
    frmMain* player = window();
    ASSERT_TRUE(player && player->isVisible());
    ASSERT_GT(player->notes().noteCount(), 0);
    // An afternoon moment, so the texts the clock writes (dates, times, the PM marker) are read too.
    player->SetClock(QDateTime(QDate(2009, 12, 14), QTime(14, 5, 9)), true);
    player->transport().offerFullScreen(true);
    EXPECT_EQ(faultsOf(player), "") << "player with notes";
    const QAccessibleInterface* clock =
        QAccessible::queryAccessibleInterface(player->findChild<QWidget*>(QStringLiteral("picClockFrame")));
    EXPECT_EQ(clock->text(QAccessible::Description), QStringLiteral("02:05:09 PM"));

    player->picMain_Click();
    ASSERT_TRUE(player->overlayMode());
    EXPECT_EQ(faultsOf(player), "") << "player in overlay mode";
}

TEST_F(CatalogueTest, EnterOnTheSelectedRowOpensItAsADoubleClickDoes) {
    addFile("Room3_12-14-2009_34200_1.wma");
    addFile("Hall2_03-02-2010_50400_1.wma");
    start();
    list()->clearSelection();
    QTest::keyClick(list(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window()->isVisible()) << "no row chosen, nothing opens";

    list()->setCurrentItem(list()->topLevelItem(1));
    QTest::keyClick(list(), Qt::Key_Enter);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window()->isVisible());
    EXPECT_EQ(urlCalls().size(), 1);
    EXPECT_TRUE(
        urlCalls().first().endsWith(list()->topLevelItem(1)->text(frmSessions::ColFilename)));
}

TEST_F(PlayerWindowTest, EnterOnANoteJumpsAsADoubleClickDoes) {
    openSession(QStringLiteral("Room3_12-14-2009_34200_1.wma"));
    QTreeWidget* notes = window->notes().notesList();
    auto* note = new QTreeWidgetItem(notes, {QStringLiteral("09:31:10 AM"), "Chair", "Opening"});
    notes->setCurrentItem(note);
    window->lvNotes_DblClick();
    const QStringList byMouse = fake->calls;
    ASSERT_FALSE(byMouse.isEmpty());
    fake->calls.clear();
    QTest::keyClick(notes, Qt::Key_Return);
    EXPECT_EQ(fake->calls, byMouse);
}

TEST_F(PlayerWindowTest, TabWalksTheDesignedOrderFromTheTransport) {
    window->transport().offerFullScreen(true); // offered for video
    QStringList order;
    for (QWidget* w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window.get()) && w->isEnabled())
            order << w->objectName();
    EXPECT_EQ(order, QStringList({"chkScanForward", "chkScanBack", "cmbPlay", "cmbPause", "cmbFullScreen",
                                  "lvNotes", "lvData", "sldRate"}));
}

namespace {
struct KeyCase {
    const char* control; // designed name
    int state;           // play state at the start
    Qt::Key key;
    const char* calls; // what the mouse would have done
    bool checked;      // the control afterwards, for the scan boxes
};

const KeyCase kKeyCases[] = {
    {"chkScanForward", MediaPlayer::PlayPlaying, Qt::Key_Space, "rate=2", true},
    {"chkScanForward", MediaPlayer::PlayPlaying, Qt::Key_Return, "rate=2", true},
    {"chkScanBack", MediaPlayer::PlayPlaying, Qt::Key_Enter, "rate=-2", true},
    {"cmbPlay", MediaPlayer::PlayPaused, Qt::Key_Space, "rate=1 play", false},
    {"cmbPlay", MediaPlayer::PlayPaused, Qt::Key_Return, "rate=1 play", false},
    {"cmbPause", MediaPlayer::PlayPlaying, Qt::Key_Space, "pause", false},
    {"cmbPause", MediaPlayer::PlayPaused, Qt::Key_Enter, "play", false},
    {"cmbFullScreen", MediaPlayer::PlayPlaying, Qt::Key_Return, "fullScreen=true", false},
    {"cmbFullScreen", MediaPlayer::PlayPlaying, Qt::Key_Space, "fullScreen=true", false},
    {"sldRate", MediaPlayer::PlayPlaying, Qt::Key_Right, "rate=1.25", false},
    {"sldRate", MediaPlayer::PlayPlaying, Qt::Key_Left, "rate=0.75", false},
    {"chkScanForward", MediaPlayer::PlayPlaying, Qt::Key_A, "", false}, // other keys do nothing
};

// Names the case in test listings by its control and key (the default prints raw bytes, pointers included).
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.control << " key " << std::hex << int(c.key); }

class KeyTest : public PlayerWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTest, AKeyOnTheFocusedControlDoesWhatItsClickDoes) {
    const KeyCase& c = GetParam();
    QWidget* focused = control(c.control);
    ASSERT_NE(focused, nullptr);
    window->transport().offerFullScreen(true);
    fake->state = c.state;
    focused->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focused, c.key);
    QCoreApplication::processEvents(); // the slider's click runs once the slider has moved
    EXPECT_EQ(fake->calls.join(' '), QLatin1String(c.calls));
    if (auto* box = qobject_cast<QPushButton*>(focused); box && box->isCheckable()) {
        EXPECT_EQ(box->isChecked(), c.checked);
    }
    EXPECT_TRUE(messages.shown.empty() && log.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Transport, KeyTest, ::testing::ValuesIn(kKeyCases));
} // namespace
