// recording_sound_player.h — a sound player that records the wave files it was asked to play;
// installed for the life of the object.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sound_player.h"

namespace testsupport {

class RecordingSoundPlayer final : public platform::SoundPlayer {
public:
    RecordingSoundPlayer() { platform::setSoundPlayerForTests(this); }
    ~RecordingSoundPlayer() override { platform::setSoundPlayerForTests(nullptr); }

    void playWave(const std::string& path) override {
        played.push_back(path);
        if (onPlay) onPlay();
    }

    std::vector<std::string> played;  // every start, in order
    std::function<void()> onPlay;     // runs inside each start (a test plays the user meanwhile)
};

}  // namespace testsupport
