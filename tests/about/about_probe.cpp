// A program that only shows the About box, built with version resources of
// its own so that the tests can watch the box read them.
#include "about/aboutdialog.h"

int main()
{
    const AboutBoxInfo info = {SUPPORT_SITE_URL};
    return ShowAboutDialog(nullptr, &info) ? 0 : 1;
}
