// The association dialog in this process, driven from a second thread; and quorzel.exe alone.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "association/assocdialog.h"
#include "association/assocdialog_ids.h"
#include "support/classeskeys.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace
{

// ".cur" names the file type "curfile", as on Windows; ".ico" names none.
void LayOut(std::vector<std::string> layout)
{
    DeleteClassesKeys({".cur", "curfile", ".ico"});
    layout.insert(layout.begin(), {".cur=curfile", "curfile", ".ico"});
    for (const std::string& line : layout)
        CreateClassesKey(line);
}

const std::vector<std::string> KEYS = {"curfile\\shell\\quorzel",
                                       "curfile\\shell\\quorzel\\command", ".ico\\shell\\quorzel",
                                       ".ico\\shell\\quorzel\\command"};

// A row by its check box: checked or clear, the details button's text, and the check box, the
// button and 7 details each V shown, v shown but disabled, h hidden, - hidden and disabled.
std::string Row(HWND hwndDlg, int idCheck)
{
    const int nShift = idCheck - IDC_CUR_CHECK;  // from a .cur control to the row's own
    std::string row = IsDlgButtonChecked(hwndDlg, idCheck) ? "checked " : "clear ";
    row += WindowText(GetDlgItem(hwndDlg, IDC_CUR_DETAILS + nShift)) + ": ";
    for (int id : {IDC_CUR_CHECK, IDC_CUR_DETAILS, IDC_CUR_GROUPBOX, IDC_CUR_LOCATION_LABEL,
                   IDC_CUR_LOCATION, IDC_CUR_MENU_LABEL, IDC_CUR_MENU, IDC_CUR_COMMAND_LABEL,
                   IDC_CUR_COMMAND})
    {
        HWND hwnd = GetDlgItem(hwndDlg, id + nShift);
        row += IsWindowVisible(hwnd) ? (IsWindowEnabled(hwnd) ? 'V' : 'v')
                                     : (IsWindowEnabled(hwnd) ? 'h' : '-');
    }
    return row;
}

void Click(HWND hwndDlg, int id)
{
    SendDlgItemMessageA(hwndDlg, id, BM_CLICK, 0, 0);
}

// The process's dialog besides hwndDlg once it shows, or null: a message box or the About box.
HWND OtherDialog(DWORD dwProcessId, HWND hwndDlg)
{
    WaitForDialog(dwProcessId, 2);
    HWND hwnd = nullptr;
    do
        hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr);
    while (hwnd && GetWindow(hwnd, GW_OWNER) != hwndDlg);
    return hwnd;
}

