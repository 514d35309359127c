// The item-page parser's base: where a page is cut, how its bytes are cleaned, and the small text
// routines the finders share.
#include <gtest/gtest.h>

#include <cctype>
#include <iterator>

#include <QString>

#include "foundation/vb.h"
#include "service/page_parser.h"
#include "service/page_parser_internal.h"

namespace {

using namespace modPageParser;

bool validUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toUtf8() == QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

class PageParserBase : public ::testing::Test {
protected:
    void SetUp() override { modPageParser::ResetForTests(); }
    void TearDown() override { modPageParser::ResetForTests(); }
};

// ---- Cut point ----------------------------------------------------------------------------------

struct CutCase {
    const char* what;
    std::string html;
    const char* cutMarker;  // the marker that decides ("" none)
    long offset;            // the cut behind that marker's position, or the whole cut without one
};

TEST_F(PageParserBase, CutsAtTheFirstMarkerStandingAloneBetweenTags) {
    const std::string head = "<html><body><table><tr><td>";
    const std::string filler(200, 'x');
    const CutCase cases[] = {
        {"item number alone in a cell: 30 behind the label", head + "Item number:</td><td>1234</td></tr></table>" + filler,
         "Item number:", 30},
        {"control characters around the label still count as alone",
         head + "\r\n\tItem number:\r\n</td><td>1234</td></tr></table>" + filler, "Item number:", 30},
        {"a blank before the label is not alone: the next marker decides",
         head + " Item number:</td></tr></table><h2>Description</h2>" + filler, "Description", 0},
        {"other text before the label in the cell: the next marker decides",
         head + "The Item number:</td></tr></table><div>Ships to: everywhere</div>" + filler, "Ships to:", 0},
        {"Description before Ships to", "<p>Ships to: US</p><h2>\nDescription\n</h2>" + filler, "Description", 0},
        {"Ships to: counts anywhere", "<p>We ship. Ships to: US</p>" + filler, "Ships to:", 0},
        {"Item location: counts anywhere", "<p>Item location: Leeds</p>" + filler, "Item location:", 0},
        {"marker case counts: no marker, the whole page", "<td>item number:</td>" + filler, "", 221},
        {"the cut never passes the end", head + "Item number:</td>", "", 44},
    };
    for (const auto& c : cases) {
        const long expected = *c.cutMarker ? static_cast<long>(c.html.find(c.cutMarker)) + 1 + c.offset : c.offset;
        EXPECT_EQ(Page_Cut_Point(c.html), expected) << c.what;
    }
}

TEST_F(PageParserBase, PagesWithoutMarkersAreCutAt65000Bytes) {
    EXPECT_EQ(Page_Cut_Point(std::string(80000, 'a')), 65000);
    EXPECT_EQ(Page_Cut_Point(std::string(50000, 'a')), 50000);
    EXPECT_EQ(Page_Cut_Point(""), 0);
}

TEST_F(PageParserBase, PageTextEndsAtTheCut) {
    PageHTML = "<div>Seller: bob</div><table><tr><td>Item number:</td><td>123456789012</td></tr></table>"
               "<div>Description</div><p>The long description</p>";
    EXPECT_TRUE(Build_Page_Text());
    EXPECT_EQ(PageText, "Seller: bob\r\nItem number:1234567890");  // 30 bytes behind the label

    PageHTML = std::string(70000, 'a') + "<p>tail</p>";
    Build_Page_Text();
    EXPECT_EQ(PageText, std::string(65000, 'a'));
}

// ---- Bytes --------------------------------------------------------------------------------------

TEST_F(PageParserBase, TwoByteLettersBecomeBlanksAndNoBreakSpacesOneBlank) {
    PageHTML = "<p>Caf\xC3\xA9 US\xC2\xA0$5.00 \xC2\xA3" "3 it\xE2\x80\x99s</p>";
    Build_Page_Text();
    // é (195 169) two blanks; the no-break space one; £ (194 163) two; the 3-byte quote stays.
    EXPECT_EQ(PageHTML, "<p>Caf   US $5.00   3 it\xE2\x80\x99s</p>");
    EXPECT_EQ(PageText, "Caf US $5.00 3 it\xE2\x80\x99s");
    EXPECT_TRUE(validUtf8(PageHTML));
    EXPECT_TRUE(validUtf8(PageText));
}

TEST_F(PageParserBase, BlankingKeepsThePoundSignWhenAsked) {
    std::string html = "\xC2\xA3" "5.00 \xC3\xA9t\xC3\xA9 \xC3";
    Blank_Two_Byte_Letters(html, true);
    EXPECT_EQ(html, "\xC2\xA3" "5.00   t    ");
    std::string again = "\xC2\xA3" "5.00";
    Blank_Two_Byte_Letters(again);
    EXPECT_EQ(again, "  5.00");
}

TEST_F(PageParserBase, TheCutNeverSplitsAUtf8Sequence) {
    // 65,000 bytes end in the middle of a three-byte character.
    PageHTML = std::string(64999, 'a') + "\xE2\x80\x99" + std::string(100, 'b');
    Build_Page_Text();
    EXPECT_EQ(PageText, std::string(64999, 'a'));
    EXPECT_TRUE(validUtf8(PageText));
}

// ---- Shared text routines -----------------------------------------------------------------------

TEST_F(PageParserBase, TheFastSearchAnswersAsInStr) {
    const std::string hay = "Seller: bob SELLER: amy seller:\r\nsElLeR:x" + std::string(300, 'e') + "Seller:";
    const char* needles[] = {"Seller:", "seller:", "SELLER:", "s", "E", "x", ":", "Seller:x", "", "not there",
                             "eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeS"};
    for (const auto cmp : {vb::Binary, vb::Text})
        for (const char* n : needles)
            for (long start : {-1L, 1L, 2L, 9L, 30L, 300L, static_cast<long>(hay.size()), static_cast<long>(hay.size()) + 1,
                               static_cast<long>(hay.size()) + 5})
                EXPECT_EQ(detail::Find(start, hay, n, cmp), vb::InStr(start, hay, n, cmp))
                    << n << " from " << start << (cmp == vb::Text ? " case-blind" : "");
}

TEST_F(PageParserBase, FindsMarkersStandingAloneBetweenTags) {
    struct Case {
        const char* text;
        const char* marker;
        bool anyPlace;
        bool caseSensitive;
        long expected;
    };
    const Case cases[] = {
        {"<td>Seller:</td>", "Seller:", false, true, 5},
        {"<td>\r\n Seller:</td>", "Seller:", false, true, 0},          // a blank is another character
        {"<td> Seller:</td><b>Seller:</b>", "Seller:", false, true, 21},  // goes on to the next one
        {"<td>seller:</td>", "Seller:", false, true, 0},
        {"<td>seller:</td>", "Seller:", false, false, 5},
        {"the Seller: bob", "Seller:", true, true, 5},
        {"<td>Seller:", "Seller:", false, true, 0},                    // no tag after it
    };
    for (const auto& c : cases)
        EXPECT_EQ(Find_Text_Outside_Tags(1, c.text, c.marker, c.anyPlace, c.caseSensitive), c.expected) << c.text;
    EXPECT_EQ(Find_Text_Outside_Tags(6, "<td>Seller:</td>", "Seller:", false, true), 0);
}

// Entities decoded until none is left, the way the program always read them: each round takes the
// first of each kind. The program does it in one pass; both must agree on any text.
std::string decodeRoundByRound(std::string s) {
    for (auto& c : s)
        if (c == ',') c = ' ';
    auto first = [&](std::string_view find, std::string_view with) {
        const long p = modPageParser::detail::Find(s, find, vb::Text);
        if (p == 0) return false;
        s.replace(static_cast<size_t>(p - 1), find.size(), with);
        return true;
    };
    auto numeric = [&] {
        for (size_t p = s.find("&#0"); p != std::string::npos; p = s.find("&#0", p + 1)) {
            if (p + 5 < s.size() + 0 && std::isdigit(static_cast<unsigned char>(s[p + 3])) &&
                std::isdigit(static_cast<unsigned char>(s[p + 4])) && s[p + 5] == ';') {
                const int code = (s[p + 3] - '0') * 10 + (s[p + 4] - '0');
                s.replace(p, 6, code > 0 ? std::string(1, static_cast<char>(code)) : std::string());
                return true;
            }
        }
        return false;
    };
    for (bool changed = true; changed;) {
        changed = false;
        changed |= first("&amp;", "&");
        changed |= first("&quot;", "\"");
        changed |= numeric();
        changed |= first("&lt;", "<");
        changed |= first("&gt;", ">");
    }
    return s;
}

TEST_F(PageParserBase, EntitiesDecodeInOnePassAsRoundByRound) {
    // Texts made of the pieces that entities are made of, decoded entities that build new ones
    // among them ("&#038;" is "&", "&#059;" is ";", "&#000;" is nothing).
    const char* pieces[] = {"&", "amp;", "&amp;", "AMP", "lt;", "&gt;", ";", "&#038;", "&#059;", "&#000;",
                            "&#0", "3", "8", "quot;", "x", ",", "&#039;", "&#"};
    unsigned seed = 7;
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        const int len = static_cast<int>(seed % 9);
        for (int k = 0; k < len; ++k) {
            seed = seed * 1103515245u + 12345u;
            text += pieces[(seed >> 16) % std::size(pieces)];
        }
        seed = seed * 1103515245u + 12345u;
        std::string once = text;
        ASSERT_EQ(Decode_Entities(once), decodeRoundByRound(text)) << text;
    }
}

