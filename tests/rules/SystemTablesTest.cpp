#include "rules/SystemTables.h"
#include "rules/RecordingPrompt.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

SystemTables Read(const std::string& content, RecordingPrompt& prompt) {
    TempDir dir;
    dir.Write("VARN.dat", content);
    SystemTables tables;
    EXPECT_TRUE(ReadSystemTables(tables, dir.path, prompt));
    return tables;
}

} // namespace

TEST(SystemTables, FirstRowSizesEachTableAndRowsLandByValue) {
    RecordingPrompt prompt;
    const SystemTables t = Read(Input("tables1.dat"), prompt);
    EXPECT_EQ(t.HighestAttributeValue(), 5);
    const CVARN_AttributeRow& row = t.AttributeRow(5);
    // Columns 7 and 8 of the file are wound threshold, then unconsciousness.
    EXPECT_EQ((std::vector<int>{row.defense, row.deathBase, row.woundThreshold,
                                row.unconsciousnessBase, row.mysticArmor}),
              (std::vector<int>{1, 6, 7, 8, 10}));
    EXPECT_EQ(t.AttributeRow(2).defense, 20);
    EXPECT_EQ(t.AttributeRow(3).defense, 0); // "+3" is not a data line
    EXPECT_EQ(t.AttributeRow(99).defense, 1);

    EXPECT_EQ(t.HighestStep(), 4);
    EXPECT_EQ(t.GetActionDice(4), "D6+D4");
    EXPECT_EQ(t.GetActionDice(2), "D4+1"); // the bad header left the section as it was
    EXPECT_EQ(t.GetActionDice(3), "");
    EXPECT_EQ(t.GetActionDice(40), "D6+D4");
    EXPECT_EQ(t.GetActionDice(-1), "D2"); // below step 0: step 0's text
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(SystemTables, RowsThatDoNotFitTheTableAreIgnored) {
    RecordingPrompt prompt;
    const SystemTables t = Read( // 3 1 1 1 1 1 1 1 1 1 1: before any header
        // 3 1 2 3: short row: what it has is set
        Input("tables2.dat"), prompt);
    ASSERT_EQ(t.HighestAttributeValue(), 3);
    ASSERT_EQ(t.attributeRows.size(), 4u);
    EXPECT_EQ((std::vector<int>{t.AttributeRow(3).combatMovement, t.AttributeRow(3).carrying,
                                t.AttributeRow(2).defense, t.AttributeRow(2).fullMovement}),
              (std::vector<int>{3, 0, 32767, -32768}));
    EXPECT_EQ(t.HighestStep(), 3);
    EXPECT_EQ(t.diceTexts.size(), 4u);
    EXPECT_EQ(t.GetActionDice(9), "D6");
}

TEST(SystemTables, EmptyTablesAnswerSafely) {
    RecordingPrompt prompt;
    const SystemTables t = Read("# nothing\n", prompt);
    EXPECT_FALSE(t.HasAttributeRows());
    EXPECT_FALSE(t.HasDiceTexts());
    EXPECT_EQ(t.GetActionDice(5), "");
    EXPECT_EQ(t.AttributeRow(5).defense, 0);
}
