// tl_main_heartbeat.cpp — the main window's one-second heartbeat (DisplayTime) and the time-zone
// check (Check_TZI).
//
// One tick runs its steps in a fixed order; a step that fails is skipped and the tick goes on.
// No box waits inside a tick: a step that asks or tells the user does so after the tick
// (After_Tick), and the daily sign-in is a started request. A step may still take its time (the
// time-zone change's refresh): a tick that falls due meanwhile is dropped, never run inside the one
// in progress.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "bidding/bid_email.h"
#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "bidding/deferred_requests.h"
#include "bidding/dial_state.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/options_state.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/system_info.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/add_item.h"
#include "items/bid_status.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/items_guard.h"
#include "items/remaining_time.h"
#include "items/update_items.h"
#include "mainwindow/sounds.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_services.h"
#include "mainwindow/update_server.h"
#include "platform/clipboard.h"
#include "platform/file_names.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/sign_in.h"
#include "service/wininet.h"

namespace {

using namespace TLMainState;

const char* const kVersion = TLMainState::kProgramVersion;

// A hand-over larger than this is no page the extension sends: it is cleared unread.
constexpr size_t kHandoverLimit = 16u << 20;

// Each step of a tick: a failure skips the step, not the tick.
template <class F>
void step(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

// A setting read as a Boolean ("True", "False" or a number); anything else is the default.
bool settingTrue(const char* section, const char* key, bool dflt = false) {
    return TLMainItems::Config_True(section, key, dflt);
}

// The program may not set the PC clock: its times are the PC clock plus ClockOffsetMs.
bool userMode() { return modClock::User_Mode(); }

// Calendar hours from the stamp (a date-time the program wrote) to now; a stamp that does not
// read is long ago.
long long hoursSince(const std::string& stamp, const QDateTime& now) {
    const QDateTime t = vb::CDate(stamp);
    if (!t.isValid()) return 1LL << 40;
    const QDateTime a(t.date(), QTime(t.time().hour(), 0));
    const QDateTime b(now.date(), QTime(now.time().hour(), 0));
    return vb::DateDiffSeconds(a, b) / 3600;
}

// Calendar minutes between two times (as a minute hand counts them).
long long minutesBetween(const QDateTime& from, const QDateTime& to) {
    const QDateTime a(from.date(), QTime(from.time().hour(), from.time().minute()));
    const QDateTime b(to.date(), QTime(to.time().hour(), to.time().minute()));
    return vb::DateDiffSeconds(a, b) / 60;
}

std::string nowStamp() { return vb::GeneralDate(platform::clock().now()); }

void playSound(const char* key) {
    if (!TLMainSounds::Sound_On()) return;
    TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", key, key), 1);
}

// The fields after the version in the texts to the update server: the version the program was
// first installed as.
std::string reportFields() {
    return modTLMain::URL_Encode(modTLC::Get_Config_Value("Options", "InstallVersion", kVersion));
}


const char* const kUserModeClockWarning =
    "Warning: Your computers clock setting is currently off by over a minute. \r\n"
    "Because this program is running in the 'User Mode' the program is prevented from setting \r\n"
    "your computers clock, while this error will not currently affect your bids it may \r\n"
    "in the future if the error increases.\r\n"
    "\r\n"
    "To set your computers clock you can re-start this program in the administrator \r\n"
    "mode by right-clicking this programs icon and selecting 'Run as administrator' \r\n"
    "from the menu. Click the 'Synchronize Clock' toolbar button to set the clock.\r\n"
    "\r\n"
    "Note: This warning will be displayed at program startup until this error is corrected.\r\n"
    "\r\n"
    "For additional information on this issue see 'Synchronizing your Computers Clock \r\n"
    "in the Help manual.(F1)";

std::string modalMessage(const std::string& text, long fontSize, const std::string& title) {
    return Messages::DisplayMsg(text, fontSize, true, 0, "OK", "", "", false, false, "", "", title, 0, "", "", "");
}

}  // namespace

void TLMain::DisplayTime_Timer() {
    if (m_inTick) return;  // the last tick is still inside a long step: this one is dropped
    m_inTick = true;
    struct Done {
        TLMain& w;
        ~Done() {
            w.m_inTick = false;
            if (!w.m_afterTickWork.empty()) w.m_afterTickTimer.setEnabled(true);
        }
    } done{*this};

    // 1. The start-up duties.
    if (FirstTickPending) step([&] { First_Tick(); });
    // 2. The wake-up poll.
    if (modClock::WakeupArmed) step([] { TLMainServices::service<TLMainServices::PowerAndDial>().Check_Wakeup_Timer(); });
    // 3. A sleep request: its question comes after the tick.
    step([&] { Sleep_Request(); });

    // 4. Two minutes after the start: the sign-in, the clock and the version. The sign-in and the
    // version check wait while a bid is near (they would hold its requests up), and run at the
    // first tick after.
    bool twoMinutes = false;
    if (StartupTickCount < 120 && ++StartupTickCount == 120) {
        twoMinutes = true;
        SigninCheckDue = VersionCheckDue = true;
    }
    if (SigninCheckDue && !Bid_Near()) {
        SigninCheckDue = false;
        step([&] { Signin_Check(); });
    }
    if (twoMinutes) step([&] { Clock_Check(); });
    if (VersionCheckDue && !Bid_Near()) {
        VersionCheckDue = false;
        step([&] { Version_Check(); });
    }

    // 5. Every hour: the backup, the time zone and the sign-in.
    if (++HourTickCount >= 3600) {
        HourTickCount = 0;
        step([&] { Backup_Check(); });
        step([&] { Check_TZI(); });
        SigninCheckDue = true;
        if (!Bid_Near()) {
            SigninCheckDue = false;
            step([&] { Signin_Check(); });
        }
    }

    // 6. The window placement, two ticks after the last resize.
    step([&] { Layout.Placement_Countdown(); });
    // 7. The configuration, five ticks after the last change.
    step([] {
        if (modTLC::ConfigDirty && modTLC::ConfigSaveCountdown >= 1 && --modTLC::ConfigSaveCountdown == 0)
            modTLC::Save_Config_File();
    });
    // 8. The time-left column.
    step([&] { Remaining_Time_Column(); });
    // 9. A jump of the PC clock (or a sleep) of more than five minutes is logged.
    step([] {
        const QDateTime now = platform::clock().now();
        if (LastTimeCheck.isValid()) {
            const long long minutes = std::llabs(minutesBetween(LastTimeCheck, now));
            if (minutes > 5) modTLMain::Write_Op_Log("Last Time Check > " + std::to_string(minutes));
        }
        LastTimeCheck = now;
    });
    // 10. The clock.
    step([&] { Clock_Display(); });
    // 11. The timed refresh's count-down.
    step([&] { Refresh_Countdown(); });
    // 12. The clipboard: the browser extension's hand-over and the automatic add. (The comment
    // window collects the clipboard itself while it is open.)
    step([&] { Clipboard_Watch(); });
    // 14. The tray balloon goes after its seconds.
    step([] {
        if (TrayTipCountdown > 0 && --TrayTipCountdown == 0)
            modSysTray::Modify_Tray_Tip("", "", 1, modSysTray::NIF_INFO);
        // A notification area that came up after the program (the panel of a session starting)
        // gets the icon now.
        modSysTray::Keep_Tray_Icon();
    });
    // 15. Item alarms, and 16. the alarmed row's flashing.
    step([&] { Item_Alarms(); });
    step([&] { Alarm_Flash(); });
}

void TLMain::First_Tick() {
    TLMainBids::Enable_Bid_Scheduler();
    FirstTickPending = 0;
    StartupTickCount = 0;
    modTLMain::Write_Op_Log(std::string("Program Started - ") + kVersion + " - " + modWinInfo::WindowsVersionText +
                            " - " + modTLMain::TimeZoneName);
    LastTimeCheck = platform::clock().now();
    ProgramClockBaseTime = LastTimeCheck;
    ProgramClockTickBase = platform::clock().tickMs();
    step([&] { Check_TZI(); });
    step([] { TLMainBids::bidLink<TLMainBids::PowerControl>().Set_Next_Bid_Wakeup(); });
    step([&] { Update_Outcome(); });
    step([&] { Backup_Check(); });
    // Started minimised (the autostart entry): the window goes to the tray, where there is one.
    if (!CommandLineText.empty() && vb::InStr(vb::UCase(CommandLineText), "/MINIMIZED") > 0) {
        CommandLineText.clear();
        setWindowState(1);
    }
}

// The outcome of an update handed to the updater at the last run: reported to the update server,
// logged and told to the user.
void TLMain::Update_Outcome() {
    // The program file an update replaced is no longer needed once the new one runs.
    QFile::remove(QString::fromStdString(modTLMain::DataFolder + platform::kProgramFile + platform::kReplacedProgramSuffix));
    if (modTLC::Get_Config_Value("Options", "UpdateStatus", "0") != "1") return;
    modTLC::Set_Config_Value("Options", "UpdateStatus", "0");
    QFile::remove(QString::fromStdString(modTLMain::DataFolder + TLMainServices::kDownloadedUpdateFile));
    const std::string error = modTLC::Get_Config_Value("Options", "UpdateError", "");
    const std::string version = modTLC::Get_Config_Value("Options", "UpdateVersion", "");
    UpdateServer::Settle_Recorded_Files(version == kVersion);
    // The reports are sent and not waited for; their answers are not read.
    if (version == kVersion) {
        UpdateServer::Start_Query((error.empty() ? std::string("UO-NE-") : "UO-" + error + "-") + kVersion + "-" +
                                      reportFields(),
                                  {});
        const std::string text = std::string("Update Completed! Current version is ") + kVersion + "\r\n";
        modTLMain::Write_Op_Log(text);
        After_Tick([text] {
            if (platform::MsgBox(text + "Do you wish to review the update changes?", 4164, "Update Completed") ==
                platform::vbYes)
                modTLMain::Open_On_Desktop(modTLMain::DataFolder + "UpdateInfo.txt");
        });
    } else {
        UpdateServer::Start_Query("UF-" + error + "-" + kVersion + "-" + reportFields(), {});
        const std::string text = std::string("Update Failed! Current version is ") + kVersion +
                                 ", expected version " + version + "\r\n";
        modTLMain::Write_Op_Log(text);
        After_Tick([text] {
            platform::MsgBox(text + "You can download the latest full verison manually at \"" +
                                 TLMainServices::kDownloadPage + "\"",
                             4160, "Update Failed");
        });
    }
}

// The daily backup.
void TLMain::Backup_Check() {
    const QDateTime now = platform::clock().now();
    if (hoursSince(modTLC::Get_Config_Value("Options", "BkupChkTime", "0"), now) <= 24) return;
    TLMainServices::service<TLMainServices::Maintenance>().BackupFiles("S");
    modTLC::Set_Config_Value("Options", "BkupChkTime", nowStamp());
}

// The daily sign-in of the current user, which tells of a user ID or password that no longer works.
// The sign-in is started and the tick goes on; a failure is told after the tick.
void TLMain::Signin_Check() {
    const std::string user = UserState::CurrentUserID;
    if (user.empty() || modTLMain::Get_User_Password(user).empty()) return;
    if (hoursSince(modTLC::Get_Config_Value("Options", "SigninChkTime", "0"), platform::clock().now()) < 24) return;
    modTLC::Set_Config_Value("Options", "SigninChkTime", nowStamp());
    QPointer<TLMain> self(this);
    modTLMain::Start_Sign_In(user, {}, modWinInet::Deadline::none(), [self, user](modTLMain::SignInResult r) {
        if (r.ok || !self) return;
        self->After_Tick([user] {
            modalMessage("Warning: Your eBay signin for \"" + user + "\" has failed.\r\n"
                         "Please verify your user ID and password settings in setup.",
                         12, "Signin Failure");
        });
    });
}

// The clock, set at start when the user wants it so; where the program may not set it, its offset
// is measured, and an offset of more than a minute is told.
void TLMain::Clock_Check() {
    if (settingTrue("Options", "ClockSet")) {
        TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock();
    } else if (userMode()) {
        // The offset is known once the synchronisation has ended.
        QPointer<TLMain> self(this);
        TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock([self] {
            if (modClock::ClockOffsetMs > 60 * 1000 && self)
                self->After_Tick([] { modalMessage(kUserModeClockWarning, 12, "Vista/Windows 7 System Clock Setting"); });
        });
    }
}

// Once a day: is there a newer version? The update command offers it. The query is started and
// answered later, so the tick goes on at once.
void TLMain::Version_Check() {
    if (vb::Val(modTLC::Get_Config_Value("Options", "ChkUpdates", "1")) != 1) return;
    if (hoursSince(modTLC::Get_Config_Value("Options", "VerChkTime", "0"), platform::clock().now()) <= 24) return;
    QPointer<TLMain> self(this);
    UpdateServer::Start_Query(std::string("A-") + kVersion + "-" + reportFields(), [self](std::string reply) {
        UpdateVersionReply = reply;
        if (reply.empty()) return;  // asked again at the next start
        modTLC::Set_Config_Value("Options", "VerChkTime", nowStamp());
        modTLMain::Write_Op_Log("Version Check");
        if (UpdateServer::Judge_Version(reply) == UpdateServer::Version::Newer && self) {
            VersionOverride = 1;
            // The update command asks the user: never inside a tick.
            self->After_Tick([] { TLMainServices::service<TLMainServices::Maintenance>().MnuTitleUpdateFile_Click(); });
        }
    });
}

bool TLMain::Bid_Near() {
    if (MinuteWarningGiven) return true;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item) continue;
        if (item->BidStatus == "Validating Bid" || item->BidStatus == "Bid Validated" ||
            item->BidStatus == "Placing Bid")
            return true;
        if (item->BidTimeSecs <= 0 || item->MaxBid.empty()) continue;
        const auto r = TLMainBids::Item_Remaining_Secs(i);
        if (!r || *r <= 0) continue;
        long margin = item->BidTimeSecs + 180;
        if (item->DialBeforeBid == 1 && modRAS::DialType != 2) margin += modRAS::ConnectTimeMins * 60L;
        if (*r <= margin) return true;
    }
    return false;
}