TEST_F(PageParserBase, DecodesEntitiesAndBlanksCommas) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Tom &amp; Jerry, mugs", "Tom & Jerry  mugs"},
        {"&QUOT;big&quot; &lt;b&gt;", "\"big\" <b>"},
        {"It&#039;s", "It's"},
        {"It&#039;s Bob&#039;s", "It's Bob's"},                  // the second needs a second pass
        {"&amp;lt;b&amp;gt;", "<b>"},                            // decoded from an escaped ampersand
        {"&#0x; and &#039;", "&#0x; and '"},                     // only a well-formed one is decoded
        {"no entities", "no entities"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(Decode_Entities(text), c.expected) << c.text;
        EXPECT_EQ(text, c.expected) << "the argument holds the result too";
    }
}

TEST_F(PageParserBase, ReadsTheContentOfAMetaTag) {
    PageHTML = "<head><META name=\"x\" content=\"a\">"
               "<meta property=\"og:title\" data=\"none\">"
               "<meta property=\"og:title\" content=\"Blue teapot\">"
               "<meta property=\"og:image\" content=\"http://i.ebayimg.com/t.jpg\"></head>";
    EXPECT_EQ(Get_Meta_Content("og:title"), "Blue teapot");  // the tag without content is passed over
    EXPECT_EQ(Get_Meta_Content("og:image"), "http://i.ebayimg.com/t.jpg");
    EXPECT_EQ(Get_Meta_Content("OG:TITLE"), "");              // the property compares exactly
    EXPECT_EQ(Get_Meta_Content("og:url"), "");
    PageHTML = "<meta property=\"og:title\" content=\"cut";
    EXPECT_EQ(Get_Meta_Content("og:title"), "");
}

