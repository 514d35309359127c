#include "maintenance/program_update.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/busy_holds.h"
#include "foundation/ex_events.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/protected_texts.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "foundation/window_process.h"
#include "foundation/zlib_codec.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_state.h"
#include "mainwindow/update_server.h"
#include "platform/file_names.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"
#include "platform/timers.h"
#include "service/http_request.h"
#include "service/sign_in.h"

namespace Maintenance {

std::string UpdateManifest;
std::vector<unsigned char> UpdatePackage;
std::string UpdateTrail;

namespace {

namespace fs = std::filesystem;

const char* const kVersion = TLMainState::kProgramVersion;
// A file being written by the unpack, before it takes its name.
const char* const kStagedSuffix = ".staged";
// The pause between the saved settings and the updater's start, and the look for a bid between.
constexpr int kPauseMs = 2000;
constexpr int kBidLookMs = 1000;
constexpr int kCriticalBox = platform::vbCritical | platform::vbSystemModal;

// The road in progress: one at a time.
struct Road {
    bool running = false;
    unsigned generation = 0;  // a new one for each road; an answer for an earlier one is dropped
    TLMainState::BusyHold download;  // from the package download to the road's end
    UpdateInfo info;
    std::vector<std::string> placed;
    modWinInet::HttpRequest request;
    platform::Timer UDT;
    platform::Timer pause;
};

Road& road() {
    static Road* r = new Road();
    return *r;
}

std::function<void()> g_exit;

// A continuation of the road in progress: once that road has ended, it does nothing.
template <class F>
auto onThisRoad(F f) {
    return [g = road().generation, f = std::move(f)](auto&&... args) {
        if (road().running && g == road().generation) f(std::forward<decltype(args)>(args)...);
    };
}

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

void progressWindow() {
    Messages::Args a;
    a.Text = kDownloadingText;
    a.FontSize = 14;
    a.Bold = true;
    a.Modeless = true;
    a.BigLabelText = "0 %";
    Messages::DisplayMsg(a);
}

void showProgress(long percent) { Messages::SetProgressText(std::to_string(percent) + " %"); }

void endRoad() {
    Road& r = road();
    r.running = false;
    r.UDT.setEnabled(false);
    r.pause.setEnabled(false);
    r.download.release();
    r.placed.clear();
}

// A step of the road that failed: the trail takes its letter, the server hears of it, the user is
// told, and the program runs on as it was.
void fail(const std::string& letter, const std::string& text, int style = kCriticalBox,
          const std::string& title = kUpdateErrorTitle) {
    UpdateTrail += letter;
    UpdateServer::Start_Query("UF-" + UpdateTrail + "-" + kVersion + "-" +
                                  modTLMain::URL_Encode(modWinInfo::WindowsVersionText),
                              {});
    Messages::UnloadShared();
    endRoad();
    platform::MsgBox(text, style, title);
}

std::string checksumText(const std::vector<unsigned char>& bytes) {
    long sum = 0;
    ExEvents().ADAL(0, bytes, static_cast<double>(bytes.size()) - 1, sum);
    char text[9];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(sum) & 0xFFFFFFFFUL);
    return text;
}

std::string inDataFolder(const std::string& name) { return modTLMain::DataFolder + name; }

void startUpdater();
void placeFiles();

// The updater ends this program: it waits while a bid is near, then starts.
void whenNoBidNear(void (*next)()) {
    Road& r = road();
    if (!TLMain::Bid_Near()) return next();
    r.pause.setHandler([next] {
        road().pause.setEnabled(false);
        whenNoBidNear(next);
    });
    r.pause.setInterval(kBidLookMs);
    r.pause.setEnabled(true);
}

// Steps 6 to 8: the checks, then the files once no bid is near.
void checkPackage() {
    Road& r = road();
    if (UpdatePackage.size() != r.info.size) return fail("S", kSizeError);
    if (checksumText(UpdatePackage) != r.info.checksum) return fail("C", kCrcError);
    // The downloads are over: the result updates that wait on them may run while a bid is awaited.
    r.download.release();
    whenNoBidNear(placeFiles);
}

// Each file is written under a staged name first; only when all are written do they take their
// names, the files they replace kept beside them until the outcome is known.
void placeFiles() {
    Road& r = road();
    std::vector<std::string> staged;
    auto dropStaged = [&staged] {
        std::error_code ec;
        for (const std::string& s : staged) fs::remove(fs::u8path(s), ec);
    };
    size_t at = 0;
    for (const UpdateInfo::File& f : r.info.files) {
        const std::string path = inDataFolder(f.name) + kStagedSuffix;
        const std::string bytes(UpdatePackage.begin() + static_cast<long>(at),
                                UpdatePackage.begin() + static_cast<long>(at + f.size));
        at += f.size;
        if (!modTLMain::Save_Whole_File(path, bytes)) {
            modTLMain::Log_Error(75, "Path/File access error", "UDT_Timer");
            dropStaged();
            return fail("W", kWriteError);
        }
        staged.push_back(path);
    }
    for (size_t i = 0; i < r.info.files.size(); ++i) {
        const std::string name = r.info.files[i].name;
        const fs::path file = fs::u8path(inDataFolder(name));
        std::error_code ec;
        if (name != platform::kDownloadedProgramFile && fs::exists(file, ec)) {
            const fs::path kept = fs::u8path(inDataFolder(name + UpdateServer::kKeptSuffix));
            fs::remove(kept, ec);
            fs::rename(file, kept, ec);
        }
        if (!ec) fs::rename(fs::u8path(staged[i]), file, ec);
        if (ec) {
            modTLMain::Log_Error(75, "Path/File access error", "UDT_Timer");
            UpdateServer::Settle_Placed_Files(r.placed, false);
            staged.erase(staged.begin(), staged.begin() + static_cast<long>(i));
            dropStaged();
            return fail("W", kWriteError);
        }
        r.placed.push_back(name);
    }

    // Step 9: what the next start needs to judge the outcome, saved before the program ends.
    modTLC::Set_Config_Value("Options", "UpdateVersion", TLMainState::UpdateVersionReply);
    modTLC::Set_Config_Value("Options", "UpdateError", UpdateTrail);
    modTLC::Set_Config_Value("Options", "UpdateStatus", "1");
    modTLC::Set_Config_Value("Options", UpdateServer::kPlacedFilesKey, vb::Join(r.placed, "/"));
    modTLC::Save_Config_File();
    Messages::UnloadShared();

    // Step 10: a pause, then the updater.
    r.pause.setHandler([] {
        road().pause.setEnabled(false);
        whenNoBidNear(startUpdater);
    });
    r.pause.setInterval(kPauseMs);
    r.pause.setEnabled(true);
}

void exitProgram() {
    if (g_exit) return g_exit();
    TLMainState::ForceExit = true;
    if (TLMain::loaded()) TLMain::instance().Form_Unload();  // the settings, the list, "Program Ended"
    modTLMain::Exit_Program();
}

void startUpdater() {
    Road& r = road();
    const bool started = platform::programLauncher().startDetached(inDataFolder(platform::kUpdaterFile), {UpdateTrail},
                                                                   modTLMain::DataFolder);
    if (started) {
        endRoad();
        exitProgram();
        return;
    }
    modTLC::Set_Config_Value("Options", "UpdateStatus", "0");
    UpdateServer::Settle_Placed_Files(r.placed, false);
    modTLC::Delete_Config_Key("Options", UpdateServer::kPlacedFilesKey);
    fail("P", std::string("Update Error! ") + platform::kUpdaterFile + " failed to execute.", platform::vbOKOnly,
         platform::kProgramTitle);
}

// Step 8 of the command: the package, then the unpack 100 ms later.
void downloadPackage(const char* query, std::function<void()> then) {
    Road& r = road();
    progressWindow();
    r.request = UpdateServer::Start_Download(query + TLMainState::UpdateVersionReply, showProgress,
                                             onThisRoad([then](std::vector<unsigned char> bytes, bool) {
                                                 UpdatePackage = std::move(bytes);
                                                 then();
                                             }));
}

// Steps 5 to 9 of the command, after the user agreed.
void downloadUpdate() {
    Road& r = road();
    TLMainState::VersionOverride = 0;
    r.request = UpdateServer::Start_Download(
        kUpdateInfoQuery + TLMainState::UpdateVersionReply, {}, onThisRoad([](std::vector<unsigned char> bytes, bool) {
            UpdateManifest = modAHM::Bytes_To_String(bytes);
            if (bytes.empty()) UpdateManifest.clear();
            if (UpdateManifest.empty()) {
                endRoad();
                platform::MsgBox(kNoUpdateInfo, kCriticalBox);
                return;
            }
            road().download = TLMainState::BusyHold(TLMainState::DownloadBusy);
            downloadPackage(kPackageGzipQuery, [] { road().UDT.setEnabled(true); });
        }));
}

// The update ends the program without the pending-bids question, so the second answer has the
// focus: Enter pressed by reflex does not start it.
bool userAgrees(const std::string& text, long fontSize, const char* yes, const char* no) {
    Messages::Args a;
    a.Text = text;
    a.FontSize = fontSize;
    a.Bold = true;
    a.Btn1Caption = yes;
    a.Btn2Caption = no;
    a.DefaultButton = 2;
    return Messages::DisplayMsg(a) == "MsgBtn1";
}

// Steps 3 and 4: the offer and the note. Only the first button goes on (closing the window is no).
void offer() {
    if (!userAgrees("A Program Update is Available!\r\nDo you wish to update now?", 14, "Yes", "No")) return endRoad();
    const std::string updater = std::string("'") + platform::kUpdaterFile + "'";
    const std::string note =
        "Note: At the completion of this update download this program will need to exit and run the \r\n"
        "file " + updater + " to update the files. On later versions of Windows you may need to \r\n"
        "give your permission to run this file, failure to execute this program will cause the update to fail.\r\n"
        "\r\n"
        "We also recommend that you temporarily disable any anti-virus software you may have installed \r\n"
        "on your computer to prevent blocking of this update.\r\n";
    if (!userAgrees(note, 12, "Begin Update", "Cancel")) return endRoad();
    downloadUpdate();
}

void judgeVersion(const std::string& reply) {
    TLMainState::UpdateVersionReply = reply;
    switch (UpdateServer::Judge_Version(reply)) {
    case UpdateServer::Version::NoReply:
        endRoad();
        platform::MsgBox(kNoVersion, kCriticalBox);
        return;
    case UpdateServer::Version::Invalid:
        endRoad();
        platform::MsgBox(kInvalidVersion, kCriticalBox);
        return;
    case UpdateServer::Version::NotNewer:
        endRoad();
        status(kNoUpdateRequired);
        return;
    case UpdateServer::Version::Newer:
        offer();
        return;
    }
}

// A whole number of 1 to 10 digits, at most `most`.
bool readCount(std::string_view line, size_t& value, size_t most) {
    if (line.empty() || line.size() > 10 || line.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    unsigned long long v = 0;
    for (char c : line) v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > most) return false;
    value = static_cast<size_t>(v);
    return true;
}

// The information's lines one by one, each read once: nothing is split ahead of the checks.
class InfoLines {
public:
    explicit InfoLines(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (!more_) return false;
        const size_t end = rest_.find("\r\n");
        line = rest_.substr(0, end);
        more_ = end != std::string_view::npos;
        if (more_) rest_.remove_prefix(end + 2);
        return true;
    }
    // Only empty lines are left (the breaks that end the information).
    bool onlyBreaksLeft() const {
        if (!more_) return true;
        for (size_t i = 0; i < rest_.size(); i += 2)
            if (rest_.compare(i, 2, "\r\n") != 0) return false;
        return rest_.empty() || rest_.size() % 2 == 0;
    }

private:
    std::string_view rest_;
    bool more_ = true;
};

}  // namespace

