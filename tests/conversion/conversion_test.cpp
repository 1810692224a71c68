// End-to-end conversion: the built quorzel.exe run under a debugger on cursor
// files in a fresh folder. The files, clipboard, recycle bin and trace it
// leaves must carry exactly the text that the core makes of each input.
#include <windows.h>

#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

const std::vector<uint8_t> ARROW_BYTES = MakeCursorFile(32, 32, 3, 1), SMALL_BYTES = MakeCursorFile(16, 16, 15, 7);
const std::string ARROW_FILE(ARROW_BYTES.begin(), ARROW_BYTES.end()), SMALL_FILE(SMALL_BYTES.begin(), SMALL_BYTES.end());
const std::string ARROW = ConvertCursorBytes(ARROW_BYTES), SMALL = ConvertCursorBytes(SMALL_BYTES);  // their texts
const char OLD_TEXT[] = "// the old arrow.cpp\r\n";

// A text in a failure message: its size and a hash, not all of it.
std::string Brief(const std::string& text)
{
    return text == NO_TEXT ? text : std::to_string(text.size()) + " bytes #" + std::to_string(std::hash<std::string>()(text));
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Trashed(const std::string& name) { return FileText(TrashFolder() + "\\files\\" + name); }

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
        RemoveTree(TrashFolder());
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr) && EmptyTheClipboard()) << m_folder;
    }

    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }
    void Write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE((std::ofstream(Path(name), std::ios::binary) << text).good()) << name;
    }

    // Runs the program; a hang, a crash or an exit code other than 0 fails the test.
    RunResult Run(const std::string& arguments, const std::string& folder = "")
    {
        const RunResult result = RunUnderDebugger(Quoted(WindowsPath(QUORZEL_EXE)) + arguments, Path(folder));
        EXPECT_TRUE(result.fExited) << "quorzel" << arguments << " did not end by itself";
        EXPECT_EQ(0u, result.dwExitCode) << "exit code of quorzel" << arguments;
        return result;
    }
};

// Which words are options: see ParseOptions.
TEST_F(Conversion, OptionsChooseTheOutputs)
{
    const struct { const char* pszOptions; bool fFile, fClipboard; } CASES[] = {
        {"", true, false}, {" /file", true, false}, {" /CLIP", false, true}, {" /clip /file", true, true}};
    Write("arrow.cur", ARROW_FILE);
    for (const auto& c : CASES)
    {
        DeleteFileA(Path("arrow.cpp").c_str());
        ASSERT_TRUE(EmptyTheClipboard());
        Run(" arrow.cur" + std::string(c.pszOptions));
        EXPECT_EQ(Brief(c.fFile ? ARROW : NO_TEXT), Brief(FileText(Path("arrow.cpp")))) << c.pszOptions;
        EXPECT_EQ(Brief(c.fClipboard ? ARROW : NO_TEXT), Brief(ClipboardText())) << c.pszOptions;
    }
}

