// The bid set-up dialog and its commands: what it shows, the checks of Set Bid as a table, Cancel
// Bid, Clear, Validate and Bid Now (against the fake service), and the items it was opened for.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QLayout>
#include <QMouseEvent>

#include "bid_fixture.h"
#include "bidding/bid_commands.h"
#include "bidding/bid_form.h"
#include "bidding/bid_validation.h"
#include "platform/locale_info.h"

namespace {

using testsupport::AcceptBidAnswer;
using testsupport::MakeBidAnswer;

class RecordingItemRefresh final : public TLMainBids::ItemRefresh {
public:
    RecordingItemRefresh() { TLMainBids::setBidLink<TLMainBids::ItemRefresh>(this); }
    ~RecordingItemRefresh() override { TLMainBids::setBidLink<TLMainBids::ItemRefresh>(nullptr); }
    void Update_Selected_Item(const std::vector<std::string>& itemNumbers) override { refreshed.push_back(itemNumbers); }
    std::vector<std::vector<std::string>> refreshed;
};

class BidFormTest : public testsupport::BidTest {
protected:
    void SetUp() override {
        BidTest::SetUp();
        UserState::CurrentUserID = kUser;
        mainWindow.show();
    }
    void TearDown() override {
        if (BidForm* f = BidForm::Current()) f->Exit_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        TLMainBids::ResetBidCommandsForTests();
        platform::setUserLocaleForTests("");
        BidTest::TearDown();
    }

    // An item ending in an hour, with no bid set up.
    int addItem(const std::string& number, const std::string& price = "US 10.00") {
        TLMainItems::AuctionItem it;
        it.ItemNumber = number;
        it.Title = "Teapot " + number;
        it.UserID = kUser;
        it.Quantity = "1";
        it.AfterBidOptions = "0";
        it.CurrentPrice = price;
        it.MinBid = "US $10.50";
        it.BidCount = "3";
        it.Seller = "potter (12) 100%";
        it.Shipping = "US $4.00";
        it.EndTime = endIn(3600);
        EXPECT_TRUE(TLMainItems::Append_Item(it));
        grid.rowItems.push_back(TLMainItems::ItemCount);
        return TLMainItems::ItemCount;
    }
    static BidForm* open(const std::vector<std::string>& numbers, const std::string& shown = {}) {
        return BidForm::Show_Bid_Form(numbers, shown.empty() ? numbers.front() : shown);
    }
    static void closeDialog() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Lets the poll of a manual bid and the fake service's answers run.
    void run(int ticks) { tick(ticks); }

