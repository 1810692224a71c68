// The ".cpp" name beside an input, and the rule that lets through only a
// whole ".cpp" name that is not the input itself.
#include <string>
#include <gtest/gtest.h>
#include "TOOLS/toolsys.h"
#include "output/outputname.h"

TEST(MakeOutputPath, ReplacesTheLastExtensionAndRefusesCutOrOwnNames)
{
    const std::string stem517 = "C:\\" + std::string(514, 'n');  // 517 bytes: ".cpp" ends at byte 521
    struct Row { std::string input; bool usable; std::string output; };
    const Row rows[] = {
        {"C:\\cur.d\\arrow.old.cur", true, "C:\\cur.d\\arrow.old.cpp"}, {"C:\\cur.d\\arrow", true, "C:\\cur.d\\arrow.cpp"},
        {"a.b\x95\x5C", true, "a.cpp"}, {"C:\\a\\x.CPP", false, "C:\\a\\x.cpp"}, {"C:\\a\\x.cpp", false, "C:\\a\\x.cpp"},
        {stem517 + ".cur", true, stem517 + ".cpp"}, {stem517 + "n.cur", false, stem517 + "n.cp"}};
    for (const Row& row : rows)
    {
        char szOutput[PATH_CAPACITY];
        EXPECT_EQ(row.usable, MakeOutputPath(szOutput, row.input.c_str())) << row.input;
        EXPECT_EQ(row.output, szOutput) << row.input;
    }
}
