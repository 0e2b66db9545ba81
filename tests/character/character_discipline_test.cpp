#include "CharacterTestSupport.h"

#include "character/PageFacts.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class Disciplines : public UnitCharacter {
protected:
    Disciplines() {
        c.SetRaceByName("Plain");
        doc.Clear();
    }

    std::vector<std::string> TalentNames() const {
        std::vector<std::string> names;
        for (const auto& t : c.talents)
            names.push_back(t->name);
        return names;
    }
    void Rank(const char* talent, int rank) { c.SetTalentRank(c.FindCharTalent(talent), rank); }

    const CVARN_DBDiscipline* edgesworn = db.disciplineList.FindDiscipline("Edgesworn");
    const CVARN_DBDiscipline* pathreader = db.disciplineList.FindDiscipline("Pathreader");
};

TEST_F(Disciplines, RaisingACircleGrantsTalentsAndModifiers) {
    c.SetDisciplineCircle(edgesworn, 1);
    ASSERT_EQ(c.disciplines.size(), 1u);
    EXPECT_EQ(TalentNames(), (std::vector<std::string>{"Sidestep", "Bladework", "Karma Ritual",
                                                       "Open Hand", "Durability (7/6)"}));
    // The durability talent's ratings come before the circle's own hints.
    EXPECT_EQ(doc.events, Events({"1030", "M", "1001", "1020", "1008"}));

    doc.Clear();
    c.SetDisciplineCircle(edgesworn, 3);
    EXPECT_EQ(c.talents.size(), 8u);
    EXPECT_EQ(c.disciplineBonuses.physicalDefense, 1); // the circle-4 modifier does not count yet
    EXPECT_EQ(c.initiativeStep, 1 + c.Att(AttDexterity).step);
    EXPECT_EQ(c.karmaMax, 2);
    c.SetDisciplineCircle(edgesworn, 4);
    EXPECT_EQ(c.disciplineBonuses.physicalDefense, 2); // two modifiers of one code add up

    // Circles beyond the last talent, or below 0, change nothing but are still announced.
    doc.Clear();
    c.SetDisciplineCircle(edgesworn, 6);
    c.SetDisciplineCircle(edgesworn, -1);
    EXPECT_EQ(c.disciplines[0]->circle, 4);
    EXPECT_EQ(doc.events,
              Events({"1030", "M", "1001", "1020", "1008", "1030", "M", "1001", "1020", "1008"}));
}

TEST_F(Disciplines, BonusesOfSeveralDisciplinesTakeTheLargestNeverBelowZero) {
    c.SetDisciplineCircle(pathreader, 2);
    EXPECT_EQ(c.disciplines[0]->bonuses.spellDefense, -1);
    EXPECT_EQ(c.disciplineBonuses.spellDefense, 0);
    EXPECT_EQ(c.recoveryTests, 1 + TestRow(10).recoveryTests);
    c.SetDisciplineCircle(edgesworn, 4); // physical defense 2 and 1: not 3
    EXPECT_EQ(
        (std::vector<int>{c.disciplineBonuses.physicalDefense, c.physicalDefense, c.highestCircle}),
        (std::vector<int>{2, 2 + TestRow(10).defense, 4}));
    c.SetDisciplineCircle(edgesworn, 0);
    EXPECT_EQ((std::vector<int>{c.disciplineBonuses.physicalDefense, c.disciplineBonuses.initiative,
                                c.highestCircle}),
              (std::vector<int>{1, 0, 2}));
}

