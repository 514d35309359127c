// The grid's layouts for the item view and the two feedback views.
#include <gtest/gtest.h>

#include "account/feedback_grid.h"
#include "account_fixture.h"

using namespace testsupport;
using namespace TLMainAccount;

namespace {

class FeedbackGridTest : public AccountTest {
protected:
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    long sumOfWidths() const {
        long s = 0;
        for (int c = 0; c < TLMainItems::kGridCols; ++c) s += g.ColWidth(c);
        return s;
    }
};

TEST_F(FeedbackGridTest, TheItemViewTakesItsColumnsFromTheSettings) {
    struct Case { const char* columns; std::vector<long> widths; };
    const Case cases[] = {
        {nullptr, {250, 1350, -1, 1170, 750, 450, 1600, 2200, 900, 900}},  // no key: every column
        {"0", {0, 0, -1, 1170, 750, 450, 0, 0, 0, 0}},
        {"4", {0, 0, -1, 1170, 750, 450, 0, 2200, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns ? c.columns : "none");
        if (c.columns) modTLC::Set_Config_Value("Options", "Columns", c.columns);
        TLMainItems::GridViewMode = 0;
        Load_Feedback_Grid();
        for (int col = 0; col < 10; ++col) {
            if (c.widths[static_cast<size_t>(col)] >= 0) {
                EXPECT_EQ(g.ColWidth(col), c.widths[static_cast<size_t>(col)]) << col;
            }
        }
        EXPECT_EQ(sumOfWidths(), 12000 - 330);  // the description takes the rest
        EXPECT_EQ(g.Rows(), 5);
        EXPECT_EQ(g.HeaderAlignment(5), 3);
        EXPECT_EQ(g.ColAlignment(2), 0);
        EXPECT_EQ(g.ColAlignment(8), 0);
        EXPECT_EQ(g.ColAlignment(9), 3);
        EXPECT_FALSE(g.HeaderBold());
    }
    modTLC::Set_Config_Value("Options", "ColWidth3", "wide");  // not a number: the default
    g.Area.width = 2000;                                       // narrower than the columns
    Load_Feedback_Grid();
    EXPECT_EQ(g.ColWidth(3), 1170);
    EXPECT_EQ(g.ColWidth(2), TLMainItems::kRestColumnMinimum);
}

TEST_F(FeedbackGridTest, FeedbackViewsWithoutEntriesKeepTheirHeaderAndThreeRows) {
    TLMainItems::GridViewMode = 1;
    Load_Feedback_Grid();
    EXPECT_EQ(g.Rows(), 4);
    const char* headers[] = {"Item #", "User ID", "Date", "Item Description"};
    const long widths[] = {1350, 1350, 1000, 12000 - 3700 - 330};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.TextMatrix(0, c), headers[c]);
        EXPECT_EQ(g.ColWidth(c), widths[c]);
    }
    EXPECT_EQ(g.ColAlignment(3), 0);
    EXPECT_EQ(g.ColWidth(4), 0);

    TLMainItems::GridViewMode = 2;
    g.Area.width = 3000;
    Load_Feedback_Grid();
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(0, 0), "\r\n\r\nF");
    EXPECT_EQ(g.TextMatrix(0, 3), "\r\n\r\nDate");
    EXPECT_EQ(g.ColWidth(1), TLMainItems::kRestColumnMinimum);
    EXPECT_EQ(g.ColWidth(2), 2200);
    EXPECT_EQ(g.RowHeight(0), 650);
    EXPECT_TRUE(g.HeaderBold());
    EXPECT_EQ(g.ColAlignment(1), 0);
    EXPECT_EQ(g.HeaderAlignment(1), 3);
}

}  // namespace
