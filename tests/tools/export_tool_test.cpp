// varn-tool export and import on the example characters, as a user runs them.

#include "tools/sheet_examples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ExportTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("varn-export-tool-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Exit status; standard error in `err`.
    int Run(std::vector<std::string> args) {
        std::string command = std::string("'") + VARN_TOOL_PATH + "' " + args[0] + " --data '" +
                              VARN_SHIPPED_DATA_DIR + "'";
        for (size_t i = 1; i < args.size(); ++i)
            command += " '" + args[i] + "'";
        command += " </dev/null >/dev/null 2>'" + (dir / "stderr").string() + "'";
        const int raw = std::system(command.c_str());
        err = Read(dir / "stderr");
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    std::string Path(const char* name) const { return (dir / name).string(); }

    fs::path dir;
    std::string err;
};

// The expected pages live in tests/data/sheet/; VARN_WRITE_EXPECTED_SHEETS=1 rewrites them
// from the current output, to be read over by hand before they are committed.
void ExpectGolden(const std::string& actual, const char* name) {
    const std::string path = std::string(VARN_TEST_DATA_DIR) + "sheet/" + name;
    if (std::getenv("VARN_WRITE_EXPECTED_SHEETS")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, Read(path)) << name;
}

} // namespace

TEST_F(ExportTool, VeteranExportsMatchTheExpectedPages) {
    const std::string veteran = examples::ExamplesDirectory() + "veteran.vrn";
    ASSERT_EQ(Run({"export", veteran, Path("veteran.json")}), 0) << err;
    ASSERT_EQ(Run({"export", veteran, Path("veteran.HTML")}), 0) << err;
    EXPECT_EQ(err, "");
    ExpectGolden(Read(Path("veteran.json")), "veteran.json");
    ExpectGolden(Read(Path("veteran.HTML")), "veteran.html");
}

// .vrn -> JSON -> .vrn gives the same bytes, JSON -> .vrn -> JSON the same document.
TEST_F(ExportTool, ExamplesRoundTrip) {
    for (const examples::Example& e : examples::All()) {
        SCOPED_TRACE(e.file);
        const std::string original = examples::ExamplesDirectory() + e.file;
        ASSERT_EQ(Run({"export", original, Path("a.json")}), 0) << err;
        ASSERT_EQ(Run({"import", Path("a.json"), Path("b.vrn")}), 0) << err;
        EXPECT_EQ(err, "");
        EXPECT_EQ(Read(Path("b.vrn")), Read(original));
        ASSERT_EQ(Run({"export", Path("b.vrn"), Path("b.json")}), 0) << err;
        EXPECT_EQ(Read(Path("b.json")), Read(Path("a.json")));
    }
}

TEST_F(ExportTool, ImportFailuresWriteNothing) {
    const std::string veteran = examples::ExamplesDirectory() + "veteran.vrn";
    ASSERT_EQ(Run({"export", veteran, Path("v.json")}), 0) << err;
    std::string json = Read(Path("v.json"));
    const std::string from = "\"name\": \"Galesinger\"";
    ASSERT_NE(json.find(from), std::string::npos);
    json.replace(json.find(from), from.size(), "\"name\": \"Galesinger\", \"colour\": 1");
    const std::string rank = "\"rank\": 8";
    json.replace(json.find(rank), rank.size(), "\"rank\": 99");
    std::ofstream(Path("bad.json"), std::ios::binary) << json;

    EXPECT_EQ(Run({"import", Path("bad.json"), Path("out.vrn")}), 1);
    EXPECT_EQ(err, "warning: disciplines[0].colour: unknown key, ignored\n"
                   "talents[0].rank: 99 is out of range 0 to 15\n");
    EXPECT_FALSE(fs::exists(Path("out.vrn")));

    EXPECT_EQ(Run({"import", Path("none.json"), Path("out.vrn")}), 1);
    EXPECT_EQ(err, Path("none.json") + " was not found.\n");
    EXPECT_EQ(Run({"import", Path("v.json"), Path("out.txt")}), 2);
    EXPECT_EQ(Run({"export", veteran, Path("out.txt")}), 2);
    EXPECT_FALSE(fs::exists(Path("out.vrn")));
}
