// varn-tool runs that end in a status and a message, as a user runs them: "$D" stands for the
// shipped data, "$E" for the example characters, "$T" for a folder prepared below.

#include "tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Expand(std::string text, const std::string& temp) {
    const std::pair<std::string, std::string> names[] = {
        {"$D", VARN_SHIPPED_DATA_DIR}, {"$E", VARN_SHIPPED_DATA_DIR "../examples/"}, {"$T", temp}};
    for (const auto& [name, value] : names)
        for (size_t at; (at = text.find(name)) != std::string::npos;)
            text.replace(at, name.size(), value);
    return text;
}

} // namespace

TEST(ToolRuns, StatusAndMessages) {
    TempDir t;
    const std::string basic = VARN_TEST_DATA_DIR "rules/basic/";
    for (const char* set : {"basic", "noTalents", "faults"}) {
        std::filesystem::create_directory(t.path + set);
        std::filesystem::copy(basic, t.path + set);
    }
    std::filesystem::remove(t.path + "noTalents/Talents.dat");
    std::string skills, faults;
    for (int i = 0; i < 25; ++i) { // a script reads them all: no stack of message boxes
        skills += "Strain: 1\n";
        faults += "Error : No Skill in .dat file\n";
    }
    t.Write("faults/Skills.dat", skills + "[Climbing]\n");
    std::string newer = Slurp(Expand("$E/beginner.vrn", ""));
    t.Write("short.vrn", newer.substr(0, 100));
    newer[84] = 16;
    t.Write("newer.vrn", newer);
    std::string json = RunTool({"export", Expand("$E/veteran.vrn", ""), t.path + "v.json"}).err;
    ASSERT_EQ(json, "");
    json = Slurp(t.path + "v.json");
    json.replace(json.find("\"name\": \"Galesinger\""), 20,
                 "\"name\": \"Galesinger\", \"colour\": 1");
    json.replace(json.find("\"rank\": 8"), 9, "\"rank\": 99");
    t.Write("bad.json", json);

    const std::string summary = "races=3 disciplines=2 talents=10 skills=6 spells=2 items=5\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err, out = "";
    } runs[] = {
        {{"check", "--data", "$Tbasic/"}, 0, "", summary},
        {{"check", "--data", "$Tbasic"}, 0, "", summary},
        {{"check", "--data", "$TnoTalents"}, 1, "File 'Talents.dat' not found\n"},
        {{"check", "--data", "$Tfaults"},
         0,
         faults,
         "races=3 disciplines=2 talents=10 skills=5 spells=2 items=5\n"},
        {{"sheet", "--data", "$D", "$Tnobody.vrn"}, 1, "$Tnobody.vrn was not found.\n"},
        // A newer file: its own message, then the open failure.
        {{"sheet", "--data", "$D", "$Tnewer.vrn"},
         1,
         "This file was created by a new version of VARN.\nplease update your program\n"
         "Failed to open document.\n"},
        {{"convert", "--data", "$D", "$Tshort.vrn", "$Tx.txt"}, 1, "Unexpected file format.\n"},
        {{"convert", "--data", "$D", "$E/beginner.vrn", "$Tno/such/x.vrn"},
         1,
         "$Tno/such/x.vrn contains an invalid path.\n"},
        // Without the data the tool stops as start-up would.
        {{"sheet", "--data", "$T", "$E/beginner.vrn"}, 1, "File 'Skills.dat' not found\n"},
        // Imports that fail write nothing.
        {{"import", "--data", "$D", "$Tbad.json", "$Tout.vrn"},
         1,
         "warning: disciplines[0].colour: unknown key, ignored\n"
         "talents[0].rank: 99 is out of range 0 to 15\n"},
        {{"import", "--data", "$D", "$Tnone.json", "$Tout.vrn"}, 1, "$Tnone.json was not found.\n"},
        {{"import", "--data", "$D", "$Tv.json", "$Tx.txt"},
         2,
         "varn-tool: import writes a character file OUT.vrn, not '$Tx.txt'\n"},
        {{"export", "--data", "$D", "$E/veteran.vrn", "$Tx.txt"},
         2,
         "varn-tool: export writes OUT.json or OUT.html, not '$Tx.txt'\n"},
    };
    for (const auto& run : runs) {
        std::vector<std::string> args;
        for (const std::string& a : run.args)
            args.push_back(Expand(a, t.path));
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.status, run.status) << args.back();
        EXPECT_EQ(r.err, Expand(run.err, t.path)) << args.back();
        EXPECT_EQ(r.out, run.out) << args.back();
    }
    EXPECT_FALSE(t.Exists("x.txt") || t.Exists("out.vrn"));
}
