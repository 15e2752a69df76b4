// Kelvara's one window: choose a target, see what it is, patch or unpatch it.
#pragma once
#include "link_label.h"
#include "catalogue.h"
#include "identify.h"
#include "framework/framework.h"

class CPatcherDlg : public CDialog {
public:
    explicit CPatcherDlg(CWnd* parent = nullptr);
    ~CPatcherDlg() override;

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBrowse();
    void OnPatch();
    void OnUnpatch();
    void ShowIdentification();

private:
    void Show(const Identification& identification);
    void WriteTowards(bool unpatch);
    static void ShowFailure(void* dialog, const char* failureText);

    // Declaration order is binding and destruction order.
    CButton unpatchButton;
    CButton patchButton;
    CEdit statusBox;
    CEdit recognisedBox;
    CEdit fileNameBox;
    CLinkLabel mailLink;
    CLinkLabel webLink;
    HICON appIcon;   // a shared resource handle: never destroyed
    Catalogue catalogue;
    const KnownFile* currentMatch;
};
