// The About box: built from an in-memory template, it shows the program's icon,
// name and version, the free system resources where the platform reports them,
// and the support site as a link label that opens the site and ends the box.
#include "about/aboutdialog.h"

#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

#include <commctrl.h>
#include <shellapi.h>

#include "TOOLS/toolsys.h"
#include "TOOLS/toolwind.h"
#include "about/dialogtemplate.h"
#include "about/linklabel.h"

HWND g_hwndAboutDialog = nullptr;

namespace
{

const char VERSION_LINE_FORMAT[] = "%s ver. %s";
const char TITLE_FORMAT[] = "%s について";
const char RESOURCES_LINE_FORMAT[] = "システムリソース： %d ％使用可能";
const char LINK_TOOLTIP_TEXT[] = "サポートサイトへ";

const char TRANSLATION_KEY[] = "\\VarFileInfo\\Translation";
const char STRING_VALUE_KEY_FORMAT[] = "\\StringFileInfo\\%04x%04x\\%s";
const char PRODUCT_NAME[] = "ProductName";
const char FILE_DESCRIPTION[] = "FileDescription";
const char PRODUCT_VERSION[] = "ProductVersion";

// Present only on some older systems; the figure is taken where it is.
const char RESOURCES_LIBRARY[] = "rsrc32.dll";
const char RESOURCES_EXPORT[] = "_MyGetFreeSystemResources32@4";
typedef int(WINAPI* FreeSystemResourcesProc)(int nType);

// The lines that widen to their texts, in the order they are fitted.
const int FITTED_TEXT_IDS[] = {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES};

// A text cut at its capacity may end in the first byte of a double-byte
// character; that half character goes too.
__attribute__((format(printf, 3, 4))) void FormatLine(char* pszLine, unsigned nCapacity, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatBoundedV(pszLine, nCapacity, pszFormat, args);
    va_end(args);
    const unsigned nLength = unsigned(strlen(pszLine));
    if (nLength > 0 && GetByteType(pszLine, nLength - 1) == BYTE_TYPE_LEAD)
        pszLine[nLength - 1] = '\0';
}

AboutDialogData* GetAboutDialogData(HWND hwndDlg)
{
    return static_cast<AboutDialogData*>(GetPropA(hwndDlg, PROP_ABOUTDIALOGDATA));
}

// The title and the product line from the program file's version resource;
// both stay empty when it has none.
void ShowVersionTexts(HWND hwndDlg)
{
    const DWORD* pTranslation = nullptr;
    void* pBlock = LoadVersionBlock(GetModuleHandleA(nullptr), &pTranslation);
    if (!pBlock)
        return;
    char szName[PATH_CAPACITY];
    char szVersion[PATH_CAPACITY];
    char szText[ABOUT_TEXT_CAPACITY];
    ReadVersionString(szName, pBlock, *pTranslation, PRODUCT_NAME);
    if (szName[0] == '\0')
        ReadVersionString(szName, pBlock, *pTranslation, FILE_DESCRIPTION);
    ReadVersionString(szVersion, pBlock, *pTranslation, PRODUCT_VERSION);
    FormatLine(szText, sizeof szText, VERSION_LINE_FORMAT, szName, szVersion);
    SetDlgItemTextA(hwndDlg, IDC_ABOUT_VERSION, szText);
    FormatLine(szText, sizeof szText, TITLE_FORMAT, szName);
    SetWindowTextA(hwndDlg, szText);
    free(pBlock);
}

BOOL OnInitDialog(HWND hwndDlg, AboutDialogData* pData)
{
    g_hwndAboutDialog = hwndDlg;
    SetPropA(hwndDlg, PROP_ABOUTDIALOGDATA, pData);
    SetWindowIcon(hwndDlg, ICON_BIG, pData->largeIcon);
    SetWindowIcon(hwndDlg, ICON_SMALL, pData->smallIcon);
    ShowVersionTexts(hwndDlg);
    SetFreeResourcesLine(GetDlgItem(hwndDlg, IDC_ABOUT_RESOURCES));
    HWND hwndLink = GetDlgItem(hwndDlg, IDC_ABOUT_LINK);
    SetWindowTextA(hwndLink, pData->info->url);
    SubclassLinkLabel(hwndLink);  // without it the line stays a plain static
    SendDlgItemMessageA(hwndDlg, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(pData->largeIcon), 0);
    HWND hwndToolTip = CreateToolTipWindow(hwndDlg, GetModuleHandleA(nullptr));
    AddToolTip(hwndToolTip, hwndDlg, hwndLink, LINK_TOOLTIP_TEXT);
    FitAboutTexts(hwndDlg);
    CenterWindowOnCursor(hwndDlg);  // at its final size, so that all of it lies in the work area
    return TRUE;
}

BOOL OnCommand(HWND hwndDlg, WORD wID)
{
    if (wID == IDOK || wID == IDCANCEL)
        EndDialog(hwndDlg, wID);
    return TRUE;
}

// Hands the support site to the shell's default action; the box ends either way.
// Clicks that come before it has ended, however fast, open nothing more.
BOOL OpenLink(HWND hwndDlg)
{
    AboutDialogData* pData = GetAboutDialogData(hwndDlg);
    if (pData && !pData->linkOpened)
    {
        pData->linkOpened = true;
        ShellExecuteA(hwndDlg, nullptr, pData->info->url, nullptr, nullptr, SW_SHOWNORMAL);
    }
    EndDialog(hwndDlg, IDOK);
    return TRUE;
}

// A click on the link opens it; its hover and leave notifications go back to
// it, which is how it learns to look hot.
INT_PTR OnNotify(HWND hwndDlg, WPARAM wParam, LPARAM lParam)
{
    if (wParam != IDC_ABOUT_LINK)
        return TRUE;
    const NMHDR* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    if (GetNotifyCode(pnmh) == LLN_CLICK)
        return OpenLink(hwndDlg);
    return SendMessageA(pnmh->hwndFrom, WM_NOTIFY, pnmh->idFrom, lParam);
}

// The face of the box drags it like its caption.
BOOL OnNcHitTest(HWND hwndDlg, WPARAM wParam, LPARAM lParam)
{
    LRESULT nHit = DefWindowProcA(hwndDlg, WM_NCHITTEST, wParam, lParam);
    if (nHit == HTCLIENT)
        nHit = HTCAPTION;
    SetWindowLongPtrA(hwndDlg, DWLP_MSGRESULT, nHit);
    return TRUE;
}

BOOL OnDestroy(HWND hwndDlg)
{
    RemovePropA(hwndDlg, PROP_ABOUTDIALOGDATA);
    return TRUE;
}

}  // namespace

