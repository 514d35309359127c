// The seller feedback analyzer against the fake service's feedback-as-seller pages: counting and
// matching, the 90-day stop, the ends of an analysis, the display in view 2 and the two ways the
// window is filled.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "account/seller_feedback.h"
#include "account_fixture.h"
#include "platform/clock.h"
#include "platform/timers.h"

using namespace testsupport;
using namespace modFeedback;

namespace {

class SellerFeedbackTest : public AccountTest {
protected:
    static std::string pagePath(long page, const std::string& seller = "teapot_seller") {
        return "/ws/eBayISAPI.dll?ViewFeedback2&userid=" + seller + "&ftab=FeedbackAsSeller&page=" +
               std::to_string(page) + "&items=200";
    }
    void servePage(long page, const std::vector<SellerFeedbackRow>& rows) {
        service.route(modTLMain::kFeedbackPagesHost, "GET", pagePath(page), ScriptedResponse::ok(sellerFeedbackPageHtml(rows)));
    }
    static SellerFeedbackRow row(const std::string& kind, const std::string& title, const std::string& date = "May-20-26") {
        SellerFeedbackRow r;
        r.kind = kind;
        r.title = title;
        r.date = date;
        r.buyer = "buyer_" + kind;
        return r;
    }
    // Two pages: five entries, two negative, one neutral.
    void serveTwoPages() {
        servePage(1, {row("Pos", "Blue teapot"), row("Neg", "Blue Teapot"), row("Neu", "Green jug")});
        servePage(2, {row("Pos", "blue teapot large"), row("Neg", "")});
    }
    ItemFeedback& window() {
        ItemFeedback& w = ItemFeedback::instance();
        w.txtSeller->setText("teapot_seller");
        return w;
    }
    static std::string label(const QLabel* l) { return l->text().toStdString(); }
    size_t pageRequests() const { return targets(modTLMain::kFeedbackPagesHost).size(); }
    // An item page handed over by the browser for the analyzer (its text left to the program).
    static std::string handOver() {
        return "TLFEEDBACK-N<IEURL>http://cgi.ebay.com/itm/110000000001</IEURL><IETitle>Blue teapot | eBay"
               "</IETitle><IEHTML>" + itemPageHtml(page("110000000001")) + "</IEHTML><IEText>NO DATA</IEText>";
    }
};

TEST_F(SellerFeedbackTest, CountsEveryEntryAndKeepsThoseTheModeAndFilterMatch) {
    serveTwoPages();
    struct Case { int mode; int filter; const char* title; std::vector<std::string> kept; };
    const Case cases[] = {
        {0, 2, "Blue teapot", {"Blue teapot"}},                                   // exact: case counts
        {1, 2, "blue teapot", {"Blue teapot", "Blue Teapot", "blue teapot large"}},
        {1, 0, "blue teapot", {"Blue teapot", "blue teapot large"}},
        {1, 1, "", {"Blue Teapot", "Green jug", ""}},                             // empty text: every title
        {2, 0, "whatever", {"Blue Teapot", "Green jug", ""}},                     // none: every other kind
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ItemFeedback& w = window();
        w.optMatch[static_cast<size_t>(c.mode)]->click();
        if (c.mode != 2) w.optFBType[static_cast<size_t>(c.filter)]->click();
        w.txtItemTitle->setText(QString::fromStdString(c.title));
        w.cboSearCnt->setCurrentIndex(1);  // 400: two pages
        service.clearRequests();
        w.cmdSearch[0]->click();

        std::vector<std::string> kept;
        for (size_t i = 1; i < SellerFeedbackList.size(); ++i) kept.push_back(SellerFeedbackList[i].Title);
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(label(w.labSearches), "Search Count: 5");
        EXPECT_EQ(label(w.labMatches), "Matches: " + std::to_string(c.kept.size()));
        EXPECT_EQ(label(w.labNegs), "Negatives: 2");
        EXPECT_EQ(label(w.labNeus), "Neutrals: 1");
        EXPECT_EQ(label(w.labStatus), kStatusCompleted);
        EXPECT_TRUE(w.cmdSearch[2]->isEnabled());
        EXPECT_EQ(targets(modTLMain::kFeedbackPagesHost), (std::vector<std::string>{pagePath(1), pagePath(2)}));
        EXPECT_EQ(FeedbackAnalysisRunning, 0);
    }
    EXPECT_TRUE(ItemFeedback::instance().optFBType[1]->isChecked());  // "None" chose Negative-Neutral

    // The fields of a kept entry.
    const SellerFeedbackEntry& neg = SellerFeedbackList[1];
    EXPECT_EQ(neg, (SellerFeedbackEntry{"110000000001", "Blue Teapot", "May-20-26", "US $12.50", "Neg",
                                        "Great seller, fast shipping", "buyer_Neg(123)"}));
    EXPECT_EQ(SellerFeedbackList[3].ItemNumber, "");  // the private listing has no item line
}

TEST_F(SellerFeedbackTest, AnEntryOlderThanNinetyDaysEndsTheAnalysisAfterItsPage) {
    SellerFeedbackRow starred = row("Pos", "Blue teapot");
    starred.star = true;  // an icon of another kind beside the buyer is passed over
    servePage(1, {starred, row("Neg", "Old jug", "Jan-05-26"), row("Pos", "Newer", "May-01-26")});
    ItemFeedback& w = window();
    w.cboSearCnt->setCurrentIndex(4);
    w.cmdSearch[0]->click();
    EXPECT_EQ(pageRequests(), 1u);
    EXPECT_EQ(label(w.labSearches), "Search Count: 1  (Over 90 Days)");
    EXPECT_EQ(label(w.labNegs), "Negatives: 0");
    EXPECT_EQ(label(w.labStatus), kStatusCompleted);

    // The newest entry already too old: nothing found.
    servePage(1, {row("Pos", "Old", "Feb-01-26")});
    w.cmdSearch[0]->click();
    EXPECT_EQ(label(w.labStatus), kStatusNoFeedback);
    EXPECT_EQ(label(w.labSearches), "Search Count: 0");
    EXPECT_FALSE(w.cmdSearch[2]->isEnabled());
}

TEST_F(SellerFeedbackTest, CancelAndARefusedRequestEndAsAborted) {
    serveTwoPages();
    // The first page is answered only once Cancel was pressed, so the press always falls while it comes.
    auto asked = std::make_shared<std::atomic<bool>>(false);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const std::string firstPage = sellerFeedbackPageHtml({row("Pos", "Blue teapot"), row("Neg", "Blue Teapot"), row("Neu", "Green jug")});
    service.handle(modTLMain::kFeedbackPagesHost, "GET", pagePath(1), [=](const RecordedRequest&) {
        *asked = true;
        for (int i = 0; i < 500 && !*cancelled; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ScriptedResponse::ok(firstPage);
    });
    ItemFeedback& w = window();
    w.optMatch[1]->click();  // partial, empty title: every entry
    w.cboSearCnt->setCurrentIndex(4);
    platform::Timer press([&w, asked, cancelled] {
        if (FeedbackAnalysisRunning && *asked && !*cancelled) {
            w.cmdSearch[1]->click();  // Cancel while the first page comes
            *cancelled = true;
        }
    });
    press.setInterval(10);
    press.setEnabled(true);
    w.cmdSearch[0]->click();
    press.setEnabled(false);
    EXPECT_EQ(label(w.labStatus), kStatusAborted);
    EXPECT_EQ(pageRequests(), 1u);                 // the page was read to its end
    EXPECT_EQ(label(w.labSearches), "Search Count: 3");
    EXPECT_TRUE(w.cmdSearch[2]->isEnabled());      // what was kept can be shown
    EXPECT_TRUE(ItemFeedback::loaded());           // Cancel only asked for the end

    TLMainState::DownloadBusy = -1;
    service.clearRequests();
    w.cmdSearch[0]->click();
    EXPECT_EQ(label(w.labStatus), kStatusAborted);
    EXPECT_EQ(status.status, "Busy, Download In Progress...");
    EXPECT_EQ(pageRequests(), 0u);
    EXPECT_FALSE(w.cmdSearch[2]->isEnabled());
    TLMainState::DownloadBusy = 0;

    w.cmdSearch[1]->click();  // nothing runs: the window closes
    platform::timers().doEvents();
    EXPECT_FALSE(ItemFeedback::loaded());
}

TEST_F(SellerFeedbackTest, ReadsAtMostFivePagesASecondApart) {
    for (long p = 1; p <= 6; ++p) servePage(p, {row("Pos", "Blue teapot")});
    ItemFeedback& w = window();
    w.cboSearCnt->setEditText("5000");  // typed: still five pages at most
    const qint64 start = platform::clock().tickMs();
    w.cmdSearch[0]->click();
    EXPECT_EQ(pageRequests(), 5u);
    EXPECT_GE(platform::clock().tickMs() - start, 4000);
    EXPECT_EQ(label(w.labSearches), "Search Count: 5");

    struct Case { const char* typed; long pages; long display; };
    const Case cases[] = {{"200", 1, 100}, {"201", 2, 100}, {"1000", 5, 100}, {"abc", 1, 1}, {"0", 1, 1}, {"250", 2, 100}};
    for (const Case& c : cases) {
        EXPECT_EQ(Pages_For_Search_Count(c.typed), c.pages) << c.typed;
        EXPECT_EQ(Display_Count(c.typed), c.display) << c.typed;
    }
    EXPECT_EQ(Entry_Date("Jan-05-08"), QDate(2008, 1, 5));
    EXPECT_EQ(Entry_Date("jun-30-26"), QDate(2026, 6, 30));
    EXPECT_FALSE(Entry_Date("Foo-05-08").isValid());
    EXPECT_FALSE(Entry_Date("").isValid());
}

TEST_F(SellerFeedbackTest, ADisplayCountOfOneEndsAtTheFirstMatch) {
    serveTwoPages();
    ItemFeedback& w = window();
    w.optMatch[1]->click();
    w.cboDspCnt->setCurrentIndex(0);
    w.cboSearCnt->setCurrentIndex(1);
    w.cmdSearch[0]->click();
    EXPECT_EQ(label(w.labSearches), "Search Count: 1");
    EXPECT_EQ(pageRequests(), 1u);
}

TEST_F(SellerFeedbackTest, SearchWantsASeller) {
    ItemFeedback& w = ItemFeedback::instance();
    EXPECT_FALSE(w.cmdSearch[0]->isEnabled());
    w.cmdSearch_Click(0);
    EXPECT_EQ(service.requestCount(), 0u);
    w.txtSeller->setText("teapot_seller");
    EXPECT_TRUE(w.cmdSearch[0]->isEnabled());
    EXPECT_EQ(label(w.labStatus), kStatusReady);
    EXPECT_EQ(w.cboSearCnt->currentText(), "200");
    EXPECT_EQ(w.cboDspCnt->currentText(), "50");
    EXPECT_EQ(Feedback_Page_Address("a b&c", 2),
              "http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback2&userid=a%20b%26c&ftab=FeedbackAsSeller&page=2&items=200");
}

TEST_F(SellerFeedbackTest, DisplayShowsTheKeptEntriesInViewTwo) {
    serveTwoPages();
    ItemFeedback& w = window();
    w.optFBType[2]->click();
    w.optMatch[1]->click();
    w.cboSearCnt->setCurrentIndex(1);
    w.cmdSearch[0]->click();
    w.cmdSearch[2]->click();

    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    EXPECT_EQ(TLMainItems::GridViewMode, 2);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(g.Rows(), 5 + 4);
    EXPECT_EQ(g.TextMatrix(0, 1), "Seller Item Feedback Analyzer\r\n\r\nComment/Title");
    EXPECT_TRUE(g.HeaderBold());
    EXPECT_EQ(g.RowHeight(0), 650);
    EXPECT_EQ(g.CellPicture(1, 0), TLMainItems::kPicPositive);
    EXPECT_EQ(g.CellPicture(2, 0), TLMainItems::kPicNegative);
    EXPECT_EQ(g.CellPicture(3, 0), TLMainItems::kPicNeutral);
    EXPECT_EQ(g.TextMatrix(1, 1), "Great seller, fast shipping\r\n\r\nBlue teapot");
    EXPECT_EQ(g.TextMatrix(1, 2), "buyer_Pos(123)\r\n\r\nUS $12.50");
    EXPECT_EQ(g.TextMatrix(1, 3), "May-20-26");
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.CellBackColor(1, c), 0xDDFFDD);
        EXPECT_EQ(g.CellBackColor(2, c), 0xEEEEEE);
        EXPECT_EQ(g.CellBackColor(3, c), 0xDDFFDD);
    }
    EXPECT_EQ(TLMainItems::SellerFeedbackItems.size(), 5u);
    EXPECT_EQ(TLMainItems::SellerFeedbackItems[0], "110000000001");
    EXPECT_EQ(status.status, kExitFeedbackView);
}

