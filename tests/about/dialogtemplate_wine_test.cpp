// Built templates in a real modal dialog: DialogBoxIndirectParamA creates the
// described controls with their ids, classes, styles, texts and positions.
#include <windows.h>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

namespace
{
struct ExpectedControl
{
    int id;
    const char* pszClass;
    LONG style;
    RECT rcUnits;  // x, y, cx, cy in dialog units, each mapped alone as the dialog does
    const char* pszText;
};

struct ExpectedDialog
{
    const ExpectedControl* pControls;
    size_t nControls;
    const char* pszFaceName;  // null: no font record, the system font
};

INT_PTR CALLBACK CheckControlsProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam)
{
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    const ExpectedDialog& dialog = *reinterpret_cast<const ExpectedDialog*>(lParam);
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    if (dialog.pszFaceName)
        EXPECT_STREQ(dialog.pszFaceName, lf.lfFaceName);
    for (size_t i = 0; i < dialog.nControls; ++i)
    {
        const ExpectedControl& control = dialog.pControls[i];
        HWND hwndCtrl = GetDlgItem(hDlg, control.id);
        char szClass[32] = "", szText[32] = "";
        GetClassNameA(hwndCtrl, szClass, sizeof szClass);
        GetWindowTextA(hwndCtrl, szText, sizeof szText);
        RECT rcExpected = control.rcUnits, rcControl = {};
        MapDialogRect(hDlg, &rcExpected);
        GetWindowRect(hwndCtrl, &rcControl);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rcControl), 2);
        rcControl = {rcControl.left, rcControl.top, rcControl.right - rcControl.left, rcControl.bottom - rcControl.top};
        EXPECT_STREQ(control.pszClass, szClass) << "control " << control.id;
        EXPECT_EQ(control.style, GetWindowLongA(hwndCtrl, GWL_STYLE)) << "control " << control.id;
        EXPECT_STREQ(control.pszText, szText) << "control " << control.id;
        EXPECT_TRUE(EqualRect(&rcExpected, &rcControl))
            << "control " << control.id << " at " << rcControl.left << "," << rcControl.top << " size "
            << rcControl.right << "x" << rcControl.bottom << ", expected " << rcExpected.left << ","
            << rcExpected.top << " size " << rcExpected.right << "x" << rcExpected.bottom;
    }
    EndDialog(hDlg, IDOK);
    return TRUE;
}

INT_PTR RunDialog(void* pTemplate, const ExpectedDialog& dialog)
{
    INT_PTR nResult = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate),
                                              nullptr, CheckControlsProc, reinterpret_cast<LPARAM>(&dialog));
    free(pTemplate);
    return nResult;
}
}  // namespace

TEST(DialogTemplateUnderWine, DialogBoxCreatesTheAboutBoxControls)
{
    const ExpectedControl CONTROLS[] = {
        {IDC_ABOUT_ICON, "Static", WS_CHILD | WS_VISIBLE | SS_ICON, {7, 7, 20, 21}, ""},
        {IDC_ABOUT_VERSION, "Static", WS_CHILD | WS_VISIBLE, {30, 7, 1, 8}, ""},
        {IDC_ABOUT_LINK, "Static", WS_CHILD | WS_VISIBLE, {30, 16, 1, 8}, ""},
        {IDC_ABOUT_RESOURCES, "Static", WS_CHILD | WS_VISIBLE, {30, 25, 1, 8}, ""},
        {IDOK, "Button", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON, {45, 35, 45, 14}, "OK"},
    };
    EXPECT_EQ(IDOK, RunDialog(BuildAboutTemplate(), {CONTROLS, 5, "ＭＳ Ｐゴシック"}));
}

TEST(DialogTemplateUnderWine, DialogBoxTakesClassNamesAndStringTitlesWithoutFont)
{
    const DialogItemDesc ITEMS[] = {
        {reinterpret_cast<DialogNameOrOrdinal>(u"Edit"), reinterpret_cast<DialogNameOrOrdinal>(u"text"),
         WS_VISIBLE, 0, 4, 5, 60, 12, 7},
        {DIALOG_CLASS_BUTTON, 0, WS_VISIBLE | WS_TABSTOP, 0, 70, 5, 30, 14, 8},
    };
    const DialogDesc DESC = {WS_POPUP | WS_CAPTION, 0, 2, 0, 0, 110, 30, 0, u"T", 0, nullptr, 0};
    const ExpectedControl CONTROLS[] = {
        {7, "Edit", WS_CHILD | WS_VISIBLE, {4, 5, 60, 12}, "text"},
        {8, "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {70, 5, 30, 14}, ""},
    };
    EXPECT_EQ(IDOK, RunDialog(BuildDialogTemplate(&DESC, ITEMS), {CONTROLS, 2, nullptr}));
}
