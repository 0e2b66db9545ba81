#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class Disciplines : public ::testing::Test {
protected:
    Disciplines() {
        FillSystemTables(db.systemTables);
        AddRace(db, "Plain");
        for (const char* t : {"Avoid Blow", "Melee Weapons", "Durability", "Karma Ritual",
                              "Unarmed Combat", "Acrobatics", "Tiger Spring", "Wound Balance",
                              "Air Dance", "Anticipate Blow", "Tracking", "Far Sight"})
            AddTalent(db, t);
        warrior = AddDiscipline(db, "Warrior");
        for (const char* t : {"Avoid Blow", "Melee Weapons", "Karma Ritual", "Unarmed Combat"})
            Offer(db, warrior, t, 1);
        Offer(db, warrior, "Durability (7/6)", 1, "Durability");
        Offer(db, warrior, "Acrobatics", 2);
        Offer(db, warrior, "Tiger Spring", 3);
        Offer(db, warrior, "Wound Balance", 3);
        Offer(db, warrior, "Air Dance", 4);
        Offer(db, warrior, "Anticipate Blow", 5);
        Modifier(warrior, ModPhysicalDefense, 2, 1);
        Modifier(warrior, ModPhysicalDefense, 4, 1);
        Modifier(warrior, ModInitiative, 3, 1);
        Modifier(warrior, ModKarmaMax, 3, 2);
        Modifier(warrior, ModNone, 1, 9);

        scout = AddDiscipline(db, "Scout");
        Offer(db, scout, "Tracking", 1);
        Offer(db, scout, "Avoid Blow", 1);
        Offer(db, scout, "Durability (5/4)", 1, "Durability");
        Offer(db, scout, "Melee Weapons", 3);
        Offer(db, scout, "Far Sight", 4);
        Modifier(scout, ModPhysicalDefense, 1, 1);
        Modifier(scout, ModSpellDefense, 1, -1);
        Modifier(scout, ModRecoveryTests, 2, 1);

        c = std::make_unique<CVARN_Character>(db);
        c->SetRaceByName("Plain");
        c->document = &doc;
    }

    std::vector<std::string> TalentNames() const {
        std::vector<std::string> names;
        for (const auto& t : c->talents)
            names.push_back(t->name);
        return names;
    }

    void RankAll(int rank) {
        for (const auto& t : c->talents)
            c->SetTalentRank(t.get(), rank);
    }

    RulesDatabase db;
    CVARN_DBDiscipline* warrior = nullptr;
    CVARN_DBDiscipline* scout = nullptr;
    RecordingDocument doc;
    std::unique_ptr<CVARN_Character> c;
};

