// The link label's window procedure, hover timer, painting and teardown, and
// the hand cursor and underlined font that each link label owns. All its data
// lives in the control's window properties.
#include "about/linklabel.h"

#include <stdlib.h>
#include <string.h>

#include "TOOLS/toolsys.h"
#include "TOOLS/toolwind.h"

namespace
{

// The hand cursor: 32 x 32, one bit per pixel, 4 bytes a row, the most
// significant bit the leftmost pixel. Rows below the table are transparent.
const int HAND_CURSOR_SIZE = 32;
const int HAND_CURSOR_ROW_BYTES = HAND_CURSOR_SIZE / 8;
const int HAND_CURSOR_HOTSPOT_X = 7;
const int HAND_CURSOR_HOTSPOT_Y = 0;
const BYTE TRANSPARENT_AND_BYTE = 0xFF;
const BYTE TRANSPARENT_XOR_BYTE = 0x00;

struct HandCursorRow
{
    BYTE andMask[HAND_CURSOR_ROW_BYTES];
    BYTE xorMask[HAND_CURSOR_ROW_BYTES];
};

const HandCursorRow HAND_CURSOR_ROWS[] = {
    {{0xFC, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},  // ......##
    {{0xF8, 0x7F, 0xFF, 0xFF}, {0x03, 0x00, 0x00, 0x00}},  // .....#oo#
    {{0xF8, 0x7F, 0xFF, 0xFF}, {0x03, 0x00, 0x00, 0x00}},  // .....#oo#
    {{0xF8, 0x7F, 0xFF, 0xFF}, {0x03, 0x00, 0x00, 0x00}},  // .....#oo#
    {{0xF8, 0x7F, 0xFF, 0xFF}, {0x03, 0x00, 0x00, 0x00}},  // .....#oo#
    {{0xF8, 0x1F, 0xFF, 0xFF}, {0x03, 0x00, 0x00, 0x00}},  // .....#oo###
    {{0xF8, 0x03, 0xFF, 0xFF}, {0x03, 0x60, 0x00, 0x00}},  // .....#oo#oo###
    {{0xF8, 0x00, 0xFF, 0xFF}, {0x03, 0x6C, 0x00, 0x00}},  // .....#oo#oo#oo##
    {{0xF8, 0x00, 0x7F, 0xFF}, {0x03, 0x6D, 0x00, 0x00}},  // .....#oo#oo#oo#o#
    {{0x88, 0x00, 0x3F, 0xFF}, {0x03, 0x6D, 0x80, 0x00}},  // .###.#oo#oo#oo#oo#
    {{0x80, 0x00, 0x3F, 0xFF}, {0x33, 0xFD, 0x80, 0x00}},  // .#oo##oooooooo#oo#
    {{0x80, 0x00, 0x3F, 0xFF}, {0x3B, 0xFF, 0x80, 0x00}},  // .#ooo#ooooooooooo#
    {{0xC0, 0x00, 0x3F, 0xFF}, {0x1B, 0xFF, 0x80, 0x00}},  // ..#oo#ooooooooooo#
    {{0xE0, 0x00, 0x3F, 0xFF}, {0x0B, 0xFF, 0x80, 0x00}},  // ...#o#ooooooooooo#
    {{0xE0, 0x00, 0x3F, 0xFF}, {0x0F, 0xFF, 0x80, 0x00}},  // ...#ooooooooooooo#
    {{0xF0, 0x00, 0x3F, 0xFF}, {0x07, 0xFF, 0x80, 0x00}},  // ....#oooooooooooo#
    {{0xF0, 0x00, 0x7F, 0xFF}, {0x07, 0xFF, 0x00, 0x00}},  // ....#ooooooooooo#
    {{0xF8, 0x00, 0x7F, 0xFF}, {0x03, 0xFF, 0x00, 0x00}},  // .....#oooooooooo#
    {{0xF8, 0x00, 0x7F, 0xFF}, {0x03, 0xFF, 0x00, 0x00}},  // .....#oooooooooo#
    {{0xFC, 0x00, 0xFF, 0xFF}, {0x01, 0xFE, 0x00, 0x00}},  // ......#oooooooo#
    {{0xFC, 0x00, 0xFF, 0xFF}, {0x01, 0xFE, 0x00, 0x00}},  // ......#oooooooo#
    {{0xFC, 0x00, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},  // ......##########
};

WNDPROC GetOriginalProc(HWND hwndCtrl)
{
    return reinterpret_cast<WNDPROC>(GetPropA(hwndCtrl, LLPROP_ORIGINALPROC));
}

// Hands a message to the control's previous procedure. A control whose
// properties are gone (destroyed from a notification handler) gets the default.
LRESULT PassOn(HWND hwndCtrl, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnOriginal = GetOriginalProc(hwndCtrl);
    if (!pfnOriginal)
        return DefWindowProcA(hwndCtrl, uMsg, wParam, lParam);
    return CallWindowProcA(pfnOriginal, hwndCtrl, uMsg, wParam, lParam);
}

bool IsHot(HWND hwndCtrl)
{
    return reinterpret_cast<UINT_PTR>(GetPropA(hwndCtrl, LLPROP_CONTROLSTATE)) & LLSTATE_HOT;
}

void SetControlState(HWND hwndCtrl, UINT_PTR state)
{
    SetPropA(hwndCtrl, LLPROP_CONTROLSTATE, reinterpret_cast<HANDLE>(state));
}

bool HoldsCapture(HWND hwndCtrl)
{
    return GetCapture() == hwndCtrl;
}

// The record lives only for the duration of the call.
LRESULT SendLinkNotify(HWND hwndCtrl, UINT code, WPARAM keys, LPARAM point)
{
    NMLINKLABEL nmll;
    ClearBytes(&nmll, sizeof nmll);
    InitNotifyHeader(&nmll.hdr, hwndCtrl, code);
    nmll.keys = keys;
    nmll.point = point;
    return SendMessageA(GetParent(hwndCtrl), WM_NOTIFY, nmll.hdr.idFrom, reinterpret_cast<LPARAM>(&nmll));
}

void RemoveLinkLabelProps(HWND hwndCtrl)
{
    RemovePropA(hwndCtrl, LLPROP_ORIGINALPROC);
    RemovePropA(hwndCtrl, LLPROP_CONTROLSTATE);
    RemovePropA(hwndCtrl, LLPROP_CURSOR);
    RemovePropA(hwndCtrl, LLPROP_FONT);
}

LRESULT OnSetCursor(HWND hwndCtrl)
{
    HCURSOR hCursor = static_cast<HCURSOR>(GetPropA(hwndCtrl, LLPROP_CURSOR));
    if (hCursor)
        SetCursor(hCursor);
    return TRUE;
}

LRESULT OnNcHitTest(HWND hwndCtrl, WPARAM wParam, LPARAM lParam)
{
    if (IsCursorInClient(hwndCtrl))
        return HTCLIENT;
    return PassOn(hwndCtrl, WM_NCHITTEST, wParam, lParam);
}

LRESULT OnMouseMove(HWND hwndCtrl, WPARAM wParam, LPARAM lParam)
{
    if (IsCursorInClient(hwndCtrl))
    {
        SetTimer(hwndCtrl, LINKLABEL_TIMER_ID, 0, LinkLabelTimerProc);
        SendLinkNotify(hwndCtrl, LLN_HOVER, wParam, lParam);
    }
    return PassOn(hwndCtrl, WM_MOUSEMOVE, wParam, lParam);
}

// A press, also the second of a double click (the static class asks for
// those): each press and release on the control is a click of its own.
LRESULT OnLButtonDown(HWND hwndCtrl, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    SetCapture(hwndCtrl);
    InvalidateWindow(hwndCtrl);
    return PassOn(hwndCtrl, uMsg, wParam, lParam);
}

LRESULT OnLButtonUp(HWND hwndCtrl, WPARAM wParam, LPARAM lParam)
{
    if (HoldsCapture(hwndCtrl))
    {
        ReleaseCapture();
        if (IsCursorInClient(hwndCtrl))
            SendLinkNotify(hwndCtrl, LLN_CLICK, 0, 0);
    }
    return PassOn(hwndCtrl, WM_LBUTTONUP, wParam, lParam);
}

// LLN_HOVER and LLN_LEAVE come back here from the parent.
LRESULT OnNotify(HWND hwndCtrl, WPARAM wParam, LPARAM lParam)
{
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    const UINT code = pnmh ? GetNotifyCode(pnmh) : 0;
    if (code == LLN_LEAVE)
    {
        SetControlState(hwndCtrl, 0);
        InvalidateWindow(hwndCtrl);
        return 0;
    }
    if (code == LLN_HOVER)
    {
        if (IsCursorInClient(hwndCtrl))
            SetControlState(hwndCtrl, LLSTATE_HOT);
        InvalidateWindow(hwndCtrl);
        return 0;
    }
    return PassOn(hwndCtrl, WM_NOTIFY, wParam, lParam);
}

// The whole text on one line at (0, 0) in the control's font; none without a font.
void DrawLinkText(HWND hwndCtrl, HDC hdc, bool fHot)
{
    char* pszText = GetWindowTextAlloc(hwndCtrl);
    if (!pszText)
        return;
    SetTextColor(hdc, fHot ? LINKLABEL_HOT_COLOR : LINKLABEL_COLOR);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0));
    if (hFont)
    {
        SelectObject(hdc, hFont);
        SetBkMode(hdc, TRANSPARENT);
        TextOutA(hdc, 0, 0, pszText, static_cast<int>(strlen(pszText)));
    }
    free(pszText);
}

LRESULT OnPaint(HWND hwndCtrl)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwndCtrl, &ps);
    if (hdc)
    {
        const int nSavedDC = SaveDC(hdc);
        RECT rcClient;
        GetClientRect(hwndCtrl, &rcClient);
        // A static paints with its parent's clipping: keep the text inside the control.
        IntersectClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
        FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
        const bool fHot = IsHot(hwndCtrl);
        if (fHot && HoldsCapture(hwndCtrl))
            FrameRect(hdc, &rcClient, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        DrawLinkText(hwndCtrl, hdc, fHot);
        RestoreDC(hdc, nSavedDC);
    }
    EndPaint(hwndCtrl, &ps);
    return 0;
}

