// Driving modal dialogs in tests under Wine: a driver thread that acts like a
// user while the test's thread runs the modal loop, finding a process's dialogs,
// mouse drags and clicks, and screen captures of a window (counted or saved).
#ifndef QUORZEL_TESTS_MODALDRIVER_H
#define QUORZEL_TESTS_MODALDRIVER_H

#include <windows.h>

#include <stdio.h>

#include <functional>
#include <vector>

struct DialogSearch
{
    DWORD dwProcessId;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<DialogSearch*>(lParam);
    DWORD dwProcessId = 0;
    char szClass[8] = "";
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (dwProcessId == pSearch->dwProcessId && IsWindowVisible(hWnd) && lstrcmpA(szClass, "#32770") == 0)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

// The visible dialogs of a process, topmost first.
inline std::vector<HWND> FindDialogs(DWORD dwProcessId)
{
    DialogSearch search = {dwProcessId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The topmost dialog of the process once one is shown (10 s at most), or null.
inline HWND WaitForDialog(DWORD dwProcessId = GetCurrentProcessId())
{
    for (int i = 0; i < 500; ++i, Sleep(20))
        if (!FindDialogs(dwProcessId).empty())
            return FindDialogs(dwProcessId).front();
    return nullptr;
}

inline DWORD WINAPI DriverThreadProc(void* pDrive)
{
    (*static_cast<std::function<void()>*>(pDrive))();
    return 0;
}

// Runs drive on a thread of its own while run (a modal loop) runs on this one.
template <class Run>
auto RunWhileDriving(std::function<void()> drive, Run run) -> decltype(run())
{
    HANDLE hThread = CreateThread(nullptr, 0, DriverThreadProc, &drive, 0, nullptr);
    auto result = run();
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    return result;
}

inline void MoveMouseTo(POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);  // a move message where the cursor now is
    Sleep(60);
}

// Presses the left button at one screen point and releases it at another.
inline void DragMouse(POINT ptFrom, POINT ptTo)
{
    MoveMouseTo(ptFrom);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Sleep(60);
    for (int i = 1; i <= 3; ++i)
        MoveMouseTo({ptFrom.x + (ptTo.x - ptFrom.x) * i / 3, ptFrom.y + (ptTo.y - ptFrom.y) * i / 3});
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Sleep(200);
}

inline POINT WindowCenter(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// The window's rectangle as the screen shows it: a bottom-up 24-bit DIB.
inline std::vector<unsigned char> CaptureWindow(HWND hWnd, BITMAPINFOHEADER* pHeader)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    *pHeader = {sizeof *pHeader, rc.right - rc.left, rc.bottom - rc.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<unsigned char> bits(size_t((pHeader->biWidth * 3 + 3) & ~3) * pHeader->biHeight);
    HDC hdcScreen = GetDC(nullptr), hdcMemory = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, pHeader->biWidth, pHeader->biHeight);
    HGDIOBJ hOld = SelectObject(hdcMemory, hbm);
    BitBlt(hdcMemory, 0, 0, pHeader->biWidth, pHeader->biHeight, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMemory, hOld);
    GetDIBits(hdcMemory, hbm, 0, pHeader->biHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(pHeader),
              DIB_RGB_COLORS);
    DeleteObject(hbm);
    DeleteDC(hdcMemory);
    ReleaseDC(nullptr, hdcScreen);
    return bits;
}

// How many pixels of the window show exactly this colour.
inline int CountPixels(HWND hWnd, COLORREF colour)
{
    BITMAPINFOHEADER header;
    const std::vector<unsigned char> bits = CaptureWindow(hWnd, &header);
    const size_t cbRow = (header.biWidth * 3 + 3) & ~3;
    int nCount = 0;
    for (size_t y = 0; y < size_t(header.biHeight); ++y)
        for (const unsigned char* p = &bits[y * cbRow]; p < &bits[y * cbRow] + header.biWidth * 3; p += 3)
            nCount += RGB(p[2], p[1], p[0]) == colour;
    return nCount;
}

// Saves the window as the screen shows it in a BMP file.
inline bool SaveWindowBitmap(HWND hWnd, const char* pszPath)
{
    BITMAPINFOHEADER header;
    const std::vector<unsigned char> bits = CaptureWindow(hWnd, &header);
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof header;
    const BITMAPFILEHEADER file = {0x4D42, DWORD(cbHeaders + bits.size()), 0, 0, cbHeaders};  // "BM"
    FILE* pFile = fopen(pszPath, "wb");
    if (!pFile)
        return false;
    fwrite(&file, sizeof file, 1, pFile);
    fwrite(&header, sizeof header, 1, pFile);
    fwrite(bits.data(), 1, bits.size(), pFile);
    return fclose(pFile) == 0;
}

#endif
