// http_trace.h — the HTTP trace Debug/HttpLog.txt, written while the debug tools' HTTP switch is on.
//
// A problem report can carry the trace, so no secret reaches it: the value after each "pass=" and
// the values of cookies are masked.
#pragma once

#include <QFile>
#include <string>

namespace modWinInet {

// The text with every password value (after "pass=", up to "&", ";", a blank or the line end)
// replaced by "********".
std::string Mask_Password(std::string text);
// The text with the cookie values of its "Cookie:" and "Set-Cookie:" header lines replaced by
// "********" (names and Set-Cookie attributes stay).
std::string Mask_Cookie_Values(std::string text);
// The text as it may stand in the trace: passwords and cookie values masked.
std::string Mask_Trace_Text(std::string text);

class HttpTrace {
public:
    // Opens the trace for appending when the HTTP switch is on (and the program is past its first run).
    void open();
    bool isOpen() const { return m_file.isOpen(); }
    void line(const std::string& raw);
    void close() { m_file.close(); }

private:
    QFile m_file;
};

}  // namespace modWinInet
