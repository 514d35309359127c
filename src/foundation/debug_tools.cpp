#include "foundation/debug_tools.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <optional>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "foundation/window_subclass.h"
#include "platform/desktop_files.h"

namespace modDebug {
namespace {

constexpr const char* kSection = "Debug";
constexpr const char* kCookieJar = "tl2upsc.dat";

std::string debugFolder() { return modTLMain::DataFolder + "Debug/"; }

using TLMainLink::MenuItem;

QWidget* mainWidget() { return TLMainLink::window().widget(); }

// A [Debug] value as a Boolean: "True", "False" (any case) or a number, 0 being off.
// Any other text reads as nothing, and the switch keeps its state.
std::optional<bool> readSwitch(const char* key) {
    const std::string v = vb::Trim(modTLC::Get_Config_Value(kSection, key, "0"));
    if (vb::EqualText(v, "True")) return true;
    if (vb::EqualText(v, "False")) return false;
    if (vb::IsNumeric(v)) return vb::CDbl(v) != 0;
    return std::nullopt;
}

// Inverts the switch's menu item, lets `effect` act on the new state, then writes the state to
// [Debug] and saves the configuration at once.
void toggle(MenuItem menuItem, const char* key, void (*effect)(bool on) = nullptr) {
    const bool on = !TLMainLink::menus().menuChecked(menuItem);
    TLMainLink::menus().setMenuChecked(menuItem, on);
    if (effect) effect(on);
    modTLC::Set_Config_Value(kSection, key, on);
    modTLC::Save_Config_File();
}

// Only letters and digits of the item-number box go into a file name.
std::string nameSuffix(const std::string& itemNumberText) {
    std::string clean;
    for (char c : itemNumberText)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) clean += c;
    return vb::Right(clean, 6);
}

void deleteFile(const std::string& path) { QFile::remove(QString::fromStdString(path)); }

QPointer<QPlainTextEdit> g_configView;

}  // namespace

void Enable_Debug_Menu() {
    static const struct { const char* key; MenuItem menu; } kSwitches[] = {
        {"HTTP", MenuItem::MnuDBHttpEnabled},         {"ValidateItemPage", MenuItem::MnuDBValidatePage},
        {"AddItemPage", MenuItem::MnuDBAddItemPage},  {"BrowserText", MenuItem::MnuDBBrowserText},
        {"UpdateItemPage", MenuItem::MnuDBUpdateItemPage}, {"IFN", MenuItem::MnuDBIncrementalFN},
        {"BidTestMode", MenuItem::MnuDBBidTestMode},  {"SubClass", MenuItem::MnuDBSubClass},
    };
    for (const auto& s : kSwitches)
        if (const auto on = readSwitch(s.key)) TLMainLink::menus().setMenuChecked(s.menu, *on);
    TLMainLink::menus().setMenuVisible(MenuItem::MnuDB, true);
    modTLMain::Make_Folder(modTLMain::DataFolder + "Debug");
    DebugOutput = true;
    modTLC::Save_Config_File();
    if (!TLMainLink::menus().menuChecked(MenuItem::MnuDBSubClass)) modPwrCtrl::UnSubClass_Window(mainWidget());
}

void Save_Debug_Page(const std::string& Text, std::string& Name) {
    if (TLMainLink::menus().menuChecked(MenuItem::MnuDBIncrementalFN))
        Name += nameSuffix(TLMainLink::itemNumberBox().itemNumberText());
    Name += vb::InStr(Name, "HTML", vb::Text) ? ".htm" : ".txt";
    modTLMain::Save_Whole_File(debugFolder() + Name, Text + vb::vbCrLf);
}

void DB_Toggle_HTTP() { toggle(MenuItem::MnuDBHttpEnabled, "HTTP"); }
void DB_Toggle_ValidateItemPage() { toggle(MenuItem::MnuDBValidatePage, "ValidateItemPage"); }
void DB_Toggle_AddItemPage() { toggle(MenuItem::MnuDBAddItemPage, "AddItemPage"); }
void DB_Toggle_UpdateItemPage() { toggle(MenuItem::MnuDBUpdateItemPage, "UpdateItemPage"); }
void DB_Toggle_BrowserText() { toggle(MenuItem::MnuDBBrowserText, "BrowserText"); }
void DB_Toggle_IFN() { toggle(MenuItem::MnuDBIncrementalFN, "IFN"); }
void DB_Toggle_BidTestMode() {
    toggle(MenuItem::MnuDBBidTestMode, "BidTestMode", [](bool on) { TLMainState::BidTestMode = on ? -1 : 0; });
}
void DB_Toggle_SubClass() {
    toggle(MenuItem::MnuDBSubClass, "SubClass", [](bool on) {
        if (on)
            modPwrCtrl::SubClass_Window(mainWidget());
        else
            modPwrCtrl::UnSubClass_Window(mainWidget());
    });
}
void DB_Toggle_NonSession() { toggle(MenuItem::MnuDBNonSession, "NonSession"); }

void DB_Toggle_Suspend() {
    const bool on = !TLMainLink::menus().menuChecked(MenuItem::MnuDBSuspend);
    TLMainLink::menus().setMenuChecked(MenuItem::MnuDBSuspend, on);
    DebugOutput = !on;
}

