// Writes the C++ text of a cursor: the macros, the AND and XOR arrays as
// pictures of X and _, and the CreateCursor call. One builder serves both
// the measuring run (no buffer) and the writing run, so the two agree.
#include "cursor/cursorsource.h"

#include <stdlib.h>

#include "TOOLS/toolsys.h"

namespace
{

const char NEW_LINE[] = "\r\n";
const char TABS[] = "\t\t\t\t";
const unsigned NUMBER_CAPACITY = 32;

// The picture of a mask byte: one character per bit, the most significant
// first, X for a set bit and _ for a clear one, a blank between neighbours.
// Each picture is stored after the comma that joins it to the byte before it
// in a row, so that a row's later bytes go out in one piece each.
const unsigned MASK_BYTE_TEXT_LENGTH = 15;
const char MASK_BYTE_SEPARATOR = ',';

struct MaskBytePictures
{
    char text[256][1 + MASK_BYTE_TEXT_LENGTH + 1];  // separator, picture, terminator
};

// All 256 pictures, drawn once on first use into zeroed static storage, so
// that the program file does not carry them.
const MaskBytePictures& GetMaskBytePictures()
{
    static MaskBytePictures pictures;
    static bool bDrawn;
    if (bDrawn)
        return pictures;
    for (unsigned value = 0; value < 256; ++value)
    {
        char* pText = pictures.text[value];
        *pText++ = MASK_BYTE_SEPARATOR;
        for (unsigned nBit = 0; nBit < 8; ++nBit)
        {
            if (nBit)
                *pText++ = ' ';
            *pText++ = (value & (0x80u >> nBit)) ? 'X' : '_';
        }
    }
    bDrawn = true;
    return pictures;
}

// A row's text: "m( ", its bytes' pictures joined by commas, " )".
const char ROW_OPEN[] = "m( ";
const char ROW_CLOSE[] = " )";

// The parameters of the row macro, one per byte of a mask row (m is the
// macro itself). A row of a 255-pixel cursor has 32 bytes.
const char MACRO_PARAMETER_NAMES[] = "abcdefghijklnopqrstuvwxyzABCDEFG";

// A cursor of width 0 has no bytes per row; its macro keeps four parameters.
const char EMPTY_ROW_MACRO[] = "( a, b, c, d ) (((((((( 0 a, (((((((( 0 b, (((((((( 0 c, (((((((( 0 d";

// The lines of the call block: tabs, the number (if any) and the text after it.
enum CallNumber
{
    CALL_NUMBER_NONE,
    CALL_NUMBER_HOTSPOT_X,
    CALL_NUMBER_HOTSPOT_Y,
    CALL_NUMBER_WIDTH,
    CALL_NUMBER_HEIGHT,
};

struct CallLine
{
    unsigned nTabs;
    CallNumber number;
    const char* pszText;
};

// The comments say: the instance of the module that creates the cursor, the
// x and y of the hot spot, the width and the height of the cursor.
const CallLine CREATE_CURSOR_CALL[] = {
    {1, CALL_NUMBER_NONE, "return CreateCursor"},
    {2, CALL_NUMBER_NONE, "("},
    {3, CALL_NUMBER_NONE, "hInstance, // カーソルを作成するモジュールのインスタンス"},
    {3, CALL_NUMBER_HOTSPOT_X, ", // ホットスポットの x 座標"},
    {3, CALL_NUMBER_HOTSPOT_Y, ", // ホットスポットの y 座標"},
    {3, CALL_NUMBER_WIDTH, ", // カーソルの幅"},
    {3, CALL_NUMBER_HEIGHT, ", // カーソルの高さ"},
    {3, CALL_NUMBER_NONE, "maskAND, // "},
    {3, CALL_NUMBER_NONE, "maskXOR  // "},
    {2, CALL_NUMBER_NONE, ");"},
};

int GetCallNumber(const CursorDirEntry* pEntry, CallNumber number)
{
    switch (number)
    {
    case CALL_NUMBER_HOTSPOT_X:
        return pEntry->hotspotX;
    case CALL_NUMBER_HOTSPOT_Y:
        return pEntry->hotspotY;
    case CALL_NUMBER_WIDTH:
        return pEntry->width;
    case CALL_NUMBER_HEIGHT:
        return pEntry->height;
    case CALL_NUMBER_NONE:
        break;
    }
    return 0;
}

// A piece of fixed text, whose length the compiler knows.
template <unsigned N> unsigned AppendFixed(char* pBuffer, unsigned nCapacity, unsigned nOffset, const char (&text)[N])
{
    return AppendBytes(pBuffer, nOffset, nCapacity, text, N - 1);
}

// "#define m( a, b ) (((((((( 0 a, (((((((( 0 b" with one parameter per row byte.
unsigned AppendRowMacroDefinition(char* pBuffer, unsigned nCapacity, unsigned nOffset, unsigned nRowBytes)
{
    unsigned n = 0;
    n += AppendFixed(pBuffer, nCapacity, nOffset + n, "#define ");
    n += AppendFixed(pBuffer, nCapacity, nOffset + n, "m");
    if (nRowBytes == 0)
    {
        n += AppendFixed(pBuffer, nCapacity, nOffset + n, EMPTY_ROW_MACRO);
    }
    else
    {
        n += AppendFixed(pBuffer, nCapacity, nOffset + n, "( ");
        for (unsigned i = 0; i < nRowBytes; ++i)
        {
            if (i)
                n += AppendFixed(pBuffer, nCapacity, nOffset + n, ", ");
            n += AppendBytes(pBuffer, nOffset + n, nCapacity, &MACRO_PARAMETER_NAMES[i], 1);
        }
        n += AppendFixed(pBuffer, nCapacity, nOffset + n, " ) ");
        for (unsigned i = 0; i < nRowBytes; ++i)
        {
            if (i)
                n += AppendFixed(pBuffer, nCapacity, nOffset + n, ", ");
            n += AppendFixed(pBuffer, nCapacity, nOffset + n, "(((((((( 0 ");
            n += AppendBytes(pBuffer, nOffset + n, nCapacity, &MACRO_PARAMETER_NAMES[i], 1);
        }
    }
    n += AppendNewLine(pBuffer, nCapacity, nOffset + n);
    return n;
}

template <unsigned N> unsigned AppendLine(char* pBuffer, unsigned nCapacity, unsigned nOffset, const char (&line)[N])
{
    unsigned n = AppendFixed(pBuffer, nCapacity, nOffset, line);
    return n + AppendFixed(pBuffer, nCapacity, nOffset + n, NEW_LINE);
}

}  // namespace

