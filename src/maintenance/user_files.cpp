#include "maintenance/user_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/program_end.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "items/items_guard.h"
#include "mainwindow/tl_main.h"
#include "platform/clock.h"
#include "platform/desktop_files.h"
#include "platform/message_box.h"
#include "platform/save_dialog.h"

namespace Maintenance {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBusy = "Busy, Download In Progress....";
constexpr const char* kDataFilter = "Data File (*.dat)|*.dat";

std::function<bool()> g_restoreExit;

fs::path dataPath(const std::string& name = {}) { return fs::u8path(modTLMain::DataFolder + name); }

bool busy() {
    if (!TLMainState::DownloadBusy && !TLMainState::UpdateBusy) return false;
    TLMainLink::statusLine().setStatus(kBusy);
    return true;
}

// Copies `from` over `to` through a temporary name beside `to`: the old `to` stays whole until
// the new one is complete. False (with the reason) when it failed.
bool copyReplacing(const fs::path& from, const fs::path& to, std::string& why) {
    std::error_code ec;
    fs::path temp = to;
    temp += ".partial";
    if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec) || (fs::rename(temp, to, ec), ec)) {
        why = to.string() + ": " + ec.message();
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

// Copies the user files present in `from` to `to`, keeping the files they replace in `keep`
// (when given). The reasons of the copies that failed.
std::vector<std::string> copyUserFiles(const fs::path& from, const fs::path& to, const fs::path* keep) {
    std::vector<std::string> failures;
    std::error_code ec;
    fs::create_directories(to, ec);
    if (keep) fs::create_directories(*keep, ec);
    for (const std::string& name : User_Files()) {
        const fs::path source = from / fs::u8path(name);
        if (!fs::exists(source, ec)) continue;
        const fs::path target = to / fs::u8path(name);
        std::string why;
        if (keep && fs::exists(target, ec) && !copyReplacing(target, *keep / fs::u8path(name), why)) {
            failures.push_back(why);
            continue;
        }
        if (!copyReplacing(source, target, why)) failures.push_back(why);
    }
    return failures;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += (out.empty() ? "" : "; ") + line;
    return out;
}

bool exitWithoutSaving() {
    // The restored files are what the next start reads: neither the settings nor the list in
    // memory may be saved over them on the way out.
    modTLC::ConfigDirty = 0;
    modTLC::ConfigSaveCountdown = 0;
    modTLMain::Forget_Program_End("items");
    if (g_restoreExit) return g_restoreExit();
    if (!TLMain::loaded()) return true;
    TLMainState::ForceExit = true;
    TLMain::instance().Exit_Program();
    return true;
}

// True when the pending-bids question lets the program close (asked before anything is copied).
bool mayClose() {
    if (g_restoreExit || !TLMain::loaded()) return true;
    return !TLMain::instance().Form_QueryUnload(1);
}

// A readable item store: its header record carries the count and the format version.
bool readableItemStore(const std::string& path, std::string& why) {
    const std::optional<std::string> read = modTLMain::Read_Whole_File(path);
    if (!read) {
        why = "The file can't be read.";
        return false;
    }
    const std::string& bytes = *read;
    size_t offset = 0;
    TLMainItems::AuctionItem header;
    if (!TLMainItems::Read_Record(bytes, offset, header) || header.ItemNumber.empty() ||
        header.ItemNumber.find_first_not_of("0123456789") != std::string::npos || header.Title.empty() ||
        header.Title.find_first_not_of("0123456789") != std::string::npos) {
        why = "The file is not an auction item file.";
        return false;
    }
    return true;
}

}  // namespace

const std::vector<std::string>& User_Files() {
    static const std::vector<std::string> files{"tl2cf.dat", TLMainItems::kItemStoreFile, "OperationLog.txt",
                                                "ItemHistory.txt"};
    return files;
}

void BackupFiles(const std::string& Mode) {
    MnuTitleBackup_Click();
    if (vb::UCase(Mode) != "S") TLMainLink::statusLine().setStatus("File Backup Completed");
}

