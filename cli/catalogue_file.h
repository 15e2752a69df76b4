// Releases added from a text file after the built-in twelve, one a line:
//   "Release name" PATCHED-MD5 SHIPPED-MD5 OFFSET:PATCHED/SHIPPED ...
// and the same format written back out, so `kelvara list` is itself a catalogue file.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "catalogue.h"

struct AddedRelease {
    std::string name;
    std::uint8_t patchedDigest[16];
    std::uint8_t shippedDigest[16];
    std::vector<PatchByte> records;
};

// Entries point into these, so the list must outlive any catalogue they were appended to.
using AddedReleases = std::list<AddedRelease>;

constexpr int maxRecordsPerRelease = 16;

// Parses one line. Blank and comment lines give true with nothing added; otherwise false
// with `error` saying what is wrong.
bool ParseCatalogueLine(const std::string& line, AddedReleases& releases, std::string& error);

// All lines of a file, or none: on failure `error` reads "FILE:LINE: what" (or names the
// file alone when it cannot be read) and `releases` is left as it was.
bool ReadCatalogueFile(const std::string& path, AddedReleases& releases, std::string& error);

// Patched entry first, then shipped, each release sharing its name and records.
void AppendReleases(const AddedReleases& releases, Catalogue& catalogue);

// The catalogue in the file format: a heading comment, then one line per release.
std::string FormatCatalogue(const Catalogue& catalogue);
