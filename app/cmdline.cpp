// Splits the process command line into arguments and reads the options.
// The rules are those of the Microsoft C runtime, over Shift-JIS text (no
// byte of a double-byte character is taken for a blank, a quote or a
// backslash) and, by the same parse, over UTF-16 text.
#include "app/cmdline.h"

#include <stdlib.h>
#include <string.h>

#include "TOOLS/toolsys.h"

#ifdef _WIN32
#include <mbctype.h>
#endif

const OptionRow OPTION_TABLE[] = {
    {"/clip", OUTPUT_CLIPBOARD},
    {"/file", OUTPUT_FILE},
};
const unsigned OPTION_TABLE_ROWS = sizeof OPTION_TABLE / sizeof OPTION_TABLE[0];

namespace
{

// Wide text has no double-byte characters: each unit stands for itself, and
// none but the ASCII blank, tab, quote and backslash is one of those.
unsigned SpanExcluding(const wchar_t* psz, const char* pszSet)
{
    unsigned n = 0;
    while (psz[n] != L'\0' && (psz[n] > 0x7F || !strchr(pszSet, int(psz[n]))))
        ++n;
    return n;
}

unsigned SpanIncluding(const wchar_t* psz, const char* pszSet)
{
    unsigned n = 0;
    while (psz[n] != L'\0' && psz[n] <= 0x7F && strchr(pszSet, int(psz[n])))
        ++n;
    return n;
}

const wchar_t* SkipBlanks(const wchar_t* psz)
{
    return psz + SpanIncluding(psz, " \t");
}

using ::SkipBlanks;
using ::SpanExcluding;
using ::SpanIncluding;

// The units of the character at p: a lead byte takes its trail byte along,
// but a lone lead byte at the end of the line stands alone.
unsigned CharUnits(const char* p)
{
#ifdef _WIN32
    const bool fLead = _ismbblead(static_cast<unsigned char>(*p)) != 0;  // the process's multibyte code page
#else
    const bool fLead = IsLeadByte(static_cast<unsigned char>(*p));
#endif
    return fLead && p[1] != '\0' ? 2 : 1;
}

unsigned CharUnits(const wchar_t*)
{
    return 1;
}

// Writes arguments into the block, or, with no block, only counts them.
template <typename Char> struct ArgumentWriter
{
    Char** ppszTable;  // null while measuring
    Char* pNext;       // where the next unit goes
    int nCount;
    unsigned nUnits;  // units of the strings, terminators included
};

template <typename Char> void PutUnits(ArgumentWriter<Char>* pWriter, const Char* pFirst, unsigned nUnits)
{
    for (unsigned i = 0; i < nUnits; ++i)
    {
        if (pWriter->ppszTable)
            *pWriter->pNext++ = pFirst[i];
        ++pWriter->nUnits;
    }
}

template <typename Char> void PutRepeated(ArgumentWriter<Char>* pWriter, char ch, unsigned nTimes)
{
    const Char unit = Char(ch);
    for (unsigned i = 0; i < nTimes; ++i)
        PutUnits(pWriter, &unit, 1);
}

template <typename Char> void StartArgument(ArgumentWriter<Char>* pWriter)
{
    if (pWriter->ppszTable)
        pWriter->ppszTable[pWriter->nCount] = pWriter->pNext;
}

template <typename Char> void EndArgument(ArgumentWriter<Char>* pWriter)
{
    PutRepeated(pWriter, '\0', 1);
    ++pWriter->nCount;
}

// The program name: quoted up to the next quote, else up to a blank or tab.
template <typename Char> const Char* ParseProgramName(ArgumentWriter<Char>* pWriter, const Char* p)
{
    StartArgument(pWriter);
    unsigned nLength;
    if (*p == '"')
    {
        ++p;
        nLength = SpanExcluding(p, "\"");
        PutUnits(pWriter, p, nLength);
        p += nLength;
        if (*p == '"')
            ++p;
    }
    else
    {
        nLength = SpanExcluding(p, " \t");
        PutUnits(pWriter, p, nLength);
        p += nLength;
    }
    EndArgument(pWriter);
    return p;
}

// One argument after the program name, with the backslash and quote rules.
template <typename Char> const Char* ParseArgument(ArgumentWriter<Char>* pWriter, const Char* p)
{
    StartArgument(pWriter);
    bool fQuoted = false;
    for (;;)
    {
        const unsigned nBackslashes = SpanIncluding(p, "\\");
        p += nBackslashes;
        if (*p == '"')
        {
            PutRepeated(pWriter, '\\', nBackslashes / 2);
            if (nBackslashes % 2 == 1)
            {
                PutRepeated(pWriter, '"', 1);
                ++p;
                continue;
            }
            ++p;
            if (fQuoted && *p == '"')
            {
                PutRepeated(pWriter, '"', 1);
                ++p;
            }
            fQuoted = !fQuoted;
            continue;
        }
        PutRepeated(pWriter, '\\', nBackslashes);
        if (*p == '\0' || (!fQuoted && (*p == ' ' || *p == '\t')))
            break;
        const unsigned nCharUnits = CharUnits(p);
        PutUnits(pWriter, p, nCharUnits);
        p += nCharUnits;
    }
    EndArgument(pWriter);
    return p;
}

template <typename Char> void ParseCommandLine(ArgumentWriter<Char>* pWriter, const Char* pszCommandLine)
{
    const Char* p = ParseProgramName(pWriter, pszCommandLine);
    for (;;)
    {
        p = SkipBlanks(p);
        if (*p == '\0')
            break;
        p = ParseArgument(pWriter, p);
    }
    if (pWriter->ppszTable)
        pWriter->ppszTable[pWriter->nCount] = nullptr;
}

// Measures, allocates the block, then fills it with the same parse.
template <typename Char> Char** SplitInto(const Char* pszCommandLine, int* pnCount)
{
    ArgumentWriter<Char> measure = {nullptr, nullptr, 0, 0};
    ParseCommandLine(&measure, pszCommandLine);

    const size_t nTableBytes = (size_t(measure.nCount) + 1) * sizeof(Char*);
    Char** ppszTable = static_cast<Char**>(malloc(nTableBytes + measure.nUnits * sizeof(Char)));
    if (!ppszTable)
        return nullptr;

    ArgumentWriter<Char> write = {ppszTable, reinterpret_cast<Char*>(reinterpret_cast<char*>(ppszTable) + nTableBytes),
                                  0, 0};
    ParseCommandLine(&write, pszCommandLine);
    *pnCount = write.nCount;
    return ppszTable;
}

}  // namespace

char** SplitCommandLine(const char* pszCommandLine, int* pnCount)
{
    return SplitInto(pszCommandLine, pnCount);
}

wchar_t** SplitCommandLine(const wchar_t* pszCommandLine, int* pnCount)
{
    return SplitInto(pszCommandLine, pnCount);
}

unsigned ParseOptions(int nCount, char** ppszArgs)
{
    unsigned fOutput = 0;
    for (int i = 1; i < nCount; ++i)
        for (unsigned nRow = 0; nRow < OPTION_TABLE_ROWS; ++nRow)
            if (IsSameStringNoCase(ppszArgs[i], OPTION_TABLE[nRow].pszText))
                fOutput |= OPTION_TABLE[nRow].fFlag;
    if (!(fOutput & (OUTPUT_FILE | OUTPUT_CLIPBOARD)))
        fOutput |= OUTPUT_FILE;
    return fOutput;
}
