// The framework's window-free text rules, kept portable so they are tested natively.
#pragma once
#include <string>

// The application's title from the executable's path: the file name without
// its directory (up to the last "\\", "/" or ":") and without its extension
// (from the file name's last "."). "C:\\Tools\\Kelvara.EXE" gives "Kelvara".
// A dot in a directory name never cuts the file name.
std::string AppTitleFromPath(const char* path);

// The help file beside the executable: its path with the extension replaced
// by ".HLP", or ".HLP" appended when the file name has none.
std::string HelpPathFromPath(const char* path);

// A file-dialog filter in the "|"-separated form ("Text (*.txt)|*.txt||")
// turned into the NUL-separated form the system's dialog takes, ending in
// two NULs. A filter without the closing "||" is closed all the same; an
// empty or null filter gives an empty string (no filter).
std::string FileDialogFilter(const char* filter);
