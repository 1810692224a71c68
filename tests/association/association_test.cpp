// The association records against HKEY_CLASSES_ROOT of the build's Wine prefix,
// which has no ".cur" or ".ico" keys of its own: registry layouts with the set
// they load and the keys left after confirming an edit; the bounds of reading.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TOOLS/toolsys.h"
#include "association/associations.h"
#include "association/regkeys.h"
#include "support/classeskeys.h"

namespace
{
void DeleteTestKeys()
{
    for (const char* pszName : {".cur", "qzt.cur", "qzt.none", "qzt.value", "shell\\quorzel"})
        RegDeleteTreeA(HKEY_CLASSES_ROOT, pszName);
}

// ".cur" alone: the association dialog's test writes and removes a file type's verb, and ".ico".
const std::string CUR = ".cur\\shell\\quorzel", QZT = "qzt.cur\\shell\\quorzel";
const std::string GONE = "=<absent>", FILE_TYPE_521 = ".cur:qzt.cur" + std::string(515, '\0');  // terminator counted

const struct LayoutCase  // texts: null for the defaults when loaded, for the loaded ones when confirmed
{
    const char* pszName;
    std::vector<std::string> layout, after;  // lines for CreateClassesKey; "path=value" read back (none: no writes)
    uint32_t loadedFlags, newFlags, changed;  // the bits of ".cur"
    const char *pszLoadedMenu, *pszLoadedCommand, *pszNewMenu, *pszNewCommand;
} LAYOUT_CASES[] = {
    {"file type name of 521 bytes", {FILE_TYPE_521, QZT + "\\command=C"}, {}, 1, 1, 0, "", "C", nullptr, nullptr},
    {"file type name of 522 bytes: the extension key holds the verb", {FILE_TYPE_521 + '\0', QZT + "\\command=C"},
     {CUR + "=N", CUR + "\\command=D", QZT + "\\command=C"}, 0, 1, 1, nullptr, nullptr, "N", "D"},
    {"missing file type: the extension key holds the verb", {".cur=qzt.none"},
     {CUR + "=N", CUR + "\\command=D", "qzt.none" + GONE}, 0, 1, 1, nullptr, nullptr, "N", "D"},
    {"empty file type name: the extension key, not the root, holds the verb", {".cur="},
     {CUR + "=N", "shell\\quorzel" + GONE}, 0, 1, 1, nullptr, nullptr, "N", "D"},
    {"no file type name; menu text changed in case only", {CUR + "=M", CUR + "\\command=C"},
     {CUR + "=m", CUR + "\\command=C"}, 1, 1, 1, "M", "C", "m", nullptr},
    {"verb without command: defaults; confirming writes both", {CUR + "=Old"},
     {CUR + "=" + DEFAULT_MENU_TEXT, CUR + "\\command=D"}, 0, 1, 1, nullptr, nullptr, nullptr, "D"},
    {"command without value; unchanged set", {CUR + "=M", CUR + "\\command"}, {}, 1, 1, 0, "M", "", nullptr, nullptr},
    {"removal keeps shell and a verb holding another key", {CUR + "=M", CUR + "\\command=C", CUR + "\\extra"},
     {CUR + "=M", CUR + "\\command" + GONE, CUR + "\\extra=<no value>"}, 1, 0, 1, "M", "C", nullptr, nullptr},
    {"no extension key: confirming creates nothing", {}, {}, 0, 1, 1, nullptr, nullptr, "N", "D"},
};

TEST(Associations, LayoutsLoadAndApply)
{
    char szModule[MAX_PATH];
    GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    const std::string defaultCommand = "\"" + std::string(szModule) + "\" \"%1\"";
    static AssociationSet loaded, confirmed;
    const HANDLE hChange = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (const LayoutCase& c : LAYOUT_CASES)
    {
        SCOPED_TRACE(c.pszName);
        DeleteTestKeys();
        for (const std::string& line : c.layout)
            ASSERT_TRUE(CreateClassesKey(line)) << line;
        memset(&loaded, 'x', sizeof loaded);
        EXPECT_TRUE(LoadAssociations(&loaded));
        AssociationEntry& entry = (confirmed = loaded).entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
        EXPECT_EQ(std::to_string(c.loadedFlags) + "|" + (c.pszLoadedMenu ? c.pszLoadedMenu : DEFAULT_MENU_TEXT) + "|" +
                      (c.pszLoadedCommand ? c.pszLoadedCommand : defaultCommand) + "|",  // no location
                  std::to_string(loaded.flags) + "|" + entry.menuText + "|" + entry.commandLine + "|" + entry.location);
        confirmed.flags = c.newFlags;
        if (c.pszNewMenu)
            CopyString(entry.menuText, MENU_TEXT_CAPACITY, c.pszNewMenu);
        if (c.pszNewCommand)
            CopyString(entry.commandLine, COMMAND_LINE_CAPACITY, c.pszNewCommand);
        const uint32_t uChanged = GetChangedAssociations(&confirmed, &loaded);
        EXPECT_EQ(c.changed, uChanged);
        ResetEvent(hChange);
        RegNotifyChangeKeyValue(HKEY_CLASSES_ROOT, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, hChange, TRUE);
        EXPECT_TRUE(ApplyAssociations(&confirmed, uChanged));
        EXPECT_EQ(!c.after.empty(), WaitForSingleObject(hChange, 200) == WAIT_OBJECT_0) << "registry written";
        for (const std::string& check : c.after)
            EXPECT_EQ(check, check.substr(0, check.find('=') + 1) + ReadClassesKey(check.substr(0, check.find('='))));
    }
    CloseHandle(hChange);
    DeleteTestKeys();
}

TEST(ReadRegDefault, StaysWithinItsCapacity)
{
    // The value stored, and what a buffer of 8 bytes then holds, or null when it does not fit.
    const char* const CASES[][2] = {{"qzt.value=abcdefg", "abcdefg"}, {"qzt.value=abcdefgh", nullptr},
                                    {"qzt.value:abc", "abc"}, {"qzt.value:abcdefgh", nullptr}, {"qzt.value", nullptr}};
    for (const auto& c : CASES)
    {
        HKEY hKey;
        char szBuffer[] = "########~~~";
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "qzt.value");
        ASSERT_TRUE(CreateClassesKey(c[0]) && OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", &hKey)) << c[0];
        EXPECT_EQ(c[1] != nullptr, ReadRegDefault(hKey, szBuffer, 8)) << c[0];
        EXPECT_EQ((c[1] ? c[1] : "") + std::string("|~~~"), szBuffer + std::string("|") + (szBuffer + 8)) << c[0];
        CloseRegKey(hKey);
    }
    DeleteTestKeys();
}

}  // namespace
