#include "CharacterTestSupport.h"

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

TEST(TextSheet, OptionalBlocksAndLiteralTexts) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = "100%s %d %n";
    c->SetDisciplineCircle(rules.db.disciplineList.FindDiscipline("Windweaver"), 1);
    std::string sheet = Sheet(*c);
    EXPECT_NE(sheet.find("NAME       : 100%s %d %n\n"), std::string::npos);
    EXPECT_NE(sheet.find("DISCIPLINE : Windweaver (1)\n\n"), std::string::npos);
    // Talents that are all unranked print no block, not even its blank lines.
    EXPECT_NE(sheet.find("   Windweaver\n      ( 1)  Windsense: knows the weather of the next "
                         "day.\n\n\n"),
              std::string::npos);
    EXPECT_EQ(sheet.find("TALENTS"), std::string::npos);
    EXPECT_EQ(sheet.substr(sheet.size() - 4), ".\n\n\n");

    // A talent without a formula shows its rank alone; the width follows the longest name
    // of all talents, ranked or not.
    c->SetTalentRank(c->FindCharTalent("Durability (4/3)"), 2);
    sheet = Sheet(*c);
    std::string w(26, ' '); // "Thread Weaving (Windcraft)"
    EXPECT_NE(sheet.find("TALENTS" + w +
                         "Rank   Disc.  Karma  Action  Strain  Dice\n"
                         "   Durability (4/3)" +
                         std::string(26 + 3 - 16, ' ') +
                         "   ( 2)  Yes     No      No      0\n\n\n"),
              std::string::npos);
}
