// The association dialog of the built quorzel.exe, started without arguments
// under Wine and driven as a user drives it (mouse, keys, system menu); the
// registry of the build's prefix is checked afterwards.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "association/assocdialog.h"
#include "association/assocdialog_ids.h"
#include "support/classeskeys.h"
#include "support/debuggee.h"
#include "support/modaldriver.h"

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }
std::ostream& operator<<(std::ostream& out, SIZE size) { return out << size.cx << " x " << size.cy; }
bool operator==(RECT a, RECT b) { return EqualRect(&a, &b); }
std::ostream& operator<<(std::ostream& out, RECT rc) { return out << rc.left << ", " << rc.top << " - " << rc.right << ", " << rc.bottom; }
RECT Moved(RECT rc, int dx) { return OffsetRect(&rc, dx, 0), rc; }

namespace {

// ".cur" names the file type "curfile", as on Windows; ".ico" names none.
const std::string CUR_VERB = "curfile\\shell\\quorzel", CUR_COMMAND = CUR_VERB + "\\command";
const std::string ICO_VERB = ".ico\\shell\\quorzel", ICO_COMMAND = ICO_VERB + "\\command";
const std::string DEFAULT_COMMAND = "\"" + WindowsPath(QUORZEL_EXE) + "\" \"%1\"", ABSENT = "<absent>";

// A default value under HKEY_CLASSES_ROOT as "type:text" (REG_SZ 1, REG_BINARY 3).
std::string RegValue(const std::string& key)
{
    char szText[1100] = "";
    DWORD dwType = 0, cbText = sizeof szText - 1;
    const LONG nResult = RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_ANY, &dwType, szText, &cbText);
    return nResult ? ABSENT : std::to_string(dwType) + ":" + szText;
}

class AssociationDialog : public ::testing::Test
{
protected:
    PROCESS_INFORMATION m_process = {};
    HWND m_hwnd = nullptr;

    // Neither extension registered. Wine draws quorzel.exe's frames itself (there is
    // no window manager) and gives the dialogs' font the Japanese system font's metrics.
    void SetUp() override
    {
        for (const char* pszKey : {".cur", "curfile", ".ico"})
            RegDeleteTreeA(HKEY_CLASSES_ROOT, pszKey), CreateClassesKey(pszKey);
        CreateClassesKey(".cur=curfile");
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\quorzel.exe\\X11 Driver", "Decorated", REG_SZ, "N", 2);
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements", "ＭＳ Ｐゴシック", REG_SZ, "IPAPGothic", 11);
    }
    void TearDown() override
    {
        TerminateProcess(m_process.hProcess, 255), CloseHandle(m_process.hThread), CloseHandle(m_process.hProcess);
    }
    // Starts quorzel.exe alone, centred on the mouse so that it unfolds within
    // the screen: its dialog, or null when it shows none.
    static HWND Start(PROCESS_INFORMATION* pProcess)
    {
        std::string commandLine = "\"" + WindowsPath(QUORZEL_EXE) + "\"";
        STARTUPINFOA startup = {sizeof startup};
        SetCursorPos(320, 280);
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, pProcess);
        return WaitForSingleObject(pProcess->hProcess, 500) ? WaitForDialog(pProcess->dwProcessId) : nullptr;
    }
    void Open()
    {
        TearDown();
        ASSERT_TRUE(m_hwnd = Start(&m_process)) << "no dialog";
        SetForegroundWindow(m_hwnd), Sleep(200);
    }
    // Whether the program has ended with exit code 0.
    bool Ended()
    {
        DWORD dwCode = 1;
        return !WaitForSingleObject(m_process.hProcess, 10000) && GetExitCodeProcess(m_process.hProcess, &dwCode) && !dwCode;
    }

    HWND Item(int id) { return GetDlgItem(m_hwnd, id); }
    RECT Rect(int id) { RECT rc; GetWindowRect(id ? Item(id) : m_hwnd, &rc); return rc; }
    SIZE Size(int id) { RECT rc = Rect(id); return {rc.right - rc.left, rc.bottom - rc.top}; }
    bool Checked(int id) { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::string Text(int id)
    {
        char szText[1100] = "";
        return SendMessageA(Item(id), WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText)), szText;
    }
    // Input, and then the program's time to take it in.
    void Click(int id) { DragMouse(WindowCenter(Item(id)), WindowCenter(Item(id))), Idle(); }
    void Idle() { Sleep(100), WaitForInputIdle(m_process.hProcess, 5000); }
    // Presses the keys in order and lets them go in reverse order.
    void PressKeys(std::initializer_list<BYTE> keys)
    {
        for (BYTE vk : keys)
            keybd_event(vk, 0, 0, 0);
        for (auto it = keys.end(); it != keys.begin();)
            keybd_event(*--it, 0, KEYEVENTF_KEYUP, 0);
        Idle();
    }
    // Opens the system menu with Alt+Space and picks an item by its access key.
    void SystemMenu(BYTE key)
    {
        PressKeys({VK_MENU, VK_SPACE});
        for (int i = 0; i < 100 && !IsWindowVisible(FindWindowA("#32768", nullptr)); ++i)
            Sleep(20);
        Sleep(200), PressKeys({key});
    }
    void Type(int id) { Click(id), PressKeys({VK_END}), PressKeys({VK_SPACE, 'X'}); }  // appends " x"
    // The ".cur" row's seven detail controls: "ve" visible and enabled, "-" for each no.
    std::string Details()
    {
        std::string states;
        for (int id : {1101, 1102, 1103, 1104, 1122, 1123, 1124})
            states += std::string(IsWindowVisible(Item(id)) ? "v" : "-") + (IsWindowEnabled(Item(id)) ? "e " : "- ");
        return states;
    }
};

