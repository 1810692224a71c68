// System helpers: bounded string building, copying and formatting, Shift-JIS
// aware character scans, path extensions and the debug trace. Nothing here
// allocates; every buffer belongs to the caller.
#include "TOOLS/toolsys.h"

#include <stdio.h>
#include <string.h>

#include "TOOLS/platform.h"

namespace
{

const unsigned TRACE_LINE_CAPACITY = 1024;

bool IsTrailByte(unsigned char value)
{
    return value >= 0x40 && value <= 0xFC && value != 0x7F;
}

bool IsInCharSet(const unsigned char* pTable, unsigned nCode)
{
    return nCode <= 0xFF && (pTable[nCode / 8] & (1u << (nCode % 8))) != 0;
}

}  // namespace

// Bounded building, copying and formatting -----------------------------------

unsigned AppendString(char* pBuffer, unsigned nOffset, unsigned nCapacity, const char* pszSource)
{
    const unsigned nLength = unsigned(strlen(pszSource));
    if (!pBuffer)
        return nLength;
    if (nOffset >= nCapacity)
        return 0;
    const unsigned nRoom = nCapacity - nOffset - 1;
    const unsigned nCopied = nLength < nRoom ? nLength : nRoom;
    // Only the copied bytes and the terminator: padding the rest of the buffer
    // on every append would make building a text cost the square of its length.
    memcpy(pBuffer + nOffset, pszSource, nCopied);
    pBuffer[nOffset + nCopied] = '\0';
    return nCopied;
}

void CopyString(char* pszDestination, unsigned nCapacity, const char* pszSource)
{
    unsigned nCopied = nCapacity - 1;
    if (GetByteType(pszSource, nCapacity - 1) == BYTE_TYPE_TRAIL)
        nCopied = nCapacity - 2;  // keep no lead byte without its trail byte
    strncpy(pszDestination, pszSource, nCopied);
    pszDestination[nCopied] = '\0';
}

int FormatBoundedV(char* pBuffer, unsigned nCapacity, const char* pszFormat, va_list args)
{
    if (nCapacity == 0)
        return -1;
    // vsnprintf terminates within the capacity; a result of the capacity or
    // more (or below zero) means the text did not fit whole.
    const int nResult = vsnprintf(pBuffer, nCapacity, pszFormat, args);
    if (nResult < 0 || unsigned(nResult) >= nCapacity)
    {
        pBuffer[nCapacity - 1] = '\0';
        return -1;
    }
    pBuffer[nResult] = '\0';
    return nResult;
}

int FormatBounded(char* pBuffer, unsigned nCapacity, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    const int nResult = FormatBoundedV(pBuffer, nCapacity, pszFormat, args);
    va_end(args);
    return nResult;
}

// Comparison and measurement -------------------------------------------------

bool IsSameString(const char* pszFirst, const char* pszSecond)
{
    return strcmp(pszFirst, pszSecond) == 0;
}

bool IsSameStringNoCase(const char* pszFirst, const char* pszSecond)
{
    // The 26 ASCII letters without regard to case, every other byte exactly.
    for (;; ++pszFirst, ++pszSecond)
    {
        unsigned char first = static_cast<unsigned char>(*pszFirst);
        unsigned char second = static_cast<unsigned char>(*pszSecond);
        if (first >= 'A' && first <= 'Z')
            first = static_cast<unsigned char>(first - 'A' + 'a');
        if (second >= 'A' && second <= 'Z')
            second = static_cast<unsigned char>(second - 'A' + 'a');
        if (first != second)
            return false;
        if (first == '\0')
            return true;
    }
}

char* StringEnd(const char* psz)
{
    return const_cast<char*>(psz + strlen(psz));
}

void* ClearBytes(void* pDestination, unsigned nSize)
{
    memset(pDestination, 0, nSize);
    return static_cast<char*>(pDestination) + nSize;
}

// Double-byte characters and scans -------------------------------------------

