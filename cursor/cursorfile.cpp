// Reads a monochrome cursor file strictly in sequence from the start: file
// header, the one directory entry, bitmap header, colour table, XOR mask and
// AND mask. Anything but a one-image, one-bit, uncompressed cursor is refused.
#include "cursor/cursorfile.h"

#include <stdlib.h>
#include <string.h>

namespace
{

const uint32_t BITMAP_HEADER_SIZE = sizeof(BITMAPINFOHEADER);
const unsigned MAX_FILE_ROW_BYTES = (UINT8_MAX + 31) / 32 * 4;

bool ReadItem(FILE* pFile, void* pItem, size_t nSize)
{
    return fread(pItem, nSize, 1, pFile) == 1;
}

bool IsAcceptedFileHeader(const CursorFileHeader& header)
{
    return header.reserved == 0 && header.type == CURSOR_FILE_TYPE && header.count == 1;
}

bool IsAcceptedDirEntry(const CursorDirEntry& entry)
{
    return entry.colorCount == 0 && entry.reserved == 0;
}

bool IsAcceptedBitmapHeader(const BITMAPINFOHEADER& bitmapHeader)
{
    return bitmapHeader.biSize == BITMAP_HEADER_SIZE && bitmapHeader.biPlanes == 1 && bitmapHeader.biBitCount == 1 &&
           bitmapHeader.biCompression == BI_RGB;
}

// Reads height rows of the file's stride and keeps the first nRowBytes of each.
bool ReadMask(FILE* pFile, uint8_t* pMask, unsigned nWidth, unsigned nHeight)
{
    const unsigned nStride = GetFileRowBytes(nWidth);
    const unsigned nRowBytes = GetMaskRowBytes(nWidth);
    uint8_t row[MAX_FILE_ROW_BYTES];
    for (unsigned y = 0; y < nHeight; ++y)
    {
        if (fread(row, 1, nStride, pFile) != nStride)
            return false;
        memcpy(pMask + size_t(y) * nRowBytes, row, nRowBytes);
    }
    return true;
}

}  // namespace

unsigned GetFileRowBytes(unsigned nWidth)
{
    return (nWidth + 31) / 32 * 4;
}

unsigned GetMaskRowBytes(unsigned nWidth)
{
    return (nWidth + 15) / 16 * 2;
}

CursorImage* ReadCursorImage(FILE* pFile)
{
    CursorFileHeader header;
    if (!ReadItem(pFile, &header, sizeof header) || !IsAcceptedFileHeader(header))
        return nullptr;

    CursorDirEntry entry;
    if (!ReadItem(pFile, &entry, sizeof entry) || !IsAcceptedDirEntry(entry))
        return nullptr;

    BITMAPINFOHEADER bitmapHeader;
    if (!ReadItem(pFile, &bitmapHeader, sizeof bitmapHeader) || !IsAcceptedBitmapHeader(bitmapHeader))
        return nullptr;

    uint8_t colorTable[CURSOR_COLOR_TABLE_ENTRIES][CURSOR_COLOR_ENTRY_SIZE];
    if (fread(colorTable, CURSOR_COLOR_ENTRY_SIZE, CURSOR_COLOR_TABLE_ENTRIES, pFile) != CURSOR_COLOR_TABLE_ENTRIES)
        return nullptr;

    const unsigned nMaskSize = GetMaskRowBytes(entry.width) * entry.height;
    CursorImage* pImage = static_cast<CursorImage*>(malloc(sizeof(CursorImage) + 2 * size_t(nMaskSize)));
    if (!pImage)
        return nullptr;
    pImage->header = header;
    pImage->entry = entry;
    pImage->bitmapHeader = bitmapHeader;
    pImage->xorMask = reinterpret_cast<uint8_t*>(pImage + 1);
    pImage->andMask = pImage->xorMask + nMaskSize;

    if (!ReadMask(pFile, pImage->xorMask, entry.width, entry.height) ||
        !ReadMask(pFile, pImage->andMask, entry.width, entry.height))
    {
        free(pImage);
        return nullptr;
    }
    return pImage;
}
