// Sound cues: the wave file of the Sounds folder, repetitions that a key press ends, the sound
// switch with its icon, and the main window's Sounds duty.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>

#include "fake_clock.h"
#include "fake_system_notices.h"
#include "fake_tray.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/startup.h"
#include "foundation/window_subclass.h"
#include "mainwindow/sounds.h"
#include "mainwindow/tl_main.h"
#include "platform/sound_player.h"
#include "recording_main_window.h"
#include "recording_sound_player.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

class Sounds : public ::testing::Test {
protected:
    void SetUp() override {
        modAHM::SetProviderAvailableForTests(true);
        reset();
    }
    void TearDown() override {
        TLMain::unloadForTests();
        reset();
    }
    void reset() {
        TLMain::unloadForTests();
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        modDebug::ResetForTests();
        modPwrCtrl::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
    }
    std::string wave(const std::string& name) const { return data.path("Sounds/" + name + ".wav"); }

    TempDataFolder data;
    FakeTime time;
    RecordingSoundPlayer player;
};

TEST_F(Sounds, PlaysTheNamedWaveFileOfTheSoundsFolderEachTime) {
    struct C { const char* name; int times; size_t starts; };
    const C cases[] = {{"Alert", 1, 1}, {"Win", 3, 3}, {"My Chime", 1, 1}, {"Lose", 0, 0}};
    for (const C& c : cases) {
        player.played.clear();
        TLMainSounds::SoundEffects(c.name, c.times);
        EXPECT_EQ(player.played, std::vector<std::string>(c.starts, wave(c.name))) << c.name;
        EXPECT_EQ(TLMainState::SoundPlaying, 0) << c.name;
    }
}

// SoundPlaying is set while the repetitions run; a click on the grid or a key press clears it.
TEST_F(Sounds, AClearedFlagEndsTheRemainingRepetitions) {
    player.onPlay = [] {
        EXPECT_NE(TLMainState::SoundPlaying, 0);
        TLMainState::SoundPlaying = 0;  // the user clicks the grid
    };
    TLMainSounds::SoundEffects("Alert", 5);
    EXPECT_EQ(player.played.size(), 1u);
    EXPECT_EQ(TLMainState::SoundPlaying, 0);
}

TEST_F(Sounds, ToggleTurnsTheSwitchOverAndPlaysOnlyWhenTurnedOn) {
    RecordingStatusLine status;
    SoundIcon icon;
    struct C { const char* before; const char* after; const char* message; bool heard; };
    const C cases[] = {
        {nullptr, "1", "Sound is On....", true},  // off by default
        {"0", "1", "Sound is On....", true},
        {"False", "1", "Sound is On....", true},
        {"1", "0", "Sound is Off....", false},
        {"True", "0", "Sound is Off....", false},
        {"-1", "0", "Sound is Off....", false},
    };
    modTLC::Set_Config_Value("Sounds", "General", "Bell");
    for (const C& c : cases) {
        const std::string label = c.before ? c.before : "(none)";
        modTLC::Delete_Config_Key("Options", "Sound");
        if (c.before) modTLC::Set_Config_Value("Options", "Sound", c.before);
        player.played.clear();
        TLMainSounds::Toggle_Sound();
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound"), c.after) << label;
        EXPECT_EQ(status.status, c.message) << label;
        EXPECT_EQ(icon.soundOn(), c.heard) << label;
        EXPECT_EQ(player.played, c.heard ? std::vector<std::string>{wave("Bell")} : std::vector<std::string>{})
            << label;
    }
    // Without a Sounds entry the General sound is the file named like its key.
    modTLC::Delete_Config_Key("Sounds", "General");
    modTLC::Set_Config_Value("Options", "Sound", "0");
    player.played.clear();
    icon.SoundIcon_Click();
    EXPECT_EQ(player.played, std::vector<std::string>{wave("General")});
}

// A short wave file: 16-bit mono PCM at 8 kHz, a tenth of a second of silence.
std::string waveFile() {
    const uint32_t samples = 800, dataBytes = samples * 2;
    std::string w = "RIFF";
    auto put32 = [&w](uint32_t v) { for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto put16 = [&w](uint16_t v) { for (int i = 0; i < 2; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF); };
    put32(36 + dataBytes);
    w += "WAVEfmt ";
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    w += "data";
    put32(dataBytes);
    w += std::string(dataBytes, '\0');
    return w;
}

// The program's own player: a wave file plays in the background (silence without a sound
// device); no file or one that does not decode is silence and no message to the user.
TEST_F(Sounds, TheRealPlayerNeverWaitsAndIsSilentWithoutAFile) {
    RecordingStatusLine status;
    platform::setSoundPlayerForTests(nullptr);
    data.write("Sounds/Short.wav", waveFile());
    data.write("Sounds/Broken.wav", "not a wave file");
    for (const char* name : {"Short", "Short", "Missing", "Broken", "Broken"})  // repetitions cut the last
        platform::soundPlayer().playWave(wave(name));
    QCoreApplication::processEvents();
    platform::setSoundPlayerForTests(&player);
    EXPECT_TRUE(status.statuses.empty());
}

// The main window carries the Sounds duty, shows the switch at its load, and a key press in it
// ends a repeating sound.
TEST_F(Sounds, TheMainWindowPlaysForTheLowerPartsAndAKeyPressStopsARepetition) {
    FakeTrayIcon tray;
    FakeSystemNotices notices;
    modTLC::Set_Config_Value("Options", "Sound", "True");
    TLMain& w = TLMain::instance();
    w.Form_Load();
    ASSERT_NE(SoundIcon::current(), nullptr);
    EXPECT_TRUE(SoundIcon::current()->soundOn());

    TLMainLink::sounds().SoundEffects("AddItem", 1);
    EXPECT_EQ(player.played, std::vector<std::string>{wave("AddItem")});

    player.played.clear();
    player.onPlay = [&w] {
        QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    };
    TLMainLink::sounds().SoundEffects("Alert", 4);
    EXPECT_EQ(player.played, std::vector<std::string>{wave("Alert")});
}

}  // namespace