void DB_Clear_Cookies() {
    deleteFile(modTLMain::DataFolder + kCookieJar);
    if (Debug_Hooks().clearCookieJar) Debug_Hooks().clearCookieJar();
}

void DB_Clear_Logs() {
    QDir dir(QString::fromStdString(debugFolder()));
    for (const QString& f : dir.entryList(QDir::Files)) dir.remove(f);
}

void DB_View_Cookies() { modTLMain::Open_On_Desktop(modTLMain::DataFolder + kCookieJar); }

void DB_View_Logs() {
    const std::string chosen = platform::desktopFiles().chooseFileToOpen(debugFolder(), "All Files (*.*)|*.*");
    if (!chosen.empty()) modTLMain::Open_On_Desktop(chosen);
}

void DB_View_Config() {
    if (!g_configView) {
        g_configView = new QPlainTextEdit;
        g_configView->setObjectName("DebugConfigView");
        g_configView->setAttribute(Qt::WA_DeleteOnClose);
        g_configView->setReadOnly(true);
        g_configView->setLineWrapMode(QPlainTextEdit::NoWrap);
        g_configView->setWindowTitle("Configuration");
        g_configView->resize(640, 480);
    }
    QString text = QString::fromStdString(modTLC::Config_Text());
    text.replace("\r\n", "\n");
    g_configView->setPlainText(text);
    g_configView->show();
    g_configView->raise();
}

void DB_Override_Version() {
    TLMainState::VersionOverride = 1;
    TLMainState::UpdateVersionReply = vb::FormatNumber(vb::Val(TOLVANE_PROGRAM_VERSION) + 0.01, "0.00");
}

void DB_Exit() {
    DebugOutput = false;
    TLMainLink::menus().setMenuVisible(MenuItem::MnuDB, false);
    modTLC::Set_Config_Value(kSection, "NonSession", false);
}

DebugHooks& Debug_Hooks() {
    static DebugHooks hooks;
    return hooks;
}

void DB_Decode_Report_Block(int mode) {
    if (Debug_Hooks().decodeReportBlock) Debug_Hooks().decodeReportBlock(mode);
}
void DB_Set_Item_End_Time() {
    if (Debug_Hooks().setItemEndTime) Debug_Hooks().setItemEndTime();
}
void DB_Set_Item_Remaining_Time() {
    if (Debug_Hooks().setItemRemainingTime) Debug_Hooks().setItemRemainingTime();
}
void DB_Set_Items_Remaining_Time() {
    if (Debug_Hooks().setItemsRemainingTime) Debug_Hooks().setItemsRemainingTime();
}
void DB_Set_Pseudo_Items() {
    if (Debug_Hooks().setPseudoItems) Debug_Hooks().setPseudoItems();
}
void DB_Special() {
    if (Debug_Hooks().special) Debug_Hooks().special();
}
void Set_Item_End_From_Now(long row, long seconds) {
    if (Debug_Hooks().setItemEndFromNow) Debug_Hooks().setItemEndFromNow(row, seconds);
}

const std::vector<DebugMenuItem>& Debug_Menu_Items() {
    static const std::vector<DebugMenuItem> kItems = {
        {"MnuDBViewLogs", DB_View_Logs, false},
        {"MnuDBClearLogs", DB_Clear_Logs, false},
        {"MnuDBViewCookies", DB_View_Cookies, false},
        {"MnuDBViewConfig", DB_View_Config, false},
        {"MnuDBHttpEnabled", DB_Toggle_HTTP, true},
        {"MnuDBValidatePage", DB_Toggle_ValidateItemPage, true},
        {"MnuDBAddItemPage", DB_Toggle_AddItemPage, true},
        {"MnuDBUpdateItemPage", DB_Toggle_UpdateItemPage, true},
        {"MnuDBBrowserText", DB_Toggle_BrowserText, true},
        {"MnuDBIncrementalFN", DB_Toggle_IFN, true},
        {"MnuDBSetItemRemainingTime", DB_Set_Item_Remaining_Time, false},
        {"MnuDBSetItemsRemainingTime", DB_Set_Items_Remaining_Time, false},
        {"MnuDBSetItemsEndingDateTime", DB_Set_Item_End_Time, false},
        {"MnuDBSetPseudoItems", DB_Set_Pseudo_Items, false},
        {"MnuDBBidTestMode", DB_Toggle_BidTestMode, true},
        {"MnuDBSubClass", DB_Toggle_SubClass, true},
        {"MnuDBOverrideVer", DB_Override_Version, false},
        {"MnuDBDecodeRpt", [] { DB_Decode_Report_Block(1); }, false},
        {"MnuDBDecodeCF", [] { DB_Decode_Report_Block(2); }, false},
        {"SepDB", nullptr, false},
        {"MnuDBClearCookies", DB_Clear_Cookies, false},
        {"MnuDBSpecial", DB_Special, false},
        {"MnuDBSuspend", DB_Toggle_Suspend, true},
        {"MnuDBNonSession", DB_Toggle_NonSession, true},
        {"MnuDBExit", DB_Exit, false},
    };
    return kItems;
}

void ResetForTests() {
    DebugOutput = false;
    Debug_Hooks() = DebugHooks();
    if (g_configView) delete g_configView.data();
}

}  // namespace modDebug
