#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class CharacterCore : public UnitCharacter {
protected:
    CVARN_RaceDesc* plain = db.raceTable.FindRace("Plain");
    CVARN_RaceDesc* odd = db.raceTable.FindRace("Odd"); // limits of Toughness cross
};

TEST_F(CharacterCore, RaceLimitsCostsAndSteps) {
    c.SetRace(odd);
    const CVARN_CharAtt& dex = c.Att(AttDexterity);
    EXPECT_EQ(dex.minimum, 3);                 // min 2 with -2 would allow value 0
    EXPECT_EQ(c.Att(AttStrength).maximum, 23); // room for five increases in a table of 30
    EXPECT_EQ(c.Att(AttToughness).base, 4);    // crossing limits: the maximum wins

    c.SetAttributeBase(AttDexterity, 1);
    EXPECT_EQ((std::vector<int>{dex.base, dex.cost, dex.value}), (std::vector<int>{3, -2, 1}));
    // A base above the purchase table costs what its last entry costs.
    c.SetAttributeBase(AttStrength, 40);
    EXPECT_EQ(c.Att(AttStrength).cost, 23);
    c.SetAttributeIncreases(AttStrength, 9);
    EXPECT_EQ(c.Att(AttStrength).increases, 5);
    EXPECT_EQ(c.Att(AttStrength).value, 30);

    CVARN_CharAtt att;
    att.minimum = -5;
    att.maximum = 18;
    const std::pair<int, int> valueStep[] = {{1, 2}, {3, 2}, {4, 3}, {6, 3}, {7, 4}, {-3, 1}};
    for (auto [value, step] : valueStep) {
        att.SetBase(value);
        EXPECT_EQ(att.step, step) << "value " << value;
    }
    att.SetIncreases(-1);
    EXPECT_EQ(att.increases, 0);
}

TEST_F(CharacterCore, DerivedValues) {
    plain->mysticArmor = 1;
    plain->socialDefense = -1;
    plain->woundThreshold = 3;
    plain->movementModifier = 2;
    plain->karmaMax = 20;
    c.SetRace(plain);
    const int bases[] = {14, 12, 13, 9, 11, 15}; // Dex Str Tou Cha Per Wil
    for (int a = 0; a < AttCount; ++a)
        c.SetAttributeBase(static_cast<CVARN_AttributeSlot>(a), bases[a]);

    EXPECT_EQ(
        (std::vector<int>{c.mysticArmor, c.spellDefense, c.socialDefense, c.woundThreshold,
                          c.recoveryStep, c.landFull, c.flyFull, c.liftingCapacity,
                          c.AttributePointsUsed()}),
        (std::vector<int>{1 + TestRow(15).mysticArmor, TestRow(11).defense, -1 + TestRow(9).defense,
                          3 + TestRow(13).woundThreshold, 6, TestRow(16).fullMovement, 0,
                          TestRow(12).lifting, 13 + 8 + 10 + 4 + 6 + 16}));

    // Movement indices outside the table: flying far below uses row 1, walking far above
    // the last row.
    c.SetRace(odd);
    c.SetAttributeBase(AttDexterity, 14); // value 12
    EXPECT_EQ(c.flyCombat, TestRow(1).combatMovement);
    EXPECT_EQ(c.landFull, TestRow(30).fullMovement);

    // A race's "Recovery Test:" -2 never takes the count below -1; without it 0 stands.
    odd->atts[AttToughness] = {2, 25, 0};
    c.SetRace(odd);
    for (auto [base, tests] : {std::pair{4, -1}, {12, -1}, {18, 1}}) { // rows 0, 2, 3
        c.SetAttributeBase(AttToughness, base);
        EXPECT_EQ(c.recoveryTests, tests) << "base " << base;
    }
    c.SetRace(plain);
    c.SetAttributeBase(AttToughness, 5);
    EXPECT_EQ(c.recoveryTests, 0);
}

TEST_F(CharacterCore, KarmaAndLegendAccount) {
    c.SetRace(plain);
    EXPECT_EQ(c.AvailableLegend(), 1000);
    c.SetLegendEarned(500);
    c.SetExtraCosts(200);
    EXPECT_EQ(c.AvailableLegend(), 1300);

    doc.Clear();
    c.SetKarmaBought(4);
    EXPECT_EQ(doc.events, Events({"M", "1008"}));
    c.SetKarmaSpent(2);
    EXPECT_EQ(c.karmaCurrent, 7);
    EXPECT_EQ(c.karmaLegend, 40);
    // The most karma the page lets a player buy holds the current karma at its field's top.
    c.SetKarmaBought(32767);
    EXPECT_EQ(c.karmaCurrent, 32767);
    c.SetKarmaBought(4);

    c.SetAttributeIncreases(AttStrength, 3);
    c.SetAttributeIncreases(AttToughness, 1);
    EXPECT_EQ((std::vector<int64_t>{c.increaseLegend, c.TotalIncreases(), c.SpentLegend(),
                                    c.AvailableLegend()}),
              (std::vector<int64_t>{4200 + 800, 4, 5040, 1300 - 5040}));

    // Amounts typed on the Character page may be absurd: the sum is still the true one.
    c.SetLegendEarned(INT32_MAX);
    c.SetCreationLegend(INT32_MAX);
    EXPECT_EQ(c.AvailableLegend(), int64_t{INT32_MAX} * 2 - 5240);
}

// Every hint in order, each step after its "--" line, in file/notifications.txt.
TEST_F(CharacterCore, Notifications) {
    ASSERT_TRUE(c.SetRaceByName("pLAIN"));
    EXPECT_EQ(c.raceName, "Plain");
    doc.events.push_back("-- not trimmed");
    EXPECT_FALSE(c.SetRaceByName("Plain "));
    EXPECT_EQ(c.race, plain);
    for (int a = 0; a < AttCount; ++a) {
        doc.events.push_back("-- base of attribute " + std::to_string(a));
        c.SetAttributeBase(static_cast<CVARN_AttributeSlot>(a), 12);
        doc.events.push_back("-- increase of attribute " + std::to_string(a));
        c.SetAttributeIncreases(static_cast<CVARN_AttributeSlot>(a), 1);
    }
    std::string log;
    for (const std::string& e : doc.events)
        log += e + "\n";
    ExpectFile(log, "file/notifications.txt");
}

TEST_F(CharacterCore, SumsWrapAtSixteenBitsAndLookUpsStayInTheTable) {
    plain->mysticArmor = 32767;
    c.SetRace(plain);
    c.SetAttributeBase(AttWillpower, 15);
    EXPECT_EQ(c.mysticArmor, static_cast<int16_t>(32767 + 3));
    c.durabilityRank = 15;
    c.deathPerRank = 3000;
    c.ComputeDamageRatings();
    EXPECT_EQ(c.deathRating, static_cast<int16_t>(45000 + TestRow(10).deathBase));

    // An empty attribute table, and limits that push a value below 1.
    RulesDatabase bare;
    CVARN_RaceDesc* r = AddRace(bare, "Bare");
    r->atts[AttToughness] = {9, 4, -5};
    r->canFly = 1;
    CVARN_Character b(bare);
    b.SetRace(r);
    EXPECT_EQ(b.landFull, 0);
    FillSystemTables(bare.systemTables, 10);
    b.SetRace(r);
    EXPECT_EQ(b.Att(AttToughness).value, -1);
    EXPECT_EQ(b.deathRating, TestRow(0).deathBase);
    b.SetAttributeIncreases(AttStrength, 5);
    EXPECT_LE(b.Att(AttStrength).value, 10);
}

} // namespace
