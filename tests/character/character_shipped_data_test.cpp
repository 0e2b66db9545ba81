#include "character/Character.h"
#include "rules/RecordingPrompt.h"
#include "rules/RulesDatabase.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class ShippedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new RulesDatabase;
        RecordingPrompt prompt;
        loaded = LoadRulesDatabase(*db, VARN_SHIPPED_DATA_DIR, prompt);
        messages = prompt.messages;
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(messages.empty()) << messages.front();
    }

    static RulesDatabase* db;
    static bool loaded;
    static std::vector<std::string> messages;
};

RulesDatabase* ShippedData::db = nullptr;
bool ShippedData::loaded = false;
std::vector<std::string> ShippedData::messages;

// Every discipline of the shipped set can be followed from circle 1 to its last circle:
// with every talent at the rank a circle asks for, no requirement is left unmet.
TEST_F(ShippedData, EveryDisciplineCanMeetEveryCircleUpToFifteen) {
    ASSERT_FALSE(db->disciplineList.disciplines.empty());
    for (const auto& discipline : db->disciplineList.disciplines) {
        SCOPED_TRACE(discipline->name);
        EXPECT_EQ(discipline->highestCircle, 15);
        CVARN_Character c(*db);
        ASSERT_TRUE(c.SetRaceByName(db->raceTable.races.front()->name));
        for (int circle = 1; circle <= discipline->highestCircle; ++circle) {
            c.SetDisciplineCircle(discipline.get(), circle);
            for (const auto& t : c.talents)
                c.SetTalentRank(t.get(), CircleRank(circle));
            EXPECT_EQ(c.CheckCircleRequirements(), "") << "circle " << circle;
        }
        // Every talent the discipline offers is now the character's, once.
        std::set<const CVARN_DBTalent*> offered;
        for (const auto& offer : discipline->talents)
            offered.insert(offer.talent);
        EXPECT_EQ(c.talents.size(), offered.size());
        EXPECT_EQ(c.highestCircle, 15);
        EXPECT_GT(c.talentLegend, 0);

        // And back to nothing, leaving no reference behind.
        c.SetDisciplineCircle(discipline.get(), 0);
        EXPECT_TRUE(c.talents.empty());
        EXPECT_EQ(c.talentLegend, 0);
        EXPECT_TRUE(discipline->References().empty());
    }
}

// A character of every race, with two disciplines, stays consistent: the durability talent
// of the first discipline names the talent, and its numbers reach the damage ratings;
// every attribute value and five increases stay inside the attribute table.
TEST_F(ShippedData, EveryRaceWithTwoDisciplines) {
    ASSERT_GE(db->disciplineList.disciplines.size(), 2u);
    CVARN_DBDiscipline* first = db->disciplineList.disciplines[0].get();
    CVARN_DBDiscipline* second = db->disciplineList.disciplines[1].get();
    for (const auto& race : db->raceTable.races) {
        SCOPED_TRACE(race->name);
        CVARN_Character c(*db);
        c.SetRace(race.get());
        for (const auto& att : c.attributes) {
            EXPECT_GE(att.value, 1);
            EXPECT_LE(att.value + 5, db->systemTables.HighestAttributeValue());
        }
        c.SetDisciplineCircle(first, 6);
        c.SetDisciplineCircle(second, 4);
        const CVARN_DiscTalent* offer = first->FindDiscTalent("DURABILITY");
        ASSERT_NE(offer, nullptr);
        CVARN_CharTalent* durability = c.FindCharTalent(offer->name);
        ASSERT_NE(durability, nullptr);
        c.SetTalentRank(durability, 4);
        EXPECT_EQ(c.durabilityRank, 4);
        const auto& row = db->systemTables.AttributeRow(c.Att(AttToughness).value);
        EXPECT_EQ(c.deathRating, 4 * c.deathPerRank + row.deathBase);
        EXPECT_GT(c.deathPerRank, 0);
    }
}

} // namespace
