// The real mouse and the real screen for GUI tests under Wine and Xvfb: the
// pointer and buttons go through the system's input, and looks are judged
// from the pixels on the screen, as a user would see them.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>
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
inline void MoveMouseTo(POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    PumpMessages(80);
}

inline void PressLeftButton(bool fDown)
{
    INPUT input = {INPUT_MOUSE, {}};
    input.mi.dwFlags = fDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    PumpMessages(80);
}

// The pixels of a window's outer rectangle on the screen, rows from the top.
struct Screenshot
{
    int cx, cy;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * cx + x)]; }
    bool Has(COLORREF color) const { return std::find(pixels.begin(), pixels.end(), color) != pixels.end(); }
};

inline Screenshot TakeScreenshot(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    Screenshot shot = {rc.right - rc.left, rc.bottom - rc.top, {}};
    BITMAPINFO bmi = {{sizeof(BITMAPINFOHEADER), shot.cx, -shot.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* pBits = nullptr;  // 0x00RRGGBB
    HDC hdcScreen = GetDC(nullptr), hdcMemory = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateDIBSection(hdcMemory, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&pBits), nullptr, 0);
    HGDIOBJ hbmOld = SelectObject(hdcMemory, hbm);
    BitBlt(hdcMemory, 0, 0, shot.cx, shot.cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    for (int i = 0; i < shot.cx * shot.cy; ++i)
        shot.pixels.push_back(RGB((pBits[i] >> 16) & 0xFF, (pBits[i] >> 8) & 0xFF, pBits[i] & 0xFF));
    DeleteObject(SelectObject(hdcMemory, hbmOld));
    DeleteDC(hdcMemory);
    ReleaseDC(nullptr, hdcScreen);
    return shot;
}

#endif