bool Read_Update_Info(const std::string& text, UpdateInfo& info) {
    InfoLines lines(text);
    std::string_view checksum, size, count;
    if (!lines.next(checksum) || !lines.next(size) || !lines.next(count)) return false;
    if (checksum.size() != 8 || checksum.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos)
        return false;
    UpdateInfo read;
    read.checksum = std::string(checksum);
    size_t files = 0;
    const size_t names = UpdateServer::Update_File_Names().size();
    if (!readCount(size, read.size, modWinInet::kMaxBinaryBody) || read.size == 0 || !readCount(count, files, names) ||
        files == 0)
        return false;
    size_t total = 0;
    std::set<std::string> seen;
    for (size_t k = 0; k < files; ++k) {
        std::string_view fileSize, name;
        if (!lines.next(fileSize) || !lines.next(name)) return false;
        UpdateInfo::File f;
        f.name = std::string(name);
        if (!readCount(fileSize, f.size, read.size) || !UpdateServer::Is_Update_File_Name(f.name) ||
            !seen.insert(f.name).second)
            return false;
        total += f.size;
        read.files.push_back(f);
    }
    if (!lines.onlyBreaksLeft() || total != read.size || !seen.count(platform::kDownloadedProgramFile)) return false;
    info = std::move(read);
    return true;
}

