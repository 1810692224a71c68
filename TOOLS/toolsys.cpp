// System helpers: bounded string building, copying and formatting, Shift-JIS
// aware character scans, path extensions and the debug trace. Nothing here
// allocates; every buffer belongs to the caller.
#include "TOOLS/toolsys.h"

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

// Formatting: the characters go into the buffer up to its limit and are
// counted all the same, so the count tells whether the whole text fitted.
struct FormatSink
{
    char* pBuffer;
    unsigned nLimit;  // characters that fit before the terminator
    unsigned nLength;
};

struct FieldFormat
{
    char chPad;  // ' ' or '0', put before the text up to the width
    unsigned nWidth;
};

void PutChar(FormatSink* pSink, char ch)
{
    if (pSink->nLength < pSink->nLimit)
        pSink->pBuffer[pSink->nLength] = ch;
    ++pSink->nLength;
}

void PutPadding(FormatSink* pSink, const FieldFormat& field, unsigned nTextLength)
{
    for (unsigned n = nTextLength; n < field.nWidth; ++n)
        PutChar(pSink, field.chPad);
}

void PutText(FormatSink* pSink, const FieldFormat& field, const char* pszText)
{
    if (!pszText)
        pszText = "(null)";
    PutPadding(pSink, {' ', field.nWidth}, unsigned(strlen(pszText)));
    for (; *pszText != '\0'; ++pszText)
        PutChar(pSink, *pszText);
}

// A number's digits, after its sign; zero padding goes between the two.
void PutNumber(FormatSink* pSink, const FieldFormat& field, unsigned nValue, unsigned nBase, bool bNegative)
{
    const char DIGITS[] = "0123456789abcdef";
    char digits[sizeof(unsigned) * 8];
    unsigned nDigits = 0;
    do
    {
        digits[nDigits++] = DIGITS[nValue % nBase];
        nValue /= nBase;
    } while (nValue != 0);
    const unsigned nLength = nDigits + (bNegative ? 1 : 0);
    if (field.chPad == ' ')
        PutPadding(pSink, field, nLength);
    if (bNegative)
        PutChar(pSink, '-');
    if (field.chPad == '0')
        PutPadding(pSink, field, nLength);
    while (nDigits > 0)
        PutChar(pSink, digits[--nDigits]);
}

}  // namespace

// Bounded building, copying and formatting -----------------------------------

unsigned AppendString(char* pBuffer, unsigned nOffset, unsigned nCapacity, const char* pszSource)
{
    return AppendBytes(pBuffer, nOffset, nCapacity, pszSource, unsigned(strlen(pszSource)));
}

void CopyString(char* pszDestination, unsigned nCapacity, const char* pszSource)
{
    unsigned nCopied = nCapacity - 1;
    if (GetByteType(pszSource, nCapacity - 1) == BYTE_TYPE_TRAIL)
        nCopied = nCapacity - 2;  // keep no lead byte without its trail byte
    strncpy(pszDestination, pszSource, nCopied);
    pszDestination[nCopied] = '\0';
}

// The program's own printf subset: %s, %c, %d, %u and %x (lower case), each
// with an optional 0 flag and a field width, and %%. Any other conversion is
// written as it stands and takes no argument. The C runtime's vsnprintf would
// bring its floating-point formatting into the program, which is most of its size.
int FormatBoundedV(char* pBuffer, unsigned nCapacity, const char* pszFormat, va_list args)
{
    if (nCapacity == 0)
        return -1;
    FormatSink sink = {pBuffer, nCapacity - 1, 0};
    for (const char* p = pszFormat; *p != '\0'; ++p)
    {
        if (*p != '%')
        {
            PutChar(&sink, *p);
            continue;
        }
        const char* pConversion = p;
        FieldFormat field = {' ', 0};
        if (*++p == '0')
            field.chPad = '0', ++p;
        for (; *p >= '0' && *p <= '9'; ++p)
            field.nWidth = field.nWidth * 10 + unsigned(*p - '0');
        switch (*p)
        {
        case 's':
            PutText(&sink, field, va_arg(args, const char*));
            break;
        case 'c':
            PutChar(&sink, char(va_arg(args, int)));
            break;
        case 'd':
        {
            const int nValue = va_arg(args, int);
            const unsigned nMagnitude = nValue < 0 ? 0u - unsigned(nValue) : unsigned(nValue);
            PutNumber(&sink, field, nMagnitude, 10, nValue < 0);
            break;
        }
        case 'u':
            PutNumber(&sink, field, va_arg(args, unsigned), 10, false);
            break;
        case 'x':
            PutNumber(&sink, field, va_arg(args, unsigned), 16, false);
            break;
        case '%':
            PutChar(&sink, '%');
            break;
        default:  // not ours: the text as it stands, up to the format's end
            for (; pConversion <= p && *pConversion != '\0'; ++pConversion)
                PutChar(&sink, *pConversion);
            if (*p == '\0')
                --p;
            break;
        }
    }
    // The text is cut at the capacity; only a text that fitted whole counts.
    const bool bFitted = sink.nLength <= sink.nLimit;
    pBuffer[bFitted ? sink.nLength : sink.nLimit] = '\0';
    return bFitted ? int(sink.nLength) : -1;
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

bool TraceFailureAt(const char* pszSourcePath, const TraceSite& site)
{
    TraceFailure(pszSourcePath, site.nLine, site.pszMessage);
    return false;
}

#ifdef _WIN32

// Wide text -------------------------------------------------------------------

bool GetExactAnsiText(char* pBuffer, unsigned nCapacity, const wchar_t* pwszText)
{
    BOOL fDefaultUsed = FALSE;
    const int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pwszText, -1, pBuffer,
                                           pBuffer ? int(nCapacity) : 0, nullptr, &fDefaultUsed);
    return nBytes != 0 && !fDefaultUsed;
}

#endif
