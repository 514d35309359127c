#include "maintenance/update_server.h"

#include "foundation/config_store.h"
#include "foundation/vb.h"

namespace Maintenance {

std::string Update_Server_Address() {
    const std::string address = vb::Trim(modTLC::Get_Config_Value("Options", kUpdateServerKey));
    const std::string lower = vb::LCase(address);
    if (lower.rfind("https://", 0) != 0 && lower.rfind("http://", 0) != 0) return {};
    return address;
}

std::string Update_Server_Query(const std::string& query) {
    const std::string address = Update_Server_Address();
    if (address.empty()) return {};
    return address + (address.find('?') == std::string::npos ? "?q=" : "&q=") + query;
}

}  // namespace Maintenance
