// The About box under Wine, driven like a user: its texts from the version resources of the
// program it runs in, the fitted layout, its face for dragging, the link's click, the keys that
// end it, a screenshot.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "support/screen.h"

namespace
{

std::string Text(HWND hWnd)
{
    char szText[1024] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// The box as ShowAboutDialog runs it, with the test's link, while drive acts on it.
const char* g_pszUrl;
INT_PTR RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    g_pszUrl = pszUrl;
    return RunModal(
        [] {
            const AboutBoxInfo info = {g_pszUrl};
            AboutDialogData data = {GetModuleIcon(GetModuleHandleA(nullptr), SHGFI_LARGEICON),
                                    nullptr, &info};
            void* pTemplate = BuildAboutTemplate();
            const INT_PTR nResult = DialogBoxIndirectParamA(
                GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                AboutDialogProc, reinterpret_cast<LPARAM>(&data));
            DestroyIcon(data.largeIcon);
            free(pTemplate);
            return nResult;
        },
        drive);
}

// The width of the control's text in the control's own font.
LONG TextWidth(HWND hwndCtrl)
{
    HDC hdc = GetDC(hwndCtrl);
    SelectObject(hdc, HFONT(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0)));
    SIZE size = {};
    const std::string text = Text(hwndCtrl);
    GetTextExtentPoint32A(hdc, text.c_str(), int(text.size()), &size);
    ReleaseDC(hwndCtrl, hdc);
    return size.cx;
}

// The lines widen from their one unit to their texts; the box grows by the largest growth from
// its 38 units. The template's bytes are checked on their own (DialogTemplate.*).
TEST(AboutBox, ShowsItsOwnVersionFitsItsLinesDragsByItsFaceAndEndsWithOneOnEnter)
{
    const INT_PTR nResult = RunAboutBox(SUPPORT_SITE_URL, [](HWND hwnd) {
        EXPECT_EQ("quorzel について", Text(hwnd));
        EXPECT_EQ("quorzel ver. 0.02", Text(GetDlgItem(hwnd, IDC_ABOUT_VERSION)));
        EXPECT_EQ(SUPPORT_SITE_URL, Text(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        EXPECT_EQ("", Text(GetDlgItem(hwnd, IDC_ABOUT_RESOURCES)))
            << "the resources line, without rsrc32.dll";
        EXPECT_NE(0, SendDlgItemMessageA(hwnd, IDC_ABOUT_ICON, STM_GETICON, 0, 0))
            << "the program's icon shown";
        RECT rcBox = {0, 0, 38, 0};
        RECT rcLine = {0, 0, 1, 0};
        MapDialogRect(hwnd, &rcBox);
        MapDialogRect(hwnd, &rcLine);
        LONG nLargestGrowth = 0;
        for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES})
        {
            const LONG nWidth = std::max(rcLine.right, TextWidth(GetDlgItem(hwnd, nID)));
            EXPECT_EQ(nWidth, GetWindowWidth(GetDlgItem(hwnd, nID))) << "the width of line " << nID;
            nLargestGrowth = std::max(nLargestGrowth, nWidth - rcLine.right);
        }
        RECT rcClient;
        GetClientRect(hwnd, &rcClient);
        EXPECT_EQ(rcBox.right + nLargestGrowth, rcClient.right) << "the client width";
        EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1)
            << "OK's centre";
        POINT ptFace = {4, 4};  // above the icon
        ClientToScreen(hwnd, &ptFace);
        EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(ptFace.x, ptFace.y)))
            << "on the face";
        SetCursorPos(0, 0);
        Sleep(300);
        SaveWindowBitmap(hwnd, "about_box.bmp");
        PressKeys({VK_RETURN});
    });
    EXPECT_EQ(IDOK, nResult) << "the result of Enter";
}

TEST(AboutBox, EndsWithTwoOnEscAndWithOneOnTheLinkWhichItHandsToTheShell)
{
    EXPECT_EQ(IDCANCEL, RunAboutBox("quorzel-test:about", [](HWND) { PressKeys({VK_ESCAPE}); }));
    DeleteFileA(
        "link_opened.txt");  // where the test's URL scheme records its URL (support/prefix.reg)
    const INT_PTR nResult = RunAboutBox("quorzel-test:about", [](HWND hwnd) {
        MoveMouseTo(WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        PressLeftButton(true);
        PressLeftButton(false);
    });
    EXPECT_EQ(IDOK, nResult) << "the result of a click on the link";
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i)
    {
        Sleep(100);
        std::getline(std::ifstream("link_opened.txt"), recorded);
    }
    EXPECT_EQ("quorzel-test:about", recorded.substr(0, recorded.find_last_not_of(" \r") + 1))
        << "the URL opened";
}

// The long name is cut at 520 bytes, without the half "能" there.
TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    std::string cut = "N";
    while (cut.size() < 519)
        cut += "能";
    const struct
    {
        const char* pszProbe;
        std::string title;
        std::string line;
    } CASES[] = {{"about_probe_description.exe", "Described について", "Described ver. 1.5"},
                 {"about_probe_long.exe", cut, cut},
                 {"about_probe_bare.exe", "", ""}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszProbe);
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        std::string command = c.pszProbe;
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        HWND hwnd = WaitForDialog(process.dwProcessId);
        EXPECT_EQ(c.title, Text(hwnd)) << "the title";
        EXPECT_EQ(c.line, Text(GetDlgItem(hwnd, IDC_ABOUT_VERSION))) << "the version line";
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000)) << "the probe's end";
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace
