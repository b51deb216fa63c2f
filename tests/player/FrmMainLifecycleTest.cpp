// The player window's lifecycle procedures against a fake media component and catalogue.
#include "FakeCatalogue.h"
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "TestSupport.h"
#include "Twips.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const QString kMedia = QStringLiteral("Room3_12-14-2009_34200_1.wma");

class LifecycleTest : public ::testing::Test {
  protected:
    ~LifecycleTest() override {
        delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderForTests({});
    }
    frmMain& load() {
        auto media = [this](QWidget*) {
            auto player = std::make_unique<FakeMediaPlayer>();
            player->failOn = failOn;
            return player;
        };
        setProgramFolderForTests(QFile::encodeName(disc.path()));
        window = frmMain::load({media, &catalogue, &pedal});
        return *window;
    }
    FakeMediaPlayer& player() { return *dynamic_cast<FakeMediaPlayer*>(window->player()); }

    QTemporaryDir disc;
    RecordedMessages messages;
    CapturedLog log;
    FakeCatalogue catalogue;
    PedalDevices pedal;
    QString failOn;
    QPointer<frmMain> window;
};
} // namespace

TEST_F(LifecycleTest, LoadPlaysNothingAndInitSizesByTheNotesAndPollsOnlyAPedal) {
    const struct {
        QByteArray xml; // empty: no notes document at all
        int heightTwips;
        bool pedal;
    } cases[] = {
        {{}, 5300, true},
        {"<session><duration>0:10:00</duration></session>", 5300, false},
        {"<session><notes><note><time>09:31:00</time><text>t</text></note></notes></session>", 7500, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml.toStdString());
        QFile notes(disc.path() + "/Room3_12-14-2009_34200_1.xml");
        notes.remove();
        ASSERT_TRUE(c.xml.isEmpty() ||
                    (notes.open(QIODevice::WriteOnly) && notes.write(c.xml) && notes.flush()));
        auto input = std::make_shared<FakeInputSystem>();
        if (c.pedal)
            input->add(QStringLiteral("USB Footpedal"));
        pedal.releaseInputObjects();
        pedal.createInputRoots([input] { return input; });
        pedal.GetInputDevices();
        delete window.data();
        frmMain& w = load();
        EXPECT_FALSE(w.Timer1->isActive() || w.tmrFoot->isActive() || w.isVisible());
        QCoreApplication::processEvents();
        EXPECT_TRUE(player().calls.isEmpty()) << "loading plays nothing and sets no rate";
        w.tmrFoot->start();
        w.Init("Room3 - 12-14-2009", kMedia, kMedia.toUtf8());
        EXPECT_EQ(w.height(), Twips::toPixels(c.heightTwips - Twips::FrameHeight));
        EXPECT_EQ(w.tmrFoot->isActive(), c.pedal);
    }
}

TEST_F(LifecycleTest, UnloadStopsReleasesAndHandsBackByRowCount) {
    const struct {
        int rows, shown, unloaded;
        const char *failOn, *calls; // a failing stop is shown, and the media is still released
    } cases[] = {{1, 0, 1, "", "stop URL="}, {40000, 1, 0, "", "stop URL="}, {2, 1, 0, "stop", "URL="}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        catalogue.rows = c.rows;
        catalogue.shown = catalogue.unloaded = 0;
        failOn = c.failOn;
        frmMain& w = load();
        player().setURL("/disc/" + kMedia.toUtf8());
        w.Timer1->start();
        w.tmrFoot->start();
        w.show();
        bool timersOnDuringPump = false;
        QTimer::singleShot(0, &w,
                           [&] { timersOnDuringPump = w.Timer1->isActive() || w.tmrFoot->isActive(); });
        w.close();
        w.close(); // a second close does nothing more
        EXPECT_FALSE(timersOnDuringPump || w.Timer1->isActive()) << "no tick runs against a stopped player";
        EXPECT_EQ(player().calls.mid(1).join(' '), c.calls);
        EXPECT_EQ(catalogue.shown, c.shown);
        EXPECT_EQ(catalogue.unloaded, c.unloaded);
        EXPECT_EQ(messages.shown.size(), *c.failOn ? 1u : 0u);
        EXPECT_EQ(log.lines.size(), *c.failOn ? 1 : 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(LifecycleTest, AWindowDeletedDuringTheUnloadPumpIsNotTouched) {
    frmMain* w = &load();
    const QPointer<QWidget> media = w->player()->widget();
    QTimer::singleShot(0, [w] { delete w; });
    EXPECT_NO_THROW(w->unload());
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(media.isNull()) << "the media component goes with its window";
    EXPECT_EQ(catalogue.shown + catalogue.unloaded, 0);
}
