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
        auto offer = [&](CVARN_DBDiscipline* d, int circle,
                         std::initializer_list<const char*> names) {
            for (const char* name : names)
                Offer(db, d, name, circle);
        };
        warrior = AddDiscipline(db, "Warrior");
        offer(
            warrior, 1,
            {"Avoid Blow", "Melee Weapons", "Karma Ritual", "Unarmed Combat", "Durability (7/6)"});
        offer(warrior, 2, {"Acrobatics"});
        offer(warrior, 3, {"Tiger Spring", "Wound Balance"});
        offer(warrior, 4, {"Air Dance"});
        offer(warrior, 5, {"Anticipate Blow"});
        // Code, circle, value; two of one code add up, an unknown code does nothing.
        warrior->modifiers = {{ModPhysicalDefense, 2, 1},
                              {ModPhysicalDefense, 4, 1},
                              {ModInitiative, 3, 1},
                              {ModKarmaMax, 3, 2},
                              {ModNone, 1, 9}};
        scout = AddDiscipline(db, "Scout");
        offer(scout, 1, {"Tracking", "Avoid Blow", "Durability (5/4)"});
        offer(scout, 3, {"Melee Weapons"});
        offer(scout, 4, {"Far Sight"});
        scout->modifiers = {
            {ModPhysicalDefense, 1, 1}, {ModSpellDefense, 1, -1}, {ModRecoveryTests, 2, 1}};
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
    void Rank(const char* talent, int rank) { c->SetTalentRank(c->FindCharTalent(talent), rank); }

    RulesDatabase db;
    CVARN_DBDiscipline* warrior = nullptr;
    CVARN_DBDiscipline* scout = nullptr;
    RecordingDocument doc;
    std::unique_ptr<CVARN_Character> c;
};

TEST_F(Disciplines, RaisingACircleGrantsTalentsAndModifiers) {
    c->SetDisciplineCircle(warrior, 1);
    ASSERT_EQ(c->disciplines.size(), 1u);
    EXPECT_EQ(TalentNames(),
              (std::vector<std::string>{"Avoid Blow", "Melee Weapons", "Karma Ritual",
                                        "Unarmed Combat", "Durability (7/6)"}));
    // The durability talent's ratings come before the circle's own hints.
    EXPECT_EQ(doc.events, Events({"1030", "M", "1001", "1020", "1008"}));

    doc.Clear();
    c->SetDisciplineCircle(warrior, 3);
    EXPECT_EQ(c->talents.size(), 8u);
    EXPECT_EQ(c->physicalDefenseBonus, 1); // the circle-4 modifier does not count yet
    EXPECT_EQ(c->initiativeStep, 1 + c->Att(AttDexterity).step);
    EXPECT_EQ(c->karmaMax, 2);
    c->SetDisciplineCircle(warrior, 4);
    EXPECT_EQ(c->physicalDefenseBonus, 2); // two modifiers of one code add up

    // Circles beyond the last talent, or below 0, change nothing but are still announced.
    doc.Clear();
    c->SetDisciplineCircle(warrior, 6);
    c->SetDisciplineCircle(warrior, -1);
    EXPECT_EQ(c->disciplines[0]->circle, 4);
    EXPECT_EQ(doc.events,
              Events({"1030", "M", "1001", "1020", "1008", "1030", "M", "1001", "1020", "1008"}));
}

TEST_F(Disciplines, BonusesOfSeveralDisciplinesTakeTheLargestNeverBelowZero) {
    c->SetDisciplineCircle(scout, 2);
    EXPECT_EQ(c->disciplines[0]->spellDefenseBonus, -1);
    EXPECT_EQ(c->spellDefenseBonus, 0);
    EXPECT_EQ(c->recoveryTests, 1 + TestRow(10).recoveryTests);
    c->SetDisciplineCircle(warrior, 4);
    EXPECT_EQ(c->physicalDefenseBonus, 2); // 2 and 1: not 3
    EXPECT_EQ(c->physicalDefense, 2 + TestRow(10).defense);
    EXPECT_EQ(c->highestCircle, 4);
    c->SetDisciplineCircle(warrior, 0);
    EXPECT_EQ(c->physicalDefenseBonus, 1);
    EXPECT_EQ(c->initiativeBonus, 0);
    EXPECT_EQ(c->highestCircle, 2);
}

