// Files of older versions, made byte by byte, and what they read to.

#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

Bytes Start(int version, const std::string& race) {
    Bytes b;
    for (int i = 0; i < 6; ++i)
        b.W(2).W(0).W(2).W(18).W(12).W(i == 0 ? 1 : 0).W(6);
    b.W(version).S(race).S("Old Bram").S("From an old file.");
    return b;
}

struct Read {
    std::unique_ptr<CVARN_Character> c;
    CVARN_FileFailure failure;
    Texts messages;
};

Read ReadBytes(TestRules& rules, const std::string& bytes) {
    RecordingPrompt prompt;
    Loaded l = Load(rules, bytes, prompt);
    EXPECT_TRUE(prompt.questions.empty());
    return {std::move(l.c), l.failure, prompt.messages};
}

} // namespace

TEST(FileVersions, Version2HasOnlyIdentityDisciplinesAndTalents) {
    TestRules rules;
    Bytes b = Start(2, "Velde");
    b.D(1).W(1).S("Warden").W(1);
    // Talent records below version 4 carry a second string that is dropped.
    b.D(2).W(3).S("Bladework").S("Warden").W(3).W(4).S("Sidestep").W(2);
    Read r = ReadBytes(rules, b.s);
    ASSERT_EQ(r.failure, CVARN_FileFailure::None);
    EXPECT_TRUE(r.messages.empty());
    const CVARN_Character& c = *r.c;
    EXPECT_EQ(c.name + "|" + c.description, "Old Bram|From an old file.");
    // What version 2 did not have keeps a new character's values.
    EXPECT_EQ((std::vector<int>{
                  c.Att(AttDexterity).value, c.Att(AttDexterity).increaseLegend,
                  c.FindCharTalent("Bladework")->rank, c.FindCharTalent("Sidestep")->rank,
                  c.talentLegend, c.creationLegend, c.attributePoints, c.attributeIncrease,
                  c.karmaCurrent, static_cast<int>(c.equipment.size()), c.AvailableLegend()}),
              (std::vector<int>{13, 800, 3, 2, 600 + 300, 1000, 66, 1, 5, 0, 1000 - 900 - 800}));
}

TEST(FileVersions, Version5PiecesOfOldSchemasHaveNoPathOrThreadRank) {
    TestRules rules;
    Bytes b = Start(5, "Velde");
    b.D(1).W(1).S("Warden").W(1);
    b.D(1).W(4).S("Durability (7/6)").W(2);
    b.W(2).W(7).W(6); // durability
    b.D(3);
    b.NewClass("CVARN_CharEquipThreadArmor", 1).S("Woven Mail").D(1);
    b.NewClass("CVARN_CharEquipWeapon", 2).S("Short Sword");
    b.NewClass("CVARN_CharEquipThreadArmor", 2).S("Woven Mail").D(0).W(1);
    Read r = ReadBytes(rules, b.s);
    ASSERT_EQ(r.failure, CVARN_FileFailure::None);
    ASSERT_EQ(r.c->equipment.size(), 3u);
    auto& first = dynamic_cast<CVARN_CharEquipThreadArmor&>(*r.c->equipment[0]);
    EXPECT_EQ((std::vector<int>{first.schema, first.worn, first.threadRank}),
              (std::vector<int>{1, 1, 0}));
    EXPECT_TRUE(first.path.empty());
    EXPECT_EQ(r.c->equipment[1]->item, rules.shortSword);
    EXPECT_EQ(dynamic_cast<CVARN_CharEquipThreadArmor&>(*r.c->equipment[2]).threadRank, 1);
    // The worn mail counts once everything is read; durability comes from the file.
    EXPECT_EQ((std::vector<int>{r.c->physicArmor, r.c->initiativeStep, r.c->deathRating}),
              (std::vector<int>{4, 6 - 2, 2 * 7 + 12 + 18}));
    // Written again, every piece takes schema 3 with its (empty) path.
    Read again = ReadBytes(rules, WriteCharacter(*r.c));
    ASSERT_EQ(again.failure, CVARN_FileFailure::None);
    EXPECT_EQ(WriteCharacter(*again.c), WriteCharacter(*r.c));
}

