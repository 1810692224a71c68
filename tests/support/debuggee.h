// End-to-end tests under Wine: runs a built program as a debuggee that sends its trace lines to
// the test, and reads what a run leaves behind: folders, clipboard, recycle bin.
#ifndef QUORZEL_TESTS_SUPPORT_DEBUGGEE_H
#define QUORZEL_TESTS_SUPPORT_DEBUGGEE_H

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

const char NO_TEXT[] = "<none>";  // FileText and TakeClipboardText of nothing

// Runs a command line in a folder under this process as debugger (a crash ends it) until it ends or
// a minute passes without an event: every OutputDebugStringA text, then "exit code N" (259: never).
// A UTF-16 line, when given, runs instead through CreateProcessW, in the current folder.
inline std::string RunUnderDebugger(std::string commandLine, const std::string& folder,
                                    std::wstring wideLine = L"")
{
    STARTUPINFOA startup = {sizeof startup};
    STARTUPINFOW wideStartup = {sizeof wideStartup};
    PROCESS_INFORMATION process;
    if (wideLine.empty()
            ? !CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                              DEBUG_ONLY_THIS_PROCESS, nullptr, folder.c_str(), &startup, &process)
            : !CreateProcessW(nullptr, &wideLine[0], nullptr, nullptr, FALSE,
                              DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &wideStartup, &process))
        return "not started";
    std::string trace;
    DWORD dwExitCode = STILL_ACTIVE;
    DEBUG_EVENT event;
    while (dwExitCode == STILL_ACTIVE && WaitForDebugEvent(&event, 60000))
    {
        const DWORD dwCode = event.dwDebugEventCode;
        if (dwCode == CREATE_PROCESS_DEBUG_EVENT)
            CloseHandle(event.u.CreateProcessInfo.hFile);
        if (dwCode == LOAD_DLL_DEBUG_EVENT)
            CloseHandle(event.u.LoadDll.hFile);
        if (dwCode == OUTPUT_DEBUG_STRING_EVENT)
        {
            std::string text(event.u.DebugString.nDebugStringLength, '\0');
            ReadProcessMemory(process.hProcess, event.u.DebugString.lpDebugStringData, &text[0],
                              text.size(), nullptr);
            trace += text.c_str();  // up to its terminator
        }
        if (dwCode == EXIT_PROCESS_DEBUG_EVENT)
            dwExitCode = event.u.ExitProcess.dwExitCode;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_EXCEPTION_NOT_HANDLED);
    }
    // Detached first, so that no event of it reaches the next run.
    DebugActiveProcessStop(process.dwProcessId);
    TerminateProcess(process.hProcess, 255);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return trace + "exit code " + std::to_string(dwExitCode);
}

// A Unix path of the build as Windows sees it, on Z:.
inline std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

// By a std::string path in code page 932, or a std::filesystem::path of any name.
template <class Path> std::string FileText(const Path& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : NO_TEXT;
}

// What a folder holds: each path below it, with its bytes or DIRECTORY.
typedef std::map<std::string, std::string> Folder;
const char DIRECTORY[] = "<folder>";

// Every file and folder below the folder (no test makes a name that starts with a dot).
inline Folder ListFolder(const std::string& folder, const std::string& prefix = "")
{
    Folder files;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((folder + "\\" + prefix + "*").c_str(), &found);
    for (BOOL fMore = hFind != INVALID_HANDLE_VALUE; fMore; fMore = FindNextFileA(hFind, &found))
    {
        const std::string name = prefix + found.cFileName;
        const bool fFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (found.cFileName[0] != '.')
            files[name] = fFolder ? DIRECTORY : FileText(folder + "\\" + name);
        if (found.cFileName[0] != '.' && fFolder)
            files.merge(ListFolder(folder, name + "\\"));
    }
    FindClose(hFind);
    return files;
}

// A line a name, with its size and a digest of its bytes: a failure shows as a diff.
inline std::string Listing(const Folder& files)
{
    std::string listing;
    for (const auto& file : files)
        listing += file.first + ": " + std::to_string(file.second.size()) + " bytes #" +
                   std::to_string(std::hash<std::string>()(file.second)) + "\n";
    return listing;
}

// Wine's recycle bin, the build's own XDG trash: a file moved there is Trash\files\NAME.
inline std::string TrashFolder()
{
    char szData[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", szData, MAX_PATH);
    return WindowsPath(szData) + "\\Trash";
}

// The temporary folder's folder of that name made anew with the files, the recycle bin emptied
// (of names of any characters): its path, or "" if not made. The folder is deleted the deepest
// first: the shell's stops at 259 bytes.
inline std::string FreshFolder(const std::string& name, const Folder& files)
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    const std::string folder = szTemp + name;
    const Folder oldFiles = ListFolder(folder);
    for (auto file = oldFiles.rbegin(); file != oldFiles.rend(); ++file)
        RemoveDirectoryA((folder + "\\" + file->first).c_str()) ||
            DeleteFileA((folder + "\\" + file->first).c_str());
    RemoveDirectoryA(folder.c_str());
    std::filesystem::remove_all(TrashFolder());
    bool fMade = CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& file : files)
    {
        const std::string path = folder + "\\" + file.first;
        fMade = fMade && (file.second == DIRECTORY
                              ? CreateDirectoryA(path.c_str(), nullptr)
                              : (std::ofstream(path, std::ios::binary) << file.second).good());
    }
    return fMade ? folder : "";
}

// The text on the clipboard, then emptied. Another process may hold the clipboard a moment.
inline std::string TakeClipboardText()
{
    for (int nTry = 0; nTry < 50 && !OpenClipboard(nullptr); ++nTry)
        Sleep(20);
    HANDLE hData = GetClipboardData(CF_TEXT);
    const char* psz = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    const std::string text = psz ? psz : NO_TEXT;
    GlobalUnlock(hData);  // does no harm on nothing
    const bool fEmptied = EmptyClipboard();
    CloseClipboard();
    return fEmptied ? text : "<the clipboard not opened>";
}

#endif
