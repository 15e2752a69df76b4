#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "md5.h"
#include "temp_files.h"

namespace {

std::string DigestInPieces(const Bytes& message, const std::vector<std::size_t>& cuts)
{
    Md5Context context;
    Md5Begin(&context);
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        Md5Feed(&context, message.data() + from, static_cast<std::uint32_t>(cut - from));
        from = cut;
    }
    Md5Feed(&context, message.data() + from, static_cast<std::uint32_t>(message.size() - from));
    Md5Finish(&context);
    return Hex(context.digest);
}

struct Vector {
    const char* message;
    const char* digest;
};

// RFC 1321, appendix A.5.
const Vector rfcSuite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, RfcSuiteWholeByteByByteAndSplitAtEveryOffset)
{
    for (const Vector& vector : rfcSuite) {
        const Bytes message = BytesOf(vector.message);
        SCOPED_TRACE(vector.message);
        EXPECT_EQ(DigestInPieces(message, {}), vector.digest);

        std::vector<std::size_t> everyByte;
        for (std::size_t i = 1; i < message.size(); ++i)
            everyByte.push_back(i);
        EXPECT_EQ(DigestInPieces(message, everyByte), vector.digest);

        for (std::size_t cut = 0; cut <= message.size(); ++cut)
            EXPECT_EQ(DigestInPieces(message, {cut}), vector.digest) << "split at " << cut;
    }
}

// Around the padding boundaries: 55 fits the length in one block, 56 to 63 need a second,
// 64 compresses during the feed; 119 and 120 the same one block later.
TEST(Md5, LengthsAroundThePaddingBoundary)
{
    const Vector cases[] = {
        {"55", "ef1772b6dff9a122358552954ad0df65"},   {"56", "3b0c8ac703f828b04c6c197006d17218"},
        {"63", "b06521f39153d618550606be297466d5"},   {"64", "014842d480b571495a4a0363793f7367"},
        {"119", "8a7bd0732ed6a28ce75f6dabc90e1613"}, {"120", "5f61c0ccad4cac44c75ff505e1f1e537"},
    };
    for (const Vector& c : cases) {
        const Bytes message(static_cast<std::size_t>(std::stoi(c.message)), 'a');
        SCOPED_TRACE(c.message);
        EXPECT_EQ(DigestInPieces(message, {}), c.digest);
        for (std::size_t cut = 0; cut <= message.size(); ++cut)
            ASSERT_EQ(DigestInPieces(message, {cut}), c.digest) << "split at " << cut;
    }
}

TEST(Md5, ChunkingNeverChangesTheDigest)
{
    const Bytes message = PatternBytes(100000, 12345);
    const char* expected = "e654cb8d5ddc0cd7c3f2e8f18d9afde8";
    for (std::size_t piece : {1u, 7u, 63u, 64u, 65u, 4096u, 99999u}) {
        std::vector<std::size_t> cuts;
        for (std::size_t at = piece; at < message.size(); at += piece)
            cuts.push_back(at);
        EXPECT_EQ(DigestInPieces(message, cuts), expected) << piece << "-byte pieces";
    }
    // Uneven pieces that land on every position within a block.
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0, step = 1; at + step < message.size(); step = step % 130 + 1)
        cuts.push_back(at += step);
    EXPECT_EQ(DigestInPieces(message, cuts), expected);
}

TEST(Md5, ZeroLengthFeedChangesNothing)
{
    const Bytes message = BytesOf("message digest");
    for (std::size_t before : {0u, 5u, 14u}) {
        Md5Context context;
        Md5Begin(&context);
        Md5Feed(&context, message.data(), static_cast<std::uint32_t>(before));
        Md5Context copy = context;
        Md5Feed(&context, nullptr, 0);
        Md5Feed(&context, message.data(), 0);
        EXPECT_EQ(std::memcmp(context.bitCount, copy.bitCount, sizeof copy.bitCount), 0);
        EXPECT_EQ(std::memcmp(context.chaining, copy.chaining, sizeof copy.chaining), 0);
        EXPECT_EQ(std::memcmp(context.block, copy.block, before), 0);
        Md5Feed(&context, message.data() + before, static_cast<std::uint32_t>(message.size() - before));
        Md5Finish(&context);
        EXPECT_EQ(Hex(context.digest), "f96b697d7cb7938d525a2f31aaf161d0");
    }
}

TEST(Md5, CompressIsTheRfcCompressionFunction)
{
    // The empty message is one padded block: 0x80, zeros, a zero bit count.
    std::uint32_t chaining[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint32_t words[16] = {0x80};
    Md5Compress(chaining, words);
    std::uint8_t digest[16];
    for (int k = 0; k < 16; ++k)
        digest[k] = static_cast<std::uint8_t>(chaining[k / 4] >> (8 * (k % 4)));
    EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

// A message of 2^29 - 64 zero bytes and then 100 bytes of 'a' carries the bit count past
// 2^32. Rather than feed 512 MiB, the test starts from the chaining value that those zero
// blocks leave (the digest below is what md5sum gives for the whole message).
TEST(Md5, LowCountWordWrapsIntoTheHighWord)
{
    const Bytes tail(100, 'a');
    for (std::size_t cut : {0u, 1u, 63u, 64u, 65u, 99u}) {
        Md5Context context;
        Md5Begin(&context);
        context.bitCount[0] = 0xFFFFFE00;   // (2^29 - 64) bytes, in bits
        context.bitCount[1] = 0;
        const std::uint32_t afterZeros[4] = {0x459d57e0, 0x8ffbe704, 0xeb9e8c71, 0x14838f80};
        std::memcpy(context.chaining, afterZeros, sizeof afterZeros);

        Md5Feed(&context, tail.data(), static_cast<std::uint32_t>(cut));
        Md5Feed(&context, tail.data() + cut, static_cast<std::uint32_t>(tail.size() - cut));
        EXPECT_EQ(context.bitCount[0], 0x120u) << "split at " << cut;
        EXPECT_EQ(context.bitCount[1], 1u) << "split at " << cut;
        Md5Finish(&context);
        EXPECT_EQ(Hex(context.digest), "b09e5aca0b29f38a2253ba3bfaddab41") << "split at " << cut;
    }
}

TEST(Md5, BeginRestartsAUsedContext)
{
    Md5Context context;
    Md5Begin(&context);
    Md5Feed(&context, "some earlier input", 18);
    Md5Finish(&context);
    Md5Begin(&context);
    Md5Feed(&context, "abc", 3);
    Md5Finish(&context);
    EXPECT_EQ(Hex(context.digest), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
