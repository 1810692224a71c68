// Bounded string building, Shift-JIS scans, path extensions and the trace.
#include <stdarg.h>
#include <stdio.h>
#include <limits.h>
#include <string.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "TOOLS/platform.h"
#include "TOOLS/toolsys.h"

#define HYO "\x95\x5C"  // a double-byte character whose trail byte is a backslash

TEST(AppendString, MeasuresCutsAndTerminatesWithoutZeroFill)
{
    const char* pieces[] = {"{", "\r\n", "", "maskAND", "a" HYO "z", "\t\t};"};
    std::string expected;
    unsigned measured = 0, written = 0;
    for (const char* p : pieces)
        expected += p, measured += AppendString(nullptr, 12345, 3, p);  // offset, capacity unused
    std::vector<char> buffer(measured + 1, '#');
    for (const char* p : pieces)
        written += AppendString(buffer.data(), written, measured + 1, p);
    EXPECT_EQ(expected.size(), measured);
    EXPECT_EQ(measured, written);
    EXPECT_EQ(expected, std::string(buffer.data())) << "writing pass into the measured length + 1";

    struct Row { const char* name; unsigned offset; const char* source; unsigned count; std::string bytes; };
    const Row rows[] = {  // capacity 10 in a 12-byte buffer of '#'
        {"5 chars at 4 fill it", 4, "abcde", 5, std::string("####abcde\0##", 12)},
        {"6 chars at 4 are cut to 5", 4, "abcdef", 5, std::string("####abcde\0##", 12)},
        {"short source: no zero fill", 4, "ab", 2, std::string("####ab\0#####", 12)},
        {"offset 9: the terminator only", 9, "ab", 0, std::string("#########\0##", 12)},
        {"offset 10 writes nothing", 10, "ab", 0, std::string(12, '#')},
        {"offset 11 writes nothing", 11, "ab", 0, std::string(12, '#')}};
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
    const Row rows[] = {{"/clip", "/clip", true, true}, {"/clip", "/CLIP", false, true}, {"/Clip", "/cLIP", false, true},
                        {"/clip", "/cli", false, false}, {"[", "{", false, false}, {"@", "`", false, false},
                        {HYO, "\x95\x7C", false, false}, {"\xC1", "\xE1", false, false}};
    for (const Row& row : rows)
    {
        EXPECT_EQ(row.same, IsSameString(row.first, row.second)) << row.first << " vs " << row.second;
        EXPECT_EQ(row.sameNoCase, IsSameStringNoCase(row.first, row.second)) << row.first << " vs " << row.second;
    }
}

TEST(DoubleByte, ByteTypesCharacterStepsAndSpans)
{
    struct TypeRow { const char* text; unsigned index; int type; };
    const TypeRow types[] = {
        {"a" HYO "b", 0, 0}, {"a" HYO "b", 1, 1}, {"a" HYO "b", 2, 2}, {"a" HYO "b", 3, 0}, {"a" HYO "b", 4, 0},
        {"a" HYO "b", 40, 0}, {"\x95\x7F", 1, 0}, {"\x95\x30", 1, 0}, {"\x95\x95\x95", 1, 2},
        {"\x95\x95\x95", 2, 1}, {"\x80\x40", 1, 0}, {"\xA0\xE0\xFC\xFD", 2, 2}, {"\xFD\x9F\x40", 2, 2}, {"", 5, 0}};
    for (const TypeRow& row : types)
        EXPECT_EQ(row.type, GetByteType(row.text, row.index)) << "\"" << row.text << "\" at " << row.index;

    struct CharRow { const char* text; unsigned code; long step; };
    const CharRow chars[] = {{"ab", 'a', 1},  {"", 0, 0},       {HYO "x", 0x955C, 2},
                             {"\x95", 0x95, 1}, {"\xFF", 0xFF, 1}, {"\xA0\x40", 0xA0, 1}};
    for (const CharRow& row : chars)
    {
        EXPECT_EQ(row.code, GetCharCode(row.text)) << "\"" << row.text << "\"";
        EXPECT_EQ(row.step, NextChar(row.text) - row.text) << "\"" << row.text << "\"";
    }

    struct SpanRow { const char* name; bool including; const char* text; const char* set; unsigned span; };
    const SpanRow spans[] = {
        {"excluding: trail 0x5C is no backslash", false, HYO "\\x", "\\", 2},
        {"excluding: a backslash", false, "ab\\c", "\\", 2}, {"excluding: to the end", false, "a" HYO "c", "\\", 4},
        {"excluding: a tab", false, "ab\tc d", " \t", 2}, {"excluding: a quote", false, "a" HYO "\"x", "\"", 3},
        {"including: blank, tab, letter", true, " \tA", " \t", 2},
        {"including: character first", true, HYO "\\", "\\", 0}, {"including: backslashes", true, "\\\\\\\"", "\\", 3}};
    for (const SpanRow& row : spans)
        EXPECT_EQ(row.span, row.including ? SpanIncluding(row.text, row.set) : SpanExcluding(row.text, row.set))
            << row.name;
}