// The end-of-auction update asked for sleep: once no result is outstanding, the user has twenty
// seconds to refuse, asked after the tick.
void TLMain::Sleep_Request() {
    if (SleepRequested != 1) return;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (item && (item->BidStatus == "Bid Placed" || item->BidStatus == "Validation Failed")) return;
    }
    if (!TLMainBids::BidResultsMailQueue.empty()) return;
    SleepRequested = 0;
    After_Tick([this] {
        Messages::MsgReply = Messages::DisplayMsg("No Pending Bids, Entering Standby/Hibernate Mode", 8, true, 20, "OK",
                                                  "Cancel", "", false, false, "", "", "", 0, "", "", "");
        if (Messages::MsgReply != "MsgBtn2") {
            modTLMain::Write_Op_Log("Program Sleep Mode Activated - No Bids Pending");
            SleepTimer.setEnabled(true);
            return;
        }
        Messages::UnloadShared();
    });
}

// Outside a tick the step runs at once (after the one whose box is up, when there is one); inside
// one it waits for the tick's end, which starts a timer for it.
void TLMain::After_Tick(std::function<void()> f) {
    m_afterTickWork.push_back(std::move(f));
    m_afterTickTimer.setHandler([this] { Run_After_Tick(); });
    m_afterTickTimer.setInterval(1);
    if (!m_inTick) Run_After_Tick();
}

