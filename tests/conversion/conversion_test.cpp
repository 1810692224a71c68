// End-to-end conversion: runs the built quorzel.exe on cursor files made in a
// fresh folder, as a debuggee whose trace is collected, and checks the .cpp
// files, the clipboard and the recycle bin that each run leaves.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/cursorbytes.h"

namespace {

typedef std::vector<std::string> Texts;
const char NO_TEXT[] = "<none>";  // FileText and ClipboardText of nothing
const char OPEN_CLIPBOARD_FAILURE[] =
    "..\\..\\TOOLS\\toolsys.cpp(3076) : \x8a\xd6\x90\x94 OpenClipboard() \x82\xaa false "
    "\x82\xf0\x95\xd4\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81" "B \r\n";

// A Unix path of the build as Windows sees it, on drive Z:.
std::string WindowsPath(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

struct RunResult
{
    bool fExited = false;   // false: not started, or ended by the test after the time limit
    DWORD dwExitCode = 0;
    std::string debugText;  // the texts of every OutputDebugStringA, in order
};

// Runs `"quorzel.exe" arguments` in a folder as a debuggee of this process.
RunResult RunProgram(const std::string& arguments, const std::string& folder)
{
    RunResult result;
    std::string commandLine = "\"" + WindowsPath(QUORZEL_EXE) + "\"" + (arguments.empty() ? "" : " ") + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        folder.c_str(), &startup, &process))
        return result;
    const DWORD TIME_LIMIT = 60000, dwStart = GetTickCount();
    bool fEnded = false;
    for (DEBUG_EVENT event;;)
    {
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (!WaitForDebugEvent(&event, fEnded ? 10000 : dwElapsed < TIME_LIMIT ? TIME_LIMIT - dwElapsed : 0))
        {
            if (fEnded)
                break;
            fEnded = true;  // a hang: end it, then take its last events
            TerminateProcess(process.hProcess, 255);
            continue;
        }
        DWORD dwContinue = DBG_CONTINUE;
        const DWORD dwCode = event.dwDebugEventCode;
        if (dwCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile)
            CloseHandle(event.u.CreateProcessInfo.hFile);
        else if (dwCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile)
            CloseHandle(event.u.LoadDll.hFile);
        else if (dwCode == EXCEPTION_DEBUG_EVENT
                 && event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
            dwContinue = DBG_EXCEPTION_NOT_HANDLED;
        else if (dwCode == OUTPUT_DEBUG_STRING_EVENT)
        {
            std::string text(event.u.DebugString.nDebugStringLength, '\0');
            SIZE_T nRead = 0;
            ReadProcessMemory(process.hProcess, event.u.DebugString.lpDebugStringData, &text[0], text.size(), &nRead);
            result.debugText += text.substr(0, std::min<size_t>(nRead, text.find('\0')));
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, dwContinue);
        if (dwCode == EXIT_PROCESS_DEBUG_EVENT)
        {
            result.fExited = !fEnded;
            result.dwExitCode = event.u.ExitProcess.dwExitCode;
            break;
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : NO_TEXT;
}

void RemoveTree(const std::string& path)
{
    const std::string list = path + '\0';  // double-NUL-terminated
    SHFILEOPSTRUCTA operation = {nullptr, FO_DELETE, list.c_str(), nullptr,
                                 FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        SHFileOperationA(&operation);
}

// Another process may hold the clipboard a moment.
bool OpenTheClipboard()
{
    for (int nTry = 0; nTry < 50; ++nTry, Sleep(20))
        if (OpenClipboard(nullptr))
            return true;
    return false;
}

std::string ClipboardText()
{
    if (!OpenTheClipboard())
        return "<clipboard not opened>";
    HANDLE hData = GetClipboardData(CF_TEXT);
    const char* psz = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    const std::string text = psz ? psz : NO_TEXT;
    if (psz)
        GlobalUnlock(hData);
    CloseClipboard();
    return text;
}

// Wine's recycle bin is the XDG trash: each file in Trash\files has its
// Trash\info\NAME.trashinfo.
std::string TrashFolder()
{
    char szData[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", szData, MAX_PATH);
    return WindowsPath(szData) + "\\Trash";
}

Texts TrashedTexts()
{
    Texts texts;
    WIN32_FIND_DATAA found;
    const std::string folder = TrashFolder();
    HANDLE hFind = FindFirstFileA((folder + "\\files\\*").c_str(), &found);
    for (BOOL fMore = hFind != INVALID_HANDLE_VALUE; fMore; fMore = FindNextFileA(hFind, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && FileText(folder + "\\info\\" + found.cFileName + ".trashinfo") != NO_TEXT)
            texts.push_back(FileText(folder + "\\files\\" + found.cFileName));
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
    return texts;
}

// Fixed lines, two mask arrays of height rows of k 8-pixel groups, four numbers.
size_t TextLength(const CursorDrawing& cursor)
{
    const size_t k = (cursor.width + 15) / 16 * 2;
    size_t nDigits = 0;
    for (unsigned n : {cursor.hotspotX, cursor.hotspotY, cursor.width, cursor.height})
        nDigits += std::to_string(n).size();
    return 398 + 17 * k + 2 * cursor.height * (16 * k + 11) + nDigits;
}

// "N bytes" for a text, so that a failure does not print whole texts.
std::string Bytes(size_t nSize) { return std::to_string(nSize) + " bytes"; }
std::string Bytes(const std::string& text) { return text == NO_TEXT ? text : Bytes(text.size()); }

void ExpectCursorText(const std::string& text, const CursorDrawing& cursor)
{
    ASSERT_EQ(Bytes(text), Bytes(TextLength(cursor)));
    EXPECT_EQ(text.substr(0, 3), "{\r\n");
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
    EXPECT_EQ(text.find('\0'), std::string::npos) << "NUL in the text";
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n')
            ASSERT_EQ(text.substr(i++, 2), "\r\n") << "line break at offset " << i - 1;
}

bool TopCorners(unsigned x, unsigned y) { return y == 0 && (x == 0 || x == 31); }
bool Diagonal(unsigned x, unsigned y) { return x == y; }
const CursorDrawing ARROW = {32, 32, 0, 0, TopCorners, nullptr};
const char OLD_TEXT[] = "// the old arrow.cpp\r\n";

std::string CursorBytes(const CursorDrawing& cursor)
{
    const std::vector<uint8_t> bytes = MakeCursorFile(cursor);
    return std::string(bytes.begin(), bytes.end());
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

class Conversion : public ::testing::Test
{
protected:
    std::string m_folder;  // fresh for each test

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, szTemp), 0u);
        const std::string root = szTemp + std::string("quorzel-conversion");
        CreateDirectoryA(root.c_str(), nullptr);
        m_folder = root + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree(m_folder);
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr)) << m_folder;
        ASSERT_NE(GetEnvironmentVariableA("XDG_DATA_HOME", nullptr, 0), 0u) << "run through scripts/wine-run";
        RemoveTree(TrashFolder());
        EmptyTheClipboard();
    }

    void EmptyTheClipboard()
    {
        ASSERT_TRUE(OpenTheClipboard());
        EXPECT_TRUE(EmptyClipboard());
        CloseClipboard();
    }

    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }

    void Write(const std::string& path, const std::string& text)
    {
        ASSERT_TRUE(WriteBytesToFile(path, std::vector<uint8_t>(text.begin(), text.end()))) << path;
    }
    void WriteCursor(const std::string& path, const CursorDrawing& cursor) { Write(path, CursorBytes(cursor)); }

    // Runs the program; a hang, a crash or an exit code other than 0 fails the test.
    RunResult Run(const std::string& arguments, const std::string& folder = "")
    {
        RunResult result = RunProgram(arguments, folder.empty() ? m_folder : folder);
        EXPECT_TRUE(result.fExited) << "quorzel " << arguments << " did not end by itself";
        EXPECT_EQ(result.dwExitCode, 0u) << "exit code of quorzel " << arguments;
        return result;
    }
};

TEST_F(Conversion, TextBesideTheInputIsTheClipboardTextOfItsLength)
{
    const CursorDrawing CURSORS[] = {ARROW, {16, 16, 15, 7, Diagonal, Diagonal}, {48, 24, 47, 23, Diagonal, nullptr},
                                  {1, 1, 0, 0, nullptr, Diagonal}, {33, 5, 32, 4, Diagonal, nullptr}};
    std::string inputs, lastOutput;
    for (const CursorDrawing& cursor : CURSORS)
    {
        const std::string name = Path(std::to_string(cursor.width) + "x" + std::to_string(cursor.height));
        SCOPED_TRACE("cursor " + name);
        WriteCursor(name + ".cur", cursor);
        Run("/clip " + Quoted(name + ".cur") + " /file");
        ExpectCursorText(FileText(name + ".cpp"), cursor);
        EXPECT_EQ(FileText(name + ".cpp"), ClipboardText());
        inputs += " " + Quoted(name + ".cur");
        lastOutput = name + ".cpp";
    }
    EmptyTheClipboard();
    Run("/clip" + inputs);
    EXPECT_EQ(ClipboardText(), FileText(lastOutput)) << "the clipboard after all the inputs";
    const std::string arrow = FileText(Path("32x32.cpp")), TOP_ROW =
        "\t\t\tm( X _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ X ), \r\n";
    // Once, and first in its array: the line before it is not a row line.
    const size_t at = arrow.find(TOP_ROW), nLineBefore = arrow.rfind("\r\n", at - 3) + 2;
    EXPECT_TRUE(at != std::string::npos && arrow.find(TOP_ROW, at + 1) == std::string::npos
                && arrow.compare(nLineBefore, 5, "\t\t\tm(") != 0)
        << "the top row XOR 80 00 00 01 as the first row line of an array, expected in: " << arrow;
}

TEST_F(Conversion, OptionsInAnyCaseAndPlaceChooseTheOutputs)
{
    const struct { const char* pszBefore; const char* pszAfter; bool fFile, fClipboard; } CASES[] = {
        {"", "", true, false},          {"/file", "", true, false},     {"/clip", "", false, true},
        {"", "/CLIP", false, true},     {"/cLiP", "/FiLe", true, true}, {"-clip", "", true, false},
        {"", "/clipboard", true, false}, {"/FILE /clip /Clip", "", true, true}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(std::string("quorzel ") + c.pszBefore + " arrow.cur " + c.pszAfter);
        EmptyTheClipboard();
        DeleteFileA(Path("arrow.cpp").c_str());
        WriteCursor(Path("arrow.cur"), ARROW);
        Run(std::string(c.pszBefore) + " " + Quoted(Path("arrow.cur")) + " " + c.pszAfter);
        EXPECT_EQ(Bytes(FileText(Path("arrow.cpp"))), c.fFile ? Bytes(TextLength(ARROW)) : NO_TEXT) << "arrow.cpp";
        EXPECT_EQ(Bytes(ClipboardText()), c.fClipboard ? Bytes(TextLength(ARROW)) : NO_TEXT) << "clipboard";
    }
}

TEST_F(Conversion, OldOutputGoesToTheRecycleBinWhenItCan)
{
    // A file open without FILE_SHARE_DELETE can be neither moved to the
    // recycle bin nor deleted, yet could still be opened for writing.
    enum Trashed { NOTHING, THE_OLD_TEXT, THE_NEW_TEXT };
    const struct { const char* pszCase; bool fTwice, fOld, fHeld, fReplaced; Trashed trashed; } CASES[] = {
        {"old arrow.cpp", false, true, false, true, THE_OLD_TEXT},
        {"same input twice", true, false, false, true, THE_NEW_TEXT},
        {"old arrow.cpp held open", false, true, true, false, NOTHING}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszCase);
        const std::string folder = Path(c.pszCase), input = folder + "\\arrow.cur", output = folder + "\\arrow.cpp";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        RemoveTree(TrashFolder());
        WriteCursor(input, ARROW);
        if (c.fOld)
            Write(output, OLD_TEXT);
        const std::string before = FileText(output);
        HANDLE hOld = !c.fHeld ? nullptr : CreateFileA(output.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hOld, INVALID_HANDLE_VALUE);
        Run(Quoted(input) + (c.fTwice ? " " + Quoted(input) : ""));
        if (hOld)
            CloseHandle(hOld);
        if (c.fReplaced)
            ExpectCursorText(FileText(output), ARROW);
        else
            EXPECT_EQ(FileText(output), before);
        EXPECT_EQ(TrashedTexts(), c.trashed == NOTHING ? Texts{}
                                  : Texts{c.trashed == THE_OLD_TEXT ? OLD_TEXT : FileText(output)});
    }
}

