// debug_tools.h — the hidden debug menu (MnuDB): switches that make other parts of the
// program write traces and page dumps into DataFolder + "Debug/", and a few tools.
//
// Each switch is the checked state of a debug menu item, mirrored in the configuration's
// [Debug] section as "True" or "False". Dumps and traces are written only while
// DebugOutput is on and their own switch is checked; the callers test both.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace modDebug {

inline bool DebugOutput = false;

// Shows the debug menu with its switches from [Debug], makes the Debug folder and turns output on.
void Enable_Debug_Menu();

// Writes Text and a line break to DataFolder + "Debug/" + Name (+ ".htm" when Name holds
// "HTML", any case, else ".txt"), replacing an older file. With the IncrementalFN switch
// checked the name first gets the last six letters and digits of the item-number box.
// Name becomes the file name used. A dump that cannot be written is simply missing.
void Save_Debug_Page(const std::string& Text, std::string& Name);

// The switches: each inverts its menu item, writes [Debug] and saves the configuration.
void DB_Toggle_HTTP();
void DB_Toggle_ValidateItemPage();
void DB_Toggle_AddItemPage();
void DB_Toggle_UpdateItemPage();
void DB_Toggle_BrowserText();
void DB_Toggle_IFN();
void DB_Toggle_BidTestMode();
void DB_Toggle_SubClass();
void DB_Toggle_NonSession();
// Turns DebugOutput off while checked; the switches and [Debug] stay as they are.
void DB_Toggle_Suspend();

void DB_Clear_Cookies();   // deletes the cookie jar "tl2upsc.dat" (every user's sessions)
void DB_Clear_Logs();      // deletes every file in the Debug folder
void DB_View_Cookies();    // opens the cookie jar in the desktop's editor
void DB_View_Logs();       // picks a file of the Debug folder and opens it in the desktop's editor
void DB_View_Config();     // shows the deciphered configuration in a read-only window
void DB_Override_Version();  // makes the update check report the program's version plus 0.01
void DB_Exit();            // output off, menu hidden, [Debug] NonSession = False

// Tools that belong to other parts of the program, which register them here; until
// then the menu items do nothing.
struct DebugHooks {
    std::function<void(int mode)> decodeReportBlock;  // 1 a report block from the clipboard, 2 a configuration block
    std::function<void()> clearCookieJar;            // the HTTP client's cookies held in memory
    std::function<void()> setItemEndTime;
    std::function<void()> setItemRemainingTime;
    std::function<void()> setItemsRemainingTime;
    std::function<void()> setPseudoItems;
    std::function<void()> special;
    std::function<void(long row, long seconds)> setItemEndFromNow;
};
DebugHooks& Debug_Hooks();

void DB_Decode_Report_Block(int mode);
void DB_Set_Item_End_Time();
void DB_Set_Item_Remaining_Time();
void DB_Set_Items_Remaining_Time();
void DB_Set_Pseudo_Items();
void DB_Special();
void Set_Item_End_From_Now(long row, long seconds);

// The debug menu's items in menu order ("SepDB" is the separator) with what a click runs.
struct DebugMenuItem {
    const char* name;      // the menu item, e.g. "MnuDBViewLogs"
    void (*click)();       // nullptr for the separator
    bool checkable;
};
const std::vector<DebugMenuItem>& Debug_Menu_Items();

void ResetForTests();

}  // namespace modDebug
