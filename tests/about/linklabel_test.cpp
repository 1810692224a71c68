// The link label on a dialog, driven by the real mouse and judged from the screen. One dialog
// serves every case: Wine takes seconds to destroy a shown one.
#include <sstream>

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "about/linklabel.h"
#include "support/screen.h"

namespace
{

bool g_fReflect;       // whether the parent sends LLN_HOVER and LLN_LEAVE back
std::string g_clicks;  // "+click" for each click
int g_nEnded;          // WM_NCDESTROY seen by a subclass made after the link label's, still on top
LONG_PTR g_topProc;    // the window procedure with that subclass on top

// Notes the link's clicks; reflects hover and leave when asked to.
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

// Does the step's action, then gives what shows as ACTION=LOOK once it is the step's (or after 10
// s): the link's colours, "+frame" when its corner is gray, "+click" for each click since the
// action.
std::string Act(HWND hwndLink, const std::string& step)
{
    const std::string action = step.substr(0, step.find('='));
    const POINT pt = WindowCenter(hwndLink);
    g_clicks.clear();
    if (action == "over" || action == "out")
        SetCursorPos(pt.x, action == "over" ? pt.y : pt.y + 17);  // 8 pixels below its 18
    if (action == "press" || action == "release")
        mouse_event(action == "press" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    g_fReflect = g_fReflect || action == "reflect";
    return WaitFor(step, [&] {
        const bool fFrame = TakeScreenshot(hwndLink).bits.back() == 0x808080;  // gray
        return action + "=" + LinkColours(hwndLink) + (fFrame ? "+frame" : "") + g_clicks;
    });
}

}  // namespace

// A one-character static made a link label once it has a font, then subclassed again. Each row's
// steps read ACTION=LOOK: "over" the link, "out" below it, "press" and "release" the left button,
// "reflect" from then on. Its end frees its font and cursor; the later subclass still sees it.
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
    ICONINFO cursor;
    EXPECT_FALSE(DeleteObject(hFont)) << "the font left behind";
    EXPECT_FALSE(GetIconInfo(hCursor, &cursor)) << "the cursor left behind";
    EXPECT_EQ(1, g_nEnded) << "WM_NCDESTROY seen by the later subclass, left on top";
}