TEST_F(Disciplines, RaisingACircleGrantsTalentsAndModifiers) {
    c->SetDisciplineCircle(warrior, 1);
    ASSERT_EQ(c->disciplines.size(), 1u);
    CVARN_CharDisc* w = c->disciplines[0].get();
    EXPECT_EQ(w->name, "Warrior");
    EXPECT_EQ(w->circle, 1);
    EXPECT_EQ(warrior->GetPCData(c.get()), w);
    EXPECT_EQ(c->FindCharDiscByName("WARRIOR"), w);
    EXPECT_EQ(TalentNames(),
              (std::vector<std::string>{"Avoid Blow", "Melee Weapons", "Karma Ritual",
                                        "Unarmed Combat", "Durability (7/6)"}));
    for (const auto& t : c->talents) {
        EXPECT_TRUE(t->granted);
        EXPECT_EQ(t->disciplinesText, "Warrior ( 1)");
        EXPECT_EQ(t->FirstGrantingDiscipline(), warrior);
        EXPECT_EQ(t->talent->GetPCData(c.get()), t.get());
    }
    // The durability talent's rank 0 sends its damage ratings, then the circle is told.
    EXPECT_EQ(doc.events, Events({"1030", "M", "1001", "1020", "1008"}));

    doc.Clear();
    c->SetDisciplineCircle(warrior, 3);
    EXPECT_EQ(c->talents.size(), 8u);
    EXPECT_EQ(c->highestCircle, 3);
    EXPECT_EQ(w->physicalDefenseBonus, 1); // the circle-4 modifier does not count yet
    EXPECT_EQ(c->physicalDefenseBonus, 1);
    EXPECT_EQ(c->initiativeBonus, 1);
    EXPECT_EQ(c->karmaMaxBonus, 2);
    EXPECT_EQ(c->karmaMax, 2);
    EXPECT_EQ(c->initiativeStep, 1 + c->Att(AttDexterity).step);
    EXPECT_EQ(doc.events, Events({"1002", "1006", "1040", "1030", "M", "1001", "1020", "1008"}));

    c->SetDisciplineCircle(warrior, 4);
    EXPECT_EQ(c->physicalDefenseBonus, 2); // two modifiers of one code add up

    // Beyond the discipline's last circle, and below 0, nothing changes but the
    // recomputations and notifications still run.
    doc.Clear();
    c->SetDisciplineCircle(warrior, 6);
    c->SetDisciplineCircle(warrior, -1);
    EXPECT_EQ(w->circle, 4);
    EXPECT_EQ(doc.events,
              Events({"1030", "M", "1001", "1020", "1008", "1030", "M", "1001", "1020", "1008"}));
    doc.Clear();
    c->SetDisciplineCircle(nullptr, 2);
    EXPECT_TRUE(doc.events.empty());
}

TEST_F(Disciplines, BonusesOfSeveralDisciplinesTakeTheLargestNeverBelowZero) {
    c->SetDisciplineCircle(scout, 2);
    EXPECT_EQ(c->disciplines[0]->spellDefenseBonus, -1);
    EXPECT_EQ(c->spellDefenseBonus, 0);
    EXPECT_EQ(c->physicalDefenseBonus, 1);
    EXPECT_EQ(c->recoveryTestsBonus, 1);
    EXPECT_EQ(c->recoveryTests, 1 + TestRow(10).recoveryTests);

    c->SetDisciplineCircle(warrior, 4);
    EXPECT_EQ(c->physicalDefenseBonus, 2); // 2 and 1: not 3
    EXPECT_EQ(c->physicalDefense, 2 + TestRow(10).defense);
    EXPECT_EQ(c->highestCircle, 4);

    c->SetDisciplineCircle(warrior, 0);
    EXPECT_EQ(c->physicalDefenseBonus, 1);
    EXPECT_EQ(c->initiativeBonus, 0);
    EXPECT_EQ(c->highestCircle, 2);
    c->SetDisciplineCircle(scout, 0);
    EXPECT_EQ(c->physicalDefenseBonus, 0);
    EXPECT_EQ(c->recoveryTests, TestRow(10).recoveryTests);
    EXPECT_EQ(c->highestCircle, 0);
    EXPECT_TRUE(c->disciplines.empty());
    EXPECT_TRUE(c->talents.empty());
    EXPECT_EQ(warrior->GetPCData(c.get()), nullptr);
}

