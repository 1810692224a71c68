// A program that only shows the About box, built with version resources of
// its own so that the tests can watch the box read them.
#include <windows.h>
#include <commctrl.h>

#include "about/aboutdialog.h"

int main()
{
    InitCommonControls();
    const AboutBoxInfo info = {SUPPORT_SITE_URL};
    ShowAboutDialog(nullptr, &info);
    return 0;
}
