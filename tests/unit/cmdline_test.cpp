// Splitting the command line and reading the output options.
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/cmdline.h"

namespace
{
// The arguments, each checked to stand right after the one before it, behind the table's null
// entry. The line is a heap copy of its exact size: the sanitizer sees any read past its end.
std::vector<std::string> Split(const char* pszLine)
{
    std::vector<char> line(pszLine, pszLine + strlen(pszLine) + 1);
    int count = -1;
    char** ppArgs = SplitCommandLine(line.data(), &count);
    std::vector<std::string> args;
    const char* pNext = reinterpret_cast<const char*>(ppArgs + count + 1);
    for (int i = 0; i < count; pNext += strlen(pNext) + 1, ++i)
        args.push_back(ppArgs[i] == pNext ? ppArgs[i] : "<out of place>");
    EXPECT_EQ(nullptr, ppArgs[count]);
    free(ppArgs);
    return args;
}
}  // namespace

TEST(SplitCommandLine, QuotingBackslashesAndBlanks)
{
    struct Row { const char* name; const char* line; std::vector<std::string> args; };
    const Row rows[] = {
        {"program name alone", "q.exe", {"q.exe"}}, {"empty line: one empty name", "", {""}},
        {"quoted name keeps blanks", "\"C:\\My Tools\\q.exe\" a", {"C:\\My Tools\\q.exe", "a"}},
        {"quoted name without closing quote", "\"C:\\My Tools\\q", {"C:\\My Tools\\q"}},
        {"text right after the name's quote", "\"q x\"a b", {"q x", "a", "b"}},
        {"quote right after the name's quote", "\"q\"\"x y\"", {"q", "x y"}},
        {"unquoted name ends at a tab", "q\ta", {"q", "a"}},
        {"unquoted name keeps quotes, backslashes", "q\"x\\y\" a", {"q\"x\\y\"", "a"}},
        {"leading blank: empty name", " q a", {"", "q", "a"}}, {"two blanks between words", "q  a  b", {"q", "a", "b"}},
        {"quote pair alone: one empty argument", "q \"\"", {"q", ""}},
        {"quoted stretch keeps blanks and tabs", "q \"a b\tc\" d", {"q", "a b\tc", "d"}},
        {"quoted stretch inside a word", "q x\"a b\"y", {"q", "xa by"}},
        {"3 backslashes and a quote", "q a\\\\\\\"b c", {"q", "a\\\"b", "c"}},
        {"2 backslashes and a quote", "q a\\\\\"b c\" d", {"q", "a\\b c", "d"}},
        {"backslashes not before a quote", "q a\\\\b\\c\\ \\", {"q", "a\\\\b\\c\\", "\\"}},
        {"doubled quote ends the stretch", "q \"a\"\"b c\"", {"q", "a\"b", "c"}},
        {"trailing blanks: no empty argument", "q a \t ", {"q", "a"}}, {"blanks only after the name", "q \t ", {"q"}},
        {"character before the closing quote", "q \"a\x95\x5C\" b", {"q", "a\x95\x5C", "b"}},
        {"trail 0x5C then a quote", "q a\x95\x5C\"b c\"", {"q", "a\x95\x5C" "b c"}},
        {"character in the program name", "q\x95\x5C.exe a", {"q\x95\x5C.exe", "a"}},
        {"lone lead byte ends the line", "q a\x95", {"q", "a"}}, {"lone lead byte in a quoted name", "\"q\x95", {"q"}},
        {"lone lead byte in a quoted stretch", "q \"a\x95", {"q", "a"}}, {"lone lead byte in a name", "q\x95", {"q"}},
    };
    for (const Row& row : rows)
    {
        std::vector<std::string> args = Split(row.line);
        if (args.size() == row.args.size() && args.back() == row.args.back() + "\x95")
            args.back().pop_back();  // a lone lead byte at the end may be kept or dropped
        EXPECT_EQ(row.args, args) << row.name;
    }
}

TEST(ParseOptions, WholeWordsInAnyCaseAnywhereAfterTheName)
{
    const unsigned FILE_ = OUTPUT_FILE, CLIP = OUTPUT_CLIPBOARD;
    struct Row { const char* name; std::vector<const char*> args; unsigned flags; };
    const Row rows[] = {
        {"no options", {"q", "a.cur"}, FILE_}, {"program name alone", {"q"}, FILE_}, {"/CLIP", {"q", "/CLIP"}, CLIP},
        {"/ClIp last", {"q", "a", "b", "/ClIp"}, CLIP}, {"/FILE", {"q", "/FILE"}, FILE_},
        {"both", {"q", "/file", "a", "/Clip"}, FILE_ | CLIP}, {"twice", {"q", "/clip", "/CLIP"}, CLIP},
        {"-clip", {"q", "-clip"}, FILE_}, {"/clipx", {"q", "/clipx"}, FILE_}, {"/cli", {"q", "/cli"}, FILE_},
        {"/clip and a blank", {"q", "/clip "}, FILE_}, {"the program name", {"/clip", "a.cur"}, FILE_}};
    for (Row row : rows)
        EXPECT_EQ(row.flags, ParseOptions(int(row.args.size()), const_cast<char**>(row.args.data()))) << row.name;
}
