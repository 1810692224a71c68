// The window helpers of the TOOLS library: small operations over window
// handles that the dialogs and controls use instead of the raw Win32 calls.
// Queries read the outer rectangle in screen coordinates; moves of child
// windows are made in the parent's client coordinates.
#include "TOOLS/toolwind.h"

#include <stdlib.h>

#include <shellapi.h>

#include "TOOLS/toolsys.h"

namespace
{

// Failure lines name this source and line as the program has always reported
// them, so that logs read the same from one version to the next.
const char TOOLWIND_SOURCE_PATH[] = "..\\..\\TOOLS\\toolwind.cpp";

const TraceSite NULL_WINDOW = {1499, "hWnd"};
const TraceSite NOT_A_WINDOW = {1500, "IsWindow( hWnd )"};
const TraceSite INVALID_DIALOG = {1246, "IsValidWindow( hwndDlg )"};
const TraceSite INVALID_CONTROL = {1249, "IsValidWindow( hwndCtrl )"};

bool TraceAt(const TraceSite& site)
{
    return TraceFailureAt(TOOLWIND_SOURCE_PATH, site);
}

// The outer rectangle; all zero when the window does not exist.
RECT GetOuterRect(HWND hWnd)
{
    RECT rc;
    if (!GetWindowRect(hWnd, &rc))
        SetRectEmpty(&rc);
    return rc;
}

// The parent when the window is its child, else null: a top-level window's
// GetParent may be its owner, whose client area it does not live in.
HWND GetParentOfChild(HWND hWnd)
{
    HWND hwndParent = GetParent(hWnd);
    return hwndParent && IsChild(hwndParent, hWnd) ? hwndParent : nullptr;
}

// Turns a screen point into the coordinates SetWindowPos takes for the window.
void ScreenToPlacement(HWND hWnd, POINT* ppt)
{
    HWND hwndParent = GetParentOfChild(hWnd);
    if (hwndParent)
        ScreenToClient(hwndParent, ppt);
}

// The window's origin in the coordinates SetWindowPos takes for it.
POINT GetPlacementOrigin(HWND hWnd)
{
    POINT pt;
    GetWindowOrigin(hWnd, &pt);
    ScreenToPlacement(hWnd, &pt);
    return pt;
}

// Where the monitor's work area cannot be read, the primary one's stands for
// it, and the primary screen for that.
RECT GetWorkAreaOf(HMONITOR hMonitor)
{
    RECT rc;
    if (!GetMonitorWorkArea(hMonitor, &rc) && !GetWorkArea(&rc))
        SetRect(&rc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return rc;
}

// Keeps [*pnStart, *pnStart + nLength) inside [nLow, nHigh); the low edge
// wins when the span is longer than the range.
void ClampSpan(LONG* pnStart, LONG nLength, LONG nLow, LONG nHigh)
{
    if (nHigh < *pnStart + nLength)
        *pnStart = nHigh - nLength;
    if (*pnStart < nLow)
        *pnStart = nLow;
}

// Moves the window's top-left corner to the screen point, kept so that the
// whole window lies inside the work area. Right and bottom first, so that a
// window larger than the work area lines up with its left and top edges.
void PlaceInWorkArea(HWND hWnd, POINT pt, const RECT& rcWork)
{
    SIZE size;
    GetWindowSize(hWnd, &size);
    ClampSpan(&pt.x, size.cx, rcWork.left, rcWork.right);
    ClampSpan(&pt.y, size.cy, rcWork.top, rcWork.bottom);
    ScreenToPlacement(hWnd, &pt);
    MoveWindowTo(hWnd, pt.x, pt.y);
}

}  // namespace

// ---- handle checks ----

bool IsValidWindow(HWND hWnd)
{
    if (!hWnd)
        return TraceAt(NULL_WINDOW);
    if (!IsWindow(hWnd))
        return TraceAt(NOT_A_WINDOW);
    return true;
}

bool IsValidDlgItem(HWND hwndDlg, int nIDDlgItem)
{
    if (!IsValidWindow(hwndDlg))
        return TraceAt(INVALID_DIALOG);
    HWND hwndCtrl = GetDlgItem(hwndDlg, nIDDlgItem);
    if (!IsValidWindow(hwndCtrl))
        return TraceAt(INVALID_CONTROL);
    return true;
}

// ---- record helpers ----

void SetPoint(POINT* ppt, LONG x, LONG y)
{
    ppt->x = x;
    ppt->y = y;
}

void OffsetPoint(POINT* ppt, LONG dx, LONG dy)
{
    ppt->x += dx;
    ppt->y += dy;
}

int RectWidth(const RECT* prc)
{
    return prc->right - prc->left;
}

int RectHeight(const RECT* prc)
{
    return prc->bottom - prc->top;
}

void GetRectSize(const RECT* prc, SIZE* psize)
{
    psize->cx = RectWidth(prc);
    psize->cy = RectHeight(prc);
}

// ---- geometry ----

bool GetWindowOrigin(HWND hWnd, POINT* pptOrigin)
{
    const RECT rc = GetOuterRect(hWnd);
    SetPoint(pptOrigin, rc.left, rc.top);
    return true;
}

bool GetWindowSize(HWND hWnd, SIZE* psize)
{
    const RECT rc = GetOuterRect(hWnd);
    GetRectSize(&rc, psize);
    return true;
}

int GetWindowWidth(HWND hWnd)
{
    const RECT rc = GetOuterRect(hWnd);
    return RectWidth(&rc);
}

int GetWindowHeight(HWND hWnd)
{
    const RECT rc = GetOuterRect(hWnd);
    return RectHeight(&rc);
}

int GetWindowTop(HWND hWnd)
{
    return GetOuterRect(hWnd).top;
}

int GetWindowBottom(HWND hWnd)
{
    return GetWindowTop(hWnd) + GetWindowHeight(hWnd);
}

int GetDlgItemTop(HWND hwndDlg, int nIDDlgItem)
{
    return GetWindowTop(GetDlgItem(hwndDlg, nIDDlgItem));
}

int GetDlgItemBottom(HWND hwndDlg, int nIDDlgItem)
{
    return GetWindowBottom(GetDlgItem(hwndDlg, nIDDlgItem));
}

bool ScreenToWindow(HWND hWnd, POINT* ppt)
{
    POINT ptOrigin;
    GetWindowOrigin(hWnd, &ptOrigin);
    OffsetPoint(ppt, -ptOrigin.x, -ptOrigin.y);
    return true;
}

bool GetCursorPosInClient(HWND hWnd, POINT* ppt)
{
    // Without a cursor position there is nothing to convert.
    return GetCursorPos(ppt) && ScreenToClient(hWnd, ppt);
}

bool IsCursorInClient(HWND hWnd)
{
    POINT pt;
    RECT rcClient;
    if (!GetCursorPosInClient(hWnd, &pt) || !GetClientRect(hWnd, &rcClient))
        return false;
    return PtInRect(&rcClient, pt) != FALSE;
}

bool GetWorkArea(RECT* prcWorkArea)
{
    return SystemParametersInfoA(SPI_GETWORKAREA, 0, prcWorkArea, 0) != FALSE;
}

bool GetMonitorWorkArea(HMONITOR hMonitor, RECT* prcWorkArea)
{
    MONITORINFO info;
    ClearBytes(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(hMonitor, &info))
        return false;
    *prcWorkArea = info.rcWork;
    return true;
}

// ---- placement ----

bool MoveWindowTo(HWND hWnd, int x, int y)
{
    return SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != FALSE;
}

bool SetWindowSize(HWND hWnd, int cx, int cy)
{
    return SetWindowPos(hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER) != FALSE;
}

bool MoveWindowBy(HWND hWnd, int dx, int dy)
{
    const POINT pt = GetPlacementOrigin(hWnd);
    return MoveWindowTo(hWnd, pt.x + dx, pt.y + dy);
}

bool OffsetDlgItemY(HWND hwndDlg, int nIDDlgItem, int dy)
{
    return MoveWindowBy(GetDlgItem(hwndDlg, nIDDlgItem), 0, dy);
}

bool ResizeWindowBy(HWND hWnd, int dw, int dh)
{
    return SetWindowSize(hWnd, GetWindowWidth(hWnd) + dw, GetWindowHeight(hWnd) + dh);
}

void DeferWindowBy(HDWP* phdwp, HWND hWnd, int dx, int dy, int dw, int dh)
{
    if (!*phdwp)
        return;  // an earlier deferral failed: the batch is gone
    const POINT pt = GetPlacementOrigin(hWnd);
    SIZE size;
    GetWindowSize(hWnd, &size);
    *phdwp = DeferWindowPos(*phdwp, hWnd, nullptr, pt.x + dx, pt.y + dy, size.cx + dw, size.cy + dh,
                            SWP_NOZORDER | SWP_NOACTIVATE);
}

void DeferDlgItemBy(HDWP* phdwp, HWND hwndDlg, int nIDDlgItem, int dx, int dy, int dw, int dh)
{
    DeferWindowBy(phdwp, GetDlgItem(hwndDlg, nIDDlgItem), dx, dy, dw, dh);
}

void CenterWindowOnCursor(HWND hWnd)
{
    SIZE size;
    GetWindowSize(hWnd, &size);
    POINT pt;
    if (!GetCursorPos(&pt))
        return;  // no cursor position to centre on: the window stays
    const RECT rcWork = GetWorkAreaOf(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST));
    OffsetPoint(&pt, -(size.cx / 2), -(size.cy / 2));
    PlaceInWorkArea(hWnd, pt, rcWork);
}

