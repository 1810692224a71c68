// The in-memory dialog template, word for word: the About box, the forms of
// names and ordinals, and a capacity too small that must never be written past.
#include <stdlib.h>
#include <string.h>
#include <vector>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

namespace
{
typedef std::vector<uint16_t> Words;

// The targets are little-endian, as templates are.
Words ReadWords(const void* pBlock, size_t cbSize)
{
    Words words(cbSize / 2);
    memcpy(words.data(), pBlock, cbSize);
    return words;
}

DialogNameOrOrdinal Name(const char16_t* psz) { return reinterpret_cast<DialogNameOrOrdinal>(psz); }
}  // namespace

TEST(DialogTemplate, AboutBoxIsThe188BytesOfItsLayout)
{
    const Words expected = {
        0x20C2, 0x90C8, 0, 0, 5, 0, 0, 38, 56,           // style, exStyle, 5 controls, 0, 0, 38, 56
        0, 0, 0,                                         // no menu, no class, empty title
        9, 0xFF2D, 0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF, 0,  // 9 pt "ＭＳ Ｐゴシック"
        0x0003, 0x5000, 0, 0, 7, 7, 20, 21, 100, 0xFFFF, 0x0082, 0, 0, 0,
        0x0000, 0x5000, 0, 0, 30, 7, 1, 8, 101, 0xFFFF, 0x0082, 0, 0, 0,
        0x0000, 0x5000, 0, 0, 30, 16, 1, 8, 102, 0xFFFF, 0x0082, 0, 0, 0,
        0x0000, 0x5000, 0, 0, 30, 25, 1, 8, 103, 0xFFFF, 0x0082, 0, 0, 0,
        0x0001, 0x5002, 0, 0, 45, 35, 45, 14, 1, 0xFFFF, 0x0080, 'O', 'K', 0, 0, 0,
    };
    size_t cbSize = 0;
    void* pTemplate = BuildAboutTemplate(&cbSize);
    ASSERT_NE(nullptr, pTemplate);
    EXPECT_EQ(188u, cbSize);
    EXPECT_EQ(expected, ReadWords(pTemplate, cbSize));
    free(pTemplate);
}

TEST(DialogTemplate, NamesOrdinalsTitlesAndFontsAndCapacityBounds)
{
    const DialogItemDesc ORDINALS[] = {{DIALOG_CLASS_BUTTON, 0x7F, 1, 0x20, 5, 6, 7, 8, 0xFFFF}};
    const DialogItemDesc NAMES[] = {{Name(u"Edit"), 0, 0, 0, 1, 2, 3, 4, 10},
                                    {0, Name(u"xy"), 0x40000000, 0, 1, 2, 3, 4, 11}};
    const struct Row
    {
        const char* pszName;
        DialogDesc desc;
        const DialogItemDesc* pItems;
        Words expected;
    } ROWS[] = {
        {"ordinals, null title, a point size without a face name",
         {WS_POPUP, 8, 1, 1, -2, 3, 4, 0x8002, nullptr, 5, nullptr, 9}, ORDINALS,
         {0, 0x8000, 8, 0, 1, 1, 0xFFFE, 3, 4, 0xFFFF, 5, 0xFFFF, 0x8002, 0,
          1, 0x4000, 0x20, 0, 5, 6, 7, 8, 0xFFFF, 0xFFFF, 0x0080, 0xFFFF, 0x7F, 0}},
        {"names, empty title, font; class 0 is ordinal 0, title 0 empty",
         {DS_SETFONT, 0, 2, 0, 0, 0, 0, Name(u"DC"), u"", Name(u"M"), u"Ab", 8}, NAMES,
         {0x40, 0, 0, 0, 2, 0, 0, 0, 0, 'M', 0, 'D', 'C', 0, 0, 8, 'A', 'b', 0, 0,
          0, 0x4000, 0, 0, 1, 2, 3, 4, 10, 'E', 'd', 'i', 't', 0, 0, 0,
          0, 0x4000, 0, 0, 1, 2, 3, 4, 11, 0xFFFF, 0, 'x', 'y', 0, 0, 0}},
        {"no menu, no class, no controls: ends with the title",
         {0, 0, 0, 0, 0, 0, 0, 0, u"Ti", 0, nullptr, 0}, nullptr,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'T', 'i', 0}},
    };
    for (const Row& row : ROWS)
    {
        size_t cbSize = 0;
        void* pTemplate = BuildDialogTemplate(&row.desc, row.pItems, &cbSize);
        ASSERT_NE(nullptr, pTemplate) << row.pszName;
        EXPECT_EQ(row.expected, ReadWords(pTemplate, cbSize)) << row.pszName;
        for (size_t nCapacity = 0; nCapacity < cbSize; ++nCapacity)
        {
            std::vector<unsigned char> buffer(cbSize + 8, 0xA5);
            size_t nWords = WriteDialogTemplate(&row.desc, row.pItems, buffer.data(), nCapacity);
            EXPECT_LE(nWords * 2, nCapacity) << row.pszName;
            EXPECT_EQ(std::vector<unsigned char>(buffer.size() - nCapacity, 0xA5),
                      std::vector<unsigned char>(buffer.begin() + nCapacity, buffer.end()))
                << row.pszName << ": written past a capacity of " << nCapacity;
        }
        free(pTemplate);
    }
}
