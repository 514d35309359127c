// The item-page parser on a large page: the page text step, the finders, and the HTML-to-text
// converter alone. The page has no cut marker, so its first 65,000 bytes are turned into text.
// Bounds: the converter under 10 ms per page; the finders well under 1 ms.
// Nearly all of the converter's time is gumbo's own tokenizer and tree builder, which handle the
// page one character at a time; the parse memory (about 1.1 MB for the 65,000 bytes) comes from
// one arena and is let go whole.
#include <benchmark/benchmark.h>

#include <string>

#include "foundation/locale_dates.h"
#include "platform/locale_info.h"
#include "service/page_parser.h"
#include "service/page_text.h"

namespace {

// An item page of about 120 KB without any cut marker: menus, the item's details in tables, the
// seller box, scripts, and a long description with lists and tables.
std::string largeItemPage() {
    std::string h;
    h.reserve(130000);
    h += "<!DOCTYPE html><html><head><title>Blue teapot, 6 cups &amp; lid | eBay</title>\n"
         "<meta property=\"og:title\" content=\"Blue teapot, 6 cups &amp; lid\">\n"
         "<meta property=\"og:image\" content=\"http://i.ebayimg.com/00/s/MTYw/Blue-teapot-6-cups.jpg\">\n";
    for (int i = 0; i < 20; ++i)
        h += "<script>var cfg" + std::to_string(i) + " = {a: 1, b: \"<div>x</div>\", c: [1, 2, 3]};</script>\n";
    h += "<style>.a{color:red} .b > td {padding: 0}</style></head><body>\n<ul class=\"menu\">";
    for (int i = 0; i < 60; ++i) h += "<li><a href=\"/c/" + std::to_string(i) + "\">Category " + std::to_string(i) + "</a></li>";
    h += "</ul>\n<h1>Blue teapot, 6 cups &amp; lid</h1>\n<table>"
         "<tr><td>Item condition:</td><td>Used</td></tr>"
         "<tr><td>Time Left:</td><td>2d 03h <span>(Mar 05, 2026&nbsp;10:00:00 PST)</span></td></tr>"
         "<tr><td>Current bid:</td><td>US $1,234.56</td><td>[<a href=\"#\">7 bids</a>]</td></tr>"
         "<tr><td></td><td>Reserve not met</td></tr>"
         "<tr><td>Your max bid:</td><td><input size=\"8\"> Enter US $1,235.56 or more</td></tr>"
         "<tr><td>Shipping:</td><td>US $5.00 Standard Shipping</td></tr></table>\n"
         "<div><h2>Seller information</h2><div><a>teapot_seller</a> (<a>152</a> )</div>"
         "<div>99.8% Positive feedback</div></div>\n"
         "<img src=\"http://i.ebayimg.com/00/s/MTYw/Blue-teapot-6-cups.jpg\">\n";
    int n = 0;
    while (h.size() < 120000) {
        h += "<div class=\"d\"><p>A fine teapot in blue glaze, made by hand &amp; fired twice. Holds six cups.</p>"
             "<ul><li>Height 20 cm</li><li>Width 25 cm</li></ul><table><tr><td>Part</td><td>";
        h += std::to_string(++n);
        h += "</td></tr></table><!-- block --></div>\n";
    }
    return h + "</body></html>";
}

const std::string& page() {
    static const std::string p = largeItemPage();
    return p;
}

void setUp() {
    platform::setUserLocaleForTests("en_US");
    platform::setTimeZoneForTests("Europe/London");
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
}

void runFinders(benchmark::State& state) {
    using namespace modPageParser;
    benchmark::DoNotOptimize(Get_Title_And_End());
    benchmark::DoNotOptimize(Is_Fixed_Price());
    benchmark::DoNotOptimize(Get_Bid_Count());
    benchmark::DoNotOptimize(Get_Current_Price());
    benchmark::DoNotOptimize(Get_Min_Bid());
    benchmark::DoNotOptimize(Get_Seller());
    benchmark::DoNotOptimize(Get_Shipping(true));
    benchmark::DoNotOptimize(Get_Photo_URL(PageHTML, ItemTitle, ".jpg"));
    benchmark::DoNotOptimize(Get_Meta_Content("og:image"));
}

void BM_BuildPageTextAndFinders(benchmark::State& state) {
    setUp();
    for (auto _ : state) {
        state.PauseTiming();
        modPageParser::PageHTML = page();  // the step rewrites the page in place
        state.ResumeTiming();
        modPageParser::Build_Page_Text();
        runFinders(state);
    }
    state.counters["text_bytes"] = static_cast<double>(modPageParser::PageText.size());
}
BENCHMARK(BM_BuildPageTextAndFinders)->Unit(benchmark::kMillisecond);

void BM_FindersOnly(benchmark::State& state) {
    setUp();
    modPageParser::PageHTML = page();
    modPageParser::Build_Page_Text();
    for (auto _ : state) runFinders(state);
}
BENCHMARK(BM_FindersOnly)->Unit(benchmark::kMicrosecond);

void BM_InnerTextOfAPageHead(benchmark::State& state) {
    const std::string_view head = std::string_view(page()).substr(0, 65000);
    for (auto _ : state) benchmark::DoNotOptimize(modPageParser::Inner_Text(head));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 65000);
}
BENCHMARK(BM_InnerTextOfAPageHead)->Unit(benchmark::kMillisecond);

