// The link label on a real dialog, driven with the real mouse and judged from
// the screen: its colours and frame, its clicks, and what its teardown leaves.
// One dialog serves every case: Wine takes seconds to destroy a shown one.
#include <sstream>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/screen.h"

namespace
{
const int LINK_ID = 10;
HWND g_hDlg, g_hwndLink;
bool g_fReflect;  // whether the parent sends LLN_HOVER and LLN_LEAVE back
int g_nClicks;

// Counts clicks; reflects hover and leave when asked to.
INT_PTR CALLBACK ParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_NOTIFY)
        return uMsg == WM_INITDIALOG;
    const NMLINKLABEL* pnmll = reinterpret_cast<const NMLINKLABEL*>(lParam);
    if (pnmll->hdr.code == LLN_CLICK && pnmll->hdr.idFrom == LINK_ID)
        ++g_nClicks;
    else if (g_fReflect)
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, SendMessageA(pnmll->hdr.hwndFrom, WM_NOTIFY, wParam, lParam));
    return TRUE;
}

// A static made a link label once it has the dialog's font. Its text is one
// character, the shortest that its painting copies.
void CreateLinkLabel()
{
    g_hwndLink = CreateWindowA("STATIC", "W", WS_CHILD | WS_VISIBLE, 16, 16, 140, 18, g_hDlg, HMENU(INT_PTR(LINK_ID)),
                               nullptr, nullptr);
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink) || GetPropA(g_hwndLink, LLPROP_ORIGINALPROC)) << "without a font";
    SendMessageA(g_hwndLink, WM_SETFONT, SendMessageA(g_hDlg, WM_GETFONT, 0, 0), FALSE);
    EXPECT_TRUE(SubclassLinkLabel(g_hwndLink));
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "subclassed twice";
}

// Does one step and tells what shows. 'i' moves the pointer over the link, 'o'
// onto the dialog below it; 'd' and 'u' press and release the left button; 'r'
// and 'n' make the parent reflect or not. Then the text colour ("B" blue, "R"
// red), "F" when the corner is the gray frame, and the clicks so far. 'x'
// puts a new link label in place of the old and tells which of the old one's
// font ("F") and cursor ("C") are left, then "-".
std::string Act(char action)
{
    const POINT pt = WindowCenter(g_hwndLink);
    if (action == 'i' || action == 'o')
        MoveMouseTo({pt.x, action == 'i' ? pt.y : pt.y + 17});  // 'o': 8 pixels below its 18
    if (action == 'd')  // no double click: the link label takes no WM_LBUTTONDBLCLK
        PumpMessages(GetDoubleClickTime());
    if (action == 'd' || action == 'u')
        PressLeftButton(action == 'd');
    g_fReflect = action == 'r' || (g_fReflect && action != 'n');
    if (action == 'x')
    {
        HANDLE hFont = GetPropA(g_hwndLink, LLPROP_FONT), hCursor = GetPropA(g_hwndLink, LLPROP_CURSOR);
        ICONINFO ii;
        DestroyWindow(g_hwndLink), PressLeftButton(false), CreateLinkLabel();
        return std::string(GetObjectType(hFont) ? "F" : "") + (GetIconInfo(HICON(hCursor), &ii) ? "C" : "") + "-";
    }
    const Screenshot shot = TakeScreenshot(g_hwndLink);
    return std::string(shot.Has(RGB(0, 0, 255)) ? "B" : "") + (shot.Has(RGB(255, 0, 0)) ? "R" : "") +
           (shot.bits.back() == Screenshot::Bits(RGB(128, 128, 128)) ? "F" : "") + std::to_string(g_nClicks);
}
}  // namespace

TEST(LinkLabel, LooksClicksAndTeardownUnderTheRealMouse)
{
    const DialogDesc DESC = {WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 0, 100, 40, 0, nullptr, 0, u"Tahoma", 10};
    void* pTemplate = BuildDialogTemplate(&DESC, nullptr);
    g_hDlg = CreateDialogIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr, ParentProc, 0);
    free(pTemplate);
    SetWindowPos(g_hDlg, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    CreateLinkLabel();
    // One after the other on the same pointer and button: each step is the
    // action and what must show after it; an action alone is not looked at.
    const struct { const char* pszCase; const char* pszSteps; } CASES[] = {
        {"a parent that does not reflect: never hot, clicks arrive", "oB0 iB0 dB0 uB1 rB1"},
        {"hot over it until the timer finds the leave; held down: framed over it, off and back, released on it",
         "oB1 iR1 dRF1 oB1 iRF1 u"},
        {"pressed on it, released beside it", "dRF2 oB2 uB2"},
        {"pressed beside it, released over it", "dB2 iR2 uR2"},
        {"destroyed hot, then hot and captured", "x- oB2 iR2 dRF2 x-"},
    };
    for (const auto& row : CASES)
    {
        std::istringstream steps(row.pszSteps);
        for (std::string step; steps >> step;)
            if (const std::string look = Act(step[0]); step.size() > 1)
                EXPECT_EQ(step.substr(1), look) << row.pszCase << ", step " << step[0];
    }
    DestroyWindow(g_hDlg);
}
