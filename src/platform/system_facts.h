// system_facts.h — what the program reads about the PC: system files, memory and the user's rights.
//
// The real source reads the Linux files named below; tests install their own with
// setSystemFactsForTests and script the texts and figures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr const char* kOsReleaseFile = "/etc/os-release";
inline constexpr const char* kOsReleaseFallbackFile = "/usr/lib/os-release";
inline constexpr const char* kCpuInfoFile = "/proc/cpuinfo";
inline constexpr const char* kCpuMaxFreqFile = "/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq";  // kHz
inline constexpr const char* kChassisTypeFile = "/sys/class/dmi/id/chassis_type";
inline constexpr const char* kProcessStatusFile = "/proc/self/status";

struct MemoryStatus {
    unsigned long long totalBytes = 0;  // physical memory
    int loadPercent = 0;                // share of it in use
};

class SystemFacts {
public:
    virtual ~SystemFacts() = default;
    // The whole text of a system file; nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;
    // Nothing when the system does not tell.
    virtual std::optional<MemoryStatus> memoryStatus() const = 0;
    virtual unsigned effectiveUserId() const = 0;
    // Names of the groups the process belongs to.
    virtual std::vector<std::string> groupNames() const = 0;
};

SystemFacts& systemFacts();
void setSystemFactsForTests(SystemFacts* f);  // nullptr puts the real one back

}  // namespace platform
