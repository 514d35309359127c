#include "foundation/main_window_link.h"

namespace TLMainState {
void ResetForTests() {
    DownloadBusy = UpdateBusy = SelectedUpdateBusy = CancelUpdate = QuietCommand = 0;
    TrayTipCountdown = ManualUpdateRequest = ManualEndTimeUpdate = TimeZoneShiftActive = 0;
    SoundPlaying = MainWindowState = LastWindowState = 0;
    ForceExit = false;
    BidTestMode = VersionOverride = 0;
    UpdateVersionReply.clear();
}
}  // namespace TLMainState

namespace {
MainWindowLink g_none;
MainWindowLink* g_window = nullptr;
}  // namespace

MainWindowLink& mainWindow() { return g_window ? *g_window : g_none; }
void registerMainWindow(MainWindowLink* w) { g_window = w; }