TEST_F(Conversion, RefusedInputsLeaveEveryOutputAlone)
{
    enum Kind { FOLDER, MISSING, BYTES };
    const struct { const char* pszName; Kind kind; size_t offset; uint32_t value; int nSize; size_t nCut; } CASES[] = {
        {"folder.cur", FOLDER, 0, 0, 0, 0},         {"missing.cur", MISSING, 0, 0, 0, 0},
        {"icon.cur", BYTES, OFFSET_TYPE, 1, 2, 0},  {"depth4.cur", BYTES, OFFSET_BI_BIT_COUNT, 4, 2, 0},
        {"none.cur", BYTES, OFFSET_COUNT, 0, 2, 0}, {"short.cur", BYTES, 0, 0, 0, 1},
        {"empty.cur", BYTES, 0, 0, 0, 1000}};
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszName);
        const std::string input = Path(c.pszName), output = input.substr(0, input.size() - 4) + ".cpp";
        std::vector<uint8_t> bytes = MakeCursorFile(ARROW);
        if (c.nSize)
            PutLittleEndian(bytes, c.offset, c.value, c.nSize);
        bytes.resize(bytes.size() > c.nCut ? bytes.size() - c.nCut : 0);
        if (c.kind != MISSING)
            ASSERT_TRUE(c.kind == FOLDER ? CreateDirectoryA(input.c_str(), nullptr) : WriteBytesToFile(input, bytes));
        Write(output, "keep");
        Run("/clip /file " + Quoted(input));
        EXPECT_EQ(FileText(output), "keep");
        EXPECT_EQ(ClipboardText(), NO_TEXT);
    }
    EXPECT_EQ(TrashedTexts(), Texts{});
}

