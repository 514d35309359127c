// The main window as the program puts it together, with its own grid: the selection stays on its
// items when the rows move, the commands on the selected items take rows selected in any column,
// the details follow the item a list refresh works on, the wheel scrolls one row a turn, and the
// exit question keeps the program on Enter.
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "bidding/bid_form.h"
#include "bidding/deferred_requests.h"
#include "fake_item_pages.h"
#include "fake_service.h"
#include "items/add_item.h"
#include "items/delete_items.h"
#include "mainwindow/item_grid_view.h"
#include "tl_main_fixture.h"

using namespace testsupport;

namespace {

class Selection : public TLMainTest {
protected:
    void TearDown() override {
        if (BidForm* form = BidForm::Current()) form->close();
        TLMainTest::TearDown();
    }
    // The list of these items (category "Default", on show), stored, and the window loaded and shown.
    TLMain& loadWithItems(std::initializer_list<const char*> numbers, std::initializer_list<Setting> settings = {}) {
        modTLC::Set_Config_Value("Categories", "Default", "1");
        long secs = 0;
        for (const char* n : numbers) addItem(n, secs += 86400);  // a day apart, in this order
        TLMainItems::Save_Auction_Items();
        TLMain& w = loadQuiet(settings);
        w.resize(1000, 600);
        w.show();
        QApplication::processEvents();
        return w;
    }
    // A left click as the user makes it on a cell of the grid (row from 1).
    static void clickCell(TLMain& w, int row, int col, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* port = w.ItemGrid->viewport();
        const QPointF at = w.ItemGrid->visualRect(w.ItemGrid->model()->index(row - 1, col)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, port->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, mods);
        QApplication::sendEvent(port, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, port->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, mods);
        QApplication::sendEvent(port, &release);
    }
    static std::string shownItem(TLMain& w) { return w.itemNumberText(); }
    static void pressKey(QWidget& target, int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &down);
    }
};

// An item added to the list sorts in above the selected one: the selection, the item number and
// the seller stay with the selected item, and Delete asks about it and deletes it, not the neighbour
// that took its row. The row is selected by a click in the column of the case; before it, another
// item's details were shown.
class SelectionByColumn : public Selection, public ::testing::WithParamInterface<int> {};

TEST_P(SelectionByColumn, AnAddSortedInAboveKeepsTheSelectionAndDeleteTakesTheSelectedItem) {
    FakeService service;
    service.useForClient();
    TLMain& w = loadWithItems({"101", "102", "103"}, {{"Options", "ShowBidSetup", "0"}});
    UserState::CurrentUserID = "buyer1";
    ItemPageContent added;
    added.itemNumber = "100";
    added.title = "Leica M3 body";
    added.endDate = "Jun 01, 2026";  // today, before the others: it sorts to the top
    added.endTime = "10:00:00";
    ItemPages page(service, modTLMain::National_Site(0)->itemHost, "100");
    page.setItemPage(itemPageHtml(added));
    clickCell(w, 1, TLMainItems::kColDescription);
    clickCell(w, 2, GetParam());
    ASSERT_EQ(TLMainItems::ItemGrid().Row(), 2);

    w.setItemNumberText("100");
    TLMainItems::Add_Auction_Item();
    ASSERT_EQ(TLMainItems::ItemCount, 4);
    ASSERT_EQ(item(1).ItemNumber, "100") << "the new item sorts first";

    EXPECT_EQ(TLMainItems::ItemGrid().Row(), 3);
    EXPECT_EQ(shownItem(w), "102");
    EXPECT_EQ(w.labSeller->text().toStdString(), "Seller: seller (12) 99.5%");
    boxes.answer(platform::vbYes);
    w.Toolbar1_ButtonClick("DeleteItem");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Delete Auction Item - 102\r\n\r\n\"Item 102\" ?");
    std::vector<std::string> left;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) left.push_back(item(i).ItemNumber);
    EXPECT_EQ(left, (std::vector<std::string>{"100", "101", "103"}));
}

INSTANTIATE_TEST_SUITE_P(AnyColumn, SelectionByColumn,
                         ::testing::Values(TLMainItems::kColDescription, TLMainItems::kColItemNumber,
                                           TLMainItems::kColHighBid));

// Rows selected by their "Item #" cells: Setup Bid opens the bid set-up for them.
TEST_F(Selection, SetupBidTakesRowsSelectedInTheItemNumberColumn) {
    TLMain& w = loadWithItems({"101", "102", "103"});
    UserState::CurrentUserID = "buyer1";
    clickCell(w, 2, TLMainItems::kColItemNumber);
    w.Toolbar1_ButtonClick("BidSetup");
    ASSERT_NE(BidForm::Current(), nullptr);
    EXPECT_EQ(BidForm::Current()->dialogItem(), "102");
    BidForm::Current()->close();

    clickCell(w, 3, TLMainItems::kColItemNumber, Qt::ShiftModifier);
    w.Toolbar1_ButtonClick("BidSetup");
    ASSERT_NE(BidForm::Current(), nullptr);
    EXPECT_EQ(BidForm::Current()->itemNumbers(), (std::vector<std::string>{"102", "103"}));
}