unsigned AppendTabs(char* pBuffer, unsigned nCapacity, unsigned nOffset, unsigned nTabs)
{
    const unsigned nMostAtOnce = sizeof TABS - 1;
    unsigned n = 0;
    for (unsigned nLeft = nTabs; nLeft > 0;)
    {
        const unsigned nPiece = nLeft < nMostAtOnce ? nLeft : nMostAtOnce;
        n += AppendBytes(pBuffer, nOffset + n, nCapacity, TABS, nPiece);
        nLeft -= nPiece;
    }
    return n;
}

unsigned AppendNewLine(char* pBuffer, unsigned nCapacity, unsigned nOffset)
{
    return AppendFixed(pBuffer, nCapacity, nOffset, NEW_LINE);
}

unsigned AppendMaskByte(char* pBuffer, unsigned nCapacity, unsigned nOffset, uint8_t value)
{
    return AppendBytes(pBuffer, nOffset, nCapacity, GetMaskBytePictures().text[value] + 1, MASK_BYTE_TEXT_LENGTH);
}

unsigned AppendMaskRow(char* pBuffer, unsigned nCapacity, unsigned nOffset, const uint8_t* pRow, unsigned nRowBytes)
{
    if (!pBuffer)  // measuring: the length follows from the count of bytes
    {
        const unsigned nPictures = nRowBytes ? nRowBytes * (1 + MASK_BYTE_TEXT_LENGTH) - 1 : 0;
        return unsigned(sizeof ROW_OPEN - 1) + nPictures + unsigned(sizeof ROW_CLOSE - 1);
    }
    const MaskBytePictures& pictures = GetMaskBytePictures();
    unsigned n = 0;
    n += AppendFixed(pBuffer, nCapacity, nOffset + n, ROW_OPEN);
    for (unsigned i = 0; i < nRowBytes; ++i)
    {
        if (i == 0)
            n += AppendMaskByte(pBuffer, nCapacity, nOffset + n, pRow[i]);
        else
            n += AppendBytes(pBuffer, nOffset + n, nCapacity, pictures.text[pRow[i]], 1 + MASK_BYTE_TEXT_LENGTH);
    }
    n += AppendFixed(pBuffer, nCapacity, nOffset + n, ROW_CLOSE);
    return n;
}

