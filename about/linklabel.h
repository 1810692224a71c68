// The link label: a dialog's static text control made a hyperlink. Blue
// underlined text, red while hot, a gray frame while held down, a hand cursor,
// and its clicks reported to the parent with WM_NOTIFY.
#ifndef QUORZEL_ABOUT_LINKLABEL_H
#define QUORZEL_ABOUT_LINKLABEL_H

#include <windows.h>

// Notification codes, sent with WM_NOTIFY and an NMLINKLABEL. The parent must
// send LLN_HOVER and LLN_LEAVE back to hwndFrom unchanged (same wParam and
// lParam) and return that result: only then does the control change its look.
const UINT LLN_CLICK = 1025;  // left button released inside after going down on the control
const UINT LLN_LEAVE = 1026;  // the hover timer found the cursor outside
const UINT LLN_HOVER = 1027;  // the mouse moved over the control

// The notification record; keys and point only for LLN_HOVER (the wParam and
// lParam of the WM_MOUSEMOVE), 0 otherwise.
struct NMLINKLABEL
{
    NMHDR hdr;
    WPARAM keys;
    LPARAM point;
};

// State flags, kept as the value of LLPROP_CONTROLSTATE.
const UINT_PTR LLSTATE_HOT = 1;

// The per-control window properties, present from SubclassLinkLabel until WM_NCDESTROY.
const char LLPROP_ORIGINALPROC[] = "LLPROP_ORIGINALPROC";
const char LLPROP_CONTROLSTATE[] = "LLPROP_CONTROLSTATE";
const char LLPROP_CURSOR[] = "LLPROP_CURSOR";
const char LLPROP_FONT[] = "LLPROP_FONT";

// The hover timer, on the control's own window.
const UINT_PTR LINKLABEL_TIMER_ID = 1;

// Colours of the text.
const COLORREF LINKLABEL_COLOR = RGB(0, 0, 255);
const COLORREF LINKLABEL_HOT_COLOR = RGB(255, 0, 0);

// Makes a static control that already has its font a link label. False when
// its font, the underlined font or the cursor cannot be had, or when it is a
// link label already; the control is then left as it was.
bool SubclassLinkLabel(HWND hwndCtrl);

LRESULT CALLBACK LinkLabelWndProc(HWND hwndCtrl, UINT uMsg, WPARAM wParam, LPARAM lParam);
VOID CALLBACK LinkLabelTimerProc(HWND hwndCtrl, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);

// The 32 x 32 hand cursor, hot spot at the fingertip (7, 0); DestroyCursor it.
HCURSOR CreateHandCursor();
// A copy of the control's current font with lfUnderline set; null when the
// control has no font or it cannot be read whole. DeleteObject it.
HFONT CreateUnderlinedFont(HWND hwndCtrl);

#endif
