// varn-tool sheet and convert, run as a user runs them, and the example characters.

#include "tools/RunTool.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "rules/RecordingPrompt.h"
#include "rules/RulesDatabase.h"

#include <gtest/gtest.h>

namespace {

const std::string data = VARN_SHIPPED_DATA_DIR;

std::string Example(const char* name) {
    return data + "../examples/" + name;
}

} // namespace

// The examples fit the shipped data: they read back without a message to the same bytes,
// meet their circles and leave legend to spend.
TEST(Examples, MatchTheShippedData) {
    RulesDatabase db;
    CVARN_SilentPrompt quiet;
    ASSERT_TRUE(LoadRulesDatabase(db, data, quiet));
    for (const char* file : {"beginner.vrn", "veteran.vrn"}) {
        const std::string bytes = Slurp(Example(file));
        RecordingPrompt prompt;
        CVARN_Character c(db);
        ASSERT_EQ(ReadCharacter(c, bytes, prompt), CVARN_FileFailure::None) << file;
        EXPECT_TRUE(prompt.messages.empty() && prompt.questions.empty()) << file;
        EXPECT_EQ(WriteCharacter(c), bytes) << file;
        EXPECT_EQ(c.CheckCircleRequirements(), "") << file;
        EXPECT_GE(c.AvailableLegend(), 0) << file;
    }
}

// sheet prints the text with plain line feeds (the veteran's shows every block of a sheet);
// convert to a text file writes the same text as the desktop program's export, with carriage
// returns before them.
TEST(ToolRun, SheetAndConvertAgree) {
    TempDir dir;
    std::string input = Example("veteran.vrn");
    ToolResult sheet = RunTool({"sheet", "--data", data, input});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(sheet.err, "");
    ExpectFile(sheet.out, "sheet/veteran.txt");

    std::string txt = dir.path + "veteran.txt";
    ToolResult toText = RunTool({"convert", "--data", data, input, txt});
    ASSERT_EQ(toText.status, 0) << toText.err;
    EXPECT_EQ(toText.out + toText.err, "");
    std::string crlf;
    for (char ch : sheet.out)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(Slurp(txt), crlf);

    std::string vrn = dir.path + "copy.VRN";
    ASSERT_EQ(RunTool({"convert", "--data", data, input, vrn}).status, 0);
    EXPECT_EQ(Slurp(vrn), Slurp(input));
}
