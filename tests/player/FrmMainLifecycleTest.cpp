// The player window's lifecycle procedures against a fake media component and catalogue.
#include "FakeCatalogue.h"
#include "FakeMediaPlayer.h"
#include "InputDevices.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "TestSupport.h"
#include "Twips.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
const QString kMedia = QStringLiteral("Room3_12-14-2009_34200_1.wma");

class StillPedal : public InputDevice {
  public:
    std::vector<bool> buttons() override { return {false, false, false}; }
};

class PlayerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { setProgramFolderForTests(QFile::encodeName(disc.path())); }
    void TearDown() override {
        delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderForTests({});
    }

    frmMain& load() {
        PlayerServices services;
        services.createMediaPlayer = [this](QWidget*) {
            auto player = std::make_unique<FakeMediaPlayer>();
            player->failOn = failOn;
            return player;
        };
        services.catalogue = &catalogue;
        services.pedal = &pedal;
        window = frmMain::load(services);
        return *window;
    }
    FakeMediaPlayer& player() { return *dynamic_cast<FakeMediaPlayer*>(window->player()); }
    void writeNotes(const QByteArray& xml) {
        QFile file(disc.path() + "/Room3_12-14-2009_34200_1.xml");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml);
    }

    QTemporaryDir disc;
    RecordedMessages messages;
    CapturedLog log;
    FakeCatalogue catalogue;
    PedalDevices pedal;
    QString failOn;
    QPointer<frmMain> window;
};
} // namespace

TEST_F(PlayerWindowTest, FormLoadSetsUpListsSliderAndRate) {
    frmMain& w = load();
    const struct {
        QTreeWidget* list;
        QStringList headers;
        QList<int> twips;
    } lists[] = {{w.lvNotes, {"Time", "Source", "Note"}, {1100, 2500, 5800}},
                 {w.lvData, {"Field", "Value"}, {1300, 1800}}};
    for (const auto& l : lists) {
        ASSERT_EQ(l.list->columnCount(), l.headers.size()) << l.list->objectName().toStdString();
        for (int c = 0; c < l.headers.size(); ++c) {
            EXPECT_EQ(l.list->headerItem()->text(c), l.headers[c]);
            EXPECT_EQ(l.list->header()->sectionSize(c), Twips::toPixels(l.twips[c]));
        }
    }
    EXPECT_EQ(w.sldRate->minimum(), 0);
    EXPECT_EQ(w.sldRate->maximum(), 2);
    EXPECT_EQ(w.sldRate->value(), 1);
    EXPECT_EQ(w.PlayRate, 1.0);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.tmrFoot->isActive());
    EXPECT_FALSE(w.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(player().calls.isEmpty()) << "loading plays nothing and sets no rate";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PlayerWindowTest, InitHeightFollowsTheNotes) {
    const struct {
        const char* name;
        QByteArray xml; // empty: no notes document at all
        int heightTwips;
    } cases[] = {
        {"no document", {}, 5300},
        {"document without notes", "<session><duration>0:10:00</duration></session>", 5300},
        {"one note",
         "<session><notes><note><time>09:31:00</time><speaker>A</speaker><text>t</text></note>"
         "</notes></session>",
         7500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(disc.path() + "/Room3_12-14-2009_34200_1.xml");
        if (!c.xml.isEmpty())
            writeNotes(c.xml);
        delete window.data();
        frmMain& w = load();
        const int width = w.widthTwips();
        w.cmbFullScreen->show();
        w.Init("Room3 - 12-14-2009", kMedia, kMedia.toUtf8());
        EXPECT_EQ(w.windowTitle(), "Room3 - 12-14-2009");
        EXPECT_EQ(w.CurrentFilename, kMedia);
        EXPECT_EQ(w.CurrentFileBytes, kMedia.toUtf8());
        EXPECT_TRUE(w.cmbFullScreen->isHidden());
        EXPECT_EQ(w.heightTwips(), c.heightTwips);
        EXPECT_EQ(w.height(), Twips::toPixels(c.heightTwips - Twips::FrameHeight));
        EXPECT_EQ(w.widthTwips(), width);
    }
}

TEST_F(PlayerWindowTest, InitArmsThePedalPollOnlyWithAPedal) {
    frmMain& w = load();
    w.Init("T", kMedia);
    EXPECT_FALSE(w.tmrFoot->isActive());
    pedal.diPedal = std::make_unique<StillPedal>();
    w.Init("T", kMedia);
    EXPECT_TRUE(w.tmrFoot->isActive());
    pedal.diPedal.reset();
    w.Init("T", kMedia);
    EXPECT_FALSE(w.tmrFoot->isActive());
}

TEST_F(PlayerWindowTest, UnloadStopsReleasesAndHandsBackByRowCount) {
    const struct { int rows, shown, unloaded; } cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 1, 0}, {40000, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        catalogue.rows = c.rows;
        catalogue.shown = catalogue.unloaded = 0;
        frmMain& w = load();
        player().setURL("/disc/" + kMedia.toUtf8());
        w.Timer1->start();
        w.tmrFoot->start();
        w.show();
        bool timersOffDuringPump = false;
        QTimer::singleShot(0, &w,
                           [&] { timersOffDuringPump = !w.Timer1->isActive() && !w.tmrFoot->isActive(); });
        w.close();
        EXPECT_TRUE(timersOffDuringPump) << "no tick runs against a stopped player";
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(w.isUnloading());
        EXPECT_EQ(player().calls.mid(1), QStringList({"stop", "URL="}));
        EXPECT_EQ(catalogue.shown, c.shown);
        EXPECT_EQ(catalogue.unloaded, c.unloaded);
        w.close(); // a second close does nothing more
        EXPECT_EQ(catalogue.shown + catalogue.unloaded, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PlayerWindowTest, AFailingStopStillReleasesTheMediaAndReturnsToTheCatalogue) {
    failOn = QStringLiteral("stop");
    frmMain& w = load();
    player().setURL("/disc/" + kMedia.toUtf8());
    w.Timer1->start();
    w.show();
    w.close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("1001"));
    EXPECT_TRUE(messages.shown[0].text.contains("Quillon502.frmMain.Form_Unload()"));
    EXPECT_TRUE(player().url.isEmpty());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(catalogue.shown, 1);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains("Desc = Quillon502.frmMain.Form_Unload()"));
}

TEST_F(PlayerWindowTest, AWindowDeletedDuringTheUnloadPumpIsNotTouched) {
    frmMain& w = load();
    frmMain* raw = &w;
    QTimer::singleShot(0, [raw] { delete raw; });
    EXPECT_NO_THROW(w.unload());
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(catalogue.shown + catalogue.unloaded, 0);
}
