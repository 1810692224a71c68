// Splitting the command line and reading the output options.
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/cmdline.h"

typedef std::vector<std::string> Args;

// The arguments, each checked to follow the one before it behind the table's null entry, and their
// options. The line is a heap copy of its exact size: the sanitizer sees any read past its end.
static Args Split(const char* pszLine, unsigned* pfOptions = nullptr)
{
    std::vector<char> line(pszLine, pszLine + strlen(pszLine) + 1);
    int count = -1;
    char** ppArgs = SplitCommandLine(line.data(), &count);
    Args args;
    for (const char* pNext = reinterpret_cast<const char*>(ppArgs + count + 1);
         int(args.size()) < count; pNext += strlen(pNext) + 1)
        args.push_back(ppArgs[args.size()] == pNext ? pNext : "<out of place>");
    EXPECT_EQ(nullptr, ppArgs[count]) << "the entry after the last argument";
    if (pfOptions)
        *pfOptions = ParseOptions(count, ppArgs);
    free(ppArgs);
    return args;
}

static unsigned Options(const char* pszLine)
{
    unsigned options = 0;
    Split(pszLine, &options);
    return options;
}

TEST(SplitCommandLine, QuotingBackslashesAndBlanks)
{
    // Program names: empty, after a blank, quoted with text right after it, quotes and a backslash
    // kept unquoted, a quote never closed, a lone lead byte at the end.
    EXPECT_EQ(Args({""}), Split(""));
    EXPECT_EQ(Args({"", "q", "a"}), Split(" q a"));
    EXPECT_EQ(Args({"q x", "a", "b"}), Split("\"q x\"a b"));
    EXPECT_EQ(Args({"q\"x\\y\"", "a"}), Split("q\"x\\y\" a"));
    EXPECT_EQ(Args({"q x"}), Split("\"q x"));
    EXPECT_EQ(Args({"q\x95"}), Split("q\x95"));
    // A quote pair right after the name's quote, a quoted tab, quotes in a word, a doubled quote in
    // quotes, a lone lead byte at the end.
    EXPECT_EQ(Args({"q x", "", "a b\tc", "xa by", "a\"b", "c\x95"}),
              Split("\"q x\"\"\" \"a b\tc\" x\"a b\"y \"a\"\"b c\x95"));
    // A tab and a blank after the name; 3 backslashes and a quote, 2 and a quote, a trail byte 0x5C
    // and a quote, backslashes before no quote; blanks and a tab at the end.
    EXPECT_EQ(Args({"q", "a\\\"b", "a\\b c", "a\x95\\b c", "a\\\\b\\c\\", "\\"}),
              Split("q\t a\\\\\\\"b a\\\\\"b c\" a\x95\\\"b c\" a\\\\b\\c\\ \\ \t "));
}

TEST(ParseOptions, WholeWordsInAnyCaseAnywhereAfterTheName)
{
    for (const char* line :
         {"q a.cur", "q", "q /FILE", "q -clip", "q /clipx", "q /cli", "q \"/clip \"", "/clip a"})
        EXPECT_EQ(OUTPUT_FILE, Options(line)) << line;
    for (const char* line : {"q /CLIP", "q a b /ClIp", "q /clip /CLIP"})
        EXPECT_EQ(OUTPUT_CLIPBOARD, Options(line)) << line;
    EXPECT_EQ(OUTPUT_FILE | OUTPUT_CLIPBOARD, Options("q /file a /Clip"));
}
