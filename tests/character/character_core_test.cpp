#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class CharacterCore : public ::testing::Test {
protected:
    CharacterCore() {
        FillSystemTables(db.systemTables);
        plain = AddRace(db, "Plain");
        plain->karmaStart = 5;
        plain->karmaCost = 10;
        plain->karmaMax = 20;
        plain->karmaStep = 4;
        odd = AddRace(db, "Odd");
        odd->atts[AttDexterity] = {2, 18, -2}; // minimum, maximum, modifier
        odd->atts[AttStrength] = {2, 25, 2};
        odd->atts[AttToughness] = {9, 4, 0}; // limits that cross
        odd->recoveryTests = -2;
        odd->canFly = 1;
        odd->flyModifier = -20;
        odd->movementModifier = 40;
    }

    RulesDatabase db;
    CVARN_RaceDesc* plain = nullptr;
    CVARN_RaceDesc* odd = nullptr;
};

TEST_F(CharacterCore, RaceLimitsKeepEveryValueInsideTheTable) {
    CVARN_Character c(db);
    c.SetRace(odd);
    const CVARN_CharAtt& dex = c.Att(AttDexterity);
    // Min 2 with modifier -2 would allow value 0.
    EXPECT_EQ(dex.minimum, 3);
    EXPECT_EQ(dex.value, 8); // base 10 - 2
    // Max 25 with modifier 2 leaves no room for five increases in a table of 30.
    EXPECT_EQ(c.Att(AttStrength).maximum, 23);
    // Crossing limits: the maximum wins.
    EXPECT_EQ(c.Att(AttToughness).base, 4);

    // A base above the purchase table costs what its last entry costs.
    c.SetAttributeBase(AttStrength, 40);
    EXPECT_EQ(c.Att(AttStrength).base, 23);
    EXPECT_EQ(c.Att(AttStrength).cost, 23);
    c.SetAttributeIncreases(AttStrength, 9);
    EXPECT_EQ(c.Att(AttStrength).increases, 5);
    EXPECT_EQ(c.Att(AttStrength).value, 30); // exactly the top row
    EXPECT_EQ(c.liftingCapacity, TestRow(30).lifting);

    c.SetAttributeBase(AttDexterity, 1);
    EXPECT_EQ(dex.base, 3);
    EXPECT_EQ(dex.cost, -2);
    EXPECT_EQ(dex.value, 1);
    EXPECT_EQ(dex.step, 2);
}

TEST_F(CharacterCore, StepsCostsAndIncreases) {
    CVARN_CharAtt att;
    att.minimum = 1;
    att.maximum = 18;
    const int values[] = {1, 3, 4, 6, 7, 18};
    const int steps[] = {2, 2, 3, 3, 4, 7};
    for (int i = 0; i < 6; ++i) {
        att.SetBase(values[i]);
        EXPECT_EQ(att.step, steps[i]) << "value " << values[i];
    }
    att.minimum = 7;
    att.SetBase(5);
    EXPECT_EQ(att.base, 7);
    EXPECT_EQ(att.cost, 2);
    EXPECT_EQ(att.value, 7);
    EXPECT_EQ(att.step, 4);

    att.SetIncreases(6);
    EXPECT_EQ(att.increases, 5);
    EXPECT_EQ(att.value, 12);
    EXPECT_EQ(att.increaseLegend, 13100);
    att.SetIncreases(-1);
    EXPECT_EQ(att.increases, 0);
    EXPECT_EQ(att.increaseLegend, 0);

    // A value below 1 (data whose limits cross) still has a step.
    att.minimum = 0;
    att.raceModifier = -3;
    att.SetBase(0);
    EXPECT_EQ(att.value, -3);
    EXPECT_EQ(att.step, 1); // (-4) / 3 + 2, truncating toward zero
}

