#include "rules/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolRun Tool(const std::string& args) {
    TempDir capture;
    const std::string command = Quote(VARN_TOOL_PATH) + " " + args + " >" +
                                Quote(capture.path + "out") + " 2>" + Quote(capture.path + "err") +
                                " </dev/null";
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp(capture.path + "out");
    run.err = Slurp(capture.path + "err");
    return run;
}

const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";

} // namespace

TEST(VarnToolCheck, PrintsTheSummaryForAGoodDataSet) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    std::string withoutSlash = dir.path;
    withoutSlash.pop_back();
    for (const std::string& data : {dir.path, withoutSlash}) {
        const ToolRun run = Tool("check --data " + Quote(data));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "races=3 disciplines=2 talents=10 skills=6 spells=2 items=5\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST(VarnToolCheck, EachMissingFileGivesItsMessageAndExitOne) {
    const std::pair<const char*, const char*> files[] = {
        {"Skills.dat", "File 'Skills.dat' not found"},
        {"Races.dat", "File 'Races.dat' not found"},
        {"Talents.dat", "File 'Talents.dat' not found"},
        {"Disciplines.dat", "File 'Disciplines.dat' not found"},
        {"Spells.dat", "File 'Spells.dat' not found"},
        {"Equipment.dat", "File Equipment.dat not found"},
        {"VARN.dat", "File 'VARN.dat' not found"},
    };
    for (const auto& [file, message] : files) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        dir.Remove(file);
        const ToolRun run = Tool("check --data " + Quote(dir.path));
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(message) + "\n");
    }
}

// A script reads them all: standard error is no stack of message boxes.
TEST(VarnToolCheck, PrintsEveryMessageOfAFileFullOfFaults) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    std::string skills;
    for (int i = 0; i < 25; ++i)
        skills += "Strain: 1\n";
    dir.Write("Skills.dat", skills + "[Climbing]\n");
    const ToolRun run = Tool("check --data " + Quote(dir.path));
    std::string expected;
    for (int i = 0; i < 25; ++i)
        expected += "Error : No Skill in .dat file\n";
    EXPECT_EQ(run.err, expected);
}

TEST(VarnToolCheck, YesAnswersTheRenamingQuestion) {
    for (bool yes : {false, true}) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        std::filesystem::rename(dir.path + "Equipment.dat", dir.path + "Equipmen.dat");
        const ToolRun run =
            Tool(std::string("check ") + (yes ? "--yes " : "") + "--data " + Quote(dir.path));
        const std::string question = dir.path + "Equipmen.dat file found" +
                                     "\nYour unzipper had probably truncated this file name" +
                                     "\nAm I allowed to rename it?" + "\n( NewName : " + dir.path +
                                     "Equipment.dat )\n";
        EXPECT_EQ(run.status, yes ? 0 : 1);
        EXPECT_EQ(run.err, yes ? question : question + "File Equipment.dat not found\n");
        EXPECT_EQ(dir.Exists("Equipment.dat"), yes);
    }
}

TEST(VarnToolCheck, BadUsageExitsTwoWithUsageOnStandardError) {
    for (const char* args : {"", "frobnicate", "check extra", "check --data", "check --bogus",
                             "check --data ''", "sheet --yes x.vrn", "sheet", "convert a.vrn"}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find("usage: varn-tool check"), std::string::npos) << args;
    }
    EXPECT_EQ(Tool("--help").status, 0);
}

TEST(VarnToolCheck, ShippedDataLoadsCleanly) {
    const char* const files[] = {"Skills.dat", "Races.dat",     "Talents.dat", "Disciplines.dat",
                                 "Spells.dat", "Equipment.dat", "VARN.dat"};
    for (const char* file : files)
        if (!std::filesystem::exists(std::string(VARN_SHIPPED_DATA_DIR) + file))
            GTEST_SKIP() << "the shipped data set is not complete yet";
    // Explicitly, and as the build places it beside the program (bin/Data/).
    for (const std::string& args :
         {"check --data " + Quote(VARN_SHIPPED_DATA_DIR), std::string("check")}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_EQ(run.err, "") << args;
        EXPECT_TRUE(
            std::regex_match(run.out, std::regex("races=[1-9][0-9]* disciplines=[1-9][0-9]* "
                                                 "talents=[1-9][0-9]* skills=[1-9][0-9]* "
                                                 "spells=[1-9][0-9]* items=[1-9][0-9]*\n")))
            << run.out;
    }
}
