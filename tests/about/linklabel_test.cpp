// The link label on a real dialog, driven with the real mouse and judged from
// the screen: its colours and frame, its clicks, and what its teardown leaves.
// One dialog serves every case: Wine without a window manager takes two
// seconds to destroy a shown top-level window, a control goes at once.
#include <windows.h>
#include <string.h>
#include <string>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"
#include "about/linklabel.h"
#include "support/screen.h"
#include "support/windowtest.h"

namespace
{
bool g_fReflect;  // whether the parent sends LLN_HOVER and LLN_LEAVE back
const int LINK_ID = 10;
int g_nClicks, g_nPropsAtDestroy, g_nBadRecords;
WNDPROC g_pfnStatic;

INT_PTR CALLBACK ParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_NOTIFY)
        return uMsg == WM_INITDIALOG;
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    const NMLINKLABEL* pnmll = reinterpret_cast<const NMLINKLABEL*>(lParam);
    POINT pt;  // LLN_HOVER carries the WM_MOUSEMOVE's client point and keys, the others nothing
    GetCursorPos(&pt);
    ScreenToClient(pnmh->hwndFrom, &pt);
    const bool fHover = pnmh->code == LLN_HOVER;
    g_nBadRecords += pnmh->idFrom != LINK_ID || pnmll->point != (fHover ? MAKELPARAM(pt.x, pt.y) : 0) ||
                     (!fHover && pnmll->keys);
    if (pnmh->code == LLN_CLICK)
        ++g_nClicks;
    else if (g_fReflect)
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, SendMessageA(pnmh->hwndFrom, WM_NOTIFY, wParam, lParam));
    return TRUE;
}

BOOL CALLBACK CountLinkLabelProp(HWND, LPSTR pszName, HANDLE, ULONG_PTR lParam)
{
    *reinterpret_cast<int*>(lParam) += !IS_INTRESOURCE(pszName) && !strncmp(pszName, "LLPROP_", 7);
    return TRUE;
}

// Under the link label: counts its properties at WM_DESTROY, after its teardown.
LRESULT CALLBACK WatchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_DESTROY)
        EnumPropsExA(hWnd, CountLinkLabelProp, reinterpret_cast<LPARAM>(&(g_nPropsAtDestroy = 0)));
    return CallWindowProcA(g_pfnStatic, hWnd, uMsg, wParam, lParam);
}

HWND g_hDlg, g_hwndLink;

// A static of the dialog in the dialog's font, with the watch under it.
void CreateStatic(bool fReflect)
{
    g_fReflect = fReflect;
    g_nClicks = g_nBadRecords = 0;
    g_hwndLink = CreateTestWindow(WS_CHILD | WS_VISIBLE, g_hDlg, 16, 16, 140, 18, LINK_ID);
    SetWindowTextA(g_hwndLink, "https://example.com/support/");
    SendMessageA(g_hwndLink, WM_SETFONT, SendMessageA(g_hDlg, WM_GETFONT, 0, 0), FALSE);
    g_pfnStatic = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_hwndLink, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc)));
}

// 'i' moves the pointer over the link, 'o' onto the dialog beside it, 'd' and
// 'u' press and release the left button.
void Act(char action)
{
    RECT rcLink, rcDlg;
    GetWindowRect(g_hwndLink, &rcLink);
    GetWindowRect(g_hDlg, &rcDlg);
    if (action == 'i' || action == 'o')
        MoveMouseTo(action == 'i' ? POINT{(rcLink.left + rcLink.right) / 2, (rcLink.top + rcLink.bottom) / 2}
                                  : POINT{rcDlg.left + 3, rcDlg.bottom - 3});
    else
        PressLeftButton(action == 'd');
}

// "blue" or "red" for the text colour on the screen, " frame" when the top and
// bottom rows are gray (the text may cover the sides).
std::string Look()
{
    const Screenshot shot = TakeScreenshot(g_hwndLink);
    bool fFrame = true;
    for (int x = 0; x < shot.cx; ++x)
        fFrame = fFrame && shot.At(x, 0) == RGB(128, 128, 128) && shot.At(x, shot.cy - 1) == RGB(128, 128, 128);
    return std::string(shot.Has(RGB(0, 0, 255)) ? "blue" : "") + (shot.Has(RGB(255, 0, 0)) ? "red" : "") +
           (fFrame ? " frame" : "");
}
}  // namespace

