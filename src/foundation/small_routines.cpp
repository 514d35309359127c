#include "foundation/small_routines.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "platform/clock.h"
#include "platform/desktop_files.h"
#include "platform/file_version.h"
#include "platform/timers.h"
#include "platform/window_routines.h"

namespace modTLMain {

void Set_Window_Topmost(QWidget* window, int16_t flag) { platform::setWindowTopmost(window, flag); }

void Place_Over_Main_Window(QWidget* window) { platform::placeOver(window, TLMainLink::window().widget()); }

std::string Cant_Open_Text(const std::string& path) {
    return "Error! Can't Open " + QFileInfo(QString::fromStdString(path)).fileName().toStdString() + "...";
}

void Open_On_Desktop(const std::string& path) {
    platform::desktopFiles().openFile(path, [path] { TLMainLink::statusLine().setStatus(Cant_Open_Text(path)); });
}

void Wait_Seconds(float seconds) {
    if (!(seconds > 0)) return;
    const qint64 waitMs = static_cast<qint64>(std::llround(static_cast<double>(seconds) * 1000.0));
    const qint64 start = platform::clock().tickMs();
    auto passed = [start, waitMs] { return platform::clock().tickMs() - start >= waitMs; };
    while (!passed()) {
        const qint64 left = waitMs - (platform::clock().tickMs() - start);
        platform::timers().waitUntil(passed, std::max<qint64>(1, left));
    }
}

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

long Match_Mask(long& Start, std::string_view Text, std::string_view Mask) {
    if (Start < 1) return 0;
    const long textLen = static_cast<long>(Text.size());
    const long maskLen = static_cast<long>(Mask.size());
    long j = 1;
    for (;;) {
        const long at = Start + j - 1;
        const bool hasChar = at <= textLen;
        const char c = hasChar ? Text[static_cast<size_t>(at - 1)] : '\0';
        bool match;
        if (j > maskLen) {
            match = !hasChar;  // an empty mask matches only the missing character
        } else {
            const char m = Mask[static_cast<size_t>(j - 1)];
            if (m == '#')
                match = hasChar && isDigit(c);
            else if (m == '*')
                match = !hasChar || !isDigit(c);
            else
                match = hasChar && c == m;
        }
        if (match) {
            ++j;
            if (j > maskLen) return Start;
        } else {
            j = 1;
            ++Start;
            if (Start > textLen) return 0;
        }
    }
}

bool Decode_Alarm_Values(std::string_view setting) {
    AlarmBidCountOn = false;
    AlarmHighBidOn = false;
    AlarmOn = false;
    if (!vb::IsNumeric(setting)) return false;
    const double d = vb::CDbl(setting);
    const long long v = vb::RoundHalfEven(d);
    if (v < -32768 || v > 32767) return false;  // not a 16-bit integer
    const int value = static_cast<int>(v);
    const int low = value & 0xFF;
    if (low == 0) return false;
    AlarmMinutes = static_cast<int16_t>((value & 0xFF00) >> 8);
    AlarmBidCountOn = (low & 1) != 0;
    AlarmHighBidOn = (low & 2) != 0;
    AlarmOn = (low & 4) != 0;
    return true;
}

long Make_Folder(const std::string& path) {
    const QString p = QString::fromStdString(path);
    if (QFileInfo::exists(p)) return 1;
    QDir().mkdir(p);  // one level: the parent must exist
    return 0;
}

std::string Get_File_Version(const std::string& path) { return platform::readFileVersion(path); }

void Ptr_To_String(std::string& result, const void* address, long byteCount) {
    if (!address || byteCount < 0) {
        result.clear();
        return;
    }
    const char* p = static_cast<const char*>(address);
    const size_t n = static_cast<size_t>(byteCount);
    result.assign(p, strnlen(p, n));
}

std::string Bytes_To_String(const std::vector<uint8_t>& bytes) {
    const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), zero);
}

bool String_To_Bytes(std::string_view text, std::vector<uint8_t>& bytes) {
    const long n = static_cast<long>(bytes.size()) - 1;  // upper bound minus lower bound
    const long m = static_cast<long>(text.size());
    if (n > m) {
        if (m > 0) std::memcpy(bytes.data(), text.data(), static_cast<size_t>(m));
        std::fill(bytes.begin() + m, bytes.begin() + n, uint8_t{0});
        return false;
    }
    if (n < m) {
        if (n > 0) std::memcpy(bytes.data(), text.data(), static_cast<size_t>(n));
        return true;
    }
    if (n > 0) std::memcpy(bytes.data(), text.data(), static_cast<size_t>(n));
    return false;
}

void Unload_Other_Forms(const std::string& formName) { platform::closeOtherWindows(formName); }

}  // namespace modTLMain
