#pragma once

// The real player window, built offscreen on a scripted media component and catalogue.
#include "FakeCatalogue.h"
#include "FakeMediaPlayer.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <QLabel>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

class PlayerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<frmMain>(
            PlayerServices{[this](QWidget*) {
                               auto media = std::make_unique<FakeMediaPlayer>();
                               fake = media.get();
                               return std::unique_ptr<MediaPlayer>(std::move(media));
                           },
                           &catalogue, nullptr});
        window->Form_Load();
        ASSERT_NE(fake, nullptr);
    }

    // A session as the catalogue hands it over: the name and a media that plays.
    void openSession(const QString& filename, int state = MediaPlayer::PlayPlaying) {
        window->CurrentFilename = filename;
        fake->source = QStringLiteral("/disc/") + filename;
        fake->state = state;
    }

    // An error chain without its source lines, to compare with the names alone.
    static QString chainOf(QString text) {
        return text.remove(QRegularExpression(QStringLiteral(" at line: \\d+")));
    }

    QString clockText() const { return window->picClockFrame->accessibleDescription(); }

    CapturedLog log;
    RecordedMessages messages;
    FakeCatalogue catalogue;
    FakeMediaPlayer* fake = nullptr;
    std::unique_ptr<frmMain> window;
};
