#include "foundation/config_store.h"

#include <QDateTime>
#include <QFile>
#include <optional>

#include "foundation/cipher.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "platform/clock.h"

namespace modTLC {

ConfigStore Config;
long ConfigDirty = 0;
long ConfigSaveCountdown = 0;

namespace {

// Every change to the store counts here. A save writes the store as it stood at one count;
// a save that runs inside another's encipher (it yields) may write a later count, and the
// outer save then must not put its older text back over it.
unsigned long long g_changes = 0;
unsigned long long g_written = 0;

constexpr long kMaxSectionLines = 32767;  // the counts are 16-bit
constexpr int kMaxSections = 32767;

constexpr const char* kConfigFile = "tl2cf.dat";
constexpr const char* kBackupFolder = "Backup/";

void Clear_Config() {
    Config.Lines.assign(1, std::string());
    Config.SectionNames.assign(1, std::string());
    Config.SectionStart.assign(1, 0);
    Config.SectionLines.assign(1, 0);
    Config.LineCount = 0;
    Config.SectionCount = 0;
}

void ensureShape() {
    if (Config.Lines.empty()) Clear_Config();
}

bool Is_Section_Header(const std::string& line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

void Bracket_Section_Name(std::string& name) {
    if (name.empty() || name.front() != '[') name = "[" + vb::Trim(name);
    if (name.back() != ']') name = vb::Trim(name) + "]";
}

int Find_Config_Section(const std::string& name) {
    for (int i = 1; i <= Config.SectionCount; ++i)
        if (vb::EqualText(Config.SectionNames[i], name)) return i;
    return -1;
}

long Find_Config_Key(int section, std::string_view key) {
    const long first = Config.SectionStart[section] + 1;
    const long last = Config.SectionStart[section] + Config.SectionLines[section];
    for (long n = first; n <= last; ++n) {
        const std::string& line = Config.Lines[n];
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (vb::EqualText(std::string_view(line).substr(0, eq), key)) return n;
    }
    return -1;
}

void Add_Config_Section(std::string name) {
    if (Config.LineCount > 0 && !Config.Lines[Config.LineCount].empty()) {
        Config.Lines.push_back(std::string());
        ++Config.LineCount;
    }
    Bracket_Section_Name(name);
    Config.Lines.push_back(name);
    ++Config.LineCount;
    ++Config.SectionCount;
    Config.SectionNames.push_back(name);
    Config.SectionStart.push_back(Config.LineCount);
    Config.SectionLines.push_back(0);
}

// False when the line would overflow a 16-bit count; the line is then not taken.
bool addParsedLine(const std::string& raw) {
    const std::string line = vb::Trim(raw);
    const bool header = Is_Section_Header(line);
    if (header ? Config.SectionCount >= kMaxSections
               : Config.SectionCount > 0 && Config.SectionLines[Config.SectionCount] >= kMaxSectionLines)
        return false;
    Config.Lines.push_back(line);
    ++Config.LineCount;
    if (header) {
        ++Config.SectionCount;
        Config.SectionNames.push_back(line);
        Config.SectionStart.push_back(Config.LineCount);
        Config.SectionLines.push_back(0);
    } else if (Config.SectionCount > 0) {
        ++Config.SectionLines[Config.SectionCount];
    }
    return true;
}

// Parses the lines into the store; a section too long for its count ends the load there,
// with what was read so far.
void parse(const std::string& text) {
    size_t pos = 0;
    for (;;) {
        const size_t crlf = text.find("\r\n", pos);
        if (crlf == std::string::npos) break;  // text after the last CR LF is not a line
        if (!addParsedLine(text.substr(pos, crlf - pos))) {
            modTLMain::Log_Error(6, "Overflow", "LDIF");
            return;
        }
        pos = crlf + 2;
    }
}

std::string decipherFile(const std::string& path) {
    const auto bytes = modTLMain::Read_Whole_File(path);
    if (!bytes || bytes->empty()) return {};
    return modAHM::Crypt_String(*bytes, Config_Phrase(), false);
}

// A file that does not decipher, or was cut short, is moved aside, never emptied: it may still be
// the user's only copy. Returns where it now is ("" when it could not be moved).
std::string keepAside(const std::string& path, const char* kind = "unreadable") {
    const std::string stamp = platform::clock().now().toString("yyyyMMdd-HHmmss").toStdString();
    const std::string base = path + "." + kind + "-" + stamp;
    std::string aside = base;
    for (int n = 2; modTLMain::File_Exists(aside); ++n) aside = base + "-" + std::to_string(n);
    if (!QFile::rename(QString::fromStdString(path), QString::fromStdString(aside))) return {};
    modTLMain::Write_Op_Log(std::string(kind == std::string("cut") ? "Cut Short" : "Unreadable") +
                            " Configuration File Kept As " + aside);
    return aside;
}

// The user hears of a settings file that could not be read whole, once, without a wait: the start
// goes on meanwhile.
void tellUser(const std::string& text) {
    LastNotice = text;
    Messages::Args a;
    a.Text = text;
    a.Btn1Caption = "OK";
    a.Modeless = true;
    Messages::DisplayMsg(a);
}

// A stored text the program wrote whole: it begins with the first section and ends with a line
// end (every save ends its last line).
bool wholeText(const std::string& text) {
    return text.compare(0, 9, "[Options]") == 0 && text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

bool g_saveFailureTold = false;

std::string cleanValue(std::string_view value) {
    std::string v(value);
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    return vb::Trim(v);
}

bool keyRefused(std::string_view key) {
    if (key.empty() || key.front() == '[') return true;
    return key.find_first_of("=\r\n") != std::string_view::npos;
}

// A bracketed section name that would break the file or could never be found again:
// a line break, or a bracket inside the name.
bool sectionRefused(const std::string& bracketed) {
    const std::string_view inner = std::string_view(bracketed).substr(1, bracketed.size() - 2);
    if (vb::Trim(std::string(inner)).empty()) return true;
    return inner.find_first_of("[]\r\n") != std::string_view::npos;
}

void changed() {
    ConfigDirty = 1;
    ConfigSaveCountdown = 5;
    ++g_changes;
}

}  // namespace

std::string Config_Phrase() {
    // Built from the program's own message words rather than stored as one string.
    static const char* const kWords[] = {"Tolvane", "Rerode", "Config", "Store", "Key"};
    std::string phrase;
    for (const char* w : kWords) phrase += std::string(w) + "~";
    return phrase + "2";
}

std::string Get_Config_Value(std::string_view section, std::string_view key, std::string_view def) {
    ensureShape();
    std::string name(section);
    Bracket_Section_Name(name);
    const int s = Find_Config_Section(name);
    if (s < 0) return std::string(def);
    const long n = Find_Config_Key(s, key);
    if (n < 0) return std::string(def);
    const std::string& line = Config.Lines[n];
    return line.substr(line.find('=') + 1);
}

void Set_Config_Value(std::string_view section, std::string_view key, std::string_view value) {
    ensureShape();
    if (keyRefused(key)) {
        modTLMain::Log_Error(5, "Invalid configuration key \"" + cleanValue(key) + "\"", "Set_Config_Value");
        return;
    }
    std::string name(section);
    Bracket_Section_Name(name);
    if (sectionRefused(name)) {
        modTLMain::Log_Error(5, "Invalid configuration section \"" + cleanValue(name) + "\"", "Set_Config_Value");
        return;
    }
    const std::string line = std::string(key) + "=" + cleanValue(value);
    const int s = Find_Config_Section(name);
    const long n = s > 0 ? Find_Config_Key(s, key) : -1;
    // A new line must still fit the 16-bit counts of the section index.
    if (n < 0 && (s < 0 ? Config.SectionCount >= kMaxSections : Config.SectionLines[s] >= kMaxSectionLines)) {
        modTLMain::Log_Error(6, "Overflow", "Set_Config_Value");
        return;
    }
    changed();
    if (s < 0) {
        Add_Config_Section(name);
        Config.Lines.push_back(line);
        ++Config.LineCount;
        Config.SectionLines[Config.SectionCount] = 1;
        return;
    }
    if (n > 0) {
        Config.Lines[n] = line;
        return;
    }
    long at = Config.SectionStart[s] + Config.SectionLines[s] + 1;
    const long lastLine = at - 1;
    if (Config.SectionLines[s] > 0 && Config.Lines[lastLine].empty()) at = lastLine;
    Config.Lines.insert(Config.Lines.begin() + at, line);
    ++Config.LineCount;
    ++Config.SectionLines[s];
    for (int i = s + 1; i <= Config.SectionCount; ++i) ++Config.SectionStart[i];
}

void Set_Config_Value(std::string_view s, std::string_view k, long long v) { Set_Config_Value(s, k, std::to_string(v)); }
void Set_Config_Value(std::string_view s, std::string_view k, int v) { Set_Config_Value(s, k, std::to_string(v)); }
void Set_Config_Value(std::string_view s, std::string_view k, long v) { Set_Config_Value(s, k, std::to_string(v)); }
void Set_Config_Value(std::string_view s, std::string_view k, bool v) {
    Set_Config_Value(s, k, std::string_view(v ? "True" : "False"));
}
void Set_Config_Value(std::string_view s, std::string_view k, const char* v) {
    Set_Config_Value(s, k, std::string_view(v ? v : ""));
}
void Set_Config_Value(std::string_view s, std::string_view k, const std::string& v) {
    Set_Config_Value(s, k, std::string_view(v));
}

void Delete_Config_Key(std::string_view section, std::string_view key) {
    ensureShape();
    std::string name(section);
    Bracket_Section_Name(name);
    const int s = Find_Config_Section(name);
    if (s < 0) return;
    const long n = Find_Config_Key(s, key);
    if (n < 0) return;
    changed();
    Config.Lines.erase(Config.Lines.begin() + n);
    --Config.LineCount;
    --Config.SectionLines[s];
    for (int i = s + 1; i <= Config.SectionCount; ++i) --Config.SectionStart[i];
}

std::vector<std::string> Get_Section_Keys(std::string_view section) {
    ensureShape();
    std::vector<std::string> keys;
    std::string name(section);
    Bracket_Section_Name(name);
    const int s = Find_Config_Section(name);
    if (s < 0) return keys;
    for (long n = Config.SectionStart[s] + 1; n <= Config.SectionStart[s] + Config.SectionLines[s]; ++n) {
        const auto eq = Config.Lines[n].find('=');
        if (eq != std::string::npos) keys.push_back(Config.Lines[n].substr(0, eq));
    }
    return keys;
}

void LDIF() {
    Clear_Config();
    g_written = g_changes;
    Config.FileName = modTLMain::DataFolder + kConfigFile;
    const std::string& file = Config.FileName;
    std::string text;
    const long long len = modTLMain::File_Length(file);
    std::string keptAs;
    bool cut = false;
    if (len > 0) {
        text = decipherFile(file);
        if (wholeText(text)) {
            parse(text);
            return;
        }
        // A text that begins as the store does but does not end as every save ends it was cut
        // short (a full disk, a copy broken off): what it still holds is used only when there is
        // no whole backup.
        cut = text.compare(0, 9, "[Options]") == 0;
        keptAs = keepAside(file, cut ? "cut" : "unreadable");
    }
    const std::string backup = modTLMain::DataFolder + kBackupFolder + kConfigFile;
    std::optional<std::string> saved;
    if (modTLMain::File_Exists(backup)) {
        saved = modTLMain::Read_Whole_File(backup);
        if (!saved || saved->empty()) {
            // An empty or unreadable backup holds no settings: the start goes on as a new install.
            if (saved) modTLMain::Log_Error(62, "Input past end of file", "LDIF");
            else modTLMain::Log_Error(75, "Path/File access error", "LDIF");
            saved.reset();
        } else if (cut && !wholeText(modAHM::Crypt_String(*saved, Config_Phrase(), false))) {
            saved.reset();  // a backup no better than the cut file
        }
    }
    const std::string where = keptAs.empty() ? std::string() : "\r\n\r\nThe damaged file is kept as\r\n" + keptAs;
    if (!saved && cut) {
        parse(text);  // the last, broken-off line is no line
        if (!modTLMain::Save_Whole_File(file, modAHM::Crypt_String(Config_Text(), Config_Phrase(), true), true))
            modTLMain::Log_Error(75, "Path/File access error", "LDIF");
        tellUser("The settings file was cut short and there is no whole backup: the settings it still holds are "
                 "used. Check the users and their passwords in the options." + where);
        return;
    }
    if (!saved) {
        if (!modTLMain::File_Exists(file)) modTLMain::Save_Whole_File(file, std::string(), true);
        modTLMain::NewInstall = true;
        Config.LineCount = 0;
        if (len > 0) tellUser("The settings file could not be read: the program starts with new settings." + where);
        return;
    }
    modTLMain::Write_Op_Log("Configuration File Restored From Backup");
    if (!modTLMain::Save_Whole_File(file, *saved, true)) modTLMain::Log_Error(75, "Path/File access error", "LDIF");
    parse(modAHM::Crypt_String(*saved, Config_Phrase(), false));
    if (len > 0)
        tellUser(std::string("The settings file ") + (cut ? "was cut short" : "could not be read") +
                 ": the settings were taken from the backup." + where);
}

std::string Config_Text() {
    ensureShape();
    std::string text;
    for (long n = 1; n <= Config.LineCount; ++n) text += vb::Trim(Config.Lines[n]) + "\r\n";
    return text;
}

void Save_Config_File() {
    ConfigDirty = 0;
    ensureShape();
    // The cipher yields: a change made meanwhile is written by one more round, and a save
    // run meanwhile that wrote a later store is never overwritten by this one's older text.
    for (int round = 0; round < 3; ++round) {
        if (Config.LineCount == 0) return;  // an empty store never overwrites the file
        const unsigned long long at = g_changes;
        const std::string plain = Config_Text();
        const std::string sealed = modAHM::Crypt_String(plain, Config_Phrase(), true);
        if (sealed.size() != plain.size()) {
            // Without a working cipher the file keeps the settings it has.
            modTLMain::Log_Error(-2146893818, "Encipher Failed", "Save_Config_File");
            return;
        }
        if (at >= g_written) {
            if (Config.FileName.empty()) Config.FileName = modTLMain::DataFolder + kConfigFile;
            if (!modTLMain::Save_Whole_File(Config.FileName, sealed, true)) {
                modTLMain::Log_Error(75, "Path/File access error", "Save_Config_File");
                if (!g_saveFailureTold) {
                    g_saveFailureTold = true;
                    tellUser("Error! Settings Not Saved - " + Config.FileName +
                             "\r\n\r\nThe settings stay as they are in the program; they are saved again at the next change.");
                }
                return;
            }
            g_written = at;
            g_saveFailureTold = false;
        }
        if (g_changes == g_written) {
            ConfigDirty = 0;
            return;
        }
    }
    // Still changing after the last round: the heartbeat saves again.
    ConfigDirty = 1;
    ConfigSaveCountdown = 5;
}

void ResetForTests() {
    LastNotice.clear();
    g_saveFailureTold = false;
    Clear_Config();
    g_written = g_changes;
    Config.FileName.clear();
    ConfigDirty = 0;
    ConfigSaveCountdown = 0;
}

}  // namespace modTLC
