// End-to-end conversion: the built quorzel.exe run under a debugger on cursor
// files in a fresh folder. The files, clipboard, recycle bin and trace it
// leaves must carry exactly the text that the core makes of each input.
#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

typedef std::vector<std::string> Texts;
std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
const std::string ARROW_FILE = AsText(MakeCursorFile(32, 32, 3, 1)), SMALL_FILE = AsText(MakeCursorFile(16, 16, 15, 7));
const std::string ARROW = ConvertCursorBytes(MakeCursorFile(32, 32, 3, 1));
const std::string SMALL = ConvertCursorBytes(MakeCursorFile(16, 16, 15, 7));
const char OLD_TEXT[] = "// the old arrow.cpp\r\n";

// A text in a failure message: its size and a hash, not all of it.
std::string Brief(const std::string& text)
{
    return text == NO_TEXT ? text : std::to_string(text.size()) + " bytes #" + std::to_string(std::hash<std::string>()(text));
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

class Conversion : public testing::Test
{
protected:
    std::string m_folder;  // fresh for each test; the dot in its name is no extension

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, szTemp));
        m_folder = szTemp + std::string("quorzel.") + testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree(m_folder);
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr)) << m_folder;
        ASSERT_NE(0u, GetEnvironmentVariableA("XDG_DATA_HOME", nullptr, 0)) << "run through scripts/wine-run";
        RemoveTree(TrashFolder());
        ASSERT_TRUE(EmptyTheClipboard());
    }

    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }
    void Write(const std::string& name, const std::string& text) { ASSERT_TRUE(WriteFileText(Path(name), text)) << name; }

    // Runs the program; a hang, a crash or an exit code other than 0 fails the test.
    RunResult Run(const std::string& arguments, const std::string& folder = "")
    {
        const RunResult result = RunUnderDebugger(Quoted(WindowsPath(QUORZEL_EXE)) + " " + arguments, Path(folder));
        EXPECT_TRUE(result.fExited) << "quorzel " << arguments << " did not end by itself";
        EXPECT_EQ(0u, result.dwExitCode) << "exit code of quorzel " << arguments;
        return result;
    }
};

// Which options are words of any case anywhere on the line: see ParseOptions.
TEST_F(Conversion, OptionsChooseTheOutputs)
{
    const struct { const char* pszOptions; bool fFile, fClipboard; } CASES[] = {
        {"", true, false}, {"/file", true, false}, {"/CLIP", false, true}, {"/file /clip", true, true}};
    Write("arrow.cur", ARROW_FILE);
    for (const auto& c : CASES)
    {
        DeleteFileA(Path("arrow.cpp").c_str());
        ASSERT_TRUE(EmptyTheClipboard());
        Run(Quoted(Path("arrow.cur")) + " " + c.pszOptions);
        EXPECT_EQ(Brief(c.fFile ? ARROW : NO_TEXT), Brief(FileText(Path("arrow.cpp")))) << c.pszOptions;
        EXPECT_EQ(Brief(c.fClipboard ? ARROW : NO_TEXT), Brief(ClipboardText())) << c.pszOptions;
    }
}

// Relative names are taken in the current folder (the shell alone would take
// them on the desktop). 0x95 0x5C is a double-byte character whose trail byte
// is a backslash; quoted, it stands before the closing quote.
TEST_F(Conversion, EachArgumentIsTracedFirstAndEachInputConvertedInOrder)
{
    ASSERT_TRUE(CreateDirectoryA(Path("folder.cur").c_str(), nullptr));
    Write("icon.cur", ARROW_FILE.substr(0, OFFSET_TYPE) + '\1' + ARROW_FILE.substr(OFFSET_TYPE + 1));
    Write("empty.cur", "");
    for (const char* pszRefused : {"folder", "missing", "icon", "empty"})
        Write(pszRefused + std::string(".cpp"), "keep");
    Write("arrow.cur", ARROW_FILE);
    Write("\x95\x5C", ARROW_FILE);
    Write("small.cur", SMALL_FILE);
    const Texts ARGUMENTS = {"/clip", "folder.cur", "missing.cur", "icon.cur", "empty.cur", "arrow.cur",
                             Path("\x95\x5C"), "small.cur", "/File", "x y", "small.cur"};
    std::string line, expected = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n";
    for (size_t i = 0; i < ARGUMENTS.size(); ++i)
    {
        line += " " + Quoted(ARGUMENTS[i]);
        expected += (i < 9 ? "argv[ " : "argv[") + std::to_string(i + 1) + "]=" + ARGUMENTS[i] + "\r\n";
    }
    EXPECT_EQ(expected, Run(line).debugText);
    for (const char* pszRefused : {"folder", "missing", "icon", "empty"})
        EXPECT_EQ("keep", FileText(Path(pszRefused + std::string(".cpp")))) << pszRefused;
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("arrow.cpp"))));
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("\x95\x5C.cpp"))));
    EXPECT_EQ(Brief(SMALL), Brief(FileText(Path("small.cpp"))));
    EXPECT_EQ(Brief(SMALL), Brief(ClipboardText())) << "the last input's text stays on the clipboard";
    EXPECT_EQ(Texts{SMALL}, TrashedTexts()) << "small.cur, named twice, is converted twice";
}

