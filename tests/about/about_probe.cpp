// Shows the About box in a program with version resources of its own, or none.
#include "about/aboutdialog.h"

int main()
{
    const AboutBoxInfo info = {SUPPORT_SITE_URL};
    return ShowAboutDialog(nullptr, &info) ? 0 : 1;
}
