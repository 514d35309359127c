// The fake service's account pages, pinned by the text the program reads from them.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <fstream>
#include <sstream>

#include "fake_account_pages.h"
#include "service/page_text.h"

using namespace testsupport;

namespace {

std::string golden(const std::string& name) {
    std::ifstream in(std::string(TOLVANE_ACCOUNT_GOLDEN) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Writes the page's text beside the golden one when TOLVANE_WRITE_GOLDEN is set (to renew them).
void expectGolden(const std::string& html, const std::string& name) {
    const std::string text = modPageParser::Inner_Text(html) + "\r\n";
    if (qEnvironmentVariableIsSet("TOLVANE_WRITE_GOLDEN")) {
        std::ofstream(std::string(TOLVANE_ACCOUNT_GOLDEN) + "/" + name, std::ios::binary) << text;
        return;
    }
    EXPECT_EQ(text, golden(name)) << name;
}

}  // namespace

TEST(AccountPages, ReadAsTheirGoldenTexts) {
    ListPageContent watching;
    watching.numbers = {"110000000001", "110000000002"};
    watching.nextHref = "/ws/eBayISAPI.dll?MyeBay&amp;CurrentPage=MyeBayWatching&amp;page=2";
    expectGolden(listPageHtml(watching), "watch_list.txt");

    ListPageContent won;
    won.heading = "Items I've Won";
    won.countLabel = "";
    won.marker = "MEWNX:IT";
    won.numbers = {"120000000001"};
    expectGolden(listPageHtml(won), "won_list_without_count.txt");

    expectGolden(watchWidgetPageHtml({"130000000001", "130000000002"}), "watch_widget.txt");

    AwaitingEntry first;
    AwaitingEntry second;
    second.title = "Green jug";
    second.itemNumber = "110000000002";
    second.user = "a$b";
    second.userInLink = "a%24b";
    second.status = "Feedback Left";
    expectGolden(awaitingFeedbackPageHtml(2, {first, second}), "awaiting_feedback.txt");

    SellerFeedbackRow pos;
    SellerFeedbackRow neg;
    neg.kind = "Neg";
    neg.comment = "Never arrived";
    neg.buyer = "jug_fan";
    neg.score = "7";
    neg.title = "";
    neg.star = true;
    expectGolden(sellerFeedbackPageHtml({pos, neg}), "seller_feedback.txt");
}
