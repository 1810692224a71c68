// Round trip: the text quorzel wrote for each cursor file, compiled below, must
// build the same cursor as the system's loader reads from that file: the same
// hot spot, size, and AND and XOR pixels.
#include <windows.h>

#include <stdio.h>

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/cursorbytes.h"

namespace
{

// Each text is the body of a function that takes the instance as hInstance.
HCURSOR MakeHand32(HINSTANCE hInstance) {
#include "hand32.cpp"
}
HCURSOR MakeArrow16(HINSTANCE hInstance) {
#include "arrow16.cpp"
}
HCURSOR MakeCross48(HINSTANCE hInstance) {
#include "cross48.cpp"
}
HCURSOR MakePattern1x1(HINSTANCE hInstance) {
#include "pattern1x1.cpp"
}
HCURSOR MakePattern2x3(HINSTANCE hInstance) {
#include "pattern2x3.cpp"
}
HCURSOR MakePattern3x5(HINSTANCE hInstance) {
#include "pattern3x5.cpp"
}
HCURSOR MakePattern4x7(HINSTANCE hInstance) {
#include "pattern4x7.cpp"
}
HCURSOR MakePattern5x2(HINSTANCE hInstance) {
#include "pattern5x2.cpp"
}
HCURSOR MakePattern6x4(HINSTANCE hInstance) {
#include "pattern6x4.cpp"
}
HCURSOR MakePattern7x6(HINSTANCE hInstance) {
#include "pattern7x6.cpp"
}
HCURSOR MakePattern12x2(HINSTANCE hInstance) {
#include "pattern12x2.cpp"
}
HCURSOR MakePattern33x5(HINSTANCE hInstance) {
#include "pattern33x5.cpp"
}
HCURSOR MakePattern40x9(HINSTANCE hInstance) {
#include "pattern40x9.cpp"
}
HCURSOR MakePattern64x64(HINSTANCE hInstance) {
#include "pattern64x64.cpp"
}
HCURSOR MakePattern255x255(HINSTANCE hInstance) {
#include "pattern255x255.cpp"
}

struct RoundTripCase
{
    const char* pszName;
    const char* pszPath;  // relative to the test's working folder
    HCURSOR (*pfnMake)(HINSTANCE hInstance);
};

void PrintTo(const RoundTripCase& test, std::ostream* pStream) { *pStream << test.pszName; }

const RoundTripCase ROUND_TRIP_CASES[] = {
    {"hand32", "hand32.cur", MakeHand32},
    {"arrow16", "arrow16.cur", MakeArrow16},
    {"cross48", "cross48.cur", MakeCross48},
    {"pattern1x1", "pattern1x1.cur", MakePattern1x1},
    {"pattern2x3", "pattern2x3.cur", MakePattern2x3},
    {"pattern3x5", "pattern3x5.cur", MakePattern3x5},
    {"pattern4x7", "pattern4x7.cur", MakePattern4x7},
    {"pattern5x2", "pattern5x2.cur", MakePattern5x2},
    {"pattern6x4", "pattern6x4.cur", MakePattern6x4},
    {"pattern7x6", "pattern7x6.cur", MakePattern7x6},
    {"pattern12x2", "pattern12x2.cur", MakePattern12x2},
    {"pattern33x5", "pattern33x5.cur", MakePattern33x5},
    {"pattern40x9", "pattern40x9.cur", MakePattern40x9},
    {"pattern64x64", "pattern64x64.cur", MakePattern64x64},
    {"pattern255x255", "pattern255x255.cur", MakePattern255x255},
};

// What a cursor holds: its hot spot, and its mask bitmap (AND rows on top of
// XOR rows, each row bmWidthBytes long, the top row first).
struct CursorPixels
{
    bool fMonochrome = false;
    DWORD xHotspot = 0, yHotspot = 0;
    BITMAP bitmap = {};
    std::vector<BYTE> bits;