// The steps put off to the end of the tick, one after another; none runs inside a tick (the end
// of the tick starts the timer again) and none inside another's box (the loop takes it after).
void TLMain::Run_After_Tick() {
    m_afterTickTimer.setEnabled(false);
    if (m_inTick || m_afterTickRunning) return;
    m_afterTickRunning = true;
    while (!m_afterTickWork.empty()) {
        std::function<void()> f = std::move(m_afterTickWork.front());
        m_afterTickWork.pop_front();
        step(f);
    }
    m_afterTickRunning = false;
}

// The time left of each row's item; a cell is written only when its text changes. Each row counts
// down to the end its item had when the row was filled (a refresh that changes an item's end fills
// its row again, as for the "Ends" column), so a tick over a long list is a subtraction per row;
// only a row whose time is up looks at its item, for the closed word it shows then.
void TLMain::Remaining_Time_Column() {
    using TLMainItems::RowEnd;
    std::vector<RowEnd>& ends = TLMainItems::RowEnds;
    const std::vector<long>& order = TLMainItems::ItemOrder;
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    const int rows = std::min({static_cast<int>(order.size()) - 1, static_cast<int>(ends.size()) - 1, g.Rows() - 1});
    const int64_t nowSecs = TLMainItems::Program_Now_Secs();
    for (int r = 1; r <= rows; ++r) {
        RowEnd& e = ends[static_cast<size_t>(r)];
        if (e.kind == RowEnd::Kind::NoRow) continue;
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(static_cast<int>(order[static_cast<size_t>(r)]));
        if (!item) continue;
        const int64_t left = TLMainItems::Row_Seconds_Left(e, nowSecs);
        // The closed word of a row whose time is up (or whose end does not read) is its item's now.
        const bool final = left <= 0 && left != TLMainItems::kNoEndLeft && item->ResultDone == "1";
        // The part of the time left the text shows (every ended row the same): a row whose text
        // would not change keeps it without one being built.
        const bool noCount = left == TLMainItems::kNoEndLeft || left == TLMainItems::kUnknownLeft;
        const int64_t showing = noCount ? left : TLMainItems::Remaining_Time_Shown(left);
        if (e.shown == showing && e.shownFinal == final) continue;
        e.shown = showing;
        e.shownFinal = final;
        const std::string text = TLMainItems::Time_Left_Text(left, final);
        if (g.TextMatrix(r, TLMainItems::kColRemaining) != text) g.setTextMatrix(r, TLMainItems::kColRemaining, text);
    }
}

