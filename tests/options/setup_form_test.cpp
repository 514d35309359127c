// The options dialog as a window: one instance, its pages, the hidden load, the load's order and
// its handling of bad stored values, what a load does and does not do, closing, the
// Connections page's fill and the connection-test panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QScreen>
#include <QGuiApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include "fake_tray.h"
#include "foundation/options_link.h"
#include "platform/window_routines.h"
#include "options/users_tab.h"
#include "recording_main_window.h"
#include "setup_fixture.h"

using setuptest::SetupFixture;

namespace {

int setupWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<::Setup*>(w)) ++n;
    return n;
}

class SetupFormTest : public SetupFixture {};

TEST_F(SetupFormTest, TheSetupCommandShowsOneDialogWithItsNinePages) {
    ::Setup& s = open();
    ::Setup::Show_Setup();  // a second command does nothing
    EXPECT_EQ(::Setup::Loaded(), &s);
    EXPECT_EQ(setupWindows(), 1);
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.windowTitle().toStdString(), "Tolvane Rerode II Setup");
    const std::vector<std::string> pages{"Users",   "Connections", "Auto Update", "Options",  "eMail",
                                         "Wake-up", "Appearance",  "Bid Groups",  "Time Sync"};
    ASSERT_EQ(s.SSTab->count(), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(s.SSTab->tabText(i).toStdString(), pages[static_cast<size_t>(i)]);
    EXPECT_EQ(s.OK->text().toStdString(), "Done");
    EXPECT_EQ(s.Cancel->text().toStdString(), "Cancel");
    EXPECT_EQ(s.SetupHelp->text().toStdString(), "Help");
    EXPECT_EQ(s.SSTab->currentIndex(), ::Setup::kUsers);

    // Topmost at each activation.
    s.Form_Activate();
    EXPECT_TRUE(s.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // "Done" and "Cancel" only close: what was changed stays; the next opening is on Users again.
    for (QPushButton* ::Setup::*close : {&::Setup::OK, &::Setup::Cancel}) {
        ::Setup& d = open();
        d.SSTab->setCurrentIndex(::Setup::kEmail);
        d.ActName->setText("me@example.com");
        (d.*close)->click();
        flush();
        EXPECT_EQ(::Setup::Loaded(), nullptr);
        EXPECT_EQ(value("Remote", "ActName"), "me@example.com");
        EXPECT_EQ(open().SSTab->currentIndex(), ::Setup::kUsers);
        unload();
        modTLC::Delete_Config_Key("Remote", "ActName");
    }
}

// Esc closes the dialog as Cancel does, from any control; Help shows the help page's options section.
TEST_F(SetupFormTest, EscClosesItAndHelpShowsTheOptionsSection) {
    ::Setup& s = open();
    s.SetupHelp->click();
    EXPECT_EQ(view.helpSections, std::vector<std::string>{"Options"});
    s.SSTab->setCurrentIndex(::Setup::kEmail);
    s.ActName->setFocus();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(s.ActName, &esc);
    flush();
    EXPECT_EQ(::Setup::Loaded(), nullptr);
}

// Enter presses "Done" from a box of one line, after the box's own check: a box whose value was
// out of range says so, shows what was stored and keeps the focus, so the dialog stays open. In
// a box of several lines Enter is the box's own; the users list takes the name typed first.
TEST_F(SetupFormTest, EnterPressesDoneExceptInABoxOfSeveralLines) {
    const auto enter = [](QWidget* w) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w, &key);
        flush();
    };
    const auto active = [this](::Setup& s, int page, QWidget* box) {
        s.SSTab->setCurrentIndex(page);
        QApplication::setActiveWindow(&s);  // the offscreen desktop activates no window by itself
        QApplication::processEvents();
        box->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &s);
        EXPECT_EQ(QApplication::focusWidget(), box);
    };

    ::Setup* s = &open();
    s->TestFrame->show();
    s->TabFrame2->hide();
    active(*s, ::Setup::kConnections, s->txtTestResults);
    enter(s->txtTestResults);
    ASSERT_EQ(::Setup::Loaded(), s) << "a box of several lines keeps Enter";

    active(*s, ::Setup::kAutoUpdate, s->AUOTimeMinbox);
    s->AUOTimeMinbox->setText("5");
    enter(s->AUOTimeMinbox);
    ASSERT_EQ(::Setup::Loaded(), s) << "the box said its range first";
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Error: Auto Update Time is 10 Minutes or More"});
    EXPECT_EQ(s->AUOTimeMinbox->text().toStdString(), "10");
    EXPECT_EQ(s->focusWidget(), s->AUOTimeMinbox);

    enter(s->AUOTimeMinbox);
    EXPECT_EQ(::Setup::Loaded(), nullptr);
    EXPECT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(value("Options", "Refresh"), "10");

    // On a button with the focus Enter presses that button.
    s = &open();
    active(*s, ::Setup::kUsers, s->SetupHelp);
    enter(s->SetupHelp);
    EXPECT_EQ(::Setup::Loaded(), s);
    EXPECT_EQ(view.helpSections, std::vector<std::string>{"Options"});

    // In the users list the name typed is chosen first, then "Done".
    unload();
    set("Users", "alice", "a");
    set("Users", "bob", "b");
    UserState::CurrentUserID = "alice";
    s = &open();
    active(*s, ::Setup::kUsers, s->usersTab->UserListbox);
    s->usersTab->UserListbox->lineEdit()->setText("bob");
    enter(s->usersTab->UserListbox);
    EXPECT_EQ(UserState::CurrentUserID, "bob");
    EXPECT_EQ(::Setup::Loaded(), nullptr);
}

