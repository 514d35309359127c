// The cookie jar tl2upsc.dat and its private-profile file layer.
#include <gtest/gtest.h>

#include <QFile>

#include "fake_clock.h"
#include "foundation/startup.h"
#include "service/private_profile.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

using namespace testsupport;
namespace wi = modWinInet;
namespace pp = modPrivateProfile;

namespace {

class CookieJar : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        wi::ResetForTests();
        time.clock.setNow(QDateTime(QDate(2026, 6, 1), QTime(12, 0)));
    }
    std::string jar() const { return data.read("tl2upsc.dat"); }
    std::string section(const std::string& name) const {
        std::string text;
        pp::Get_Profile_Section(wi::Cookie_File(), name, text, 4096);
        for (auto& c : text)
            if (c == '\0') c = '|';
        return text;
    }

    TempDataFolder data;
    FakeTime time;
};

TEST_F(CookieJar, SetCookiesGoToTheirSections) {
    wi::Store_Cookies(
        "HTTP/1.1 302 Found\r\n"
        "Set-Cookie: sid=abc; path=/; domain=.ebay.com\r\n"
        "set-cookie:   keep=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT; path=/\r\n"
        "Set-Cookie: sru=gone; Expires=Thu, 01-Jan-2026 00:00:00 GMT\r\n"
        "Set-Cookie: abc=x; Expires=Thu, 01-Jan-2026 00:00:00 GMT\r\n"
        "Set-Cookie: noequals; path=/\r\n"
        "Set-Cookie: eq=a=b\r\n"
        "Set-Cookie: unread=1; expires=Wednesday, 09-Jun-27 10:18:14 GMT\r\n"
        "Location: http://my.ebay.com/\r\n\r\n",
        "alice");
    EXPECT_EQ(section("alice Session"), "sid=abc|eq=a=b|");
    EXPECT_EQ(section("alice Persistent"), "keep=1|abc=x|unread=1|")
        << "an expired sru is skipped, any other expired cookie is kept";
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: keep=1; abc=x; unread=1; sid=abc; eq=a=b\r\n");
    EXPECT_EQ(wi::CookiePersistentRaw, std::string("keep=1\0abc=x\0unread=1\0", 22));
}

TEST_F(CookieJar, HeaderIsPersistentFirstAndEmptyWithoutCookies) {
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "");
    EXPECT_EQ(wi::Get_Cookie_Header(""), "");
    wi::Store_Cookies("Set-Cookie: b=2\r\n", "alice");
    wi::Store_Cookies("Set-Cookie: a=1; expires=Mon, 01-Jun-2026 00:00:00 GMT\r\n", "alice");
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: a=1; b=2\r\n");
    wi::Store_Cookies("Set-Cookie: c=3\r\n", "");  // no user: nothing stored
    EXPECT_EQ(wi::Get_Cookie_Header("bob"), "");
}

TEST_F(CookieJar, ACookieReceivedAgainIsRewrittenInPlace) {
    wi::Store_Cookies("Set-Cookie: a=1\r\nSet-Cookie: b=2\r\nSet-Cookie: c=3\r\n", "alice");
    wi::Store_Cookies("Set-Cookie: B=20\r\n", "ALICE");  // names match without regard to case
    EXPECT_EQ(section("alice session"), "a=1|B=20|c=3|");
}

TEST_F(CookieJar, ClearCookiesRemovesOnlyThatUsersSections) {
    wi::Store_Cookies("Set-Cookie: a=1\r\nSet-Cookie: p=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT\r\n", "alice");
    wi::Store_Cookies("Set-Cookie: z=9\r\n", "bob");
    wi::Clear_Cookies("alice");
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "");
    EXPECT_EQ(wi::Get_Cookie_Header("bob"), "Cookie: z=9\r\n");
    EXPECT_EQ(jar().find("alice"), std::string::npos) << jar();
}

TEST_F(CookieJar, JarIsPrivateToTheUser) {
    wi::Store_Cookies("Set-Cookie: a=1\r\n", "alice");
    const auto perms = QFile::permissions(QString::fromStdString(wi::Cookie_File()));
    EXPECT_TRUE(perms & QFileDevice::ReadOwner);
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    EXPECT_EQ(jar(), "[alice Session]\r\na=1\r\n");
}

