// Bounded string building, Shift-JIS scans, path extensions, the output name and the trace.
#include <limits.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "TOOLS/platform.h"
#include "TOOLS/toolsys.h"
#include "output/outputname.h"

#define HYO "\x95\x5C"  // a double-byte character whose trail byte is a backslash
using namespace std::string_literals;

// The bounded writers in 12 bytes of '#': the result and every byte, so that a write past the
// capacity, a zero fill or half a double-byte character shows. AppendString measuring with a null
// buffer, and writing the measured text: see the source generator's tests.
TEST(BoundedWriters, CutToTheCapacityAndTerminated)
{
    const auto run = [](int (*write)(char*)) {
        std::string bytes(12, '#');
        return std::to_string(write(&bytes[0])) + ":" + bytes;
    };
    EXPECT_EQ("5:####abcde\0##"s, run([](char* p) { return int(AppendString(p, 4, 10, "abcdef")); }));
    EXPECT_EQ("2:####ab\0#####"s, run([](char* p) { return int(AppendString(p, 4, 10, "ab")); }));
    EXPECT_EQ("0:############", run([](char* p) { return int(AppendString(p, 10, 10, "ab")); }));
    EXPECT_EQ("0:ab\0#########"s, run([](char* p) { return CopyString(p, 4, "ab" HYO), 0; }));
    EXPECT_EQ("0:abc\0########"s, run([](char* p) { return CopyString(p, 4, "abcdef"), 0; }));
    EXPECT_EQ("0:abc\0########"s, run([](char* p) { return CopyString(p, 4, "abc" HYO), 0; }));
    EXPECT_EQ("0:a\x95\x95\0########"s, run([](char* p) { return CopyString(p, 4, "a\x95\x95\x95\x40"), 0; }));
    EXPECT_EQ("0:\0###########"s, run([](char* p) { return CopyString(p, 1, "abc"), 0; }));
    EXPECT_EQ("-1:############", run([](char* p) { return FormatBounded(p, 0, "%s%d", "abc", 42); }));
    EXPECT_EQ("-1:\0###########"s, run([](char* p) { return FormatBounded(p, 1, "%s%d", "abc", 42); }));
    EXPECT_EQ("5:abc42\0######"s, run([](char* p) { return FormatBounded(p, 6, "%s%d", "abc", 42); }));
    EXPECT_EQ("-1:abc4\0#######"s, run([](char* p) { return FormatBounded(p, 5, "%s%d", "abc", 42); }));
    // The recycle bin's deletion list: a path and two NULs, all counted.
    EXPECT_EQ("5:a.b\0\0\0######"s, run([](char* p) { return FormatBounded(p, 12, "%s%c%c", "a.b", 0, 0); }));
}

TEST(FormatBounded, EveryConversionTheProgramUses)
{
    char buffer[64];
    const auto text = [&](int result) {
        return std::to_string(result) + ":" + std::string(buffer, strlen(buffer));
    };
    EXPECT_EQ("16:argv[ 3]=a.cur\r\n", text(FormatBounded(buffer, 64, "argv[%2d]=%s\r\n", 3, "a.cur")));
    EXPECT_EQ("12:argv[123]=\r\n", text(FormatBounded(buffer, 64, "argv[%2d]=%s\r\n", 123, "")));
    EXPECT_EQ("22:x(-2147483648) : ok \r\n", text(FormatBounded(buffer, 64, "%s(%d) : %s \r\n", "x", INT_MIN, "ok")));
    EXPECT_EQ("21:0 65535 -7 4294967295", text(FormatBounded(buffer, 64, "%d %d %d %u", 0, 65535, -7, UINT_MAX)));
    EXPECT_EQ("28:         -42|-0042|       ab", text(FormatBounded(buffer, 64, "%12d|%05d|%9s", -42, -42, "ab")));
    EXPECT_EQ("23:\\x\\041103a4\\ProductName",
              text(FormatBounded(buffer, 64, "\\x\\%04x%04x\\%s", 0x411, 0x3A4, "ProductName")));
    EXPECT_EQ("9:100% %q %", text(FormatBounded(buffer, 64, "100%% %q %")));
    EXPECT_EQ("6:(null)", text(FormatBounded(buffer, 64, "%s", static_cast<const char*>(nullptr))));
}

TEST(StringComparison, ExactAndCaseBlind)
{
    struct Row
    {
        const char* first;
        const char* second;
        bool same, sameNoCase;
    };
    const Row rows[] = {{"/clip", "/clip", true, true}, {"AZaz", "azAZ", false, true}, {"/clip", "/cli", false, false},
                        {"[", "{", false, false},       {"@", "`", false, false},      {HYO, "\x95\x7C", false, false},
                        {"\xC1", "\xE1", false, false}};
    for (const Row& row : rows)
        EXPECT_EQ(std::make_pair(row.same, row.sameNoCase),
                  std::make_pair(IsSameString(row.first, row.second), IsSameStringNoCase(row.first, row.second)))
            << row.first << " vs " << row.second << ": exact, and without regard to case";
}

