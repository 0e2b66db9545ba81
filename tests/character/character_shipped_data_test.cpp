#include "character/Character.h"
#include "rules/RulesDatabase.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Every discipline of the shipped set can be followed from circle 1 to 15: with every
// talent at the rank a circle asks for, no requirement is left unmet; and dropping it
// again leaves nothing behind.
TEST(ShippedData, EveryDisciplineCanMeetEveryCircleUpToFifteen) {
    RulesDatabase db;
    RecordingPrompt prompt;
    ASSERT_TRUE(LoadRulesDatabase(db, VARN_SHIPPED_DATA_DIR, prompt));
    ASSERT_TRUE(prompt.messages.empty()) << prompt.messages.front();
    ASSERT_FALSE(db.disciplineList.disciplines.empty());
    for (const auto& discipline : db.disciplineList.disciplines) {
        SCOPED_TRACE(discipline->name);
        EXPECT_EQ(discipline->highestCircle, 15);
        CVARN_Character c(db);
        ASSERT_TRUE(c.SetRaceByName(db.raceTable.races.front()->name));
        for (int circle = 1; circle <= discipline->highestCircle; ++circle) {
            c.SetDisciplineCircle(discipline.get(), circle);
            for (const auto& t : c.talents)
                c.SetTalentRank(t.get(), CircleRank(circle));
            EXPECT_EQ(c.CheckCircleRequirements(), "") << "circle " << circle;
        }
        std::set<const CVARN_DBTalent*> offered;
        for (const auto& offer : discipline->talents)
            offered.insert(offer.talent);
        EXPECT_EQ(c.talents.size(), offered.size());

        c.SetDisciplineCircle(discipline.get(), 0);
        EXPECT_TRUE(c.talents.empty());
        EXPECT_EQ(c.talentLegend, 0);
        EXPECT_EQ(c.FindCharDisc(discipline.get()), nullptr);
    }
}

} // namespace
