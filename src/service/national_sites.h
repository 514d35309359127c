// national_sites.h — the auction service's national sites: their hosts, titles, currency and day
// words, and the [Locale] values the rest of the program builds addresses from.
//
// The site in use is an index from 0 to 13 ([Locale] SiteIndex, CurrentSiteIndex). Set_Site_Locale
// writes that site's twelve values into [Locale]; the program reads them back from there. The
// lookups below serve those that need a site's hosts directly: sign-in, the cookie jar and the
// page parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modTLMain {

struct NationalSite {
    const char* label;        // as the options dialog's site list shows it
    const char* code;         // in the page names
    const char* homeTitle;
    const char* searchTitle;
    const char* currency;
    const char* dayWord;
    const char* domain;       // every host of the site lies in it
    const char* homeHost;
    const char* searchHost;
    const char* itemHost;     // item pages
    const char* memberHost;   // member area ("My eBay")
    const char* feedbackHost;
    const char* signInHost;
    const char* homePath;
    const char* searchPath;
    const char* myEbayPath;
};

inline constexpr long kNationalSiteCount = 14;

// The service's hosts for bids, whatever the site: the offer host takes bids and shows bid
// histories; the item host shows the item page the end-of-auction update reads.
inline constexpr const char* kBidHost = "offer.ebay.com";
inline constexpr const char* kBidItemHost = "cgi.ebay.com";
// The service's time page (its own host, whatever the site): the clock synchronisation reads it.
inline constexpr const char* kTimeHost = "cgi3.ebay.com";
inline constexpr const char* kTimePagePath = "/ws/eBayISAPI.dll?EbayTime";

// The site of an index; nullptr outside 0 to 13.
const NationalSite* National_Site(long siteIndex);

// The item-page base of a site ("http://" + item host + "/"), "" outside 0 to 13.
std::string Site_Item_Page_Base(long siteIndex);
// The site whose item-page base `base` is (case-blind); "" counts as site 0; −1 for none.
long Site_Index_Of_Item_Base(std::string_view base);

// Sign-in hosts: the page that takes the form, and the hosts an answer's redirect may lead
// to: member pages and home site mean success, the sign-in host failure.
std::string Sign_In_Host(long siteIndex);
std::string Member_Pages_Host(long siteIndex);
std::string Home_Site_Host(long siteIndex);
// Tests point the three hosts of every site at a fake service ("" puts the real ones back).
void SetSignInHostsForTests(const std::string& signIn, const std::string& memberPages, const std::string& home);

// The service's feedback pages and members' own pages: the same hosts for every national site.
inline constexpr const char* kFeedbackPagesHost = "feedback.ebay.com";
inline constexpr const char* kMemberPagesHost = "myworld.ebay.com";

// The word that marks the service's picture host in picture addresses.
inline constexpr const char* kPictureHostWord = "ebayimg";

// The domains of all national sites, each once ("ebay.com", "ebay.co.uk", ...).
std::vector<std::string> Site_Domains();
// True when `host` (no scheme, no port, no path) is a site domain or lies below one.
// A user's cookies go only to such hosts.
bool Is_Site_Host(std::string_view host);
// Tests add a host (the fake service's) that counts as a site host ("" removes it).
void SetExtraSiteHostForTests(const std::string& host);

// The day word of the site in use, read back from [Locale] Day.
inline std::string SiteDayWord;

// Writes the twelve [Locale] values of the site, refreshes SiteDayWord and, once the first-run
// set-up is over, the toolbar tips of the home and search buttons. An index outside 0 to 13
// writes nothing.
void Set_Site_Locale(long SiteIndex);

inline constexpr int kHomeToolbarButton = 7;
inline constexpr int kSearchToolbarButton = 9;

void ResetNationalSitesForTests();

}  // namespace modTLMain
