// The list of files to convert. Every argument that names an existing item
// becomes the full path the shell gives for it; the rest are dropped. An
// argument whose name, or whose full path, the ANSI code page cannot spell
// goes the same way by its UTF-16 name, through the system's W calls.
#include "app/filelist.h"

#include <stdlib.h>
#include <string.h>

#include <windows.h>

#include <shlobj.h>

#include "TOOLS/toolsys.h"
#include "output/outputfile.h"

namespace
{

// What the shell's display-name parser takes: a UTF-16 name of at most
// MAX_PATH units with its terminator.
const int WIDE_NAME_CAPACITY = MAX_PATH;
// What SHGetPathFromIDListA may write, whatever its documented limit.
const unsigned SHELL_PATH_CAPACITY = 65536;

bool GetPathFromItemIdList(char* pszFullPath, LPCITEMIDLIST pidl)
{
    char szShellPath[SHELL_PATH_CAPACITY];
    if (!SHGetPathFromIDListA(pidl, szShellPath))
        return false;
    CopyString(pszFullPath, PATH_CAPACITY, szShellPath);
    return true;
}

// Writes at most MAX_PATH units, well within a path buffer.
bool GetPathFromItemIdList(wchar_t* pwszFullPath, LPCITEMIDLIST pidl)
{
    return SHGetPathFromIDListW(pidl, pwszFullPath);
}

// The argument made absolute against the current directory, so that the shell
// (which would take a relative name against the Desktop) sees the same item
// as the existence test did, in the UTF-16 form that the shell parses. False
// when it does not fit a path buffer or the shell's name.
bool GetShellName(WCHAR* pwszName, const char* pszArg)
{
    char szAbsolutePath[PATH_CAPACITY];
    const DWORD dwLength = GetFullPathNameA(pszArg, PATH_CAPACITY, szAbsolutePath, nullptr);
    return dwLength != 0 && dwLength < PATH_CAPACITY &&
           MultiByteToWideChar(CP_ACP, 0, szAbsolutePath, -1, pwszName, WIDE_NAME_CAPACITY);
}

bool GetShellName(WCHAR* pwszName, const wchar_t* pwszArg)
{
    const DWORD dwLength = GetFullPathNameW(pwszArg, WIDE_NAME_CAPACITY, pwszName, nullptr);
    return dwLength != 0 && dwLength < DWORD(WIDE_NAME_CAPACITY);
}

char* DuplicatePath(const char* pszPath)
{
    return strdup(pszPath);
}

wchar_t* DuplicatePath(const wchar_t* pszPath)
{
    return _wcsdup(pszPath);
}

// The full path of an argument that names an existing item, in a heap copy;
// null when it names nothing, and also when the copy cannot be allocated,
// which *pfNoMemory tells.
template <typename Char> Char* DuplicateFullPath(const Char* pszArg, bool* pfNoMemory)
{
    Char szFullPath[PATH_CAPACITY];
    if (!PathExists(pszArg) || !GetShellFullPath(szFullPath, pszArg))
        return nullptr;
    Char* pszCopy = DuplicatePath(szFullPath);
    *pfNoMemory = !pszCopy;
    return pszCopy;
}

// Whether an argument must be taken by its UTF-16 form: the ANSI code page
// cannot spell it, or the full path it stands for (a name in a folder whose
// name it cannot spell). Where it spells both, the ANSI form is exactly the
// same text, and the ANSI calls take it as they always have.
bool NeedsWideName(const wchar_t* pwszArg)
{
    if (!GetExactAnsiText(nullptr, 0, pwszArg))
        return true;
    WCHAR wszFullPath[PATH_CAPACITY];
    const DWORD dwLength = GetFullPathNameW(pwszArg, PATH_CAPACITY, wszFullPath, nullptr);
    return dwLength != 0 && dwLength < PATH_CAPACITY && !GetExactAnsiText(nullptr, 0, wszFullPath);
}

}  // namespace

template <typename Char> bool GetShellFullPath(Char* pszFullPath, const Char* pszArg)
{
    pszFullPath[0] = '\0';

    WCHAR wszName[WIDE_NAME_CAPACITY];
    if (!GetShellName(wszName, pszArg))
        return false;  // a name too long for the shell is dropped

    IMalloc* pMalloc = nullptr;
    if (FAILED(SHGetMalloc(&pMalloc)))
        return false;
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)))
    {
        pMalloc->Release();
        return false;
    }

    ULONG nEaten = 0;
    LPITEMIDLIST pidl = nullptr;
    bool fFound = false;
    if (SUCCEEDED(pDesktop->ParseDisplayName(nullptr, nullptr, wszName, &nEaten, &pidl, nullptr)))
    {
        fFound = GetPathFromItemIdList(pszFullPath, pidl);
        pMalloc->Free(pidl);
    }
    pDesktop->Release();
    pMalloc->Release();
    if (!fFound)
        pszFullPath[0] = '\0';
    return fFound;
}

template bool GetShellFullPath(char*, const char*);
template bool GetShellFullPath(wchar_t*, const wchar_t*);

FileListEntry* BuildFileList(int nArgs, char** ppszArgs, wchar_t** ppwszArgs, int* pnCount)
{
    FileListEntry* pList = static_cast<FileListEntry*>(malloc((size_t(nArgs) + 1) * sizeof(FileListEntry)));
    if (!pList)
        return nullptr;

    int nCount = 0;
    for (int i = 0; i < nArgs; ++i)
    {
        FileListEntry& entry = pList[nCount];
        entry = {nullptr, nullptr};
        bool fNoMemory = false;
        if (ppwszArgs && NeedsWideName(ppwszArgs[i]))
            entry.pwszPath = DuplicateFullPath(ppwszArgs[i], &fNoMemory);
        else
            entry.pszPath = DuplicateFullPath(ppszArgs[i], &fNoMemory);
        if (fNoMemory)
        {
            FreeFileList(pList, nCount);
            return nullptr;
        }
        if (entry.pszPath || entry.pwszPath)
            ++nCount;
    }
    pList[nCount] = {nullptr, nullptr};
    *pnCount = nCount;
    return pList;
}

void FreeFileList(FileListEntry* pList, int nCount)
{
    for (int i = 0; i < nCount; ++i)
    {
        free(pList[i].pszPath);
        free(pList[i].pwszPath);
    }
    free(pList);
}
