// The association dialog: loads both associations when it opens, folds and
// unfolds each extension's details, resizes only horizontally, and on OK
// writes or removes exactly the extensions whose state or texts changed.
#include "association/assocdialog.h"

#include <stdlib.h>

#include <shellapi.h>

#include "TOOLS/toolsys.h"
#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "association/assocdialog_ids.h"
#include "association/associations.h"

namespace
{

// The positions of a row's controls in GroupControls::aidControls; the
// detail controls are those from the location edit on.
enum GroupControlIndex
{
    GCI_CHECK,
    GCI_DETAILS,
    GCI_LOCATION,
    GCI_LOCATION_LABEL,
    GCI_MENU,
    GCI_MENU_LABEL,
    GCI_COMMAND,
    GCI_COMMAND_LABEL,
    GCI_GROUPBOX,
    GROUP_CONTROL_COUNT,
    GCI_FIRST_DETAIL = GCI_LOCATION
};

struct GroupControls
{
    int nGroup;     // GROUP_CUR or GROUP_ICO
    uint32_t fBit;  // the extension's bit in AssociationSet::flags
    int aidControls[GROUP_CONTROL_COUNT];
};

// One row per extension, in the order of the extension table.
const GroupControls GroupControlTable[] = {
    {GROUP_ICO,
     ASSOCIATION_ICO,
     {IDC_ICO_CHECK, IDC_ICO_DETAILS, IDC_ICO_LOCATION, IDC_ICO_LOCATION_LABEL, IDC_ICO_MENU, IDC_ICO_MENU_LABEL,
      IDC_ICO_COMMAND, IDC_ICO_COMMAND_LABEL, IDC_ICO_GROUPBOX}},
    {GROUP_CUR,
     ASSOCIATION_CUR,
     {IDC_CUR_CHECK, IDC_CUR_DETAILS, IDC_CUR_LOCATION, IDC_CUR_LOCATION_LABEL, IDC_CUR_MENU, IDC_CUR_MENU_LABEL,
      IDC_CUR_COMMAND, IDC_CUR_COMMAND_LABEL, IDC_CUR_GROUPBOX}},
};

struct SystemMenuItem
{
    UINT fFlags;
    UINT_PTR idCommand;
    const char* pszText;
};

// Inserted after the Maximize command, in this order.
const SystemMenuItem SystemMenuAdditions[] = {
    {MF_BYPOSITION | MF_SEPARATOR, 0, nullptr},
    {MF_BYPOSITION | MF_STRING, IDM_RESTORE_SETTINGS, "設定を初期値に戻す(&D)"},
    {MF_BYPOSITION | MF_STRING, IDM_ABOUT, "About(&A)"},
};

struct HitTestMapping
{
    LRESULT nDefault;
    LRESULT nMapped;
};

// The background drags the window; only the left and right edges resize.
const HitTestMapping HitTestMap[] = {
    {HTCLIENT, HTCAPTION}, {HTTOP, HTBORDER},      {HTBOTTOM, HTBORDER},     {HTTOPLEFT, HTLEFT},
    {HTTOPRIGHT, HTRIGHT}, {HTBOTTOMLEFT, HTLEFT}, {HTBOTTOMRIGHT, HTRIGHT},
};

struct Anchor
{
    int idControl;
    bool fMove;  // false: grows wider instead
};

// How the controls follow a change of the client width; the rest stay put.
const Anchor AnchorTable[] = {
    {IDC_CUR_DETAILS, true},  {IDC_ICO_DETAILS, true},   {IDOK, true},
    {IDCANCEL, true},         {IDC_CUR_LOCATION, false}, {IDC_CUR_MENU, false},
    {IDC_CUR_COMMAND, false}, {IDC_CUR_GROUPBOX, false}, {IDC_ICO_LOCATION, false},
    {IDC_ICO_MENU, false},    {IDC_ICO_COMMAND, false},  {IDC_ICO_GROUPBOX, false},
};
const int ANCHOR_COUNT = sizeof AnchorTable / sizeof AnchorTable[0];

const char DETAILS_OPEN_TEXT[] = "<< 詳細";
const char DETAILS_FOLDED_TEXT[] = "詳細 >>";

// Shown when OK could not change every extension: a paragraph for each cause,
// naming the extensions it stopped, with the remedy where there is one.
const char APPLY_FAILED_FORMAT[] = "%s の関連づけを変更できませんでした。\r\n%s";
const char RUN_AS_ADMINISTRATOR_TEXT[] = "変更するには、quorzel を管理者として実行してください。";
const char NOT_ON_THIS_MACHINE_TEXT[] = "この拡張子はこのコンピューターに登録されていません。";
const char EXTENSION_LIST_SEPARATOR[] = "、";
const char PARAGRAPH_SEPARATOR[] = "\r\n";
const unsigned APPLY_FAILED_CAPACITY = 1024;
const unsigned EXTENSION_LIST_CAPACITY = 64;
// Shown instead of registering a command that could not start the program.
const char NO_PROGRAM_PATH_TEXT[] = "quorzel のあるフォルダーの名前には、このシステムの文字コードで書けない文字が"
                                    "あるため、関連づけのコマンドを作れません。\r\nquorzel を別のフォルダーに移して"
                                    "から、もう一度実行してください。";

// The one dialog of the process. The sizes stay 0 until initialisation.
struct AssociationDialogState
{
    AssociationSet loadedSet;
    AssociationSet shownSet;  // the texts of the loaded set as its edits show them
    uint32_t fDetailsMask;    // bits of the groups whose details are open
    bool fIcoRowShown;
    SIZE sizeLastClient;
    int nInitialWidth;
    int nCurrentHeight;
};

AssociationDialogState g_state;

const GroupControls* FindGroup(int nGroup)
{
    for (const GroupControls& row : GroupControlTable)
        if (row.nGroup == nGroup)
            return &row;
    return nullptr;
}

// The row whose control at the index has the id, or null.
const GroupControls* FindGroupByControl(int iControl, int idControl)
{
    for (const GroupControls& row : GroupControlTable)
        if (row.aidControls[iControl] == idControl)
            return &row;
    return nullptr;
}

// The row's entry in a set: its group number less the first group's.
int EntryIndex(const GroupControls& row)
{
    return row.nGroup - ASSOCIATION_FIRST_GROUP;
}

void ShowGroupDetails(HWND hwndDlg, int nGroup, bool fOpen)
{
    const GroupControls* pRow = FindGroup(nGroup);
    if (!pRow)
        return;
    const int* aid = pRow->aidControls;
    if (IsValidDlgItem(hwndDlg, aid[GCI_DETAILS]))
        SetDlgItemTextA(hwndDlg, aid[GCI_DETAILS], fOpen ? DETAILS_OPEN_TEXT : DETAILS_FOLDED_TEXT);
    for (int i = GCI_FIRST_DETAIL; i < GROUP_CONTROL_COUNT; ++i)
        if (IsValidDlgItem(hwndDlg, aid[i]))
            ShowDlgItem(hwndDlg, aid[i], fOpen);

    const int nButtonBottom = GetDlgItemBottom(hwndDlg, aid[GCI_DETAILS]);
    int dy = GetDlgItemBottom(hwndDlg, aid[GCI_GROUPBOX]) - nButtonBottom;
    if (!fOpen)
        dy = -dy;
    for (const GroupControls& other : GroupControlTable)
    {
        if (&other == pRow || GetDlgItemTop(hwndDlg, other.aidControls[GCI_GROUPBOX]) <= nButtonBottom)
            continue;
        for (int idControl : other.aidControls)
            if (IsValidDlgItem(hwndDlg, idControl))
                OffsetDlgItemY(hwndDlg, idControl, dy);
    }
    static const int aidButtons[] = {IDOK, IDCANCEL};
    for (int idButton : aidButtons)
        if (IsValidDlgItem(hwndDlg, idButton))
            OffsetDlgItemY(hwndDlg, idButton, dy);

    g_state.nCurrentHeight += dy;  // first: the size limits pin the height
    ResizeWindowBy(hwndDlg, 0, dy);
    KeepWindowInWorkArea(hwndDlg);  // grown near an edge of the screen
    // The details button moves while it handles its own click: paint it and
    // its neighbours again after the dialog's background.
    RedrawWindow(hwndDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void EnableGroupControls(HWND hwndDlg, int nGroup, bool fEnable)
{
    const GroupControls* pRow = FindGroup(nGroup);
    if (!pRow)
        return;
    for (int i = GCI_FIRST_DETAIL; i < GROUP_CONTROL_COUNT; ++i)
        if (IsValidDlgItem(hwndDlg, pRow->aidControls[i]))
            EnableDlgItem(hwndDlg, pRow->aidControls[i], fEnable);
}

void SetControlText(HWND hwndDlg, int idControl, const char* pszText)
{
    if (IsValidDlgItem(hwndDlg, idControl))
        SetDlgItemTextA(hwndDlg, idControl, pszText);
}

void SetAssociationControls(HWND hwndDlg, const AssociationSet& set)
{
    for (const GroupControls& row : GroupControlTable)
    {
        const bool fChecked = (set.flags & row.fBit) != 0;
        const AssociationEntry& entry = set.entries[EntryIndex(row)];
        EnableGroupControls(hwndDlg, row.nGroup, fChecked);
        if (IsValidDlgItem(hwndDlg, row.aidControls[GCI_CHECK]))
            CheckDlgButton(hwndDlg, row.aidControls[GCI_CHECK], fChecked ? BST_CHECKED : BST_UNCHECKED);
        SetControlText(hwndDlg, row.aidControls[GCI_LOCATION], entry.location);
        SetControlText(hwndDlg, row.aidControls[GCI_MENU], entry.menuText);
        SetControlText(hwndDlg, row.aidControls[GCI_COMMAND], entry.commandLine);
    }
}

// The edit's whole text, cut between characters to the field's capacity. The
// field stays as it is where the control or its text cannot be had.
void GetControlText(HWND hwndDlg, int idControl, char* pszField, unsigned nCapacity)
{
    if (!IsValidDlgItem(hwndDlg, idControl))
        return;
    char* pszText = GetWindowTextAlloc(GetDlgItem(hwndDlg, idControl));
    if (!pszText)
        return;
    CopyString(pszField, nCapacity, pszText);
    free(pszText);
}

// A field takes its edit's text where the user changed what the edit showed
// at the start; otherwise it stays the loaded one, whatever bytes, type or
// length the edit could not show of it.
void ReadControlText(HWND hwndDlg, int idControl, char* pszField, unsigned nCapacity, const char* pszShown,
                     const char* pszLoaded)
{
    GetControlText(hwndDlg, idControl, pszField, nCapacity);
    if (IsSameString(pszField, pszShown))
        CopyString(pszField, nCapacity, pszLoaded);
}

bool ReadAssociationControls(HWND hwndDlg, AssociationSet& set)
{
    set.flags = 0;
    for (const GroupControls& row : GroupControlTable)
    {
        const int* aid = row.aidControls;
        if (IsValidDlgItem(hwndDlg, aid[GCI_CHECK]) && IsDlgButtonChecked(hwndDlg, aid[GCI_CHECK]) == BST_CHECKED)
            set.flags |= row.fBit;
        AssociationEntry& entry = set.entries[EntryIndex(row)];
        const AssociationEntry& loaded = g_state.loadedSet.entries[EntryIndex(row)];
        const AssociationEntry& shown = g_state.shownSet.entries[EntryIndex(row)];
        CopyString(entry.location, sizeof entry.location, loaded.location);
        ReadControlText(hwndDlg, aid[GCI_MENU], entry.menuText, sizeof entry.menuText, shown.menuText, loaded.menuText);
        ReadControlText(hwndDlg, aid[GCI_COMMAND], entry.commandLine, sizeof entry.commandLine, shown.commandLine,
                        loaded.commandLine);
    }
    return true;
}

// What the edits make of the loaded texts, which OK compares the edits with.
void RememberShownTexts(HWND hwndDlg)
{
    g_state.shownSet = g_state.loadedSet;
    for (const GroupControls& row : GroupControlTable)
    {
        AssociationEntry& shown = g_state.shownSet.entries[EntryIndex(row)];
        GetControlText(hwndDlg, row.aidControls[GCI_MENU], shown.menuText, sizeof shown.menuText);
        GetControlText(hwndDlg, row.aidControls[GCI_COMMAND], shown.commandLine, sizeof shown.commandLine);
    }
}

// Whether the program runs with the rights of an administrator. Where the
// system cannot tell (before Windows Vista), every user counts as one that
// is not.
bool IsElevated()
{
    HANDLE hToken;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD cbElevation = 0;
    const bool fElevated = GetTokenInformation(hToken, TokenElevation, &elevation, sizeof elevation, &cbElevation) &&
                           elevation.TokenIsElevated;
    CloseHandle(hToken);
    return fElevated;
}

// What the error means to the user: running as administrator helps only
// where access was denied to one who is not; no file type key, only
// registering the extension first; anything else in the system's own words.
void GetFailureReason(DWORD dwError, char* pszReason, unsigned nCapacity)
{
    if (dwError == ERROR_ACCESS_DENIED && !IsElevated())
        CopyString(pszReason, nCapacity, RUN_AS_ADMINISTRATOR_TEXT);
    else if (dwError == ERROR_FILE_NOT_FOUND)
        CopyString(pszReason, nCapacity, NOT_ON_THIS_MACHINE_TEXT);
    else if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0, pszReason,
                             nCapacity, nullptr))
        FormatBounded(pszReason, nCapacity, "%u", static_cast<unsigned>(dwError));
    // The system's texts end in a line break.
    for (char* pEnd = StringEnd(pszReason); pEnd > pszReason && (pEnd[-1] == '\r' || pEnd[-1] == '\n'); --pEnd)
        pEnd[-1] = '\0';
}

// A message box above the dialog, under its title.
void ShowWarning(HWND hwndDlg, const char* pszText)
{
    char szTitle[APPLY_FAILED_CAPACITY] = "";
    GetWindowTextA(hwndDlg, szTitle, sizeof szTitle);
    MessageBoxA(hwndDlg, pszText, szTitle, MB_OK | MB_ICONWARNING);
}

// The extensions that OK could not change for the error, as "*.ico、*.cur".
void ListExtensionsStoppedBy(const DWORD adwErrors[ASSOCIATION_COUNT], DWORD dwError, char* pszList, unsigned nCapacity)
{
    unsigned nLength = 0;
    pszList[0] = '\0';
    for (const ExtensionInfo& info : ExtensionTable)
    {
        if (adwErrors[EntryIndex(info)] != dwError)
            continue;
        if (nLength > 0)
            nLength += AppendString(pszList, nLength, nCapacity, EXTENSION_LIST_SEPARATOR);
        nLength += AppendString(pszList, nLength, nCapacity, "*");
        nLength += AppendString(pszList, nLength, nCapacity, info.extension);
    }
}

// Tells the user which extensions OK could not change, and why: extensions
// stopped by the same error share a paragraph.
void ReportApplyFailure(HWND hwndDlg, const DWORD adwErrors[ASSOCIATION_COUNT])
{
    char szMessage[APPLY_FAILED_CAPACITY] = "";
    unsigned nLength = 0;
    for (const ExtensionInfo& info : ExtensionTable)
    {
        // Each cause is told once, at the first entry that it stopped.
        const DWORD dwError = adwErrors[EntryIndex(info)];
        unsigned iFirst = 0;
        while (adwErrors[iFirst] != dwError)
            ++iFirst;
        if (dwError == ERROR_SUCCESS || iFirst != EntryIndex(info))
            continue;
        char szExtensions[EXTENSION_LIST_CAPACITY];
        ListExtensionsStoppedBy(adwErrors, dwError, szExtensions, sizeof szExtensions);
        char szReason[APPLY_FAILED_CAPACITY];
        GetFailureReason(dwError, szReason, sizeof szReason);
        if (nLength > 0)
            nLength += AppendString(szMessage, nLength, sizeof szMessage, PARAGRAPH_SEPARATOR);
        FormatBounded(szMessage + nLength, sizeof szMessage - nLength, APPLY_FAILED_FORMAT, szExtensions, szReason);
        nLength = static_cast<unsigned>(StringEnd(szMessage) - szMessage);
    }
    ShowWarning(hwndDlg, szMessage);
}

// True, after saying so, when an extension is to be registered with no
// command line because none can name the program where it lies.
bool ReportNoProgramPath(HWND hwndDlg, const AssociationSet& newSet, uint32_t uChanged)
{
    bool fEmpty = false;
    for (const ExtensionInfo& info : ExtensionTable)
        if (uChanged & newSet.flags & info.bit)
            fEmpty = fEmpty || newSet.entries[EntryIndex(info)].commandLine[0] == '\0';
    if (!fEmpty || BuildDefaultCommandLine(nullptr) != 0)
        return false;
    ShowWarning(hwndDlg, NO_PROGRAM_PATH_TEXT);
    return true;
}

// Shows the ".ico" row only when ".ico" was registered at opening; a hidden
// row's details are folded, and its band stays empty.
void ApplyIcoRowState(HWND hwndDlg)
{
    const GroupControls* pRow = FindGroup(GROUP_ICO);
    static const int aiRowHeader[] = {GCI_CHECK, GCI_DETAILS};  // the check box and the details button
    for (int i : aiRowHeader)
        if (IsValidDlgItem(hwndDlg, pRow->aidControls[i]))
            ShowDlgItem(hwndDlg, pRow->aidControls[i], g_state.fIcoRowShown);
    if (!g_state.fIcoRowShown && (g_state.fDetailsMask & ASSOCIATION_ICO))
    {
        g_state.fDetailsMask &= ~ASSOCIATION_ICO;
        ShowGroupDetails(hwndDlg, GROUP_ICO, false);
    }
}

void ApplyDetailsState(HWND hwndDlg, uint32_t fMask)
{
    for (const GroupControls& row : GroupControlTable)
        ShowGroupDetails(hwndDlg, row.nGroup, (fMask & row.fBit) != 0);
    ApplyIcoRowState(hwndDlg);
}

void AddSystemMenuItems(HWND hwndDlg)
{
    HMENU hMenu = GetSystemMenu(hwndDlg, FALSE);
    const int nMaximize = FindMaximizeMenuItem(hMenu);
    if (nMaximize < 0)
        return;
    const int nCount = sizeof SystemMenuAdditions / sizeof SystemMenuAdditions[0];
    for (int i = nCount - 1; i >= 0; --i)
    {
        const SystemMenuItem& item = SystemMenuAdditions[i];
        InsertMenuA(hMenu, static_cast<UINT>(nMaximize + 1), item.fFlags, item.idCommand, item.pszText);
    }
}

BOOL OnInitDialog(HWND hwndDlg)
{
    HMODULE hModule = GetModuleHandleA(nullptr);
    SetWindowIcon(hwndDlg, ICON_BIG, GetModuleIcon(hModule, SHGFI_LARGEICON));
    SetWindowIcon(hwndDlg, ICON_SMALL, GetModuleIcon(hModule, SHGFI_SMALLICON));
    CenterWindowOnCursor(hwndDlg);

    RECT rcClient;
    GetClientRect(hwndDlg, &rcClient);
    SIZE sizeWindow;
    GetWindowSize(hwndDlg, &sizeWindow);
    g_state.sizeLastClient = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    g_state.nInitialWidth = sizeWindow.cx;
    g_state.nCurrentHeight = sizeWindow.cy;

    LoadAssociations(&g_state.loadedSet);
    g_state.fDetailsMask = 0;
    g_state.fIcoRowShown = (g_state.loadedSet.flags & ASSOCIATION_ICO) != 0;
    AddSystemMenuItems(hwndDlg);
    ApplyDetailsState(hwndDlg, g_state.fDetailsMask);
    SetAssociationControls(hwndDlg, g_state.loadedSet);
    RememberShownTexts(hwndDlg);
    return FALSE;
}

// Moves and stretches the anchored controls by the change of the client width.
BOOL OnSize(HWND hwndDlg, WPARAM nType, LPARAM lSize)
{
    if (nType == SIZE_MINIMIZED || g_state.nInitialWidth == 0)
        return TRUE;
    HDWP hdwp = BeginDeferWindowPos(ANCHOR_COUNT);
    if (!hdwp)
        return TRUE;
    const SIZE sizeClient = {LOWORD(lSize), HIWORD(lSize)};
    const int dx = sizeClient.cx - g_state.sizeLastClient.cx;
    for (const Anchor& anchor : AnchorTable)
        if (IsValidDlgItem(hwndDlg, anchor.idControl))
            DeferDlgItemBy(&hdwp, hwndDlg, anchor.idControl, anchor.fMove ? dx : 0, 0, anchor.fMove ? 0 : dx, 0);
    EndDeferWindowPos(hdwp);
    g_state.sizeLastClient = sizeClient;
    return TRUE;
}

// The height is fixed; the width is doubled and may grow while details are open.
BOOL OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    if (g_state.nInitialWidth == 0)
        return TRUE;
    pInfo->ptMinTrackSize.y = g_state.nCurrentHeight;
    pInfo->ptMaxTrackSize.y = g_state.nCurrentHeight;
    if (g_state.fDetailsMask)
        pInfo->ptMinTrackSize.x = g_state.nInitialWidth * 2;
    else
        pInfo->ptMinTrackSize.x = pInfo->ptMaxTrackSize.x = g_state.nInitialWidth;
    return TRUE;
}

