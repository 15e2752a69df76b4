// Identifying a target executable by its whole-file digest, and writing its patch bytes.
#pragma once
#include <cstdint>
#include "catalogue.h"
#include "file_access.h"

enum class Outcome { CannotOpen, Unrecognised, Matched };

struct Identification {
    Outcome outcome;
    const KnownFile* match;       // set for Matched only; points into the catalogue walked
    std::uint8_t digest[16];      // the file's digest unless CannotOpen
};

// CannotOpen also when the file is not a regular file or a read fails part-way: a digest
// of only part of a file would name the wrong file.
Identification IdentifyFile(const char* path, const Catalogue& catalogue,
                            FileAccess& files = StandardFileAccess());

// Shows a failure text to the user and returns once it has been dismissed.
// Called while the file is still open.
using ReportRoutine = void (*)(void* context, const char* failureText);

// Null on success, else the one failure text that was reported.
const char* WritePatch(const char* path, const KnownFile& entry, ReportRoutine report,
                       void* reportContext, FileAccess& files = StandardFileAccess());
