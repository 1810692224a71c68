// The association dialog in this process, driven from a second thread with BM_CLICK and messages;
// and quorzel.exe alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "association/assocdialog.h"
#include "association/assocdialog_ids.h"
#include "support/classeskeys.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace
{

// .cur names the file type curfile, as on Windows; .ico none. The mouse, where the dialog opens.
void LayOut(std::vector<std::string> layout)
{
    DeleteClassesKeys({".cur", "curfile", ".ico"});
    layout.insert(layout.begin(), {".cur=curfile", "curfile", ".ico"});
    for (const std::string& line : layout)
        CreateClassesKey(line);
    SetCursorPos(320, 240);
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

// The text of the message box shown above the process's dialog within 10 s, which then ends.
std::string MessageText(DWORD dwProcessId)
{
    HWND hwndMessage = WaitForDialog(dwProcessId, 2);
    const std::string text = hwndMessage ? WindowText(GetDlgItem(hwndMessage, 0xFFFF)) : "<none>";
    SendMessageA(hwndMessage, WM_COMMAND, IDOK, 0);
    return text;
}

std::pair<LONG, LONG> Size(HWND hwnd)
{
    const RECT rc = WindowRect(hwnd);
    return std::make_pair(rc.right - rc.left, rc.bottom - rc.top);
}

// Neither registered: rows folded, the .ico row hidden, also once restored. In the bottom right
// corner, .cur's details unfold within the work area, every text fitting; Esc writes nothing.
void UnfoldInTheCorner(HWND hwnd)
{
    EXPECT_EQ("clear 詳細 >>: VV-------", Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ("clear 詳細 >>: hh-------", Row(hwnd, IDC_ICO_CHECK));
    EXPECT_TRUE(LiesInWorkArea(hwnd)) << "opened within the work area";
    SendMessageA(hwnd, WM_SYSCOMMAND, IDM_RESTORE_SETTINGS, 0);
    EXPECT_EQ("clear 詳細 >>: hh-------", Row(hwnd, IDC_ICO_CHECK)) << "restored";
    const std::pair<LONG, LONG> folded = Size(hwnd);
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    SetWindowPos(hwnd, nullptr, rcWork.right - folded.first, rcWork.bottom - folded.second, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    const LONG yOk = WindowRect(GetDlgItem(hwnd, IDOK)).top - WindowRect(hwnd).top;
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ("checked << 詳細: VVVVVVVVV", Row(hwnd, IDC_CUR_CHECK));
    const LONG dy = WindowRect(GetDlgItem(hwnd, IDC_CUR_GROUPBOX)).bottom -
                    WindowRect(GetDlgItem(hwnd, IDC_CUR_DETAILS)).bottom;
    EXPECT_EQ(std::make_pair(2 * folded.first, folded.second + dy), Size(hwnd)) << "unfolded";
    const RECT rc = WindowRect(hwnd);
    EXPECT_EQ(yOk + dy, WindowRect(GetDlgItem(hwnd, IDOK)).top - rc.top) << "OK moved down";
    EXPECT_EQ(std::make_pair(rcWork.right, rcWork.bottom), std::make_pair(rc.right, rc.bottom))
        << "unfolded in the bottom right corner";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "unfolded";
    SaveWindowBitmap(hwnd, "association-unfolded");
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(folded, Size(hwnd)) << "folded again";
    SetForegroundWindow(hwnd);
    PressKey(VK_ESCAPE);
}

TEST(AssociationDialogLayout, OpensFoldedAndUnfoldsTwiceAsWideWithinTheWorkArea)
{
    LayOut({});
    EXPECT_EQ(FALSE, RunModal(ShowAssociationDialog, UnfoldInTheCorner)) << "the result of Esc";
    EXPECT_EQ("<absent>", ReadClassesKey(KEYS[1])) << "after .cur was checked, then Esc";
}

// Only the left and right edges resize, and only in width while unfolded: the buttons move with
// the right edge, the edits and group boxes stretch. The background drags the window.
void Resize(HWND hwnd)
{
    const std::pair<LONG, LONG> folded = Size(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(folded, Size(hwnd)) << "folded, the size is fixed";
    const RECT rc = WindowRect(hwnd);
    std::vector<LRESULT> hits;  // the corners, the middles of the edges and the centre
    for (LONG y : {rc.top, (rc.top + rc.bottom) / 2, rc.bottom - 1})
        for (LONG x : {rc.left, (rc.left + rc.right) / 2, rc.right - 1})
            hits.push_back(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    const std::vector<LRESULT> EDGES = {HTLEFT,  HTBORDER, HTRIGHT,  HTLEFT, HTCAPTION,
                                        HTRIGHT, HTLEFT,   HTBORDER, HTRIGHT};
    EXPECT_EQ(EDGES, hits) << "10: left, 11: right, 18: border, 2: caption; by rows from the top";

    Click(hwnd, IDC_CUR_DETAILS);
    const std::pair<LONG, LONG> open = Size(hwnd);
    std::vector<HWND> windows = {hwnd};
    for (int id : {IDOK, IDCANCEL, IDC_CUR_DETAILS, IDC_ICO_DETAILS, IDC_CUR_CHECK,
                   IDC_CUR_LOCATION, IDC_CUR_MENU, IDC_CUR_COMMAND, IDC_CUR_GROUPBOX,
                   IDC_ICO_LOCATION, IDC_ICO_MENU, IDC_ICO_COMMAND, IDC_ICO_GROUPBOX})
        windows.push_back(GetDlgItem(hwnd, id));
    std::vector<RECT> before;
    for (HWND hwndMoved : windows)
        before.push_back(WindowRect(hwndMoved));
    ShowWindow(hwnd, SW_MINIMIZE);  // and restored, which moves nothing
    ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, 0, 0, open.first + 40, 900, SWP_NOMOVE | SWP_NOZORDER);
    std::string moves;
    for (size_t i = 0; i < windows.size(); ++i)
        moves += std::to_string(WindowRect(windows[i]).left - before[i].left) + "," +
                 std::to_string(WindowRect(windows[i]).right - before[i].right) + " ";
    // "left,right" moved: dialog, OK, Cancel, 2 details buttons, check box; edits and group boxes.
    EXPECT_EQ("0,40 40,40 40,40 40,40 40,40 0,0 0,40 0,40 0,40 0,40 0,40 0,40 0,40 0,40 ", moves);
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(open, Size(hwnd)) << "not narrower than unfolded, nor of another height";
    Click(hwnd, IDCANCEL);
}

TEST(AssociationDialogLayout, ResizesOnlyInWidthAtItsSidesAndDragsByItsBackground)
{
    LayOut({});
    EXPECT_EQ(FALSE, RunModal(ShowAssociationDialog, Resize)) << "the result (-1: left open)";
}

TEST(AtEachDpi, TheAssociationDialog)
{
    EXPECT_EQ("",
              DpisWhereTestsFail(
                  {"AssociationDialogLayout.OpensFoldedAndUnfoldsTwiceAsWideWithinTheWorkArea",
                   "AssociationDialogLayout.ResizesOnlyInWidthAtItsSidesAndDragsByItsBackground"}));
}

// The program's icon; the "登録先" field shows the verb's key. The system menu: restoring puts back
// check boxes and texts, open details staying open; About shows the About box.
void RestoreAndEdit(HWND hwnd)
{
    EXPECT_EQ("checked 詳細 >>: VVhhhhhhh", Row(hwnd, IDC_ICO_CHECK));
    EXPECT_NE(0, SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)) << "the program's icon";
    EXPECT_EQ("HKEY_CLASSES_ROOT\\curfile\\shell\\quorzel",
              WindowText(GetDlgItem(hwnd, IDC_CUR_LOCATION)));
    EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_CUR_LOCATION, EM_GETLIMITTEXT, 0, 0),
              SendDlgItemMessageA(hwnd, IDC_CUR_COMMAND, EM_GETLIMITTEXT, 0, 0))
        << "the command line's edit takes text as long as one with no limit set";
    HMENU hMenu = GetSystemMenu(hwnd, FALSE);
    std::string items;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        items += std::to_string(GetMenuItemID(hMenu, i)) + " ";
    EXPECT_NE(std::string::npos, items.find(" 61488 0 40005 40006 "))
        << items << ": after Maximize (61488), a separator, restoring and About";
    Click(hwnd, IDC_CUR_DETAILS);
    Click(hwnd, IDC_ICO_CHECK);
    SetDlgItemTextA(hwnd, IDC_CUR_MENU, "new");
    Click(hwnd, IDC_CUR_CHECK);
    EXPECT_EQ("clear << 詳細: VVvvvvvvv", Row(hwnd, IDC_CUR_CHECK));
    SendMessageA(hwnd, WM_SYSCOMMAND, IDM_RESTORE_SETTINGS, 0);
    EXPECT_EQ("checked << 詳細: VVVVVVVVV", Row(hwnd, IDC_CUR_CHECK)) << "restored";
    EXPECT_EQ("checked 詳細 >>: VVhhhhhhh", Row(hwnd, IDC_ICO_CHECK)) << "restored";
    PostMessageA(hwnd, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hwndAbout = WaitForDialog(GetCurrentProcessId(), 2);  // above the dialog
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

// .ico's file type read-only, .cur without a key: OK names each with its cause, as administrator.
void ConfirmWhatCannotBeChanged(HWND hwnd)
{
    SetDlgItemTextA(hwnd, IDC_ICO_MENU, "new");
    Click(hwnd, IDC_CUR_CHECK);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("*.ico の関連づけを変更できませんでした。\r\nアクセスが拒否されました。\r\n"
              "*.cur の関連づけを変更できませんでした。\r\n"
              "この拡張子はこのコンピューターに登録されていません。",
              MessageText(GetCurrentProcessId()));
    Click(hwnd, IDCANCEL);
}

TEST(AssociationDialog, NamesWhatOKCannotChangeAndWhyAndChangesNothing)
{
    LayOut({KEYS[2] + "=old", KEYS[3] + "=old", "read-only .ico"});
    DeleteClassesKeys({".cur"});
    EXPECT_EQ(FALSE, RunModal(ShowAssociationDialog, ConfirmWhatCannotBeChanged)) << "Cancel";
    EXPECT_EQ("old|old", ReadClassesKey(KEYS[2]) + "|" + ReadClassesKey(KEYS[3])) << ".ico after";
}

// quorzel.exe where an installer puts it, started as Explorer does (not elevated), and again. On
// a file type the user may only read, OK says so; once writable, it registers the default texts.
TEST(AssociationMode, RegistersTheVerbWithItsDefaultTextsOnceAtATime)
{
    LayOut({"read-only curfile"});
    CreateDirectoryA("C:\\Program Files\\quorzel", nullptr);
    const std::string program = "C:\\Program Files\\quorzel\\quorzel.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(QUORZEL_EXE).c_str(), program.c_str(), FALSE));
    EXPECT_NE(std::string::npos, FileText(program).find(">true</dpiAware>"))
        << "its manifest declares it aware of the system's DPI";
    HANDLE hToken = nullptr;  // started with the user's own rights, which this elevated user has
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken);
    TOKEN_LINKED_TOKEN user = {};
    DWORD cbUser = 0;
    GetTokenInformation(hToken, TokenLinkedToken, &user, sizeof user, &cbUser);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION first = {};
    std::string commandLine = "\"" + program + "\"";
    ASSERT_TRUE(CreateProcessAsUserA(user.LinkedToken, nullptr, &commandLine[0], nullptr, nullptr,
                                     FALSE, 0, nullptr, nullptr, &startup, &first));
    HWND hwnd = WaitForDialog(first.dwProcessId);
    EXPECT_NE(nullptr, hwnd) << "its dialog shown";
    EXPECT_EQ("argv[ 0]=" + program + "\r\nexit code 0", RunUnderDebugger(commandLine, "."))
        << "a second start ends at once (exit code 259: still running after a minute)";
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    SaveWindowBitmap(hwnd, "association-dialog");
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("*.cur の関連づけを変更できませんでした。\r\n"
              "変更するには、quorzel を管理者として実行してください。",
              MessageText(first.dwProcessId));
    CreateClassesKey("writable curfile");
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);  // a failure message would hold a sent click
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.hProcess, 10000)) << "ended by OK";
    TerminateProcess(first.hProcess, 1);  // one that has not ended: its mutex would stay
    for (HANDLE hHandle : {first.hProcess, first.hThread, user.LinkedToken, hToken})
        CloseHandle(hHandle);
    EXPECT_EQ("C++ コードの取得|\"" + program + "\" \"%1\"|<absent>|<absent>",
              ReadClassesKey(KEYS[0]) + "|" + ReadClassesKey(KEYS[1]) + "|" +
                  ReadClassesKey(KEYS[2]) + "|" + ReadClassesKey(".cur\\shell\\quorzel\\command"))
        << "the default texts, under the file type; nothing under the extension";
}

}  // namespace
