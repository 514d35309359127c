#include "service/national_sites.h"

#include <algorithm>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"

namespace modTLMain {
namespace {

// label, code, home title, search title, currency, day word, domain,
// hosts: home, search, item page, member area, feedback, sign-in; paths: home, search, member summary.
const NationalSite kSites[kNationalSiteCount] = {
    {"eBay US", "US", "eBay Home", "eBay Search", "US", "Days", "ebay.com",
     "www.ebay.com", "search.ebay.com", "cgi.ebay.com",
     "my.ebay.com", "feedback.ebay.com", "signin.ebay.com",
     "/?ssPageName=h:h:home:US",
     "/ws/search/AdvSearch?sofindtype=13&ssPageName=h:h:fitem:US",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=H:H:MYEBAY:US"},
    {"eBay Australia", "AU", "eBay Home", "eBay Search", "AU", "Days", "ebay.com.au",
     "www.ebay.com.au", "search.ebay.com.au", "cgi.ebay.com.au",
     "my.ebay.com.au", "feedback.ebay.com.au", "signin.ebay.com.au",
     "/?ssPageName=h:h:home:AU",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:AU",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:AU"},
    {"eBay Canada", "CA", "eBay Home", "eBay Search", "C", "Days", "ebay.ca",
     "www.ebay.ca", "search.ebay.ca", "cgi.ebay.ca",
     "my.ebay.ca", "feedback.ebay.ca", "signin.ebay.ca",
     "/?ssPageName=h:h:home:CA",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:CA",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:CA"},
    {"eBay United Kingdom", "UK", "eBay Home", "eBay Search", "GBP", "Days", "ebay.co.uk",
     "www.ebay.co.uk", "search.ebay.co.uk", "cgi.ebay.co.uk",
     "my.ebay.co.uk", "feedback.ebay.co.uk", "signin.ebay.co.uk",
     "/?ssPageName=h:h:home:UK",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:Uk",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:UK"},
    {"eBay Austria", "AT", "eBay Startseite", "eBay Suchen", "EUR", "Tage", "ebay.at",
     "www.ebay.at", "search.ebay.at", "cgi.ebay.at",
     "my.ebay.at", "feedback.ebay.at", "signin.ebay.at",
     "/?ssPageName=h:h:home:AT",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:AT",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:AT"},
    {"eBay Belgium-French", "BEFR", "eBay accueil", "eBay Rechercher", "EUR", "jours", "ebay.be",
     "www.befr.ebay.be", "search.befr.ebay.be", "cgi.befr.ebay.be",
     "my.befr.ebay.be", "feedback.befr.ebay.be", "signin.befr.ebay.be",
     "/?ssPageName=h:h:home:BEFR",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:BEFR",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:BEFR"},
    {"eBay Belgium-Dutch", "BENL", "eBay Home", "eBay Zoeken", "EUR", "dagen", "ebay.be",
     "www.benl.ebay.be", "search.benl.ebay.be", "cgi.benl.ebay.be",
     "my.benl.ebay.be", "feedback.benl.ebay.be", "signin.benl.ebay.be",
     "/?ssPageName=h:h:home:BENL",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:BENL",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:BENL"},
    {"eBay France", "FR", "eBay accueil", "eBay Rechercher", "EUR", "jours", "ebay.fr",
     "www.ebay.fr", "search.ebay.fr", "cgi.ebay.fr",
     "my.ebay.fr", "feedback.ebay.fr", "signin.ebay.fr",
     "/?ssPageName=h:h:home:FR",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:FR",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:FR"},
    {"eBay Germany", "DE", "eBay Startseite", "eBay Suchen", "EUR", "Tage", "ebay.de",
     "www.ebay.de", "search.ebay.de", "cgi.ebay.de",
     "my.ebay.de", "feedback.ebay.de", "signin.ebay.de",
     "/?ssPageName=h:h:home:DE",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:DE",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:DE"},
    {"eBay Italy", "IT", "eBay Home", "eBay Ricerca", "EUR", "giorni", "ebay.it",
     "www.ebay.it", "search.ebay.it", "cgi.ebay.it",
     "my.ebay.it", "feedback.ebay.it", "signin.ebay.it",
     "/?ssPageName=h:h:home:IT",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:IT",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:IT"},
    {"eBay Netherlands", "NL", "eBay Home", "eBay Zoeken", "EUR", "dagen", "ebay.nl",
     "www.ebay.nl", "search.ebay.nl", "cgi.ebay.nl",
     "my.ebay.nl", "feedback.ebay.nl", "signin.ebay.nl",
     "/?ssPageName=h:h:home:NL",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:NL",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:NL"},
    {"eBay Spain", "ES", "eBay portada", "eBay Buscar", "EUR", "d\xC3\xAD" "as", "ebay.es",
     "www.ebay.es", "search.ebay.es", "cgi.ebay.es",
     "my.ebay.es", "feedback.ebay.es", "signin.ebay.es",
     "/?ssPageName=h:h:home:ES",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:ES",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:ES"},
    {"eBay Switzerland", "CH", "eBay Startseite", "eBay Suchen", "CHF", "Tage", "ebay.ch",
     "www.ebay.ch", "search.ebay.ch", "cgi.ebay.ch",
     "my.ebay.ch", "feedback.ebay.ch", "signin.ebay.ch",
     "/?ssPageName=h:h:home:CH",
     "/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:CH",
     "/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:CH"},
    {"eBay Singapore", "SG", "eBay Singapore", "eBay Singapore", "EUR", "Day", "ebay.com.sg",
     "www.ebay.com.sg", "search.ebay.com.sg", "cgi.ebay.com.sg",
     "my.ebay.com.sg", "feedback.ebay.com.sg", "signin.ebay.com.sg",
     "/",
     "/ws/search/AdvSearch?sofindtype=1&ssPageName=h:h:advsearch:SG",
     "/ws/eBayISAPI.dll?MyEbay"},
};

struct SignInOverride { std::string signIn, memberPages, home; };
SignInOverride g_signIn;
std::string g_extraHost;

}  // namespace

const NationalSite* National_Site(long siteIndex) {
    if (siteIndex < 0 || siteIndex >= kNationalSiteCount) return nullptr;
    return &kSites[siteIndex];
}

std::string Site_Item_Page_Base(long siteIndex) {
    const NationalSite* s = National_Site(siteIndex);
    return s ? std::string("http://") + s->itemHost + "/" : std::string();
}

long Site_Index_Of_Item_Base(std::string_view base) {
    if (base.empty()) return 0;
    for (long i = 0; i < kNationalSiteCount; ++i)
        if (vb::EqualText(base, Site_Item_Page_Base(i))) return i;
    return -1;
}

std::string Sign_In_Host(long siteIndex) {
    if (!g_signIn.signIn.empty()) return g_signIn.signIn;
    const NationalSite* s = National_Site(siteIndex);
    return s ? s->signInHost : std::string();
}

std::string Member_Pages_Host(long siteIndex) {
    if (!g_signIn.memberPages.empty()) return g_signIn.memberPages;
    const NationalSite* s = National_Site(siteIndex);
    return s ? s->memberHost : std::string();
}

std::string Home_Site_Host(long siteIndex) {
    if (!g_signIn.home.empty()) return g_signIn.home;
    const NationalSite* s = National_Site(siteIndex);
    return s ? s->homeHost : std::string();
}

void SetSignInHostsForTests(const std::string& signIn, const std::string& memberPages, const std::string& home) {
    g_signIn = {signIn, memberPages, home};
}

std::vector<std::string> Site_Domains() {
    std::vector<std::string> domains;
    for (const auto& s : kSites)
        if (std::find(domains.begin(), domains.end(), s.domain) == domains.end()) domains.emplace_back(s.domain);
    return domains;
}

bool Is_Site_Host(std::string_view host) {
    static const std::vector<std::string> kDomains = Site_Domains();
    std::string h = vb::LCase(host);
    while (!h.empty() && h.back() == '.') h.pop_back();
    if (h.empty()) return false;
    if (!g_extraHost.empty() && h == vb::LCase(g_extraHost)) return true;
    for (const auto& d : kDomains) {
        if (h == d) return true;
        const bool below = h.size() > d.size() && h.compare(h.size() - d.size(), d.size(), d) == 0 &&
                           h[h.size() - d.size() - 1] == '.';
        if (below) return true;
    }
    return false;
}

void SetExtraSiteHostForTests(const std::string& host) { g_extraHost = host; }

void Set_Site_Locale(long SiteIndex) {
    if (const NationalSite* s = National_Site(SiteIndex)) {
        const std::string http = "http://";
        const std::string member = s->memberHost;
        const auto put = [](const char* key, const std::string& value) {
            modTLC::Set_Config_Value("Locale", key, value);
        };
        put("HomeSite", http + s->homeHost + s->homePath);
        put("HomeTitle", s->homeTitle);
        put("SearchURL", http + s->searchHost + s->searchPath);
        put("SearchTitle", s->searchTitle);
        put("Currency", s->currency);
        put("CGI", Site_Item_Page_Base(SiteIndex));
        put("Day", s->dayWord);
        put("MyeBayHost", member);
        put("MyeBay", http + member + s->myEbayPath);
        put("MyeBayMsg",
            http + member + "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayMyMessages&ssPageName=STRK:ME:LNLK");
        put("MyFeedback",
            http + member + "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback&ssPageName=STRK:ME:LNLK");
        put("AllFeedback", http + s->feedbackHost + "/ws/eBayISAPI.dll?LeaveFeedback2");
    }
    SiteDayWord = modTLC::Get_Config_Value("Locale", "Day", "Day");
    if (FirstRunSetup == 0) {  // the main window is loaded: its home and search tips follow the site
        TLMainLink::toolbar().setToolbarButtonTip(kHomeToolbarButton,
                                                  modTLC::Get_Config_Value("Locale", "HomeTitle", "eBay Home"));
        TLMainLink::toolbar().setToolbarButtonTip(kSearchToolbarButton,
                                                  modTLC::Get_Config_Value("Locale", "SearchTitle", "eBay Search"));
    }
}

void ResetNationalSitesForTests() {
    SiteDayWord.clear();
    g_signIn = {};
    g_extraHost.clear();
}

}  // namespace modTLMain
