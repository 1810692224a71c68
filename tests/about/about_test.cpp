// The About box and its link label under the real mouse, judged from the screen: the link label
// on a dialog of its own, then the box's texts, layout, place, link, cursor, tooltip and picture.
#include <sstream>

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace
{

bool g_fReflect;       // whether the parent sends LLN_HOVER and LLN_LEAVE back
std::string g_clicks;  // "+click" for each click
int g_nEnded;          // WM_NCDESTROY seen by a subclass made after the link label's, still on top
LONG_PTR g_topProc;    // the window procedure with that subclass on top

INT_PTR CALLBACK ParentProc(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    if (uMsg == WM_NOTIFY && pnmh->code == LLN_CLICK)
        g_clicks += "+click";
    else if (uMsg == WM_NOTIFY && g_fReflect)
        SendMessageA(pnmh->hwndFrom, WM_NOTIFY, wParam, lParam);
    return uMsg == WM_NOTIFY;
}

LRESULT CALLBACK LaterProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const LRESULT lResult = DefSubclassProc(hwnd, uMsg, wParam, lParam);
    g_nEnded += uMsg == WM_NCDESTROY && GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == g_topProc;
    return lResult;
}

// Does the step's action; then what shows, once it is the step's or after 10 s.
std::string Act(HWND hwndLink, const std::string& step)
{
    const std::string action = step.substr(0, step.find('='));
    g_clicks.clear();
    if (action == "over" || action == "out")  // "out": 8 pixels below its 18
        SetCursorPos(WindowCenter(hwndLink).x, WindowCenter(hwndLink).y + (action == "out") * 17);
    if (action == "press" || action == "release")
        mouse_event(action == "press" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    g_fReflect = g_fReflect || action == "reflect";
    return WaitFor(step, [&] {
        const Screenshot shot = TakeScreenshot(hwndLink);
        const bool fFrame = shot.bits.back() == 0x808080;  // gray
        return action + "=" + LinkColours(shot) + (fFrame ? "+frame" : "") + g_clicks;
    });
}

// A one-character static made a link label once it has a font, then subclassed again; one dialog
// serves all (Wine takes seconds to destroy one). Steps read ACTION=LOOK: "over" the link, "out"
// below it, "press"/"release" the left button, "reflect" from then on; LOOK: its colours, "+frame"
// (gray corner), "+click" per click. Its end frees font and cursor; the later subclass sees it.
TEST(LinkLabel, LooksClicksAndTeardownUnderTheRealMouse)
{
    HWND hDlg = CreateWindowExA(WS_EX_TOPMOST, "#32770", nullptr, WS_POPUP | WS_VISIBLE, 100, 100,
                                200, 60, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hDlg, DWLP_DLGPROC, LONG_PTR(ParentProc));
    HWND hwndLink = CreateWindowA("STATIC", "W", WS_CHILD | WS_VISIBLE, 16, 16, 140, 18, hDlg,
                                  nullptr, nullptr, nullptr);
    EXPECT_FALSE(SubclassLinkLabel(hwndLink)) << "a link label made without a font";
    SendMessageA(hwndLink, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    EXPECT_TRUE(SubclassLinkLabel(hwndLink)) << "a link label made";
    LOGFONTA font = {};
    GetObjectA(HGDIOBJ(SendMessageA(hwndLink, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline) << "the link's font underlined";
    EXPECT_FALSE(SubclassLinkLabel(hwndLink)) << "a link label made twice";
    SetWindowSubclass(hwndLink, LaterProc, 1, 0);
    g_topProc = GetWindowLongPtrA(hwndLink, GWLP_WNDPROC);
    const char* const ROWS[] = {
        "out=blue over=blue press=blue release=blue+click reflect=blue",  // never hot unreflected
        // hot until the timer finds the pointer gone; framed while hot and held down
        "out=blue over=red press=red+frame out=blue over=red+frame release=red+click",
        "press=red+frame out=blue release=blue",  // released beside it: no click
        "press=blue over=red release=red",        // pressed beside it: no click
        "press=red+frame release=red+click press=red+frame release=red+click",  // a double click
    };
    for (const char* pszSteps : ROWS)
    {
        std::istringstream steps(pszSteps);
        for (std::string step; steps >> step;)
            EXPECT_EQ(step, Act(hwndLink, step)) << "in " << pszSteps;
    }
    HANDLE hFont = GetPropA(hwndLink, LLPROP_FONT);
    HCURSOR hCursor = HCURSOR(GetPropA(hwndLink, LLPROP_CURSOR));
    DestroyWindow(hDlg);
    EXPECT_FALSE(DeleteObject(hFont)) << "the font left behind";
    EXPECT_FALSE(DestroyCursor(hCursor)) << "the cursor left behind";
    EXPECT_EQ(1, g_nEnded) << "WM_NCDESTROY seen by the later subclass, left on top";
}

AboutBoxInfo g_info;

void RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    g_info.url = pszUrl;
    EXPECT_EQ(TRUE, RunModal([] { return ShowAboutDialog(nullptr, &g_info); }, drive))
        << "the box's end (-1: left open)";
}

const POINT MOUSE = {400, 300};

// Moves the mouse onto the link, again while it is not red (a box not yet ready loses a move).
std::string HoverLink(HWND hwndLink)
{
    return WaitFor("red", [hwndLink] {
        SetCursorPos(WindowCenter(hwndLink).x, WindowCenter(hwndLink).y);
        return LinkColours(TakeScreenshot(hwndLink));
    });
}

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

    EXPECT_EQ("red", HoverLink(hwndLink)) << "the link, its text the URL, under the mouse";
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
    const auto savedColours = [hwnd] {
        return LinkColours(SaveWindowBitmap(hwnd, "about_box"));
    };
    EXPECT_EQ("blue", WaitFor("blue", savedColours)) << "the link's colours in the box as saved";
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
        EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1);
        EXPECT_EQ("red", HoverLink(GetDlgItem(hwnd, IDC_ABOUT_LINK))) << "the link under the mouse";
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    });
    const std::string opened = "quorzel-test:about\r\n";
    EXPECT_EQ(opened, WaitFor(opened, [] { return FileText("link_opened.txt"); }));
}

// No product name: the description, cut at 520 bytes less a half "能"; no version resource: none.
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

TEST(AtEachDpi, TheAboutBox)
{
    EXPECT_EQ("", DpisWhereTestsFail({"AboutBox.ShowsItsOwnVersionFitsItsLinesAndEndsOnEnter",
                                      "AboutBox.HandsTheLinkToTheShellAndEndsOnAClick"}));
}

}  // namespace
