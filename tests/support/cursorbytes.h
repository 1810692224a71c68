// Builds the bytes of a monochrome cursor file in memory, for tests that need
// cursors of any size, hot spot or mask contents, and for variants of them.
#ifndef QUORZEL_TESTS_CURSORBYTES_H
#define QUORZEL_TESTS_CURSORBYTES_H

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

struct CursorDrawing
{
    unsigned width;      // 0 to 255 (stored as a byte)
    unsigned height;     // 0 to 255
    unsigned hotspotX;
    unsigned hotspotY;
    // Pixel (x, y), y = 0 the top row: true when the bit is set in that mask.
    bool (*xorPixel)(unsigned x, unsigned y);
    bool (*andPixel)(unsigned x, unsigned y);
};

// Field offsets in the file, for tests that patch a header field.
enum CursorFileOffset
{
    OFFSET_RESERVED = 0,
    OFFSET_TYPE = 2,
    OFFSET_COUNT = 4,
    OFFSET_WIDTH = 6,
    OFFSET_HEIGHT = 7,
    OFFSET_COLOR_COUNT = 8,
    OFFSET_ENTRY_RESERVED = 9,
    OFFSET_HOTSPOT_X = 10,
    OFFSET_HOTSPOT_Y = 12,
    OFFSET_BYTES_IN_RES = 14,
    OFFSET_IMAGE_OFFSET = 18,
    OFFSET_BI_SIZE = 22,
    OFFSET_BI_PLANES = 34,
    OFFSET_BI_BIT_COUNT = 36,
    OFFSET_BI_COMPRESSION = 38,
    OFFSET_COLOR_TABLE = 62,
    OFFSET_MASKS = 70,
};

inline void PutLittleEndian(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = uint8_t(value >> (8 * i));
}

inline unsigned FileStride(unsigned width) { return (width + 31) / 32 * 4; }

// The file as a cursor editor writes it: XOR then AND mask, each row padded
// to 4 bytes with zero bits, the bottom row first.
inline std::vector<uint8_t> MakeCursorFile(const CursorDrawing& drawing)
{
    const unsigned stride = FileStride(drawing.width);
    const unsigned maskBytes = stride * drawing.height;
    std::vector<uint8_t> bytes(OFFSET_MASKS + 2 * maskBytes, 0);
    PutLittleEndian(bytes, OFFSET_TYPE, 2, 2);
    PutLittleEndian(bytes, OFFSET_COUNT, 1, 2);
    bytes[OFFSET_WIDTH] = uint8_t(drawing.width);
    bytes[OFFSET_HEIGHT] = uint8_t(drawing.height);
    PutLittleEndian(bytes, OFFSET_HOTSPOT_X, drawing.hotspotX, 2);
    PutLittleEndian(bytes, OFFSET_HOTSPOT_Y, drawing.hotspotY, 2);
    PutLittleEndian(bytes, OFFSET_BYTES_IN_RES, 40 + 8 + 2 * maskBytes, 4);
    PutLittleEndian(bytes, OFFSET_IMAGE_OFFSET, OFFSET_BI_SIZE, 4);
    PutLittleEndian(bytes, OFFSET_BI_SIZE, 40, 4);
    PutLittleEndian(bytes, OFFSET_BI_SIZE + 4, drawing.width, 4);
    PutLittleEndian(bytes, OFFSET_BI_SIZE + 8, 2 * drawing.height, 4);
    PutLittleEndian(bytes, OFFSET_BI_PLANES, 1, 2);
    PutLittleEndian(bytes, OFFSET_BI_BIT_COUNT, 1, 2);
    PutLittleEndian(bytes, OFFSET_BI_SIZE + 20, 2 * maskBytes, 4);
    PutLittleEndian(bytes, OFFSET_COLOR_TABLE + 4, 0x00FFFFFF, 4);  // black, white
    for (unsigned mask = 0; mask < 2; ++mask)
    {
        bool (*pixel)(unsigned, unsigned) = mask == 0 ? drawing.xorPixel : drawing.andPixel;
        for (unsigned row = 0; row < drawing.height; ++row)
        {
            const unsigned y = drawing.height - 1 - row;  // bottom row stored first
            uint8_t* pRow = &bytes[OFFSET_MASKS + mask * maskBytes + row * stride];
            for (unsigned x = 0; x < drawing.width; ++x)
                if (pixel && pixel(x, y))
                    pRow[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    return bytes;
}

// Writes bytes to a file; false when it cannot be written whole.
inline bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* pFile = fopen(path.c_str(), "wb");
    if (!pFile)
        return false;
    const bool fWritten = fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return fclose(pFile) == 0 && fWritten;
}

// An anonymous temporary stream holding the bytes, positioned at the start.
inline FILE* OpenBytesAsStream(const std::vector<uint8_t>& bytes)
{
    FILE* pFile = tmpfile();
    if (!pFile)
        return nullptr;
    if (!bytes.empty() && fwrite(bytes.data(), 1, bytes.size(), pFile) != bytes.size())
    {
        fclose(pFile);
        return nullptr;
    }
    rewind(pFile);
    return pFile;
}

#endif
