// Reading monochrome cursor files: what is refused and what an accepted file yields; and the C++
// text that rebuilds a cursor with CreateCursor, byte for byte, and its length for every size.
#include <string.h>
#include <gtest/gtest.h>
#include "support/cursorbytes.h"

// Each row sets one field of a file the next test reads whole: its offset, the value, its size.
TEST(CursorFile, RefusesAnyOtherKindOfFile)
{
    const std::tuple<unsigned, unsigned, int> rows[] = {
        {OFFSET_RESERVED, 1, 2},       {OFFSET_TYPE, 1, 2},         {OFFSET_TYPE, 0, 2},
        {OFFSET_COUNT, 0, 2},          {OFFSET_COUNT, 2, 2},        {OFFSET_COLOR_COUNT, 2, 1},
        {OFFSET_ENTRY_RESERVED, 1, 1}, {OFFSET_BI_SIZE, 12, 4},     {OFFSET_BI_SIZE, 108, 4},
        {OFFSET_BI_PLANES, 2, 2},      {OFFSET_BI_BIT_COUNT, 4, 2}, {OFFSET_BI_COMPRESSION, 1, 4}};
    for (const auto& [offset, value, size] : rows)
    {
        std::vector<uint8_t> bytes = MakeCursorFile(32, 32);
        PutLittleEndian(bytes, offset, value, size);
        EXPECT_EQ("", ConvertCursorBytes(bytes)) << "byte " << offset << " set to " << value;
    }
    const std::vector<uint8_t> whole = MakeCursorFile(40, 3);  // rows of 6 bytes, 8 in the file
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ("",
                  ConvertCursorBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + length)))
            << "cut at " << length << " of " << whole.size();
}

// Every row length and heights through their range, a hot spot at either end of its range. The
// masks are allocated to their exact size: the sanitizer sees the generator read past them.
TEST(CursorFile, KeepsTheHeadersAndTheRowBytesThatCreateCursorTakesAndTheTextLengthFollows)
{
    // The width, the bytes of a row in the file, and those kept.
    const std::tuple<unsigned, unsigned, unsigned> rows[] = {
        {0, 0, 0},  {1, 4, 2},  {16, 4, 2},   {17, 4, 4},   {32, 4, 4},
        {40, 8, 6}, {64, 8, 8}, {65, 12, 10}, {255, 32, 32}};
    for (const auto& [width, stride, k] : rows)
        for (unsigned height : {0u, 1u, 2u, 32u, 255u})
        {
            const unsigned hot =
                height % 2 ? 65535 : 0;  // and 65535 - hot: one 1 digit long, one 5
            SCOPED_TRACE(testing::Message() << width << " x " << height << ", hot spot x " << hot);
            std::vector<uint8_t> bytes = MakeCursorFile(width, height, hot, 65535 - hot);
            PutLittleEndian(bytes, OFFSET_IMAGE_OFFSET, hot, 4);     // read in sequence: ignored
            bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF, 1});  // never read

            CursorImage* image = ReadCursorBytes(bytes);  // one block
            ASSERT_NE(nullptr, image);
            EXPECT_EQ(0, memcmp(&bytes[0], &image->header, 6)) << "file header";
            EXPECT_EQ(0, memcmp(&bytes[OFFSET_WIDTH], &image->entry, 16)) << "directory entry";
            EXPECT_EQ(0, memcmp(&bytes[OFFSET_BI_SIZE], &image->bitmapHeader, 40));
            // The first k bytes of each row in the file, the XOR mask's rows first.
            for (unsigned y = 0; y < 2 * height; ++y)
                EXPECT_EQ(0, memcmp(&bytes[OFFSET_MASKS + y * stride], image->xorMask + y * k, k))
                    << "the kept bytes of file row " << y;
            EXPECT_EQ(image->xorMask + height * k, image->andMask) << "where the AND mask starts";
            // Fixed text and hot spot: 404 bytes; each row byte: 17 in the macro, 16 in every
            // row's line, which has 11 more; width 0: the macro of 4 bytes, lines of 12.
            char* pszText = GenerateCursorSource(&image->entry, image->xorMask, image->andMask);
            EXPECT_EQ(404 + 17 * (k ? k : 4) + 2 * height * (k ? 16 * k + 11 : 12) +
                          std::to_string(width).size() + std::to_string(height).size(),
                      strlen(pszText));
            EXPECT_EQ(strlen(pszText) + 1,
                      BuildCursorSource(nullptr, 0, &image->entry, image->xorMask, image->andMask));
            free(pszText);
            free(image);
        }
}

// 32 x 2, hot spot (1, 0), each mask's bottom row first; the comments are code page 932 text.
const CursorDirEntry ENTRY = {32, 2, 0, 0, 1, 0, 0, 0};
const uint8_t XOR_MASK[] = {0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01};
const uint8_t AND_MASK[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFC};

TEST(CursorSource, WorkedExampleByteForByteAndCutToASmallBuffer)
{
    const std::string expected =
        "{\r\n#define m( a, b, c, d ) (((((((( 0 a, (((((((( 0 b, (((((((( 0 c, (((((((( 0 d\r\n"
        "#define X )*2+1\r\n#define _ )*2\r\n"
        "\tconst BYTE maskAND[ ] = \r\n\t\t{\r\n"
        "\t\t\tm( _ _ X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X _ _ ), \r\n"
        "\t\t\tm( X X X X X X X X,X X X X X X X X,X X X X X X X X,X X X X X X X X ), \r\n"
        "\t\t};\r\n\tconst BYTE maskXOR[ ] = \r\n\t\t{\r\n"
        "\t\t\tm( X _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ X ), \r\n"
        "\t\t\tm( _ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _,_ _ _ _ _ _ _ _ ), \r\n"
        "\t\t};\r\n#undef m\r\n#undef X\r\n#undef _\r\n\r\n"
        "\treturn CreateCursor\r\n\t\t(\r\n"
        "\t\t\thInstance, // カーソルを作成するモジュールのインスタンス\r\n"
        "\t\t\t1, // ホットスポットの x 座標\r\n\t\t\t0, // ホットスポットの y 座標\r\n"
        "\t\t\t32, // カーソルの幅\r\n\t\t\t2, // カーソルの高さ\r\n"
        "\t\t\tmaskAND, // \r\n\t\t\tmaskXOR  // \r\n\t\t);\r\n}\r\n";
    char* pszText = GenerateCursorSource(&ENTRY, XOR_MASK, AND_MASK);
    EXPECT_EQ(expected, pszText ? pszText : "<null>");
    free(pszText);
    std::vector<char> buffer(800, '#');
    EXPECT_EQ(0u, BuildCursorSource(buffer.data(), 0, &ENTRY, XOR_MASK, AND_MASK)) << "capacity 0";
    EXPECT_EQ(100u, BuildCursorSource(buffer.data(), 100, &ENTRY, XOR_MASK, AND_MASK)) << "cut";
    EXPECT_EQ(expected.substr(0, 99) + '\0' + std::string(700, '#'),
              std::string(buffer.begin(), buffer.end()));
    EXPECT_EQ(6u, AppendTabs(buffer.data(), 8, 0, 6)) << "more tabs than one piece";
    EXPECT_EQ("\t\t\t\t\t\t", std::string(buffer.data()));
}