TEST_F(Conversion, OldOutputGoesToTheRecycleBinWhenItCan)
{
    // A file open without FILE_SHARE_DELETE can be neither moved to the
    // recycle bin nor deleted, yet could still be opened for writing.
    enum Standing { OLD_FILE, HELD_FILE, FOLDER };
    for (Standing standing : {OLD_FILE, HELD_FILE, FOLDER})
    {
        SCOPED_TRACE(standing == OLD_FILE ? "old arrow.cpp" : standing == HELD_FILE ? "held open" : "a folder");
        const std::string folder = std::to_string(standing), output = Path(folder + "\\arrow.cpp");
        ASSERT_TRUE(CreateDirectoryA(Path(folder).c_str(), nullptr) && EmptyTheClipboard());
        RemoveTree(TrashFolder());
        Write(folder + "\\arrow.cur", ARROW_FILE);
        ASSERT_TRUE(standing == FOLDER ? CreateDirectoryA(output.c_str(), nullptr) : WriteFileText(output, OLD_TEXT));
        HANDLE hOld = standing != HELD_FILE ? nullptr : CreateFileA(output.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hOld);
        Run("/file /clip arrow.cur", folder);
        if (hOld)
            CloseHandle(hOld);
        EXPECT_EQ(Brief(standing == OLD_FILE ? ARROW : standing == HELD_FILE ? OLD_TEXT : NO_TEXT),
                  Brief(FileText(output)));
        EXPECT_TRUE(standing != FOLDER || RemoveDirectoryA(output.c_str())) << "arrow.cpp is no empty folder now";
        EXPECT_EQ(Brief(ARROW), Brief(ClipboardText())) << "the clipboard is set whatever the file does";
        EXPECT_EQ(standing == OLD_FILE ? Texts{OLD_TEXT} : Texts{}, TrashedTexts());
    }
}

TEST_F(Conversion, ClipboardHeldByAnotherProgramIsTracedAndTheFileStillWritten)
{
    // Held through a window: Wine lets two openers without one share it.
    Write("arrow.cur", ARROW_FILE);
    HWND hWindow = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWindow && OpenClipboard(hWindow));
    const RunResult result = Run("/clip /file arrow.cur");
    CloseClipboard();
    DestroyWindow(hWindow);
    EXPECT_NE(std::string::npos, result.debugText.find("..\\..\\TOOLS\\toolsys.cpp(3076) : \x8a\xd6\x90\x94 "
        "OpenClipboard() \x82\xaa false \x82\xf0\x95\xd4\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B \r\n"))
        << result.debugText;
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("arrow.cpp"))));
    EXPECT_EQ(NO_TEXT, ClipboardText());
}

// Called directly: in a run, the open input alone keeps an input named *.cpp in place.
TEST_F(Conversion, OpenOutputFileNeverReplacesTheInputItself)
{
    for (const std::string input : {"self.cpp", "SHOUT.CPP", "plain.cur"})
    {
        const std::string output = input.substr(0, input.size() - 4) + ".cpp";
        const bool fPlain = input == "plain.cur";
        Write(output, OLD_TEXT);
        FILE* pOutput = OpenOutputFile(Path(input).c_str());
        EXPECT_EQ(fPlain, pOutput != nullptr) << input << ": a stream";
        if (pOutput)
            fclose(pOutput);
        EXPECT_EQ(fPlain ? "" : OLD_TEXT, FileText(Path(output))) << input;
        EXPECT_EQ(fPlain ? Texts{OLD_TEXT} : Texts{}, TrashedTexts()) << input;
    }
}

}  // namespace
