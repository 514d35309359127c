#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "foundation/ex_events.h"
#include "foundation/zlib_codec.h"

namespace {

std::string sampleText(size_t n) {
    std::string s;
    s.reserve(n);
    std::mt19937 rng(7);
    const char* words[] = {"bid ", "item ", "seller ", "shipping ", "price ", "end ", "\r\n", "1234 "};
    while (s.size() < n) s += words[rng() % 8];
    s.resize(n);
    return s;
}

// A gzip member made outside the class, to check the reader against zlib itself.
std::string gzipOf(const std::string& plain) {
    z_stream zs{};
    deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, plain.size()), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

TEST(ZlibCodec, GzipRoundTripOfShortLongAndBinaryTexts) {
    ZLIB z;
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    for (const std::string& plain : {std::string("a"), std::string("Hello, World"), sampleText(70000), binary,
                                     std::string(200000, '\0')}) {
        std::string data = plain;
        ASSERT_EQ(z.CompressString(data, 31), 0) << plain.size();
        ASSERT_GE(data.size(), 18u);
        EXPECT_EQ(static_cast<unsigned char>(data[0]), 0x1f);  // a gzip member
        EXPECT_EQ(static_cast<unsigned char>(data[1]), 0x8b);
        ASSERT_EQ(z.UncompressString(data, 31), 0) << plain.size();
        EXPECT_EQ(data, plain);
    }
}

TEST(ZlibCodec, InflatesBodiesWhoseSizeOutgrowsTheFirstBuffer) {
    ZLIB z;
    // 70,000 bytes: the trailer says 4,464 modulo 65,536; exact multiples of 65,536; and a
    // trailer that lies about the size.
    for (size_t n : {size_t{70000}, size_t{65536}, size_t{131072}, size_t{1024 * 1024 + 5}}) {
        const std::string plain = sampleText(n);
        std::string data = gzipOf(plain);
        ASSERT_EQ(z.UncompressString(data, 31), 0) << n;
        EXPECT_EQ(data, plain) << n;
    }
    // Without a gzip trailer the first buffer is three times the input: far too small here.
    const std::string repetitive(1'000'000, 'x');
    std::string zlibBody = repetitive;
    ASSERT_EQ(z.CompressString(zlibBody, 15), 0);
    ASSERT_LT(zlibBody.size() * 3, repetitive.size() / 10);
    ASSERT_EQ(z.UncompressString(zlibBody, 15), 0);
    EXPECT_EQ(zlibBody, repetitive);

    const std::string plain = sampleText(100000);
    std::string lying = gzipOf(plain);
    lying[lying.size() - 4] = 1, lying[lying.size() - 3] = 0, lying[lying.size() - 2] = 0, lying[lying.size() - 1] = 0;
    EXPECT_EQ(z.UncompressString(lying, 31), -1);  // the size check at the end fails: not success
}

TEST(ZlibCodec, DamagedOrCutBodiesFailAndLeaveDataUnchanged) {
    ZLIB z;
    const std::string good = gzipOf(sampleText(5000));
    std::string flipped = good;
    flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x55);
    const std::string cases[] = {
        good.substr(0, good.size() / 2),      // cut short
        good.substr(0, good.size() - 4),      // trailer missing
        flipped,                              // damaged inside
        "<html>plain page</html>",            // not compressed at all
        std::string("\x1f\x8b", 2),           // header only
    };
    for (const auto& body : cases) {
        std::string data = body;
        EXPECT_EQ(z.UncompressString(data, 31), -1) << body.size();
        EXPECT_EQ(data, body);
    }
}

TEST(ZlibCodec, EmptyInputIsNothingToDo) {
    ZLIB z;
    std::string data;
    EXPECT_EQ(z.CompressString(data, 31), 0);
    EXPECT_EQ(data, "");
    EXPECT_EQ(z.UncompressString(data, 31), 0);
    EXPECT_EQ(data, "");
    std::string emptyMember = gzipOf("");  // a gzip body of an empty page
    EXPECT_EQ(z.UncompressString(emptyMember, 31), 0);
    EXPECT_EQ(emptyMember, "");
}

