// The main dialog's decisions that need no window, kept apart so they are tested natively.
#pragma once
#include "identify.h"

// The directory part of a path, without its trailing separator; the later of the last
// "\" and the last "/" separates. Newly allocated with malloc (the caller frees), or null
// for a null path. A path without separators gives "".
char* DirectoryOfPath(const char* path);

struct IconOrigin {
    int x;
    int y;
};

// Where the minimised dialog draws its icon: centred, rounding half up, truncating toward zero.
IconOrigin CentreIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

// What the boxes and buttons show for one identification.
struct ShownIdentification {
    const char* recognisedText;
    const char* statusText;
    bool patchEnabled;
    bool unpatchEnabled;
    const KnownFile* match;   // becomes the dialog's remembered match
};

ShownIdentification ShowingOf(const Identification& identification);

// Whether the Patch command (unpatch false) or the Unpatch command applies to the shown entry.
bool CommandApplies(const KnownFile* shown, bool unpatch);

// Whether the file on disk is still the very entry that was shown: it may have been replaced
// or changed between the identification and the click.
bool StillOnDisk(const KnownFile* shown, const Identification& now);
