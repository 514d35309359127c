#include "items/add_item.h"

#include <QUrl>
#include <cctype>
#include <optional>

#include "foundation/bid_engine_state.h"
#include "foundation/busy_holds.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "ieext/hand_over.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_refresh.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "items/item_windows.h"
#include "items/remaining_time.h"
#include "platform/message_box.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/wininet.h"

namespace modTLMain {

bool Item_Exists(const std::string& itemNumber) { return TLMainItems::FindItemIndex(itemNumber) > 0; }

}  // namespace modTLMain

namespace TLMainItems {
namespace {

using namespace modPageParser;
constexpr const char* kProgram = platform::kProgramTitle;
constexpr long kInfoIcon = 1;
constexpr long kErrorIcon = 3;

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }
void balloon(const std::string& text, const std::string& title, long icon) {
    modSysTray::Modify_Tray_Tip(text, title, icon, modSysTray::NIF_INFO);
}

// [Locale] CGI, the item-page base of the user's national site (the home site's by default).
void readItemSiteBase() {
    ItemSiteBase = modTLC::Get_Config_Value("Locale", "CGI", modTLMain::Site_Item_Page_Base(0));
}
bool homeSite() { return vb::EqualText(ItemSiteBase, modTLMain::Site_Item_Page_Base(0)); }

// The end of every failed add after the user check.
bool finishFailed() {
    Play_Event_Sound("Alert");
    UseHandoverTitle = 0;
    AddedItemNumber.clear();
    return false;
}
bool failWith(const std::string& text, const std::string& title) {
    status(text);
    balloon(text, title, kErrorIcon);
    return finishFailed();
}
bool refuseDuplicate(const std::string& number) {
    status(kDuplicateItem);
    balloon(kDuplicateItem, "Duplicate Item - " + number, kErrorIcon);
    return finishFailed();
}

// What an add reads from the item page; taken at once, before anything waits.
struct ParsedItem {
    std::string title;
    std::string endTime;
    bool fixedPrice = false;
    std::string seller;
    std::string bidCount;
    std::string price;
    int16_t reserveNotMet = 0;
    std::string minBid;
    std::string photoUrl;
    std::string html;
};

ParsedItem readItemPage() {
    ParsedItem p;
    p.endTime = EndDateDisplay;
    p.fixedPrice = Is_Fixed_Price() == 1;
    p.seller = Get_Seller();
    p.bidCount = Get_Bid_Count();
    p.price = Get_Current_Price();
    p.reserveNotMet = ReserveNotMet;
    p.minBid = Get_Min_Bid();
    p.photoUrl = Get_Photo_URL(PageHTML, ItemTitle, ".jpg");
    ItemTitle = vb::Replace(ItemTitle, "'", "");  // the title goes without its apostrophes
    p.title = ItemTitle;
    if (p.photoUrl.empty()) {
        const std::string og = Get_Meta_Content("og:image");
        const long jpg = vb::InStr(1, og, ".jpg", vb::Text);
        p.photoUrl = jpg > 0 ? vb::Left(og, jpg + 3) : og;
    }
    p.html = PageHTML;
    return p;
}

std::string subFolder(const char* name) {
    const std::string folder = modTLMain::DataFolder + name;
    modTLMain::Make_Folder(folder);
    return folder + "/";
}

// Fetches the photo into Item Photos/<number>.jpg; a failed download writes nothing.
void downloadPhoto(const std::string& url, const std::string& number) {
    if (url.empty()) return;
    TLMainState::BusyHold busy(TLMainState::DownloadBusy);
    std::string u = url;
    long flags = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody;
    if (vb::EqualText(vb::Left(u, 8), "https://")) flags |= modWinInet::kFlagHttps;
    modWinInet::HttpBinaryMode = 1;
    if (!modWinInet::Http_Request(u, "GET", "", flags)) return;
    if (modWinInet::HttpStatus != "200" || modWinInet::HttpBinaryData.empty()) return;
    const auto& bytes = modWinInet::HttpBinaryData;
    modTLMain::Save_Whole_File(subFolder("Item Photos") + number + ".jpg",
                               std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void Show_Bid_Form_After_Comment();

bool addItem(const std::string& number) {
    readItemSiteBase();
    if (!UseHandoverTitle) {
        if (UserState::CurrentUserID.empty()) {
            status(kNoUserAdd);
            balloon(kNoUserAdd, kProgram, kErrorIcon);
            return false;
        }
        if (!Valid_Item_Number(number)) return failWith(kInvalidItemNumber, kProgram);
        if (modTLMain::Item_Exists(number)) return refuseDuplicate(number);
        if (Item_Store_Full()) return failWith(kItemListFull, kProgram);

        if (BulkAddActive) {
            status("Downloading Group Item " + std::to_string(BulkAddPosition) + " of " + std::to_string(BulkAddTotal));
        } else {
            status("Downloading Item " + number);
            balloon("Downloading Item " + number, kProgram, kInfoIcon);
        }
        const std::string result = Download_Item_Page(number);
        if (result != "OK" || (PageHTML.empty() && !TLMainState::CancelUpdate)) {
            status(kAddNoData);
            modTLMain::Write_Op_Log("Error! Add Item Failed - No Data Returned - " + number);
            return finishFailed();
        }
        if (PageHTML.empty()) {  // the stop button cut the page short
            status(kAddCancelled);
            modTLMain::Write_Op_Log(std::string(kAddCancelled) + " - " + number);
            return finishFailed();
        }
        Dump_Page(DumpSwitch::AddItemPage, PageHTML, "HTMLAddItem");
        Build_Page_Text();
        Dump_Page(DumpSwitch::AddItemPage, PageText, "TextAddItem");
    }

    EndDateText.clear();
    EndTimeText.clear();
    EndDateDisplay.clear();
    PageHighBidder.clear();
    AddedItemNumber = number;
    std::string found = Get_Title_And_End();
    // A downloaded page that shows a title but neither an item's end nor its price is the page the
    // service answers for a removed or unknown number (or a sign-in form): no item to add.
    if (found == "NoDate" && !UseHandoverTitle && !Item_Page_Marks_Found()) found = kTitleOrEndError;
    if (found != "OK" && found != "NoDate") {
        status(found);
        modTLMain::Write_Op_Log(number + " - " + found);
        balloon(found, "Invalid Item - " + number, kErrorIcon);
        return finishFailed();
    }
    const ParsedItem page = readItemPage();

    // From here the add waits (the national shipping page, the photo): it keeps its own values.
    std::string shipping;
    if (!ShippingPrefetch.empty()) {
        shipping = ShippingPrefetch;
        ShippingPrefetch.clear();
    } else {
        shipping = Get_Shipping(false);
    }
    UseHandoverTitle = 0;
    modTLMain::Save_Whole_File(subFolder("Saved Items") + number + ".html", page.html + "\r\n");
    downloadPhoto(page.photoUrl, number);
    if (modTLMain::Item_Exists(number)) return refuseDuplicate(number);  // added meanwhile

    AuctionItem item;
    if (page.fixedPrice) {
        item.ListingType = "BIN";
        item.EndTime = page.endTime.empty() ? kNoEndDate : page.endTime;
    } else {
        item.EndTime = page.endTime;
    }
    item.ItemNumber = number;
    item.Title = page.title;
    item.CurrentPrice = page.price;
    item.ReserveFlag = page.reserveNotMet;
    item.BidCount = page.bidCount;
    item.MinBid = page.minBid;
    item.Seller = page.seller;
    item.Shipping = shipping;
    item.Category = itemGrid().currentCategory();
    item.UserID = UserState::CurrentUserID;
    item.AfterBidOptions = "0";
    item.Quantity = "1";
    item.AlarmState = "0";
    if (!Append_Item(item)) return failWith(kItemListFull, kProgram);

    Append_Item_History(Item_History_Line("Added", number, page.title));
    const std::string added = "Auction Item \"" + number + "\" Added";
    status(added);
    balloon(added, kProgram, kInfoIcon);
    Sort_Auction_Items(Default_Sort_Key());
    Save_Auction_Items();
    if (BulkAddActive) return true;

    Play_Event_Sound("DLComplete");
    itemGrid().loadItemGrid();
    TLMainState::TrayTipCountdown = 3;
    const bool bidSetup = Config_True("Options", "ShowBidSetup", true) && !page.fixedPrice;
    if (!bidSetup) AddedItemNumber.clear();
    if (Config_True("Options", "AutoComment", false)) {
        // The comment window comes first and the bid set-up after it; the add has ended meanwhile,
        // so no request waits on the user's typing.
        itemWindows().showCommentWindow(FindItemIndex(number));
        if (bidSetup) Show_Bid_Form_After_Comment();
        return true;
    }
    if (bidSetup) itemWindows().showBidForm();
    return true;
}

platform::Timer& commentWatch() {
    static auto* t = new platform::Timer();
    return *t;
}

// Shows the bid set-up for the item just added once the comment window has closed.
void Show_Bid_Form_After_Comment() {
    platform::Timer& t = commentWatch();
    t.setHandler([] {
        if (itemWindows().commentWindowOpen()) return;
        commentWatch().setEnabled(false);
        if (!AddedItemNumber.empty()) itemWindows().showBidForm();
    });
    t.setInterval(100);
    t.setEnabled(true);
}

long errorNumber(const std::exception& e) {
    const auto* r = dynamic_cast<const vb::RuntimeError*>(&e);
    return r ? r->Number : 0;
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The run of digits that starts at position `from`.
std::string digitsFrom(const std::string& text, long from) {
    std::string run;
    for (long k = from; k <= vb::Len(text) && isDigit(text[static_cast<size_t>(k - 1)]); ++k)
        run.push_back(text[static_cast<size_t>(k - 1)]);
    return run;
}

// The number behind "item number:" in the page text: a digit within the 4 characters from its
// colon, else within the 26 characters from 30 before the phrase.
std::string numberFromText(const std::string& text) {
    const long p = vb::InStr(1, text, "item number:", vb::Text);
    if (p == 0) return {};
    auto firstDigit = [&](long from, long count) -> std::string {
        for (long k = std::max(1L, from); k < from + count && k <= vb::Len(text); ++k)
            if (isDigit(text[static_cast<size_t>(k - 1)])) return digitsFrom(text, k);
        return {};
    };
    std::string number = firstDigit(p + 11, 4);
    if (number.empty()) number = firstDigit(p - 30, 26);
    return number;
}

// The first run of 11 to 13 digits in the address; when the address ends first, the run it
// ended on.
std::string numberFromAddress(const std::string& url) {
    std::string run;
    for (char c : url) {
        if (isDigit(c)) {
            run.push_back(c);
            continue;
        }
        if (run.size() >= 11 && run.size() <= 13) return run;
        run.clear();
    }
    return run;
}

void refuseHandOver() {
    status(kNotValidItemPage);
    modTLMain::Write_Op_Log(kNotValidItemPage);
    balloon(kNotValidItemPage, kProgram, kErrorIcon);
    Play_Event_Sound("Alert");
}

// An http or https address whose host is one of the service's.
bool serviceAddress(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = u.scheme().toLower();
    return u.isValid() && (scheme == "http" || scheme == "https") && !u.host().isEmpty() &&
           modTLMain::Is_Site_Host(u.host().toLower().toStdString());
}

void addDirect(const std::string& handover, std::string& number) {
    ShippingPrefetch.clear();
    UseHandoverTitle = 0;
    readItemSiteBase();
    if (UserState::CurrentUserID.empty()) {
        status(kNoUserAdd);
        balloon(kNoUserAdd, kProgram, kErrorIcon);
        return;
    }
    // Only a whole hand-over of a service page counts: its parts cut apart as the extension
    // wrote them, from an http(s) address of one of the service's hosts.
    const auto page = ieext::Parse_Page_Hand_Over(handover);
    if (!page || page->prefix != ieext::kAddItemPrefix || !serviceAddress(page->url)) {
        refuseHandOver();
        return;
    }
    const std::string& url = page->url;
    // The page counts only when its HTML came with it; otherwise it is downloaded.
    const bool pagePresent = !page->html.empty();
    if (pagePresent) {
        PageHTML = page->html;
        HandoverTitle = page->title;
        PageText = page->text;
        const long phrase = vb::InStr(1, PageText, "item number", vb::Text);
        if (phrase > 0) PageText = vb::Left(PageText, phrase - 1 + 50);
        number = numberFromText(PageText);
    } else {
        HandoverTitle.clear();
    }
    if (number.empty()) number = numberFromAddress(url);
    if (number.size() < 10 || !Valid_Item_Number(number)) {
        refuseHandOver();
        return;
    }
    TLMainLink::itemNumberBox().setItemNumberText(number);
    Dump_Page(DumpSwitch::AddItemPage, HandoverTitle, "TITLEAddItemDirect");
    Dump_Page(DumpSwitch::AddItemPage, url, "URLAddItemDirect");
    Dump_Page(DumpSwitch::AddItemPage, PageText, "TEXTAddItemDirect");
    Dump_Page(DumpSwitch::AddItemPage, PageHTML, "HTMLAddItemDirect");
    if (modTLMain::Item_Exists(number)) {
        status(kDuplicateItem);
        balloon(kDuplicateItem, "Duplicate Item - " + number, kErrorIcon);
        Play_Event_Sound("Alert");
        return;
    }
    if (Item_Store_Full()) {
        failWith(kItemListFull, kProgram);
        return;
    }
    if (pagePresent) {
        ShippingPrefetch = Get_Shipping(true);
        if (homeSite()) UseHandoverTitle = 1;
    }
    Add_Auction_Item();
}

}  // namespace

bool Add_Auction_Item() {
    const std::string number = vb::Trim(TLMainLink::itemNumberBox().itemNumberText());
    try {
        return addItem(number);
    } catch (const std::exception& e) {
        const std::string text =
            "Add Item Error # " + std::to_string(errorNumber(e)) + " - Parsing Error On Item " + number;
        status(text);
        modTLMain::Write_Op_Log(text);
        UseHandoverTitle = 0;
        AddedItemNumber.clear();
        return false;
    }
}

void Add_Auction_Item_Direct(const std::string& handover) {
    std::string number;
    try {
        addDirect(handover, number);
    } catch (const std::exception& e) {
        const std::string text =
            "Add Item Error # " + std::to_string(errorNumber(e)) + " - Add Direct On Item " + number;
        status(text);
        modTLMain::Write_Op_Log(text);
    }
}

std::vector<std::string> ExtractItemNums(const std::string& text) {
    std::vector<std::string> numbers;
    struct Marker { const char* text; long offset; };
    for (const Marker m : {Marker{"- Deleted -", 12}, Marker{"- Added -", 10}}) {
        long from = 1;
        while (true) {
            const long p = vb::InStr(from, text, m.text);
            if (p == 0) break;
            const long start = p + m.offset;
            const long end = vb::InStr(start, text, " - ");
            if (end == 0) break;
            numbers.push_back(vb::Mid(text, start, end - start));
            from = end;
        }
    }
    return numbers;
}

bool Bulk_Add_Items(const std::vector<std::string>& numbers, const std::string& cancelText) {
    BulkAddActive = -1;
    BulkAddTotal = static_cast<int32_t>(numbers.size());
    for (size_t k = 0; k < numbers.size(); ++k) {
        if (!modTLMain::Item_Exists(numbers[k])) {
            TLMainLink::itemNumberBox().setItemNumberText(numbers[k]);
            BulkAddPosition = static_cast<int32_t>(k + 1);
            Add_Auction_Item();
            platform::timers().doEvents();
        }
        if (TLMainState::CancelUpdate) {
            TLMainState::CancelUpdate = 0;
            status(cancelText);
            BulkAddActive = 0;
            return false;
        }
    }
    BulkAddActive = 0;
    return true;
}

void cmdAddItem_Click() {
    if (!TLMainLink::logBox().logBoxVisible()) {
        TLMainState::AddPending = -1;
        return;
    }
    const std::vector<std::string> numbers = ExtractItemNums(TLMainLink::logBox().logBoxSelectedText());
    if (numbers.empty()) return;

    // The list refresh's flag keeps the scheduler's adds and refreshes out, and lets the stop
    // button cut the page being read.
    TLMainState::BusyHold updating(TLMainState::UpdateBusy);
    if (!Bulk_Add_Items(numbers, kAddHistoryCancelled)) return;
    Sort_Auction_Items(Default_Sort_Key());
    Save_Auction_Items();
    TLMainState::TrayTipCountdown = 3;
    itemGrid().loadItemGrid();
}

}  // namespace TLMainItems
