#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class SkillsAndSpells : public ::testing::Test {
protected:
    SkillsAndSpells() {
        FillSystemTables(db.systemTables);
        AddRace(db, "Plain");
        climbing = AddSkill(db, "Climbing", 4, 0);
        riding = AddSkill(db, "Riding", 9, 2);
        flame = AddSpell(db, "Flame Bolt");
        ward = AddSpell(db, "Ward");
        c.SetRaceByName("Plain");
        c.document = &doc;
    }

    RulesDatabase db;
    CVARN_DBSkill* climbing = nullptr;
    CVARN_DBSkill* riding = nullptr;
    CVARN_DBSpell* flame = nullptr;
    CVARN_DBSpell* ward = nullptr;
    RecordingDocument doc;
    CVARN_Character c{db};
};

TEST_F(SkillsAndSpells, SkillRanksAndTheirLegendByDifference) {
    c.SetSkillRank(climbing, 3);
    CVARN_PCSkill* s = c.FindPCSkill(climbing);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->rank, 3);
    EXPECT_EQ(s->character, &c);
    EXPECT_EQ(c.skillLegend, 1000);
    EXPECT_EQ(doc.events, Events({"1024", "1008", "M"}));

    doc.Clear();
    c.SetSkillRank(climbing, 5);
    EXPECT_EQ(c.skillLegend, 4400);
    EXPECT_EQ(c.FindPCSkill(climbing), s);
    EXPECT_EQ(doc.events, Events({"1026", "1008", "M"}));

    // Out-of-range ranks change nothing, yet still tell the legend and mark the change.
    doc.Clear();
    c.SetSkillRank(climbing, 11);
    c.SetSkillRank(climbing, -1);
    c.SetSkillRank(riding, 0);
    EXPECT_EQ(s->rank, 5);
    EXPECT_EQ(c.skills.size(), 1u);
    EXPECT_EQ(c.skillLegend, 4400);
    EXPECT_EQ(doc.events, Events({"1008", "M", "1008", "M", "1008", "M"}));

    doc.Clear();
    c.SetSkillRank(nullptr, 3);
    EXPECT_TRUE(doc.events.empty());

    c.SetSkillRank(riding, 2);
    c.SetSkillRank(riding, 4);
    EXPECT_EQ(c.skillLegend, 4400 + 2300);
    doc.Clear();
    c.SetSkillRank(climbing, 0);
    EXPECT_EQ(doc.events, Events({"1025", "1008", "M"}));
    EXPECT_EQ(c.FindPCSkill(climbing), nullptr);
    EXPECT_TRUE(climbing->References().empty());
    EXPECT_EQ(c.skillLegend, 2300);
    c.SetSkillRank(riding, 0);
    EXPECT_EQ(c.skillLegend, 0);
    EXPECT_TRUE(c.skills.empty());
}

TEST_F(SkillsAndSpells, SkillStep) {
    c.SetAttributeBase(AttPerception, 12); // step 5
    c.SetSkillRank(climbing, 2);
    EXPECT_EQ(c.FindPCSkill(climbing)->ComputeSkillStep(), 7);
    c.SetSkillRank(riding, 3); // code 9 names no attribute
    EXPECT_EQ(c.FindPCSkill(riding)->ComputeSkillStep(), 5);
}

TEST_F(SkillsAndSpells, SpellsAreLearnedOnceAndForgotten) {
    c.AddSpell(flame, "Wizardry");
    c.AddSpell(flame, "Nethermancy");
    ASSERT_EQ(c.spells.size(), 1u);
    CVARN_PCSpell* s = c.FindPCSpell(flame);
    EXPECT_EQ(s->spellType, "Wizardry");
    EXPECT_EQ(doc.events, Events({"1027", "M", "M"}));

    doc.Clear();
    c.AddSpell(nullptr, "Wizardry");
    EXPECT_TRUE(doc.events.empty());

    // Another character's record is not this character's to remove.
    CVARN_Character other(db);
    other.AddSpell(flame, "Nethermancy");
    c.RemoveSpell(other.FindPCSpell(flame));
    c.RemoveSpell(nullptr);
    EXPECT_EQ(doc.events, Events({"M", "M"}));
    EXPECT_EQ(flame->References().size(), 2u);
    EXPECT_EQ(c.FindPCSpell(flame), s);

    doc.Clear();
    c.RemoveSpell(s);
    EXPECT_EQ(doc.events, Events({"1028", "M"}));
    EXPECT_TRUE(c.spells.empty());
    EXPECT_EQ(c.FindPCSpell(flame), nullptr);
    EXPECT_EQ(other.FindPCSpell(flame)->spellType, "Nethermancy");
}

TEST_F(SkillsAndSpells, RecordsOfOlderFiles) {
    RecordingPrompt prompt;
    doc.Clear();
    c.ConvertIOSkill({4, "Climbing", climbing}, prompt);
    EXPECT_EQ(c.FindPCSkill(climbing)->rank, 4);
    EXPECT_EQ(c.skillLegend, 2300);
    // The same skill twice in one file is paid for once, at its last rank.
    c.ConvertIOSkill({2, "Climbing", climbing}, prompt);
    EXPECT_EQ(c.FindPCSkill(climbing)->rank, 2);
    EXPECT_EQ(c.skillLegend, 500);
    // Ranks outside the skill range: none below 1, 10 above it.
    c.ConvertIOSkill({0, "Riding", riding}, prompt);
    EXPECT_EQ(c.FindPCSkill(riding), nullptr);
    c.ConvertIOSkill({14, "Riding", riding}, prompt);
    EXPECT_EQ(c.FindPCSkill(riding)->rank, 10);
    EXPECT_EQ(c.skillLegend, 500 + 92100);

    c.ConvertIOSpell({"Wizardry", "Ward", ward}, prompt);
    c.ConvertIOSpell({"Nethermancy", "Ward", ward}, prompt);
    ASSERT_NE(c.FindPCSpell(ward), nullptr);
    EXPECT_EQ(c.FindPCSpell(ward)->spellType, "Wizardry");
    EXPECT_EQ(c.spells.size(), 1u);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(doc.events.empty()); // file reading: nothing to tell yet

    c.ConvertIOSkill({3, "Juggling", nullptr}, prompt);
    c.ConvertIOSpell({"Wizardry", "Glow %s", nullptr}, prompt);
    EXPECT_EQ(prompt.messages,
              (std::vector<std::string>{
                  "Unknown skill Unknown skill :Juggling\n Please verify in Skills data file",
                  "Unknown spell Unknown spell :Glow %s\n Please verify in Spells data file"}));
    EXPECT_EQ(c.skills.size(), 2u);
    EXPECT_EQ(c.spells.size(), 1u);
}

TEST_F(SkillsAndSpells, TwoCharactersKeepTheirOwnRecords) {
    auto other = std::make_unique<CVARN_Character>(db);
    other->SetSkillRank(climbing, 6);
    c.SetSkillRank(climbing, 1);
    ASSERT_EQ(climbing->References().size(), 2u);
    EXPECT_EQ(c.FindPCSkill(climbing)->rank, 1);
    EXPECT_EQ(other->FindPCSkill(climbing)->rank, 6);
    other.reset();
    ASSERT_EQ(climbing->References().size(), 1u);
    EXPECT_EQ(climbing->References()[0].character, &c);
}

} // namespace
