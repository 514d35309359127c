#include "foundation/main_window_link.h"

#include "foundation/busy_holds.h"

#include <iterator>

namespace TLMainState {
void ResetForTests() {
    ResetBusyHoldsForTests();
    DownloadBusy = UpdateBusy = SelectedUpdateBusy = CancelUpdate = QuietCommand = 0;
    TrayTipCountdown = ManualUpdateRequest = ManualEndTimeUpdate = TimeZoneShiftActive = 0;
    SoundPlaying = MainWindowState = LastWindowState = 0;
    ForceExit = false;
    BidTestMode = VersionOverride = 0;
    UpdateVersionReply.clear();
    SiteCurrency.clear();
    AutoUpdateMinutes = AutoUpdateCountdown = 0;
}
}  // namespace TLMainState

namespace TLMainLink {
namespace {

struct NamedItem {
    MenuItem item;
    std::string_view name;
};
constexpr NamedItem kMenuNames[] = {
    {MenuItem::MnuDB, "MnuDB"},
    {MenuItem::MnuDBHttpEnabled, "MnuDBHttpEnabled"},
    {MenuItem::MnuDBValidatePage, "MnuDBValidatePage"},
    {MenuItem::MnuDBAddItemPage, "MnuDBAddItemPage"},
    {MenuItem::MnuDBUpdateItemPage, "MnuDBUpdateItemPage"},
    {MenuItem::MnuDBBrowserText, "MnuDBBrowserText"},
    {MenuItem::MnuDBIncrementalFN, "MnuDBIncrementalFN"},
    {MenuItem::MnuDBBidTestMode, "MnuDBBidTestMode"},
    {MenuItem::MnuDBSubClass, "MnuDBSubClass"},
    {MenuItem::MnuDBSuspend, "MnuDBSuspend"},
    {MenuItem::MnuDBNonSession, "MnuDBNonSession"},
};
static_assert(std::size(kMenuNames) == static_cast<size_t>(MenuItem::MnuDBNonSession) + 1,
              "every menu item has its name");

// The stand-ins for a duty nobody took on.
class NoStatusLine final : public StatusLine {
public:
    void setStatus(const std::string&) override {}
    std::string statusText() const override { return {}; }
};
class NoItemNumberBox final : public ItemNumberBox {
public:
    std::string itemNumberText() const override { return {}; }
    void setItemNumberText(const std::string&) override {}
};
class NoLogBox final : public LogBox {
public:
    void showLogBox(const std::string&) override {}
    void hideLogBox() override {}
};
class NoMenus final : public Menus {
public:
    bool menuChecked(MenuItem) const override { return false; }
    void setMenuChecked(MenuItem, bool) override {}
    void setMenuVisible(MenuItem, bool) override {}
};
class NoWindow final : public Window {
public:
    QWidget* widget() override { return nullptr; }
    void setWindowState(int) override {}
    void setVisible(bool) override {}
};
class NoToolbar final : public Toolbar {
public:
    void setToolbarButtonTip(int, const std::string&) override {}
};
class NoTrayAndWheel final : public TrayAndWheel {
public:
    void AddLinkMenu() override {}
    void MouseWheel(long, long, long, long) override {}
    std::string wakeUpTipText() const override { return {}; }
};
class NoSounds final : public Sounds {
public:
    void SoundEffects(const std::string&, int) override {}
};

template <class Duty, class None>
Duty& heldOr() {
    static None none;
    Duty* held = detail::holder<Duty>();
    return held ? *held : none;
}

}  // namespace

std::string_view menuItemName(MenuItem item) {
    for (const NamedItem& n : kMenuNames)
        if (n.item == item) return n.name;
    return {};
}

StatusLine& statusLine() { return heldOr<StatusLine, NoStatusLine>(); }
ItemNumberBox& itemNumberBox() { return heldOr<ItemNumberBox, NoItemNumberBox>(); }
LogBox& logBox() { return heldOr<LogBox, NoLogBox>(); }
Menus& menus() { return heldOr<Menus, NoMenus>(); }
Window& window() { return heldOr<Window, NoWindow>(); }
Toolbar& toolbar() { return heldOr<Toolbar, NoToolbar>(); }
TrayAndWheel& trayAndWheel() { return heldOr<TrayAndWheel, NoTrayAndWheel>(); }
Sounds& sounds() { return heldOr<Sounds, NoSounds>(); }

}  // namespace TLMainLink
