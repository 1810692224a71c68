// End-to-end tests under Wine: runs a built program as a debuggee that sends its trace lines to
// the test, and reads what a run leaves behind: folders, clipboard, recycle bin.
#ifndef QUORZEL_TESTS_SUPPORT_DEBUGGEE_H
#define QUORZEL_TESTS_SUPPORT_DEBUGGEE_H

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

const char NO_TEXT[] = "<none>";  // FileText and ClipboardText of nothing

struct RunResult
{
    DWORD dwExitCode =
        STILL_ACTIVE;  // STILL_ACTIVE (259): not started, or ended by the test after the time limit
    std::string debugText;  // the texts of every OutputDebugStringA, in order
};

// Runs a command line in a folder with this process as its debugger. A crash goes back to the
// program, which ends with its exception code.
inline RunResult RunUnderDebugger(std::string commandLine, const std::string& folder,
                                  DWORD dwTimeLimit = 60000)
{
    RunResult result;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                        nullptr, folder.c_str(), &startup, &process))
        return result;
    const DWORD dwEnd = GetTickCount() + dwTimeLimit;
    DEBUG_EVENT event;
    while (result.dwExitCode == STILL_ACTIVE &&
           WaitForDebugEvent(&event, std::max<LONG>(0, dwEnd - GetTickCount())))
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
            result.debugText += text.c_str();  // up to its terminator
        }
        if (dwCode == EXIT_PROCESS_DEBUG_EVENT)
            result.dwExitCode = event.u.ExitProcess.dwExitCode;
        const bool fCrash = dwCode == EXCEPTION_DEBUG_EVENT &&
                            event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId,
                           fCrash ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE);
    }
    if (result.dwExitCode == STILL_ACTIVE)
    {
        DebugActiveProcessStop(
            process.dwProcessId);  // first, so that no event of it reaches the next run
        TerminateProcess(process.hProcess, 255);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// A Unix path of the build as Windows sees it, on Z:.
inline std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

inline std::string FileText(const std::string& path)
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

inline bool MakeFolder(const std::string& folder, const Folder& files)
{
    bool fMade = CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& file : files)
    {
        const std::string path = folder + "\\" + file.first;
        const bool fFolder = file.second == DIRECTORY;
        fMade = fMade && (fFolder ? CreateDirectoryA(path.c_str(), nullptr)
                                  : (std::ofstream(path, std::ios::binary) << file.second).good());
    }
    return fMade;
}

// Removes a folder, what it holds first: the shell's deletion stops at names of 259 bytes.
inline void RemoveFolder(const std::string& folder)
{
    const Folder files = ListFolder(folder);
    for (auto file = files.rbegin(); file != files.rend(); ++file)
    {
        const std::string path = folder + "\\" + file->first;
        file->second == DIRECTORY ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

// Wine's recycle bin: the XDG trash of the build's own data folder (see scripts/wine-run).
// A file moved there is Trash\files\NAME while NAME is free.
inline std::string TrashFolder()
{
    char szData[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", szData, MAX_PATH);
    return WindowsPath(szData) + "\\Trash";
}

// The path of a folder of the given name in the temporary folder, gone; the recycle bin emptied.
inline std::string FreshFolder(const std::string& name)
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    RemoveFolder(szTemp + name);
    RemoveFolder(TrashFolder());
    return szTemp + name;
}

// Another process may hold the clipboard a moment.
inline bool OpenTheClipboard()
{
    for (int nTry = 0; nTry < 50; ++nTry)
    {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(20);
    }
    return false;
}

inline std::string ClipboardText()
{
    if (!OpenTheClipboard())
        return "<clipboard not opened>";
    HANDLE hData = GetClipboardData(CF_TEXT);
    const char* psz = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    const std::string text = psz ? psz : NO_TEXT;
    GlobalUnlock(hData);  // does no harm on nothing
    CloseClipboard();
    return text;
}

inline bool EmptyTheClipboard()
{
    const bool fEmptied = OpenTheClipboard() && EmptyClipboard();
    CloseClipboard();
    return fEmptied;
}

#endif
