// The options dialog's settings pages: what a user's change stores and what it changes in the
// running program (refresh count-down, item-number lengths, update button tip, site, colours,
// columns and widths, time format, sleep test, alternate browser, update server, sounds).
#include <gtest/gtest.h>

#include <QFileInfo>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "fake_desktop_files.h"
#include "mainwindow/update_server.h"
#include "setup_fixture.h"

using setuptest::SetupFixture;

namespace {

class SetupSettingsTest : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        s = &open();
    }
    ::Setup* s = nullptr;
};

TEST_F(SetupSettingsTest, TheRefreshIntervalRestartsTheCountDownFromTheStoredValue) {
    struct Case {
        const char* typed;
        const char* stored;
        int countdown;
    };
    const Case cases[] = {
        {"", "60", 99},     // an empty box changes nothing
        {"5", "10", 600},   // below 10 minutes: 10
        {"abc", "10", 600},
        {"15", "15", 900},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        set("Options", "Refresh", "60");
        TLMainState::AutoUpdateCountdown = 99;
        s->AUOTimeMinbox->setText("1");  // some other text first, so that the next one is a change
        TLMainState::AutoUpdateCountdown = 99;
        set("Options", "Refresh", "60");
        s->AUOTimeMinbox->setText(c.typed);
        EXPECT_EQ(value("Options", "Refresh"), c.stored);
        EXPECT_EQ(TLMainState::AutoUpdateCountdown, c.countdown);
        EXPECT_EQ(s->AUOTimeMinbox->text().toStdString(), c.typed);  // the box keeps what was typed
    }
}

TEST_F(SetupSettingsTest, ItemNumberLengthsTakeTheirFallBacksAndTheWatchTakesTheSmallerAsMinimum) {
    struct Case {
        QLineEdit* ::Setup::*box;
        const char* typed;
        const char* key;
        const char* stored;
    };
    const Case cases[] = {
        {&::Setup::txtAutoAddMin, "5", "AutoAddMin", "10"},  {&::Setup::txtAutoAddMin, "25", "AutoAddMin", "10"},
        {&::Setup::txtAutoAddMin, "x", "AutoAddMin", "10"},  {&::Setup::txtAutoAddMin, "20", "AutoAddMin", "20"},
        {&::Setup::txtAutoAddMax, "11", "AutoAddMax", "14"}, {&::Setup::txtAutoAddMax, "99", "AutoAddMax", "14"},
        {&::Setup::txtAutoAddMax, "", "AutoAddMax", "14"},   {&::Setup::txtAutoAddMax, "12", "AutoAddMax", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.typed);
        (s->*c.box)->setText("-");
        (s->*c.box)->setText(c.typed);
        EXPECT_EQ(value("Options", c.key), c.stored);
    }

    s->txtAutoAddMin->setText("16");
    s->txtAutoAddMax->setText("13");
    EXPECT_EQ(TLMainState::AutoAddMinLength, 13);
    EXPECT_EQ(TLMainState::AutoAddMaxLength, 16);
    s->txtAutoAddMin->setText("11");
    EXPECT_EQ(TLMainState::AutoAddMinLength, 11);
    EXPECT_EQ(TLMainState::AutoAddMaxLength, 13);

    s->chkAutoAddNoChar->setChecked(false);
    EXPECT_EQ(value("Options", "AutoAddNoChar"), "0");
    EXPECT_EQ(TLMainState::AutoAddNoAlpha, 0);
}

