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
