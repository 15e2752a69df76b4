#include "file_dialog.h"

#include "text_rules.h"
#include "wnd.h"
#include "win_app.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_open(openFileDialog), m_parent(parent), m_filter(FileDialogFilter(filter)) {
    if (defaultExtension) {
        // The system appends its own dot.
        m_defaultExtension = defaultExtension[0] == '.' ? defaultExtension + 1 : defaultExtension;
    }
    if (fileName) lstrcpynA(m_fileName, fileName, sizeof(m_fileName));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof(m_fileName);
    m_ofn.lpstrFileTitle = m_fileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_fileTitle);
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) {
        if (m_parent) {
            m_ofn.hwndOwner = m_parent->m_hWnd;
        } else if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) {
            m_ofn.hwndOwner = app->m_pMainWnd->m_hWnd;
        }
    }
    BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }
