// The cursor reader on the bytes of one file, then the text generator on
// what it accepts: the measuring and writing passes agree, and the text is
// whole, ending in "}\r\n" and its terminator.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "cursor/cursorfile.h"
#include "cursor/cursorsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;  // fmemopen takes no empty buffer
    FILE* pFile = fmemopen(const_cast<uint8_t*>(pData), nSize, "rb");
    if (!pFile)
        return 0;
    CursorImage* pImage = ReadCursorImage(pFile);
    fclose(pFile);
    if (!pImage)
        return 0;
    const unsigned nSourceSize = BuildCursorSource(nullptr, 0, &pImage->entry, pImage->xorMask, pImage->andMask);
    char* pszText = static_cast<char*>(malloc(nSourceSize));  // exactly measured: ASan sees any overrun
    if (BuildCursorSource(pszText, nSourceSize, &pImage->entry, pImage->xorMask, pImage->andMask) != nSourceSize ||
        strlen(pszText) + 1 != nSourceSize || nSourceSize < 4 || strcmp(pszText + nSourceSize - 4, "}\r\n") != 0)
    {
        fprintf(stderr, "measured %u bytes, wrote %zu: the passes disagree or the text is cut\n", nSourceSize,
                strlen(pszText) + 1);
        abort();
    }
    free(pszText);
    free(pImage);
    return 0;
}
