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

namespace
{
const int LINK_ID = 10;
const COLORREF BLUE = RGB(0, 0, 255), RED = RGB(255, 0, 0), GRAY = RGB(128, 128, 128);
bool g_fReflect;  // whether the parent sends LLN_HOVER and LLN_LEAVE back
int g_nClicks;

INT_PTR CALLBACK ParentProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_NOTIFY)
        return uMsg == WM_INITDIALOG;
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    if (pnmh->code == LLN_CLICK)
        ++g_nClicks;
    else if (g_fReflect)
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, SendMessageA(pnmh->hwndFrom, WM_NOTIFY, wParam, lParam));
    return TRUE;
}

BOOL CALLBACK CountLinkLabelProp(HWND, LPSTR pszName, HANDLE, ULONG_PTR lParam)
{
    if (!IS_INTRESOURCE(pszName) && !strncmp(pszName, "LLPROP_", 7))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountLinkLabelProps(HWND hWnd)
{
    int nCount = 0;
    EnumPropsExA(hWnd, CountLinkLabelProp, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

// The test's own procedure over a link label, to look at the control right
// after the link label has torn itself down.
WNDPROC g_pfnLinkLabel;
int g_nPropsAfterDestroy;

LRESULT CALLBACK WatchDestroyProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CallWindowProcA(g_pfnLinkLabel, hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_DESTROY)
        g_nPropsAfterDestroy = CountLinkLabelProps(hWnd);
    return lResult;
}

class LinkLabel : public testing::Test
{
protected:
    static HWND s_hDlg;
    HWND hwndLink = nullptr;
    POINT ptInside = {}, ptOutside = {};

    static void SetUpTestSuite()
    {
        const DialogDesc DESC = {WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 0, 100, 40, 0, nullptr, 0, u"Tahoma", 10};
        void* pTemplate = BuildDialogTemplate(&DESC, nullptr);
        s_hDlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate),
                                            nullptr, ParentProc, 0);
        free(pTemplate);
        SetWindowPos(s_hDlg, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    }
    static void TearDownTestSuite() { DestroyWindow(s_hDlg); }

    // A static of the dialog, in the dialog's font, text wider than itself.
    HWND CreateStatic()
    {
        HWND hwndStatic = CreateWindowExA(0, "Static", "https://example.com/support/", WS_CHILD | WS_VISIBLE, 16, 16,
                                          140, 18, s_hDlg, reinterpret_cast<HMENU>(LINK_ID), nullptr, nullptr);
        SendMessageA(hwndStatic, WM_SETFONT, SendMessageA(s_hDlg, WM_GETFONT, 0, 0), FALSE);
        return hwndStatic;
    }

    void Open(bool fReflect)
    {
        g_fReflect = fReflect;
        g_nClicks = 0;
        hwndLink = CreateStatic();
        ASSERT_TRUE(SubclassLinkLabel(hwndLink));
        RECT rcLink, rcDlg;
        GetWindowRect(hwndLink, &rcLink);
        GetWindowRect(s_hDlg, &rcDlg);
        ptInside = {(rcLink.left + rcLink.right) / 2, (rcLink.top + rcLink.bottom) / 2};
        ptOutside = {rcDlg.left + 3, rcDlg.bottom - 3};
        MoveMouseTo(ptOutside);
    }
    void TearDown() override { DestroyWindow(hwndLink); }

    // "blue" or "red" for the text colour on the screen, " frame" for the gray frame.
    std::string Look()
    {
        const Screenshot shot = TakeScreenshot(hwndLink);
        std::string look = CountPixels(shot, BLUE) ? "blue" : "";
        look += CountPixels(shot, RED) ? "red" : "";
        return look + (HasFrame(shot, GRAY) ? " frame" : "");
    }
};
HWND LinkLabel::s_hDlg;
}  // namespace

