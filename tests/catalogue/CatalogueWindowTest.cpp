// The catalogue window built offscreen: its layout, the rows of a scan, start-up and unload.
#include "CatalogueFixture.h"
#include "ProgramStart.h"
#include "SessionDiscovery.h"
#include "Twips.h"

#include <QHeaderView>
#include <QLabel>

TEST_F(CatalogueTest, EmptyDiscShowsTheDesignedWindowWithHeadersOnly) {
    frmSessions& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.size(), QSize(Twips::toPixels(6180), Twips::toPixels(3045)));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(w.lvSessions->accessibleName(), "lvSessions");
    const char* headers[] = {"Location", "Date", "Start Time", "Channels", "Video", "Filename", "Notes"};
    const int widths[] = {2500, 1000, 1200, 900, 0, 0, 0};
    ASSERT_EQ(w.lvSessions->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(w.lvSessions->headerItem()->text(c), QLatin1String(headers[c]));
        EXPECT_EQ(w.lvSessions->header()->sectionSize(c), Twips::toPixels(widths[c])) << c;
        EXPECT_FALSE(w.lvSessions->isColumnHidden(c)) << "a width of 0 keeps the column";
    }
    EXPECT_EQ(w.rowCount(), 0);
}

// Neither an odd name nor a failing pedal search hides the rest of the disc.
TEST_F(CatalogueTest, RowsFollowTheScanWhateverFails) {
    input = std::make_shared<BrokenInput>();
    for (const char* name : {"Room3_12-14-2009_34200_2.wma", "Hall_12-15-2009_50400_3.wmv", "Interview.wma",
                             "Odd_1-1-2010_99999999999_1.wma", "Odd_1-1-2010_90000_2.wma", "R_D_34200.xml"})
        addFile(name);
    frmSessions& w = start();
    const QList<QByteArray> order = GetFilenames(disc);
    ASSERT_EQ(w.rowCount(), 5);
    QStringList rows;
    for (int i = 0; i < w.rowCount(); ++i) {
        QTreeWidgetItem* row = w.lvSessions->topLevelItem(i);
        EXPECT_EQ(frmSessions::fileBytes(row), order[i]);
        rows << QString();
        for (int c = 0; c < 7; ++c)
            rows.last() += row->text(c) + '|';
    }
    rows.sort();
    EXPECT_EQ(rows.join('\n'),
              QStringList({"Hall|12-15-2009|02:00:00 PM|0|Yes|Hall_12-15-2009_50400_3.wmv||",
                           "Odd|1-1-2010|01:00:00 AM|4|No|Odd_1-1-2010_90000_2.wma||",
                           "Odd|1-1-2010|12:00:00 AM|2|No|Odd_1-1-2010_99999999999_1.wma||",
                           "Room3|12-14-2009|09:30:00 AM|4|No|Room3_12-14-2009_34200_2.wma||",
                           "||12:00:00 AM|0|No|Interview.wma||"})
                  .join('\n'));
    ASSERT_EQ(log.lines.size(), 2) << "the pedal search and the start beyond 32 bits";
    EXPECT_TRUE(log.lines[0].contains("GetInputDevices()")) << log.lines[0].toStdString();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w.lvSessions->selectedItems(), QList<QTreeWidgetItem*>{w.lvSessions->topLevelItem(0)});
}

namespace {
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override { return (shows += e->type() == QEvent::Show) < 0; }
};
} // namespace

TEST_F(CatalogueTest, VersionVerdicts) {
    const struct {
        const char* mediaVersion;    // nullptr: no media component at all
        const char* registryText;    // nullptr: the built-in registry; "": no value
        const char *title, *message; // the refusal, or nullptr to pass
    } cases[] = {
        {"9.0.35.1", nullptr, nullptr, nullptr},
        {"11.0.5721.5262", nullptr, nullptr, nullptr},
        {"9", "4.09.0000.0900", nullptr, nullptr},
        {"8.1.0", nullptr, "Media Player 9.0 Required", "Media Player 9.0 or later is required!"},
        {"", nullptr, "Media Player 9.0 Required", "Media Player 9.0 or later is required!"},
        {nullptr, nullptr, "Media Player 9.0 Required", "Media Player 9.0 or later is required!"},
        {"9.0", "4.08.01.0810", "DirectX 9.x Required", "DirectX 9.x is required!"},
        {"9.0", "4.09.00.904", "DirectX 9.x Required", "DirectX 9.x is required!"},
        {"9.0", "", "DirectX 9.x Required", "DirectX 9.x is required!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mediaVersion ? c.mediaVersion : "none") + " / " +
                     (c.registryText ? c.registryText : "built-in"));
        messages.shown.clear();
        playersMade = 0;
        noComponent = !c.mediaVersion;
        version = QLatin1String(c.mediaVersion);
        QHash<QString, QString> registry; // "": the key is missing
        if (c.registryText && *c.registryText)
            registry.insert(kDirectXVersionKey, c.registryText);
        setRegistryForTests(c.registryText ? std::optional(registry) : std::nullopt);
        ShowCounter counter;
        start(false).installEventFilter(&counter);
        catalogue->Form_Load();
        EXPECT_EQ(catalogue->isVisible(), !c.title);
        EXPECT_EQ(catalogue->isUnloaded(), bool(c.title));
        EXPECT_EQ(playersMade, c.title ? 1 : 2) << "the check loads the player window once, start-up again";
        if (!c.title) {
            EXPECT_TRUE(messages.shown.empty());
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u) << "the second check does not run after the first fails";
        EXPECT_EQ(messages.shown[0].kind + messages.shown[0].title, "error" + QLatin1String(c.title));
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(counter.shows, 0) << "the refused catalogue never showed, not even from the check";
    }
}

TEST_F(CatalogueTest, AFailedScanStillShowsTheCatalogue) {
    setProgramFolderForTests(disc + "/gone");
    frmSessions& w = start();
    EXPECT_TRUE(w.isVisible()) << "a program without a window could not even be closed";
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].startsWith("ERROR: No = 76, ") &&
                log.lines[0].contains("frmSessions.GetFilenames()"));
    EXPECT_TRUE(log.lines[1].contains("Desc = Quillon502.frmSessions.Rescan()"));
}

TEST_F(CatalogueTest, AnErrorBeforeTheCatalogueCanShowEndsTheProgramAfterItsMessage) {
    addFile("A_1-1-2010_10_1.wma");
    failingPlayer = 2; // the check's window loads; the catalogue's own fails
    input = std::make_shared<BrokenInput>();
    EXPECT_EQ(runProgram(start(false)), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(
        QRegularExpression("1001'.*frmSessions\\.Form_Load\\(\\)( at line: \\d+)? > no media engine$",
                           QRegularExpression::DotMatchesEverythingOption)))
        << messages.shown[0].text.toStdString();
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_FALSE(catalogue->isVisible());
    EXPECT_EQ(catalogue->rowCount(), 0) << "the scan never ran";
    EXPECT_FALSE(pedalDevices().dxRoot) << "no step after the failing one ran";
}
