// program_update.h — the program's update from its update server (Help menu "Check for Updates",
// and the heartbeat's daily check when it finds a newer version).
//
// The road: the version query (unless the daily check already found one), the offer and the note,
// the update's information (its checksum, size and files, enciphered), the package (gzip; when it
// does not inflate to the announced size, the plain package is fetched: trail "Z"), the size and
// checksum checks ("S", "C"), the files written into the data folder, the settings saved, and the
// updater started from the data folder with the trail as its one argument; then the program ends
// and the updater replaces it. Every request is started and answered later; the user waits only on
// the dialogs. The updater is not started while a bid is near: the road waits until it has passed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Maintenance {

// The queries of the road (after each the announced version): the update's information, the
// gzip package and the plain package. The version query is "M-" and the program's version.
inline constexpr const char* kUpdateInfoQuery = "UI-";
inline constexpr const char* kPackageGzipQuery = "UG-";
inline constexpr const char* kPackagePlainQuery = "UU-";

inline constexpr const char* kBusy = "Busy, Download In Progress....";
inline constexpr const char* kNoVersion = "Error Retrieving Version Level....";
inline constexpr const char* kInvalidVersion = "Error Invalid Version Level....";
inline constexpr const char* kNoUpdateRequired = "No Update is Required......";
inline constexpr const char* kNoUpdateInfo = "Error Retrieving Update Information....";
inline constexpr const char* kSizeError = "Update File Error! Size Error!";
inline constexpr const char* kCrcError = "Update File Error! CRC Error!";
inline constexpr const char* kWriteError = "Update File Error! Files Not Written!";
inline constexpr const char* kUpdateErrorTitle = "Update Error";
inline constexpr const char* kCheckForUpdatesTitle = "Check for Updates";
inline constexpr const char* kDownloadingText = "  Downloading Update File";

// The update's information as it reads once deciphered.
struct UpdateInfo {
    std::string checksum;  // 8 hexadecimal digits, as written
    size_t size = 0;       // of the whole package
    struct File { size_t size = 0; std::string name; };
    std::vector<File> files;
};
// Reads the deciphered information; false when it does not read whole: a line missing or
// malformed, a name that is not one an update may write (or twice), no new program file, or file
// sizes that do not add up to the package's.
bool Read_Update_Info(const std::string& text, UpdateInfo& info);

// The Help menu's command (also run by the daily check with VersionOverride set).
void MnuTitleUpdateFile_Click();
// The one-shot unpack timer's handler, 100 ms after the package came.
void UDT_Timer();

// What the road holds (for the checks of tests): the update's information as received, the
// package, the trail.
extern std::string UpdateManifest;
extern std::vector<unsigned char> UpdatePackage;
extern std::string UpdateTrail;
// Whether a road is on its way (from the command to the updater's start or the road's end).
bool Update_Road_Running();

// Tests: the program's end after the updater started (the default unloads the main window and
// ends the process); every value back to its start.
void setUpdateExitForTests(std::function<void()> exitProgram);
void ResetProgramUpdateForTests();

}  // namespace Maintenance