// ---- Hostile pages of 1 MB: every reader of a service page stays linear (bound: 50 ms each) ----

constexpr size_t kHostileBytes = 1 << 20;

std::string repeated(const std::string& head, const std::string& unit, const std::string& tail) {
    std::string s = head;
    while (s.size() + unit.size() + tail.size() <= kHostileBytes) s += unit;
    return s + tail;
}

// One quoted run of picture names: every ".jpg" once looked back and forth to its quotes.
void BM_HostilePhotoFinder(benchmark::State& state) {
    const std::string page = repeated("\"", "x.jpg", "\"");
    for (auto _ : state) {
        std::string title = "Blue teapot";
        benchmark::DoNotOptimize(modPageParser::Get_Photo_URL(page, title, ".jpg"));
    }
}
BENCHMARK(BM_HostilePhotoFinder)->Unit(benchmark::kMillisecond);

// A title of half-entities and entities.
void BM_HostileTitleEntities(benchmark::State& state) {
    const std::string title = repeated("A", "&x", "") + repeated("", "&amp;", "");
    for (auto _ : state) {
        std::string t = title.substr(0, kHostileBytes);
        benchmark::DoNotOptimize(modPageParser::Decode_Entities(t));
    }
}
BENCHMARK(BM_HostileTitleEntities)->Unit(benchmark::kMillisecond);

// The whole item page step on a page whose title is that text.
void BM_HostileTitleOfAPage(benchmark::State& state) {
    const std::string page = "<html><head><title>" + repeated("A", "&x", "") + "</title></head><body></body></html>";
    for (auto _ : state) {
        modPageParser::PageHTML = page;
        benchmark::DoNotOptimize(modPageParser::Get_Title_And_End());
    }
}
BENCHMARK(BM_HostileTitleOfAPage)->Unit(benchmark::kMillisecond);

// Answer pages (validation, placing, history, sign-in) of endless unclosed tags.
void BM_HostileAnswerPageDivs(benchmark::State& state) {
    const std::string page = repeated("", "<div>", "Current bid: US $5.00");
    for (auto _ : state) benchmark::DoNotOptimize(modPageParser::Answer_Page_Text(page));
}
BENCHMARK(BM_HostileAnswerPageDivs)->Unit(benchmark::kMillisecond);

void BM_HostileAnswerPageBoldThenParagraphs(benchmark::State& state) {
    const std::string page = repeated("", "<b>", "").substr(0, kHostileBytes / 2) + repeated("", "<p>x", "").substr(0, kHostileBytes / 2);
    for (auto _ : state) benchmark::DoNotOptimize(modPageParser::Answer_Page_Text(page));
}
BENCHMARK(BM_HostileAnswerPageBoldThenParagraphs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
