#include <gtest/gtest.h>

#include "grid_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class ItemPhotoTest : public ItemGridTest {
protected:
    void SetUp() override {
        ItemGridTest::SetUp();
        for (const char* n : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}) addItem(n);
        Load_ItemGrid();
        model.Area = {0, 1000, 9000, 6000};
        data.write("Item Photos/10.jpg", "jpeg");
        data.write("Item Photos/1.jpg", "jpeg");
    }
};

struct PhotoCase {
    const char* what;
    const char* photoSize;
    long pictureW, pictureH;  // as the frame measures the file
    long row;
    TwipRect picture, frame;
    bool noPhoto;
};

TEST_F(ItemPhotoTest, ScalesThePhotoIntoItsBoxAndPlacesItBesideTheRow) {
    // Row 10's top is 1000 + 240 × 10: a frame up to 2420 high fits above it, a taller one goes
    // below the row, as near the grid's top.
    const PhotoCase cases[] = {
        {"landscape 4:3", "3", 400, 300, 10, {20, 20, 2500, 1875}, {1650, 3400 - 1915 + 20, 2540, 1915}, false},
        {"portrait 3:4", "3", 300, 400, 10, {20, 20, 1875, 2500}, {1650, 3400 + 240 + 30, 1915, 2540}, false},
        {"square", "3", 500, 500, 10, {20, 20, 2500, 2500}, {1650, 3400 + 240 + 30, 2540, 2540}, false},
        {"the smallest box", "0", 400, 300, 10, {20, 20, 1000, 750}, {1650, 3400 - 790 + 20, 1040, 790}, false},
        {"a size that does not read keeps the last side", "big", 400, 300, 10, {20, 20, 1000, 750},
         {1650, 3400 - 790 + 20, 1040, 790}, false},
        {"too near the grid's top: below the row", "3", 400, 300, 1, {20, 20, 2500, 1875},
         {1650, 1240 + 240 + 30, 2540, 1915}, false},
        {"no photo", "3", 400, 300, 2, {20, 20, 2500, 2500}, {1650, 1480 + 240 + 30, 1500, 1000}, true},
    };
    for (const auto& c : cases) {
        modTLC::Set_Config_Value("Options", "PhotoSize", c.photoSize);
        photo.pictureWidth = c.pictureW;
        photo.pictureHeight = c.pictureH;
        Show_Item_Photo(c.row);
        const auto& shown = photo.placed.at(0);
        EXPECT_EQ(shown.frame, c.frame) << c.what;
        EXPECT_EQ(shown.noPhoto, c.noPhoto) << c.what;
        EXPECT_TRUE(shown.visible) << c.what;
        if (!c.noPhoto) EXPECT_EQ(shown.picture, c.picture) << c.what;
    }
    EXPECT_EQ(photo.clears, 1);
    EXPECT_EQ(photo.loaded.back(), data.path("Item Photos/1.jpg"));
    EXPECT_EQ(PhotoBoxWidth, 2500);
    EXPECT_EQ(PhotoBoxHeight, 2500);
}

TEST_F(ItemPhotoTest, ARightPressEnlargesThePhotoByAStep) {
    photo.pictureWidth = 400;
    photo.pictureHeight = 300;
    Show_Item_Photo(10);  // 2500 × 1875 in a frame at 1650, 1505
    Scale_Item_Photo(0);
    const auto& shown = photo.placed.at(0);
    EXPECT_EQ(shown.picture, (TwipRect{10, 10, 3500, 2625}));
    EXPECT_EQ(shown.frame, (TwipRect{1650 - 250, 1318, 3525, 2650}));  // 187.5 up, halves to even
    EXPECT_FLOAT_EQ(PhotoAspect, 0.75f);
    Scale_Item_Photo(3);  // no such photo: nothing
    EXPECT_EQ(photo.placed.count(3), 0u);
}

TEST_F(ItemPhotoTest, HidingThePhotoTellsTheFrame) {
    photo.pictureWidth = 400;
    photo.pictureHeight = 300;
    Show_Item_Photo(10);
    EXPECT_TRUE(Photo_Shown(0));
    Hide_Item_Photo(0);
    EXPECT_FALSE(Photo_Shown(0));
    EXPECT_FALSE(photo.placed.at(0).visible);
}

}  // namespace