TEST_F(CharacterCore, DerivedValuesFollowTheRaceAndTheTable) {
    CVARN_Character c(db);
    plain->physicalArmor = 2;
    plain->mysticArmor = 1;
    plain->physicalDefense = 1;
    plain->socialDefense = -1;
    plain->spellDefense = 2;
    plain->woundThreshold = 3;
    plain->movementModifier = 2;
    c.SetRace(plain);
    c.SetAttributeBase(AttDexterity, 14);
    c.SetAttributeBase(AttPerception, 11);
    c.SetAttributeBase(AttCharisma, 9);
    c.SetAttributeBase(AttWillpower, 15);
    c.SetAttributeBase(AttToughness, 13);
    c.SetAttributeBase(AttStrength, 12);

    EXPECT_EQ(c.physicArmor, 2);
    EXPECT_EQ(c.mysticArmor, 1 + TestRow(15).mysticArmor);
    EXPECT_EQ(c.physicalDefense, 1 + TestRow(14).defense);
    EXPECT_EQ(c.spellDefense, 2 + TestRow(11).defense);
    EXPECT_EQ(c.socialDefense, -1 + TestRow(9).defense);
    EXPECT_EQ(c.woundThreshold, 3 + TestRow(13).woundThreshold);
    EXPECT_EQ(c.deathRating, TestRow(13).deathBase);
    EXPECT_EQ(c.unconsciousnessRating, TestRow(13).unconsciousnessBase);
    EXPECT_EQ(c.recoveryTests, TestRow(13).recoveryTests);
    EXPECT_EQ(c.recoveryStep, 6);
    EXPECT_EQ(c.landFull, TestRow(16).fullMovement);
    EXPECT_EQ(c.landCombat, TestRow(16).combatMovement);
    EXPECT_EQ(c.flyFull, 0);
    EXPECT_EQ(c.flyCombat, 0);
    EXPECT_EQ(c.initiativeStep, 6);
    EXPECT_EQ(c.carryingCapacity, TestRow(12).carrying);
    EXPECT_EQ(c.liftingCapacity, TestRow(12).lifting);
    EXPECT_EQ(c.karmaMax, 20);
    EXPECT_EQ(c.karmaStep, 4);
    EXPECT_EQ(c.karmaCost, 10);
    EXPECT_EQ(c.AttributePointsUsed(), 13 + 8 + 10 + 4 + 6 + 16);

    // A flying race far below the table flies on row 1; far above it walks on the last.
    CVARN_Character f(db);
    f.SetRace(odd);
    f.SetAttributeBase(AttDexterity, 14); // value 12
    EXPECT_EQ(f.flyFull, TestRow(1).fullMovement);
    EXPECT_EQ(f.flyCombat, TestRow(1).combatMovement);
    EXPECT_EQ(f.landFull, TestRow(30).fullMovement);
}

TEST_F(CharacterCore, RecoveryTestsOfARaceNeverFallBelowMinusOne) {
    CVARN_Character c(db);
    c.SetRace(odd); // "Recovery Test:" -2, Toughness kept at base 4
    c.SetAttributeBase(AttToughness, 4);
    // Toughness 4 gives row recovery 0: 0 - 2 -> -1.
    EXPECT_EQ(c.recoveryTests, -1);
    odd->atts[AttToughness] = {2, 25, 0};
    c.SetRace(odd);
    c.SetAttributeBase(AttToughness, 12); // row 2: 2 - 2 = 0 -> -1
    EXPECT_EQ(c.recoveryTests, -1);
    c.SetAttributeBase(AttToughness, 18); // row 3: 3 - 2 = 1
    EXPECT_EQ(c.recoveryTests, 1);

    // Without the racial keyword a sum of 0 stands as it is.
    CVARN_Character p(db);
    p.SetRace(plain);
    p.SetAttributeBase(AttToughness, 5);
    EXPECT_EQ(p.recoveryTests, 0);
}

TEST_F(CharacterCore, KarmaAndLegendAccount) {
    RecordingDocument doc;
    CVARN_Character c(db);
    c.document = &doc;
    c.SetRace(plain);
    EXPECT_EQ(c.AvailableLegend(), 1000);
    c.SetLegendEarned(500);
    c.SetExtraCosts(200);
    EXPECT_EQ(c.AvailableLegend(), 1300);

    doc.Clear();
    c.SetKarmaBought(3);
    EXPECT_EQ(doc.events, Events({"M", "1008"}));
    c.SetKarmaSpent(2);
    EXPECT_EQ(c.karmaCurrent, 6);
    EXPECT_EQ(c.karmaLegend, 30);
    c.SetKarmaBought(4);
    EXPECT_EQ(c.karmaLegend, 40);

    c.SetAttributeIncreases(AttStrength, 3);
    c.SetAttributeIncreases(AttToughness, 1);
    EXPECT_EQ(c.increaseLegend, 4200 + 800);
    EXPECT_EQ(c.TotalIncreases(), 4);
    EXPECT_EQ(c.SpentLegend(), 40 + 5000);
    EXPECT_EQ(c.AvailableLegend(), 1500 - 200 - 40 - 5000);

    // Amounts typed on the Character page may be absurd; the sums wrap, never trap.
    c.SetLegendEarned(INT32_MAX);
    c.SetCreationLegend(INT32_MAX);
    EXPECT_EQ(c.AvailableLegend(), static_cast<int32_t>(int64_t{INT32_MAX} * 2 - 200 - 40 - 5000));
}