TEST_F(AssociationDialog, OpensFoldedUnfoldsTwiceAsWideAndResizesOnlyInWidth)
{
    Open();
    EXPECT_EQ(Details(), "-- -- -- -- -- -- -- ");
    EXPECT_FALSE(Checked(IDC_CUR_CHECK) || IsWindowVisible(Item(IDC_ICO_CHECK)) || IsWindowVisible(Item(IDC_ICO_DETAILS)));
    // The hidden ".ico" row keeps its band between the ".cur" row and the buttons.
    EXPECT_LT(Rect(IDC_CUR_DETAILS).bottom, Rect(IDC_ICO_DETAILS).top);
    EXPECT_LT(Rect(IDC_ICO_DETAILS).bottom, Rect(IDOK).top);
    EXPECT_EQ(Text(IDC_CUR_DETAILS) + "|" + Text(IDC_CUR_MENU) + "|" + Text(IDC_CUR_COMMAND),
              "詳細 >>|C++ コードの取得|" + DEFAULT_COMMAND);
    SaveWindowBitmap(m_hwnd, "association-folded.bmp");
    Click(IDC_CUR_CHECK);
    EXPECT_EQ(Details(), "-e -e -e -e -e -e -e ");
    Click(IDC_CUR_CHECK);
    EXPECT_EQ(Details(), "-- -- -- -- -- -- -- ");

    const RECT rc = Rect(0);
    const LONG xMid = (rc.left + rc.right) / 2, yMid = (rc.top + rc.bottom) / 2;
    const struct { POINT pt; LRESULT nExpected; } hits[] = {
        {{Rect(IDOK).left - 3, Rect(IDOK).top + 3}, HTCAPTION},  // the background drags the window
        {{xMid, rc.top}, HTBORDER}, {{xMid, rc.bottom - 1}, HTBORDER}, {{rc.left, yMid}, HTLEFT},
        {{rc.left, rc.top}, HTLEFT}, {{rc.right - 1, rc.top}, HTRIGHT}, {{rc.right - 1, yMid}, HTRIGHT},
        {{rc.left, rc.bottom - 1}, HTLEFT}, {{rc.right - 1, rc.bottom - 1}, HTRIGHT},
    };
    for (const auto& hit : hits)
        EXPECT_EQ(SendMessageA(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(hit.pt.x, hit.pt.y)), hit.nExpected)
            << "at " << hit.pt.x - rc.left << ", " << hit.pt.y - rc.top;
    const SIZE folded = Size(0);
    DragMouse({rc.right - 2, yMid}, {rc.right + 60, yMid + 40});
    EXPECT_EQ(Size(0), folded) << "folded, the width is fixed";

    const RECT rcOk = Rect(IDOK), rcIco = Rect(IDC_ICO_CHECK);
    Click(IDC_CUR_DETAILS);
    const int dy = Rect(IDC_CUR_GROUPBOX).bottom - Rect(IDC_CUR_DETAILS).bottom;
    EXPECT_NEAR(dy, 74 * Size(IDC_CUR_DETAILS).cy / 14, 1) << "74 dialog units (the button is 14 high)";
    EXPECT_EQ(Size(0), SIZE({2 * folded.cx, folded.cy + dy}));
    EXPECT_EQ(Rect(IDOK).top - rcOk.top + Rect(IDC_ICO_CHECK).top - rcIco.top, 2 * dy);
    EXPECT_EQ(Text(IDC_CUR_DETAILS), "<< 詳細");
    EXPECT_EQ(Details(), "v- v- v- v- v- v- v- ");
    SaveWindowBitmap(m_hwnd, "association-unfolded.bmp");

    const SIZE open = Size(0), edit = Size(IDC_CUR_MENU), group = Size(IDC_CUR_GROUPBOX);
    const RECT rcOpen = Rect(0), rcOpenOk = Rect(IDOK), rcCancel = Rect(IDCANCEL), rcDetails = Rect(IDC_CUR_DETAILS);
    DragMouse({rcOpen.right - 2, yMid}, {rcOpen.right + 38, yMid + 30});
    EXPECT_EQ(Size(0), SIZE({open.cx + 40, open.cy}));
    EXPECT_EQ(Rect(IDOK), Moved(rcOpenOk, 40));
    EXPECT_EQ(Rect(IDCANCEL), Moved(rcCancel, 40));
    EXPECT_EQ(Rect(IDC_CUR_DETAILS), Moved(rcDetails, 40));
    EXPECT_EQ(Size(IDC_CUR_MENU), SIZE({edit.cx + 40, edit.cy}));
    EXPECT_EQ(Size(IDC_CUR_GROUPBOX), SIZE({group.cx + 40, group.cy}));
    DragMouse({Rect(0).right - 2, yMid}, {Rect(0).right - 140, yMid});
    EXPECT_EQ(Size(0), open) << "not narrower than twice the initial width";
    Click(IDC_CUR_DETAILS);
    EXPECT_EQ(Size(0), folded);
    EXPECT_EQ(Rect(IDOK).top, rcOk.top);
}

