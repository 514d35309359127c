// The cookie jar tl2upsc.dat and its private-profile file layer.
#include <gtest/gtest.h>

#include <QFile>
#include <functional>

#include "fake_clock.h"
#include "foundation/debug_tools.h"
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
        wi::Reset_Cookie_Jar_For_Tests();
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

// ---- The jar in memory ------------------------------------------------------------------------

TEST_F(CookieJar, JarIsWrittenOncePerCallThatChangedIt) {
    std::string twenty = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 20; ++i) twenty += "Set-Cookie: c" + std::to_string(i) + "=v; path=/\r\n";
    struct {
        const char* what;
        std::function<void()> call;
        long writes;
    } cases[] = {
        {"20 new cookies", [&] { wi::Store_Cookies(twenty, "alice"); }, 1},
        {"the same 20 again", [&] { wi::Store_Cookies(twenty, "ALICE"); }, 0},
        {"one of them changed", [&] { wi::Store_Cookies("Set-Cookie: c7=w\r\nSet-Cookie: c8=v\r\n", "alice"); }, 1},
        {"nothing storable",
         [&] {
             wi::Store_Cookies("Set-Cookie: sru=1; Expires=Thu, 01-Jan-2026 00:00:00 GMT\r\nSet-Cookie: bare\r\n"
                               "Set-Cookie: a=1\r[x]\r\nLocation: /\r\n",
                               "alice");
         },
         0},
        {"no cookie user", [&] { wi::Store_Cookies("Set-Cookie: z=1\r\n", ""); }, 0},
        {"headers read",
         [&] {
             wi::Get_Cookie_Header("alice");
             wi::Cookie_Header_For("alice");
         },
         0},
        {"clearing a user without cookies", [&] { wi::Clear_Cookies("bob"); }, 0},
        {"clearing a user with cookies", [&] { wi::Clear_Cookies("alice"); }, 1},
    };
    for (const auto& c : cases) {
        const long before = wi::Cookie_Jar_Writes();
        c.call();
        EXPECT_EQ(wi::Cookie_Jar_Writes() - before, c.writes) << c.what;
    }
    EXPECT_EQ(jar(), "") << "the file follows memory";
}

TEST_F(CookieJar, KeepsTheFileLayoutOfAJarItRead) {
    data.write("tl2upsc.dat",
               "; kept\r\n[Bob Session]\r\nSID=1\r\n x = 2\r\n\r\n[bob persistent]\r\np=1\r\n"
               "[carol Session]\r\nc=1\r\n");
    wi::Store_Cookies("Set-Cookie: sid=9\r\nSet-Cookie: new=1\r\nSet-Cookie: x=3\r\n"
                      "Set-Cookie: q=2; Expires=Wed, 09-Jun-2027 10:18:14 GMT\r\n",
                      "BOB");
    wi::Store_Cookies("Set-Cookie: d=4\r\n", "dave");
    EXPECT_EQ(jar(),
              "; kept\r\n[Bob Session]\r\nsid=9\r\nx=3\r\nnew=1\r\n\r\n[bob persistent]\r\np=1\r\nq=2\r\n"
              "[carol Session]\r\nc=1\r\n\r\n[dave Session]\r\nd=4\r\n");
    EXPECT_EQ(wi::Cookie_Jar_Writes(), 2);
}

TEST_F(CookieJar, AChangeOnDiskIsReadAgain) {
    wi::Store_Cookies("Set-Cookie: a=1\r\n", "alice");
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: a=1\r\n");

    data.write("tl2upsc.dat", "[alice Session]\r\nfrom=disk\r\n");
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: from=disk\r\n");
    wi::Store_Cookies("Set-Cookie: b=2\r\n", "alice");
    EXPECT_EQ(jar(), "[alice Session]\r\nfrom=disk\r\nb=2\r\n") << "a store builds on what the file holds";

    TempDataFolder other;  // another data folder: its own jar
    modTLMain::DataFolder = other.dataFolder();
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "");
    wi::Store_Cookies("Set-Cookie: o=1\r\n", "alice");
    EXPECT_EQ(other.read("tl2upsc.dat"), "[alice Session]\r\no=1\r\n");
    modTLMain::DataFolder = data.dataFolder();
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: from=disk; b=2\r\n");
}

TEST_F(CookieJar, DebugClearEmptiesTheJarOfEveryUser) {
    wi::Store_Cookies("Set-Cookie: a=1\r\nSet-Cookie: p=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT\r\n", "alice");
    wi::Store_Cookies("Set-Cookie: z=9\r\n", "bob");
    modDebug::DB_Clear_Cookies();
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "");
    EXPECT_EQ(wi::Cookie_Header_For("bob"), "");
    EXPECT_TRUE(wi::Save_User_Cookies("alice").persistent.empty());
    wi::Store_Cookies("Set-Cookie: b=2\r\n", "bob");
    EXPECT_EQ(jar(), "[bob Session]\r\nb=2\r\n");
}

TEST_F(CookieJar, SavedCookiesArePutBackWithOneWrite) {
    wi::Store_Cookies("Set-Cookie: s1=1\r\nSet-Cookie: p1=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT\r\n"
                      "Set-Cookie: s2=2\r\n",
                      "alice");
    wi::Store_Cookies("Set-Cookie: z=9\r\n", "bob");
    const std::string header = wi::Get_Cookie_Header("alice");

    const wi::SavedCookies saved = wi::Save_User_Cookies("alice");
    EXPECT_EQ(saved.persistent, std::vector<std::string>{"p1=1"});
    EXPECT_EQ(saved.session, (std::vector<std::string>{"s1=1", "s2=2"}));
    wi::Clear_Cookies("alice");
    wi::Store_Cookies("Set-Cookie: signin=x\r\n", "alice");

    const long before = wi::Cookie_Jar_Writes();
    wi::Restore_User_Cookies("alice", saved);
    EXPECT_EQ(wi::Cookie_Jar_Writes() - before, 1);
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), header);
    EXPECT_EQ(wi::Get_Cookie_Header("bob"), "Cookie: z=9\r\n");
    EXPECT_EQ(jar(), "[bob Session]\r\nz=9\r\n\r\n[alice Persistent]\r\np1=1\r\n\r\n[alice Session]\r\ns1=1\r\ns2=2\r\n");

    wi::Restore_User_Cookies("nobody", {});
    EXPECT_EQ(wi::Cookie_Jar_Writes() - before, 1) << "nothing to put back, nothing written";
}

TEST_F(CookieJar, HeaderLeavesOutLinesBeyondTheLargestBuffer) {
    // About 24 KB of cookies: the section read stops at 16384 characters, as it always did.
    std::string headers;
    for (int i = 0; i < 800; ++i) headers += "Set-Cookie: k" + std::to_string(i) + "=" + std::string(25, 'v') + "\r\n";
    wi::Store_Cookies(headers, "alice");
    long size = 4096;
    std::string expected;
    while (pp::Get_Profile_Section(wi::Cookie_File(), "alice Session", expected, size) == size - 2 && size * 2 < 32768)
        size *= 2;
    ASSERT_LT(expected.size(), 16384u);
    ASSERT_GT(expected.size(), 16300u);
    wi::Get_Cookie_Header("alice");
    EXPECT_EQ(wi::CookieSessionRaw, expected);
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
