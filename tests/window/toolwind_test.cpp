// The window helpers on real windows under Wine: the trace lines of the handle
// checks, centring on a cursor placed with SetCursorPos, deferred batches,
// showing without activation and the Maximize item of menus.
#include <stdlib.h>

#include <vector>

#include <gtest/gtest.h>

#include "TOOLS/toolwind.h"
#include "support/windowtest.h"

namespace
{

const DWORD POPUP = WS_POPUP;  // hidden: Wine maps no X window for it, and geometry is the same
const DWORD CHILD = WS_CHILD | WS_VISIBLE;
#define WIND(line, text) "..\\..\\TOOLS\\toolwind.cpp(" #line ") : " text " \r\n"

RECT Rect(LONG x, LONG y, LONG cx, LONG cy) { return RECT{x, y, x + cx, y + cy}; }

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return rc;
}

// A control's rectangle in its parent's client coordinates.
RECT ClientRect(HWND hwndCtrl)
{
    RECT rc = WindowRect(hwndCtrl);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwndCtrl), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

::testing::AssertionResult Equal(const RECT& expected, const RECT& actual)
{
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.left << ", " << actual.top << ")-(" << actual.right << ", "
           << actual.bottom << "), expected (" << expected.left << ", " << expected.top << ")-(" << expected.right
           << ", " << expected.bottom << ")";
}

}  // namespace

TEST(HandleChecks, TraceTheFailedConditionAtItsLine)
{
    TraceCapture trace;
    HWND hwndDlg = CreateTestWindow(POPUP, nullptr, Rect(10, 10, 100, 100));
    CreateTestWindow(CHILD, hwndDlg, Rect(0, 0, 10, 10), 7);
    HWND hwndGone = CreateTestWindow(POPUP, nullptr, Rect(10, 10, 10, 10));
    DestroyWindow(hwndGone);
    const struct { const char* pszCase; bool fResult, fExpected; const char* pszLines; } CASES[] = {
        {"null window", IsValidWindow(nullptr), false, WIND(1499, "hWnd")},
        {"destroyed window", IsValidWindow(hwndGone), false, WIND(1500, "IsWindow( hWnd )")},
        {"live window", IsValidWindow(hwndDlg), true, ""},
        {"null dialog", IsValidDlgItem(nullptr, 7), false, WIND(1499, "hWnd") WIND(1246, "IsValidWindow( hwndDlg )")},
        {"destroyed dialog", IsValidDlgItem(hwndGone, 7), false,
         WIND(1500, "IsWindow( hWnd )") WIND(1246, "IsValidWindow( hwndDlg )")},
        {"no such control", IsValidDlgItem(hwndDlg, 8), false, WIND(1499, "hWnd") WIND(1249, "IsValidWindow( hwndCtrl )")},
        {"control", IsValidDlgItem(hwndDlg, 7), true, ""}};
    // The rows are built in order, so the lines they traced arrive in order.
    std::string expectedLines;
    for (const auto& row : CASES)
    {
        EXPECT_EQ(row.fExpected, row.fResult) << row.pszCase;
        expectedLines += row.pszLines;
    }
    EXPECT_EQ(expectedLines, trace.Take());
    DestroyWindow(hwndDlg);
}

TEST(CenterWindowOnCursor, CentresThenKeepsInsideTheWorkAreaInScreenCoordinates)
{
    RECT rcWork;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0));
    // Cursor and expected origin: 0 or more counts from the work area's left
    // (top), below 0 from its right (bottom). Windows are 301 x 201 unless
    // stated; the parent (and owner) lies at (100, 80) of the work area.
    enum Kind { POPUP_WINDOW, CHILD_WINDOW, OWNED_WINDOW };
    const struct { const char* pszCase; Kind kind; LONG cx, cy, xCursor, yCursor, xExpected, yExpected; } CASES[] = {
        {"middle: half of 301 is 150", POPUP_WINDOW, 301, 201, 400, 300, 250, 200},
        {"right and bottom edges", POPUP_WINDOW, 301, 201, -5, -5, -301, -201},
        {"left and top edges", POPUP_WINDOW, 301, 201, 3, 3, 0, 0},
        {"larger than the work area", POPUP_WINDOW, 3000, 2000, -5, -5, 0, 0},
        {"child, screen position kept", CHILD_WINDOW, 101, 51, 400, 300, 350, 275},
        {"child clamped in screen coordinates", CHILD_WINDOW, 101, 51, -1, -1, -101, -51},
        {"owned window, not converted", OWNED_WINDOW, 301, 201, 400, 300, 250, 200}};
    auto at = [](LONG nLow, LONG nHigh, LONG nOffset) { return nOffset < 0 ? nHigh + nOffset : nLow + nOffset; };
    for (const auto& row : CASES)
    {
        HWND hwndParent = CreateTestWindow(POPUP, nullptr, Rect(rcWork.left + 100, rcWork.top + 80, 600, 400));
        HWND hWnd = CreateTestWindow(row.kind == CHILD_WINDOW ? CHILD : POPUP,
                                     row.kind == POPUP_WINDOW ? nullptr : hwndParent, Rect(5, 5, row.cx, row.cy));
        SetCursorPos(at(rcWork.left, rcWork.right, row.xCursor), at(rcWork.top, rcWork.bottom, row.yCursor));
        CenterWindowOnCursor(hWnd);
        const LONG x = at(rcWork.left, rcWork.right, row.xExpected), y = at(rcWork.top, rcWork.bottom, row.yExpected);
        EXPECT_TRUE(Equal(Rect(x, y, row.cx, row.cy), WindowRect(hWnd))) << row.pszCase;
        DestroyWindow(hWnd);
        DestroyWindow(hwndParent);
    }
}