    testsupport::RecordingWindow mainWindow;
    RecordingItemRefresh refresh;
};

// ---- Loading ---------------------------------------------------------------------------------------

TEST_F(BidFormTest, LoadingShowsTheItemAndItsStoredBid) {
    const int i = addItem("100");
    struct Case {
        const char* name;
        std::function<void(TLMainItems::AuctionItem&)> item;
        std::function<void()> settings;
        std::function<void(BidForm&)> check;
    } cases[] = {
        {"no stored bid: the last lead time, else 15 s", [](auto&) {}, [] {},
         [](BidForm& f) {
             EXPECT_EQ(f.txtBidTimeMin->text(), "0");
             EXPECT_EQ(f.txtBidTimeSec->text(), "15");
         }},
        {"no stored bid, last lead time 75 s", [](auto&) {},
         [] { modTLC::Set_Config_Value("Options", "LastBidTime", "75"); },
         [](BidForm& f) {
             EXPECT_EQ(f.txtBidTimeMin->text(), "1");
             EXPECT_EQ(f.txtBidTimeSec->text(), "15");
         }},
        {"stored 135 s", [](auto& it) { it.BidTimeSecs = 135; }, [] {},
         [](BidForm& f) {
             EXPECT_EQ(f.txtBidTimeMin->text(), "2");
             EXPECT_EQ(f.txtBidTimeSec->text(), "15");
         }},
        {"quantity 0 shows 1", [](auto& it) { it.Quantity = "0"; }, [] {},
         [](BidForm& f) { EXPECT_EQ(f.ItemQtyBox->text(), "1"); }},
        {"quantity empty shows 1", [](auto& it) { it.Quantity = ""; }, [] {},
         [](BidForm& f) { EXPECT_EQ(f.ItemQtyBox->text(), "1"); }},
        {"quantity 3", [](auto& it) { it.Quantity = "3"; }, [] {},
         [](BidForm& f) { EXPECT_EQ(f.ItemQtyBox->text(), "3"); }},
        {"dial type 2: auto dial shown but off", [](auto&) {}, [] {},
         [](BidForm& f) { EXPECT_FALSE(f.AutoDial->isEnabled()); }},
        {"dial type 1, last auto dial on", [](auto&) {},
         [] {
             modTLC::Set_Config_Value("Options", "AutoDialType", "1");
             modTLC::Set_Config_Value("Options", "LastAutoDial", "1");
         },
         [](BidForm& f) {
             EXPECT_TRUE(f.AutoDial->isEnabled());
             EXPECT_TRUE(f.AutoDial->isChecked());
         }},
        {"global sleep: the sleep box is off", [](auto& it) { it.AfterBidOptions = "3"; },
         [] { modTLC::Set_Config_Value("Options", "AutoSleep", "1"); },
         [](BidForm& f) {
             EXPECT_FALSE(f.chkShutDnOpt->isEnabled());
             EXPECT_TRUE(f.chkShutDnOpt->isChecked());
             EXPECT_TRUE(f.chkEmailOpt->isChecked());
             EXPECT_FALSE(f.chkEmailOpt->isEnabled()) << "the e-mail settings are incomplete";
         }},
        {"complete e-mail settings", [](auto&) {},
         [] {
             for (auto [k, v] : {std::pair{"ActSMTPServer", "smtp.example.com"}, {"ActName", "a@example.com"},
                                 {"ActPass", "pw"}, {"Email0", "me@example.com"}, {"EmailEn0", "1"}})
                 modTLC::Set_Config_Value("Remote", k, v);
         },
         [](BidForm& f) { EXPECT_TRUE(f.chkEmailOpt->isEnabled()); }},
        {"reserve not met", [](auto& it) { it.ReserveFlag = 1; }, [] {},
         [](BidForm& f) { EXPECT_FALSE(f.labHiBid[2]->isHidden()); }},
        {"stored maximum bid", [](auto& it) { it.MaxBid = "1,234.50"; }, [] {},
         [](BidForm& f) {
             EXPECT_EQ(f.MaxBidAmt->text(), "1,234.50");
             EXPECT_TRUE(f.labHiBid[2]->isHidden());
         }},
    };
    const TLMainItems::AuctionItem original = item(i);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        item(i) = original;
        modTLC::ResetForTests();
        c.item(item(i));
        c.settings();
        BidForm* f = open({"100"});
        ASSERT_NE(f, nullptr);
        c.check(*f);
        f->Exit_Click();
        closeDialog();
    }
}

TEST_F(BidFormTest, OneItemShowsItsFactsAndTheMainWindowWaitsWhileTheDialogIsOpen) {
    addItem("100");
    BidForm* f = open({"100"});
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle().toStdString(), "Bid Setup for eBay Item # 100 - User: bob");
    EXPECT_EQ(f->labItemName->text(), "Teapot 100");
    EXPECT_EQ(f->labHiBid[1]->text(), "US 10.00");
    EXPECT_EQ(f->labBids[1]->text(), "3");
    EXPECT_EQ(f->labMinBid->text(), "(Min Bid: US $10.50)");
    EXPECT_EQ(f->labEndDate->text().toStdString(), "(" + item(1).EndTime + ")");
    EXPECT_EQ(f->labEndTime[1]->text(), "1 Hour");
    EXPECT_TRUE(f->ManBid->isEnabled());
    EXPECT_FALSE(mainWindow.isEnabled());
    f->Exit_Click();
    closeDialog();
    EXPECT_EQ(BidForm::Current(), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
}

// The dialog opens centred over the main window. On a small screen (800 x 500, as QT_SCALE_FACTOR=2
// makes of 1600 x 1000) its fields scroll and Set Bid, Bid Now and Exit stay in view below a title bar.
TEST_F(BidFormTest, TheDialogOpensOverTheMainWindowAndFitsASmallScreen) {
    addItem("100");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    mainWindow.setGeometry(screen.center().x() - 320, screen.center().y() - 200, 500, 400);  // left of the centre
    BidForm* f = open({"100"});
    ASSERT_NE(f, nullptr);
    const QPoint off = f->frameGeometry().center() - mainWindow.frameGeometry().center();
    EXPECT_LE(std::abs(off.x()), 2) << "over the main window, not the screen's centre: " << f->width();
    EXPECT_TRUE(screen.contains(f->frameGeometry())) << "on the screen";

    const QSize least = f->minimumSizeHint().expandedTo(f->minimumSize());
    EXPECT_LE(least.width(), 800);
    EXPECT_LE(least.height(), 440);
    f->resize(800, 440);
    f->layout()->activate();
    EXPECT_EQ(f->height(), 440);
    for (QPushButton* b : {f->OKBid, f->ManBid, f->Exit})
        EXPECT_TRUE(f->rect().contains(b->geometry())) << b->text().toStdString();
}

