#include "service/http_trace.h"

#include "foundation/debug_tools.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"

namespace modWinInet {

std::string Mask_Password(std::string text) {
    size_t from = 0;
    for (;;) {
        const long at = vb::InStr(static_cast<long>(from) + 1, text, "pass=", vb::Text);
        if (at == 0) return text;
        const size_t start = static_cast<size_t>(at) - 1 + 5;
        size_t end = text.find_first_of("&;\r\n ", start);
        if (end == std::string::npos) end = text.size();
        text.replace(start, end - start, "********");
        from = start + 8;
    }
}

namespace {

constexpr std::string_view kMask = "********";

bool startsWithText(std::string_view text, size_t at, std::string_view word) {
    return text.size() - at >= word.size() && vb::EqualText(text.substr(at, word.size()), word);
}

// Masks the value of one cookie "name=value" lying in [from, to): the text after its first "=",
// or the whole text when it has no name. Blanks around it stay. Returns the new end.
size_t maskCookie(std::string& text, size_t from, size_t to) {
    while (from < to && text[from] == ' ') ++from;
    size_t end = to;
    while (end > from && text[end - 1] == ' ') --end;
    if (from == end) return to;
    const size_t eq = text.find('=', from);
    const size_t start = eq < end ? eq + 1 : from;
    text.replace(start, end - start, kMask);
    return to - (end - start) + kMask.size();
}

}  // namespace

std::string Mask_Cookie_Values(std::string text) {
    size_t line = 0;
    while (line < text.size()) {
        size_t eol = text.find_first_of("\r\n", line);
        if (eol == std::string::npos) eol = text.size();
        const bool setCookie = startsWithText(text, line, "Set-Cookie:");
        if (setCookie || startsWithText(text, line, "Cookie:")) {
            size_t at = line + (setCookie ? 11 : 7);
            // A Set-Cookie line holds one cookie before its attributes; a Cookie line holds pairs.
            for (;;) {
                size_t semi = text.find(';', at);
                if (semi == std::string::npos || semi > eol) semi = eol;
                const size_t newSemi = maskCookie(text, at, semi);
                eol = eol + newSemi - semi;
                if (setCookie || newSemi >= eol) break;
                at = newSemi + 1;
            }
        }
        line = eol + 1;
    }
    return text;
}

std::string Mask_Trace_Text(std::string text) { return Mask_Password(Mask_Cookie_Values(std::move(text))); }

void HttpTrace::open() {
    if (modTLMain::FirstRunSetup != 0 || !modDebug::DebugOutput ||
        !TLMainLink::menus().menuChecked(TLMainLink::MenuItem::MnuDBHttpEnabled))
        return;
    m_file.setFileName(QString::fromStdString(modTLMain::DataFolder + "Debug/HttpLog.txt"));
    if (!m_file.open(QIODevice::Append | QIODevice::WriteOnly)) return;
}

void HttpTrace::line(const std::string& raw) {
    if (!m_file.isOpen()) return;
    const std::string text = Mask_Trace_Text(raw);
    m_file.write(text.data(), static_cast<qint64>(text.size()));
    m_file.write("\r\n", 2);
}

}  // namespace modWinInet
