// The association dialog run in this process, which has the program's resources, and driven
// from a second thread; and quorzel.exe started alone, whose verb the shell then runs.
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
const std::string HALF = "\x95\x5C\x95";  // "表" and half a character; an edit shows "表・"

// The default values of the keys, each followed by "|".
std::string Values(const std::vector<std::string>& keys)
{
    std::string values;
    for (const std::string& key : keys)
        values += ReadClassesKey(key) + "|";
    return values;
}

std::string Text(HWND hwndDlg, int id)
{
    return WindowText(GetDlgItem(hwndDlg, id));
}

// How many of the controls pass the test, as "n/all".
std::string Count(HWND hwndDlg, std::initializer_list<int> ids, BOOL(WINAPI* test)(HWND))
{
    int nPassed = 0;
    for (int id : ids)
        nPassed += test(GetDlgItem(hwndDlg, id)) != FALSE;
    return std::to_string(nPassed) + "/" + std::to_string(ids.size());
}

// A row by its check box: checked or clear, the details button's text, how many of the check box
// and the button are shown, and how many of the seven details are shown and enabled.
std::string Row(HWND hwndDlg, int idCheck)
{
    const std::initializer_list<int> details = {idCheck + 1, idCheck + 2,  idCheck + 3,
                                                idCheck + 4, idCheck + 22, idCheck + 23,
                                                idCheck + 24};
    return std::string(IsDlgButtonChecked(hwndDlg, idCheck) ? "checked " : "clear ") +
           Text(hwndDlg, idCheck + 6) + ", shown " +
           Count(hwndDlg, {idCheck, idCheck + 6}, IsWindowVisible) + "; details shown " +
           Count(hwndDlg, details, IsWindowVisible) + ", enabled " +
           Count(hwndDlg, details, IsWindowEnabled);
}

const std::string CLEAR = "clear 詳細 >>, shown 2/2; details shown 0/7, enabled 0/7";
const std::string CHECKED = "checked 詳細 >>, shown 2/2; details shown 0/7, enabled 7/7";
const std::string OPEN = "checked << 詳細, shown 2/2; details shown 7/7, enabled 7/7";

// The window's size, or its change, as "width x height".
std::string Size(HWND hwnd, LONG cxChange = 0, LONG cyChange = 0)
{
    const RECT rc = WindowRect(hwnd);
    return std::to_string(rc.right - rc.left + cxChange) + " x " +
           std::to_string(rc.bottom - rc.top + cyChange);
}

// A control's top relative to the window's.
LONG Top(HWND hwndDlg, int id)
{
    return WindowRect(GetDlgItem(hwndDlg, id)).top - WindowRect(hwndDlg).top;
}

void Click(HWND hwndDlg, int id)
{
    SendDlgItemMessageA(hwndDlg, id, BM_CLICK, 0, 0);
}

INT_PTR ShowDialog()
{
    return ShowAssociationDialog();
}

