#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class SkillsAndSpells : public UnitCharacter {
protected:
    SkillsAndSpells() {
        riding->attribute = 9; // names no attribute
        c.SetRaceByName("Plain");
        doc.Clear();
    }

    CVARN_DBSkill* climbing = db.skillTable.Find("Climbing");
    CVARN_DBSkill* riding = db.skillTable.Find("Riding");
    CVARN_DBSpell* flame = db.spellTable.Find("Ember Dart");
};

TEST_F(SkillsAndSpells, SkillRanksAndTheirLegendByDifference) {
    c.SetSkillRank(climbing, 3);
    ASSERT_NE(c.FindPCSkill(climbing), nullptr);
    EXPECT_EQ(c.skillLegend, 1000);
    c.SetSkillRank(climbing, 5);
    EXPECT_EQ(c.skillLegend, 4400);
    EXPECT_EQ(doc.events, Events({"1024", "1008", "M", "1026", "1008", "M"}));

    // Out-of-range ranks, and 0 for a skill not held, change nothing yet still announce.
    doc.Clear();
    c.SetSkillRank(climbing, 11);
    c.SetSkillRank(climbing, -1);
    c.SetSkillRank(riding, 0);
    c.SetSkillRank(nullptr, 3);
    EXPECT_EQ(c.FindPCSkill(climbing)->rank, 5);
    EXPECT_EQ(c.skills.size(), 1u);
    EXPECT_EQ(c.skillLegend, 4400);
    EXPECT_EQ(doc.events, Events({"1008", "M", "1008", "M", "1008", "M"}));

    doc.Clear();
    c.SetSkillRank(climbing, 0);
    EXPECT_EQ(doc.events, Events({"1025", "1008", "M"}));
    EXPECT_EQ(c.FindPCSkill(climbing), nullptr);
    EXPECT_EQ(c.skillLegend, 0);

    c.SetAttributeBase(AttPerception, 12); // step 5
    c.SetSkillRank(climbing, 2);
    c.SetSkillRank(riding, 3); // code 9 names no attribute
    EXPECT_EQ(c.FindPCSkill(climbing)->ComputeSkillStep(), 7);
    EXPECT_EQ(c.FindPCSkill(riding)->ComputeSkillStep(), 3);
}

TEST_F(SkillsAndSpells, SpellsAreLearnedOnceAndForgotten) {
    c.AddSpell(flame, "Cinderlore");
    c.AddSpell(flame, "Verdancy");
    c.AddSpell(nullptr, "Cinderlore");
    ASSERT_EQ(c.spells.size(), 1u);
    CVARN_PCSpell* s = c.FindPCSpell(flame);
    EXPECT_EQ(s->spellType, "Cinderlore");
    EXPECT_EQ(doc.events, Events({"1027", "M", "M"}));

    // Another character's record is not this character's to remove.
    CVARN_Character other(db);
    other.AddSpell(flame, "Verdancy");
    doc.Clear();
    c.RemoveSpell(other.FindPCSpell(flame));
    c.RemoveSpell(nullptr);
    EXPECT_EQ(doc.events, Events({"M", "M"}));
    EXPECT_EQ(c.FindPCSpell(flame), s);

    doc.Clear();
    c.RemoveSpell(s);
    EXPECT_EQ(doc.events, Events({"1028", "M"}));
    EXPECT_EQ(c.FindPCSpell(flame), nullptr);
    EXPECT_EQ(other.FindPCSpell(flame)->spellType, "Verdancy");
}

} // namespace
