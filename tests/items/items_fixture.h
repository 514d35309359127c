// items_fixture.h — the item tests' ground: a throw-away data folder, the fake clock (1 June
// 2026 12:00, UTC), scripted message boxes, a recording grid, status line and sounds, an empty
// item list and configuration, and the month-day-year display format around each test.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <string>

#include "fake_clock.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "platform/locale_info.h"
#include "recording_item_grid.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "service/national_sites.h"
#include "temp_data_folder.h"

namespace testsupport {

class ItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
    }
    void TearDown() override { reset(); }

    static void reset() {
        modTLMain::ResetStartupForTests();
        modTLMain::ResetLocaleDatesForTests();
        modWinInfo::ResetForTests();
        modTLC::ResetForTests();
        modClock::ClockOffsetMs = 0;
        modTLMain::SiteDayWord = "Day";
        TLMainItems::ResetItemStoreForTests();
        TLMainItems::RemainingSecs = 0;
        TLMainItems::RemainingKnown = false;
    }

    QDateTime now() const { return time.clock.now(); }

    // Appends an item with the number; returns its index.
    static int add(const std::string& number) {
        TLMainItems::AuctionItem item;
        item.ItemNumber = number;
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    static TLMainItems::AuctionItem& item(int index) { return TLMainItems::Items.at(static_cast<size_t>(index)); }
    // Appends an item of "buyer1" in the category, running for a day: title "Item <number>",
    // price US 10.00, 3 bids, minimum bid US 11.00; returns its index.
    int addRunningItem(const std::string& number, const std::string& category) {
        const int i = add(number);
        TLMainItems::AuctionItem& a = item(i);
        a.Title = "Item " + number;
        a.EndTime = TLMainItems::End_Time_Text(now().addDays(1), false);
        a.CurrentPrice = "US 10.00";
        a.BidCount = "3";
        a.MinBid = "US 11.00";
        a.Seller = "seller" + number + " (12) 99.5%";
        a.Category = category;
        a.UserID = "buyer1";
        a.AlarmState = "0";
        a.AfterBidOptions = "0";
        return i;
    }

    TempDataFolder data;
    FakeTime time;
    ScriptedMessageBoxes boxes;
    RecordingItemGrid grid;
    RecordingStatusLine status;
    RecordingSounds sounds;
};

}  // namespace testsupport
