// System helpers shared by the whole program: bounded string building, copying
// and formatting, Shift-JIS (code page 932) aware scans, path extensions, the
// debug trace, and the clipboard text output.
#ifndef QUORZEL_TOOLS_TOOLSYS_H
#define QUORZEL_TOOLS_TOOLSYS_H

#include <stdarg.h>

// A path buffer holds at most PATH_CAPACITY - 1 bytes of text and the terminator.
const unsigned PATH_CAPACITY = 522;

// The extension of the generated source files.
const char CPP_EXTENSION[] = ".cpp";

// Byte types of a Shift-JIS string (GetByteType).
const int BYTE_TYPE_SINGLE = 0;
const int BYTE_TYPE_LEAD = 1;
const int BYTE_TYPE_TRAIL = 2;

// A character-set table: one bit per byte value (MakeCharSet).
const unsigned CHAR_SET_SIZE = 32;

// Bounded building, copying and formatting. Capacities count the terminator.
unsigned AppendString(char* pBuffer, unsigned nOffset, unsigned nCapacity, const char* pszSource);

// AppendString for a piece whose length is known: nLength bytes of pBytes,
// cut to the room left and terminated. Inline, since text builders call it
// once for every few bytes they write.
inline unsigned AppendBytes(char* pBuffer, unsigned nOffset, unsigned nCapacity, const char* pBytes, unsigned nLength)
{
    if (!pBuffer)
        return nLength;
    if (nOffset >= nCapacity)
        return 0;
    // Only the copied bytes and the terminator: padding the rest of the buffer
    // on every append would make building a text cost the square of its length.
    // The whole piece and the cut one are copied apart, so that the copy of a
    // piece of fixed length is a fixed move.
    const unsigned nRoom = nCapacity - nOffset - 1;
    const unsigned nCopied = nLength <= nRoom ? nLength : nRoom;
    if (nLength <= nRoom)
        __builtin_memcpy(pBuffer + nOffset, pBytes, nLength);
    else
        __builtin_memcpy(pBuffer + nOffset, pBytes, nRoom);
    pBuffer[nOffset + nCopied] = '\0';
    return nCopied;
}

void CopyString(char* pszDestination, unsigned nCapacity, const char* pszSource);
int FormatBoundedV(char* pBuffer, unsigned nCapacity, const char* pszFormat, va_list args);
int FormatBounded(char* pBuffer, unsigned nCapacity, const char* pszFormat, ...) __attribute__((format(printf, 3, 4)));

// Comparison and measurement.
bool IsSameString(const char* pszFirst, const char* pszSecond);
bool IsSameStringNoCase(const char* pszFirst, const char* pszSecond);
char* StringEnd(const char* psz);
void* ClearBytes(void* pDestination, unsigned nSize);

// Double-byte characters and scans.
bool IsLeadByte(unsigned char value);
int GetByteType(const char* psz, unsigned nIndex);
unsigned GetCharCode(const char* psz);
char* NextChar(const char* psz);
bool MakeCharSet(unsigned char* pTable, const char* pszSet);
unsigned SpanExcluding(const char* psz, const char* pszSet);
unsigned SpanIncluding(const char* psz, const char* pszSet);
char* SkipBlanks(const char* psz);

// Path extension.
bool IsPathSeparatorAt(const char* pszPath, unsigned nIndex);
char* FindExtension(const char* pszPath);
char* CutExtension(char* pszPath);
bool SetCppExtension(char* pszPath);

// Debug trace.
typedef int (*TraceProc)(const char* pszFormat, ...);
extern TraceProc g_pfnTraceProc;
TraceProc GetTraceProc();
int DefaultTraceProc(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
void TraceFailure(const char* pszSourcePath, int nLine, const char* pszMessage);

// A failed check as its source reports it: the line and the checked condition.
struct TraceSite
{
    int nLine;
    const char* pszMessage;
};
// Traces the site's line for the source and gives false, the checks' result.
bool TraceFailureAt(const char* pszSourcePath, const TraceSite& site);

// Clipboard: puts a NUL-terminated text on the clipboard as CF_TEXT.
// Windows only; a failure is traced and gives false.
bool SetClipboardText(const char* pszText);

// Windows only: the UTF-16 text in the ANSI code page, exactly, into a buffer
// of nCapacity bytes; with a null buffer it is only tested. False where the
// code page has no exact spelling of a character (the ANSI forms that the
// system makes carry '?' or a best-fit letter, e for é, in its place), or
// where the text does not fit.
bool GetExactAnsiText(char* pBuffer, unsigned nCapacity, const wchar_t* pwszText);

#endif