// The options that need a system tray say so on a desktop without one.
TEST_F(SetupFormTest, TheTrayOptionsSayWhenTheDesktopHasNoTray) {
    testsupport::FakeTrayIcon tray;
    for (bool present : {false, true}) {
        tray.trayAvailable = present;
        ::Setup& s = open();
        EXPECT_EQ(s.chkClosetoTray->text().contains("no system tray"), !present) << present;
        EXPECT_EQ(s.chkTaskbar->toolTip().isEmpty(), present) << present;
        unload();
    }
}

TEST_F(SetupFormTest, TheMainWindowsLoadLoadsItHiddenAndTheSetupCommandShowsThatLoad) {
    ::Setup::Register_Options_Link();
    set("Options", "PhotoSize", "1");
    OptionsLink::setupDialog().optTimeFormat_Click(2);
    ::Setup* hidden = ::Setup::Loaded();
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(TLMainState::TimeDisplayFormat, "hh:mm:ss");
    EXPECT_EQ(value("Locale", "TimeFormat"), "2");

    // Changed meanwhile: the dialog shows what is stored now, without a second load, and runs no
    // handler (a key gone since stays gone, its control shows the default).
    set("Options", "PhotoSize", "4");
    modTLC::Delete_Config_Key("Options", "HoverTime");
    set("Options", "UpdateServerURL", "https://updates.example.com/check");
    OptionsLink::setupDialog().Show_Setup();
    EXPECT_EQ(::Setup::Loaded(), hidden);
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_EQ(hidden->txtUpdateServer->text().toStdString(), "https://updates.example.com/check");
    EXPECT_EQ(hidden->cboPhotoSize->currentIndex(), 4);
    EXPECT_EQ(hidden->cboHoverTime->currentIndex(), 2);
    EXPECT_EQ(value("Options", "HoverTime"), "<none>");
    OptionsLink::registerSetupDialog(nullptr);
}

// A stored value that no control can take costs that step its value, not the rest of the load.
TEST_F(SetupFormTest, ABadConnectionTypeLogsOneLineAndTheLaterPagesAreFilled) {
    for (const char* stored : {"7", "x"}) {
        SCOPED_TRACE(stored);
        data.write("ErrorLog.txt", "");
        set("Options", "AutoDialType", stored);
        set("Options", "TimeSync", "5");
        set("Remote", "Email1", "home@example.com");
        set("Options", "ColorBid", "255");
        ::Setup& s = open();
        EXPECT_EQ(loadErrors(), 1) << errorLog();
        EXPECT_NE(errorLog().find(stored == std::string("x") ? "Error 13 (Type mismatch)" : "Error 340"),
                  std::string::npos);
        EXPECT_TRUE(s.ADType[2]->isChecked());  // the default type
        EXPECT_EQ(s.cbSites->currentIndex(), 0);
        EXPECT_EQ(s.timesync->currentIndex(), 5);
        EXPECT_EQ(s.Email[1]->text().toStdString(), "home@example.com");
        EXPECT_TRUE(s.chkCols[5]->isChecked());
        EXPECT_EQ(s.ColorSample[0]->palette().color(QPalette::Window), QColor(255, 0, 0));
        unload();
    }
}

