// Hostile input end to end: one run of quorzel.exe on about 300 arguments of
// every kind, and paths at the limits of the file list. Exactly the good
// cursors get their ".cpp", every replaced ".cpp" is in the recycle bin, and
// nothing else in the folder changes.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/cursorbytes.h"
#include "support/debuggee.h"

namespace
{

typedef std::map<std::string, std::string> Folder;  // file name (code page 932) -> bytes; "<dir>" for a folder
const char DIRECTORY[] = "<dir>";

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], int(wide.size())) - 1);
    return wide;
}

// Through the wide calls: the ANSI ones stop short of the longest names.
bool WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE hFile = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD dwWritten = 0;
    const bool fWritten = hFile != INVALID_HANDLE_VALUE &&
                          ::WriteFile(hFile, bytes.data(), DWORD(bytes.size()), &dwWritten, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
        CloseHandle(hFile);
    return fWritten && dwWritten == bytes.size();
}

std::string ReadFile(const std::wstring& path)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(hFile == INVALID_HANDLE_VALUE ? 0 : GetFileSize(hFile, nullptr), '\0');
    DWORD dwRead = 0;
    if (hFile != INVALID_HANDLE_VALUE)
        ::ReadFile(hFile, &bytes[0], DWORD(bytes.size()), &dwRead, nullptr), CloseHandle(hFile);
    return bytes.substr(0, dwRead);
}

// Every file and folder under the folder, by its path relative to it.
Folder Snapshot(const std::string& folder, const std::string& prefix = "")
{
    Folder files;
    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW(Wide(folder + "\\" + prefix + "*").c_str(), &found);
    for (BOOL fMore = hFind != INVALID_HANDLE_VALUE; fMore; fMore = FindNextFileW(hFind, &found))
    {
        char szName[2 * MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, found.cFileName, -1, szName, sizeof szName, nullptr, nullptr);
        const std::string name = prefix + szName;
        if (found.cFileName[0] == L'.')
            continue;
        const bool fFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        files[name] = fFolder ? DIRECTORY : ReadFile(Wide(folder + "\\" + name));
        if (fFolder)
        {
            const Folder inner = Snapshot(folder, name + "\\");
            files.insert(inner.begin(), inner.end());
        }
    }
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
    return files;
}

// Through the wide calls too: the shell's removal stops at the longest names.
void RemoveFolder(const std::string& folder)
{
    const Folder files = Snapshot(folder);
    for (auto file = files.rbegin(); file != files.rend(); ++file)  // the contents of a folder before it
    {
        const std::wstring path = Wide(folder + "\\" + file->first);
        file->second == DIRECTORY ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(Wide(folder).c_str());
}

// The names whose bytes differ, each with what it holds on either side.
std::string Differences(const Folder& expected, const Folder& actual)
{
    const auto Describe = [](const Folder& files, const std::string& name) {
        const auto found = files.find(name);
        return found == files.end() ? std::string(NO_TEXT) : std::to_string(found->second.size()) + " bytes";
    };
    Folder all = expected;
    all.insert(actual.begin(), actual.end());
    std::string differences;
    for (const auto& file : all)
        if (Describe(expected, file.first) != Describe(actual, file.first) || expected.at(file.first) != actual.at(file.first))
            differences += file.first + ": expected " + Describe(expected, file.first) + ", got " +
                           Describe(actual, file.first) + "\n";
    return differences;
}

std::vector<std::string> Contents(const Folder& files)
{
    std::vector<std::string> contents;
    for (const auto& file : files)
        contents.push_back(file.second);
    std::sort(contents.begin(), contents.end());
    return contents;
}

std::string CppName(const std::string& name) { return name.substr(0, name.rfind('.')) + ".cpp"; }

class Hostile : public testing::Test
{
protected:
    std::string m_folder;  // dots and a blank in its name, fresh for each test

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, szTemp));
        m_folder = szTemp + std::string("quorzel.v1 hostile");
        RemoveFolder(m_folder);
        RemoveTree(TrashFolder());
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr)) << m_folder;
    }

    DWORD Run(const std::string& arguments)
    {
        const DWORD dwStart = GetTickCount();
        // Ten minutes: under the heap check the long run takes a minute or more.
        const RunResult result = RunUnderDebugger("\"" + WindowsPath(QUORZEL_EXE) + "\"" + arguments, m_folder, 600000);
        EXPECT_EQ(0u, result.dwExitCode) << "exit code (259: it did not end by itself)";
        return GetTickCount() - dwStart;
    }
};

