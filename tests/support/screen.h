// The real mouse and the real screen for GUI tests under Wine and Xvfb: the
// pointer and buttons go through the system's input, and looks are judged
// from the pixels on the screen, as a user would see them.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>

#include <vector>

// Runs the thread's messages, timers included, for nMilliseconds.
inline void PumpMessages(DWORD nMilliseconds)
{
    const DWORD dwStart = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(1);
    } while (GetTickCount() - dwStart < nMilliseconds);
}

// Moves the pointer to a screen point and lets the mouse messages arrive.
inline void MoveMouseTo(POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    PumpMessages(80);
}

// Presses (true) or releases the left button where the pointer is.
inline void PressLeftButton(bool fDown)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = fDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    PumpMessages(80);
}

// The pixels of a window's outer rectangle on the screen, top row first.
struct Screenshot
{
    int cx;
    int cy;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * cx + x)]; }
};

inline Screenshot TakeScreenshot(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    Screenshot shot = {rc.right - rc.left, rc.bottom - rc.top, {}};
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.cx, -shot.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HDC hdcScreen = GetDC(nullptr);
    HDC hdcMemory = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateDIBSection(hdcMemory, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hbmOld = SelectObject(hdcMemory, hbm);
    BitBlt(hdcMemory, 0, 0, shot.cx, shot.cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    for (int i = 0; i < shot.cx * shot.cy; ++i)
    {
        const DWORD dwPixel = static_cast<const DWORD*>(pBits)[i];  // 0x00RRGGBB
        shot.pixels.push_back(RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF));
    }
    SelectObject(hdcMemory, hbmOld);
    DeleteObject(hbm);
    DeleteDC(hdcMemory);
    ReleaseDC(nullptr, hdcScreen);
    return shot;
}

inline unsigned CountPixels(const Screenshot& shot, COLORREF color)
{
    unsigned nCount = 0;
    for (COLORREF pixel : shot.pixels)
        nCount += pixel == color;
    return nCount;
}

// Whether the top and the bottom row have the colour throughout (text drawn
// from the left edge may cover the sides of a frame).
inline bool HasFrame(const Screenshot& shot, COLORREF color)
{
    for (int x = 0; x < shot.cx; ++x)
        if (shot.At(x, 0) != color || shot.At(x, shot.cy - 1) != color)
            return false;
    return true;
}

#endif