TEST_F(SetupFormTest, EveryBadStoredValueTakesItsDefaultWithItsOwnLine) {
    set("Options", "PhotosOn", "True");    // a box takes 0 or 1
    set("Options", "HoverTime", "12");     // beyond the list
    set("Options", "AutoAdd", "maybe");
    set("Locale", "TimeFormat", "5");
    ::Setup& s = open();
    EXPECT_EQ(loadErrors(), 4) << errorLog();
    EXPECT_TRUE(s.chkPhotosOn->isChecked());           // PhotosOn 1
    EXPECT_EQ(s.cboHoverTime->currentText().toStdString(), "3");
    EXPECT_FALSE(s.AutoAdd->isChecked());
    EXPECT_TRUE(s.optTimeFormat[0]->isChecked());
}

// The dialog opens over the main window, large enough that every one of its nine tabs shows.
TEST_F(SetupFormTest, OpensOverTheMainWindowWithEveryTabInSight) {
    testsupport::RecordingWindow mainWindow;
    mainWindow.QWidget::setGeometry(40, 30, 700, 520);
    mainWindow.QWidget::setVisible(true);
    ::Setup& s = open();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(s.frameGeometry())) << area.width() << "x" << area.height() << " " << s.width() << "x" << s.height();
    EXPECT_LE((s.frameGeometry().center() - mainWindow.frameGeometry().center()).manhattanLength(), 8)
        << "centred over the main window";
    EXPECT_FALSE(s.SSTab->usesScrollButtons());
    const QTabBar* bar = s.SSTab->tabBar();
    EXPECT_GE(bar->width(), bar->sizeHint().width()) << "every tab shows";
    mainWindow.QWidget::setVisible(false);
}

// On a screen too small for it (an 800 × 500 screen, or less than the dialog needs) the dialog fits:
// its pages scroll and its buttons stay in view.
TEST_F(SetupFormTest, OnASmallScreenThePagesScrollAndTheButtonsStayInView) {
    ::Setup& s = open();
    const QSize whole = s.size();
    const QSize room = QSize(800, 500).boundedTo(whole - QSize(0, 120));
    platform::fitInside(&s, room);
    s.show();
    EXPECT_LE(s.width(), room.width());
    EXPECT_LE(s.height(), room.height());
    for (QPushButton* b : {s.OK, s.Cancel, s.SetupHelp}) {
        EXPECT_TRUE(b->isVisible());
        EXPECT_TRUE(s.rect().contains(QRect(b->mapTo(&s, QPoint(0, 0)), b->size()))) << b->text().toStdString();
    }
    auto* pages = qobject_cast<QScrollArea*>(s.SSTab->parentWidget()->parentWidget());
    ASSERT_NE(pages, nullptr);
    EXPECT_GT(pages->verticalScrollBar()->maximum(), 0) << "the pages scroll";
    EXPECT_EQ(s.findChildren<QScrollArea*>().size(), 1) << "the buttons are not in a scroll area of their own";
}

// Each of the three stored time formats selects its own button and sets the clock without a word.
TEST_F(SetupFormTest, EveryStoredTimeFormatSelectsItsButton) {
    for (int format : {0, 1, 2}) {
        set("Locale", "TimeFormat", std::to_string(format));
        ::Setup& s = open();
        EXPECT_EQ(loadErrors(), 0) << format << errorLog();
        EXPECT_TRUE(s.optTimeFormat[static_cast<size_t>(format)]->isChecked()) << format;
        if (format > 0) EXPECT_EQ(UserState::TimeFormat12, format) << format;
        EXPECT_EQ(value("Locale", "TimeFormat"), std::to_string(format));
        unload();
    }
}

