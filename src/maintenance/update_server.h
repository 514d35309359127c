// update_server.h — where the program's update server is: [Options] UpdateServerURL, the address
// the queries are appended to as "?q=<query>". Empty (the default) means no server: nothing is
// sent, the update check finds no version and the contact address is not known.
#pragma once

#include <string>

namespace Maintenance {

inline constexpr const char* kUpdateServerKey = "UpdateServerURL";

// The server's address, "" when none is set (only http and https addresses count).
std::string Update_Server_Address();
// The address of one query; "" when there is no server.
std::string Update_Server_Query(const std::string& query);

}  // namespace Maintenance
