// varn-tool export and import on the example characters, as a user runs them.

#include "tools/RunTool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

const std::string data = VARN_SHIPPED_DATA_DIR;
const std::string examples = data + "../examples/";

// Standard error of a run of `command`, with the shipped data, on `args`; its status in
// `status`.
std::string Tool(const std::string& command, std::vector<std::string> args, int& status) {
    args.insert(args.begin(), {command, "--data", data});
    ToolResult r = RunTool(args);
    status = r.status;
    return r.err;
}

// The expected pages live in tests/data/sheet/; VARN_WRITE_EXPECTED_SHEETS=1 rewrites them
// from the current output, to be read over by hand before they are committed.
void ExpectGolden(const std::string& actual, const char* name) {
    const std::string path = std::string(VARN_TEST_DATA_DIR) + "sheet/" + name;
    if (std::getenv("VARN_WRITE_EXPECTED_SHEETS")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, Slurp(path)) << name;
}

} // namespace

TEST(ExportTool, VeteranExportsMatchTheExpectedPages) {
    TempDir dir;
    int status = -1;
    for (const char* name : {"veteran.json", "veteran.HTML"}) {
        EXPECT_EQ(Tool("export", {examples + "veteran.vrn", dir.path + name}, status), "");
        ASSERT_EQ(status, 0) << name;
    }
    ExpectGolden(Slurp(dir.path + "veteran.json"), "veteran.json");
    ExpectGolden(Slurp(dir.path + "veteran.HTML"), "veteran.html");
}

// .vrn -> JSON -> .vrn gives the same bytes, JSON -> .vrn -> JSON the same document.
TEST(ExportTool, ExamplesRoundTrip) {
    for (const char* file : {"beginner.vrn", "veteran.vrn"}) {
        SCOPED_TRACE(file);
        TempDir dir;
        int status = -1;
        EXPECT_EQ(Tool("export", {examples + file, dir.path + "a.json"}, status), "");
        ASSERT_EQ(status, 0);
        EXPECT_EQ(Tool("import", {dir.path + "a.json", dir.path + "b.vrn"}, status), "");
        ASSERT_EQ(status, 0);
        EXPECT_EQ(Slurp(dir.path + "b.vrn"), Slurp(examples + file));
        Tool("export", {dir.path + "b.vrn", dir.path + "b.json"}, status);
        EXPECT_EQ(Slurp(dir.path + "b.json"), Slurp(dir.path + "a.json"));
    }
}

TEST(ExportTool, ImportFailuresWriteNothing) {
    TempDir dir;
    const std::string veteran = examples + "veteran.vrn";
    int status = -1;
    Tool("export", {veteran, dir.path + "v.json"}, status);
    ASSERT_EQ(status, 0);
    std::string json = Slurp(dir.path + "v.json");
    const std::string from = "\"name\": \"Galesinger\"";
    ASSERT_NE(json.find(from), std::string::npos);
    json.replace(json.find(from), from.size(), "\"name\": \"Galesinger\", \"colour\": 1");
    const std::string rank = "\"rank\": 8";
    json.replace(json.find(rank), rank.size(), "\"rank\": 99");
    dir.Write("bad.json", json);

    EXPECT_EQ(Tool("import", {dir.path + "bad.json", dir.path + "out.vrn"}, status),
              "warning: disciplines[0].colour: unknown key, ignored\n"
              "talents[0].rank: 99 is out of range 0 to 15\n");
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(dir.Exists("out.vrn"));

    EXPECT_EQ(Tool("import", {dir.path + "none.json", dir.path + "out.vrn"}, status),
              dir.path + "none.json was not found.\n");
    EXPECT_EQ(status, 1);
    Tool("import", {dir.path + "v.json", dir.path + "out.txt"}, status);
    EXPECT_EQ(status, 2);
    Tool("export", {veteran, dir.path + "out.txt"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(dir.Exists("out.vrn"));
}