// A load sets the in-memory values and the update button's tip, and nothing else of the program.
TEST_F(SetupFormTest, ALoadSetsTheInMemoryValuesWithoutTheSideEffectsOfAUsersChange) {
    testsupport::RecordingWindow mainWindow;
    testsupport::FakeTrayIcon tray;
    clipboard.userCopies("123456789012");
    set("Options", "AutoAdd", "1");
    set("Options", "Taskbar", "1");
    set("Options", "ShowUserItemsOnly", "1");
    set("Options", "Refresh", "15");
    set("Options", "HoverTime", "9");
    set("Options", "TimeSync", "3");
    set("Options", "AutoAddMin", "13");
    set("Options", "AutoAddNoChar", "0");
    set("Options", "PhotosOn", "0");
    set("Options", "ManualOption", "1");
    set("Options", "AutoUpdateOpt", "2");
    TLMainState::AutoUpdateCountdown = 77;
    TLMainState::PhotoPopupOn = 1;

    ::Setup& s = open();
    EXPECT_EQ(clipboard.text(), "123456789012");
    EXPECT_EQ(grid.gridLoads, 0);
    EXPECT_TRUE(tray.calls.empty());
    EXPECT_TRUE(mainWindow.shows.empty());
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 77);

    EXPECT_TRUE(TLMainState::AutoAddOn);
    EXPECT_EQ(TLMainState::HoverDelayTicks, 10);
    EXPECT_EQ(TLMainState::TimeServerIndex, 3);
    EXPECT_EQ(TLMainState::AutoAddMinLength, 12);  // the smaller of 13 and the default 12
    EXPECT_EQ(TLMainState::AutoAddMaxLength, 13);
    EXPECT_EQ(TLMainState::AutoAddNoAlpha, 0);
    EXPECT_EQ(TLMainState::PhotoPopupOn, 0);
    EXPECT_EQ(toolbar.tips[4], "Update Selected Auction Item");
    EXPECT_EQ(value("Options", "Refresh"), "15");

    // The same boxes changed by the user do act.
    s.AutoAdd->setChecked(false);
    s.AutoAdd->setChecked(true);
    EXPECT_EQ(clipboard.text(), "");
    s.chkShowUserItemsOnly->setChecked(false);
    EXPECT_EQ(grid.gridLoads, 1);
    s.chkTaskbar->setChecked(false);
    EXPECT_EQ(tray.calls, std::vector<std::string>{"add"});
    EXPECT_EQ(value("Options", "Taskbar"), "0");
}

// Values that read as the window's design state leave their controls unchanged, so nothing is
// written back for them ("00" would be rewritten as "0" by a handler).
TEST_F(SetupFormTest, StoredValuesEqualToTheDesignStateWriteNothingBack) {
    const std::vector<const char*> boxes{
        "ShowBidResults", "ClosetoTray", "ShowBidSetup", "PhotosOn",        "AutoAddNoChar", "AutoAdd",
        "MyeBayASI",      "ShowUserItemsOnly", "IEFull", "NewBroWin",       "BidsPendWarning", "AltBrowser",
        "Taskbar",        "ClockSet",    "ChkUpdates",   "Sound",           "AutoUpdateStart", "UpdateOnStart",
        "UpdateBidSetup", "AutoSleep",   "DayofWeek",    "ManualOption",    "PwrSleepMode"};
    for (const char* key : boxes) set("Options", key, "00");
    set("Options", "AutoDialType", "02");
    set("Options", "Refresh", "0");  // a handler would store 10
    set("Options", "Columns", "00");
    set("Locale", "ShowSecs", "01");

    open();
    for (const char* key : boxes) EXPECT_EQ(value("Options", key), "00") << key;
    EXPECT_EQ(value("Options", "AutoDialType"), "02");
    EXPECT_EQ(value("Options", "Refresh"), "0");
    EXPECT_EQ(value("Options", "Columns"), "00");
    EXPECT_EQ(value("Locale", "ShowSecs"), "01");
    // The lists and the groups without a design choice always take one and write it.
    EXPECT_EQ(value("Options", "PhotoSize"), "3");
    EXPECT_EQ(value("Options", "HoverTime"), "2");
    EXPECT_EQ(value("Options", "TimeSync"), "0");
    EXPECT_EQ(value("Options", "TimeSyncOpt"), "0");
    EXPECT_EQ(value("Options", "AutoUpdateOpt"), "0");
    EXPECT_EQ(value("Locale", "SiteIndex"), "0");
    EXPECT_EQ(value("Locale", "TimeFormat"), "0");
    EXPECT_EQ(loadErrors(), 0) << errorLog();
}

// A time source other than "0" or "1" means no synchronisation: the load keeps it and chooses
// neither source.
TEST_F(SetupFormTest, AStoredNoSyncTimeSourceIsKeptWithNeitherSourceChosen) {
    for (const char* stored : {"2", "-1", "00"}) {
        SCOPED_TRACE(stored);
        set("Options", "TimeSyncOpt", stored);
        ::Setup& s = open();
        EXPECT_EQ(value("Options", "TimeSyncOpt"), stored);
        EXPECT_FALSE(s.OptTS[0]->isChecked());
        EXPECT_FALSE(s.OptTS[1]->isChecked());
        EXPECT_EQ(loadErrors(), 0) << errorLog();
        s.OptTS[1]->click();  // the user's choice is stored as before
        EXPECT_EQ(value("Options", "TimeSyncOpt"), "1");
        unload();
    }
}