// GetCharCode and NextChar: through the spans, and the command line's lone lead bytes. Lead bytes are
// 0x81-0x9F and 0xE0-0xFC; trail bytes 0x40-0xFC but 0x7F.
TEST(DoubleByte, ByteTypesAndSpans)
{
    struct TypeRow
    {
        const char* text;
        unsigned index;
        int type;
    };
    const TypeRow types[] = {{"a" HYO "b", 0, 0},    {"a" HYO "b", 1, 1},    {"a" HYO "b", 2, 2},
                             {"a" HYO "b", 3, 0},    {"a" HYO "b", 4, 0},    {"a" HYO "b", 40, 0},
                             {"\x95\x7F", 1, 0},     {"\x95\x30", 1, 0},     {"\x95\x95\x95", 1, 2},
                             {"\x95\x95\x95", 2, 1}, {"\x80\x81\x40", 2, 2}, {"\xA0\xE0\xFC\xFD", 2, 2},
                             {"\xFD\x9F\x40", 2, 2}, {"\xDF\x40", 1, 0},     {"\xFC\x40", 1, 2}};
    for (const TypeRow& row : types)
        EXPECT_EQ(row.type, GetByteType(row.text, row.index)) << "\"" << row.text << "\" at " << row.index;

    struct SpanRow
    {
        const char* name;
        bool including;
        const char* text;
        const char* set;
        unsigned span;
    };
    const SpanRow spans[] = {{"trail 0x5C is no backslash", false, HYO "\\x", "\\", 2},
                             {"backslash", false, "ab\\c", "\\", 2},
                             {"to the end", false, "a" HYO "x", "\\", 4},
                             {"tab", false, "ab\tc d", " \t", 2},
                             {"quote", false, "a" HYO "\"x", "\"", 3},
                             {"blank, tab, letter", true, " \tA", " \t", 2},
                             {"character first", true, HYO "\\", "\\", 0},
                             {"backslashes", true, "\\\\\\\"", "\\", 3},
                             {"byte 0xFF", true,
                              "\xFF\xFF"
                              "a",
                              "\xFF", 2},
                             {"a character, not its lead byte", true, HYO, "\x95", 0},
                             {"two in a set byte", true, "bac", "ab", 2}};
    for (const SpanRow& row : spans)
        EXPECT_EQ(row.span, row.including ? SpanIncluding(row.text, row.set) : SpanExcluding(row.text, row.set))
            << (row.including ? "including: " : "excluding: ") << row.name;
}

// Each path's extension found and cut in place, and its ".cpp" name, which is usable only when
// ".cpp" went on whole (the name ends by byte 521) and the name is not the input's own.
TEST(PathExtension, FindCutAndTheOutputName)
{
    struct Row
    {
        std::string path;
        size_t dot;
        std::string cpp;
        bool usable;
    };  // dot == length: none
    std::vector<Row> rows = {{"a.b" HYO, 1, "a.cpp", true},
                             {".cur", 0, ".cpp", true},
                             {"", 0, ".cpp", true},
                             {"C:\\cur.d\\arrow", 14, "C:\\cur.d\\arrow.cpp", true},
                             {"arrow.", 5, "arrow.cpp", true},
                             {"a.old.cur", 5, "a.old.cpp", true},
                             {"d.x/arrow", 1, "d.cpp", true},
                             {"a" HYO, 3, "a" HYO ".cpp", true},
                             {"\\.cur", 1, "\\.cpp", true},
                             {"x.CPP", 1, "x.cpp", false},
                             {"x.cpp", 1, "x.cpp", false}};
    for (size_t length : {517, 518, 521})
    {
        const std::string x(length, 'x');
        rows.push_back({x + ".cur", length, (x + ".cpp").substr(0, 521), length == 517});
        rows.push_back({x, length, (x + ".cpp").substr(0, 521), length == 517});
    }
    for (const Row& row : rows)
    {
        const std::string name = row.path.substr(0, 20) + " (" + std::to_string(row.path.size()) + " bytes)";
        char szOutput[PATH_CAPACITY];
        EXPECT_EQ(row.usable, MakeOutputPath(szOutput, row.path.c_str())) << name;
        EXPECT_EQ(row.cpp, szOutput) << name;
        std::vector<char> path(row.path.c_str(), row.path.c_str() + row.path.size() + 1);  // heap, exact size
        EXPECT_EQ(row.dot, size_t(FindExtension(path.data()) - path.data())) << name;
        EXPECT_EQ(row.path.substr(std::min(row.dot + 1, row.path.size())), CutExtension(path.data())) << name;
        EXPECT_EQ(row.path.substr(0, row.dot), path.data()) << name;
    }
}

#ifndef _WIN32  // the native OutputDebugStringA: its listener gets what a debugger would
TEST(Trace, TheDefaultSendsEachLineCutTo1023BytesAndANullHookFallsBackToIt)
{
    static std::string s_sent;
    g_pfnDebugOutputListener = [](const char* pszText) {
        s_sent = pszText;
    };
    const TraceProc saved = g_pfnTraceProc;
    g_pfnTraceProc = nullptr;
    EXPECT_EQ(-1, GetTraceProc()("%01024d", 0)) << "a line too long";
    EXPECT_EQ(std::string(1023, '0'), s_sent);
    EXPECT_EQ(3, GetTraceProc()("%s", "x\r\n"));
    EXPECT_EQ("x\r\n", s_sent);
    EXPECT_FALSE(TraceFailureAt("a\\b.cpp", {12, "pImage"}));
    EXPECT_EQ("a\\b.cpp(12) : pImage \r\n", s_sent) << "a failed check's line";
    g_pfnTraceProc = saved;
}
#endif
