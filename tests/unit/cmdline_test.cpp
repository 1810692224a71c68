// Splitting the command line and reading the output options.
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/cmdline.h"

// The arguments, each checked to stand right after the one before it, behind the table's null
// entry. The line is a heap copy of its exact size: the sanitizer sees any read past its end.
static std::vector<std::string> Split(const char* pszLine)
{
    std::vector<char> line(pszLine, pszLine + strlen(pszLine) + 1);
    int count = -1;
    char** ppArgs = SplitCommandLine(line.data(), &count);
    std::vector<std::string> args;
    for (const char* pNext = reinterpret_cast<const char*>(ppArgs + count + 1); int(args.size()) < count;
         pNext += strlen(pNext) + 1)
        args.push_back(ppArgs[args.size()] == pNext ? pNext : "<out of place>");
    EXPECT_EQ(nullptr, ppArgs[count]);
    free(ppArgs);
    return args;
}

TEST(SplitCommandLine, QuotingBackslashesAndBlanks)
{
    struct Row
    {
        const char* name;
        const char* line;
        std::vector<std::string> args;
    };
    const Row rows[] = {{"empty line: empty name", "", {""}},
                        {"leading blank: empty name", " q a", {"", "q", "a"}},
                        {"after the name's quote", "\"q x\"a b", {"q x", "a", "b"}},
                        {"quote after the name's quote", "\"q\"\"x y\"", {"q", "x y"}},
                        {"name ends at a tab", "q\ta", {"q", "a"}},
                        {"unquoted name keeps quotes, backslashes", "q\"x\\y\" a", {"q\"x\\y\"", "a"}},
                        {"quote pair: empty argument", "q \"\"", {"q", ""}},
                        {"quoted tab", "q \"a b\tc\" d", {"q", "a b\tc", "d"}},
                        {"quotes in a word", "q x\"a b\"y", {"q", "xa by"}},
                        {"doubled quote", "q \"a\"\"b c\"", {"q", "a\"b", "c"}},
                        {"3 backslashes, quote", "q a\\\\\\\"b c", {"q", "a\\\"b", "c"}},
                        {"2 backslashes, quote", "q a\\\\\"b c\" d", {"q", "a\\b c", "d"}},
                        {"backslashes not before a quote", "q a\\\\b\\c\\ \\", {"q", "a\\\\b\\c\\", "\\"}},
                        {"trailing blanks", "q  a \t ", {"q", "a"}},
                        {"name without closing quote", "\"q x", {"q x"}},
                        {"trail 0x5C, quote",
                         "q a\x95\x5C\"b c\"",
                         {"q", "a\x95\x5C"
                               "b c"}},
                        {"character in the name", "q\x95\x5C.exe a", {"q\x95\x5C.exe", "a"}},
                        {"lone lead byte, kept", "q a\x95", {"q", "a\x95"}},
                        {"lone lead byte in a name", "q\x95", {"q\x95"}}};
    for (const Row& row : rows)
        EXPECT_EQ(row.args, Split(row.line)) << row.name;
}

TEST(ParseOptions, WholeWordsInAnyCaseAnywhereAfterTheName)
{
    const unsigned FILE_ = OUTPUT_FILE, CLIP = OUTPUT_CLIPBOARD;
    struct Row
    {
        const char* name;
        std::vector<const char*> args;
        unsigned flags;
    };
    const Row rows[] = {{"no options", {"q", "a.cur"}, FILE_},
                        {"program name alone", {"q"}, FILE_},
                        {"/CLIP", {"q", "/CLIP"}, CLIP},
                        {"/ClIp last", {"q", "a", "b", "/ClIp"}, CLIP},
                        {"/FILE", {"q", "/FILE"}, FILE_},
                        {"both", {"q", "/file", "a", "/Clip"}, FILE_ | CLIP},
                        {"twice", {"q", "/clip", "/CLIP"}, CLIP},
                        {"-clip", {"q", "-clip"}, FILE_},
                        {"/clipx", {"q", "/clipx"}, FILE_},
                        {"/cli", {"q", "/cli"}, FILE_},
                        {"/clip and a blank", {"q", "/clip "}, FILE_},
                        {"the program name", {"/clip", "a.cur"}, FILE_}};
    for (Row row : rows)
        EXPECT_EQ(row.flags, ParseOptions(int(row.args.size()), const_cast<char**>(row.args.data()))) << row.name;
}
