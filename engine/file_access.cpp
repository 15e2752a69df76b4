#include "file_access.h"

#include <cstdio>
#include <new>
#include <sys/stat.h>

namespace {

// Identification reads 4096 bytes at a time; a larger stream buffer turns those into far
// fewer system reads while staying small enough to sit in cache. Allocated with the file,
// so memory stays the same whatever the file's size.
constexpr std::size_t streamBufferSize = 256 * 1024;

#ifdef _WIN32
using StatRecord = struct _stat64;
inline int StatPath(const char* path, StatRecord* record) { return _stat64(path, record); }
inline int StatStream(std::FILE* stream, StatRecord* record) { return _fstat64(_fileno(stream), record); }
#else
using StatRecord = struct stat;
inline int StatPath(const char* path, StatRecord* record) { return stat(path, record); }
inline int StatStream(std::FILE* stream, StatRecord* record) { return fstat(fileno(stream), record); }
#endif

inline bool IsRegular(const StatRecord& record) { return (record.st_mode & S_IFMT) == S_IFREG; }

}  // namespace

struct FileAccess::File {
    std::FILE* stream;
    long long size;
    char buffer[streamBufferSize];
};

namespace {

class StreamFileAccess final : public FileAccess {
public:
    File* Open(const char* path, bool forUpdate) override
    {
        // Looked at before opening, so a pipe or a device is never opened (that could block).
        StatRecord record;
        if (!path || StatPath(path, &record) != 0 || !IsRegular(record))
            return nullptr;
        std::FILE* stream = std::fopen(path, forUpdate ? "r+b" : "rb");
        if (!stream)
            return nullptr;
        // And again on what was opened, in case the path changed in between.
        if (StatStream(stream, &record) != 0 || !IsRegular(record)) {
            std::fclose(stream);
            return nullptr;
        }
        File* file = new (std::nothrow) File;
        if (!file) {
            std::fclose(stream);
            return nullptr;
        }
        file->stream = stream;
        file->size = static_cast<long long>(record.st_size);
        // Should this fail, the stream keeps its own buffer: slower, no less correct.
        (void)std::setvbuf(stream, file->buffer, _IOFBF, sizeof file->buffer);
        return file;
    }

    std::size_t Read(File* file, void* buffer, std::size_t size) override
    {
        return std::fread(buffer, 1, size, file->stream);
    }

    bool ReadFailed(File* file) override { return std::ferror(file->stream) != 0; }

    bool Seek(File* file, std::int32_t offset) override
    {
        if (offset < 0 || offset >= file->size)
            return false;
        return std::fseek(file->stream, static_cast<long>(offset), SEEK_SET) == 0;
    }

    bool WriteByte(File* file, std::uint8_t value) override
    {
        return std::fputc(value, file->stream) == value;
    }

    bool Flush(File* file) override { return std::fflush(file->stream) == 0; }

    void Close(File* file) override
    {
        std::fclose(file->stream);
        delete file;
    }
};

}  // namespace

FileAccess& StandardFileAccess()
{
    static StreamFileAccess files;
    return files;
}
