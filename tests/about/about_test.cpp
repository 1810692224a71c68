// The About box under Wine, driven like a user: its texts from the version
// resources of the program it runs in, the fitted layout, its face for dragging,
// the link's click, the keys that end it, a screenshot.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TOOLS/toolwind.h"
#include "about/aboutdialog.h"
#include "about/dialogtemplate.h"
#include "support/screen.h"

namespace {

std::string Text(HWND hWnd, int nID = 0)
{
    char szText[1024] = "";
    SendMessageA(nID ? GetDlgItem(hWnd, nID) : hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// On a thread of its own, so that it may assert: drives the open box, then
// cancels it if drive left it open, and tells whether it did.
DWORD WINAPI DriveAboutBox(void* pDrive)
{
    HWND hwnd = WaitForDialog();
    reinterpret_cast<void (*)(HWND)>(pDrive)(hwnd);
    for (int i = 0; i < 50 && IsWindow(hwnd); ++i)
        Sleep(20);
    return PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// Runs the box as ShowAboutDialog does while drive acts on it, and gives the
// box's result, or -1 when drive left it open.
INT_PTR RunAboutBox(const char* pszUrl, void (*drive)(HWND))
{
    const AboutBoxInfo info = {pszUrl};
    AboutDialogData data = {GetModuleIcon(GetModuleHandleA(nullptr), SHGFI_LARGEICON), nullptr, &info};
    void* pTemplate = BuildAboutTemplate();
    HANDLE hThread = CreateThread(nullptr, 0, DriveAboutBox, reinterpret_cast<void*>(drive), 0, nullptr);
    const INT_PTR nResult = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(pTemplate),
                                                    nullptr, AboutDialogProc, reinterpret_cast<LPARAM>(&data));
    DWORD dwLeftOpen = 0;
    WaitForSingleObject(hThread, INFINITE), GetExitCodeThread(hThread, &dwLeftOpen), CloseHandle(hThread);
    free(pTemplate);
    return dwLeftOpen ? -1 : nResult;
}

TEST(AboutBox, ShowsItsOwnVersionFitsItsLinesDragsByItsFaceAndEndsWithOneOnEnter)
{
    EXPECT_EQ(IDOK, RunAboutBox(SUPPORT_SITE_URL, [](HWND hwnd) {
        EXPECT_EQ("quorzel について", Text(hwnd));
        EXPECT_EQ("quorzel ver. 0.02", Text(hwnd, IDC_ABOUT_VERSION));
        EXPECT_EQ(SUPPORT_SITE_URL, Text(hwnd, IDC_ABOUT_LINK));
        EXPECT_EQ("", Text(hwnd, IDC_ABOUT_RESOURCES)) << "no rsrc32.dll here";
        // The lines widened from their unit to their texts in their own fonts; the dialog grown by the largest
        // growth. The template's bytes are checked on their own (DialogTemplate.*).
        RECT rcDialog = {0, 0, 38}, rcLine = {0, 0, 1}, rcClient;
        MapDialogRect(hwnd, &rcDialog), MapDialogRect(hwnd, &rcLine), GetClientRect(hwnd, &rcClient);
        int nLargestGrowth = 0;
        for (int nID : {IDC_ABOUT_VERSION, IDC_ABOUT_LINK, IDC_ABOUT_RESOURCES}) {
            HWND hwndCtrl = GetDlgItem(hwnd, nID);
            HDC hdc = GetDC(hwndCtrl);
            SIZE size = {};
            SelectObject(hdc, HFONT(SendMessageA(hwndCtrl, WM_GETFONT, 0, 0)));
            GetTextExtentPoint32A(hdc, Text(hwndCtrl).c_str(), int(Text(hwndCtrl).size()), &size);
            ReleaseDC(hwndCtrl, hdc);
            nLargestGrowth = std::max<int>(nLargestGrowth, size.cx - rcLine.right);
            EXPECT_EQ(std::max(rcLine.right, size.cx), GetWindowWidth(hwndCtrl)) << "width of " << Text(hwndCtrl);
        }
        EXPECT_EQ(rcDialog.right + nLargestGrowth, rcClient.right) << "the dialog grows by the largest growth";
        EXPECT_NEAR(WindowCenter(hwnd).x, WindowCenter(GetDlgItem(hwnd, IDOK)).x, 1) << "OK centred";
        SetCursorPos(0, 0), Sleep(300), SaveWindowBitmap(hwnd, "about_box.bmp");
        POINT ptFace = {4, 4};  // above the icon
        ClientToScreen(hwnd, &ptFace);
        EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(ptFace.x, ptFace.y))) << "the face drags the box";
        keybd_event(VK_RETURN, 0, 0, 0), keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    }));
}

TEST(AboutBox, EndsWithTwoOnEscAndWithOneOnTheLinkWhichItHandsToTheShell)
{
    DeleteFileA("link_opened.txt");  // where the test's URL scheme records its URL (about_wine.reg)
    EXPECT_EQ(IDCANCEL, RunAboutBox("quorzel-test:about", [](HWND) {
        keybd_event(VK_ESCAPE, 0, 0, 0), keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    }));
    EXPECT_EQ(IDOK, RunAboutBox("quorzel-test:about", [](HWND hwnd) {
        DragMouse(WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)), WindowCenter(GetDlgItem(hwnd, IDC_ABOUT_LINK)));
    }));
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i, Sleep(100))
        std::getline(std::ifstream("link_opened.txt"), recorded);
    EXPECT_EQ("quorzel-test:about", recorded.substr(0, recorded.find_last_not_of(" \r") + 1));
}

TEST(AboutBox, ReadsTheVersionResourceOfTheProgramItRunsIn)
{
    std::string cut = "N";  // the long name cut at 520 bytes, without the half "能" there
    while (cut.size() < 519)
        cut += "能";
    const struct { const char* probe; std::string title, line; } CASES[] = {
        {"about_probe_description.exe", "Described について", "Described ver. 1.5"},
        {"about_probe_long.exe", cut, cut},
        {"about_probe_bare.exe", "", ""}};
    for (const auto& test : CASES) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        std::string command = test.probe;
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        HWND hwnd = WaitForDialog(process.dwProcessId);
        EXPECT_EQ(test.title, Text(hwnd)) << test.probe;
        EXPECT_EQ(test.line, Text(hwnd, IDC_ABOUT_VERSION)) << test.probe;
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000)) << test.probe;
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
}

}  // namespace
