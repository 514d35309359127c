#include "platform/dialup_network.h"

#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <charconv>
#include <memory>
#include <system_error>

namespace platform {
namespace {

struct Run {
    bool started = false;
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs nmcli with the arguments; `input` goes to its standard input (then closed). `done` gets
// what it printed. `hold` (when given) receives the process so that it can be stopped.
void nmcli(const QStringList& args, const std::string& input, std::function<void(Run)> done,
           QPointer<QProcess>* hold = nullptr) {
    auto* p = new QProcess;
    p->setProgram("nmcli");
    p->setArguments(args);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    auto finished = std::make_shared<bool>(false);
    auto finish = [p, done, finished](bool started) {
        if (*finished) return;
        *finished = true;
        Run r;
        r.started = started;
        if (started) {
            r.exitStatus = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
            r.out = p->readAllStandardOutput().toStdString();
            r.err = p->readAllStandardError().toStdString();
        }
        p->deleteLater();
        done(std::move(r));
    };
    QObject::connect(p, &QProcess::finished, p, [finish] { finish(true); });
    QObject::connect(p, &QProcess::errorOccurred, p, [p, finish](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) finish(false);
        else if (p->state() == QProcess::NotRunning) finish(true);
    });
    if (hold) *hold = p;
    p->start(QIODevice::ReadWrite);
    if (p->state() != QProcess::NotRunning) {
        if (!input.empty()) p->write(input.data(), static_cast<qint64>(input.size()));
        p->closeWriteChannel();
    }
}

// One field of nmcli's terse output: "\:" and "\\" stand for ":" and "\".
std::vector<std::string> terseFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) fields.back() += line[++i];
        else if (line[i] == ':') fields.emplace_back();
        else fields.back() += line[i];
    }
    return fields;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string l = text.substr(from, end - from);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (!l.empty()) out.push_back(l);
        from = end + 1;
    }
    return out;
}

constexpr const char* kCopySuffix = " (dial account)";

bool dialType(const std::string& type) {
    return type == "gsm" || type == "cdma" || type == "pppoe" || type == "bluetooth";
}

// The setting that holds a dialling connection's account ("gsm" also for Bluetooth dial-up).
std::string accountSetting(const std::string& type) {
    if (type == "cdma" || type == "pppoe") return type;
    return "gsm";
}

struct NameType {
    std::string name, type;
};

std::vector<NameType> dialConnections(const std::string& out) {
    std::vector<NameType> list;
    for (const std::string& l : lines(out)) {
        const auto f = terseFields(l);
        if (f.size() >= 2 && dialType(f[1])) list.push_back({f[0], f[1]});
    }
    return list;
}

// The interface of the default route in /proc/net/route; "" when there is none.
std::string defaultRouteInterface() {
    QFile f("/proc/net/route");
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const std::string& l : lines(f.readAll().toStdString())) {
        char iface[64] = {};
        unsigned long dest = 1, mask = 1;
        if (std::sscanf(l.c_str(), "%63s %lx %*x %*x %*d %*d %*d %lx", iface, &dest, &mask) == 3 && dest == 0 && mask == 0)
            return iface;
    }
    return {};
}

class NmcliNetwork final : public DialupNetwork {
public:
    void listEntries(std::function<void(int, std::vector<DialEntry>)> done) override {
        nmcli({"-t", "-f", "NAME,TYPE", "connection", "show"}, {}, [done](Run r) {
            if (!r.started || r.exitStatus != 0) return done(kDialNoService, {});
            auto found = std::make_shared<std::vector<NameType>>(dialConnections(r.out));
            auto entries = std::make_shared<std::vector<DialEntry>>();
            auto next = std::make_shared<std::function<void()>>();
            *next = [found, entries, done, next] {
                if (entries->size() == found->size()) {
                    done(0, std::move(*entries));
                    *next = nullptr;  // no cycle outlives the walk
                    return;
                }
                const NameType nt = (*found)[entries->size()];
                const std::string s = accountSetting(nt.type);
                QString fields = QString::fromStdString(s + ".username," + s + ".password");
                if (s != "pppoe") fields += QString::fromStdString("," + s + ".number");
                nmcli({"-s", "-t", "-f", fields, "connection", "show", "id", QString::fromStdString(nt.name)}, {},
                      [nt, s, entries, next](Run d) {
                          DialEntry e{nt.name, nt.type, {}, {}, {}};
                          for (const std::string& l : lines(d.out)) {
                              const size_t colon = l.find(':');
                              if (colon == std::string::npos) continue;
                              const std::string key = l.substr(0, colon);
                              std::string value = l.substr(colon + 1);
                              if (value == "--") value.clear();
                              if (key == s + ".username") e.user = value;
                              else if (key == s + ".password") e.password = value;
                              else if (key == s + ".number") e.number = value;
                          }
                          entries->push_back(std::move(e));
                          if (*next) (*next)();
                      });
            };
            (*next)();
        });
    }

