// Bounded string building, Shift-JIS scans, path extensions, the output name and the trace.
#include <limits.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "TOOLS/platform.h"
#include "TOOLS/toolsys.h"
#include "output/outputname.h"

#define HYO "\x95\x5C"  // a double-byte character whose trail byte is a backslash
using namespace std::string_literals;

// What a writer gives (if anything) and a colon, then its buffer up to the last byte it wrote. The
// buffer is 64 bytes of '#': a write past the capacity, a zero fill or half a character shows.
template <class Write, class... Args> static std::string Written(Write write, Args... args)
{
    std::string bytes(64, '#');
    std::string result;
    if constexpr (std::is_void_v<decltype(write(&bytes[0], args...))>)
        write(&bytes[0], args...);
    else
        result = std::to_string(write(&bytes[0], args...)) + ":";
    return result + bytes.substr(0, bytes.find_last_not_of('#') + 1);
}

TEST(BoundedWriters, CutToTheCapacityTerminatedAndFormatted)
{
    EXPECT_EQ("5:####abcde\0"s, Written(AppendString, 4, 10, "abcdef"));
    EXPECT_EQ("ab\0"s, Written(CopyString, 4, "ab" HYO));
    EXPECT_EQ("a\x95\x95\0"s, Written(CopyString, 4, "a\x95\x95\x95\x40"));
    EXPECT_EQ("-1:", Written(FormatBounded, 0, "%s%d", "abc", 42));
    EXPECT_EQ("-1:abc4\0"s, Written(FormatBounded, 5, "%s%d", "abc", 42));
    EXPECT_EQ("5:abc42\0"s, Written(FormatBounded, 6, "%s%d", "abc", 42));
    // The recycle bin's deletion list: a path and two NULs, all counted.
    EXPECT_EQ("5:a.b\0\0\0"s, Written(FormatBounded, 12, "%s%c%c", "a.b", 0, 0));
    // Every conversion the program uses, widths and zero fill, and what is no conversion of ours.
    EXPECT_EQ("30: 3=a|123|-2147483648|       ab\0"s,
              Written(FormatBounded, 64, "%2d=%s|%2d%s|%d|%9s", 3, "a", 123, "", INT_MIN, "ab"));
    EXPECT_EQ("34:0 -7 4294967295|         -42|-0042\0"s,
              Written(FormatBounded, 64, "%d %d %u|%12d|%05d", 0, -7, UINT_MAX, -42, -42));
    EXPECT_EQ("22:041103a4|(null)|% %q %\0"s, Written(FormatBounded, 64, "%04x%04x|%s|%% %q %",
                                                      0x411, 0x3A4, (const char*)nullptr));
}

// Exact, and blind to the case of the 26 letters alone: no other byte (next to them, a trail byte).
TEST(StringComparison, ExactAndCaseBlind)
{
    EXPECT_TRUE(IsSameString("/clip", "/clip"));
    EXPECT_FALSE(IsSameString("AZaz", "azAZ"));
    EXPECT_TRUE(IsSameStringNoCase("AZaz", "azAZ"));
    const std::pair<const char*, const char*> others[] = {{"/clip", "/cli"}, {"/cli", "/clip"},
                                                          {"[", "{"},        {"@", "`"},
                                                          {HYO, "\x95\x7C"}, {"\xC1", "\xE1"}};
    for (const auto& [first, second] : others)
        EXPECT_FALSE(IsSameStringNoCase(first, second)) << first << " vs " << second;
}

