#include "maintenance/report_problem.h"

#include <algorithm>
#include <regex>
#include <vector>

#include "bidding/dial_state.h"
#include "dialup/ras.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "foundation/zlib_codec.h"
#include "items/add_item.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "mainwindow/update_server.h"
#include "mainwindow/browser_views.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/file_names.h"
#include "service/http_request.h"

namespace modReportProblem {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kTitle = "Report a Problem";

std::string framed(const std::string& text) { return std::string(kCrLf) + text + kCrLf; }

// A bold size-10 message of the report's dialogue; the answer.
std::string ask(const std::string& text, const std::string& b1, const std::string& b2 = {},
                const std::string& title = kTitle, long input = 0, const std::string& opt1 = {},
                const std::string& opt2 = {}) {
    Messages::Args a;
    a.Text = text;
    a.FontSize = 10;
    a.Bold = true;
    a.Btn1Caption = b1;
    a.Btn2Caption = b2;
    a.Title = title;
    a.InputHeight = input;
    a.Opt1Caption = opt1;
    a.Opt2Caption = opt2;
    return Messages::DisplayMsg(a);
}

std::string dataFile(const std::string& name) { return modTLMain::DataFolder + name; }

std::string sectionOf(const std::string& text, const std::string& name) {
    const std::string lower = vb::LCase(text);
    const std::string head = "[" + vb::LCase(name) + "]";
    size_t at = lower.find(head);
    while (at != std::string::npos && at != 0 && text[at - 1] != '\n') at = lower.find(head, at + 1);
    if (at == std::string::npos) return {};
    size_t end = at + head.size();
    for (;;) {
        end = text.find('[', end);
        if (end == std::string::npos || text[end - 1] == '\n') break;
        ++end;
    }
    std::string section = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    // Password keys never leave the machine.
    std::string kept;
    size_t from = 0;
    while (from < section.size()) {
        size_t nl = section.find('\n', from);
        const size_t next = nl == std::string::npos ? section.size() : nl + 1;
        const std::string line = section.substr(from, next - from);
        const size_t eq = line.find('=');
        if (eq == std::string::npos || vb::LCase(line.substr(0, eq)).find("pass") == std::string::npos) kept += line;
        from = next;
    }
    return kept;
}

}  // namespace

std::string Hex_Block(const std::string& bytes) {
    std::string data = bytes;
    ZLIB().CompressString(data, ZLIB::kGzipFormat);
    static const char* const kDigits = "0123456789ABCDEF";
    std::string out;
    out.reserve(data.size() * 2 + data.size() / 16 + 2);
    for (size_t i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
        if ((i + 1) % 32 == 0) out += kCrLf;
    }
    return out;
}

