#include "rules/TalentDatabase.h"
#include "rules/RaceDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/SkillDatabase.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Talents {
    RaceTable races;
    TalentTable table;
    SkillTable skills;
    RecordingPrompt prompt;
};

void Read(Talents& t, const std::string& content) {
    TempDir dir;
    dir.Write("Talents.dat", content);
    EXPECT_EQ(ReadTalents(t.table, t.skills, t.races, dir.path, t.prompt), ReadResult::Ok);
}

void AddRace(Talents& t, const char* name) {
    t.races.races.push_back(std::make_unique<CVARN_RaceDesc>());
    t.races.races.back()->name = name;
}

} // namespace

TEST(TalentDatabase, ReadsFlagsFormulaSpecialHeadersAndSkillCopies) {
    Talents t;
    AddRace(t, "Velde");
    AddRace(t, "Fethrin");
    Read(t, // Authorized Races: Velde: meaningless on an ordinary talent
         Input("talents1.dat"));
    EXPECT_EQ(t.prompt.messages, std::vector<std::string>{"Error : No talent in .dat file"});

    const CVARN_DBTalent* blade = t.table.FindTalent("BLADEwork");
    ASSERT_NE(blade, nullptr);
    EXPECT_EQ(t.table.FindTalent("Bladework "), nullptr);
    EXPECT_EQ((std::vector<int>{blade->attribute, blade->bonus, blade->strain}),
              (std::vector<int>{2, 2, 1}));
    EXPECT_TRUE(blade->action && blade->skill && blade->karma && !blade->matrix && !blade->special);
    EXPECT_EQ(blade->description, "Line one Line two ");
    EXPECT_TRUE(t.table.FindTalent("Woven Matrix")->matrix);

    const auto* wingsong =
        dynamic_cast<const CVARN_DBTalentSpecial*>(t.table.FindTalent(" Wingsong"));
    ASSERT_NE(wingsong, nullptr);
    EXPECT_EQ(wingsong->special, 1);
    EXPECT_EQ(wingsong->authorizedRaces, // the unknown name is skipped
              (std::vector<CVARN_RaceDesc*>{t.races.races[1].get(), t.races.races[0].get()}));
    EXPECT_NE(dynamic_cast<const CVARN_DBTalentSpecial*>(t.table.FindTalent("Flight")), nullptr);

    // Durability offers with values all find the Durability entry; the later one of two.
    EXPECT_EQ(t.table.FindTalent("durability (7/6)")->name, "durability");
    EXPECT_EQ(t.table.FindTalent("Durability 7/6"), nullptr);

    // Only the talent marked as a skill is copied, with its values.
    EXPECT_EQ(t.skills.Count(), 1u);
    const CVARN_DBSkill* skill = t.skills.FindSkill("Bladework");
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->type + "|" + skill->description, "Talent|" + blade->description);
    EXPECT_EQ(skill->attribute * 10 + skill->karma, 21);
    EXPECT_EQ(t.table.Count(), 6u);
}

// Talents marked as skills are copied in the talent table's walk order, whether the table
// started empty (the reader then sorts only what it read) or already held entries.
TEST(TalentDatabase, SkillCopiesFollowTheTableWalkEitherWay) {
    std::string content;
    for (int i = 0; i < 60; ++i) {
        // Short names collide in buckets; every seventh name repeats an earlier one.
        const int n = i % 7 == 6 ? i - 5 : i;
        content += "[T" + std::string(1, static_cast<char>('a' + n % 26)) + std::to_string(n % 9) +
                   "]\n" + (i % 3 ? "Skill: yes\n" : "") + "Copy " + std::to_string(i) + "\n";
    }
    content += "[Ta1]\nSkill: yes\nSkill: no\n"; // the last word counts
    Talents empty, filled;
    Read(empty, content);
    auto first = std::make_unique<CVARN_DBTalent>();
    first->name = "Td3";
    filled.table.AddTalent(std::move(first));
    Read(filled, content);
    auto walk = [](const SkillTable& skills) {
        std::vector<std::string> order;
        for (const CVARN_DBSkill* s = skills.FirstSkill(); s; s = skills.NextSkill(s))
            order.push_back(s->name + "/" + s->description);
        return order;
    };
    EXPECT_EQ(walk(empty.skills).size(), 40u);
    EXPECT_EQ(walk(empty.skills), walk(filled.skills));
}
