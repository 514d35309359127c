// startup_windows.h — the windows that start-up loads, registered by the program's main().
//
// Start-up runs before any window exists and belongs to the lowest layer; the set-up
// wizard, the splash window and the main window live higher up, so main() hands
// start-up what it needs of them here.
#pragma once

#include <functional>

namespace modTLMain {

struct StartupWindows {
    // Loads the set-up wizard hidden; its start timer loads the configuration and sets ConfigLoaded.
    std::function<void()> loadNewSetup;
    // Loads the splash window, which decides what is shown next.
    std::function<void()> loadSplash;
    // Writes a national site's values into [Locale].
    std::function<void(long siteIndex)> setSiteLocale;
    // The main window's raise, for a "show" from a later start.
    std::function<void()> showMainWindow;
};

void SetStartupWindows(StartupWindows windows);
StartupWindows& Startup_Windows();

}  // namespace modTLMain