// Good cursors (some with an old .cpp, some named twice), cuts of them, icons,
// missing names, folders and option words, in a shuffled order.
TEST_F(Hostile, ThreeHundredArgumentsConvertExactlyTheGoodCursors)
{
    Folder expected, trashed;
    std::vector<std::string> arguments;
    unsigned nSeed = 12345, nReplaced = 0, nGood = 0;
    const auto Random = [&](unsigned nRange) { return (nSeed = nSeed * 1103515245u + 12345u) / 65536 % nRange; };
    for (unsigned i = 0; i < 64; ++i)
    {
        const std::string name = "good." + std::to_string(i) + ".cur";
        const std::vector<uint8_t> bytes = MakeCursorFile(8 + Random(60), 1 + Random(64), Random(8), Random(8));
        const std::string file(bytes.begin(), bytes.end()), text = ConvertCursorBytes(bytes), cut = file.substr(0, Random(unsigned(file.size())));
        const std::string cutName = "cut " + std::to_string(i) + ".cur", iconName = "icon" + std::to_string(i) + ".ico";
        expected[name] = file, expected[cutName] = cut, expected[iconName] = file.substr(0, OFFSET_TYPE) + '\1' + file.substr(3);
        expected[CppName(name)] = text, ++nGood;
        ASSERT_FALSE(text.empty()) << name;
        arguments.insert(arguments.end(), {name, cutName, iconName, "missing" + std::to_string(i) + ".cur"});
        if (i % 4 == 0)  // an old .cpp goes to the recycle bin
            trashed["old" + std::to_string(i)] = "// old " + name, ++nReplaced;
        if (i % 5 == 0)  // named twice: the first text goes to the recycle bin
            arguments.push_back(name), trashed["twice" + std::to_string(i)] = text, ++nReplaced, ++nGood;
        if (i % 6 == 0)
            arguments.push_back(i % 12 ? "/FILE" : "/file");
        if (i % 3 == 0)
            arguments.push_back("folder" + std::to_string(i) + ".cur"), expected[arguments.back()] = DIRECTORY;
    }
    for (const auto& file : expected)  // the inputs; the texts are the outputs
        if (CppName(file.first) != file.first)
            ASSERT_TRUE(file.second == DIRECTORY ? CreateDirectoryA((m_folder + "\\" + file.first).c_str(), nullptr)
                                                 : WriteFile(m_folder + "\\" + file.first, file.second)) << file.first;
    for (const auto& old : trashed)  // the old texts where they will be replaced
        if (old.first.compare(0, 3, "old") == 0)
            ASSERT_TRUE(WriteFile(m_folder + "\\good." + old.first.substr(3) + ".cpp", old.second));
    for (size_t i = arguments.size(); i > 1; --i)
        std::swap(arguments[i - 1], arguments[Random(unsigned(i))]);
    std::string line;
    for (const std::string& argument : arguments)
        line += " \"" + argument + "\"";
    ASSERT_EQ(302u, arguments.size());

    const DWORD dwEmpty = Run(" missing.cur"), dwBatch = Run(line);
    EXPECT_EQ("", Differences(expected, Snapshot(m_folder)));
    EXPECT_TRUE(Contents(trashed) == Contents(Snapshot(TrashFolder() + "\\files")))
        << "the recycle bin holds other texts than the " << nReplaced << " replaced";
    printf("%u arguments, %u conversions, %u replacements (100 ms wait each): %lu ms; start-up alone %lu ms; "
           "%.2f ms per conversion beyond start-up and waits\n", unsigned(arguments.size()), nGood, nReplaced,
           dwBatch, dwEmpty, double(dwBatch - dwEmpty - 100 * nReplaced) / nGood);
}

// Full paths of 259 characters fit the 260 UTF-16 units of the shell's name;
// one more is dropped. Double-byte paths of 259 bytes, the most that the
// shell's ANSI path is sure to hold, go through whole. 0x95 0x5C and 0x83 0x7C
// are characters whose second byte is a backslash and a bar.
TEST_F(Hostile, PathsAtTheLimitsOfTheFileList)
{
    const std::vector<uint8_t> bytes = MakeCursorFile(16, 16, 1, 2);
    const std::string file(bytes.begin(), bytes.end()), text = ConvertCursorBytes(bytes);
    // A file name has at most 255 bytes on the Unix side, where a double-byte
    // character takes three: the longest double-byte paths need a folder.
    std::string level;
    for (int i = 0; i < 30; ++i)
        level += "\x95\x5C";
    level += ".\x83\x7C d";
    const std::string inner = level + "\\" + level + "\\";
    const auto Name = [&](const std::string& folder, const std::string& piece, unsigned nPathBytes, const std::string& tail) {
        std::string name = folder;
        while (m_folder.size() + 1 + name.size() + piece.size() + tail.size() <= nPathBytes)
            name += piece;
        return name + std::string(nPathBytes - m_folder.size() - 1 - name.size() - tail.size(), 'x') + tail;
    };
    ASSERT_TRUE(CreateDirectoryW(Wide(m_folder + "\\" + level).c_str(), nullptr) &&
                CreateDirectoryW(Wide(m_folder + "\\" + inner).c_str(), nullptr));
    struct Case { std::string name; bool converted; };
    const Case CASES[] = {
        {Name("", "n", 259, ".cur"), true}, {Name("", "l", 260, ".cur"), false}, {Name(inner, "\x95\x5C", 259, ".cur"), true},
        {Name(inner, "\x95\x5C", 259, ".\x83\x7C"), true},
        {Name(inner, "\x83\x7C.", 259, ".cur"), true}, {"a.b.c..cur", true}, {"x.y z.cur", true}};
    Folder expected = {{level, DIRECTORY}, {inner.substr(0, inner.size() - 1), DIRECTORY}};
    std::string line;
    for (const Case& c : CASES)
    {
        ASSERT_TRUE(WriteFile(m_folder + "\\" + c.name, file)) << c.name.size() << " bytes: " << c.name;
        expected[c.name] = file;
        if (c.converted)
            expected[CppName(c.name)] = text;
        line += " \"" + c.name + "\"";
    }
    Run(line);
    const Folder after = Snapshot(m_folder);
    for (const Case& c : CASES)
        EXPECT_EQ(c.converted, after.count(CppName(c.name)) == 1)
            << "a path of " << (m_folder + "\\" + c.name).size() << " bytes, " << Wide(m_folder + "\\" + c.name).size() << " units";
    EXPECT_EQ("", Differences(expected, after));
    EXPECT_EQ("", Differences({}, Snapshot(TrashFolder() + "\\files"))) << "a name dropped, yet taken for another";
}

}  // namespace
