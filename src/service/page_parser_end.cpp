// page_parser_end.cpp — the item's title, its end date and time, and the listing kind.
//
// The service states an end as "Mar 05, 2026 10:00:00 PST" (or PDT) in its Pacific time. The
// end moment is built from the date and time found there, taken as UTC-8 for "PST" and UTC-7 for
// "PDT", and turned into the user's local time by the rules of the user's zone at that moment.
#include <QDateTime>
#include <QTimeZone>

#include "foundation/locale_dates.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "platform/locale_info.h"
#include <algorithm>
#include <tuple>

#include "service/page_parser.h"
#include "service/page_parser_internal.h"

namespace modPageParser {

using detail::at;
using detail::isDigit;

namespace {

constexpr std::string_view kSuffix = "| eBay";

void cutServiceSuffix(std::string& title) {
    if (title.size() >= kSuffix.size() && title.compare(title.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0)
        title.resize(title.size() - kSuffix.size());
}

// The month number 1-12 of the first English month name in text (full names first), or 0.
int monthNumber(const std::string& text) {
    const std::string m = modTLMain::Get_Month_Number(text);
    return m.empty() ? 0 : std::stoi(m);
}

}  // namespace

std::string Clean_Title(const std::string& Title) {
    std::string_view t = Title;
    if (vb::UCase(vb::Left(Title, 12)) == "EBAY MOTORS:") {
        const long p = detail::Find(Title, "(item", vb::Text);
        if (p > 0) return vb::Mid(Title, 13, p - 13);
        t = t.substr(12);  // no "(item": the rest of the title, cleaned as any other
    }
    for (const std::string_view mark : {"- eBay (item", "(item", "| eBay"}) {
        const long p = detail::Find(t, mark, vb::Text);
        if (p > 0) return std::string(t.substr(0, static_cast<size_t>(p - 1)));
    }
    return std::string(t);
}

std::string Find_End_Time_Text() {
    const std::string_view text = PageText;
    long s = 1;
    const long t = modTLMain::Match_Mask(s, text, "##:##:##");
    if (t == 0 || t - 31 < 1) return {};
    const long from = t - 31;
    const long e = detail::Find(t, text, "Enter", vb::Text);
    if (e > 0) {
        const long o = detail::Find(e, text, "or more", vb::Text);
        return o > 0 ? vb::Mid(text, from, o + 7 - from) : std::string();
    }
    const long w = detail::Find(t, text, "watch list", vb::Text);
    return w > 0 ? vb::Mid(text, from, w - from) : std::string();
}

std::string Get_Title_And_End() {
    EndDateText.clear();
    EndTimeText.clear();
    EndDateDisplay.clear();
    auto fail = [] {
        EndDateText.clear();
        EndTimeText.clear();
        EndDateDisplay.clear();
        return std::string(kTitleOrEndError);
    };

    // 1-5. The title: the handed-over one, else the page's title element; og:title stands in
    // for ItemTitle only.
    std::string title;
    if (!HandoverTitle.empty() && UseHandoverTitle) {
        title = HandoverTitle;
        cutServiceSuffix(title);
    } else {
        // The title stands in the page's head: it is looked for within the part the page text is
        // made of, never across a whole page of any size.
        std::string_view html = PageHTML;
        html = html.substr(0, std::min<size_t>(html.size(), 65000));
        const long e = detail::Find(html, "</title", vb::Text);
        const long s = detail::Find(html, "<title>", vb::Text);
        if (e > 0 && s > 0) {
            long from = s + 7;
            while (from < e && static_cast<unsigned char>(at(html, from)) < 32) ++from;
            if (e > from) {
                title = std::string(html.substr(static_cast<size_t>(from - 1), static_cast<size_t>(e - from)));
                std::erase_if(title, [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
                title = vb::Trim(Clean_Title(vb::Trim(title)));
                cutServiceSuffix(title);
            }
        }
    }
    if (!title.empty()) Decode_Entities(title);
    std::string og = Get_Meta_Content("og:title");
    if (!og.empty()) Decode_Entities(og);
    if (!title.empty()) ItemTitle = title;
    else if (!og.empty()) ItemTitle = og;
    if (title.empty()) return fail();

    // 6. The end-time text.
    const std::string_view text = PageText;
    std::string endText;
    long start = 0;
    if (const long p = detail::Find(text, "Time Left:", vb::Text); p > 0) start = p + 10;
    else if (const long q = detail::Find(text, "Ended:", vb::Text); q > 0) start = q + 6;
    if (start == 0) {
        endText = Find_End_Time_Text();
        if (endText.empty()) return "NoDate";
    } else {
        const long a = detail::Find(start, text, "(");
        const long b = a > 0 ? detail::Find(a, text, ")") : 0;
        if (b == 0) return fail();
        endText = vb::Mid(text, start, b - start + 1);
        if (endText.empty()) return fail();
    }

    // 7-8. Date and time as found.
    long ms = 1;
    const long d = modTLMain::Match_Mask(ms, endText, "*** ##, ####");
    if (d == 0) return fail();
    const std::string found = vb::Mid(endText, d, 12);
    const int month = monthNumber(found.substr(0, 3));
    if (month == 0) return fail();
    const std::string day = found.substr(4, 2), year = found.substr(8, 4);  // digits, by the mask
    switch (modTLMain::LocaleDateOrder) {
    case 1: EndDateText = day + "-" + std::to_string(month) + "-" + year; break;
    case 2: EndDateText = year + "-" + std::to_string(month) + "-" + day; break;
    default: EndDateText = found; break;
    }
    ms = 1;
    const long t = modTLMain::Match_Mask(ms, endText, "##:##:##");
    if (t == 0) return fail();
    EndTimeText = vb::Mid(endText, t, 8);

    // 9-10. The end moment in the service's Pacific time, by its zone word.
    const QDate date(std::stoi(year), month, std::stoi(day));
    const QTime time(std::stoi(EndTimeText.substr(0, 2)), std::stoi(EndTimeText.substr(3, 2)),
                     std::stoi(EndTimeText.substr(6, 2)));
    if (!date.isValid() || !time.isValid()) return fail();
    int pacificOffsetHours;
    if (detail::Find(endText, "PST", vb::Text) > 0) pacificOffsetHours = -8;
    else if (detail::Find(endText, "PDT", vb::Text) > 0) pacificOffsetHours = -7;
    else return fail();
    const QDateTime local =
        QDateTime(date, time, QTimeZone(pacificOffsetHours * 3600)).toTimeZone(platform::userTimeZone());

    // 11. The local end for display (the main window's load sets the format; until then the locale's).
    const std::string displayFormat =
        modTLMain::DisplayDateFormat.empty() ? modTLMain::Get_Date_Format() : modTLMain::DisplayDateFormat;
    EndDateDisplay = vb::FormatDate(local, displayFormat) + "  " +
                     vb::FormatDate(local, UserState::TimeFormat12 == 1 ? "hh:mm:ss am/pm" : "hh:mm:ss");
    return "OK";
}

int Is_Fixed_Price() {
    const std::string_view text = PageText;
    return detail::Find(text, "Price:", vb::Text) > 0 && detail::Find(text, "Current bid:", vb::Text) == 0 &&
                   detail::Find(text, "Starting bid:", vb::Text) == 0
               ? 1
               : 0;
}

namespace {

// Puts the values back as they were when it was made, however the reading in between ends.
template <class... V>
class KeptValues {
public:
    explicit KeptValues(V&... values) : m_refs(values...), m_kept(values...) {}
    ~KeptValues() { m_refs = std::move(m_kept); }
    KeptValues(const KeptValues&) = delete;
    KeptValues& operator=(const KeptValues&) = delete;

private:
    std::tuple<V&...> m_refs;
    std::tuple<V...> m_kept;
};

}  // namespace

bool Item_Page_Marks_Found() {
    // The page's own title, not one handed over with it; the title and end read here are not kept.
    const KeptValues kept(ItemTitle, EndDateText, EndTimeText, EndDateDisplay, UseHandoverTitle);
    UseHandoverTitle = 0;
    try {
        return Get_Title_And_End() == "OK" || !Get_Labelled_Price().empty();
    } catch (...) {
        return true;  // a reader that fails tells nothing: the page is taken as it comes
    }
}

bool Is_Item_Page(const std::string& html) {
    const KeptValues kept(PageHTML, PageText);
    PageHTML = html;
    try {
        Build_Page_Text();
    } catch (...) {
        return true;
    }
    return Item_Page_Marks_Found();
}

}  // namespace modPageParser
