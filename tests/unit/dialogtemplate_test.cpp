// The in-memory dialog template, word for word: the About box, the forms of
// names and ordinals, and a capacity too small that must never be written past.
#include <stdlib.h>
#include <vector>
#include <gtest/gtest.h>
#include "about/dialogtemplate.h"

typedef std::vector<uint16_t> Words;

TEST(DialogTemplate, AboutBoxIsThe188BytesOfItsLayout)
{
    const Words expected = {
        0x20C2, 0x90C8, 0,      0,      5,      0,      0,      38,     56,     0,      0,    0,  // styles, 5 controls,
                                                                                                  // 0, 0, 38, 56; no
                                                                                                  // menu, class, title
        9,      0xFF2D, 0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF, 0,  // 9 pt "ＭＳ Ｐゴシック"
        3,      0x5000, 0,      0,      7,      7,      20,     21,     100,    0xFFFF, 0x82, 0, 0,      0,      0,
        0x5000, 0,      0,      30,     7,      1,      8,      101,    0xFFFF, 0x82,   0,    0, 0,      0,      0x5000,
        0,      0,      30,     16,     1,      8,      102,    0xFFFF, 0x82,   0,      0,    0, 0,      0x5000, 0,
        0,      30,     25,     1,      8,      103,    0xFFFF, 0x82,   0,      0,      0,    1, 0x5002, 0,      0,
        45,     35,     45,     14,     1,      0xFFFF, 0x80,   'O',    'K',    0,      0,    0,
    };
    size_t cbSize = 0;
    uint16_t* pWords = static_cast<uint16_t*>(BuildAboutTemplate(&cbSize));  // little-endian, as the targets are
    EXPECT_EQ(expected, Words(pWords, pWords + cbSize / 2)) << "188 bytes";
    free(pWords);
}

// Each row also goes through every capacity below its size: the words counted
// fit the capacity (the header alone 18 bytes), and not a byte past it changes.
TEST(DialogTemplate, NamesOrdinalsTitlesFontsAndCapacityBounds)
{
    const auto Name = [](const char16_t* psz) {
        return reinterpret_cast<DialogNameOrOrdinal>(psz);
    };
    const DialogItemDesc ORDINALS[] = {{DIALOG_CLASS_BUTTON, 0x7F, 1, 0x20, 5, 6, 7, 8, 0xFFFF}};
    const DialogItemDesc NAMES[] = {{Name(u"Edit"), 0, 0, 0, 1, 2, 3, 4, 10},
                                    {0, Name(u"xy"), 0x40000000, 0, 1, 2, 3, 4, 11}};
    const struct
    {
        const char* pszName;
        DialogDesc desc;
        const DialogItemDesc* pItems;
        Words expected;
    } ROWS[] = {
        {"ordinals, null title, a point size without a face name",
         {WS_POPUP, 8, 1, 1, -2, 3, 4, 0x8002, nullptr, 5, nullptr, 9},
         ORDINALS,
         {0, 0x8000, 8,    0, 1, 1, 0xFFFE, 3, 4,      0xFFFF, 5,      0xFFFF, 0x8002, 0,
          1, 0x4000, 0x20, 0, 5, 6, 7,      8, 0xFFFF, 0xFFFF, 0x0080, 0xFFFF, 0x7F,   0}},
        {"names and a font; a control's class 0 is ordinal 0, its title 0 empty",
         {DS_SETFONT, 0, 2, 0, 0, 0, 0, Name(u"DC"), u"Ti", Name(u"M"), u"Ab", 8},
         NAMES,
         {0x40, 0,   0, 0,      2, 0,      0, 0, 0, 'M', 0,  'D',    'C', 0,   'T', 'i', 0,   8,
          'A',  'b', 0, 0,      0, 0x4000, 0, 0, 1, 2,   3,  4,      10,  'E', 'd', 'i', 't', 0,
          0,    0,   0, 0x4000, 0, 0,      1, 2, 3, 4,   11, 0xFFFF, 0,   'x', 'y', 0,   0,   0}},
        {"no controls: a string is the last piece",
         {0, 0, 0, 0, 0, 0, 0, 0, u"Ti", 0, nullptr, 0},
         nullptr,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'T', 'i', 0}},
    };
    for (const auto& row : ROWS)
    {
        size_t cbSize = 0;
        uint16_t* pWords = static_cast<uint16_t*>(BuildDialogTemplate(&row.desc, row.pItems, &cbSize));
        EXPECT_EQ(row.expected, Words(pWords, pWords + cbSize / 2)) << row.pszName;
        free(pWords);
        for (size_t nCapacity = 0; nCapacity < cbSize; ++nCapacity)
        {
            SCOPED_TRACE(testing::Message() << row.pszName << ", capacity " << nCapacity);
            std::vector<unsigned char> buffer(cbSize + 8, 0xA5);
            const size_t nWords = WriteDialogTemplate(&row.desc, row.pItems, buffer.data(), nCapacity);
            EXPECT_EQ(nCapacity == 18 ? 9 : std::min(nWords, nCapacity / 2), nWords) << "18: the header";
            EXPECT_EQ(std::vector<unsigned char>(buffer.size() - nCapacity, 0xA5),
                      std::vector<unsigned char>(buffer.begin() + nCapacity, buffer.end()))
                << "written past";
        }
    }
}
