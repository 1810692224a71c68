// The About box driven like a user: texts from version resources, layout, place, face, the link's
// look, cursor, tooltip and click, a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace
{

AboutBoxInfo g_info;

// Shows the box with a link to the URL while drive acts on it; the box must end.
void RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    g_info.url = pszUrl;
    EXPECT_EQ(TRUE, RunModal([] { return ShowAboutDialog(nullptr, &g_info); }, drive))
        << "the box's end (-1: left open)";
}

const POINT MOUSE = {400, 300};

// The lines widen from one unit to their texts, the box from 38 units with them, on the mouse.
void CheckTextsLayoutAndLink(HWND hwnd)
{
    HWND hwndLink = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ("quorzel について", WindowText(hwnd));
    EXPECT_EQ("quorzel ver. 0.02", WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION)));
    EXPECT_EQ("", WindowText(GetDlgItem(hwnd, IDC_ABOUT_RESOURCES))) << "without rsrc32.dll";
    EXPECT_NE(0, SendDlgItemMessageA(hwnd, IDC_ABOUT_ICON, STM_GETICON, 0, 0)) << "the icon";
    RECT rcUnits = {1, 0, 38, 0};  // a line's width and the box's, in dialog units
    MapDialogRect(hwnd, &rcUnits);
    for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES})
        EXPECT_EQ(std::max(rcUnits.left, TextExtent(GetDlgItem(hwnd, nID)).cx),
                  GetWindowWidth(GetDlgItem(hwnd, nID)))
            << "the width of line " << nID;
    RECT rcClient;
    GetClientRect(hwnd, &rcClient);
    EXPECT_EQ(rcUnits.right - rcUnits.left + GetWindowWidth(hwndLink), rcClient.right)
        << "the client width, grown as the widest line, the link";
    EXPECT_NEAR(MOUSE.x, WindowCenter(hwnd).x, 1) << "centred on the mouse";
    EXPECT_NEAR(MOUSE.y, WindowCenter(hwnd).y, 1) << "centred on the mouse";
    EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(MOUSE.x, MOUSE.y)))
        << "the face drags the box";

    SetCursorPos(WindowCenter(hwndLink).x, WindowCenter(hwndLink).y);  // the link's text: the URL
    EXPECT_EQ("red", WaitFor("red", [=] { return LinkColours(hwndLink); })) << "under the mouse";
    CURSORINFO cursor = {sizeof cursor};
    GetCursorInfo(&cursor);
    ICONINFO hand = {};
    GetIconInfo(cursor.hCursor, &hand);
    EXPECT_EQ("7,0", std::to_string(hand.xHotspot) + "," + std::to_string(hand.yHotspot))
        << "the cursor's hot spot: the hand's fingertip";
    const auto shownTip = [] {
        HWND hwndTip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);  // shown: topmost
        return IsWindowVisible(hwndTip) ? WindowText(hwndTip) : "<no tooltip shown>";
    };
    EXPECT_EQ("サポートサイトへ", WaitFor("サポートサイトへ", shownTip));
    SetCursorPos(0, 0);
    EXPECT_EQ("<no tooltip shown>", WaitFor("<no tooltip shown>", shownTip)) << "the mouse gone";
    EXPECT_EQ("blue", WaitFor("blue", [=] { return LinkColours(hwndLink); })) << "the mouse gone";
    EXPECT_EQ(TakeScreenshot(hwndLink).Count(0x0000FF),
              SaveWindowBitmap(hwnd, "about_box").Count(0x0000FF))
        << "the blue pixels of the box as saved: the link's";
    PressKey(VK_RETURN);
}

TEST(AboutBox, ShowsItsOwnVersionFitsItsLinesAndEndsOnEnter)
{
    SetCursorPos(MOUSE.x, MOUSE.y);
    RunAboutBox(SUPPORT_SITE_URL, CheckTextsLayoutAndLink);
}

// Opened where it would not fit on the mouse, it lies in the work area; only fitting centres OK.
TEST(AboutBox, HandsTheLinkToTheShellAndEndsOnAClick)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
    DeleteFileA("link_opened.txt");  // where the test's URL scheme records its URL
    RunAboutBox("quorzel-test:about", [](HWND hwnd) {
        EXPECT_TRUE(LiesInWorkArea(hwnd)) << "right edge " << WindowRect(hwnd).right;
        EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1)
            << "OK's centre";
        HWND hwndLink = GetDlgItem(hwnd, IDC_ABOUT_LINK);
        SetCursorPos(WindowCenter(hwndLink).x, WindowCenter(hwndLink).y);
        EXPECT_EQ("red", WaitFor("red", [=] { return LinkColours(hwndLink); }))
            << "under the mouse";
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    });
    const std::string opened = "quorzel-test:about\r\n";
    EXPECT_EQ(opened, WaitFor(opened, [] { return FileText("link_opened.txt"); }))
        << "the URLs opened";
}

// The description stands in for a missing product name, cut at 520 bytes without the half "能"
// there; a program without a version resource shows none. IDCANCEL (Esc) ends each box.
TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    std::string cut = "N";
    while (cut.size() < 519)
        cut += "能";
    const std::pair<const char*, std::string> CASES[] = {
        {"about_probe_long.exe", cut + " | " + cut}, {"about_probe_bare.exe", " | "}};
    for (const auto& [pszProbe, texts] : CASES)
    {
        HANDLE hProcess = HANDLE(_spawnl(_P_NOWAIT, pszProbe, pszProbe, nullptr));
        HWND hwnd = WaitForDialog(GetProcessId(hProcess));
        EXPECT_NE(nullptr, hwnd) << pszProbe << "'s box";
        EXPECT_EQ(texts, WindowText(hwnd) + " | " + WindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION)))
            << pszProbe << ": the title | the version line";
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hProcess, 10000)) << pszProbe << "'s end";
        TerminateProcess(hProcess, 1);  // one that has not ended
        CloseHandle(hProcess);
    }
}

// The link label and the About box shown in this program again at 144 and 192 DPI.
TEST(AtEachDpi, TheLinkLabelAndTheAboutBox)
{
    EXPECT_EQ("", DpisWhereTestsFail({"LinkLabel.LooksClicksAndTeardownUnderTheRealMouse",
                                      "AboutBox.ShowsItsOwnVersionFitsItsLinesAndEndsOnEnter",
                                      "AboutBox.HandsTheLinkToTheShellAndEndsOnAClick"}));
}

}  // namespace
