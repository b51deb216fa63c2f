#pragma once

// The real player window, built offscreen on a scripted media component and catalogue.
#include "FakeCatalogue.h"
#include "FakeMediaPlayer.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

class PlayerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto media = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            auto player = std::make_unique<FakeMediaPlayer>();
            fake = player.get();
            return player;
        };
        window = std::make_unique<frmMain>(PlayerServices{media, &catalogue, nullptr});
        window->Form_Load();
        ASSERT_NE(fake, nullptr);
    }

    // A session as the catalogue hands it over; an empty name means no media at all.
    void openSession(const QString& filename, int state = MediaPlayer::PlayPlaying) {
        window->CurrentFilename = filename;
        fake->source = filename.isEmpty() ? QString() : QStringLiteral("/disc/") + filename;
        fake->state = state;
    }

    QString clockText() const { return window->picClockFrame->accessibleDescription(); }

    CapturedLog log;
    RecordedMessages messages;
    FakeCatalogue catalogue;
    FakeMediaPlayer* fake = nullptr;
    std::unique_ptr<frmMain> window;
};
