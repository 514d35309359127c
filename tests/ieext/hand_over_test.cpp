// The hand-over text: built from a page's parts and cut back into them, also when the page's
// HTML or text holds the hand-over's own tags.
#include <gtest/gtest.h>

#include "ieext/hand_over.h"

using ieext::PageHandOver;

namespace {

bool same(const PageHandOver& a, const PageHandOver& b) {
    return a.prefix == b.prefix && a.tag == b.tag && a.url == b.url && a.title == b.title && a.html == b.html &&
           a.text == b.text;
}

TEST(HandOver, CutsBackIntoThePartsItWasBuiltFrom) {
    struct Case {
        const char* what;
        PageHandOver page;
    };
    const Case cases[] = {
        {"a plain item page", {"TLAUCDOC", "-N", "http://www.ebay.com/itm/123456789012", "Blue teapot",
                               "<body><p>Teapot</p></body>", "Teapot\nItem number: 123456789012"}},
        {"an empty title, started program", {"TLADDGRP", "-M", "http://www.ebay.com/itm/1", "", "<body></body>", ""}},
        {"the HTML holds closing tags", {"TLFEEDBACK", "-N", "http://feedback.ebay.com/x", "Feedback",
                                         "<body>a</IEURL><IETitle>b</IETitle><IEHTML>c</IEHTML>d</body>",
                                         "a</IEURL>b"}},
        {"the text holds its own closing tag", {"TLAUCDOC", "-N", "http://www.ebay.com/itm/2", "t", "<body>x</body>",
                                                "says </IEText> in the middle"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = ieext::Parse_Page_Hand_Over(ieext::Build_Page_Hand_Over(c.page));
        ASSERT_TRUE(parsed);
        EXPECT_TRUE(same(*parsed, c.page));
    }
}

TEST(HandOver, RefusesTextsThatAreNotAWholeHandOver) {
    const std::string whole = ieext::Build_Page_Hand_Over(
        {"TLAUCDOC", "-N", "http://www.ebay.com/itm/1", "t", "<body>x</body>", "x"});
    const std::string cases[] = {
        "",
        "TLAUCDOC",
        whole.substr(0, whole.size() - 1),        // cut short
        whole.substr(0, whole.find("<IEText>")),  // the text missing
        "TLAUCDOC-X" + whole.substr(10),           // no tag
        "TLAUCDOC-N<IEURL>a</IEText>",              // nothing between
        "XLAUCDOC" + whole.substr(8),              // another prefix
    };
    for (const std::string& t : cases) {
        SCOPED_TRACE(t.substr(0, 30));
        EXPECT_FALSE(ieext::Parse_Page_Hand_Over(t));
    }
}

}  // namespace
