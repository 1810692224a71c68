// quorzel.exe under a debugger on one folder of cursors and of what stands in their way, once for
// each choice of outputs: the trace, the folder, the recycle bin and the clipboard that it leaves.
#include <gtest/gtest.h>

#include "output/outputfile.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"

#define HYO "\x95\x5C"  // a double-byte character whose second byte is a backslash
#define PO "\x83\x7C"   // one whose second byte is a bar

namespace
{

// A name that makes a path of nPathBytes - 1 bytes: the name, pieces while they fit, 'x's, the
// tail.
std::string PathName(const std::string& folder, std::string name, const std::string& piece,
                     size_t nPathBytes, const std::string& tail)
{
    while (folder.size() + name.size() + piece.size() + tail.size() < nPathBytes)
        name += piece;
    return name + std::string(nPathBytes - 1 - folder.size() - name.size() - tail.size(), 'x') +
           tail;
}

// A choice of outputs, and what the run must leave.
struct Run
{
    std::vector<std::string> options;
    bool fClipboardHeld;  // for a window: Wine lets two openers without one share it
    bool fTextsWritten;   // beside their cursors, the first text of a cursor named twice recycled
    bool fLastTextOnClipboard;
};

// Checks the run's trace (each argument, cut to 1023 bytes), the folder, the recycle bin and the
// clipboard. Relative names; paths of 259 bytes (the shell's 260 units) and one of 260, dropped;
// double-byte names of 259 bytes; dots, blanks. A missing name, one too long to trace, a folder, a
// text, a cut cursor and an icon are passed over; an old text held open without FILE_SHARE_DELETE
// and a folder in the way stay. Where the program puts the texts is checked here, on the core's own
// texts: the worked example of the unit tests and the round trip check what the texts say.
void CheckRun(const Run& run)
{
    const std::string folder = FreshFolder("quorzel.v1 limits", {});
    const std::string level = PathName(folder, "", HYO, folder.size() + 70, "." PO " d") + "\\";
    const std::string GOOD[] = {PathName(folder, "", "n", 259, ".cur"),
                                PathName(folder, level, HYO, 259, ".cur"),
                                PathName(folder, level, HYO, 259, "." PO),
                                PathName(folder, level, PO ".", 259, ".cur"),
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
    std::vector<std::string> args = {WindowsPath(QUORZEL_EXE), "missing", std::string(1100, 'x')};
    for (const auto& file : before)
        args.push_back(file.first);
    args.push_back("a.b.c..cur");
    args.insert(args.end(), run.options.begin(), run.options.end());

    ASSERT_EQ(folder, FreshFolder("quorzel.v1 limits", before));
    ASSERT_NE("<the clipboard not opened>", TakeClipboardText());
    std::ifstream held(folder + "\\held.cpp");  // shared for reading and writing, not deleting
    ASSERT_TRUE(!run.fClipboardHeld || OpenClipboard(GetDesktopWindow())) << "the clipboard held";
    std::string commandLine;
    std::string trace;
    for (size_t n = 0; n < args.size(); ++n)
    {
        commandLine += "\"" + args[n] + "\" ";
        trace += ((n < 10 ? "argv[ " : "argv[") + std::to_string(n) + "]=" + args[n] + "\r\n")
                     .substr(0, 1023);
    }
    for (size_t i = 0; run.fClipboardHeld && i <= std::size(GOOD); ++i)  // a.b.c..cur twice
        trace += "..\\..\\TOOLS\\toolsys.cpp(3076) : 関数 OpenClipboard() が false "
                 "を返しました。 \r\n";
    EXPECT_EQ(trace + "exit code 0", RunUnderDebugger(commandLine, folder));
    CloseClipboard();
    Folder after = before;
    if (run.fTextsWritten)
        after.insert(written.begin(), written.end());  // what is in the way stays
    EXPECT_EQ(Listing(after), Listing(ListFolder(folder)));
    EXPECT_EQ(Listing(run.fTextsWritten ? Folder{{"a.b.c..cpp", written["a.b.c..cpp"]}} : Folder{}),
              Listing(ListFolder(TrashFolder() + "\\files")));
    EXPECT_EQ(run.fLastTextOnClipboard ? written["a.b.c..cpp"] : NO_TEXT, TakeClipboardText());
}

}  // namespace

TEST(Conversion, WithoutOptionsWritesEachTextBesideItsCursorOnly)
{
    CheckRun({.options = {}, .fClipboardHeld = false, .fTextsWritten = true});
}

TEST(Conversion, ClipAloneWritesNoFileAndTracesEachTextAHeldClipboardRefuses)
{
    CheckRun({.options = {"/CLIP"}, .fClipboardHeld = true, .fLastTextOnClipboard = false});
}

TEST(Conversion, ClipWithFileWritesEachTextAndLeavesTheLastOnTheClipboard)
{
    CheckRun({.options = {"/clip", "/file"}, .fTextsWritten = true, .fLastTextOnClipboard = true});
}

TEST(Conversion, OpenOutputFileRefusesAnInputNamedCpp)
{
    EXPECT_EQ(nullptr, OpenOutputFile("x.CPP"));
}