TEST_F(CharacterCore, NotificationsOfRaceAndAttributes) {
    RecordingDocument doc;
    CVARN_Character c(db);
    c.document = &doc;
    ASSERT_TRUE(c.SetRaceByName("pLAIN"));
    EXPECT_EQ(c.race, plain);
    EXPECT_EQ(c.raceName, "Plain");
    EXPECT_EQ(doc.events, Events({"1004", "1030", "M", "1000", "1001", "1002", "1003", "1006",
                                  "1040", "1008", "1008", "1008", "1007", "M", "M"}));

    doc.Clear();
    EXPECT_FALSE(c.SetRaceByName("Nobody"));
    EXPECT_FALSE(c.SetRaceByName("Plain ")); // names are not trimmed
    EXPECT_EQ(c.race, plain);
    EXPECT_TRUE(doc.events.empty());

    struct Case {
        CVARN_AttributeSlot slot;
        std::vector<std::string> base;
        std::vector<std::string> increases;
    };
    const Case cases[] = {
        {AttDexterity, Events({"1014", "1002", "1003", "1006", "M"}),
         Events({"1005", "1008", "1002", "1003", "1006", "M"})},
        {AttStrength, Events({"1013", "1007", "M"}), Events({"1005", "1008", "1007", "M"})},
        {AttToughness, Events({"1015", "1001", "M"}), Events({"1005", "1008", "1001", "M"})},
        {AttCharisma, Events({"1010", "1002", "M"}), Events({"1005", "1008", "1002", "M"})},
        {AttPerception, Events({"1012", "1002", "M"}), Events({"1005", "1008", "1002", "M"})},
        {AttWillpower, Events({"1011", "1000", "M"}), Events({"1005", "1008", "1000", "M"})},
    };
    for (const Case& k : cases) {
        doc.Clear();
        c.SetAttributeBase(k.slot, 12);
        EXPECT_EQ(doc.events, k.base) << "attribute " << k.slot;
        doc.Clear();
        c.SetAttributeIncreases(k.slot, 1);
        EXPECT_EQ(doc.events, k.increases) << "attribute " << k.slot;
    }
}

TEST_F(CharacterCore, SixteenBitSumsWrap) {
    CVARN_Character c(db);
    plain->mysticArmor = 32767;
    plain->physicalDefense = 32767;
    plain->karmaMax = 32767;
    c.SetRace(plain);
    c.SetAttributeBase(AttWillpower, 15); // row mystic armor 3
    EXPECT_EQ(c.mysticArmor, static_cast<int16_t>(32767 + 3));
    EXPECT_EQ(c.physicalDefense, static_cast<int16_t>(32767 + TestRow(10).defense));

    // A durability of rank 15 at 3000 per rank is far beyond 16 bits.
    c.durabilityRank = 15;
    c.deathPerRank = 3000;
    c.ComputeDamageRatings();
    EXPECT_EQ(c.deathRating, static_cast<int16_t>(45000 + TestRow(10).deathBase));
}

TEST_F(CharacterCore, ComputationsNeverLeaveTheTables) {
    // No race yet: the computations still run, with a race of zeros and attributes that
    // have no value yet.
    CVARN_Character none(db);
    none.RecomputeAll();
    EXPECT_EQ(none.deathRating, TestRow(0).deathBase);
    EXPECT_EQ(none.karmaMax, 0);

    // Limits that cross leave a value below 1, and an empty table gives zeros.
    RulesDatabase bare;
    CVARN_RaceDesc* r = AddRace(bare, "Bare");
    r->atts[AttDexterity] = {2, 2, -5};
    r->atts[AttToughness] = {9, 4, -5};
    r->canFly = 1;
    CVARN_Character c(bare);
    c.SetRace(r);
    EXPECT_LT(c.Att(AttDexterity).value, 1);
    EXPECT_EQ(c.physicalDefense, 0);
    EXPECT_EQ(c.landFull, 0);
    EXPECT_EQ(c.flyFull, 0);

    FillSystemTables(bare.systemTables, 10);
    c.SetRace(r);
    EXPECT_EQ(c.Att(AttToughness).value, -1);
    EXPECT_EQ(c.deathRating, TestRow(0).deathBase);
    EXPECT_EQ(c.landFull, TestRow(1).fullMovement);
    c.SetAttributeIncreases(AttStrength, 5);
    EXPECT_LE(c.Att(AttStrength).value, 10);
}

} // namespace
