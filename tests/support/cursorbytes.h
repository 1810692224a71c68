// Cursor files made in memory, for tests that need any size or hot spot and
// variants of a valid file, and the text the core makes of them.
#ifndef QUORZEL_TESTS_SUPPORT_CURSORBYTES_H
#define QUORZEL_TESTS_SUPPORT_CURSORBYTES_H

#include <stdlib.h>

#include <string>
#include <vector>

#include "cursor/cursorfile.h"
#include "cursor/cursorsource.h"

// Where the fields that tests change stand in the file.
const unsigned OFFSET_RESERVED = 0, OFFSET_TYPE = 2, OFFSET_COUNT = 4, OFFSET_WIDTH = 6,
               OFFSET_HEIGHT = 7, OFFSET_COLOR_COUNT = 8, OFFSET_ENTRY_RESERVED = 9,
               OFFSET_HOTSPOT_X = 10, OFFSET_HOTSPOT_Y = 12, OFFSET_BYTES_IN_RES = 14,
               OFFSET_IMAGE_OFFSET = 18, OFFSET_BI_SIZE = 22, OFFSET_BI_WIDTH = 26,
               OFFSET_BI_HEIGHT = 30, OFFSET_BI_PLANES = 34, OFFSET_BI_BIT_COUNT = 36,
               OFFSET_BI_COMPRESSION = 38, OFFSET_WHITE = 66, OFFSET_MASKS = 70;

inline void PutLittleEndian(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = uint8_t(value >> (8 * i));
}

// A file as a cursor editor writes it: XOR then AND mask, rows padded to four bytes.
// The mask bytes, padding included, run through every value: one taken from the wrong place shows.
inline std::vector<uint8_t> MakeCursorFile(unsigned width, unsigned height, unsigned hotX = 0,
                                           unsigned hotY = 0)
{
    const uint32_t maskBytes = (width + 31) / 32 * 4 * height;
    std::vector<uint8_t> bytes(OFFSET_MASKS + 2 * maskBytes, 0);
    const uint32_t fixed[][3] = {{OFFSET_TYPE, 2, 2},          {OFFSET_COUNT, 1, 2},
                                 {OFFSET_IMAGE_OFFSET, 22, 4}, {OFFSET_BI_SIZE, 40, 4},
                                 {OFFSET_BI_PLANES, 1, 2},     {OFFSET_BI_BIT_COUNT, 1, 2},
                                 {OFFSET_WHITE, 0xFFFFFF, 4}};
    for (const auto& field : fixed)
        PutLittleEndian(bytes, field[0], field[1], int(field[2]));
    PutLittleEndian(bytes, OFFSET_WIDTH, width, 1);
    PutLittleEndian(bytes, OFFSET_HEIGHT, height, 1);
    PutLittleEndian(bytes, OFFSET_HOTSPOT_X, hotX, 2);
    PutLittleEndian(bytes, OFFSET_HOTSPOT_Y, hotY, 2);
    PutLittleEndian(bytes, OFFSET_BYTES_IN_RES, 48 + 2 * maskBytes, 4);
    PutLittleEndian(bytes, OFFSET_BI_WIDTH, width, 4);
    PutLittleEndian(bytes, OFFSET_BI_HEIGHT, 2 * height, 4);
    for (uint32_t i = 0; i < 2 * maskBytes; ++i)
        bytes[OFFSET_MASKS + i] = uint8_t(i * 37 + i / 256 + 5);
    return bytes;
}

// Reads the bytes as a cursor file from an anonymous stream; null when refused.
inline CursorImage* ReadCursorBytes(const std::vector<uint8_t>& bytes)
{
    FILE* pFile = tmpfile();
    if (!bytes.empty())  // no null pointer to fwrite
        fwrite(bytes.data(), bytes.size(), 1, pFile);
    rewind(pFile);
    CursorImage* pImage = ReadCursorImage(pFile);
    fclose(pFile);
    return pImage;
}

// The text that every output of the file must carry, or "" when it is refused.
inline std::string ConvertCursorBytes(const std::vector<uint8_t>& bytes)
{
    CursorImage* pImage = ReadCursorBytes(bytes);
    char* pszText =
        pImage ? GenerateCursorSource(&pImage->entry, pImage->xorMask, pImage->andMask) : nullptr;
    const std::string text = pszText ? pszText : "";
    free(pszText);
    free(pImage);
    return text;
}

#endif
