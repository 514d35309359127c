#include "maintenance/page_export.h"

#include <filesystem>
#include <map>

#include "foundation/busy_holds.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/item_grid.h"
#include "platform/save_dialog.h"
#include "service/wininet.h"

namespace Maintenance {
namespace {

namespace fs = std::filesystem;

bool endsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && vb::UCase(text.substr(text.size() - tail.size())) == tail;
}

bool isPicture(const std::string& address) {
    for (const char* tail : {"GIF", "JPG", "JPEG", "GIF\\", "JPG\\", "JPEG\\"})
        if (endsWithNoCase(address, tail)) return true;
    return false;
}

// The last segment of the address as a plain file name: no separators, no leading dots, only
// characters every file system takes.
std::string pictureName(const std::string& address) {
    std::string a = address;
    while (!a.empty() && a.back() == '\\') a.pop_back();
    std::string name = a.substr(a.find_last_of('/') + 1);
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || std::string_view("\\/:*?\"<>|%").find(c) != std::string_view::npos) c = '_';
    }
    while (!name.empty() && name.front() == '.') name.erase(0, 1);
    if (name.empty()) name = "picture.jpg";
    return name;
}

// `name` or, when taken by another address, "stem-2.ext", "stem-3.ext"...
std::string distinctName(const std::string& name, const std::map<std::string, std::string>& taken) {
    auto used = [&](const std::string& n) {
        for (const auto& [address, file] : taken)
            if (file == n) return true;
        return false;
    };
    if (!used(name)) return name;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    for (int k = 2;; ++k) {
        const std::string candidate = stem + "-" + std::to_string(k) + ext;
        if (!used(candidate)) return candidate;
    }
}

bool download(const std::string& address, const std::string& file) {
    std::string url = address;
    while (!url.empty() && url.back() == '\\') url.pop_back();
    const long https = url.rfind("https://", 0) == 0 ? modWinInet::kFlagHttps : 0;
    modWinInet::HttpBinaryMode = 1;
    const bool answered = modWinInet::Http_Request(url, "GET", "", https | modWinInet::kFlagReadBody |
                                                                     modWinInet::kFlagFollowRedirects,
                                                   {}, modWinInet::Deadline::inMs(kPictureTimeoutMs));
    if (!answered || modWinInet::HttpStatus != "200" || modWinInet::HttpBinaryData.empty() ||
        modWinInet::HttpBinaryData.size() > kMaxPictureBytes)
        return false;
    const std::string bytes(modWinInet::HttpBinaryData.begin(), modWinInet::HttpBinaryData.end());
    return modTLMain::Save_Whole_File(file, bytes);
}

// Every occurrence of `from`, in any letter case, replaced by `to`.
std::string replaceNoCase(const std::string& text, const std::string& from, const std::string& to) {
    const std::string upper = vb::UCase(text), key = vb::UCase(from);
    std::string out;
    size_t at = 0;
    for (size_t found; (found = upper.find(key, at)) != std::string::npos; at = found + key.size())
        out += text.substr(at, found - at) + to;
    return out + text.substr(at);
}

}  // namespace

PictureScan Save_WebPage_Images(const std::string& html, const std::string& folder) {
    PictureScan scan;
    std::map<std::string, std::string> files;  // address -> file name in the folder
    std::map<std::string, bool> fetchedOk;
    // The addresses first (a scan of the page as it came), then the rewriting.
    const std::string lower = vb::LCase(html);
    size_t p = 0;
    std::vector<std::string> addresses;
    while ((p = lower.find("src=", p)) != std::string::npos) {
        p += 4;
        std::string address;
        if (p < html.size() && (html[p] == '"' || html[p] == '\'') && html.compare(p + 1, 4, "http") == 0) {
            const size_t close = html.find(html[p], p + 1);
            if (close == std::string::npos) break;  // no closing quote: the scan ends
            address = html.substr(p + 1, close - p - 1);
            p = close;
        } else if (html.compare(p, 4, "http") == 0) {
            size_t close = html.find('>', p);
            if (close == std::string::npos) break;
            size_t end = close;
            while (end > p && html[end - 1] == ' ') --end;
            address = html.substr(p, end - p);
            p = end;
        } else {
            continue;
        }
        if (isPicture(address)) addresses.push_back(address);
    }
    TLMainState::BusyHold hold(TLMainState::DownloadBusy);
    std::string text = html;
    for (const std::string& address : addresses) {
        if (files.count(address)) continue;
        const std::string name = distinctName(pictureName(address), files);
        files[address] = name;
        const std::string path = folder + "/" + name;
        std::error_code ec;
        const bool ok = fs::exists(fs::u8path(path), ec) || download(address, path);
        if (!ok) {
            ++scan.failed;
            continue;  // the page keeps the address
        }
        ++scan.fetched;
        text = replaceNoCase(text, address, name);
    }
    scan.html = text;
    return scan;
}

void MnuSubExport_Click(int Index) {
    auto& status = TLMainLink::statusLine();
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy) {
        status.setStatus("Busy, Download In Progress....");
        return;
    }
    const std::string number = vb::Trim(TLMainLink::itemNumberBox().itemNumberText());
    if (TLMainItems::GridRowCount == 0 || number.empty()) return;
    status.setStatus("Exporting Auction Item " + number);
    const std::string source = modTLMain::DataFolder + "Saved Items/" + number + ".html";
    const platform::SaveAnswer answer = platform::saveDialog().chooseFileToSave(
        "Export Auction Item", "All Files (*.*)|*.*|Web Page (*.html)|*.html", number);
    if (answer.path.empty()) {
        status.setStatus("Export Failed...." + answer.error);
        return;
    }
    const std::optional<std::string> page = modTLMain::Read_Whole_File(source);
    if (!page) {
        status.setStatus("Export Failed.... The saved page of item " + number + " was not found");
        return;
    }
    std::error_code ec;
    fs::create_directories(fs::u8path(answer.path), ec);
    const std::string title = fs::u8path(answer.path).filename().string();
    const std::string target = answer.path + "/" + title + ".html";
    if (!modTLMain::Save_Whole_File(target, *page)) {
        status.setStatus("Export Failed.... " + target + " can't be written");
        return;
    }
    modTLMain::Wait_Seconds(1);
    if (Index == 1) {
        status.setStatus("Downloading Images for Export....");
        const PictureScan scan = Save_WebPage_Images(*page, answer.path);
        modPageParser::PageHTML = scan.html;
        modTLMain::Save_Whole_File(target, scan.html + "\r\n");
        if (scan.failed > 0) {
            status.setStatus("Item Export Complete...., " + std::to_string(scan.failed) + " images failed");
            return;
        }
    }
    status.setStatus("Item Export Complete....");
}

}  // namespace Maintenance
