// varn-tool sheet and convert, run as a user runs them, and the example characters.

#include "tools/sheet_examples.h"

#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "rules/UserPrompt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("varn-sheet-tool-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    struct Result {
        int status;
        std::string out, err;
    };

    // Runs varn-tool with the shipped data; arguments are quoted for the shell. Standard
    // output goes to a file, or to `out` when given.
    Result Run(const std::vector<std::string>& args, std::string out = "") {
        std::string command = std::string("'") + VARN_TOOL_PATH + "'";
        for (const std::string& a : args)
            command += " '" + a + "'";
        if (out.empty())
            out = (dir / "stdout").string();
        command += " </dev/null >'" + out + "' 2>'" + (dir / "stderr").string() + "'";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Contents(dir / "stdout"),
                Contents(dir / "stderr")};
    }

    const std::string data = VARN_SHIPPED_DATA_DIR;
    fs::path dir;
};

std::string Example(const char* name) {
    return examples::ExamplesDirectory() + name;
}

} // namespace

// The examples are what the shipped data builds today; they read back without a message.
TEST(Examples, MatchTheShippedData) {
    RulesDatabase db;
    CVARN_SilentPrompt quiet;
    ASSERT_TRUE(LoadRulesDatabase(db, VARN_SHIPPED_DATA_DIR, quiet));
    bool regenerate = std::getenv("VARN_REGENERATE_EXAMPLES") != nullptr;
    for (const examples::Example& e : examples::All()) {
        auto c = e.build(db);
        std::string bytes = WriteCharacter(*c);
        std::string path = Example(e.file);
        if (regenerate) {
            ASSERT_EQ(SaveCharacterFile(*c, path), CVARN_FileFailure::None);
        }
        EXPECT_EQ(Contents(path), bytes)
            << e.file << " is out of date: run test_tools with VARN_REGENERATE_EXAMPLES=1";

        struct Recording : CVARN_UserPrompt {
            void ShowMessage(const std::string& t) override { calls.push_back(t); }
            bool AskOkCancel(const std::string& t) override {
                calls.push_back(t);
                return false;
            }
            std::vector<std::string> calls;
        } prompt;
        CVARN_Character read(db);
        ASSERT_EQ(ReadCharacter(read, bytes, prompt), CVARN_FileFailure::None);
        EXPECT_TRUE(prompt.calls.empty()) << e.file;
        EXPECT_EQ(WriteCharacter(read), bytes);
        EXPECT_EQ(c->CheckCircleRequirements(), "") << e.file;
    }
    // The veteran shows every block of the sheet.
    auto veteran = examples::Veteran(db);
    std::string sheet;
    BuildTextSheet(*veteran, sheet);
    for (const char* block : {"TALENTS", "SKILLS", "SPELLS\n", "EQUIPMENT\n", "(Fly)",
                              "      Worn\n", "attached\n", "Damages: "})
        EXPECT_NE(sheet.find(block), std::string::npos) << block;
    EXPECT_EQ(veteran->disciplines.size(), 2u);
}

// sheet prints the text with plain line feeds; convert to a text file writes the same
// text as the desktop program's export, with carriage returns before them.
TEST_F(ToolRun, SheetAndConvertAgree) {
    std::string input = Example("veteran.vrn");
    Result sheet = Run({"sheet", "--data", data, input});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(sheet.err, "");
    EXPECT_EQ(sheet.out.rfind("Mistreach Character Generator 1.3e\n\nNAME       : Serrow Vane", 0),
              0u);
    EXPECT_EQ(sheet.out.find('\r'), std::string::npos);

    std::string txt = (dir / "veteran.txt").string();
    Result toText = Run({"convert", "--data", data, input, txt});
    ASSERT_EQ(toText.status, 0) << toText.err;
    EXPECT_EQ(toText.out + toText.err, "");
    std::string crlf;
    for (char ch : sheet.out)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(Contents(txt), crlf);

    std::string vrn = (dir / "copy.VRN").string();
    ASSERT_EQ(Run({"convert", "--data", data, input, vrn}).status, 0);
    EXPECT_EQ(Contents(vrn), Contents(input));
}

TEST_F(ToolRun, FailuresAreReportedInTheDesktopWords) {
    std::string missing = (dir / "nobody.vrn").string();
    Result r = Run({"sheet", "--data", data, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, missing + " was not found.\n");
    EXPECT_EQ(r.out, "");

    // A newer file: its own message, then the open failure.
    std::string newer = Contents(Example("beginner.vrn"));
    newer[84] = 16;
    std::ofstream((dir / "newer.vrn").string(), std::ios::binary) << newer;
    r = Run({"sheet", "--data", data, (dir / "newer.vrn").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "This file was created by a new version of VARN.\nplease update your "
                     "program\nFailed to open document.\n");

    std::ofstream((dir / "short.vrn").string(), std::ios::binary)
        << Contents(Example("beginner.vrn")).substr(0, 100);
    r = Run({"convert", "--data", data, (dir / "short.vrn").string(), (dir / "x.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Unexpected file format.\n");
    EXPECT_FALSE(fs::exists(dir / "x.txt"));

    std::string nowhere = (dir / "no" / "such" / "x.vrn").string();
    r = Run({"convert", "--data", data, Example("beginner.vrn"), nowhere});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, nowhere + " contains an invalid path.\n");

    EXPECT_EQ(Run({"sheet", "--data", data}).status, 2);
    EXPECT_EQ(Run({"convert", "--data", data, Example("beginner.vrn")}).status, 2);
    // Without the data the tool stops as start-up would.
    EXPECT_EQ(Run({"sheet", "--data", dir.string(), Example("beginner.vrn")}).status, 1);
}

TEST_F(ToolRun, AFailedWriteToStandardOutputFails) {
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full here";
    const std::string input = Example("beginner.vrn");
    const std::string full =
        "varn-tool: cannot write to standard output: No space left on device\n";
    // Short outputs too: they sit in the buffer until the program ends.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"sheet", "--data", data, input}, full},
        {{"check", "--data", data}, full},
        {{"--help"}, full},
        {{"convert", "--data", data, input, "/dev/stdout"},
         "Disk full while accessing /dev/stdout.\n"},
    };
    for (const auto& [args, message] : cases) {
        Result r = Run(args, "/dev/full");
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err, message) << args[0];
    }
}
