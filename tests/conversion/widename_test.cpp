// quorzel.exe in a folder whose name code page 932 cannot spell: the verb it registers from there
// starts it, and from a UTF-16 command line it converts each file by its real name.
#include <filesystem>

#include <gtest/gtest.h>

#include "association/assocdialog_ids.h"
#include "support/classeskeys.h"
#include "support/cursorbytes.h"
#include "support/debuggee.h"
#include "support/screen.h"

namespace
{

namespace fs = std::filesystem;

// OK on ".cur" registers the verb that the shell runs on verb.cur. Relative names and full paths
// with é, Hangul and an emoji in folders named alike, 表示.cur relative to a folder that code page
// 932 does not spell, café.cur (cafe.cur on the ANSI line) beside a cafe.cur and an old café.cpp.
TEST(WideNames, TheVerbStartsTheProgramAndEachFileIsConvertedByItsRealName)
{
    const fs::path folder = fs::temp_directory_path() / "quorzel wide names";
    const fs::path program = folder / fs::u8path(u8"😀 Zoë/quorzel.exe");
    std::vector<std::string> cursors = {"cafe.cur", u8"café.cur", "verb.cur", u8"é/表示.cur"};
    std::vector<std::wstring> arguments = {program.wstring(), L"表示.cur", folder / L"café.cur"};
    for (const std::string letters : {u8"é", u8"한글", u8"😀"})
    {
        cursors.push_back(letters + "/" + letters + " 1.cur");
        cursors.push_back(letters + "/" + letters + " 2.cur");
        arguments.push_back(L"..\\" + fs::u8path(cursors.end()[-2]).make_preferred().wstring());
        arguments.push_back((folder / fs::u8path(cursors.back())).make_preferred().wstring());
    }
    fs::remove_all(folder);
    fs::remove_all(TrashFolder());
    fs::create_directories(program.parent_path());
    fs::copy_file(WindowsPath(QUORZEL_EXE), program);
    Folder after;
    for (unsigned i = 0; i < cursors.size(); ++i)
    {
        const std::vector<uint8_t> cursor = MakeCursorFile(3 + i, 2);
        after[cursors[i].substr(0, cursors[i].size() - 4) + ".cpp"] =
            cursors[i] == "cafe.cur" ? NO_TEXT : ConvertCursorBytes(cursor);
        fs::create_directories((folder / fs::u8path(cursors[i])).parent_path());
        std::ofstream(folder / fs::u8path(cursors[i]), std::ios::binary)
            << std::string(cursor.begin(), cursor.end());
    }
    std::ofstream(folder / fs::u8path(u8"café.cpp"), std::ios::binary) << "// the old one\r\n";

    DeleteClassesKeys({".cur", "curfile"});
    for (const char* pszKey : {".cur=curfile", "curfile"})
        CreateClassesKey(pszKey);
    SHELLEXECUTEINFOW run = {sizeof run, SEE_MASK_NOCLOSEPROCESS, {}, {}, program.c_str()};
    ASSERT_TRUE(ShellExecuteExW(&run));
    HWND hwnd = WaitForDialog(GetProcessId(run.hProcess));
    EXPECT_NE(nullptr, hwnd) << "no dialog from the program started bare";
    SendDlgItemMessageA(hwnd, IDC_CUR_CHECK, BM_CLICK, 0, 0);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);  // a failure message would hold a sent click
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(run.hProcess, 9000)) << "not closed by OK";
    TerminateProcess(run.hProcess, 1);  // one that has not ended: its mutex would stay
    const std::string verbFile = (folder / "verb.cur").string();
    SHELLEXECUTEINFOA verb = {sizeof verb, SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI, nullptr,
                              "quorzel", verbFile.c_str()};
    EXPECT_TRUE(ShellExecuteExA(&verb))
        << "the verb's command not started: " << ReadClassesKey("curfile\\shell\\quorzel\\command");
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(verb.hProcess, 9000))
        << "the verb's run not ended";
    for (HANDLE hProcess : {run.hProcess, verb.hProcess})
        CloseHandle(hProcess);
    DeleteClassesKeys({".cur", "curfile"});

    std::wstring commandLine;
    std::string trace;
    for (size_t n = 0; n < arguments.size(); ++n)
    {
        char ansi[MAX_PATH] = "";  // '?' or a best-fit letter where none is exact
        WideCharToMultiByte(CP_ACP, 0, arguments[n].c_str(), -1, ansi, MAX_PATH, nullptr, nullptr);
        commandLine += L"\"" + arguments[n] + L"\" ";
        trace += "argv[ " + std::to_string(n) + "]=" + ansi + "\r\n";
    }
    const fs::path testFolder = fs::current_path();
    fs::current_path(folder / fs::u8path(u8"é"));
    EXPECT_EQ(trace + "exit code 0", RunUnderDebugger("", "", commandLine));
    fs::current_path(testFolder);
    for (const auto& one : after)  // a digest of each file, with its name
        EXPECT_EQ(Listing({one}), Listing({{one.first, FileText(folder / fs::u8path(one.first))}}));
    const fs::path recycled = fs::path(TrashFolder()) / "files" / fs::u8path(u8"café.cpp");
    EXPECT_EQ("// the old one\r\n", FileText(recycled)) << "the old text in the recycle bin";
}

}  // namespace
