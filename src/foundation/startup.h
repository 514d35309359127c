// startup.h — the process's start: folders, user agent, single instance, checks, first-run presets.
#pragma once

#include <string>

namespace modTLMain {

// Process-wide values prepared at start (they live for the life of the process).
inline std::string DataFolder;            // application data + "TolvaneRerodeII/" (ends with '/')
inline std::string AppDataFolder;
inline std::string CommonAppDataFolder;
inline std::string DesktopFolder;
inline std::string StartupFolder;
inline std::string CommonDocumentsFolder;
inline std::string DefaultUserAgent;
inline long ConfigLoaded = 0;
inline bool NewInstall = false;
inline long FirstRunSetup = 0;
inline long TokenElevationType = 0;
inline long CurrentSiteIndex = 0;

inline constexpr const char* kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Win32)";

void Main();
void GetAppDataPaths();
void GetUserAgent();
void Set_Default_Config();
// Gives up the single-instance lock and socket (the program's end).
void End_Single_Instance();

void ResetStartupForTests();

}  // namespace modTLMain
