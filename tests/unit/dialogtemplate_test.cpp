// The in-memory dialog template word for word: the About box, names, ordinals, small capacities.
#include <stdlib.h>
#include <vector>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

typedef std::vector<uint16_t> Words;

TEST(DialogTemplate, AboutBoxIsThe188BytesOfItsLayout)
{
    // Little-endian words, as the targets are: the styles, 5 controls at 0, 0, 38 x 56, no menu,
    // class or title; 9 point "ＭＳ Ｐゴシック"; the icon, version, link and resources lines, OK.
    const Words expected = {
        0x20C2, 0x90C8, 0,      0,      5,      0,      0,      38, 56, 0,      0, 0, 9,  0xFF2D,
        0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF, 0,  3,  0x5000, 0, 0, 7,  7,
        20,     21,     100,    0xFFFF, 0x82,   0,      0,      0,  0,  0x5000, 0, 0, 30, 7,
        1,      8,      101,    0xFFFF, 0x82,   0,      0,      0,  0,  0x5000, 0, 0, 30, 16,
        1,      8,      102,    0xFFFF, 0x82,   0,      0,      0,  0,  0x5000, 0, 0, 30, 25,
        1,      8,      103,    0xFFFF, 0x82,   0,      0,      0,  1,  0x5002, 0, 0, 45, 35,
        45,     14,     1,      0xFFFF, 0x80,   'O',    'K',    0,  0,  0};
    size_t cbSize = 0;
    uint16_t* pWords = static_cast<uint16_t*>(BuildAboutTemplate(&cbSize));
    EXPECT_EQ(expected, Words(pWords, pWords + cbSize / 2));
    free(pWords);
}

// Each row also goes through every capacity below its size: not a byte past it changes; where the
// pieces that fit are whole (none, the header, all but the last word) all that fit are counted.
TEST(DialogTemplate, NamesOrdinalsTitlesFontsAndCapacityBounds)
{
    typedef DialogNameOrOrdinal Name;  // Name(u"x"): the string's address
    const DialogItemDesc ITEMS[] = {{DIALOG_CLASS_BUTTON, 0x7F, 1, 0x20, 5, 6, 7, 8, 0xFFFF},
                                    {Name(u"Edit"), 0, 0, 0, 1, 2, 3, 4, 10},
                                    {0, Name(u"xy"), 0x40000000, 0, 1, 2, 3, 4, 11}};
    const std::tuple<const char*, DialogDesc, const DialogItemDesc*, Words> ROWS[] = {
        {"ordinals, null title, a point size without a face name",
         {WS_POPUP, 8, 1, 1, -2, 3, 4, 0x8002, nullptr, 5, nullptr, 9},
         ITEMS,
         {0, 0x8000, 8,    0, 1, 1, 0xFFFE, 3, 4,      0xFFFF, 5,      0xFFFF, 0x8002, 0,
          1, 0x4000, 0x20, 0, 5, 6, 7,      8, 0xFFFF, 0xFFFF, 0x0080, 0xFFFF, 0x7F,   0}},
        {"names and a font; a control's class 0 is ordinal 0, its title 0 empty",
         {DS_SETFONT, 0, 2, 0, 0, 0, 0, Name(u"DC"), u"Ti", Name(u"M"), u"Ab", 8},
         ITEMS + 1,
         {0x40, 0,   0, 0,      2, 0,      0, 0, 0, 'M', 0,  'D',    'C', 0,   'T', 'i', 0,   8,
          'A',  'b', 0, 0,      0, 0x4000, 0, 0, 1, 2,   3,  4,      10,  'E', 'd', 'i', 't', 0,
          0,    0,   0, 0x4000, 0, 0,      1, 2, 3, 4,   11, 0xFFFF, 0,   'x', 'y', 0,   0,   0}},
    };
    for (const auto& [pszName, desc, pItems, expected] : ROWS)
    {
        size_t cbSize = 0;
        uint16_t* pWords = static_cast<uint16_t*>(BuildDialogTemplate(&desc, pItems, &cbSize));
        EXPECT_EQ(expected, Words(pWords, pWords + cbSize / 2)) << pszName;
        free(pWords);
        for (size_t nCapacity = 0; nCapacity < cbSize; ++nCapacity)
        {
            std::vector<unsigned char> buffer(cbSize + 8, 0xA5);
            const size_t nWords = WriteDialogTemplate(&desc, pItems, buffer.data(), nCapacity);
            if (nCapacity == 0 || nCapacity == 18 || nCapacity + 2 >= cbSize)
                EXPECT_EQ(nCapacity / 2, nWords)
                    << pszName << ": the words counted at a capacity of " << nCapacity;
            EXPECT_EQ(std::vector<unsigned char>(buffer.size() - nCapacity, 0xA5),
                      std::vector<unsigned char>(buffer.begin() + nCapacity, buffer.end()))
                << pszName << ": the bytes past a capacity of " << nCapacity;
        }
    }
}
