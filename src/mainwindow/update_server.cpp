#include "mainwindow/update_server.h"

#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <regex>
#include <system_error>

#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "mainwindow/tl_main_state.h"
#include "platform/file_names.h"
#include "service/wininet.h"

namespace UpdateServer {
namespace {

namespace fs = std::filesystem;

// A query waits this long for its answer; a download has the client's own bounds.
constexpr qint64 kQueryDeadlineMs = 30000;

bool isHttps(const std::string& url) { return vb::LCase(url).rfind("https://", 0) == 0; }

fs::path inDataFolder(const std::string& name) { return fs::u8path(modTLMain::DataFolder + name); }

bool answered(const modWinInet::HttpResult& r) { return r.ok && r.status == "200"; }

}  // namespace

std::string Address() {
    const std::string address = vb::Trim(modTLC::Get_Config_Value("Options", kServerKey));
    return isHttps(address) ? address : std::string();
}

std::string Address_Problem() {
    if (!Address().empty()) return {};
    return vb::Trim(modTLC::Get_Config_Value("Options", kServerKey)).empty() ? kNoServerText : kNotHttpsText;
}

std::string Refusal(const std::string& address) {
    const std::string a = vb::Trim(address);
    if (a.empty()) return {};
    if (!isHttps(a)) return kMustBeHttpsText;
    const QUrl url(QString::fromStdString(a), QUrl::StrictMode);
    const bool blank = std::any_of(a.begin(), a.end(), [](unsigned char c) { return c <= ' '; });
    return url.isValid() && !url.host().isEmpty() && !blank ? std::string() : kNotAnAddressText;
}

std::string Query_URL(const std::string& query) {
    const std::string address = Address();
    if (address.empty()) return {};
    return address + (address.find('?') == std::string::npos ? "?q=" : "&q=") + query;
}

modWinInet::HttpRequest Start_Query(const std::string& query, std::function<void(std::string reply)> done) {
    const std::string url = Query_URL(query);
    if (url.empty()) {
        if (done) modWinInet::Run_Later([done] { done({}); });
        return {};
    }
    modWinInet::HttpRequestSpec spec;
    spec.url = url;
    spec.flags = modWinInet::kFlagHttps | modWinInet::kFlagReadBody;
    spec.userAgent = query;
    spec.ownSession = true;
    return modWinInet::Start_Http_Request(std::move(spec), modWinInet::Deadline::inMs(kQueryDeadlineMs),
                                          [done](modWinInet::HttpResult r) {
                                              if (done) done(answered(r) ? r.body : std::string());
                                          });
}

modWinInet::HttpRequest Start_Download(const std::string& query, std::function<void(long percent)> progress,
                                       std::function<void(std::vector<unsigned char> bytes, bool ok)> done) {
    const std::string url = Query_URL(query);
    if (url.empty()) {
        modWinInet::Run_Later([done] { done({}, false); });
        return {};
    }
    modWinInet::HttpRequestSpec spec;
    spec.url = url;
    spec.flags = modWinInet::kFlagHttps | modWinInet::kFlagReadBody;
    spec.binary = true;
    spec.progress = std::move(progress);
    return modWinInet::Start_Http_Request(std::move(spec), modWinInet::Deadline::none(),
                                          [done](modWinInet::HttpResult r) {
                                              if (!answered(r)) return done({}, false);
                                              done(std::move(r.bytes), true);
                                          });
}

Version Judge_Version(const std::string& reply) {
    if (reply.empty()) return Version::NoReply;
    static const std::regex kPlainNumber(R"([0-9]+(\.[0-9]+)?)");
    if (reply.size() > 4 || !std::regex_match(reply, kPlainNumber)) return Version::Invalid;
    return vb::Val(reply) > vb::Val(TLMainState::kProgramVersion) ? Version::Newer : Version::NotNewer;
}

const std::vector<std::string>& Update_File_Names() {
    static const std::vector<std::string> names = {platform::kDownloadedProgramFile, "UpdateInfo.txt"};
    return names;
}

bool Is_Update_File_Name(const std::string& name) {
    const auto& names = Update_File_Names();
    return std::find(names.begin(), names.end(), name) != names.end();
}

void Settle_Placed_Files(const std::vector<std::string>& placed, bool took) {
    for (const std::string& name : placed) {
        if (!Is_Update_File_Name(name)) continue;
        const fs::path file = inDataFolder(name);
        const fs::path kept = inDataFolder(name + kKeptSuffix);
        std::error_code ec;
        if (name == platform::kDownloadedProgramFile) {
            if (!took) fs::remove(file, ec);  // when it took, the updater has moved it
        } else if (took) {
            fs::remove(kept, ec);
        } else if (fs::exists(kept, ec)) {
            fs::rename(kept, file, ec);
        } else {
            fs::remove(file, ec);
        }
        if (ec) modTLMain::Log_Error(75, "Path/File access error", "Settle_Placed_Files");
    }
}

void Settle_Recorded_Files(bool took) {
    const std::string recorded = modTLC::Get_Config_Value("Options", kPlacedFilesKey, "");
    if (recorded.empty()) return;
    std::vector<std::string> names;
    for (const std::string& n : vb::Split(recorded, "/"))
        if (!n.empty()) names.push_back(n);
    Settle_Placed_Files(names, took);
    modTLC::Delete_Config_Key("Options", kPlacedFilesKey);
}

}  // namespace UpdateServer
