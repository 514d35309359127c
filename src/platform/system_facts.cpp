#include "platform/system_facts.h"

#include <grp.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace platform {
namespace {

class RealSystemFacts final : public SystemFacts {
public:
    std::optional<std::string> readFile(const std::string& path) const override {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream s;
        s << in.rdbuf();
        if (in.bad()) return std::nullopt;
        return s.str();
    }

    std::optional<MemoryStatus> memoryStatus() const override {
        struct sysinfo si{};
        if (::sysinfo(&si) != 0 || si.totalram == 0) return std::nullopt;
        const unsigned long long unit = si.mem_unit ? si.mem_unit : 1;
        MemoryStatus m;
        m.totalBytes = static_cast<unsigned long long>(si.totalram) * unit;
        // Memory the kernel can hand out at once counts as free (page cache included), when it says so.
        unsigned long long available = (static_cast<unsigned long long>(si.freeram) + si.bufferram) * unit;
        if (auto info = readFile("/proc/meminfo")) {
            std::istringstream lines(*info);
            std::string key;
            unsigned long long kb = 0;
            std::string unitWord;
            while (lines >> key >> kb) {
                std::getline(lines, unitWord);
                if (key == "MemAvailable:") {
                    available = kb * 1024ULL;
                    break;
                }
            }
        }
        if (available > m.totalBytes) available = m.totalBytes;
        m.loadPercent = static_cast<int>((m.totalBytes - available) * 100 / m.totalBytes);
        return m;
    }

    unsigned effectiveUserId() const override { return static_cast<unsigned>(::geteuid()); }

    std::vector<std::string> groupNames() const override {
        std::vector<std::string> names;
        const int n = ::getgroups(0, nullptr);
        std::vector<gid_t> ids(n > 0 ? static_cast<size_t>(n) : 0);
        if (n > 0 && ::getgroups(n, ids.data()) < 0) ids.clear();
        ids.push_back(::getegid());
        for (gid_t g : ids)
            if (const group* gr = ::getgrgid(g)) names.emplace_back(gr->gr_name);
        return names;
    }
};

SystemFacts* g_override = nullptr;

}  // namespace

SystemFacts& systemFacts() {
    static RealSystemFacts real;
    return g_override ? *g_override : real;
}

void setSystemFactsForTests(SystemFacts* f) { g_override = f; }

}  // namespace platform
