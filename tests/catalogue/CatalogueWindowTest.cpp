// The catalogue window built offscreen: the rows of a scan, start-up and unload.
#include "CatalogueFixture.h"
#include "ProgramStart.h"
#include "SessionDiscovery.h"

// Neither a failed scan, an odd name nor a failing pedal search hides the catalogue or the rest of the disc.
TEST_F(CatalogueTest, RowsFollowTheScanWhateverFails) {
    folder = disc.path + "/gone";
    EXPECT_TRUE(start().isVisible()) << "a program without a window could not even be closed";
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[1].contains("Desc = Quillon502.frmSessions.Rescan()")) << "chained under the scan";
    log.lines.clear();
    folder = disc.path;
    EXPECT_EQ(start().rowCount(), 0) << "an empty disc";
    input = std::make_shared<BrokenInput>();
    const QMap<QByteArray, QString> shown{
        {"Room3_12-14-2009_34200_2.wma", "Room3|12-14-2009|09:30:00 AM|4|No|Room3_12-14-2009_34200_2.wma|"},
        {"Odd_1-1-2010_99999999999_3.wmv", "Odd|1-1-2010|12:00:00 AM|0|Yes|Odd_1-1-2010_99999999999_3.wmv|"},
        {"Interview.wma", "||12:00:00 AM|0|No|Interview.wma|"}};
    for (const QByteArray& name : shown.keys() + QList<QByteArray>{"R_D_34200.xml"})
        addFile(name);
    start();
    for (int c = 0; c < 7; ++c)
        EXPECT_FALSE(list()->isColumnHidden(c)) << c << ": a width of 0 keeps the column";
    QStringList expected{"Location|Date|Start Time|Channels|Video|Filename|Notes"};
    for (const QByteArray& name : GetFilenames(log, disc.path)) // the directory's own order
        expected << shown[name];
    EXPECT_EQ(rows(list(), true), expected);
    ASSERT_EQ(log.lines.size(), 2) << qPrintable(log.lines.join('\n')); // the pedal search, the 32-bit start
    EXPECT_TRUE(log.lines[0].contains("GetInputDevices()")) << log.lines[0].toStdString();
    EXPECT_TRUE(messages.shown.empty());
}

// The start-up check as the program can meet it: a media engine that names its version passes; one
// that cannot, or none at all, ends the program after the message. (The registry the program reads
// always holds DirectX 9, so the second check never refuses.)
TEST_F(CatalogueTest, VersionVerdicts) {
    const QString refused = "error|Media Player 9.0 Required|Media Player 9.0 or later is required!";
    const std::pair<const char*, QString> cases[] = {{"9.0.35.1", {}}, {"", refused}, {nullptr, refused}};
    for (const auto& [mediaVersion, refusal] : cases) {
        SCOPED_TRACE(mediaVersion ? mediaVersion : "no component");
        messages.shown.clear();
        noComponent = !mediaVersion;
        version = QLatin1String(mediaVersion);
        start();
        EXPECT_EQ(catalogue->isVisible(), refusal.isEmpty());
        EXPECT_EQ(catalogue->isUnloaded(), !refusal.isEmpty());
        QStringList shown;
        for (const auto& m : messages.shown)
            shown << m.kind + '|' + m.title + '|' + m.text;
        EXPECT_EQ(shown.join('\n'), refusal);
    }
}

TEST_F(CatalogueTest, AnErrorBeforeTheCatalogueCanShowEndsTheProgramAfterItsMessage) {
    addFile("A_1-1-2010_10_1.wma");
    playerFails = true; // the catalogue's own player window fails to load
    input = std::make_shared<BrokenInput>();
    EXPECT_EQ(runProgram(start(false), messages), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(
        QRegularExpression("1001'.*frmSessions\\.Form_Load\\(\\)( at line: \\d+)? > no media engine$",
                           QRegularExpression::DotMatchesEverythingOption)))
        << messages.shown[0].text.toStdString();
    ASSERT_EQ(log.lines.size(), 1) << "the failing pedal search never ran";
    EXPECT_FALSE(catalogue->isVisible());
    EXPECT_EQ(catalogue->rowCount(), 0) << "the scan never ran";
}
