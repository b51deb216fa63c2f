// The catalogue window built offscreen: its layout, the rows of a scan, start-up and unload.
#include "CatalogueFixture.h"
#include "ProgramStart.h"
#include "SessionDiscovery.h"
#include "TimeText.h"
#include "Twips.h"

#include <QHeaderView>
#include <QLabel>

namespace {
class ShowCounter : public QObject {
  public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};
} // namespace

TEST_F(CatalogueTest, EmptyDiscShowsTheDesignedWindowWithHeadersOnly) {
    frmSessions& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Vantrel Quillon");
    EXPECT_EQ(w.size(), QSize(Twips::toPixels(6180), Twips::toPixels(3045)));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowIcon().isNull());

    EXPECT_EQ(w.lvSessions->geometry(), Twips::rect(135, 405, 5910, 2220));
    EXPECT_EQ(w.Label1->geometry(), Twips::rect(1440, 90, 3255, 240));
    EXPECT_EQ(w.Label2->geometry(), Twips::rect(4545, 2700, 1500, 240));
    EXPECT_EQ(w.Label1->text(), "Sessions available on this CD");
    EXPECT_EQ(w.Label2->text(), "Double-Click to Play");
    EXPECT_TRUE(w.Label1->font().bold());
    EXPECT_EQ(w.Label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(w.Label2->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    for (QWidget* control : {static_cast<QWidget*>(w.lvSessions), static_cast<QWidget*>(w.Label1),
                             static_cast<QWidget*>(w.Label2)})
        EXPECT_EQ(control->accessibleName(), control->objectName());

    const char* headers[] = {"Location", "Date", "Start Time", "Channels", "Video", "Filename", "Notes"};
    ASSERT_EQ(w.lvSessions->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(w.lvSessions->headerItem()->text(c), QLatin1String(headers[c]));
        EXPECT_EQ(w.lvSessions->header()->sectionSize(c), Twips::toPixels(frmSessions::ColumnWidthTwips[c]))
            << c;
        EXPECT_FALSE(w.lvSessions->isColumnHidden(c)) << "a width of 0 keeps the column";
    }
    EXPECT_EQ(frmSessions::ColumnWidthTwips[0], 2500);
    EXPECT_EQ(frmSessions::ColumnWidthTwips[3], 900);
    EXPECT_EQ(w.rowCount(), 0);
    EXPECT_TRUE(messages.shown.empty());

    // A double-click does nothing but flash the busy pointer.
    w.lvSessions_DblClick();
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(urlCalls().isEmpty());
}

TEST_F(CatalogueTest, RowsFollowTheScanWithTheirTexts) {
    const QList<QByteArray> names = {"Room3_12-14-2009_34200_1.wma", "Room3_12-14-2009_34200_2.wma",
                                     "Room3_12-14-2009_34200_3.wmv", "ROOM3_12-14-2009_50400_1.WMA",
                                     "Interview.wma"};
    for (const QByteArray& name : names)
        addFile(name);
    addFile("Room3_12-14-2009_34200.xml");
    frmSessions& w = start();
    ASSERT_TRUE(w.isVisible());
    const QList<QByteArray> order = GetFilenames(folder());
    ASSERT_EQ(w.rowCount(), names.size());
    ASSERT_EQ(w.Sessions.size(), names.size());
    for (int i = 0; i < w.rowCount(); ++i) {
        const QTreeWidgetItem* row = w.lvSessions->topLevelItem(i);
        const SessionData expected = GetSessionData(order[i]);
        SCOPED_TRACE(order[i].toStdString());
        EXPECT_EQ(row->text(0), expected.Location);
        EXPECT_EQ(row->text(1), expected.SessionDate);
        EXPECT_EQ(row->text(2), SecondsToTime(expected.StartSeconds, "hh:mm:ss AMPM"));
        EXPECT_EQ(row->text(3), QString::number(expected.Channels));
        EXPECT_EQ(row->text(4), expected.Video ? "Yes" : "No");
        EXPECT_EQ(row->text(5), QString::fromUtf8(order[i]));
        EXPECT_EQ(row->text(6), "");
        EXPECT_EQ(frmSessions::fileBytes(row), order[i]);
        EXPECT_EQ(w.Sessions[i].FileBytes, order[i]);
    }
    EXPECT_EQ(w.lvSessions->selectedItems(), QList<QTreeWidgetItem*>{w.lvSessions->topLevelItem(0)});
    EXPECT_EQ(w.selectedLocation(), w.lvSessions->topLevelItem(0)->text(0));
}

TEST_F(CatalogueTest, OneOddNameDoesNotHideTheRest) {
    addFile("Room3_12-14-2009_99999999999_1.wma");
    addFile("Room3_12-14-2009_90000_2.wma");
    addFile("Room3_12-14-2009_-60_3.wmv");
    frmSessions& w = start();
    ASSERT_EQ(w.rowCount(), 3);
    QStringList times;
    for (int i = 0; i < 3; ++i)
        times << w.lvSessions->topLevelItem(i)->text(2);
    times.sort();
    EXPECT_EQ(times, QStringList({"01:00:00 AM", "11:59:00 PM", "12:00:00 AM"}));
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CatalogueTest, VersionVerdicts) {
    const struct {
        const char* mediaVersion;
        std::optional<const char*> registryText; // nullopt: the built-in registry; "": no value
        const char* refusal;                     // the title of the message, or nullptr to pass
    } cases[] = {
        {"9.0.35.1", std::nullopt, nullptr},
        {"11.0.5721.5262", std::nullopt, nullptr},
        {"9", "4.09.0000.0900", nullptr},
        {"9.0", "4.09.0000.0902", nullptr},
        {"8.1.0", std::nullopt, "Media Player 9.0 Required"},
        {"", std::nullopt, "Media Player 9.0 Required"},
        {"abc", std::nullopt, "Media Player 9.0 Required"},
        {"9.0", "4.08.01.0810", "DirectX 9.x Required"},
        {"9.0", "4.09.00.904", "DirectX 9.x Required"},
        {"9.0", "4.09.00.0905", "DirectX 9.x Required"},
        {"9.0", "", "DirectX 9.x Required"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mediaVersion) + " / " + (c.registryText ? *c.registryText : "built-in"));
        messages.shown.clear();
        playersMade = 0;
        version = QLatin1String(c.mediaVersion);
        if (!c.registryText)
            setRegistryForTests(std::nullopt);
        else if (QByteArray(*c.registryText).isEmpty())
            setRegistryForTests(QHash<QString, QString>{});
        else
            setRegistryForTests(
                QHash<QString, QString>{{kDirectXVersionKey, QLatin1String(*c.registryText)}});
        ShowCounter counter;
        catalogue = std::make_unique<frmSessions>(services());
        catalogue->installEventFilter(&counter);
        catalogue->Form_Load();
        if (!c.refusal) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_TRUE(catalogue->isVisible());
            EXPECT_FALSE(catalogue->isUnloaded());
            EXPECT_EQ(playersMade, 2) << "the check loads the player window once, start-up again";
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u) << "the second check does not run after the first fails";
        EXPECT_EQ(messages.shown[0].kind, "error");
        EXPECT_EQ(messages.shown[0].title, QLatin1String(c.refusal));
        EXPECT_EQ(messages.shown[0].text, QLatin1String(c.refusal).startsWith(QLatin1String("Media"))
                                              ? "Media Player 9.0 or later is required!"
                                              : "DirectX 9.x is required!");
        EXPECT_TRUE(catalogue->isUnloaded());
        EXPECT_EQ(counter.shows, 0) << "the refused catalogue never showed, not even from the check";
        EXPECT_EQ(window(), nullptr);
        EXPECT_EQ(playersMade, 1);
    }
}

