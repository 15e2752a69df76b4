#include "patcher_app.h"

#include "patcher_dlg.h"

CPatcherApp theApp;

const MessageMap* CPatcherApp::GetThisMessageMap()
{
    static const MessageEntry entries[] = {
        OnCommandEntry<ID_HELP, &CWinApp::OnHelp>(),
    };
    static const MessageMap map = MakeMessageMap<CWinApp>(entries);
    return &map;
}

BOOL CPatcherApp::InitInstance()
{
    Enable3dControlsStatic();
    CPatcherDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    // FALSE: the framework ends the program without a message loop of its own.
    return FALSE;
}
