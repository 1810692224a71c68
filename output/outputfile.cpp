// The ".cpp" file beside an input. An old file of that name goes to the
// recycle bin first, so that a conversion never destroys anything for good.
// One algorithm for both kinds of path; only the system calls differ.
#include "output/outputfile.h"

#include <windows.h>

#include <shellapi.h>

#include "TOOLS/toolsys.h"
#include "output/outputname.h"

namespace
{

// The recycle bin may take a moment to let go of the name.
const DWORD RECYCLE_WAIT_MS = 100;

// The output path, then two NULs: the list form that SHFileOperation takes.
const unsigned DELETION_LIST_CAPACITY = PATH_CAPACITY + 2;

DWORD GetAttributes(const char* pszPath)
{
    return GetFileAttributesA(pszPath);
}

DWORD GetAttributes(const wchar_t* pszPath)
{
    return GetFileAttributesW(pszPath);
}

// The record that SHFileOperationA or SHFileOperationW takes, by character type.
template <typename Char> struct FileOperationRecord
{
    typedef SHFILEOPSTRUCTA Type;
};

template <> struct FileOperationRecord<wchar_t>
{
    typedef SHFILEOPSTRUCTW Type;
};

void RunFileOperation(SHFILEOPSTRUCTA* pOperation)
{
    SHFileOperationA(pOperation);
}

void RunFileOperation(SHFILEOPSTRUCTW* pOperation)
{
    SHFileOperationW(pOperation);
}

}  // namespace

FILE* OpenFileStream(const char* pszPath, const char* pszMode)
{
    return fopen(pszPath, pszMode);
}

FILE* OpenFileStream(const wchar_t* pszPath, const char* pszMode)
{
    const wchar_t wszMode[] = {wchar_t(pszMode[0]), wchar_t(pszMode[1]), L'\0'};
    return _wfopen(pszPath, wszMode);
}

template <typename Char> bool PathExists(const Char* pszPath)
{
    return GetAttributes(pszPath) != INVALID_FILE_ATTRIBUTES;
}

template <typename Char> bool IsDirectoryPath(const Char* pszPath)
{
    const DWORD dwAttributes = GetAttributes(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

template <typename Char> bool IsFilePath(const Char* pszPath)
{
    const DWORD dwAttributes = GetAttributes(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

template <typename Char> bool DeleteToRecycleBin(const Char* pszList)
{
    typename FileOperationRecord<Char>::Type operation;
    ClearBytes(&operation, sizeof operation);
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = pszList;
    operation.pTo = nullptr;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    RunFileOperation(&operation);
    return true;
}

template <typename Char> FILE* OpenOutputFile(const Char* pszInputPath)
{
    Char szOutputPath[PATH_CAPACITY];
    if (!MakeOutputPath(szOutputPath, pszInputPath))
        return nullptr;
    if (IsDirectoryPath(szOutputPath))
        return nullptr;
    if (IsFilePath(szOutputPath))
    {
        Char szDeletionList[DELETION_LIST_CAPACITY];
        unsigned nLength = 0;
        for (; szOutputPath[nLength] != 0; ++nLength)
            szDeletionList[nLength] = szOutputPath[nLength];
        szDeletionList[nLength] = 0;
        szDeletionList[nLength + 1] = 0;
        DeleteToRecycleBin(szDeletionList);
        Sleep(RECYCLE_WAIT_MS);
        // Whatever the recycle bin did not take stays as it was.
        if (PathExists(szOutputPath))
            return nullptr;
    }
    return OpenFileStream(szOutputPath, "wb");
}

template bool PathExists(const char*);
template bool PathExists(const wchar_t*);
template bool IsDirectoryPath(const char*);
template bool IsDirectoryPath(const wchar_t*);
template bool IsFilePath(const char*);
template bool IsFilePath(const wchar_t*);
template bool DeleteToRecycleBin(const char*);
template bool DeleteToRecycleBin(const wchar_t*);
template FILE* OpenOutputFile(const char*);
template FILE* OpenOutputFile(const wchar_t*);