TEST_F(SellerFeedbackTest, TheOpenerTakesAHandOverElseTheSelectedItem) {
    clipboard.setText(handOver());
    Open_Feedback_Analyzer();
    ItemFeedback& w = ItemFeedback::instance();
    EXPECT_EQ(w.txtItemTitle->text(), "Blue teapot");
    EXPECT_EQ(w.txtSeller->text(), "teapot_seller");
    EXPECT_EQ(FeedbackSource, 2);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(clipboard.text(), "");  // taken

    ItemFeedback::Unload();
    const int i = addRunning("110000000005");
    item(i).Title = "Green jug";
    TLMainItems::GridRowCount = 1;
    TLMainItems::ItemOrder = {0, i};
    TLMainItems::SelectedRow = 1;
    Open_Feedback_Analyzer();
    EXPECT_EQ(ItemFeedback::instance().txtItemTitle->text(), "Green jug");
    EXPECT_EQ(ItemFeedback::instance().txtSeller->text(), "seller110000000005");
    EXPECT_EQ(FeedbackSource, 1);
}

}  // namespace

namespace {

TEST_F(SellerFeedbackTest, AHandedOverPageHidesTheMainWindowUntilTheAnalyzerCloses) {
    RecordingWindow main;
    main.show();
    clipboard.setText(handOver());
    Open_Feedback_Analyzer();
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(MainWindowSavedVisible, 1);

    servePage(1, {row("Pos", "Blue teapot")});
    ItemFeedback& w = ItemFeedback::instance();
    w.cmdSearch[0]->click();
    w.cmdSearch[2]->click();  // Display: the main window comes up, maximised
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowStates.back(), 2);
    EXPECT_EQ(TLMainItems::GridViewMode, 2);

