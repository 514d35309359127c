// The main window's commands: the toolbar's guards and texts, the hot keys (seen by the window
// before the control with the focus), the timed refresh's on/off and custom intervals, the shift
// keys held at a mouse click, and the menu commands of the window itself.
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <memory>
#include <optional>

#include "bidding/dial_state.h"
#include "fake_item_pages.h"
#include "fake_service.h"
#include "foundation/bid_engine_state.h"
#include "foundation/logs.h"
#include "scripted_popup_menus.h"
#include "tl_main_fixture.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/tray_menu.h"
#include "platform/tray.h"

using namespace testsupport;

namespace {

class Commands : public TLMainTest {
protected:
    // A key pressed and released while the item-number box has the focus.
    void key(TLMain& w, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, qtKey, mods);
        QApplication::sendEvent(w.ItemNumBox, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, mods);
        QApplication::sendEvent(w.ItemNumBox, &release);
    }
    // A left click on a widget with the keys held.
    void click(QWidget* target, Qt::KeyboardModifiers mods) {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, mods);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, mods);
        QApplication::sendEvent(target, &release);
    }
};

// While a download or a refresh runs the buttons refuse, saying so, and change nothing.
TEST_F(Commands, ButtonsRefuseWhileADownloadRuns) {
    TLMain& w = loadQuiet();
    for (const char* key : {"ViewItem", "Home", "Search", "Add", "DeleteItem", "SetClock", "Setup", "Sort", "myebay"}) {
        for (int16_t* flag : {&TLMainState::DownloadBusy, &TLMainState::UpdateBusy}) {
            w.setStatus("");
            later.calls.clear();
            *flag = -1;
            w.Toolbar1_ButtonClick(key);
            *flag = 0;
            EXPECT_EQ(w.statusText(), "Busy, Download In Progress....") << key;
            EXPECT_TRUE(later.calls.empty()) << key;
            EXPECT_TRUE(openers.navigated.empty() && openers.newWindows.empty()) << key;
            EXPECT_EQ(TLMainState::AddPending, 0) << key;
        }
    }
}

TEST_F(Commands, InAFeedbackViewNoButtonActsAndEscReturnsToTheItems) {
    TLMain& w = loadQuiet();
    later.calls.clear();
    w.show();
    TLMainItems::GridViewMode = 1;
    w.Toolbar1_ButtonClick("Add");
    w.Toolbar1_ButtonClick("myebay");
    EXPECT_EQ(TLMainState::AddPending, 0);
    EXPECT_TRUE(later.calls.empty());
    key(w, Qt::Key_Escape);
    EXPECT_EQ(TLMainItems::GridViewMode, 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(later.count("Show_Item_Feedback"), 0);

    // The seller analysis of a listed item: the analyzer comes back beside the window.
    TLMainItems::GridViewMode = 2;
    key(w, Qt::Key_Escape);
    EXPECT_EQ(TLMainItems::GridViewMode, 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(later.count("Show_Item_Feedback"), 1);
    later.calls.clear();

    // The seller analysis of a handed-over item: its own window comes back instead.
    later.handedOverAnalysis = true;
    TLMainItems::GridViewMode = 2;
    key(w, Qt::Key_Escape);
    EXPECT_EQ(TLMainItems::GridViewMode, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(later.count("Show_Item_Feedback"), 1);
}

TEST_F(Commands, TheFeedbackAnalyzerOpensFromTheFeedbackMenu) {
    TLMain& w = loadQuiet();
    later.calls.clear();
    w.menuAction("MnuTitleFeedbackAnalyzer")->trigger();
    EXPECT_EQ(later.calls, std::vector<std::string>{"Feedback_Analyzer"});
}

TEST_F(Commands, TheUpdateButtons) {
    TLMain& w = loadQuiet();
    // A bid a minute away: no manual refresh (the debug mode may).
    TLMainState::MinuteWarningGiven = -1;
    w.Toolbar1_ButtonClick("UpdateAll");
    EXPECT_EQ(w.statusText(), "Bids Pending! Manual Item Updates are Disabled.");
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);
    TLMainState::MinuteWarningGiven = 0;

    // An empty list: nothing.
    w.Toolbar1_ButtonClick("UpdateAll");
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);

    addItem("100", 3600);
    w.Toolbar1_ButtonClick("UpdateAll");
    EXPECT_EQ(TLMainState::AutoUpdateDue, -1);
    EXPECT_EQ(TLMainState::ManualUpdateRequest, -1);

    // Pressed again while a refresh runs, it stops the refresh.
    TLMainState::AutoUpdateDue = 0;
    TLMainState::UpdateBusy = -1;
    w.Toolbar1_ButtonClick("UpdateAll");
    EXPECT_EQ(TLMainState::CancelUpdate, -1);
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);
    TLMainState::UpdateBusy = 0;
    TLMainState::CancelUpdate = 0;

    // Shift and Ctrl held at the click: the end times only, told at its end.
    click(w.Toolbar1->widgetForAction(w.toolbarButton("UpdateAll")), Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(w.statusText(), "Ending Time Update Completed....");
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);
    EXPECT_EQ(TLMainState::ManualEndTimeUpdate, 0);
}

