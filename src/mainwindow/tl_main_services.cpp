#include "mainwindow/tl_main_services.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QStringList>

#include "foundation/locale_dates.h"
#include "items/item_grid.h"
#include "platform/locale_info.h"
#include "platform/time_zone_info.h"

namespace TLMainServices {
namespace {

const std::vector<std::string>* g_arguments = nullptr;
std::function<long()> g_timeZoneQuery;

}  // namespace

// The menu's dial commands are the dial-up line's, whoever carries out the power duties.
void PowerAndDial::MnuSubConnect_Click() { service<DialLine>().MnuSubConnect_Click(); }
void PowerAndDial::MnuSubHangup_Click() { service<DialLine>().MnuSubHangup_Click(); }

void AccountTools::Load_Feedback_Grid() {
    if (TLMainItems::GridViewMode == 0) TLMainItems::Set_Up_Item_Columns();
}

// The desktop's screen saver, where the session offers one, hears of activity as of a user's.
void ScreenActivity::Simulate_User_Activity() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return;
    static const char* const kService = "org.freedesktop.ScreenSaver";
    if (!bus.interface()->isServiceRegistered(kService)) return;
    bus.asyncCall(QDBusMessage::createMethodCall(kService, "/ScreenSaver", kService, "SimulateUserActivity"));
}

std::vector<std::string> Command_Line_Arguments() {
    if (g_arguments) return *g_arguments;
    std::vector<std::string> args;
    if (!QCoreApplication::instance()) return args;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) args.push_back(all[i].toStdString());
    return args;
}

void setCommandLineForTests(const std::vector<std::string>* arguments) { g_arguments = arguments; }

long Query_Time_Zone() {
    if (g_timeZoneQuery) return g_timeZoneQuery();
    if (!platform::userTimeZone().isValid()) return -1;
    modTLMain::Get_Time_Zone_Info();
    return modTLMain::TimeZoneId;
}

void setTimeZoneQueryForTests(std::function<long()> query) { g_timeZoneQuery = std::move(query); }

std::string Autostart_Folder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + "/.config";
    return (base + "/autostart").toStdString();
}

}  // namespace TLMainServices
