// sound_player.h — playing a wave file in the background.
//
// Tests replace the player with one that records what it was asked to play
// (tests/support/recording_sound_player.h).
#pragma once

#include <string>

namespace platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file and returns at once; a sound still playing is cut off.
    // A missing or unreadable file, or no sound device, gives silence and no message.
    virtual void playWave(const std::string& path) = 0;
};

SoundPlayer& soundPlayer();
void setSoundPlayerForTests(SoundPlayer* player);  // nullptr puts the real one back

}  // namespace platform
