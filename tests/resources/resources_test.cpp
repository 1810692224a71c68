// The built quorzel.exe's version strings read back through the version API,
// the Japanese one included.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(Resources, VersionStringsReadBackThroughTheVersionApi)
{
    DWORD dwHandle = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(QUORZEL_EXE, &dwHandle));
    ASSERT_FALSE(block.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoA(QUORZEL_EXE, 0, DWORD(block.size()), block.data()));
    void* pValue = nullptr;
    UINT cbValue = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &pValue, &cbValue));
    EXPECT_EQ(0x04B00411u, *static_cast<DWORD*>(pValue)) << "Japanese (0411), Unicode (04B0)";
    const char* VALUES[][2] = {{"ProductName", "quorzel"}, {"FileDescription", "quorzel"}, {"ProductVersion", "0.02"},
                               {"Comments", "カーソルファイルを C++ のソースに変換します"}};
    for (const auto& value : VALUES)
    {
        const std::string key = std::string("\\StringFileInfo\\041104B0\\") + value[0];
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), &pValue, &cbValue)) << key;
        EXPECT_STREQ(value[1], static_cast<char*>(pValue)) << key;
    }
}
