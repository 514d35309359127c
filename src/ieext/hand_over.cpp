#include "ieext/hand_over.h"

namespace ieext {
namespace {

constexpr std::string_view kUrlOpen = "<IEURL>";
constexpr std::string_view kUrlToTitle = "</IEURL><IETitle>";
constexpr std::string_view kTitleToHtml = "</IETitle><IEHTML>";
constexpr std::string_view kHtmlToText = "</IEHTML><IEText>";
constexpr std::string_view kTextClose = "</IEText>";

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

}  // namespace

std::string Build_Page_Hand_Over(const PageHandOver& page) {
    std::string out;
    out.reserve(page.prefix.size() + page.tag.size() + page.url.size() + page.title.size() + page.html.size() +
                page.text.size() + 80);
    out += page.prefix;
    out += page.tag;
    out += kUrlOpen;
    out += page.url;
    out += kUrlToTitle;
    out += page.title;
    out += kTitleToHtml;
    out += page.html;
    out += kHtmlToText;
    out += page.text;
    out += kTextClose;
    return out;
}

std::optional<PageHandOver> Parse_Page_Hand_Over(std::string_view text) {
    PageHandOver page;
    for (std::string_view prefix : {kFeedbackPrefix, kAddItemPrefix, kAddGroupPrefix})
        if (startsWith(text, prefix)) page.prefix = prefix;
    if (page.prefix.empty()) return std::nullopt;
    text.remove_prefix(page.prefix.size());
    const std::string_view tag = text.substr(0, 2);
    if (tag != kTagNotStarted && tag != kTagStarted) return std::nullopt;
    page.tag = tag;
    text.remove_prefix(2);
    if (!startsWith(text, kUrlOpen)) return std::nullopt;
    text.remove_prefix(kUrlOpen.size());
    if (text.size() < kTextClose.size() || text.substr(text.size() - kTextClose.size()) != kTextClose)
        return std::nullopt;
    text.remove_suffix(kTextClose.size());

    const size_t urlEnd = text.find(kUrlToTitle);
    if (urlEnd == std::string_view::npos) return std::nullopt;
    page.url = text.substr(0, urlEnd);
    text.remove_prefix(urlEnd + kUrlToTitle.size());
    const size_t titleEnd = text.find(kTitleToHtml);
    if (titleEnd == std::string_view::npos) return std::nullopt;
    page.title = text.substr(0, titleEnd);
    text.remove_prefix(titleEnd + kTitleToHtml.size());
    const size_t htmlEnd = text.rfind(kHtmlToText);
    if (htmlEnd == std::string_view::npos) return std::nullopt;
    page.html = text.substr(0, htmlEnd);
    page.text = text.substr(htmlEnd + kHtmlToText.size());
    return page;
}

}  // namespace ieext
