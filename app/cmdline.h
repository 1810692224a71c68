// The command line: splitting it, in the ANSI code page or in UTF-16, into an
// argument vector by the program's own quoting rules, and reading the output
// options among the arguments.
#ifndef QUORZEL_APP_CMDLINE_H
#define QUORZEL_APP_CMDLINE_H

// Output flags.
const unsigned OUTPUT_FILE = 2;       // write a ".cpp" file beside the input
const unsigned OUTPUT_CLIPBOARD = 4;  // put the text on the clipboard

// One row of the option table: the option word and the flag it adds.
struct OptionRow
{
    const char* pszText;
    unsigned fFlag;
};

extern const OptionRow OPTION_TABLE[];
extern const unsigned OPTION_TABLE_ROWS;

// Splits a command line into one heap block: a table of count + 1 pointers
// (the last null) followed by the argument strings. The count includes the
// program name. Null when the block cannot be allocated; release with free.
// The wide form splits the UTF-16 command line by the same rules.
char** SplitCommandLine(const char* pszCommandLine, int* pnCount);
wchar_t** SplitCommandLine(const wchar_t* pszCommandLine, int* pnCount);

// The output flags named among arguments 1 to count - 1; OUTPUT_FILE when none.
unsigned ParseOptions(int nCount, char** ppszArgs);

#endif
