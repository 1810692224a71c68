// The C++ source text that rebuilds a cursor with CreateCursor. The masks are
// written as pictures of X and _ that three macros turn back into bytes.
#ifndef QUORZEL_CURSOR_CURSORSOURCE_H
#define QUORZEL_CURSOR_CURSORSOURCE_H

#include <stdint.h>

#include "cursor/cursorfile.h"

// The text in one heap block with its terminator, or null; the caller frees it.
char* GenerateCursorSource(const CursorDirEntry* pEntry, const uint8_t* pXorMask, const uint8_t* pAndMask);

// Builds the whole text into pBuffer (cut to fit nCapacity, always terminated)
// and returns the bytes written with the terminator; with a null buffer,
// writes nothing and returns the full length plus 1.
unsigned BuildCursorSource(char* pBuffer, unsigned nCapacity, const CursorDirEntry* pEntry, const uint8_t* pXorMask,
                           const uint8_t* pAndMask);

// The pieces of the text. Each appends at nOffset and returns the bytes it
// appended (its full length when the buffer is null).
unsigned AppendTabs(char* pBuffer, unsigned nCapacity, unsigned nOffset, unsigned nTabs);
unsigned AppendNewLine(char* pBuffer, unsigned nCapacity, unsigned nOffset);
unsigned AppendMaskByte(char* pBuffer, unsigned nCapacity, unsigned nOffset, uint8_t value);
unsigned AppendMaskRow(char* pBuffer, unsigned nCapacity, unsigned nOffset, const uint8_t* pRow, unsigned nRowBytes);
unsigned AppendMaskArray(char* pBuffer, unsigned nCapacity, unsigned nOffset, const CursorDirEntry* pEntry,
                         const char* pszName, const uint8_t* pMask);
unsigned AppendCreateCursorCall(char* pBuffer, unsigned nCapacity, unsigned nOffset, const CursorDirEntry* pEntry);

#endif
