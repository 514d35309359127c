// main_window_link.h — what the lower parts of the program reach of the main window.
//
// The main window registers itself here when it loads; until then (and in tests
// that do not install a recording fake) every call does nothing and reads empty.
// The flags and values that the main window keeps for the whole program live in
// namespace TLMainState under their own names, so lower parts can read and set them.
#pragma once

#include <cstdint>
#include <string>

namespace TLMainState {

inline int16_t DownloadBusy = 0;        // a page download, sign-in or clock sync runs
inline int16_t UpdateBusy = 0;          // a whole-list refresh or list import runs
inline int16_t SelectedUpdateBusy = 0;  // the selected rows are being refreshed
inline int16_t CancelUpdate = 0;        // the stop button (or the scheduler near a bid)
inline int16_t QuietCommand = 0;        // a hot key runs its command without asking
inline int16_t TrayTipCountdown = 0;
inline int16_t ManualUpdateRequest = 0;
inline int16_t ManualEndTimeUpdate = 0;
inline int16_t TimeZoneShiftActive = 0;
inline int16_t SoundPlaying = 0;
inline int16_t MainWindowState = 0;     // 0 normal, 1 minimized, 2 maximized
inline int16_t LastWindowState = 0;
inline bool ForceExit = false;
inline int32_t BidTestMode = 0;         // the debug menu's bid test switch: -1 on, 0 off
inline int32_t VersionOverride = 0;     // 1: the update command takes UpdateVersionReply as the newest version
inline std::string UpdateVersionReply;  // the version text the update server last returned

void ResetForTests();

}  // namespace TLMainState

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // Status line (MsgLab): every message replaces the caption.
    virtual void setStatus(const std::string& text) {}
    virtual std::string statusText() const { return {}; }
    // Item-number box (ItemNumBox).
    virtual std::string itemNumberText() const { return {}; }
    virtual void setItemNumberText(const std::string& text) {}
    // Log box (OpLog) shown over the grid; scrolled to its last line.
    virtual void showLogBox(const std::string& text) {}
    virtual void hideLogBox() {}
    // Menu items by their names (MnuDB, MnuDBHttpEnabled, ...): checked and visible states.
    virtual bool menuChecked(const std::string& name) const { return false; }
    virtual void setMenuChecked(const std::string& name, bool on) {}
    virtual void setMenuVisible(const std::string& name, bool on) {}
    // Window.
    virtual bool exists() const { return false; }      // the main window has loaded
    virtual void showAndRaise() {}                      // brought to the front (a second start)
    virtual void setWindowState(int state) {}           // 0 normal, 1 minimized, 2 maximized
    virtual bool isVisible() const { return false; }
    virtual void setVisible(bool on) {}
    // Duties the main window carries out for the lower parts.
    virtual void AddLinkMenu() {}                        // the tray's popup menu
    virtual void MouseWheel(long mouseKeys, long rotation, long x, long y) {}
    virtual void SoundEffects(const std::string& name, int repeat) {}
    virtual std::string wakeUpTipText() const { return {}; }  // TimerIcon's tooltip
    virtual void setToolbarButtonTip(int button, const std::string& text) {}  // tooltip of a toolbar button (from 1)
};

MainWindowLink& mainWindow();
void registerMainWindow(MainWindowLink* w);  // nullptr: none
