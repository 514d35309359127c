// private_profile.h — a small INI-file store with the rules of the system's private-profile files.
//
// Used for the cookie jar. Section and key names match without regard to case (ASCII); writing a
// key that exists rewrites its line in place, a new key goes to the end of its section, a new
// section to the end of the file. Deleting a section removes its header and lines. Every change
// reads the file, changes it and saves it whole (temporary file, synced, renamed over; user-only
// access), so a crash leaves the old or the new file. Lines end in CR LF.
//
// Names and values that would break the file (line breaks, a NUL, a key starting with "[" or
// holding "=", a section name holding "]") are refused: the write returns false.
#pragma once

#include <string>
#include <vector>

namespace modPrivateProfile {

// Writes key=value into the section (made when missing). False when nothing was written.
bool Write_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value);
// Removes the section with all its keys (what writing the section with no key does).
bool Delete_Profile_Section(const std::string& file, const std::string& section);

// Reads the section's lines "key=value" in file order, each followed by a NUL, as the system's
// section read gives them into a buffer of bufferSize characters, and returns the count. When the
// lines do not fit, `text` gets as many whole lines as fit and the count is bufferSize - 2 (so the
// caller can tell and read again with a larger buffer). An unknown section gives "" and 0.
long Get_Profile_Section(const std::string& file, const std::string& section, std::string& text,
                         long bufferSize);

// The section's lines in file order, all of them, without the buffer rules of Get_Profile_Section;
// empty when the section is missing.
std::vector<std::string> Get_Profile_Section_Lines(const std::string& file, const std::string& section);

// The value of one key, def when missing.
std::string Get_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& def = {});

}  // namespace modPrivateProfile
