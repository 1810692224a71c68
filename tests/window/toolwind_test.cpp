// The window helpers on real windows under Wine: centring on a cursor placed
// with SetCursorPos. Hidden popups: Wine maps no X window for them.
#include <vector>

#include <gtest/gtest.h>

#include "TOOLS/toolwind.h"

TEST(CenterWindowOnCursor, CentresThenKeepsInsideTheWorkAreaInScreenCoordinates)
{
    RECT rcWork;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0));
    // Cursor and expected origin count from the work area's left (top) when 0 or more, from its
    // right (bottom) when negative. The parent or owner lies at (100, 80) in the work area.
    enum Kind
    {
        TOP_LEVEL,
        CHILD_WINDOW,
        OWNED_WINDOW
    };
    const struct
    {
        const char* pszCase;
        Kind kind;
        LONG cx, cy, xCursor, yCursor, x, y;
    } CASES[] = {{"middle: half of 301 is 150", TOP_LEVEL, 301, 201, 400, 300, 250, 200},
                 {"right and bottom edges", TOP_LEVEL, 301, 201, -5, -5, -301, -201},
                 {"larger than the work area", TOP_LEVEL, 3000, 2000, -5, -5, 0, 0},
                 {"child, screen position kept", CHILD_WINDOW, 101, 51, 400, 300, 350, 275},
                 {"child clamped in screen coordinates", CHILD_WINDOW, 101, 51, -1, -1, -101, -51},
                 {"owned window, not converted", OWNED_WINDOW, 301, 201, 400, 300, 250, 200}};
    auto at = [](LONG nLow, LONG nHigh, LONG nOffset) {
        return nOffset < 0 ? nHigh + nOffset : nLow + nOffset;
    };
    for (const auto& row : CASES)
    {
        HWND hwndParent = CreateWindowA("STATIC", "", WS_POPUP, rcWork.left + 100, rcWork.top + 80,
                                        600, 400, nullptr, nullptr, nullptr, nullptr);
        HWND hWnd = CreateWindowA(
            "STATIC", "", row.kind == CHILD_WINDOW ? WS_CHILD | WS_VISIBLE : WS_POPUP, 5, 5, row.cx,
            row.cy, row.kind == TOP_LEVEL ? nullptr : hwndParent, nullptr, nullptr, nullptr);
        SetCursorPos(at(rcWork.left, rcWork.right, row.xCursor),
                     at(rcWork.top, rcWork.bottom, row.yCursor));
        CenterWindowOnCursor(hWnd);
        const LONG x = at(rcWork.left, rcWork.right, row.x);
        const LONG y = at(rcWork.top, rcWork.bottom, row.y);
        RECT rc = {};
        GetWindowRect(hWnd, &rc);
        EXPECT_EQ(std::vector<LONG>({x, y, row.cx, row.cy}),
                  std::vector<LONG>({rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top}))
            << row.pszCase;
        DestroyWindow(hWnd);
        DestroyWindow(hwndParent);
    }
}
