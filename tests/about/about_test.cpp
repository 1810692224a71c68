// The About box under Wine, driven like a user: its texts from this program's
// version resource (the program's own) and from probes with their own, the
// fitted layout, a single box, dragging, the link's looks, click and keys.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "support/modaldriver.h"

namespace {

const AboutBoxInfo INFO = {SUPPORT_SITE_URL};
const COLORREF RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255);

std::string Text(HWND hWnd)
{
    char szText[1024] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

int Width(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc.right - rc.left;
}

// Runs the box as ShowAboutDialog does and gives its result; drive gets the open box.
INT_PTR RunAboutBox(const AboutBoxInfo* pInfo, std::function<void(HWND)> drive)
{
    void* pTemplate = BuildAboutTemplate();
    AboutDialogData data = {nullptr, nullptr, pInfo};
    const INT_PTR nResult = RunWhileDriving([&] {
        HWND hwnd = WaitForDialog();
        drive(hwnd);
        for (int i = 0; i < 50 && IsWindow(hwnd); ++i)
            Sleep(20);
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);  // a box left open ends with 2
    }, [&] {
        return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                                       AboutDialogProc, reinterpret_cast<LPARAM>(&data));
    });
    g_hwndAboutDialog = nullptr;
    free(pTemplate);
    return nResult;
}

