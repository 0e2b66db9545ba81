// varn-tool runs that end in a status and messages, as a user runs them. The runs and what each
// gives are kept in tests/data/tools/runs.txt: "$ ARGS" (">PATH" at the end sends standard
// output there), then "exit N", standard output lines after "| ", standard error after "! ".
// The usage on standard error shows as "(usage)"; "$E/" stands for the examples, "$D/" for the
// shipped data and "$T/" for the folder prepared below; '' is an empty argument.

#include "tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(ToolRuns, StatusAndMessages) {
    TempDir t;
    const std::pair<std::string, std::string> names[] = {
        {"$E/", VARN_SHIPPED_DATA_DIR "../examples/"}, // before the data folder it is in
        {"$D/", VARN_SHIPPED_DATA_DIR},
        {"$T/", t.path}};
    for (const char* set : {"basic", "noTalents", "faults", "short", "shortYes"}) {
        std::filesystem::create_directory(t.path + set);
        std::filesystem::copy(VARN_TEST_DATA_DIR "rules/basic/", t.path + set);
    }
    std::filesystem::remove(t.path + "noTalents/Talents.dat");
    for (const char* set : {"short/", "shortYes/"})
        std::filesystem::rename(t.path + set + "Equipment.dat", t.path + set + "Equipmen.dat");
    std::string skills; // a script reads every message: no stack of message boxes
    for (int i = 0; i < 25; ++i)
        skills += "Strain: 1\n";
    t.Write("faults/Skills.dat", skills + "[Climbing]\n");
    std::string newer = Slurp(VARN_SHIPPED_DATA_DIR "../examples/beginner.vrn");
    t.Write("short.vrn", newer.substr(0, 100));
    newer[84] = 16;
    t.Write("newer.vrn", newer);
    ASSERT_EQ(
        RunTool({"export", VARN_SHIPPED_DATA_DIR "../examples/veteran.vrn", t.path + "v.json"})
            .status,
        0);
    std::string json = Slurp(t.path + "v.json");
    json.replace(json.find("\"name\": \"Galesinger\""), 20,
                 "\"name\": \"Galesinger\", \"colour\": 1");
    json.replace(json.find("\"rank\": 8"), 9, "\"rank\": 99");
    t.Write("bad.json", json);
    json = Slurp(t.path + "v.json");
    json.replace(json.find("\"attributePoints\": 66"), 21, "\"attributePoints\": 1");
    json.replace(json.find("\"disciplines\": ["), 16,
                 "\"disciplines\": [{\"name\": \"Oathplate\", \"circle\": 1},");
    t.Write("marked.json", json);

    const std::string usage = RunTool({"--help"}).out; // shown once, after "$ --help"
    std::istringstream expected(Slurp(VARN_TEST_DATA_DIR "tools/runs.txt"));
    std::string transcript;
    for (std::string line; std::getline(expected, line);) {
        if (line != "$" && !line.starts_with("$ ")) {
            if (line.starts_with("#"))
                transcript += line + "\n";
            continue;
        }
        std::vector<std::string> args;
        std::string out;
        std::istringstream words(line.substr(1));
        for (std::string word; words >> word;) {
            for (const auto& [name, path] : names)
                word = Replace(word, name, path);
            if (word.starts_with(">"))
                out = word.substr(1);
            else
                args.push_back(word == "''" ? "" : word);
        }
        const ToolResult r = RunTool(args, out);
        transcript += line + "\nexit " + std::to_string(r.status) + "\n";
        for (const auto& [prefix, text] : {std::pair{"| ", r.out}, {"! ", r.err}}) {
            std::string shown = text;
            for (const auto& [name, path] : names)
                shown = Replace(shown, path, name);
            if (prefix == std::string("! "))
                shown = Replace(shown, usage, "(usage)\n");
            std::istringstream lines(shown);
            for (std::string l; std::getline(lines, l);)
                transcript += prefix + l + "\n";
        }
    }
    ExpectFile(transcript, "tools/runs.txt");
    EXPECT_FALSE(t.Exists("x.txt") || t.Exists("out.vrn")); // failed runs write nothing
}

TEST(ToolRuns, ShippedDataLoadsCleanly) {
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
