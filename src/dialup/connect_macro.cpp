#include "dialup/connect_macro.h"

#include <QFile>
#include <algorithm>
#include <climits>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "dialup/ras.h"
#include "foundation/logs.h"
#include "foundation/startup.h"
#include "platform/input_journal.h"

namespace SysHook {
namespace {

int32_t LastEventTime = 0;
bool g_recording = false;
std::function<void()> g_recordEnded;
int g_replay = 0;  // the replay in progress (0: none); a step of an older one does nothing
std::function<void()> g_replayDone;
int32_t MacroScreenWidth = 0, MacroScreenHeight = 0;

std::string macroPath() { return modTLMain::DataFolder + kMacroFile; }

int32_t readInt(const char* p) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return static_cast<int32_t>(v);
}

void writeInt(std::string& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

bool writeMacroFile() {
    const std::string path = macroPath();
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::fchmod(fd, 0600);
    const std::string bytes = Macro_File_Bytes(MacroEvents);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    ::close(fd);
    return written == bytes.size();
}

// 65535 units across the screen, per pixel, to the nearest whole number (half to even).
int32_t unitsPerPixel(int32_t pixels) {
    if (pixels <= 0) return 0;
    return static_cast<int32_t>(std::nearbyint(65535.0 / pixels));
}

constexpr int32_t kMouseMove = 512;
// A position on the screen: a signed 16-bit number of pixels, as the display system keeps them,
// so that times the units per pixel (at most 65535) it stays a 32-bit number.
bool screenCoordinate(int32_t v) { return v >= -32768 && v <= 32767; }

// A mouse position in the units of an absolute move, held to the 32-bit range.
int32_t moveUnits(int32_t pixels, int32_t screenPixels) {
    const long long units = static_cast<long long>(pixels) * unitsPerPixel(screenPixels);
    return static_cast<int32_t>(std::clamp<long long>(units, INT32_MIN, INT32_MAX));
}

void replayEvent(const MacroEvent& e) {
    platform::InputJournal& in = platform::inputJournal();
    const int vk = e.paramL & 0xff;
    switch (e.message) {
        case 256:
        case 260: in.key(vk, true); break;
        case 257:
        case 261: in.key(vk, false); break;
        case kMouseMove:
            in.moveAbsolute(moveUnits(e.paramL, MacroScreenWidth), moveUnits(e.paramH, MacroScreenHeight));
            break;
        case 513: in.button(1, true); break;
        case 514: in.button(1, false); break;
        case 516: in.button(2, true); break;
        case 517: in.button(2, false); break;
        case 519: in.button(3, true); break;
        case 520: in.button(3, false); break;
        default: break;  // double-clicks replay as their downs and ups; the wheel is not replayed
    }
}

void endReplay() {
    g_replay = 0;
    auto done = std::move(g_replayDone);
    g_replayDone = nullptr;
    if (done) done();
}

void replayStep(int replay) {
    if (replay != g_replay) return;
    const int32_t count = MacroEvents.empty() ? 0 : MacroEvents[0].message;
    if (MacroPos > count || MacroPos >= static_cast<int32_t>(MacroEvents.size())) return endReplay();
    if (platform::inputJournal().escapeDown()) return endReplay();
    const MacroEvent e = MacroEvents[static_cast<size_t>(MacroPos)];
    replayEvent(e);
    ++MacroPos;
    // The recorded pause passes on the program's timers: the window and the ticks go on.
    modRAS::After_Ms(e.time > 0 ? e.time : 1, [replay] { replayStep(replay); });
}

}  // namespace

std::string Macro_File_Bytes(const std::vector<MacroEvent>& events) {
    std::string out;
    const size_t n = events.empty() ? 0 : static_cast<size_t>(std::max(events[0].message, 0));
    for (size_t i = 0; i <= n && i < events.size(); ++i) {
        const MacroEvent& e = events[i];
        for (int32_t v : {e.message, e.paramL, e.paramH, e.time, e.hwnd}) writeInt(out, v);
    }
    return out;
}

bool Load_Connect_Macro() {
    MacroEvents.assign(1, MacroEvent{});
    QFile f(QString::fromStdString(macroPath()));
    if (!f.exists() || !f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    if (bytes.size() < kMacroRecordBytes) return false;
    const int32_t count = readInt(bytes.constData());
    if (count == 0) return false;
    const auto damaged = [](const std::string& why) {
        modTLMain::Write_Op_Log("Connect Macro Damaged - Not Played (" + why + ")");
        MacroEvents.assign(1, MacroEvent{});
        return false;
    };
    if (count < 0 || static_cast<qint64>(bytes.size()) != (static_cast<qint64>(count) + 1) * kMacroRecordBytes)
        return damaged(std::to_string(count) + " events, " + std::to_string(bytes.size()) + " bytes");
    MacroEvents.resize(static_cast<size_t>(count) + 1);
    for (int32_t i = 0; i <= count; ++i) {
        const char* p = bytes.constData() + static_cast<qint64>(i) * kMacroRecordBytes;
        const MacroEvent e{readInt(p), readInt(p + 4), readInt(p + 8), readInt(p + 12), readInt(p + 16)};
        if (i > 0 && e.message == kMouseMove && (!screenCoordinate(e.paramL) || !screenCoordinate(e.paramH)))
            return damaged("event " + std::to_string(i) + " at " + std::to_string(e.paramL) + ", " +
                           std::to_string(e.paramH));
        MacroEvents[static_cast<size_t>(i)] = e;
    }
    return true;
}

bool Start_Macro_Recording(std::function<void()> ended) {
    platform::InputJournal& in = platform::inputJournal();
    g_recordEnded = std::move(ended);
    if (g_recording || !in.available()) {
        if (auto e = std::move(g_recordEnded)) e();
        return false;
    }
    MacroScreenWidth = in.screenWidth();
    MacroScreenHeight = in.screenHeight();
    MacroPos = 0;
    LastEventTime = 0;
    g_recording = in.startRecording([](const platform::JournalEvent& e) {
        Journal_Record_Proc(e.message, e.paramL, e.paramH, e.time, e.hwnd);
    });
    if (!g_recording) {
        if (auto e = std::move(g_recordEnded)) e();
        return false;
    }
    return true;
}

void Journal_Record_Proc(int32_t message, int32_t paramL, int32_t paramH, int32_t time, int32_t hwnd) {
    if (!g_recording) return;
    const int vk = paramL & 0xff;
    if (message == 256 && (vk == 27 || vk == 91 || vk == 92)) {
        MacroEvents.resize(static_cast<size_t>(MacroPos) + 1);
        MacroEvents[0].message = MacroPos;
        Stop_Macro_Recording();
        return;
    }
    ++MacroPos;
    MacroEvents.resize(static_cast<size_t>(MacroPos) + 1);
    MacroEvent& e = MacroEvents[static_cast<size_t>(MacroPos)];
    e = {message, paramL, paramH, 0, hwnd};
    if (MacroPos > 1) MacroEvents[static_cast<size_t>(MacroPos) - 1].time = time - LastEventTime;
    LastEventTime = time;
}

void Stop_Macro_Recording() {
    if (!g_recording) return;
    g_recording = false;
    platform::inputJournal().stopRecording();
    if (MacroEvents.empty()) MacroEvents.resize(1);
    MacroEvents[0].message = MacroPos;
    if (!writeMacroFile()) modTLMain::Write_Op_Log("Connect Macro Not Saved");
    if (auto e = std::move(g_recordEnded)) e();
}

bool Recording() { return g_recording; }

void Play_Macro(std::function<void()> done) {
    static int replays = 0;
    if (g_replay != 0) {  // one replay at a time: the input of two would mix
        if (done) done();
        return;
    }
    platform::InputJournal& in = platform::inputJournal();
    MacroPos = 1;
    MacroScreenWidth = in.screenWidth();
    MacroScreenHeight = in.screenHeight();
    g_replay = ++replays;
    g_replayDone = std::move(done);
    replayStep(g_replay);
}

bool Playing() { return g_replay != 0; }

void ResetForTests() {
    g_recording = false;
    g_recordEnded = nullptr;
    g_replay = 0;
    g_replayDone = nullptr;
    MacroEvents.assign(1, MacroEvent{});
    MacroPos = 0;
}

}  // namespace SysHook
