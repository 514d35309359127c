#include <gtest/gtest.h>

#include <QDir>

#include "grid_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class CategoriesTest : public ItemGridTest {
protected:
    void SetUp() override {
        ItemGridTest::SetUp();
        modTLC::Delete_Config_Key("Categories", "Cameras");
        modTLC::Delete_Config_Key("Categories", "Lenses");
        ResetCategoriesForTests();
    }
    // [Categories] as name=value lines in file order.
    static std::vector<std::string> section() {
        std::vector<std::string> out;
        for (const auto& k : modTLC::Get_Section_Keys("Categories"))
            out.push_back(k + "=" + modTLC::Get_Config_Value("Categories", k));
        return out;
    }
    void categories(std::initializer_list<std::pair<const char*, const char*>> keys) {
        for (const auto& [name, value] : keys) modTLC::Set_Config_Value("Categories", name, value);
        Load_Categories_Menu();
    }
};

TEST_F(CategoriesTest, SortMenuSortsWithoutRegardToCase) {
    EXPECT_EQ(Sort_Menu({"beta", "Alpha", "gamma"}), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(Sort_Menu({"one"}), (std::vector<std::string>{"one"}));
    EXPECT_EQ(Sort_Menu({}), std::vector<std::string>{});
}

struct BuildCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> keys;
    std::vector<std::string> menu;
    int current;
};

TEST_F(CategoriesTest, TheMenusListTheCategoriesSortedWithTheCurrentOneChecked) {
    const BuildCase cases[] = {
        {"the one holding 1", {{"Zeta", "0"}, {"alpha", "1"}, {"Beta", "0"}}, {"alpha", "Beta", "Zeta"}, 0},
        {"none holds 1: the first", {{"Zeta", "0"}, {"alpha", "0"}, {"Beta", "0"}}, {"alpha", "Beta", "Zeta"}, 0},
        {"two hold 1: the later", {{"Zeta", "1"}, {"alpha", "0"}, {"Beta", "1"}}, {"alpha", "Beta", "Zeta"}, 2},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        for (const auto& [name, value] : c.keys) modTLC::Set_Config_Value("Categories", name, value);
        Load_Categories_Menu();
        EXPECT_EQ(CategoryNames, c.menu) << c.what;
        EXPECT_EQ(CurrentCategoryIndex, c.current) << c.what;
        EXPECT_EQ(window.caption, "Tolvane Rerode II  -  User: buyer1  -  Category: " + c.menu[c.current]) << c.what;
    }
    const int builds = window.categoryBuilds;
    modTLC::ResetForTests();  // no keys: the menus and the caption stay
    Load_Categories_Menu();
    EXPECT_EQ(CategoryNames, cases[2].menu);
    EXPECT_EQ(CurrentCategoryIndex, 2);
    EXPECT_EQ(window.categoryBuilds, builds);
}

TEST_F(CategoriesTest, SelectingACategoryStoresItAndShowsItsItems) {
    categories({{"Cameras", "1"}, {"Lenses", "0"}});
    addItem("1");
    addItem("2", "Lenses");
    Load_ItemGrid();
    GridRestoreRow = 5;
    MnuSubSelectAucCat_Click(1);
    EXPECT_EQ(CurrentCategoryIndex, 1);
    EXPECT_EQ(section(), (std::vector<std::string>{"Cameras=0", "Lenses=1"}));
    EXPECT_EQ(window.caption, "Tolvane Rerode II  -  User: buyer1  -  Category: Lenses");
    EXPECT_EQ(ItemOrder, (std::vector<long>{0, 2}));
    EXPECT_EQ(model.Row(), 1);

    TLMainState::UpdateBusy = -1;
    MnuSubSelectAucCat_Click(0);
    EXPECT_EQ(status.status, kBusy);
    EXPECT_EQ(CurrentCategoryIndex, 1);
}

TEST_F(CategoriesTest, F7StepsToTheNextCategoryAndFromTheLastToTheFirst) {
    categories({{"A", "0"}, {"B", "0"}, {"C", "1"}});
    const int expected[] = {0, 1, 2, 0};
    for (int want : expected) {
        Change_Category_Click();
        EXPECT_EQ(CurrentCategoryIndex, want);
    }
    modTLC::ResetForTests();
    ResetCategoriesForTests();
    categories({{"Only", "1"}});
    Change_Category_Click();
    EXPECT_EQ(CurrentCategoryIndex, 0);
    EXPECT_EQ(section(), (std::vector<std::string>{"Only=1"}));
}

struct AddCase {
    const char* what;
    const char* typed;
    std::vector<std::string> menu;
    const char* current;
    const char* status;
};