TEST_F(BidFormTest, SeveralItemsShowNoFactsAndNoBidNow) {
    addItem("100");
    addItem("200");
    BidForm* f = BidForm::Show_Bid_Form(1, 2, 2);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->itemNumbers(), (std::vector<std::string>{"100", "200"}));
    EXPECT_EQ(f->dialogItem(), "200");
    EXPECT_EQ(f->windowTitle().toStdString(), "Bid Setup - Multiple Items Selected - User: bob");
    EXPECT_EQ(f->labItemName->text().toStdString(), "       ******* Multiple Items Selected *******");
    EXPECT_EQ(f->labHiBid[0]->text(), "Enter your maximum bid for all items selected.");
    EXPECT_FALSE(f->ManBid->isEnabled());
    EXPECT_TRUE(f->MaxBidAmt->text().isEmpty());
    EXPECT_TRUE(f->labMinBid->isHidden());
}

TEST_F(BidFormTest, AJustAddedItemIsTheDialogsOnlyItemAndAMissingOneClosesIt) {
    addItem("100");
    addItem("200");
    TLMainItems::AddedItemNumber = "200";
    BidForm* f = BidForm::Show_Bid_Form(1, 2, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->itemNumbers(), std::vector<std::string>{"200"});
    EXPECT_TRUE(TLMainItems::AddedItemNumber.empty());
    f->Exit_Click();
    closeDialog();

    TLMainItems::AddedItemNumber = "999";
    EXPECT_EQ(BidForm::Show_Bid_Form(1, 2, 1), nullptr);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Item Not Found In List"});
    closeDialog();
    EXPECT_EQ(BidForm::Current(), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(BidFormTest, RefreshFirstWhenAskedAndTheSmallHandlers) {
    addItem("100");
    modTLC::Set_Config_Value("Options", "UpdateBidSetup", "1");
    BidForm* f = open({"100"});
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(refresh.refreshed, std::vector<std::vector<std::string>>{{"100"}});

    // The minimum-bid label copies from the first digit on; none: the box empties.
    f->labMinBid_Click();
    EXPECT_EQ(f->MaxBidAmt->text(), "10.50");
    item(1).MinBid = "see listing";
    f->labMinBid_Click();
    EXPECT_EQ(f->MaxBidAmt->text(), "");
    item(1).MinBid = "";
    f->MaxBidAmt->setText("7");
    f->labMinBid_Click();
    EXPECT_EQ(f->MaxBidAmt->text(), "7");
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(f->MaxBidAmt, &dbl);
    EXPECT_EQ(f->MaxBidAmt->text(), "");

    // Refresh Item waits while a bid is less than a minute away.
    TLMainState::MinuteWarningGiven = -1;
    f->cmdRefresh_Click();
    EXPECT_EQ(refresh.refreshed.size(), 1u);
    TLMainState::MinuteWarningGiven = 0;
    item(1).CurrentPrice = "US 11.00";
    f->cmdRefresh_Click();
    EXPECT_EQ(refresh.refreshed.size(), 2u);
    EXPECT_EQ(f->labHiBid[1]->text(), "US 11.00");
}

// ---- Set Bid -------------------------------------------------------------------------------------

struct SetBidCase {
    const char* amount;
    const char* quantity;
    const char* minutes;
    const char* seconds;
    const char* message;  // nullptr: accepted
    const char* title;
    const char* maxBid;   // stored when accepted
    long leadTime;
};

TEST_F(BidFormTest, SetBidChecksInOrderAndStoresTheCanonicalAmount) {
    const SetBidCase cases[] = {
        {"", "1", "0", "15", "Error! Missing Bid Amount!", "Tolvane Rerode II", nullptr, 0},
        {"   ", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"0", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"-5", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"12.345", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"12,50", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"twelve", "1", "0", "15", "Error! Improper Bid Amount.", "Improper Bid Amount", nullptr, 0},
        {"12", "0", "0", "15", "Invalid Item Quantity", "Tolvane Rerode II", nullptr, 0},
        {"12", "abc", "0", "15", "Invalid Item Quantity", "Tolvane Rerode II", nullptr, 0},
        {"12", "1.5", "0", "15", "Invalid Item Quantity", "Tolvane Rerode II", nullptr, 0},
        {"12", "10000", "0", "15", "Invalid Item Quantity", "Tolvane Rerode II", nullptr, 0},
        {"12", "1", "x", "15", "Error! Bid Time Format Error", "Bid Time Error", nullptr, 0},
        {"12", "1", "0", "0", "Error! Bid Time is Set to Zero", "Bid Time Error", nullptr, 0},
        {"12", "1", "0", "2", "Warning! Bid Time Set Too Low for Reliable Bids", "Bid Time Low", nullptr, 0},
        {"12", "1", "40000000", "0", "Error! Bid Time Format Error", "Bid Time Error", nullptr, 0},  // past 2^31 s
        {"12", "1", "0", "3000000000", "Error! Bid Time Format Error", "Bid Time Error", nullptr, 0},
        {"12", "1", "0", "3", nullptr, nullptr, "12.00", 3},
        {"12", "1", "", "20", nullptr, nullptr, "12.00", 20},
        {"1234.5", "9999", "2", "15", nullptr, nullptr, "1,234.50", 135},
        {"1,234.5", "2", "0", "15", nullptr, nullptr, "1,234.50", 15},
        {"$15", "1", "1", "0", nullptr, nullptr, "15.00", 60},
        {".5", "1", "0", "15", nullptr, nullptr, "0.50", 15},
    };
    addItem("100");
    const TLMainItems::AuctionItem original = item(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.amount) + " / " + c.quantity + " / " + c.minutes + ":" + c.seconds);
        item(1) = original;
        boxes.clear();
        BidForm* f = open({"100"});
        ASSERT_NE(f, nullptr);
        f->MaxBidAmt->setText(c.amount);
        f->ItemQtyBox->setText(c.quantity);
        f->txtBidTimeMin->setText(c.minutes);
        f->txtBidTimeSec->setText(c.seconds);
        f->OKBid_Click();
        closeDialog();
        if (c.message) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, c.message);
            EXPECT_EQ(boxes.shown()[0].title, c.title);
            EXPECT_EQ(item(1), original) << "nothing written";
            EXPECT_NE(BidForm::Current(), nullptr) << "the dialog stays open";
            if (BidForm* open = BidForm::Current()) open->Exit_Click();
            closeDialog();
        } else {
            EXPECT_TRUE(boxes.shown().empty()) << boxes.shown()[0].text;
            EXPECT_EQ(item(1).MaxBid, c.maxBid);
            EXPECT_EQ(item(1).BidTimeSecs, c.leadTime);
            EXPECT_EQ(item(1).Quantity, c.quantity);
            EXPECT_EQ(item(1).UserID, kUser);
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastBidTime"), std::to_string(c.leadTime));
            EXPECT_EQ(BidForm::Current(), nullptr) << "Set Bid closes the dialog";
        }
    }
}