void MnuTitleBackup_Click() {
    if (busy()) return;
    const fs::path previous = dataPath("Backup/previous");
    const std::vector<std::string> failures = copyUserFiles(dataPath(), dataPath("Backup"), &previous);
    if (!failures.empty()) {
        modTLMain::Write_Error_Log("File Backup Failed: " + joined(failures));
        TLMainLink::statusLine().setStatus("Backup Failed.... " + joined(failures));
        return;
    }
    modTLMain::Write_Op_Log("File Backup");
    TLMainLink::statusLine().setStatus("Backup Completed....");
}

void MnuTitleRestore_Click() {
    if (busy()) return;
    using namespace platform;
    if (MsgBox("Restore User Files! Are you Sure?", vbOKCancel | vbDefaultButton2 | vbSystemModal, "Restore") != vbOK)
        return;
    if (!mayClose()) return;
    const fs::path before = dataPath("Backup/before-restore");
    const std::vector<std::string> failures = copyUserFiles(dataPath("Backup"), dataPath(), &before);
    if (!failures.empty()) modTLMain::Write_Error_Log("Restore: " + joined(failures));
    modTLMain::Write_Op_Log("Backup Files Restored");
    MsgBox("Your user files have been restored. Restart program after exit.", vbOKOnly | vbInformation, "Restore");
    exitWithoutSaving();
}

void MnuTitleExportItems_Click() {
    if (busy()) return;
    const std::string name =
        "Auction Items " + vb::FormatDate(platform::clock().now(), "mm-dd-yy") + ".dat";
    // The documents folder is named without a closing separator.
    const std::string proposed = (fs::u8path(modTLMain::CommonDocumentsFolder) / fs::u8path(name)).string();
    const platform::SaveAnswer answer = platform::saveDialog().chooseFileToSave("Export Auction Items", kDataFilter, proposed);
    if (answer.path.empty()) {
        TLMainLink::statusLine().setStatus(answer.error);
        return;
    }
    std::string why;
    if (!copyReplacing(dataPath(TLMainItems::kItemStoreFile), fs::u8path(answer.path), why)) {
        TLMainLink::statusLine().setStatus("Auction Items Export Failed.... " + why);
        return;
    }
    TLMainLink::statusLine().setStatus("Auction Items Exported....");
}

void MnuTitleImportItems_Click() {
    if (busy() || TLMainItems::Refuse_When_Items_Busy()) return;
    const std::string chosen =
        platform::desktopFiles().chooseFileToOpen(modTLMain::DataFolder + "Backup/", kDataFilter, "Import Auction Items");
    if (chosen.empty()) {
        TLMainLink::statusLine().setStatus(platform::kCancelSelected);
        return;
    }
    std::string why;
    if (!readableItemStore(chosen, why)) {
        TLMainLink::statusLine().setStatus("Auction Items Import Failed.... " + why);
        return;
    }
    const fs::path store = dataPath(TLMainItems::kItemStoreFile);
    std::error_code ec;
    fs::create_directories(dataPath("Backup"), ec);
    if (fs::exists(store, ec) && !copyReplacing(store, dataPath("Backup/before-import.dat"), why)) {
        TLMainLink::statusLine().setStatus("Auction Items Import Failed.... " + why);
        return;
    }
    if (!copyReplacing(fs::u8path(chosen), store, why)) {
        TLMainLink::statusLine().setStatus("Auction Items Import Failed.... " + why);
        return;
    }
    TLMainItems::Load_Auction_Items();

    std::vector<std::string> names = modTLC::Get_Section_Keys("Categories");
    int added = 0;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const std::string& category = TLMainItems::Items[static_cast<size_t>(i)].Category;
        if (category.empty() || !TLMainItems::Valid_Category_Name(category)) continue;
        if (std::find(names.begin(), names.end(), category) != names.end()) continue;
        modTLC::Set_Config_Value("Categories", category, "0");
        names = modTLC::Get_Section_Keys("Categories");
        ++added;
    }
    TLMainItems::Load_Categories_Menu();
    TLMainItems::Load_ItemGrid();
    TLMainLink::statusLine().setStatus("Auction Items Imported....");
    std::string message = std::to_string(TLMainItems::ItemCount) + " Items Imported...\r\n";
    if (added > 0) message += std::to_string(added) + " New Categories Added..";
    platform::MsgBox(message, platform::vbOKOnly | platform::vbSystemModal);
}

void setRestoreExitForTests(std::function<bool()> exitWithoutSaving) { g_restoreExit = std::move(exitWithoutSaving); }

}  // namespace Maintenance
