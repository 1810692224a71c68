// Hostile input end to end: one run of quorzel.exe on 300 arguments of every kind, paths at the
// limits of its file list among them; names in code page 932.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

// Good cursors (some with an old .cpp, some named twice), cuts of them, icons, missing names,
// folders and option words, in this cycle after the first seven arguments.
enum Kind
{
    GOOD,
    REPLACED,
    TWICE,
    CUT,
    ICON,
    MISSING,
    FOLDER,
    OPTION,
    TOO_LONG
};
const Kind CYCLE[] = {GOOD,  CUT, REPLACED, ICON, CUT,    MISSING,
                      TWICE, CUT, FOLDER,   GOOD, OPTION, ICON};

// The same sequence of numbers below nRange on every run.
size_t Random(size_t nRange)
{
    static unsigned s_nSeed = 12345;
    s_nSeed = s_nSeed * 1103515245u + 12345u;
    return s_nSeed / 65536 % nRange;
}

// A name below the folder that makes a path of nPathBytes - 1 bytes: the name, as many pieces as
// fit, 'x' up to the length, and the tail.
std::string PathName(const std::string& folder, std::string name, const std::string& piece,
                     size_t nPathBytes, const std::string& tail)
{
    while (folder.size() + name.size() + piece.size() + tail.size() < nPathBytes)
        name += piece;
    return name + std::string(nPathBytes - 1 - folder.size() - name.size() - tail.size(), 'x') +
           tail;
}

// The arguments are relative to the current folder (not the desktop, as the shell alone takes
// them). The first seven are paths of 259 bytes (the shell's 260 UTF-16 units) and one of 260
// that is dropped; double-byte ones of 259 bytes (the most that the shell's ANSI path is sure to
// hold) lie in a folder, since a Unix name holds 85 such characters at most. 0x95 0x5C and 0x83
// 0x7C are characters whose second byte is a backslash and a bar. Names have dots and blanks.
TEST(Hostile, ThreeHundredArgumentsConvertExactlyTheGoodCursors)
{
    const std::string folder = FreshFolder("quorzel.v1 hostile");
    const std::string level =
        PathName(folder, "", "\x95\x5C", folder.size() + 70, ".\x83\x7C d") + "\\";
    const std::string PATHS[] = {PathName(folder, "", "n", 259, ".cur"),
                                 PathName(folder, level, "\x95\x5C", 259, ".cur"),
                                 PathName(folder, level, "\x95\x5C", 259, ".\x83\x7C"),
                                 PathName(folder, level, "\x83\x7C.", 259, ".cur"),
                                 "a.b.c..cur",
                                 "x.y z.cur",
                                 PathName(folder, "", "l", 260, ".cur")};
    std::vector<std::string> arguments = {std::string(1100, 'x')};  // longer than a trace line
    Folder before = {{level.substr(0, level.size() - 1), DIRECTORY}};
    Folder expected;
    Folder trashed;                            // the texts that the new ones replace
    std::map<std::string, std::string> texts;  // of the good inputs
    for (unsigned i = 0; arguments.size() < 300; ++i)
    {
        const std::vector<uint8_t> bytes =
            MakeCursorFile(8 + Random(60), 1 + Random(64), Random(8), Random(8));
        const std::string file(bytes.begin(), bytes.end());
        const std::string text = ConvertCursorBytes(bytes);
        Kind kind = CYCLE[i % (sizeof CYCLE / sizeof CYCLE[0])];
        if (i < 7)
            kind = i < 6 ? GOOD : TOO_LONG;
        const std::string name = i < 7 ? PATHS[i] : "k." + std::to_string(i) + " .cur";
        const std::string cpp = name.substr(0, name.rfind('.')) + ".cpp";
        const std::string option = i / 12 % 2 ? "/CLIP" : "/file";
        arguments.insert(arguments.end(), kind == TWICE ? 2 : 1, kind == OPTION ? option : name);
        if (kind == REPLACED)
        {
            before[cpp] = "// old " + name;
            trashed[cpp] = before[cpp];
        }
        if (kind == TWICE)
            trashed[cpp] = text;  // the first new one, replaced by the second
        if (kind == GOOD || kind == REPLACED || kind == TWICE)
        {
            expected[cpp] = text;
            texts[name] = text;
        }
        if (kind == GOOD || kind == REPLACED || kind == TWICE || kind == TOO_LONG)
            before[name] = file;
        if (kind == CUT)
            before[name] = file.substr(0, Random(file.size()));
        if (kind == ICON)
            before[name] = file.substr(0, OFFSET_TYPE) + '\1' + file.substr(OFFSET_TYPE + 1);
        if (kind == FOLDER)
            before[name] = DIRECTORY;
    }
    ASSERT_TRUE(MakeFolder(folder, before));
    ASSERT_TRUE(EmptyTheClipboard());
    expected.insert(before.begin(), before.end());  // every other file as it was

    // The arguments shuffled; each traced first, in a line of 1023 bytes at most. The last good
    // input's text stays on the clipboard.
    std::string commandLine = "\"" + WindowsPath(QUORZEL_EXE) + "\"";
    std::string trace = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n";
    std::string clipboard = NO_TEXT;
    for (size_t n = 1; n <= arguments.size(); ++n)
    {
        const size_t i = arguments.size() - n;  // the arguments at i and after are not drawn yet
        std::swap(arguments[i], arguments[Random(i + 1)]);
        const std::string& argument = arguments[i];
        commandLine += " \"" + argument + "\"";
        trace += ((n < 10 ? "argv[ " : "argv[") + std::to_string(n) + "]=" + argument + "\r\n")
                     .substr(0, 1023);
        if (texts.count(argument))
            clipboard = texts[argument];
    }
    // Ten minutes: the heap check slows the run.
    const RunResult result = RunUnderDebugger(commandLine, folder, 600000);
    EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
    EXPECT_EQ(trace, result.debugText);
    EXPECT_EQ(clipboard, ClipboardText());
    EXPECT_EQ(Listing(expected), Listing(ListFolder(folder)));
    EXPECT_EQ(Listing(trashed), Listing(ListFolder(TrashFolder() + "\\files")))
        << "the recycle bin";
}

}  // namespace