TEST_F(CategoriesTest, AddingANameMakesItCurrentAndRefusesWhatTheStoreCannotKeep) {
    const AddCase cases[] = {
        {"a new name", "Tripods", {"Cameras", "Lenses", "Tripods"}, "Tripods", ""},
        {"trimmed", "  Flashes ", {"Cameras", "Flashes", "Lenses", "Tripods"}, "Flashes", ""},
        {"the same letters in another case: the existing one", "lenses", {"Cameras", "Flashes", "Lenses", "Tripods"},
         "Lenses", ""},
        {"cancelled", "", {"Cameras", "Flashes", "Lenses", "Tripods"}, "Lenses", ""},
        {"an equals sign", "a=b", {"Cameras", "Flashes", "Lenses", "Tripods"}, "Lenses", kInvalidCategoryName},
        {"a bracket", "[Options]", {"Cameras", "Flashes", "Lenses", "Tripods"}, "Lenses", kInvalidCategoryName},
        {"a line break", "two\nlines", {"Cameras", "Flashes", "Lenses", "Tripods"}, "Lenses", kInvalidCategoryName},
        {"a name too long for a menu (65 letters)", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
         {"Cameras", "Flashes", "Lenses", "Tripods"}, "Lenses", kInvalidCategoryName},
    };
    categories({{"Cameras", "1"}, {"Lenses", "0"}});
    for (const auto& c : cases) {
        status.setStatus("");
        inputs.answer(c.typed);
        MnuSubAddAucCat_Click();
        EXPECT_EQ(CategoryNames, c.menu) << c.what;
        EXPECT_EQ(Current_Category_Name(), c.current) << c.what;
        EXPECT_EQ(modTLC::Get_Config_Value("Categories", c.current), "1") << c.what;
        EXPECT_EQ(status.status, c.status) << c.what;
    }
    ASSERT_FALSE(inputs.asked().empty());
    EXPECT_EQ(inputs.asked()[0].prompt, "Enter New Category Name.");
    EXPECT_EQ(inputs.asked()[0].title, "Add Category");
    EXPECT_EQ(modTLC::Get_Config_Value("Categories", "Lenses"), "1");  // the key kept its own case
}

TEST_F(CategoriesTest, DeletingACategoryDeletesItsItemsAfterTheUserAgrees) {
    categories({{"Cameras", "1"}, {"Lenses", "0"}, {"Tripods", "0"}});
    addItem("1");
    addItem("2", "Lenses");
    addItem("3");
    addItem("4", "lenses");  // another name
    Load_ItemGrid();

    boxes.answer(platform::vbNo);
    MnuSubDeleteAucCat_Click(1);
    EXPECT_EQ(ItemCount, 4);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "WARNING! ALL AUCTION ITEMS IN THIS CATEGORY WILL BE DELETED. \r\n\r\nDELETE CATEGORY \"Lenses\"");
    EXPECT_EQ(boxes.shown()[0].style, 4404);
    EXPECT_EQ(boxes.shown()[0].title, "Delete Category");

    boxes.answer(platform::vbYes);
    MnuSubDeleteAucCat_Click(1);
    ASSERT_EQ(ItemCount, 3);
    EXPECT_EQ(item(1).ItemNumber, "1");
    EXPECT_EQ(item(2).ItemNumber, "3");
    EXPECT_EQ(item(3).ItemNumber, "4");
    EXPECT_EQ(CategoryNames, (std::vector<std::string>{"Cameras", "Tripods"}));
    EXPECT_EQ(Current_Category_Name(), "Cameras");  // another category stays on show
    EXPECT_EQ(ItemOrder, (std::vector<long>{0, 1, 2}));
    EXPECT_EQ(status.status, kCategoryDeleted);
    Load_Auction_Items();
    EXPECT_EQ(ItemCount, 3);

    boxes.answer(platform::vbYes);
    MnuSubDeleteAucCat_Click(0);  // the current one: the first left becomes current
    EXPECT_EQ(CategoryNames, (std::vector<std::string>{"Tripods"}));
    EXPECT_EQ(Current_Category_Name(), "Tripods");
    EXPECT_EQ(modTLC::Get_Config_Value("Categories", "Tripods"), "1");
    EXPECT_EQ(GridRowCount, 0);
    EXPECT_EQ(ItemCount, 1);

    boxes.clear();
    MnuSubDeleteAucCat_Click(0);  // the last category stays, unasked
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(CategoryNames.size(), 1u);
}

TEST_F(CategoriesTest, AfterAFailedSaveTheListKeepsWhatTheDeleteLeft) {
    categories({{"Cameras", "1"}, {"Lenses", "0"}});
    addItem("1");
    addItem("2", "Lenses");
    QDir().mkpath(QString::fromStdString(data.path("Auction Items.dat")));  // no file can go there
    boxes.answer(platform::vbYes);
    MnuSubDeleteAucCat_Click(1);
    ASSERT_EQ(ItemCount, 1);  // not read back from the old file
    EXPECT_EQ(item(1).ItemNumber, "1");
    EXPECT_EQ(ItemOrder, (std::vector<long>{0, 1}));
}

TEST_F(CategoriesTest, DeletingWaitsForOtherWorkOnTheItems) {
    categories({{"Cameras", "1"}, {"Lenses", "0"}});
    addItem("1", "Lenses");
    struct Busy { const char* what; void (*set)(); };
    const Busy cases[] = {
        {"a download", [] { TLMainState::DownloadBusy = -1; }},
        {"a list refresh", [] { TLMainState::UpdateBusy = -1; }},
        {"a refresh of the selected rows", [] { TLMainState::SelectedUpdateBusy = -1; }},
        {"a bid being placed", [] { item(1).BidStatus = "Placing Bid"; }},
    };
    for (const auto& c : cases) {
        TLMainState::ResetForTests();
        item(1).BidStatus.clear();
        c.set();
        boxes.clear();
        status.setStatus("");
        MnuSubDeleteAucCat_Click(1);
        EXPECT_EQ(status.status, kBusy) << c.what;
        EXPECT_TRUE(boxes.shown().empty()) << c.what;
        EXPECT_EQ(ItemCount, 1) << c.what;
    }
}

}  // namespace