unsigned AppendMaskArray(char* pBuffer, unsigned nCapacity, unsigned nOffset, const CursorDirEntry* pEntry,
                         const char* pszName, const uint8_t* pMask)
{
    const unsigned nRowBytes = GetMaskRowBytes(pEntry->width);
    unsigned n = 0;
    n += AppendTabs(pBuffer, nCapacity, nOffset + n, 1);
    n += AppendFixed(pBuffer, nCapacity, nOffset + n, "const BYTE ");
    n += AppendString(pBuffer, nOffset + n, nCapacity, pszName);
    n += AppendLine(pBuffer, nCapacity, nOffset + n, "[ ] = ");
    n += AppendTabs(pBuffer, nCapacity, nOffset + n, 2);
    n += AppendLine(pBuffer, nCapacity, nOffset + n, "{");
    // The mask stores the bottom row first; CreateCursor takes the top row first.
    for (unsigned nRow = pEntry->height; nRow-- > 0;)
    {
        n += AppendTabs(pBuffer, nCapacity, nOffset + n, 3);
        n += AppendMaskRow(pBuffer, nCapacity, nOffset + n, pMask + size_t(nRow) * nRowBytes, nRowBytes);
        n += AppendFixed(pBuffer, nCapacity, nOffset + n, ", \r\n");
    }
    n += AppendTabs(pBuffer, nCapacity, nOffset + n, 2);
    n += AppendLine(pBuffer, nCapacity, nOffset + n, "};");
    return n;
}

unsigned AppendCreateCursorCall(char* pBuffer, unsigned nCapacity, unsigned nOffset, const CursorDirEntry* pEntry)
{
    unsigned n = 0;
    for (const CallLine& line : CREATE_CURSOR_CALL)
    {
        n += AppendTabs(pBuffer, nCapacity, nOffset + n, line.nTabs);
        if (line.number != CALL_NUMBER_NONE)
        {
            char szNumber[NUMBER_CAPACITY];
            FormatBounded(szNumber, sizeof szNumber, "%d", GetCallNumber(pEntry, line.number));
            n += AppendString(pBuffer, nOffset + n, nCapacity, szNumber);
        }
        n += AppendString(pBuffer, nOffset + n, nCapacity, line.pszText);
        n += AppendNewLine(pBuffer, nCapacity, nOffset + n);
    }
    return n;
}

unsigned BuildCursorSource(char* pBuffer, unsigned nCapacity, const CursorDirEntry* pEntry, const uint8_t* pXorMask,
                           const uint8_t* pAndMask)
{
    unsigned n = 0;
    n += AppendLine(pBuffer, nCapacity, n, "{");
    n += AppendRowMacroDefinition(pBuffer, nCapacity, n, GetMaskRowBytes(pEntry->width));
    n += AppendLine(pBuffer, nCapacity, n, "#define X )*2+1");
    n += AppendLine(pBuffer, nCapacity, n, "#define _ )*2");
    n += AppendMaskArray(pBuffer, nCapacity, n, pEntry, "maskAND", pAndMask);
    n += AppendMaskArray(pBuffer, nCapacity, n, pEntry, "maskXOR", pXorMask);
    n += AppendFixed(pBuffer, nCapacity, n, "#undef ");
    n += AppendLine(pBuffer, nCapacity, n, "m");
    n += AppendLine(pBuffer, nCapacity, n, "#undef X");
    n += AppendLine(pBuffer, nCapacity, n, "#undef _");
    n += AppendNewLine(pBuffer, nCapacity, n);
    n += AppendCreateCursorCall(pBuffer, nCapacity, n, pEntry);
    n += AppendLine(pBuffer, nCapacity, n, "}");
    if (pBuffer && nCapacity == 0)
        return 0;  // not even the terminator fits
    return n + 1;
}

char* GenerateCursorSource(const CursorDirEntry* pEntry, const uint8_t* pXorMask, const uint8_t* pAndMask)
{
    const unsigned nSize = BuildCursorSource(nullptr, 0, pEntry, pXorMask, pAndMask);
    char* pszText = static_cast<char*>(malloc(nSize));
    if (!pszText)
        return nullptr;
    BuildCursorSource(pszText, nSize, pEntry, pXorMask, pAndMask);
    return pszText;
}
