// sounds.h — the program's sound cues and the sound switch.
//
// SoundEffects plays the wave file Sounds/<name>.wav of the data folder in the background; a
// repetition cuts off the one still playing, and a key press in the main window or a click on the
// grid (both clear TLMainState::SoundPlaying) ends the repetitions early. A missing file or no
// sound device gives silence. SoundEffects does not look at the switch [Options] Sound: callers do
// (the trial buttons of the options dialog play whatever it says). Toggle_Sound turns the switch
// over and shows it in the status bar's sound icon.
#pragma once

#include <QLabel>
#include <string>

#include "foundation/main_window_link.h"

namespace TLMainSounds {

// The wave files' folder below the data folder.
inline constexpr const char* kSoundsFolder = "Sounds/";

// Plays DataFolder/Sounds/<Name>.wav `Times` times, yielding to the event loop before each start.
void SoundEffects(const std::string& Name, int Times);

// [Options] Sound read as a Boolean (default off).
bool Sound_On();

// Turns the sounds off ("Sound is Off....") or on ("Sound is On....", and the General sound plays
// once so the user hears the change); the sound icon follows.
void Toggle_Sound();

// The Sounds duty of the main window: what the lower parts call.
class MainSounds final : public TLMainLink::Sounds {
public:
    void SoundEffects(const std::string& name, int repeat) override { TLMainSounds::SoundEffects(name, repeat); }
};

}  // namespace TLMainSounds

// The sound icon of the status bar (SoundIcon): a speaker, struck through while sounds are off;
// a click runs Toggle_Sound. The latest icon made is the one Toggle_Sound updates.
class SoundIcon final : public QLabel {
    Q_OBJECT
public:
    explicit SoundIcon(QWidget* parent = nullptr);
    ~SoundIcon() override;

    // Shows the picture that matches [Options] Sound (the main window's load).
    void Show_Sound_State();
    void setSoundOn(bool on);
    bool soundOn() const { return m_on; }

    void SoundIcon_Click();

    // The icon Toggle_Sound updates; nullptr when none is made.
    static SoundIcon* current();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool m_on = false;
};