// Relative names are taken in the current folder (the shell alone would take
// them on the desktop). 0x95 0x5C is a double-byte character whose trail byte
// is a backslash; quoted, it stands before the closing quote. A trace line is
// cut to 1023 bytes.
TEST_F(Conversion, EachArgumentIsTracedFirstAndEachInputConvertedInOrder)
{
    const char* const REFUSED[] = {"folder", "missing", "icon", "empty"};
    ASSERT_TRUE(CreateDirectoryA(Path("folder.cur").c_str(), nullptr));
    Write("icon.cur", ARROW_FILE.substr(0, OFFSET_TYPE) + '\1' + ARROW_FILE.substr(OFFSET_TYPE + 1));
    Write("empty.cur", "");
    Write("arrow.cur", ARROW_FILE);
    Write("\x95\x5C", ARROW_FILE);
    Write("small.cur", SMALL_FILE);
    const std::vector<std::string> ARGUMENTS = {"/clip", "folder.cur", "missing.cur", "icon.cur", "empty.cur",
        "arrow.cur", Path("\x95\x5C"), "small.cur", "/File", "x y", "small.cur", std::string(1100, 'x')};
    std::string line, expected = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n";
    for (size_t i = 0; i < ARGUMENTS.size(); ++i)
    {
        line += " " + Quoted(ARGUMENTS[i]);
        expected += ((i < 9 ? "argv[ " : "argv[") + std::to_string(i + 1) + "]=" + ARGUMENTS[i] + "\r\n").substr(0, 1023);
    }
    EXPECT_EQ(expected, Run(line).debugText);
    for (const char* pszRefused : REFUSED)
        EXPECT_EQ(NO_TEXT, FileText(Path(pszRefused + std::string(".cpp")))) << pszRefused;
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("arrow.cpp"))));
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("\x95\x5C.cpp"))));
    EXPECT_EQ(Brief(SMALL), Brief(FileText(Path("small.cpp"))));
    EXPECT_EQ(Brief(SMALL), Brief(ClipboardText())) << "the last input's text stays on the clipboard";
    EXPECT_EQ(Brief(SMALL), Brief(Trashed("small.cpp"))) << "small.cur, named twice, is converted twice";
}

// The clipboard comes first: the file's fate does not change it.
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
        if (standing == FOLDER)
            ASSERT_TRUE(CreateDirectoryA(output.c_str(), nullptr));
        else
            Write(folder + "\\arrow.cpp", OLD_TEXT);
        HANDLE hOld = standing != HELD_FILE ? nullptr : CreateFileA(output.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hOld);
        Run(" /file /clip arrow.cur", folder);
        if (hOld)
            CloseHandle(hOld);
        EXPECT_EQ(Brief(standing == OLD_FILE ? ARROW : standing == HELD_FILE ? OLD_TEXT : NO_TEXT),
                  Brief(FileText(output)));
        EXPECT_TRUE(standing != FOLDER || RemoveDirectoryA(output.c_str())) << "arrow.cpp is no empty folder now";
        EXPECT_EQ(Brief(ARROW), Brief(ClipboardText()));
        EXPECT_EQ(standing == OLD_FILE ? OLD_TEXT : NO_TEXT, Trashed("arrow.cpp"));
    }
}

TEST_F(Conversion, ClipboardHeldByAnotherProgramIsTracedAndTheFileStillWritten)
{
    // Held through a window: Wine lets two openers without one share it.
    Write("arrow.cur", ARROW_FILE);
    HWND hWindow = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWindow && OpenClipboard(hWindow));
    const RunResult result = Run(" /clip /file arrow.cur");
    CloseClipboard();
    DestroyWindow(hWindow);
    EXPECT_NE(std::string::npos, result.debugText.find("..\\..\\TOOLS\\toolsys.cpp(3076) : \x8a\xd6\x90\x94 "
        "OpenClipboard() \x82\xaa false \x82\xf0\x95\xd4\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B \r\n"))
        << result.debugText;
    EXPECT_EQ(Brief(ARROW), Brief(FileText(Path("arrow.cpp"))));
    EXPECT_EQ(NO_TEXT, ClipboardText());
}

// Called directly: in a run, the open input alone keeps an input named *.cpp
// in place. An old file beside an ordinary input: see OldOutputGoesToTheRecycleBinWhenItCan.
TEST_F(Conversion, OpenOutputFileNeverReplacesTheInputItself)
{
    for (const std::string input : {"self.cpp", "SHOUT.CPP"})
    {
        Write(input, OLD_TEXT);
        FILE* pOutput = OpenOutputFile(Path(input).c_str());
        EXPECT_EQ(nullptr, pOutput) << input;
        if (pOutput)
            fclose(pOutput);
        EXPECT_EQ(OLD_TEXT, FileText(Path(input))) << input;
        EXPECT_EQ(NO_TEXT, Trashed(input)) << input;
    }
}

}  // namespace