// Lead bytes 0x81-0x9F, 0xE0-0xFC; trail bytes 0x40-0xFC but 0x7F; types 0 single, 1 lead, 2 trail.
TEST(DoubleByte, ByteTypesAndSpans)
{
    const std::tuple<const char*, unsigned, int> types[] = {
        {"a" HYO "b", 1, 1},        {"a" HYO "b", 2, 2},    {"a" HYO "b", 3, 0},
        {"a" HYO "b", 40, 0},       {"\x95\x7F", 1, 0},     {"\x95\x30", 1, 0},
        {"\x95\x95\x95", 1, 2},     {"\x95\x95\x95", 2, 1}, {"\x80\x81\x40", 2, 2},
        {"\xA0\xE0\xFC\xFD", 2, 2}, {"\xFD\x9F\x40", 2, 2}, {"\xDF\x40", 1, 0},
        {"\xFC\x40", 1, 2}};
    for (const auto& [text, index, type] : types)
        EXPECT_EQ(type, GetByteType(text, index))
            << testing::PrintToString(std::string(text)) << " at " << index;

    // A trail byte 0x5C is no backslash, and a double-byte character is in no set of bytes.
    EXPECT_EQ(2u, SpanExcluding(HYO "\\x", "\\")) << "up to the backslash after the character";
    EXPECT_EQ(4u, SpanExcluding("a" HYO "x", "\\")) << "up to the end";
    const std::tuple<const char*, const char*, unsigned> including[] = {
        {" \tA", " \t", 2},       {HYO "\\", "\\", 0}, {"\\\\\\\"", "\\", 3},
        {"\xFF\xFF-", "\xFF", 2}, {HYO, "\x95", 0},    {"bac", "ab", 2}};
    for (const auto& [text, set, span] : including)
        EXPECT_EQ(span, SpanIncluding(text, set))
            << testing::PrintToString(std::string(text)) << " in " << set;
}

// Each path's extension cut in place, and its ".cpp" name: the path without its extension and
// ".cpp", cut to 521 bytes (units in UTF-16); usable only when ".cpp" went on whole and it is not
// the input's own.
TEST(PathExtension, CutAndTheOutputName)
{
    // The dot's index; the path's length when it has none.
    std::vector<std::tuple<std::string, size_t, bool>> rows = {
        {"a.b" HYO, 1, true},         {".cur", 0, true},   {"", 0, true},
        {"C:\\c.d\\arrow", 12, true}, {"arrow.", 5, true}, {"a.old.cur", 5, true},
        {"d.x/arrow", 1, true},       {"x.CPP", 1, false}};
    for (size_t length : {517, 518, 521})
    {
        rows.push_back({std::string(length, 'x') + ".cur", length, length == 517});
        rows.push_back({std::string(length, 'x'), length, length == 517});
    }
    for (const auto& [input, dot, usable] : rows)
    {
        SCOPED_TRACE(std::to_string(input.size()) + " bytes: " + input.substr(0, 20));
        std::vector<char> path(input.c_str(), input.c_str() + input.size() + 1);  // exact size
        EXPECT_EQ(input.substr(std::min(dot + 1, input.size())), CutExtension(path.data()));
        EXPECT_EQ(input.substr(0, dot), path.data());
        char szOutput[PATH_CAPACITY];
        EXPECT_EQ(usable, MakeOutputPath(szOutput, input.c_str()));
        EXPECT_EQ((input.substr(0, dot) + ".cpp").substr(0, 521), szOutput);
        if (input.find(HYO) != std::string::npos)
            continue;  // the same in UTF-16, each byte a unit: no half characters there
        const std::wstring wideInput(input.begin(), input.end());
        wchar_t wszOutput[PATH_CAPACITY];
        EXPECT_EQ(usable, MakeOutputPath(wszOutput, wideInput.c_str())) << "in UTF-16";
        if (usable)
            EXPECT_EQ(wideInput.substr(0, dot) + L".cpp", wszOutput) << "in UTF-16";
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
    EXPECT_EQ(3, GetTraceProc()("%s", "x\r\n")) << "a line that fits";
    EXPECT_FALSE(TraceFailureAt("a\\b.cpp", {12, "pImage"}));
    EXPECT_EQ("a\\b.cpp(12) : pImage \r\n", s_sent) << "a failed check's line";
    g_pfnTraceProc = saved;
}
#endif
