#include "foundation/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>

#include "foundation/logs.h"

namespace {

const Bytef* bytesOf(const std::string& s) { return reinterpret_cast<const Bytef*>(s.data()); }

// The first output buffer: the size that the gzip trailer states (modulo 4 GiB) when there is
// one, otherwise three times the input; at least a few kilobytes, never past the limit. The
// buffer grows while inflating, so a wrong guess costs only time.
size_t sizeGuess(const std::string& data, long format, size_t limit) {
    size_t guess = 0;
    const size_t n = data.size();
    if (format >= 16 + 8 && format <= 16 + 15 && n >= 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(data.data()) + n - 4;
        guess = static_cast<size_t>(b[0]) | static_cast<size_t>(b[1]) << 8 | static_cast<size_t>(b[2]) << 16 |
                static_cast<size_t>(b[3]) << 24;
    } else {
        guess = n * 3;
    }
    // deflate never shrinks data by more than about 1:1032, so a larger claim is not believed.
    guess = std::min(guess, n * 1032 + 4096);
    return std::min(std::max<size_t>(guess, 4096), limit);
}

}  // namespace

long ZLIB::GetAdler32(const std::string& Data) const {
    uLong v = adler32(0L, Z_NULL, 0);
    if (!Data.empty()) v = adler32_z(v, bytesOf(Data), Data.size());
    return static_cast<long>(v & 0xFFFFFFFFUL);
}

long ZLIB::GetCRC32(const std::string& Data) const {
    uLong v = crc32(0L, Z_NULL, 0);
    if (!Data.empty()) v = crc32_z(v, bytesOf(Data), Data.size());
    return static_cast<long>(v & 0xFFFFFFFFUL);
}

long ZLIB::CompressString(std::string& Data, long Format) const {
    if (Data.empty()) return 0;
    if (Data.size() > UINT_MAX / 2) return -1;
    try {
        z_stream zs{};
        if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, static_cast<int>(Format), 8, Z_DEFAULT_STRATEGY) !=
            Z_OK)
            return -1;
        std::string out;
        try {
            out.resize(deflateBound(&zs, static_cast<uLong>(Data.size())));
        } catch (...) {
            deflateEnd(&zs);
            throw;
        }
        zs.next_in = const_cast<Bytef*>(bytesOf(Data));
        zs.avail_in = static_cast<uInt>(Data.size());
        zs.next_out = reinterpret_cast<Bytef*>(out.data());
        zs.avail_out = static_cast<uInt>(out.size());
        const int status = deflate(&zs, Z_FINISH);
        const size_t written = zs.total_out;
        deflateEnd(&zs);
        if (status != Z_STREAM_END) return -1;
        out.resize(written);
        Data = std::move(out);
        return 0;
    } catch (const std::bad_alloc&) {
        return 7;
    }
}

long ZLIB::UncompressString(std::string& Data, long Format, size_t MaxBytes) const {
    if (Data.empty()) return 0;
    const size_t limit = std::min(MaxBytes, kMaxInflatedBytes);
    if (Data.size() > UINT_MAX / 2) return -1;
    z_stream zs{};
    if (inflateInit2(&zs, static_cast<int>(Format)) != Z_OK) return -1;
    long result = -1;
    try {
        std::string out(sizeGuess(Data, Format, limit), '\0');
        zs.next_in = const_cast<Bytef*>(bytesOf(Data));
        zs.avail_in = static_cast<uInt>(Data.size());
        size_t produced = 0;
        for (;;) {
            if (produced == out.size()) {
                if (out.size() >= limit) {
                    // Full: the body is larger than accepted, unless all that is left is its end.
                    unsigned char probe = 0;
                    zs.next_out = &probe;
                    zs.avail_out = 1;
                    const int status = inflate(&zs, Z_NO_FLUSH);
                    if (status == Z_STREAM_END && zs.avail_out == 1 && zs.avail_in == 0) result = 0;
                    break;
                }
                out.resize(std::min(out.size() * 2, limit));
            }
            zs.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
            zs.avail_out = static_cast<uInt>(out.size() - produced);
            const uInt before = zs.avail_out;
            const int status = inflate(&zs, Z_NO_FLUSH);
            produced += before - zs.avail_out;
            if (status == Z_STREAM_END) {
                // A gzip body may hold several members one after the other.
                const bool another = Format > 15 && zs.avail_in >= 2 && zs.next_in[0] == 0x1f && zs.next_in[1] == 0x8b;
                if (another && inflateReset(&zs) == Z_OK) continue;
                result = 0;
                break;
            }
            if (status == Z_OK) continue;
            if (status == Z_BUF_ERROR && zs.avail_out == 0) continue;  // needs more room
            break;  // damaged, cut short or needs a dictionary
        }
        if (result == 0) {
            out.resize(produced);
            Data = std::move(out);
        }
    } catch (const std::bad_alloc&) {
        modTLMain::Log_Error(7, "Out of memory", "UncompressString");
        result = -1;
    }
    inflateEnd(&zs);
    return result;
}
