// update_server.h — the program's update server and what an update leaves in the data folder.
//
// The server is the address in [Options] UpdateServerURL, which the user sets in the options
// dialog beside "Update Check"; empty (the default) means there is none and nothing is ever sent.
// An update is a program this PC will run, so the server is used only over a checked connection:
// an https:// address whose certificate verifies. A plain http:// address is not used for anything
// (the version query, the update, the reports, Contact Us). A query or report goes as "?q=<text>"
// on that address and, as the server expects, as the user agent of its request. It travels on a
// session of its own, so the program's other requests keep their user agent. The update's
// information and packages come the same way, with the program's usual user agent.
//
// An update writes only the files named here, plain names in the data folder. A file it replaces
// is kept beside it (name + ".previous") until the update's outcome is known: when the new program
// runs the kept copies go; when the update failed they are put back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "service/http_request.h"

namespace UpdateServer {

inline constexpr const char* kServerKey = "UpdateServerURL";

// The server's address, "" when none is set or it is not an https:// address.
std::string Address();
// What stands against using the server, told to the user in one message: "" when an https
// address is set; else kNoServerText (none set) or kNotHttpsText (another address).
std::string Address_Problem();
inline constexpr const char* kNoServerText =
    "No update server is set.\r\n\r\nIts address, which must begin with https://, is set under Help > Setup, "
    "on the Options page, beside \"Update Check\".";
inline constexpr const char* kNotHttpsText =
    "The update server is not used: its address must begin with https://.\r\n\r\nUpdates come only "
    "over a checked connection. Change the address under Help > Setup, on the Options page, beside "
    "\"Update Check\".";
// What stands against an address the user gives for the server, told in one message: "" when it
// may be kept (empty, which means none, or an https:// address that names a server); else why not.
std::string Refusal(const std::string& address);
inline constexpr const char* kMustBeHttpsText =
    "Error: Update Server Address Must Begin With https://\r\n\r\nUpdates come only over a checked "
    "connection. The update server stays as it was.";
inline constexpr const char* kNotAnAddressText =
    "Error: Update Server Address Is Not a Web Address\r\n\r\nThe update server stays as it was.";
// The address of one query; "" when there is no server.
std::string Query_URL(const std::string& query);

// Starts the query; `done` gets the body of a 200 answer, "" when none came (no server, no answer,
// another status). It runs once, from the event loop; an empty `done` sends the text as a report
// whose answer nobody reads.
modWinInet::HttpRequest Start_Query(const std::string& query, std::function<void(std::string reply)> done);

// Starts a download of what the server answers to the query: `done` gets the body of a 200 answer,
// `ok` false (and no bytes) when none came. `progress` hears the percentage read.
modWinInet::HttpRequest Start_Download(const std::string& query, std::function<void(long percent)> progress,
                                       std::function<void(std::vector<unsigned char> bytes, bool ok)> done);

// What a version answer means for this program: no answer; not a version (more than 4
// characters, or not a plain number such as "3.5"); not above this program's version; newer.
enum class Version { NoReply, Invalid, NotNewer, Newer };
Version Judge_Version(const std::string& reply);

// --- The files an update writes ---

// The names an update may write into the data folder: the new program and the update's notes.
const std::vector<std::string>& Update_File_Names();
bool Is_Update_File_Name(const std::string& name);
// The copy kept of a file the update replaced.
inline constexpr const char* kKeptSuffix = ".previous";
// [Options] key listing the files the last update placed, joined by "/".
inline constexpr const char* kPlacedFilesKey = "UpdateFiles";

// The update's outcome for the files it placed: when it took, the kept copies go; when it did not,
// each placed file goes and its kept copy (if any) takes its place again. The new program file is
// never kept (it is the updater's to move): it goes when the update did not take.
void Settle_Placed_Files(const std::vector<std::string>& placed, bool took);
// The same for the files [Options] UpdateFiles names (then removed).
void Settle_Recorded_Files(bool took);

}  // namespace UpdateServer