TEST_F(CatalogueTest, NoMediaComponentFailsTheMediaPlayerCheck) {
    noComponent = true;
    start();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Media Player 9.0 Required");
    EXPECT_TRUE(catalogue->isUnloaded());
}

TEST(PlatformChecks, DirectXTableMatchesExactly) {
    const struct {
        const char* text;
        const char* label;
    } cases[] = {
        {"4.02.0095", "1.0"},
        {"4.03.00.1096", "2.0"},
        {"4.04.0068", "3.0"},
        {"4.04.0069", "3.0"},
        {"4.05.00.0155", "5.0"},
        {"4.05.01.1721", "5.0"},
        {"4.05.01.1998", "5.0"},
        {"4.06.02.0436", "6.0"},
        {"4.07.00.0700", "7.0"},
        {"4.07.00.0716", "7.0a"},
        {"4.08.00.0400", "8.0"},
        {"4.08.01.0881", "8.1"},
        {"4.08.01.0810", "8.1"},
        {"4.09.0000.0900", "9.0"},
        {"4.09.0000.0901", "9.0a"},
        {"4.09.0000.0902", "9.0b"},
        {"4.09.00.0904", "9.0c"},
        {"4.09.00.904", ""},
        {"4.09.0000.0904", ""},
        {" 4.09.00.0904", ""},
        {"4.09.00.0904 ", ""},
        {"", ""},
        {"9.0c", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(directXLabel(QLatin1String(c.text)), QLatin1String(c.label)) << c.text;

    setRegistryForTests(std::nullopt);
    EXPECT_EQ(ReadKey(kDirectXVersionKey), "4.09.00.0904");
    EXPECT_EQ(ReadKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX\\version"), "");
    EXPECT_EQ(ReadKey("HKEY_CURRENT_USER\\Software\\Anything"), "");
    EXPECT_EQ(GetDirectXVersion(), "9.0c");

    for (const char* v : {"9", "9.0c", "11.0", "10"})
        EXPECT_TRUE(versionPasses(QLatin1String(v))) << v;
    for (const char* v : {"8.1", "", "x9", "8.99"})
        EXPECT_FALSE(versionPasses(QLatin1String(v))) << v;
}

TEST_F(CatalogueTest, PedalFoundAtStartUpIsReleasedAtUnload) {
    input = std::make_shared<FakeInputSystem>();
    input->list = {{"/dev/input/event3", "Keyboard"}, {"/dev/input/event7", "VEC USB Footpedal"}};
    addFile("A_1-1-2010_10_1.wma");
    addFile("B_1-1-2010_10_1.wma");
    frmSessions& w = start();
    EXPECT_TRUE(pedalDevices().diPedal);
    w.lvSessions_DblClick();
    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->tmrFoot->isActive());

    w.close();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(pedalDevices().diPedal);
    EXPECT_FALSE(pedalDevices().diRoot);
    EXPECT_FALSE(pedalDevices().dxRoot);
    EXPECT_TRUE(w.Sessions.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window(), nullptr) << "closing the catalogue unloads the player window";
}

TEST_F(CatalogueTest, PedalDiscoveryFailureStillListsTheDisc) {
    input = std::make_shared<FakeInputSystem>();
    input->failToList = true;
    addFile("A_1-1-2010_10_1.wma");
    addFile("B_1-1-2010_10_1.wma");
    frmSessions& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.rowCount(), 2);
    EXPECT_FALSE(pedalDevices().diPedal);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines[0].contains("GetInputDevices()")) << log.lines[0].toStdString();
    w.lvSessions_DblClick();
    ASSERT_TRUE(window());
    EXPECT_FALSE(window()->tmrFoot->isActive());
}

