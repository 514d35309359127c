// setup_links.h — what the options dialog reaches of the program around it that has no interface
// of its own yet: the main window's grid look, layout and sound indicator; the sleep and wake-up
// timers; the dial-up phone book and hang-up; the colour dialog and the start of a program.
//
// Each duty is a small interface whose owner registers itself (setSetupLink); until then, and in
// tests that install no stand-in, the main-window, power and dial-up duties do nothing (a test
// never puts the machine to sleep) and the colour dialog and program start are the system's.
#pragma once

#include <QDateTime>
#include <optional>
#include <string>

#include "foundation/duty_links.h"

class QComboBox;
class QWidget;

namespace SetupLinks {

// The main window's item grid and item-number box as the Appearance page changes them.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    // The back colour (a Windows colour, red in the low byte) of the grid and the item-number box;
    // TLMainItems::kDesktopColour: the desktop's.
    virtual void setGridBackColour(long colour) {}
    // Grid column widths in twips (columns 0 to 9; 0 = hidden).
    virtual long columnWidth(int column) const { return 0; }
    virtual void setColumnWidth(int column, long twips) {}
    // Lays the window's controls and columns out again (column 2 takes what the others leave).
    virtual void ResizeWindow() {}
    // The sound indicator: the sound-on picture (15) or the sound-off picture (16).
    virtual void showSoundIcon(bool soundOn) {}
    // The help page at a section of it ("Options").
    virtual void showHelp(const std::string& section) {}
    // File -> Connect and Hangup: enabled for a connection type that dials, greyed out for none.
    virtual void enableDialCommands(bool on) {}
};

// Power control: the main window's one-shot sleep timer and the wake-up timer.
class Power {
public:
    virtual ~Power() = default;
    // Enables SleepTimer: 2 seconds later it puts the PC into the mode of [Options] PwrSleepMode.
    virtual void Start_Sleep_Timer() {}
    // Arms the resume-capable wake-up timer for that local time.
    virtual void Set_Wakeup_Timer(const QDateTime& when) {}
};

// Dial-up: the phone-book entries of the Connections page, hanging up, and the page's buttons.
class Dialup {
public:
    virtual ~Dialup() = default;
    // Fills the list with the phone-book entries and selects the saved one.
    virtual void Load_DUN_Entries(QComboBox& list) {}
    // Starts hanging up every dial-up connection (about 4 seconds; nothing waits for it).
    virtual void Hang_Up_All() {}
    // The user chose entry `index` of the list, whose text is `text`.
    virtual void DUNConn_Click(const std::string& text, int index) {}
    // The Play button ("Test" or "Playback") and the RecordCmd button ("Record" or "Default").
    virtual void Play_Click() {}
    virtual void RecordCmd_Click() {}
};

// The system's colour dialog and program start.
class SystemDialogs {
public:
    virtual ~SystemDialogs() = default;
    // The colour dialog with `current` chosen (Windows colours); nothing when cancelled.
    virtual std::optional<long> chooseColour(long current, QWidget* parent);
    // Starts the program at `path` once, as a normal window, without arguments; false when it
    // could not be started.
    virtual bool startProgram(const std::string& path);
};

// The duty as its owner carries it out; the default stand-in when nobody registered.
template <class Link>
Link& setupLink() {
    return DutyLinks::dutyLink<Link>();
}
// `link` takes on the duty (nullptr: nobody).
template <class Link>
void setSetupLink(Link* link) {
    DutyLinks::setDutyLink(link);
}

}  // namespace SetupLinks
