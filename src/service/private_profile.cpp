#include "service/private_profile.h"

#include "foundation/vb.h"
#include "foundation/whole_file.h"

namespace modPrivateProfile {
namespace {

// Blanks (spaces) off both ends, as the profile rules trim names.
std::string_view trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool blank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

// The section name of a header line "[name]", or false when the line is no header.
bool sectionOf(std::string_view line, std::string_view& name) {
    const std::string_view t = trimmed(line);
    if (t.empty() || t[0] != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = trimmed(t.substr(1, close - 1));
    return true;
}

// Whether the line is "key=..." for this key (names compared trimmed, without regard to case).
bool isKeyLine(std::string_view line, std::string_view key) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view name = trimmed(line.substr(0, eq));
    return name.size() == key.size() && vb::EqualText(name, key);
}

bool safeText(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

Profile readFile(const std::string& file) {
    const auto bytes = modTLMain::Read_Whole_File(file);
    return bytes ? Profile::Parse(*bytes) : Profile();
}

bool saveFile(const std::string& file, const Profile& profile) {
    return modTLMain::Save_Whole_File(file, profile.Bytes(), true);
}

}  // namespace

// ---- Profile ------------------------------------------------------------------------------------

Profile Profile::Parse(std::string_view bytes) {
    Profile p;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t nl = bytes.find('\n', start);
        if (nl == std::string_view::npos) nl = bytes.size();
        std::string_view line = bytes.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string_view name;
        if (sectionOf(line, name))
            p.m_sections.push_back({std::string(line), std::string(name), {}});
        else if (p.m_sections.empty())
            p.m_preamble.emplace_back(line);
        else
            p.m_sections.back().lines.emplace_back(line);
        start = nl + 1;
    }
    return p;
}

std::string Profile::Bytes() const {
    size_t size = 0;
    for (const auto& l : m_preamble) size += l.size() + 2;
    for (const auto& s : m_sections) {
        size += s.header.size() + 2;
        for (const auto& l : s.lines) size += l.size() + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    const auto put = [&bytes](const std::string& l) {
        bytes += l;
        bytes += "\r\n";
    };
    for (const auto& l : m_preamble) put(l);
    for (const auto& s : m_sections) {
        put(s.header);
        for (const auto& l : s.lines) put(l);
    }
    return bytes;
}

const Profile::Section* Profile::find(std::string_view name) const {
    const std::string_view want = trimmed(name);
    for (const Section& s : m_sections)
        if (vb::EqualText(s.name, want)) return &s;
    return nullptr;
}

Profile::Section* Profile::find(std::string_view name) {
    return const_cast<Section*>(static_cast<const Profile*>(this)->find(name));
}

Profile::Write Profile::Write_String(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sec = trimmed(section);
    const std::string_view k = trimmed(key);
    if (sec.empty() || k.empty() || !safeText(sec) || !safeText(k) || !safeText(value)) return Write::Refused;
    if (sec.find(']') != std::string_view::npos || k[0] == '[' || k.find('=') != std::string_view::npos)
        return Write::Refused;

    std::string line;
    line.reserve(k.size() + 1 + value.size());
    line.append(k).append("=").append(value);

    Section* s = find(sec);
    if (!s) {
        // A blank line before the new section, unless the file already ends in one.
        if (!m_sections.empty()) {
            std::vector<std::string>& last = m_sections.back().lines;  // its header is never blank
            if (last.empty() || !blank(last.back())) last.emplace_back();
        } else if (!m_preamble.empty() && !blank(m_preamble.back())) {
            m_preamble.emplace_back();
        }
        m_sections.push_back({"[" + std::string(sec) + "]", std::string(sec), {std::move(line)}});
        return Write::Changed;
    }
    size_t insertAt = 0;  // after the section's last key line
    for (size_t i = 0; i < s->lines.size(); ++i) {
        std::string& l = s->lines[i];
        if (blank(l)) continue;
        insertAt = i + 1;
        if (isKeyLine(l, k)) {
            if (l == line) return Write::Unchanged;
            l = std::move(line);  // rewritten in place
            return Write::Changed;
        }
    }
    s->lines.insert(s->lines.begin() + static_cast<long>(insertAt), std::move(line));
    return Write::Changed;
}

bool Profile::Delete_Section(std::string_view section) {
    const Section* s = find(section);
    if (!s) return false;
    m_sections.erase(m_sections.begin() + (s - m_sections.data()));
    return true;
}

std::vector<std::string> Profile::Section_Lines(std::string_view section) const {
    std::vector<std::string> kept;
    if (const Section* s = find(section))
        for (const std::string& l : s->lines)
            if (!blank(l)) kept.push_back(l);
    return kept;
}

long Profile::Section_Text(std::string_view section, std::string& text, long bufferSize) const {
    text.clear();
    if (bufferSize <= 2) return 0;
    const Section* s = find(section);
    if (!s) return 0;
    const size_t room = static_cast<size_t>(bufferSize);
    for (const std::string& line : s->lines) {
        if (blank(line)) continue;
        // Each line takes its length and a NUL; the buffer keeps one more NUL at the end.
        if (text.size() + line.size() + 1 + 1 > room) return bufferSize - 2;
        text += line;
        text += '\0';
    }
    return static_cast<long>(text.size());
}

std::string Profile::Get_String(std::string_view section, std::string_view key, std::string_view def) const {
    const Section* s = find(section);
    if (!s) return std::string(def);
    const std::string_view k = trimmed(key);
    for (const std::string& l : s->lines)
        if (isKeyLine(l, k)) return l.substr(l.find('=') + 1);
    return std::string(def);
}

// ---- Files --------------------------------------------------------------------------------------

bool Write_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) {
    Profile p = readFile(file);
    switch (p.Write_String(section, key, value)) {
        case Profile::Write::Refused: return false;
        case Profile::Write::Unchanged: return true;
        case Profile::Write::Changed: break;
    }
    return saveFile(file, p);
}

bool Delete_Profile_Section(const std::string& file, const std::string& section) {
    Profile p = readFile(file);
    if (!p.Delete_Section(section)) return true;
    return saveFile(file, p);
}

std::vector<std::string> Get_Profile_Section_Lines(const std::string& file, const std::string& section) {
    return readFile(file).Section_Lines(section);
}

long Get_Profile_Section(const std::string& file, const std::string& section, std::string& text,
                         long bufferSize) {
    return readFile(file).Section_Text(section, text, bufferSize);
}

std::string Get_Profile_String(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& def) {
    return readFile(file).Get_String(section, key, def);
}

}  // namespace modPrivateProfile