TEST_F(PageParserBase, ReadsTheFirstRunOfDigits) {
    struct Case {
        const char* text;
        long start;
        long maxScan;
        const char* expected;
        long startAfter;
    };
    const Case cases[] = {
        {"Item 123456 watched", 1, 50, "123456", 12},
        {"abcdef123", 1, 5, "", 1},            // the fifth skipped letter reaches the limit
        {"ab12 34", 4, 50, "2", 5},
        {"no digits", 1, 50, "", 1},
        {"x1234567", 1, 5, "", 1},             // the digits themselves count too
    };
    for (const auto& c : cases) {
        long start = c.start;
        EXPECT_EQ(modTLMain::Get_Watch_Number(c.text, start, c.maxScan), c.expected) << c.text;
        EXPECT_EQ(start, c.startAfter) << c.text;
    }
}

TEST_F(PageParserBase, ReadsTheQuotedStringEndingAtOrAfterAPosition) {
    const std::string html = "<img src=\"a.jpg\" alt=\"Blue teapot\">";
    long pos = 13;
    EXPECT_EQ(Get_Quoted_Text(html, pos), "a.jpg");
    EXPECT_EQ(pos, 10);
    pos = 23;
    EXPECT_EQ(Get_Quoted_Text(html, pos), "Blue teapot");
    EXPECT_EQ(pos, 22);
    pos = 35;
    EXPECT_EQ(Get_Quoted_Text(html, pos), "");
    pos = 1;
    EXPECT_EQ(Get_Quoted_Text("x\"y", pos), "");  // no opening quote
}

TEST_F(PageParserBase, MakesASafeIdOfATitle) {
    struct Case {
        const char* title;
        const char* expected;
        const char* titleAfter;
    };
    const Case cases[] = {
        {"Grandma's  blue [teapot]", "Grandmas-blue-teapot", "Grandmas  blue [teapot]"},
        {"(new) teapot", "-new-teapot", "(new) teapot"},  // a leading "-" stays
        {"teapot", "teapot", "teapot"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        std::string title = c.title;
        EXPECT_EQ(Safe_Id(title), c.expected) << c.title;
        EXPECT_EQ(title, c.titleAfter) << c.title;
    }
}

}  // namespace
