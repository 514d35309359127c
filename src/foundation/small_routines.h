// small_routines.h — small procedures that many windows and modules share: a window kept on
// top, a program user's stored password, a wait that keeps the program responsive, the mask
// search of the page reader, the alarm setting, folders, file versions, texts and bytes, and
// the unloading of the other windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace modTLMain {

// The alarm setting "AlarmValues" (section Options) packs minutes × 256 plus switch bits
// 1 (bid count changed), 2 (high bid changed), 4 (alarm before the end); first-run 1284.
inline int16_t AlarmMinutes = 0;
inline bool AlarmBidCountOn = false;
inline bool AlarmHighBidOn = false;
inline bool AlarmOn = false;

// -1: always on top; 0: no longer always on top; other: to the top of the normal windows.
void Set_Window_Topmost(QWidget* window, int16_t flag);

// Centres a box or dialog over the main window (over the screen while the main window is not
// shown), inside the screen's free area.
void Place_Over_Main_Window(QWidget* window);

// The password stored for a program user (section Users of the configuration); "" when none.
std::string Get_User_Password(const std::string& userId);

// Hands a file to the desktop for the application it uses for it (a text to its viewer). When the
// desktop cannot open it the status line says so: "Error! Can't Open <file name>...".
void Open_On_Desktop(const std::string& path);
std::string Cant_Open_Text(const std::string& path);

// Yields to the event loop until the seconds have passed; timers and window events run meanwhile.
void Wait_Seconds(float seconds);

// First position at or after Start where Text matches Mask ("#" a digit, "*" any one
// character that is not a digit, also the missing one past the end; others themselves,
// case counts). Start is left at the position found, or past the text's end (result 0).
long Match_Mask(long& Start, std::string_view Text, std::string_view Mask);

// Decodes the alarm setting into the values above; true when any switch is on. A low byte
// of 0 clears the switches and leaves AlarmMinutes; a text that is not a number gives false.
bool Decode_Alarm_Values(std::string_view setting);

// 1 when the path already exists (folder or file); else creates the folder (one level: the parent
// must exist) and gives 0. Callers do not look at the result; a folder that cannot be made also gives 0.
long Make_Folder(const std::string& path);

// The version text embedded in a deliverable's file; "" when none.
std::string Get_File_Version(const std::string& path);

// Text of the bytes at the address, up to the first zero byte (at most byteCount bytes).
void Ptr_To_String(std::string& result, const void* address, long byteCount);
// Text of the array up to its first zero byte (the whole array when it holds none).
std::string Bytes_To_String(const std::vector<uint8_t>& bytes);
// Copies the text into the array without ever writing its last byte; the rest up to that byte
// is zeroed. True when the text had to be cut.
bool String_To_Bytes(std::string_view text, std::vector<uint8_t>& bytes);

// Unloads every window whose name (object name) differs from the given one; "" unloads all.
void Unload_Other_Forms(const std::string& formName);

}  // namespace modTLMain
