// user_files.h — the user's data files copied to and from the data folder's "Backup/" folder,
// and the item store handed out to or taken in from a file the user names.
//
// Backup copies the four user files (configuration, item store, operation log, item history)
// through temporary names, so a copy that fails leaves the old one whole; the copies it replaces
// stay one generation in "Backup/previous/". Restore keeps the current files in
// "Backup/before-restore/", copies the backup back and closes the program without saving the
// configuration or the items, so the restored files are what the next start reads.
// Import reads the chosen file as an item store first and keeps a copy of the current store.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Maintenance {

// The user files in their copying order.
const std::vector<std::string>& User_Files();

// The backup command; `Mode` "S" is the heartbeat's daily backup, which shows the command's own
// texts only; any other mode ends with "File Backup Completed".
void BackupFiles(const std::string& Mode);
void MnuTitleBackup_Click();
void MnuTitleRestore_Click();
void MnuTitleExportItems_Click();
void MnuTitleImportItems_Click();

// How the restore closes the program: true when it closed (the user may keep it open when bids
// are pending). The main window's close by default.
void setRestoreExitForTests(std::function<bool()> exitWithoutSaving);  // empty: the main window's

}  // namespace Maintenance
