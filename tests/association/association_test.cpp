// The association records against HKEY_CLASSES_ROOT of the build's Wine prefix:
// registry layouts with the set they load and the keys left after confirming
// an edit, and the bounds of reading a default value and building the command.
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TOOLS/toolsys.h"
#include "association/associations.h"
#include "association/regkeys.h"
#include "support/classeskeys.h"

using namespace std::string_literals;

namespace
{

// Every top-level key a layout uses: moved aside for the tests, put back after.
const char* const TOP_KEYS[] = {".cur", ".ico", "qzt.cur", "qzt.ico", "qzt.none", "qzt.value"};

class ClassesRoot : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char* pszName : TOP_KEYS)
            SaveClassesKey(pszName);
    }
    static void TearDownTestSuite()
    {
        for (const char* pszName : TOP_KEYS)
            RestoreClassesKey(pszName);
    }
};

// A file type name, padded after its terminator to nSize bytes ending in a NUL.
std::string PaddedName(const char* pszName, size_t nSize)
{
    std::string name(pszName, strlen(pszName) + 1);
    return name + std::string(nSize - name.size() - 1, 'x') + '\0';
}

struct LayoutCase
{
    const char* pszName;
    std::vector<std::string> layout;  // lines for CreateClassesKey
    int group;                        // the extension edited
    uint32_t loadedFlags;
    const char* pszLoadedMenu;     // null: the default texts
    const char* pszLoadedCommand;
    uint32_t newFlags;             // the set confirmed
    const char* pszNewMenu;        // null: as loaded
    const char* pszNewCommand;
    uint32_t changed;
    bool fTouches;                 // whether applying writes or deletes anything
    std::vector<std::string> after;  // "path=value", "path" (exists), "!path" (absent)
};

const std::string CUR_VERB = ".cur\\shell\\quorzel";
const std::string QZT_VERB = "qzt.cur\\shell\\quorzel";
const std::vector<std::string> QZT_REGISTERED = {".cur=qzt.cur", QZT_VERB + "=M", QZT_VERB + "\\command=C"};

const LayoutCase LAYOUT_CASES[] = {
    {"file type named by the extension: clearing removes its verb", QZT_REGISTERED,
     GROUP_CUR, 1, "M", "C", 0, nullptr, nullptr, 1, true, {"qzt.cur\\shell", "!" + QZT_VERB, "!.cur\\shell"}},
    {"file type named by the extension: the verb goes there, not under the extension",
     {".cur=qzt.cur", "qzt.cur"}, GROUP_CUR, 0, nullptr, nullptr, 1, "N", "D", 1, true,
     {QZT_VERB + "=N", QZT_VERB + "\\command=D", "!.cur\\shell"}},
    {"file type name of 521 bytes fits", {".cur:" + PaddedName("qzt.cur", 522), QZT_VERB + "\\command=C"},
     GROUP_CUR, 1, "", "C", 1, nullptr, nullptr, 0, false, {}},
    {"file type name of 522 bytes: the extension key holds the verb",
     {".cur:" + PaddedName("qzt.cur", 523), QZT_VERB + "\\command=C"}, GROUP_CUR, 0, nullptr, nullptr, 1, "N",
     "D", 1, true, {CUR_VERB + "=N", CUR_VERB + "\\command=D", QZT_VERB + "\\command=C"}},
    {"missing file type: the extension key holds the verb", {".cur=qzt.none"}, GROUP_CUR, 0, nullptr, nullptr,
     1, "N", "D", 1, true, {CUR_VERB + "=N", CUR_VERB + "\\command=D", "!qzt.none"}},
    {"empty file type name: the extension key, never the root, holds the verb", {".cur="}, GROUP_CUR, 0,
     nullptr, nullptr, 1, "N", "D", 1, true, {CUR_VERB + "=N", "!shell\\quorzel"}},
    {"no file type name; a menu text differing in case is a change",
     {CUR_VERB + "=M", CUR_VERB + "\\command=C"}, GROUP_CUR, 1, "M", "C", 1, "m", nullptr, 1, true,
     {CUR_VERB + "=m", CUR_VERB + "\\command=C"}},
    {"verb without command: defaults; confirming writes both", {CUR_VERB + "=Old"}, GROUP_CUR, 0, nullptr,
     nullptr, 1, nullptr, "D", 1, true, {CUR_VERB + "=" + DEFAULT_MENU_TEXT, CUR_VERB + "\\command=D"}},
    {"command without value; unchanged set writes nothing", {CUR_VERB + "=M", CUR_VERB + "\\command"},
     GROUP_CUR, 1, "M", "", 1, nullptr, nullptr, 0, false, {CUR_VERB + "\\command=<no value>"}},
    {"removal keeps shell and a verb holding another key",
     {CUR_VERB + "=M", CUR_VERB + "\\command=C", CUR_VERB + "\\extra"}, GROUP_CUR, 1, "M", "C", 0, nullptr,
     nullptr, 1, true, {CUR_VERB + "=M", "!" + CUR_VERB + "\\command", CUR_VERB + "\\extra"}},
    {"no extension key: confirming creates nothing", {}, GROUP_CUR, 0, nullptr, nullptr, 1, "N", "D", 1, false,
     {"!.cur"}},
    {"oversized and binary values read as empty and as bytes",
     {CUR_VERB + "=" + std::string(MENU_TEXT_CAPACITY, 'm'), CUR_VERB + "\\command:C"}, GROUP_CUR, 1, "", "C",
     1, nullptr, nullptr, 0, false, {}},
    {".ico through its own bit and entry",
     {".ico=qzt.ico", "qzt.ico\\shell\\quorzel=I", "qzt.ico\\shell\\quorzel\\command=J"}, GROUP_ICO, 2, "I",
     "J", 2, nullptr, "K", 2, true, {"qzt.ico\\shell\\quorzel\\command=K"}},
};

