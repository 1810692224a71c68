// The About template in a real modal dialog: DialogBoxIndirectParamA creates
// the described controls with their ids, classes, styles, texts and positions.
#include <windows.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

namespace
{
const struct
{
    int id;
    const char* pszClass;
    LONG style;
    RECT rcUnits;  // x, y, cx, cy in dialog units, each mapped alone as the dialog does
    const char* pszText;
} ABOUT_CONTROLS[] = {
    {IDC_ABOUT_ICON, "Static", WS_CHILD | WS_VISIBLE | SS_ICON, {7, 7, 20, 21}, ""},
    {IDC_ABOUT_VERSION, "Static", WS_CHILD | WS_VISIBLE, {30, 7, 1, 8}, ""},
    {IDC_ABOUT_LINK, "Static", WS_CHILD | WS_VISIBLE, {30, 16, 1, 8}, ""},
    {IDC_ABOUT_RESOURCES, "Static", WS_CHILD | WS_VISIBLE, {30, 25, 1, 8}, ""},
    {IDOK, "Button", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON, {45, 35, 45, 14}, "OK"},
};

INT_PTR CALLBACK CheckControlsProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ("ＭＳ Ｐゴシック", lf.lfFaceName);
    for (const auto& control : ABOUT_CONTROLS)
    {
        HWND hwndCtrl = GetDlgItem(hDlg, control.id);
        char szClass[32] = "", szText[32] = "";
        GetClassNameA(hwndCtrl, szClass, sizeof szClass);
        GetWindowTextA(hwndCtrl, szText, sizeof szText);
        EXPECT_EQ(std::string(control.pszClass) + "/" + control.pszText, std::string(szClass) + "/" + szText);
        RECT rcUnits = control.rcUnits, rc = {};
        MapDialogRect(hDlg, &rcUnits);
        GetWindowRect(hwndCtrl, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ((std::vector<LONG>{control.style, rcUnits.left, rcUnits.top, rcUnits.right, rcUnits.bottom}),
                  (std::vector<LONG>{GetWindowLongA(hwndCtrl, GWL_STYLE), rc.left, rc.top, rc.right - rc.left,
                                     rc.bottom - rc.top}))
            << "style, x, y, cx, cy of control " << control.id;
    }
    EndDialog(hDlg, IDOK);
    return TRUE;
}
}  // namespace

TEST(DialogTemplateUnderWine, DialogBoxCreatesTheAboutBoxControls)
{
    void* pTemplate = BuildAboutTemplate();
    EXPECT_EQ(IDOK, DialogBoxIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                                            CheckControlsProc, 0));
    free(pTemplate);
}
