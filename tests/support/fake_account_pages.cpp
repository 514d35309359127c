#include "fake_account_pages.h"

#include <algorithm>

namespace testsupport {

namespace {

std::string head(const std::string& title) {
    return "<!DOCTYPE html>\n<html>\n<head>\n<title>" + title +
           "</title>\n<script>var pageName = \"MyeBay\";</script>\n</head>\n<body>\n"
           "<div id=\"gh\"><a href=\"/\">Home</a> | <a href=\"/ws/eBayISAPI.dll?MyeBay\">My eBay</a></div>\n";
}

}  // namespace

std::string listPageHtml(const ListPageContent& p) {
    std::string h = head("My eBay: " + p.heading);
    h += "<h2>" + p.heading + "</h2>\n";
    if (!p.countLabel.empty())
        h += "<div class=\"counts\"><span>" + p.countLabel + "</span> | <span>Ended (0)</span></div>\n";
    h += "<table class=\"list\">\n";
    for (const std::string& n : p.numbers) {
        // The picture link and the title link of one item, both with the marker after the number.
        h += "<tr>\n  <td><a href=\"http://cgi.ebay.com/itm/" + n + "?ssPageName=STRK:" + p.marker +
             "\"><img src=\"http://thumbs.ebaystatic.com/" + n + ".jpg\"></a></td>\n";
        h += "  <td><a href=\"http://cgi.ebay.com/ws/eBayISAPI.dll?ViewItem&amp;item=" + n + "&amp;ssPageName=STRK:" +
             p.marker + "\">Blue teapot no. " + n + "</a></td>\n  <td>US $12.50</td>\n</tr>\n";
    }
    h += "</table>\n";
    if (!p.nextHref.empty())
        h += "<div class=\"pager\"><a href=\"" + p.nextHref + "\">Next</a></div>\n";
    return h + "</body>\n</html>\n";
}

std::string watchWidgetPageHtml(const std::vector<std::string>& numbers) {
    std::string h = head("My eBay: Watch list");
    h += "<h2>Watch list</h2>\n<div id=\"watchlistwidget\"></div>\n<script>\n$rwidgets([\"WatchListWidget\",{\"items\":[";
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i) h += ",";
        h += "{\"entryId\":\"" + numbers[i] + "\",\"title\":\"Blue teapot with its lid and saucer\"}";
    }
    h += "]}]);\n</script>\n<p>Items you watch show here.</p>\n";
    return h + "</body>\n</html>\n";
}

std::string awaitingFeedbackPageHtml(long announced, const std::vector<AwaitingEntry>& entries) {
    std::string h = head("My eBay: Feedback");
    h += "<h2>Feedback</h2>\n<div class=\"score\">Your feedback score (57)</div>\n";
    if (announced >= 0)
        h += "<div class=\"hdr\">Items Awaiting Feedback (" + std::to_string(announced) + ")</div>\n";
    h += "<table class=\"fb\">\n";
    for (const AwaitingEntry& e : entries) {
        const std::string inLink = e.userInLink.empty() ? e.user : e.userInLink;
        h += "<tr>\n  <td><div>" + e.title + " (" + e.itemNumber + ")</div>\n  <div>" + e.user + " (" + e.score +
             ")</div>\n  <div>" + e.date + "</div></td>\n  <td>";
        if (e.withLink)
            h += "<a href=\"/ws/eBayISAPI.dll?LeaveFeedback2&amp;useridto=" + inLink + "&amp;item=" + e.itemNumber +
                 "&amp;ssPageName=STRK:MEAFB:IT\">Leave Feedback</a>";
        else
            h += "<a href=\"/ws/eBayISAPI.dll?ViewItem&amp;ssPageName=STRK:MEAFB:IT\">View</a>";
        if (!e.status.empty()) h += " <span>" + e.status + "</span>";
        h += "</td>\n</tr>\n";
    }
    h += "</table>\n";
    return h + "</body>\n</html>\n";
}

namespace {
std::string repeated(const std::string& piece, size_t bytes) {
    std::string out;
    out.reserve(bytes + piece.size());
    while (out.size() < bytes) out += piece;
    return out;
}
}  // namespace

std::string hostileListPageHtml(HostileListShape shape, size_t bytes) {
    std::string h = "<html><body><h2>Items I'm Watching</h2><div>All (4)</div>\n";
    switch (shape) {
        case HostileListShape::MarkersWithoutLink:
            h += repeated("MEWAX:IT ", bytes);
            break;
        case HostileListShape::MarkersInOneLink:
            h += "<a href=\"http://cgi.ebay.com/itm/" + std::string(kHostileItem) + "?s=" + repeated("MEWAX:IT&", bytes) +
                 "\">Blue teapot</a>";
            break;
        case HostileListShape::MarkersAfterOneLink:
            h += "<a href=\"http://cgi.ebay.com/itm/" + std::string(kHostileItem) + "\">Blue teapot</a>" +
                 repeated(" MEWAX:IT", bytes);
            break;
    }
    return h + "\n</body></html>\n";
}

