#include "identify.h"

#include <cstring>

#include "md5.h"

Identification IdentifyFile(const char* path, const Catalogue& catalogue, FileAccess& files)
{
    Identification result{};
    result.outcome = Outcome::CannotOpen;
    result.match = nullptr;

    FileAccess::File* file = files.Open(path, false);
    if (!file)
        return result;

    Md5Context context;
    Md5Begin(&context);
    std::uint8_t buffer[4096];
    std::size_t got;
    while ((got = files.Read(file, buffer, sizeof buffer)) > 0)
        Md5Feed(&context, buffer, static_cast<std::uint32_t>(got));
    const bool readFailed = files.ReadFailed(file);
    Md5Finish(&context);
    std::memcpy(result.digest, context.digest, sizeof result.digest);
    files.Close(file);

    if (readFailed) {
        std::memset(result.digest, 0, sizeof result.digest);
        return result;
    }

    result.outcome = Outcome::Unrecognised;
    for (const KnownFile& entry : catalogue) {
        int agreed = 0;
        while (agreed < 16 && result.digest[agreed] == entry.digest[agreed])
            ++agreed;
        if (agreed == 16) {
            result.outcome = Outcome::Matched;
            result.match = &entry;
            break;
        }
    }
    return result;
}

const char* WritePatch(const char* path, const KnownFile& entry, ReportRoutine report,
                       void* reportContext, FileAccess& files)
{
    FileAccess::File* file = files.Open(path, true);
    if (!file) {
        const char* failure = "Could not open file.";
        if (report)
            report(reportContext, failure);
        return failure;
    }

    const bool toPatched = entry.isPatched == 0;
    const char* failure = nullptr;
    for (std::int32_t i = 0; i < entry.recordCount && !failure; ++i) {
        const PatchByte& record = entry.records[i];
        if (!files.Seek(file, record.byteOffset)) {
            failure = i == 0 ? "Error seeking in file. No changes made."
                             : "Error seeking in file. FILE CORRUPTED.";
        } else if (!files.WriteByte(file, toPatched ? record.patchedValue : record.shippedValue)) {
            failure = i == 0 ? "Error writing to file. File may be damaged."
                             : "Error writing to file. FILE CORRUPTED.";
        }
    }
    // The last byte may still sit in the stream's buffer; a failure to get it to the file
    // is that record's write failing, not a success.
    if (!failure && entry.recordCount > 0 && !files.Flush(file)) {
        failure = entry.recordCount == 1 ? "Error writing to file. File may be damaged."
                                         : "Error writing to file. FILE CORRUPTED.";
    }
    if (failure && report)
        report(reportContext, failure);
    files.Close(file);
    return failure;
}