TEST_F(Disciplines, LoweringACircleKeepsTalentsAnotherDisciplineGrants) {
    c->SetDisciplineCircle(warrior, 1);
    c->SetDisciplineCircle(scout, 3);
    CVARN_CharTalent* melee = c->FindCharTalent("melee weapons");
    ASSERT_NE(melee, nullptr);
    EXPECT_EQ(melee->disciplinesText, "Warrior ( 1), Scout ( 3)");
    EXPECT_EQ(melee->offerCircle, 1);
    EXPECT_EQ(melee->grantingDisciplines, (std::vector<CVARN_DBDiscipline*>{warrior, scout}));

    c->SetDisciplineCircle(warrior, 5);
    c->SetTalentRank(melee, 4);
    c->SetTalentRank(c->FindCharTalent("Tiger Spring"), 3);
    c->SetTalentRank(c->FindCharTalent("Anticipate Blow"), 2);
    EXPECT_EQ(c->talentLegend, 1100 + 600 + TalentCost(5, 2));

    c->SetDisciplineCircle(warrior, 2);
    EXPECT_EQ(c->FindCharTalent("Tiger Spring"), nullptr);
    EXPECT_EQ(c->FindCharTalent("Anticipate Blow"), nullptr);
    EXPECT_EQ(db.talentTable.FindTalent("Tiger Spring")->GetPCData(c.get()), nullptr);
    EXPECT_EQ(c->talentLegend, 1100);

    // Warrior gone: Melee Weapons stays through Scout, rank and cost with it.
    c->SetDisciplineCircle(warrior, 0);
    ASSERT_EQ(c->FindCharTalent("Melee Weapons"), melee);
    EXPECT_EQ(melee->rank, 4);
    EXPECT_EQ(melee->disciplinesText, "Scout ( 3)");
    EXPECT_EQ(melee->offerCircle, 3);
    EXPECT_EQ(c->talentLegend, 1100);
    EXPECT_EQ(TalentNames(), (std::vector<std::string>{"Avoid Blow", "Melee Weapons",
                                                       "Durability (5/4)", "Tracking"}));
    // Setting the rank again prices it at the new offer circle (still the lowest tier).
    c->SetTalentRank(melee, 5);
    EXPECT_EQ(melee->legendCost, 1900);

    c->SetDisciplineCircle(scout, 2);
    EXPECT_EQ(c->FindCharTalent("Melee Weapons"), nullptr);
    EXPECT_EQ(c->talentLegend, 0);
}

TEST_F(Disciplines, DurabilityTakesItsNumbersFromTheFirstGrantingOffer) {
    c->SetDisciplineCircle(warrior, 1);
    c->SetDisciplineCircle(scout, 1);
    CVARN_CharTalent* d = c->FindCharTalent("DURABILITY (7/6)");
    ASSERT_NE(d, nullptr);
    // Durability lists only the discipline that named it.
    EXPECT_EQ(d->disciplinesText, "Warrior ( 1)");
    EXPECT_EQ(c->talents.size(), 6u);

    doc.Clear();
    c->SetTalentRank(d, 3);
    EXPECT_EQ(doc.events, Events({"1022", "1008", "M", "1001"}));
    EXPECT_EQ(c->durabilityRank, 3);
    EXPECT_EQ(c->deathPerRank, 7);
    EXPECT_EQ(c->unconsciousnessPerRank, 6);
    EXPECT_EQ(c->deathRating, 21 + TestRow(10).deathBase);
    EXPECT_EQ(c->unconsciousnessRating, 18 + TestRow(10).unconsciousnessBase);

    // The naming discipline leaves: the other one's offer renames it and its numbers count.
    c->SetDisciplineCircle(warrior, 0);
    ASSERT_EQ(c->FindCharTalent("Durability (5/4)"), d);
    EXPECT_EQ(d->disciplinesText, "Scout ( 1)");
    EXPECT_EQ(d->rank, 3);
    EXPECT_EQ(c->deathPerRank, 5);
    EXPECT_EQ(c->unconsciousnessPerRank, 4);
    EXPECT_EQ(c->deathRating, 15 + TestRow(10).deathBase);

    // Rank 0 ends the durability but keeps the per-rank numbers.
    c->SetTalentRank(d, 0);
    EXPECT_EQ(c->durabilityRank, 0);
    EXPECT_EQ(c->deathPerRank, 5);
    EXPECT_EQ(c->deathRating, TestRow(10).deathBase);

    // A talent named plainly DURABILITY takes the offer's name; numbers that are not there
    // leave the old ones.
    d->name = "durability";
    d->RefreshDisciplines();
    EXPECT_EQ(d->name, "Durability (5/4)");
    d->name = "Durability (x/2)";
    c->SetTalentRank(d, 2);
    EXPECT_EQ(c->deathPerRank, 5);
    EXPECT_EQ(c->unconsciousnessPerRank, 4);
    d->name = "Durability ( 9 / -3 )";
    c->SetTalentRank(d, 2);
    EXPECT_EQ(c->deathPerRank, 9);
    EXPECT_EQ(c->unconsciousnessPerRank, -3);
    d->name = "Durability (11)";
    c->SetTalentRank(d, 1);
    EXPECT_EQ(c->deathPerRank, 11);
    EXPECT_EQ(c->unconsciousnessPerRank, -3);
}

