// private_profile.h — a small INI-file store with the rules of the system's private-profile files.
//
// Used for the cookie jar. Section and key names match without regard to case (ASCII); writing a
// key that exists rewrites its line in place, a new key goes to the end of its section, a new
// section to the end of the file. Deleting a section removes its header and lines. Lines end in
// CR LF.
//
// Profile holds such a file in memory: the cookie jar keeps one and saves it when it changed. The
// file functions below read the file, change it and save it whole (temporary file, synced, renamed
// over; user-only access), so a crash leaves the old or the new file.
//
// Names and values that would break the file (line breaks, a NUL, a key starting with "[" or
// holding "=", a section name holding "]") are refused: the write returns false.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modPrivateProfile {

class Profile {
public:
    enum class Write { Refused, Unchanged, Changed };

    // The file's bytes as lines (CR LF or LF); Bytes() gives them back with CR LF after each line.
    static Profile Parse(std::string_view bytes);
    std::string Bytes() const;
    bool Empty() const { return m_preamble.empty() && m_sections.empty(); }

    // Writes key=value into the section (made when missing).
    Write Write_String(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section with all its keys; false when there was no such section.
    bool Delete_Section(std::string_view section);
    // The section's non-blank lines in file order; empty when the section is missing.
    std::vector<std::string> Section_Lines(std::string_view section) const;
    // The section's lines "key=value", each followed by a NUL, as the system's section read gives
    // them into a buffer of bufferSize characters; the count is returned. When the lines do not
    // fit, `text` gets as many whole lines as fit and the count is bufferSize - 2.
    long Section_Text(std::string_view section, std::string& text, long bufferSize) const;
    // The value of one key, def when missing.
    std::string Get_String(std::string_view section, std::string_view key, std::string_view def = {}) const;

private:
    struct Section {
        std::string header;               // the "[name]" line as read
        std::string name;                 // the name, trimmed
        std::vector<std::string> lines;   // every line up to the next header, blank ones included
    };
    const Section* find(std::string_view name) const;
    Section* find(std::string_view name);

    std::vector<std::string> m_preamble;  // lines before the first header
    std::vector<Section> m_sections;
};

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
