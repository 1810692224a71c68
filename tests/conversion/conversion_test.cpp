// End to end: quorzel.exe run under a debugger on cursor files, with the options and what stands
// in their way, and on arguments at the limits of its file list. The folder, the recycle bin,
// the clipboard and the trace must carry exactly the text the core makes of each input.
#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

const std::vector<uint8_t> ARROW_BYTES = MakeCursorFile(32, 32, 3, 1);
const std::string ARROW_FILE(ARROW_BYTES.begin(), ARROW_BYTES.end());
const std::string ARROW = ConvertCursorBytes(ARROW_BYTES);  // the text of every output
const std::string OLD_TEXT = "// the old arrow.cpp\r\n";
const std::string QUORZEL = "\"" + WindowsPath(QUORZEL_EXE) + "\"";

// What the test holds open while the program runs. A file open without FILE_SHARE_DELETE can be
// neither moved to the recycle bin nor deleted, yet opened for writing. The clipboard is held
// through a window: Wine lets two openers without one share it.
enum Held
{
    HELD_NOTHING,
    HELD_FILE,
    HELD_CLIPBOARD
};

struct ConversionCase
{
    const char* pszCase;
    const char* pszOptions;
    std::string before;  // arrow.cpp before the run: NO_TEXT, a text or DIRECTORY
    Held held;
    std::string after;    // arrow.cpp after it
    std::string trashed;  // arrow.cpp in the recycle bin
    std::string clipboard;
};

// Which words are options: see the command line's own tests. The clipboard comes first.
const ConversionCase CASES[] = {
    {"/CLIP alone", " /CLIP", NO_TEXT, HELD_NOTHING, NO_TEXT, NO_TEXT, ARROW},
    {"no option: the file, the old one to the recycle bin", "", OLD_TEXT, HELD_NOTHING, ARROW,
     OLD_TEXT, NO_TEXT},
    {"an old file held open stays", " /file /clip", OLD_TEXT, HELD_FILE, OLD_TEXT, NO_TEXT, ARROW},
    {"a folder in the way blocks the file alone", " /file /clip", DIRECTORY, HELD_NOTHING,
     DIRECTORY, NO_TEXT, ARROW},
    {"a clipboard held open: traced, the file written", " /clip /file", NO_TEXT, HELD_CLIPBOARD,
     ARROW, NO_TEXT, NO_TEXT},
};

// The files with arrow.cpp as given, or without it for NO_TEXT.
Folder WithArrowCpp(Folder files, const std::string& arrowCpp)
{
    if (arrowCpp != NO_TEXT)
        files["arrow.cpp"] = arrowCpp;
    return files;
}

