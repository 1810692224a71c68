// Window helpers shared by the dialogs and controls: handle checks that trace,
// geometry from the outer window rectangle, moves in the parent's client
// coordinates, deferred batches, centring on the mouse cursor, control state.
#ifndef QUORZEL_TOOLS_TOOLWIND_H
#define QUORZEL_TOOLS_TOOLWIND_H

#include <windows.h>

// Handle checks: a failure is traced (TraceFailure) and gives false.
bool IsValidWindow(HWND hWnd);
bool IsValidDlgItem(HWND hwndDlg, int nIDDlgItem);

// Record helpers.
void SetPoint(POINT* ppt, LONG x, LONG y);
void OffsetPoint(POINT* ppt, LONG dx, LONG dy);
int RectWidth(const RECT* prc);
int RectHeight(const RECT* prc);
void GetRectSize(const RECT* prc, SIZE* psize);

// Geometry of the outer rectangle (GetWindowRect), in screen coordinates.
// A window that does not exist measures as an empty rectangle at (0, 0).
bool GetWindowOrigin(HWND hWnd, POINT* pptOrigin);
bool GetWindowSize(HWND hWnd, SIZE* psize);
int GetWindowWidth(HWND hWnd);
int GetWindowHeight(HWND hWnd);
int GetWindowTop(HWND hWnd);
int GetWindowBottom(HWND hWnd);
int GetDlgItemTop(HWND hwndDlg, int nIDDlgItem);
int GetDlgItemBottom(HWND hwndDlg, int nIDDlgItem);
// Makes a screen point relative to the top-left corner of the outer rectangle.
bool ScreenToWindow(HWND hWnd, POINT* ppt);

// The mouse cursor relative to a window's client area, and the work area: of
// the primary monitor, or of the monitor nearest to a point or to a window.
bool GetCursorPosInClient(HWND hWnd, POINT* ppt);
bool IsCursorInClient(HWND hWnd);
bool GetWorkArea(RECT* prcWorkArea);
bool GetMonitorWorkArea(HMONITOR hMonitor, RECT* prcWorkArea);

// Placement. Positions are those SetWindowPos takes: the parent's client
// coordinates for a child window, the screen for a top-level one. The results
// are SetWindowPos's.
bool MoveWindowTo(HWND hWnd, int x, int y);
bool SetWindowSize(HWND hWnd, int cx, int cy);
bool MoveWindowBy(HWND hWnd, int dx, int dy);
bool OffsetDlgItemY(HWND hwndDlg, int nIDDlgItem, int dy);
bool ResizeWindowBy(HWND hWnd, int dw, int dh);

// Deferred batches: *phdwp comes from BeginDeferWindowPos and goes to
// EndDeferWindowPos. Each call adds a move by (dx, dy) and a growth by
// (dw, dh); after a failed deferral *phdwp is null and stays null.
void DeferWindowBy(HDWP* phdwp, HWND hWnd, int dx, int dy, int dw, int dh);
void DeferDlgItemBy(HDWP* phdwp, HWND hwndDlg, int nIDDlgItem, int dx, int dy, int dw, int dh);

// Centres the window on the mouse cursor, kept inside the work area of the
// cursor's monitor (a window larger than the work area lines up with its left
// and top edges).
void CenterWindowOnCursor(HWND hWnd);
// Moves the window as little as it takes to lie inside the work area of its
// monitor, as CenterWindowOnCursor keeps it there.
void KeepWindowInWorkArea(HWND hWnd);

// Control and window state. SetWindowVisible never activates the window and
// gives whether it was visible before; EnableDlgItem gives whether the control
// was disabled before.
bool SetWindowVisible(HWND hWnd, bool fShow);
bool ShowDlgItem(HWND hwndDlg, int nIDDlgItem, bool fShow);
bool EnableDlgItem(HWND hwndDlg, int nIDDlgItem, bool fEnable);
bool InvalidateWindow(HWND hWnd);
// nIconType is ICON_BIG or ICON_SMALL; gives the icon that was set before.
HICON SetWindowIcon(HWND hWnd, int nIconType, HICON hIcon);
// uSizeFlag is SHGFI_LARGEICON or SHGFI_SMALLICON. The icon is the caller's
// (DestroyIcon); null when the shell has none or the path cannot be had.
HICON GetFileIcon(const char* pszPath, UINT uSizeFlag);
HICON GetModuleIcon(HMODULE hModule, UINT uSizeFlag);
// The window's text in a block of the standard heap (free); an empty text
// gives an empty string. Null only when the block cannot be allocated.
char* GetWindowTextAlloc(HWND hWnd);

// Menus and notifications.
// The position of the first SC_MAXIMIZE item, or -1.
int FindMaximizeMenuItem(HMENU hMenu);
bool InitNotifyHeader(NMHDR* pnmh, HWND hwndFrom, UINT code);
UINT GetNotifyCode(const NMHDR* pnmh);

#endif