    void dial(const std::string& entry, const DialAccount& account,
              std::function<void(int, std::string)> done) override {
        nmcli({"-t", "-f", "NAME,TYPE", "connection", "show"}, {}, [this, entry, account, done](Run r) {
            if (!r.started || r.exitStatus == 8) return done(kDialNoService, {});
            std::string type;
            for (const NameType& nt : dialConnections(r.out))
                if (nt.name == entry) type = nt.type;
            if (type.empty()) return done(kDialNoEntry, {});
            const std::string s = accountSetting(type);
            QStringList modify;
            if (!account.user.empty()) modify << QString::fromStdString(s + ".username") << QString::fromStdString(account.user);
            if (!account.number.empty() && s != "pppoe")
                modify << QString::fromStdString(s + ".number") << QString::fromStdString(account.number);
            if (modify.isEmpty()) return up(entry, s, account.password, done);
            // Another account goes on a copy of the connection kept in memory only: the saved
            // connection stays as the user set it up.
            const std::string copy = Account_Copy_Name(entry);
            const QString copyId = QString::fromStdString(copy);
            nmcli({"connection", "delete", "id", copyId}, {}, [this, entry, copy, copyId, modify, s, account, done](Run) {
                nmcli({"connection", "clone", "--temporary", "id", QString::fromStdString(entry), copyId}, {},
                      [this, copy, copyId, modify, s, account, done](Run c) {
                          if (!c.started || c.exitStatus != 0) return done(kDialNoEntry, {});
                          nmcli(QStringList{"connection", "modify", "--temporary", "id", copyId} + modify, {},
                                [this, copy, s, account, done](Run) { up(copy, s, account.password, done); });
                      });
            });
        });
    }

    void cancelDial() override {
        m_cancelled = true;
        if (m_dialing) m_dialing->kill();
    }

    void activeDialConnections(std::function<void(std::vector<std::string>)> done) override {
        nmcli({"-t", "-f", "NAME,TYPE", "connection", "show", "--active"}, {}, [done](Run r) {
            std::vector<std::string> names;
            if (r.started && r.exitStatus == 0)
                for (const NameType& nt : dialConnections(r.out)) names.push_back(nt.name);
            done(std::move(names));
        });
    }

    void hangUp(const std::vector<std::string>& names, std::function<void()> done) override {
        if (names.empty()) return done();
        const std::vector<std::string> rest(names.begin() + 1, names.end());
        const QString id = QString::fromStdString(names.front());
        const bool copy = names.front().size() > std::string(kCopySuffix).size() &&
                          names.front().ends_with(kCopySuffix);
        nmcli({"connection", "down", "id", id}, {}, [this, id, copy, rest, done](Run) {
            if (!copy) return hangUp(rest, done);
            nmcli({"connection", "delete", "id", id}, {}, [this, rest, done](Run) { hangUp(rest, done); });
        });
    }

    void bringUpDefault(int timeoutSecs, std::function<void(bool)> done) override {
        nmcli({"networking", "connectivity", "check"}, {}, [this, timeoutSecs, done](Run r) {
            if (!r.started || r.exitStatus != 0) return done(false);
            if (r.out.rfind("full", 0) == 0) return done(true);
            if (timeoutSecs <= 0) return done(false);
            QTimer::singleShot(2000, [this, timeoutSecs, done] { bringUpDefault(timeoutSecs - 2, done); });
        });
    }