TEST_F(BidFormTest, SetBidRefusesAClosedItemAndOneWithoutAReadableEnd) {
    addItem("100");
    item(1).EndTime = endIn(-1);
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("12");
    f->OKBid_Click();
    item(1).EndTime = "sometime soon";
    f->OKBid_Click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "Error! This Item Has Closed");
    EXPECT_EQ(boxes.shown()[0].title, "Auction Item Closed");
    EXPECT_EQ(boxes.shown()[0].style, 4144);
    EXPECT_EQ(boxes.shown()[1].text, "Error! Item End Time Unknown");
    EXPECT_TRUE(item(1).MaxBid.empty());
}

TEST_F(BidFormTest, AmountsAreReadByTheUsersMarksAndWholeUnitItemsKeepNoDecimals) {
    struct Case {
        const char* locale;
        const char* typed;
        bool wholeUnits;
        TLMainBids::AmountCheck check;
        const char* canonical;
    } cases[] = {
        {"de_DE", "1.234,5", false, TLMainBids::AmountCheck::Ok, "1,234.50"},
        {"de_DE", "12,5", false, TLMainBids::AmountCheck::Ok, "12.50"},
        {"de_DE", "12.50", false, TLMainBids::AmountCheck::NotANumber, ""},
        {"de_DE", "1,234", false, TLMainBids::AmountCheck::Improper, ""},
        {"fr_FR", "1 234,5", false, TLMainBids::AmountCheck::Ok, "1,234.50"},
        {"en_US", "1,234,567.8", false, TLMainBids::AmountCheck::Ok, "1,234,567.80"},
        {"en_US", "1500", true, TLMainBids::AmountCheck::Ok, "1,500"},
        {"en_US", "1500.00", true, TLMainBids::AmountCheck::Ok, "1,500"},
        {"en_US", "1500.5", true, TLMainBids::AmountCheck::Improper, ""},
        {"en_US", "0.00", false, TLMainBids::AmountCheck::Improper, ""},
        {"en_US", "12.", false, TLMainBids::AmountCheck::Ok, "12.00"},
        {"en_US", "1.2.3", false, TLMainBids::AmountCheck::NotANumber, ""},
    };
    for (const auto& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        const TLMainBids::BidAmount a = TLMainBids::Canonical_Bid_Amount(c.typed, c.wholeUnits);
        EXPECT_EQ(a.check, c.check) << c.locale << " " << c.typed;
        if (c.check == TLMainBids::AmountCheck::Ok) EXPECT_EQ(a.canonical, c.canonical) << c.locale << " " << c.typed;
    }

    // Set Bid on an "NT$" item keeps whole units too.
    platform::setUserLocaleForTests("en_US");
    addItem("100", "NT$ 1,200");
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("1500");
    f->OKBid_Click();
    EXPECT_EQ(item(1).MaxBid, "1,500");
}

