// The application object and the framework's entry.
//
// The program defines exactly one global object of a class derived from
// CWinApp; its construction during static initialisation records it
// (AfxGetApp). The library's WinMain calls AfxWinMain, which sets the title
// and help path from the executable's path, then calls InitApplication and
// InitInstance. When InitInstance returns FALSE, AfxWinMain destroys the main
// window if one is still named, runs ExitInstance and returns without a
// message loop; otherwise Run runs the message loop and then ExitInstance.
#pragma once
#include <windows.h>
#include <string>
#include "message_map.h"

class CWnd;

// The help command (F1 in a dialog raises it through WM_HELP).
constexpr UINT ID_HELP = 0xE146;
// Base of the help contexts of resources: a dialog's is this plus its template number.
constexpr DWORD HID_BASE_RESOURCE = 0x20000;

class CWinApp : public CCmdTarget {
public:
    // appName null: the title is derived from the executable's path.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    static const MessageMap* GetThisMessageMap();   // ID_HELP -> OnHelp
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    virtual BOOL InitApplication();    // TRUE
    virtual BOOL InitInstance();       // TRUE: run the message loop
    virtual int Run();                 // message loop until WM_QUIT, then ExitInstance
    virtual int ExitInstance();        // writes nothing; the WM_QUIT code if Run ran, else 0

    // Kept for the programs that call it: it returned TRUE when 3-D control
    // drawing was turned on. Every Windows since 95 and NT 4 draws dialog
    // controls in 3-D itself, so there is nothing to turn on.
    BOOL Enable3dControlsStatic();

    // ID_HELP: context help of the window that routed the command (else the
    // main window) in m_pszHelpFilePath, through WinHelp.
    void OnHelp();
    // Help on the help file for the window routing the command (else the
    // main window); when the system's help call fails, the warning box
    // "Failed to launch help.".
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    const char* GetTitle() const { return m_pszAppName ? m_pszAppName : ""; }

    const char* m_pszAppName = nullptr;        // the title; set by AfxWinInit unless given
    const char* m_pszHelpFilePath = nullptr;   // the executable's path with ".HLP"
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The main window; cleared by the framework when that window is destroyed.
    CWnd* m_pMainWnd = nullptr;

protected:
    // The system's help call (WinHelpA); a test replaces it to make it fail.
    virtual BOOL CallWinHelp(HWND owner, const char* helpFile, UINT command, DWORD_PTR data);

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
    friend const char* AfxGetAppName();
    friend class CDialog;
    void EnsureNames();   // title and help path from the executable's path, once
    std::string m_title;
    std::string m_helpPath;
    int m_exitCode = 0;
    CWnd* m_pHelpSource = nullptr;   // the window routing the current command, for OnHelp
};

// The application object, or null when the program has none.
CWinApp* AfxGetApp();
// The application's title: the object's, else derived from the executable's
// path. Captions every message box.
const char* AfxGetAppName();
// A message box captioned with the application's title, owned by the main
// window while it exists (else by the active window). helpId is accepted
// for the callers that pass one and is not used: nothing gives box help.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Sets the instance, command line, title and help path of the application.
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
// The framework's entry, called by the library's WinMain; -1 without an application object.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