    int Pixel(int x, int y) const
    {
        return (bits[y * bitmap.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1;
    }
};

// Reads the cursor's hot spot and masks, and destroys the cursor.
bool ReadCursor(HCURSOR hCursor, CursorPixels* pPixels)
{
    ICONINFO info = {};
    const bool fRead = hCursor && GetIconInfo(hCursor, &info);
    if (fRead)
    {
        pPixels->fMonochrome = info.hbmColor == NULL;
        pPixels->xHotspot = info.xHotspot;
        pPixels->yHotspot = info.yHotspot;
        GetObject(info.hbmMask, sizeof pPixels->bitmap, &pPixels->bitmap);
        pPixels->bits.resize(pPixels->bitmap.bmWidthBytes * pPixels->bitmap.bmHeight);
        GetBitmapBits(info.hbmMask, LONG(pPixels->bits.size()), pPixels->bits.data());
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
    if (hCursor)
        DestroyCursor(hCursor);
    return fRead;
}

class RoundTrip : public testing::TestWithParam<RoundTripCase>
{
};

TEST_P(RoundTrip, GeneratedTextBuildsTheLoadedCursor)
{
    const RoundTripCase& test = GetParam();
    // The cursor file's own header: width, height and hot spot.
    BYTE header[OFFSET_BYTES_IN_RES] = {};
    FILE* pFile = fopen(test.pszPath, "rb");
    ASSERT_TRUE(pFile != nullptr) << test.pszPath << ": cannot open";
    const size_t nRead = fread(header, 1, sizeof header, pFile);
    fclose(pFile);
    ASSERT_EQ(sizeof header, nRead) << test.pszPath << ": header cut short";
    const int nWidth = header[OFFSET_WIDTH], nHeight = header[OFFSET_HEIGHT];
    const DWORD xHotspot = header[OFFSET_HOTSPOT_X] | header[OFFSET_HOTSPOT_X + 1] << 8;
    const DWORD yHotspot = header[OFFSET_HOTSPOT_Y] | header[OFFSET_HOTSPOT_Y + 1] << 8;

    CursorPixels made, loaded;
    ASSERT_TRUE(ReadCursor(test.pfnMake(GetModuleHandle(NULL)), &made))
        << test.pszName << ": the generated text built no cursor, error " << GetLastError();
    ASSERT_TRUE(ReadCursor(HCURSOR(LoadImageA(NULL, test.pszPath, IMAGE_CURSOR, 0, 0,
                                              LR_LOADFROMFILE)),
                           &loaded))
        << test.pszName << ": LoadImage refused " << test.pszPath << ", error " << GetLastError();

    const CursorPixels* cursors[] = {&made, &loaded};
    for (const CursorPixels* pCursor : cursors)
    {
        const char* pszWhich = pCursor == &made ? "generated" : "loaded";
        EXPECT_TRUE(pCursor->fMonochrome) << test.pszName << " " << pszWhich << ": has a colour bitmap";
        EXPECT_EQ(xHotspot, pCursor->xHotspot) << test.pszName << " " << pszWhich << ": hot spot x";
        EXPECT_EQ(yHotspot, pCursor->yHotspot) << test.pszName << " " << pszWhich << ": hot spot y";
        ASSERT_EQ(nWidth, pCursor->bitmap.bmWidth) << test.pszName << " " << pszWhich << ": mask width";
        ASSERT_EQ(2 * nHeight, pCursor->bitmap.bmHeight)
            << test.pszName << " " << pszWhich << ": mask height (AND and XOR)";
    }

    // Every pixel of both masks; the first difference of each and the count.
    const char* const maskNames[] = {"AND", "XOR"};
    for (int nMask = 0; nMask < 2; ++nMask)
    {
        int nDifferent = 0, xFirst = 0, yFirst = 0;
        for (int y = 0; y < nHeight; ++y)
            for (int x = 0; x < nWidth; ++x)
                if (made.Pixel(x, nMask * nHeight + y) != loaded.Pixel(x, nMask * nHeight + y)
                    && nDifferent++ == 0)
                    xFirst = x, yFirst = y;
        EXPECT_EQ(0, nDifferent)
            << test.pszName << " " << maskNames[nMask] << " mask: " << nDifferent
            << " pixels differ, first (" << xFirst << ", " << yFirst << "): got "
            << made.Pixel(xFirst, nMask * nHeight + yFirst) << ", expected "
            << loaded.Pixel(xFirst, nMask * nHeight + yFirst);
    }
}

INSTANTIATE_TEST_SUITE_P(Cursors, RoundTrip, testing::ValuesIn(ROUND_TRIP_CASES),
                         [](const testing::TestParamInfo<RoundTripCase>& info) {
                             return std::string(info.param.pszName);
                         });

}  // namespace