TEST_F(Conversion, OutputNameReplacesOnlyTheExtension)
{
    const struct { const char* pszInput; const char* pszOutput; const char* pszWrongOutput; } CASES[] = {
        {"arrow.cur", "arrow.cpp", "arrow.cur.cpp"},     {"a.b.cur", "a.b.cpp", "a.cpp"},
        {"cur.d\\arrow", "cur.d\\arrow.cpp", "cur.cpp"}, {"\x95\x5C.cur", "\x95\x5C.cpp", "\x95\x5C.cur.cpp"},
        {"a.\x95\x5C", "a.cpp", "a.\x95\x5C.cpp"}};  // 0x5C: the trail byte of a double-byte character
    int nCase = 0;
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszInput);
        const std::string folder = Path(std::to_string(++nCase));
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        CreateDirectoryA((folder + "\\cur.d").c_str(), nullptr);
        WriteCursor(folder + "\\" + c.pszInput, ARROW);
        Run(Quoted(folder + "\\" + c.pszInput), folder);
        EXPECT_EQ(Bytes(FileText(folder + "\\" + c.pszOutput)), Bytes(TextLength(ARROW))) << c.pszOutput;
        EXPECT_EQ(Bytes(FileText(folder + "\\" + c.pszWrongOutput)), NO_TEXT) << c.pszWrongOutput;
    }
}

