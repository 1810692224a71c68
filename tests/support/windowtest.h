// Real windows for tests under Wine: popups and child controls made without a
// class of their own, message pumping, and the trace lines the code emits.
#ifndef QUORZEL_TESTS_WINDOWTEST_H
#define QUORZEL_TESTS_WINDOWTEST_H

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "TOOLS/toolsys.h"

// A window of the "STATIC" class at (x, y) in screen coordinates, or in the
// parent's client area with WS_CHILD (the id is then its control id).
inline HWND CreateTestWindow(DWORD dwStyle, HWND hwndParent, RECT rc, int nId = 0)
{
    return CreateWindowExA(0, "STATIC", "", dwStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                           hwndParent, reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleA(nullptr), nullptr);
}

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Collects every traced line while it lives, instead of the debugger output.
struct TraceCapture
{
    static std::string& Lines() { static std::string lines; return lines; }
    static int Capture(const char* pszFormat, ...)
    {
        char szLine[1024];
        va_list args;
        va_start(args, pszFormat);
        const int nResult = vsnprintf(szLine, sizeof szLine, pszFormat, args);
        va_end(args);
        Lines() += szLine;
        return nResult;
    }
    TraceProc pfnSaved = g_pfnTraceProc;
    TraceCapture() { Lines().clear(), g_pfnTraceProc = &Capture; }
    ~TraceCapture() { g_pfnTraceProc = pfnSaved; }
    std::string Take() { std::string lines = Lines(); Lines().clear(); return lines; }
};

#endif
