// The association dialog, run in this process (which carries the program's resources) and
// driven through its controls' messages from a second thread; and the built quorzel.exe started
// alone, whose verb the shell then runs. The registry of the build's prefix is read back.
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

const std::string CUR_VERB = "curfile\\shell\\quorzel";
const std::string ICO_VERB = ".ico\\shell\\quorzel";
// "表" and half of a second character, and how an edit shows them.
const std::string HALF = "\x95\x5C\x95";
const std::string HALF_SHOWN = "\x95\x5C\x81\x45";

std::string Repeat(const std::string& text, int nTimes)
{
    std::string repeated;
    while (nTimes-- > 0)
        repeated += text;
    return repeated;
}

const std::vector<std::string> BOTH = {CUR_VERB, CUR_VERB + "\\command", ICO_VERB,
                                       ICO_VERB + "\\command"};

// The keys' default values, each followed by "|".
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
const std::string HIDDEN = "clear 詳細 >>, shown 0/2; details shown 0/7, enabled 0/7";
const std::string CHECKED = "checked 詳細 >>, shown 2/2; details shown 0/7, enabled 7/7";
const std::string OPEN = "checked << 詳細, shown 2/2; details shown 7/7, enabled 7/7";

RECT Rect(HWND hwndDlg, int id)
{
    return WindowRect(id ? GetDlgItem(hwndDlg, id) : hwndDlg);
}

std::string Size(LONG cx, LONG cy)
{
    return std::to_string(cx) + " x " + std::to_string(cy);
}

std::string Size(HWND hwnd)
{
    const RECT rc = WindowRect(hwnd);
    return Size(rc.right - rc.left, rc.bottom - rc.top);
}

void SetSize(HWND hwnd, LONG cx, LONG cy)
{
    SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
}

void Click(HWND hwndDlg, int id)
{
    SendDlgItemMessageA(hwndDlg, id, BM_CLICK, 0, 0);
}

INT_PTR ShowDialog()
{
    return ShowAssociationDialog();
}