TEST_F(Conversion, EachArgumentIsTracedFirstAndInOrder)
{
    // The first path ends in 0x5C, the trail byte of a double-byte character,
    // right before its closing quote.
    const std::string table = Path("\x95\x5C");
    WriteCursor(table, ARROW);
    const std::vector<std::pair<std::string, std::string>> ARGUMENTS = {
        {Quoted(table), table}, {"/File", "/File"}, {"\"x y\"", "x y"}, {"m4", "m4"}, {"m5", "m5"},
        {"m6", "m6"}, {"m7", "m7"}, {"m8", "m8"}, {"m9", "m9"}, {"m10", "m10"}};
    std::string arguments, expected = "argv[ 0]=" + WindowsPath(QUORZEL_EXE) + "\r\n";
    for (size_t i = 0; i < ARGUMENTS.size(); ++i)
    {
        arguments += (i ? " " : "") + ARGUMENTS[i].first;
        expected += (i < 9 ? "argv[ " : "argv[") + std::to_string(i + 1) + "]=" + ARGUMENTS[i].second + "\r\n";
    }
    const RunResult result = Run(arguments);
    EXPECT_EQ(result.debugText.substr(0, expected.size()), expected);
    EXPECT_EQ(result.debugText.find("argv[", expected.size()), std::string::npos) << result.debugText;
    EXPECT_EQ(Bytes(FileText(table + ".cpp")), Bytes(TextLength(ARROW)));
}

