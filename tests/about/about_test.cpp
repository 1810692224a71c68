// The About box under Wine, driven like a user: its texts from the program's version resources,
// its fitted layout and place, its face, the link's look, cursor, tooltip and click, a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/screen.h"

namespace
{

AboutBoxInfo g_info;

// Shows the box with a link to the URL while drive acts on it; the box must end.
void RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    g_info.url = pszUrl;
    EXPECT_EQ(TRUE, RunModal([] { return INT_PTR(ShowAboutDialog(nullptr, &g_info)); }, drive))
        << "the box's end (-1: left open)";
}

const POINT MOUSE = {400, 300};

// The lines widen from their one unit to their texts; the box grows by the largest growth from
// its 38 units, centred on the mouse.
void CheckTextsLayoutAndLink(HWND hwnd)
{
    HWND hwndLink = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ("quorzel について", WindowText(hwnd));
    EXPECT_EQ("quorzel ver. 0.02", WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION)));
    EXPECT_EQ("", WindowText(GetDlgItem(hwnd, IDC_ABOUT_RESOURCES))) << "without rsrc32.dll";
    EXPECT_NE(0, SendDlgItemMessageA(hwnd, IDC_ABOUT_ICON, STM_GETICON, 0, 0)) << "the icon";
    EXPECT_EQ("", TextsThatDoNotFit(hwnd));
    RECT rcUnits = {1, 0, 38, 0};  // a line's width and the box's, in dialog units
    MapDialogRect(hwnd, &rcUnits);
    LONG nLargestGrowth = 0;
    for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES})
    {
        const LONG nWidth = std::max(rcUnits.left, TextExtent(GetDlgItem(hwnd, nID)).cx);
        EXPECT_EQ(nWidth, GetWindowWidth(GetDlgItem(hwnd, nID))) << "the width of line " << nID;
        nLargestGrowth = std::max(nLargestGrowth, nWidth - rcUnits.left);
    }
    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    EXPECT_EQ(rcUnits.right + nLargestGrowth, rcClient.right) << "the client width";
    EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1) << "OK's centre";
    EXPECT_NEAR(MOUSE.x, WindowCenter(hwnd).x, 1) << "centred on the mouse";
    EXPECT_NEAR(MOUSE.y, WindowCenter(hwnd).y, 1) << "centred on the mouse";
    POINT ptFace = {4, 4};  // above the icon
    ClientToScreen(hwnd, &ptFace);
    EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(ptFace.x, ptFace.y)));

    UseMouse(0, WindowCenter(hwndLink));  // the link's text is the URL: red where it shows
    Sleep(1000);
    EXPECT_TRUE(TakeScreenshot(hwndLink).Has(0xFF0000)) << "red under the mouse";
    CURSORINFO cursor = {sizeof cursor};
    GetCursorInfo(&cursor);
    EXPECT_EQ(GetPropA(hwndLink, LLPROP_CURSOR), cursor.hCursor) << "the hand over the link";
    ICONINFO hand = {};
    GetIconInfo(cursor.hCursor, &hand);
    DeleteObject(hand.hbmMask);
    EXPECT_EQ(7u, hand.xHotspot) << "the hand's hot spot, at its fingertip";
    EXPECT_EQ(0u, hand.yHotspot) << "the hand's hot spot, at its fingertip";
    HWND hwndTip = nullptr;  // the box's
    do
        hwndTip = FindWindowExA(nullptr, hwndTip, TOOLTIPS_CLASSA, nullptr);
    while (hwndTip && GetWindow(hwndTip, GW_OWNER) != hwnd);
    EXPECT_EQ("サポートサイトへ", WindowText(hwndTip)) << "the tooltip shown";
    SetCursorPos(0, 0);
    Sleep(300);
    SaveWindowBitmap(hwnd, "about_box");
    PressKeys({VK_RETURN});
}

TEST(AboutBox, ShowsItsOwnVersionFitsItsLinesAndEndsOnEnter)
{
    SetCursorPos(MOUSE.x, MOUSE.y);
    RunAboutBox(SUPPORT_SITE_URL, CheckTextsLayoutAndLink);
}

// Opened where it would not fit centred on the mouse, the box lies inside the work area, grown.
TEST(AboutBox, EndsOnAClickOnTheLinkWhichItHandsToTheShellOnce)
{
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    SetCursorPos(rcWork.right - 5, rcWork.bottom - 5);
    DeleteFileA("link_opened.txt");  // where the test's URL scheme records its URL
    RunAboutBox("quorzel-test:about", [](HWND hwnd) {
        EXPECT_TRUE(LiesInWorkArea(hwnd)) << "right edge " << WindowRect(hwnd).right;
        UseMouse(0, WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
        UseMouse(MOUSEEVENTF_LEFTDOWN);
        UseMouse(MOUSEEVENTF_LEFTUP);
    });
    Sleep(2000);
    std::ifstream recorded("link_opened.txt", std::ios::binary);
    EXPECT_EQ("quorzel-test:about\r\n", std::string(std::istreambuf_iterator<char>(recorded), {}))
        << "the URLs opened";
}

// The long name is cut at 520 bytes, without the half "能" there. IDCANCEL (Esc) ends each box.
TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    std::string cut = "N";
    while (cut.size() < 519)
        cut += "能";
    const std::pair<const char*, std::string> CASES[] = {
        {"about_probe_description.exe", "Described について | Described ver. 1.5"},
        {"about_probe_long.exe", cut + " | " + cut},
        {"about_probe_bare.exe", " | "}};
    for (const auto& [pszProbe, texts] : CASES)
    {
        SCOPED_TRACE(pszProbe);
        HANDLE hProcess = HANDLE(_spawnl(_P_NOWAIT, pszProbe, pszProbe, nullptr));
        HWND hwnd = WaitForDialog(GetProcessId(hProcess));
        ASSERT_NE(nullptr, hwnd) << "the probe's box";
        EXPECT_EQ(texts, WindowText(hwnd) + " | " + WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION)))
            << "the title | the version line";
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hProcess, 10000)) << "the probe's end";
        CloseHandle(hProcess);
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