TEST_F(BidFormTest, SetBidArmsTheItemsItWasOpenedForAndSkipsFixedPriceOnes) {
    addItem("100");
    addItem("200");
    addItem("300");
    item(2).ListingType = "BIN";
    item(1).BidStatus = "Bid Placed";
    item(1).ResultDone = "1";
    modTLC::Set_Config_Value("Options", "AutoDialType", "1");
    BidForm* f = BidForm::Show_Bid_Form(1, 3, 1);
    ASSERT_NE(f, nullptr);
    // The list changes under the dialog: the items are found again by number.
    std::swap(TLMainItems::Items[1], TLMainItems::Items[3]);
    f->MaxBidAmt->setText("20");
    f->chkEmailOpt->setChecked(true);
    f->chkShutDnOpt->setChecked(true);
    boxes.answer(platform::vbYes);  // "Auto Dial Is Not Set! Do You Wish It Set?"
    f->OKBid_Click();

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Auto Dial Is Not Set! Do You Wish It Set?");
    EXPECT_EQ(boxes.shown()[0].style, 4132);
    for (const char* number : {"100", "300"}) {
        const auto& it = byNumber(number);
        EXPECT_EQ(it.MaxBid, "20.00") << number;
        EXPECT_EQ(it.BidTimeSecs, 15) << number;
        EXPECT_EQ(it.BidStatus, "") << number;
        EXPECT_EQ(it.ResultDone, "") << number;
        EXPECT_EQ(it.AfterBidOptions, "3") << number;
        EXPECT_EQ(it.DialBeforeBid, 1) << number;
    }
    EXPECT_TRUE(byNumber("200").MaxBid.empty());
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastAutoDial"), "1");
    EXPECT_NE(opLog().find(" - Multiple Bid Setup - Amt 20.00 - 15 - 3 - 1\r\n"), std::string::npos) << opLog();
    EXPECT_EQ(links.power.wakeups, 1);
    EXPECT_GE(grid.gridLoads, 1);
    EXPECT_TRUE(data.exists("Auction Items.dat"));
}

TEST_F(BidFormTest, SetBidRefusesAGroupChoiceTheGroupsCannotTake) {
    addItem("100");
    const struct {
        const char* group;
        const char* control;
        const char* message;
    } cases[] = {{"Pots", "pots", "Error! A Bid Group Can Not Control Itself."},
                 {"Pots=1", "", "Invalid Bid Group Name!"},
                 {"[Pots]", "", "Invalid Bid Group Name!"}};
    for (const auto& c : cases) {
        boxes.clear();
        BidForm* f = open({"100"});
        f->MaxBidAmt->setText("12");
        f->WTGroups->setEditText(c.group);
        f->WTCtrlGroups->addItem(c.control);
        f->WTCtrlGroups->setCurrentText(c.control);
        f->OKBid_Click();
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{c.message}) << c.group;
        EXPECT_TRUE(item(1).MaxBid.empty()) << c.group;
        f->Exit_Click();
        closeDialog();
    }

    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("12");
    f->WTGroups->setEditText("Pots");
    f->OKBid_Click();
    EXPECT_EQ(item(1).BidGroup, "Pots");
    EXPECT_EQ(item(1).GroupNeed, 1);
    EXPECT_NE(opLog().find(" - Bid Setup - bob - 100 - " + item(1).EndTime + " - 12.00 - 15 - 0 - 0 - Pots -  - 1\r\n"),
              std::string::npos)
        << opLog();
}

