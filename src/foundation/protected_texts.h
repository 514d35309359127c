// protected_texts.h — texts the program keeps enciphered in its own file and deciphers only when
// it needs them (modAHM::Crypt_String, each with its own pass phrase), so they appear nowhere in
// the program as plain text. Further entries are added at the end of the list.
#pragma once

#include <string>

namespace modTLMain {

enum class ProtectedText {
    DebugAccess,  // the debug menu's access word (the About box's service input adds the version's last two characters)
    TimeOutCode,  // the 15 characters of the service input that sets [Options] TimeOut
    UpdateInfoPhrase,  // the pass phrase of an update's information (the list of its files)
};

// The deciphered text; "" when the cipher cannot be had.
std::string Protected_Text(ProtectedText which);

}  // namespace modTLMain
