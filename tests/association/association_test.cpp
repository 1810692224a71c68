// The association records against HKEY_CLASSES_ROOT of the build's Wine prefix, which has no
// ".cur" or ".ico" keys of its own: registry layouts, the set each loads, and the keys left after
// confirming an edit of it; and the bounds of reading a value.
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
    for (const char* pszName :
         {".cur", ".ico", "qzt.cur", "qzt.none", "qzt.value", "shell\\quorzel"})
        RegDeleteTreeA(HKEY_CLASSES_ROOT, pszName);
}

const std::string CUR = ".cur\\shell\\quorzel";
const std::string QZT = "qzt.cur\\shell\\quorzel";
const std::string ABSENT = "=<absent>";
// The name of a file type of 521 bytes, its terminator counted in the value.
const std::string FILE_TYPE_521 = ".cur:qzt.cur" + std::string(515, '\0');

// What the dialog makes of the loaded ".cur" entry: whether it stays registered, and its texts
// (null: as loaded).
struct Edit
{
    bool fRegistered;
    const char* pszMenu;
    const char* pszCommand;
};

// The ".cur" entry as "registered or not, menu text, command line, location", the defaults named.
std::string Describe(const AssociationSet& set)
{
    const AssociationEntry& entry = set.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    char szDefault[COMMAND_LINE_CAPACITY];
    BuildDefaultCommandLine(szDefault);
    std::string text = set.flags & ASSOCIATION_CUR ? "registered, " : "not registered, ";
    text += IsSameString(entry.menuText, DEFAULT_MENU_TEXT) ? "default menu" : entry.menuText;
    text += IsSameString(entry.commandLine, szDefault)
                ? ", default command, "
                : ", " + std::string(entry.commandLine) + ", ";
    return text + entry.location;
}

// Lays the keys out, loads the set, confirms the edit of it and reads the keys back: "key=default
// value" for each after; none means that nothing may be written.
void CheckLayout(const char* pszCase, const std::vector<std::string>& layout,
                 const std::string& loadedEntry, const Edit& edit, uint32_t uChanged,
                 const std::vector<std::string>& after)
{
    SCOPED_TRACE(pszCase);
    static AssociationSet loaded;
    static AssociationSet confirmed;
    DeleteTestKeys();
    for (const std::string& line : layout)
        ASSERT_TRUE(CreateClassesKey(line)) << line;
    memset(&loaded, 'x', sizeof loaded);
    EXPECT_TRUE(LoadAssociations(&loaded));
    EXPECT_EQ(loadedEntry, Describe(loaded)) << "the .cur entry loaded";

    confirmed = loaded;
    AssociationEntry& entry = confirmed.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    confirmed.flags = edit.fRegistered ? ASSOCIATION_CUR : 0;
    if (edit.pszMenu)
        CopyString(entry.menuText, MENU_TEXT_CAPACITY, edit.pszMenu);
    if (edit.pszCommand)
        CopyString(entry.commandLine, COMMAND_LINE_CAPACITY, edit.pszCommand);
    EXPECT_EQ(uChanged, GetChangedAssociations(&confirmed, &loaded)) << "the extensions changed";
    // Every write and deletion under the root sets the event.
    HANDLE hWritten = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    RegNotifyChangeKeyValue(HKEY_CLASSES_ROOT, TRUE,
                            REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, hWritten, TRUE);
    EXPECT_TRUE(ApplyAssociations(&confirmed, uChanged));
    EXPECT_EQ(!after.empty(), WaitForSingleObject(hWritten, 200) == WAIT_OBJECT_0)
        << "whether anything was written";
    CloseHandle(hWritten);
    for (const std::string& check : after)
    {
        const std::string key = check.substr(0, check.find('='));
        EXPECT_EQ(check, key + "=" + ReadClassesKey(key));
    }
    DeleteTestKeys();
}

const char NOT_REGISTERED[] = "not registered, default menu, default command, ";

TEST(Associations, LayoutsLoadAndApply)
{
    CheckLayout("file type name of 521 bytes", {FILE_TYPE_521, QZT + "\\command=C"},
                "registered, , C, ", {true, nullptr, nullptr}, 0, {});
    CheckLayout("file type name of 522 bytes: the extension key holds the verb",
                {FILE_TYPE_521 + '\0', QZT + "\\command=C"}, NOT_REGISTERED, {true, "N", "D"},
                ASSOCIATION_CUR, {CUR + "=N", CUR + "\\command=D", QZT + "\\command=C"});
    CheckLayout("missing file type: the extension key holds the verb", {".cur=qzt.none"},
                NOT_REGISTERED, {true, "N", "D"}, ASSOCIATION_CUR,
                {CUR + "=N", CUR + "\\command=D", "qzt.none" + ABSENT});
    CheckLayout("empty file type name: the extension key holds the verb, not the root", {".cur="},
                NOT_REGISTERED, {true, "N", "D"}, ASSOCIATION_CUR,
                {CUR + "=N", "shell\\quorzel" + ABSENT});
    CheckLayout("no file type name; the menu text changed in case only",
                {CUR + "=M", CUR + "\\command=C"}, "registered, M, C, ", {true, "m", nullptr},
                ASSOCIATION_CUR, {CUR + "=m", CUR + "\\command=C"});
    CheckLayout("verb without command: the defaults; confirming writes both", {CUR + "=Old"},
                NOT_REGISTERED, {true, nullptr, "D"}, ASSOCIATION_CUR,
                {CUR + "=" + DEFAULT_MENU_TEXT, CUR + "\\command=D"});
    CheckLayout("command without a value; nothing changed", {CUR + "=M", CUR + "\\command"},
                "registered, M, , ", {true, nullptr, nullptr}, 0, {});
    CheckLayout("removal keeps shell, and a verb that holds another key",
                {CUR + "=M", CUR + "\\command=C", CUR + "\\extra"}, "registered, M, C, ",
                {false, nullptr, nullptr}, ASSOCIATION_CUR,
                {CUR + "=M", CUR + "\\command" + ABSENT, CUR + "\\extra=<no value>"});
    CheckLayout("no extension key: confirming creates nothing", {}, NOT_REGISTERED,
                {true, "N", "D"}, ASSOCIATION_CUR, {});
}

// The value stored, and what a buffer of 8 bytes then holds, or null when it does not fit. The
// bytes after the capacity must stay as they are.
TEST(ReadRegDefault, StaysWithinItsCapacity)
{
    const char* const CASES[][2] = {{"qzt.value=abcdefg", "abcdefg"},
                                    {"qzt.value=abcdefgh", nullptr},
                                    {"qzt.value:abc", "abc"},
                                    {"qzt.value:abcdefgh", nullptr},
                                    {"qzt.value", nullptr}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c[0]);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "qzt.value");
        HKEY hKey;
        ASSERT_TRUE(CreateClassesKey(c[0]));
        ASSERT_TRUE(OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", &hKey));
        char szBuffer[] = "########~~~";
        EXPECT_EQ(c[1] != nullptr, ReadRegDefault(hKey, szBuffer, 8)) << "whether it was read";
        EXPECT_EQ(c[1] ? c[1] : "", std::string(szBuffer)) << "the text read";
        EXPECT_EQ("~~~", std::string(szBuffer + 8)) << "the bytes after the capacity";
        CloseRegKey(hKey);
    }
    DeleteTestKeys();
}

}  // namespace