std::optional<std::string> Decode_Hex_Block(const std::string& hexLines) {
    std::string digits;
    for (char c : hexLines)
        if (c != '\r' && c != '\n') digits += c;
    if (digits.size() % 2) return std::nullopt;
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int hi = value(digits[i]), lo = value(digits[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    if (ZLIB().UncompressString(bytes, ZLIB::kGzipFormat) != 0 || bytes.size() > kMaxDecodedBytes) return std::nullopt;
    return bytes;
}

std::string OpLog_Block(const std::string& logText) {
    size_t start = 0;
    int breaks = 0;
    for (size_t i = logText.size(); i-- > 0;) {
        if (logText[i] == '\n' && ++breaks == 501) {
            start = i + 1;
            break;
        }
    }
    return std::string("---- Operation Log Entries ----\r\n\r\n") + logText.substr(start) + kCrLf +
           "---- End Operation Log Entries ----\r\n\r\n";
}

std::optional<std::string> Report_Config_Text(const std::string& configText) {
    const std::string options = sectionOf(configText, "Options");
    const std::string locale = sectionOf(configText, "Locale");
    if (options.empty() || locale.empty()) return std::nullopt;
    return options + locale;
}

void Get_Report_OpLog() {
    ReportOpLogBlock = OpLog_Block(modTLMain::Read_Whole_File(dataFile("OperationLog.txt")).value_or(""));
}

long Get_Report_BidResults() {
    const auto page = modTLMain::Read_Whole_File(dataFile("Saved Items/" + ReportItemNumber + "BR.html"));
    ReportBlockBuffer += "---- Bid Results ----\r\n\r\n";
    ReportBlockBuffer += page ? Hex_Block(*page) : std::string("NO BID RESULTS WERE FOUND!");
    ReportBlockBuffer += "\r\n\r\n---- End Bid Results ----\r\n\r\n";
    return page ? 1 : 0;
}

long Get_Report_Config() {
    const auto kept = Report_Config_Text(modTLC::Config_Text());
    if (!kept) return 0;
    ReportBlockBuffer += "---- Configuration ----\r\n\r\n" + Hex_Block(*kept) + "\r\n\r\n---- End Configuration ----\r\n\r\n";
    return 1;
}

std::string Get_Report_SysInfo() {
    using namespace modWinInfo;
    std::string s = "---- System Information ----\r\n\r\n";
    s += "IE Menu DLL: " + modTLMain::Get_File_Version(dataFile(platform::kExtensionFile)) + kCrLf;
    s += "Program Updater: " + modTLMain::Get_File_Version(dataFile(platform::kUpdaterFile)) + kCrLf;
    s += "Internet Explorer: " + Get_IE_Ver() + kCrLf;
    if (vb::Val(modTLC::Get_Config_Value("Options", "AltBrowser")) == 1) {
        const std::string path = modTLC::Get_Config_Value("Options", "AltBrowserPath");
        const size_t slash = path.find_last_of("/\\");
        s += "Alternate Browser: " + (slash == std::string::npos ? path : path.substr(slash + 1)) + kCrLf;
    }
    s += "Computer Type: " + Get_Chassis_Type() + kCrLf;
    s += "Operating System: " + WindowsVersionText + kCrLf;
    s += std::string("Administrator: ") + (Is_Admin_Group() ? "Yes" : "No") + kCrLf;
    s += "CPU " + GetCPUType() + " - " + std::to_string(GetCPUSpeed()) + " MHZ" + kCrLf;
    s += Get_Mem();
    s += "Locale Info : Country=" + modTLMain::Get_Locale_Country() + ", ID=" +
         std::to_string(modTLMain::GetUserDefaultLCID()) + modTLMain::Get_Locale_Thousand() +
         modTLMain::Get_Locale_Decimal() + kCrLf;
    s += std::string(vb::Val(modTLC::Get_Config_Value("Options", "ClockSet")) == 0 ? "Time Sync Off, " : "Time Sync On, ") +
         modTLMain::TimeZoneName + kCrLf;
    if (modTLMain::DstStartText == modTLMain::DstEndText)
        s += "Daylight Saving Time Not Enabled\r\n";
    else
        s += "Daylight Saving Time Starts: " + modTLMain::DstStartText + "\r\nStandard Time Starts: " +
             modTLMain::DstEndText + kCrLf;
    s += kCrLf;
    static const char* const kDialNames[] = {"IE Default", "Selected Dial-Up", "DSL/Cable", "Macro"};
    const int dial = modRAS::DialType;
    s += std::string("Connection Method ") + (dial >= 0 && dial <= 3 ? kDialNames[dial] : "");
    if (dial == 1)
        s += vb::Val(modTLC::Get_Config_Value("DUN", "DefaultStatus")) == 0 ? ", Dial Defaults Off" : ", Dial Defaults On";
    s += kCrLf;
    // A fresh look at the connection: the system's primary connection and whether it is online.
    const bool online = modRAS::GetConStatus();
    s += "Connection Type: " + modRAS::ConnectionName + ", Status " + (online ? "Online" : "Offline") + kCrLf + kCrLf;
    s += "---- End System Information ----\r\n\r\n";
    return s;
}

std::string Get_Report_DataAnalysis() {
    using TLMainItems::Items;
    using TLMainItems::ItemCount;
    std::string s = "---- Analysis of Auction Data File ----\r\n\r\n";
    s += "Total Item Count = " + std::to_string(ItemCount) + kCrLf;
    std::vector<std::string> keys = modTLC::Get_Section_Keys("Categories");
    auto known = [&keys](const std::string& name) {
        return std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return vb::LCase(k) == vb::LCase(name); });
    };
    std::vector<std::pair<std::string, int>> counts;
    int pending = 0;
    for (int i = 1; i <= ItemCount; ++i) {
        const auto& it = Items[static_cast<size_t>(i)];
        if (it.BidTimeSecs > 0) ++pending;
        if (it.Category.empty()) continue;
        if (!known(it.Category) && TLMainItems::Valid_Category_Name(it.Category)) {
            modTLC::Set_Config_Value("Categories", it.Category, "0");
            s += "Restored Missing Category - " + it.Category + kCrLf;
            TLMainItems::Load_Categories_Menu();
            keys = modTLC::Get_Section_Keys("Categories");
        }
        auto c = std::find_if(counts.begin(), counts.end(), [&](const auto& p) { return p.first == it.Category; });
        if (c == counts.end())
            counts.emplace_back(it.Category, 1);
        else
            ++c->second;
    }
    for (const auto& [name, n] : counts) s += name + " = " + std::to_string(n) + " Items" + kCrLf;
    s += std::to_string(pending) + " Bids Pending" + kCrLf;
    s += "\r\n---- End Analysis of Auction Data File ----\r\n\r\n";
    return s;
}

std::string Report_Text() {
    std::string r = "Copy and Email to: " + ContactAddress + "\r\n\r\n";
    r += "Created on " + vb::GeneralDate(platform::clock().now()) + "\r\n\r\n";
    r += "Auction Item Number(s): " + ReportItemNumber + "\r\n\r\n\r\n";
    r += "---- Description of Problem ----\r\n\r\n" + ReportDescription + "\r\n\r\n";
    r += Get_Report_SysInfo();
    r += Get_Report_DataAnalysis();
    Get_Report_OpLog();
    r += ReportOpLogBlock;
    r += ReportBlockBuffer;
    r += "---- END OF REPORT ----\r\n";
    return r;
}

