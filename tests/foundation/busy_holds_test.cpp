// Busy flags as holds: the flag reads set while any holder runs, whatever order they end in.
#include <gtest/gtest.h>

#include <utility>

#include "foundation/busy_holds.h"
#include "foundation/main_window_link.h"

namespace {

TEST(BusyHolds, TheFlagClearsOnlyWhenTheLastHolderEndsInAnyOrder) {
    struct Case { const char* what; int firstRelease; };
    const Case cases[] = {{"first taken ends first", 0}, {"last taken ends first", 1}};
    for (const Case& c : cases) {
        TLMainState::ResetForTests();
        TLMainState::BusyHold update(TLMainState::DownloadBusy);  // a result update
        TLMainState::BusyHold signIn(TLMainState::DownloadBusy);  // a sign-in inside it
        EXPECT_EQ(TLMainState::DownloadBusy, -1) << c.what;
        EXPECT_EQ(TLMainState::Busy_Holders(TLMainState::DownloadBusy), 2) << c.what;
        TLMainState::BusyHold& early = c.firstRelease == 0 ? update : signIn;
        TLMainState::BusyHold& late = c.firstRelease == 0 ? signIn : update;
        early.release();
        early.release();  // giving back twice gives back one hold
        EXPECT_EQ(TLMainState::DownloadBusy, -1) << c.what;
        late.release();
        EXPECT_EQ(TLMainState::DownloadBusy, 0) << c.what;
    }
}

TEST(BusyHolds, AHoldMovesOnWithItsWorkAndEndsWithIt) {
    TLMainState::ResetForTests();
    {
        TLMainState::BusyHold filed(TLMainState::UpdateBusy);
        TLMainState::BusyHold work = std::move(filed);
        EXPECT_FALSE(filed.held());
        filed.release();
        EXPECT_EQ(TLMainState::UpdateBusy, -1);
        EXPECT_EQ(TLMainState::DownloadBusy, 0);  // flags are held apart
    }
    EXPECT_EQ(TLMainState::UpdateBusy, 0);
    // A flag someone cleared by hand is set again by the holder still running once another ends.
    TLMainState::BusyHold a(TLMainState::UpdateBusy), b(TLMainState::UpdateBusy);
    TLMainState::UpdateBusy = 0;
    a.release();
    EXPECT_EQ(TLMainState::UpdateBusy, -1);
    b.release();
    EXPECT_EQ(TLMainState::UpdateBusy, 0);
}

}  // namespace
