// Reading monochrome cursor files: what is refused and what an accepted file yields; and the C++
// text that rebuilds a cursor with CreateCursor, byte for byte, and its length for every size.
#include <string.h>
#include <memory>
#include <gtest/gtest.h>
#include "support/cursorbytes.h"

static std::unique_ptr<CursorImage, void (*)(void*)> Image(CursorImage* p)
{
    return {p, free};
}  // one block
static unsigned Digits(unsigned n)
{
    return n < 10 ? 1 : 1 + Digits(n / 10);
}

// Each row changes one field of a file that the next test reads whole.
TEST(CursorFile, RefusesAnyOtherKindOfFile)
{
    struct Row
    {
        const char* name;
        unsigned offset, value;
        int size;
    };
    const Row rows[] = {{"reserved 1", OFFSET_RESERVED, 1, 2},
                        {"type 1 (icon)", OFFSET_TYPE, 1, 2},
                        {"type 0", OFFSET_TYPE, 0, 2},
                        {"count 0", OFFSET_COUNT, 0, 2},
                        {"count 2", OFFSET_COUNT, 2, 2},
                        {"colours 2", OFFSET_COLOR_COUNT, 2, 1},
                        {"entry reserved 1", OFFSET_ENTRY_RESERVED, 1, 1},
                        {"header size 12", OFFSET_BI_SIZE, 12, 4},
                        {"header size 108", OFFSET_BI_SIZE, 108, 4},
                        {"2 planes", OFFSET_BI_PLANES, 2, 2},
                        {"4 bits per pixel", OFFSET_BI_BIT_COUNT, 4, 2},
                        {"compression 1", OFFSET_BI_COMPRESSION, 1, 4}};
    for (const Row& row : rows)
    {
        std::vector<uint8_t> bytes = MakeCursorFile(32, 32);
        PutLittleEndian(bytes, row.offset, row.value, row.size);
        EXPECT_EQ(nullptr, Image(ReadCursorBytes(bytes))) << row.name;
    }
    const std::vector<uint8_t> whole = MakeCursorFile(40, 3);  // rows of 6 bytes, padded to 8 in the file
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ(nullptr, Image(ReadCursorBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + length))))
            << "cut at " << length << " of " << whole.size();
}

// Every row length, heights and hot spots through their ranges. The reader allocates the masks
// to their exact size: the sanitizer sees the generator read past them.
TEST(CursorFile, KeepsTheHeadersAndTheRowBytesThatCreateCursorTakesAndTheTextLengthFollows)
{
    struct Row
    {
        unsigned width, stride, k;
    };  // the bytes of a row in the file, and those kept
    const Row rows[] = {{0, 0, 0},  {1, 4, 2},  {16, 4, 2},   {17, 4, 4},   {32, 4, 4},
                        {40, 8, 6}, {64, 8, 8}, {65, 12, 10}, {255, 32, 32}};
    for (const Row& row : rows)
        for (unsigned height : {0u, 1u, 2u, 32u, 255u})
            for (unsigned hot : {0u, 9u, 65535u})
            {
                SCOPED_TRACE(testing::Message() << row.width << " x " << height << ", hot spot x " << hot);
                std::vector<uint8_t> bytes = MakeCursorFile(row.width, height, hot, 65535 - hot);
                PutLittleEndian(bytes, OFFSET_IMAGE_OFFSET, hot, 4);  // read in sequence: ignored
                std::vector<uint8_t> masks[2];                        // the first k bytes of each file row
                for (unsigned i = 0; i < 2 * row.stride * height; ++i)
                    if (i % row.stride < row.k)
                        masks[i / (row.stride * height)].push_back(bytes[OFFSET_MASKS + i]);
                bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF, 1});  // after the AND mask: never read

                const auto image = Image(ReadCursorBytes(bytes));
                ASSERT_NE(nullptr, image);
                EXPECT_EQ(0, memcmp(&bytes[0], &image->header, 6)) << "file header";
                EXPECT_EQ(0, memcmp(&bytes[OFFSET_WIDTH], &image->entry, 16)) << "directory entry";
                EXPECT_EQ(0, memcmp(&bytes[OFFSET_BI_SIZE], &image->bitmapHeader, 40)) << "bitmap header";
                const size_t size = masks[0].size();
                EXPECT_EQ(masks[0], std::vector<uint8_t>(image->xorMask, image->xorMask + size)) << "XOR first";
                EXPECT_EQ(masks[1], std::vector<uint8_t>(image->andMask, image->andMask + size)) << "AND second";
                EXPECT_EQ(image->xorMask + size, image->andMask) << "the masks follow each other in the block";
                char* pszText = GenerateCursorSource(&image->entry, image->xorMask, image->andMask);
                EXPECT_EQ(398 + 17 * (row.k ? row.k : 4) + 2 * height * (row.k ? 16 * row.k + 11 : 12) + Digits(hot) +
                              Digits(65535 - hot) + Digits(row.width) + Digits(height),
                          strlen(pszText));
                EXPECT_EQ(strlen(pszText) + 1,
                          BuildCursorSource(nullptr, 0, &image->entry, image->xorMask, image->andMask));
                free(pszText);
            }
}

// 32 x 2, hot spot (1, 0); each mask stores the bottom row first. The Japanese
// comments are code page 932 text, as the program's own.
const CursorDirEntry ENTRY = {32, 2, 0, 0, 1, 0, 0, 0};
const uint8_t XOR_MASK[] = {0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01};
const uint8_t AND_MASK[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0xFC};
const char WORKED_EXAMPLE[] = "{\r\n"
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

TEST(CursorSource, WorkedExampleByteForByteAndCutToASmallBuffer)
{
    const std::string expected = WORKED_EXAMPLE;
    char* pszText = GenerateCursorSource(&ENTRY, XOR_MASK, AND_MASK);
    EXPECT_EQ(expected, pszText ? pszText : "<null>");
    free(pszText);
    std::vector<char> buffer(800, '#');
    EXPECT_EQ(0u, BuildCursorSource(buffer.data(), 0, &ENTRY, XOR_MASK, AND_MASK)) << "capacity 0";
    EXPECT_EQ(100u, BuildCursorSource(buffer.data(), 100, &ENTRY, XOR_MASK, AND_MASK)) << "cut to capacity 100";
    EXPECT_EQ(expected.substr(0, 99) + '\0' + std::string(700, '#'), std::string(buffer.begin(), buffer.end()));
    EXPECT_EQ(6u, AppendTabs(buffer.data(), 8, 0, 6)) << "more tabs than one piece";
    EXPECT_EQ("\t\t\t\t\t\t", std::string(buffer.data()));
}