// A list refresh started as the scheduler starts it: the click on each item it works on is not
// refused as busy, and at its end the row selected before is shown again, the summary kept.
TEST_F(Selection, TheDetailsFollowAListRefreshAndComeBackAtItsEnd) {
    FakeService service;
    service.useForClient();
    std::vector<std::unique_ptr<ItemPages>> pages;
    TLMain& w = loadWithItems({"101", "102", "103"});
    for (const char* n : {"101", "102", "103"}) {
        ItemPageContent c;
        c.itemNumber = n;
        c.endDate = "Jun 05, 2026";
        pages.push_back(std::make_unique<ItemPages>(service, modTLMain::National_Site(0)->itemHost, n));
        pages.back()->setItemPage(itemPageHtml(c));
    }
    clickCell(w, 2, TLMainItems::kColDescription);
    w.setItemNumberText("");

    TLMainState::ManualUpdateRequest = -1;
    TLMainBids::File_Request("DoUpdateItems");
    TLMainBids::RequestHandler_Timer();

    EXPECT_EQ(w.statusText().rfind("Update Completed - 3 Items - ", 0), 0u) << w.statusText();
    EXPECT_EQ(shownItem(w), "102");
    EXPECT_EQ(TLMainItems::ItemGrid().Row(), 2);
    EXPECT_EQ(TLMainState::UpdateBusy, 0);

    // The end times alone (Shift and Ctrl on the button): the grid's load shows its item again.
    w.setItemNumberText("");
    TLMainState::KeyShiftState = 3;
    w.Toolbar1_ButtonClick("UpdateAll");
    EXPECT_EQ(w.statusText(), "Ending Time Update Completed....");
    EXPECT_EQ(shownItem(w), "102");
}

// One turn of the wheel over the grid moves its first row by one, down or up.
TEST_F(Selection, TheWheelScrollsTheGridOneRowATurn) {
    std::vector<std::string> numbers;
    for (int i = 0; i < 60; ++i) numbers.push_back(std::to_string(200 + i));
    modTLC::Set_Config_Value("Categories", "Default", "1");
    for (const std::string& n : numbers) addItem(n, 3600 + 60 * static_cast<long>(numbers.size()));
    TLMainItems::Save_Auction_Items();
    TLMain& w = loadQuiet();
    w.resize(1000, 500);
    w.show();
    QApplication::processEvents();
    w.ItemGrid->setFocus();
    const auto turn = [&](int delta, bool sideways = false) {
        QWidget* port = w.ItemGrid->viewport();
        const QPointF at(port->width() / 2.0, port->height() / 2.0);
        const QPoint angle = sideways ? QPoint(delta, 0) : QPoint(0, delta);
        QWheelEvent wheel(at, port->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(port, &wheel);
        QApplication::processEvents();
        return TLMainItems::ItemGrid().TopRow();
    };
    EXPECT_EQ(TLMainItems::ItemGrid().TopRow(), 1);
    EXPECT_EQ(turn(-120), 2);
    EXPECT_EQ(w.ItemGrid->verticalScrollBar()->value(), 1);
    EXPECT_EQ(turn(-120), 3);
    EXPECT_EQ(turn(120), 2);
    EXPECT_EQ(turn(120), 1);
    EXPECT_EQ(turn(120), 1);

    // A window narrower than the columns: a sideways turn scrolls them, and the rows stay.
    w.resize(400, 500);
    QApplication::processEvents();
    ASSERT_GT(w.ItemGrid->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(turn(-120, true), 1);
    EXPECT_GT(w.ItemGrid->horizontalScrollBar()->value(), 0);
}

// Enter pressed by reflex on the pending-bids question, or Esc, keeps the program: "No" has the
// focus; the buttons are "Yes" and "No" in that order, and "Yes" still ends.
TEST_F(Selection, EnterOrEscOnThePendingBidsQuestionKeepsTheProgram) {
    const struct {
        const char* name;
        std::function<void(Messages&)> user;
        bool kept;
    } cases[] = {
        {"Enter", [](Messages& m) { pressKey(m, Qt::Key_Return); }, true},
        {"Esc", [](Messages& m) { pressKey(m, Qt::Key_Escape); }, true},
        {"Enter from the check box",
         [](Messages& m) {
             m.Check1->setFocus();
             pressKey(m, Qt::Key_Return);
         },
         true},
        {"Yes", [](Messages& m) { m.clickButton(1); }, false},
    };
    for (const auto& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = load({{"Options", "ClosetoTray", "0"}, {"Options", "BidsPendWarning", "1"}});
        addArmedItem("100", 3600, 10, "");
        bool noFocused = false;
        std::string captions;
        answers.push_back([&](Messages& m) {
            noFocused = m.focusWidget() == m.cmdBtn2;
            captions = m.buttonCaption(1) + "/" + m.buttonCaption(2);
            c.user(m);
        });
        EXPECT_EQ(w.Form_QueryUnload(1), c.kept) << c.name;
        EXPECT_TRUE(noFocused) << c.name;
        EXPECT_EQ(captions, "Yes/No") << c.name;
        answers.clear();
    }
}

}  // namespace