// A value stored in place of the one typed is said when the box is left, and the box then shows
// what is stored; a value in range, or an empty refresh box, says nothing.
TEST_F(SetupSettingsTest, LeavingABoxWithAValueOutOfRangeSaysSoAndShowsTheStoredValue) {
    const char* const refresh = "Error: Auto Update Time is 10 Minutes or More";
    const char* const shortest = "Error: Minimum Item Number Length Range is 10-20";
    const char* const longest = "Error: Maximum Item Number Length Range is 12-20";
    struct Case {
        QLineEdit* ::Setup::*box;
        void (::Setup::*leave)();
        const char* typed;
        const char* message;  // nullptr: none
        const char* shown;    // the box afterwards
        const char* key;
        const char* stored;
    };
    const Case cases[] = {
        {&::Setup::AUOTimeMinbox, &::Setup::AUOTimeMinbox_LostFocus, "5", refresh, "10", "Refresh", "10"},
        {&::Setup::AUOTimeMinbox, &::Setup::AUOTimeMinbox_LostFocus, "abc", refresh, "10", "Refresh", "10"},
        {&::Setup::AUOTimeMinbox, &::Setup::AUOTimeMinbox_LostFocus, "15", nullptr, "15", "Refresh", "15"},
        {&::Setup::AUOTimeMinbox, &::Setup::AUOTimeMinbox_LostFocus, "", nullptr, "", "Refresh", "before"},
        {&::Setup::txtAutoAddMin, &::Setup::txtAutoAddMin_LostFocus, "5", shortest, "10", "AutoAddMin", "10"},
        {&::Setup::txtAutoAddMin, &::Setup::txtAutoAddMin_LostFocus, "25", shortest, "10", "AutoAddMin", "10"},
        {&::Setup::txtAutoAddMin, &::Setup::txtAutoAddMin_LostFocus, "12", nullptr, "12", "AutoAddMin", "12"},
        {&::Setup::txtAutoAddMax, &::Setup::txtAutoAddMax_LostFocus, "11", longest, "14", "AutoAddMax", "14"},
        {&::Setup::txtAutoAddMax, &::Setup::txtAutoAddMax_LostFocus, "99", longest, "14", "AutoAddMax", "14"},
        {&::Setup::txtAutoAddMax, &::Setup::txtAutoAddMax_LostFocus, "", longest, "14", "AutoAddMax", "14"},
        {&::Setup::txtAutoAddMax, &::Setup::txtAutoAddMax_LostFocus, "18", nullptr, "18", "AutoAddMax", "18"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " \"" + c.typed + "\"");
        boxes.clear();
        (s->*c.box)->setText("-");
        set("Options", c.key, "before");
        (s->*c.box)->setText(c.typed);
        (s->*c.leave)();
        EXPECT_EQ(boxes.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ((s->*c.box)->text().toStdString(), c.shown);
        EXPECT_EQ(value("Options", c.key), c.stored);
    }
}

TEST_F(SetupSettingsTest, TheUpdateButtonsTipFollowsBothGroups) {
    struct Case {
        int manual;
        int automatic;
        const char* tip;
    };
    const Case cases[] = {
        {1, 2, "Update Selected Auction Item"},
        {1, 1, "Update All Current Category Items"},
        {1, 0, "Update All Auction Items"},
        {0, 2, "Update All Auction Items"},
        {0, 1, "Update All Auction Items"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.manual) + "/" + std::to_string(c.automatic));
        s->AUMO[static_cast<size_t>(c.manual)]->click();
        s->AUO[static_cast<size_t>(c.automatic)]->click();
        EXPECT_EQ(toolbar.tips[4], c.tip);
        EXPECT_EQ(value("Options", "ManualOption"), std::to_string(c.manual));
        EXPECT_EQ(value("Options", "AutoUpdateOpt"), std::to_string(c.automatic));
    }
    // "Follow Options Setting" chosen after the automatic option takes that option's tip.
    s->AUMO[0]->click();
    s->AUMO[1]->click();
    EXPECT_EQ(toolbar.tips[4], "Update All Current Category Items");
}

TEST_F(SetupSettingsTest, ChoosingASiteStoresItsIndexAndItsLocaleValues) {
    const int spain = s->cbSites->findText("eBay Spain");
    ASSERT_EQ(spain, 11);
    s->cbSites->setCurrentIndex(spain);
    EXPECT_EQ(value("Locale", "SiteIndex"), "11");
    EXPECT_EQ(modTLMain::CurrentSiteIndex, 11);
    EXPECT_EQ(value("Locale", "Currency"), "EUR");
    EXPECT_NE(value("Locale", "HomeSite").find("ebay.es"), std::string::npos);
    EXPECT_NE(value("Locale", "MyeBayHost").find("ebay.es"), std::string::npos);
    EXPECT_EQ(toolbar.tips[modTLMain::kHomeToolbarButton], value("Locale", "HomeTitle"));
}

