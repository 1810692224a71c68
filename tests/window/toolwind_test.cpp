// The window helpers on real windows under Wine: the trace lines of the handle
// checks, centring on a cursor placed with SetCursorPos, deferred batches and
// the Maximize item of menus. Hidden popups: Wine maps no X window for them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TOOLS/toolwind.h"
#include "support/windowtest.h"

namespace
{
const DWORD CHILD = WS_CHILD | WS_VISIBLE;
#define WIND(line, text) "..\\..\\TOOLS\\toolwind.cpp(" #line ") : " text " \r\n"

using Box = std::vector<LONG>;  // x, y, width, height

// The outer rectangle on the screen, or in the parent's client area.
Box Placed(HWND hWnd, HWND hwndParent = HWND_DESKTOP)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(HWND_DESKTOP, hwndParent, reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}
}  // namespace

TEST(HandleChecks, TraceTheFailedConditionAtItsLine)
{
    g_pfnTraceProc = CaptureTrace;
    HWND hwndDlg = CreateTestWindow(WS_POPUP, nullptr, 0, 0, 100, 100);
    HWND hwndGone = CreateTestWindow(WS_POPUP, nullptr, 0, 0, 9, 9);
    CreateTestWindow(CHILD, hwndDlg, 0, 0, 10, 10, 7);
    DestroyWindow(hwndGone);
    const struct { const char* pszCase; bool fResult, fExpected; const char* pszLines; } CASES[] = {
        {"null window", IsValidWindow(nullptr), false, WIND(1499, "hWnd")},
        {"destroyed window", IsValidWindow(hwndGone), false, WIND(1500, "IsWindow( hWnd )")},
        {"null dialog", IsValidDlgItem(nullptr, 7), false, WIND(1499, "hWnd") WIND(1246, "IsValidWindow( hwndDlg )")},
        {"no such control", IsValidDlgItem(hwndDlg, 8), false,
         WIND(1499, "hWnd") WIND(1249, "IsValidWindow( hwndCtrl )")},
        {"control", IsValidDlgItem(hwndDlg, 7), true, ""}};
    std::string expected;  // the rows were built in order, and traced in order
    for (const auto& row : CASES)
    {
        EXPECT_EQ(row.fExpected, row.fResult) << row.pszCase;
        expected += row.pszLines;
    }
    EXPECT_EQ(expected, g_tracedLines);
    g_pfnTraceProc = DefaultTraceProc;
    DestroyWindow(hwndDlg);
}

TEST(CenterWindowOnCursor, CentresThenKeepsInsideTheWorkAreaInScreenCoordinates)
{
    RECT rcWork;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0));
    // Cursor and expected origin count from the work area's left (top) when 0
    // or more, from its right (bottom) when negative. The parent or owner
    // lies at (100, 80) in the work area.
    enum Kind { TOP_LEVEL, CHILD_WINDOW, OWNED_WINDOW };
    const struct { const char* pszCase; Kind kind; LONG cx, cy, xCursor, yCursor, x, y; } CASES[] = {
        {"middle: half of 301 is 150", TOP_LEVEL, 301, 201, 400, 300, 250, 200},
        {"right and bottom edges", TOP_LEVEL, 301, 201, -5, -5, -301, -201},
        {"larger than the work area", TOP_LEVEL, 3000, 2000, -5, -5, 0, 0},
        {"child, screen position kept", CHILD_WINDOW, 101, 51, 400, 300, 350, 275},
        {"child clamped in screen coordinates", CHILD_WINDOW, 101, 51, -1, -1, -101, -51},
        {"owned window, not converted", OWNED_WINDOW, 301, 201, 400, 300, 250, 200}};
    auto at = [](LONG nLow, LONG nHigh, LONG nOffset) { return nOffset < 0 ? nHigh + nOffset : nLow + nOffset; };
    for (const auto& row : CASES)
    {
        HWND hwndParent = CreateTestWindow(WS_POPUP, nullptr, rcWork.left + 100, rcWork.top + 80, 600, 400);
        HWND hWnd = CreateTestWindow(row.kind == CHILD_WINDOW ? CHILD : WS_POPUP,
                                     row.kind == TOP_LEVEL ? nullptr : hwndParent, 5, 5, row.cx, row.cy);
        SetCursorPos(at(rcWork.left, rcWork.right, row.xCursor), at(rcWork.top, rcWork.bottom, row.yCursor));
        CenterWindowOnCursor(hWnd);
        const LONG x = at(rcWork.left, rcWork.right, row.x), y = at(rcWork.top, rcWork.bottom, row.y);
        EXPECT_EQ(Box({x, y, row.cx, row.cy}), Placed(hWnd)) << row.pszCase;
        DestroyWindow(hwndParent);
        DestroyWindow(hWnd);
    }
}

