// Modal dialogs from a template, with data exchange.
#pragma once
#include <windows.h>
#include "wnd.h"

class CDialog;

// The context of one data-exchange run.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // Marks the run failed; UpdateData then returns FALSE.
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

private:
    bool m_failed = false;
};

// Binds control to the dialog's control id the first time it runs (later
// runs find it bound and do nothing): PreSubclassWindow runs with m_hWnd
// set, then the control's messages go through control's message map. A
// missing control or one bound to another object fails the run.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
public:
    // The template is a resource of the executable; its number is also the
    // dialog's help identifier (context 0x20000 + templateId).
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Uses an in-memory template (DLGTEMPLATE or DLGTEMPLATEEX, DWORD aligned)
    // instead of the resource; it must outlive DoModal.
    void InitModalIndirect(const void* dialogTemplate) { m_template = dialogTemplate; }

    // Creates the window from the template, disables the parent while it
    // runs, runs the framework's modal loop until EndDialog, destroys the
    // window and returns the value given to EndDialog; -1 when the window
    // could not be created (or WM_QUIT came, which is posted again).
    virtual INT_PTR DoModal();
    // Binds the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* dx);
    // Runs DoDataExchange in the given direction; FALSE when it failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // IDOK: UpdateData(TRUE), and if that worked EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL (Esc, Alt+F4, close box, system menu's Close): EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Ends the modal loop with result; DoModal then destroys the window.
    void EndDialog(int result);

    DWORD GetHelpContext() const override { return 0x20000 + m_nIDHelp; }

    UINT m_nIDHelp;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool RouteUnhandledCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnHelpMessage(WPARAM wParam, LPARAM lParam);   // WM_HELP (F1) -> ID_HELP

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL HandleInitDialog();
    // Offers msg to the bound objects from its window up to the dialog, then
    // to the dialog manager (IsDialogMessage); true when consumed.
    bool PreTranslateInput(MSG* msg);

    const void* m_template = nullptr;
    bool m_centreIfUnmoved = false;
    bool m_modalRunning = false;
    bool m_ownerDisabled = false;
    HWND m_owner = nullptr;
    bool m_defaultPending = false;   // Default() is inside DefDlgProc; let the nested call fall through
    UINT m_defaultMessage = 0;
    INT_PTR m_nModalResult = -1;
};
