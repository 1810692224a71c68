// The About template in a real modal dialog: DialogBoxIndirectParamA creates
// the described controls with their ids, classes, styles, texts and positions.
#include <windows.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

static INT_PTR CALLBACK CheckControlsProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    const struct { int id; const char* pszClassAndText; LONG style; RECT rc; } CONTROLS[] = {  // the first and the last
        {IDC_ABOUT_ICON, "Static/", WS_CHILD | WS_VISIBLE | SS_ICON, {7, 7, 20, 21}},  // x, y, cx, cy in units
        {IDOK, "Button/OK", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON, {45, 35, 45, 14}},
    };
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    for (const auto& control : CONTROLS)
    {
        HWND hwndCtrl = GetDlgItem(hDlg, control.id);
        char szClass[16] = "", szText[16] = "";
        GetClassNameA(hwndCtrl, szClass, sizeof szClass);
        GetWindowTextA(hwndCtrl, szText, sizeof szText);
        RECT rcUnits = control.rc, rc = {};  // each mapped alone, as the dialog does
        MapDialogRect(hDlg, &rcUnits);
        GetWindowRect(hwndCtrl, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(control.pszClassAndText, std::string(szClass) + "/" + szText);
        EXPECT_EQ((std::vector<LONG>{control.style, rcUnits.left, rcUnits.top, rcUnits.right, rcUnits.bottom}),
                  (std::vector<LONG>{GetWindowLongA(hwndCtrl, GWL_STYLE), rc.left, rc.top, rc.right - rc.left,
                                     rc.bottom - rc.top}))
            << "style, x, y, cx, cy of control " << control.id;
    }
    EndDialog(hDlg, IDOK);
    return TRUE;
}

TEST(DialogTemplateUnderWine, DialogBoxCreatesTheAboutBoxControls)
{
    void* pTemplate = BuildAboutTemplate();
    EXPECT_EQ(IDOK, DialogBoxIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(pTemplate), nullptr,
                                            CheckControlsProc, 0));
    free(pTemplate);
}
