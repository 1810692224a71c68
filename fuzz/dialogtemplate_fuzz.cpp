// The dialog template builder on a dialog and its controls decoded from the
// bytes: the filling walk writes exactly the measured size, the same bytes as
// BuildDialogTemplate, and a cut capacity is never passed.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "about/dialogtemplate.h"

namespace
{

struct ByteReader
{
    const uint8_t* pData;
    size_t nLeft;
};

unsigned Take(ByteReader* pReader, unsigned nBytes)
{
    unsigned value = 0;
    for (unsigned i = 0; i < nBytes && pReader->nLeft > 0; ++i, ++pReader->pData, --pReader->nLeft)
        value |= unsigned(*pReader->pData) << (8 * i);
    return value;
}

// A name field: 0, an ordinal or a string, the strings kept alive in pStrings.
DialogNameOrOrdinal TakeName(ByteReader* pReader, std::vector<std::u16string>* pStrings)
{
    const unsigned nKind = Take(pReader, 1);
    if (nKind % 3 == 0)
        return 0;
    if (nKind % 3 == 1)
        return Take(pReader, 2);
    std::u16string text(Take(pReader, 1) % 40, u'\0');
    for (char16_t& ch : text)
        ch = char16_t(Take(pReader, 2) | 1);  // no NUL inside
    pStrings->push_back(text);
    return reinterpret_cast<DialogNameOrOrdinal>(pStrings->back().c_str());
}

void Fail(const char* pszWhat, size_t nExpected, size_t nGot)
{
    fprintf(stderr, "%s: expected %zu, got %zu\n", pszWhat, nExpected, nGot);
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    ByteReader reader = {pData, nSize};
    std::vector<std::u16string> strings;
    strings.reserve(64);  // no reallocation: the descriptions point into them
    DialogDesc desc = {};
    desc.style = Take(&reader, 4), desc.exStyle = Take(&reader, 4);
    desc.x = int16_t(Take(&reader, 2)), desc.y = int16_t(Take(&reader, 2));
    desc.cx = int16_t(Take(&reader, 2)), desc.cy = int16_t(Take(&reader, 2));
    desc.className = TakeName(&reader, &strings);
    desc.menu = TakeName(&reader, &strings);
    const DialogNameOrOrdinal title = TakeName(&reader, &strings);
    desc.title = title > 0xFFFF ? reinterpret_cast<const char16_t*>(title) : nullptr;
    const DialogNameOrOrdinal face = TakeName(&reader, &strings);
    desc.faceName = face > 0xFFFF ? reinterpret_cast<const char16_t*>(face) : nullptr;
    desc.pointSize = uint16_t(Take(&reader, 2));
    desc.itemCount = uint16_t(Take(&reader, 1) % 12);
    std::vector<DialogItemDesc> items(desc.itemCount + 1);  // one more: never read
    for (uint16_t i = 0; i < desc.itemCount; ++i)
    {
        DialogItemDesc& item = items[i];
        item.className = TakeName(&reader, &strings), item.title = TakeName(&reader, &strings);
        item.style = Take(&reader, 4), item.exStyle = Take(&reader, 4);
        item.x = int16_t(Take(&reader, 2)), item.y = int16_t(Take(&reader, 2));
        item.cx = int16_t(Take(&reader, 2)), item.cy = int16_t(Take(&reader, 2)), item.id = uint16_t(Take(&reader, 2));
    }

    const size_t nWords = WriteDialogTemplate(&desc, items.data(), nullptr, 0);
    unsigned char* pExact = static_cast<unsigned char*>(malloc(nWords * 2));  // exact: ASan sees any overrun
    const size_t nWritten = WriteDialogTemplate(&desc, items.data(), pExact, nWords * 2);
    if (nWritten != nWords)
        Fail("words written into the measured size", nWords, nWritten);
    size_t cbBuilt = 0;
    void* pBuilt = BuildDialogTemplate(&desc, items.data(), &cbBuilt);
    if (cbBuilt != nWords * 2 || memcmp(pBuilt, pExact, cbBuilt) != 0)
        Fail("bytes of BuildDialogTemplate", nWords * 2, cbBuilt);
    const size_t cbCut = nWords ? Take(&reader, 2) % (nWords * 2) : 0;
    unsigned char* pCut = static_cast<unsigned char*>(malloc(cbCut ? cbCut : 1));
    const size_t nCutWords = WriteDialogTemplate(&desc, items.data(), pCut, cbCut);
    if (nCutWords * 2 > cbCut)
        Fail("bytes counted in a cut capacity", cbCut, nCutWords * 2);
    free(pCut);
    free(pBuilt);
    free(pExact);
    return 0;
}
