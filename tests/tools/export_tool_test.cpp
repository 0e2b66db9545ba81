// varn-tool export and import on the example characters, as a user runs them.

#include "tools/RunTool.h"

#include <gtest/gtest.h>

namespace {

const std::string examples = VARN_SHIPPED_DATA_DIR "../examples/";

// Runs `command` with the shipped data on `from` and `to`; true when it succeeded silently.
bool Tool(const std::string& command, const std::string& from, const std::string& to) {
    const ToolResult r = RunTool({command, "--data", VARN_SHIPPED_DATA_DIR, from, to});
    EXPECT_EQ(r.err, "") << command << " " << from;
    return r.status == 0;
}

} // namespace

TEST(ExportTool, VeteranExportsMatchTheExpectedPages) {
    TempDir dir;
    ASSERT_TRUE(Tool("export", examples + "veteran.vrn", dir.path + "veteran.json"));
    ASSERT_TRUE(Tool("export", examples + "veteran.vrn", dir.path + "veteran.HTML"));
    // The documentation's example is this very export, kept in step by the suite.
    ExpectFile(Slurp(dir.path + "veteran.json"), "../../docs/examples/veteran.json");
    ExpectFile(Slurp(dir.path + "veteran.HTML"), "sheet/veteran.html");
}

// .vrn -> JSON -> .vrn gives the same bytes, JSON -> .vrn -> JSON the same document.
TEST(ExportTool, ExamplesRoundTrip) {
    for (const char* file : {"beginner.vrn", "veteran.vrn"}) {
        SCOPED_TRACE(file);
        TempDir dir;
        ASSERT_TRUE(Tool("export", examples + file, dir.path + "a.json"));
        ASSERT_TRUE(Tool("import", dir.path + "a.json", dir.path + "b.vrn"));
        EXPECT_EQ(Slurp(dir.path + "b.vrn"), Slurp(examples + file));
        ASSERT_TRUE(Tool("export", dir.path + "b.vrn", dir.path + "b.json"));
        EXPECT_EQ(Slurp(dir.path + "b.json"), Slurp(dir.path + "a.json"));
    }
}
