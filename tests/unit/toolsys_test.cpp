// Bounded string building, Shift-JIS scans, path extensions and the trace.
#include <limits.h>
#include <string.h>
#include <string>
#include <tuple>
#include <vector>
#include <gtest/gtest.h>
#include "TOOLS/platform.h"
#include "TOOLS/toolsys.h"

#define HYO "\x95\x5C"  // a double-byte character whose trail byte is a backslash
using namespace std::string_literals;

// Measuring with a null buffer and writing the measured text: see the source generator's tests.
TEST(AppendString, CutsAndTerminatesWithoutZeroFill)
{
    struct Row { const char* name; unsigned offset; const char* source; unsigned count; std::string bytes; };
    const Row rows[] = {  // capacity 10 in a 12-byte buffer of '#'
        {"5 chars at 4 fill it", 4, "abcde", 5, "####abcde\0##"s}, {"6 at 4: cut", 4, "abcdef", 5, "####abcde\0##"s},
        {"short source: no zero fill", 4, "ab", 2, "####ab\0#####"s}, {"offset 9", 9, "ab", 0, "#########\0##"s},
        {"offset 10 writes nothing", 10, "ab", 0, "############"}};
    for (const Row& row : rows)
    {
        std::string bytes(12, '#');
        EXPECT_EQ(row.count, AppendString(&bytes[0], row.offset, 10, row.source)) << row.name;
        EXPECT_EQ(row.bytes, bytes) << row.name;
    }
}

TEST(CopyString, NeverKeepsHalfADoubleByteCharacter)
{
    struct Row { const char* name; unsigned capacity; const char* source; const char* expected; };
    const Row rows[] = {{"bytes 2-3 one character", 4, "ab" HYO, "ab"}, {"byte 3 a lead byte", 4, "abc" HYO, "abc"},
                        {"byte 3 lead after a character", 4, "a\x95\x95\x95\x40", "a\x95\x95"},
                        {"single bytes", 4, "abcdef", "abc"}, {"capacity 1", 1, "abc", ""}};
    for (const Row& row : rows)
    {
        char buffer[8] = "#######";
        CopyString(buffer, row.capacity, row.source);
        EXPECT_STREQ(row.expected, buffer) << row.name;
        EXPECT_EQ('#', buffer[row.capacity]) << row.name << ": wrote past the capacity";
    }
}

TEST(FormatBounded, ReturnsTheLengthOrMinusOneAndAlwaysTerminates)
{
    struct Row { const char* name; unsigned capacity; const char* text; int result; const char* expected; };
    const Row rows[] = {  // format "%s%d" with the text and 42
        {"capacity 0: untouched", 0, "abc", -1, "################"}, {"capacity - 1 chars fit", 6, "abc", 5, "abc42"},
        {"one char too many", 5, "abc", -1, "abc4"}, {"capacity 1", 1, "abc", -1, ""}, {"room", 16, "", 2, "42"}};
    for (const Row& row : rows)
    {
        char buffer[17] = "################";
        EXPECT_EQ(row.result, FormatBounded(buffer, row.capacity, "%s%d", row.text, 42)) << row.name;
        EXPECT_STREQ(row.expected, buffer) << row.name;
        EXPECT_EQ(std::string(16 - row.capacity, '#'), buffer + row.capacity) << row.name << ": past the capacity";
    }
}

TEST(FormatBounded, EveryConversionTheProgramUses)
{
    char buffer[64];
    const auto text = [&](int result) { return std::to_string(result) + ":" + std::string(buffer, strlen(buffer)); };
    EXPECT_EQ("16:argv[ 3]=a.cur\r\n", text(FormatBounded(buffer, 64, "argv[%2d]=%s\r\n", 3, "a.cur")));
    EXPECT_EQ("12:argv[123]=\r\n", text(FormatBounded(buffer, 64, "argv[%2d]=%s\r\n", 123, "")));
    EXPECT_EQ("22:x(-2147483648) : ok \r\n", text(FormatBounded(buffer, 64, "%s(%d) : %s \r\n", "x", INT_MIN, "ok")));
    EXPECT_EQ("21:0 65535 -7 4294967295", text(FormatBounded(buffer, 64, "%d %d %d %u", 0, 65535, -7, UINT_MAX)));
    EXPECT_EQ("16:  -42|-0042|  ab", text(FormatBounded(buffer, 64, "%5d|%05d|%4s", -42, -42, "ab")));
    EXPECT_EQ("23:\\x\\041103a4\\ProductName", text(FormatBounded(buffer, 64, "\\x\\%04x%04x\\%s", 0x411, 0x3A4, "ProductName")));
    EXPECT_EQ("9:100% %q %", text(FormatBounded(buffer, 64, "100%% %q %")));
    EXPECT_EQ("6:(null)", text(FormatBounded(buffer, 64, "%s", static_cast<const char*>(nullptr))));
    // The deletion list of the recycle bin: a path and two NULs, all counted.
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(5, FormatBounded(buffer, 64, "%s%c%c", "a.b", 0, 0));
    EXPECT_EQ(0, memcmp("a.b\0\0\0#", buffer, 7));
}

TEST(StringComparison, ExactAndCaseBlind)
{
    struct Row { const char* first; const char* second; bool same, sameNoCase; };
    const Row rows[] = {{"/clip", "/clip", true, true}, {"AZ", "az", false, true},
                        {"/clip", "/cli", false, false}, {"[", "{", false, false}, {"@", "`", false, false},
                        {HYO, "\x95\x7C", false, false}, {"\xC1", "\xE1", false, false}};
    for (const Row& row : rows)
        EXPECT_EQ(std::make_pair(row.same, row.sameNoCase),
                  std::make_pair(IsSameString(row.first, row.second), IsSameStringNoCase(row.first, row.second)))
            << row.first << " vs " << row.second << ": exact, and without regard to case";
}