// Load steps 4 to 8 and the layout of each connection type.
TEST_F(SetupFormTest, TheConnectionsPageShowsTheStoredTypeAndItsBoxes) {
    struct Case {
        const char* type;
        const char* play;
        bool playOn;
        const char* record;
        bool recordOn;
        bool retryOn;
        bool listShown;
        const char* info;
        const char* writtenBack;
    };
    const Case cases[] = {
        {"0", "Test", true, "Default", false, false, false, "Using Internet Explorer Default Settings", "0"},
        {"1", "Test", true, "Default", true, true, true, "Available Dial-Up Connections", "1"},
        {"2", "Test", false, "Record", false, false, false, "Dial-Up Services are Not Used", "2"},
        {"3", "Playback", true, "Record", true, false, false, "To record a macro click the \"Record\" button", "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        set("Options", "AutoDialType", c.type);
        set("Options", "ConnectTime", "7");
        modTLC::Delete_Config_Key("Options", "MaxAttempts");
        ::Setup& s = open();
        EXPECT_TRUE(s.ADType[static_cast<size_t>(c.type[0] - '0')]->isChecked());
        EXPECT_EQ(s.Play->text().toStdString(), c.play);
        EXPECT_EQ(s.Play->isEnabled(), c.playOn);
        EXPECT_EQ(s.RecordCmd->text().toStdString(), c.record);
        EXPECT_EQ(s.RecordCmd->isEnabled(), c.recordOn);
        EXPECT_EQ(s.RetryTimeBox->isEnabled(), c.retryOn);
        EXPECT_EQ(s.Tab2[4]->isEnabled(), c.retryOn);
        EXPECT_EQ(s.ConnectTimeBox->isEnabled(), c.type[0] != '2');
        EXPECT_EQ(!s.DUNConn->isHidden(), c.listShown);
        EXPECT_EQ(s.RecInfoLab->text().toStdString().rfind(c.info, 0), 0u);
        EXPECT_EQ(s.ConnectTimeBox->text().toStdString(), "7");
        EXPECT_EQ(s.MaxAttemptsBox->text().toStdString(), "3");
        EXPECT_EQ(value("Options", "AutoDialType"), c.writtenBack);
        unload();
    }
    EXPECT_EQ(dialup.fills, 4);
    EXPECT_FALSE(TLMainState::MacroKeyboardLayout.empty());
}

TEST_F(SetupFormTest, DoneDuringAConnectionTestCancelsItAndASecondDoneCloses) {
    ::Setup& s = open();
    s.DialTestRunning = -1;
    s.TabFrame2->hide();
    s.TestFrame->show();
    s.txtTestResults->setPlainText("Testing Connection: Office\r\n");

    s.OK->click();
    EXPECT_EQ(::Setup::Loaded(), &s);
    EXPECT_EQ(s.DialTestRunning, 0);
    EXPECT_EQ(s.txtTestResults->toPlainText().toStdString(),
              "Testing Connection: Office\nTest Cancelled..............\n");
    EXPECT_TRUE(s.TestFrame->isHidden());
    EXPECT_EQ(dialup.hangUps, 1);

    s.Cancel->click();
    flush();
    EXPECT_EQ(::Setup::Loaded(), nullptr);
    EXPECT_EQ(dialup.hangUps, 1);
}

TEST_F(SetupFormTest, ExitTestModeShowsThePageAgainWithoutHangingUp) {
    ::Setup& s = open();
    s.SSTab->setCurrentIndex(::Setup::kConnections);
    s.DialTestRunning = -1;
    s.TabFrame2->hide();
    s.TestFrame->show();
    s.cmdExitTest->click();
    EXPECT_EQ(s.DialTestRunning, 0);
    EXPECT_FALSE(s.TabFrame2->isHidden());
    EXPECT_TRUE(s.TestFrame->isHidden());
    EXPECT_EQ(dialup.hangUps, 0);
}

TEST_F(SetupFormTest, ChoosingAConnectionTypeLaysThePageOutAndStoresIt) {
    ::Setup& s = open();
    s.ADType[3]->click();
    EXPECT_EQ(value("Options", "AutoDialType"), "3");
    EXPECT_EQ(s.Play->text().toStdString(), "Playback");
    s.ADType[2]->click();
    EXPECT_EQ(value("Options", "AutoDialType"), "2");
    EXPECT_FALSE(s.Play->isEnabled());
    EXPECT_EQ(s.Play->text().toStdString(), "Playback");  // type 2 keeps the captions
}

}  // namespace
