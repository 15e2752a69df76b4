// Real files for the engine's tests, each in a directory of its own so test processes that
// run side by side never share one.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "md5.h"

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    explicit TempDir(const std::string& tag)
    {
        static int serial = 0;
        std::random_device random;
        auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            path = base / ("kelvara-" + tag + "-" + std::to_string(random()) + "-" +
                           std::to_string(++serial) + "-" + std::to_string(attempt));
            if (std::filesystem::create_directory(path))
                break;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes PatternBytes(std::size_t size, std::uint32_t seed)
{
    Bytes bytes(size);
    for (auto& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

struct Digest {
    std::uint8_t bytes[16];
};

inline Digest DigestOf(const Bytes& bytes)
{
    Md5Context context;
    Md5Begin(&context);
    Md5Feed(&context, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Md5Finish(&context);
    Digest digest;
    std::memcpy(digest.bytes, context.digest, 16);
    return digest;
}

inline std::string Hex(const std::uint8_t* bytes, std::size_t size = 16)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}
