// item_refresh.h — the steps that adding, the refreshes and deleting share: the item page's
// address and its download, the values a refresh reads from the page and how it stores them in
// the record, the alert sound, the page dumps of the debug menu, the grid row that shows an item,
// and the lines of the item-history log.
//
// A download yields to the event loop, and so may a sound; other routines (the bid engine's
// result update, a sort, a delete) can change the shared page values and move items meanwhile.
// So a refresh reads every value it needs from the page right after the page came, keeps them in
// a PageValues of its own, stores them in the record without waiting in between, plays its
// sounds last, and finds its item again by number after each wait.
#pragma once

#include <cstdint>
#include <string>

#include "items/auction_item.h"

namespace TLMainItems {

// The item page of `itemNumber` on the home site's item host, without a scheme:
// host + "/ws/eBayISAPI.dll?ViewItem&item=" + number.
std::string Item_Page_URL(const std::string& itemNumber);

// Downloads the item page into PageHTML (HttpURL is set to its address), holding DownloadBusy
// meanwhile: "OK" or "" as Get_ItemPage answers.
std::string Download_Item_Page(const std::string& itemNumber);

// The values of a refreshed item page.
struct PageValues {
    std::string endTime;   // the new end, or the item's own when the page's end does not read
    std::string bidCount;  // "" when not found
    std::string price;     // "" when not found
    std::string minBid;    // "" when not found
    int16_t reserveNotMet = 0;
    // The page shows an item page's marks (title and end, or a price beside its label). A page
    // without them (the service's page for a removed or unknown item, an error or sign-in page
    // answered 200) is no item page: a refresh stores none of its values (Pass_Over_No_Item_Page).
    bool itemPage = false;
};

// Builds the page text from `html` and reads the values (the old end kept when the page's end
// does not read). Writes PageBidCount and PagePrice for their readers.
PageValues Read_Page_Values(const std::string& html, const std::string& oldEndTime);

// Stores the values in the item: a changed end sets AlarmState bit 1 and logs "Item <n> Ending
// Date Changed <old> > <new>" (both skipped with `silentEndChange`); a changed bid count sets
// bit 2 when the item's alarm watches the bid count, a changed price bit 4 when it watches the
// high bid; empty values leave the item's own. Returns the number of alert sounds due (one per
// bit set), which the caller plays with Play_Alerts once it no longer holds the item.
int Store_Page_Values(AuctionItem& item, const PageValues& values, bool silentEndChange);

// A refresh that got no item page for `itemNumber` leaves the item as it was and goes on to the
// next item: the status line and the operation log say
// "Error! Item Update Failed - Not an Item Page - <n>".
void Pass_Over_No_Item_Page(const std::string& itemNumber);

// Plays [Sounds] Alert (default "Alert") `count` times, once each, when [Options] Sound is on.
void Play_Alerts(int count);
// Plays the sound of [Sounds] `event` (default the event's name) once when [Options] Sound is on.
void Play_Event_Sound(const std::string& event);

// The page dumps of the debug menu: with debug output on and the menu item's switch checked,
// `text` is saved as the debug page `name`.
enum class DumpSwitch { AddItemPage, UpdateItemPage };
void Dump_Page(DumpSwitch which, const std::string& text, const std::string& name);

// The grid row that shows item `index` now, 0 when none.
int Row_Of_Item(int index);

// [section] key read as a whole number (`def` when missing or not a number).
long Config_Number(const std::string& section, const std::string& key, long def);

}  // namespace TLMainItems

namespace TLMainItems {

// A line of the item-history log "ItemHistory.txt": the current date and time in the general
// date form, " - <what> - ", the number, " - ", the title and CR LF ("Added", "Deleted").
std::string Item_History_Line(const std::string& what, const std::string& itemNumber, const std::string& title);
// The same with a stamp read once (History_Stamp) for many lines written at one moment.
std::string History_Stamp();
std::string Item_History_Line_At(const std::string& stamp, const std::string& what, const std::string& itemNumber,
                                 const std::string& title);
// Appends the lines to the item-history log (made when missing); false when it cannot be written.
bool Append_Item_History(const std::string& lines);

}  // namespace TLMainItems
