// system_info.h — facts about the PC for start-up, the tray icon and the problem report.
//
// The system is described in the terms the program has always used: the version figures
// say 6.1, so the program treats the PC like one where a normal user may not set the clock
// unless the process has the right to (elevation type 3 limited, 2 full). Facts come from
// platform::systemFacts(), which tests replace.
#pragma once

#include <string>

namespace modWinInfo {

inline std::string WindowsVersionText;   // the system's name ("Debian GNU/Linux 12 (bookworm)")
inline std::string WindowsEditionText;   // edition words with a leading blank, or ""
inline std::string ServicePackText;      // always "" here
inline long OSMajorVersion = 0;
inline long OSMinorVersion = 0;
inline long TrayDataSize = 0;            // byte size of the tray-icon record: 88, 488 or 504

void Get_Windows_Version();
std::string Get_Windows_Edition();
std::string Get_Chassis_Type();          // "Desktop", "Laptop", ... or the number; "" when unknown
void Set_Tray_Data_Size();
bool Shell_Version_At_Least(long Major);
long GetCPUSpeed();                      // MHz, 0 when unknown
std::string GetCPUType();                // processor name, "" when unknown
std::string Get_IE_Ver();                // always ""
std::string Get_Mem();                   // "Total Memory: 8000 MB  In Use: 41%" and CR LF
long Get_Elevation_Type();               // 2 may set the clock, 3 may not, 0 unknown
bool Is_Admin_Group();

void ResetForTests();

}  // namespace modWinInfo