bool IsLeadByte(unsigned char value)
{
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

int GetByteType(const char* psz, unsigned nIndex)
{
    int nType = BYTE_TYPE_SINGLE;
    for (unsigned i = 0; i <= nIndex; ++i)
    {
        const unsigned char value = static_cast<unsigned char>(psz[i]);
        if (value == '\0')
            return BYTE_TYPE_SINGLE;
        if (nType == BYTE_TYPE_LEAD)
            nType = IsTrailByte(value) ? BYTE_TYPE_TRAIL : BYTE_TYPE_SINGLE;
        else
            nType = IsLeadByte(value) ? BYTE_TYPE_LEAD : BYTE_TYPE_SINGLE;
    }
    return nType;
}

unsigned GetCharCode(const char* psz)
{
    const unsigned char lead = static_cast<unsigned char>(psz[0]);
    if (IsLeadByte(lead) && psz[1] != '\0')
        return lead * 256u + static_cast<unsigned char>(psz[1]);
    return lead;
}

char* NextChar(const char* psz)
{
    if (*psz == '\0')
        return const_cast<char*>(psz);
    if (IsLeadByte(static_cast<unsigned char>(*psz)) && psz[1] != '\0')
        return const_cast<char*>(psz + 2);
    return const_cast<char*>(psz + 1);
}

bool MakeCharSet(unsigned char* pTable, const char* pszSet)
{
    ClearBytes(pTable, CHAR_SET_SIZE);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pszSet); *p; ++p)
        pTable[*p / 8] = static_cast<unsigned char>(pTable[*p / 8] | (1u << (*p % 8)));
    return true;
}

unsigned SpanExcluding(const char* psz, const char* pszSet)
{
    unsigned char table[CHAR_SET_SIZE];
    MakeCharSet(table, pszSet);
    const char* p = psz;
    while (*p != '\0' && !IsInCharSet(table, GetCharCode(p)))
        p = NextChar(p);
    return unsigned(p - psz);
}

unsigned SpanIncluding(const char* psz, const char* pszSet)
{
    unsigned char table[CHAR_SET_SIZE];
    MakeCharSet(table, pszSet);
    const char* p = psz;
    while (*p != '\0' && IsInCharSet(table, GetCharCode(p)))
        p = NextChar(p);
    return unsigned(p - psz);
}

char* SkipBlanks(const char* psz)
{
    return const_cast<char*>(psz + SpanIncluding(psz, " \t"));
}

// Path extension --------------------------------------------------------------

bool IsPathSeparatorAt(const char* pszPath, unsigned nIndex)
{
    return pszPath[nIndex] == '\\' && GetByteType(pszPath, nIndex) == BYTE_TYPE_SINGLE;
}

char* FindExtension(const char* pszPath)
{
    char* pEnd = StringEnd(pszPath);
    for (unsigned nIndex = unsigned(pEnd - pszPath); nIndex-- > 0;)
    {
        if (IsPathSeparatorAt(pszPath, nIndex))
            return pEnd;
        if (pszPath[nIndex] == '.')
            return const_cast<char*>(pszPath + nIndex);
    }
    return pEnd;
}

char* CutExtension(char* pszPath)
{
    char* pDot = FindExtension(pszPath);
    if (*pDot == '\0')
        return pDot;
    *pDot = '\0';
    return pDot + 1;
}

bool SetCppExtension(char* pszPath)
{
    CutExtension(pszPath);
    const size_t nLength = strlen(pszPath);
    const size_t nMaxLength = PATH_CAPACITY - 1;
    if (nLength < nMaxLength)
        strncat(pszPath, CPP_EXTENSION, nMaxLength - nLength);
    return true;
}

// Debug trace -----------------------------------------------------------------

TraceProc g_pfnTraceProc = DefaultTraceProc;

TraceProc GetTraceProc()
{
    return g_pfnTraceProc ? g_pfnTraceProc : DefaultTraceProc;
}

int DefaultTraceProc(const char* pszFormat, ...)
{
    char szLine[TRACE_LINE_CAPACITY];
    va_list args;
    va_start(args, pszFormat);
    const int nResult = FormatBoundedV(szLine, sizeof szLine, pszFormat, args);
    va_end(args);
    szLine[TRACE_LINE_CAPACITY - 1] = '\0';
    OutputDebugStringA(szLine);
    return nResult;
}

void TraceFailure(const char* pszSourcePath, int nLine, const char* pszMessage)
{
    GetTraceProc()("%s(%d) : %s \r\n", pszSourcePath, nLine, pszMessage);
}
