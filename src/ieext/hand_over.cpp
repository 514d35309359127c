#include "ieext/hand_over.h"

namespace ieext {
namespace {

// The text between the opening and closing tag; false when either is missing.
bool field(std::string_view text, std::string_view open, std::string_view close, std::string& out) {
    const size_t a = text.find(open);
    if (a == std::string_view::npos) return false;
    const size_t from = a + open.size();
    const size_t b = text.find(close, from);
    if (b == std::string_view::npos) return false;
    out.assign(text.substr(from, b - from));
    return true;
}

}  // namespace

std::optional<PageHandOver> Parse_Page_Hand_Over(std::string_view text) {
    PageHandOver h;
    for (std::string_view prefix : {std::string_view("TLFEEDBACK"), std::string_view("TLAUCDOC"),
                                    std::string_view("TLADDGRP")}) {
        if (text.substr(0, prefix.size()) == prefix) {
            h.prefix.assign(prefix);
            break;
        }
    }
    if (h.prefix.empty() || text.size() < h.prefix.size() + 2) return std::nullopt;
    h.tag.assign(text.substr(h.prefix.size(), 2));
    if (h.tag != "-N" && h.tag != "-M") return std::nullopt;
    const std::string_view rest = text.substr(h.prefix.size() + 2);
    field(rest, "<IEURL>", "</IEURL>", h.url);
    field(rest, "<IETitle>", "</IETitle>", h.title);
    field(rest, "<IEHTML>", "</IEHTML>", h.html);
    field(rest, "<IEText>", "</IEText>", h.text);
    return h;
}

}  // namespace ieext
