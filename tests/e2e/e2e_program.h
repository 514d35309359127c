// e2e_program.h — one end-to-end run: an X server, xdotool, a data folder, the fake service and
// the installed program, each of its own and each gone with the run.
#pragma once

#include <string>
#include <vector>

#include "fake_service.h"
#include "fake_service_time.h"
#include "installed_program.h"
#include "temp_data_folder.h"
#include "x_session.h"

namespace testsupport {

struct E2EItem {
    const char* number;
    const char* title;
    long secondsLeft;
    int bidTimeSecs = 0;  // a bid armed this many seconds before the end (0: none)
};

struct E2EProgram {
    XServer x;
    XInput input{x};
    TempDataFolder data;
    FakeService fake;
    // The time servers: each closes without a word, so the program never sets this machine's clock.
    FakeDaytimeServer daytime;
    InstalledProgram installed;
    // The desktop theme the program runs under (QT_QPA_PLATFORMTHEME, "gtk3"); empty: Qt's own,
    // whatever the test's own environment says.
    QString platformTheme;

    E2EProgram();
    ~E2EProgram();

    // The item list, in this order, ending these seconds from now (category "General").
    void writeItems(const std::vector<E2EItem>& items);
    // A settings store: quiet defaults for a run under test plus `options` lines of [Options]
    // (a key given there takes the place of its default).
    void writeConfig(const std::string& options, const std::string& moreSections = "");
    void install();
    RunningProgram start();

    // The program's main window (its title names the user and category), other than `notThis`.
    qulonglong waitForMainWindow(qulonglong notThis = 0, int timeoutMs = 20000);
    // Help -> Setup by its keys on the main window: the options dialog, once it has the keyboard
    // (0 when it did not come, or did not take the keyboard).
    qulonglong openSetup(qulonglong main);
    // Clicks the main window's item-number box, types the number over what it shows and adds it
    // by the Add button beside the box, or by Enter in it; false when the window shows no such box.
    bool addByNumber(qulonglong main, const std::string& number, bool byEnter = false);

    // What the program left in its files.
    std::vector<std::string> storedItemNumbers() const;
    std::string storedConfig() const;  // deciphered text, "" when it does not read
};

}  // namespace testsupport