TEST_F(LinkLabel, TurnsRedOnHoverOnlyWhenReflectedAndBlueWhenTheTimerFindsTheLeave)
{
    for (bool fReflect : {true, false})
    {
        Open(fReflect);
        EXPECT_EQ("blue", Look()) << "before hovering, reflecting " << fReflect;
        EXPECT_EQ(CountPixels(TakeScreenshot(hwndLink), BLUE), CountPixels(TakeScreenshot(s_hDlg), BLUE))
            << "text drawn beyond the control";
        MoveMouseTo(ptInside);
        EXPECT_EQ(fReflect ? "red" : "blue", Look()) << "hovering, reflecting " << fReflect;
        MoveMouseTo(ptOutside);
        EXPECT_EQ("blue", Look()) << "after leaving, reflecting " << fReflect;
        DestroyWindow(hwndLink);
    }
}

TEST_F(LinkLabel, ShowsTheGrayFrameWhileHeldDownOverIt)
{
    Open(true);
    MoveMouseTo(ptInside);
    PressLeftButton(true);
    EXPECT_EQ("red frame", Look()) << "pressed on it";
    MoveMouseTo(ptOutside);
    EXPECT_EQ("blue", Look()) << "held down, moved off";
    MoveMouseTo(ptInside);
    EXPECT_EQ("red frame", Look()) << "held down, back over it";
    PressLeftButton(false);
    EXPECT_EQ(1, g_nClicks);
}

TEST_F(LinkLabel, ReportsAClickOnlyWhenPressedOnItAndReleasedInsideIt)
{
    const struct
    {
        bool fPressInside, fReleaseInside;
        int nClicks;
    } ROWS[] = {{true, true, 1}, {false, true, 0}, {true, false, 0}};
    for (const auto& row : ROWS)
    {
        Open(true);
        MoveMouseTo(row.fPressInside ? ptInside : ptOutside);
        PressLeftButton(true);
        MoveMouseTo(row.fReleaseInside ? ptInside : ptOutside);
        PressLeftButton(false);
        EXPECT_EQ(row.nClicks, g_nClicks) << "pressed inside " << row.fPressInside << ", released inside "
                                          << row.fReleaseInside;
        DestroyWindow(hwndLink);
    }
}

TEST_F(LinkLabel, DestroyedHotOrCapturedLeavesNoPropertyAndFreesFontAndCursor)
{
    for (bool fCaptured : {false, true})
    {
        Open(true);
        MoveMouseTo(ptInside);
        if (fCaptured)
            PressLeftButton(true);
        ASSERT_EQ(fCaptured ? "red frame" : "red", Look());
        HGDIOBJ hFont = GetPropA(hwndLink, LLPROP_FONT);
        HCURSOR hCursor = static_cast<HCURSOR>(GetPropA(hwndLink, LLPROP_CURSOR));
        g_pfnLinkLabel = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwndLink, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDestroyProc)));
        g_nPropsAfterDestroy = -1;
        DestroyWindow(hwndLink);
        if (fCaptured)
            PressLeftButton(false);
        ICONINFO ii;
        EXPECT_EQ(0, g_nPropsAfterDestroy) << "captured " << fCaptured;
        EXPECT_EQ(0u, GetObjectType(hFont)) << "font, captured " << fCaptured;
        EXPECT_FALSE(GetIconInfo(hCursor, &ii)) << "cursor, captured " << fCaptured;
    }
}

TEST_F(LinkLabel, RefusesAStaticWithoutFontAndASecondSubclassing)
{
    hwndLink = CreateStatic();
    SendMessageA(hwndLink, WM_SETFONT, 0, FALSE);
    EXPECT_FALSE(SubclassLinkLabel(hwndLink));
    EXPECT_EQ(0, CountLinkLabelProps(hwndLink));
    DestroyWindow(hwndLink);
    Open(true);
    EXPECT_FALSE(SubclassLinkLabel(hwndLink));
    MoveMouseTo(ptInside);
    PressLeftButton(true);
    PressLeftButton(false);
    EXPECT_EQ(1, g_nClicks) << "the first subclassing still works";
}
