#pragma once

// A disc in a temporary folder and a catalogue built on fakes: media component, input system,
// message boxes and log.
#include "ByteFolder.h"
#include "FakeInput.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "Platform.h"
#include "PlatformChecks.h"
#include "TestSupport.h"
#include "frmSessions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setProgramFolderForTests(folder());
        setRegistryForTests(std::nullopt);
    }
    void TearDown() override {
        catalogue.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderForTests({});
        setRegistryForTests(std::nullopt);
        releaseInputObjects(pedalDevices());
    }

    QByteArray folder() const { return disc.path(); }
    void addFile(const QByteArray& name) { ASSERT_TRUE(disc.file(name)) << name.toStdString(); }

    CatalogueServices services() {
        CatalogueServices s;
        s.createMediaPlayer = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            ++playersMade;
            if (noComponent)
                return nullptr;
            auto player = std::make_unique<FakeMediaPlayer>();
            player->version = version;
            player->openOnURL = openOnURL;
            player->failOn = failOn;
            return player;
        };
        s.createInputSystem = [this] { return input; };
        s.openWaitMs = openWaitMs;
        return s;
    }
    frmSessions& start() {
        catalogue = std::make_unique<frmSessions>(services());
        catalogue->Form_Load();
        return *catalogue;
    }
    frmMain* window() const { return catalogue->playerWindow(); }
    FakeMediaPlayer* player() const {
        return window() ? dynamic_cast<FakeMediaPlayer*>(window()->player()) : nullptr;
    }
    QStringList urlCalls() const {
        return player() ? player()->calls.filter(QRegularExpression("^URL=.")) : QStringList();
    }
    void selectRow(int index) {
        catalogue->lvSessions->clearSelection();
        catalogue->lvSessions->topLevelItem(index)->setSelected(true);
    }

    ByteFolder disc;
    RecordedMessages messages;
    CapturedLog log;
    QString version = QStringLiteral("9.0.35.1");
    int openOnURL = MediaPlayer::OpenOpen;
    QString failOn;
    bool noComponent = false;
    int playersMade = 0;
    int openWaitMs = 15000;
    std::shared_ptr<FakeInputSystem> input;
    std::unique_ptr<frmSessions> catalogue;
};
