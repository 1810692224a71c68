// The C++ source text that rebuilds a cursor with CreateCursor.
#include <stdlib.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "cursor/cursorsource.h"

namespace
{
struct Cursor
{
    CursorDirEntry entry;
    std::vector<uint8_t> xorMask, andMask;
};

Cursor MakeCursor(unsigned width, unsigned height, unsigned hotX, unsigned hotY)
{
    Cursor c = {};
    c.entry.width = uint8_t(width), c.entry.height = uint8_t(height);
    c.entry.hotspotX = uint16_t(hotX), c.entry.hotspotY = uint16_t(hotY);
    for (unsigned i = 0; i < GetMaskRowBytes(width) * height; ++i)  // exact size: overreads show
        c.xorMask.push_back(uint8_t(i * 37 + 5)), c.andMask.push_back(uint8_t(~(i * 11)));
    return c;
}

std::string Generate(const Cursor& c)
{
    char* pszText = GenerateCursorSource(&c.entry, c.xorMask.data(), c.andMask.data());
    EXPECT_NE(nullptr, pszText);
    const std::string text = pszText ? pszText : "";
    free(pszText);
    return text;
}

unsigned Digits(unsigned n) { return n < 10 ? 1 : 1 + Digits(n / 10); }

#define KA_SO_RU "\x83\x4a\x81\x5b\x83\x5c\x83\x8b"  // katakana "cursor"
#define HOTSPOT "\x83\x7a\x83\x62\x83\x67\x83\x58\x83\x7c\x83\x62\x83\x67\x82\xcc"

const char WORKED_EXAMPLE[] =
    "{\r\n"
    "#define m( a, b, c, d ) (((((((( 0 a, (((((((( 0 b, (((((((( 0 c, (((((((( 0 d\r\n"
    "#define X )*2+1\r\n"
    "#define _ )*2\r\n"
    "\tconst BYTE maskAND[ ] = \r\n"
    "\t\t{\r\n"
    "\t\t\tm( _ _ X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X _ _ ), \r\n"
    "\t\t\tm( X X X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X X X ), \r\n"
    "\t\t};\r\n"
    "\tconst BYTE maskXOR[ ] = \r\n"
    "\t\t{\r\n"
    "\t\t\tm( X _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ X ), \r\n"
    "\t\t\tm( _ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _ ), \r\n"
    "\t\t};\r\n"
    "#undef m\r\n"
    "#undef X\r\n"
    "#undef _\r\n"
    "\r\n"
    "\treturn CreateCursor\r\n"
    "\t\t(\r\n"
    "\t\t\thInstance, // " KA_SO_RU "\x82\xf0\x8d\xec\x90\xac\x82\xb7\x82\xe9\x83\x82\x83\x57\x83\x85\x81\x5b"
    "\x83\x8b\x82\xcc\x83\x43\x83\x93\x83\x58\x83\x5e\x83\x93\x83\x58\r\n"
    "\t\t\t1, // " HOTSPOT " x \x8d\xc0\x95\x57\r\n"
    "\t\t\t0, // " HOTSPOT " y \x8d\xc0\x95\x57\r\n"
    "\t\t\t32, // " KA_SO_RU "\x82\xcc\x95\x9d\r\n"
    "\t\t\t2, // " KA_SO_RU "\x82\xcc\x8d\x82\x82\xb3\r\n"
    "\t\t\tmaskAND, // \r\n"
    "\t\t\tmaskXOR  // \r\n"
    "\t\t);\r\n"
    "}\r\n";
}  // namespace

TEST(CursorSource, WorkedExampleByteForByteAndCutToASmallBuffer)
{
    Cursor c = MakeCursor(32, 2, 1, 0);
    c.xorMask = {0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01};
    c.andMask = {0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFC};
    const std::string expected = WORKED_EXAMPLE;
    ASSERT_EQ(771u, expected.size());
    EXPECT_EQ(expected, Generate(c));
    for (unsigned capacity : {1u, 2u, 100u, 771u, 772u})
    {
        std::vector<char> buffer(800, '#');
        EXPECT_EQ(capacity, BuildCursorSource(buffer.data(), capacity, &c.entry, c.xorMask.data(), c.andMask.data()))
            << "capacity " << capacity;
        EXPECT_EQ(expected.substr(0, capacity - 1) + '\0' + std::string(800 - capacity, '#'),
                  std::string(buffer.begin(), buffer.end())) << "capacity " << capacity;
    }
}

TEST(CursorSource, LengthFollowsTheRowBytesAndHeightAndTheTextIsWellFormed)
{
    EXPECT_EQ(5272u, Generate(MakeCursor(32, 32, 0, 0)).size());
    for (unsigned width : {0u, 1u, 7u, 8u, 12u, 16u, 32u, 40u, 48u, 64u, 255u})
        for (unsigned height : {0u, 1u, 2u, 32u, 255u})
            for (unsigned hot : {0u, 9u, 65535u})
            {
                SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + ", hot " + std::to_string(hot));
                const Cursor c = MakeCursor(width, height, hot, 65535 - hot);
                const unsigned k = GetMaskRowBytes(width), parameters = k ? k : 4;
                const unsigned expected = 398 + 17 * parameters + 2 * height * (k ? 16 * k + 11 : 12) + Digits(hot) +
                                          Digits(65535 - hot) + Digits(width) + Digits(height);
                const std::string text = Generate(c);
                EXPECT_EQ(expected, text.size());
                EXPECT_EQ(expected + 1, BuildCursorSource(nullptr, 0, &c.entry, c.xorMask.data(), c.andMask.data()));
                EXPECT_EQ(std::string::npos, text.find('"'));
                EXPECT_EQ("\r\n", text.substr(text.size() - 2));
                for (size_t i = 0; i < text.size(); ++i)
                {
                    ASSERT_FALSE((i == 0 || text[i - 1] == '\n') && text[i] == ' ') << "blank starts a line at " << i;
                    ASSERT_EQ(text[i] == '\r', i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
                    ASSERT_EQ(text[i] == '\n', i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
                }
            }
}