TEST_F(SetupSettingsTest, PhotoHoverTimeServerAndTimeSourceKeepTheirValues) {
    s->cboHoverTime->setCurrentIndex(9);
    EXPECT_EQ(value("Options", "HoverTime"), "9");
    EXPECT_EQ(TLMainState::HoverDelayTicks, 10);
    s->chkPhotosOn->setChecked(false);
    EXPECT_EQ(value("Options", "PhotosOn"), "0");
    EXPECT_EQ(TLMainState::PhotoPopupOn, 0);
    s->cboPhotoSize->setCurrentIndex(0);
    EXPECT_EQ(value("Options", "PhotoSize"), "0");
    ASSERT_EQ(s->timesync->count(), 24);
    EXPECT_EQ(s->timesync->itemText(0).toStdString(), modTLMain::TimeServerList[0]);
    s->timesync->setCurrentIndex(23);
    EXPECT_EQ(value("Options", "TimeSync"), "23");
    EXPECT_EQ(TLMainState::TimeServerIndex, 23);
    s->OptTS[1]->click();
    EXPECT_EQ(value("Options", "TimeSyncOpt"), "1");
    s->OptSleepMode[1]->click();
    EXPECT_EQ(value("Options", "PwrSleepMode"), "1");
    s->chkDayofWk->setChecked(false);
    EXPECT_EQ(value("Options", "DayofWeek"), "0");
    EXPECT_EQ(grid.gridLoads, 1);
}

