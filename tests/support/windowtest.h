// Real windows for tests under Wine: popups and child controls made without a
// class of their own, and the lines the code traces.
#ifndef QUORZEL_TESTS_WINDOWTEST_H
#define QUORZEL_TESTS_WINDOWTEST_H

#include <stdio.h>
#include <string>
#include <windows.h>

#include "TOOLS/toolsys.h"

// A "STATIC" window at (x, y): on the screen, or in the parent's client area
// with WS_CHILD, where nId is its control id.
inline HWND CreateTestWindow(DWORD dwStyle, HWND hwndParent, int x, int y, int cx, int cy, int nId = 0)
{
    return CreateWindowExA(0, "STATIC", "", dwStyle, x, y, cx, cy, hwndParent,
                           reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleA(nullptr), nullptr);
}

// With g_pfnTraceProc = CaptureTrace, traced lines collect in g_tracedLines.
inline std::string g_tracedLines;

inline int CaptureTrace(const char* pszFormat, ...)
{
    char szLine[1024];
    va_list args;
    va_start(args, pszFormat);
    const int nResult = vsnprintf(szLine, sizeof szLine, pszFormat, args);
    va_end(args);
    g_tracedLines += szLine;
    return nResult;
}

#endif