TEST_F(Disciplines, LoweringACircleKeepsTalentsAnotherDisciplineGrants) {
    c->SetDisciplineCircle(warrior, 1);
    c->SetDisciplineCircle(scout, 3);
    CVARN_CharTalent* melee = c->FindCharTalent("melee weapons");
    ASSERT_NE(melee, nullptr);
    EXPECT_EQ(melee->disciplinesText, "Warrior ( 1), Scout ( 3)");
    EXPECT_EQ(melee->offerCircle, 1);

    c->SetDisciplineCircle(warrior, 5);
    Rank("Melee Weapons", 4);
    Rank("Tiger Spring", 3);
    Rank("Anticipate Blow", 2);
    EXPECT_EQ(c->talentLegend, 1100 + 600 + 500);
    c->SetDisciplineCircle(warrior, 2);
    EXPECT_EQ(c->FindCharTalent("Tiger Spring"), nullptr);
    EXPECT_EQ(db.talentTable.FindTalent("Tiger Spring")->GetPCData(c.get()), nullptr);
    EXPECT_EQ(c->talentLegend, 1100);

    // Warrior gone: Melee Weapons stays through Scout, with its rank and cost.
    c->SetDisciplineCircle(warrior, 0);
    ASSERT_EQ(c->FindCharTalent("Melee Weapons"), melee);
    EXPECT_EQ(melee->rank, 4);
    EXPECT_EQ(melee->disciplinesText, "Scout ( 3)");
    EXPECT_EQ(c->talentLegend, 1100);
    EXPECT_EQ(TalentNames(), (std::vector<std::string>{"Avoid Blow", "Melee Weapons",
                                                       "Durability (5/4)", "Tracking"}));
    c->SetDisciplineCircle(scout, 0);
    EXPECT_TRUE(c->talents.empty());
    EXPECT_TRUE(c->disciplines.empty());
    EXPECT_EQ(c->talentLegend, 0);
    EXPECT_TRUE(scout->References().empty());
}

TEST_F(Disciplines, DurabilityTakesItsNumbersFromTheFirstGrantingOffer) {
    c->SetDisciplineCircle(warrior, 1);
    c->SetDisciplineCircle(scout, 1);
    CVARN_CharTalent* d = c->FindCharTalent("DURABILITY (7/6)");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->disciplinesText, "Warrior ( 1)"); // only the discipline that named it
    doc.Clear();
    c->SetTalentRank(d, 3);
    EXPECT_EQ(doc.events, Events({"1022", "1008", "M", "1001"}));
    EXPECT_EQ(c->deathRating, 21 + TestRow(10).deathBase);
    EXPECT_EQ(c->unconsciousnessRating, 18 + TestRow(10).unconsciousnessBase);

    c->SetDisciplineCircle(warrior, 0);
    ASSERT_EQ(c->FindCharTalent("Durability (5/4)"), d);
    EXPECT_EQ(d->rank, 3);
    EXPECT_EQ(c->deathRating, 15 + TestRow(10).deathBase);

    c->SetTalentRank(d, 0); // durability ends, per-rank numbers stay
    EXPECT_EQ(c->durabilityRank, 0);
    EXPECT_EQ(c->deathPerRank, 5);
    EXPECT_EQ(c->deathRating, TestRow(10).deathBase);

    d->name = "durability";
    d->RefreshDisciplines();
    EXPECT_EQ(d->name, "Durability (5/4)");
    // Numbers that are not there keep the old ones.
    const std::pair<const char*, std::pair<int, int>> names[] = {{"Durability (x/2)", {5, 4}},
                                                                 {"Durability ( 9 / -3 )", {9, -3}},
                                                                 {"Durability (11)", {11, -3}}};
    for (const auto& [name, numbers] : names) {
        d->name = name;
        c->SetTalentRank(d, 2);
        EXPECT_EQ(c->deathPerRank, numbers.first) << name;
        EXPECT_EQ(c->unconsciousnessPerRank, numbers.second) << name;
    }
}

TEST_F(Disciplines, DurabilityBonusEndsWithTheTalent) {
    c->SetDisciplineCircle(warrior, 2);
    Rank("Durability (7/6)", 3);
    EXPECT_EQ(c->deathRating, 21 + TestRow(10).deathBase);
    for (int circle : {1, 0}) {
        // Circle 1 keeps the talent, circle 0 takes it away with its bonus.
        c->SetDisciplineCircle(warrior, circle);
        const bool kept = circle == 1;
        EXPECT_EQ(c->HasDurabilityTalent(), kept) << circle;
        EXPECT_EQ(c->durabilityRank, kept ? 3 : 0) << circle;
        EXPECT_EQ(c->deathRating, (kept ? 21 : 0) + TestRow(10).deathBase) << circle;
        EXPECT_EQ(c->unconsciousnessRating, (kept ? 18 : 0) + TestRow(10).unconsciousnessBase)
            << circle;
    }
}