bool ShowAboutDialog(HWND hwndParent, const AboutBoxInfo* pInfo)
{
    if (g_hwndAboutDialog)
    {
        BringWindowToTop(g_hwndAboutDialog);
        SetForegroundWindow(g_hwndAboutDialog);
        ShowWindow(g_hwndAboutDialog, SW_SHOWDEFAULT);
        return true;
    }
    void* pTemplate = BuildAboutTemplate();
    if (!pTemplate)
        return true;
    HMODULE hModule = GetModuleHandleA(nullptr);
    AboutDialogData data;
    data.largeIcon = GetModuleIcon(hModule, SHGFI_LARGEICON);
    data.smallIcon = GetModuleIcon(hModule, SHGFI_SMALLICON);
    data.info = pInfo;
    data.linkOpened = false;
    DialogBoxIndirectParamA(hModule, static_cast<LPCDLGTEMPLATEA>(pTemplate), hwndParent, AboutDialogProc,
                            reinterpret_cast<LPARAM>(&data));
    g_hwndAboutDialog = nullptr;
    if (data.largeIcon)
        DestroyIcon(data.largeIcon);
    if (data.smallIcon)
        DestroyIcon(data.smallIcon);
    free(pTemplate);
    return true;
}

INT_PTR CALLBACK AboutDialogProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_INITDIALOG:
        return OnInitDialog(hwndDlg, reinterpret_cast<AboutDialogData*>(lParam));
    case WM_COMMAND:
        return OnCommand(hwndDlg, LOWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(hwndDlg, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(hwndDlg, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(hwndDlg);
    default:
        return FALSE;
    }
}

void* LoadVersionBlock(HMODULE hModule, const DWORD** ppTranslation)
{
    char szPath[PATH_CAPACITY];
    const DWORD nPath = GetModuleFileNameA(hModule, szPath, sizeof szPath);
    if (nPath == 0 || nPath >= sizeof szPath)
        return nullptr;  // no name, or one cut short
    DWORD dwHandle = 0;
    const DWORD cbBlock = GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (cbBlock == 0)
        return nullptr;
    void* pBlock = malloc(cbBlock);
    if (!pBlock)
        return nullptr;
    void* pValue = nullptr;
    UINT cbValue = 0;
    // A translation table too short for one entry is as good as none.
    if (!GetFileVersionInfoA(szPath, 0, cbBlock, pBlock) ||
        !VerQueryValueA(pBlock, TRANSLATION_KEY, &pValue, &cbValue) || cbValue < sizeof(DWORD))
    {
        free(pBlock);
        return nullptr;
    }
    *ppTranslation = static_cast<const DWORD*>(pValue);
    return pBlock;
}

bool ReadVersionString(char* pszDest, const void* pBlock, DWORD dwTranslation, const char* pszName)
{
    char szKey[ABOUT_TEXT_CAPACITY];
    FormatBounded(szKey, sizeof szKey, STRING_VALUE_KEY_FORMAT, unsigned(LOWORD(dwTranslation)),
                  unsigned(HIWORD(dwTranslation)), pszName);
    void* pValue = nullptr;
    UINT cchValue = 0;
    if (!VerQueryValueA(pBlock, szKey, &pValue, &cchValue) || !pValue)
    {
        pszDest[0] = '\0';
        return false;
    }
    CopyString(pszDest, PATH_CAPACITY, static_cast<const char*>(pValue));
    return true;
}

bool QueryFreeSystemResources(int* pnPercent)
{
    HMODULE hLibrary = LoadLibraryA(RESOURCES_LIBRARY);
    if (!hLibrary)
        return false;
    FreeSystemResourcesProc pfnQuery =
        reinterpret_cast<FreeSystemResourcesProc>(reinterpret_cast<void*>(GetProcAddress(hLibrary, RESOURCES_EXPORT)));
    if (!pfnQuery)
    {
        FreeLibrary(hLibrary);
        return false;
    }
    *pnPercent = pfnQuery(0);
    FreeLibrary(hLibrary);
    return true;
}

void SetFreeResourcesLine(HWND hwndCtrl)
{
    SetWindowTextA(hwndCtrl, "");
    int nPercent = 0;
    if (!QueryFreeSystemResources(&nPercent))
        return;
    char szLine[RESOURCES_LINE_CAPACITY];
    FormatLine(szLine, sizeof szLine, RESOURCES_LINE_FORMAT, nPercent);
    SetWindowTextA(hwndCtrl, szLine);
}

bool MeasureControlText(HWND hwndCtrl, SIZE* psize)
{
    char* pszText = GetWindowTextAlloc(hwndCtrl);
    if (!pszText)
        return false;
    HDC hdc = GetDC(hwndCtrl);
    bool fMeasured = false;
    if (hdc)
    {
        const int nSaved = SaveDC(hdc);
        HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0));
        if (hFont)
            SelectObject(hdc, hFont);
        fMeasured = GetTextExtentPoint32A(hdc, pszText, lstrlenA(pszText), psize) != FALSE;
        RestoreDC(hdc, nSaved);
        ReleaseDC(hwndCtrl, hdc);
    }
    free(pszText);
    return fMeasured;
}

