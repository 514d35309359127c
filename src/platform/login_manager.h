// login_manager.h — standby and hibernation, asked of the login manager (logind).
//
// Sleep asks first whether the machine may suspend (CanSuspend) or hibernate (CanHibernate) and
// then asks it to, not interactively, so no password prompt can come up. Every call is started:
// the continuation runs once, from the event loop, with code 0 when the login manager took the
// request, else an error number and its description.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class LoginManager {
public:
    using Done = std::function<void(long code, const std::string& description)>;
    virtual ~LoginManager() = default;
    // standby true: suspend to memory; false: hibernate.
    virtual void sleep(bool standby, Done done) = 0;
};

LoginManager& loginManager();                    // the system bus's
void setLoginManagerForTests(LoginManager* m);  // nullptr puts the system's back

// The login manager on the bus at that address (tests: a private bus); "" = the system bus.
std::unique_ptr<LoginManager> Make_Login_Manager(const QString& busAddress);

// The error numbers of a refused request.
inline constexpr long kNoLoginManager = 1;     // no system bus, or no login manager on it
inline constexpr long kSleepNotAllowed = 5;    // the login manager says this machine may not
inline constexpr long kSleepCallFailed = 6;    // the request itself failed

}  // namespace platform
