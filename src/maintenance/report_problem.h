// report_problem.h — the problem report: a short dialogue (problem type, item number,
// description), then one plain text with the user's description, the system's facts, an
// analysis of the item list, the end of the operation log and, gzip-compressed and written in
// hex, the item's saved bid-result page and the [Options] and [Locale] settings. The text goes to
// the clipboard and into "Report.txt" in the data folder. "Contact Us" puts the support address
// on the clipboard; the hidden decoder turns a hex block back into its page or settings.
#pragma once

#include <optional>
#include <string>

namespace modReportProblem {

inline std::string ReportItemNumber;
inline std::string ReportDescription;
inline std::string ReportOpLogBlock;
inline std::string ReportBlockBuffer;
inline std::string ContactAddress;  // fetched once per run (the failure text is kept too)

inline constexpr const char* kNoContactAddress = "Can't Retrieve Contact Email Address!";
// A hex block decoded never grows past this.
inline constexpr size_t kMaxDecodedBytes = 16u * 1024u * 1024u;

// The bytes gzip-compressed, two upper-case hex digits a byte, CR LF after every 32 bytes.
std::string Hex_Block(const std::string& bytes);
// The hex lines of a block back to their bytes; nullopt when they are not hex or do not inflate
// (or would inflate past kMaxDecodedBytes).
std::optional<std::string> Decode_Hex_Block(const std::string& hexLines);

// The operation-log block of these log bytes (their last 500 lines).
std::string OpLog_Block(const std::string& logText);
// The settings kept from the configuration's plain text: [Options] and [Locale] by name, with
// every key whose name holds "pass" left out; nullopt when either section is missing.
std::optional<std::string> Report_Config_Text(const std::string& configText);

void Get_Report_OpLog();
long Get_Report_BidResults();
long Get_Report_Config();
std::string Get_Report_SysInfo();
std::string Get_Report_DataAnalysis();
// The whole report text from the state above.
std::string Report_Text();

// The support address, fetched from the update server once per run; only one address-shaped
// line is taken, anything else reads kNoContactAddress.
std::string Contact_Address();
void Report_Problem();
void Contact_Us();
// Mode 1 the bid-result page, 2 the settings.
void Decode_Report_Block(int mode);

void ResetForTests();

}  // namespace modReportProblem
