#include "service/private_profile.h"

#include "foundation/vb.h"
#include "foundation/whole_file.h"

namespace modPrivateProfile {
namespace {

std::vector<std::string> readLines(const std::string& file) {
    std::vector<std::string> lines;
    const auto bytes = modTLMain::Read_Whole_File(file);
    if (!bytes || bytes->empty()) return lines;
    size_t start = 0;
    while (start < bytes->size()) {
        size_t nl = bytes->find('\n', start);
        if (nl == std::string::npos) nl = bytes->size();
        std::string line = bytes->substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    return lines;
}

bool saveLines(const std::string& file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    return modTLMain::Save_Whole_File(file, bytes, true);
}

// The section name of a header line "[name]", or false when the line is no header.
bool sectionOf(const std::string& line, std::string& name) {
    const std::string t = vb::Trim(line);
    if (t.empty() || t[0] != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = vb::Trim(t.substr(1, close - 1));
    return true;
}

// Index of the section's header line, or -1.
long findSection(const std::vector<std::string>& lines, const std::string& section) {
    const std::string want = vb::Trim(section);
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i)
        if (sectionOf(lines[i], name) && vb::EqualText(name, want)) return static_cast<long>(i);
    return -1;
}

// One past the section's last line (the next header or the end).
size_t sectionEnd(const std::vector<std::string>& lines, size_t header) {
    std::string name;
    size_t i = header + 1;
    while (i < lines.size() && !sectionOf(lines[i], name)) ++i;
    return i;
}

bool safeText(const std::string& s) {
    return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

bool Write_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) {
    const std::string sec = vb::Trim(section);
    const std::string k = vb::Trim(key);
    if (sec.empty() || k.empty() || !safeText(sec) || !safeText(k) || !safeText(value)) return false;
    if (sec.find(']') != std::string::npos || k[0] == '[' || k.find('=') != std::string::npos) return false;

    std::vector<std::string> lines = readLines(file);
    const std::string line = k + "=" + value;
    const long header = findSection(lines, sec);
    if (header < 0) {
        if (!lines.empty() && !vb::Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + sec + "]");
        lines.push_back(line);
        return saveLines(file, lines);
    }
    const size_t end = sectionEnd(lines, static_cast<size_t>(header));
    size_t lastKey = static_cast<size_t>(header);
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
        const std::string& l = lines[i];
        if (vb::Trim(l).empty()) continue;
        lastKey = i;
        const size_t eq = l.find('=');
        if (eq != std::string::npos && vb::EqualText(vb::Trim(l.substr(0, eq)), k)) {
            lines[i] = line;  // rewritten in place
            return saveLines(file, lines);
        }
    }
    lines.insert(lines.begin() + static_cast<long>(lastKey) + 1, line);
    return saveLines(file, lines);
}

bool Delete_Profile_Section(const std::string& file, const std::string& section) {
    std::vector<std::string> lines = readLines(file);
    const long header = findSection(lines, section);
    if (header < 0) return true;
    size_t end = sectionEnd(lines, static_cast<size_t>(header));
    lines.erase(lines.begin() + header, lines.begin() + static_cast<long>(end));
    // No blank line is left doubled where the section stood.
    while (header > 0 && static_cast<size_t>(header) < lines.size() && vb::Trim(lines[header]).empty() &&
           vb::Trim(lines[header - 1]).empty())
        lines.erase(lines.begin() + header);
    return saveLines(file, lines);
}

std::vector<std::string> Get_Profile_Section_Lines(const std::string& file, const std::string& section) {
    std::vector<std::string> lines = readLines(file);
    const long header = findSection(lines, section);
    if (header < 0) return {};
    const size_t end = sectionEnd(lines, static_cast<size_t>(header));
    std::vector<std::string> kept;
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i)
        if (!vb::Trim(lines[i]).empty()) kept.push_back(std::move(lines[i]));
    return kept;
}

long Get_Profile_Section(const std::string& file, const std::string& section, std::string& text,
                         long bufferSize) {
    text.clear();
    if (bufferSize <= 2) return 0;
    const size_t room = static_cast<size_t>(bufferSize);
    for (const std::string& line : Get_Profile_Section_Lines(file, section)) {
        // Each line takes its length and a NUL; the buffer keeps one more NUL at the end.
        if (text.size() + line.size() + 1 + 1 > room) return bufferSize - 2;
        text += line;
        text += '\0';
    }
    return static_cast<long>(text.size());
}

std::string Get_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& def) {
    const std::vector<std::string> lines = readLines(file);
    const long header = findSection(lines, section);
    if (header < 0) return def;
    const size_t end = sectionEnd(lines, static_cast<size_t>(header));
    const std::string k = vb::Trim(key);
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
        const size_t eq = lines[i].find('=');
        if (eq != std::string::npos && vb::EqualText(vb::Trim(lines[i].substr(0, eq)), k))
            return lines[i].substr(eq + 1);
    }
    return def;
}

}  // namespace modPrivateProfile
