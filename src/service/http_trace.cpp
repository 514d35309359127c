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
        size_t end = text.find_first_of("&\r\n ", start);
        if (end == std::string::npos) end = text.size();
        text.replace(start, end - start, "********");
        from = start + 8;
    }
}

std::string Mask_Trace_Text(std::string text) { return Mask_Password(std::move(text)); }

void HttpTrace::open() {
    if (modTLMain::FirstRunSetup != 0 || !modDebug::DebugOutput || !mainWindow().menuChecked("MnuDBHttpEnabled")) return;
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
