// The list of files to convert. Every argument that names an existing item
// becomes the full path the shell gives for it; the rest are dropped.
#include "app/filelist.h"

#include <stdlib.h>
#include <string.h>

#include <windows.h>

#include <shlobj.h>

#include "TOOLS/toolsys.h"

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

// The argument made absolute against the current directory, so that the shell
// (which would take a relative name against the Desktop) sees the same item
// as the existence test did. False when it does not fit a path buffer.
bool GetAbsolutePath(char* pszAbsolutePath, const char* pszArg)
{
    const DWORD dwLength = GetFullPathNameA(pszArg, PATH_CAPACITY, pszAbsolutePath, nullptr);
    return dwLength != 0 && dwLength < PATH_CAPACITY;
}

}  // namespace

bool GetShellFullPath(char* pszFullPath, const char* pszArg)
{
    pszFullPath[0] = '\0';

    char szAbsolutePath[PATH_CAPACITY];
    WCHAR wszName[WIDE_NAME_CAPACITY];
    if (!GetAbsolutePath(szAbsolutePath, pszArg) ||
        !MultiByteToWideChar(CP_ACP, 0, szAbsolutePath, -1, wszName, WIDE_NAME_CAPACITY))
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

char** BuildFileList(int nArgs, char** ppszArgs, int* pnCount)
{
    char** ppszList = static_cast<char**>(malloc((size_t(nArgs) + 1) * sizeof(char*)));
    if (!ppszList)
        return nullptr;

    int nCount = 0;
    for (int i = 0; i < nArgs; ++i)
    {
        char szFullPath[PATH_CAPACITY];
        if (GetFileAttributesA(ppszArgs[i]) == INVALID_FILE_ATTRIBUTES || !GetShellFullPath(szFullPath, ppszArgs[i]))
            continue;
        ppszList[nCount] = strdup(szFullPath);
        if (!ppszList[nCount])
        {
            FreeFileList(ppszList, nCount);
            return nullptr;
        }
        ++nCount;
    }
    ppszList[nCount] = nullptr;
    *pnCount = nCount;
    return ppszList;
}

void FreeFileList(char** ppszList, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        free(ppszList[i]);
    free(ppszList);
}