void KeepWindowInWorkArea(HWND hWnd)
{
    POINT pt;
    GetWindowOrigin(hWnd, &pt);
    PlaceInWorkArea(hWnd, pt, GetWorkAreaOf(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST)));
}

// ---- control and window state ----

bool SetWindowVisible(HWND hWnd, bool fShow)
{
    return ShowWindow(hWnd, fShow ? SW_SHOWNA : SW_HIDE) != FALSE;
}

bool ShowDlgItem(HWND hwndDlg, int nIDDlgItem, bool fShow)
{
    return SetWindowVisible(GetDlgItem(hwndDlg, nIDDlgItem), fShow);
}

bool EnableDlgItem(HWND hwndDlg, int nIDDlgItem, bool fEnable)
{
    return EnableWindow(GetDlgItem(hwndDlg, nIDDlgItem), fEnable) != FALSE;
}

bool InvalidateWindow(HWND hWnd)
{
    return InvalidateRect(hWnd, nullptr, FALSE) != FALSE;
}

HICON SetWindowIcon(HWND hWnd, int nIconType, HICON hIcon)
{
    return reinterpret_cast<HICON>(SendMessageA(hWnd, WM_SETICON, WPARAM(nIconType), reinterpret_cast<LPARAM>(hIcon)));
}

