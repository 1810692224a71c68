// Real windows for tests under Wine: popups and child controls made without a
// class of their own, message pumping, and the lines the code traces.
#ifndef QUORZEL_TESTS_WINDOWTEST_H
#define QUORZEL_TESTS_WINDOWTEST_H

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "TOOLS/toolsys.h"

// A "STATIC" window at (x, y): on the screen, or in the parent's client area
// with WS_CHILD, where nId is its control id.
inline HWND CreateTestWindow(DWORD dwStyle, HWND hwndParent, int x, int y, int cx, int cy, int nId = 0)
{
    return CreateWindowExA(0, "STATIC", "", dwStyle, x, y, cx, cy, hwndParent,
                           reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleA(nullptr), nullptr);
}

inline void PumpMessages()
{
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&msg);
}

// With g_pfnTraceProc = CaptureTrace, traced lines collect in TracedLines().
inline std::string& TracedLines()
{
    static std::string lines;
    return lines;
}

inline int CaptureTrace(const char* pszFormat, ...)
{
    char szLine[1024];
    va_list args;
    va_start(args, pszFormat);
    const int nResult = vsnprintf(szLine, sizeof szLine, pszFormat, args);
    va_end(args);
    TracedLines() += szLine;
    return nResult;
}

#endif
