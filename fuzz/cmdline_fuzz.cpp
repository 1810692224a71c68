// SplitCommandLine then ParseOptions on one command line: the count and every
// string lie inside the one block, the strings packed right behind the table.
// The same line split as wide text gives the same arguments, and its block
// holds to the same rules.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "app/cmdline.h"

// Units U+4E00 to U+4E7F (CJK ideographs): their low bytes run through ASCII.
static const unsigned WIDE_UNITS_BASE = 0x4E00;

static char AsAnsi(wchar_t unit)
{
    return unit < 0x80 ? char(unit) : 'x';
}

static void Fail(const char* pszWhat, int nIndex)
{
    fprintf(stderr, "%s (argument %d)\n", pszWhat, nIndex);
    abort();
}

static size_t Length(const char* psz)
{
    return strlen(psz);
}

static size_t Length(const wchar_t* psz)
{
    return wcslen(psz);
}

// The block of a line of nUnits units: its count, each string packed behind
// the one before it; Length walks the block, so a string that runs past it is
// an overread that ASan reports.
template <typename Char> static Char** CheckedSplit(const Char* pszLine, size_t nUnits, int* pnCount)
{
    int nCount = -1;
    Char** ppszArgs = SplitCommandLine(pszLine, &nCount);
    if (!ppszArgs)
        Fail("no block", 0);
    if (nCount < 1 || size_t(nCount) > nUnits + 1)
        Fail("count out of range", nCount);
    if (ppszArgs[nCount] != nullptr)
        Fail("no null entry after the last argument", nCount);
    const Char* pExpected = reinterpret_cast<const Char*>(ppszArgs + nCount + 1);
    size_t nTextUnits = 0;
    for (int i = 0; i < nCount; ++i)
    {
        if (ppszArgs[i] != pExpected)
            Fail("string not packed behind the one before", i);
        const size_t nLength = Length(ppszArgs[i]);
        pExpected += nLength + 1;
        nTextUnits += nLength;
    }
    if (nTextUnits > nUnits)
        Fail("more text than the line had", nCount);
    *pnCount = nCount;
    return ppszArgs;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    char* pszLine = static_cast<char*>(malloc(nSize + 1));
    memcpy(pszLine, pData, nSize);
    pszLine[nSize] = '\0';
    int nCount = -1;
    char** ppszArgs = CheckedSplit(pszLine, nSize, &nCount);
    const unsigned fFlags = ParseOptions(nCount, ppszArgs);
    if ((fFlags & ~(OUTPUT_FILE | OUTPUT_CLIPBOARD)) != 0 || fFlags == 0)
        Fail("output flags out of range", nCount);
    free(ppszArgs);

    // Each byte from 0x80 up becomes 'x' in the ANSI line and, in the wide
    // line, a unit whose low byte may be a blank, a quote or a backslash: the
    // wide split must take it for the ordinary character that 'x' is.
    wchar_t* pwszLine = static_cast<wchar_t*>(malloc((nSize + 1) * sizeof(wchar_t)));
    for (size_t i = 0; i < nSize; ++i)
    {
        pszLine[i] = pData[i] < 0x80 ? char(pData[i]) : 'x';
        pwszLine[i] = pData[i] < 0x80 ? wchar_t(pData[i]) : wchar_t(WIDE_UNITS_BASE + (pData[i] & 0x7F));
    }
    pwszLine[nSize] = L'\0';
    int nWideCount = -1;
    ppszArgs = CheckedSplit(pszLine, nSize, &nCount);
    wchar_t** ppwszArgs = CheckedSplit(pwszLine, nSize, &nWideCount);
    if (nWideCount != nCount)
        Fail("the wide split counts otherwise", nWideCount);
    for (int i = 0; i < nCount; ++i)
    {
        size_t n = 0;
        while (ppszArgs[i][n] != '\0' && ppszArgs[i][n] == AsAnsi(ppwszArgs[i][n]))
            ++n;
        if (ppszArgs[i][n] != AsAnsi(ppwszArgs[i][n]))
            Fail("the wide split gives another argument", i);
    }
    free(ppwszArgs);
    free(ppszArgs);
    free(pwszLine);
    free(pszLine);
    return 0;
}