void MnuTitleUpdateFile_Click() {
    Road& r = road();
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy || r.running) return status(kBusy);
    // No server, or one that is not https: the user is told so, and nothing is asked.
    if (const std::string problem = UpdateServer::Address_Problem(); !problem.empty()) {
        platform::MsgBox(problem, platform::vbExclamation, kCheckForUpdatesTitle);
        return;
    }
    r.running = true;
    ++r.generation;
    r.UDT.setHandler(UDT_Timer);
    r.UDT.setInterval(100);
    if (TLMainState::VersionOverride) return offer();
    r.request = UpdateServer::Start_Query(std::string("M-") + kVersion, onThisRoad(judgeVersion));
}

void UDT_Timer() {
    Road& r = road();
    r.UDT.setEnabled(false);
    UpdateTrail.clear();
    // The information first: one that does not read fails the road before anything is written.
    UpdateManifest = modAHM::Crypt_String(UpdateManifest, modTLMain::Protected_Text(modTLMain::ProtectedText::UpdateInfoPhrase), false);
    if (!Read_Update_Info(UpdateManifest, r.info)) return fail("S", kSizeError);
    // The package inflates to no more than its announced size.
    std::string bytes(UpdatePackage.begin(), UpdatePackage.end());
    if (ZLIB().UncompressString(bytes, ZLIB::kGzipFormat, r.info.size) == 0 && bytes.size() == r.info.size) {
        UpdatePackage.assign(bytes.begin(), bytes.end());
        return checkPackage();
    }
    UpdateTrail += "Z";
    downloadPackage(kPackagePlainQuery, checkPackage);
}

bool Update_Road_Running() { return road().running; }

void setUpdateExitForTests(std::function<void()> exitProgram) { g_exit = std::move(exitProgram); }

void ResetProgramUpdateForTests() {
    Road& r = road();
    endRoad();  // first: the cancelled request's answer finds no road
    r.request.cancel();
    r.request = {};
    r.info = {};
    UpdateManifest.clear();
    UpdatePackage.clear();
    UpdateTrail.clear();
}

}  // namespace Maintenance
