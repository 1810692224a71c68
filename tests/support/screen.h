// Tests driven like a user under Wine and Xvfb: the real mouse and keys, dialogs run or found,
// looks judged from (or saved as) the pixels on the screen, and runs at other DPIs.
#ifndef QUORZEL_TESTS_SCREEN_H
#define QUORZEL_TESTS_SCREEN_H

#include <windows.h>
#include <process.h>

#include <stdio.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

// Every wait: runs this thread's messages and idles (when Wine shows what they painted) until get()
// gives want or 10 s pass; what get() gave last.
template <class Get>
std::invoke_result_t<Get> WaitFor(const std::invoke_result_t<Get>& want, Get get)
{
    for (const DWORD dwStart = GetTickCount();;)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        const auto got = get();
        if (got == want || GetTickCount() - dwStart > 10000)
            return got;
    }
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
inline HWND WaitForDialog(DWORD dwPid = GetCurrentProcessId(), size_t nCount = 1)
{
    std::vector<HWND> found;
    WaitFor(true, [&] {
        found.clear();
        DWORD dwOwner = 0;
        for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr));)
            if (GetWindowThreadProcessId(hwnd, &dwOwner) && dwOwner == dwPid &&
                IsWindowVisible(hwnd))
                found.push_back(hwnd);
        return found.size() >= nCount;
    });
    return found.size() >= nCount ? found.front() : nullptr;
}

// Runs show while drive acts on its dialog from another thread: show's result, or -1 if left open.
template <class Show> INT_PTR RunModal(Show show, void (*drive)(HWND))
{
    bool fLeftOpen = false;
    std::thread driver([&] {
        HWND hwnd = WaitForDialog();
        drive(hwnd);
        WaitFor(FALSE, [hwnd] { return IsWindow(hwnd); });
        fLeftOpen = PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);  // none: to this thread
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
    // Icons leave their alpha in the fourth byte: a viewer would show all else clear.
    for (DWORD& dwPixel : shot.bits)
        dwPixel &= 0xFFFFFF;
    return shot;
}

// The link colours a picture shows: "blue", "red", both ("bluered") or neither ("").
inline std::string LinkColours(const Screenshot& shot)
{
    const bool fBlue = std::count(shot.bits.begin(), shot.bits.end(), 0x0000FF) > 0;
    const bool fRed = std::count(shot.bits.begin(), shot.bits.end(), 0xFF0000) > 0;
    return std::string(fBlue ? "blue" : "") + (fRed ? "red" : "");
}

// Saves the window, painted, as NAME.bmp (NAME-DPI.bmp off 96 DPI): the picture, for checks on it.
inline Screenshot SaveWindowBitmap(HWND hWnd, const std::string& name)
{
    RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Screenshot shot = TakeScreenshot(hWnd);
    const DWORD cbHeaders = sizeof(BITMAPFILEHEADER) + sizeof shot.info;
    const DWORD cbBits = DWORD(shot.bits.size() * 4);
    const BITMAPFILEHEADER file = {0x4D42, cbHeaders + cbBits, 0, 0, cbHeaders};  // "BM"
    const std::string dpi = shot.nDpi == 96 ? "" : "-" + std::to_string(shot.nDpi);
    std::ofstream bmp(name + dpi + ".bmp", std::ios::binary);
    bmp.write(reinterpret_cast<const char*>(&file), sizeof file);
    bmp.write(reinterpret_cast<const char*>(&shot.info), sizeof shot.info);
    bmp.write(reinterpret_cast<const char*>(shot.bits.data()), cbBits);
    return shot;
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

// Every test program that includes this says first at which DPI it draws, for DpisWhereTestsFail.
inline const int g_nDpiSaid = printf("drawn at %d DPI\n", TakeScreenshot(GetDesktopWindow()).nDpi);

// Runs the named tests again in this program started anew at 144 and at 192 DPI, then puts back 96:
// "" when each run says that it drew at that DPI and passed them all, or what a run did not say.
inline std::string DpisWhereTestsFail(const std::vector<std::string>& tests)
{
    std::string command = "\"" + std::string(_pgmptr) + "\" --gtest_filter=";
    for (const std::string& test : tests)
        command += test + ":";
    std::string failed;
    for (DWORD dwDpi : {144, 192, 96})
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dwDpi,
                        sizeof dwDpi);
        if (dwDpi == 96)
            break;  // as the prefix was
        FILE* pRun = _popen(command.c_str(), "r");
        std::string output;
        for (int c = 0; (c = fgetc(pRun)) != EOF; putchar(c))  // passed on as it comes
            output += char(c);
        for (const std::string& said : {"drawn at " + std::to_string(dwDpi) + " DPI",
                                        "[  PASSED  ] " + std::to_string(tests.size()) + " test"})
            if (output.find(said) == std::string::npos)
                failed += "the run at " + std::to_string(dwDpi) + " DPI never said " + said + "; ";
        _pclose(pRun);
    }
    return failed;
}

#endif