// Frees what the link label owned once the control has gone, so that a
// subclass made after it still gets WM_NCDESTROY. Its previous procedure is
// put back only while the link label is the top of the chain: a later
// subclass would be cut out.
LRESULT OnNcDestroy(HWND hwndCtrl, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnOriginal = GetOriginalProc(hwndCtrl);
    KillTimer(hwndCtrl, LINKLABEL_TIMER_ID);
    if (HoldsCapture(hwndCtrl))
        ReleaseCapture();
    if (pfnOriginal && GetWindowLongPtrA(hwndCtrl, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(LinkLabelWndProc))
        SetWindowLongPtrA(hwndCtrl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOriginal));
    RemovePropA(hwndCtrl, LLPROP_ORIGINALPROC);
    RemovePropA(hwndCtrl, LLPROP_CONTROLSTATE);
    HFONT hFont = static_cast<HFONT>(RemovePropA(hwndCtrl, LLPROP_FONT));
    if (hFont)
        DeleteObject(hFont);
    HCURSOR hCursor = static_cast<HCURSOR>(RemovePropA(hwndCtrl, LLPROP_CURSOR));
    if (hCursor)
        DestroyCursor(hCursor);
    if (!pfnOriginal)
        return DefWindowProcA(hwndCtrl, WM_NCDESTROY, wParam, lParam);
    return CallWindowProcA(pfnOriginal, hwndCtrl, WM_NCDESTROY, wParam, lParam);
}

}  // namespace