void FitAboutTexts(HWND hwndDlg)
{
    int nLargestGrowth = 0;
    for (int nID : FITTED_TEXT_IDS)
    {
        HWND hwndCtrl = GetDlgItem(hwndDlg, nID);
        SIZE sizeText;
        int nGrowth = 0;
        if (MeasureControlText(hwndCtrl, &sizeText))
            nGrowth = sizeText.cx - GetWindowWidth(hwndCtrl);
        if (nGrowth < 0)
            nGrowth = 0;
        ResizeWindowBy(hwndCtrl, nGrowth, 0);
        if (nGrowth > nLargestGrowth)
            nLargestGrowth = nGrowth;
    }
    if (nLargestGrowth <= 0)
        return;
    ResizeWindowBy(hwndDlg, nLargestGrowth, 0);
    HWND hwndOK = GetDlgItem(hwndDlg, IDOK);
    const int nTarget = (GetWindowWidth(hwndDlg) - GetWindowWidth(hwndOK)) / 2;
    POINT ptButton;
    GetWindowOrigin(hwndOK, &ptButton);
    ScreenToWindow(hwndDlg, &ptButton);
    MoveWindowBy(hwndOK, nTarget - ptButton.x, 0);
}

HWND CreateToolTipWindow(HWND hwndDlg, HINSTANCE hInstance)
{
    return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, hwndDlg, nullptr, hInstance, nullptr);
}

void AddToolTip(HWND hwndToolTip, HWND hwndDlg, HWND hwndCtrl, const char* pszText)
{
    // The record as far as lpszText: the size every version of the control
    // accepts, in either processor's layout.
    TOOLINFOA info;
    ClearBytes(&info, sizeof info);
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwndDlg;
    info.uId = reinterpret_cast<UINT_PTR>(hwndCtrl);
    info.lpszText = const_cast<char*>(pszText);
    SendMessageA(hwndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}
