// The committed example characters, each read as a user opens it. They guard the file
// format: a rename that changed what the files hold would fail here.

#include "CharacterTestSupport.h"
#include "character/TextSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace chartest;

// Every examples/*.vrn fits the shipped data: it reads back without a message to the same
// bytes, meets its circles, leaves legend to spend, and prints the sheet kept as
// tests/data/sheet/<name>.txt.
TEST(Examples, ReadBackToTheirBytesAndSheets) {
    RulesDatabase db;
    RecordingPrompt loading;
    ASSERT_TRUE(LoadRulesDatabase(db, VARN_SHIPPED_DATA_DIR, loading));
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(VARN_SHIPPED_DATA_DIR "../examples"))
        if (entry.path().extension() == ".vrn")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 2u);
    for (const std::filesystem::path& file : files) {
        const std::string name = file.filename().string();
        const std::string bytes = Slurp(file.string());
        RecordingPrompt prompt;
        CVARN_Character c(db);
        ASSERT_EQ(ReadCharacter(c, bytes, prompt), CVARN_FileFailure::None) << name;
        EXPECT_TRUE(prompt.messages.empty() && prompt.questions.empty()) << name;
        EXPECT_EQ(WriteCharacter(c), bytes) << name;
        EXPECT_EQ(c.CheckCircleRequirements(), "") << name;
        EXPECT_GE(c.AvailableLegend(), 0) << name;
        std::string sheet;
        BuildTextSheet(c, sheet);
        ExpectFile(sheet, "sheet/" + file.stem().string() + ".txt");
    }
}
