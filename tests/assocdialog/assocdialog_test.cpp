// The association dialog of the built quorzel.exe, started without arguments
// under Wine and driven as a user drives it (mouse, keys, system menu); the
// registry of the build's prefix is checked afterwards.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "association/assocdialog_ids.h"
#include "support/classeskeys.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace {

// ".cur" names the file type "curfile", as on Windows; ".ico" names none.
const std::string CUR_VERB = "curfile\\shell\\quorzel", CUR_COMMAND = CUR_VERB + "\\command";
const std::string ICO_VERB = ".ico\\shell\\quorzel", ICO_COMMAND = ICO_VERB + "\\command";
const std::string DEFAULT_COMMAND = "\"" + WindowsPath(QUORZEL_EXE) + "\" \"%1\"";
using Extent = std::pair<LONG, LONG>;  // width, height

// Whether the program has ended with exit code 0; ends it anyway.
bool Ended(PROCESS_INFORMATION& process)
{
    DWORD dwCode = 1;
    const bool fEnded = !WaitForSingleObject(process.hProcess, 10000) && GetExitCodeProcess(process.hProcess, &dwCode);
    TerminateProcess(process.hProcess, 255), CloseHandle(process.hThread), CloseHandle(process.hProcess);
    return process = {}, fEnded && !dwCode;
}

// Starts quorzel.exe alone, centred on the mouse so that it unfolds within the
// screen: its dialog, or null when it ends without showing one.
HWND Start(PROCESS_INFORMATION& process)
{
    std::string commandLine = "\"" + WindowsPath(QUORZEL_EXE) + "\"";
    STARTUPINFOA startup = {sizeof startup};
    SetCursorPos(320, 280);
    CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    for (int i = 0; i < 500 && WaitForSingleObject(process.hProcess, 20); ++i)
        if (!FindDialogs(process.dwProcessId).empty())
            return Sleep(200), FindDialogs(process.dwProcessId).front();
    return nullptr;
}

class AssociationDialog : public ::testing::Test
{
protected:
    PROCESS_INFORMATION m_process = {};
    HWND m_hwnd = nullptr;

    // Neither extension registered. Wine draws quorzel.exe's frames itself (there
    // is no window manager) and gives the dialogs' font the Japanese system font's metrics.
    void SetUp() override
    {
        for (const char* pszKey : {".cur", "curfile", ".ico"})
            RegDeleteTreeA(HKEY_CLASSES_ROOT, pszKey), CreateClassesKey(pszKey);
        CreateClassesKey(".cur=curfile");
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\quorzel.exe\\X11 Driver", "Decorated", REG_SZ, "N", 2);
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements", "ＭＳ Ｐゴシック", REG_SZ, "IPAPGothic", 11);
    }
    void TearDown() override { Ended(m_process); }
    void Open() { ASSERT_TRUE(m_hwnd = Start(m_process)) << "no dialog"; SetForegroundWindow(m_hwnd); }
    // Once the program has ended (a note if not with 0), the keys' default values, each followed by "|".
    std::string Written(std::initializer_list<std::string> keys)
    {
        std::string values = Ended(m_process) ? "" : "(not ended with 0) ";
        for (const std::string& key : keys) values += ReadClassesKey(key) + "|";
        return values;
    }
    HWND Item(int id) { return GetDlgItem(m_hwnd, id); }
    RECT Rect(int id) { RECT rc; GetWindowRect(id ? Item(id) : m_hwnd, &rc); return rc; }
    Extent Size(int id) { RECT rc = Rect(id); return {rc.right - rc.left, rc.bottom - rc.top}; }
    std::string Text(int id) { char sz[1100] = ""; return GetDlgItemTextA(m_hwnd, id, sz, sizeof sz), sz; }
    // A row from its check box: "[x]" or "[ ]", the details button's text, then "ve" for each of check
    // box, details button and the seven details visible and enabled ("-" for each no).
    std::string Row(int idCheck)
    {
        std::string states = (IsDlgButtonChecked(m_hwnd, idCheck) == BST_CHECKED ? "[x] " : "[ ] ") + Text(idCheck + 6);
        for (int i : {0, 6, 1, 2, 3, 4, 22, 23, 24})
            states += std::string(IsWindowVisible(Item(idCheck + i)) ? " v" : " -") + (IsWindowEnabled(Item(idCheck + i)) ? "e" : "-");
        return states;
    }
    // Input, then the program's time to take it in. Keys go down in order and up in reverse.
    void Click(int id) { MoveMouseTo(WindowCenter(Item(id))), PressLeftButton(true), PressLeftButton(false), PressKeys({}); }
    void PressKeys(std::initializer_list<BYTE> keys)
    {
        for (BYTE vk : keys) keybd_event(vk, 0, 0, 0);
        for (auto it = keys.end(); it != keys.begin();) keybd_event(*--it, 0, KEYEVENTF_KEYUP, 0);
        Sleep(100), WaitForInputIdle(m_process.hProcess, 5000);
    }
    void Type(int id) { Click(id), PressKeys({VK_END}), PressKeys({VK_SPACE, 'X'}); }  // appends " x"
    void SystemMenu(BYTE key)  // Alt+Space, once the menu shows its access key
    {
        PressKeys({VK_MENU, VK_SPACE});
        for (int i = 0; i < 100 && !IsWindowVisible(FindWindowA("#32768", nullptr)); ++i) Sleep(20);
        Sleep(200), PressKeys({key});
    }
};