// The clock display; where the program may not set the PC clock it shows the program's time and,
// every 15 ticks, measures the offset again when the PC clock has jumped by more than 5 seconds.
void TLMain::Clock_Display() {
    const QDateTime now = platform::clock().now();
    QDateTime shown = now;
    if (userMode()) {
        shown = now.addMSecs(modClock::ClockOffsetMs);
        if (++ClockCheckCount >= 15) {
            ClockCheckCount = 0;
            const qint64 tick = platform::clock().tickMs();
            ClockTickDelta = static_cast<int32_t>(tick - ProgramClockTickBase);
            if (!ProgramClockBaseTime.isValid()) ProgramClockBaseTime = now;
            ProgramClockBaseTime = ProgramClockBaseTime.addSecs(vb::RoundHalfEven(ClockTickDelta / 1000.0));
            if (std::llabs(vb::DateDiffSeconds(ProgramClockBaseTime, now)) > 5) {
                TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock();
            } else {
                ProgramClockTickBase = tick;
                ProgramClockBaseTime = now;
            }
        }
    }
    const QString text = QString::fromStdString(vb::FormatDate(shown, TimeDisplayFormat));
    if (TimeIs->text() != text) TimeIs->setText(text);
}

// The timed refresh: counts down and, at 0, queues the refresh for the scheduler.
void TLMain::Refresh_Countdown() {
    if (AutoUpdateMinutes <= 0 || MinuteWarningGiven || UpdateBusy || AutoUpdateDue) return;
    if (AutoUpdateCountdown <= 0) {
        AutoUpdateDue = -1;
        return;
    }
    const long n = --AutoUpdateCountdown;
    const long h = n / 3600;
    const long m = n / 60 - 60 * h;
    const long s = n - 3600 * h - 60 * m;
    if (h == 0) {
        TimeToUpdateText = vb::FormatNumber(m, "00") + ":" + vb::FormatNumber(s, "00");
    } else {
        CountdownColonShown = CountdownColonShown ? 0 : -1;
        TimeToUpdateText = vb::FormatNumber(h, "00") + (CountdownColonShown ? ":" : " ") + vb::FormatNumber(m, "00");
    }
    TimeToUpdateLab->setText(QString::fromStdString(TimeToUpdateText));
}