TEST_F(Disciplines, CircleRequirements) {
    EXPECT_EQ(CircleRank(15), 13);
    EXPECT_EQ(CircleRank(16), 13); // deeper circles ask what circle 15 asks
    c->SetDisciplineCircle(warrior, 1);
    EXPECT_EQ(c->CheckCircleRequirements(), ""); // circle 1 is never tested
    c->SetDisciplineCircle(warrior, 2);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 5 Warrior talent(s) at rank 2 to be Warrior (2).\r\n\r\n"
              "You need a Warrior (1) talent at rank 2 to be at least Warrior (2).\r\n\r\n");
    for (const auto& t : c->talents)
        c->SetTalentRank(t.get(), 2);
    Rank("Acrobatics", 1);
    EXPECT_EQ(c->CheckCircleRequirements(), "");

    // Circle 5: every test met except that no circle-3 talent reaches rank 4.
    c->SetDisciplineCircle(warrior, 5);
    for (const auto& t : c->talents)
        c->SetTalentRank(t.get(), 5);
    Rank("Tiger Spring", 3);
    Rank("Wound Balance", 3);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need a Warrior (3) talent at rank 4 to be at least Warrior (4).\r\n\r\n");

    // Another discipline's talents do not count, however high.
    Rank("Wound Balance", 5);
    Rank("Unarmed Combat", 4);
    Rank("Karma Ritual", 4);
    c->SetDisciplineCircle(scout, 4);
    Rank("Tracking", 15);
    Rank("Far Sight", 15);
    doc.Clear();
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 8 Warrior talent(s) at rank 5 to be Warrior (5).\r\n\r\n"
              "You need 7 Scout talent(s) at rank 4 to be Scout (4).\r\n\r\n"
              "You need a Scout (2) talent at rank 3 to be at least Scout (3).\r\n\r\n");
    EXPECT_TRUE(doc.events.empty());

    // A durability talent named by another discipline's offer meets both tests alike.
    c->SetDisciplineCircle(warrior, 0);
    c->SetDisciplineCircle(scout, 1);
    c->SetDisciplineCircle(warrior, 2);
    ASSERT_NE(c->FindCharTalent("Durability (5/4)"), nullptr);
    for (const auto& t : c->talents)
        c->SetTalentRank(t.get(), 0);
    Rank("Durability (5/4)", 2);
    EXPECT_EQ(c->CheckCircleRequirements(),
              "You need 5 Warrior talent(s) at rank 2 to be Warrior (2).\r\n\r\n");
}

TEST_F(Disciplines, TalentRanksStepsAndCosts) {
    CVARN_DBTalent* dodge = AddTalent(db, "Dodge", 2, 1);
    AddTalent(db, "Grand Ward");
    CVARN_DBDiscipline* mage = AddDiscipline(db, "Mage");
    Offer(db, mage, "Dodge", 5);
    Offer(db, mage, "Grand Ward", 13);
    c->SetAttributeBase(AttDexterity, 15); // step 6
    c->SetDisciplineCircle(mage, 13);
    CVARN_CharTalent* d = c->FindCharTalent("Dodge");
    CVARN_CharTalent* g = c->FindCharTalent("GRAND WARD");
    ASSERT_TRUE(d && g);
    EXPECT_EQ(d->ComputeTalentStep(*c), 0);
    c->SetTalentRank(d, 4);
    EXPECT_EQ(d->ComputeTalentStep(*c), 11);
    c->SetTalentRank(d, 5);
    EXPECT_EQ(d->legendCost, 3200 - 100);
    c->SetTalentRank(g, 5);
    EXPECT_EQ(g->legendCost, 8700 - 600);
    c->SetTalentRank(g, 15);
    EXPECT_EQ(c->talentLegend, 3100 + 1094400 - 600);

    doc.Clear();
    c->SetTalentRank(g, 16);
    c->SetTalentRank(g, -1);
    // Another character's record is refused: it would corrupt this account.
    CVARN_Character other(db);
    other.SetDisciplineCircle(mage, 5);
    c->SetTalentRank(dodge->GetPCData(&other), 9);
    EXPECT_EQ(dodge->GetPCData(&other)->rank, 0);
    EXPECT_EQ(g->rank, 15);
    EXPECT_TRUE(doc.events.empty());
}

TEST_F(Disciplines, ClosingACharacterLeavesNoReferenceAndCallsNobody) {
    auto other = std::make_unique<CVARN_Character>(db);
    other->SetDisciplineCircle(scout, 4);
    other->SetDisciplineCircle(warrior, 5);
    c->SetDisciplineCircle(warrior, 1);
    RecordingDocument closing; // being destroyed itself: must not be called back
    other->document = &closing;
    other.reset();
    EXPECT_TRUE(closing.events.empty());
    EXPECT_TRUE(scout->References().empty());
    EXPECT_TRUE(db.talentTable.FindTalent("Tiger Spring")->References().empty());
    // This character's references stay until it goes too.
    EXPECT_EQ(warrior->References().size(), 1u);
    EXPECT_EQ(db.talentTable.FindTalent("Avoid Blow")->References().size(), 1u);
    c.reset();
    EXPECT_TRUE(warrior->References().empty());
    EXPECT_TRUE(db.talentTable.FindTalent("Avoid Blow")->References().empty());
}

} // namespace
