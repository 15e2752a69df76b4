// Modal dialogs from the main template: reflection, data exchange, the modal
// loop, the ways of closing, centring, the dialog-procedure answers and F1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"
#include "test_app.h"
#include "test_dialogs.h"

namespace {

// A static control object that answers reflected colour queries and clicks.
class ReflectProbe : public CStatic {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    HBRUSH CtlColor(CDC* dc, UINT ctlColor) {
        ++colourQueries;
        lastKind = ctlColor;
        lastDc = dc ? dc->m_hDC : nullptr;
        return brush;
    }
    void OnReflectedClick() { ++clicks; }

    HBRUSH brush = nullptr;
    int colourQueries = 0;
    UINT lastKind = 0;
    HDC lastDc = nullptr;
    int clicks = 0;
};

const MessageMap* ReflectProbe::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnReflectedCtlColorEntry<&ReflectProbe::CtlColor>(),
        OnReflectedClickEntry<&ReflectProbe::OnReflectedClick>(),
    };
    static const MessageMap map = MakeMessageMap<CStatic>(entries);
    return &map;
}

// IDD_MAIN with the web label bound to a probe that gives a brush and the mail
// label bound to one that gives none; the dialog's own handlers count too.
class ReflectDialog : public ScriptedDialog {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_MAIL_LINK, mail);
        DDX_Control(dx, IDC_WEB_LINK, web);
    }
    LRESULT OnCtlColorStatic(WPARAM, LPARAM) {
        ++ownColourQueries;
        return reinterpret_cast<LRESULT>(ownBrush);
    }
    void OnWebCommand() { ++ownWebCommands; }
    void OnMailCommand() { ++ownMailCommands; }
    LRESULT OnAnswer(WPARAM, LPARAM) { return 1234; }
    HCURSOR OnQueryDragIcon() { return dragIcon; }

    ReflectProbe web;
    ReflectProbe mail;
    HBRUSH ownBrush = nullptr;
    HCURSOR dragIcon = nullptr;
    int ownColourQueries = 0;
    int ownWebCommands = 0;
    int ownMailCommands = 0;
};

const MessageMap* ReflectDialog::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnMessageEntry<WM_CTLCOLORSTATIC, &ReflectDialog::OnCtlColorStatic>(),
        OnNotifyEntry<IDC_WEB_LINK, STN_CLICKED, &ReflectDialog::OnWebCommand>(),
        OnNotifyEntry<IDC_MAIL_LINK, STN_CLICKED, &ReflectDialog::OnMailCommand>(),
        OnMessageEntry<WM_APP + 1, &ReflectDialog::OnAnswer>(),
        OnQueryDragIconEntry<&ReflectDialog::OnQueryDragIcon>(),
    };
    static const MessageMap map = MakeMessageMap<ScriptedDialog>(entries);
    return &map;
}