TEST_F(ClassesRoot, LayoutsLoadAndApply)
{
    char szDefaultCommand[COMMAND_LINE_CAPACITY];
    BuildDefaultCommandLine(szDefaultCommand);
    static AssociationSet loaded;
    static AssociationSet confirmed;
    HKEY hRoot;
    ASSERT_TRUE(OpenRegKey(HKEY_CLASSES_ROOT, "", &hRoot));
    const HANDLE hChange = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (const LayoutCase& c : LAYOUT_CASES)
    {
        SCOPED_TRACE(c.pszName);
        for (const char* pszName : TOP_KEYS)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, pszName);
        for (const std::string& line : c.layout)
            ASSERT_TRUE(CreateClassesKey(line)) << line;
        memset(&loaded, 'x', sizeof loaded);
        ASSERT_TRUE(LoadAssociations(&loaded));
        const unsigned nIndex = c.group - ASSOCIATION_FIRST_GROUP;
        const AssociationEntry& entry = loaded.entries[nIndex];
        EXPECT_EQ(c.loadedFlags, loaded.flags);
        EXPECT_STREQ(c.pszLoadedMenu ? c.pszLoadedMenu : DEFAULT_MENU_TEXT, entry.menuText);
        EXPECT_STREQ(c.pszLoadedCommand ? c.pszLoadedCommand : szDefaultCommand, entry.commandLine);
        EXPECT_STREQ("", entry.location);

        confirmed = loaded;
        confirmed.flags = c.newFlags;
        if (c.pszNewMenu)
            CopyString(confirmed.entries[nIndex].menuText, MENU_TEXT_CAPACITY, c.pszNewMenu);
        if (c.pszNewCommand)
            CopyString(confirmed.entries[nIndex].commandLine, COMMAND_LINE_CAPACITY, c.pszNewCommand);
        const uint32_t uChanged = GetChangedAssociations(&confirmed, &loaded);
        EXPECT_EQ(c.changed, uChanged);
        ResetEvent(hChange);
        ASSERT_EQ(ERROR_SUCCESS, RegNotifyChangeKeyValue(hRoot, TRUE, REG_NOTIFY_CHANGE_NAME |
                                                         REG_NOTIFY_CHANGE_LAST_SET, hChange, TRUE));
        EXPECT_TRUE(ApplyAssociations(&confirmed, uChanged));
        EXPECT_EQ(c.fTouches, WaitForSingleObject(hChange, 200) == WAIT_OBJECT_0) << "registry written";
        for (const std::string& check : c.after)
        {
            const size_t at = check.find('=');
            const std::string value = ReadClassesKey(check.substr(check[0] == '!', at));
            if (at != std::string::npos)
                EXPECT_EQ(check.substr(at + 1), value) << check;
            else
                EXPECT_EQ(check[0] == '!', value == "<absent>") << check << ": " << value;
        }
    }
    CloseHandle(hChange);
    CloseRegKey(hRoot);
}

TEST_F(ClassesRoot, ReadRegDefaultStaysWithinItsCapacity)
{
    const unsigned CAPACITY = 8;
    const struct
    {
        const char* pszLine;
        bool fRead;
        const char* pszText;
    } CASES[] = {
        {"qzt.value=abcdefg", true, "abcdefg"},  // fits exactly with its terminator
        {"qzt.value=abcdefgh", false, ""},
        {"qzt.value:abc", true, "abc"},          // terminated right after the data
        {"qzt.value:abcdefg", true, "abcdefg"},
        {"qzt.value:abcdefgh", false, ""},       // fills it without a terminator
        {"qzt.value", false, ""},
    };
    for (const auto& c : CASES)
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "qzt.value");
        HKEY hKey;
        ASSERT_TRUE(CreateClassesKey(c.pszLine) && OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", &hKey)) << c.pszLine;
        char szBuffer[CAPACITY + 4];
        memset(szBuffer, '#', sizeof szBuffer);
        EXPECT_EQ(c.fRead, ReadRegDefault(hKey, szBuffer, CAPACITY)) << c.pszLine;
        EXPECT_STREQ(c.pszText, szBuffer) << c.pszLine;
        EXPECT_EQ("####", std::string(szBuffer + CAPACITY, 4)) << c.pszLine;
        CloseRegKey(hKey);
    }
}

TEST(BuildDefaultCommandLine, QuotesTheProgramPathAndTheFile)
{
    char szModule[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, szModule, MAX_PATH));
    const std::string expected = "\""s + szModule + "\" \"%1\"";
    char szCommand[COMMAND_LINE_CAPACITY + 1];
    EXPECT_EQ(expected.size() + 1, BuildDefaultCommandLine(nullptr));
    EXPECT_EQ(expected.size() + 1, BuildDefaultCommandLine(szCommand));
    EXPECT_EQ(expected, szCommand);
    EXPECT_EQ(45u, BuildCommandLineFor("C:\\Program Files\\Tool Box\\quorzel.exe", szCommand));
    EXPECT_STREQ("\"C:\\Program Files\\Tool Box\\quorzel.exe\" \"%1\"", szCommand);

    const std::string longPath(2000, 'p');
    szCommand[COMMAND_LINE_CAPACITY] = '#';
    EXPECT_EQ(2008u, BuildCommandLineFor(longPath.c_str(), nullptr));
    EXPECT_EQ(COMMAND_LINE_CAPACITY, BuildCommandLineFor(longPath.c_str(), szCommand));
    EXPECT_EQ("\"" + longPath.substr(0, COMMAND_LINE_CAPACITY - 2), szCommand);
    EXPECT_EQ('#', szCommand[COMMAND_LINE_CAPACITY]);
}

}  // namespace
