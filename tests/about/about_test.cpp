// The About box under Wine, driven like a user: its texts from the version resources of the
// program it runs in, the fitted layout and its place on the screen, its face for dragging, the
// link's look, tooltip and clicks, the keys that end it, a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/screen.h"

namespace
{

// The box as ShowAboutDialog runs it, with the test's link, while drive acts on it.
const char* g_pszUrl;
INT_PTR RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    g_pszUrl = pszUrl;
    return RunModal(
        [] {
            const AboutBoxInfo info = {g_pszUrl};
            HICON hIcon = GetModuleIcon(GetModuleHandleA(nullptr), SHGFI_LARGEICON);
            AboutDialogData data = {hIcon, nullptr, &info, false};
            void* pTemplate = BuildAboutTemplate();
            const INT_PTR nResult = DialogBoxIndirectParamA(
                GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                AboutDialogProc, reinterpret_cast<LPARAM>(&data));
            DestroyIcon(hIcon);
            free(pTemplate);
            return nResult;
        },
        drive);
}

// The tooltip's text for the link.
std::string ToolTipText(HWND hwndDlg, HWND hwndLink)
{
    HWND hwndTip = nullptr;
    do
        hwndTip = FindWindowExA(nullptr, hwndTip, TOOLTIPS_CLASSA, nullptr);
    while (hwndTip && GetWindow(hwndTip, GW_OWNER) != hwndDlg);
    char szText[80] = "";
    TOOLINFOA info = {TTTOOLINFOA_V1_SIZE, TTF_IDISHWND, hwndDlg, UINT_PTR(hwndLink)};
    info.lpszText = szText;
    SendMessageA(hwndTip, TTM_GETTEXTA, sizeof szText, LPARAM(&info));
    return szText;
}

RECT g_rcWork;

// The lines widen from their one unit to their texts; the box grows by the largest growth from
// its 38 units, centred on the mouse. The template's bytes are checked on their own.
void CheckTextsLayoutAndLink(HWND hwnd)
{
    HWND hwndLink = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ("quorzel について", WindowText(hwnd));
    EXPECT_EQ("quorzel ver. 0.02", WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION)));
    EXPECT_EQ(SUPPORT_SITE_URL, WindowText(hwndLink));
    EXPECT_EQ("", WindowText(GetDlgItem(hwnd, IDC_ABOUT_RESOURCES))) << "without rsrc32.dll";
    EXPECT_NE(0, SendDlgItemMessageA(hwnd, IDC_ABOUT_ICON, STM_GETICON, 0, 0)) << "the icon";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd));
    RECT rcBox = {0, 0, 38, 0};
    RECT rcLine = {0, 0, 1, 0};
    MapDialogRect(hwnd, &rcBox);
    MapDialogRect(hwnd, &rcLine);
    LONG nLargestGrowth = 0;
    for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES})
    {
        const LONG nWidth = std::max(rcLine.right, TextExtent(GetDlgItem(hwnd, nID)).cx);
        EXPECT_EQ(nWidth, GetWindowWidth(GetDlgItem(hwnd, nID))) << "the width of line " << nID;
        nLargestGrowth = std::max(nLargestGrowth, nWidth - rcLine.right);
    }
    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    EXPECT_EQ(rcBox.right + nLargestGrowth, rcClient.right) << "the client width";
    EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1) << "OK's centre";
    const POINT ptCenter = WindowCenter(hwnd);
    EXPECT_NEAR((g_rcWork.left + g_rcWork.right) / 2, ptCenter.x, 1) << "centred on the mouse";
    EXPECT_NEAR((g_rcWork.top + g_rcWork.bottom) / 2, ptCenter.y, 1) << "centred on the mouse";
    POINT ptFace = {4, 4};  // above the icon
    ClientToScreen(hwnd, &ptFace);
    EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(ptFace.x, ptFace.y)));

    MoveMouseTo(WindowCenter(hwndLink));
    Sleep(200);
    EXPECT_TRUE(TakeScreenshot(WindowRect(hwndLink)).Has(RGB(255, 0, 0))) << "red under the mouse";
    CURSORINFO cursor = {sizeof cursor};
    GetCursorInfo(&cursor);
    EXPECT_EQ(GetPropA(hwndLink, LLPROP_CURSOR), cursor.hCursor) << "the hand over the link";
    ICONINFO hand = {};
    GetIconInfo(cursor.hCursor, &hand);
    EXPECT_EQ(7u, hand.xHotspot) << "the hand's hot spot at its fingertip";
    EXPECT_EQ(0u, hand.yHotspot) << "the hand's hot spot at its fingertip";
    DeleteObject(hand.hbmMask);
    DeleteObject(hand.hbmColor);
    EXPECT_EQ("サポートサイトへ", ToolTipText(hwnd, hwndLink));
    SetCursorPos(0, 0);
    Sleep(300);
    SaveWindowBitmap(hwnd, "about_box");
    PressKeys({VK_RETURN});
}