// Neither extension registered, at 96, 144 and 192 DPI: the system menu, where the mouse moves and
// resizes it, how it folds, unfolds and resizes in the work area's bottom right corner; and Esc.
void FoldUnfoldAndResize(HWND hwnd)
{
    EXPECT_EQ("clear 詳細 >>: VV-------", Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ("clear 詳細 >>: hh-------", Row(hwnd, IDC_ICO_CHECK));
    EXPECT_NE(0, SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)) << "the program's icon";
    EXPECT_TRUE(LiesInWorkArea(hwnd)) << "opened within the work area";
    HMENU hMenu = GetSystemMenu(hwnd, FALSE);
    std::string items;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        items += std::to_string(GetMenuItemID(hMenu, i)) + " ";
    EXPECT_NE(std::string::npos, items.find(" 61488 0 40005 40006 "))
        << items << ": after Maximize (61488), a separator, restoring and About";
    const auto size = [hwnd] {
        const RECT rc = WindowRect(hwnd);
        return std::make_pair(rc.right - rc.left, rc.bottom - rc.top);
    };
    const std::pair<LONG, LONG> folded = size();
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    SetWindowPos(hwnd, nullptr, rcWork.right - folded.first, rcWork.bottom - folded.second, 900,
                 900, SWP_NOZORDER);
    EXPECT_EQ(folded, size()) << "folded, the size is fixed";
    RECT rc = WindowRect(hwnd);
    std::string hits;
    for (LONG y : {rc.top, (rc.top + rc.bottom) / 2, rc.bottom - 1})
        for (LONG x : {rc.left, (rc.left + rc.right) / 2, rc.right - 1})
            hits += std::to_string(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y))) + " ";
    EXPECT_EQ("10 18 11 10 2 11 10 18 11 ", hits) << "10: left, 18: border, 11: right, 2: caption";

    const LONG yOk = WindowRect(GetDlgItem(hwnd, IDOK)).top - rc.top;
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ("checked << 詳細: VVVVVVVVV", Row(hwnd, IDC_CUR_CHECK));
    const LONG dy = WindowRect(GetDlgItem(hwnd, IDC_CUR_GROUPBOX)).bottom -
                    WindowRect(GetDlgItem(hwnd, IDC_CUR_DETAILS)).bottom;
    const std::pair<LONG, LONG> open = size();
    EXPECT_EQ(std::make_pair(2 * folded.first, folded.second + dy), open) << "unfolded";
    rc = WindowRect(hwnd);
    EXPECT_EQ(yOk + dy, WindowRect(GetDlgItem(hwnd, IDOK)).top - rc.top) << "OK moved down";
    EXPECT_EQ(std::make_pair(rcWork.right, rcWork.bottom), std::make_pair(rc.right, rc.bottom))
        << "unfolded in the bottom right corner";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "unfolded";
    SaveWindowBitmap(hwnd, "association-unfolded");

    // Minimized and restored (which moves nothing), then wider by 40: how far the left and right
    // edges move, of the window, OK, Cancel, the details buttons, a check box, edits, group boxes.
    const std::vector<int> ids({0, IDOK, IDCANCEL, IDC_CUR_DETAILS, IDC_ICO_DETAILS, IDC_CUR_CHECK,
                                IDC_CUR_LOCATION, IDC_CUR_MENU, IDC_CUR_COMMAND, IDC_CUR_GROUPBOX,
                                IDC_ICO_LOCATION, IDC_ICO_MENU, IDC_ICO_COMMAND, IDC_ICO_GROUPBOX});
    std::vector<RECT> before;
    for (int id : ids)
        before.push_back(WindowRect(id ? GetDlgItem(hwnd, id) : hwnd));
    ShowWindow(hwnd, SW_MINIMIZE);
    ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, 0, 0, 2 * folded.first + 40, 900, SWP_NOMOVE | SWP_NOZORDER);
    std::string moves;
    for (size_t i = 0; i < before.size(); ++i)
    {
        const RECT rcNow = WindowRect(ids[i] ? GetDlgItem(hwnd, ids[i]) : hwnd);
        moves += std::to_string(rcNow.left - before[i].left) + "," +
                 std::to_string(rcNow.right - before[i].right) + " ";
    }
    EXPECT_EQ("0,40 40,40 40,40 40,40 40,40 0,0 0,40 0,40 0,40 0,40 0,40 0,40 0,40 0,40 ", moves);
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(open, size()) << "not narrower than unfolded, nor of another height";
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(folded, size()) << "folded again";
    SetForegroundWindow(hwnd);
    PressKey(VK_ESCAPE);
}

TEST(AssociationDialog, FoldsUnfoldsAndResizesOnlyInWidth)
{
    LayOut({});
    EXPECT_EQ(FALSE, RunModal(ShowAssociationDialog, FoldUnfoldAndResize))
        << "the result of Esc (-1: none)";
}

TEST(AtEachDpi, TheAssociationDialog)
{
    EXPECT_EQ("", DpisWhereTestsFail({"AssociationDialog.FoldsUnfoldsAndResizesOnlyInWidth"}));
}

// Restoring puts back check boxes and texts, open details staying open; the system menu's About.
void RestoreAndEdit(HWND hwnd)
{
    EXPECT_EQ("checked 詳細 >>: VVhhhhhhh", Row(hwnd, IDC_ICO_CHECK));
    Click(hwnd, IDC_CUR_DETAILS);
    Click(hwnd, IDC_ICO_CHECK);
    SetDlgItemTextA(hwnd, IDC_CUR_MENU, "new");
    Click(hwnd, IDC_CUR_CHECK);
    EXPECT_EQ("clear << 詳細: VVvvvvvvv", Row(hwnd, IDC_CUR_CHECK));
    SendMessageA(hwnd, WM_SYSCOMMAND, IDM_RESTORE_SETTINGS, 0);
    EXPECT_EQ("checked << 詳細: VVVVVVVVV", Row(hwnd, IDC_CUR_CHECK)) << "restored";
    EXPECT_EQ("checked 詳細 >>: VVhhhhhhh", Row(hwnd, IDC_ICO_CHECK)) << "restored";
    PostMessageA(hwnd, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hwndAbout = OtherDialog(GetCurrentProcessId(), hwnd);
    EXPECT_NE(nullptr, hwndAbout) << "the About box shown";
    SendMessageA(hwndAbout, WM_COMMAND, IDCANCEL, 0);
    SetDlgItemTextA(hwnd, IDC_CUR_COMMAND, "old x");
    SetDlgItemTextA(hwnd, IDC_ICO_MENU, std::string(32800, '\x95').c_str());
    Click(hwnd, IDOK);
}

// Both registered with REG_BINARY values, which the program never writes, so that any rewrite
// shows: OK rewrites each edited value alone, cut between characters where it does not fit, and
// keeps a menu text of half a character that the edit shows as "表・".
TEST(AssociationDialog, RestoresAndWritesOnlyWhatChanged)
{
    LayOut({KEYS[0] + "=binary:\x95\x5C\x95", KEYS[1] + "=binary:old", KEYS[2] + "=binary:old",
            KEYS[3] + "=binary:old"});
    EXPECT_EQ(TRUE, RunModal(ShowAssociationDialog, RestoreAndEdit)) << "the result: OK";
    EXPECT_EQ("binary:\x95\x5C\x95|old x|binary:old", ReadClassesKey(KEYS[0]) + "|" +
                                                          ReadClassesKey(KEYS[1]) + "|" +
                                                          ReadClassesKey(KEYS[3]));
    EXPECT_EQ(std::string(32766, '\x95'), ReadClassesKey(KEYS[2])) << "cut between characters";
}

// quorzel.exe started where an installer puts it, and again while it shows its dialog. Where the
// user may only read the file type, OK says so; once writable, OK registers the default texts.
TEST(AssociationMode, RegistersTheVerbWithItsDefaultTextsOnceAtATime)
{
    LayOut({"read-only curfile"});
    CreateDirectoryA("C:\\Program Files\\quorzel", nullptr);
    const std::string program = "C:\\Program Files\\quorzel\\quorzel.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(QUORZEL_EXE).c_str(), program.c_str(), FALSE));
    EXPECT_NE(std::string::npos, FileText(program).find(">true</dpiAware>"))
        << "its manifest declares it aware of the system's DPI";
    SetCursorPos(320, 280);  // where the dialog unfolds within the screen
    SHELLEXECUTEINFOA first = {sizeof first, SEE_MASK_NOCLOSEPROCESS, nullptr, nullptr,
                               program.c_str()};
    ASSERT_TRUE(ShellExecuteExA(&first));
    HWND hwnd = WaitForDialog(GetProcessId(first.hProcess));
    EXPECT_EQ("argv[ 0]=" + program + "\r\nexit code 0",
              RunUnderDebugger("\"" + program + "\"", "."))
        << "a second start ends at once (exit code 259: still running after a minute)";
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    SaveWindowBitmap(hwnd, "association-dialog");
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    HWND hwndMessage = OtherDialog(GetProcessId(first.hProcess), hwnd);
    EXPECT_EQ("*.cur の関連づけを変更できませんでした。\r\n"
              "変更するには、quorzel を管理者として実行してください。",
              WindowText(GetDlgItem(hwndMessage, 0xFFFF)));
    SendMessageA(hwndMessage, WM_COMMAND, IDOK, 0);
    SetClassesKeyAccess("curfile", "D:(A;;KA;;;WD)");
    Click(hwnd, IDOK);
    DWORD dwExitCode = STILL_ACTIVE;
    WaitForSingleObject(first.hProcess, 10000);
    GetExitCodeProcess(first.hProcess, &dwExitCode);
    EXPECT_EQ(0u, dwExitCode) << "the first start's exit code";
    TerminateProcess(first.hProcess, 1);  // one that has not ended: its mutex would stay
    CloseHandle(first.hProcess);
    EXPECT_EQ("C++ コードの取得|\"" + program + "\" \"%1\"|<absent>|<absent>",
              ReadClassesKey(KEYS[0]) + "|" + ReadClassesKey(KEYS[1]) + "|" +
                  ReadClassesKey(KEYS[2]) + "|" + ReadClassesKey(".cur\\shell\\quorzel\\command"))
        << "the default texts, under the file type; nothing under the extension";
}

}  // namespace