    void connectedState(std::function<void(bool, std::string)> done) override {
        nmcli({"-t", "-f", "STATE", "general"}, {}, [done](Run r) {
            const std::string route = defaultRouteInterface();
            if (!r.started || r.exitStatus != 0) return done(!route.empty(), route);
            if (r.out.rfind("connected", 0) != 0) return done(false, {});
            nmcli({"-t", "-f", "NAME,DEVICE", "connection", "show", "--active"}, {}, [done, route](Run a) {
                std::string name, first;
                for (const std::string& l : lines(a.out)) {
                    const auto f = terseFields(l);
                    if (first.empty() && !f.empty()) first = f[0];
                    if (f.size() >= 2 && !route.empty() && f[1] == route) name = f[0];
                }
                done(true, name.empty() ? (first.empty() ? route : first) : name);
            });
        });
    }

private:
    // Brings `connection` up, the password (when given) through a pipe.
    void up(const std::string& connection, const std::string& setting, const std::string& password,
            std::function<void(int, std::string)> done) {
        const QString id = QString::fromStdString(connection);
        QStringList args{"--wait", "90", "connection", "up", "id", id};
        std::string secrets;
        if (!password.empty()) {
            args << "passwd-file" << "/dev/stdin";
            secrets = setting + ".password:" + password + "\n";
        }
        m_cancelled = false;
        nmcli(args, secrets, [this, id, connection, done](Run u) {
            m_dialing.clear();
            if (m_cancelled) {
                nmcli({"connection", "down", "id", id}, {}, [done, connection](Run) { done(kDialNoAnswer, connection); });
                return;
            }
            if (!u.started) return done(kDialNoService, connection);
            done(u.exitStatus == 0 ? 0 : Dial_Failure_Code(u.exitStatus, u.err), connection);
        }, &m_dialing);
    }

    QPointer<QProcess> m_dialing;
    bool m_cancelled = false;
};

DialupNetwork* g_network = nullptr;

}  // namespace

std::string Account_Copy_Name(const std::string& entry) { return entry + kCopySuffix; }

int Dial_Failure_Code(int exitStatus, const std::string& errorText) {
    std::string t;
    for (char c : errorText) t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (exitStatus == 8 || t.find("networkmanager is not running") != std::string::npos) return kDialNoService;
    if (exitStatus == 10 || t.find("unknown connection") != std::string::npos) return kDialNoEntry;
    if (t.find("secrets") != std::string::npos || t.find("authenticat") != std::string::npos ||
        t.find("password") != std::string::npos)
        return kDialAuthFailed;
    if (t.find("busy") != std::string::npos) return kDialLineBusy;
    if (t.find("dial tone") != std::string::npos) return kDialNoDialTone;
    if (t.find("no carrier") != std::string::npos || t.find("carrier") != std::string::npos) return kDialNoCarrier;
    if (exitStatus == 3 || t.find("timeout") != std::string::npos || t.find("timed out") != std::string::npos)
        return kDialNoAnswer;
    // The first "(digits)" names the reason: read in one pass (the text is another program's
    // output, of any length); a number beyond the code range names none.
    for (size_t open = errorText.find('('); open != std::string::npos; open = errorText.find('(', open + 1)) {
        size_t end = open + 1;
        while (end < errorText.size() && errorText[end] >= '0' && errorText[end] <= '9') ++end;
        if (end == open + 1 || end >= errorText.size() || errorText[end] != ')') continue;
        int code = 0;
        const auto [last, ec] = std::from_chars(errorText.data() + open + 1, errorText.data() + end, code);
        return ec == std::errc() ? code : exitStatus;
    }
    return exitStatus;
}

DialupNetwork& dialupNetwork() {
    static NmcliNetwork real;
    return g_network ? *g_network : real;
}

void setDialupNetworkForTests(DialupNetwork* network) { g_network = network; }

}  // namespace platform
