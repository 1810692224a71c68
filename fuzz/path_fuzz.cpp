// FindExtension, SetCppExtension and the output-name rule on one path in a
// 522-byte buffer: nothing grows past 521 bytes, and only a name that ends in
// a whole ".cpp" and is not the input's own goes through, the same for an
// ASCII path by the rule for UTF-16 paths.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "TOOLS/toolsys.h"
#include "output/outputname.h"

static void Fail(const char* pszWhat, const char* pszPath)
{
    fprintf(stderr, "%s: \"%s\"\n", pszWhat, pszPath);
    abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    char* pszPath = static_cast<char*>(malloc(PATH_CAPACITY));  // exact: ASan sees a write past it
    const size_t nCopied = nSize < PATH_CAPACITY - 1 ? nSize : PATH_CAPACITY - 1;
    memcpy(pszPath, pData, nCopied);
    pszPath[nCopied] = '\0';
    const size_t nLength = strlen(pszPath);

    const char* pExtension = FindExtension(pszPath);
    if (pExtension < pszPath || pExtension > pszPath + nLength || (*pExtension != '\0' && *pExtension != '.'))
        Fail("extension outside the name", pszPath);
    for (const char* p = pExtension; *p != '\0'; ++p)
        if (IsPathSeparatorAt(pszPath, unsigned(p - pszPath)))
            Fail("extension crosses a backslash", pszPath);

    char* pszOutput = static_cast<char*>(malloc(PATH_CAPACITY));
    const bool fUsable = MakeOutputPath(pszOutput, pszPath);
    const size_t nStem = size_t(pExtension - pszPath);
    const size_t nOutput = strlen(pszOutput);
    if (nOutput > PATH_CAPACITY - 1)
        Fail("output name past 521 bytes", pszOutput);
    const bool fWhole = nOutput == nStem + 4 && memcmp(pszOutput + nStem, ".cpp", 5) == 0;
    if (fUsable != (fWhole && strncasecmp(pszOutput, pszPath, PATH_CAPACITY) != 0))
        Fail(fUsable ? "a cut or own name went through" : "a whole .cpp name was refused", pszOutput);

    // A path of ASCII alone, which has no double-byte characters, gets the
    // same name by the rule for UTF-16 paths.
    wchar_t* pwszPath = static_cast<wchar_t*>(malloc(PATH_CAPACITY * sizeof(wchar_t)));
    wchar_t* pwszOutput = static_cast<wchar_t*>(malloc(PATH_CAPACITY * sizeof(wchar_t)));
    bool fAscii = true;
    for (size_t i = 0; i <= nLength; ++i)
    {
        pwszPath[i] = wchar_t(static_cast<unsigned char>(pszPath[i]));
        fAscii = fAscii && pwszPath[i] <= 0x7F;
    }
    if (fAscii && MakeOutputPath(pwszOutput, pwszPath) != fUsable)
        Fail("the UTF-16 rule takes the name otherwise", pszOutput);
    for (size_t i = 0; fAscii && fUsable && i <= nOutput; ++i)
        if (pwszOutput[i] != wchar_t(pszOutput[i]))
            Fail("the UTF-16 rule gives another name", pszOutput);
    free(pwszOutput);
    free(pwszPath);

    CopyString(pszOutput, PATH_CAPACITY, pszPath);
    SetCppExtension(pszOutput);
    if (strlen(pszOutput) > PATH_CAPACITY - 1)
        Fail("SetCppExtension grew past 521 bytes", pszOutput);
    free(pszOutput);
    free(pszPath);
    return 0;
}
