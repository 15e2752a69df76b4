// The system's file-open and file-save dialogs.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include "cstring.h"

class CWnd;

class CFileDialog {
public:
    // filter: fields separated by "|" and ended by "||". defaultExtension may
    // start with "." (dropped: the system wants it without). The flags get
    // OFN_EXPLORER and OFN_ENABLESIZING added; no hook is installed.
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const char* filter = nullptr, CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
    virtual ~CFileDialog() = default;

    // IDOK when a file was chosen, else IDCANCEL (cancelled or failed).
    virtual INT_PTR DoModal();
    CString GetPathName() const;

    // Set lpstrTitle, lpstrInitialDir and the like here before DoModal.
    OPENFILENAMEA m_ofn{};

private:
    BOOL m_open;
    CWnd* m_parent;
    std::string m_filter;
    std::string m_defaultExtension;
    char m_fileName[1024] = {};
    char m_fileTitle[260] = {};
};
