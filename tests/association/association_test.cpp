// The association records in the Wine prefix's HKEY_CLASSES_ROOT, which has no .cur or .ico key.
#include <gtest/gtest.h>

#include "TOOLS/toolsys.h"
#include "association/associations.h"
#include "association/regkeys.h"
#include "support/classeskeys.h"

namespace
{

// A text as a failure shows it: a long one by its first bytes and its length.
std::string Shown(const std::string& text)
{
    return text.size() <= 20 ? text
                             : text.substr(0, 4) + "... (" + std::to_string(text.size()) + ")";
}

// Lays the keys out and loads the set, its .cur entry as "registered or not, menu, command, at the
// verb's key". Then an edit of it (the extensions to register, .cur's texts and .ico's menu, null
// as loaded): the extensions changed, those that could not be, and the keys after, as key=value.
void CheckLayout(const std::string& name, const std::vector<std::string>& layout,
                 const std::string& loadedEntry, uint32_t uChanged, uint32_t uFailed,
                 const std::vector<std::string>& after, uint32_t flags,
                 const char* pszMenu = nullptr, const char* pszCommand = nullptr,
                 const char* pszIcoMenu = nullptr)
{
    SCOPED_TRACE(name);
    static AssociationSet loaded;
    static AssociationSet edited;
    DeleteClassesKeys({".cur", ".ico", "qzt.cur", "qzt.none", "shell\\quorzel"});
    for (const std::string& line : layout)
        ASSERT_TRUE(CreateClassesKey(line)) << line;
    memset(&loaded, 'x', sizeof loaded);
    LoadAssociations(&loaded);
    const AssociationEntry& entry = loaded.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    char szDefault[COMMAND_LINE_CAPACITY];
    BuildDefaultCommandLine(szDefault);
    const bool fDefault = IsSameString(entry.commandLine, szDefault);
    EXPECT_EQ(loadedEntry, (loaded.flags & ASSOCIATION_CUR ? "registered, " : "not registered, ") +
                               Shown(entry.menuText) + ", " +
                               (fDefault ? "default command" : Shown(entry.commandLine)) + ", at " +
                               entry.location)
        << "the .cur entry loaded";

    edited = loaded;
    edited.flags = flags;
    AssociationEntry& cur = edited.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    if (pszMenu)
        CopyString(cur.menuText, MENU_TEXT_CAPACITY, pszMenu);
    if (pszCommand)
        CopyString(cur.commandLine, COMMAND_LINE_CAPACITY, pszCommand);
    if (pszIcoMenu)
        CopyString(edited.entries[GROUP_ICO - ASSOCIATION_FIRST_GROUP].menuText, MENU_TEXT_CAPACITY,
                   pszIcoMenu);
    EXPECT_EQ(uChanged, GetChangedAssociations(&edited, &loaded)) << "the extensions changed";
    uint32_t uNotChanged = 0xBAD;
    EXPECT_EQ(uFailed == 0, ApplyAssociations(&edited, &loaded, uChanged, &uNotChanged));
    EXPECT_EQ(uFailed, uNotChanged) << "the extensions that could not be changed";
    for (const std::string& check : after)
        EXPECT_EQ(check, check.substr(0, check.find('=') + 1) +
                             ReadClassesKey(check.substr(0, check.find('='))));
}

const std::string CUR = ".cur\\shell\\quorzel";
const std::string QZT = "qzt.cur\\shell\\quorzel";
const std::string AT_CUR = ", at HKEY_CLASSES_ROOT\\" + CUR;
const std::string AT_QZT = ", at HKEY_CLASSES_ROOT\\" + QZT;
const std::string ABSENT = "=<absent>";
const std::string NOT_REGISTERED = "not registered, C++ コードの取得, default command";
const uint32_t CUR_ONLY = ASSOCIATION_CUR;
const uint32_t ICO_ONLY = ASSOCIATION_ICO;
const uint32_t BOTH = ASSOCIATION_CUR | ASSOCIATION_ICO;

// Where the verb is; and what the user did not change stays: its values' types and bytes, a verb
// that two extensions share, values too long for their fields, a file type one may only read.
TEST(Associations, LayoutsLoadAndApplyWhatTheUserChanged)
{
    const std::string TYPE_522 = ".cur=binary:qzt.cur" + std::string(515, '\0');  // 522 bytes
    CheckLayout("file type name of 521 bytes; a menu text changed in case only, not its command",
                {TYPE_522, QZT + "=M", QZT + "\\command=binary:C"}, "registered, M, C" + AT_QZT,
                CUR_ONLY, 0, {QZT + "=m", QZT + "\\command=binary:C"}, CUR_ONLY, "m");
    // The extension key holds the verb where its value names no file type key: one of 522 bytes,
    // one that fills them without its terminator, a missing one, and an empty one (not the root).
    for (const std::string& line : {TYPE_522 + '\0', TYPE_522.substr(0, 533) + 'x',
                                    std::string(".cur=qzt.none"), std::string(".cur=")})
        CheckLayout(Shown(line), {line, QZT + "\\command=C"}, NOT_REGISTERED + AT_CUR, 0, 0, {}, 0);
    CheckLayout("verb without command: the defaults; confirming writes both", {CUR + "=Old"},
                NOT_REGISTERED + AT_CUR, CUR_ONLY, 0,
                {CUR + "=" + DEFAULT_MENU_TEXT, CUR + "\\command=D"}, CUR_ONLY, nullptr, "D");
    CheckLayout("command without a value; nothing changed", {CUR + "=M", CUR + "\\command"},
                "registered, M, " + AT_CUR, 0, 0, {}, CUR_ONLY);
    CheckLayout("removal keeps shell, and a verb that holds another key",
                {CUR + "=M", CUR + "\\command=C", CUR + "\\extra"}, "registered, M, C" + AT_CUR,
                CUR_ONLY, 0, {CUR + "=M", CUR + "\\command" + ABSENT}, 0);
    CheckLayout("no extension key: a failure, and nothing made", {}, NOT_REGISTERED + ", at ",
                CUR_ONLY, CUR_ONLY, {CUR + "\\command" + ABSENT}, CUR_ONLY);
    CheckLayout("file types of their own: .cur cleared, .ico kept",
                {CUR + "\\command=C", ".ico\\shell\\quorzel\\command=C"},
                "registered, , C" + AT_CUR, CUR_ONLY, 0, {CUR + "\\command" + ABSENT}, ICO_ONLY);
    const std::vector<std::string> SHARED = {".cur=qzt.cur", ".ico=qzt.cur", QZT + "=M",
                                             QZT + "\\command=C"};
    CheckLayout("a shared file type, .ico cleared", SHARED, "registered, M, C" + AT_QZT, ICO_ONLY,
                0, {QZT + "=M", QZT + "\\command=C"}, CUR_ONLY);
    CheckLayout("a shared file type, both menu texts edited: .cur's written last", SHARED,
                "registered, M, C" + AT_QZT, BOTH, 0, {QZT + "=N"}, BOTH, "N", nullptr, "I");
    const std::string LONG_MENU(32800, '\x95');  // 16,400 double-byte characters
    CheckLayout("values too long for their fields load cut between characters",
                {CUR + "=binary:" + LONG_MENU, CUR + "\\command=" + std::string(1100, 'c')},
                "registered, \x95\x95\x95\x95... (32766), cccc... (1024)" + AT_CUR, 0, 0, {},
                CUR_ONLY);
    CheckLayout("a non-string menu text that ends in half a character; an expandable command",
                {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=expand:%P%\\q"},
                "registered, \x95\x5C\x95, %P%\\q" + AT_CUR, CUR_ONLY, 0,
                {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=expand:%P%\\q /clip"}, CUR_ONLY,
                nullptr, "%P%\\q /clip");
    CheckLayout("a file type that the user may only read: seen as it is, not changed",
                {".cur=qzt.cur", QZT + "=M", QZT + "\\command=C", "read-only qzt.cur"},
                "registered, M, C" + AT_QZT, CUR_ONLY, CUR_ONLY, {QZT + "=M"}, CUR_ONLY, "N");
}

// A value read into 8 bytes: the text, or null where it does not fit; the bytes after them stay.
TEST(ReadRegDefault, StaysWithinItsCapacity)
{
    const char* const CASES[][2] = {
        {"qzt.value=abcdefg", "abcdefg"}, {"qzt.value=abcdefgh", nullptr}, {"qzt.value", nullptr}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c[0]);
        DeleteClassesKeys({"qzt.value"});
        HKEY hKey;
        ASSERT_TRUE(CreateClassesKey(c[0]) &&
                    OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", KEY_READ, &hKey));
        char szBuffer[] = "########~~~";
        EXPECT_EQ(c[1] != nullptr, ReadRegDefault(hKey, szBuffer, 8)) << "whether it was read";
        EXPECT_EQ(c[1] ? c[1] : "", std::string(szBuffer)) << "the text read";
        EXPECT_EQ("~~~", std::string(szBuffer + 8)) << "the bytes after the capacity";
        CloseRegKey(hKey);
    }
}

}  // namespace
