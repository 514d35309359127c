// browser_views.h — the main window's views of pages in a web browser: the selected item's page
// on the service, the feedback pages of the seller, the high bidder and the user, the help page,
// and the pages saved on disk (the item's page and its bid results).
//
// One rule for every view: with [Options] AltBrowser = 1 (read as a number) the page goes to the
// alternate browser program [Options] AltBrowserPath, started with the page's address as its
// argument (never through a shell). Otherwise every page opens in the program's browser window,
// a local page as a document only (no scripts, no files outside its own folder). Every address handed to a browser is an
// http(s) or file URL; the values the program puts into a query are percent-encoded, and local
// pages are file URLs of their full path.
#pragma once

#include <string>
#include <vector>

#include "bidding/bid_engine_links.h"
#include "items/auction_item.h"

namespace TLMainBrowser {

// The roads a page takes to a browser. Tests install a recording one
// (tests/support/recording_browser_openers.h).
class BrowserOpeners {
public:
    virtual ~BrowserOpeners() = default;
    // Starts the program with the arguments, never through a shell; false when it did not start.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
    // The program's browser window (modTLMain::Browser_Navigate: a tab of the open window, or a
    // new window as [Options] NewBroWin says).
    virtual void navigate(const std::string& url) = 0;
    // A new window of the program's browser, placed and brought to the front, opening the URL.
    virtual void navigateNewWindow(const std::string& url) = 0;
    // A new window of the program's browser for a page of the user's account: it signs in on
    // the service's sign-in page as [Options] MyeBayASI says.
    virtual void navigateAccountPage(const std::string& url) { navigateNewWindow(url); }
};
BrowserOpeners& openers();
void setOpenersForTests(BrowserOpeners* o);  // nullptr puts the real ones back

inline constexpr const char* kAltBrowserFailed = "Error! Can't Run Alternate Browser...";
inline constexpr const char* kInvalidAddress = "Error! Invalid URL....";
inline constexpr const char* kBusy = "Busy, Download In Progress....";
inline constexpr const char* kNoItemFound = "No Item Found....";
inline constexpr const char* kNoBidResultsFound = "No Bid Results Found....";
// The service's feedback pages, the same host for every national site.
inline constexpr const char* kFeedbackHost = "http://feedback.ebay.com";
inline constexpr const char* kHelpPage = "Help/TLIIHelp.Htm";
// Sections of the help page (its named anchors) that the program opens directly.
inline constexpr const char* kHelpOptions = "Options";
inline constexpr const char* kHelpClock = "Clock";
inline constexpr const char* kHelpPower = "Power";
inline constexpr const char* kSavedItemsFolder = "Saved Items/";

// The command line of the last start of the alternate browser (program, a blank, the address).
inline std::string AltBrowserCommand;

// --- Addresses ---
// The address as a browser gets it: an http, https or file URL, fully encoded (blanks and other
// unsafe characters percent-encoded); "" for anything else.
std::string Browser_Address(const std::string& address);
// A query value percent-encoded (letters, digits and "-._~" stay).
std::string Query_Value(const std::string& value);
// The file URL of a full local path ("file:///.../My%20Items/1.html").
std::string Local_Page_Address(const std::string& path);

// --- The browser rule ---
// [Options] AltBrowser read as a number is exactly 1.
bool Alt_Browser_On();
// Starts the alternate browser with the address; on failure the status line reads
// kAltBrowserFailed. [Options] AltBrowserPath names the program (it may hold blanks); when no
// such program exists it is read as a command line: the program and its own arguments, split as
// a shell would split words but never run by one.
bool Run_Alt_Browser(const std::string& address);
// A page of the service: the alternate browser, else the program's browser window.
void Show_Service_Page(const std::string& address);
// A page in a new window of the program's browser (a saved search), or the alternate browser.
void Show_In_New_Browser(const std::string& address);
// A page of the user's account: the alternate browser, else a new window of the program's
// browser that signs in by itself.
void Show_Account_Page(const std::string& address);
// A local file: its file URL in the alternate browser, else in the program's browser window.
void Show_Local_Page(const std::string& path);

// --- The views ---
// The item whose number stands in the item-number box, on the service ([Locale] CGI).
void ViewEbayItem();
// The seller's ID in an item's Seller text: the text before the first "(", trimmed; "" when the
// text has no "(".
std::string Seller_ID(const std::string& sellerText);
// The feedback pages of the item's seller and high bidder (nothing for a missing item; nothing
// when the high bidder is "Buy It Now Auction", "No Bids Yet" or "Dutch Auction").
void View_Sellers_Feedback(const TLMainItems::AuctionItem* item);
void View_High_Bidders_Feedback(const TLMainItems::AuctionItem* item);
void MnuTitleMyFeedback_Click();  // the current user's feedback page
// The help page DataFolder/Help/TLIIHelp.Htm, at the named section when one is given, in the
// program's browser window (or the alternate browser). A missing page gets a message that names
// where it should be.
void Show_Help(const std::string& section = "");
void MnuTitleHelp_Click();  // Help menu "Help Manual" and F1: the help page from its top
// The message for a help page missing from `path`.
std::string Help_Missing_Text(const std::string& path);
// The saved page of the item in the item-number box (Saved Items/<n>.html, or <n>BR.html for its
// bid results): refused while a download or refresh runs; the file must exist.
void MnuTitleShowItem_Click();
void MnuSubPopupBidResults_Click();
// The bid-result page of the item (Saved Items/<ItemNumber>BR.html), also when it is missing.
void DisplayBidResults(const std::string& ItemNumber);
// A saved page chosen in the open-file dialog, in the program's browser window.
void MnuTitleShowArchived_Click();

// The bid engine's view of an item's result page: DisplayBidResults for the item at the index,
// once the bid engine's step has returned to the event loop.
class BidResultsViewer final : public TLMainBids::BidResultsView {
public:
    void DisplayBidResults(int itemIndex) override;
};
// The main window's load hands the bid engine this view (TLMainBids::setBidLink).
void Take_Bid_Results_View();

void ResetForTests();

}  // namespace TLMainBrowser