TEST_F(CookieJar, CookieDaysLeft) {
    struct { const char* cookie; int days; } cases[] = {
        {"a=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT", 373},
        {"a=1; expires=Tue, 02 Jun 2026 10:18:14 GMT", 1},
        {"a=1; Expires=Mon, 01-Jun-2026 00:00:00 GMT", 0},
        {"a=1; Expires=Sun, 31-May-2026 23:59:59 GMT", -1},
        {"a=1; path=/", 0},
        {"a=1; Expires=Wednesday, 09-Jun-2027 10:18:14 GMT", 0},
        {"a=1; Expires=Wed, 09-Jun-27 10:18:14 GMT", 0},
        {"a=1; Expires=Wed, 31-Feb-2027 10:18:14 GMT", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(wi::Cookie_Days_Left(c.cookie), c.days) << c.cookie;
}

// ---- The file layer ------------------------------------------------------------------------------

TEST_F(CookieJar, ProfileNamesMatchWithoutRegardToCase) {
    const std::string f = data.path("t.ini");
    ASSERT_TRUE(pp::Write_Profile_String(f, "Sec One", "Key", "v1"));
    ASSERT_TRUE(pp::Write_Profile_String(f, "Sec Two", "k", "x"));
    ASSERT_TRUE(pp::Write_Profile_String(f, "SEC ONE", "key", "v2"));
    ASSERT_TRUE(pp::Write_Profile_String(f, "sec one", "Other", "v3"));
    EXPECT_EQ(data.read("t.ini"), "[Sec One]\r\nkey=v2\r\nOther=v3\r\n\r\n[Sec Two]\r\nk=x\r\n");
    EXPECT_EQ(pp::Get_Profile_String(f, "sec ONE", "KEY"), "v2");
    EXPECT_EQ(pp::Get_Profile_String(f, "none", "key", "dflt"), "dflt");
    ASSERT_TRUE(pp::Delete_Profile_Section(f, "SEC ONE"));
    EXPECT_EQ(data.read("t.ini"), "[Sec Two]\r\nk=x\r\n");
}

TEST_F(CookieJar, ProfileRefusesTextsThatWouldBreakTheFile) {
    const std::string f = data.path("t.ini");
    EXPECT_FALSE(pp::Write_Profile_String(f, "a", "k", "x\r\n[b]\r\ny=1"));
    EXPECT_FALSE(pp::Write_Profile_String(f, "a", "[k", "1"));
    EXPECT_FALSE(pp::Write_Profile_String(f, "a]", "k", "1"));
    EXPECT_FALSE(pp::Write_Profile_String(f, "a", "", "1"));
    EXPECT_FALSE(data.exists("t.ini"));
    // A cookie value with a bare line break is simply not stored.
    wi::Store_Cookies("Set-Cookie: a=1\r[alice Persistent]\r\n", "alice");
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "");
}

TEST_F(CookieJar, SectionReadReportsACutBuffer) {
    const std::string f = data.path("t.ini");
    for (int i = 0; i < 10; ++i) pp::Write_Profile_String(f, "s", "k" + std::to_string(i), "vvvvv");  // 8 bytes + NUL each
    std::string text;
    EXPECT_EQ(pp::Get_Profile_Section(f, "s", text, 100), 90);
    EXPECT_EQ(text.size(), 90u);
    EXPECT_EQ(pp::Get_Profile_Section(f, "s", text, 50), 48) << "cut: size - 2";
    EXPECT_EQ(text.size(), 45u) << "whole lines only";
    EXPECT_EQ(pp::Get_Profile_Section(f, "missing", text, 50), 0);
}

TEST_F(CookieJar, LargeSectionsAreReadWhole) {
    std::string headers;
    for (int i = 0; i < 300; ++i) headers += "Set-Cookie: cookie" + std::to_string(i) + "=" + std::string(20, 'v') + "\r\n";
    wi::Store_Cookies(headers, "alice");
    const std::string h = wi::Get_Cookie_Header("alice");
    EXPECT_NE(h.find("cookie0=vvvv"), std::string::npos);
    EXPECT_NE(h.find("cookie299=" + std::string(20, 'v') + "\r\n"), std::string::npos) << "9 KB of cookies, read whole";
}

}  // namespace
