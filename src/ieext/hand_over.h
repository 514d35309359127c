// hand_over.h
#pragma once
#include <optional>
#include <string>
#include <string_view>
namespace ieext {
struct PageHandOver { std::string prefix; std::string tag; std::string url, title, html, text; };
// The page a browser handed over, cut into its parts; nullopt when the text is not one.
std::optional<PageHandOver> Parse_Page_Hand_Over(std::string_view text);
}