TEST(AboutBox, ShowsOwnVersionWithLinesFittedToTheirFontsAndOKCentred)
{
    InitCommonControls();
    std::string title, texts[3], tip;
    int widths[3], expected[3], nLargestGrowth = 0, nClientWidth = 0, nExpectedClient = 0, nOKLeft = 0, nOKTarget = 0;
    LOGFONTA linkFont = {};
    RunWhileDriving([&] {
        HWND hwnd = WaitForDialog();
        RECT rcUnits = {0, 0, 38, 1}, rcLine = {0, 0, 1, 1}, rcClient, rcOK, rcDlg;
        MapDialogRect(hwnd, &rcUnits);
        MapDialogRect(hwnd, &rcLine);
        for (int i = 0; i < 3; ++i) {
            HWND hwndLine = GetDlgItem(hwnd, IDC_ABOUT_VERSION + i);
            texts[i] = Text(hwndLine);
            HDC hdc = GetDC(hwndLine);
            SelectObject(hdc, HFONT(SendMessageA(hwndLine, WM_GETFONT, 0, 0)));
            SIZE size;
            GetTextExtentPoint32A(hdc, texts[i].c_str(), int(texts[i].size()), &size);
            ReleaseDC(hwndLine, hdc);
            widths[i] = Width(hwndLine), expected[i] = std::max<int>(rcLine.right, size.cx);
            nLargestGrowth = std::max<int>(nLargestGrowth, expected[i] - rcLine.right);
        }
        GetObjectA(HFONT(SendDlgItemMessageA(hwnd, IDC_ABOUT_LINK, WM_GETFONT, 0, 0)), sizeof linkFont, &linkFont);
        GetClientRect(hwnd, &rcClient), GetWindowRect(GetDlgItem(hwnd, IDOK), &rcOK), GetWindowRect(hwnd, &rcDlg);
        title = Text(hwnd), nClientWidth = rcClient.right, nExpectedClient = rcUnits.right + nLargestGrowth;
        nOKLeft = rcOK.left - rcDlg.left, nOKTarget = (Width(hwnd) - Width(GetDlgItem(hwnd, IDOK))) / 2;
        HWND hwndTip = nullptr;
        while ((hwndTip = FindWindowExA(nullptr, hwndTip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(hwndTip, GW_OWNER) != hwnd) {}
        char szTip[64] = "";
        TOOLINFOA info = {TTTOOLINFOA_V1_SIZE, 0, hwnd, UINT_PTR(GetDlgItem(hwnd, IDC_ABOUT_LINK))};
        info.lpszText = szTip;
        SendMessageA(hwndTip, TTM_GETTEXTA, sizeof szTip, reinterpret_cast<LPARAM>(&info));
        tip = szTip;
        SetCursorPos(0, 0), Sleep(300), SaveWindowBitmap(hwnd, "about_box.bmp");  // painted, no pointer
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    }, [&] { return ShowAboutDialog(nullptr, &INFO); });
    EXPECT_EQ(SUPPORT_SITE_URL, texts[1]);
    EXPECT_EQ("", texts[2]) << "no rsrc32.dll here";
    EXPECT_EQ(1, linkFont.lfUnderline) << "the link measured and drawn in its underlined font";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(expected[i], widths[i]) << "line " << IDC_ABOUT_VERSION + i << " \"" << texts[i] << "\"";
    EXPECT_GT(nLargestGrowth, 0);
    EXPECT_EQ(nExpectedClient, nClientWidth) << "the dialog grows by the largest growth";
    EXPECT_EQ(nOKTarget, nOKLeft) << "OK centred";
    EXPECT_EQ("サポートサイトへ", tip);
}

bool g_fSecondReturned = false;

void CALLBACK RequestSecondBox(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    KillTimer(nullptr, idTimer);
    g_fSecondReturned = ShowAboutDialog(nullptr, &INFO);
}

TEST(AboutBox, SecondRequestMakesNoSecondBox)
{
    SetTimer(nullptr, 0, 200, RequestSecondBox);
    size_t nBoxes = 0;
    RunWhileDriving([&] {
        Sleep(WaitForDialog() ? 800 : 0);
        nBoxes = FindDialogs(GetCurrentProcessId()).size();
        for (HWND hwnd : FindDialogs(GetCurrentProcessId()))
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    }, [&] { return ShowAboutDialog(nullptr, &INFO); });
    EXPECT_TRUE(g_fSecondReturned) << "the second request returns at once";
    EXPECT_EQ(1u, nBoxes);
}

TEST(AboutBox, DragsByItsFaceButNotByTheLinkOrOK)
{
    const struct { const char* name; int id; bool fMoves; } CASES[] = {
        {"background", 0, true}, {"icon", IDC_ABOUT_ICON, true}, {"link", IDC_ABOUT_LINK, false}, {"OK", IDOK, false}};
    for (const auto& test : CASES) {
        RECT rcBefore = {}, rcAfter = {};
        RunAboutBox(&INFO, [&](HWND hwnd) {
            POINT pt = {4, 4};  // above the icon, left of the lines
            ClientToScreen(hwnd, &pt);
            pt = test.id ? WindowCenter(GetDlgItem(hwnd, test.id)) : pt;
            GetWindowRect(hwnd, &rcBefore);
            DragMouse(pt, {pt.x + 30, pt.y + 20});
            GetWindowRect(hwnd, &rcAfter);
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(test.fMoves ? 20 : 0, rcAfter.top - rcBefore.top) << test.name;
    }
}

TEST(AboutBox, LinkTurnsRedUnderTheMouseAndBlueAfter)
{
    bool fRedHot = false, fBlueHot = true, fRedLeft = true, fBlueLeft = false;
    RunAboutBox(&INFO, [&](HWND hwnd) {
        HWND hwndLink = GetDlgItem(hwnd, IDC_ABOUT_LINK);
        MoveMouseTo(WindowCenter(hwndLink));
        Sleep(300);
        const Screenshot hot = TakeScreenshot(hwndLink);
        MoveMouseTo({WindowCenter(hwndLink).x, WindowCenter(GetDlgItem(hwnd, IDOK)).y});
        Sleep(300);
        const Screenshot left = TakeScreenshot(hwndLink);
        fRedHot = hot.Has(RED), fBlueHot = hot.Has(BLUE), fRedLeft = left.Has(RED), fBlueLeft = left.Has(BLUE);
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(fRedHot && !fBlueHot) << "under the mouse: red " << fRedHot << ", blue " << fBlueHot;
    EXPECT_TRUE(!fRedLeft && fBlueLeft) << "after leaving: red " << fRedLeft << ", blue " << fBlueLeft;
}

TEST(AboutBox, EndsWithOneOnEnterAndLinkAndTwoOnEsc)
{
    // A URL scheme of the test's own, whose command records the URL it gets.
    char szRecord[MAX_PATH];
    GetFullPathNameA("link_opened.txt", sizeof szRecord, szRecord, nullptr);
    DeleteFileA(szRecord);
    const std::string command = "cmd.exe /c echo %1> \"" + std::string(szRecord) + "\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "quorzel-test", REG_SZ, "URL:quorzel-test", 0);
    RegSetValueA(HKEY_CLASSES_ROOT, "quorzel-test\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    HKEY hKey;
    RegOpenKeyA(HKEY_CLASSES_ROOT, "quorzel-test", &hKey);
    RegSetValueExA(hKey, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(hKey);
    const AboutBoxInfo testLink = {"quorzel-test:about"};
    const struct { const char* name; BYTE key; INT_PTR nResult; } CASES[] = {
        {"Enter", VK_RETURN, IDOK}, {"Esc", VK_ESCAPE, IDCANCEL}, {"link click", 0, IDOK}};
    for (const auto& test : CASES)
        EXPECT_EQ(test.nResult, RunAboutBox(&testLink, [&](HWND hwnd) {
            if (test.key)
                keybd_event(test.key, 0, 0, 0), keybd_event(test.key, 0, KEYEVENTF_KEYUP, 0);
            else
                DragMouse(WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)), WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        })) << test.name;
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i, Sleep(100))
        std::getline(std::ifstream(szRecord), recorded);
    EXPECT_EQ("quorzel-test:about", recorded.substr(0, recorded.find_last_not_of(" \r") + 1));
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "quorzel-test");
}

TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    const struct { const char* probe; std::string title, line; } CASES[] = {
        {"about_probe_program.exe", "quorzel について", "quorzel ver. 0.02"},
        {"about_probe_description.exe", "Described について", "Described ver. 1.5"},
        {"about_probe_long.exe", std::string(520, 'N'), std::string(520, 'N')},
        {"about_probe_bare.exe", "", ""}};
    for (const auto& test : CASES) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        char szCommand[MAX_PATH];
        lstrcpyA(szCommand, test.probe);
        ASSERT_TRUE(CreateProcessA(nullptr, szCommand, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        HWND hwnd = WaitForDialog(process.dwProcessId);
        EXPECT_EQ(test.title, Text(hwnd)) << test.probe;
        EXPECT_EQ(test.line, Text(GetDlgItem(hwnd, IDC_ABOUT_VERSION))) << test.probe;
        EXPECT_EQ(SUPPORT_SITE_URL, Text(GetDlgItem(hwnd, IDC_ABOUT_LINK))) << test.probe;
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000)) << test.probe;
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
}

}  // namespace
