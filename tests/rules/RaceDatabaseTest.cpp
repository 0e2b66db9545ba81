#include "rules/RaceDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/SkillDatabase.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Races {
    RaceTable table;
    SkillTable skills;
    RecordingPrompt prompt;
};

void Read(Races& r, const std::string& content) {
    TempDir dir;
    dir.Write("Races.dat", content);
    EXPECT_EQ(ReadRaces(r.table, r.skills, dir.path, r.prompt), ReadResult::Ok);
}

} // namespace

TEST(RaceDatabase, ReadsKeywordsInAnyCaseAndKeepsFileOrder) {
    Races r;
    Read(r, // Att: Strength 5: right attribute, but no number after four characters
         // "\r\n": a CRLF blank line is an empty line
         Input("races1.dat"));
    EXPECT_TRUE(r.prompt.messages.empty());
    ASSERT_EQ(r.table.races.size(), 3u);
    EXPECT_EQ(r.table.haveRace, 1);
    EXPECT_EQ(r.table.races[1]->name, "Velde");
    const CVARN_RaceDesc* w = r.table.FindRace("FETHRIN");
    ASSERT_EQ(w, r.table.races[0].get()); // the first of two equal names
    std::vector<int> atts;                // minimum, maximum, modifier of each attribute
    for (const auto& a : w->atts)
        atts.insert(atts.end(), {a.minimum, a.maximum, a.modifier});
    EXPECT_EQ(atts, (std::vector<int>{2, 18, 2, 4, 18, 0, 2, 18, 0, 2, 18, 0, 2, 18, 0, 2, 19, 0}));
    EXPECT_EQ((std::vector<int>{w->canFly, w->flyModifier, w->movementModifier, w->karmaCost,
                                w->recoveryTests, w->mysticArmor}),
              (std::vector<int>{1, 0, -3, 0, 2, 1}));
    ASSERT_EQ(w->abilities.size(), 3u);
    EXPECT_EQ(w->abilities[0].text + w->abilities[1].text + w->abilities[2].text, "CBA");

    // One racial lore per header, duplicates included.
    EXPECT_EQ(r.skills.Count(), 3u);
    const CVARN_DBSkill* lore = r.skills.FindSkill("Racial Lore : Velde");
    ASSERT_NE(lore, nullptr);
    EXPECT_EQ(lore->type + "|" + lore->description + "|" + lore->formula,
              "Knowledge|See Race Description for this knowledge.|Per");
    EXPECT_EQ(lore->attribute * 10 + lore->action, 41);
}

TEST(RaceDatabase, ReportsMisplacedUnknownAndMalformedLines) {
    Races r;
    Read(r, Input("races2.dat"));
    EXPECT_EQ(
        r.prompt.messages,
        (std::vector<std::string>{"No Race Name?", "Error in file", "Error in file",
                                  "Error in file", "File Races.dat\nUnknown Keyword : Speed: 4",
                                  "File Races.dat\nUnknown Keyword : Att: Xyz 2",
                                  "File Races.dat\nUnknown Keyword : Min: St", "Error in file"}));
    ASSERT_EQ(r.table.races.size(), 1u);
    EXPECT_EQ(r.table.races[0]->karmaMax, 12);
    for (const auto& att : r.table.races[0]->atts)
        EXPECT_EQ(att.modifier, 0);
}