// The service answers a listing it removed with a page of its own ("Invalid Item"), answered 200.
// A manual Update (the toolbar button) and the timed refresh leave that item as it was, log it
// with its number, and refresh the items after it.
TEST_F(Commands, ARefreshGoesPastAListingTheServiceRemoved) {
    FakeService service;
    service.useForClient();
    modTLC::Set_Config_Value("Categories", "Default", "1");
    const std::vector<std::string> numbers = {"101", "102", "103"};
    std::vector<std::unique_ptr<ItemPages>> pages;
    long secs = 0;
    for (const std::string& n : numbers) {
        addItem(n, secs += 86400);
        pages.push_back(std::make_unique<ItemPages>(service, modTLMain::National_Site(0)->itemHost, n));
    }
    TLMainItems::Save_Auction_Items();
    pages[0]->setItemPage(removedItemPage(numbers[0]));
    const auto raiseTo = [&](const char* price) {
        for (size_t k = 1; k < numbers.size(); ++k) {
            ItemPageContent c;
            c.itemNumber = numbers[k];
            c.endDate = "Jun 05, 2026";
            c.price = price;
            pages[k]->setItemPage(itemPageHtml(c));
        }
    };
    TLMain& w = load({{"Options", "Refresh", "10"}, {"Options", "ChkUpdates", "0"}});
    tick();
    const std::string passedOver = "Error! Item Update Failed - Not an Item Page - 101";
    const auto prices = [] {
        std::vector<std::string> p;
        for (int i = 1; i <= TLMainItems::ItemCount; ++i) p.push_back(item(i).CurrentPrice);
        return p;
    };

    struct Run {
        const char* what;
        const char* price;
        const char* stored;
        std::function<void()> start;
        int ticks;  // seconds the run is given, from its start
    };
    const Run runs[] = {
        {"manual Update", "US $14.00", "US 14.00",
         [&] { click(w.Toolbar1->widgetForAction(w.toolbarButton("UpdateAll")), Qt::NoModifier); }, 10},
        {"timed refresh", "US $16.00", "US 16.00", [&] { key(w, Qt::Key_F6); }, 10 * 60 + 10},
    };
    for (const Run& r : runs) {
        SCOPED_TRACE(r.what);
        raiseTo(r.price);
        service.clearRequests();
        data.write("OperationLog.txt", "");
        r.start();
        tick(r.ticks);
        EXPECT_EQ(prices(), (std::vector<std::string>{"US 10.00", r.stored, r.stored}));
        EXPECT_EQ(item(1).BidCount, "3");
        EXPECT_EQ(item(1).Title, "Item 101");
        EXPECT_TRUE(logged(passedOver)) << opLog();
        EXPECT_EQ(w.statusText().rfind("Update Completed - 3 Items - ", 0), 0u) << w.statusText();
        EXPECT_EQ(service.requestCount(), 3u);
        EXPECT_EQ(TLMainState::UpdateBusy, 0);
    }
}

TEST_F(Commands, BidSetupNeedsAUserAndADescriptionOrBidsCell) {
    modTLC::Set_Config_Value("Categories", "Default", "1");
    addItem("100", 3600);
    TLMainItems::Save_Auction_Items();
    TLMain& w = loadQuiet();
    TLMainItems::ItemGrid().setRow(1);
    TLMainItems::ItemGrid().setCol(2);
    w.setStatus("");
    w.Toolbar1_ButtonClick("BidSetup");
    EXPECT_EQ(w.statusText(), "No User! Can't Setup Bid...");
}

