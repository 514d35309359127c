// page_text.h — turns the HTML of a service page into the plain page text the finders read.
//
// The HTML is read as the content of a page's body (an HTML5 parse of a body fragment, by
// gumbo): no script runs and nothing is fetched. The text is UTF-8 and follows these rules:
//
//  - script, style, title, template, noscript, iframe and head content give no text, nor do
//    comments or images;
//  - entities are decoded ("&amp;" "&", "&lt;" "<", "&#39;" "'"); a no-break space ("&nbsp;",
//    U+00A0) is a blank;
//  - every run of white space (blanks, tabs, line breaks, no-break spaces) is one blank; a blank
//    never starts or ends a line;
//  - a line break (CR LF) stands before and after each block element (div, p, h1-h6, ul, ol, li,
//    dl, dt, dd, table, caption, tr, form, hr, section, article, blockquote, center, pre, ...),
//    and after each <br>; never two in a row, none at the start or the end of the text;
//  - the cells of a table row (td, th) are joined with no separator and each cell's own leading
//    and trailing blanks are dropped: "<tr><td>Bidder</td><td>Bid Amount</td></tr>" reads
//    "BidderBid Amount";
//  - inside <pre> the white space stays as it stands, each line feed written as CR LF.
//
// Bytes that are not UTF-8 come out as U+FFFD, so the text is always valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace modPageParser {

// The inner text of a body whose inner HTML is `html`. Opening tags nested past any real page's
// depth are left out (their text stays), so the time it takes grows with the page's length only.
std::string Inner_Text(std::string_view html);

// The inner text of a whole answer page of the service (validation, placing, bid history,
// sign-in), read from its first kAnswerPageCut bytes: what the readers look for stands near the
// top, and a page many times larger than any real one costs no more than that.
inline constexpr size_t kAnswerPageCut = 512 * 1024;
std::string Answer_Page_Text(std::string_view html);

}  // namespace modPageParser