HCURSOR CreateHandCursor()
{
    BYTE andMask[HAND_CURSOR_SIZE * HAND_CURSOR_ROW_BYTES];
    BYTE xorMask[HAND_CURSOR_SIZE * HAND_CURSOR_ROW_BYTES];
    memset(andMask, TRANSPARENT_AND_BYTE, sizeof andMask);
    memset(xorMask, TRANSPARENT_XOR_BYTE, sizeof xorMask);
    for (size_t nRow = 0; nRow < sizeof HAND_CURSOR_ROWS / sizeof HAND_CURSOR_ROWS[0]; ++nRow)
    {
        memcpy(andMask + nRow * HAND_CURSOR_ROW_BYTES, HAND_CURSOR_ROWS[nRow].andMask, HAND_CURSOR_ROW_BYTES);
        memcpy(xorMask + nRow * HAND_CURSOR_ROW_BYTES, HAND_CURSOR_ROWS[nRow].xorMask, HAND_CURSOR_ROW_BYTES);
    }
    return CreateCursor(GetModuleHandleA(nullptr), HAND_CURSOR_HOTSPOT_X, HAND_CURSOR_HOTSPOT_Y, HAND_CURSOR_SIZE,
                        HAND_CURSOR_SIZE, andMask, xorMask);
}

