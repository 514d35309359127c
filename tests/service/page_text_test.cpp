// The page text that the finders read: small golden pages and what they read as.
#include <gtest/gtest.h>

#include "service/page_text.h"

namespace {

using modPageParser::Inner_Text;

struct GoldenPage {
    const char* what;
    const char* html;
    const char* text;
};

TEST(PageText, GoldenPagesReadAsTheirText) {
    const GoldenPage pages[] = {
        {"plain words", "Blue teapot", "Blue teapot"},
        {"white space runs are one blank", "  Blue \t\r\n  teapot  ", "Blue teapot"},
        {"inline elements keep the line", "<b>Blue</b> <i>tea</i>pot", "Blue teapot"},
        {"blocks stand on their own lines", "<div>one</div><div>two</div>three<p>four</p>",
         "one\r\ntwo\r\nthree\r\nfour"},
        {"never two line breaks in a row", "<div><div><p>one</p></div></div><br><br><div>two</div>",
         "one\r\ntwo"},
        {"a break after <br>", "one<br>two<br/>three", "one\r\ntwo\r\nthree"},
        {"no blank around a line break", "one <br> two <div> three </div> four", "one\r\ntwo\r\nthree\r\nfour"},
        {"list items", "<ul><li>one</li><li>two</li></ul>after", "one\r\ntwo\r\nafter"},
        {"cells of a row joined", "<table><tr><th>Bidder</th>\n<th>Bid Amount</th></tr>\n"
                                  "<tr><td> bob (12) </td>\n<td> US $5.00 </td></tr></table>",
         "BidderBid Amount\r\nbob (12)US $5.00"},
        {"script, style, title and comments give nothing",
         "<title>T</title><style>p{}</style>a<script>var s = '<b>x</b>';</script>b<!-- c -->d<noscript>n</noscript>",
         "abd"},
        {"a whole document reads as its body", "<html><head><title>Item</title><meta charset=\"utf-8\"></head>"
                                               "<body><h1>Blue teapot</h1>Price</body></html>",
         "Blue teapot\r\nPrice"},
        {"pre keeps its lines", "<pre>a  b\nc</pre>d", "a  b\r\nc\r\nd"},
        {"images give no text", "a<img src=\"x.jpg\" alt=\"photo\">b", "ab"},
        {"an empty page", "", ""},
    };
    for (const auto& p : pages) EXPECT_EQ(Inner_Text(p.html), p.text) << p.what;
}

TEST(PageText, DecodesEntities) {
    const GoldenPage pages[] = {
        {"named", "Tom &amp; Jerry &lt;3&gt; &quot;mugs&quot;", "Tom & Jerry <3> \"mugs\""},
        {"numeric", "It&#39;s &#039;new&#039; &#x41;", "It's 'new' A"},
        {"no-break spaces are blanks", "US&nbsp;$5.00&nbsp;&nbsp; each", "US $5.00 each"},
        {"a raw no-break space too", "US\xC2\xA0$5.00", "US $5.00"},
        {"letters stay UTF-8", "Caf&eacute; cr\xC3\xA8me &pound;3.00", "Caf\xC3\xA9 cr\xC3\xA8me \xC2\xA3" "3.00"},
    };
    for (const auto& p : pages) EXPECT_EQ(Inner_Text(p.html), p.text) << p.what;
}

TEST(PageText, BytesThatAreNotUtf8ComeOutAsReplacementCharacters) {
    const std::string text = Inner_Text("caf\xE9 \xC3");
    EXPECT_EQ(text.substr(0, 3), "caf");
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
    for (const unsigned char c : text) EXPECT_TRUE(c != 0xE9);
}

// A whole page is read with several times the parse memory a page head takes; the page after it
// reads as it would alone.
TEST(PageText, ALargePageThenASmallOneReadWhole) {
    std::string html, text;
    for (int i = 1; i <= 40000; ++i) {
        html += "<div class=\"row\"><b>" + std::to_string(i) + "</b></div>";
        text += (i > 1 ? "\r\n" : "") + std::to_string(i);
    }
    EXPECT_EQ(Inner_Text(html), text);
    EXPECT_EQ(Inner_Text("<p>Blue</p> teapot"), "Blue\r\nteapot");
}

// Tags nested past any real page's depth are left out, their text kept: a page of endless
// unclosed tags reads in time that grows with its length only, and says what it says.
TEST(PageText, EndlessNestingKeepsItsText) {
    struct C { const char* what; std::string html; std::string wanted; };
    std::string divs, bold, pages;
    for (int i = 0; i < 5000; ++i) divs += "<div>";
    divs += "Current bid: US $5.00";
    for (int i = 0; i < 5000; ++i) bold += "<b>";
    for (int i = 0; i < 3000; ++i) bold += "<p>x";
    bold += "<p>You're currently the highest bidder";
    for (int i = 0; i < 3000; ++i) pages += "<ul><li>row " + std::to_string(i);
    const C cases[] = {
        {"unclosed divs", divs, "Current bid: US $5.00"},
        {"unclosed bold then paragraphs", bold, "You're currently the highest bidder"},
        {"unclosed lists", pages, "row 2999"},
    };
    for (const C& c : cases) {
        const std::string text = Inner_Text(c.html);
        EXPECT_NE(text.find(c.wanted), std::string::npos) << c.what;
    }
    // A real page's nesting is read as it stands.
    std::string nested, expected;
    for (int i = 1; i <= 60; ++i) {
        nested += "<div>" + std::to_string(i);
        expected += (i > 1 ? "\r\n" : "") + std::to_string(i);
    }
    EXPECT_EQ(Inner_Text(nested), expected);
}

// An answer page is read from its head: far past any real page's length nothing more is read.
TEST(PageText, AnAnswerPageIsReadFromItsHead) {
    std::string page = "<p>Current bid: US $5.00</p>" + std::string(modPageParser::kAnswerPageCut, 'x') + "<p>tail</p>";
    const std::string text = modPageParser::Answer_Page_Text(page);
    EXPECT_EQ(text.rfind("Current bid: US $5.00", 0), 0u);
    EXPECT_EQ(text.find("tail"), std::string::npos);
    EXPECT_EQ(modPageParser::Answer_Page_Text("<p>short</p>"), "short");
}

}  // namespace
