// The built quorzel.exe's resources read back as the system reads them: its
// version strings through the version API, its manifest and its first icon.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/resource.h"

namespace
{

// Keeps the first name and stops: the first icon group is the one the shell shows.
BOOL CALLBACK KeepFirstName(HMODULE, LPCSTR, LPSTR pszName, LONG_PTR lParam)
{
    *reinterpret_cast<LPSTR*>(lParam) = pszName;
    return FALSE;
}

}  // namespace

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

TEST(Resources, ManifestWithoutVisualStylesAndTheProgramIconFirst)
{
    HMODULE hModule = LoadLibraryExA(QUORZEL_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    HRSRC hManifest = FindResourceA(hModule, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(nullptr, hManifest);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(hModule, hManifest))),
                               SizeofResource(hModule, hManifest));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
    EXPECT_EQ(std::string::npos, manifest.find("Common-Controls")) << manifest;

    LPSTR pszFirst = nullptr;
    EnumResourceNamesA(hModule, RT_GROUP_ICON, KeepFirstName, reinterpret_cast<LONG_PTR>(&pszFirst));
    EXPECT_EQ(MAKEINTRESOURCEA(IDI_QUORZEL), pszFirst) << "the first icon group";
    FreeLibrary(hModule);
}
