// The program as start-up puts it together, driven the way a user drives it: a feedback page
// opened from the grid signs in as the account views do, and the feedback views hide the seller
// label; a connection type chosen in the options dialog greys or enables File -> Connect and
// Hangup at once; the tray icon's tip follows the wake-up; the options dialog, loaded hidden at
// the start, shows the settings as they are stored when it is opened, the current user among them;
// the update server set there is the one Check for Updates asks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "account/feedback_grid.h"
#include "app/program_start.h"
#include "composed_program.h"
#include "bidding/bid_engine_links.h"
#include "fake_clock.h"
#include "fake_tray.h"
#include "fake_update_server.h"
#include "foundation/cipher.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "maintenance/program_update.h"
#include "mainwindow/update_server.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tray_menu.h"
#include "options/change_password_form.h"
#include "options/new_setup.h"
#include "options/setup_form.h"
#include "options/users_tab.h"
#include "platform/locale_info.h"
#include "platform/timers.h"
#include "platform/tray.h"
#include "platform/wake_alarm.h"
#include "recording_browser_openers.h"
#include "service/http_request.h"
#include "service/wininet.h"
#include "scripted_boxes.h"
#include "scripted_popup_menus.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

const char* const kConfig =
    "[Options]\r\nSound=1\r\nPhotosOn=0\r\nClosetoTray=0\r\nChkUpdates=0\r\nMyeBayASI=1\r\nLastUser=alice\r\n"
    "BkupChkTime=2099-01-01 00:00:00\r\n\r\n"
    "[Users]\r\nalice=Secret1\r\nbob=Secret2\r\n\r\n"
    "[Categories]\r\nDefault=1\r\n";

// A wake-up alarm that can always be armed and never goes off by itself.
class ArmableWakeAlarm final : public platform::WakeAlarm {
public:
    ArmableWakeAlarm() { platform::setWakeAlarmForTests(this); }
    ~ArmableWakeAlarm() override { platform::setWakeAlarmForTests(nullptr); }
    bool arm(qint64) override { return true; }
    void cancel() override {}
    bool expired() override { return false; }
};

class ProgramWiring : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        TLMainItems::ResetItemStoreForTests();
        platform::setUserLocaleForTests("en_US");
        modTLMain::DataFolder = data.dataFolder();
        data.write("tl2cf.dat", modAHM::Crypt_String(kConfig, modTLC::Config_Phrase(), true));
        programstart::Start();
        time.advanceMs(50);
        ASSERT_TRUE(TLMain::loaded());
    }
    void TearDown() override {
        if (ChgPass* c = ChgPass::loaded()) c->close();
        Unload_Composed_Program();
        platform::setUserLocaleForTests("");
        TLMainItems::GridViewMode = 0;
        TLMainItems::FeedbackLinks.clear();
        modClock::WakeupArmed = 0;
    }
    static void settle() {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }

    TempDataFolder data;
    FakeTime time;
    FakeTrayIcon tray;
    ScriptedMessageBoxes boxes;
    RecordingBrowserOpeners openers;
    ScriptedPopupMenus menus;
};

// A double click in the list of feedback to leave opens the page as the account views open
// theirs: a new browser window that signs in by itself ([Options] MyeBayASI).
TEST_F(ProgramWiring, AFeedbackPageOpensAsAnAccountPageThatSignsIn) {
    TLMainItems::FeedbackLinks = {"https://feedback.example/leave?item=1&user=seller1"};
    TLMainItems::GridViewMode = 1;
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    g.setRows(4);
    g.MouseRow = 1;
    g.MouseCol = TLMainItems::kColItemNumber;
    TLMainItems::ItemGrid_DblClick();
    EXPECT_EQ(openers.accountPages, TLMainItems::FeedbackLinks);
    EXPECT_TRUE(openers.navigated.empty());
}

// In the feedback views the seller label is hidden, not only emptied: a click where it was opens
// no seller's feedback.
TEST_F(ProgramWiring, TheSellerLabelIsHiddenInTheFeedbackViews) {
    TLMain& w = TLMain::instance();
    w.show();
    const struct { int mode; bool shown; } views[] = {{1, false}, {0, true}, {2, false}, {0, true}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.mode);
        TLMainItems::GridViewMode = v.mode;
        TLMainAccount::Load_Feedback_Grid();
        EXPECT_EQ(w.labSeller->isVisible(), v.shown);
        if (v.shown) EXPECT_EQ(w.labSeller->text().toStdString(), "Seller:");
    }
}