TEST(Reflection, ChildAnswersFirstAndItsBrushWins) {
    ReflectDialog dialog;
    HBRUSH webBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH dialogBrush = ::CreateSolidBrush(RGB(4, 5, 6));
    dialog.web.brush = webBrush;
    dialog.ownBrush = dialogBrush;
    dialog.dragIcon = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // IDC_ARROW
    LRESULT webAnswer = 0, mailAnswer = 0, unboundAnswer = 0, answer = 0, dragAnswer = 0;
    int realPaintQueries = 0, mailQueries = 0, ownQueries = 0;
    UINT realPaintKind = 0;
    bool realPaintDc = false;
    dialog.onShown = [&](ScriptedDialog& d) {
        HWND web = ::GetDlgItem(d.m_hWnd, IDC_WEB_LINK);
        HWND mail = ::GetDlgItem(d.m_hWnd, IDC_MAIL_LINK);
        HWND unbound = ::GetDlgItem(d.m_hWnd, IDC_BROWSE);
        HDC dc = ::GetDC(web);
        int mailBefore = dialog.mail.colourQueries, ownBefore = dialog.ownColourQueries;
        webAnswer = ::SendMessageA(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(web));
        mailAnswer = ::SendMessageA(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(mail));
        unboundAnswer = ::SendMessageA(d.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(unbound));
        ::ReleaseDC(web, dc);
        mailQueries = dialog.mail.colourQueries - mailBefore;
        ownQueries = dialog.ownColourQueries - ownBefore;
        // The control's own painting asks its parent too.
        int before = dialog.web.colourQueries;
        ::InvalidateRect(web, nullptr, TRUE);
        ::UpdateWindow(web);
        realPaintQueries = dialog.web.colourQueries - before;
        realPaintKind = dialog.web.lastKind;
        realPaintDc = dialog.web.lastDc != nullptr;

        // A click on a static with SS_NOTIFY is reported to the parent, which reflects it.
        ::SetWindowLongA(web, GWL_STYLE, ::GetWindowLongA(web, GWL_STYLE) | SS_NOTIFY);
        ::SendMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_WEB_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(web));
        // The mail probe has a click entry too, but a notification of another code is not its.
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_MAIL_LINK, STN_DBLCLK), reinterpret_cast<LPARAM>(mail));

        answer = ::SendMessageA(d.m_hWnd, WM_APP + 1, 0, 0);
        dragAnswer = ::SendMessageA(d.m_hWnd, WM_QUERYDRAGICON, 0, 0);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(webAnswer, reinterpret_cast<LRESULT>(webBrush));
    EXPECT_EQ(mailAnswer, reinterpret_cast<LRESULT>(dialogBrush));   // the child gave none
    EXPECT_EQ(unboundAnswer, reinterpret_cast<LRESULT>(dialogBrush));
    EXPECT_EQ(mailQueries, 1);
    EXPECT_EQ(dialog.mail.lastKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(ownQueries, 2);   // the mail label's and the unbound control's, not the web label's
    EXPECT_GE(realPaintQueries, 1);
    EXPECT_EQ(realPaintKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_TRUE(realPaintDc);

    EXPECT_EQ(dialog.web.clicks, 2);        // the real click and the sent one
    EXPECT_EQ(dialog.ownWebCommands, 0);    // handled by the child: not again by the parent
    EXPECT_EQ(dialog.mail.clicks, 0);
    EXPECT_EQ(dialog.ownMailCommands, 0);   // STN_DBLCLK has no entry anywhere

    // Answers through DWLP_MSGRESULT, and WM_QUERYDRAGICON's directly.
    EXPECT_EQ(answer, 1234);
    EXPECT_EQ(dragAnswer, reinterpret_cast<LRESULT>(dialog.dragIcon));
    ::DeleteObject(webBrush);
    ::DeleteObject(dialogBrush);
}

// A control object that records what it sees while being bound.
class BindProbe : public CEdit {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    void PreSubclassWindow() override {
        ++preSubclassCalls;
        handleDuringPreSubclass = m_hWnd;
        // Not yet through the map: this must reach the edit control alone.
        SendMessage(WM_APP + 2);
        mapHitsDuringPreSubclass = mapHits;
        CEdit::PreSubclassWindow();
    }
    LRESULT OnProbe(WPARAM, LPARAM) {
        ++mapHits;
        return 0;
    }

    int preSubclassCalls = 0;
    HWND handleDuringPreSubclass = nullptr;
    int mapHits = 0;
    int mapHitsDuringPreSubclass = -1;
};

const MessageMap* BindProbe::GetThisMessageMap() {
    static const MessageEntry entries[] = {OnMessageEntry<WM_APP + 2, &BindProbe::OnProbe>()};
    static const MessageMap map = MakeMessageMap<CEdit>(entries);
    return &map;
}

class BindDialog : public ScriptedDialog {
public:
    void DoDataExchange(CDataExchange* dx) override {
        ++exchanges;
        DDX_Control(dx, IDC_FILENAME, box);
        if (bindMissing) DDX_Control(dx, 4711, missing);
    }
    BindProbe box;
    CStatic missing;
    bool bindMissing = false;
    int exchanges = 0;
};

TEST(DataExchange, BindsOnceAndCallsPreSubclassWindowFirst) {
    BindDialog dialog;
    HWND expected = nullptr;
    BOOL again = FALSE, saving = FALSE, withMissing = TRUE;
    int hitsAfterBinding = 0;
    dialog.onInit = [&](ScriptedDialog& d) {
        expected = ::GetDlgItem(d.m_hWnd, IDC_FILENAME);
        ::SendMessageA(expected, WM_APP + 2, 0, 0);
        hitsAfterBinding = dialog.box.mapHits;
        again = d.UpdateData(FALSE);
        saving = d.UpdateData(TRUE);
        dialog.bindMissing = true;
        withMissing = d.UpdateData(FALSE);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.exchanges, 4);   // OnInitDialog's, and three more
    EXPECT_EQ(dialog.box.preSubclassCalls, 1);
    EXPECT_EQ(dialog.box.handleDuringPreSubclass, expected);
    EXPECT_EQ(dialog.box.mapHitsDuringPreSubclass, 0);
    EXPECT_EQ(hitsAfterBinding, 1);
    EXPECT_TRUE(again);
    EXPECT_TRUE(saving);
    EXPECT_FALSE(withMissing);   // no control 4711 in the template
    EXPECT_EQ(dialog.box.m_hWnd, nullptr);   // let go when the dialog was destroyed
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// Records PreTranslateMessage calls and consumes one message.
class PreTranslateProbe : public CEdit {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message >= WM_APP + 10 && msg->message <= WM_APP + 11) {
            log->push_back("control pretranslate " + std::to_string(msg->message - WM_APP));
            if (msg->message == WM_APP + 11) return TRUE;
        }
        return CEdit::PreTranslateMessage(msg);
    }
    LRESULT OnTen(WPARAM, LPARAM) {
        log->push_back("control handles 10");
        return 0;
    }
    LRESULT OnEleven(WPARAM, LPARAM) {
        log->push_back("control handles 11");
        return 0;
    }
    std::vector<std::string>* log = nullptr;
};

