// logs.h — the operation log, the error log and the item-history log in the data folder.
#pragma once

#include <exception>
#include <string>

namespace modTLMain {

inline constexpr long kOpLogPurgeAbove = 250000;  // bytes
inline constexpr long kOpLogKeepChars = 50000;
// A log above this size is too large for a viewer to show.
inline constexpr long long kLogViewMaxBytes = 64LL << 20;

void Write_Op_Log(const std::string& text);
void Write_Error_Log(const std::string& text);
// "Error <n> (<description>) in procedure <name>"
std::string Error_Text(long number, const std::string& description, const std::string& procedure);
void Log_Error(long number, const std::string& description, const std::string& procedure);
// The error-log line for an exception caught where a procedure traps its errors.
void Log_Exception(const std::exception& e, const std::string& procedure);

void DisplayOpLog();
void Show_Item_History();
void Clear_Op_Log();
void Clear_Item_History();

// The text a viewer shows for a log's text (header and lines).
std::string Log_View_Text(const std::string& text, const std::string& header);

}  // namespace modTLMain
