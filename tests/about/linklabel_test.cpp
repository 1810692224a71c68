// The link label on a real dialog, driven with the real mouse and judged from the screen: its
// colours and frame, its clicks, and what its teardown leaves. One dialog serves every case:
// Wine takes seconds to destroy a shown one.
#include <sstream>

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/screen.h"

namespace
{

const int LINK_ID = 10;
HWND g_hDlg;
HWND g_hwndLink;
bool g_fReflect;  // whether the parent sends LLN_HOVER and LLN_LEAVE back
int g_nClicks;

// Counts the link's clicks; reflects hover and leave when asked to.
INT_PTR CALLBACK ParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_NOTIFY)
        return uMsg == WM_INITDIALOG;
    const NMLINKLABEL* pnmll = reinterpret_cast<const NMLINKLABEL*>(lParam);
    if (pnmll->hdr.code == LLN_CLICK && pnmll->hdr.idFrom == LINK_ID)
        ++g_nClicks;
    else if (g_fReflect)
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT,
                          SendMessageA(pnmll->hdr.hwndFrom, WM_NOTIFY, wParam, lParam));
    return TRUE;
}

// Subclasses made after the link label's, as a tooltip or a caller makes them: each must still
// get WM_NCDESTROY when the control goes.
int g_nLaterSubclassesEnded;
WNDPROC g_pfnBelowLater;

LRESULT CALLBACK LaterProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    g_nLaterSubclassesEnded += uMsg == WM_NCDESTROY;
    return CallWindowProcA(g_pfnBelowLater, hwnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK LaterSubclassProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR)
{
    g_nLaterSubclassesEnded += uMsg == WM_NCDESTROY;
    return DefSubclassProc(hwnd, uMsg, wParam, lParam);
}

// A static made a link label once it has the dialog's font, then subclassed twice more. Its text
// is one character, the shortest that its painting copies.
void CreateLinkLabel()
{
    g_hwndLink = CreateWindowA("STATIC", "W", WS_CHILD | WS_VISIBLE, 16, 16, 140, 18, g_hDlg,
                               HMENU(INT_PTR(LINK_ID)), nullptr, nullptr);
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "a link label made without a font";
    EXPECT_EQ(nullptr, GetPropA(g_hwndLink, LLPROP_ORIGINALPROC)) << "a property of the failed one";
    SendMessageA(g_hwndLink, WM_SETFONT, SendMessageA(g_hDlg, WM_GETFONT, 0, 0), FALSE);
    EXPECT_TRUE(SubclassLinkLabel(g_hwndLink)) << "a link label made";
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "a link label made twice";
    SetWindowSubclass(g_hwndLink, LaterSubclassProc, 1, 0);
    g_pfnBelowLater = WNDPROC(SetWindowLongPtrA(g_hwndLink, GWLP_WNDPROC, LONG_PTR(LaterProc)));
    g_nLaterSubclassesEnded = 0;
}

// Destroys the link label and makes a new one in its place; tells which of the old one's font
// and cursor are still alive.
std::string Renew()
{
    HANDLE hFont = GetPropA(g_hwndLink, LLPROP_FONT);
    HANDLE hCursor = GetPropA(g_hwndLink, LLPROP_CURSOR);
    DestroyWindow(g_hwndLink);
    PressLeftButton(false);
    const int nLaterSubclassesEnded = g_nLaterSubclassesEnded;
    CreateLinkLabel();
    ICONINFO info;
    std::string left = GetObjectType(hFont) ? "font " : "";
    if (GetIconInfo(HICON(hCursor), &info))
        left += "cursor ";
    if (nLaterSubclassesEnded != 2)
        left += "later subclasses cut off ";
    return left + "-";
}

// Does one step and tells what shows: the text's colour, "+frame" when the corner shows the gray
// frame, and "/" and the clicks counted so far.
std::string Act(const std::string& action)
{
    const POINT pt = WindowCenter(g_hwndLink);
    if (action == "over")
        MoveMouseTo(pt);
    if (action == "out")
        MoveMouseTo({pt.x, pt.y + 17});  // 8 pixels below its 18
    if (action == "press" || action == "release")
        PressLeftButton(action == "press");
    if (action == "reflect" || action == "ignore")
        g_fReflect = action == "reflect";
    if (action == "renew")
        return Renew();
    const Screenshot shot = TakeScreenshot(WindowRect(g_hwndLink));
    std::string look = shot.Has(RGB(0, 0, 255)) ? "blue" : "";
    if (shot.Has(RGB(255, 0, 0)))
        look += "red";
    if (shot.bits.back() == 0x808080)  // gray
        look += "+frame";
    return look + "/" + std::to_string(g_nClicks);
}

}  // namespace

// Each case is a run of steps on the same pointer and button, each ACTION=LOOK, or the action
// alone where the look is not checked. Actions: "over" moves the pointer onto the link, "out"
// onto the dialog below it; "press" and "release" the left button; "reflect" and "ignore" make
// the parent send hover and leave back or not; "renew" puts a new link label in place of the old
// one, and its look names what is left of the old one's font and cursor, and whether the
// subclasses made after it were cut off before the control's end.
TEST(LinkLabel, LooksClicksAndTeardownUnderTheRealMouse)
{
    const DialogDesc DESC = {
        WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 0, 100, 40, 0, nullptr, 0, u"Tahoma", 10};
    void* pTemplate = BuildDialogTemplate(&DESC, nullptr);
    g_hDlg = CreateDialogIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                                        ParentProc, 0);
    free(pTemplate);
    SetWindowPos(g_hDlg, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    CreateLinkLabel();
    const struct
    {
        const char* pszCase;
        const char* pszSteps;
    } CASES[] = {
        {"a parent that does not reflect: never hot, clicks arrive",
         "out=blue/0 over=blue/0 press=blue/0 release=blue/1 reflect=blue/1"},
        {"hot over it until the timer finds the leave; held down: framed over it, off and back, "
         "released on it",
         "out=blue/1 over=red/1 press=red+frame/1 out=blue/1 over=red+frame/1 release"},
        {"pressed on it, released beside it", "press=red+frame/2 out=blue/2 release=blue/2"},
        {"pressed beside it, released over it", "press=blue/2 over=red/2 release=red/2"},
        {"destroyed hot, then hot and captured",
         "renew=- out=blue/2 over=red/2 press=red+frame/2 renew=-"},
        {"two quick clicks, the second a double click: both count, both framed",
         "over press=red+frame/2 release=red/3 press=red+frame/3 release=red/4"},
    };
    for (const auto& c : CASES)
    {
        std::istringstream steps(c.pszSteps);
        for (std::string step; steps >> step;)
        {
            const std::string action = step.substr(0, step.find('='));
            const std::string look = Act(action);
            if (action != step)
                EXPECT_EQ(step.substr(action.size() + 1), look) << c.pszCase << ", step " << step;
        }
    }
    DestroyWindow(g_hDlg);
}