TEST_F(CatalogueTest, AnErrorBeforeTheCatalogueCanShowEndsTheProgramAfterItsMessage) {
    addFile("A_1-1-2010_10_1.wma");
    CatalogueServices s = services();
    const auto make = s.createMediaPlayer;
    s.createMediaPlayer = [&, make](QWidget* parent) -> std::unique_ptr<MediaPlayer> {
        if (playersMade == 1) // the check's window loads; the catalogue's own fails
            raiseError(ErrNo::MediaFailure, "no media engine");
        return make(parent);
    };
    input = std::make_shared<FakeInputSystem>();
    catalogue = std::make_unique<frmSessions>(s);
    EXPECT_EQ(runProgram(*catalogue), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("1001"));
    EXPECT_TRUE(messages.shown[0].text.contains(
        QRegularExpression("Quillon502\\.frmSessions\\.Form_Load\\(\\)( at line: \\d+)? > no media engine")))
        << messages.shown[0].text.toStdString();
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains("Desc = Quillon502.frmSessions.Form_Load()"));
    EXPECT_FALSE(catalogue->isVisible());
    EXPECT_EQ(catalogue->rowCount(), 0) << "the scan never ran";
    EXPECT_FALSE(pedalDevices().dxRoot);
}

TEST_F(CatalogueTest, AFailedScanStillShowsTheCatalogue) {
    setProgramFolderForTests(folder() + "/gone");
    frmSessions& w = start();
    EXPECT_TRUE(w.isVisible()) << "a program without a window could not even be closed";
    EXPECT_EQ(w.rowCount(), 0);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].contains("Quillon502.frmSessions.GetFilenames()"));
    EXPECT_TRUE(log.lines[1].contains("Desc = Quillon502.frmSessions.Rescan()"));
}

TEST_F(CatalogueTest, AFailedStartUpHandOffShowsItsMessageAndTheCatalogue) {
    failOn = QStringLiteral("URL");
    addFile("Room3_12-14-2009_34200_1.wma");
    frmSessions& w = start();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("fake failure in URL"));
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(window());
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(window()->Timer1->isActive());
    EXPECT_TRUE(player()->calls.contains("stop"));
}
