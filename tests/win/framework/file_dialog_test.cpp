// The system's file-open dialog as CFileDialog sets it up: title, initial
// file, the "|"-separated filter, and the answers of OK and Cancel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace {

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
    char text[512] = {};
    ::GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
    // A combo box's list items (the filter's descriptions) are not window texts.
    char kind[32] = {};
    ::GetClassNameA(child, kind, sizeof(kind));
    if (lstrcmpiA(kind, "ComboBox") == 0) {
        LRESULT count = ::SendMessageA(child, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count && i < 16; ++i) {
            char item[512] = {};
            if (::SendMessageA(child, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof(item))) {
                ::SendMessageA(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                reinterpret_cast<std::vector<std::string>*>(texts)->push_back(item);
            }
        }
    }
    return TRUE;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

TEST(FileDialog, OpensWithTitleFileAndFilterAndAnswersOkOrCancel) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string path(self);
    std::string directory = path.substr(0, path.find_last_of('\\'));
    for (UINT button : {IDOK, IDCANCEL}) {
        ScriptedDialog owner;
        INT_PTR answer = 0;
        CString chosen;
        std::vector<std::string> texts;
        bool ownedByDialog = false;
        owner.onShown = [&](ScriptedDialog& d) {
            d.SetTimer(1, 200);
            CFileDialog files(TRUE, ".exe", path.c_str(), 0x180C, "Executable files (*.exe)|*.exe||", &d);
            files.m_ofn.lpstrTitle = "Kelvara test: pick a file";
            files.m_ofn.lpstrInitialDir = directory.c_str();
            answer = files.DoModal();
            chosen = files.GetPathName();
            d.EndDialog(IDOK);
        };
        owner.onTimer = [&](ScriptedDialog& d, UINT_PTR) {
            HWND box = ::FindWindowA(nullptr, "Kelvara test: pick a file");
            if (!box || !texts.empty()) return;
            ::EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
            ownedByDialog = ::GetWindow(box, GW_OWNER) == d.m_hWnd;
            ::PostMessageA(box, WM_COMMAND, button, 0);
        };
        EXPECT_EQ(owner.DoModal(), IDOK);
        EXPECT_TRUE(ownedByDialog);
        EXPECT_TRUE(Contains(texts, "Executable files (*.exe)")) << "filter not shown";
        std::string fileName = path.substr(path.find_last_of('\\') + 1);
        EXPECT_TRUE(Contains(texts, fileName) || Contains(texts, path)) << "initial file not shown";
        if (button == IDOK) {
            EXPECT_EQ(answer, IDOK);
            EXPECT_STREQ(chosen, path.c_str());
        } else {
            EXPECT_EQ(answer, IDCANCEL);
        }
    }
}

}  // namespace
