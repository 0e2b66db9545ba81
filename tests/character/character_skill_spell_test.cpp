#include "CharacterTestSupport.h"
#include "rules/RecordingPrompt.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class SkillsAndSpells : public ::testing::Test {
protected:
    SkillsAndSpells() {
        FillSystemTables(db.systemTables);
        AddRace(db, "Plain");
        climbing = AddSkill("Climbing", 4);
        riding = AddSkill("Riding", 9);
        flame = AddSpell("Flame Bolt");
        ward = AddSpell("Ward");
        c.SetRaceByName("Plain");
        c.document = &doc;
    }
    CVARN_DBSkill* AddSkill(const char* name, int attribute) {
        auto s = std::make_unique<CVARN_DBSkill>();
        s->name = name;
        s->attribute = static_cast<int16_t>(attribute);
        return db.skillTable.AddSkill(std::move(s));
    }
    CVARN_DBSpell* AddSpell(const char* name) {
        auto s = std::make_unique<CVARN_DBSpell>();
        s->name = name;
        return db.spellTable.AddSpell(std::move(s));
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
    EXPECT_TRUE(climbing->References().empty());
    EXPECT_EQ(c.skillLegend, 0);

    c.SetAttributeBase(AttPerception, 12); // step 5
    c.SetSkillRank(climbing, 2);
    c.SetSkillRank(riding, 3); // code 9 names no attribute
    EXPECT_EQ(c.FindPCSkill(climbing)->ComputeSkillStep(), 7);
    EXPECT_EQ(c.FindPCSkill(riding)->ComputeSkillStep(), 3);
}

TEST_F(SkillsAndSpells, SpellsAreLearnedOnceAndForgotten) {
    c.AddSpell(flame, "Wizardry");
    c.AddSpell(flame, "Nethermancy");
    c.AddSpell(nullptr, "Wizardry");
    ASSERT_EQ(c.spells.size(), 1u);
    CVARN_PCSpell* s = c.FindPCSpell(flame);
    EXPECT_EQ(s->spellType, "Wizardry");
    EXPECT_EQ(doc.events, Events({"1027", "M", "M"}));

    // Another character's record is not this character's to remove.
    CVARN_Character other(db);
    other.AddSpell(flame, "Nethermancy");
    doc.Clear();
    c.RemoveSpell(other.FindPCSpell(flame));
    c.RemoveSpell(nullptr);
    EXPECT_EQ(doc.events, Events({"M", "M"}));
    EXPECT_EQ(c.FindPCSpell(flame), s);

    doc.Clear();
    c.RemoveSpell(s);
    EXPECT_EQ(doc.events, Events({"1028", "M"}));
    EXPECT_EQ(c.FindPCSpell(flame), nullptr);
    EXPECT_EQ(other.FindPCSpell(flame)->spellType, "Nethermancy");
}

TEST_F(SkillsAndSpells, RecordsOfOlderFiles) {
    RecordingPrompt prompt;
    c.ConvertIOSkill({4, "Climbing", climbing}, prompt);
    EXPECT_EQ(c.skillLegend, 2300);
    // Named twice in one file: paid once, at the last rank.
    c.ConvertIOSkill({2, "Climbing", climbing}, prompt);
    EXPECT_EQ(c.FindPCSkill(climbing)->rank, 2);
    EXPECT_EQ(c.skillLegend, 500);
    c.ConvertIOSkill({0, "Riding", riding}, prompt);
    EXPECT_EQ(c.FindPCSkill(riding), nullptr);
    c.ConvertIOSkill({14, "Riding", riding}, prompt);
    EXPECT_EQ(c.FindPCSkill(riding)->rank, 10);
    EXPECT_EQ(c.skillLegend, 500 + 92100);

    c.ConvertIOSpell({"Wizardry", "Ward", ward}, prompt);
    c.ConvertIOSpell({"Nethermancy", "Ward", ward}, prompt);
    EXPECT_EQ(c.FindPCSpell(ward)->spellType, "Wizardry");
    EXPECT_TRUE(doc.events.empty()); // file reading: nothing to announce yet

    c.ConvertIOSkill({3, "Juggling", nullptr}, prompt);
    c.ConvertIOSpell({"Wizardry", "Glow %s", nullptr}, prompt);
    EXPECT_EQ(prompt.messages,
              (std::vector<std::string>{
                  "Unknown skill Unknown skill :Juggling\n Please verify in Skills data file",
                  "Unknown spell Unknown spell :Glow %s\n Please verify in Spells data file"}));
    EXPECT_EQ(c.skills.size(), 2u);
    EXPECT_EQ(c.spells.size(), 1u);
}

} // namespace
