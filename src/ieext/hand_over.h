// hand_over.h — the page a browser hands to the program through the clipboard: one text of a
// prefix ("TLAUCDOC", "TLADDGRP" or "TLFEEDBACK"), a tag ("-N", or "-M" when the program was
// started for it) and the page's address, title, HTML and text, each between its own tags.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ieext {

inline constexpr const char* kAddItemPrefix = "TLAUCDOC";
inline constexpr const char* kAddGroupPrefix = "TLADDGRP";
inline constexpr const char* kFeedbackPrefix = "TLFEEDBACK";
inline constexpr const char* kTagNotStarted = "-N";
inline constexpr const char* kTagStarted = "-M";

struct PageHandOver { std::string prefix; std::string tag; std::string url, title, html, text; };

// The hand-over text of a page, parts back to back, nothing escaped.
std::string Build_Page_Hand_Over(const PageHandOver& page);

// The page a browser handed over, cut into its parts; nullopt when the text is not one.
//
// The address and the title come from the front: each ends at the first "</IEURL><IETitle>" and
// "</IETitle><IEHTML>". The text must close the whole with "</IEText>", and the HTML ends at the
// last "</IEHTML><IEText>", so a page whose HTML holds the tags itself still cuts apart. One pass
// over the text, whatever its size.
std::optional<PageHandOver> Parse_Page_Hand_Over(std::string_view text);

}  // namespace ieext
