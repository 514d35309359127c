#include "dialup/ras.h"

#include <QComboBox>
#include <QPointer>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>
#include <list>
#include <memory>

#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/wininet.h"

namespace modRAS {
namespace {

std::vector<platform::DialEntry> g_entries;

std::string dun(const char* key) { return modTLC::Get_Config_Value("DUN", key, ""); }

// A Boolean text of the configuration: "True", or a number other than 0.
bool readsTrue(const std::string& v) {
    if (vb::LCase(vb::Trim(v)) == "true") return true;
    return vb::IsNumeric(v) && vb::Val(v) != 0;
}

// Timers of After_Ms; a spent one is dropped at a later call (never while its handler runs).
struct Pending {
    platform::Timer timer;
    bool spent = false;
    bool running = false;
};
std::list<Pending>& pendingTimers() {
    static std::list<Pending> list;
    return list;
}

// Some item's bid is being validated or placed.
bool bidInFlight() {
    for (size_t i = 1; i < TLMainItems::Items.size() && i <= static_cast<size_t>(TLMainItems::ItemCount); ++i) {
        const std::string& s = TLMainItems::Items[i].BidStatus;
        if (s == "Validating Bid" || s == "Placing Bid") return true;
    }
    return false;
}

// Where a connection to host:port goes: the client's connect-to map ("host:port:to-host:to-port").
std::pair<std::string, int> connectTarget(const std::string& host, int port) {
    for (const std::string& entry : vb::Split(modWinInet::Settings().connectTo, ";")) {
        const auto f = vb::Split(entry, ":");
        if (f.size() == 4 && vb::LCase(f[0]) == vb::LCase(host) && f[1] == std::to_string(port))
            return {f[2].empty() ? host : f[2], f[3].empty() ? port : static_cast<int>(vb::Val(f[3]))};
    }
    return {host, port};
}

}  // namespace

void After_Ms(int ms, std::function<void()> fn) {
    auto& list = pendingTimers();
    list.remove_if([](const Pending& p) { return p.spent && !p.running; });
    Pending& p = list.emplace_back();
    p.timer.setInterval(ms);
    p.timer.setHandler([&p, fn] {
        if (p.spent) return;
        p.spent = true;
        p.running = true;
        p.timer.setEnabled(false);
        fn();
        p.running = false;
    });
    p.timer.setEnabled(true);
}

void Drop_Pending_Timers() { pendingTimers().clear(); }

void RAS_Dial(std::function<void(int)> done) {
    const std::string entry = dun("ConName");
    if (entry.empty()) return done(platform::kDialNoEntry);
    platform::DialAccount account;
    if (readsTrue(modTLC::Get_Config_Value("DUN", "DefaultStatus", "0"))) {
        const std::string user = dun("DefaultUser"), password = dun("DefaultPassword"), phone = dun("DefaultPhone");
        if (!user.empty() && !password.empty() && !phone.empty()) account = {user, password, phone};
    } else {
        // The entry's own account, as the connection keeps it: its password goes with the dial,
        // its user name and number are the connection's already.
        const std::string user = dun("Username"), password = dun("Password"), phone = dun("Phone");
        if (!user.empty() && !password.empty() && !phone.empty()) account.password = password;
    }
    platform::dialupNetwork().dial(entry, account, [done](int code, std::string connection) {
        if (code == 0) OwnConnection = connection;
        done(code);
    });
}

bool Hang_Up_Held() {
    return TLMainState::MinuteWarningGiven || TLMainState::DownloadBusy || !TLMainState::PendingRequest.empty() ||
           bidInFlight();
}

void Hang_Up_All(HangUpScope scope, std::function<void()> done) {
    if (Hang_Up_Held()) {
        After_Ms(1000, [scope, done] { Hang_Up_All(scope, done); });
        return;
    }
    platform::dialupNetwork().activeDialConnections([scope, done](std::vector<std::string> names) {
        if (scope == HangUpScope::Own)
            names.erase(std::remove_if(names.begin(), names.end(),
                                       [](const std::string& n) { return n != OwnConnection; }),
                        names.end());
        platform::dialupNetwork().hangUp(names, [names, done] {
            if (std::find(names.begin(), names.end(), OwnConnection) != names.end()) OwnConnection.clear();
            After_Ms(4000, [done] {
                if (done) done();
            });
        });
    });
}

const std::vector<platform::DialEntry>& Dial_Entries() { return g_entries; }

void Refresh_Dial_Entries(std::function<void()> done) {
    platform::dialupNetwork().listEntries([done](int code, std::vector<platform::DialEntry> entries) {
        g_entries = code == 0 ? std::move(entries) : std::vector<platform::DialEntry>{};
        if (done) done();
    });
}

int Get_RAS_Entry_Phone(const std::string& entry) {
    DunAreaCode.clear();
    DunPhoneNumber.clear();
    for (const platform::DialEntry& e : g_entries) {
        if (e.name != entry) continue;
        DunPhoneNumber = e.number;
        return 0;
    }
    return platform::kDialNoEntry;
}

// An entry can be dialled unattended when its account is complete (PPPoE dials no number).
static bool dialable(const platform::DialEntry& e) {
    return !e.user.empty() && !e.password.empty() && (!e.number.empty() || e.type == "pppoe");
}

void Load_DUN_Entries(QComboBox& list) {
    QPointer<QComboBox> box(&list);
    Refresh_Dial_Entries([box] {
        if (!box) return;
        const QSignalBlocker quiet(box);
        box->clear();
        for (const platform::DialEntry& e : g_entries) {
            DunConnectionName = e.name;
            Get_RAS_Entry_Phone(e.name);
            box->addItem(QString::fromStdString(dialable(e) ? e.name : "?? - " + e.name));
        }
        if (box->count() > 0) {
            const int idx = static_cast<int>(vb::Val(modTLC::Get_Config_Value("DUN", "Conidx", "0")));
            box->setCurrentIndex(idx >= 0 && idx < box->count() ? idx : 0);
        } else {
            box->addItem("No Connections Available");
            box->setCurrentIndex(0);
        }
    });
}

void Choose_DUN_Entry(const std::string& listText, int index) {
    // "No Connections Available" names no connection: choosing it changes nothing.
    if (g_entries.empty()) return;
    DunConnectionName = listText.rfind("?? - ", 0) == 0 ? listText.substr(5) : listText;
    std::string user, password;
    for (const platform::DialEntry& e : g_entries)
        if (e.name == DunConnectionName) user = e.user, password = e.password;
    Get_RAS_Entry_Phone(DunConnectionName);
    modTLC::Set_Config_Value("DUN", "Conidx", std::to_string(index));
    modTLC::Set_Config_Value("DUN", "ConName", DunConnectionName);
    modTLC::Set_Config_Value("DUN", "Username", user);
    modTLC::Set_Config_Value("DUN", "Password", password);
    if (!DunPhoneNumber.empty() && !DunAreaCode.empty()) DunPhoneNumber = "1" + DunAreaCode + DunPhoneNumber;
    modTLC::Set_Config_Value("DUN", "Phone", DunPhoneNumber);
}

void GetConStatus(std::function<void(bool)> done) {
    platform::dialupNetwork().connectedState([done](bool connected, std::string name) {
        ConnectionName = name;
        done(connected);
    });
}

bool GetConStatus() {
    auto result = std::make_shared<int>(-1);
    GetConStatus([result](bool c) { *result = c ? 1 : 0; });
    platform::timers().waitUntil([result] { return *result >= 0; }, 10000);
    return *result == 1;
}

void GetConStatusAlt(std::function<void(long)> done) {
    const auto [host, port] = connectTarget(modTLMain::Home_Site_Host(modTLMain::CurrentSiteIndex), 80);
    auto socket = std::make_shared<QTcpSocket>();
    auto over = std::make_shared<bool>(false);
    const qint64 start = platform::clock().tickMs();
    auto finish = [socket, over, done, start](bool connected) {
        if (*over) return;
        *over = true;
        socket->abort();
        if (connected) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.3f",
                          static_cast<double>(platform::clock().tickMs() - start) / 1000.0);
            modTLMain::Write_Op_Log(std::string("Checking Internet Connection ") + seconds + " - Connected");
        } else {
            modTLMain::Write_Op_Log("Checking Internet Connection - No Internet Connection Detected");
        }
        done(connected ? 1 : 0);
    };
    QObject::connect(socket.get(), &QTcpSocket::connected, socket.get(), [finish] { finish(true); });
    QObject::connect(socket.get(), &QTcpSocket::errorOccurred, socket.get(), [finish] { finish(false); });
    After_Ms(5000, [finish] { finish(false); });
    socket->connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

long GetConStatusAlt() {
    auto result = std::make_shared<long>(-1);
    GetConStatusAlt([result](long c) { *result = c; });
    platform::timers().waitUntil([result] { return *result >= 0; }, 6000);
    return *result == 1 ? 1 : 0;
}

}  // namespace modRAS
