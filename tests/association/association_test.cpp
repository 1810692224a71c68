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
    DeleteClassesKeys({".cur", ".ico", "qzt.cur", "qzt.none", "qzt.value", "shell\\quorzel"});
}

const std::string CUR = ".cur\\shell\\quorzel";
const std::string QZT = "qzt.cur\\shell\\quorzel";
const std::string ABSENT = "=<absent>";
// A file type's name in 522 bytes of binary data: its terminator counted, the value just fits.
const std::string FILE_TYPE_522 = ".cur=binary:qzt.cur" + std::string(515, '\0');
const std::string LONG_COMMAND = std::string(1100, 'c');
std::string LongMenu()  // 32,800 bytes of "表"
{
    std::string text;
    while (text.size() < 32800)
        text += "表";
    return text;
}

// What the dialog makes of the loaded set: which extensions stay registered, and the texts of
// ".cur" and the menu text of ".ico" (null: as loaded).
struct Edit
{
    uint32_t flags;
    const char* pszMenu;
    const char* pszCommand;
    const char* pszIcoMenu;
};

// A text as it reads in a description: long ones by their first bytes and their length.
std::string Shown(const std::string& text)
{
    return text.size() <= 20 ? text
                             : text.substr(0, 4) + "... (" + std::to_string(text.size()) + ")";
}

// The ".cur" entry as "registered or not, menu text, command line, in the key of its verb", the
// defaults named.
std::string Describe(const AssociationSet& set)
{
    const AssociationEntry& entry = set.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    char szDefault[COMMAND_LINE_CAPACITY];
    BuildDefaultCommandLine(szDefault);
    std::string text = set.flags & ASSOCIATION_CUR ? "registered, " : "not registered, ";
    text +=
        IsSameString(entry.menuText, DEFAULT_MENU_TEXT) ? "default menu" : Shown(entry.menuText);
    text += ", " + (IsSameString(entry.commandLine, szDefault) ? "default command"
                                                               : Shown(entry.commandLine));
    const std::string location =
        entry.location;  // in full: "HKEY_CLASSES_ROOT\\" name "\\shell\\quorzel"
    const size_t nName = location.size() - std::min<size_t>(location.size(), 32);
    if (nName &&
        location == "HKEY_CLASSES_ROOT\\" + location.substr(18, nName) + "\\shell\\quorzel")
        return text + ", in " + location.substr(18, nName);
    return text + ", at " + location;
}

// Lays the keys out, loads the set, confirms the edit of it and reads the keys back: "key=value"
// for each of after; none means that nothing may be written.
void CheckLayout(const char* pszCase, const std::vector<std::string>& layout,
                 const std::string& loadedEntry, const Edit& edit, uint32_t uChanged,
                 uint32_t uFailed, const std::vector<std::string>& after)
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
    confirmed.flags = edit.flags;
    if (edit.pszMenu)
        CopyString(entry.menuText, MENU_TEXT_CAPACITY, edit.pszMenu);
    if (edit.pszCommand)
        CopyString(entry.commandLine, COMMAND_LINE_CAPACITY, edit.pszCommand);
    if (edit.pszIcoMenu)
        CopyString(confirmed.entries[GROUP_ICO - ASSOCIATION_FIRST_GROUP].menuText,
                   MENU_TEXT_CAPACITY, edit.pszIcoMenu);
    EXPECT_EQ(uChanged, GetChangedAssociations(&confirmed, &loaded)) << "the extensions changed";
    // Every write and deletion under the root sets the event.
    HANDLE hWritten = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    RegNotifyChangeKeyValue(HKEY_CLASSES_ROOT, TRUE,
                            REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, hWritten, TRUE);
    uint32_t uNotChanged = 0xBAD;
    EXPECT_EQ(uFailed == 0, ApplyAssociations(&confirmed, &loaded, uChanged, &uNotChanged));
    EXPECT_EQ(uFailed, uNotChanged) << "the extensions that could not be changed";
    const bool fWritten = WaitForSingleObject(hWritten, 200) == WAIT_OBJECT_0;
    EXPECT_EQ(!after.empty(), fWritten) << "whether anything was written";
    CloseHandle(hWritten);
    for (const std::string& check : after)
    {
        const std::string key = check.substr(0, check.find('='));
        EXPECT_EQ(Shown(check), Shown(key + "=" + ReadClassesKey(key)));
    }
    DeleteTestKeys();
}

