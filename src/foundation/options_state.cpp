#include "foundation/options_state.h"

#include "foundation/config_store.h"
#include "foundation/vb.h"

namespace TLMainState {

void ResetOptionsStateForTests() {
    AutoAddOn = 0;
    AutoAddMinLength = 10;
    AutoAddMaxLength = 12;
    AutoAddNoAlpha = 1;
    PhotoPopupOn = 1;
    HoverDelayTicks = 3;
    TimeDisplayFormat = "hh:mm:ss";
    TimeServerIndex = 0;
    ColumnToAdjust = 0;
    MacroKeyboardLayout.clear();
}

}  // namespace TLMainState

namespace modTLC {
namespace {

struct SettingDefault {
    const char* section;
    const char* key;
    const char* value;
};

// Where the main window and the options dialog once disagreed, the value is the one the running
// program acts on: all six optional grid columns, the date column at 2200 twips, photos on, item
// numbers up to 12 characters, the clock synchronised before a bid, sounds off.
constexpr SettingDefault kDefaults[] = {
    {"Options", "Columns", "63"},        {"Options", "ColWidth3", "1170"},    {"Options", "ColWidth4", "750"},
    {"Options", "ColWidth5", "450"},     {"Options", "ColWidth6", "1600"},    {"Options", "ColWidth7", "2200"},
    {"Options", "ColWidth8", "900"},     {"Options", "ColWidth9", "900"},     {"Options", "PhotosOn", "1"},
    {"Options", "AutoAdd", "0"},         {"Options", "AutoAddMin", "10"},     {"Options", "AutoAddMax", "12"},
    {"Options", "AutoAddNoChar", "1"},   {"Options", "ClockSet", "1"},        {"Options", "Sound", "0"},
    {"Options", "HoverTime", "2"},       {"Options", "TimeSync", "0"},        {"Options", "AutoDialType", "2"},
    {"Options", "ConnectTime", "5"},     {"Options", "HangupTime", "2"},      {"Options", "RetryDialTime", "30"},
    {"Options", "MaxAttempts", "3"},     {"Options", "Taskbar", "0"},         {"Options", "ClosetoTray", "1"},
    {"Options", "DayofWeek", "1"},       {"Options", "ShowUserItemsOnly", "0"}, {"Options", "AutoUpdateOpt", "0"},
    {"Options", "ManualOption", "0"},    {"Options", "Refresh", "60"},        {"Options", "BidsPendWarning", "0"},
    {"Options", "ColorBid", "65535"},    {"Options", "ColorWintally", "16776960"}, {"Options", "ColorVal", "33023"},
    {"Options", "ColorHiBid", "65280"},  {"Options", "ColorOutBid", "255"},   {"Options", "ColorGrid", "16777215"},
    {"Options", "ColorAlert", "33023"},  {"Locale", "SiteIndex", "0"},        {"Locale", "TimeFormat", "0"},
    {"Locale", "ShowSecs", "1"},
};

}  // namespace

const char* Setting_Default(std::string_view section, std::string_view key) {
    for (const auto& d : kDefaults)
        if (vb::EqualText(d.section, section) && vb::EqualText(d.key, key)) return d.value;
    return nullptr;
}

std::string Get_Setting(std::string_view section, std::string_view key) {
    const char* def = Setting_Default(section, key);
    return Get_Config_Value(section, key, def ? def : "");
}

}  // namespace modTLC
