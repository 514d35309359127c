#include "items/test_items.h"

#include <algorithm>
#include <vector>

#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/message_dialog.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "platform/clock.h"

namespace TLMainItems {
namespace {

constexpr const char* kPseudoPrices[] = {"28.00", "30.00", "38.00", "35.00", "45.00", "25.00", "27.00"};

std::string ask(const std::string& prompt) {
    Messages::Args a;
    a.Text = prompt;
    a.Btn1Caption = "OK";
    a.InputHeight = 285;
    return vb::Trim(Messages::DisplayMsg(a));
}

// "a, b, c" as trimmed parts.
std::vector<std::string> parts(const std::string& answer) {
    std::vector<std::string> out;
    for (const auto& p : vb::Split(answer, ",")) out.push_back(vb::Trim(p));
    return out;
}

void endFromNowByNumber(const std::string& itemNumber, const std::string& seconds) {
    const int index = FindItemIndex(itemNumber);
    if (index > 0 && vb::IsNumeric(seconds)) Set_Item_End_From_Now(index, vb::CLng(seconds));
}

}  // namespace

std::string End_Time_Text(const QDateTime& t, bool twelveHour) {
    const std::string format =
        modTLMain::DisplayDateFormat.empty() ? modTLMain::Get_Date_Format() : modTLMain::DisplayDateFormat;
    return vb::FormatDate(t, format) + "  " + vb::FormatDate(t, twelveHour ? "hh:mm:ss am/pm" : "hh:mm:ss");
}

void Set_Item_End_Time(int index, const QDateTime& end) {
    if (AuctionItem* item = Item_At(index)) item->EndTime = End_Time_Text(end, true);
    itemGrid().loadItemGrid();
}

void Set_Item_End_From_Now(int index, long seconds) {
    if (AuctionItem* item = Item_At(index))
        item->EndTime = End_Time_Text(platform::clock().now().addSecs(seconds), false);
    itemGrid().loadItemGrid();
}

void Set_Pseudo_Items() {
    const QDateTime now = platform::clock().now();
    const std::string base = "123456789012";
    for (int i = 1; i <= ItemCount; ++i) {
        AuctionItem& item = Items[static_cast<size_t>(i)];
        const std::string n = std::to_string(i);
        item.ItemNumber = vb::Left(base, static_cast<long>(base.size() - std::min(n.size(), base.size()))) + n;
        item.Seller = kTestSeller;
        item.HighBidder = kTestBidder;
        item.CurrentPrice = std::string("US ") + kPseudoPrices[(i - 1) % 7];
        item.Shipping = "US 9.95";
        item.Category = "Cameras";
        const bool ended = i % 2 == 0;
        item.EndTime = End_Time_Text(now.addSecs(ended ? -4 * 3600 : 4 * 3600), false);
        if (ended) item.BidStatus = "Completed";
    }
    itemGrid().loadItemGrid();
}

void Special_Items() {
    for (int i = 1; i <= ItemCount; ++i) {
        AuctionItem& item = Items[static_cast<size_t>(i)];
        item.Seller = kTestSeller;
        item.UserID = kTestBidder;
        if (i <= 3) {
            item.ResultDone = "1";
            item.EndTime = End_Time_Text(QDateTime(QDate(2007, 6, 5), QTime(12, 0)), false);
        }
        if (i == 1 || i == 3) {
            item.HighBidder = kTestBidder;
            item.BidStatus = "Completed";
        }
    }
    itemGrid().loadItemGrid();
}

void DB_Set_Item_End_Time() {
    const int index = itemGrid().itemIndexOfRow(itemGrid().selectedRow());
    if (index < 1) return;
    const QDateTime t = vb::CDate(ask("Date/Time"));
    if (t.isValid()) Set_Item_End_Time(index, t);
}

void DB_Set_Item_Remaining_Time() {
    const auto p = parts(ask("Item Number, Remaining Time"));
    if (p.size() >= 2) endFromNowByNumber(p[0], p[1]);
}

void DB_Set_Items_Remaining_Time() {
    const auto p = parts(ask("Remaining Time, Item Numbers"));
    for (size_t i = 1; i < p.size() && i <= 2; ++i) endFromNowByNumber(p[i], p[0]);
}

void Install_Debug_Item_Tools() {
    auto& hooks = modDebug::Debug_Hooks();
    hooks.setItemEndTime = DB_Set_Item_End_Time;
    hooks.setItemRemainingTime = DB_Set_Item_Remaining_Time;
    hooks.setItemsRemainingTime = DB_Set_Items_Remaining_Time;
    hooks.setPseudoItems = Set_Pseudo_Items;
    hooks.special = Special_Items;
    hooks.setItemEndFromNow = [](long row, long seconds) {
        Set_Item_End_From_Now(itemGrid().itemIndexOfRow(static_cast<int>(row)), seconds);
    };
}

}  // namespace TLMainItems
