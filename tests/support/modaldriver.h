// Driving modal dialogs in tests under Wine: a driver thread that acts like a
// user (through screen.h's mouse) while the test's thread runs the modal loop,
// a process's dialogs, drags, and a window saved as the screen shows it.
#ifndef QUORZEL_TESTS_MODALDRIVER_H
#define QUORZEL_TESTS_MODALDRIVER_H

#include <windows.h>

#include <stdio.h>

#include <functional>
#include <vector>

#include "support/screen.h"

// The visible dialogs of a process, topmost first.
inline std::vector<HWND> FindDialogs(DWORD dwProcessId)
{
    std::vector<HWND> found;
    DWORD dwOwner = 0;
    for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(hwnd, &dwOwner) && dwOwner == dwProcessId && IsWindowVisible(hwnd))
            found.push_back(hwnd);
    return found;
}

// The topmost dialog of the process once one is shown (10 s at most), or null.
inline HWND WaitForDialog(DWORD dwProcessId = GetCurrentProcessId())
{
    std::vector<HWND> found;
    for (int i = 0; i < 500 && (found = FindDialogs(dwProcessId)).empty(); ++i)
        Sleep(20);
    return found.empty() ? nullptr : found.front();
}

inline DWORD WINAPI DriverThreadProc(void* pDrive)
{
    (*static_cast<std::function<void()>*>(pDrive))();
    return 0;
}

// Runs drive on a thread of its own while run (a modal loop) runs on this one.
// The test's thread only waits in the loop meanwhile, so drive may assert.
template <class Run>
auto RunWhileDriving(std::function<void()> drive, Run run) -> decltype(run())
{
    HANDLE hThread = CreateThread(nullptr, 0, DriverThreadProc, &drive, 0, nullptr);
    auto result = run();
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    return result;
}

// Presses the left button at one screen point and releases it at another.
inline void DragMouse(POINT ptFrom, POINT ptTo)
{
    MoveMouseTo(ptFrom);
    PressLeftButton(true);
    for (int i = 1; i <= 3; ++i)
        MoveMouseTo({ptFrom.x + (ptTo.x - ptFrom.x) * i / 3, ptFrom.y + (ptTo.y - ptFrom.y) * i / 3});
    PressLeftButton(false);
    Sleep(200);
}

inline POINT WindowCenter(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Saves the window as the screen shows it in a 32-bit top-down BMP file.
inline bool SaveWindowBitmap(HWND hWnd, const char* pszPath)
{
    Screenshot shot = TakeScreenshot(hWnd);
    for (COLORREF& pixel : shot.pixels)
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));  // BMP stores blue first
    const BITMAPINFOHEADER info = {sizeof info, shot.cx, -shot.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof info, cbBits = DWORD(shot.pixels.size() * 4);
    const BITMAPFILEHEADER file = {0x4D42, cbHeaders + cbBits, 0, 0, cbHeaders};  // "BM"
    FILE* pFile = fopen(pszPath, "wb");
    return pFile && fwrite(&file, sizeof file, 1, pFile) + fwrite(&info, sizeof info, 1, pFile)
                            + fwrite(shot.pixels.data(), cbBits, 1, pFile) + fclose(pFile) == 3;
}

#endif
