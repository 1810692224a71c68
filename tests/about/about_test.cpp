// The About box under Wine, driven like a user: its texts from the version
// resource of the program it runs in, the fitted layout, one box at a time,
// dragging, the link's looks and click, the keys that end it, a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "support/modaldriver.h"

namespace {

const AboutBoxInfo INFO = {SUPPORT_SITE_URL};

std::string Text(HWND hWnd)
{
    char szText[1024] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// Runs the box as ShowAboutDialog does, with drive acting on the open box, and
// gives the box's result; a box that drive leaves open is cancelled (2).
INT_PTR RunAboutBox(const AboutBoxInfo* pInfo, std::function<void(HWND)> drive)
{
    void* pTemplate = BuildAboutTemplate();
    AboutDialogData data = {nullptr, nullptr, pInfo};
    const INT_PTR nResult = RunWhileDriving([&] {
        HWND hwnd = WaitForDialog();
        drive(hwnd);
        for (int i = 0; i < 50 && IsWindow(hwnd); ++i)
            Sleep(20);
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    }, [&] {
        return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                                       AboutDialogProc, reinterpret_cast<LPARAM>(&data));
    });
    g_hwndAboutDialog = nullptr;
    free(pTemplate);
    return nResult;
}

TEST(AboutBox, FitsItsLinesToTheirTextsInTheirOwnFontsAndCentresOK)
{
    InitCommonControls();
    RunWhileDriving([] {
        HWND hwnd = WaitForDialog(), hwndOK = GetDlgItem(hwnd, IDOK);
        RECT rcDialog = {0, 0, 38, 1}, rcLine = {0, 0, 1, 1}, rcOK = {0, 35, 0, 0}, rcClient;  // as the template has them
        MapDialogRect(hwnd, &rcDialog), MapDialogRect(hwnd, &rcLine), MapDialogRect(hwnd, &rcOK);
        GetClientRect(hwnd, &rcClient);
        int nLargestGrowth = 0;
        for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES}) {
            HWND hwndLine = GetDlgItem(hwnd, nID);
            const std::string text = Text(hwndLine);
            HDC hdc = GetDC(hwndLine);
            SelectObject(hdc, HFONT(SendMessageA(hwndLine, WM_GETFONT, 0, 0)));
            SIZE size;
            GetTextExtentPoint32A(hdc, text.c_str(), int(text.size()), &size);
            ReleaseDC(hwndLine, hdc);
            EXPECT_EQ(std::max<int>(rcLine.right, size.cx), GetWindowWidth(hwndLine)) << nID << " \"" << text << "\"";
            nLargestGrowth = std::max<int>(nLargestGrowth, size.cx - rcLine.right);
        }
        EXPECT_EQ(rcDialog.right + nLargestGrowth, rcClient.right) << "the dialog grows by the largest growth";
        POINT ptOK;
        GetWindowOrigin(hwndOK, &ptOK), ScreenToWindow(hwnd, &ptOK);
        EXPECT_EQ((GetWindowWidth(hwnd) - GetWindowWidth(hwndOK)) / 2, ptOK.x) << "OK centred";
        POINT ptOKTop = {0, GetWindowTop(hwndOK)};
        ScreenToClient(hwnd, &ptOKTop);
        EXPECT_EQ(rcOK.top, ptOKTop.y) << "OK keeps its height";
        LOGFONTA font = {};
        GetObjectA(HFONT(SendDlgItemMessageA(hwnd, IDC_ABOUT_LINK, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(1, font.lfUnderline) << "the link is measured in its underlined font";
        EXPECT_EQ(SUPPORT_SITE_URL, Text(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        EXPECT_EQ("", Text(GetDlgItem(hwnd, IDC_ABOUT_RESOURCES))) << "no rsrc32.dll here";
        HWND hwndTip = nullptr;
        while ((hwndTip = FindWindowExA(nullptr, hwndTip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(hwndTip, GW_OWNER) != hwnd) {}
        char szTip[64] = "";
        TOOLINFOA tool = {TTTOOLINFOA_V1_SIZE, 0, hwnd, UINT_PTR(GetDlgItem(hwnd, IDC_ABOUT_LINK)), {}, nullptr, szTip};
        SendMessageA(hwndTip, TTM_GETTEXTA, sizeof szTip, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ("サポートサイトへ", szTip);
        SetCursorPos(0, 0), Sleep(300), SaveWindowBitmap(hwnd, "about_box.bmp");
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    }, [] { return ShowAboutDialog(nullptr, &INFO); });
}

void CALLBACK RequestSecondBox(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    KillTimer(nullptr, idTimer);
    ShowAboutDialog(nullptr, &INFO);  // returns at once, or runs a second box until it is cancelled
}

TEST(AboutBox, SecondRequestMakesNoSecondBox)
{
    SetTimer(nullptr, 0, 100, RequestSecondBox);
    RunAboutBox(&INFO, [](HWND) {
        Sleep(500);
        EXPECT_EQ(1u, FindDialogs(GetCurrentProcessId()).size());
        for (HWND hwnd : FindDialogs(GetCurrentProcessId()))
            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(AboutBox, DragsByItsFaceButNotByTheLinkOrOKAndTheLinkLooksHot)
{
    RunAboutBox(&INFO, [](HWND hwnd) {
        POINT ptFace = {4, 4};  // above the icon
        ClientToScreen(hwnd, &ptFace);
        const struct { const char* name; POINT pt; int dy; } PRESSES[] = {  // the last one moves the box
            {"link", WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)), 0}, {"OK", WindowCenter(GetDlgItem(hwnd, IDOK)), 0},
            {"background", ptFace, 20}};
        for (const auto& press : PRESSES) {
            const int nTop = GetWindowTop(hwnd);
            DragMouse(press.pt, {press.pt.x + 30, press.pt.y + 20});
            EXPECT_EQ(press.dy, GetWindowTop(hwnd) - nTop) << press.name;
        }
        MoveMouseTo(WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        Sleep(200);
        const Screenshot hot = TakeScreenshot(GetDlgItem(hwnd, IDC_ABOUT_LINK));
        MoveMouseTo(WindowCenter(GetDlgItem(hwnd, IDOK)));
        Sleep(200);
        const Screenshot left = TakeScreenshot(GetDlgItem(hwnd, IDC_ABOUT_LINK));
        EXPECT_TRUE(hot.Has(RGB(255, 0, 0)) && !hot.Has(RGB(0, 0, 255))) << "red under the mouse";
        EXPECT_TRUE(!left.Has(RGB(255, 0, 0)) && left.Has(RGB(0, 0, 255))) << "blue after it left";
    });
}

TEST(AboutBox, EndsWithOneOnEnterOrTheLinkAndTwoOnEsc)
{
    DeleteFileA("link_opened.txt");  // where the test's URL scheme records its URL (about_wine.reg)
    const AboutBoxInfo testLink = {"quorzel-test:about"};
    const struct { const char* name; BYTE key; INT_PTR nResult; } CASES[] = {
        {"Enter", VK_RETURN, IDOK}, {"Esc", VK_ESCAPE, IDCANCEL}, {"link", 0, IDOK}};
    for (const auto& test : CASES)
        EXPECT_EQ(test.nResult, RunAboutBox(&testLink, [&](HWND hwnd) {
            const POINT ptLink = WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK));
            test.key ? keybd_event(test.key, 0, 0, 0), keybd_event(test.key, 0, KEYEVENTF_KEYUP, 0)
                     : DragMouse(ptLink, ptLink);
        })) << test.name;
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i, Sleep(100))
        std::getline(std::ifstream("link_opened.txt"), recorded);
    EXPECT_EQ("quorzel-test:about", recorded.substr(0, recorded.find_last_not_of(" \r") + 1));
}

TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    std::string dbcs = "N";  // and 259 whole characters of the 260 that reach the format
    for (int i = 0; i < 259; ++i)
        dbcs += "あ";
    const struct { const char* probe; std::string title, line; } CASES[] = {
        {"about_probe_program.exe", "quorzel について", "quorzel ver. 0.02"},
        {"about_probe_description.exe", "Described について", "Described ver. 1.5"},
        {"about_probe_long.exe", std::string(520, 'N'), std::string(520, 'N')},
        {"about_probe_dbcs.exe", dbcs, dbcs},
        {"about_probe_bare.exe", "", ""}};
    for (const auto& test : CASES) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        std::string command = test.probe;
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        HWND hwnd = WaitForDialog(process.dwProcessId);
        EXPECT_EQ(test.title, Text(hwnd)) << test.probe;
        EXPECT_EQ(test.line, Text(GetDlgItem(hwnd, IDC_ABOUT_VERSION))) << test.probe;
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000)) << test.probe;
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
}

TEST(AboutBox, ShowsTheFreeResourcesWhereTheSystemReportsThem)
{
    const struct { const char* folder; const char* figure; const char* line; } CASES[] = {
        {"rsrc32_export", "100", "システムリソース： 100 ％使用可能"},
        {"rsrc32_export", "1234", "システムリソース： 1234 ％使用可"},  // cut at 33 bytes, inside "能"
        {"rsrc32_bare", "100", ""}};
    for (const auto& test : CASES) {
        SetDllDirectoryA(test.folder);
        SetEnvironmentVariableA("FAKE_RSRC32_FIGURE", test.figure);
        HWND hwndLine = CreateWindowA("STATIC", "old", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        SetFreeResourcesLine(hwndLine);
        EXPECT_EQ(test.line, Text(hwndLine)) << test.folder << " " << test.figure;
        DestroyWindow(hwndLine);
    }
    SetDllDirectoryA(nullptr);
}

}  // namespace