TEST(ZlibCodec, OtherWrappersAndConcatenatedMembers) {
    ZLIB z;
    const std::string plain = sampleText(30000);
    for (long format : {15L, -15L}) {
        std::string data = plain;
        ASSERT_EQ(z.CompressString(data, format), 0) << format;
        ASSERT_EQ(z.UncompressString(data, format), 0) << format;
        EXPECT_EQ(data, plain) << format;
    }
    std::string bad = plain;
    EXPECT_EQ(z.CompressString(bad, 99), -1);  // the library refuses the format
    EXPECT_EQ(bad, plain);

    std::string two = gzipOf("first part, ") + gzipOf("second part");
    ASSERT_EQ(z.UncompressString(two, 31), 0);
    EXPECT_EQ(two, "first part, second part");
}

TEST(ZlibCodec, RefusesBodiesThatInflatePastTheLimit) {
    ZLIB z;
    const std::string huge(ZLIB::kMaxInflatedBytes + 1, 'x');
    const std::string body = gzipOf(huge);
    std::string data = body;
    EXPECT_EQ(z.UncompressString(data, 31), -1);
    EXPECT_EQ(data, body);
    std::string atLimit = gzipOf(std::string(ZLIB::kMaxInflatedBytes, 'x'));
    EXPECT_EQ(z.UncompressString(atLimit, 31), 0);
    EXPECT_EQ(atLimit.size(), ZLIB::kMaxInflatedBytes);
}

// A caller's own limit (an update's announced size): a body of exactly that size inflates, one
// byte more is refused, whatever the first buffer's size.
TEST(ZlibCodec, ACallersLimitHoldsAtTheByte) {
    ZLIB z;
    for (size_t size : {size_t{1}, size_t{4095}, size_t{4096}, size_t{100000}}) {
        std::string plain(size, 'a');
        for (size_t i = 0; i < size; i += 7) plain[i] = static_cast<char>('a' + i % 26);
        std::string exact = gzipOf(plain);
        EXPECT_EQ(z.UncompressString(exact, 31, size), 0) << size;
        EXPECT_EQ(exact, plain) << size;
        const std::string body = gzipOf(plain + "b");
        std::string over = body;
        EXPECT_EQ(z.UncompressString(over, 31, size), -1) << size;
        EXPECT_EQ(over, body) << size;
    }
}

TEST(ZlibCodec, ChecksumsAreZlibs) {
    ZLIB z;
    EXPECT_EQ(z.GetAdler32(""), 1);
    EXPECT_EQ(z.GetAdler32("abc"), 0x024d0127);
    EXPECT_EQ(z.GetCRC32(""), 0);
    EXPECT_EQ(z.GetCRC32("The quick brown fox jumps over the lazy dog"), 0x414FA339L);  // above 2^31: not negative
}

TEST(ExEventsAdler, EqualsZlibAdlerOverEveryByteOfTheRange) {
    ExEvents e;
    long result = 0;
    const std::vector<unsigned char> abc = {'a', 'b', 'c'};
    EXPECT_EQ(e.ADAL(1, abc, 2, result), 0x024d0127);
    EXPECT_EQ(result, 0x024d0127);
    EXPECT_EQ(e.ADAL(1, abc, 0, result), static_cast<long>(adler32(1, abc.data(), 1)));  // one byte
    EXPECT_EQ(e.ADAL(1, std::vector<unsigned char>{}, -1, result), 1);
    EXPECT_EQ(result, 1);

    std::vector<unsigned char> data(3 * 5553 + 2);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(255 - (i * 31) % 256);
    // Lengths around the block size, among them one more than a multiple of 5,553, whose last byte must count.
    for (size_t len : {size_t{1}, size_t{3}, size_t{5552}, size_t{5553}, size_t{5554}, size_t{11106}, size_t{11107},
                       data.size()}) {
        for (long start : {0L, 1L}) {
            const long expected = static_cast<long>(adler32(static_cast<uLong>(start), data.data(), static_cast<uInt>(len)));
            EXPECT_EQ(e.ADAL(start, data, static_cast<double>(len - 1), result), expected) << len << " from " << start;
        }
    }
    // A carried value goes on from where it stopped; a range past the end stops at the last byte.
    const long half = e.ADAL(1, data, 999, result);
    const std::vector<unsigned char> rest(data.begin() + 1000, data.end());
    EXPECT_EQ(e.ADAL(half, rest, static_cast<double>(rest.size() - 1), result),
              static_cast<long>(adler32(1, data.data(), static_cast<uInt>(data.size()))));
    EXPECT_EQ(e.ADAL(1, abc, 10, result), 0x024d0127);
    const std::string text = "abc";
    EXPECT_EQ(e.ADAL(1, text, 2, result), 0x024d0127);
}

}  // namespace