// Neither extension registered: its system menu, where the mouse moves and resizes it, and how
// it folds, unfolds and resizes in the work area's bottom right corner. The details add the
// group box's bottom less the button's: the template's top and height of each, in pixels.
void FoldUnfoldAndResize(HWND hwnd)
{
    EXPECT_EQ(CLEAR, Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ("clear 詳細 >>, shown 0/2; details shown 0/7, enabled 0/7", Row(hwnd, IDC_ICO_CHECK));
    EXPECT_NE(0, SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)) << "the program's icon";
    EXPECT_TRUE(LiesInWorkArea(hwnd)) << "opened within the work area";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "folded";
    HMENU hMenu = GetSystemMenu(hwnd, FALSE);
    int nItem = 0;
    while (nItem < GetMenuItemCount(hMenu) && GetMenuItemID(hMenu, nItem) != SC_MAXIMIZE)
        ++nItem;
    const std::string items = std::to_string(GetMenuItemID(hMenu, nItem + 1)) + " " +
                              std::to_string(GetMenuItemID(hMenu, nItem + 2)) + " " +
                              std::to_string(GetMenuItemID(hMenu, nItem + 3));
    EXPECT_EQ("0 40005 40006", items) << "after Maximize: a separator, restoring, About";
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    const RECT rcOpened = WindowRect(hwnd);
    SetWindowPos(hwnd, nullptr, rcWork.right - (rcOpened.right - rcOpened.left),
                 rcWork.bottom - (rcOpened.bottom - rcOpened.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT rc = WindowRect(hwnd);
    std::string hits;
    for (LONG y : {rc.top, (rc.top + rc.bottom) / 2, rc.bottom - 1})
        for (LONG x : {rc.left, (rc.left + rc.right) / 2, rc.right - 1})
            hits += std::to_string(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y))) + " ";
    EXPECT_EQ("10 18 11 10 2 11 10 18 11 ", hits)
        << "from the top left: left, border, right, caption";
    const std::string folded = Size(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(folded, Size(hwnd)) << "folded, the size is fixed";

    const LONG yOk = Top(hwnd, IDOK);
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(OPEN, Row(hwnd, IDC_CUR_CHECK));
    RECT rcGroup = {0, 25, 0, 70};
    RECT rcButton = {0, 7, 0, 14};
    MapDialogRect(hwnd, &rcGroup);
    MapDialogRect(hwnd, &rcButton);
    const LONG dy = rcGroup.top + rcGroup.bottom - rcButton.top - rcButton.bottom;
    const std::string open = Size(hwnd);
    EXPECT_EQ(std::to_string(2 * (rc.right - rc.left)) + " x " +
                  std::to_string(rc.bottom - rc.top + dy),
              open)
        << "unfolded: twice as wide, taller by the details";
    EXPECT_EQ(yOk + dy, Top(hwnd, IDOK)) << "OK moved down";
    EXPECT_EQ(rcWork.right, WindowRect(hwnd).right) << "unfolded within the work area";
    EXPECT_EQ(rcWork.bottom, WindowRect(hwnd).bottom) << "unfolded within the work area";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "unfolded";
    SaveWindowBitmap(hwnd, "association-unfolded");

    // Minimized and restored (a minimized size moves nothing), then wider by 40: how far the
    // left and right edges move, of the window, OK, Cancel, the details buttons, the check box,
    // the edits and the group boxes.
    const std::vector<int> ids({0, IDOK, IDCANCEL, IDC_CUR_DETAILS, IDC_ICO_DETAILS, IDC_CUR_CHECK,
                                IDC_CUR_LOCATION, IDC_CUR_MENU, IDC_CUR_COMMAND, IDC_CUR_GROUPBOX,
                                IDC_ICO_LOCATION, IDC_ICO_MENU, IDC_ICO_COMMAND, IDC_ICO_GROUPBOX});
    std::vector<RECT> before;
    for (int id : ids)
        before.push_back(WindowRect(id ? GetDlgItem(hwnd, id) : hwnd));
    ShowWindow(hwnd, SW_MINIMIZE);
    ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, 0, 0, 2 * (rc.right - rc.left) + 40, 900,
                 SWP_NOMOVE | SWP_NOZORDER);
    std::string moves;
    for (size_t i = 0; i < before.size(); ++i)
    {
        const RECT rcNow = WindowRect(ids[i] ? GetDlgItem(hwnd, ids[i]) : hwnd);
        moves += std::to_string(rcNow.left - before[i].left) + "," +
                 std::to_string(rcNow.right - before[i].right) + " ";
    }
    EXPECT_EQ("0,40 40,40 40,40 40,40 40,40 0,0 0,40 0,40 0,40 0,40 0,40 0,40 0,40 0,40 ", moves);
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(open, Size(hwnd)) << "not narrower than twice the initial width";
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(folded, Size(hwnd)) << "folded again";
    EXPECT_EQ(yOk, Top(hwnd, IDOK)) << "OK back in its place";
}