HFONT CreateUnderlinedFont(HWND hwndCtrl)
{
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0));
    if (!hFont)
        return nullptr;
    LOGFONTA lf;
    if (GetObjectA(hFont, sizeof lf, &lf) != static_cast<int>(sizeof lf))
        return nullptr;
    lf.lfUnderline = TRUE;
    return CreateFontIndirectA(&lf);
}

bool SubclassLinkLabel(HWND hwndCtrl)
{
    // A second subclassing would make the link label its own previous procedure.
    if (GetOriginalProc(hwndCtrl))
        return false;
    HFONT hFont = CreateUnderlinedFont(hwndCtrl);
    if (!hFont)
        return false;
    HCURSOR hCursor = CreateHandCursor();
    if (!hCursor)
    {
        DeleteObject(hFont);
        return false;
    }
    // Every property is in place before the first message can reach the link
    // label; a control that cannot hold them stays a plain static.
    HANDLE hOriginalProc = reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwndCtrl, GWLP_WNDPROC));
    if (!hOriginalProc || !SetPropA(hwndCtrl, LLPROP_ORIGINALPROC, hOriginalProc) ||
        !SetPropA(hwndCtrl, LLPROP_CONTROLSTATE, nullptr) || !SetPropA(hwndCtrl, LLPROP_CURSOR, hCursor) ||
        !SetPropA(hwndCtrl, LLPROP_FONT, hFont))
    {
        RemoveLinkLabelProps(hwndCtrl);
        DestroyCursor(hCursor);
        DeleteObject(hFont);
        return false;
    }
    SetWindowLongPtrA(hwndCtrl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkLabelWndProc));
    SendMessageA(hwndCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    return true;
}

LRESULT CALLBACK LinkLabelWndProc(HWND hwndCtrl, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_SETCURSOR:
        return OnSetCursor(hwndCtrl);
    case WM_NCHITTEST:
        return OnNcHitTest(hwndCtrl, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(hwndCtrl, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(hwndCtrl, uMsg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(hwndCtrl, wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(hwndCtrl, wParam, lParam);
    case WM_PAINT:
        return OnPaint(hwndCtrl);
    case WM_NCDESTROY:
        return OnNcDestroy(hwndCtrl, wParam, lParam);
    default:
        return PassOn(hwndCtrl, uMsg, wParam, lParam);
    }
}

VOID CALLBACK LinkLabelTimerProc(HWND hwndCtrl, UINT, UINT_PTR idEvent, DWORD)
{
    if (IsCursorInClient(hwndCtrl))
        return;
    KillTimer(hwndCtrl, idEvent);
    SendLinkNotify(hwndCtrl, LLN_LEAVE, 0, 0);
}