TEST(LinkLabel, SubclassingLooksClicksAndTeardownUnderTheRealMouse)
{
    const DialogDesc DESC = {WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 0, 100, 40, 0, nullptr, 0, u"Tahoma", 10};
    void* pTemplate = BuildDialogTemplate(&DESC, nullptr);
    g_hDlg = CreateDialogIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr, ParentProc, 0);
    free(pTemplate);
    SetWindowPos(g_hDlg, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    const struct
    {
        const char* pszName;
        bool fReflect;
        const char* pszActions;
        const char* apszLooks[6];  // after each action; null: not looked at
        int nClicks;
    } ROWS[] = {
        {"hover, the timer finds the leave", true, "oio", {"blue", "red", "blue"}, 0},
        {"no reflecting: never hot, clicks arrive", false, "oidu", {"blue", "blue", "blue", nullptr}, 1},
        {"held down over it, off and back", true, "oidoiu", {"blue", "red", "red frame", "blue", "red frame"}, 1},
        {"pressed beside it, released over it", true, "odiu", {"blue", "blue", "red", nullptr}, 0},
        {"pressed on it, released beside it", true, "oidou", {"blue", "red", "red frame", "blue", nullptr}, 0},
        {"destroyed hot", true, "oi", {"blue", "red"}, 0},
        {"destroyed hot and captured", true, "oid", {"blue", "red", "red frame"}, 0},
    };
    CreateStatic(true);
    SendMessageA(g_hwndLink, WM_SETFONT, 0, FALSE);
    EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << "a static without font";
    EXPECT_EQ(nullptr, GetPropA(g_hwndLink, LLPROP_ORIGINALPROC)) << "a static without font";
    DestroyWindow(g_hwndLink);
    for (const auto& row : ROWS)
    {
        CreateStatic(row.fReflect);
        ASSERT_TRUE(SubclassLinkLabel(g_hwndLink)) << row.pszName;
        EXPECT_FALSE(SubclassLinkLabel(g_hwndLink)) << row.pszName << ": subclassed twice";
        for (size_t i = 0; row.pszActions[i]; ++i)
        {
            Act(row.pszActions[i]);
            if (row.apszLooks[i])
                EXPECT_EQ(row.apszLooks[i], Look()) << row.pszName << ", after action " << i;
        }
        EXPECT_EQ(row.nClicks, g_nClicks) << row.pszName;
        EXPECT_EQ(0, g_nBadRecords) << row.pszName << ": notifications with a wrong id or point";
        HGDIOBJ hFont = GetPropA(g_hwndLink, LLPROP_FONT);
        HCURSOR hCursor = static_cast<HCURSOR>(GetPropA(g_hwndLink, LLPROP_CURSOR));
        g_nPropsAtDestroy = -1;  // no WM_DESTROY seen
        DestroyWindow(g_hwndLink);
        PressLeftButton(false);
        ICONINFO ii;
        EXPECT_EQ(0, g_nPropsAtDestroy) << row.pszName << ": properties left at WM_DESTROY";
        EXPECT_EQ(0u, GetObjectType(hFont)) << row.pszName << ": font not deleted";
        EXPECT_FALSE(GetIconInfo(hCursor, &ii)) << row.pszName << ": cursor not destroyed";
    }
    DestroyWindow(g_hDlg);
}

TEST(LinkLabelCursor, HandWithItsHotSpotOnTheFingertip)
{
    HCURSOR hCursor = CreateHandCursor();
    ICONINFO ii = {};
    ASSERT_TRUE(GetIconInfo(hCursor, &ii));
    BYTE abMasks[2 * 32 * 4] = {};  // 32 rows of the AND mask, then 32 of the XOR mask
    GetBitmapBits(ii.hbmMask, sizeof abMasks, abMasks);
    // A row as its picture: '#' black, 'o' white, '.' transparent, '~' inverted; up to its last mark.
    auto Bit = [&](int y, int x) { return abMasks[y * 4 + x / 8] >> (7 - x % 8) & 1; };
    auto Picture = [&](int y) {
        std::string picture;
        for (int x = 0; x < 32; ++x)
            picture += "#o.~"[Bit(y, x) * 2 + Bit(32 + y, x)];
        return picture.substr(0, picture.find_last_not_of('.') + 1);
    };
    EXPECT_EQ(7u, ii.xHotspot);
    EXPECT_EQ(0u, ii.yHotspot);
    const struct { int y; const char* pszPicture; } ROWS[] = {
        {0, "......##"}, {10, ".#oo##oooooooo#oo#"}, {21, "......##########"}, {22, ""}, {31, ""}};
    for (const auto& row : ROWS)
        EXPECT_EQ(row.pszPicture, Picture(row.y)) << "row " << row.y;
    DeleteObject(ii.hbmMask);
    DestroyCursor(hCursor);
}
