// MD5 in three layers: whole blocks are compressed straight from the caller's bytes, only a
// partial tail waits in `block`, and the finish pads through the ordinary feed.
#include "md5.h"

#include <cstddef>
#include <cstring>

namespace {

const std::uint8_t padding[64] = {0x80};

inline std::uint32_t LoadLittle(const std::uint8_t* p)
{
    // Byte order spelled out so big-endian hosts agree; compilers turn it into one load.
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void StoreLittle(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline std::uint32_t Rotl(std::uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

// F and G in their select forms; G as two disjoint terms added separately shortens the
// dependency chain on b.
#define KV_F(b, c, d) ((d) ^ ((b) & ((c) ^ (d))))
#define KV_H(b, c, d) ((b) ^ (c) ^ (d))
#define KV_I(b, c, d) ((c) ^ ((b) | ~(d)))
#define KV_STEP(f, a, b, c, d, x, t, s) a += f(b, c, d) + (x) + (t); a = Rotl(a, s) + (b)
#define KV_STEPG(a, b, c, d, x, t, s) \
    a += ((d) & (b)) + (x) + (t) + (~(d) & (c)); a = Rotl(a, s) + (b)

// Sixteen words from `Word(k)`: either the caller's array or little-endian loads from bytes.
template <typename Word>
inline void Rounds(std::uint32_t state[4], Word word)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    KV_STEP(KV_F, a, b, c, d, word(0), 0xd76aa478, 7);
    KV_STEP(KV_F, d, a, b, c, word(1), 0xe8c7b756, 12);
    KV_STEP(KV_F, c, d, a, b, word(2), 0x242070db, 17);
    KV_STEP(KV_F, b, c, d, a, word(3), 0xc1bdceee, 22);
    KV_STEP(KV_F, a, b, c, d, word(4), 0xf57c0faf, 7);
    KV_STEP(KV_F, d, a, b, c, word(5), 0x4787c62a, 12);
    KV_STEP(KV_F, c, d, a, b, word(6), 0xa8304613, 17);
    KV_STEP(KV_F, b, c, d, a, word(7), 0xfd469501, 22);
    KV_STEP(KV_F, a, b, c, d, word(8), 0x698098d8, 7);
    KV_STEP(KV_F, d, a, b, c, word(9), 0x8b44f7af, 12);
    KV_STEP(KV_F, c, d, a, b, word(10), 0xffff5bb1, 17);
    KV_STEP(KV_F, b, c, d, a, word(11), 0x895cd7be, 22);
    KV_STEP(KV_F, a, b, c, d, word(12), 0x6b901122, 7);
    KV_STEP(KV_F, d, a, b, c, word(13), 0xfd987193, 12);
    KV_STEP(KV_F, c, d, a, b, word(14), 0xa679438e, 17);
    KV_STEP(KV_F, b, c, d, a, word(15), 0x49b40821, 22);

    KV_STEPG(a, b, c, d, word(1), 0xf61e2562, 5);
    KV_STEPG(d, a, b, c, word(6), 0xc040b340, 9);
    KV_STEPG(c, d, a, b, word(11), 0x265e5a51, 14);
    KV_STEPG(b, c, d, a, word(0), 0xe9b6c7aa, 20);
    KV_STEPG(a, b, c, d, word(5), 0xd62f105d, 5);
    KV_STEPG(d, a, b, c, word(10), 0x02441453, 9);
    KV_STEPG(c, d, a, b, word(15), 0xd8a1e681, 14);
    KV_STEPG(b, c, d, a, word(4), 0xe7d3fbc8, 20);
    KV_STEPG(a, b, c, d, word(9), 0x21e1cde6, 5);
    KV_STEPG(d, a, b, c, word(14), 0xc33707d6, 9);
    KV_STEPG(c, d, a, b, word(3), 0xf4d50d87, 14);
    KV_STEPG(b, c, d, a, word(8), 0x455a14ed, 20);
    KV_STEPG(a, b, c, d, word(13), 0xa9e3e905, 5);
    KV_STEPG(d, a, b, c, word(2), 0xfcefa3f8, 9);
    KV_STEPG(c, d, a, b, word(7), 0x676f02d9, 14);
    KV_STEPG(b, c, d, a, word(12), 0x8d2a4c8a, 20);

    KV_STEP(KV_H, a, b, c, d, word(5), 0xfffa3942, 4);
    KV_STEP(KV_H, d, a, b, c, word(8), 0x8771f681, 11);
    KV_STEP(KV_H, c, d, a, b, word(11), 0x6d9d6122, 16);
    KV_STEP(KV_H, b, c, d, a, word(14), 0xfde5380c, 23);
    KV_STEP(KV_H, a, b, c, d, word(1), 0xa4beea44, 4);
    KV_STEP(KV_H, d, a, b, c, word(4), 0x4bdecfa9, 11);
    KV_STEP(KV_H, c, d, a, b, word(7), 0xf6bb4b60, 16);
    KV_STEP(KV_H, b, c, d, a, word(10), 0xbebfbc70, 23);
    KV_STEP(KV_H, a, b, c, d, word(13), 0x289b7ec6, 4);
    KV_STEP(KV_H, d, a, b, c, word(0), 0xeaa127fa, 11);
    KV_STEP(KV_H, c, d, a, b, word(3), 0xd4ef3085, 16);
    KV_STEP(KV_H, b, c, d, a, word(6), 0x04881d05, 23);
    KV_STEP(KV_H, a, b, c, d, word(9), 0xd9d4d039, 4);
    KV_STEP(KV_H, d, a, b, c, word(12), 0xe6db99e5, 11);
    KV_STEP(KV_H, c, d, a, b, word(15), 0x1fa27cf8, 16);
    KV_STEP(KV_H, b, c, d, a, word(2), 0xc4ac5665, 23);

    KV_STEP(KV_I, a, b, c, d, word(0), 0xf4292244, 6);
    KV_STEP(KV_I, d, a, b, c, word(7), 0x432aff97, 10);
    KV_STEP(KV_I, c, d, a, b, word(14), 0xab9423a7, 15);
    KV_STEP(KV_I, b, c, d, a, word(5), 0xfc93a039, 21);
    KV_STEP(KV_I, a, b, c, d, word(12), 0x655b59c3, 6);
    KV_STEP(KV_I, d, a, b, c, word(3), 0x8f0ccc92, 10);
    KV_STEP(KV_I, c, d, a, b, word(10), 0xffeff47d, 15);
    KV_STEP(KV_I, b, c, d, a, word(1), 0x85845dd1, 21);
    KV_STEP(KV_I, a, b, c, d, word(8), 0x6fa87e4f, 6);
    KV_STEP(KV_I, d, a, b, c, word(15), 0xfe2ce6e0, 10);
    KV_STEP(KV_I, c, d, a, b, word(6), 0xa3014314, 15);
    KV_STEP(KV_I, b, c, d, a, word(13), 0x4e0811a1, 21);
    KV_STEP(KV_I, a, b, c, d, word(4), 0xf7537e82, 6);
    KV_STEP(KV_I, d, a, b, c, word(11), 0xbd3af235, 10);
    KV_STEP(KV_I, c, d, a, b, word(2), 0x2ad7d2bb, 15);
    KV_STEP(KV_I, b, c, d, a, word(9), 0xeb86d391, 21);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

#undef KV_F
#undef KV_H
#undef KV_I
#undef KV_STEP
#undef KV_STEPG

// Whole 64-byte blocks straight from memory, with no copy into the context.
void CompressBlocks(std::uint32_t state[4], const std::uint8_t* bytes, std::size_t blocks)
{
    for (; blocks != 0; --blocks, bytes += 64)
        Rounds(state, [bytes](int k) { return LoadLittle(bytes + 4 * k); });
}

}  // namespace

void Md5Compress(std::uint32_t chaining[4], const std::uint32_t words[16])
{
    Rounds(chaining, [words](int k) { return words[k]; });
}

void Md5Begin(Md5Context* context)
{
    context->bitCount[0] = 0;
    context->bitCount[1] = 0;
    context->chaining[0] = 0x67452301;
    context->chaining[1] = 0xefcdab89;
    context->chaining[2] = 0x98badcfe;
    context->chaining[3] = 0x10325476;
}

void Md5Feed(Md5Context* context, const void* bytes, std::uint32_t length)
{
    const std::uint8_t* in = static_cast<const std::uint8_t*>(bytes);
    std::uint32_t used = (context->bitCount[0] >> 3) & 63;

    const std::uint32_t low = context->bitCount[0];
    context->bitCount[0] = low + (length << 3);
    if (context->bitCount[0] < low)
        ++context->bitCount[1];
    context->bitCount[1] += length >> 29;

    if (used != 0) {
        const std::uint32_t room = 64 - used;
        if (length < room) {
            if (length != 0)
                std::memcpy(context->block + used, in, length);
            return;
        }
        std::memcpy(context->block + used, in, room);
        CompressBlocks(context->chaining, context->block, 1);
        in += room;
        length -= room;
    }
    CompressBlocks(context->chaining, in, length / 64);
    in += length & ~std::uint32_t(63);
    length &= 63;
    if (length != 0)
        std::memcpy(context->block, in, length);
}

void Md5Finish(Md5Context* context)
{
    const std::uint32_t countLow = context->bitCount[0];
    const std::uint32_t countHigh = context->bitCount[1];

    const std::uint32_t used = (countLow >> 3) & 63;
    Md5Feed(context, padding, used < 56 ? 56 - used : 120 - used);

    std::uint32_t words[16];
    for (int k = 0; k < 14; ++k)
        words[k] = LoadLittle(context->block + 4 * k);
    words[14] = countLow;
    words[15] = countHigh;
    Md5Compress(context->chaining, words);

    for (int k = 0; k < 4; ++k)
        StoreLittle(context->digest + 4 * k, context->chaining[k]);
}