TEST_F(Disciplines, LoweringACircleKeepsTalentsAnotherDisciplineGrants) {
    c.SetDisciplineCircle(edgesworn, 1);
    c.SetDisciplineCircle(pathreader, 3);
    CVARN_CharTalent* blade = c.FindCharTalent("bladework");
    ASSERT_NE(blade, nullptr);
    EXPECT_EQ(blade->disciplinesText, "Edgesworn ( 1), Pathreader ( 3)");
    EXPECT_EQ(blade->offerCircle, 1);

    c.SetDisciplineCircle(edgesworn, 5);
    Rank("Bladework", 4);
    Rank("Hair Trigger", 3);
    Rank("Counterstroke", 2);
    EXPECT_EQ(c.talentLegend, 1100 + 600 + 500);
    c.SetDisciplineCircle(edgesworn, 2);
    EXPECT_EQ(c.FindCharTalent("Hair Trigger"), nullptr);
    EXPECT_EQ(c.FindCharTalent(db.talentTable.Find("Hair Trigger")), nullptr);
    EXPECT_EQ(c.talentLegend, 1100);

    // Edgesworn gone: Bladework stays through Pathreader, with its rank and cost.
    c.SetDisciplineCircle(edgesworn, 0);
    ASSERT_EQ(c.FindCharTalent("Bladework"), blade);
    EXPECT_EQ(blade->disciplinesText + " " + std::to_string(blade->rank) + " " +
                  std::to_string(c.talentLegend),
              "Pathreader ( 3) 4 1100");
    EXPECT_EQ(TalentNames(), (std::vector<std::string>{"Sidestep", "Bladework", "Durability (5/4)",
                                                       "Trail Sense"}));
    c.SetDisciplineCircle(pathreader, 0);
    EXPECT_TRUE(c.talents.empty() && c.disciplines.empty() && c.talentLegend == 0);
    EXPECT_EQ(c.disciplineLinks.Size() + c.talentLinks.Size(), 0u);
}

TEST_F(Disciplines, DurabilityTakesItsNumbersFromTheFirstGrantingOffer) {
    c.SetDisciplineCircle(edgesworn, 1);
    c.SetDisciplineCircle(pathreader, 1);
    CVARN_CharTalent* d = c.FindCharTalent("DURABILITY (7/6)");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->disciplinesText, "Edgesworn ( 1)"); // only the discipline that named it
    doc.Clear();
    c.SetTalentRank(d, 3);
    EXPECT_EQ(doc.events, Events({"1022", "1008", "M", "1001"}));
    EXPECT_EQ(c.deathRating, 21 + TestRow(10).deathBase);
    EXPECT_EQ(c.unconsciousnessRating, 18 + TestRow(10).unconsciousnessBase);

    c.SetDisciplineCircle(edgesworn, 0);
    ASSERT_EQ(c.FindCharTalent("Durability (5/4)"), d);
    EXPECT_EQ(d->rank, 3);
    EXPECT_EQ(c.deathRating, 15 + TestRow(10).deathBase);

    c.SetTalentRank(d, 0); // durability ends, per-rank numbers stay
    EXPECT_EQ((std::vector<int>{c.durabilityRank, c.deathPerRank, c.deathRating}),
              (std::vector<int>{0, 5, TestRow(10).deathBase}));

    d->name = "durability";
    d->RefreshDisciplines();
    EXPECT_EQ(d->name, "Durability (5/4)");
    // Numbers that are not there keep the old ones.
    const std::pair<const char*, std::pair<int, int>> names[] = {{"Durability (x/2)", {5, 4}},
                                                                 {"Durability ( 9 / -3 )", {9, -3}},
                                                                 {"Durability (11)", {11, -3}}};
    for (const auto& [name, numbers] : names) {
        d->name = name;
        c.SetTalentRank(d, 2);
        EXPECT_EQ(c.deathPerRank, numbers.first) << name;
        EXPECT_EQ(c.unconsciousnessPerRank, numbers.second) << name;
    }
}

