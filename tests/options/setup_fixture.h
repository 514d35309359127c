// setup_fixture.h — the options dialog against a fresh data folder and store, the fake clock, the
// user's answers, and recording stand-ins for what the dialog reaches: the grid, the toolbar, the
// sounds, the clipboard, the main window's look, power, dial-up, the colour dialog and the start
// of a program.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <optional>
#include <string>
#include <vector>

#include "fake_clipboard.h"
#include "fake_clock.h"
#include "foundation/config_store.h"
#include "foundation/message_dialog.h"
#include "foundation/options_state.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "items/item_grid_link.h"
#include "options/setup_form.h"
#include "options/setup_links.h"
#include "platform/locale_info.h"
#include "recording_item_grid.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "scripted_input_boxes.h"
#include "service/national_sites.h"
#include "temp_data_folder.h"

namespace setuptest {

// The main window's grid look, layout and sound indicator.
class RecordingView final : public SetupLinks::MainWindowView {
public:
    RecordingView() { SetupLinks::setSetupLink<SetupLinks::MainWindowView>(this); }
    ~RecordingView() override { SetupLinks::setSetupLink<SetupLinks::MainWindowView>(nullptr); }
    void setGridBackColour(long colour) override { backColours.push_back(colour); }
    long columnWidth(int column) const override { return widths[column]; }
    void setColumnWidth(int column, long twips) override { widths[column] = twips; }
    void ResizeWindow() override { ++resizes; }
    void showSoundIcon(bool on) override { soundIcons.push_back(on); }
    void showHelp(const std::string& section) override { helpSections.push_back(section); }
    std::vector<long> backColours;
    std::vector<std::string> helpSections;
    long widths[10] = {250, 1350, 0, 1170, 750, 450, 1600, 2200, 900, 900};
    int resizes = 0;
    std::vector<bool> soundIcons;
};

// Power control that never puts the machine to sleep.
class RecordingPower final : public SetupLinks::Power {
public:
    RecordingPower() { SetupLinks::setSetupLink<SetupLinks::Power>(this); }
    ~RecordingPower() override { SetupLinks::setSetupLink<SetupLinks::Power>(nullptr); }
    void Start_Sleep_Timer() override { ++sleepTimers; }
    void Set_Wakeup_Timer(const QDateTime& when) override { wakeups.push_back(when); }
    int sleepTimers = 0;
    std::vector<QDateTime> wakeups;
};

class RecordingDialup final : public SetupLinks::Dialup {
public:
    RecordingDialup() { SetupLinks::setSetupLink<SetupLinks::Dialup>(this); }
    ~RecordingDialup() override { SetupLinks::setSetupLink<SetupLinks::Dialup>(nullptr); }
    void Load_DUN_Entries(QComboBox&) override { ++fills; }
    void Hang_Up_All() override { ++hangUps; }
    int fills = 0;
    int hangUps = 0;
};

// The colour dialog answers from a script; programs "start" when the script says so.
class ScriptedDialogs final : public SetupLinks::SystemDialogs {
public:
    ScriptedDialogs() { SetupLinks::setSetupLink<SetupLinks::SystemDialogs>(this); }
    ~ScriptedDialogs() override { SetupLinks::setSetupLink<SetupLinks::SystemDialogs>(nullptr); }
    std::optional<long> chooseColour(long current, QWidget*) override {
        preselected.push_back(current);
        return colour;
    }
    bool startProgram(const std::string& path) override {
        started.push_back(path);
        return startWorks;
    }
    std::optional<long> colour;  // nothing: the user cancels
    std::vector<long> preselected;
    bool startWorks = true;
    std::vector<std::string> started;
};

class SetupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::FirstRunSetup = 0;
    }
    void TearDown() override {
        Messages::SetAnswerHookForTests(nullptr);
        unload();
        reset();
    }
    static void reset() {
        ::Setup::Unload();
        flush();
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        UserState::ResetForTests();
        TLMainState::ResetOptionsStateForTests();
        TLMainState::AutoUpdateCountdown = 0;
        TLMainState::AutoUpdateMinutes = 0;
        modTLMain::ResetNationalSitesForTests();
        platform::setUserLocaleForTests("");
        TLMainItems::Read_Grid_Colours();
    }
    // Runs the dialog's pending deletion.
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void unload() {
        ::Setup::Unload();
        flush();
    }

    // Loads the dialog as the Setup command does (shown).
    ::Setup& open() {
        ::Setup::Show_Setup();
        return *::Setup::Loaded();
    }
    static void set(const char* section, const std::string& key, const std::string& value) {
        modTLC::Set_Config_Value(section, key, value);
    }
    static std::string value(const char* section, const std::string& key) {
        return modTLC::Get_Config_Value(section, key, "<none>");
    }
    std::string errorLog() const { return data.exists("ErrorLog.txt") ? data.read("ErrorLog.txt") : ""; }
    // Lines of the error log that name the dialog's load.
    int loadErrors() const {
        const std::string log = errorLog();
        int n = 0;
        for (size_t at = log.find("in procedure Setup Form_Load"); at != std::string::npos;
             at = log.find("in procedure Setup Form_Load", at + 1))
            ++n;
        return n;
    }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::ScriptedInputBoxes inputs;
    testsupport::FakeClipboard clipboard;
    testsupport::RecordingItemGrid grid;
    testsupport::RecordingToolbar toolbar;
    testsupport::RecordingSounds sounds;
    RecordingView view;
    RecordingPower power;
    RecordingDialup dialup;
    ScriptedDialogs dialogs;
};

}  // namespace setuptest
