// Round trip: the text quorzel wrote for each cursor file, compiled in, must
// build the same cursor as the system's loader reads from that file: the same
// hot spot, mask size, and AND and XOR pixels.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{

struct RoundTripCase
{
    const char* pszName;
    HCURSOR (*pfnMake)(HINSTANCE hInstance);
};  // NAME.cur in the folder

#include "roundtrip_cases.h"

// The hot spot and mask size of a cursor, and its mask pixels (AND rows over
// XOR rows, the top row first); the cursor is destroyed.
std::string ReadCursor(HCURSOR hCursor, std::string* pPixels)
{
    ICONINFO info = {};
    if (!hCursor || !GetIconInfo(hCursor, &info))
        return "no cursor, error " + std::to_string(GetLastError());
    BITMAP bitmap = {};
    GetObject(info.hbmMask, sizeof bitmap, &bitmap);
    std::vector<BYTE> bits(bitmap.bmWidthBytes * bitmap.bmHeight);
    GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data());
    for (int y = 0; y < bitmap.bmHeight; ++y)
        for (int x = 0; x < bitmap.bmWidth; ++x)
            pPixels->push_back(
                char('0' + (bits[y * bitmap.bmWidthBytes + x / 8] >> (7 - x % 8) & 1)));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);  // null: no colour bitmap
    DestroyCursor(hCursor);
    return "hot spot " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot) +
           ", mask " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) +
           (info.hbmColor ? ", colour" : "");
}

class RoundTrip : public testing::TestWithParam<RoundTripCase>
{
};

TEST_P(RoundTrip, GeneratedTextBuildsTheLoadedCursor)
{
    const std::string path = GetParam().pszName + std::string(".cur");
    std::string made, loaded;
    const std::string expected = ReadCursor(
        HCURSOR(LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)), &loaded);
    ASSERT_EQ(expected, ReadCursor(GetParam().pfnMake(GetModuleHandle(NULL)), &made)) << path;
    ASSERT_NE(0u, loaded.size()) << path << " loaded";
    const size_t nFirst =
        std::mismatch(made.begin(), made.end(), loaded.begin()).first - made.begin();
    EXPECT_EQ(loaded.size(), nFirst)
        << path << ": mask pixels differ from index " << nFirst << " of the " << expected
        << " (AND rows over XOR rows, row by row from the top)";
}

INSTANTIATE_TEST_SUITE_P(Cursors, RoundTrip, testing::ValuesIn(ROUND_TRIP_CASES),
                         [](const testing::TestParamInfo<RoundTripCase>& info) {
                             return info.param.pszName;
                         });

}  // namespace