// Neither extension registered: how it folds, unfolds and resizes; then ".cur"
// registered with the shown texts, and the shell running the verb.
TEST_F(AssociationDialog, ResizesOnlyInWidthAndRegistersTheVerbTheShellRuns)
{
    Open();
    EXPECT_EQ(Row(IDC_CUR_CHECK) + "|" + Row(IDC_ICO_CHECK), "[ ] 詳細 >> ve ve -- -- -- -- -- -- --|[ ] 詳細 >> -e -e -- -- -- -- -- -- --");
    EXPECT_TRUE(Rect(IDC_CUR_DETAILS).bottom < Rect(IDC_ICO_DETAILS).top && Rect(IDC_ICO_DETAILS).bottom < Rect(IDOK).top);
    SaveWindowBitmap(m_hwnd, "association-folded.bmp");
    Click(IDC_CUR_CHECK);

    const RECT rc = Rect(0), rcOk = Rect(IDOK), rcIco = Rect(IDC_ICO_CHECK);
    const LONG xMid = (rc.left + rc.right) / 2, yMid = (rc.top + rc.bottom) / 2, xRight = rc.right - 1, yBottom = rc.bottom - 1;
    const struct { POINT pt; LRESULT nExpected; } hits[] = {
        {{rcOk.left - 3, rcOk.top + 3}, HTCAPTION},  // the background drags the window
        {{xMid, rc.top}, HTBORDER}, {{xMid, yBottom}, HTBORDER}, {{rc.left, yMid}, HTLEFT}, {{rc.left, rc.top}, HTLEFT},
        {{xRight, rc.top}, HTRIGHT}, {{xRight, yMid}, HTRIGHT}, {{rc.left, yBottom}, HTLEFT}, {{xRight, yBottom}, HTRIGHT}};
    for (const auto& hit : hits)
        EXPECT_EQ(SendMessageA(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(hit.pt.x, hit.pt.y)), hit.nExpected)
            << "at " << hit.pt.x - rc.left << ", " << hit.pt.y - rc.top;
    const Extent folded = Size(0);
    DragMouse({xRight - 1, yMid}, {rc.right + 60, yMid + 40});
    EXPECT_EQ(Size(0), folded) << "folded, the width is fixed";

    Click(IDC_CUR_DETAILS);
    const int dy = Rect(IDC_CUR_GROUPBOX).bottom - Rect(IDC_CUR_DETAILS).bottom;
    EXPECT_NEAR(dy, 74 * Size(IDC_CUR_DETAILS).second / 14, 1) << "74 dialog units (the button is 14 high)";
    const Extent open = {2 * folded.first, folded.second + dy};
    EXPECT_EQ(Size(0), open);
    EXPECT_EQ(Rect(IDOK).top - rcOk.top + Rect(IDC_ICO_CHECK).top - rcIco.top, 2 * dy);
    EXPECT_EQ(Row(IDC_CUR_CHECK), "[x] << 詳細 ve ve ve ve ve ve ve ve ve") << "checked before";
    SaveWindowBitmap(m_hwnd, "association-unfolded.bmp");

    // Wider by 40: how far the left and right edges move, the window's first.
    const int aid[] = {0, IDOK, IDCANCEL, IDC_CUR_DETAILS, IDC_ICO_DETAILS, IDC_CUR_CHECK, IDC_CUR_LOCATION, IDC_CUR_MENU,
                       IDC_CUR_COMMAND, IDC_CUR_GROUPBOX, IDC_ICO_LOCATION, IDC_ICO_MENU, IDC_ICO_COMMAND, IDC_ICO_GROUPBOX};
    RECT before[sizeof aid / sizeof *aid];
    for (int i = 0; i < 14; ++i) before[i] = Rect(aid[i]);
    ShowWindow(m_hwnd, SW_MINIMIZE), ShowWindow(m_hwnd, SW_RESTORE), Sleep(200);  // leaves every control as it was
    DragMouse({before[0].right - 2, yMid}, {before[0].right + 38, yMid + 30});
    std::string moves;
    for (int i = 0; i < 14; ++i)
        moves += std::to_string(Rect(aid[i]).left - before[i].left) + "," + std::to_string(Rect(aid[i]).right - before[i].right) + " ";
    EXPECT_EQ(moves, "0,40 40,40 40,40 40,40 40,40 0,0 0,40 0,40 0,40 0,40 0,40 0,40 0,40 0,40 ");
    DragMouse({Rect(0).right - 2, yMid}, {Rect(0).right - 140, yMid});
    EXPECT_EQ(Size(0), open) << "not narrower than twice the initial width";
    Click(IDC_CUR_DETAILS);
    EXPECT_EQ(std::make_pair(Size(0), Rect(IDOK).top), std::make_pair(folded, rcOk.top)) << "folded again";

    Click(IDOK);
    EXPECT_EQ(Written({CUR_VERB, CUR_COMMAND, ICO_VERB, ".cur\\shell"}), "C++ コードの取得|" + DEFAULT_COMMAND + "|<absent>|<absent>|")
        << "the default texts shown, under the file type, none under the extension";
    // Explorer runs the verb as ShellExecuteEx does: the .cpp appears as from the command line.
    ASSERT_TRUE(CopyFileA(WindowsPath(SAMPLES_DIR "/hand32.cur").c_str(), "assoc hand.cur", FALSE));
    DeleteFileA("assoc hand.cpp");
    SHELLEXECUTEINFOA info = {sizeof info, SEE_MASK_NOCLOSEPROCESS, nullptr, "quorzel", "assoc hand.cur"};
    ASSERT_TRUE(ShellExecuteExA(&info) && info.hProcess);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    EXPECT_EQ(FileText("assoc hand.cpp"), FileText(WindowsPath(HAND32_CPP)));
}

