// The releases Kelvara knows, each as shipped and as patched.
#pragma once
#include <cstdint>
#include <list>

struct PatchByte {
    std::int32_t byteOffset;
    std::uint8_t patchedValue;
    std::uint8_t shippedValue;
};

struct KnownFile {
    const std::uint8_t* digest;   // 16 bytes
    const char* displayName;
    std::uint8_t isPatched;
    const PatchByte* records;
    std::int32_t recordCount;
};

// std::list never moves an entry, so a remembered match stays valid.
using Catalogue = std::list<KnownFile>;

// Appends the twelve built-in entries, patched before shipped for each release.
void BuildCatalogue(Catalogue& catalogue);
void ReleaseCatalogue(Catalogue& catalogue);
