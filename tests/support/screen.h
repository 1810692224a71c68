// Tests driven like a user under Wine and Xvfb: the real mouse and keys, dialogs run or found,
// looks judged from (or saved as) the pixels on the screen, and runs at other DPIs.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>
#include <process.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

// Moves the pointer to pt or works the left button, then runs the thread's messages for 80 ms.
inline void UseMouse(DWORD dwButton, POINT pt = {})
{
    if (dwButton)
        mouse_event(dwButton, 0, 0, 0, 0);
    else
        SetCursorPos(pt.x, pt.y);
    MSG msg;
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < 80; Sleep(1))
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
}

inline void PressKey(BYTE vk)
{
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

inline RECT WindowRect(HWND hWnd)
{
    RECT rc = {};  // empty when the window is gone
    GetWindowRect(hWnd, &rc);
    return rc;
}

inline POINT WindowCenter(HWND hWnd)
{
    const RECT rc = WindowRect(hWnd);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

inline std::string WindowText(HWND hWnd)
{
    char szText[1100] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

inline SIZE TextExtent(HWND hwndCtrl)
{
    HDC hdc = GetDC(hwndCtrl);
    SelectObject(hdc, HFONT(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0)));
    SIZE size = {};
    const std::string text = WindowText(hwndCtrl);
    GetTextExtentPoint32A(hdc, text.c_str(), int(text.size()), &size);
    ReleaseDC(hwndCtrl, hdc);
    return size;
}

inline bool LiesInWorkArea(HWND hWnd)
{
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    RECT rc = WindowRect(hWnd);
    return UnionRect(&rc, &rc, &rcWork) && EqualRect(&rc, &rcWork);  // adds nothing to it
}

// The topmost visible dialog of the process once at least nCount show, or null after 10 s.
inline HWND WaitForDialog(DWORD dwProcessId = GetCurrentProcessId(), size_t nCount = 1)
{
    for (int nTry = 0; nTry < 500; ++nTry)
    {
        std::vector<HWND> found;
        DWORD dwOwner = 0;
        for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr));)
        {
            GetWindowThreadProcessId(hwnd, &dwOwner);
            if (dwOwner == dwProcessId && IsWindowVisible(hwnd))
                found.push_back(hwnd);
        }
        if (found.size() >= nCount)
            return found.front();
        Sleep(20);
    }
    return nullptr;
}

// Runs show while drive acts from another thread: show's result, or -1 if drive left it open.
template <class Show> INT_PTR RunModal(Show show, void (*drive)(HWND))
{
    bool fLeftOpen = false;
    std::thread driver([&] {
        HWND hwnd = WaitForDialog();
        drive(hwnd);
        for (int nTry = 0; nTry < 50 && IsWindow(hwnd); ++nTry)
            Sleep(20);
        fLeftOpen = PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR nResult = INT_PTR(show());
    driver.join();
    return fLeftOpen ? -1 : nResult;
}

// A window's pixels on the screen, 0x00RRGGBB from the top row, a BMP's header, the DPI.
struct Screenshot
{
    BITMAPINFOHEADER info;
    std::vector<DWORD> bits;
    int nDpi;
    bool Has(DWORD dwColor) const
    {
        return std::count(bits.begin(), bits.end(), dwColor) > 0;
    }
};

inline Screenshot TakeScreenshot(HWND hWnd)
{
    const RECT rc = WindowRect(hWnd);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    Screenshot shot = {{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32}, std::vector<DWORD>(cx * cy)};
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    SelectObject(hdc, hbm);
    BitBlt(hdc, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    DeleteDC(hdc);  // lets the bitmap go
    GetDIBits(hdcScreen, hbm, 0, cy, shot.bits.data(), reinterpret_cast<BITMAPINFO*>(&shot.info),
              DIB_RGB_COLORS);
    shot.nDpi = GetDeviceCaps(hdcScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hdcScreen);
    DeleteObject(hbm);
    return shot;
}

// Saves the window, once painted, as NAME.bmp, or NAME-DPI.bmp at other than 96 DPI.
inline void SaveWindowBitmap(HWND hWnd, const std::string& name)
{
    RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    const Screenshot shot = TakeScreenshot(hWnd);
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof shot.info;
    const DWORD cbBits = DWORD(shot.bits.size() * 4);
    const BITMAPFILEHEADER file = {0x4D42, cbHeaders + cbBits, 0, 0, cbHeaders};  // "BM"
    const std::string dpi = shot.nDpi == 96 ? "" : "-" + std::to_string(shot.nDpi);
    std::ofstream bmp(name + dpi + ".bmp", std::ios::binary);
    bmp.write(reinterpret_cast<const char*>(&file), sizeof file);
    bmp.write(reinterpret_cast<const char*>(&shot.info), sizeof shot.info);
    bmp.write(reinterpret_cast<const char*>(shot.bits.data()), cbBits);
}

// The visible controls whose text, in their own font, does not fit: "id: needed in had". A check
// box's box and a push button's edges take room too; an edit scrolls: only its height counts.
inline std::string TextsThatDoNotFit(HWND hwndDlg)
{
    std::string misfits;
    for (HWND hwnd = GetWindow(hwndDlg, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
    {
        char szClass[16] = "";
        GetClassNameA(hwnd, szClass, sizeof szClass);
        const LONG nType = GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
        const bool fButton = lstrcmpiA(szClass, "Button") == 0;
        const bool fCheckBox = fButton && (nType == BS_AUTOCHECKBOX || nType == BS_CHECKBOX);
        LONG nTaken = fCheckBox ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
        nTaken += fButton ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
        RECT rc;
        GetClientRect(hwnd, &rc);
        const SIZE text = TextExtent(hwnd);
        const bool fWide = lstrcmpiA(szClass, "Edit") != 0 && text.cx + nTaken > rc.right;
        if (IsWindowVisible(hwnd) && !WindowText(hwnd).empty() && (fWide || text.cy > rc.bottom))
            misfits += std::to_string(GetDlgCtrlID(hwnd)) + ": " +
                       std::to_string(text.cx + nTaken) + " x " + std::to_string(text.cy) + " in " +
                       std::to_string(rc.right) + " x " + std::to_string(rc.bottom) + "; ";
    }
    return misfits;
}

// Runs the filter's tests of this program again at 144 and 192 logical DPI, then puts 96 back:
// the DPIs at which they failed, or "".
inline std::string DpisWhereTestsFail(const std::string& filter)
{
    const std::string option = "--gtest_filter=" + filter;
    std::string failed;
    for (DWORD dwDpi : {144, 192, 96})
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dwDpi,
                        sizeof dwDpi);
        if (dwDpi != 96 && _spawnl(_P_WAIT, _pgmptr, _pgmptr, option.c_str(), nullptr) != 0)
            failed += std::to_string(dwDpi) + " ";
    }
    return failed;
}

#endif
