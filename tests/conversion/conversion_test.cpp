// End-to-end conversion: the built quorzel.exe run under a debugger on a cursor file in a fresh
// folder, with the options and what stands in the way of each output. The folder, the recycle
// bin, the clipboard and the trace it leaves must carry exactly the text the core makes.
#include <windows.h>

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
const std::string CLIPBOARD_FAILURE =
    "..\\..\\TOOLS\\toolsys.cpp(3076) : 関数 OpenClipboard() が false を返しました。 \r\n";

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

        const std::string command =
            "\"" + WindowsPath(QUORZEL_EXE) + "\"" + c.pszOptions + " arrow.cur";
        const RunResult result = RunUnderDebugger(command, folder);
        CloseHandle(hHeld);
        CloseClipboard();

        EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
        EXPECT_EQ(Listing(WithArrowCpp(input, c.after)), Listing(ListFolder(folder)));
        EXPECT_EQ(Listing(WithArrowCpp({}, c.trashed)),
                  Listing(ListFolder(TrashFolder() + "\\files")))
            << "the recycle bin";
        EXPECT_EQ(c.clipboard, ClipboardText());
        const bool fTraced = result.debugText.find(CLIPBOARD_FAILURE) != std::string::npos;
        EXPECT_EQ(c.held == HELD_CLIPBOARD, fTraced) << "the failure traced, in:\n"
                                                     << result.debugText;
    }
    DestroyWindow(hwndHolder);
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