BOOL OnNcHitTest(HWND hwndDlg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT nDefault = DefWindowProcA(hwndDlg, WM_NCHITTEST, wParam, lParam);
    for (const HitTestMapping& mapping : HitTestMap)
        if (mapping.nDefault == nDefault)
        {
            SetWindowLongPtrA(hwndDlg, DWLP_MSGRESULT, mapping.nMapped);
            return TRUE;
        }
    return FALSE;
}

BOOL OnCommand(HWND hwndDlg, int idCommand)
{
    if (idCommand == IDOK)
    {
        // Where a change cannot be made, nothing is, and the dialog stays open
        // to say so.
        static AssociationSet newSet;  // too large for a comfortable stack frame
        ReadAssociationControls(hwndDlg, newSet);
        const uint32_t uChanged = GetChangedAssociations(&newSet, &g_state.loadedSet);
        if (ReportNoProgramPath(hwndDlg, newSet, uChanged))
            return TRUE;
        DWORD adwErrors[ASSOCIATION_COUNT];
        if (ApplyAssociations(&newSet, &g_state.loadedSet, uChanged, adwErrors))
            EndDialog(hwndDlg, IDOK);
        else
        {
            ReportApplyFailure(hwndDlg, adwErrors);
            // The next OK compares with the registry as it is now: as loaded,
            // unless another program changed it or a change was not undone.
            LoadAssociations(&g_state.loadedSet);
        }
        return TRUE;
    }
    if (idCommand == IDCANCEL)
    {
        EndDialog(hwndDlg, IDCANCEL);
        return TRUE;
    }
    if (const GroupControls* pRow = FindGroupByControl(GCI_CHECK, idCommand))
    {
        EnableGroupControls(hwndDlg, pRow->nGroup, IsDlgButtonChecked(hwndDlg, idCommand) == BST_CHECKED);
        return TRUE;
    }
    if (const GroupControls* pRow = FindGroupByControl(GCI_DETAILS, idCommand))
    {
        g_state.fDetailsMask ^= pRow->fBit;
        ShowGroupDetails(hwndDlg, pRow->nGroup, (g_state.fDetailsMask & pRow->fBit) != 0);
        return TRUE;
    }
    return FALSE;
}

