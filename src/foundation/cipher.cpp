#include "foundation/cipher.h"

#include <QCryptographicHash>

#include "platform/timers.h"

namespace modAHM {
namespace {

bool g_providerAvailable = true;
long g_nextHandle = 0;

// RC4 keystream applied in place.
void rc4(const unsigned char* key, size_t keyLen, std::string& data) {
    unsigned char s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLen]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    int i = 0, j = 0;
    for (char& c : data) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        c = static_cast<char>(static_cast<unsigned char>(c) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

}  // namespace

long Get_Crypt_Context() {
    if (!g_providerAvailable) return 0;
    return ++g_nextHandle;
}

void Release_Crypt_Context(long) {}

std::string Crypt_String(const std::string& text, const std::string& phrase, bool) {
    const long ctx = Get_Crypt_Context();
    if (ctx == 0) return {};
    platform::timers().doEvents();
    // The key is the 128-bit MD5 digest of the pass phrase.
    const QByteArray key = QCryptographicHash::hash(QByteArray(phrase.data(), static_cast<qsizetype>(phrase.size())),
                                                    QCryptographicHash::Md5);
    std::string out = text;
    if (!out.empty()) rc4(reinterpret_cast<const unsigned char*>(key.constData()), static_cast<size_t>(key.size()), out);
    Release_Crypt_Context(ctx);
    return out;
}

std::string Bytes_To_String(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<unsigned char> String_To_Bytes(const std::string& text) {
    if (text.empty()) return {0};
    return std::vector<unsigned char>(text.begin(), text.end());
}

void SetProviderAvailableForTests(bool on) { g_providerAvailable = on; }

}  // namespace modAHM