const char NOT_REGISTERED[] = "not registered, default menu, default command";
const uint32_t CUR_ONLY = ASSOCIATION_CUR;
const uint32_t BOTH = ASSOCIATION_CUR | ASSOCIATION_ICO;

TEST(Associations, LayoutsLoadAndApply)
{
    CheckLayout("file type name of 521 bytes", {FILE_TYPE_522, QZT + "\\command=C"},
                "registered, , C, in qzt.cur", {CUR_ONLY}, 0, 0, {});
    CheckLayout("file type name of 522 bytes: the extension key holds the verb",
                {FILE_TYPE_522 + '\0', QZT + "\\command=C"},
                NOT_REGISTERED + std::string(", in .cur"), {CUR_ONLY, "N", "D"}, CUR_ONLY, 0,
                {CUR + "=N", CUR + "\\command=D", QZT + "\\command=C"});
    CheckLayout("a file type name that fills 522 bytes without its terminator: the extension key",
                {FILE_TYPE_522.substr(0, FILE_TYPE_522.size() - 1) + 'x', QZT + "\\command=C"},
                NOT_REGISTERED + std::string(", in .cur"), {0}, 0, 0, {});
    CheckLayout("missing file type: the extension key holds the verb", {".cur=qzt.none"},
                NOT_REGISTERED + std::string(", in .cur"), {CUR_ONLY, "N", "D"}, CUR_ONLY, 0,
                {CUR + "=N", CUR + "\\command=D", "qzt.none" + ABSENT});
    CheckLayout("empty file type name: the extension key holds the verb, not the root", {".cur="},
                NOT_REGISTERED + std::string(", in .cur"), {CUR_ONLY, "N", "D"}, CUR_ONLY, 0,
                {CUR + "=N", "shell\\quorzel" + ABSENT});
    CheckLayout("no file type name; the menu text changed in case only",
                {CUR + "=M", CUR + "\\command=C"}, "registered, M, C, in .cur", {CUR_ONLY, "m"},
                CUR_ONLY, 0, {CUR + "=m", CUR + "\\command=C"});
    CheckLayout("verb without command: the defaults; confirming writes both", {CUR + "=Old"},
                NOT_REGISTERED + std::string(", in .cur"), {CUR_ONLY, nullptr, "D"}, CUR_ONLY, 0,
                {CUR + "=" + DEFAULT_MENU_TEXT, CUR + "\\command=D"});
    CheckLayout("command without a value; nothing changed", {CUR + "=M", CUR + "\\command"},
                "registered, M, , in .cur", {CUR_ONLY}, 0, 0, {});
    CheckLayout("removal keeps shell, and a verb that holds another key",
                {CUR + "=M", CUR + "\\command=C", CUR + "\\extra"}, "registered, M, C, in .cur",
                {0}, CUR_ONLY, 0,
                {CUR + "=M", CUR + "\\command" + ABSENT, CUR + "\\extra=<no value>"});
    CheckLayout("no extension key: confirming creates nothing, and says so", {},
                NOT_REGISTERED + std::string(", at "), {CUR_ONLY, "N", "D"}, CUR_ONLY, CUR_ONLY,
                {});
}

