#include "CharacterTestSupport.h"

#include "character/CharacterJson.h"
#include "character/SheetContent.h"
#include "character/TextSheet.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

std::string Sheet(const CVARN_Character& c) {
    std::string s = "left over";
    BuildTextSheet(c, s);
    return s;
}

} // namespace

TEST(TextSheet, NewAndFullCharactersMatchTheExpectedSheets) {
    TestRules rules;
    ExpectFile(Sheet(*NewCharacter(rules)), "file/sheet_new.txt");
    ExpectFile(Sheet(*FullCharacter(rules)), "file/sheet_full.txt");
}

// Texts are printed as they are, never as formats; talents that are all unranked print no
// block, not even its blank lines. Once one is ranked, a talent without a formula shows its rank
// alone, and the width follows the longest name of all talents, ranked or not.
TEST(TextSheet, OptionalBlocksAndLiteralTexts) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = "100%s %d %n";
    c->SetDisciplineCircle(rules.db.disciplineList.FindDiscipline("Windweaver"), 1);
    ExpectFile(Sheet(*c), "file/sheet_unranked.txt");
    c->SetTalentRank(c->FindCharTalent("Durability (4/3)"), 2);
    ExpectFile(Sheet(*c), "file/sheet_ranked.txt");
}

// Legend amounts at the limits of what they hold give their true sums on every sheet and in
// JSON; every column of the text sheet's talents is also on the laid-out sheet.
TEST(TextSheet, LegendFiguresNeverWrapAndEverySheetHasTheTalentColumns) {
    TestRules rules;
    auto c = FullCharacter(rules);
    c->SetLegendEarned(2147483647);
    c->SetCreationLegend(2147483647);
    const int64_t available = int64_t{2147483647} * 2 - c->SpentLegend() - c->extraCosts;
    ASSERT_GT(available, 2147483647);
    EXPECT_EQ(c->AvailableLegend(), available);
    EXPECT_NE(Sheet(*c).find("LEGEND AVAILABLE : " + std::to_string(available)), std::string::npos);
    EXPECT_NE(CharacterToJson(*c).find("\"available\": " + std::to_string(available)),
              std::string::npos);
    const varn_sheet::SheetContent content = varn_sheet::BuildSheetContent(*c);
    bool shown = false;
    for (const auto& s : content.sections)
        for (const auto& b : s.blocks)
            for (const auto& row : b.rows)
                shown = shown || (row.size() == 2 && row[1] == std::to_string(available));
    EXPECT_TRUE(shown);
    for (const auto& s : content.sections)
        if (s.title == "Talents") {
            std::string titles;
            for (const auto& column : s.blocks.at(0).columns)
                titles += column.title + " ";
            EXPECT_EQ(titles,
                      "Talent Discipline Disc. Rank Formula Step Dice Action Karma Strain ");
        }

    c->SetCreationLegend(0);
    c->SetLegendEarned(0);
    c->SetExtraCosts(2147483647);
    c->SetKarmaBought(32767);
    EXPECT_EQ(c->AvailableLegend(), -int64_t{2147483647} - c->SpentLegend());
    EXPECT_LT(c->AvailableLegend(), -2147483647);
}
