// MD5 (RFC 1321) over a caller-owned context: begin, feed any chunks, finish.
#pragma once
#include <cstdint>

struct Md5Context {
    std::uint32_t bitCount[2];   // message bits so far, low word first
    std::uint32_t chaining[4];   // A, B, C, D
    std::uint8_t block[64];      // pending tail; (bitCount[0] / 8) % 64 bytes valid
    std::uint8_t digest[16];     // written by Md5Finish
};

void Md5Begin(Md5Context* context);
void Md5Feed(Md5Context* context, const void* bytes, std::uint32_t length);
void Md5Finish(Md5Context* context);
void Md5Compress(std::uint32_t chaining[4], const std::uint32_t words[16]);
