// The ".cpp" file beside an input. An old file of that name goes to the
// recycle bin first, so that a conversion never destroys anything for good.
#include "output/outputfile.h"

#include <windows.h>

#include <shellapi.h>

#include "TOOLS/toolsys.h"
#include "output/outputname.h"

namespace
{

// The recycle bin may take a moment to let go of the name.
const DWORD RECYCLE_WAIT_MS = 100;

// The output path, then two NULs: the list form that SHFileOperationA takes.
const unsigned DELETION_LIST_CAPACITY = PATH_CAPACITY + 2;

}  // namespace

bool PathExists(const char* pszPath)
{
    return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectoryPath(const char* pszPath)
{
    const DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFilePath(const char* pszPath)
{
    const DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteToRecycleBin(const char* pszList)
{
    SHFILEOPSTRUCTA operation;
    ClearBytes(&operation, sizeof operation);
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = pszList;
    operation.pTo = nullptr;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    SHFileOperationA(&operation);
    return true;
}

FILE* OpenOutputFile(const char* pszInputPath)
{
    char szOutputPath[PATH_CAPACITY];
    if (!MakeOutputPath(szOutputPath, pszInputPath))
        return nullptr;
    if (IsDirectoryPath(szOutputPath))
        return nullptr;
    if (IsFilePath(szOutputPath))
    {
        char szDeletionList[DELETION_LIST_CAPACITY];
        FormatBounded(szDeletionList, sizeof szDeletionList, "%s%c%c", szOutputPath, 0, 0);
        DeleteToRecycleBin(szDeletionList);
        Sleep(RECYCLE_WAIT_MS);
        // Whatever the recycle bin did not take stays as it was.
        if (PathExists(szOutputPath))
            return nullptr;
    }
    return fopen(szOutputPath, "wb");
}
