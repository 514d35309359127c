// cipher.h — RC4 with a key from the MD5 of a pass phrase; texts as bytes.
#pragma once

#include <string>
#include <vector>

namespace modAHM {

// Enciphers (encrypt = true) or deciphers; RC4 is symmetric so both are one operation.
// An empty text on failure.
std::string Crypt_String(const std::string& text, const std::string& phrase, bool encrypt);
// A handle of the cipher provider, 0 when none can be had; release with Release_Crypt_Context.
long Get_Crypt_Context();
void Release_Crypt_Context(long handle);
std::string Bytes_To_String(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> String_To_Bytes(const std::string& text);  // "" gives one zero byte

// Tests make the provider unavailable.
void SetProviderAvailableForTests(bool on);

}  // namespace modAHM
