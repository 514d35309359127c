#include "foundation/protected_texts.h"

#include <iterator>
#include <vector>

#include "foundation/cipher.h"

namespace modTLMain {
namespace {

// In the order of ProtectedText; entry n is enciphered with the phrase of n.
const std::vector<unsigned char> kTexts[] = {
    {0xD3, 0x62, 0x2B, 0x05, 0x00, 0xBD, 0x7E, 0xF7, 0xB0, 0x73, 0xB4, 0x64, 0x29},
    {0x1B, 0x81, 0xB0, 0xE1, 0xC9, 0x15, 0xF0, 0x03, 0x71, 0xF2, 0x32, 0x58, 0x6D, 0x39, 0xEB},
};

std::string phrase(size_t n) { return "Tolvane~Rerode~Texts~" + std::to_string(n); }

}  // namespace

std::string Protected_Text(ProtectedText which) {
    const auto n = static_cast<size_t>(which);
    if (n >= std::size(kTexts)) return {};
    return modAHM::Crypt_String(modAHM::Bytes_To_String(kTexts[n]), phrase(n), false);
}

}  // namespace modTLMain
