// The stored password of a program user (kept apart so that modules which only need the
// small routines do not pull in the configuration store).
#include "foundation/config_store.h"
#include "foundation/small_routines.h"

namespace modTLMain {

std::string Get_User_Password(const std::string& userId) {
    return modTLC::Get_Config_Value("Users", userId, "");
}

}  // namespace modTLMain
