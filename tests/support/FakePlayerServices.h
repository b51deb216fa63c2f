#pragma once

// What a player window is built with in tests and benchmarks: a scripted media component, a catalogue
// that counts what it is told, a pedal layer, a captured log and recorded message boxes.
#include "FakeCatalogue.h"
#include "FakeMediaPlayer.h"
#include "PedalDevices.h"
#include "PlayerServices.h"
#include "TestSupport.h"

struct FakePlayerServices {
    PlayerServices services() {
        auto media = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
            auto player = std::make_unique<FakeMediaPlayer>();
            player->failOn = failOn;
            fake = player.get();
            return player;
        };
        return {
            log,         messages,
            {media, {}}, catalogue,
            pedal,       [this](const std::function<bool()>& done, int timeoutMs) { wait(done, timeoutMs); }};
    }

    CapturedLog log;
    RecordedMessages messages;
    FakeCatalogue catalogue;
    PedalDevices pedal{log};
    // The pedal's rewind wait: no real time passes.
    std::function<void(const std::function<bool()>&, int)> wait = [](const std::function<bool()>&, int) {};
    QString failOn;                  // the media call that fails in windows made from now on
    FakeMediaPlayer* fake = nullptr; // the media component of the latest window
};