const MessageMap* PreTranslateProbe::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnMessageEntry<WM_APP + 10, &PreTranslateProbe::OnTen>(),
        OnMessageEntry<WM_APP + 11, &PreTranslateProbe::OnEleven>(),
    };
    static const MessageMap map = MakeMessageMap<CEdit>(entries);
    return &map;
}

class PreTranslateDialog : public ScriptedDialog {
public:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_FILENAME, box); }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message >= WM_APP + 10 && msg->message <= WM_APP + 11)
            log.push_back("dialog pretranslate " + std::to_string(msg->message - WM_APP));
        return ScriptedDialog::PreTranslateMessage(msg);
    }
    PreTranslateProbe box;
    std::vector<std::string> log;
};

TEST(ModalLoop, OffersEachMessageToTheControlThenItsParentsBeforeDispatch) {
    PreTranslateDialog dialog;
    dialog.box.log = &dialog.log;
    dialog.onShown = [&](ScriptedDialog& d) {
        HWND box = ::GetDlgItem(d.m_hWnd, IDC_FILENAME);
        ::PostMessageA(box, WM_APP + 10, 0, 0);
        ::PostMessageA(box, WM_APP + 11, 0, 0);
        ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{
                              "control pretranslate 10", "dialog pretranslate 10", "control handles 10",
                              "control pretranslate 11",   // consumed: neither the dialog nor the handler sees it
                          }));
}