// ---- Cancel Bid and Clear ------------------------------------------------------------------------

TEST_F(BidFormTest, CancelBidDisarmsEveryItemAndKeepsTheWantedWins) {
    addItem("100");
    addItem("200");
    for (int i : {1, 2}) {
        auto& it = item(i);
        it.MaxBid = "12.00";
        it.BidGroup = "Pots";
        it.ControlGroup = "Pans";
        it.ConfirmRequest = "offer.ebay.com/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid";
        it.BidStatus = "Bid Validated";
        it.ResultDone = "1";
        it.GroupLock = 1;
        it.GroupNeed = 2;
        it.GroupWins = 1;
        it.BidTimeSecs = 10;
        it.DialBeforeBid = 1;
        it.AfterBidOptions = "3";
        it.Quantity = "4";
    }
    item(2).ListingType = "BIN";
    BidForm* f = BidForm::Show_Bid_Form(1, 2, 1);
    f->CancelBid_Click();
    for (int i : {1, 2}) {
        const auto& it = item(i);
        EXPECT_EQ(it.MaxBid, "");
        EXPECT_EQ(it.BidGroup, "");
        EXPECT_EQ(it.ControlGroup, "");
        EXPECT_EQ(it.ConfirmRequest, "");
        EXPECT_EQ(it.BidStatus, "");
        EXPECT_EQ(it.ResultDone, "");
        EXPECT_EQ(it.GroupLock, 0);
        EXPECT_EQ(it.BidTimeSecs, 0);
        EXPECT_EQ(it.DialBeforeBid, 0);
        EXPECT_EQ(it.AfterBidOptions, "0");
        EXPECT_EQ(it.Quantity, "1");
        EXPECT_EQ(it.GroupNeed, 2);
        EXPECT_EQ(it.GroupWins, 1);
    }
    EXPECT_TRUE(logged("Multiple Manual Bid Cancellation"));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(links.power.wakeups, 1);
    closeDialog();
    EXPECT_EQ(BidForm::Current(), nullptr);

    open({"200"})->CancelBid_Click();
    EXPECT_TRUE(logged("Bid Cancelled - Item 200"));
}

TEST_F(BidFormTest, ClearEmptiesTheShownItemsGroupAndLeavesTheDialogOpen) {
    addItem("100");
    auto& it = item(1);
    it.BidGroup = "Pots";
    it.ControlGroup = "Pans";
    it.GroupLock = 1;
    it.GroupNeed = 3;
    it.GroupWins = 1;
    it.MaxBid = "12.00";
    BidForm* f = open({"100"});
    f->cmdClrGrp_Click();
    EXPECT_EQ(it.BidGroup, "");
    EXPECT_EQ(it.ControlGroup, "");
    EXPECT_EQ(it.GroupLock, 0);
    EXPECT_EQ(it.GroupNeed, 0);
    EXPECT_EQ(it.GroupWins, 0);
    EXPECT_EQ(it.MaxBid, "12.00");
    EXPECT_EQ(f->WTReqWins->currentText(), "1");
    EXPECT_EQ(f->txtItemsWon->text(), "0");
    EXPECT_EQ(f->WTGroups->currentText(), "");
    EXPECT_EQ(BidForm::Current(), f);
}

// ---- Validate and Bid Now ------------------------------------------------------------------------

TEST_F(BidFormTest, BidNowAnsweredNoOrOnARunningRequestChangesNothing) {
    addItem("100");
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("12");
    boxes.answer(platform::vbNo);
    f->ManBid_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "WARNING! You are about to place an immediate bid. Do you wish to proceed?");
    EXPECT_EQ(boxes.shown()[0].title, "PLACE BID NOW");
    EXPECT_EQ(boxes.shown()[0].style, 4356);
    EXPECT_TRUE(item(1).MaxBid.empty());

    // A placed bid is asked about first.
    boxes.clear();
    item(1).BidStatus = "Bid Placed";
    boxes.answer(platform::vbNo);
    f->ManBid_Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"This bid has already been placed. Place it again?"});
    EXPECT_EQ(boxes.shown()[0].style, 4356);

    // A request of the item under way: refused, by Bid Now and by Validate.
    for (const char* status : {"Validating Bid", "Placing Bid"}) {
        boxes.clear();
        item(1).BidStatus = status;
        f->ManBid_Click();
        EXPECT_FALSE(f->ValidateBid());
        EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Error! Bid Request In Progress For This Item.",
                                                          "Error! Bid Request In Progress For This Item."}))
            << status;
    }
    EXPECT_TRUE(item(1).MaxBid.empty());
    EXPECT_EQ(requestsTo("/ws/eBayISAPI.dll").size(), 0u);
}

