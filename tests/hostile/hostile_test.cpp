// Hostile input end to end: one run of quorzel.exe on 300 arguments of every
// kind, paths at the limits of the file list among them; names in code page 932.
#include <windows.h>

#include <fstream>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

typedef std::map<std::string, std::string> Folder;  // path relative to the folder -> bytes, or DIRECTORY
const char DIRECTORY[] = "<dir>";

// Every file and folder under the folder, a folder before what it holds.
Folder Snapshot(const std::string& folder, const std::string& prefix = "")
{
    Folder files = prefix.empty() ? Folder() : Folder{{prefix.substr(0, prefix.size() - 1), DIRECTORY}};
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\" + prefix + "*").c_str(), &found);
    for (BOOL fMore = hFind != INVALID_HANDLE_VALUE; fMore; fMore = FindNextFileA(hFind, &found))
    {
        const std::string name = prefix + found.cFileName;  // none planted starts with a dot, as "." and ".." do
        for (const auto& file : found.cFileName[0] == '.' ? Folder() : found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY
                                ? Snapshot(folder, name + "\\") : Folder{{name, FileText(folder + "\\" + name)}})
            files.insert(file);
    }
    FindClose(hFind);
    return files;
}

// A line a name, with its size and a digest of its bytes: a failure shows as a diff.
std::string Listing(const Folder& files)
{
    std::string listing;
    for (const auto& file : files)
        listing += file.first + ": " + std::to_string(file.second.size()) + " bytes #" +
                   std::to_string(std::hash<std::string>()(file.second)) + "\n";
    return listing;
}

// Good cursors (some with an old .cpp, some named twice), cuts of them, icons,
// missing names, folders, option words and a name longer than a trace line, shuffled
// and relative to the current folder (not the desktop, as the shell alone takes them), with full paths of 259
// characters (the shell's 260 UTF-16 units), one of 260 that is dropped, and
// double-byte ones of 259 bytes (the most the shell's ANSI path is sure to hold)
// in a folder, as a Unix name holds 85 such characters at most; 0x95 0x5C and
// 0x83 0x7C are characters whose second byte is a backslash and a bar.
TEST(Hostile, ThreeHundredArgumentsConvertExactlyTheGoodCursors)
{
    char szTemp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, szTemp));
    const std::string folder = szTemp + std::string("quorzel.v1 hostile");  // dots and a blank
    const Folder old = Snapshot(folder);  // the shell's deletion stops at names of 259 bytes
    for (auto file = old.rbegin(); file != old.rend(); ++file)  // what a folder holds before the folder
        (file->second == DIRECTORY ? RemoveDirectoryA : DeleteFileA)((folder + "\\" + file->first).c_str());
    RemoveDirectoryA(folder.c_str()), RemoveTree(TrashFolder());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && EmptyTheClipboard()) << folder;
    const auto Name = [&](std::string name, const std::string& piece, size_t nPathBytes, const std::string& tail) {
        while (folder.size() + name.size() + piece.size() + tail.size() < nPathBytes)
            name += piece;
        return name + std::string(nPathBytes - 1 - folder.size() - name.size() - tail.size(), 'x') + tail;
    };
    const std::string level = Name("", "\x95\x5C", folder.size() + 70, ".\x83\x7C d") + "\\";
    const std::string PATHS[] = {Name("", "n", 259, ".cur"), Name(level, "\x95\x5C", 259, ".cur"),
                                 Name(level, "\x95\x5C", 259, ".\x83\x7C"), Name(level, "\x83\x7C.", 259, ".cur"),
                                 "a.b.c..cur", "x.y z.cur", Name("", "l", 260, ".cur")};
    std::vector<std::string> arguments = {std::string(1100, 'x')};
    Folder before = {{level.substr(0, level.size() - 1), DIRECTORY}}, expected, trashed;  // trashed: the texts replaced
    std::map<std::string, std::string> texts;  // of the good inputs
    enum Kind { GOOD, REPLACED, TWICE, CUT, ICON, MISSING, FOLDER, OPTION, TOO_LONG };
    const Kind CYCLE[] = {GOOD, CUT, REPLACED, ICON, CUT, MISSING, TWICE, CUT, FOLDER, GOOD, OPTION, ICON};
    unsigned nSeed = 12345;
    const auto Random = [&](size_t nRange) { return (nSeed = nSeed * 1103515245u + 12345u) / 65536 % nRange; };
    for (unsigned i = 0; arguments.size() < 300; ++i)
    {
        const std::vector<uint8_t> bytes = MakeCursorFile(8 + Random(60), 1 + Random(64), Random(8), Random(8));
        const Kind kind = i < 6 ? GOOD : i == 6 ? TOO_LONG : CYCLE[i % (sizeof CYCLE / sizeof CYCLE[0])];
        const std::string file(bytes.begin(), bytes.end()), text = ConvertCursorBytes(bytes);
        const std::string name = i < 7 ? PATHS[i] : "k." + std::to_string(i) + " .cur";
        const std::string cpp = name.substr(0, name.rfind('.')) + ".cpp";
        arguments.insert(arguments.end(), kind == TWICE ? 2 : 1, kind == OPTION ? (i / 12 % 2 ? "/CLIP" : "/file") : name);
        if (kind == REPLACED || kind == TWICE)  // to the recycle bin: the old text; named twice, the first new one
            trashed[cpp] = kind == TWICE ? text : before[cpp] = "// old " + name;
        if (kind <= TWICE)
            expected[cpp] = texts[name] = text;
        if (kind != MISSING && kind != OPTION)
            before[name] = kind == CUT ? file.substr(0, Random(file.size())) : kind == FOLDER ? DIRECTORY
                           : kind == ICON ? file.substr(0, OFFSET_TYPE) + '\1' + file.substr(OFFSET_TYPE + 1) : file;
    }
    // The arguments shuffled; each traced first, in a line of 1023 bytes at most; the last good input's text.
    std::string line, trace = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n", clipboard;
    for (size_t i = arguments.size(), n = 1; i > 0; --i, ++n)
    {
        std::swap(arguments[i - 1], arguments[Random(i)]), line += " \"" + arguments[i - 1] + "\"";
        trace += ((n < 10 ? "argv[ " : "argv[") + std::to_string(n) + "]=" + arguments[i - 1] + "\r\n").substr(0, 1023);
        clipboard = texts.count(arguments[i - 1]) ? texts[arguments[i - 1]] : clipboard;
    }
    for (const auto& file : before)
        ASSERT_TRUE(file.second == DIRECTORY ? CreateDirectoryA((folder + "\\" + file.first).c_str(), nullptr)
                    : bool(std::ofstream(folder + "\\" + file.first, std::ios::binary) << file.second)) << file.first;
    expected.insert(before.begin(), before.end());  // every other file as it was

    // Ten minutes: the heap check slows the run.
    const RunResult result = RunUnderDebugger("\"" + WindowsPath(QUORZEL_EXE) + "\"" + line, folder, 600000);
    EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
    EXPECT_EQ(trace, result.debugText);
    EXPECT_EQ(clipboard, ClipboardText());
    EXPECT_EQ(Listing(expected), Listing(Snapshot(folder)));
    EXPECT_EQ(Listing(trashed), Listing(Snapshot(TrashFolder() + "\\files"))) << "the recycle bin";
}

}  // namespace
