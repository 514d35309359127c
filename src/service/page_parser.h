// page_parser.h — modPageParser: turns a downloaded item page into an item's fields.
//
// Callers download the page (Get_ItemPage, item_page.h), call Build_Page_Text, then the finders.
// The finders read the shared page values of page_globals.h (PageHTML, PageText, BidHistoryText,
// ShippingText, ItemSiteBase) and leave their results in the process-wide values below, which
// adding and refreshing copy into the item record. Everything runs on the UI thread.
//
// Text is UTF-8; positions count bytes from 1 (0 = not found). Searches called case-blind fold
// ASCII letters only. A finder that finds nothing returns an empty text, never an error.
//
// Amounts leave the parser written with the user's decimal and thousands separators and exactly
// two decimals, behind a currency word ("US", "GBP", "AU", "EUR", "C") or sign where the page
// shows one. The amount readers never change the page texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/page_globals.h"

namespace modPageParser {

// ---- Results of the finders -------------------------------------------------------------------
inline std::string ItemTitle;       // the item's title, entities decoded
inline std::string EndDateText;     // end date as found ("Mar 05, 2026"), or d-m-yyyy / yyyy-m-d
inline std::string EndTimeText;     // end time as found, "hh:mm:ss" (the service's Pacific time)
inline std::string EndDateDisplay;  // the local end moment, display date format + "  " + time
inline int16_t ReserveNotMet = 0;   // 1 when the page says "Reserve not met"

// A page handed over by the browser extension: its title is used instead of the page's.
inline std::string HandoverTitle;
inline int16_t UseHandoverTitle = 0;

// The item-page path that follows a national site's base address, before the item number.
inline constexpr std::string_view kViewItemPath = "ws/eBayISAPI.dll?ViewItem&item=";

inline constexpr const char* kTitleOrEndError = "Error! Failed To Retrieve Ending Date or Title";

// Empties the page values and the results.
void ResetForTests();

// ---- Page text and the shared text routines ---------------------------------------------------
// Cuts PageHTML at the first description or location marker (or at 65,000 bytes), cleans the
// UTF-8 no-break spaces and two-byte letters out of PageHTML in place, and sets PageText to the
// inner text of the cut page. Returns true.
bool Build_Page_Text();
// Where Build_Page_Text cuts `html`: the number of bytes that are turned into text.
long Page_Cut_Point(std::string_view html);
// The cleaning of Build_Page_Text, in place: every two-byte UTF-8 sequence of lead byte 194 or
// 195 (and a lone such byte) becomes blanks, one blank per byte. With keepPound, a pound sign
// (194 163) stays.
void Blank_Two_Byte_Letters(std::string& html, bool keepPound = false);

// Position of Marker at or after Start standing as a text of its own between two tags (only
// control characters between it and the ">" before and the "<" after), or anywhere with
// AnyPlace; 0 when there is none.
long Find_Text_Outside_Tags(long Start, std::string_view Text, std::string_view Marker, bool AnyPlace,
                            bool CaseSensitive);
// Blanks every comma and decodes "&amp;", "&quot;", "&#0nn;", "&lt;", "&gt;" (also when an
// earlier decoding made them). Text holds the result afterwards too.
std::string Decode_Entities(std::string& Text);
// The content of the first meta tag of PageHTML whose property is Property; "" if none.
std::string Get_Meta_Content(std::string_view Property);
// The quoted string that ends at the first double quote at or after Pos; Pos is set to its
// opening quote. "" when there is none.
std::string Get_Quoted_Text(std::string_view Text, long& Pos);
// Letters and digits of Text, each run of other characters one "-" (a final "-" dropped).
// Removes every apostrophe from Text itself.
std::string Safe_Id(std::string& Text);

// ---- Title, end time and listing kind ---------------------------------------------------------
// Sets ItemTitle, EndDateText, EndTimeText and EndDateDisplay. Returns "OK", "NoDate" (a title
// but no end time on the page) or kTitleOrEndError (no title, or an end that does not read; the
// end values are then empty).
std::string Get_Title_And_End();
// A stretch of PageText around the first time of day, or "".
std::string Find_End_Time_Text();
// 1 when the page shows a fixed price only, else 0.
int Is_Fixed_Price();
// The title without the service's suffixes ("- eBay (item", "(item", "| eBay").
std::string Clean_Title(const std::string& Title);

// ---- Prices, bids and reserve -----------------------------------------------------------------
std::string Get_Current_Price();  // currency word, a blank and the amount; sets ReserveNotMet
// The amount beside the first of Get_Current_Price's labels that has one within reach, with its
// currency word; "" when no label has one (Get_Current_Price then reads any amount on the page).
std::string Get_Labelled_Price();
std::string Get_Min_Bid();
std::string Get_Bid_Count();      // digits, or ""
void Check_Reserve();             // sets ReserveNotMet
// The first amount of PageText within 40 bytes of Start ("." decimals, "," grouping).
std::string Parse_Price(long Start, bool WithCurrency);
// As Parse_Price, with a pound sign or "$" in front, or (WithCode) the upper-case code before it.
std::string Parse_Price_Symbol(long Start, bool WithCode);
// An amount of ShippingText written with a national site's marks.
std::string Parse_Price_Site(long Start, bool WithCode, std::string_view DecimalMark,
                             std::string_view ThousandsMark);
// A canonical amount ("," grouping, "." decimals, maybe a sign in front) in the user's separators.
std::string Localize_Amount(const std::string& Amount);

// ---- Whether a page is an item page ------------------------------------------------------------
// An item page shows its title and end time, or a price beside a price label. A page answered in
// its place that shows neither (an error page, a sign-in page, a page of something else) is no
// item page: read as one, it would blank the item's values.
//
// Whether PageHTML and PageText, as Build_Page_Text left them, are an item page. The finders'
// results (title, end, reserve) stay as they were.
bool Item_Page_Marks_Found();
// Whether `html` is an item page, read on its own: the page values stay as they were.
bool Is_Item_Page(const std::string& html);

// ---- Seller, shipping, high bidder and photo address ------------------------------------------
// "ID (score) 99.8%": the seller ID, the feedback score in brackets and the positive percentage.
std::string Get_Seller();
// The shipping cost as the item's national site shows it, "Free", "See Listing" or "". With
// KeepPage false, an item of another site than the US is first downloaded from its own site.
std::string Get_Shipping(bool KeepPage);
// The high bidder from BidHistoryText: the bidder's ID, "(Buy It Now Auction)",
// "Private Listing" or "".
std::string Get_High_Bidder();
// The address of the item's picture in Html: a picture-host address that holds the title's safe
// id (or its first third), else the first quoted src address holding Marker. The caller's Title
// loses its apostrophes, as the safe id drops them (the title is kept that way).
std::string Get_Photo_URL(std::string_view Html, std::string& Title, std::string_view Marker);

// The item store answers an item's number by its index (for the high-bidder log line of the
// end-of-auction update). Unset, the number is empty.
using ItemNumberLookup = std::string (*)(int index);
void Set_Item_Number_Lookup(ItemNumberLookup lookup);

}  // namespace modPageParser

namespace modTLMain {

// The first run of digits at or after Start; Start is set behind it. "" when MaxScan characters
// are passed first.
std::string Get_Watch_Number(std::string_view Text, long& Start, long MaxScan);

}  // namespace modTLMain