TEST(AssociationDialog, FoldsUnfoldsAndResizesOnlyInWidth)
{
    LayOut({});
    RunModal(ShowDialog, FoldUnfoldAndResize);
}

TEST(AtEachDpi, TheDialogFoldsUnfoldsAndResizes)
{
    for (DWORD dwDpi : {144u, 192u})
        EXPECT_EQ(0u, RunThisProgramAtDpi(dwDpi, "AssociationDialog.Folds*"))
            << dwDpi << " DPI: see above";
}

// Restoring puts back the check boxes and texts; open details stay open. The About box comes
// from the system menu.
void EditRestoreAndConfirm(HWND hwnd)
{
    EXPECT_EQ(CHECKED, Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ(CHECKED, Row(hwnd, IDC_ICO_CHECK));
    Click(hwnd, IDC_CUR_DETAILS);
    Click(hwnd, IDC_ICO_CHECK);
    SetDlgItemTextA(hwnd, IDC_CUR_MENU, "new");
    Click(hwnd, IDC_CUR_CHECK);
    EXPECT_EQ("clear << 詳細, shown 2/2; details shown 7/7, enabled 0/7", Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ(CLEAR, Row(hwnd, IDC_ICO_CHECK));
    SendMessageA(hwnd, WM_SYSCOMMAND, IDM_RESTORE_SETTINGS, 0);
    EXPECT_EQ(OPEN, Row(hwnd, IDC_CUR_CHECK)) << "restored";
    EXPECT_EQ(CHECKED, Row(hwnd, IDC_ICO_CHECK)) << "restored";
    EXPECT_EQ("\x95\x5C\x81\x45", Text(hwnd, IDC_CUR_MENU)) << "restored, as the edit shows it";
    PostMessageA(hwnd, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hwndAbout = WaitForDialog(GetCurrentProcessId(), 2);
    EXPECT_NE(nullptr, hwndAbout) << "the About box shown";
    SendMessageA(hwndAbout, WM_COMMAND, IDCANCEL, 0);
    Click(hwnd, IDOK);
}

// Both registered with REG_BINARY values, which the program never writes: a rewrite shows even
// where the text stays the same. Esc and an OK without a change write nothing; an edit rewrites
// its value alone, cut between characters where it does not fit.
TEST(AssociationDialog, RestoresAndWritesOnlyWhatChanged)
{
    LayOut({KEYS[0] + "=binary:" + HALF, KEYS[1] + "=binary:old", KEYS[2] + "=binary:old",
            KEYS[3] + "=binary:old"});
    const auto editAndEscape = [](HWND hwnd) {
        Click(hwnd, IDC_CUR_CHECK);
        SetDlgItemTextA(hwnd, IDC_ICO_COMMAND, "x");
        SetForegroundWindow(hwnd);
        PressKeys({VK_ESCAPE});
    };
    EXPECT_EQ(FALSE, RunModal(ShowDialog, editAndEscape)) << "the result of Esc (-1: none)";
    EXPECT_EQ(TRUE, RunModal(ShowDialog, EditRestoreAndConfirm)) << "the result: OK";
    EXPECT_EQ("binary:" + HALF + "|binary:old|binary:old|binary:old|", Values(KEYS))
        << "nothing written";
    static std::string s_longMenu;
    while (s_longMenu.size() < 32800)
        s_longMenu += "表";
    const auto editTwoTexts = [](HWND hwnd) {
        SetDlgItemTextA(hwnd, IDC_CUR_COMMAND, "old x");
        SetDlgItemTextA(hwnd, IDC_ICO_MENU, s_longMenu.c_str());
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(TRUE, RunModal(ShowDialog, editTwoTexts)) << "the result: OK";
    EXPECT_EQ("binary:" + HALF + "|old x|", Values({KEYS[0], KEYS[1]}))
        << "the .cur command edited";
    EXPECT_EQ(s_longMenu.substr(0, 32766), ReadClassesKey(KEYS[2])) << "cut between characters";
    const auto removeBoth = [](HWND hwnd) {
        Click(hwnd, IDC_CUR_CHECK);
        Click(hwnd, IDC_ICO_CHECK);
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(TRUE, RunModal(ShowDialog, removeBoth)) << "the result: OK";
    EXPECT_EQ("<absent>|<absent>|<no value>|", Values({KEYS[0], KEYS[2], "curfile\\shell"}))
        << "both removed; shell stays";
}

// A file type that the user may only read: OK says which extension it could not change, and
// the dialog stays open.
TEST(AssociationDialog, SaysWhatItCouldNotChange)
{
    LayOut({"read-only curfile"});
    const INT_PTR nResult = RunModal(ShowDialog, [](HWND hwnd) {
        Click(hwnd, IDC_CUR_CHECK);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        HWND hwndMessage = WaitForDialog(GetCurrentProcessId(), 2);
        EXPECT_EQ("*.cur の関連づけを変更できませんでした。\r\n"
                  "変更するには、quorzel を管理者として実行してください。",
                  Text(hwndMessage, 0xFFFF));
        SendMessageA(hwndMessage, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(hwnd)) << "the dialog, after the message";
    });
    EXPECT_EQ(-1, nResult) << "the dialog's result: -1, still open after its OK";
    EXPECT_EQ("<absent>|", Values({KEYS[0]}));
    DeleteClassesKeys({"curfile"});
}

// quorzel.exe started from where an installer puts it, and a second time while the first shows
// its dialog; then the shell runs the verb on a cursor, as Explorer does.
TEST(AssociationMode, RegistersTheVerbWithItsDefaultTextsOnceAtATime)
{
    LayOut({});
    CreateDirectoryA("C:\\Program Files\\quorzel", nullptr);
    const std::string program = "C:\\Program Files\\quorzel\\quorzel.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(QUORZEL_EXE).c_str(), program.c_str(), FALSE));
    PROCESS_INFORMATION processes[2] = {};
    for (PROCESS_INFORMATION& process : processes)
    {
        STARTUPINFOA startup = {sizeof startup};
        std::string commandLine = "\"" + program + "\"";
        SetCursorPos(320, 280);  // where the dialog unfolds within the screen
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForDialog(processes[0].dwProcessId);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(processes[1].hProcess, 10000))
        << "the second's end";
    HWND hwnd = WaitForDialog(processes[0].dwProcessId);
    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    SaveWindowBitmap(hwnd, "association-dialog");
    Click(hwnd, IDOK);
    for (PROCESS_INFORMATION& process : processes)
    {
        DWORD dwExitCode = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, 10000);
        GetExitCodeProcess(process.hProcess, &dwExitCode);
        EXPECT_EQ(0u, dwExitCode) << "each start's exit code";
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    EXPECT_EQ("C++ コードの取得|\"" + program + "\" \"%1\"|<absent>|<absent>|",
              Values({KEYS[0], KEYS[1], KEYS[2], ".cur\\shell"}))
        << "the default texts, under the file type; nothing under the extension";
    HMODULE hProgram = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hManifest =
        FindResourceA(hProgram, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    const char* pManifest =
        static_cast<const char*>(LockResource(LoadResource(hProgram, hManifest)));
    EXPECT_NE(nullptr, strstr(pManifest, ">true</dpiAware>")) << "aware of the system's DPI";
    FreeLibrary(hProgram);

    ASSERT_TRUE(CopyFileA(WindowsPath(SAMPLES_DIR "/hand32.cur").c_str(), "assoc hand.cur", FALSE));
    DeleteFileA("assoc hand.cpp");
    SHELLEXECUTEINFOA info = {sizeof info, SEE_MASK_NOCLOSEPROCESS, nullptr, "quorzel",
                              "assoc hand.cur"};
    ASSERT_TRUE(ShellExecuteExA(&info)) << "the verb run";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 30000)) << "the conversion's end";
    CloseHandle(info.hProcess);
    EXPECT_EQ(FileText(WindowsPath(HAND32_CPP)), FileText("assoc hand.cpp")) << "the text written";
}

}  // namespace