TEST_F(Disciplines, CircleRequirements) {
    std::vector<int> ranks; // deeper circles ask what circle 15 asks
    for (int circle = -1; circle <= 16; ++circle)
        ranks.push_back(CircleRank(circle));
    EXPECT_EQ(ranks,
              (std::vector<int>{0, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 12, 12, 13, 13}));
    // Every report below, each after a "--" line, in file/circle_requirements.txt.
    std::string reports;
    auto check = [&] { reports += "--\n" + c.CheckCircleRequirements(); };
    c.SetDisciplineCircle(edgesworn, 1);
    check(); // circle 1 is never tested
    c.SetDisciplineCircle(edgesworn, 2);
    check();
    for (const auto& t : c.talents)
        c.SetTalentRank(t.get(), 2);
    Rank("Fleetfoot", 1);
    check();

    // Circle 5: every test met except that no circle-3 talent reaches rank 4.
    c.SetDisciplineCircle(edgesworn, 5);
    for (const auto& t : c.talents)
        c.SetTalentRank(t.get(), 5);
    Rank("Hair Trigger", 3);
    Rank("Stand Fast", 3);
    check();

    // Another discipline's talents do not count, however high.
    Rank("Stand Fast", 5);
    Rank("Open Hand", 4);
    Rank("Karma Ritual", 4);
    c.SetDisciplineCircle(pathreader, 4);
    Rank("Trail Sense", 15);
    Rank("Keen Eye", 15);
    doc.Clear();
    check();
    EXPECT_TRUE(doc.events.empty());

    // A durability talent named by another discipline's offer meets both tests alike.
    c.SetDisciplineCircle(edgesworn, 0);
    c.SetDisciplineCircle(pathreader, 1);
    c.SetDisciplineCircle(edgesworn, 2);
    ASSERT_NE(c.FindCharTalent("Durability (5/4)"), nullptr);
    for (const auto& t : c.talents)
        c.SetTalentRank(t.get(), 0);
    Rank("Durability (5/4)", 2);
    check();
    ExpectFile(reports, "file/circle_requirements.txt");
}

TEST_F(Disciplines, TalentRanksStepsAndCosts) {
    CVARN_DBTalent* dodge = db.talentTable.Find("Dodge"); // Dex + 1
    const CVARN_DBDiscipline* runecaller = db.disciplineList.FindDiscipline("Runecaller");
    c.SetAttributeBase(AttDexterity, 15); // step 6
    c.SetDisciplineCircle(runecaller, 13);
    CVARN_CharTalent* d = c.FindCharTalent("Dodge");
    CVARN_CharTalent* g = c.FindCharTalent("GRAND WARD");
    ASSERT_TRUE(d && g);
    EXPECT_EQ(d->ComputeTalentStep(c), 0);
    c.SetTalentRank(d, 4);
    EXPECT_EQ(d->ComputeTalentStep(c), 11);
    c.SetTalentRank(d, 5);
    c.SetTalentRank(g, 5);
    EXPECT_EQ(d->legendCost * 10000 + g->legendCost, (3200 - 100) * 10000 + 8700 - 600);
    c.SetTalentRank(g, 15);
    EXPECT_EQ(c.talentLegend, 3100 + 1094400 - 600);

    doc.Clear();
    c.SetTalentRank(g, 16);
    c.SetTalentRank(g, -1);
    // Another character's record is refused: it would corrupt this account.
    CVARN_Character other(db);
    other.SetDisciplineCircle(runecaller, 5);
    c.SetTalentRank(other.FindCharTalent(dodge), 9);
    EXPECT_EQ(other.FindCharTalent(dodge)->rank, 0);
    EXPECT_EQ(g->rank, 15);
    EXPECT_TRUE(doc.events.empty());
}

// Characters on the same rules keep their records apart: closing one calls nobody and
// leaves the other's records as they were.
TEST_F(Disciplines, ClosingACharacterCallsNobodyAndLeavesTheOthers) {
    auto other = std::make_unique<CVARN_Character>(db);
    other->SetDisciplineCircle(pathreader, 4);
    other->SetDisciplineCircle(edgesworn, 5);
    c.SetDisciplineCircle(edgesworn, 1);
    other->disciplines.push_back(std::make_unique<CVARN_CharDisc>()); // no entry: just dropped
    RecordingDocument closing; // being destroyed itself: must not be called back
    other->document = &closing;
    other.reset();
    EXPECT_TRUE(closing.events.empty());
    EXPECT_EQ(c.FindCharDisc(edgesworn)->circle, 1);
    ASSERT_NE(c.FindCharTalent("Sidestep"), nullptr);
    EXPECT_EQ(c.FindCharTalent(db.talentTable.Find("Sidestep")), c.FindCharTalent("Sidestep"));
    EXPECT_EQ(c.FindCharTalent(db.talentTable.Find("Hair Trigger")), nullptr);
    EXPECT_EQ(c.FindCharDisc(pathreader), nullptr);
}

} // namespace
