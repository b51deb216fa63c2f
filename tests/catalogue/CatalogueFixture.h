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
        setProgramFolderForTests(disc);
    }
    ~CatalogueTest() override {
        catalogue.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderForTests({});
        setRegistryForTests(std::nullopt);
        pedalDevices().releaseInputObjects();
        nftw(
            disc.constData(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }

    void addFile(const QByteArray& name) {
        FILE* f = fopen((disc + '/' + name).constData(), "wb");
        ASSERT_TRUE(f && fclose(f) == 0) << name.toStdString();
    }
    frmSessions& start(bool load = true) {
        CatalogueServices s;
        s.createMediaPlayer = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            if (++playersMade == failingPlayer)
                raiseError(ErrNo::MediaFailure, "no media engine");
            auto player = std::make_unique<FakeMediaPlayer>();
            player->version = version;
            player->openOnURL = openOnURL;
            player->failOn = failOn;
            return noComponent ? nullptr : std::move(player);
        };
        s.createInputSystem = [this] { return input; };
        s.openWaitMs = openWaitMs;
        catalogue = std::make_unique<frmSessions>(s);
        if (load)
            catalogue->Form_Load();
        return *catalogue;
    }
    frmMain* window() const { return catalogue->playerWindow(); }
    FakeMediaPlayer* player() const { return dynamic_cast<FakeMediaPlayer*>(window()->player()); }
    QStringList urlCalls() const { return player()->calls.filter(QRegularExpression("^URL=.")); }

    QByteArray disc;
    RecordedMessages messages;
    CapturedLog log;
    QString version = QStringLiteral("9.0.35.1");
    int openOnURL = MediaPlayer::OpenOpen, openWaitMs = 15000, playersMade = 0, failingPlayer = 0;
    QString failOn;
    bool noComponent = false;
    std::shared_ptr<InputSystem> input;
    std::unique_ptr<frmSessions> catalogue;
};
