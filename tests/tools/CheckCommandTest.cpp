#include "tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {
const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";
} // namespace

TEST(VarnToolCheck, YesAnswersTheRenamingQuestion) {
    for (bool yes : {false, true}) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        std::filesystem::rename(dir.path + "Equipment.dat", dir.path + "Equipmen.dat");
        std::vector<std::string> args = {"check", "--data", dir.path};
        if (yes)
            args.insert(args.begin() + 1, "--yes");
        const ToolResult run = RunTool(args);
        const std::string question = dir.path + "Equipmen.dat file found" +
                                     "\nYour unzipper had probably truncated this file name" +
                                     "\nAm I allowed to rename it?" + "\n( NewName : " + dir.path +
                                     "Equipment.dat )\n";
        EXPECT_EQ(run.status, yes ? 0 : 1);
        EXPECT_EQ(run.err, yes ? question : question + "File Equipment.dat not found\n");
        EXPECT_EQ(dir.Exists("Equipment.dat"), yes);
    }
}

TEST(VarnToolCheck, ShippedDataLoadsCleanly) {
    // Explicitly, and as the build places it beside the program (bin/Data/).
    for (const auto& args : {std::vector<std::string>{"check", "--data", VARN_SHIPPED_DATA_DIR},
                             std::vector<std::string>{"check"}}) {
        const ToolResult run = RunTool(args);
        EXPECT_EQ(run.status, 0) << args.size();
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(
            std::regex_match(run.out, std::regex("races=[1-9][0-9]* disciplines=[1-9][0-9]* "
                                                 "talents=[1-9][0-9]* skills=[1-9][0-9]* "
                                                 "spells=[1-9][0-9]* items=[1-9][0-9]*\n")))
            << run.out;
    }
}