TEST_F(ProgramWiring, TheConnectionTypeGreysOrEnablesConnectAndHangupAtOnce) {
    TLMain& w = TLMain::instance();
    QAction* connect = w.menuAction("MnuSubConnect");
    QAction* hangup = w.menuAction("MnuSubHangup");
    ASSERT_TRUE(connect && hangup);
    EXPECT_FALSE(connect->isEnabled()) << "no dialing by default";
    ::Setup::Show_Setup();
    ::Setup& s = ::Setup::instance();
    for (const int type : {1, 2, 3, 0, 2}) {
        SCOPED_TRACE(type);
        s.ADType[static_cast<size_t>(type)]->click();
        EXPECT_EQ(connect->isEnabled(), type != 2);
        EXPECT_EQ(hangup->isEnabled(), type != 2);
    }
}

// A tray icon reports no hover, so the tip tells the wake-up time from the moment it is armed,
// and goes back when it is cleared, without any mouse action on the icon.
TEST_F(ProgramWiring, TheTrayTipFollowsTheWakeUpWithoutAMouseAction) {
    ArmableWakeAlarm alarm;
    ASSERT_TRUE(tray.shown);
    TLMainItems::AuctionItem a;
    a.ItemNumber = "110000000001";
    a.Title = "Armed item";
    a.EndTime = TLMainItems::End_Time_Text(time.clock.now().addSecs(3 * 3600), false);
    a.CurrentPrice = "US 10.00";
    a.BidCount = "1";
    a.Category = "Default";
    a.UserID = "alice";
    a.MaxBid = "20.00";
    a.BidTimeSecs = 10;
    a.BidStatus = "BidPending";
    ASSERT_TRUE(TLMainItems::Append_Item(a));
    const int index = TLMainItems::ItemCount;

    TLMainBids::bidLink<TLMainBids::PowerControl>().Set_Next_Bid_Wakeup();
    ASSERT_EQ(modClock::WakeupArmed, 1);
    const std::string wakeUpTip = TLMain::instance().wakeUpTipText();
    ASSERT_NE(wakeUpTip, "");
    EXPECT_EQ(tray.tip, "Tolvane Rerode - " + wakeUpTip);

    TLMainItems::Items[static_cast<size_t>(index)].BidTimeSecs = 0;  // the bid is taken off
    TLMainBids::bidLink<TLMainBids::PowerControl>().Set_Next_Bid_Wakeup();
    EXPECT_EQ(modClock::WakeupArmed, 0);
    EXPECT_EQ(tray.tip, "  Tolvane Rerode  ");
}

// The dialog was loaded hidden at the start; what the main window changed since is what it shows
// when it is opened, and opening it writes nothing back.
TEST_F(ProgramWiring, TheOptionsDialogShowsTheSettingsAsStoredWhenItOpens) {
    ::Setup* loaded = ::Setup::Loaded();
    ASSERT_NE(loaded, nullptr) << "loaded at the start";
    ASSERT_FALSE(loaded->isVisible());
    ASSERT_TRUE(loaded->SoundOpt->isChecked());
    ASSERT_FALSE(loaded->chkPhotosOn->isChecked());
    ASSERT_FALSE(loaded->AutoAdd->isChecked());

    TLMain& w = TLMain::instance();
    w.Form_KeyDown(120, 0);  // F9: sound off
    w.mnuTogglePhotos_Click();
    menus.answer(TLMainTray::kAutoAdd);
    tray.mouse(platform::kTrayRightButtonUp);
    settle();
    ASSERT_EQ(modTLC::Get_Config_Value("Options", "Sound", ""), "0");
    ASSERT_EQ(modTLC::Get_Config_Value("Options", "PhotosOn", ""), "1");
    ASSERT_TRUE(vb::EqualText(modTLC::Get_Config_Value("Options", "AutoAdd", ""), "True"));

    ::Setup::Show_Setup();
    ::Setup& s = ::Setup::instance();
    EXPECT_EQ(&s, loaded) << "shown, not loaded again";
    EXPECT_FALSE(s.SoundOpt->isChecked());
    EXPECT_TRUE(s.chkPhotosOn->isChecked());
    EXPECT_TRUE(s.AutoAdd->isChecked());
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound", ""), "0");
    EXPECT_TRUE(vb::EqualText(modTLC::Get_Config_Value("Options", "AutoAdd", ""), "True")) << "nothing written back";
}