HICON GetFileIcon(const char* pszPath, UINT uSizeFlag)
{
    SHFILEINFOA info;
    ClearBytes(&info, sizeof info);
    if (!SHGetFileInfoA(pszPath, 0, &info, sizeof info, SHGFI_ICON | uSizeFlag))
        return nullptr;
    return info.hIcon;
}

HICON GetModuleIcon(HMODULE hModule, UINT uSizeFlag)
{
    char szPath[PATH_CAPACITY];
    const DWORD nLength = GetModuleFileNameA(hModule, szPath, PATH_CAPACITY);
    // A path cut to the buffer would name another file.
    if (nLength == 0 || nLength >= PATH_CAPACITY)
        return nullptr;
    return GetFileIcon(szPath, uSizeFlag);
}

char* GetWindowTextAlloc(HWND hWnd)
{
    const int nCapacity = GetWindowTextLengthA(hWnd) + 1;
    char* pszText = static_cast<char*>(malloc(size_t(nCapacity)));
    if (!pszText)
        return nullptr;
    // Terminated at what was copied: the text may be shorter than announced,
    // and nothing at all is copied from a window that has gone.
    const int nCopied = GetWindowTextA(hWnd, pszText, nCapacity);
    pszText[nCopied > 0 && nCopied < nCapacity ? nCopied : 0] = '\0';
    return pszText;
}

// ---- menus and notifications ----

int FindMaximizeMenuItem(HMENU hMenu)
{
    const int nCount = GetMenuItemCount(hMenu);  // -1 for a menu that is not one
    for (int nPosition = 0; nPosition < nCount; ++nPosition)
    {
        if (GetMenuItemID(hMenu, nPosition) == SC_MAXIMIZE)
            return nPosition;
    }
    return -1;
}

bool InitNotifyHeader(NMHDR* pnmh, HWND hwndFrom, UINT code)
{
    ClearBytes(pnmh, sizeof *pnmh);
    pnmh->hwndFrom = hwndFrom;
    pnmh->idFrom = UINT_PTR(GetDlgCtrlID(hwndFrom));
    pnmh->code = code;
    return true;
}

UINT GetNotifyCode(const NMHDR* pnmh)
{
    return pnmh->code;
}