std::string Contact_Address() {
    if (!ContactAddress.empty()) return ContactAddress;
    ContactAddress = kNoContactAddress;
    if (UpdateServer::Address().empty()) return ContactAddress;
    // The user waits on the report; the query itself is the update server's started one.
    modWinInet::Answer<std::string> reply;
    UpdateServer::Start_Query("C-", reply.receiver());
    static const std::regex kAddress(R"(^[A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)+$)");
    const std::string body = vb::Trim(reply.wait());
    std::string line = body;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.size() <= 254 && std::regex_match(line, kAddress)) ContactAddress = line;
    return ContactAddress;
}

void Report_Problem() {
    const std::string type = ask(framed("          Select a Problem Type          "), "OK", {}, kTitle, 0, "Bid Related", "Other");
    std::string number;
    if (type != "Opt2") {
        for (;;) {
            number = vb::Trim(ask(framed("Enter the Item Number of this Bid"), "OK", {}, "Problem Report - Item Number", 300));
            std::string problem;
            if (number.empty())
                problem = "The type of problem you selected requires an item number";
            else if (!modTLMain::Item_Exists(number))
                problem = "Error! Item number was not found in program listings!";
            else
                break;
            if (ask(framed(problem), "Retry", "Cancel") != "MsgBtn1") return;
        }
    }
    ReportItemNumber = number;
    ReportOpLogBlock.clear();
    ReportBlockBuffer.clear();
    if (!number.empty()) {
        if (Get_Report_BidResults() == 1) {
            ask(framed("Bid results was found for this item and will be displayed next."), "OK");
            TLMainBrowser::DisplayBidResults(number);
            if (ask(std::string(kCrLf) + "After reviewing the bid results, close the browser window" + kCrLf +
                        "and click 'Continue' to generate the report or 'Cancel' to exit.",
                    "Continue", "Cancel") != "MsgBtn1")
                return;
        } else if (ask(framed("Bid results were not found for this item.") + kCrLf, "Continue", "Cancel") != "MsgBtn1") {
            return;
        }
    }
    for (;;) {
        ReportDescription = ask(framed("      Enter Description of Problem.      "), "OK", {}, "Report a Problem Description", 1500);
        if (!vb::Trim(ReportDescription).empty()) break;
        if (ask(framed("You must enter a problem description."), "Retry", "Cancel") != "MsgBtn1") return;
    }
    Get_Report_Config();
    Contact_Address();
    const std::string report = Report_Text();
    const std::string answer =
        ask(std::string("Your problem report is ready and has been copied to the Windows clipboard ") + kCrLf +
                "for pasting into your email message area.  " + kCrLf + kCrLf +
                "Please send this report to the email address displayed at the top of the report." + kCrLf + kCrLf +
                "Any reports that are incomplete or have been modified will be rejected." + kCrLf + kCrLf,
            "OK", "Cancel");
    if (answer == "MsgBtn2") return;
    platform::clipboard().clear();
    platform::clipboard().setText(report);
    if (!modTLMain::Save_Whole_File(dataFile("Report.txt"), report + kCrLf))
        modTLMain::Write_Error_Log("Report.txt could not be written");
}

void Contact_Us() {
    Messages::Args a;
    a.Btn1Caption = "OK";
    a.Title = "Contact Us";
    // Only an address goes on the clipboard; without one the user's clipboard keeps what it holds.
    const std::string problem = UpdateServer::Address_Problem();
    const std::string address = problem.empty() ? Contact_Address() : std::string();
    if (!problem.empty()) {
        a.Text = problem;
    } else if (address == kNoContactAddress) {
        a.Text = address;
    } else {
        platform::clipboard().clear();
        platform::clipboard().setText(address);
        a.Text = std::string("This email address has been copied to your clipboard.") + kCrLf + kCrLf + address;
    }
    Messages::DisplayMsg(a);
}

void Decode_Report_Block(int mode) {
    const std::string text = platform::clipboard().text();
    if (text.size() < 200) return;
    const auto decoded = Decode_Hex_Block(text);
    if (!decoded) {
        modTLMain::Write_Error_Log("Decode_Report_Block: the clipboard holds no readable block");
        return;
    }
    if (mode == 1) {
        modTLMain::Save_Whole_File(dataFile("Saved Items/1234567890BR.html"), *decoded + kCrLf);
        TLMainBrowser::DisplayBidResults("1234567890");
    } else if (mode == 2) {
        const std::string path = dataFile("Debug/ReportCF.txt");
        modTLMain::Save_Whole_File(path, *decoded + kCrLf);
        modTLMain::Open_On_Desktop(path);
    }
}

void ResetForTests() {
    ReportItemNumber.clear();
    ReportDescription.clear();
    ReportOpLogBlock.clear();
    ReportBlockBuffer.clear();
    ContactAddress.clear();
}

}  // namespace modReportProblem
