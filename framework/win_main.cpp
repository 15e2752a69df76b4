// The process entry of a program built on the framework. Linked as an object
// file into every user of the library, since a WinMain inside a static
// library is only looked for after the libraries have been read.
#include <windows.h>

#include "win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    return AfxWinMain(instance, previous, commandLine, show);
}