TEST(DeferWindowBy, MovesAndGrowsInClientCoordinatesAndStaysNullAfterAFailure)
{
    HWND hwndDlg = CreateTestWindow(WS_POPUP, nullptr, 200, 150, 400, 300);
    HWND hwndA = CreateTestWindow(CHILD, hwndDlg, 10, 20, 30, 40, 1);
    HWND hwndB = CreateTestWindow(CHILD, hwndDlg, 50, 60, 70, 80);
    HDWP hdwp = BeginDeferWindowPos(2);
    DeferDlgItemBy(&hdwp, hwndDlg, 1, 1, 2, 3, 4);
    DeferWindowBy(&hdwp, hwndB, -6, 0, 0, -7);
    EXPECT_TRUE(EndDeferWindowPos(hdwp));
    EXPECT_EQ(Box({11, 22, 33, 44}), Placed(hwndA, hwndDlg)) << "moved by (1, 2), grown by (3, 4)";
    EXPECT_EQ(Box({44, 60, 70, 73}), Placed(hwndB, hwndDlg)) << "moved by (-6, 0), grown by (0, -7)";

    hdwp = BeginDeferWindowPos(2);
    DeferWindowBy(&hdwp, GetDesktopWindow(), 1, 1, 1, 1);  // the desktop is never deferred
    EXPECT_EQ(nullptr, hdwp) << "a failed deferral leaves the batch null";
    DeferDlgItemBy(&hdwp, hwndDlg, 1, 100, 0, 0, 0);
    EXPECT_EQ(nullptr, hdwp) << "and later deferrals keep it null";
    EXPECT_FALSE(EndDeferWindowPos(hdwp));
    EXPECT_EQ(Box({11, 22, 33, 44}), Placed(hwndA, hwndDlg)) << "nothing moved";
    DestroyWindow(hwndDlg);
}

TEST(FindMaximizeMenuItem, GivesTheFirstMaximizePositionOrMinusOne)
{
    HWND hWnd = CreateTestWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 200, 100);
    EXPECT_EQ(4, FindMaximizeMenuItem(GetSystemMenu(hWnd, FALSE))) << "after Restore, Move, Size and Minimize";
    DestroyWindow(hWnd);
    HMENU hMenu = CreatePopupMenu();
    const struct { UINT id, uPosition; int nExpected; } STEPS[] = {  // none, the last, the first of two
        {SC_CLOSE, UINT(-1), -1}, {SC_MAXIMIZE, UINT(-1), 1}, {SC_MAXIMIZE, 0, 0}};
    for (const auto& step : STEPS)
    {
        InsertMenuA(hMenu, step.uPosition, MF_BYPOSITION | MF_STRING, step.id, "item");
        EXPECT_EQ(step.nExpected, FindMaximizeMenuItem(hMenu)) << GetMenuItemCount(hMenu) << " items";
    }
    DestroyMenu(hMenu);
    EXPECT_EQ(-1, FindMaximizeMenuItem(hMenu)) << "destroyed menu";
}
