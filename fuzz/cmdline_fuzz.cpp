// SplitCommandLine then ParseOptions on one command line: the count and every
// string lie inside the one block, the strings packed right behind the table.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/cmdline.h"

static void Fail(const char* pszWhat, int nIndex)
{
    fprintf(stderr, "%s (argument %d)\n", pszWhat, nIndex);
    abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    char* pszLine = static_cast<char*>(malloc(nSize + 1));
    memcpy(pszLine, pData, nSize);
    pszLine[nSize] = '\0';
    int nCount = -1;
    char** ppszArgs = SplitCommandLine(pszLine, &nCount);
    if (!ppszArgs)
        Fail("no block", 0);
    if (nCount < 1 || size_t(nCount) > nSize + 1)
        Fail("count out of range", nCount);
    if (ppszArgs[nCount] != nullptr)
        Fail("no null entry after the last argument", nCount);
    // Each string starts where the one before it ended; strlen walks the block,
    // so a string that runs past it is an overread that ASan reports.
    const char* pExpected = reinterpret_cast<const char*>(ppszArgs + nCount + 1);
    size_t nTextBytes = 0;
    for (int i = 0; i < nCount; ++i)
    {
        if (ppszArgs[i] != pExpected)
            Fail("string not packed behind the one before", i);
        const size_t nLength = strlen(ppszArgs[i]);
        pExpected += nLength + 1;
        nTextBytes += nLength;
    }
    if (nTextBytes > nSize)
        Fail("more text than the line had", nCount);
    const unsigned fFlags = ParseOptions(nCount, ppszArgs);
    if ((fFlags & ~(OUTPUT_FILE | OUTPUT_CLIPBOARD)) != 0 || fFlags == 0)
        Fail("output flags out of range", nCount);
    free(ppszArgs);
    free(pszLine);
    return 0;
}