// Neither extension registered: the dialog folds, unfolds and resizes. The background drags it;
// only the left and right edges resize it.
void FoldUnfoldAndResize(HWND hwnd)
{
    EXPECT_EQ(CLEAR, Row(hwnd, IDC_CUR_CHECK));
    EXPECT_EQ(HIDDEN, Row(hwnd, IDC_ICO_CHECK));
    EXPECT_NE(0, SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)) << "the program's icon";
    EXPECT_TRUE(LiesInWorkArea(hwnd)) << "opened within the work area";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "folded";
    HMENU hMenu = GetSystemMenu(hwnd, FALSE);
    int nItem = 0;
    while (nItem < GetMenuItemCount(hMenu) && GetMenuItemID(hMenu, nItem) != SC_MAXIMIZE)
        ++nItem;
    std::string items;
    for (int i = 1; i <= 3; ++i)
        items += std::to_string(GetMenuItemID(hMenu, nItem + i)) + " ";
    EXPECT_EQ("0 40005 40006 ", items) << "after Maximize: a separator, restoring, About";

    // In the bottom right corner of the work area, where it must unfold within the work area.
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    const RECT rcStart = Rect(hwnd, 0);
    SetWindowPos(hwnd, nullptr, rcWork.right - (rcStart.right - rcStart.left),
                 rcWork.bottom - (rcStart.bottom - rcStart.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT rc = Rect(hwnd, 0);
    const RECT rcOk = Rect(hwnd, IDOK);
    const LONG x = (rc.left + rc.right) / 2;
    const LONG y = (rc.top + rc.bottom) / 2;
    const LONG right = rc.right - 1;
    const LONG bottom = rc.bottom - 1;
    const struct
    {
        LONG x, y;
        LRESULT nExpected;
    } HITS[] = {{rcOk.left - 3, rcOk.top + 3, HTCAPTION},
                {x, rc.top, HTBORDER},
                {x, bottom, HTBORDER},
                {rc.left, y, HTLEFT},
                {rc.left, rc.top, HTLEFT},
                {rc.left, bottom, HTLEFT},
                {right, y, HTRIGHT},
                {right, rc.top, HTRIGHT},
                {right, bottom, HTRIGHT}};
    for (const auto& hit : HITS)
        EXPECT_EQ(hit.nExpected, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(hit.x, hit.y)))
            << "the hit test at " << hit.x - rc.left << ", " << hit.y - rc.top;
    const std::string folded = Size(hwnd);
    SetSize(hwnd, rc.right - rc.left + 60, rc.bottom - rc.top + 40);
    EXPECT_EQ(folded, Size(hwnd)) << "folded, the size is fixed";

    Click(hwnd, IDC_CUR_CHECK);
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(OPEN, Row(hwnd, IDC_CUR_CHECK));
    // The details add the group box's bottom less the button's: the template's top and height
    // of each, in pixels.
    RECT rcGroup = {0, 25, 0, 70};
    RECT rcButton = {0, 7, 0, 14};
    MapDialogRect(hwnd, &rcGroup);
    MapDialogRect(hwnd, &rcButton);
    const LONG dy = rcGroup.top + rcGroup.bottom - rcButton.top - rcButton.bottom;
    const LONG cxOpen = 2 * (rc.right - rc.left);
    const LONG cyOpen = rc.bottom - rc.top + dy;
    EXPECT_EQ(Size(cxOpen, cyOpen), Size(hwnd)) << "unfolded: twice as wide, taller by the details";
    EXPECT_EQ(rcOk.top - rc.top + dy, Rect(hwnd, IDOK).top - Rect(hwnd, 0).top) << "OK moved down";
    EXPECT_EQ(rcWork.right, Rect(hwnd, 0).right) << "unfolded within the work area";
    EXPECT_EQ(rcWork.bottom, Rect(hwnd, 0).bottom) << "unfolded within the work area";
    SaveWindowBitmap(hwnd, "association-unfolded");
    EXPECT_EQ("", TextsThatDoNotFit(hwnd)) << "unfolded";

    // Minimized and restored (a minimized size moves nothing), then wider by 40: how far the
    // left and right edges move, of the window, OK, Cancel, the details buttons, the check box,
    // the edits and the group boxes.
    const std::vector<int> ids({0, IDOK, IDCANCEL, IDC_CUR_DETAILS, IDC_ICO_DETAILS, IDC_CUR_CHECK,
                                IDC_CUR_LOCATION, IDC_CUR_MENU, IDC_CUR_COMMAND, IDC_CUR_GROUPBOX,
                                IDC_ICO_LOCATION, IDC_ICO_MENU, IDC_ICO_COMMAND, IDC_ICO_GROUPBOX});
    std::vector<RECT> before;
    for (int id : ids)
        before.push_back(Rect(hwnd, id));
    ShowWindow(hwnd, SW_MINIMIZE);
    ShowWindow(hwnd, SW_RESTORE);
    SetSize(hwnd, cxOpen + 40, cyOpen + 30);
    std::string moves;
    for (size_t i = 0; i < before.size(); ++i)
        moves += std::to_string(Rect(hwnd, ids[i]).left - before[i].left) + "," +
                 std::to_string(Rect(hwnd, ids[i]).right - before[i].right) + " ";
    EXPECT_EQ("0,40 40,40 40,40 40,40 40,40 0,0 0,40 0,40 0,40 0,40 0,40 0,40 0,40 0,40 ", moves);
    SetSize(hwnd, cxOpen - 100, cyOpen);
    EXPECT_EQ(Size(cxOpen, cyOpen), Size(hwnd)) << "not narrower than twice the initial width";
    Click(hwnd, IDC_CUR_DETAILS);
    EXPECT_EQ(folded, Size(hwnd)) << "folded again";
    EXPECT_EQ(rcOk.top - rc.top, Rect(hwnd, IDOK).top - Rect(hwnd, 0).top)
        << "OK back in its place";
}

TEST(AssociationDialog, FoldsUnfoldsAndResizesOnlyInWidth)
{
    LayOut({});
    RunModal(ShowDialog, FoldUnfoldAndResize);
}