TEST(PathExtension, FindCutAndSetCpp)
{
    struct Row { const char* path; unsigned dot; };  // dot == length: no extension
    const Row rows[] = {{"a.b" HYO, 1}, {"a.b\\c", 5},    {"C:\\cur.d\\arrow", 14}, {".cur", 0}, {"arrow.", 5},
                        {"a.old.cur", 5}, {"d.x/arrow", 1}, {"a" HYO, 3},             {"\\.cur", 1}, {"", 0}};
    for (const Row& row : rows)
    {
        char path[32];
        strcpy(path, row.path);
        EXPECT_EQ(path + row.dot, FindExtension(path)) << row.path;
        const bool fHas = row.dot < strlen(row.path);
        EXPECT_EQ(path + row.dot + fHas, CutExtension(path)) << row.path;
        EXPECT_EQ(std::string(row.path, row.dot), path) << row.path;
    }

    std::vector<std::pair<std::string, std::string>> cpp = {
        {"arrow.", "arrow.cpp"}, {".cur", ".cpp"}, {"C:\\cur.d\\arrow", "C:\\cur.d\\arrow.cpp"},
        {"C:\\c\\arrow.old.cur", "C:\\c\\arrow.old.cpp"}, {"a.b" HYO, "a.cpp"},
        {std::string(517, 'x') + ".cur", std::string(517, 'x') + ".cpp"}};
    for (unsigned length : {517u, 518u, 519u, 520u, 521u})  // never beyond 521 bytes
        cpp.push_back({std::string(length, 'x'), (std::string(length, 'x') + ".cpp").substr(0, 521)});
    for (const auto& row : cpp)
    {
        std::vector<char> path(PATH_CAPACITY, '#');  // exact size: the sanitizer sees any overrun
        strcpy(path.data(), row.first.c_str());
        EXPECT_TRUE(SetCppExtension(path.data()));
        EXPECT_EQ(row.second, path.data()) << row.first.size() << " bytes: " << row.first.substr(0, 30);
    }
}

namespace
{
std::string g_traced, g_tracedFormat;
int CaptureTrace(const char* pszFormat, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, pszFormat);
    const int result = vsnprintf(buffer, sizeof buffer, pszFormat, args);
    va_end(args);
    g_tracedFormat = pszFormat, g_traced += buffer;
    return result;
}
}  // namespace

TEST(Trace, HookDefaultOutputAndFailureLine)
{
    const TraceProc saved = g_pfnTraceProc;
    EXPECT_EQ(&DefaultTraceProc, saved) << "the hook starts as the default";
    g_pfnTraceProc = &CaptureTrace;
    EXPECT_EQ(&CaptureTrace, GetTraceProc());
    TraceFailure("..\\..\\TOOLS\\toolsys.cpp", 3076, "OpenClipboard");
    EXPECT_EQ("%s(%d) : %s \r\n", g_tracedFormat);
    EXPECT_EQ("..\\..\\TOOLS\\toolsys.cpp(3076) : OpenClipboard \r\n", g_traced);
    g_pfnTraceProc = nullptr;
    EXPECT_EQ(&DefaultTraceProc, GetTraceProc()) << "a null hook falls back to the default";
#ifndef _WIN32
    struct Row { std::string text; int result; std::string output; };
    const Row rows[] = {{"argv[ 0]=q\r\n", 12, "argv[ 0]=q\r\n"},
                        {std::string(1023, 'x'), 1023, std::string(1023, 'x')},
                        {std::string(2000, 'x'), -1, std::string(1023, 'x')}};
    g_pfnDebugOutputListener = [](const char* pszOutputString) { g_traced += pszOutputString; };
    for (const Row& row : rows)
    {
        g_traced.clear();
        EXPECT_EQ(row.result, DefaultTraceProc("%s", row.text.c_str())) << row.text.size() << " chars";
        EXPECT_EQ(row.output, g_traced) << row.text.size() << " chars";
    }
    g_traced.clear();
    TraceFailure("f.cpp", 7, "hWnd");
    EXPECT_EQ("f.cpp(7) : hWnd \r\n", g_traced) << "a failure with a null hook goes to the debug output";
    g_pfnDebugOutputListener = nullptr;
#endif
    g_pfnTraceProc = saved;
}