// What the user did not change stays as it was: a verb that two extensions share, values too
// long for their fields, their types and bytes, and a file type that the user may only read.
TEST(Associations, WhatTheUserDidNotChangeStays)
{
    const std::vector<std::string> SHARED = {".cur=qzt.cur", ".ico=qzt.cur", QZT + "=M",
                                             QZT + "\\command=C"};
    CheckLayout("a shared file type, .ico cleared", SHARED, "registered, M, C, in qzt.cur",
                {CUR_ONLY}, ASSOCIATION_ICO, 0, {});
    CheckLayout("a shared file type, .cur cleared and the .ico menu text edited", SHARED,
                "registered, M, C, in qzt.cur", {ASSOCIATION_ICO, nullptr, nullptr, "I"}, BOTH, 0,
                {QZT + "=I", QZT + "\\command=C"});
    CheckLayout("a shared file type, both texts edited: .cur's written last", SHARED,
                "registered, M, C, in qzt.cur", {BOTH, "N", nullptr, "I"}, BOTH, 0, {QZT + "=N"});
    CheckLayout("texts too long for their fields load cut; an unedited one stays whole",
                {CUR + "=" + LongMenu(), CUR + "\\command=" + LONG_COMMAND},
                "registered, 表表... (32766), cccc... (1024), in .cur", {CUR_ONLY, "N"}, CUR_ONLY,
                0, {CUR + "=N", CUR + "\\command=" + LONG_COMMAND});
    CheckLayout("a command that is REG_EXPAND_SZ stays one",
                {CUR + "=M", CUR + "\\command=expand:%P%\\q"}, "registered, M, %P%\\q, in .cur",
                {CUR_ONLY, nullptr, "%P%\\q /clip"}, CUR_ONLY, 0,
                {CUR + "=M", CUR + "\\command=expand:%P%\\q /clip"});
    CheckLayout("a non-string menu text that ends in half a character, kept unless edited",
                {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=C"},
                "registered, \x95\x5C\x95, C, in .cur", {CUR_ONLY, nullptr, "D"}, CUR_ONLY, 0,
                {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=D"});
    CheckLayout("a file type that the user may only read: seen as it is, not changed",
                {".cur=qzt.cur", QZT + "=M", QZT + "\\command=C", "read-only qzt.cur"},
                "registered, M, C, in qzt.cur", {CUR_ONLY, "N"}, CUR_ONLY, CUR_ONLY, {});
    CheckLayout("a file type that the user may only read: no verb added",
                {".cur=qzt.cur", "qzt.cur", "read-only qzt.cur"},
                NOT_REGISTERED + std::string(", in qzt.cur"), {CUR_ONLY}, CUR_ONLY, CUR_ONLY, {});
}

// The value stored, and what a buffer of 8 bytes then holds, or null when it does not fit; and
// what a text to show then holds. The bytes after the capacity must stay as they are.
TEST(ReadRegDefault, StaysWithinItsCapacity)
{
    const char* const CASES[][3] = {{"qzt.value=abcdefg", "abcdefg", "abcdefg"},
                                    {"qzt.value=abcdefgh", nullptr, "abcdefg"},
                                    {"qzt.value=abcdef\x95\x5C", nullptr, "abcdef"},
                                    {"qzt.value=binary:abc", "abc", "abc"},
                                    {"qzt.value=binary:abcdefgh", nullptr, "abcdefg"},
                                    {"qzt.value", nullptr, nullptr}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c[0]);
        DeleteTestKeys();
        HKEY hKey;
        ASSERT_TRUE(CreateClassesKey(c[0]));
        ASSERT_TRUE(OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", KEY_READ, &hKey));
        char szBuffer[] = "########~~~";
        EXPECT_EQ(c[1] != nullptr, ReadRegDefault(hKey, szBuffer, 8)) << "whether it was read";
        EXPECT_EQ(c[1] ? c[1] : "", std::string(szBuffer)) << "the text read";
        EXPECT_EQ(c[2] != nullptr, ReadRegText(hKey, szBuffer, 8)) << "whether a text was read";
        EXPECT_EQ(c[2] ? c[2] : "", std::string(szBuffer)) << "the text to show";
        EXPECT_EQ("~~~", std::string(szBuffer + 8)) << "the bytes after the capacity";
        CloseRegKey(hKey);
    }
    DeleteTestKeys();
}

}  // namespace
