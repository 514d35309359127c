#include <gtest/gtest.h>

#include <map>

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "recording_main_window.h"
#include "service/national_sites.h"

namespace {

class NationalSites : public ::testing::Test {
protected:
    void SetUp() override { modTLC::ResetForTests(); }
    void TearDown() override {
        modTLMain::FirstRunSetup = 0;
        modTLMain::ResetNationalSitesForTests();
        modTLC::ResetForTests();
    }
    static std::string locale(const char* key) { return modTLC::Get_Config_Value("Locale", key, "<none>"); }
    testsupport::RecordingToolbar window;
};

const char* const kKeys[] = {"HomeSite", "HomeTitle", "SearchURL", "SearchTitle", "Currency", "CGI",
                             "Day",      "MyeBayHost", "MyeBay",   "MyeBayMsg",   "MyFeedback", "AllFeedback"};

TEST_F(NationalSites, UsUkAndGermanyWriteTheirLocaleValues) {
    struct C { long index; const char* key; const char* value; };
    const C cases[] = {
        {0, "HomeSite", "http://www.ebay.com/?ssPageName=h:h:home:US"},
        {0, "SearchURL", "http://search.ebay.com/ws/search/AdvSearch?sofindtype=13&ssPageName=h:h:fitem:US"},
        {0, "Currency", "US"},
        {0, "CGI", "http://cgi.ebay.com/"},
        {0, "Day", "Days"},
        {0, "MyeBayHost", "my.ebay.com"},
        {0, "MyeBay", "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay&ssPageName=H:H:MYEBAY:US"},
        {0, "MyeBayMsg", "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayMyMessages&ssPageName=STRK:ME:LNLK"},
        {0, "MyFeedback", "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback&ssPageName=STRK:ME:LNLK"},
        {0, "AllFeedback", "http://feedback.ebay.com/ws/eBayISAPI.dll?LeaveFeedback2"},
        {3, "HomeSite", "http://www.ebay.co.uk/?ssPageName=h:h:home:UK"},
        {3, "SearchURL", "http://search.ebay.co.uk/ws/search/AdvSearch?sofindtype=13&amp;ssPageName=h:h:advsearch:Uk"},
        {3, "Currency", "GBP"},
        {3, "CGI", "http://cgi.ebay.co.uk/"},
        {3, "MyeBay", "http://my.ebay.co.uk/ws/eBayISAPI.dll?MyeBay&ssPageName=h:h:mebay:UK"},
        {8, "HomeTitle", "eBay Startseite"},
        {8, "SearchTitle", "eBay Suchen"},
        {8, "Currency", "EUR"},
        {8, "CGI", "http://cgi.ebay.de/"},
        {8, "Day", "Tage"},
        {8, "MyeBayHost", "my.ebay.de"},
        {8, "AllFeedback", "http://feedback.ebay.de/ws/eBayISAPI.dll?LeaveFeedback2"},
        {11, "Day", "d\xC3\xAD" "as"},
        {12, "Currency", "CHF"},
        {13, "HomeSite", "http://www.ebay.com.sg/"},
        {13, "SearchURL", "http://search.ebay.com.sg/ws/search/AdvSearch?sofindtype=1&ssPageName=h:h:advsearch:SG"},
        {13, "MyeBay", "http://my.ebay.com.sg/ws/eBayISAPI.dll?MyEbay"},
        {13, "Currency", "EUR"},
        {13, "Day", "Day"},
    };
    for (const auto& c : cases) {
        modTLMain::Set_Site_Locale(c.index);
        EXPECT_EQ(locale(c.key), c.value) << "site " << c.index << " " << c.key;
    }
}

TEST_F(NationalSites, EverySiteWritesTwelveKeysInOrderWithHostsOfItsOwnDomain) {
    for (long i = 0; i < modTLMain::kNationalSiteCount; ++i) {
        modTLC::ResetForTests();
        modTLMain::Set_Site_Locale(i);
        const auto keys = modTLC::Get_Section_Keys("Locale");
        ASSERT_EQ(keys, std::vector<std::string>(std::begin(kKeys), std::end(kKeys))) << "site " << i;
        const std::string domain = modTLMain::National_Site(i)->domain;
        for (const char* key : {"HomeSite", "SearchURL", "CGI", "MyeBay", "MyeBayMsg", "MyFeedback", "AllFeedback"}) {
            const std::string v = locale(key);
            ASSERT_EQ(v.rfind("http://", 0), 0u) << i << " " << key;
            const std::string host = v.substr(7, v.find('/', 7) - 7);
            EXPECT_TRUE(modTLMain::Is_Site_Host(host)) << host;
            EXPECT_EQ(host.substr(host.size() - domain.size()), domain) << i << " " << key;
        }
        EXPECT_EQ(locale("CGI").back(), '/');
        EXPECT_EQ(locale("MyeBayHost").find_first_of(":/"), std::string::npos);
        EXPECT_EQ(modTLMain::SiteDayWord, locale("Day"));
        EXPECT_EQ(modTLMain::Site_Index_Of_Item_Base(locale("CGI")), i);
    }
}

TEST_F(NationalSites, ALaterSiteReplacesEveryValueAndOutOfRangeWritesNothing) {
    modTLMain::Set_Site_Locale(0);
    modTLMain::Set_Site_Locale(4);
    std::map<std::string, std::string> austria;
    for (const char* k : kKeys) austria[k] = locale(k);
    EXPECT_EQ(austria["HomeSite"], "http://www.ebay.at/?ssPageName=h:h:home:AT");
    EXPECT_EQ(modTLMain::SiteDayWord, "Tage");
    EXPECT_EQ(window.tips[7], "eBay Startseite");
    EXPECT_EQ(window.tips[9], "eBay Suchen");

    for (long bad : {14L, -1L}) {
        modTLC::Set_Config_Value("Locale", "Day", "Tage!");  // read back even when nothing is written
        modTLC::Set_Config_Value("Locale", "HomeTitle", "Mine");
        window.tips.clear();
        modTLMain::Set_Site_Locale(bad);
        EXPECT_EQ(locale("CGI"), austria["CGI"]);
        EXPECT_EQ(locale("HomeTitle"), "Mine");
        EXPECT_EQ(modTLMain::SiteDayWord, "Tage!");
        EXPECT_EQ(window.tips[7], "Mine");
    }
}

TEST_F(NationalSites, DuringFirstRunTheToolbarIsLeftAlone) {
    modTLMain::FirstRunSetup = 1;
    modTLMain::Set_Site_Locale(3);
    EXPECT_TRUE(window.tips.empty());
    EXPECT_EQ(locale("Currency"), "GBP");
    EXPECT_EQ(modTLMain::SiteDayWord, "Days");
    modTLC::ResetForTests();
    modTLMain::Set_Site_Locale(20);  // nothing written: the defaults
    EXPECT_EQ(modTLMain::SiteDayWord, "Day");
    modTLMain::FirstRunSetup = 0;
    modTLMain::Set_Site_Locale(20);
    EXPECT_EQ(window.tips[7], "eBay Home");
    EXPECT_EQ(window.tips[9], "eBay Search");
}

TEST_F(NationalSites, LookupsForSignInCookiesAndPages) {
    EXPECT_EQ(modTLMain::Sign_In_Host(0), "signin.ebay.com");
    EXPECT_EQ(modTLMain::Member_Pages_Host(0), "my.ebay.com");
    EXPECT_EQ(modTLMain::Home_Site_Host(0), "www.ebay.com");
    EXPECT_EQ(modTLMain::Sign_In_Host(3), "signin.ebay.co.uk");
    EXPECT_EQ(modTLMain::Sign_In_Host(99), "");
    modTLMain::SetSignInHostsForTests("127.0.0.1:8080", "127.0.0.1:8081", "127.0.0.1:8082");
    EXPECT_EQ(modTLMain::Sign_In_Host(3), "127.0.0.1:8080");
    EXPECT_EQ(modTLMain::Home_Site_Host(0), "127.0.0.1:8082");

    EXPECT_EQ(modTLMain::Site_Item_Page_Base(0), "http://cgi.ebay.com/");
    EXPECT_EQ(modTLMain::Site_Index_Of_Item_Base(""), 0);
    EXPECT_EQ(modTLMain::Site_Index_Of_Item_Base("HTTP://CGI.EBAY.DE/"), 8);
    EXPECT_EQ(modTLMain::Site_Index_Of_Item_Base("http://cgi.example.com/"), -1);

    const auto domains = modTLMain::Site_Domains();
    EXPECT_EQ(domains.size(), 13u);  // the two Belgian sites share one
    struct C { const char* host; bool site; };
    for (auto c : {C{"signin.ebay.com", true}, C{"ebay.co.uk", true}, C{"CGI.BENL.EBAY.BE", true},
                   C{"my.ebay.com.sg.", true}, C{"notebay.com", false}, C{"ebay.com.evil.net", false},
                   C{"i.ebayimg.com", false}, C{"", false}, C{"127.0.0.1", false}}) {
        EXPECT_EQ(modTLMain::Is_Site_Host(c.host), c.site) << c.host;
    }
    modTLMain::SetExtraSiteHostForTests("127.0.0.1");
    EXPECT_TRUE(modTLMain::Is_Site_Host("127.0.0.1"));
    EXPECT_STREQ(modTLMain::kPictureHostWord, "ebayimg");
    EXPECT_STREQ(modTLMain::National_Site(6)->label, "eBay Belgium-Dutch");
    EXPECT_EQ(modTLMain::National_Site(14), nullptr);
}

}  // namespace