// GetCharCode and NextChar: through the spans, and the command line's lone lead bytes.
TEST(DoubleByte, LeadBytesByteTypesSetsAndSpans)
{
    const char LEADS[] = "\x80\x81\x9F\xA0\xDF\xE0\xFC\xFD";  // the bounds of the two lead byte ranges
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(i % 4 == 1 || i % 4 == 2, IsLeadByte(LEADS[i])) << std::hex << (LEADS[i] & 0xFF);
    unsigned char table[CHAR_SET_SIZE + 1];
    memset(table, '#', sizeof table);
    ASSERT_TRUE(MakeCharSet(table, "ba" HYO));  // 'a' and 'b' share a byte of the table
    EXPECT_EQ(std::string(11, '\0') + "\x10\x06" + std::string(5, '\0') + "\x20" + std::string(13, '\0') + "#",
              std::string(table, table + 33)) << "cleared, then bit 4 of byte 11 (0x5C), 1, 2 of 12 (a, b), 5 of 18";

    struct TypeRow { const char* text; unsigned index; int type; };
    const TypeRow types[] = {{"a" HYO "b", 0, 0}, {"a" HYO "b", 1, 1}, {"a" HYO "b", 2, 2}, {"a" HYO "b", 3, 0},
        {"a" HYO "b", 4, 0}, {"a" HYO "b", 40, 0}, {"\x95\x7F", 1, 0}, {"\x95\x30", 1, 0}, {"\x95\x95\x95", 1, 2},
        {"\x95\x95\x95", 2, 1}, {"\x80\x40", 1, 0}, {"\xA0\xE0\xFC\xFD", 2, 2}, {"\xFD\x9F\x40", 2, 2}};
    for (const TypeRow& row : types)
        EXPECT_EQ(row.type, GetByteType(row.text, row.index)) << "\"" << row.text << "\" at " << row.index;

    struct SpanRow { const char* name; bool including; const char* text; const char* set; unsigned span; };
    const SpanRow spans[] = {{"trail 0x5C is no backslash", false, HYO "\\x", "\\", 2}, {"backslash", false, "ab\\c", "\\", 2},
        {"to the end", false, "a" HYO "c", "\\", 4}, {"tab", false, "ab\tc d", " \t", 2}, {"quote", false, "a" HYO "\"x", "\"", 3},
        {"blank, tab, letter", true, " \tA", " \t", 2}, {"character first", true, HYO "\\", "\\", 0},
        {"backslashes", true, "\\\\\\\"", "\\", 3}};
    for (const SpanRow& row : spans)
        EXPECT_EQ(row.span, row.including ? SpanIncluding(row.text, row.set) : SpanExcluding(row.text, row.set))
            << (row.including ? "including: " : "excluding: ") << row.name;
}

TEST(PathExtension, FindCutAndSetCpp)
{
    struct Row { std::string path; size_t dot; std::string cpp; };  // dot == length: no extension
    std::vector<Row> rows = {
        {"a.b" HYO, 1, "a.cpp"}, {"a.b\\c", 5, "a.b\\c.cpp"}, {"C:\\cur.d\\arrow", 14, "C:\\cur.d\\arrow.cpp"},
        {".cur", 0, ".cpp"}, {"arrow.", 5, "arrow.cpp"}, {"a.old.cur", 5, "a.old.cpp"}, {"d.x/arrow", 1, "d.cpp"},
        {"a" HYO, 3, "a" HYO ".cpp"}, {"\\.cur", 1, "\\.cpp"}, {"", 0, ".cpp"},
        {std::string(517, 'x') + ".cur", 517, std::string(517, 'x') + ".cpp"}};
    for (size_t length : {517, 518, 519, 520, 521})  // never beyond 521 bytes
        rows.push_back({std::string(length, 'x'), length, (std::string(length, 'x') + ".cpp").substr(0, 521)});
    for (const Row& row : rows)
    {
        const std::string name = row.path.substr(0, 20) + " (" + std::to_string(row.path.size()) + " bytes)";
        std::vector<char> path(row.path.c_str(), row.path.c_str() + row.path.size() + 1);
        path.resize(PATH_CAPACITY, '#');  // exact size: the sanitizer sees any overrun
        EXPECT_EQ(row.dot, size_t(FindExtension(path.data()) - path.data())) << name;
        EXPECT_EQ(row.path.substr(std::min(row.dot + 1, row.path.size())), CutExtension(path.data())) << name;
        EXPECT_EQ(row.path.substr(0, row.dot), path.data()) << name;
        strcpy(path.data(), row.path.c_str());
        EXPECT_EQ(row.cpp, SetCppExtension(path.data()) ? path.data() : "<false>") << name;
    }
}

// What the default sends to the debugger, and the failure line: see the end-to-end tests.
TEST(Trace, TheDefaultReturnsTheFormattingResultAndANullHookFallsBackToIt)
{
#ifndef _WIN32
    g_pfnDebugOutputListener = [](const char*) {};  // instead of standard error
#endif
    const TraceProc saved = g_pfnTraceProc;
    g_pfnTraceProc = nullptr;
    EXPECT_EQ(std::make_tuple(&DefaultTraceProc, &DefaultTraceProc, 3, -1),
              std::make_tuple(saved, GetTraceProc(), DefaultTraceProc("%s", "x\r\n"), DefaultTraceProc("%01024d", 0)))
        << "the hook at the start, the function for a null hook, the results for a line and for one cut to 1023 bytes";
    g_pfnTraceProc = saved;
}