// How each input ends IDD_MAIN, which has no OK or Cancel button: posted
// through the modal loop as the keyboard and the window manager would.
TEST(ModalLoop, EnterEscAndTheCloseBoxEndTheDialog) {
    constexpr INT_PTR kBrowsePressed = 55;
    struct Case {
        const char* name;
        int focus;           // control given the focus first; 0: the system's choice (the filename box)
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool toDialog;       // posted to the dialog instead of the focused control
        INT_PTR expected;
    } cases[] = {
        {"Enter in the filename box", 0, WM_KEYDOWN, VK_RETURN, 1, false, IDOK},
        {"Esc", 0, WM_KEYDOWN, VK_ESCAPE, 1, false, IDCANCEL},
        {"close box", 0, WM_SYSCOMMAND, SC_CLOSE, 0, true, IDCANCEL},
        {"WM_CLOSE", 0, WM_CLOSE, 0, 0, true, IDCANCEL},
        {"Alt+F4", 0, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(1 | (1u << 29)), true, IDCANCEL},
        {"Enter on the ... button presses it", IDC_BROWSE, WM_KEYDOWN, VK_RETURN, 1, false, kBrowsePressed},
    };
    for (const Case& c : cases) {
        class CloseDialog : public ScriptedDialog {
        public:
            static const MessageMap* GetThisMessageMap() {
                static const MessageEntry entries[] = {OnClickedEntry<IDC_BROWSE, &CloseDialog::OnBrowse>()};
                static const MessageMap map = MakeMessageMap<ScriptedDialog>(entries);
                return &map;
            }
            const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
            void OnBrowse() { EndDialog(static_cast<int>(kBrowsePressed)); }
        } dialog;
        int focusedId = 0;
        dialog.onShown = [&](ScriptedDialog& d) {
            // As Tab would move it: the dialog manager also makes a focused push button the default.
            if (c.focus) d.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(d.m_hWnd, c.focus)), TRUE);
            HWND focused = ::GetFocus();
            focusedId = ::GetDlgCtrlID(focused);
            ::PostMessageA(c.toDialog ? d.m_hWnd : focused, c.message, c.wParam, c.lParam);
        };
        EXPECT_EQ(dialog.DoModal(), c.expected) << c.name;
        EXPECT_EQ(focusedId, c.focus ? c.focus : IDC_FILENAME) << c.name;
    }
}

