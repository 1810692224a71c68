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

HWND g_hwndLink;
bool g_fReflect;  // whether the parent sends LLN_HOVER and LLN_LEAVE back
int g_nClicks;
int g_nEnded;  // WM_NCDESTROY seen by the subclass made after the link label's

// Counts the link's clicks; reflects hover and leave when asked to.
INT_PTR CALLBACK ParentProc(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    if (uMsg == WM_NOTIFY && pnmh->code == LLN_CLICK)
        ++g_nClicks;
    else if (uMsg == WM_NOTIFY && g_fReflect)
        SendMessageA(pnmh->hwndFrom, WM_NOTIFY, wParam, lParam);
    return uMsg == WM_NOTIFY;
}

// A subclass made after the link label's, as the About box's tooltip makes one.
LRESULT CALLBACK LaterProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    g_nEnded += uMsg == WM_NCDESTROY;
    return DefSubclassProc(hwnd, uMsg, wParam, lParam);
}

// A static made a link label once it has a font, then subclassed once more. Its text is one
// character, the shortest that its painting copies.
void CreateLinkLabel(HWND hDlg)
{
    g_hwndLink = CreateWindowA("STATIC", "W", WS_CHILD | WS_VISIBLE, 16, 16, 140, 18, hDlg, nullptr,
                               nullptr, nullptr);
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "a link label made without a font";
    SendMessageA(g_hwndLink, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    EXPECT_TRUE(SubclassLinkLabel(g_hwndLink)) << "a link label made";
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "a link label made twice";
    SetWindowSubclass(g_hwndLink, LaterProc, 1, 0);
}

// Destroys the link label and makes a new one in its place; tells what the old one left behind:
// its font (freed here), its cursor, a later subclass cut off before the end; else "clean".
std::string Renew(HWND hDlg)
{
    HANDLE hFont = GetPropA(g_hwndLink, LLPROP_FONT);
    HCURSOR hCursor = HCURSOR(GetPropA(g_hwndLink, LLPROP_CURSOR));
    g_nEnded = 0;
    DestroyWindow(g_hwndLink);
    ICONINFO cursor;
    std::string left = DeleteObject(hFont) ? "font+" : "";
    left += GetIconInfo(hCursor, &cursor) ? "cursor+" : "";
    left += g_nEnded == 1 ? "" : "subclass+";
    CreateLinkLabel(hDlg);
    return left.empty() ? "clean" : left;
}

// Does one step and tells what shows, as ACTION=LOOK: the text's colour, "+frame" when the
// corner shows the gray frame, and "+click" for each click reported.
std::string Act(HWND hDlg, const std::string& action)
{
    const POINT pt = WindowCenter(g_hwndLink);
    if (action == "over" || action == "out")
        UseMouse(0, {pt.x, action == "over" ? pt.y : pt.y + 17});  // 8 pixels below its 18
    if (action == "press" || action == "release")
        UseMouse(action == "press" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    g_fReflect = g_fReflect || action == "reflect";
    if (action == "renew")
        return "renew=" + Renew(hDlg);
    const Screenshot shot = TakeScreenshot(g_hwndLink);
    std::string look = action + (shot.Has(0x0000FF) ? "=blue" : "=");
    look += shot.Has(0xFF0000) ? "red" : "";
    look += shot.bits.back() == 0x808080 ? "+frame" : "";  // gray
    for (; g_nClicks > 0; --g_nClicks)
        look += "+click";
    return look;
}

}  // namespace

// Each row is a run of steps, each ACTION=LOOK. "over" moves the pointer onto the link and "out"
// just below it; "press" and "release" work the left button; "reflect" has the parent send hover
// and leave back from then on; "renew" puts a new link label in place of the old one.
TEST(LinkLabel, LooksClicksAndTeardownUnderTheRealMouse)
{
    HWND hDlg = CreateWindowExA(WS_EX_TOPMOST, "#32770", nullptr, WS_POPUP | WS_VISIBLE, 100, 100,
                                200, 60, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hDlg, DWLP_DLGPROC, LONG_PTR(ParentProc));
    CreateLinkLabel(hDlg);
    const char* const ROWS[] = {
        "out=blue over=blue press=blue release=blue+click reflect=blue",  // never hot unreflected
        // hot until the timer finds the pointer gone; framed while hot and held down
        "out=blue over=red press=red+frame out=blue over=red+frame release=red+click",
        "press=red+frame out=blue release=blue renew=clean",  // released beside it: no click
        "press=blue over=red release=red",                    // pressed beside it: no click
        "press=red+frame release=red+click press=red+frame release=red+click",  // a double click
    };
    for (const char* pszSteps : ROWS)
    {
        std::istringstream steps(pszSteps);
        for (std::string step; steps >> step;)
            EXPECT_EQ(step, Act(hDlg, step.substr(0, step.find('=')))) << "in " << pszSteps;
    }
    DestroyWindow(hDlg);
}