// The clipboard, read only after it changed: a page the browser extension handed over is added,
// a copied item number is added when the automatic add is on.
void TLMain::Clipboard_Watch() {
    if (!m_clipboardChanged) return;
    m_clipboardChanged = false;
    platform::Clipboard& board = platform::clipboard();
    const std::string text = board.text();
    if (text.empty()) return;

    if (vb::Left(text, 8) == "TLAUCDOC") {
        if (text.size() > kHandoverLimit) {
            board.clear();
            modTLMain::Write_Op_Log("Item Hand-Over Cleared - Over 16 MB (" + std::to_string(text.size()) + " Bytes)");
            return;
        }
        // While a download, a refresh or a bid request runs the hand-over waits on the clipboard.
        if (TLMainItems::Items_Busy() || !TLMainBids::Request_Slot_Empty()) {
            m_clipboardChanged = true;
            return;
        }
        board.clear();
        if (vb::Mid(text, 9, 2) == "-M") setWindowState(1);
        TLMainItems::Add_Auction_Item_Direct(text);
        return;
    }
    if (vb::Left(text, 8) == "TLADDGRP") {
        board.clear();
        return;
    }
    if (!AutoAddOn) return;
    if (DownloadBusy) {
        m_clipboardChanged = true;  // looked at again once the download is over
        return;
    }

    const std::string t = vb::Trim(text);
    const size_t minLen = static_cast<size_t>(std::max<int32_t>(0, AutoAddMinLength));
    const size_t maxLen = static_cast<size_t>(std::max<int32_t>(0, AutoAddMaxLength));
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::string candidate;
    if (AutoAddNoAlpha == 0 && t.size() >= minLen) {
        const auto first = std::find_if(t.begin(), t.end(), isDigit);
        candidate.assign(first, std::find_if_not(first, t.end(), isDigit));
    } else {
        if (!std::all_of(t.begin(), t.end(), isDigit)) return;
        candidate = t;
    }
    if (candidate.empty() || candidate.size() < minLen || candidate.size() > maxLen) return;

    setItemNumberText(candidate);
    board.clear();
    playSound("AddItem");
    if (!MinuteWarningGiven)
        AddPending = -1;
    else
        playSound("Alert");  // a bid is less than a minute away: nothing is added now
}

