// The C++ source text that rebuilds a cursor with CreateCursor: one text byte
// for byte, and the length of the text for every size.
#include <gtest/gtest.h>
#include "support/cursorbytes.h"

namespace
{
// 32 x 2, hot spot (1, 0); each mask stores the bottom row first. The Japanese
// comments are code page 932 text, as the program's own.
const CursorDirEntry ENTRY = {32, 2, 0, 0, 1, 0, 0, 0};
const uint8_t XOR_MASK[] = {0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01};
const uint8_t AND_MASK[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFC};
const char WORKED_EXAMPLE[] =
    "{\r\n"
    "#define m( a, b, c, d ) (((((((( 0 a, (((((((( 0 b, (((((((( 0 c, (((((((( 0 d\r\n"
    "#define X )*2+1\r\n#define _ )*2\r\n"
    "\tconst BYTE maskAND[ ] = \r\n\t\t{\r\n"
    "\t\t\tm( _ _ X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X _ _ ), \r\n"
    "\t\t\tm( X X X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X X X ), \r\n"
    "\t\t};\r\n\tconst BYTE maskXOR[ ] = \r\n\t\t{\r\n"
    "\t\t\tm( X _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ X ), \r\n"
    "\t\t\tm( _ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _ ), \r\n"
    "\t\t};\r\n"
    "#undef m\r\n#undef X\r\n#undef _\r\n\r\n"
    "\treturn CreateCursor\r\n\t\t(\r\n"
    "\t\t\thInstance, // カーソルを作成するモジュールのインスタンス\r\n"
    "\t\t\t1, // ホットスポットの x 座標\r\n\t\t\t0, // ホットスポットの y 座標\r\n"
    "\t\t\t32, // カーソルの幅\r\n\t\t\t2, // カーソルの高さ\r\n"
    "\t\t\tmaskAND, // \r\n\t\t\tmaskXOR  // \r\n"
    "\t\t);\r\n}\r\n";

unsigned Digits(unsigned n) { return n < 10 ? 1 : 1 + Digits(n / 10); }
}  // namespace

TEST(CursorSource, WorkedExampleByteForByteAndCutToASmallBuffer)
{
    const std::string expected = WORKED_EXAMPLE;
    char* pszText = GenerateCursorSource(&ENTRY, XOR_MASK, AND_MASK);
    EXPECT_EQ(expected, pszText ? pszText : "<null>");
    free(pszText);
    EXPECT_EQ(772u, BuildCursorSource(nullptr, 0, &ENTRY, XOR_MASK, AND_MASK)) << "the measuring run";
    std::vector<char> buffer(800, '#');
    EXPECT_EQ(100u, BuildCursorSource(buffer.data(), 100, &ENTRY, XOR_MASK, AND_MASK)) << "cut to capacity 100";
    EXPECT_EQ(expected.substr(0, 99) + '\0' + std::string(700, '#'), std::string(buffer.begin(), buffer.end()));
}

// The masks come through the reader, which allocates them to their exact size: the sanitizer sees a read past them.
TEST(CursorSource, LengthFollowsTheRowBytesTheHeightAndTheNumbers)
{
    EXPECT_EQ(5272u, ConvertCursorBytes(MakeCursorFile(32, 32)).size());
    for (unsigned width : {0u, 1u, 7u, 8u, 12u, 16u, 32u, 40u, 48u, 64u, 255u})
        for (unsigned height : {0u, 1u, 2u, 32u, 255u})
            for (unsigned hot : {0u, 9u, 65535u})
            {
                const unsigned k = GetMaskRowBytes(width), parameters = k ? k : 4;
                EXPECT_EQ(398 + 17 * parameters + 2 * height * (k ? 16 * k + 11 : 12) + Digits(hot) +
                              Digits(65535 - hot) + Digits(width) + Digits(height),
                          ConvertCursorBytes(MakeCursorFile(width, height, hot, 65535 - hot)).size())
                    << width << " x " << height << ", hot spot (" << hot << ", " << 65535 - hot << ")";
            }
}
