// Kelvara's small application framework over Win32 (ANSI functions throughout).
// It knows nothing of Kelvara: windows with message maps, dialogs with data
// exchange and reflection, the application object, and thin GDI, tooltip and
// file-dialog wrappers.
#pragma once
#include <windows.h>
#include "cstring.h"
#include "gdi.h"
#include "message_map.h"
#include "wnd.h"
#include "message_entries.h"
#include "controls.h"
#include "dialog.h"
#include "win_app.h"
#include "file_dialog.h"