// WM_INITDIALOG's answer goes back to the dialog manager as it is: TRUE lets
// it focus the first tab stop, FALSE keeps the focus OnInitDialog chose.
TEST(ModalLoop, OnInitDialogsAnswerDecidesTheFocus) {
    for (BOOL answer : {TRUE, FALSE}) {
        ScriptedDialog dialog;
        int focusedId = 0;
        dialog.onInit = [&](ScriptedDialog& d) {
            ::SetFocus(::GetDlgItem(d.m_hWnd, IDC_BROWSE));
            d.initResult = answer;
        };
        dialog.onShown = [&](ScriptedDialog& d) {
            focusedId = ::GetDlgCtrlID(::GetFocus());
            d.EndDialog(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(focusedId, answer ? IDC_FILENAME : IDC_BROWSE) << "OnInitDialog answered " << answer;
    }
}

TEST(ModalLoop, CentredOnlyWhenNothingElsePlacesTheDialog) {
    auto placed = [](UINT templateId, bool moveInInit, RECT& created, RECT& shown, RECT& work) {
        ScriptedDialog dialog(templateId);
        dialog.onInit = [&](ScriptedDialog& d) {
            if (moveInInit) ::SetWindowPos(d.m_hWnd, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            d.GetWindowRect(&created);
        };
        dialog.onShown = [&](ScriptedDialog& d) {
            d.GetWindowRect(&shown);
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            ::GetMonitorInfoA(::MonitorFromWindow(d.m_hWnd, MONITOR_DEFAULTTONEAREST), &info);
            work = info.rcWork;
            d.EndDialog(IDOK);
        };
        return dialog.DoModal();
    };
    RECT created, shown, work;
    ASSERT_EQ(placed(IDD_MAIN, false, created, shown, work), IDOK);
    int width = shown.right - shown.left, height = shown.bottom - shown.top;
    EXPECT_EQ(width, created.right - created.left);   // size unchanged
    EXPECT_NEAR(shown.left - work.left, work.right - shown.right, 1);
    EXPECT_NEAR(shown.top - work.top, work.bottom - shown.bottom, 1);
    EXPECT_GT(shown.left, 0);
    EXPECT_GT(height, 0);

    ASSERT_EQ(placed(IDD_MAIN, true, created, shown, work), IDOK);
    EXPECT_EQ(shown.left, 10);   // OnInitDialog placed it
    EXPECT_EQ(shown.top, 20);

    ASSERT_EQ(placed(IDD_TEST_AT_POSITION, false, created, shown, work), IDOK);
    EXPECT_EQ(shown.left, created.left);   // the template placed it
    EXPECT_EQ(shown.top, created.top);
    EXPECT_GT(shown.left, 0);
}

TEST(Application, MainWindowIsClearedWhenItsWindowIsDestroyed) {
    ScriptedDialog dialog;
    CWnd* mainDuringRun = nullptr;
    theApp.m_pMainWnd = &dialog;
    dialog.onShown = [&](ScriptedDialog& d) {
        mainDuringRun = theApp.m_pMainWnd;
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(mainDuringRun, &dialog);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

// F1, pressed as real keyboard input, asks for the dialog's context help in
// the help file beside the executable; the system's help call fails (there is
// no help file), so the warning box comes.
TEST(Help, F1AsksForTheDialogsHelpAndAFailureShowsTheWarningBox) {
    theApp.helpCalls = 0;
    theApp.helpResult = FALSE;
    ScriptedDialog dialog;
    std::string boxText, boxCaption;
    bool boxOwnedByDialog = false;
    bool boxHasIcon = false;
    dialog.onShown = [](ScriptedDialog& d) {
        d.SetTimer(1, 100);
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = VK_F1;
        keys[1] = keys[0];
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
    };
    // The box runs its own loop, which still delivers our timer: read the box, close it, end.
    dialog.onTimer = [&](ScriptedDialog& d, UINT_PTR) {
        HWND box = ::FindWindowA("#32770", AfxGetAppName());
        if (box && box != d.m_hWnd && ::IsWindowVisible(box)) {
            char text[256] = {};
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            boxText = text;
            ::GetWindowTextA(box, text, sizeof(text));
            boxCaption = text;
            boxOwnedByDialog = ::GetWindow(box, GW_OWNER) == d.m_hWnd;
            // The box's icon control: 20 on Windows, 1088 under Wine.
            boxHasIcon = ::SendDlgItemMessageA(box, 20, STM_GETICON, 0, 0) != 0 ||
                         ::SendDlgItemMessageA(box, 1088, STM_GETICON, 0, 0) != 0;
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        } else if (theApp.helpCalls > 0 && !boxText.empty()) {
            d.EndDialog(IDOK);
        }
    };
    theApp.m_pMainWnd = &dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(theApp.helpCalls, 1);
    EXPECT_EQ(theApp.helpCommand, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(theApp.helpData, static_cast<DWORD_PTR>(0x20000 + IDD_MAIN));
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string expectedFile(self);
    expectedFile = expectedFile.substr(0, expectedFile.rfind('.')) + ".HLP";
    EXPECT_EQ(theApp.helpFile, expectedFile);
    EXPECT_EQ(boxText, "Failed to launch help.");
    EXPECT_EQ(boxCaption, "framework_test");
    EXPECT_TRUE(boxOwnedByDialog);
    EXPECT_TRUE(boxHasIcon);
}

TEST(Application, TitleAndHelpPathFollowARenamedExecutable) {
    std::string report = TempPath("kelvara_report_names.txt");
    ::DeleteFileA(report.c_str());
    int code = RunSelfAs("Renamed Tool.v2.exe", ("--report-names \"" + report + "\"").c_str());
    EXPECT_EQ(code, 42);   // InitInstance said FALSE: AfxWinMain returned ExitInstance's code
    std::string expectedHelp = TempPath("Renamed Tool.v2.HLP");
    EXPECT_EQ(ReadWholeFile(report.c_str()), "title=Renamed Tool.v2\nhelp=" + expectedHelp +
                                                 "\ninitApplication=1\ncaption=Renamed Tool.v2\n");
    ::DeleteFileA(report.c_str());
}

}  // namespace