TEST(Placement, MovesChildrenInClientCoordinatesAndBatchesStayNullAfterAFailure)
{
    HWND hwndDlg = CreateTestWindow(POPUP, nullptr, Rect(200, 150, 400, 300));
    HWND hwndA = CreateTestWindow(CHILD, hwndDlg, Rect(10, 20, 30, 40), 1);
    HWND hwndB = CreateTestWindow(CHILD, hwndDlg, Rect(50, 60, 70, 80), 2);
    EXPECT_TRUE(MoveWindowBy(hwndA, 0, 0));
    EXPECT_TRUE(Equal(Rect(10, 20, 30, 40), ClientRect(hwndA))) << "moved by (0, 0)";
    EXPECT_TRUE(OffsetDlgItemY(hwndDlg, 1, -5) && ResizeWindowBy(hwndA, 3, 4));
    EXPECT_TRUE(Equal(Rect(10, 15, 33, 44), ClientRect(hwndA))) << "offset by -5 and grown by (3, 4)";

    HDWP hdwp = BeginDeferWindowPos(2);
    DeferDlgItemBy(&hdwp, hwndDlg, 1, 1, 2, 3, 4);
    DeferWindowBy(&hdwp, hwndB, -6, 0, 0, -7);
    EXPECT_TRUE(EndDeferWindowPos(hdwp));
    EXPECT_TRUE(Equal(Rect(11, 17, 36, 48), ClientRect(hwndA))) << "batch: moved by (1, 2), grown by (3, 4)";
    EXPECT_TRUE(Equal(Rect(44, 60, 70, 73), ClientRect(hwndB))) << "batch: moved by (-6, 0), grown by (0, -7)";

    hdwp = BeginDeferWindowPos(2);
    DeferWindowBy(&hdwp, GetDesktopWindow(), 1, 1, 1, 1);  // the desktop is never deferred
    EXPECT_EQ(nullptr, hdwp) << "a failed deferral leaves the batch null";
    DeferDlgItemBy(&hdwp, hwndDlg, 1, 100, 0, 0, 0);
    EXPECT_EQ(nullptr, hdwp) << "and later deferrals keep it null";
    EndDeferWindowPos(hdwp);
    EXPECT_TRUE(Equal(Rect(11, 17, 36, 48), ClientRect(hwndA))) << "nothing moved";
    DestroyWindow(hwndDlg);
}

TEST(ControlState, ShowsWithoutActivatingAndReadsTextIntoTheHeap)
{
    HWND hwndActive = CreateTestWindow(POPUP | WS_VISIBLE, nullptr, Rect(0, 0, 50, 50));
    SetForegroundWindow(hwndActive);
    HWND hWnd = CreateTestWindow(WS_POPUP, nullptr, Rect(60, 0, 50, 50));
    EXPECT_FALSE(SetWindowVisible(hWnd, true)) << "it was hidden";
    EXPECT_TRUE(IsWindowVisible(hWnd));
    EXPECT_EQ(hwndActive, GetActiveWindow()) << "shown without activation";
    EXPECT_TRUE(SetWindowVisible(hWnd, false)) << "it was visible";
    EXPECT_FALSE(IsWindowVisible(hWnd));
    for (const char* pszText : {"", "関連づけ"})
    {
        SetWindowTextA(hWnd, pszText);
        char* pszCopy = GetWindowTextAlloc(hWnd);
        ASSERT_NE(nullptr, pszCopy);
        EXPECT_STREQ(pszText, pszCopy);
        free(pszCopy);
    }
    DestroyWindow(hWnd);
    DestroyWindow(hwndActive);
}

TEST(FindMaximizeMenuItem, GivesTheFirstMaximizePositionOrMinusOne)
{
    HWND hWnd = CreateTestWindow(WS_OVERLAPPEDWINDOW, nullptr, Rect(0, 0, 200, 100));
    HMENU hSystem = GetSystemMenu(hWnd, FALSE);
    const int nPosition = FindMaximizeMenuItem(hSystem);
    EXPECT_EQ(SC_MAXIMIZE, GetMenuItemID(hSystem, nPosition)) << "system menu, position " << nPosition;
    EXPECT_EQ(4, nPosition) << "after Restore, Move, Size and Minimize";
    const struct { const char* pszCase; std::vector<UINT> ids; int nExpected; } CASES[] = {
        {"empty", {}, -1}, {"no Maximize", {SC_MOVE, SC_CLOSE}, -1}, {"first of two", {SC_MAXIMIZE, SC_MAXIMIZE}, 0},
        {"last", {SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE}, 2}};
    for (const auto& row : CASES)
    {
        HMENU hMenu = CreatePopupMenu();
        for (UINT id : row.ids)
            AppendMenuA(hMenu, MF_STRING, id, "item");
        EXPECT_EQ(row.nExpected, FindMaximizeMenuItem(hMenu)) << row.pszCase;
        DestroyMenu(hMenu);
        if (row.ids.empty())
            EXPECT_EQ(-1, FindMaximizeMenuItem(hMenu)) << "destroyed menu";
    }
    DestroyWindow(hWnd);
}
