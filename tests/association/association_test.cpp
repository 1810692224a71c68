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

// The extensions to be registered, and texts (null: as loaded).
struct Edit
{
    uint32_t registered;
    const char* curMenu = nullptr;
    const char* curCommand = nullptr;
    const char* icoMenu = nullptr;
};

// The .cur entry loaded, where checked; extensions not changed, with their errors; keys after.
struct Outcome
{
    std::string loadedCur = "";
    std::vector<std::pair<std::string, DWORD>> stopped = {};
    std::vector<std::string> after = {};
};

void Check(const std::string& name, const std::vector<std::string>& layout, const Edit& edit,
           const Outcome& outcome)
{
    SCOPED_TRACE(name);
    static AssociationSet loaded;
    static AssociationSet edited;
    DeleteClassesKeys({".cur", ".ico", "qzt.cur", "qzt.none", "shell\\quorzel", "アqz", "ヂqz"});
    for (const std::string& line : layout)
        ASSERT_TRUE(CreateClassesKey(line)) << line;
    memset(&loaded, 'x', sizeof loaded);
    LoadAssociations(&loaded);
    const AssociationEntry& entry = loaded.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    char szDefault[COMMAND_LINE_CAPACITY];
    BuildDefaultCommandLine(szDefault);
    const bool fDefault = IsSameString(entry.commandLine, szDefault);
    if (!outcome.loadedCur.empty())
        EXPECT_EQ(outcome.loadedCur,
                  (loaded.flags & ASSOCIATION_CUR ? "registered, " : "not registered, ") +
                      Shown(entry.menuText) + ", " +
                      (fDefault ? "default command" : Shown(entry.commandLine)) + ", at " +
                      entry.location)
            << "the .cur entry loaded";

    edited = loaded;
    edited.flags = edit.registered;
    AssociationEntry& cur = edited.entries[GROUP_CUR - ASSOCIATION_FIRST_GROUP];
    if (edit.curMenu)
        CopyString(cur.menuText, MENU_TEXT_CAPACITY, edit.curMenu);
    if (edit.curCommand)
        CopyString(cur.commandLine, COMMAND_LINE_CAPACITY, edit.curCommand);
    if (edit.icoMenu)
        CopyString(edited.entries[GROUP_ICO - ASSOCIATION_FIRST_GROUP].menuText, MENU_TEXT_CAPACITY,
                   edit.icoMenu);
    const uint32_t uChanged = GetChangedAssociations(&edited, &loaded);
    DWORD adwErrors[ASSOCIATION_COUNT] = {};
    EXPECT_EQ(outcome.stopped.empty(), ApplyAssociations(&edited, &loaded, uChanged, adwErrors))
        << "whether every change was made";
    std::vector<std::pair<std::string, DWORD>> stopped;
    for (const ExtensionInfo& info : ExtensionTable)
        if (adwErrors[EntryIndex(info)] != ERROR_SUCCESS)
            stopped.emplace_back(info.extension, adwErrors[EntryIndex(info)]);
    EXPECT_EQ(outcome.stopped, stopped) << "the extensions not changed, with their errors";
    for (const std::string& check : outcome.after)
        EXPECT_EQ(check, check.substr(0, check.find('=') + 1) +
                             ReadClassesKey(check.substr(0, check.find('='))));
}

const std::string CUR = ".cur\\shell\\quorzel";
const std::string ICO = ".ico\\shell\\quorzel";
const std::string QZT = "qzt.cur\\shell\\quorzel";
const std::string AT_CUR = ", at HKEY_CLASSES_ROOT\\" + CUR;
const std::string ABSENT = "=<absent>";
const std::string NOT_REGISTERED = "not registered, C++ コードの取得, default command";
const uint32_t BOTH = ASSOCIATION_CUR | ASSOCIATION_ICO;

