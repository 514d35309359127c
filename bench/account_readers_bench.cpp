// The account pages' readers on hostile pages of 1 MB: the list import's reading of a list page
// (markers without any link, markers inside one long link, one link followed by markers) and the
// reading of the feedback page (1,000 entries: no leave links, every entry on one line, many
// links of one user). Each alone on the cleaned page and its text, and with the command's
// cleaning and page-text conversion.
#include <benchmark/benchmark.h>

#include "account/account_pages.h"
#include "account/feedback_to_leave.h"
#include "account/list_import.h"
#include "service/page_text.h"
#include "support/fake_account_pages.h"

namespace {

constexpr size_t kPageBytes = 1 << 20;
const std::string kFeedbackAddress = "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback";

std::string listPage(int64_t shape) {
    return testsupport::hostileListPageHtml(static_cast<testsupport::HostileListShape>(shape), kPageBytes);
}
std::string feedbackPage(int64_t shape) {
    return testsupport::hostileFeedbackPageHtml(static_cast<testsupport::HostileFeedbackShape>(shape), kPageBytes, 1000);
}
// The page as the command has it before reading: cleaned, with its text.
struct ReadyPage {
    explicit ReadyPage(std::string page) : html(std::move(page)) {
        modAccount::Clean_Page_Bytes(html);
        text = modPageParser::Inner_Text(html);
    }
    std::string html, text;
};

const char* kListShapes[] = {"markers without link", "markers in one link", "markers after one link"};
const char* kFeedbackShapes[] = {"no leave links", "entries on one line", "many links of one user"};

void BM_ListReader(benchmark::State& state) {
    const ReadyPage page(listPage(state.range(0)));
    state.SetLabel(kListShapes[state.range(0)]);
    for (auto _ : state) {
        std::string last;
        benchmark::DoNotOptimize(TLMainAccount::GetItemCnt(2, page.text));
        benchmark::DoNotOptimize(TLMainAccount::Collect_Page_Numbers(page.html, "MEWAX:IT", last));
    }
}
BENCHMARK(BM_ListReader)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ListCommand(benchmark::State& state) {
    const std::string html = listPage(state.range(0));
    state.SetLabel(kListShapes[state.range(0)]);
    for (auto _ : state) {
        const ReadyPage page(html);
        std::string last;
        benchmark::DoNotOptimize(TLMainAccount::GetItemCnt(2, page.text));
        benchmark::DoNotOptimize(TLMainAccount::Collect_Page_Numbers(page.html, "MEWAX:IT", last));
    }
}
BENCHMARK(BM_ListCommand)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_FeedbackReader(benchmark::State& state) {
    const ReadyPage page(feedbackPage(state.range(0)));
    state.SetLabel(kFeedbackShapes[state.range(0)]);
    for (auto _ : state) benchmark::DoNotOptimize(modFeedback::Read_Feedback_Entries(page.html, page.text, kFeedbackAddress));
}
BENCHMARK(BM_FeedbackReader)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_FeedbackCommand(benchmark::State& state) {
    const std::string page = feedbackPage(state.range(0));
    state.SetLabel(kFeedbackShapes[state.range(0)]);
    for (auto _ : state) {
        std::string html = page;
        benchmark::DoNotOptimize(modFeedback::Read_Feedback_To_Leave(html, kFeedbackAddress));
    }
}
BENCHMARK(BM_FeedbackCommand)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
