// config_store.h — the program's settings: sections of key=value lines, kept enciphered on disk.
//
// Section and key names match without regard to case; the value is the text after
// the first "=". Every write arms a five-tick auto-save that the heartbeat counts down.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modTLC {

struct ConfigStore {
    std::string FileName;
    long LineCount = 0;
    std::vector<std::string> Lines;         // index 0 unused: lines count from 1
    int16_t SectionCount = 0;
    std::vector<std::string> SectionNames;  // from 1
    std::vector<long> SectionStart;         // from 1
    std::vector<int16_t> SectionLines;      // from 1
};

extern ConfigStore Config;
extern long ConfigDirty;
extern long ConfigSaveCountdown;

std::string Get_Config_Value(std::string_view section, std::string_view key, std::string_view def = {});
// Numbers are written in plain decimal, booleans as "True" / "False".
void Set_Config_Value(std::string_view section, std::string_view key, std::string_view value);
void Set_Config_Value(std::string_view section, std::string_view key, long long value);
void Set_Config_Value(std::string_view section, std::string_view key, int value);
void Set_Config_Value(std::string_view section, std::string_view key, long value);
void Set_Config_Value(std::string_view section, std::string_view key, bool value);
void Set_Config_Value(std::string_view section, std::string_view key, const char* value);
void Set_Config_Value(std::string_view section, std::string_view key, const std::string& value);
void Delete_Config_Key(std::string_view section, std::string_view key);
std::vector<std::string> Get_Section_Keys(std::string_view section);

// What the user was last told of the settings file (cut short, unreadable, not saved).
inline std::string LastNotice;

void LDIF();              // load once at start-up
void Save_Config_File();  // also run by the heartbeat five ticks after the last change

// The plain text of the store as it is saved (lines each ended by CR LF).
std::string Config_Text();
// The pass phrase of the configuration file.
std::string Config_Phrase();

void ResetForTests();

}  // namespace modTLC
