#pragma once

// A disc in a temporary folder and a catalogue built on fakes: media component, input system,
// message boxes and log.
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "TestSupport.h"
#include "frmSessions.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

class CatalogueTest : public ::testing::Test {
  protected:
    ~CatalogueTest() override {
        catalogue.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void addFile(const QByteArray& name) { ASSERT_TRUE(disc.write(name)) << name.toStdString(); }
    frmSessions& start(bool load = true) {
        const auto create = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            if (playerFails)
                raiseError(ErrNo::MediaFailure, "no media engine");
            auto player = std::make_unique<FakeMediaPlayer>();
            player->openOnURL = openOnURL;
            player->failOn = failOn;
            return noComponent ? nullptr : std::move(player);
        };
        const auto versionInfo = [this] { return noComponent ? QString() : version; };
        catalogue.reset();
        catalogue = std::make_unique<frmSessions>(
            CatalogueServices{log, messages, {create, versionInfo}, pedal, [this] { return input; }, folder});
        if (load)
            catalogue->Form_Load();
        return *catalogue;
    }
    frmMain* window() const { return catalogue->playerWindow(); }
    QTreeWidget* list() const { return catalogue->findChild<QTreeWidget*>(QStringLiteral("lvSessions")); }
    FakeMediaPlayer* player() const { return dynamic_cast<FakeMediaPlayer*>(window()->player()); }
    QStringList urlCalls() const { return player()->calls.filter(QRegularExpression("^URL=.")); }

    TemporaryFolder disc;
    QByteArray folder = disc.path; // the program's folder the catalogue is given
    RecordedMessages messages;
    CapturedLog log;
    PedalDevices pedal{log};
    QString version = QStringLiteral("9.0.35.1");
    int openOnURL = MediaPlayer::OpenOpen;
    QString failOn;
    bool noComponent = false, playerFails = false;
    std::shared_ptr<InputSystem> input;
    std::unique_ptr<frmSessions> catalogue;
};