TEST(Conversion, OptionsChooseTheOutputsWhateverStandsInTheirWay)
{
    HWND hwndHolder =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const ConversionCase& c : CASES)
    {
        SCOPED_TRACE(c.pszCase);
        const std::string folder = FreshFolder("quorzel.conversion");  // its dot is no extension
        const Folder input = {{"arrow.cur", ARROW_FILE}};
        ASSERT_TRUE(MakeFolder(folder, WithArrowCpp(input, c.before)));
        ASSERT_TRUE(EmptyTheClipboard());
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        if (c.held == HELD_FILE)
            hHeld =
                CreateFileA((folder + "\\arrow.cpp").c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_EQ(c.held == HELD_FILE, hHeld != INVALID_HANDLE_VALUE) << "arrow.cpp held open";
        if (c.held == HELD_CLIPBOARD)
            ASSERT_TRUE(OpenClipboard(hwndHolder));
        const RunResult result = RunUnderDebugger(QUORZEL + c.pszOptions + " arrow.cur", folder);
        CloseHandle(hHeld);
        CloseClipboard();
        EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
        EXPECT_EQ(Listing(WithArrowCpp(input, c.after)), Listing(ListFolder(folder)));
        EXPECT_EQ(Listing(WithArrowCpp({}, c.trashed)),
                  Listing(ListFolder(TrashFolder() + "\\files")))
            << "the recycle bin";
        EXPECT_EQ(c.clipboard, ClipboardText());
        const std::string failure =
            "..\\..\\TOOLS\\toolsys.cpp(3076) : 関数 OpenClipboard() が false を返しました。";
        const bool fTraced = result.debugText.find(failure) != std::string::npos;
        EXPECT_EQ(c.held == HELD_CLIPBOARD, fTraced) << "the failure traced, in:\n"
                                                     << result.debugText;
    }
    DestroyWindow(hwndHolder);
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

// Relative names (which the shell alone does not take relative to the desktop); paths of 259
// bytes, the shell's 260 UTF-16 units, and one of 260, dropped; double-byte names of 259 bytes,
// the most that the shell's ANSI path is sure to hold, in a folder (a Unix name holds 85 such
// characters at most), whose second bytes are a backslash (0x95 0x5C) and a bar (0x83 0x7C);
// dots and blanks. A good cursor named twice moves its first text to the recycle bin. A folder,
// a missing name, a cut cursor, an icon and a name longer than a trace line are passed over.
TEST(Conversion, ArgumentsAtTheLimitsOfTheFileList)
{
    const std::string folder = FreshFolder("quorzel.v1 limits");
    const std::string level =
        PathName(folder, "", "\x95\x5C", folder.size() + 70, ".\x83\x7C d") + "\\";
    const std::string GOOD[] = {PathName(folder, "", "n", 259, ".cur"),
                                PathName(folder, level, "\x95\x5C", 259, ".cur"),
                                PathName(folder, level, "\x95\x5C", 259, ".\x83\x7C"),
                                PathName(folder, level, "\x83\x7C.", 259, ".cur"),
                                "x.y z.cur",
                                "a.b.c..cur"};
    Folder before = {{level.substr(0, level.size() - 1), DIRECTORY},
                     {"folder.cur", DIRECTORY},
                     {"cut.cur", ARROW_FILE.substr(0, 100)},
                     {"icon.cur", ARROW_FILE},
                     {PathName(folder, "", "l", 260, ".cur"), ARROW_FILE}};
    before["icon.cur"][OFFSET_TYPE] = 1;
    std::vector<std::string> arguments = {"missing.cur", std::string(1100, 'x')};
    for (const auto& file : before)
        arguments.push_back(file.first);
    Folder after = before;
    for (unsigned i = 0; i < 6; ++i)
    {
        const std::vector<uint8_t> bytes = MakeCursorFile(9 + i, 2 + i);
        before[GOOD[i]] = std::string(bytes.begin(), bytes.end());
        after[GOOD[i]] = before[GOOD[i]];
        after[GOOD[i].substr(0, GOOD[i].rfind('.')) + ".cpp"] = ConvertCursorBytes(bytes);
        arguments.push_back(GOOD[i]);
    }
    arguments.push_back(GOOD[5]);
    ASSERT_TRUE(MakeFolder(folder, before));
    std::string commandLine = QUORZEL;
    std::string trace = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n";
    for (size_t n = 1; n <= arguments.size(); ++n)
    {
        commandLine += " \"" + arguments[n - 1] + "\"";
        trace +=
            ((n < 10 ? "argv[ " : "argv[") + std::to_string(n) + "]=" + arguments[n - 1] + "\r\n")
                .substr(0, 1023);
    }
    const RunResult result = RunUnderDebugger(commandLine, folder);
    EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
    EXPECT_EQ(trace, result.debugText);
    EXPECT_EQ(Listing(after), Listing(ListFolder(folder)));
    EXPECT_EQ(Listing({{"a.b.c..cpp", after["a.b.c..cpp"]}}),
              Listing(ListFolder(TrashFolder() + "\\files")))
        << "the recycle bin";
}

// Called directly: in a run, the open input alone keeps an input named *.cpp in place.
TEST(Conversion, OpenOutputFileNeverReplacesTheInputItself)
{
    for (const std::string input : {"self.cpp", "SHOUT.CPP"})
    {
        const std::string folder = FreshFolder("quorzel.self");
        ASSERT_TRUE(MakeFolder(folder, {{input, OLD_TEXT}}));
        FILE* pFile = OpenOutputFile((folder + "\\" + input).c_str());
        EXPECT_EQ(nullptr, pFile) << input << " opened for writing";
        if (pFile)
            fclose(pFile);
        EXPECT_EQ(Listing({{input, OLD_TEXT}}), Listing(ListFolder(folder)));
        EXPECT_EQ("", Listing(ListFolder(TrashFolder() + "\\files"))) << "the recycle bin";
    }
}

}  // namespace
