#pragma once

// A disc in a temporary folder and a catalogue built on fakes: media component, input system,
// message boxes and log.
#include "FakeInputSystem.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "PlatformChecks.h"
#include "TestSupport.h"
#include "frmSessions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <ftw.h>
#include <gtest/gtest.h>

class CatalogueTest : public ::testing::Test {
  protected:
    // The folder is made and removed by bytes, so names that are not UTF-8 go too.
    CatalogueTest() : disc(QFile::encodeName(QDir::tempPath()) + "/quillon-disc-XXXXXX") {
        mkdtemp(disc.data());
        folder = disc;
    }
    ~CatalogueTest() override {
        catalogue.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        nftw(
            disc.constData(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }

    void addFile(const QByteArray& name) {
        FILE* f = fopen((disc + '/' + name).constData(), "wb");
        ASSERT_TRUE(f && fclose(f) == 0) << name.toStdString();
    }
    frmSessions& start(bool load = true) {
        const auto create = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            if (++playersMade == failingPlayer)
                raiseError(ErrNo::MediaFailure, "no media engine");
            auto player = std::make_unique<FakeMediaPlayer>();
            player->openOnURL = openOnURL;
            player->failOn = failOn;
            return noComponent ? nullptr : std::move(player);
        };
        const auto versionInfo = [this] { return noComponent ? QString() : version; };
        const auto inputSystem = [this] { return input; };
        catalogue.reset();
        catalogue = std::make_unique<frmSessions>(CatalogueServices{
            log, messages, {create, versionInfo}, pedal, inputSystem, folder, registry, openWaitMs});
        if (load)
            catalogue->Form_Load();
        return *catalogue;
    }
    frmMain* window() const { return catalogue->playerWindow(); }
    QTreeWidget* list() const { return catalogue->findChild<QTreeWidget*>(QStringLiteral("lvSessions")); }
    FakeMediaPlayer* player() const { return dynamic_cast<FakeMediaPlayer*>(window()->player()); }
    QStringList urlCalls() const { return player()->calls.filter(QRegularExpression("^URL=.")); }

    QByteArray disc;
    QByteArray folder; // the program's folder the catalogue is given
    Registry registry = builtInRegistry();
    RecordedMessages messages;
    CapturedLog log;
    PedalDevices pedal{log};
    QString version = QStringLiteral("9.0.35.1");
    int openOnURL = MediaPlayer::OpenOpen, openWaitMs = 15000, playersMade = 0, failingPlayer = 0;
    QString failOn;
    bool noComponent = false;
    std::shared_ptr<InputSystem> input;
    std::unique_ptr<frmSessions> catalogue;
};
