// The ".cpp" name beside an input, and the rule that lets only a whole ".cpp"
// name that is not the input itself through.
#include "output/outputname.h"

#include <wchar.h>
#include <wctype.h>

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

bool MakeOutputPath(wchar_t* pwszOutputPath, const wchar_t* pwszInputPath)
{
    // The extension starts at the last dot after the last backslash.
    const size_t nLength = wcslen(pwszInputPath);
    size_t nStem = nLength;
    for (size_t i = nLength; i > 0 && pwszInputPath[i - 1] != L'\\' && nStem == nLength; --i)
        if (pwszInputPath[i - 1] == L'.')
            nStem = i - 1;
    const size_t nExtension = sizeof CPP_EXTENSION - 1;
    if (nStem + nExtension >= PATH_CAPACITY)
        return false;
    wmemcpy(pwszOutputPath, pwszInputPath, nStem);
    for (size_t i = 0; i <= nExtension; ++i)
        pwszOutputPath[nStem + i] = wchar_t(CPP_EXTENSION[i]);
    // The name is the input's own when the input's extension is ".cpp" in any case.
    bool fOwnName = nLength - nStem == nExtension;
    for (size_t i = nStem; fOwnName && i < nLength; ++i)
        fOwnName = wchar_t(towlower(pwszInputPath[i])) == pwszOutputPath[i];
    return !fOwnName;
}