TEST_F(BidFormTest, ValidateRefusesWhatItCannotSendAndKeepsWholeUnits) {
    addItem("100", "NT$ 1,200");
    BidForm* f = open({"100"});
    const struct {
        const char* amount;
        const char* quantity;
        const char* message;
    } cases[] = {{"", "1", "Error! No Bid or Invalid Bid Entered."},
                 {"abc", "1", "Error! No Bid or Invalid Bid Entered."},
                 {"0", "1", "Error! Improper Bid Amount."},
                 {"1500.5", "1", "Error! Improper Bid Amount."},
                 {"1500", "0", "Invalid Item Quantity"}};
    for (const auto& c : cases) {
        boxes.clear();
        f->MaxBidAmt->setText(c.amount);
        f->ItemQtyBox->setText(c.quantity);
        EXPECT_FALSE(f->ValidateBid()) << c.amount;
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message}) << c.amount;
    }
    EXPECT_TRUE(item(1).MaxBid.empty());

    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::Confirm);
    item(1).BidTimeSecs = 15;  // armed, an hour before its end
    f->MaxBidAmt->setText("$1500");
    f->ItemQtyBox->setText("1");
    EXPECT_TRUE(f->ValidateBid());
    EXPECT_EQ(f->MaxBidAmt->text(), "1500");
    EXPECT_EQ(item(1).MaxBid, "1,500");
    run(8);
    EXPECT_EQ(item(1).BidStatus, "Bid Validated");
    EXPECT_EQ(bidPages->makeBids("100"), 1u);
    EXPECT_EQ(bidPages->acceptBids("100"), 0u);
}

TEST_F(BidFormTest, BidNowValidatesThenPlacesOnceAndTheDialogStaysOpen) {
    addItem("100");
    item(1).BidTimeSecs = 15;  // armed, an hour before its end
    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::Confirm);
    bidPages->setAcceptBid("100", AcceptBidAnswer::HighBidder);
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("12.5");
    f->ManBid_Click();
    EXPECT_TRUE(TLMainBids::Manual_Bid_Waiting("100"));
    // Validate and Bid Now again while it waits: refused.
    boxes.clear();
    f->ManBid_Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Error! Bid Request In Progress For This Item."});

    run(12);
    EXPECT_FALSE(TLMainBids::Manual_Bid_Waiting("100"));
    EXPECT_EQ(item(1).BidStatus, "Bid Placed");
    EXPECT_EQ(item(1).MaxBid, "12.50");
    EXPECT_EQ(bidPages->makeBids("100"), 1u);
    EXPECT_EQ(bidPages->acceptBids("100"), 1u);
    EXPECT_TRUE(logged("Placing Manual Bid for Item - 100"));
    EXPECT_EQ(BidForm::Current(), f);
    EXPECT_FALSE(refresh.refreshed.empty()) << "the item is shown again";

    // A placed bid asks before it is placed again; answered yes, it goes once more.
    boxes.clear();
    item(1).BidTimeSecs = 15;
    f->ManBid_Click();
    run(12);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"This bid has already been placed. Place it again?",
                                                      "WARNING! You are about to place an immediate bid. Do you wish to proceed?"}));
    EXPECT_EQ(bidPages->acceptBids("100"), 2u);
}

TEST_F(BidFormTest, BidNowWhoseValidationFailsPlacesNothingAndSaysSo) {
    addItem("100");
    item(1).BidTimeSecs = 15;
    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::MinimumBid);
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("1");
    f->ManBid_Click();
    run(20);
    EXPECT_EQ(item(1).BidStatus, "Validation Failed");
    EXPECT_EQ(bidPages->acceptBids("100"), 0u);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, "Error! Bid Validation Failed!");
    EXPECT_EQ(boxes.shown()[1].title, "Bid Failed");
}

// A lead time at or beyond the time left would bid at once: it is asked as Bid Now, No by default.
TEST_F(BidFormTest, ALeadTimeBeyondTheTimeLeftIsAskedAsBidNow) {
    addItem("100");  // ends in an hour
    const TLMainItems::AuctionItem original = item(1);
    for (int answer : {platform::vbNo, platform::vbYes}) {
        boxes.clear();
        boxes.answer(answer);
        BidForm* f = open({"100"});
        f->MaxBidAmt->setText("12");
        f->txtBidTimeMin->setText("99999");
        f->txtBidTimeSec->setText("0");
        f->OKBid_Click();
        closeDialog();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].title, "PLACE BID NOW");
        EXPECT_EQ(boxes.shown()[0].style, 4356);
        if (answer == platform::vbNo) {
            EXPECT_EQ(item(1), original) << "nothing armed";
            if (BidForm* still = BidForm::Current()) still->Exit_Click();
            closeDialog();
        } else {
            EXPECT_EQ(item(1).BidTimeSecs, 99999 * 60);
        }
    }
    EXPECT_EQ(fake ? bidPages->makeBids("100") : 0u, 0u) << "nothing sent from the dialog";
}