std::string hostileItemNumber(int entry) { return std::to_string(110000000000LL + entry); }

std::string hostileFeedbackPageHtml(HostileFeedbackShape shape, size_t bytes, int entries) {
    const size_t perEntry = bytes / static_cast<size_t>(std::max(entries, 1));
    std::string h = "<html><body><h2>Feedback</h2><div>Items Awaiting Feedback (" + std::to_string(entries) + ")</div>\n";
    if (shape == HostileFeedbackShape::EntriesOnOneLine) h += "<p>";
    for (int i = 1; i <= entries; ++i) {
        const std::string number = hostileItemNumber(i);
        const std::string user = shape == HostileFeedbackShape::ManyLinksForOneUser ? "bob" : "buyer" + std::to_string(i);
        const std::string text = "Item " + std::to_string(i) + " (" + number + ") " + user + " (12) May-20-26 ";
        std::string row;
        if (shape == HostileFeedbackShape::EntriesOnOneLine) {
            row = "<span>" + text + "</span><a href=\"/lf?useridto=" + user + "&amp;item=" + number +
                  "&amp;ssPageName=STRK:MEAFB:IT\">Leave</a> ";
            row += "<span>" + repeated("filler ", perEntry > row.size() ? perEntry - row.size() : 0) + "</span> ";
        } else {
            row = "<tr><td><div>Item " + std::to_string(i) + " (" + number + ")</div><div>" + user +
                  " (12)</div><div>May-20-26</div></td><td>";
            if (shape == HostileFeedbackShape::NoLeaveLinks) {
                row += "<a href=\"/vi?ssPageName=STRK:MEAFB:IT\">View</a>" +
                       repeated(" filler", perEntry > row.size() + 60 ? perEntry - row.size() - 60 : 0);
            } else {
                // The user's links for other items (numbers beyond the entries'), then the entry's.
                std::string others;
                for (int k = 0; others.size() + row.size() + 120 < perEntry; ++k)
                    others += "<a href=\"/lf?useridto=bob&amp;item=" + std::to_string(220000000000LL + i * 1000LL + k) +
                              "\">x</a>";
                row += others + "<a href=\"/lf?useridto=bob&amp;item=" + number + "&amp;ssPageName=STRK:MEAFB:IT\">Leave</a>";
            }
            row += "</td></tr>\n";
        }
        h += row;
    }
    if (shape == HostileFeedbackShape::EntriesOnOneLine) h += "</p>";
    return h + "\n</body></html>\n";
}

std::string sellerFeedbackPageHtml(const std::vector<SellerFeedbackRow>& rows) {
    std::string h = head("Feedback Profile");
    h += "<div class=\"top\"><img src=\"http://pics.ebaystatic.com/aw/pics/icon/iconMembr_16x16.gif\"> "
         "Member since May-01-01</div>\n";
    h += "<table class=\"FbOuterYukon\">\n<tr><th>Feedback</th><th>From Buyer/price</th><th>Date/time</th></tr>\n";
    for (const SellerFeedbackRow& r : rows) {
        const std::string icon = r.kind == "Pos" || r.kind == "Neg" || r.kind == "Neu" ? "icon" + r.kind : "iconStar";
        h += "<tr class=\"bot\"><td><img src=\"http://pics.ebaystatic.com/aw/pics/icon/" + icon +
             "_16x16.gif\"></td><td>" + r.comment + "</td><td><a href=\"http://myworld.ebay.com/" + r.buyer +
             "\">" + r.buyer + "</a> ( <a href=\"/fb\">Feedback score of " + r.score + "</a>)" +
             (r.star ? "<img src=\"http://pics.ebaystatic.com/aw/pics/icon/iconTealStar_16x16.gif\">" : "") +
             "</td><td>" + r.date + " 10:15</td></tr>\n";
        if (r.title.empty())
            h += "<tr><td></td><td>--Private listing--</td></tr>\n";
        else
            h += "<tr><td></td><td>" + r.title + " (#" + r.itemNumber + ")</td><td>" + r.price +
                 "</td><td><a href=\"/itm/" + r.itemNumber + "\">View Item</a></td></tr>\n";
    }
    h += "</table>\n";
    return h + "</body>\n</html>\n";
}

}  // namespace testsupport