TEST(AtEachDpi, TheDialogFoldsUnfoldsAndResizes)
{
    for (DWORD dwDpi : {144u, 192u})
    {
        const std::string filter = "AssociationDialog.FoldsUnfoldsAndResizesOnlyInWidth";
        EXPECT_EQ(0u, RunThisProgramAtDpi(dwDpi, filter)) << "at " << dwDpi << " DPI: see above";
    }
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
    EXPECT_EQ(HALF_SHOWN, Text(hwnd, IDC_CUR_MENU)) << "restored";
    PostMessageA(hwnd, WM_SYSCOMMAND, IDM_ABOUT, 0);
    HWND hwndAbout = WaitForDialog(GetCurrentProcessId(), 2);
    EXPECT_NE(nullptr, hwndAbout) << "the About box shown";
    SendMessageA(hwndAbout, WM_COMMAND, IDCANCEL, 0);
    Click(hwnd, IDOK);
}

// Both registered with REG_BINARY values, which the program never writes: a rewrite shows even
// where the text stays the same. The ".cur" menu text ends in half a character, which its edit
// shows otherwise. Esc and an OK without a change write nothing; an edit rewrites its value
// alone, cut between characters where it does not fit.
TEST(AssociationDialog, RestoresAndWritesOnlyWhatChanged)
{
    LayOut({BOTH[0] + "=binary:" + HALF, BOTH[1] + "=binary:old", BOTH[2] + "=binary:old",
            BOTH[3] + "=binary:old"});
    const auto editAndEscape = [](HWND hwnd) {
        Click(hwnd, IDC_CUR_CHECK);
        SetDlgItemTextA(hwnd, IDC_ICO_COMMAND, "x");
        SetForegroundWindow(hwnd);
        PressKeys({VK_ESCAPE});
    };
    EXPECT_EQ(FALSE, RunModal(ShowDialog, editAndEscape)) << "the result of Esc (-1: none)";
    EXPECT_EQ(TRUE, RunModal(ShowDialog, EditRestoreAndConfirm)) << "the result: OK";
    const std::string unchanged = "binary:" + HALF + "|binary:old|binary:old|binary:old|";
    EXPECT_EQ(unchanged, Values(BOTH)) << "nothing written";
    const auto editTwoTexts = [](HWND hwnd) {
        SetDlgItemTextA(hwnd, IDC_CUR_COMMAND, "old x");
        SetDlgItemTextA(hwnd, IDC_ICO_MENU, Repeat("表", 16400).c_str());
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(TRUE, RunModal(ShowDialog, editTwoTexts)) << "the result: OK";
    EXPECT_EQ("binary:" + HALF + "|old x|", Values({BOTH[0], BOTH[1]}))
        << "the .cur command edited";
    EXPECT_EQ(Repeat("表", 16383), ReadClassesKey(BOTH[2]))
        << "32,800 bytes, cut between characters";
    const auto removeBoth = [](HWND hwnd) {
        Click(hwnd, IDC_CUR_CHECK);
        Click(hwnd, IDC_ICO_CHECK);
        Click(hwnd, IDOK);
    };
    EXPECT_EQ(TRUE, RunModal(ShowDialog, removeBoth)) << "the result: OK";
    EXPECT_EQ("<absent>|<absent>|<no value>|", Values({BOTH[0], BOTH[2], "curfile\\shell"}))
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
    EXPECT_EQ("<absent>|", Values({CUR_VERB}));
    DeleteClassesKeys({"curfile"});
}

// quorzel.exe started from where an installer puts it, and a second time while the first shows
// its dialog. The shell then runs the verb on a cursor, as Explorer does.
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
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(processes[1].hProcess, 10000)) << "the second";
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
        TerminateProcess(process.hProcess, 255);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    HMODULE hProgram = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hManifest =
        FindResourceA(hProgram, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    const char* pManifest =
        static_cast<const char*>(LockResource(LoadResource(hProgram, hManifest)));
    const std::string manifest(pManifest, SizeofResource(hProgram, hManifest));
    EXPECT_NE(std::string::npos, manifest.find(">true</dpiAware>")) << "aware of the system's DPI";
    FreeLibrary(hProgram);
    EXPECT_EQ("C++ コードの取得|\"" + program + "\" \"%1\"|<absent>|<absent>|",
              Values({BOTH[0], BOTH[1], BOTH[2], ".cur\\shell"}))
        << "the default texts, under the file type; nothing under the extension";

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