// While "PLACE BID NOW" is up the scheduler reaches the bid second and places the bid: a Yes then
// asks "place it again" first, and No sends nothing more.
TEST_F(BidFormTest, BidNowAfterTheScheduledBidAsksBeforeASecondOffer) {
    addItem("100");
    item(1).EndTime = endIn(40);
    item(1).MaxBid = "12.00";
    item(1).BidTimeSecs = 15;
    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::Confirm);
    bidPages->setAcceptBid("100", AcceptBidAnswer::HighBidder);
    BidForm* f = open({"100"});
    f->MaxBidAmt->setText("12");
    boxes.whileShown = [&](const std::string& text) {
        if (text.rfind("WARNING!", 0) == 0) run(110);  // 27.5 s: validated at -45 s, placed at -15 s
    };
    boxes.answer(platform::vbYes);  // PLACE BID NOW
    boxes.answer(platform::vbNo);   // Place it again?
    f->ManBid_Click();
    boxes.whileShown = nullptr;
    run(8);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"WARNING! You are about to place an immediate bid. Do you wish to proceed?",
                                                      "This bid has already been placed. Place it again?"}));
    EXPECT_EQ(bidPages->acceptBids("100"), 1u);
    EXPECT_EQ(bidPages->makeBids("100"), 1u);
}

// Set Bid, Cancel Bid and Clear wait while the item's validation or placing runs: its answer would
// otherwise land on the new set-up.
TEST_F(BidFormTest, SetUpChangesAreRefusedWhileABidRequestRuns) {
    addItem("100");
    item(1).MaxBid = "12.00";
    item(1).BidTimeSecs = 15;
    item(1).BidGroup = "pots";
    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::Confirm);
    TLMainBids::Validate_Bid(1);
    ASSERT_TRUE(TLMainBids::Bid_Request_Running("100"));
    const TLMainItems::AuctionItem running = item(1);
    struct C { const char* what; std::function<void(BidForm*)> press; };
    const C cases[] = {
        {"Set Bid", [](BidForm* f) { f->MaxBidAmt->setText("20"); f->OKBid_Click(); }},
        {"Cancel Bid", [](BidForm* f) { f->CancelBid_Click(); }},
        {"Clear", [](BidForm* f) { f->cmdClrGrp_Click(); }},
    };
    for (const C& c : cases) {
        boxes.clear();
        BidForm* f = open({"100"});
        c.press(f);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Error! Bid Request In Progress For This Item."}) << c.what;
        EXPECT_EQ(item(1), running) << c.what;
        if (BidForm* still = BidForm::Current()) still->Exit_Click();
        closeDialog();
    }
    run(8);
    EXPECT_EQ(item(1).BidStatus, "Bid Validated");
}

// The offer is on disk as "Placing Bid" before it leaves, so a program that ends now comes back
// knowing the bid may be out: the restart makes it "Bid Placed" and no second offer goes.
TEST_F(BidFormTest, APlacingBidIsSavedBeforeItsOfferLeaves) {
    addItem("100");
    item(1).MaxBid = "12.00";
    item(1).BidTimeSecs = 15;
    serve();
    bidPages->setMakeBid("100", MakeBidAnswer::Confirm);
    bidPages->setAcceptBid("100", AcceptBidAnswer::HighBidder);
    TLMainBids::Validate_Bid(1);
    run(8);
    ASSERT_EQ(item(1).BidStatus, "Bid Validated");
    TLMainItems::Save_Auction_Items();
    TLMainBids::Place_Bid(1);
    ASSERT_EQ(item(1).BidStatus, "Placing Bid");

    // The program ends with the offer out: what the next start reads.
    TLMainBids::ResetBidRequestsForTests();
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(item(1).BidStatus, "Placing Bid");
    TLMainBids::Restore_Bid_Statuses();
    EXPECT_EQ(item(1).BidStatus, "Bid Placed");
    EXPECT_EQ(item(1).BidTimeSecs, 0) << "the scheduler never bids it again";
}

}  // namespace
