#include "foundation/ex_events.h"

#include <zlib.h>

#include <cmath>

namespace {

long adal(long adler, const unsigned char* data, size_t size, double lastIndex) {
    if (size == 0) return 1;
    const uLong start = static_cast<uLong>(adler) & 0xFFFFFFFFUL;
    if (!(lastIndex >= 0)) return static_cast<long>(start);
    // Every byte of the range counts; a range past the end stops at the last byte.
    const double last = std::floor(lastIndex);
    const size_t count = last + 1 >= static_cast<double>(size) ? size : static_cast<size_t>(last) + 1;
    return static_cast<long>(adler32_z(start, data, count) & 0xFFFFFFFFUL);
}

}  // namespace

long ExEvents::ADAL(long Adler, const std::vector<unsigned char>& Data, double LastIndex, long& Result) const {
    Result = adal(Adler, Data.data(), Data.size(), LastIndex);
    return Result;
}

long ExEvents::ADAL(long Adler, const std::string& Data, double LastIndex, long& Result) const {
    Result = adal(Adler, reinterpret_cast<const unsigned char*>(Data.data()), Data.size(), LastIndex);
    return Result;
}
