// Reading a monochrome Windows cursor file: one image, one bit per pixel,
// uncompressed, laid out from the start of the file. The masks are kept with
// the row length that CreateCursor takes.
#ifndef QUORZEL_CURSOR_CURSORFILE_H
#define QUORZEL_CURSOR_CURSORFILE_H

#include <stdint.h>
#include <stdio.h>

#include "TOOLS/platform.h"

const uint16_t CURSOR_FILE_TYPE = 2;  // the header's type for a cursor (1 is an icon)
const uint32_t CURSOR_COLOR_TABLE_ENTRIES = 2;
const uint32_t CURSOR_COLOR_ENTRY_SIZE = 4;

struct CursorFileHeader
{
    uint16_t reserved;
    uint16_t type;
    uint16_t count;
};

struct CursorDirEntry
{
    uint8_t width;
    uint8_t height;
    uint8_t colorCount;
    uint8_t reserved;
    uint16_t hotspotX;
    uint16_t hotspotY;
    uint32_t bytesInRes;
    uint32_t imageOffset;
};

// One heap block: the headers as read, then the XOR and AND masks, each
// GetMaskRowBytes(width) x height bytes, rows in file order (bottom row first).
struct CursorImage
{
    CursorFileHeader header;
    CursorDirEntry entry;
    BITMAPINFOHEADER bitmapHeader;
    uint8_t* xorMask;
    uint8_t* andMask;
};

// Bytes per mask row in the file: rows are padded to 4 bytes.
unsigned GetFileRowBytes(unsigned nWidth);

// Bytes per mask row as CreateCursor takes them: rows padded to 2 bytes.
unsigned GetMaskRowBytes(unsigned nWidth);

// Reads the cursor from a stream opened "rb" at the start of the file.
// Null for anything but an accepted cursor; the caller frees the image.
CursorImage* ReadCursorImage(FILE* pFile);

#endif
