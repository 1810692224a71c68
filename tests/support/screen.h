// Tests under Wine and Xvfb driven like a user: the real mouse, a process's
// dialogs, and looks judged from (or saved as) the pixels on the screen.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <vector>

// Runs the thread's messages, timers included, for nMilliseconds.
inline void PumpMessages(DWORD nMilliseconds)
{
    MSG msg;
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < nMilliseconds; Sleep(1))
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
}

// Moves the pointer to a screen point, or presses (true) or releases the left
// button, and lets the mouse messages arrive.
inline void MoveMouseTo(POINT pt) { SetCursorPos(pt.x, pt.y), PumpMessages(80); }

inline void PressLeftButton(bool fDown)
{
    INPUT input = {INPUT_MOUSE, {}};
    input.mi.dwFlags = fDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    PumpMessages(80);
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

// The visible dialogs of a process, topmost first; the topmost once one shows (10 s at most).
inline std::vector<HWND> FindDialogs(DWORD dwProcessId)
{
    std::vector<HWND> found;
    DWORD dwOwner = 0;
    for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(hwnd, &dwOwner) && dwOwner == dwProcessId && IsWindowVisible(hwnd))
            found.push_back(hwnd);
    return found;
}

inline HWND WaitForDialog(DWORD dwProcessId = GetCurrentProcessId())
{
    std::vector<HWND> found;
    for (int i = 0; i < 500 && (found = FindDialogs(dwProcessId)).empty(); ++i)
        Sleep(20);
    return found.empty() ? nullptr : found.front();
}

// The pixels of a window's outer rectangle on the screen, rows from the top,
// as 0x00RRGGBB: the order a 32-bit BMP file keeps, so they save as they are.
struct Screenshot
{
    BITMAPINFOHEADER info;
    std::vector<DWORD> bits;
    static DWORD Bits(COLORREF color) { return RGB(GetBValue(color), GetGValue(color), GetRValue(color)); }
    bool Has(COLORREF color) const { return std::find(bits.begin(), bits.end(), Bits(color)) != bits.end(); }
};

inline Screenshot TakeScreenshot(HWND hWnd)
{
    RECT rc = {};  // empty when the window is gone
    GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    Screenshot shot = {{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, std::vector<DWORD>(cx * cy)};
    HDC hdcScreen = GetDC(nullptr), hdcMemory = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HGDIOBJ hbmOld = SelectObject(hdcMemory, hbm);
    BitBlt(hdcMemory, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMemory, hbmOld);
    GetDIBits(hdcMemory, hbm, 0, cy, shot.bits.data(), reinterpret_cast<BITMAPINFO*>(&shot.info), DIB_RGB_COLORS);
    DeleteObject(hbm), DeleteDC(hdcMemory), ReleaseDC(nullptr, hdcScreen);
    return shot;
}

// Saves the window as the screen shows it in a 32-bit top-down BMP file.
inline bool SaveWindowBitmap(HWND hWnd, const char* pszPath)
{
    const Screenshot shot = TakeScreenshot(hWnd);
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof shot.info, cbBits = DWORD(shot.bits.size() * 4);
    const BITMAPFILEHEADER file = {0x4D42, cbHeaders + cbBits, 0, 0, cbHeaders};  // "BM"
    FILE* pFile = fopen(pszPath, "wb");
    return pFile && fwrite(&file, sizeof file, 1, pFile) + fwrite(&shot.info, sizeof shot.info, 1, pFile)
                            + fwrite(shot.bits.data(), cbBits, 1, pFile) + fclose(pFile) == 3;
}

#endif