TEST_F(Commands, ButtonsAndTheirPages) {
    TLMain& w = loadQuiet({{"Locale", "HomeSite", "http://www.ebay.co.uk/"}});
    later.calls.clear();
    w.Toolbar1_ButtonClick("Home");
    EXPECT_EQ(openers.navigated, std::vector<std::string>{"http://www.ebay.co.uk/"});
    w.Toolbar1_ButtonClick("Search");
    EXPECT_EQ(openers.newWindows.size(), 1u);
    w.Toolbar1_ButtonClick("Add");
    EXPECT_EQ(TLMainState::AddPending, -1);
    w.Toolbar1_ButtonClick("SetClock");
    EXPECT_EQ(TLMainState::ManualClockSet, 1);
    EXPECT_EQ(later.count("SetSysClock"), 1);
    w.Toolbar1_ButtonClick("myebay");
    w.Toolbar1_ButtonMenuClick("myebay", 3);
    EXPECT_EQ(later.calls, (std::vector<std::string>{"SetSysClock", "MyeBayView", "MyeBayFunction 2"}));

    // The alternate browser gets the home page as its argument.
    modTLC::Set_Config_Value("Options", "AltBrowser", "1");
    modTLC::Set_Config_Value("Options", "AltBrowserPath", "/usr/bin/otherbrowser");
    w.Toolbar1_ButtonClick("Home");
    ASSERT_EQ(openers.started.size(), 1u);
    EXPECT_EQ(openers.started[0].program, "/usr/bin/otherbrowser");
    EXPECT_EQ(openers.started[0].arguments, std::vector<std::string>{"http://www.ebay.co.uk/"});
}

// F6, the count-down label and the menu entry switch the timed refresh; with the shift keys held
// they make a custom interval.
TEST_F(Commands, TheTimedRefreshIsSwitchedOrGivenACustomInterval) {
    TLMain& w = loadQuiet({{"Options", "Refresh", "45"}});
    key(w, Qt::Key_F6);
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 45);
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 2700);
    EXPECT_EQ(w.statusText(), "Auto Update is On...");
    key(w, Qt::Key_F6);
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 0);
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 0);
    EXPECT_EQ(w.TimeToUpdateLab->text(), "00:00");
    EXPECT_EQ(w.statusText(), "Auto Update is Off...");

    for (int i = 0; i < 3; ++i) key(w, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 15);
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 900);
    EXPECT_EQ(w.statusText(), "Custom Auto Update Time....15 Minutes");
    key(w, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 16);

    TLMainState::AutoUpdateMinutes = 1435;
    TLMainState::AutoUpdateCountdown = 1234;
    key(w, Qt::Key_F6, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(w.statusText(), "Custom Auto Update Time....1445 Minutes");
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 1440);
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 1234);

    // A click on the count-down with Ctrl held is the same as Ctrl+F6.
    TLMainState::AutoUpdateMinutes = 0;
    click(w.TimeToUpdateLab, Qt::ControlModifier);
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 5);
    EXPECT_EQ(TLMainState::KeyShiftState, 2);
}

TEST_F(Commands, APresetOfZeroIsAnError) {
    TLMain& w = loadQuiet({{"Options", "Refresh", "0"}});
    w.MnuSubToggleUpdate_Click();
    EXPECT_EQ(w.statusText(), "Error! Preset Update Time Is Set To Zero!");
    EXPECT_EQ(TLMainState::AutoUpdateMinutes, 0);
}

TEST_F(Commands, EscCancelsTheDialAndTheHangUp) {
    TLMain& w = loadQuiet();
    modRAS::DialBusy = -1;
    w.HangupTimer.setEnabled(true);
    key(w, Qt::Key_Escape);
    EXPECT_EQ(modRAS::DialCancel, -1);
    EXPECT_FALSE(w.HangupTimer.enabled());
    EXPECT_EQ(w.statusText(), "Auto Disconnect Cancelled!");
    modRAS::ResetDialStateForTests();
}

