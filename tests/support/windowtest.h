// Real windows for tests under Wine: popups and child controls made without a
// class of their own.
#ifndef QUORZEL_TESTS_WINDOWTEST_H
#define QUORZEL_TESTS_WINDOWTEST_H

#include <windows.h>

// A "STATIC" window at (x, y): on the screen, or in the parent's client area
// with WS_CHILD, where nId is its control id.
inline HWND CreateTestWindow(DWORD dwStyle, HWND hwndParent, int x, int y, int cx, int cy, int nId = 0)
{
    return CreateWindowExA(0, "STATIC", "", dwStyle, x, y, cx, cy, hwndParent,
                           reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleA(nullptr), nullptr);
}

#endif
