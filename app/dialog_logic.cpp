#include "dialog_logic.h"

#include <cstdlib>
#include <cstring>

#include "bounded_text.h"

char* DirectoryOfPath(const char* path)
{
    if (!path)
        return nullptr;
    // Byte-wise on purpose: both separators are single bytes in every ANSI code page we show.
    const char* backslash = std::strrchr(path, '\\');
    const char* slash = std::strrchr(path, '/');
    const char* separator = backslash > slash ? backslash : slash;
    if (!separator) {
        char* empty = static_cast<char*>(std::malloc(1));
        if (empty)
            *empty = '\0';
        return empty;
    }
    int length = static_cast<int>(separator - path);
    char* directory = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (directory)
        CopyBounded(directory, path, length + 1);
    return directory;
}

IconOrigin CentreIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

ShownIdentification ShowingOf(const Identification& identification)
{
    switch (identification.outcome) {
    case Outcome::Matched: {
        const KnownFile* entry = identification.match;
        if (entry->isPatched)
            return {entry->displayName, "Patched", false, true, entry};
        return {entry->displayName, "Original", true, false, entry};
    }
    case Outcome::Unrecognised:
        return {"Unrecognised file.", "", false, false, nullptr};
    case Outcome::CannotOpen:
        // Like an unrecognised file: nothing may be written into a file we could not read.
        return {"Could not open file.", "", false, false, nullptr};
    }
    return {"Unrecognised file.", "", false, false, nullptr};
}

bool CommandApplies(const KnownFile* shown, bool unpatch)
{
    return shown && (shown->isPatched != 0) == unpatch;
}

bool StillOnDisk(const KnownFile* shown, const Identification& now)
{
    return shown && now.outcome == Outcome::Matched && now.match == shown;
}
