// The ".cpp" name beside an input, and the rule that lets only a whole ".cpp"
// name that is not the input itself through.
#include "output/outputname.h"

#include "TOOLS/toolsys.h"

bool MakeOutputPath(char* pszOutputPath, const char* pszInputPath)
{
    CopyString(pszOutputPath, PATH_CAPACITY, pszInputPath);
    SetCppExtension(pszOutputPath);
    const char* pEnd = StringEnd(pszOutputPath);
    const unsigned nLength = unsigned(pEnd - pszOutputPath);
    const unsigned nExtension = sizeof CPP_EXTENSION - 1;
    return nLength >= nExtension && IsSameString(pEnd - nExtension, CPP_EXTENSION) &&
           !IsSameStringNoCase(pszOutputPath, pszInputPath);
}