// Both registered with REG_BINARY values, which the program never writes: a
// rewrite shows even where the text stays the same.
TEST_F(AssociationDialog, RestoresWritesOnlyWhatChangedAndRunsOnce)
{
    for (const std::string& key : {CUR_VERB, CUR_COMMAND, ICO_VERB, ICO_COMMAND})
        CreateClassesKey(key + ":old");
    Open();
    PROCESS_INFORMATION second = {};
    EXPECT_EQ(Start(second), nullptr) << "a second start while the dialog is open";
    EXPECT_TRUE(Ended(second)) << "the second start";
    EXPECT_EQ(Row(IDC_CUR_CHECK) + "|" + Row(IDC_ICO_CHECK), "[x] 詳細 >> ve ve -e -e -e -e -e -e -e|[x] 詳細 >> ve ve -e -e -e -e -e -e -e");
    Click(IDC_CUR_DETAILS), Click(IDC_ICO_CHECK);
    EXPECT_EQ(Row(IDC_CUR_CHECK) + "|" + Row(IDC_ICO_CHECK), "[x] << 詳細 ve ve ve ve ve ve ve ve ve|[ ] 詳細 >> ve ve -- -- -- -- -- -- --");
    Type(IDC_CUR_MENU), Click(IDC_CUR_CHECK), SystemMenu('D');
    EXPECT_EQ(Row(IDC_CUR_CHECK) + "|" + Row(IDC_ICO_CHECK) + "|" + Text(IDC_CUR_MENU) + "|" + Text(IDC_ICO_MENU),
              "[x] << 詳細 ve ve ve ve ve ve ve ve ve|[x] 詳細 >> ve ve -e -e -e -e -e -e -e|old|old") << "restored; open details stay open";
    SystemMenu('A'), Sleep(500);
    EXPECT_EQ(FindDialogs(m_process.dwProcessId).size(), 2u) << "the About box";
    SaveWindowBitmap(GetDesktopWindow(), "association-about.bmp");
    PressKeys({VK_ESCAPE}), Click(IDOK);
    EXPECT_EQ(Written({CUR_VERB, CUR_COMMAND, ICO_VERB, ICO_COMMAND}), "binary:old|binary:old|binary:old|binary:old|") << "unchanged OK";

    Open();  // again, once the first has ended
    Click(IDC_CUR_DETAILS), Type(IDC_CUR_COMMAND), PressKeys({VK_RETURN});  // acts as OK
    EXPECT_EQ(Written({CUR_VERB, CUR_COMMAND, ICO_VERB, ICO_COMMAND}), "old|old x|binary:old|binary:old|");
    Open();
    Click(IDC_CUR_CHECK), Click(IDC_ICO_CHECK), Click(IDOK);
    EXPECT_EQ(Written({CUR_VERB, ICO_VERB, "curfile\\shell"}), "<absent>|<absent>|<no value>|") << "removal leaves shell";
    for (const char* pszWay : {"Cancel", "Esc", "Alt+F4 (the close box's command)"})
    {
        Open();
        EXPECT_EQ(Row(IDC_ICO_CHECK), "[ ] 詳細 >> -e -e -- -- -- -- -- -- --") << "the .ico row after its removal";
        Click(IDC_CUR_CHECK), Click(IDC_CUR_DETAILS), Type(IDC_CUR_COMMAND);
        pszWay[0] == 'C' ? Click(IDCANCEL) : pszWay[0] == 'E' ? PressKeys({VK_ESCAPE}) : PressKeys({VK_MENU, VK_F4});
        EXPECT_EQ(Written({CUR_VERB}), "<absent>|") << pszWay;
    }
}

}  // namespace