// Enter in the item-number box adds as Add does. The menu bar's titles have their Alt letters,
// the entries with a key show it beside them, Ctrl+Q is Exit, and Tab leaves the grid.
TEST_F(Commands, EnterAddsAndTheMenusShowTheirKeys) {
    TLMain& w = loadQuiet();
    w.show();
    w.ItemNumBox->setText("130000000007");
    TLMainState::AddPending = 0;
    key(w, Qt::Key_Return);
    EXPECT_EQ(TLMainState::AddPending, -1);

    QStringList titles;
    for (QAction* a : w.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&View", "&Links", "&Searches", "&Categories", "F&eedback", "&Help"}));
    EXPECT_EQ(w.menuAction("MnuExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(w.menuAction("MnuSubViewOpLog")->text().endsWith("\tCtrl+O"));
    EXPECT_TRUE(w.menuAction("MnuSubViewHistory")->text().endsWith("\tCtrl+H"));
    EXPECT_FALSE(w.ItemGrid->tabKeyNavigation());
}

TEST_F(Commands, TheLogPaneKeys) {
    modTLMain::Write_Op_Log("Something happened");
    TLMain& w = loadQuiet();
    w.show();
    key(w, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(w.logBoxVisible());
    EXPECT_NE(w.OpLog->toPlainText().toStdString().find("Something happened"), std::string::npos);
    key(w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(w.logBoxVisible());
    key(w, Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(w.logBoxVisible());
    w.setStatus("x");
    key(w, Qt::Key_Escape);
    EXPECT_FALSE(w.logBoxVisible());
    EXPECT_EQ(w.statusText(), "");

    // Over the shown log Shift+C clears it without asking; the menu's Clear asks, before and after.
    boxes.answer(platform::vbNo);
    w.clickMenu("MnuSubClearOpLog");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Clear Operations Log?"});
    EXPECT_TRUE(logged("Something happened"));
    key(w, Qt::Key_O, Qt::ControlModifier);
    key(w, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(boxes.shown().size(), 1u) << "Shift+C asked";
    EXPECT_FALSE(logged("Something happened"));
    EXPECT_TRUE(logged("LOG CLEARED...."));
    w.clickMenu("MnuSubClearOpLog");
    EXPECT_EQ(boxes.shown().size(), 2u) << "the menu's Clear asked nothing after Shift+C";
}

TEST_F(Commands, HotKeysForTheWindowSoundAndCategories) {
    TLMain& w = loadQuiet({{"Options", "Sound", "0"}});
    w.show();
    key(w, Qt::Key_F9);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound"), "1");
    EXPECT_EQ(w.statusText(), "Sound is On....");
    key(w, Qt::Key_F8);
    EXPECT_TRUE(w.isMaximized());
    key(w, Qt::Key_F8);
    EXPECT_FALSE(w.isMaximized());

    // A key press ends a repeating sound.
    TLMainState::SoundPlaying = -1;
    key(w, Qt::Key_A);
    EXPECT_EQ(TLMainState::SoundPlaying, 0);
    EXPECT_EQ(TLMainState::KeyShiftState, 0) << "released";
}

// A double click on the item-number box empties it.
TEST_F(Commands, ADoubleClickEmptiesTheItemNumberBox) {
    TLMain& w = loadQuiet();
    w.setItemNumberText("123456789012");
    const QPointF at(5, 5);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, w.ItemNumBox->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w.ItemNumBox, &dbl);
    EXPECT_EQ(w.itemNumberText(), "");
}

// A click into the item-number box selects its number, so that typing replaces it; a drag keeps
// the part it selected.
TEST_F(Commands, AClickIntoTheItemNumberBoxSelectsTheNumber) {
    TLMain& w = loadQuiet();
    w.setItemNumberText("123456789012");
    w.ItemNumBox->setCursorPosition(3);
    click(w.ItemNumBox, Qt::NoModifier);
    EXPECT_EQ(w.ItemNumBox->selectedText().toStdString(), "123456789012");
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_4, Qt::NoModifier, "4");
    QApplication::sendEvent(w.ItemNumBox, &typed);
    EXPECT_EQ(w.itemNumberText(), "4");

    click(w.ItemNumBox, Qt::NoModifier);  // once more, with nothing selected
    EXPECT_EQ(w.ItemNumBox->selectedText().toStdString(), "4");

    w.setItemNumberText("123456789012");
    w.ItemNumBox->setSelection(2, 4);  // what a drag selected
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), w.ItemNumBox->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.ItemNumBox, &release);
    EXPECT_EQ(w.ItemNumBox->selectedText().toStdString(), "3456");
}

// The window system may hand each new key at the address of the one before: every delivery is a
// key of its own, while a key that the focused control passes up to its parents acts once.
TEST_F(Commands, EveryKeyActsOnceEvenAtAReusedAddress) {
    TLMain& w = loadQuiet({{"Options", "Sound", "0"}});
    w.show();
    std::optional<QKeyEvent> slot;  // every event of the window system in one place
    const char* expected[] = {"1", "0", "1"};
    for (const char* sound : expected) {
        slot.emplace(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
        QApplication::sendEvent(w.ItemNumBox, &*slot);
        slot.emplace(QEvent::KeyRelease, Qt::Key_F9, Qt::NoModifier);
        QApplication::sendEvent(w.ItemNumBox, &*slot);
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound"), sound);
    }

    // F9 is not the box's: it goes on to the box's parents and still switches the sound once.
    QWidget* parent = w.ItemNumBox->parentWidget();
    ASSERT_NE(parent, nullptr);
    QKeyEvent again(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
    QApplication::sendEvent(w.ItemNumBox, &again);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound"), "0");
}

// A command that yields (a sound plays as F9 turns the sound on) handles the keys that came
// meanwhile, among them its own key's release; the key still acts once on its way up.
TEST_F(Commands, AKeyActsOnceWhenItsReleaseComesWhileItsCommandRuns) {
    TLMain& w = loadQuiet({{"Options", "Sound", "0"}});
    w.show();
    for (const char* sound : {"1", "0", "1", "0"}) {
        QCoreApplication::postEvent(w.ItemNumBox, new QKeyEvent(QEvent::KeyRelease, Qt::Key_F9, Qt::NoModifier));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
        QApplication::sendEvent(w.ItemNumBox, &press);
        QCoreApplication::processEvents();
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "Sound"), sound);
    }
}

// The Delete key, "Delete All Auction Items" and the sort menu wait for the work on the items.
TEST_F(Commands, ItemCommandsWaitForWorkOnTheItems) {
    addItem("100", 3600);
    TLMainItems::Save_Auction_Items();
    TLMain& w = loadQuiet();
    const std::string store = data.read("Auction Items.dat");
    struct C { const char* what; std::function<void()> run; };
    const C cases[] = {
        {"Delete key", [&] { key(w, Qt::Key_Delete, Qt::ShiftModifier); }},
        {"Delete All", [&] { w.clickMenu("MnuFileDelAllItems"); }},
        {"sort entry", [&] { w.Toolbar1_ButtonMenuClick("sort", 2); }},
    };
    for (const C& c : cases) {
        w.setStatus("");
        boxes.clear();
        TLMainState::SelectedUpdateBusy = -1;
        c.run();
        TLMainState::SelectedUpdateBusy = 0;
        EXPECT_EQ(w.statusText(), "Busy, Download In Progress....") << c.what;
        EXPECT_TRUE(boxes.shown().empty()) << c.what;
        EXPECT_EQ(data.read("Auction Items.dat"), store) << c.what;
    }
}

TEST_F(Commands, DeleteAllAsksFirst) {
    addItem("100", 3600);
    TLMainItems::Save_Auction_Items();
    TLMain& w = loadQuiet();
    boxes.answer(platform::vbCancel);
    w.clickMenu("MnuFileDelAllItems");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Warning! You have requested to delete all auction items! Are you sure?");
    EXPECT_EQ(boxes.shown()[0].style, 273);
    EXPECT_EQ(TLMainItems::ItemCount, 1);
    w.clickMenu("MnuFileDelAllItems");
    EXPECT_EQ(TLMainItems::ItemCount, 0);
    EXPECT_EQ(w.statusText(), "All auction items have been deleted!");
}

// Auto Run: the normal or minimised autostart entry; the ticked entry again takes it away.
TEST_F(Commands, AutoRunCopiesOrRemovesTheAutostartEntry) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QDir().mkpath(QString::fromStdString(data.path("Startup")));
    data.write("Startup/TL2StartupNorm.desktop", "[Desktop Entry]\nExec=\"/x/TolvaneRerodeII\"\n");
    data.write("Startup/TL2StartupMin.desktop", "[Desktop Entry]\nExec=\"/x/TolvaneRerodeII\" /MINIMIZED\n");
    const QString entry = config.path() + "/autostart/Tolvane Rerode II.desktop";
    const auto entryText = [&] {
        QFile f(entry);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(none)");
    };
    TLMain& w = loadQuiet();

    w.clickMenu("MnuAutoRunOpt1");
    EXPECT_EQ(entryText(), data.read("Startup/TL2StartupMin.desktop"));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoRun"), "1");
    EXPECT_TRUE(w.menuAction("MnuAutoRunOpt1")->isChecked());

    w.clickMenu("MnuAutoRunOpt0");  // the other entry replaces it
    EXPECT_EQ(entryText(), data.read("Startup/TL2StartupNorm.desktop"));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoRun"), "0");
    EXPECT_FALSE(w.menuAction("MnuAutoRunOpt1")->isChecked());
    EXPECT_TRUE(w.menuAction("MnuAutoRunOpt0")->isChecked());

    w.clickMenu("MnuAutoRunOpt0");  // the ticked entry again: no autostart
    EXPECT_EQ(entryText(), "(none)");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoRun"), "");
    EXPECT_FALSE(w.menuAction("MnuAutoRunOpt0")->isChecked());
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(Commands, SmallMenuCommands) {
    const int i = addItem("100", 3600);
    TLMainItems::Save_Auction_Items();
    TLMain& w = loadQuiet();
    later.calls.clear();
    // The update notes open in the desktop's viewer; without them (an update that did not take
    // leaves none) the user is told so.
    boxes.clear();
    w.clickMenu("MnuTitleUpdateInfo");
    EXPECT_TRUE(desktop.opened.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "There is no update information.");
    data.write("UpdateInfo.txt", "notes of 3.43");
    w.clickMenu("MnuTitleUpdateInfo");
    EXPECT_EQ(desktop.opened, std::vector<std::string>{data.path("UpdateInfo.txt")});
    EXPECT_EQ(boxes.shown().size(), 1u);
    // A desktop with nothing to show a text in: the status line says so.
    desktop.cannotOpen = true;
    w.clickMenu("MnuTitleUpdateInfo");
    EXPECT_EQ(w.statusText(), "Error! Can't Open UpdateInfo.txt...");
    desktop.cannotOpen = false;

    // Photos: the entry names the next action.
    EXPECT_EQ(w.photosCaption(), "Photos Off");
    w.mnuTogglePhotos_Click();
    EXPECT_EQ(TLMainState::PhotoPopupOn, 0);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "PhotosOn"), "0");
    EXPECT_EQ(w.photosCaption(), "Photos On");
    TLMainItems::itemLink<TLMainItems::ItemWindow>().mnuTogglePhotos_Click();  // the item popup's entry
    EXPECT_EQ(TLMainState::PhotoPopupOn, 1);

    // Copy Description: the title of the item in the item-number box.
    clipboard.userCopies("before");
    w.setItemNumberText("999");
    w.MnuSubPopupCopy_Click();
    EXPECT_EQ(clipboard.text(), "before") << "no such item";
    w.setItemNumberText("100");
    TLMainItems::itemLink<TLMainItems::ItemWindow>().MnuSubPopupCopy_Click();
    EXPECT_EQ(clipboard.text(), item(i).Title);

    // Keep on top, on and off.
    w.clickMenu("MnuTitleKOT");
    EXPECT_EQ(TLMainState::KeepOnTop, -1);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    w.clickMenu("MnuTitleKOT");
    EXPECT_EQ(TLMainState::KeepOnTop, 0);

    w.clickMenu("MnuTitleReportProblem");
    w.clickMenu("MnuTitleContactUs");
    w.clickMenu("MnuFileBackup");
    EXPECT_EQ(later.calls, (std::vector<std::string>{"Report_Problem", "Contact_Us", "MnuFileBackup"}));
}

// The tray menu's Exit is the Exit command: the pending bids are asked about.
TEST_F(Commands, TheTrayMenusExitAsksAboutPendingBids) {
    ScriptedPopupMenus menus;
    TLMain& w = loadQuiet({{"Options", "BidsPendWarning", "1"}});
    addArmedItem("100", 3600, 10, "");
    menus.answer(TLMainTray::kExit);
    answers.push_back([](Messages& m) { m.clickButton(2); });
    tray.mouse(platform::kTrayRightButtonUp);
    QCoreApplication::sendPostedEvents(&w);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(logged("Program Ended"));
}

}  // namespace
