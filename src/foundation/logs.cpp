#include "foundation/logs.h"

#include <QFile>
#include <new>
#include <stdexcept>

#include "foundation/clock_state.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace modTLMain {
namespace {

constexpr const char* kOpLog = "OperationLog.txt";
constexpr const char* kErrorLog = "ErrorLog.txt";
constexpr const char* kHistoryLog = "ItemHistory.txt";

std::string path(const char* name) { return DataFolder + name; }

// Operation-log lines carry the corrected time where the program may not set the PC clock.
std::string opLogTime() {
    return vb::GeneralDate(platform::clock().now().addMSecs(modClock::Program_Offset_Ms()));
}

std::string line(const std::string& time, const std::string& text) { return time + " - " + text + "\r\n"; }

bool appendTo(const std::string& file, const std::string& bytes) {
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool ok = f.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    f.close();
    return ok;
}

// Cuts the log to its last whole lines within the final 50,000 characters.
bool purge(const std::string& file) {
    const auto all = Read_Whole_File(file);
    if (!all) return false;
    std::string kept = all->size() > static_cast<size_t>(kOpLogKeepChars)
                           ? all->substr(all->size() - static_cast<size_t>(kOpLogKeepChars))
                           : *all;
    const auto crlf = kept.find("\r\n");
    if (crlf != std::string::npos) kept.erase(0, crlf + 2);
    kept += line(opLogTime(), "Operation Log Purged");
    return Save_Whole_File(file, kept);
}

// Opens the operation log for the next line, purging it when due. The recovery
// ("Log Damaged, New Log Created...") runs only when a second try fails too.
bool OpenOpLog(std::string& failure) {
    const std::string file = path(kOpLog);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile f(QString::fromStdString(file));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            failure = f.errorString().toStdString();
            continue;
        }
        const qint64 size = f.size();
        f.close();
        if (size > kOpLogPurgeAbove && !purge(file)) {
            failure = "Purge failed";
            continue;
        }
        return true;
    }
    Write_Error_Log(Error_Text(75, failure, "OpenOpLog"));
    QFile::remove(QString::fromStdString(file));
    Save_Whole_File(file, line(opLogTime(), "Log Damaged, New Log Created..."));
    return true;
}

long countLines(const std::string& text) {
    if (text.empty()) return 0;
    long n = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        ++n;
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return n;
}

enum class Viewer { OperationLog, ItemHistory };

// Shows a log in the main window's log box. A log too large to hold in memory is not shown:
// the item history says so in the status line, the operation log in the error log.
void showLog(Viewer viewer) {
    const bool history = viewer == Viewer::ItemHistory;
    const std::string file = path(history ? kHistoryLog : kOpLog);
    const std::string header = history ? "ITEM HISTORY LOG - " : "OPERATION LOG - ";
    const char* procedure = history ? "Show_Item_History" : "DisplayOpLog";
    const auto tooLarge = [&] {
        if (history) TLMainLink::statusLine().setStatus("Log Size Too Large - Please Clear");
        else Log_Error(7, "Out of memory", procedure);
    };
    if (File_Length(file) > kLogViewMaxBytes) return tooLarge();
    std::string shown;
    try {
        const auto text = Read_Whole_File(file);
        if (text) {
            shown = Log_View_Text(*text, header);
        } else if (history && !File_Exists(file)) {
            // A cleared item history is no error: it shows its header with no entries.
            shown = header + "0 ENTRIES - Press 'Esc' to close\r\n\r\n";
        } else {
            Log_Error(53, "File not found", procedure);
            return;
        }
    } catch (const std::bad_alloc&) {
        return tooLarge();
    }
    TLMainLink::logBox().showLogBox(shown);
    TLMainLink::statusLine().setStatus("Press 'Esc' to close");
}

}  // namespace

std::string Error_Text(long number, const std::string& description, const std::string& procedure) {
    return "Error " + std::to_string(number) + " (" + description + ") in procedure " + procedure;
}

void Log_Error(long number, const std::string& description, const std::string& procedure) {
    Write_Error_Log(Error_Text(number, description, procedure));
}

void Log_Exception(const std::exception& e, const std::string& procedure) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return Log_Error(7, "Out of memory", procedure);
    if (dynamic_cast<const std::out_of_range*>(&e)) return Log_Error(9, "Subscript out of range", procedure);
    Log_Error(5, e.what(), procedure);
}

void Write_Op_Log(const std::string& text) {
    if (DataFolder.empty()) return;
    std::string failure;
    OpenOpLog(failure);
    appendTo(path(kOpLog), line(opLogTime(), text));
}

void Write_Error_Log(const std::string& text) {
    if (DataFolder.empty()) return;
    appendTo(path(kErrorLog), line(vb::GeneralDate(platform::clock().now()), text));
}

std::string Log_View_Text(const std::string& text, const std::string& header) {
    const long count = countLines(text);
    if (static_cast<long>(text.size()) > 50000 || count > 500) {
        std::string out = header + std::to_string(count) + " Entries - Displaying Last 500 - Press 'Esc' to close\r\n\r\n";
        const auto lines = vb::Split(text, "\n");
        const long skip = std::max(0L, count - 500);
        for (long i = skip; i < count; ++i) {
            std::string l = lines[static_cast<size_t>(i)];
            if (!l.empty() && l.back() == '\r') l.pop_back();
            out += l + "\r\n";
        }
        return out;
    }
    return header + std::to_string(count) + " ENTRIES - Press 'Esc' to close\r\n\r\n" + text;
}

void DisplayOpLog() { showLog(Viewer::OperationLog); }

void Show_Item_History() { showLog(Viewer::ItemHistory); }

void Clear_Op_Log() {
    if (TLMainState::QuietCommand == 1) {
        TLMainState::QuietCommand = 0;
    } else if (platform::MsgBox("Clear Operations Log?", platform::vbYesNo + platform::vbExclamation + platform::vbSystemModal,
                                "Clear Log") == platform::vbNo) {
        return;
    }
    QFile::remove(QString::fromStdString(path(kOpLog)));
    Write_Op_Log("LOG CLEARED....");
}

void Clear_Item_History() {
    const int style = platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2 + platform::vbSystemModal;
    if (platform::MsgBox("Clear Item History Log?", style, "Clear Log") == platform::vbNo) return;
    QFile::remove(QString::fromStdString(path(kHistoryLog)));
}

}  // namespace modTLMain