TEST(AboutBox, ShowsItsOwnVersionFitsItsLinesAndEndsWithOneOnEnter)
{
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &g_rcWork, 0);
    SetCursorPos((g_rcWork.left + g_rcWork.right) / 2, (g_rcWork.top + g_rcWork.bottom) / 2);
    EXPECT_EQ(IDOK, RunAboutBox(SUPPORT_SITE_URL, CheckTextsLayoutAndLink))
        << "the result of Enter";
}

// Where the box would not fit centred on the mouse, it lies inside the work area, grown.
TEST(AboutBox, OpensWithinTheWorkArea)
{
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &g_rcWork, 0);
    SetCursorPos(g_rcWork.right - 5, g_rcWork.bottom - 5);
    RunAboutBox(SUPPORT_SITE_URL, [](HWND hwnd) {
        EXPECT_TRUE(LiesInWorkArea(hwnd)) << "right edge " << WindowRect(hwnd).right;
        EXPECT_EQ(g_rcWork.right, WindowRect(hwnd).right) << "against the work area's right edge";
    });
}

// Whether a subclass record outlived the link's WM_NCDESTROY: comctl32 keeps it in a property.
bool g_fSubclassLeft;
LRESULT CALLBACK AfterMessage(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (pMessage->message == WM_NCDESTROY && GetDlgCtrlID(pMessage->hwnd) == IDC_ABOUT_LINK)
        g_fSubclassLeft = g_fSubclassLeft || GetPropA(pMessage->hwnd, "CC32SubclassInfo");
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Two clicks on the link, the second a double click, open the site once. The tooltip's
// subclass of the link ends with the link each time.
TEST(AboutBox, EndsWithTwoOnEscAndWithOneOnTheLinkWhichItHandsToTheShellOnce)
{
    HHOOK hHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    EXPECT_EQ(IDCANCEL, RunAboutBox("quorzel-test:about", [](HWND) { PressKeys({VK_ESCAPE}); }));
    DeleteFileA("link_opened.txt");  // where the test's URL scheme records its URL
    const INT_PTR nResult = RunAboutBox("quorzel-test:about", [](HWND hwnd) {
        MoveMouseTo(WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        for (bool fDown : {true, false, true, false})
            PressLeftButton(fDown);
    });
    UnhookWindowsHookEx(hHook);
    EXPECT_FALSE(g_fSubclassLeft) << "a subclass record left on the link";
    EXPECT_EQ(IDOK, nResult) << "the result of a click on the link";
    Sleep(2000);
    std::ifstream recorded("link_opened.txt");
    std::string opened;
    for (std::string line; std::getline(recorded, line);)
        opened += line.substr(0, line.find_last_not_of(" \r") + 1) + "|";
    EXPECT_EQ("quorzel-test:about|", opened) << "the URLs opened";
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
        EXPECT_EQ(c.title, WindowText(hwnd)) << "the title";
        EXPECT_EQ(c.line, WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION))) << "the version line";
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000)) << "the probe's end";
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// The link label and the About box again at 144 and 192 DPI, in this program started at each.
TEST(AtEachDpi, TheLinkLabelAndTheAboutBox)
{
    for (DWORD dwDpi : {144u, 192u})
        EXPECT_EQ(0u, RunThisProgramAtDpi(dwDpi, "*-AtEachDpi.*"))
            << "at " << dwDpi << " DPI: see above";
}

}  // namespace
