// options_state.h — the in-memory copies of settings that the main window's load makes and the
// options dialog keeps up to date, and the one table of defaults that both read for a key that
// is not stored.
//
// The lower parts read the values here: the clipboard watch the auto-add switch and limits, the
// hover timer the photo switch and delay, the clock the display pattern, the clock
// synchronisation the first time server to try. UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace TLMainState {

// [Options] AutoAdd as the clipboard watch reads it: copied item numbers are added (-1) or not (0)
// when their length lies between the two limits (the smaller taken as minimum, the larger as
// maximum); AutoAddNoAlpha 1: digits only.
inline int16_t AutoAddOn = 0;
inline int32_t AutoAddMinLength = 10;
inline int32_t AutoAddMaxLength = 12;
inline int32_t AutoAddNoAlpha = 1;
// The hover pop-up shows item photos (1) or not (0); it waits HoverDelayTicks ticks (1 to 10).
inline int32_t PhotoPopupOn = 1;
inline int32_t HoverDelayTicks = 3;
// The pattern of the main window's clock ("h:mm:ss am/pm", "h:mm am/pm", "hh:mm:ss", "hh:mm").
inline std::string TimeDisplayFormat = "hh:mm:ss";
// The time server (index into TimeServerList) the next clock synchronisation tries first.
inline int32_t TimeServerIndex = 0;
// The grid column the options dialog's width slider adjusts (3 to 9; 0 until one is chosen).
inline int32_t ColumnToAdjust = 0;
// The keyboard layout of the user-interface thread as the options dialog's load found it; the
// connect macro turns recorded keys into key codes with it.
inline std::string MacroKeyboardLayout;

void ResetOptionsStateForTests();

}  // namespace TLMainState

namespace modTLC {

// The default of a setting that the main window and the options dialog both read, as the
// running program uses it; nullptr for a key the table does not hold.
const char* Setting_Default(std::string_view section, std::string_view key);
// Get_Config_Value with the table's default ("" when it holds none).
std::string Get_Setting(std::string_view section, std::string_view key);

}  // namespace modTLC

namespace modTLMain {

// The public daytime-protocol (TCP port 13) time servers, in the order the clock
// synchronisation tries them; the options dialog lists them in the same order.
inline constexpr const char* TimeServerList[] = {
    "time-a-g.nist.gov",      "time-b-g.nist.gov",      "time-c-g.nist.gov",      "time-d-g.nist.gov",
    "time-e-g.nist.gov",      "time-a-wwv.nist.gov",    "time-b-wwv.nist.gov",    "time-c-wwv.nist.gov",
    "time-d-wwv.nist.gov",    "time-e-wwv.nist.gov",    "time-a-b.nist.gov",      "time-b-b.nist.gov",
    "time-c-b.nist.gov",      "time-d-b.nist.gov",      "time-e-b.nist.gov",      "time.nist.gov",
    "utcnist.colorado.edu",   "utcnist2.colorado.edu",  "time-a.timefreq.bldrdoc.gov",
    "time-b.timefreq.bldrdoc.gov", "time-c.timefreq.bldrdoc.gov", "nist1-ny.ustiming.org",
    "nist1-chi.ustiming.org", "nist1-la.ustiming.org",
};
inline constexpr int kTimeServerCount = static_cast<int>(sizeof(TimeServerList) / sizeof(TimeServerList[0]));
static_assert(kTimeServerCount == 24);

}  // namespace modTLMain