TEST(FileVersions, Version9KarmaIsCurrentKarmaAndFiveSwitches) {
    TestRules rules;
    Bytes b = Start(9, "Velde");
    b.D(0).D(0).W(0).W(0).W(0).D(0);
    b.W(7);                           // current karma; the race starts with 5
    b.D(0).D(0).D(1).D(0).D(1).W(60); // no attributeIncrease before version 11
    Read r = ReadBytes(rules, b.s);
    ASSERT_EQ(r.failure, CVARN_FileFailure::None);
    EXPECT_EQ(r.c->karmaCurrent, 7);
    EXPECT_EQ(r.c->karmaLegend, 20);
    // Written again: karma bought 2 and spent 0, the five switches with a new character's
    // attributeIncrease 1 in its place, the points, and a new character's legend.
    Bytes tail;
    tail.W(2).W(0).D(0).D(1).D(0).D(1).D(0).D(1).W(60).D(0).D(0).D(1000);
    const std::string written = WriteCharacter(*r.c);
    EXPECT_EQ(written.substr(written.size() - tail.s.size()), tail.s);
}

TEST(FileVersions, Version12And14ConvertOlderSkillAndSpellObjects) {
    TestRules rules;
    auto tail = [](Bytes& b) {
        b.W(3).W(1).D(1).D(0).D(1).D(1).D(1).D(1).W(66).D(5000).D(100).D(1000);
    };
    Bytes v12 = Start(12, "Skyborn");
    v12.D(0).D(0);
    v12.D(5);
    v12.NewClass("CVARN_IOSkill", 1).S("climbing").W(4);
    v12.W(0x8001).S("Knitting").W(2);
    v12.W(0x8001).S("Cooking").W(40);           // rank 10 at most
    v12.W(0x8001).S("Lore: Old Kingdoms").W(0); // not held
    v12.W(0x8001).S("CLIMBING").W(2);           // named twice: paid once, at the last rank
    v12.W(0).W(0).W(0).D(0);
    tail(v12);
    Read r = ReadBytes(rules, v12.s);
    ASSERT_EQ(r.failure, CVARN_FileFailure::None);
    EXPECT_EQ(r.messages,
              Texts{"Unknown skill Unknown skill :Knitting\n Please verify in Skills data file"});
    ASSERT_EQ(r.c->skills.size(), 2u);
    EXPECT_EQ(
        (std::vector<int>{r.c->skills[0]->rank, r.c->skills[1]->rank, r.c->skillLegend,
                          r.c->karmaBought, r.c->karmaCurrent, r.c->legendEarned, r.c->extraCosts}),
        (std::vector<int>{2, 10, 500 + 92100, 3, 6 + 3 - 1, 5000, 100}));

    // Version 14: the spell objects continue the numbering of the skill objects.
    Bytes v14 = Start(14, "Skyborn");
    v14.D(0).D(0);
    v14.D(1).NewClass("CVARN_IOSkill", 1).S("Cooking").W(1);        // class 1, object 2
    v14.D(4).NewClass("CVARN_IOSpell", 1).S("Gust").S("Windcraft"); // class 3, object 4
    v14.W(0x8003).S("Dragonfire %s").S("Windcraft");                // a "%" in a name is no format
    v14.W(0x8003).S("wall of whirling air").S("Tidecraft");
    v14.W(0x8003).S("GUST").S("Tidecraft"); // learned once: the first record stands
    v14.W(0).W(0).W(0).D(0);
    tail(v14);
    r = ReadBytes(rules, v14.s);
    ASSERT_EQ(r.failure, CVARN_FileFailure::None);
    EXPECT_EQ(r.messages,
              Texts{"Unknown spell Unknown spell :Dragonfire %s\n Please verify in Spells data "
                    "file"});
    ASSERT_EQ(r.c->spells.size(), 2u);
    EXPECT_EQ(r.c->spells[0]->spellType, "Windcraft");
    EXPECT_EQ(r.c->spells[1]->spell->name, "Wall of Whirling Air");
    EXPECT_EQ(r.c->spells[1]->spellType, "Tidecraft");
    EXPECT_EQ(r.c->skillLegend, 200);

    // A reference to the skill class where a spell is due fails the read.
    Bytes wrong = Start(14, "Skyborn");
    wrong.D(0).D(0);
    wrong.D(1).NewClass("CVARN_IOSkill", 1).S("Cooking").W(1);
    wrong.D(1).W(0x8001).S("Gust").S("Windcraft");
    wrong.W(0).W(0).W(0).D(0);
    tail(wrong);
    EXPECT_EQ(ReadBytes(rules, wrong.s).failure, CVARN_FileFailure::UnexpectedFormat);
    r.c.reset();
    EXPECT_TRUE(rules.NoReferences());
}
