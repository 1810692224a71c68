// Tests driven like a user under Wine and Xvfb: the real mouse and keys, dialogs run or found,
// looks judged from (or saved as) the pixels on the screen, and runs at other DPIs.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

// Runs the thread's messages, timers included, for nMilliseconds.
inline void PumpMessages(DWORD nMilliseconds)
{
    MSG msg;
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < nMilliseconds; Sleep(1))
    {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

// Moves the pointer to a screen point, or presses (true) or releases the left button, and lets
// the mouse messages arrive.
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

// Presses the keys in order and releases them in reverse.
inline void PressKeys(const std::vector<BYTE>& keys)
{
    for (BYTE vk : keys)
        keybd_event(vk, 0, 0, 0);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        keybd_event(*it, 0, KEYEVENTF_KEYUP, 0);
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

// A window's text, also from another process.
inline std::string WindowText(HWND hWnd)
{
    char szText[1100] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// A control's text measured in the control's own font.
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
    const RECT rc = WindowRect(hWnd);
    return rc.left >= rcWork.left && rc.top >= rcWork.top && rc.right <= rcWork.right &&
           rc.bottom <= rcWork.bottom;
}

// The visible dialogs of a process, topmost first.
inline std::vector<HWND> FindDialogs(DWORD dwProcessId)
{
    std::vector<HWND> found;
    DWORD dwOwner = 0;
    for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr));)
    {
        if (GetWindowThreadProcessId(hwnd, &dwOwner) && dwOwner == dwProcessId &&
            IsWindowVisible(hwnd))
            found.push_back(hwnd);
    }
    return found;
}

// The topmost dialog of the process once at least nCount show, or null after 10 s.
inline HWND WaitForDialog(DWORD dwProcessId = GetCurrentProcessId(), size_t nCount = 1)
{
    for (int i = 0; i < 500 && FindDialogs(dwProcessId).size() < nCount; ++i)
        Sleep(20);
    const std::vector<HWND> found = FindDialogs(dwProcessId);
    return found.size() < nCount ? nullptr : found.front();
}

// Acts on the dialog that shows, then tells whether the dialog is still there a second later.
inline DWORD WINAPI DriveDialog(void* pDrive)
{
    HWND hwnd = WaitForDialog();
    reinterpret_cast<void (*)(HWND)>(pDrive)(hwnd);
    for (int i = 0; i < 50 && IsWindow(hwnd); ++i)
        Sleep(20);
    return PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// Shows a modal dialog on this thread while drive acts on it from a thread of its own, so that
// it may assert, and cancels the dialog if drive leaves it open. Gives show's result, or -1
// when drive left the dialog open.
inline INT_PTR RunModal(INT_PTR (*show)(), void (*drive)(HWND))
{
    HANDLE hThread =
        CreateThread(nullptr, 0, DriveDialog, reinterpret_cast<void*>(drive), 0, nullptr);
    const INT_PTR nResult = show();
    DWORD dwLeftOpen = 0;
    WaitForSingleObject(hThread, INFINITE);
    GetExitCodeThread(hThread, &dwLeftOpen);
    CloseHandle(hThread);
    return dwLeftOpen ? -1 : nResult;
}

// The pixels of a screen rectangle as 0x00RRGGBB, rows from the top, in the header of a 32-bit
// BMP file, so that they save as they are.
struct Screenshot
{
    BITMAPINFOHEADER info;
    std::vector<DWORD> bits;
    bool Has(COLORREF color) const
    {
        const DWORD dwBits = RGB(GetBValue(color), GetGValue(color), GetRValue(color));
        return std::find(bits.begin(), bits.end(), dwBits) != bits.end();
    }
};

inline Screenshot TakeScreenshot(const RECT& rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    Screenshot shot = {{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32}, std::vector<DWORD>(cx * cy)};
    HDC hdcScreen = GetDC(nullptr);
    HDC hdcMemory = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HGDIOBJ hbmOld = SelectObject(hdcMemory, hbm);
    BitBlt(hdcMemory, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMemory, hbmOld);
    GetDIBits(hdcMemory, hbm, 0, cy, shot.bits.data(), reinterpret_cast<BITMAPINFO*>(&shot.info),
              DIB_RGB_COLORS);
    DeleteObject(hbm);
    DeleteDC(hdcMemory);
    ReleaseDC(nullptr, hdcScreen);
    return shot;
}

// The screen's logical DPI, which the prefix's LogPixels gives a program when it starts.
inline int ScreenDpi()
{
    HDC hdc = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hdc, LOGPIXELSY);
    ReleaseDC(nullptr, hdc);
    return nDpi;
}

// Saves the window as the screen shows it, once painted, as NAME.bmp, or NAME-DPI.bmp at other
// than 96 DPI.
inline void SaveWindowBitmap(HWND hWnd, const std::string& name)
{
    RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    const Screenshot shot = TakeScreenshot(WindowRect(hWnd));
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof shot.info;
    const DWORD cbBits = DWORD(shot.bits.size() * 4);
    const BITMAPFILEHEADER file = {0x4D42, cbHeaders + cbBits, 0, 0, cbHeaders};  // "BM"
    const std::string dpi = ScreenDpi() == 96 ? "" : "-" + std::to_string(ScreenDpi());
    std::ofstream bmp(name + dpi + ".bmp", std::ios::binary);
    bmp.write(reinterpret_cast<const char*>(&file), sizeof file);
    bmp.write(reinterpret_cast<const char*>(&shot.info), sizeof shot.info);
    bmp.write(reinterpret_cast<const char*>(shot.bits.data()), cbBits);
}

// The visible controls of the dialog whose text, in the control's own font, does not fit inside
// it: "id: needed in had". A check box's box and a push button's edges take room of their own;
// an edit scrolls, so only its height counts.
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

// Runs this test program again at a logical DPI, only the tests that the filter names, and puts
// 96 back; gives its exit code. Its output is this program's.
inline DWORD RunThisProgramAtDpi(DWORD dwDpi, const std::string& filter)
{
    const char* const DESKTOP = "Control Panel\\Desktop";
    RegSetKeyValueA(HKEY_CURRENT_USER, DESKTOP, "LogPixels", REG_DWORD, &dwDpi, sizeof dwDpi);
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string commandLine = "\"" + std::string(szPath) + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    DWORD dwExitCode = STILL_ACTIVE;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process))
    {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &dwExitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    const DWORD dwDefault = 96;
    RegSetKeyValueA(HKEY_CURRENT_USER, DESKTOP, "LogPixels", REG_DWORD, &dwDefault,
                    sizeof dwDefault);
    return dwExitCode;
}

#endif
