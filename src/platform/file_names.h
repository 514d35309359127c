// file_names.h — the installed files of the three deliverables, by their names on this system.
#pragma once

namespace platform {

inline constexpr const char* kProgramFile = "TolvaneRerodeII";           // the main program
inline constexpr const char* kUpdaterFile = "Renewlet";                  // the updater
inline constexpr const char* kExtensionFile = "libTolvaneRerodeIE.so";   // the browser extension
// The updater keeps the replaced program file under the program's name and this ending; the
// program deletes it at its first tick.
inline constexpr const char* kReplacedProgramSuffix = ".old";
inline constexpr const char* kDataFolderName = "TolvaneRerodeII";        // below the application-data folder
inline constexpr const char* kDownloadedProgramFile = "UPDATEEXE";       // an update's new main program, in the data folder

}  // namespace platform
