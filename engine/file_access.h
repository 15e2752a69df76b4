// The engine's only way to a file, so tests can fail any step on demand.
#pragma once
#include <cstddef>
#include <cstdint>

class FileAccess {
public:
    struct File;  // opaque to the engine

    virtual ~FileAccess() = default;
    // forUpdate: read and write an existing file, never truncating ("r+b"); else "rb".
    // Never denies other programs access. Null when the file cannot be opened or is not a
    // regular file (a directory would otherwise read as an empty file).
    virtual File* Open(const char* path, bool forUpdate) = 0;
    // Up to size bytes; 0 at end of file or on a read error.
    virtual std::size_t Read(File* file, void* buffer, std::size_t size) = 0;
    // After Read gave 0: true when that was a read error rather than the end of the file.
    virtual bool ReadFailed(File* file) = 0;
    // Absolute position from the start of the file. Fails for a position outside the file,
    // so a write can never lengthen it.
    virtual bool Seek(File* file, std::int32_t offset) = 0;
    // True only when the stream gives back the byte written.
    virtual bool WriteByte(File* file, std::uint8_t value) = 0;
    // Pushes buffered writes to the file; false when they could not all be written.
    virtual bool Flush(File* file) = 0;
    virtual void Close(File* file) = 0;
};

// Buffered run-time library streams.
FileAccess& StandardFileAccess();
