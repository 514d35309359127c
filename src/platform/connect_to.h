// connect_to.h — the client's connect-to map: where a connection to a host and port really goes.
//
// The map is a list of entries "host:port:connect-host:connect-port" joined by ";" (the form the
// HTTP client hands its transfer engine); an empty host or port stands for any, an empty
// connect-host or connect-port keeps the one asked for. IPv6 addresses stand in "[...]". The
// first entry that matches wins. The HTTP client, the browser window and the plain sockets of the
// program (the time servers) all follow the same map, so tests point every road at their fakes.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// The fields of one entry, split at the colons that stand outside "[...]".
std::vector<std::string> Connect_To_Fields(const std::string& entry);

// Where a connection to host:port goes under the map (host without brackets).
std::pair<std::string, int> Connect_To_Target(const std::string& map, const std::string& host, int port);

}  // namespace platform
