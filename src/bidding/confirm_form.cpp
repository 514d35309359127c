#include "bidding/confirm_form.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "foundation/vb.h"
#include "service/national_sites.h"
#include "service/page_globals.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/sign_in.h"

namespace TLMainBids {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of `needle` (lower case) in `hay` from `from`, case-blind; npos when absent.
size_t findBlind(std::string_view hay, std::string_view needle, size_t from = 0) {
    if (needle.empty() || hay.size() < needle.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && lower(hay[i + k]) == needle[k]) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

struct InputTag {
    bool hasName = false;
    std::string name;
    std::string value;
};

// Appends the UTF-8 bytes of a code point.
void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The input tag whose attributes start at `at` (just after "<input"); `end` is set behind its ">".
InputTag readInputTag(std::string_view html, size_t at, size_t& end) {
    InputTag tag;
    size_t i = at;
    for (;;) {
        while (i < html.size() && (isSpace(html[i]) || html[i] == '/')) ++i;
        if (i >= html.size() || html[i] == '>') break;
        const size_t nameStart = i;
        while (i < html.size() && !isSpace(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/') ++i;
        std::string attr;
        for (size_t k = nameStart; k < i; ++k) attr += lower(html[k]);
        while (i < html.size() && isSpace(html[i])) ++i;
        std::string value;
        bool hasValue = false;
        if (i < html.size() && html[i] == '=') {
            hasValue = true;
            ++i;
            while (i < html.size() && isSpace(html[i])) ++i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i++];
                const size_t close = html.find(quote, i);
                const size_t stop = close == std::string_view::npos ? html.size() : close;
                value = std::string(html.substr(i, stop - i));
                i = close == std::string_view::npos ? html.size() : close + 1;
            } else {
                const size_t start = i;
                while (i < html.size() && !isSpace(html[i]) && html[i] != '>') ++i;
                value = std::string(html.substr(start, i - start));
            }
        }
        if (attr.empty()) {
            ++i;  // a stray character
            continue;
        }
        // Line breaks inside a value are the page's wrapping, not the value's.
        value.erase(std::remove_if(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }),
                    value.end());
        if (attr == "name" && !tag.hasName) {
            tag.hasName = true;
            tag.name = vb::Trim(Decode_Html_Entities(value));
        } else if (attr == "value" && hasValue) {
            tag.value = Decode_Html_Entities(value);
        }
    }
    end = i < html.size() ? i + 1 : html.size();
    return tag;
}

// Every input tag of `html`, in page order.
std::vector<InputTag> inputTags(std::string_view html) {
    std::vector<InputTag> tags;
    size_t from = 0;
    for (;;) {
        const size_t open = findBlind(html, "<input", from);
        if (open == std::string_view::npos) break;
        const size_t after = open + 6;
        if (after < html.size() && !isSpace(html[after]) && html[after] != '>' && html[after] != '/') {
            from = after;  // another tag whose name begins with "input"
            continue;
        }
        size_t end = after;
        tags.push_back(readInputTag(html, after, end));
        from = end;
    }
    return tags;
}

bool namesConfirm(const InputTag& tag) {
    return findBlind(tag.name + "=" + tag.value, "confirmbid") != std::string::npos;
}

}  // namespace

std::string Decode_Html_Entities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t semi = text.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += '&';
            continue;
        }
        const std::string_view ref = text.substr(i + 1, semi - i - 1);
        std::optional<unsigned long> cp;
        if (ref == "amp") cp = '&';
        else if (ref == "lt") cp = '<';
        else if (ref == "gt") cp = '>';
        else if (ref == "quot") cp = '"';
        else if (ref == "apos") cp = '\'';
        else if (ref == "nbsp") cp = 0xA0;
        else if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x' || ref[1] == 'X';
            const std::string digits(ref.substr(hex ? 2 : 1));
            const bool ok = !digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
                return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
            });
            if (ok && digits.size() <= 7) {
                const unsigned long v = std::stoul(digits, nullptr, hex ? 16 : 10);
                if (v > 0 && v <= 0x10FFFF) cp = v;
            }
        }
        if (!cp) {
            out += '&';
            continue;
        }
        appendUtf8(out, *cp);
        i = semi;
    }
    return out;
}

std::string GetInputValue(std::string_view html, std::string_view name) {
    for (const InputTag& tag : inputTags(html))
        if (tag.hasName && tag.name == name) return vb::Trim(tag.value);
    return {};
}

ConfirmForm Read_Confirm_Form(std::string_view html) {
    ConfirmForm form;
    size_t from = 0;
    for (;;) {
        const size_t start = findBlind(html, "<form", from);
        if (start == std::string_view::npos) return form;
        const size_t close = findBlind(html, "</form", start);
        const size_t stop = close == std::string_view::npos ? html.size() : close;
        const std::vector<InputTag> tags = inputTags(html.substr(start, stop - start));
        from = stop;

        const auto maxBid = std::find_if(tags.begin(), tags.end(), [](const InputTag& t) { return t.hasName && t.name == "maxbid"; });
        const auto confirm = std::find_if(tags.begin(), tags.end(), [](const InputTag& t) { return namesConfirm(t); });
        if (maxBid == tags.end() || confirm == tags.end()) continue;

        form.found = true;
        form.maxBid = vb::Trim(maxBid->value);
        std::string pairs;
        for (auto t = tags.begin(); t != confirm; ++t) {
            if (!t->hasName || t->name.empty()) continue;
            if (!pairs.empty()) pairs += "&";
            pairs += t->name + "=" + modTLMain::URL_Encode(t->value);
        }
        if (!pairs.empty()) form.request = std::string(modTLMain::kBidHost) + "/ws/eBayISAPI.dll?" + pairs;
        return form;
    }
}

std::string ExtractValidateFormPostStr(std::string_view html) { return Read_Confirm_Form(html).request; }

std::string GetValMinBid(const std::string& html) {
    using modPageParser::PageText;
    PageText = modPageParser::Answer_Page_Text(html);
    const long p = vb::InStr(PageText, "The following must be corrected before continuing:", vb::Text);
    if (p == 0) return {};
    const long q = vb::InStr(p + 50, PageText, "or more", vb::Text);
    if (q == 0) return {};
    return modPageParser::Parse_Price_Symbol(std::max(1L, q - 20), false);
}

}  // namespace TLMainBids
