// main_window_link.h — what the lower parts of the program reach of the main window, duty by duty.
//
// Each duty is a small interface of its own: the status line, the item-number box, the log box,
// the menus, the window itself, the toolbar, the tray and wheel calls of the window procedure,
// and the sounds. The main window takes on every duty it carries out when it loads
// (TLMainLink::registerDuties); until then, and in tests that install no stand-in for a duty,
// that duty does nothing and reads empty. A lower part includes this header and calls only the
// duty it needs: TLMainLink::statusLine().setStatus("..."), TLMainLink::menus().menuChecked(...).
//
// The flags and values that the main window keeps for the whole program live in namespace
// TLMainState under their own names, so lower parts can read and set them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

class QWidget;

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
inline int32_t AutoUpdateMinutes = 0;   // the timed list refresh's interval, 0 = off
inline int32_t AutoUpdateCountdown = 0; // seconds to the timed refresh; the refreshes reload it
inline int16_t SoundPlaying = 0;
inline int16_t MainWindowState = 0;     // 0 normal, 1 minimized, 2 maximized
inline int16_t LastWindowState = 0;
inline bool ForceExit = false;
inline int32_t BidTestMode = 0;         // the debug menu's bid test switch: -1 on, 0 off
inline int32_t VersionOverride = 0;     // 1: the update command takes UpdateVersionReply as the newest version
inline std::string UpdateVersionReply;  // the version text the update server last returned
inline std::string SiteCurrency;        // [Locale] Currency as the main window's load read it

void ResetForTests();

}  // namespace TLMainState

namespace TLMainLink {

// The main window's menu items that lower parts read or change. A name that is not listed here
// does not compile.
enum class MenuItem {
    MnuDB,                // the hidden debug menu itself (shown or hidden)
    MnuDBHttpEnabled,     // the debug switches (checked or not)
    MnuDBValidatePage,
    MnuDBAddItemPage,
    MnuDBUpdateItemPage,
    MnuDBBrowserText,
    MnuDBIncrementalFN,
    MnuDBBidTestMode,
    MnuDBSubClass,
    MnuDBSuspend,
    MnuDBNonSession,
};
// The item's name on the window ("MnuDBHttpEnabled").
std::string_view menuItemName(MenuItem item);

// The status line (MsgLab): every message replaces the caption, which stays until the next one.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void setStatus(const std::string& text) = 0;
    virtual std::string statusText() const = 0;
};

// The item-number box (ItemNumBox).
class ItemNumberBox {
public:
    virtual ~ItemNumberBox() = default;
    virtual std::string itemNumberText() const = 0;
    virtual void setItemNumberText(const std::string& text) = 0;
};

// The log box (OpLog) shown over the grid, scrolled to its last line; Esc hides it.
class LogBox {
public:
    virtual ~LogBox() = default;
    virtual void showLogBox(const std::string& text) = 0;
    virtual void hideLogBox() = 0;
    virtual bool logBoxVisible() const { return false; }
    virtual std::string logBoxSelectedText() const { return {}; }  // the lines the user selected
};

// The main window's menu items: checked and shown states.
class Menus {
public:
    virtual ~Menus() = default;
    virtual bool menuChecked(MenuItem item) const = 0;
    virtual void setMenuChecked(MenuItem item, bool on) = 0;
    virtual void setMenuVisible(MenuItem item, bool on) = 0;
};

// The window itself.
class Window {
public:
    virtual ~Window() = default;
    // The main window's widget: the owner of the tray icon, the window the subclass hooks and
    // popup menus come back to; nullptr while none is loaded.
    virtual QWidget* widget() = 0;
    virtual void setWindowState(int state) = 0;  // 0 normal, 1 minimized, 2 maximized
    virtual void setVisible(bool on) = 0;
};

// The toolbar.
class Toolbar {
public:
    virtual ~Toolbar() = default;
    virtual void setToolbarButtonTip(int button, const std::string& text) = 0;  // button from 1
};

// What the window procedure hands on to the window: the tray's popup menu, the mouse wheel, and
// the wake-up message (TimerIcon's tooltip) for the tray tip.
class TrayAndWheel {
public:
    virtual ~TrayAndWheel() = default;
    virtual void AddLinkMenu() = 0;
    virtual void MouseWheel(long mouseKeys, long rotation, long x, long y) = 0;
    virtual std::string wakeUpTipText() const = 0;
};

// The sound cues: plays Sounds/<name>.wav `repeat` times.
class Sounds {
public:
    virtual ~Sounds() = default;
    virtual void SoundEffects(const std::string& name, int repeat) = 0;
};

// The duty as whoever took it on carries it out; a stand-in that does nothing when nobody did.
StatusLine& statusLine();
ItemNumberBox& itemNumberBox();
LogBox& logBox();
Menus& menus();
Window& window();
Toolbar& toolbar();
TrayAndWheel& trayAndWheel();
Sounds& sounds();

namespace detail {
template <class Duty>
Duty*& holder() {
    static Duty* held = nullptr;
    return held;
}
template <class... Duty>
struct DutyList {};
using AllDuties = DutyList<StatusLine, ItemNumberBox, LogBox, Menus, Window, Toolbar, TrayAndWheel, Sounds>;

template <class W, class... Duty>
void take(W* w, DutyList<Duty...>) {
    ([&] {
        if constexpr (std::is_base_of_v<Duty, W>) holder<Duty>() = w;
    }(), ...);
}
template <class W, class... Duty>
void giveBack(W* w, DutyList<Duty...>) {
    ([&] {
        if constexpr (std::is_base_of_v<Duty, W>)
            if (holder<Duty>() == static_cast<Duty*>(w)) holder<Duty>() = nullptr;
    }(), ...);
}
}  // namespace detail

// `w` takes on every duty whose interface it implements (the main window: all of them).
template <class W>
void registerDuties(W* w) {
    detail::take(w, detail::AllDuties{});
}
// `w` gives back the duties it still holds; a duty another object took on since stays with it.
template <class W>
void releaseDuties(W* w) {
    detail::giveBack(w, detail::AllDuties{});
}

}  // namespace TLMainLink