// Colours are stored as decimal numbers of blue × 65536 + green × 256 + red.
TEST_F(SetupSettingsTest, APickedColourIsStoredAsDecimalBgrAndTheGridIsDrawnAgain) {
    dialogs.colour = 255;  // red
    s->ColorSample_Click(0);
    EXPECT_EQ(dialogs.preselected, std::vector<long>{65535});
    EXPECT_EQ(value("Options", "ColorBid"), "255");
    EXPECT_EQ(TLMainItems::ColorBid, 255);
    EXPECT_EQ(s->ColorSample[0]->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(s->ColorSample[0]->palette().color(QPalette::WindowText), QColor(Qt::white)) << "readable on red";
    // The grid colour is applied again: none chosen, the desktop's.
    EXPECT_EQ(view.backColours, std::vector<long>{TLMainItems::kDesktopColour});
    EXPECT_EQ(grid.gridLoads, 1);

    dialogs.colour = 0x00FF8000;  // red 0, green 128, blue 255
    s->ColorSample_Click(5);
    EXPECT_EQ(value("Options", "ColorGrid"), "16744448");
    EXPECT_EQ(s->ColorSample[5]->palette().color(QPalette::Window), QColor(0, 128, 255));
    EXPECT_EQ(view.backColours.back(), 16744448);
    EXPECT_EQ(grid.gridLoads, 2);

    dialogs.colour.reset();  // cancelled
    s->ColorSample_Click(3);
    EXPECT_EQ(value("Options", "ColorHiBid"), "<none>");
    EXPECT_EQ(grid.gridLoads, 2);

    // The defaults; the grid's own colour goes back to the desktop's.
    s->SetDefColor->click();
    const std::pair<const char*, const char*> defaults[] = {
        {"ColorBid", "65535"},   {"ColorWintally", "16776960"}, {"ColorVal", "33023"},   {"ColorHiBid", "65280"},
        {"ColorOutBid", "255"},  {"ColorGrid", "<none>"},       {"ColorAlert", "33023"},
    };
    for (auto [key, v] : defaults) EXPECT_EQ(value("Options", key), v) << key;
    EXPECT_EQ(TLMainItems::ColorGrid, 16777215);
    EXPECT_EQ(view.backColours.back(), TLMainItems::kDesktopColour);
    // Every sample's caption reads on its colour: "OutBid" in white on red, "Bid Set" in black on yellow.
    EXPECT_EQ(s->ColorSample[4]->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(s->ColorSample[0]->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(grid.gridLoads, 3);
}

TEST_F(SetupSettingsTest, OptionalColumnsAndWidths) {
    // With no Columns key every optional column shows.
    for (QCheckBox* box : s->chkCols) EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(value("Options", "Columns"), "63");

    s->chkCols[2]->setChecked(false);  // "Date"
    EXPECT_EQ(value("Options", "Columns"), "59");
    EXPECT_EQ(view.widths[7], 0);
    set("Options", "ColWidth7", "2000");
    s->chkCols[2]->setChecked(true);
    EXPECT_EQ(value("Options", "Columns"), "63");
    EXPECT_EQ(view.widths[7], 2000);
    modTLC::Delete_Config_Key("Options", "ColWidth8");
    s->chkCols[4]->setChecked(false);
    s->chkCols[4]->setChecked(true);
    EXPECT_EQ(view.widths[8], 900);

    // Before a column is chosen the slider and "Reset" change no width.
    const int resizes = view.resizes;
    s->sliderColAdj->setValue(30);
    s->cmdRstColWidths->click();
    EXPECT_EQ(view.resizes, resizes);
    EXPECT_EQ(value("Options", "ColWidth3"), "<none>");

    view.widths[3] = 1404;
    s->optColAdj[3]->click();
    EXPECT_EQ(s->sliderColAdj->value(), 20);  // placing the slider stores nothing
    EXPECT_EQ(value("Options", "ColWidth3"), "<none>");
    s->sliderColAdj->setValue(-50);
    EXPECT_EQ(view.widths[3], 585);
    EXPECT_EQ(value("Options", "ColWidth3"), "585");
    s->sliderColAdj->setValue(20);
    EXPECT_EQ(value("Options", "ColWidth3"), "1404");

    s->optColAdj[6]->click();
    s->cmdRstColWidths->click();
    EXPECT_EQ(value("Options", "ColWidth6"), "1600");
    s->optColAdj[7]->click();
    s->cmdRstColWidths->click();
    EXPECT_EQ(view.widths[7], 2200);  // the grid's own default
    EXPECT_EQ(TLMainState::ColumnToAdjust, 7);
}

TEST_F(SetupSettingsTest, TheTimeFormatGivesTheClocksPattern) {
    struct Case {
        const char* locale;
        int option;
        bool seconds;
        const char* pattern;
        int twelve;
    };
    const Case cases[] = {
        {"en_US", 0, true, "h:mm:ss am/pm", 1}, {"de_DE", 0, true, "hh:mm:ss", 2},
        {"de_DE", 1, false, "h:mm am/pm", 1},   {"en_US", 2, false, "hh:mm", 2},
        {"en_US", 2, true, "hh:mm:ss", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + std::to_string(c.option));
        platform::setUserLocaleForTests(c.locale);
        s->ShowSecs->setChecked(c.seconds);
        s->optTimeFormat[static_cast<size_t>(c.option)]->click();
        s->optTimeFormat_Click(c.option);
        EXPECT_EQ(TLMainState::TimeDisplayFormat, c.pattern);
        EXPECT_EQ(UserState::TimeFormat12, c.twelve);
        EXPECT_EQ(value("Locale", "TimeFormat"), std::to_string(c.option));
    }
    // "Display Seconds" alone rebuilds the pattern.
    s->optTimeFormat[1]->click();
    s->ShowSecs->setChecked(true);
    s->ShowSecs->setChecked(false);
    EXPECT_EQ(value("Locale", "ShowSecs"), "0");
    EXPECT_EQ(TLMainState::TimeDisplayFormat, "h:mm am/pm");
}

// The sleep test hands over to the power control; only "OK" goes on.
TEST_F(SetupSettingsTest, TheSleepTestArmsTheSleepAndWakeUpTimersOnlyOnOk) {
    struct Case {
        const char* action;  // "ok", "cancel", "close"
        int sleeps;
    };
    for (const Case& c : {Case{"cancel", 0}, Case{"close", 0}, Case{"ok", 1}}) {
        SCOPED_TRACE(c.action);
        std::string shown;
        Messages::SetAnswerHookForTests([&](Messages& m) {
            shown = m.messageText();
            if (c.action == std::string("ok")) m.clickButton(1);
            else if (c.action == std::string("cancel")) m.clickButton(2);
            else m.closeWindow();
        });
        s->cmdTestSleep->click();
        EXPECT_EQ(power.sleepTimers, c.sleeps);
        EXPECT_EQ(shown.rfind("This test checks the programs ability to activate the standby or hibernate ", 0), 0u);
    }
    ASSERT_EQ(power.wakeups.size(), 1u);
    EXPECT_EQ(power.wakeups[0], time.clock.now().addSecs(120));
}

TEST_F(SetupSettingsTest, FindStartsTheChosenProgramOnceAndKeepsItWhenItStarted) {
    testsupport::FakeDesktopFiles desktop;
    desktop.choice = "";  // cancelled
    s->btnFindBro->click();
    EXPECT_TRUE(dialogs.started.empty());
    ASSERT_EQ(desktop.asked.size(), 1u);
    EXPECT_EQ(desktop.asked[0].folder, "/usr/bin");
    EXPECT_EQ(desktop.asked[0].title, "Locate Alternate Browser");

    desktop.choice = "/usr/bin/firefox";
    dialogs.startWorks = false;
    s->btnFindBro->click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Can't Open Alternate Browser!"});
    EXPECT_EQ(value("Options", "AltBrowserPath"), "<none>");

    dialogs.startWorks = true;
    s->btnFindBro->click();
    EXPECT_EQ(dialogs.started, (std::vector<std::string>{"/usr/bin/firefox", "/usr/bin/firefox"}));
    EXPECT_EQ(value("Options", "AltBrowserPath"), "/usr/bin/firefox");
    EXPECT_EQ(s->chkAltBro->toolTip().toStdString(), "/usr/bin/firefox");
    s->chkAltBro->setChecked(true);
    EXPECT_EQ(value("Options", "AltBrowser"), "1");

    // The next search starts at the program chosen, or in its folder when the program is gone.
    const struct { std::string stored, start; } starts[] = {
        {data.path("Browsers/mybrowser"), data.path("Browsers/mybrowser")},
        {data.path("Browsers/gone"), QFileInfo(QString::fromStdString(data.path("Browsers"))).absoluteFilePath().toStdString()},
    };
    data.write("Browsers/mybrowser", "#!/bin/sh\n");
    desktop.choice = "";
    for (const auto& c : starts) {
        SCOPED_TRACE(c.stored);
        set("Options", "AltBrowserPath", c.stored);
        s->btnFindBro->click();
        EXPECT_EQ(desktop.asked.back().folder, c.start);
        EXPECT_EQ(desktop.asked.back().title, "Locate Alternate Browser");
    }
}

// The update server's address beside "Update Check", left by Enter: an https:// address that
// names a server is kept and the dialog closes; emptied, there is no server again, as by default.
// Anything else is refused with a message: the box keeps what was typed and the focus, the dialog
// stays open and the address stored before stays. Each opening shows the address as stored.
TEST_F(SetupSettingsTest, TheUpdateServerIsAnHttpsAddressOrNone) {
    const std::string before = "https://updates.example.com/check";
    struct Case {
        const char* typed;
        const char* message;  // nullptr: none, the dialog closes
        std::string stored;
    };
    const Case cases[] = {
        {" https://other.example.net:8443/tl2?x=1 ", nullptr, "https://other.example.net:8443/tl2?x=1"},
        {"HTTPS://other.example.net/tl2", nullptr, "HTTPS://other.example.net/tl2"},
        {"", nullptr, "<none>"},
        {"   ", nullptr, "<none>"},
        {"http://updates.example.com/check", UpdateServer::kMustBeHttpsText, before},
        {"updates.example.com/check", UpdateServer::kMustBeHttpsText, before},
        {"https://", UpdateServer::kNotAnAddressText, before},
        {"https://updates example.com/", UpdateServer::kNotAnAddressText, before},
    };
    unload();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.typed + "\"");
        boxes.clear();
        set("Options", UpdateServer::kServerKey, before);
        ::Setup& d = open();
        EXPECT_EQ(d.txtUpdateServer->text().toStdString(), before);
        d.SSTab->setCurrentIndex(::Setup::kOptions);
        QApplication::setActiveWindow(&d);  // the offscreen desktop activates no window by itself
        d.txtUpdateServer->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), d.txtUpdateServer);
        d.txtUpdateServer->setText(c.typed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d.txtUpdateServer, &enter);
        flush();
        EXPECT_EQ(value("Options", UpdateServer::kServerKey), c.stored);
        if (!c.message) {
            EXPECT_TRUE(boxes.texts().empty());
            EXPECT_EQ(::Setup::Loaded(), nullptr);
            continue;
        }
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message});
        ASSERT_EQ(::Setup::Loaded(), &d) << "the dialog stays open";
        EXPECT_EQ(d.txtUpdateServer->text().toStdString(), c.typed);
        EXPECT_EQ(QApplication::focusWidget(), d.txtUpdateServer);
        d.Cancel->click();  // what was refused is not kept on the way out either
        flush();
        EXPECT_EQ(value("Options", UpdateServer::kServerKey), before);
    }

    // A plain http:// address stored before is shown as it is; passing through the box leaves it
    // (the commands that would use it say it is not used).
    boxes.clear();
    set("Options", UpdateServer::kServerKey, "http://updates.example.com/check");
    ::Setup& d = open();
    EXPECT_EQ(d.txtUpdateServer->text().toStdString(), "http://updates.example.com/check");
    EXPECT_TRUE(d.txtUpdateServer_LostFocus());
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(value("Options", UpdateServer::kServerKey), "http://updates.example.com/check");
}

