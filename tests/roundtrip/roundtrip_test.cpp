// Round trip: the text quorzel wrote for each cursor file, compiled in, must build the cursor that
// the system's loader reads from that file: the same hot spot, mask size and mask pixels.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{

struct RoundTripCase
{
    const char* pszName;  // NAME.cur in the folder
    HCURSOR (*pfnMake)(HINSTANCE hInstance);
};

#include "roundtrip_cases.h"

// A cursor's hot spot, mask size, a colon and mask pixels (AND over XOR rows, top first); freed.
std::string ReadCursor(HCURSOR hCursor)
{
    ICONINFO info = {};
    if (!GetIconInfo(hCursor, &info))
        return "no cursor, error " + std::to_string(GetLastError());
    BITMAP bitmap = {};
    GetObject(info.hbmMask, sizeof bitmap, &bitmap);
    std::vector<BYTE> bits(bitmap.bmWidthBytes * bitmap.bmHeight);
    GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data());
    std::string cursor =
        "hot spot " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot) +
        ", mask " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) + ":";
    for (int y = 0; y < bitmap.bmHeight; ++y)
        for (int x = 0; x < bitmap.bmWidth; ++x)
            cursor += char('0' + (bits[y * bitmap.bmWidthBytes + x / 8] >> (7 - x % 8) & 1));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);  // null: no colour bitmap
    DestroyCursor(hCursor);
    return cursor;
}

TEST(RoundTrip, GeneratedTextBuildsTheLoadedCursor)
{
    for (const RoundTripCase& c : ROUND_TRIP_CASES)
    {
        const std::string path = c.pszName + std::string(".cur");
        const std::string loaded = ReadCursor(
            HCURSOR(LoadImageA(NULL, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
        const std::string made = ReadCursor(c.pfnMake(GetModuleHandle(NULL)));
        const size_t nSame =
            std::mismatch(made.begin(), made.end(), loaded.begin(), loaded.end()).first -
            made.begin();
        EXPECT_EQ(loaded.size(), nSame)
            << path << ": made " << made.substr(0, made.find(':')) << ", loaded "
            << loaded.substr(0, loaded.find(':')) << ", alike up to character " << nSame;
    }
}

}  // namespace