TEST_F(Disciplines, CircleRequirements) {
    c->SetDisciplineCircle(warrior, 1);
    EXPECT_EQ(c->CheckCircleRequirements(), ""); // circle 1 is never tested

    c->SetDisciplineCircle(warrior, 2);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 5 Warrior talent(s) at rank 2 to be Warrior (2).\r\n\r\n"
              "You need a Warrior (1) talent at rank 2 to be at least Warrior (2).\r\n\r\n");
    RankAll(2);
    EXPECT_EQ(c->CheckCircleRequirements(), "");
    c->SetTalentRank(c->FindCharTalent("Acrobatics"), 1); // five left at rank 2
    EXPECT_EQ(c->CheckCircleRequirements(), "");
    c->SetTalentRank(c->FindCharTalent("Unarmed Combat"), 1);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 5 Warrior talent(s) at rank 2 to be Warrior (2).\r\n\r\n");

    // Circle 5: every test met except that no circle-3 talent reaches rank 4.
    c->SetDisciplineCircle(warrior, 5);
    RankAll(5);
    c->SetTalentRank(c->FindCharTalent("Tiger Spring"), 3);
    c->SetTalentRank(c->FindCharTalent("Wound Balance"), 3);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need a Warrior (3) talent at rank 4 to be at least Warrior (4).\r\n\r\n");

    // Talents of another discipline do not count for this one, even at a high rank.
    c->SetTalentRank(c->FindCharTalent("Wound Balance"), 5);
    c->SetTalentRank(c->FindCharTalent("Unarmed Combat"), 4);
    c->SetTalentRank(c->FindCharTalent("Karma Ritual"), 4);
    c->SetDisciplineCircle(scout, 4);
    for (const char* t : {"Tracking", "Far Sight"})
        c->SetTalentRank(c->FindCharTalent(t), 15);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 8 Warrior talent(s) at rank 5 to be Warrior (5).\r\n\r\n"
              "You need 7 Scout talent(s) at rank 4 to be Scout (4).\r\n\r\n"
              "You need a Scout (2) talent at rank 3 to be at least Scout (3).\r\n\r\n");

    // The check changes nothing and tells nobody.
    doc.Clear();
    c->CheckCircleRequirements();
    EXPECT_TRUE(doc.events.empty());
}

TEST_F(Disciplines, CirclesBeyondTheRankTableAskWhatCircleFifteenAsks) {
    EXPECT_EQ(CircleRank(15), 13);
    EXPECT_EQ(CircleRank(16), 13);
    EXPECT_EQ(CircleRank(-4), 0);

    CVARN_DBDiscipline* deep = AddDiscipline(db, "Deep");
    for (int circle = 1; circle <= 20; ++circle) {
        const std::string name = "Deep " + std::to_string(circle);
        AddTalent(db, name);
        Offer(db, deep, name, circle);
        Offer(db, deep, name + " b", circle, name); // same entry: one record per entry
    }
    c->SetDisciplineCircle(deep, 20);
    EXPECT_EQ(c->talents.size(), 20u);
    RankAll(13);
    const std::string text = c->CheckCircleRequirements();
    EXPECT_EQ(text, "You need 23 Deep talent(s) at rank 13 to be Deep (20).\r\n\r\n");
}

