// whole_file.h — reading and writing a data file whole.
//
// A save never deletes the old file first: the new bytes go to a temporary file in
// the same folder, are synced, and are renamed over the old one, so a crash or a
// full disk leaves either the old file or the new one, never a cut one.
#pragma once

#include <optional>
#include <string>

namespace modTLMain {

// Writes the bytes whole; `privateFile` gives user-only access (0600). False when it failed
// (the old file is then untouched).
bool Save_Whole_File(const std::string& path, const std::string& bytes, bool privateFile = false);
// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> Read_Whole_File(const std::string& path);
// The file's first `maxBytes` bytes (all of a shorter file), or nothing when it cannot be read.
std::optional<std::string> Read_File_Start(const std::string& path, long long maxBytes);
bool File_Exists(const std::string& path);
long long File_Length(const std::string& path);  // -1 when missing

}  // namespace modTLMain
