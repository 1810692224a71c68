// End-to-end conversion: the built quorzel.exe run under a debugger on cursor
// files in a fresh folder. The files, clipboard, recycle bin and trace it
// leaves must carry exactly the text that the core makes of each input.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

const std::vector<uint8_t> ARROW_BYTES = MakeCursorFile(32, 32, 3, 1);
const std::string ARROW_FILE(ARROW_BYTES.begin(), ARROW_BYTES.end()), ARROW = ConvertCursorBytes(ARROW_BYTES);  // its text
const char OLD_TEXT[] = "// the old arrow.cpp\r\n";

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
        const RunResult result = RunUnderDebugger("\"" + WindowsPath(QUORZEL_EXE) + "\"" + arguments, Path(folder));
        EXPECT_EQ(0u, result.dwExitCode) << "exit code of quorzel" << arguments << " (259: it did not end by itself)";
        return result;
    }
};

// The options choose the outputs (which words are options: see ParseOptions), the clipboard first. A file
// open without FILE_SHARE_DELETE can be neither moved to the recycle bin nor deleted, yet opened for writing.
TEST_F(Conversion, OptionsChooseTheOutputsWhateverStandsInTheirWay)
{
    enum Obstacle { NOTHING, OLD_FILE, HELD_FILE, FOLDER, HELD_CLIPBOARD };
    const struct { const char* pszCase; Obstacle obstacle; const char* pszOptions; std::string output, clipboard; }
        CASES[] = {
        {"/CLIP alone", NOTHING, " /CLIP", NO_TEXT, ARROW},
        {"no option: the file, and an old one to the recycle bin", OLD_FILE, "", ARROW, NO_TEXT},
        {"an old file held open stays", HELD_FILE, " /file /clip", OLD_TEXT, ARROW},
        {"a folder in the way blocks the file alone", FOLDER, " /file /clip", NO_TEXT, ARROW},
        {"a clipboard held open is traced, the file written", HELD_CLIPBOARD, " /clip /file", ARROW, NO_TEXT}};
    const std::string OPEN_CLIPBOARD_FAILURE = "..\\..\\TOOLS\\toolsys.cpp(3076) : 関数 OpenClipboard() が false を返しました。 \r\n";
    HWND hWindow = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszCase);
        const std::string folder = std::to_string(c.obstacle), output = Path(folder + "\\arrow.cpp");
        ASSERT_TRUE(CreateDirectoryA(Path(folder).c_str(), nullptr) && EmptyTheClipboard());
        RemoveTree(TrashFolder());
        Write(folder + "\\arrow.cur", ARROW_FILE);
        if (c.obstacle == OLD_FILE || c.obstacle == HELD_FILE)
            Write(folder + "\\arrow.cpp", OLD_TEXT);
        HANDLE hOld = c.obstacle != HELD_FILE ? nullptr : CreateFileA(output.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        // Held through a window: Wine lets two openers without one share it.
        ASSERT_TRUE(hOld != INVALID_HANDLE_VALUE && (c.obstacle != FOLDER || CreateDirectoryA(output.c_str(), nullptr))
                    && (c.obstacle != HELD_CLIPBOARD || OpenClipboard(hWindow)));
        const RunResult result = Run(c.pszOptions + std::string(" arrow.cur"), folder);
        CloseHandle(hOld), CloseClipboard();  // either is harmless when not held
        EXPECT_EQ(c.output, FileText(output));
        EXPECT_TRUE(c.obstacle != FOLDER || RemoveDirectoryA(output.c_str())) << "arrow.cpp is no empty folder now";
        EXPECT_EQ(c.clipboard, ClipboardText());
        EXPECT_EQ(c.obstacle == OLD_FILE ? OLD_TEXT : NO_TEXT, Trashed("arrow.cpp"));
        EXPECT_EQ(c.obstacle == HELD_CLIPBOARD, result.debugText.find(OPEN_CLIPBOARD_FAILURE) != std::string::npos)
            << result.debugText;
    }
    DestroyWindow(hWindow);
}

// Called directly: in a run, the open input alone keeps an input named *.cpp
// in place. An old file beside an ordinary input: see OptionsChooseTheOutputsWhateverStandsInTheirWay.
TEST_F(Conversion, OpenOutputFileNeverReplacesTheInputItself)
{
    for (const std::string input : {"self.cpp", "SHOUT.CPP"})
    {
        Write(input, OLD_TEXT);
        EXPECT_EQ(nullptr, (std::unique_ptr<FILE, int (*)(FILE*)>(OpenOutputFile(Path(input).c_str()), fclose))) << input;
        EXPECT_EQ(OLD_TEXT + std::string(" / ") + NO_TEXT, FileText(Path(input)) + " / " + Trashed(input))
            << input << " / the recycle bin";
    }
}

}  // namespace