TEST_F(Disciplines, TalentRanksStepsAndCosts) {
    CVARN_DBTalent* dodge = AddTalent(db, "Dodge", 2, 1);
    CVARN_DBTalent* grand = AddTalent(db, "Grand Ward");
    CVARN_DBDiscipline* mage = AddDiscipline(db, "Mage");
    Offer(db, mage, "Dodge", 5);
    Offer(db, mage, "Grand Ward", 13);
    c->SetAttributeBase(AttDexterity, 15); // step 6
    c->SetDisciplineCircle(mage, 13);
    CVARN_CharTalent* d = dodge->GetPCData(c.get());
    CVARN_CharTalent* g = grand->GetPCData(c.get());
    ASSERT_TRUE(d && g);

    EXPECT_EQ(d->ComputeTalentStep(*c), 0);
    c->SetTalentRank(d, 4);
    EXPECT_EQ(d->ComputeTalentStep(*c), 11);
    EXPECT_EQ(d->step, 11);
    c->SetTalentRank(d, 5);
    EXPECT_EQ(d->legendCost, 3200 - 100);
    c->SetTalentRank(g, 5);
    EXPECT_EQ(g->legendCost, 8700 - 600);
    c->SetTalentRank(g, 15);
    EXPECT_EQ(g->legendCost, 1094400 - 600);
    EXPECT_EQ(c->talentLegend, 3100 + 1094400 - 600);

    doc.Clear();
    c->SetTalentRank(g, 16);
    c->SetTalentRank(g, -1);
    c->SetTalentRank(nullptr, 3);
    EXPECT_EQ(g->rank, 15);
    EXPECT_TRUE(doc.events.empty());

    // Another character's record is refused: it would corrupt this account.
    CVARN_Character other(db);
    other.SetRaceByName("Plain");
    other.SetDisciplineCircle(mage, 5);
    c->SetTalentRank(dodge->GetPCData(&other), 9);
    EXPECT_EQ(dodge->GetPCData(&other)->rank, 0);
    EXPECT_EQ(c->talentLegend, 3100 + 1094400 - 600);

    EXPECT_EQ(c->FindCharTalent("GRAND WARD"), g);
    EXPECT_EQ(c->FindCharTalent("Grand Ward "), nullptr);
}

TEST_F(Disciplines, ClosingACharacterLeavesNoReferenceAndTellsNobody) {
    CVARN_DBSkill* climbing = AddSkill(db, "Climbing");
    CVARN_DBSpell* flame = AddSpell(db, "Flame Bolt");
    auto other = std::make_unique<CVARN_Character>(db);
    other->SetRaceByName("Plain");
    other->SetDisciplineCircle(scout, 4);
    other->SetDisciplineCircle(warrior, 5);
    other->SetSkillRank(climbing, 2);
    other->AddSpell(flame, "Wizardry");
    other->AddEquipment(nullptr);
    c->SetDisciplineCircle(warrior, 1);
    c->SetSkillRank(climbing, 1);
    EXPECT_EQ(climbing->References().size(), 2u);
    EXPECT_EQ(warrior->References().size(), 2u);

    // The document that closes the character is being destroyed itself.
    RecordingDocument closing;
    other->document = &closing;
    other.reset();
    EXPECT_TRUE(closing.events.empty());

    EXPECT_TRUE(scout->References().empty());
    EXPECT_EQ(warrior->References().size(), 1u);
    EXPECT_EQ(climbing->References().size(), 1u);
    EXPECT_TRUE(flame->References().empty());
    for (const char* t : {"Tiger Spring", "Tracking", "Durability"}) {
        const auto& refs = db.talentTable.FindTalent(t)->References();
        for (const auto& ref : refs)
            EXPECT_EQ(ref.character, c.get()) << t;
    }
    c.reset();
    EXPECT_TRUE(warrior->References().empty());
    EXPECT_TRUE(climbing->References().empty());
    EXPECT_TRUE(db.talentTable.FindTalent("Avoid Blow")->References().empty());
}

} // namespace
