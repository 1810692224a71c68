// quorzel.exe under a debugger on one folder, with each choice of outputs: the folder, the recycle
// bin, the clipboard and the trace must be exactly what the core's text of each input makes.
#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

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

// Each run: its options, whether it writes the texts, whether the test holds the clipboard (by a
// window: Wine lets two openers without one share it), whether the last text ends there.
const std::tuple<const char*, std::vector<std::string>, bool, bool, bool> RUNS[] = {
    {"no option: the files", {}, true, false, false},
    {"/CLIP alone", {"/CLIP"}, false, false, true},
    {"both, the clipboard held: the failure traced", {"/clip", "/file"}, true, true, false}};

// Relative names; paths of 259 bytes (the shell's 260 units) and one of 260, dropped; double-byte
// names of 259 bytes whose second bytes are a backslash (0x95 0x5C) or a bar (0x83 0x7C); dots and
// blanks. A missing name, one longer than a trace line, a folder, a text, a cut cursor and an icon
// are passed over. A cursor named twice moves its first text to the recycle bin; an old text held
// open without FILE_SHARE_DELETE and a folder in the way stay.
TEST(Conversion, EachChoiceOfOutputsOnArgumentsAtTheLimitsOfTheFileList)
{
    const std::string name = "quorzel.v1 limits";
    const std::string folder = FreshFolder(name, {});
    const std::string level =
        PathName(folder, "", "\x95\x5C", folder.size() + 70, ".\x83\x7C d") + "\\";
    const std::string GOOD[] = {PathName(folder, "", "n", 259, ".cur"),
                                PathName(folder, level, "\x95\x5C", 259, ".cur"),
                                PathName(folder, level, "\x95\x5C", 259, ".\x83\x7C"),
                                PathName(folder, level, "\x83\x7C.", 259, ".cur"),
                                "x.y z.cur",
                                "held.cur",
                                "in the way.cur",
                                "a.b.c..cur"};
    Folder before = {{level.substr(0, level.size() - 1), DIRECTORY},
                     {"folder.cur", DIRECTORY},
                     {"held.cpp", "// the old held.cpp\r\n"},
                     {"in the way.cpp", DIRECTORY}};
    Folder written;
    for (unsigned i = 0; i < std::size(GOOD); ++i)
    {
        const std::vector<uint8_t> bytes = MakeCursorFile(9 + i, 2 + i, 3, 1);
        before[GOOD[i]].assign(bytes.begin(), bytes.end());
        written[GOOD[i].substr(0, GOOD[i].rfind('.')) + ".cpp"] = ConvertCursorBytes(bytes);
    }
    before["cut.cur"] = before["x.y z.cur"].substr(0, 100);
    before["icon.cur"] = before["x.y z.cur"];
    before["icon.cur"][OFFSET_TYPE] = 1;
    before[PathName(folder, "", "l", 260, ".cur")] = before["x.y z.cur"];
    // The program's name, then every name in the folder, one named again and the options.
    std::vector<std::string> files = {WindowsPath(QUORZEL_EXE), "missing.cur",
                                      std::string(1100, 'x')};
    for (const auto& file : before)
        files.push_back(file.first);
    files.push_back("a.b.c..cur");
    const std::string lastText = written["a.b.c..cpp"];
    HWND hwndHolder =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const auto& [pszRun, options, fFiles, fClipboardHeld, fClipboardText] : RUNS)
    {
        SCOPED_TRACE(pszRun);
        ASSERT_EQ(folder, FreshFolder(name, before));
        ASSERT_NE("<the clipboard not opened>", TakeClipboardText());
        HANDLE hHeld =
            CreateFileA((folder + "\\held.cpp").c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hHeld) << "held.cpp held open";
        if (fClipboardHeld)
            ASSERT_TRUE(OpenClipboard(hwndHolder));
        std::vector<std::string> arguments = files;
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::string commandLine;
        std::string trace;
        for (size_t n = 0; n < arguments.size(); ++n)
        {
            commandLine += "\"" + arguments[n] + "\" ";
            trace +=
                ((n < 10 ? "argv[ " : "argv[") + std::to_string(n) + "]=" + arguments[n] + "\r\n")
                    .substr(0, 1023);
        }
        for (size_t i = 0; fClipboardHeld && i <= std::size(GOOD); ++i)  // each conversion
            trace += "..\\..\\TOOLS\\toolsys.cpp(3076) : 関数 OpenClipboard() が false "
                     "を返しました。 \r\n";
        EXPECT_EQ(trace + "exit code 0", RunUnderDebugger(commandLine, folder));
        CloseHandle(hHeld);
        CloseClipboard();
        Folder after = before;
        if (fFiles)
            after.insert(written.begin(), written.end());  // what is in the way stays
        EXPECT_EQ(Listing(after), Listing(ListFolder(folder)));
        EXPECT_EQ(Listing(fFiles ? Folder{{"a.b.c..cpp", lastText}} : Folder{}),
                  Listing(ListFolder(TrashFolder() + "\\files")))
            << "the recycle bin";
        EXPECT_EQ(fClipboardText ? lastText : NO_TEXT, TakeClipboardText()) << "the clipboard";
    }
    DestroyWindow(hwndHolder);
    // Called directly: in a run, the open input alone keeps an input named *.cpp in place.
    EXPECT_EQ(nullptr, OpenOutputFile((folder + "\\HELD.CPP").c_str()))
        << "held.cpp opened as its output";
}

}  // namespace
