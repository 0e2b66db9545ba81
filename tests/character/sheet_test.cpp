#include "CharacterTestSupport.h"

#include "character/TextSheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace chartest;

namespace {

std::string Sheet(const CVARN_Character& c) {
    std::string s = "left over";
    BuildTextSheet(c, s);
    return s;
}

// The expected sheets live in tests/data/file/. VARN_WRITE_EXPECTED_SHEETS=1 rewrites
// them from the current output, to be read over by hand before they are committed.
void ExpectSheetFile(const std::string& sheet, const std::string& name) {
    std::string path = std::string(VARN_TEST_DATA_DIR) + "file/" + name;
    if (std::getenv("VARN_WRITE_EXPECTED_SHEETS")) {
        std::ofstream(path, std::ios::binary) << sheet;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(sheet, expected);
}

} // namespace

TEST(TextSheet, NewAndFullCharactersMatchTheExpectedSheets) {
    TestRules rules;
    ExpectSheetFile(Sheet(*NewCharacter(rules)), "sheet_new.txt");
    ExpectSheetFile(Sheet(*FullCharacter(rules)), "sheet_full.txt");
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
