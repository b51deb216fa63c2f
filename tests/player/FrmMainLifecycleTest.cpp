// The player window's lifecycle procedures against a fake media component and catalogue.
#include "PlayerWindowFixture.h"

#include <QTimer>
#include <optional>

namespace {
const QByteArray kMedia = "Room3_12-14-2009_34200_1.wma";
} // namespace

// The notes list shows only where there are notes: the window ends above it otherwise. A damaged notes
// document never keeps the session from opening.
TEST_F(PlayerWindowTest, LoadPlaysNothingAndInitSizesByTheNotesAndPollsOnlyAPedal) {
    const struct {
        QByteArray xml; // empty: no notes document at all
        const char* notesList;
        bool pedal, damaged;
    } cases[] = {
        {{}, "hidden", true, false},
        {"<session><notes><note><time>09:31:00</time><text>t</text></note></notes></session>", "shown", false,
         false},
        {"<session><notes><note><time>09:00:00</time></notes>", "hidden", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml.toStdString());
        std::remove((disc.path + "/Room3_12-14-2009_34200_1.xml").constData());
        if (!c.xml.isEmpty())
            writeOnDisc("Room3_12-14-2009_34200_1.xml", c.xml);
        plugPedal(c.pedal ? QStringLiteral("USB Footpedal") : QStringLiteral("AT keyboard"));
        log.lines.clear();
        delete made.data();
        frmMain& w = load();
        QTimer* tick = w.findChild<QTimer*>(QStringLiteral("Timer1"));
        QTimer* pedalPoll = w.findChild<QTimer*>(QStringLiteral("tmrFoot"));
        EXPECT_FALSE(tick->isActive() || pedalPoll->isActive() || w.isVisible());
        QCoreApplication::processEvents();
        EXPECT_TRUE(fake->calls.isEmpty()) << "loading plays nothing and sets no rate";
        pedalPoll->start();
        EXPECT_NO_THROW(w.Init("Room3 - 12-14-2009", sessionOf(kMedia)));
        EXPECT_EQ(inView("lvNotes", &w), QString::fromLatin1(c.notesList));
        EXPECT_EQ(pedalPoll->isActive(), c.pedal);
        ASSERT_EQ(log.lines.size(), c.damaged ? 1 : 0);
        EXPECT_TRUE(!c.damaged || log.lines[0].contains("Quillon502.frmMain.LoadXML() > "));
    }
}

TEST_F(PlayerWindowTest, UnloadStopsReleasesAndHandsBack) {
    using HandBack = frmMain::HandBack;
    const struct {
        HandBack handBack;
        int shown, unloaded;
        const char *failOn, *calls; // a failing stop is shown, and the media is still released
    } cases[] = {{HandBack::EndProgram, 0, 1, "", "stop URL="},
                 {HandBack::ShowCatalogue, 1, 0, "", "stop URL="},
                 {HandBack::ShowCatalogue, 1, 0, "stop", "URL="}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.handBack));
        catalogue.shown = catalogue.unloaded = 0;
        failOn = c.failOn;
        frmMain& w = load();
        QTimer* tick = w.findChild<QTimer*>(QStringLiteral("Timer1"));
        QTimer* pedalPoll = w.findChild<QTimer*>(QStringLiteral("tmrFoot"));
        ASSERT_TRUE(w.openSession(sessionOf(kMedia), c.handBack, 0, {}));
        pedalPoll->start();
        w.show();
        std::optional<bool> timersOnDuringPump; // none: the unload let no events run
        QTimer::singleShot(0, &w, [&] { timersOnDuringPump = tick->isActive() || pedalPoll->isActive(); });
        w.close();
        w.close(); // a second close does nothing more
        EXPECT_NE(timersOnDuringPump, std::optional(true)) << "no tick runs against a stopped player";
        EXPECT_TRUE(timersOnDuringPump.has_value() || *c.failOn) << "the unload lets events run";
        EXPECT_FALSE(tick->isActive());
        EXPECT_EQ(fake->calls.mid(1).join(' '), c.calls);
        EXPECT_EQ(catalogue.shown, c.shown);
        EXPECT_EQ(catalogue.unloaded, c.unloaded);
        EXPECT_EQ(messages.shown.size(), *c.failOn ? 1u : 0u);
        EXPECT_EQ(log.lines.size(), *c.failOn ? 1 : 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(made.isNull());
    }
}

TEST_F(PlayerWindowTest, AWindowDeletedDuringTheUnloadPumpIsNotTouched) {
    frmMain* w = &load();
    const QPointer<QWidget> media = w->player()->widget();
    QTimer::singleShot(0, [w] { delete w; });
    EXPECT_NO_THROW(w->unload());
    EXPECT_TRUE(made.isNull());
    EXPECT_TRUE(media.isNull()) << "the media component goes with its window";
    EXPECT_EQ(catalogue.shown + catalogue.unloaded, 0);
}