// An item's alarm fires once, the given minutes before its end: the window comes forward with the
// item's row selected and flashing.
void TLMain::Item_Alarms() {
    if (MinuteWarningGiven || DownloadBusy || UpdateBusy) return;
    const TLMainItems::Time_Snapshot now;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item || item->AlarmSetting.empty()) continue;
        modTLMain::Decode_Alarm_Values(item->AlarmSetting);
        if (!modTLMain::AlarmOn) continue;
        TLMainItems::Get_Remaining_Secs(i);
        if (!TLMainItems::RemainingKnown || TLMainItems::RemainingSecs < 1) continue;
        if (TLMainItems::RemainingSecs / 60 + 1 > modTLMain::AlarmMinutes) continue;

        item->AlarmSetting = std::to_string(static_cast<long>(vb::Val(item->AlarmSetting)) & ~4L);
        const std::string category = item->Category;
        TLMainItems::Save_Auction_Items();
        if (!isVisible()) Bring_To_Front();
        TLMainServices::service<TLMainServices::ScreenActivity>().Simulate_User_Activity();
        TLMainItems::SelectItem(category, i);
        AlarmFlashing = -1;
    }
}

void TLMain::Bring_To_Front() {
    setWindowState(0);
    show();
    activateWindow();
    modTLMain::Set_Window_Topmost(this, -1);
    modTLMain::Set_Window_Topmost(this, 0);
}

// Ten flashes of the alarmed row, a second on and a second off, with the alarm sound.
void TLMain::Alarm_Flash() {
    if (!AlarmFlashing) return;
    namespace I = TLMainItems;
    I::ItemGridModel& g = I::ItemGrid();
    const int row = I::AlarmHighlightRow;
    const bool on = !I::AlarmHighlightOn;
    I::AlarmHighlightOn = on ? -1 : 0;
    for (int c = 1; c <= 8; ++c) g.setCellBackColor(row, c, on ? I::ColorOutBid : I::AlarmHighlightColor);
    g.setCol(0);
    ++I::AlarmDisplayCount;
    if (!on && I::AlarmDisplayCount >= 20) AlarmFlashing = 0;
    g.repaintGrid();
    if (on) playSound("ClockAlarm");
}

// The time-zone check: a change between standard and daylight saving time (or a failed query)
// since the last look makes every item's end time be read again.
void TLMain::Check_TZI() {
    const std::string last = modTLC::Get_Config_Value("Locale", "LastTZI", "");
    const long code = TLMainServices::Query_Time_Zone();
    if (last.empty()) {
        modTLC::Set_Config_Value("Locale", "LastTZI", std::to_string(code));
        return;
    }
    if (last == std::to_string(code)) return;

    const std::string text =
        last != "2" ? "Warning! A time zone change from Standard to \r\nDaylight Saving time has occurred.\r\n\r\n"
                      "Tolvane Rerode is updating all auction items to reflect \r\nthis change.\r\n"
                    : "Warning! A time zone change from Daylight Saving to \r\nStandard time has occurred.\r\n\r\n"
                      "Tolvane Rerode is updating all auction items to reflect \r\nthis change.\r\n";
    modTLC::Set_Config_Value("Locale", "LastTZI", std::to_string(TLMainServices::Query_Time_Zone()));
    Messages::DisplayMsg(text, 10, true, 0, "", "", "", true, false, "", "", "", 0, "", "", "");
    platform::timers().doEvents();
    modTLMain::Wait_Seconds(5);
    modTLMain::Write_Op_Log("Time Zone Change Detected - Updating All Items.");
    TimeZoneShiftActive = -1;
    TLMainItems::UpdateEndingTime();
    TimeZoneShiftActive = 0;
    Messages::UnloadShared();
}
