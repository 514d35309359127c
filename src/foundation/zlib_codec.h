// zlib_codec.h — gzip compression and inflation of texts held as bytes, CRC-32 and Adler-32.
//
// Format is zlib's window-bits value that selects the wrapper: 31 the gzip wrapper, 15 the
// zlib wrapper, −15 none. Data is changed only on success; a failure leaves it as it was.
#pragma once

#include <cstddef>
#include <string>

class ZLIB {
public:
    static constexpr long kGzipFormat = 31;
    // An inflated text never grows past this; a body that would is refused.
    static constexpr size_t kMaxInflatedBytes = 64u * 1024u * 1024u;

    // Adler-32 and CRC-32 of the bytes of Data, as values from 0 to 4294967295.
    long GetAdler32(const std::string& Data) const;
    long GetCRC32(const std::string& Data) const;
    // 0 on success (Data holds the compressed bytes; an empty Data stays empty), −1 when the
    // library refuses, 7 when memory runs out.
    long CompressString(std::string& Data, long Format) const;
    // 0 on success (Data holds the inflated bytes) or when Data is empty; −1 when the body does
    // not inflate whole (damaged, cut short, or larger than MaxBytes or kMaxInflatedBytes).
    long UncompressString(std::string& Data, long Format, size_t MaxBytes = kMaxInflatedBytes) const;
};
