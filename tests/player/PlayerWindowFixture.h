#pragma once

// The real player window, built offscreen on a scripted media component, catalogue and pedal, with a
// temporary folder as the program's folder (the disc, where notes documents are looked for).
#include "FakeCatalogue.h"
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdio>
#include <gtest/gtest.h>

class PlayerWindowTest : public ::testing::Test {
  protected:
    PlayerWindowTest() { setProgramFolderForTests(QFile::encodeName(disc.path())); }
    ~PlayerWindowTest() override {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderForTests({});
    }
    void SetUp() override {
        window.reset(frmMain::load(services()));
        ASSERT_NE(fake, nullptr);
    }

    // Every window made here: `fake` is the media component of the latest.
    PlayerServices services() {
        auto media = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            auto player = std::make_unique<FakeMediaPlayer>();
            player->failOn = failOn;
            fake = player.get();
            return player;
        };
        return {media, &catalogue, &pedal,
                [this](const std::function<bool()>& done, int timeoutMs) { wait(done, timeoutMs); }};
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
        FILE* f = std::fopen((QFile::encodeName(disc.path()) + '/' + name).constData(), "wb");
        ASSERT_TRUE(f && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size()) &&
                    std::fclose(f) == 0);
    }

    // A session as the catalogue hands it over; an empty name means no media at all.
    void openSession(const QString& filename, int state = MediaPlayer::PlayPlaying) {
        window->CurrentFilename = filename;
        fake->source = filename.isEmpty() ? QString() : QStringLiteral("/disc/") + filename;
        fake->state = state;
    }

    QString clockText() const { return window->picClockFrame->accessibleDescription(); }

    QTemporaryDir disc;
    CapturedLog log;
    RecordedMessages messages;
    FakeCatalogue catalogue;
    PedalDevices pedal;
    // The rewind wait: no real time passes in these tests.
    std::function<void(const std::function<bool()>&, int)> wait = [](const std::function<bool()>&, int) {};
    QString failOn; // the media call that fails in windows made from now on
    FakeMediaPlayer* fake = nullptr;
    std::unique_ptr<frmMain> window;
};
