// Reading monochrome cursor files: what is refused, and what an accepted file yields.
#include <string.h>
#include <memory>
#include <gtest/gtest.h>
#include "support/cursorbytes.h"

static std::unique_ptr<CursorImage, void (*)(void*)> Image(CursorImage* p) { return {p, free}; }  // one block

// Each row changes one field of a file that the next test reads whole.
TEST(CursorFile, RefusesAnyOtherKindOfFile)
{
    struct Row { const char* name; unsigned offset, value; int size; };
    const Row rows[] = {
        {"reserved 1", OFFSET_RESERVED, 1, 2}, {"type 1 (icon)", OFFSET_TYPE, 1, 2}, {"type 0", OFFSET_TYPE, 0, 2},
        {"count 0", OFFSET_COUNT, 0, 2}, {"count 2", OFFSET_COUNT, 2, 2}, {"colour count 2", OFFSET_COLOR_COUNT, 2, 1},
        {"entry reserved 1", OFFSET_ENTRY_RESERVED, 1, 1}, {"header size 12", OFFSET_BI_SIZE, 12, 4},
        {"header size 108", OFFSET_BI_SIZE, 108, 4}, {"2 planes", OFFSET_BI_PLANES, 2, 2},
        {"4 bits per pixel", OFFSET_BI_BIT_COUNT, 4, 2}, {"compression 1", OFFSET_BI_COMPRESSION, 1, 4}};
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

TEST(CursorFile, KeepsTheHeadersAndTheRowBytesThatCreateCursorTakes)
{
    struct Row { const char* name; unsigned width, height, hotX, hotY, imageOffset, stride, k; };
    const Row rows[] = {
        {"0 x 0", 0, 0, 0, 0, 22, 0, 0}, {"0 wide, 5 high", 0, 5, 0, 0, 22, 0, 0}, {"1 x 1", 1, 1, 0, 0, 22, 4, 2},
        {"12 x 2", 12, 2, 11, 1, 22, 4, 2}, {"16 x 16", 16, 16, 8, 8, 22, 4, 2}, {"17 x 1", 17, 1, 0, 0, 22, 4, 4},
        {"32 x 32", 32, 32, 65535, 0, 22, 4, 4}, {"image offset 30 ignored", 32, 4, 1, 2, 30, 4, 4},
        {"40 x 3", 40, 3, 0, 0, 22, 8, 6}, {"64 x 64", 64, 64, 0, 63, 22, 8, 8}, {"65 x 2", 65, 2, 0, 0, 22, 12, 10},
        {"255 x 255", 255, 255, 0, 0, 22, 32, 32}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.stride, GetFileRowBytes(row.width));
        EXPECT_EQ(row.k, GetMaskRowBytes(row.width));
        std::vector<uint8_t> bytes = MakeCursorFile(row.width, row.height, row.hotX, row.hotY);
        PutLittleEndian(bytes, OFFSET_IMAGE_OFFSET, row.imageOffset, 4);
        std::vector<uint8_t> masks[2];  // the first k bytes of each file row
        for (unsigned i = 0; i < 2 * row.stride * row.height; ++i)
            if (i % row.stride < row.k)
                masks[i / (row.stride * row.height)].push_back(bytes[OFFSET_MASKS + i]);
        bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF, 1});  // after the AND mask: never read

        const auto image = Image(ReadCursorBytes(bytes));
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(0, memcmp(&bytes[0], &image->header, 6)) << "file header not as read";
        EXPECT_EQ(0, memcmp(&bytes[OFFSET_WIDTH], &image->entry, 16)) << "directory entry not as read";
        EXPECT_EQ(0, memcmp(&bytes[OFFSET_BI_SIZE], &image->bitmapHeader, 40)) << "bitmap header not as read";
        const size_t size = masks[0].size();
        EXPECT_EQ(masks[0], std::vector<uint8_t>(image->xorMask, image->xorMask + size)) << "XOR mask (first)";
        EXPECT_EQ(masks[1], std::vector<uint8_t>(image->andMask, image->andMask + size)) << "AND mask (second)";
        EXPECT_EQ(image->xorMask + size, image->andMask) << "the masks follow each other in the block";
    }
}