// The update server typed beside "Update Check" is the one Check for Updates asks, from the moment
// the box is left; emptied, the command says there is none and asks nothing.
TEST_F(ProgramWiring, CheckForUpdatesAsksTheServerSetInTheOptionsDialog) {
    FakeUpdateServer server;
    server.answer("M-", TLMainState::kProgramVersion);
    QAction* check = TLMain::instance().menuAction("MnuTitleUpdateFile");
    ASSERT_NE(check, nullptr);
    const auto typeServer = [](const std::string& address) {
        ::Setup::Show_Setup();
        ::Setup& s = ::Setup::instance();
        s.SSTab->setCurrentIndex(::Setup::kOptions);
        QApplication::setActiveWindow(&s);  // the offscreen desktop activates no window by itself
        s.txtUpdateServer->setFocus();
        settle();
        s.txtUpdateServer->setText(QString::fromStdString(address));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(s.txtUpdateServer, &enter);  // "Done"
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const auto roadEnded = [] { return !Maintenance::Update_Road_Running() && modWinInet::Requests_In_Flight() == 0; };

    boxes.clear();  // what the start said about this test's installation
    typeServer(server.address());
    EXPECT_EQ(::Setup::Loaded(), nullptr);
    check->trigger();
    ASSERT_TRUE(platform::timers().waitUntil(roadEnded, 60000));
    EXPECT_EQ(server.queries(), std::vector<std::string>{std::string("M-") + TLMainState::kProgramVersion});
    EXPECT_TRUE(boxes.texts().empty());

    typeServer("");
    EXPECT_EQ(::Setup::Loaded(), nullptr);
    check->trigger();
    ASSERT_TRUE(platform::timers().waitUntil(roadEnded, 60000));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{UpdateServer::kNoServerText});
    EXPECT_EQ(server.queries().size(), 1u) << "nothing more asked";
    modWinInet::Close_Session();
}

// After a switch by the tray menu, the Users page shows the new current user, and "Change
// Password" names the user whose password it writes.
TEST_F(ProgramWiring, TheUsersPageShowsTheUserSwitchedToByTheTray) {
    ASSERT_EQ(UserState::CurrentUserID, "alice");
    menus.answer(2);  // Users -> bob
    tray.mouse(platform::kTrayRightButtonUp);
    settle();
    ASSERT_EQ(UserState::CurrentUserID, "bob");

    ::Setup::Show_Setup();
    UsersTab* tab = ::Setup::instance().usersTab;
    EXPECT_EQ(tab->selectedEntry(), "bob");
    tab->cmdChgPass->click();
    ASSERT_NE(ChgPass::loaded(), nullptr);
    EXPECT_EQ(ChgPass::loaded()->windowTitle().toStdString(), "Change bob Password");
}

// "Change Password" writes the password of the user it was opened for, the user its caption names,
// also when the tray menu switched to another user while it was open.
TEST_F(ProgramWiring, ChangePasswordWritesTheUserItOpenedForAfterATraySwitch) {
    ::Setup::Show_Setup();
    ::Setup::instance().usersTab->cmdChgPass->click();
    ChgPass* dialog = ChgPass::loaded();
    ASSERT_NE(dialog, nullptr);
    menus.answer(2);  // Users -> bob
    tray.mouse(platform::kTrayRightButtonUp);
    settle();
    ASSERT_EQ(UserState::CurrentUserID, "bob");
    ASSERT_EQ(ChgPass::loaded(), dialog);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Change alice Password");
    dialog->Text1[1]->setText("N3wSecret");
    dialog->Text1[2]->setText("N3wSecret");
    boxes.clear();
    dialog->cmdOK[0]->click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Your Password has been Changed"});
    EXPECT_EQ(modTLC::Get_Config_Value("Users", "alice", ""), "N3wSecret");
    EXPECT_EQ(modTLC::Get_Config_Value("Users", "bob", ""), "Secret2") << "never the user switched to";
}

}  // namespace