BOOL OnSysCommand(HWND hwndDlg, int idCommand)
{
    if (idCommand == IDM_ABOUT)
    {
        AboutBoxInfo info = {};
        info.url = SUPPORT_SITE_URL;
        ShowAboutDialog(hwndDlg, &info);
        return TRUE;
    }
    if (idCommand == IDM_RESTORE_SETTINGS)
    {
        SetAssociationControls(hwndDlg, g_state.loadedSet);
        g_state.fIcoRowShown = (g_state.loadedSet.flags & ASSOCIATION_ICO) != 0;
        ApplyIcoRowState(hwndDlg);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK AssociationDlgProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_INITDIALOG:
        return OnInitDialog(hwndDlg);
    case WM_DESTROY:
        return TRUE;
    case WM_SIZE:
        return OnSize(hwndDlg, wParam, lParam);
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_NCHITTEST:
        return OnNcHitTest(hwndDlg, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(hwndDlg, LOWORD(wParam));
    case WM_SYSCOMMAND:
        return OnSysCommand(hwndDlg, LOWORD(wParam));
    default:
        return FALSE;
    }
}

bool ShowAssociationDialog()
{
    ClearBytes(&g_state, sizeof g_state);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ASSOCIATION), nullptr, AssociationDlgProc,
                           0) == IDOK;
}
