#include "foundation/system_info.h"

#include <charconv>
#include <new>
#include <optional>
#include <sstream>

#include "foundation/logs.h"
#include "foundation/vb.h"
#include "platform/system_facts.h"

namespace modWinInfo {
namespace {

constexpr long kShellMajorVersion = 6;
constexpr int kCapSysTime = 25;  // the right to set the system clock

std::optional<std::string> readFile(const char* path) { return platform::systemFacts().readFile(path); }

// One value of an os-release file, quotes and escapes removed; "" when absent.
std::string osReleaseValue(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") != 0) continue;
        std::string v = line.substr(key.size() + 1);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            const char q = v.front();
            v = v.substr(1, v.size() - 2);
            if (q == '"') {
                std::string out;
                for (size_t i = 0; i < v.size(); ++i) {
                    if (v[i] == '\\' && i + 1 < v.size()) ++i;
                    out.push_back(v[i]);
                }
                v = out;
            }
        }
        return vb::Trim(v);
    }
    return {};
}

std::optional<std::string> osRelease() {
    if (auto t = readFile(platform::kOsReleaseFile)) return t;
    return readFile(platform::kOsReleaseFallbackFile);
}

// The value of the first "key : value" line of /proc/cpuinfo whose key is one of `keys`.
std::string cpuInfoValue(const std::string& text, std::initializer_list<const char*> keys) {
    for (const char* want : keys) {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            const auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string key = line.substr(0, colon);
            while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
            if (key == want) return vb::Trim(line.substr(colon + 1));
        }
    }
    return {};
}

// The edition words of an os-release text into WindowsEditionText; without them it keeps its value.
const std::string& editionFrom(const std::optional<std::string>& osReleaseText) {
    if (osReleaseText) {
        const std::string variant = osReleaseValue(*osReleaseText, "VARIANT");
        if (!variant.empty()) WindowsEditionText = " " + variant;
    }
    return WindowsEditionText;
}

}  // namespace

void Get_Windows_Version() {
    WindowsVersionText.clear();
    ServicePackText.clear();
    OSMajorVersion = 6;
    OSMinorVersion = 1;
    const auto text = osRelease();
    if (text) {
        WindowsVersionText = osReleaseValue(*text, "PRETTY_NAME");
        if (WindowsVersionText.empty())
            WindowsVersionText = vb::Trim(osReleaseValue(*text, "NAME") + " " + osReleaseValue(*text, "VERSION"));
    }
    if (WindowsVersionText.empty()) WindowsVersionText = "Linux";
    editionFrom(text);
}

std::string Get_Windows_Edition() { return editionFrom(osRelease()); }

std::string Get_Chassis_Type() {
    const auto text = readFile(platform::kChassisTypeFile);
    if (!text) return {};
    const std::string t = vb::Trim(vb::Replace(vb::Replace(*text, "\n", ""), "\r", ""));
    if (t.empty() || !vb::IsNumeric(t)) return {};
    switch (vb::CLng(t)) {
        case 3: case 15: case 16: return "Desktop";
        case 8: return "Portable";
        case 9: return "Laptop";
        case 10: return "Notebook";
        case 11: return "Hand Held";
        case 12: return "Docking Station";
        case 13: return "All in One";
        case 14: return "Sub Notebook";
        default: return t;
    }
}

bool Shell_Version_At_Least(long Major) { return kShellMajorVersion >= Major; }

void Set_Tray_Data_Size() {
    if (Shell_Version_At_Least(6)) TrayDataSize = 504;
    else if (Shell_Version_At_Least(5)) TrayDataSize = 488;
    else TrayDataSize = 88;
}

long GetCPUSpeed() {
    try {
        if (const auto info = readFile(platform::kCpuInfoFile)) {
            const std::string mhz = cpuInfoValue(*info, {"cpu MHz", "clock"});
            if (!mhz.empty() && vb::Val(mhz) > 0) return vb::CLng(vb::Val(mhz));
        }
        if (const auto khz = readFile(platform::kCpuMaxFreqFile)) {
            const double v = vb::Val(*khz);
            if (v > 0) return vb::CLng(v / 1000.0);
        }
    } catch (const std::bad_alloc&) {
        modTLMain::Log_Error(7, "Out of memory", "GetCPUSpeed");
    }
    return 0;
}

std::string GetCPUType() {
    try {
        if (const auto info = readFile(platform::kCpuInfoFile))
            return cpuInfoValue(*info, {"model name", "Model", "Hardware", "cpu model", "cpu", "Processor"});
    } catch (const std::bad_alloc&) {
        modTLMain::Log_Error(7, "Out of memory", "GetCPUType");
    }
    return {};
}

std::string Get_IE_Ver() { return {}; }

std::string Get_Mem() {
    try {
        const auto m = platform::systemFacts().memoryStatus();
        if (!m) return {};
        return "Total Memory: " + std::to_string(vb::CLng(static_cast<double>(m->totalBytes) / 1000000.0)) +
               " MB" + "  In Use: " + std::to_string(m->loadPercent) + "%" + vb::vbCrLf;
    } catch (const std::bad_alloc&) {
        modTLMain::Log_Error(7, "Out of memory", "Get_Mem");
    }
    return {};
}

long Get_Elevation_Type() {
    const auto status = readFile(platform::kProcessStatusFile);
    if (!status) return 0;
    std::istringstream lines(*status);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 7, "CapEff:") != 0) continue;
        const std::string hex = vb::Trim(vb::Replace(line.substr(7), "\t", " "));
        unsigned long long caps = 0;
        const auto [end, err] = std::from_chars(hex.data(), hex.data() + hex.size(), caps, 16);
        if (hex.empty() || err != std::errc() || end != hex.data() + hex.size()) return 0;
        return (caps >> kCapSysTime & 1ULL) ? 2 : 3;
    }
    return 0;
}

bool Is_Admin_Group() {
    const auto& facts = platform::systemFacts();
    if (facts.effectiveUserId() == 0) return true;
    // The groups whose members may administer the system, by the names the distributions give them.
    for (const auto& g : facts.groupNames())
        if (g == "sudo" || g == "wheel" || g == "admin") return true;
    return false;
}

void ResetForTests() {
    WindowsVersionText.clear();
    WindowsEditionText.clear();
    ServicePackText.clear();
    OSMajorVersion = OSMinorVersion = TrayDataSize = 0;
}

}  // namespace modWinInfo
