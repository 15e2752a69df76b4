#include "patcher_dlg.h"

#include <cstdlib>

#include "res/resource.h"
#include "dialog_logic.h"
#include "extra_releases.h"
#include "own_version.h"

CPatcherDlg::CPatcherDlg(CWnd* parent)
    : CDialog(IDD_MAIN, parent),
      appIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      currentMatch(nullptr)
{
    BuildCatalogue(catalogue);
    AppendExtraReleases(catalogue);
}

CPatcherDlg::~CPatcherDlg()
{
    ReleaseCatalogue(catalogue);
}

const MessageMap* CPatcherDlg::GetThisMessageMap()
{
    static const MessageEntry entries[] = {
        OnPaintEntry<&CPatcherDlg::OnPaint>(),
        OnQueryDragIconEntry<&CPatcherDlg::OnQueryDragIcon>(),
        OnClickedEntry<IDC_BROWSE, &CPatcherDlg::OnBrowse>(),
        OnClickedEntry<IDC_PATCH, &CPatcherDlg::OnPatch>(),
        OnClickedEntry<IDC_UNPATCH, &CPatcherDlg::OnUnpatch>(),
    };
    static const MessageMap map = MakeMessageMap<CDialog>(entries);
    return &map;
}

void CPatcherDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_UNPATCH, unpatchButton);
    DDX_Control(dx, IDC_PATCH, patchButton);
    DDX_Control(dx, IDC_PATCH_STATUS, statusBox);
    DDX_Control(dx, IDC_RECOGNISED_AS, recognisedBox);
    DDX_Control(dx, IDC_FILENAME, fileNameBox);
    DDX_Control(dx, IDC_MAIL_LINK, mailLink);
    DDX_Control(dx, IDC_WEB_LINK, webLink);
}

BOOL CPatcherDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    char* version = GetOwnVersionString();
    CString caption;
    GetWindowText(caption);
    if (version) {
        SetWindowText(caption + " " + version);
        std::free(version);
    }

    webLink.SetTarget("http://" KELVARA_WEB_LINK_TEXT);
    mailLink.SetTarget("mailto:" KELVARA_MAIL_LINK_TEXT);
    webLink.EnableDescriptiveTip(TRUE);
    mailLink.EnableDescriptiveTip(TRUE);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));
    return TRUE;   // the system focuses the first tab stop: the file name box
}

void CPatcherDlg::OnPaint()
{
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    IconOrigin origin =
        CentreIcon(client.Width(), client.Height(), GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(origin.x, origin.y, appIcon);
}

HCURSOR CPatcherDlg::OnQueryDragIcon()
{
    return appIcon;
}

void CPatcherDlg::OnBrowse()
{
    CString current;
    fileNameBox.GetWindowText(current);
    const bool empty = current.IsEmpty();
    CFileDialog files(TRUE, ".exe", empty ? nullptr : current.GetString(), 0x180C,
                      "Executable files (*.exe)|*.exe||", this);
    files.m_ofn.lpstrTitle = "ProntoEdit / RC5000Setup Executable to patch";
    char* directory = empty ? nullptr : DirectoryOfPath(current);
    files.m_ofn.lpstrInitialDir = empty ? "C:\\Program Files\\Pronto" : directory;
    if (files.DoModal() == IDOK) {
        fileNameBox.SetWindowText(files.GetPathName());
        ShowIdentification();
    }
    std::free(directory);
}

void CPatcherDlg::ShowIdentification()
{
    CString path;
    fileNameBox.GetWindowText(path);
    Show(IdentifyFile(path, catalogue));
}

void CPatcherDlg::Show(const Identification& identification)
{
    const ShownIdentification shown = ShowingOf(identification);
    recognisedBox.SetWindowText(shown.recognisedText);
    statusBox.SetWindowText(shown.statusText);
    patchButton.EnableWindow(shown.patchEnabled);
    unpatchButton.EnableWindow(shown.unpatchEnabled);
    currentMatch = shown.match;
}

void CPatcherDlg::OnPatch()
{
    WriteTowards(false);
}

void CPatcherDlg::OnUnpatch()
{
    WriteTowards(true);
}

void CPatcherDlg::WriteTowards(bool unpatch)
{
    if (!CommandApplies(currentMatch, unpatch))
        return;
    CString path;
    fileNameBox.GetWindowText(path);
    // The file may have been replaced since it was shown: never write one release's
    // records into anything but the file they were matched against.
    const Identification now = IdentifyFile(path, catalogue);
    if (!StillOnDisk(currentMatch, now)) {
        Show(now);
        return;
    }
    WritePatch(path, *currentMatch, &CPatcherDlg::ShowFailure, this);
    ShowIdentification();
}

void CPatcherDlg::ShowFailure(void* dialog, const char* failureText)
{
    static_cast<CPatcherDlg*>(dialog)->MessageBox(failureText, nullptr, MB_OK);
}