// Where the verb is; what the user did not change stays: values' types and bytes, other keys.
TEST(Associations, LoadWhereTheVerbIsAndApplyOnlyWhatTheUserChanged)
{
    const std::string TYPE_522 = ".cur=binary:qzt.cur" + std::string(515, '\0');  // 522 bytes
    Check("file type name of 521 bytes; a menu text changed in case only, not its command",
          {TYPE_522, QZT + "=M", QZT + "\\command=binary:C"},
          {.registered = ASSOCIATION_CUR, .curMenu = "m"},
          {.loadedCur = "registered, M, C, at HKEY_CLASSES_ROOT\\" + QZT,
           .after = {QZT + "=m", QZT + "\\command=binary:C"}});
    // The extension key holds the verb where its value names no file type key: one of 522 bytes,
    // one that fills them without its terminator, a missing one, and an empty one (not the root).
    for (const std::string& line : {TYPE_522 + '\0', TYPE_522.substr(0, 533) + 'x',
                                    std::string(".cur=qzt.none"), std::string(".cur=")})
        Check(Shown(line), {line, QZT + "\\command=C"}, {.registered = 0},
              {.loadedCur = NOT_REGISTERED + AT_CUR});
    Check("verb without command: the defaults, and both written; .ico's removal keeps shell and a "
          "verb that holds another key",
          {CUR + "=Old", ICO + "=M", ICO + "\\command=C", ICO + "\\extra"},
          {.registered = ASSOCIATION_CUR, .curCommand = "D"},
          {.loadedCur = NOT_REGISTERED + AT_CUR,
           .after = {CUR + "=" + DEFAULT_MENU_TEXT, CUR + "\\command=D", ICO + "=M",
                     ICO + "\\command" + ABSENT}});
    Check("command without a value; nothing changed", {CUR + "=M", CUR + "\\command"},
          {.registered = ASSOCIATION_CUR}, {.loadedCur = "registered, M, " + AT_CUR});
    Check("values too long for their fields load cut between characters",
          {CUR + "=binary:" + std::string(32800, '\x95'),
           CUR + "\\command=" + std::string(1100, 'c')},
          {.registered = ASSOCIATION_CUR},
          {.loadedCur = "registered, \x95\x95\x95\x95... (32766), cccc... (1024)" + AT_CUR});
    Check("a non-string menu text that ends in half a character; an expandable command",
          {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=expand:%P%\\q"},
          {.registered = ASSOCIATION_CUR, .curCommand = "%P%\\q /clip"},
          {.loadedCur = "registered, \x95\x5C\x95, %P%\\q" + AT_CUR,
           .after = {CUR + "=binary:\x95\x5C\x95", CUR + "\\command=expand:%P%\\q /clip"}});
}

// A shared file type keeps its verb while either extension is registered; .cur's texts win.
TEST(Associations, ShareAFileTypeWhereTheirNamesOpenOneKey)
{
    const std::vector<std::string> SHARED = {".cur=qzt.cur", ".ico=qzt.cur\\", QZT + "=M",
                                             QZT + "\\command=C"};
    Check("shared, as the registry ignores a trailing backslash: .ico cleared", SHARED,
          {.registered = ASSOCIATION_CUR}, {.after = {QZT + "=M", QZT + "\\command=C"}});
    Check("shared, both cleared", SHARED, {.registered = 0},
          {.after = {QZT + ABSENT, QZT + "\\command" + ABSENT}});
    Check("shared, both menu texts edited", SHARED,
          {.registered = BOTH, .curMenu = "N", .icoMenu = "I"}, {.after = {QZT + "=N"}});
    // ア and ヂ (83 41, 83 61) differ only where a letter would differ in case.
    Check("not shared, though the names differ only in a trail byte 0x41 or 0x61",
          {".cur=アqz", ".ico=ヂqz", "アqz\\shell\\quorzel\\command=C",
           "ヂqz\\shell\\quorzel\\command=C"},
          {.registered = ASSOCIATION_ICO},
          {.after = {"アqz\\shell\\quorzel\\command" + ABSENT, "ヂqz\\shell\\quorzel\\command=C"}});
}

// A change that cannot be made stops all before anything is written, or undoes what was written.
TEST(Associations, ApplyAllOrNothingAndNeedOnlyTheAccessTheyUse)
{
    Check(
        "a file type that the user may only read; .ico cleared meanwhile",
        {".cur=qzt.cur", QZT + "=M", QZT + "\\command=C", "read-only qzt.cur", ICO + "\\command=C"},
        {.registered = ASSOCIATION_CUR, .curMenu = "N"},
        {.stopped = {{".cur", ERROR_ACCESS_DENIED}}, .after = {QZT + "=M", ICO + "\\command=C"}});
    Check("no .cur key: nothing made; .ico cleared, its command holding a key no one may delete",
          {ICO + "=I", ICO + "\\command=C", ICO + "\\command\\key"},
          {.registered = ASSOCIATION_CUR},
          {.loadedCur = NOT_REGISTERED + ", at ",
           .stopped = {{".ico", ERROR_DIR_NOT_EMPTY}, {".cur", ERROR_FILE_NOT_FOUND}},
           .after = {ICO + "\\command=C", CUR + ABSENT}});
    // A volatile verb takes no lasting command: .cur's menu text is written back, and .ico's verb,
    // to go only once the writes are made, keeps a value that a deleted key would lose.
    Check(
        "a command that cannot be made once the menu text is written; .ico cleared meanwhile",
        {ICO + "=I", ICO + "@Icon=i", ICO + "\\command=C", "volatile " + CUR, CUR + "=M"},
        {.registered = ASSOCIATION_CUR},
        {.stopped = {{".cur", ERROR_CHILD_MUST_BE_VOLATILE}},
         .after = {ICO + "@Icon=i", ICO + "\\command=C", CUR + "=M", CUR + "\\command" + ABSENT}});
    Check("each text edited alone: .ico's menu, its command read-only; .cur's command, the keys "
          "above it read-only",
          {ICO + "=I", ICO + "\\command=C", "read-only " + ICO + "\\command", CUR + "=M",
           CUR + "\\command=C", "read-only .cur", "writable " + CUR + "\\command"},
          {.registered = BOTH, .curCommand = "D", .icoMenu = "J"},
          {.after = {ICO + "=J", CUR + "\\command=D"}});
}

// A value that fills 8 bytes with its terminator is read whole, and not a byte after them written.
TEST(ReadRegDefault, StaysWithinItsCapacity)
{
    DeleteClassesKeys({"qzt.value"});
    HKEY hKey;
    ASSERT_TRUE(CreateClassesKey("qzt.value=abcdefg") &&
                OpenRegKey(HKEY_CLASSES_ROOT, "qzt.value", KEY_READ, &hKey));
    char szBuffer[] = "########~~~";
    EXPECT_TRUE(ReadRegDefault(hKey, szBuffer, 8)) << "whether it was read";
    EXPECT_EQ("abcdefg|~~~", std::string(szBuffer) + "|" + (szBuffer + 8))
        << "the text read, and the bytes after the capacity";
    CloseRegKey(hKey);
}

}  // namespace
