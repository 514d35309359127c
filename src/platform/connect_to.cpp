#include "platform/connect_to.h"

#include <charconv>

namespace platform {
namespace {

std::string withoutBrackets(const std::string& host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') return host.substr(1, host.size() - 2);
    return host;
}

bool sameHost(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// A port field as a number; -1 when it is not one.
int portOf(const std::string& field) {
    int port = -1;
    const auto [end, err] = std::from_chars(field.data(), field.data() + field.size(), port);
    if (err != std::errc() || end != field.data() + field.size() || port < 0 || port > 65535) return -1;
    return port;
}

}  // namespace

std::vector<std::string> Connect_To_Fields(const std::string& entry) {
    std::vector<std::string> fields(1);
    int depth = 0;
    for (const char c : entry) {
        if (c == '[') ++depth;
        if (c == ']' && depth > 0) --depth;
        if (c == ':' && depth == 0) fields.emplace_back();
        else fields.back().push_back(c);
    }
    return fields;
}

std::pair<std::string, int> Connect_To_Target(const std::string& map, const std::string& host, int port) {
    size_t from = 0;
    while (from < map.size()) {
        size_t end = map.find(';', from);
        if (end == std::string::npos) end = map.size();
        const std::vector<std::string> f = Connect_To_Fields(map.substr(from, end - from));
        from = end + 1;
        if (f.size() != 4) continue;
        if (!f[0].empty() && !sameHost(withoutBrackets(f[0]), host)) continue;
        if (!f[1].empty() && portOf(f[1]) != port) continue;
        const int toPort = f[3].empty() ? port : portOf(f[3]);
        if (toPort < 0) continue;
        return {f[2].empty() ? host : withoutBrackets(f[2]), toPort};
    }
    return {host, port};
}

}  // namespace platform