TEST_F(Conversion, ClipboardHeldByAnotherProgramIsTracedAndTheFileStillWritten)
{
    // Held through a window: Wine lets two openers without one share it.
    WriteCursor(Path("arrow.cur"), ARROW);
    HWND hWindow = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWindow && OpenClipboard(hWindow));
    const RunResult result = Run("/clip /file " + Quoted(Path("arrow.cur")));
    CloseClipboard();
    DestroyWindow(hWindow);
    EXPECT_NE(result.debugText.find(OPEN_CLIPBOARD_FAILURE), std::string::npos) << result.debugText;
    ExpectCursorText(FileText(Path("arrow.cpp")), ARROW);
    EXPECT_EQ(ClipboardText(), NO_TEXT);
}

TEST_F(Conversion, FolderNamedLikeTheOutputBlocksOnlyTheFile)
{
    WriteCursor(Path("arrow.cur"), ARROW);
    ASSERT_TRUE(CreateDirectoryA(Path("arrow.cpp").c_str(), nullptr));
    Run("/clip " + Quoted(Path("arrow.cur")) + " /file");
    EXPECT_EQ(Bytes(ClipboardText()), Bytes(TextLength(ARROW)));
    EXPECT_TRUE(RemoveDirectoryA(Path("arrow.cpp").c_str())) << "arrow.cpp is no longer an empty folder";
    EXPECT_EQ(TrashedTexts(), Texts{});
}

TEST_F(Conversion, RelativeNamesAreTakenInTheCurrentFolderNotOnTheDesktop)
{
    char szDesktop[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0, szDesktop), S_OK);
    const std::string desktop = szDesktop + std::string("\\quorzel-relative");
    WriteCursor(desktop + ".cur", {16, 16, 0, 0, Diagonal, nullptr});
    DeleteFileA((desktop + ".cpp").c_str());
    WriteCursor(Path("quorzel-relative.cur"), ARROW);
    Run("quorzel-relative.cur");
    ExpectCursorText(FileText(Path("quorzel-relative.cpp")), ARROW);
    EXPECT_EQ(FileText(desktop + ".cpp"), NO_TEXT);
    DeleteFileA((desktop + ".cur").c_str());
    DeleteFileA((desktop + ".cpp").c_str());
}

}  // namespace
