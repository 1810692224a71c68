// End-to-end tests under Wine: runs a built program as a debuggee that sends its trace
// lines to the test, and reads what a run leaves behind: files, clipboard, recycle bin.
#ifndef QUORZEL_TESTS_SUPPORT_DEBUGGEE_H
#define QUORZEL_TESTS_SUPPORT_DEBUGGEE_H

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

const char NO_TEXT[] = "<none>";  // FileText and ClipboardText of nothing

struct RunResult
{
    DWORD dwExitCode = STILL_ACTIVE;  // STILL_ACTIVE (259): not started, or ended by the test after the time limit
    std::string debugText;            // the texts of every OutputDebugStringA, in order
};

// Runs a command line in a folder with this process as its debugger.
inline RunResult RunUnderDebugger(std::string commandLine, const std::string& folder, DWORD dwTimeLimit = 60000)
{
    RunResult result;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        folder.c_str(), &startup, &process))
        return result;
    const DWORD dwEnd = GetTickCount() + dwTimeLimit;
    for (DEBUG_EVENT event; result.dwExitCode == STILL_ACTIVE;)
    {
        if (!WaitForDebugEvent(&event, std::max<LONG>(0, LONG(dwEnd - GetTickCount()))))
            break;  // a hang
        const DWORD dwCode = event.dwDebugEventCode;
        if (dwCode == CREATE_PROCESS_DEBUG_EVENT || dwCode == LOAD_DLL_DEBUG_EVENT)
            CloseHandle(dwCode == LOAD_DLL_DEBUG_EVENT ? event.u.LoadDll.hFile : event.u.CreateProcessInfo.hFile);
        if (dwCode == OUTPUT_DEBUG_STRING_EVENT)
        {
            std::string text(event.u.DebugString.nDebugStringLength, '\0');
            ReadProcessMemory(process.hProcess, event.u.DebugString.lpDebugStringData, &text[0], text.size(), nullptr);
            result.debugText += text.c_str();  // up to its terminator, or what could be read
        }
        if (dwCode == EXIT_PROCESS_DEBUG_EVENT)
            result.dwExitCode = event.u.ExitProcess.dwExitCode;
        // A crash goes back to the program, which ends with its exception code.
        const bool fCrash = dwCode == EXCEPTION_DEBUG_EVENT &&
                            event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, fCrash ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE);
    }
    if (result.dwExitCode == STILL_ACTIVE)  // detached first, so that its last events do not reach the next run
        DebugActiveProcessStop(process.dwProcessId), TerminateProcess(process.hProcess, 255);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

inline std::string WindowsPath(std::string path)  // a Unix path of the build as Windows sees it, on Z:
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

inline std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : NO_TEXT;
}

inline void RemoveTree(const std::string& path)  // nothing there is no error worth reporting
{
    const std::string list = path + '\0';  // double-NUL-terminated
    SHFILEOPSTRUCTA operation = {nullptr, FO_DELETE, list.c_str(), nullptr,
                                 FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
    SHFileOperationA(&operation);
}

// The clipboard's text, or NO_TEXT; with fEmpty, "" once it is emptied.
inline std::string ClipboardText(bool fEmpty = false)
{
    for (int nTry = 0; !OpenClipboard(nullptr); Sleep(20))  // another process may hold it a moment
        if (++nTry == 50)
            return "<clipboard not opened>";
    HANDLE hData = fEmpty ? nullptr : GetClipboardData(CF_TEXT);
    const char* psz = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    const std::string text = fEmpty ? (EmptyClipboard() ? "" : "<not emptied>") : psz ? psz : NO_TEXT;
    GlobalUnlock(hData), CloseClipboard();  // unlocking nothing does no harm
    return text;
}

inline bool EmptyTheClipboard() { return ClipboardText(true).empty(); }

// Wine's recycle bin: the XDG trash of the build's own data folder (see
// scripts/wine-run). A file moved there is Trash\files\NAME while NAME is free.
inline std::string TrashFolder()
{
    char szData[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", szData, MAX_PATH);
    return WindowsPath(szData) + "\\Trash";
}

#endif
