#include "items/item_refresh.h"

#include "items/remaining_time.h"

#include <QFile>

#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/busy_holds.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "platform/clock.h"
#include "service/item_page.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/wininet.h"

namespace TLMainItems {

std::string Item_Page_URL(const std::string& itemNumber) {
    return std::string(modTLMain::National_Site(0)->itemHost) + "/" + std::string(modPageParser::kViewItemPath) +
           itemNumber;
}

std::string Download_Item_Page(const std::string& itemNumber) {
    TLMainState::BusyHold busy(TLMainState::DownloadBusy);
    modWinInet::HttpURL = Item_Page_URL(itemNumber);
    return Get_ItemPage(modWinInet::HttpURL, "");
}

PageValues Read_Page_Values(const std::string& html, const std::string& oldEndTime) {
    using namespace modPageParser;
    PageHTML = html;
    Dump_Page(DumpSwitch::UpdateItemPage, PageHTML, "HTMLUpdateItems");
    Build_Page_Text();
    Dump_Page(DumpSwitch::UpdateItemPage, PageText, "TEXTUpdateItems");
    PageValues v;
    v.itemPage = Item_Page_Marks_Found();
    v.endTime = Get_Title_And_End() == "OK" ? EndDateDisplay : oldEndTime;
    v.bidCount = Get_Bid_Count();
    v.price = Get_Current_Price();
    v.minBid = Get_Min_Bid();
    v.reserveNotMet = ReserveNotMet;
    PageBidCount = v.bidCount;
    PagePrice = v.price;
    return v;
}

int Store_Page_Values(AuctionItem& item, const PageValues& values, bool silentEndChange) {
    const bool watching = modTLMain::Decode_Alarm_Values(item.AlarmSetting);
    const bool bidCountOn = watching && modTLMain::AlarmBidCountOn;
    const bool highBidOn = watching && modTLMain::AlarmHighBidOn;
    long bits = static_cast<long>(vb::Val(item.AlarmState));
    const long bitsBefore = bits;
    int alerts = 0;

    // The end is compared as the moment it names: the same end written for another clock format
    // (12 or 24 hours, seconds shown or not) is no change.
    bool endChanged = values.endTime != item.EndTime;
    if (endChanged) {
        const auto before = Read_End_Time(item.EndTime), after = Read_End_Time(values.endTime);
        if (before && after && *before == *after) endChanged = false;
    }
    if (!silentEndChange && endChanged) {
        bits |= 1;
        modTLMain::Write_Op_Log("Item " + item.ItemNumber + " Ending Date Changed " + item.EndTime + " > " +
                                values.endTime);
        ++alerts;
    }
    item.EndTime = values.endTime;
    if (!values.bidCount.empty()) {
        if (values.bidCount != item.BidCount && bidCountOn) {
            bits |= 2;
            ++alerts;
        }
        item.BidCount = values.bidCount;
    }
    if (!values.price.empty()) {
        if (values.price != item.CurrentPrice && highBidOn) {
            bits |= 4;
            ++alerts;
        }
        item.CurrentPrice = values.price;
    }
    if (!values.minBid.empty()) item.MinBid = values.minBid;
    item.ReserveFlag = values.reserveNotMet;
    if (bits != bitsBefore) item.AlarmState = std::to_string(bits);
    return alerts;
}

void Pass_Over_No_Item_Page(const std::string& itemNumber) {
    const std::string text = "Error! Item Update Failed - Not an Item Page - " + itemNumber;
    TLMainLink::statusLine().setStatus(text);
    modTLMain::Write_Op_Log(text);
}

void Play_Event_Sound(const std::string& event) {
    if (Config_True("Options", "Sound", false))
        TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", event, event), 1);
}

void Play_Alerts(int count) {
    for (int k = 0; k < count; ++k) Play_Event_Sound("Alert");
}

void Dump_Page(DumpSwitch which, const std::string& text, const std::string& name) {
    const auto item = which == DumpSwitch::AddItemPage ? TLMainLink::MenuItem::MnuDBAddItemPage
                                                       : TLMainLink::MenuItem::MnuDBUpdateItemPage;
    if (!modDebug::DebugOutput || !TLMainLink::menus().menuChecked(item)) return;
    std::string n = name;
    modDebug::Save_Debug_Page(text, n);
}

int Row_Of_Item(int index) {
    ItemGridLink& grid = itemGrid();
    const int rows = grid.gridRowCount();
    for (int r = 1; r <= rows; ++r)
        if (grid.itemIndexOfRow(r) == index) return r;
    return 0;
}

long Config_Number(const std::string& section, const std::string& key, long def) {
    const std::string v = vb::Trim(modTLC::Get_Config_Value(section, key, std::to_string(def)));
    return vb::IsNumeric(v) ? vb::CLng(vb::CDbl(v)) : def;
}

}  // namespace TLMainItems

namespace TLMainItems {

std::string Item_History_Line(const std::string& what, const std::string& itemNumber, const std::string& title) {
    return Item_History_Line_At(History_Stamp(), what, itemNumber, title);
}

std::string History_Stamp() { return vb::GeneralDate(platform::clock().now()); }

std::string Item_History_Line_At(const std::string& stamp, const std::string& what, const std::string& itemNumber,
                                 const std::string& title) {
    return stamp + " - " + what + " - " + itemNumber + " - " + title + "\r\n";
}

bool Append_Item_History(const std::string& lines) {
    QFile f(QString::fromStdString(modTLMain::DataFolder + "ItemHistory.txt"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool ok = f.write(lines.data(), static_cast<qint64>(lines.size())) == static_cast<qint64>(lines.size());
    f.close();
    return ok;
}

}  // namespace TLMainItems
