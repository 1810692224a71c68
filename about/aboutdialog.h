// The About box: a modal dialog built in memory that shows the program's icon,
// its name and version from its own version resource, the free system
// resources where the platform reports them, and a link to the support site.
#ifndef QUORZEL_ABOUT_ABOUTDIALOG_H
#define QUORZEL_ABOUT_ABOUTDIALOG_H

#include <windows.h>

// The maker's support site: the link's text, opened by a click on it.
const char SUPPORT_SITE_URL[] = "https://example.com/quorzel/";

// The caller's record; it lives while the box is shown.
struct AboutBoxInfo
{
    const char* url;  // shown as the link's text and opened on a click
};

// The open box's data, under PROP_ABOUTDIALOGDATA from WM_INITDIALOG until
// WM_DESTROY. The icons belong to ShowAboutDialog.
struct AboutDialogData
{
    HICON largeIcon;
    HICON smallIcon;
    const AboutBoxInfo* info;
    bool linkOpened;  // set by the link's first click
};

const char PROP_ABOUTDIALOGDATA[] = "PROP_ABOUTDIALOGDATA";

// The box's controls (IDC_ABOUT_ICON, IDC_ABOUT_VERSION, IDC_ABOUT_LINK,
// IDC_ABOUT_RESOURCES and IDOK) are those of its template, dialogtemplate.h.

// Capacities in bytes, terminator included: the product line and the title,
// and the free-resources line.
const unsigned ABOUT_TEXT_CAPACITY = 521;
const unsigned RESOURCES_LINE_CAPACITY = 34;

// The open About box, or null.
extern HWND g_hwndAboutDialog;

// Shows the About box modally, or brings the open one forward. Always true.
bool ShowAboutDialog(HWND hwndParent, const AboutBoxInfo* pInfo);
// The box's dialog procedure; lParam of WM_INITDIALOG is an AboutDialogData.
INT_PTR CALLBACK AboutDialogProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The module file's version resource in a block of the standard heap (free),
// and the address of its first translation entry (language in the low word,
// code page in the high word); null when there is none.
void* LoadVersionBlock(HMODULE hModule, const DWORD** ppTranslation);
// Copies a string value of the block into pszDest (PATH_CAPACITY bytes); an
// absent value gives an empty string and false.
bool ReadVersionString(char* pszDest, const void* pBlock, DWORD dwTranslation, const char* pszName);

// The free system resources in percent, where the platform reports them.
bool QueryFreeSystemResources(int* pnPercent);
// Sets the control to the free-resources line, or to empty text.
void SetFreeResourcesLine(HWND hwndCtrl);

// Widens the three text lines to their texts, the dialog by the largest
// growth, and centres the OK button.
void FitAboutTexts(HWND hwndDlg);
// The control's text measured in the control's own font; false when the text
// or a device context cannot be had.
bool MeasureControlText(HWND hwndCtrl, SIZE* psize);

// The tooltip window owned by the dialog, and a tool for one of its controls.
HWND CreateToolTipWindow(HWND hwndDlg, HINSTANCE hInstance);
void AddToolTip(HWND hwndToolTip, HWND hwndDlg, HWND hwndCtrl, const char* pszText);

#endif
