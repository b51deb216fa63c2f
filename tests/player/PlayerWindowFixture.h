#pragma once

// The real player window, built offscreen on a scripted media component, catalogue and pedal, with a
// temporary folder as the disc (where notes documents are looked for).
#include "ClockPanel.h"
#include "FakeInputSystem.h"
#include "FakePlayerServices.h"
#include "NotesFiles.h"
#include "NotesPanel.h"
#include "PedalPoll.h"
#include "Platform.h"
#include "RecordingStart.h"
#include "Transport.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>

class PlayerWindowTest : public ::testing::Test, public FakePlayerServices {
  protected:
    ~PlayerWindowTest() override {
        delete made.data();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void SetUp() override {
        window.reset(frmMain::load(services()));
        ASSERT_NE(fake, nullptr);
    }

    // A fresh input system with one attached device of that name, found as at start-up.
    std::shared_ptr<FakeDeviceState>
    plugPedal(const QString& name = QStringLiteral("VEC  VEC USB Footpedal")) {
        auto input = std::make_shared<FakeInputSystem>();
        auto device = input->add(name);
        pedal.releaseInputObjects();
        pedal.createInputRoots([input] { return input; });
        pedal.GetInputDevices();
        return device;
    }

    // A file on the disc, by bytes: names may be anything a file system takes, also not UTF-8.
    void writeOnDisc(const QByteArray& name, const QByteArray& bytes) {
        ASSERT_TRUE(disc.write(name, bytes));
    }

    // A session on the disc as the catalogue hands it over (the catalogue's own reading of names is
    // tested with the catalogue): the recording start and the notes documents of its name.
    SessionData sessionOf(const QByteArray& name) const {
        SessionData session;
        session.Folder = disc.path;
        session.FileBytes = name;
        session.Filename = displayFileName(name);
        session.Location = QStringLiteral("Room3");
        session.SessionDate = QStringLiteral("12-14-2009");
        session.StartSeconds = qMax(0, GetStartSeconds(session.Filename));
        session.RecordingStart = RecordingStart::fromFilename(session.Filename);
        session.NotesCandidates = NotesFiles::candidateNames(name);
        return session;
    }
    // The window as it plays a session (an empty name: no media at all); its notes are loaded.
    void openSession(const QByteArray& name, int state = MediaPlayer::PlayPlaying) {
        window->Init(QString(), name.isEmpty() ? SessionData() : sessionOf(name));
        fake->source = name.isEmpty() ? QString() : QStringLiteral("/disc/") + displayFileName(name);
        fake->state = state;
    }
    // A window made and let go as the program does, beside the fixture's own.
    frmMain& load() { return *(made = frmMain::load(services())); }

    // A control of the window by its designed name.
    template <typename T = QWidget> T* control(const char* name) const {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString clockText() const { return window->clock().shownTime(); }
    // Where a control is in its window (by default the fixture's) as the user sees it: "shown" inside,
    // "hidden" beyond the edges, "cut" partly.
    QString inView(const char* name, const QWidget* in = nullptr) const {
        in = in ? in : window.get();
        const QWidget* found = in->findChild<QWidget*>(QLatin1String(name));
        const QRect where(found->mapTo(in, QPoint(0, 0)), found->size());
        return QLatin1String(in->rect().contains(where)     ? "shown"
                             : in->rect().intersects(where) ? "cut"
                                                            : "hidden");
    }

    TemporaryFolder disc;
    std::unique_ptr<frmMain> window;
    QPointer<frmMain> made;
};
