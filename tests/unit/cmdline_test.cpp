// Splitting the command line and reading the output options.
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/cmdline.h"

typedef std::vector<std::string> Args;
typedef std::vector<std::wstring> WideArgs;

// The arguments, each checked to follow the one before it behind the table's null entry. The line
// is a heap copy of its exact size: the sanitizer sees any read past its end.
template <class Char> static std::vector<std::basic_string<Char>> Split(const Char* pszLine)
{
    typedef std::char_traits<Char> Traits;
    std::vector<Char> line(pszLine, pszLine + Traits::length(pszLine) + 1);
    int count = -1;
    Char** ppArgs = SplitCommandLine(line.data(), &count);
    std::vector<std::basic_string<Char>> args;
    for (const Char* pNext = reinterpret_cast<const Char*>(ppArgs + count + 1);
         int(args.size()) < count; pNext += Traits::length(pNext) + 1)
    {
        EXPECT_EQ(pNext, ppArgs[args.size()]) << "argument " << args.size() << " out of place";
        args.push_back(ppArgs[args.size()]);
    }
    EXPECT_EQ(nullptr, ppArgs[count]) << "the entry after the last argument";
    free(ppArgs);
    return args;
}

static unsigned Options(const char* pszLine)
{
    int count = 0;
    char** ppArgs = SplitCommandLine(pszLine, &count);
    const unsigned options = ParseOptions(count, ppArgs);
    free(ppArgs);
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

// UTF-16 by the same rules; U+4E20, U+4E22 and U+4E5C end in the bytes of a blank, a quote and a
// backslash, and are none of them.
TEST(SplitCommandLine, WideLinesByTheSameRules)
{
    EXPECT_EQ(WideArgs({L"q x", L"\u4E20\u4E22\u4E5C\"", L"a b", L"\\"}),
              Split(L"\"q x\" \u4E20\u4E22\u4E5C\\\" \"a b\" \\ \t"));
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