// The values start as REG_BINARY, which the program never writes: a rewrite
// shows even where the text stays the same.
TEST_F(AssociationDialog, OkWritesOnlyWhatChangedAndTheShellRunsTheVerb)
{
    for (const std::string& key : {CUR_VERB, CUR_COMMAND, ICO_VERB, ICO_COMMAND})
        CreateClassesKey(key + ":old");
    Open();
    EXPECT_TRUE(Checked(IDC_CUR_CHECK) && Checked(IDC_ICO_CHECK) && IsWindowVisible(Item(IDC_ICO_CHECK)));
    Click(IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(RegValue(CUR_VERB) + RegValue(CUR_COMMAND), "3:old3:old") << "unchanged OK";
    for (const char* pszWay : {"Cancel", "Esc", "Alt+F4 (the close box's command)"})
    {
        Open();
        Click(IDC_CUR_DETAILS), Type(IDC_CUR_COMMAND);
        if (pszWay[0] == 'C')
            Click(IDCANCEL);
        else
            pszWay[0] == 'E' ? PressKeys({VK_ESCAPE}) : PressKeys({VK_MENU, VK_F4});
        EXPECT_TRUE(Ended()) << pszWay;
        EXPECT_EQ(RegValue(CUR_COMMAND), "3:old") << pszWay;
    }
    Open();
    Click(IDC_CUR_DETAILS), Type(IDC_CUR_COMMAND);
    PressKeys({VK_RETURN});  // acts as OK
    EXPECT_TRUE(Ended());
    EXPECT_EQ(RegValue(CUR_VERB) + RegValue(CUR_COMMAND), "1:old1:old x");
    EXPECT_EQ(RegValue(ICO_VERB) + RegValue(ICO_COMMAND), "3:old3:old") << ".ico unchanged";

    Open();
    Click(IDC_CUR_CHECK), Click(IDC_ICO_CHECK), Click(IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(RegValue(CUR_VERB) + RegValue(ICO_VERB) + ReadClassesKey("curfile\\shell"), ABSENT + ABSENT + "<no value>");
    Open();
    EXPECT_FALSE(IsWindowVisible(Item(IDC_ICO_CHECK))) << "the .ico row after its removal";
    Click(IDC_CUR_CHECK), Click(IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(RegValue(CUR_VERB) + "|" + RegValue(CUR_COMMAND) + "|" + RegValue(ICO_VERB),
              "1:C++ コードの取得|1:" + DEFAULT_COMMAND + "|" + ABSENT);

    // Explorer runs the verb as ShellExecuteEx does: the text is the one the
    // program writes when it is given the file on its command line.
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    const std::string cursor = szTemp + std::string("assoc hand.cur"), output = szTemp + std::string("assoc hand.cpp");
    ASSERT_TRUE(CopyFileA(WindowsPath(SAMPLES_DIR "/hand32.cur").c_str(), cursor.c_str(), FALSE));
    DeleteFileA(output.c_str());
    SHELLEXECUTEINFOA info = {sizeof info, SEE_MASK_NOCLOSEPROCESS, nullptr, "quorzel", cursor.c_str()};
    ASSERT_TRUE(ShellExecuteExA(&info) && info.hProcess);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    EXPECT_EQ(FileText(output), FileText(WindowsPath(HAND32_CPP)));
}

TEST_F(AssociationDialog, SystemMenuRestoresTheOpeningStateAndOpensAbout)
{
    CreateClassesKey(ICO_COMMAND + "=old");
    Open();
    Click(IDC_CUR_DETAILS), Click(IDC_CUR_CHECK), Type(IDC_CUR_MENU), Click(IDC_ICO_CHECK);
    SystemMenu('D');
    EXPECT_FALSE(Checked(IDC_CUR_CHECK));
    EXPECT_TRUE(Checked(IDC_ICO_CHECK) && IsWindowVisible(Item(IDC_ICO_CHECK)));
    EXPECT_EQ(Text(IDC_CUR_MENU) + "|" + Text(IDC_ICO_MENU), "C++ コードの取得|");
    EXPECT_EQ(Details(), "v- v- v- v- v- v- v- ") << "open details stay open";
    SystemMenu('A');
    Sleep(500);
    EXPECT_EQ(FindDialogs(m_process.dwProcessId).size(), 2u) << "the About box";
    SaveWindowBitmap(GetDesktopWindow(), "association-about.bmp");
}

// Another process's menus cannot be read: this one runs the dialog itself.
TEST_F(AssociationDialog, SystemMenuHasItsItemsRightAfterMaximize)
{
    std::string items;
    RunWhileDriving([&] {
        HWND hwnd = WaitForDialog();
        HMENU hMenu = GetSystemMenu(hwnd, FALSE);
        int nMaximize = 0;
        while (nMaximize < GetMenuItemCount(hMenu) && GetMenuItemID(hMenu, nMaximize) != SC_MAXIMIZE)
            ++nMaximize;
        for (int i = nMaximize + 1; i <= nMaximize + 3; ++i)
        {
            char szText[64] = "";
            GetMenuStringA(hMenu, i, szText, sizeof szText, MF_BYPOSITION);
            items += std::to_string(GetMenuItemID(hMenu, i)) + " " + szText + "|";
        }
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    }, [] { return ShowAssociationDialog(); });
    EXPECT_EQ(items, "0 |40005 設定を初期値に戻す(&D)|40006 About(&A)|");
}

TEST_F(AssociationDialog, SecondStartEndsAtOnceWhileTheDialogIsOpen)
{
    Open();
    PROCESS_INFORMATION first = m_process;
    EXPECT_EQ(Start(&m_process), nullptr);
    EXPECT_TRUE(Ended()) << "the second start";
    TearDown();
    m_process = first;
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(Ended());
    Open();  // the next start shows the dialog again
}

}  // namespace
