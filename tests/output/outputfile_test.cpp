// OpenOutputFile on an input whose ".cpp" name is the input itself: nothing
// may be moved to the recycle bin or opened for writing. An ordinary input
// beside an old ".cpp" shows that the same checks do see a replacement.
#include <windows.h>

#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

#include "output/outputfile.h"

namespace
{

const char OLD_TEXT[] = "old";

std::string ReadText(const std::string& path)
{
    FILE* pFile = fopen(path.c_str(), "rb");
    if (!pFile)
        return "<none>";
    char szText[64] = "";
    szText[fread(szText, 1, sizeof szText - 1, pFile)] = '\0';
    fclose(pFile);
    return szText;
}

// Wine's recycle bin is the XDG trash of the build's own data folder: the
// file goes to Trash/files, its record to Trash/info.
std::string TrashPath(const std::string& subpath)
{
    char szData[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", szData, MAX_PATH);
    std::string path = std::string("Z:") + szData + "/Trash/" + subpath;
    for (char& ch : path)
        ch = ch == '/' ? '\\' : ch;
    return path;
}

std::string TrashedPath(const std::string& name) { return TrashPath("files/" + name); }

// A name left in the trash by an earlier run would make the next one unique.
void ForgetTrashed(const std::string& name)
{
    DeleteFileA(TrashedPath(name).c_str());
    DeleteFileA(TrashPath("info/" + name + ".trashinfo").c_str());
}

TEST(OpenOutputFile, NeverReplacesTheInputItself)
{
    const struct
    {
        const char* pszInput;
        const char* pszOldOutput;  // the file standing at the ".cpp" name
        bool fOpened;
    } CASES[] = {
        {"self.cpp", "self.cpp", false},
        {"SHOUT.CPP", "SHOUT.CPP", false},
        {"plain.cur", "plain.cpp", true},
    };
    char szTemp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, szTemp), 0u);
    ASSERT_NE(GetEnvironmentVariableA("XDG_DATA_HOME", nullptr, 0), 0u) << "run through scripts/wine-run";
    for (const auto& c : CASES)
    {
        SCOPED_TRACE(c.pszInput);
        const std::string input = std::string(szTemp) + c.pszInput;
        const std::string old = std::string(szTemp) + c.pszOldOutput;
        ForgetTrashed(c.pszOldOutput);
        FILE* pOld = fopen(old.c_str(), "wb");
        ASSERT_TRUE(pOld && fputs(OLD_TEXT, pOld) >= 0 && fclose(pOld) == 0) << old;

        FILE* pOutput = OpenOutputFile(input.c_str());
        EXPECT_EQ(c.fOpened, pOutput != nullptr) << "a stream for " << input;
        if (pOutput)
            fclose(pOutput);
        EXPECT_EQ(c.fOpened ? "" : OLD_TEXT, ReadText(old)) << old;
        EXPECT_EQ(c.fOpened ? OLD_TEXT : "<none>", ReadText(TrashedPath(c.pszOldOutput)))
            << "in the recycle bin";
        DeleteFileA(old.c_str());
        DeleteFileA(input.c_str());
    }
}

}  // namespace
