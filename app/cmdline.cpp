// Splits the process command line into arguments and reads the options.
// The rules are those of the Microsoft C runtime, over Shift-JIS text: no
// byte of a double-byte character is taken for a blank, a quote or a backslash.
#include "app/cmdline.h"

#include <stdlib.h>

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

// Writes arguments into the block, or, with no block, only counts them.
struct ArgumentWriter
{
    char** ppszTable;  // null while measuring
    char* pNext;       // where the next byte goes
    int nCount;
    unsigned nBytes;  // bytes of the strings, terminators included
};

void PutByte(ArgumentWriter* pWriter, char ch)
{
    if (pWriter->ppszTable)
        *pWriter->pNext++ = ch;
    ++pWriter->nBytes;
}

void PutBytes(ArgumentWriter* pWriter, const char* pFirst, unsigned nBytes)
{
    for (unsigned i = 0; i < nBytes; ++i)
        PutByte(pWriter, pFirst[i]);
}

void StartArgument(ArgumentWriter* pWriter)
{
    if (pWriter->ppszTable)
        pWriter->ppszTable[pWriter->nCount] = pWriter->pNext;
}

void EndArgument(ArgumentWriter* pWriter)
{
    PutByte(pWriter, '\0');
    ++pWriter->nCount;
}

bool IsMultiByteLead(unsigned char byte)
{
#ifdef _WIN32
    return _ismbblead(byte) != 0;  // the process's multibyte code page
#else
    return IsLeadByte(byte);
#endif
}

// The program name: quoted up to the next quote, else up to a blank or tab.
const char* ParseProgramName(ArgumentWriter* pWriter, const char* p)
{
    StartArgument(pWriter);
    unsigned nLength;
    if (*p == '"')
    {
        ++p;
        nLength = SpanExcluding(p, "\"");
        PutBytes(pWriter, p, nLength);
        p += nLength;
        if (*p == '"')
            ++p;
    }
    else
    {
        nLength = SpanExcluding(p, " \t");
        PutBytes(pWriter, p, nLength);
        p += nLength;
    }
    EndArgument(pWriter);
    return p;
}

// One argument after the program name, with the backslash and quote rules.
const char* ParseArgument(ArgumentWriter* pWriter, const char* p)
{
    StartArgument(pWriter);
    bool fQuoted = false;
    for (;;)
    {
        const unsigned nBackslashes = SpanIncluding(p, "\\");
        p += nBackslashes;
        if (*p == '"')
        {
            for (unsigned i = 0; i < nBackslashes / 2; ++i)
                PutByte(pWriter, '\\');
            if (nBackslashes % 2 == 1)
            {
                PutByte(pWriter, '"');
                ++p;
                continue;
            }
            ++p;
            if (fQuoted && *p == '"')
            {
                PutByte(pWriter, '"');
                ++p;
            }
            fQuoted = !fQuoted;
            continue;
        }
        for (unsigned i = 0; i < nBackslashes; ++i)
            PutByte(pWriter, '\\');
        if (*p == '\0' || (!fQuoted && (*p == ' ' || *p == '\t')))
            break;
        // A lead byte takes its trail byte along; a lone lead byte at the end
        // of the line is kept and the argument ends with the line.
        const bool fDoubleByte = IsMultiByteLead(static_cast<unsigned char>(*p)) && p[1] != '\0';
        const unsigned nCharBytes = fDoubleByte ? 2 : 1;
        PutBytes(pWriter, p, nCharBytes);
        p += nCharBytes;
    }
    EndArgument(pWriter);
    return p;
}

void ParseCommandLine(ArgumentWriter* pWriter, const char* pszCommandLine)
{
    const char* p = ParseProgramName(pWriter, pszCommandLine);
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

}  // namespace

char** SplitCommandLine(const char* pszCommandLine, int* pnCount)
{
    ArgumentWriter measure = {nullptr, nullptr, 0, 0};
    ParseCommandLine(&measure, pszCommandLine);

    const size_t nTableBytes = (size_t(measure.nCount) + 1) * sizeof(char*);
    char** ppszTable = static_cast<char**>(malloc(nTableBytes + measure.nBytes));
    if (!ppszTable)
        return nullptr;

    ArgumentWriter write = {ppszTable, reinterpret_cast<char*>(ppszTable) + nTableBytes, 0, 0};
    ParseCommandLine(&write, pszCommandLine);
    *pnCount = write.nCount;
    return ppszTable;
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