    main.hide();  // Esc on the main window hides it and shows the analyzer again
    w.show();
    w.close();    // the close box: the main window comes back as it was
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowStates.back(), 0);
    EXPECT_FALSE(ItemFeedback::loaded());
}

}  // namespace

namespace {

// Pages the analysis cannot read end it with a line in the error log; the entries kept so far stay.
TEST_F(SellerFeedbackTest, PagesThatDoNotReadEndTheAnalysisWithAnErrorLine) {
    const std::string good = sellerFeedbackPageHtml({row("Pos", "Blue teapot")});
    std::string noLink = good;
    noLink.replace(noLink.find("http://myworld.ebay.com/"), 24, "http://elsewhere.example/");
    struct Case { std::string page; const char* line; };
    const Case cases[] = {
        {"<html><body><p>Nothing to see</p></body></html>", kHtmlHeaderError},
        {"<html><body><p>x</p><b>>Feedback<</b></body></html>", kTextHeaderError},
        {noLink, "Error 5 (an entry without its member-page link) in procedure GetSellersItemFeedback"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        service.route(modTLMain::kFeedbackPagesHost, "GET", pagePath(1), ScriptedResponse::ok(c.page));
        ItemFeedback& w = window();
        w.cmdSearch[0]->click();
        EXPECT_NE(readOr("ErrorLog.txt").find(std::string(" - ") + c.line + "\r\n"), std::string::npos);
        EXPECT_EQ(label(w.labStatus), kStatusAnalyzing);  // the last text stays
        EXPECT_FALSE(w.cmdSearch[2]->isEnabled());
        EXPECT_EQ(FeedbackAnalysisRunning, 0);
    }
}

}  // namespace