class SetupSoundsTest : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        for (const char* f : {"Sounds/Win.wav", "Sounds/AddItem.wav", "Sounds/my.win.wav", "Sounds/Alert.wav",
                              "Sounds/notes.txt", "Sounds/Loud.WAV"})
            data.write(f, "RIFF");
        s = &open();
    }
    std::vector<std::string> played() const {
        std::vector<std::string> names;
        for (const auto& p : sounds.played) names.push_back(p.name);
        return names;
    }
    std::string selected() const {
        const QListWidgetItem* item = s->cboSoundFiles->currentItem();
        return item ? item->text().toStdString() : "";
    }
    void next(int times) {
        for (int i = 0; i < times; ++i) s->SndDemo->click();
    }
    void key(Qt::Key k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QCoreApplication::sendEvent(s->cboSoundFiles, &press);
        QCoreApplication::sendEvent(s->cboSoundFiles, &release);
    }
    ::Setup* s = nullptr;
};

TEST_F(SetupSoundsTest, TheWalkThroughAssignsAClickedFileToTheEventShown) {
    s->PlaySndDemo->click();  // before "Setup": nothing
    EXPECT_TRUE(sounds.played.empty());

    s->SndSetup->click();
    EXPECT_TRUE(s->frameOptions->isHidden());
    const std::vector<std::string> files{"AddItem.wav", "Alert.wav", "my.win.wav", "Win.wav"};
    std::vector<std::string> listed;
    for (int i = 0; i < s->cboSoundFiles->count(); ++i) listed.push_back(s->cboSoundFiles->item(i)->text().toStdString());
    EXPECT_EQ(listed, files);
    EXPECT_EQ(s->labelSndDemo->text().toStdString(), "Add Auction Item");
    EXPECT_EQ(selected(), "AddItem.wav");  // the program's choice stores and plays nothing
    EXPECT_TRUE(sounds.played.empty());

    next(4);
    EXPECT_EQ(s->labelSndDemo->text().toStdString(), "Bid Alert");
    EXPECT_EQ(selected(), "Alert.wav");
    s->cboSoundFiles->setCurrentRow(2);  // a click on my.win.wav
    EXPECT_EQ(value("Sounds", "Alert"), "my.win");
    EXPECT_EQ(played(), std::vector<std::string>{"my.win"});

    // Browsing with the arrow keys neither stores nor plays; a click afterwards does both.
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(selected(), "AddItem.wav");
    key(Qt::Key_Up);  // nothing above: moves nothing
    EXPECT_EQ(value("Sounds", "Alert"), "my.win");
    EXPECT_EQ(played().size(), 1u);
    s->cboSoundFiles->setCurrentRow(3);
    EXPECT_EQ(value("Sounds", "Alert"), "Win");
    EXPECT_EQ(played().back(), "Win");

    // "Add Auction Item Failed" shares the key: its "Play" plays AddItem, then Alert.
    s->SndSetup->click();
    next(2);
    EXPECT_EQ(s->labelSndDemo->text().toStdString(), "Add Auction Item Failed");
    EXPECT_EQ(selected(), "Win.wav");
    sounds.played.clear();
    s->PlaySndDemo->click();
    EXPECT_EQ(played(), (std::vector<std::string>{"AddItem", "Win"}));

    next(5);
    EXPECT_EQ(s->labelSndDemo->text().toStdString(), "You Lost");
    next(1);
    EXPECT_FALSE(s->frameOptions->isHidden());
    EXPECT_TRUE(s->frameSndDemo->isHidden());
}

TEST_F(SetupSoundsTest, SoundEffectsSwitchesTheIndicator) {
    s->SoundOpt->setChecked(true);
    s->SoundOpt->setChecked(false);
    EXPECT_EQ(value("Options", "Sound"), "0");
    EXPECT_EQ(view.soundIcons, (std::vector<bool>{true, false}));
}

}  // namespace
