#include "rules/DisciplineDatabase.h"
#include "rules/RaceDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/TalentDatabase.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Disciplines {
    Disciplines() {
        for (const char* name : {"Velde", "Fethrin", "Korrun"}) {
            races.races.push_back(std::make_unique<CVARN_RaceDesc>());
            races.races.back()->name = name;
        }
        for (const char* name :
             {"Woven Matrix", "THREAD WEAVING", "Karma Ritual", "Durability", "Bladework"}) {
            auto talent = std::make_unique<CVARN_DBTalent>();
            talent->name = name;
            talent->matrix = std::string(name) == "Woven Matrix";
            talents.AddTalent(std::move(talent));
        }
    }
    ReadResult Read(const std::string& content) {
        TempDir dir;
        dir.Write("Disciplines.dat", content);
        return ReadDisciplines(list, talents, races, dir.path, prompt);
    }
    CVARN_RaceDesc* Race(size_t i) { return races.races[i].get(); }

    RaceTable races;
    TalentTable talents;
    DisciplineList list;
    RecordingPrompt prompt;
};

std::vector<CVARN_RaceDesc*> Races(const CVARN_DBDiscipline& d) {
    return {d.races.begin(), d.races.end()};
}

std::vector<std::string> OfferNames(const CVARN_DBDiscipline& d) {
    std::vector<std::string> names;
    for (const auto& offer : d.talents)
        names.push_back(offer.name);
    return names;
}

} // namespace

TEST(DisciplineDatabase, MatrixNumberingAndVariantsShareCreatedTalents) {
    Disciplines d;
    ASSERT_EQ(d.Read(Input("disciplines1.dat")), ReadResult::Ok);
    EXPECT_TRUE(d.prompt.messages.empty());
    const CVARN_DBDiscipline& galesinger = *d.list.FindDiscipline("GALESINGER");
    const CVARN_DBDiscipline& cinder = *d.list.disciplines[1];
    EXPECT_EQ(OfferNames(galesinger),
              (std::vector<std::string>{"Woven Matrix 1", "woven matrix 2", "Woven Matrix 3",
                                        "Thread Weaving (Tempestry)", "Durability (4/3)"}));
    EXPECT_EQ(galesinger.highestCircle, 7);
    EXPECT_EQ(galesinger.talents[0].disciplineTalent, 1);
    EXPECT_EQ(galesinger.talents[1].disciplineTalent, 0);
    EXPECT_EQ(galesinger.talents[0].discipline, &galesinger);
    // Shared entries: the second discipline links to the first one's copies.
    EXPECT_EQ(cinder.talents[0].talent, galesinger.talents[0].talent);
    EXPECT_EQ(cinder.talents[1].talent, galesinger.talents[1].talent);
    EXPECT_EQ(cinder.talents[2].talent, galesinger.talents[3].talent);
    EXPECT_EQ(galesinger.talents[3].talent->name, "Thread Weaving (Tempestry)");
    EXPECT_EQ(cinder.talents[3].talent->name, "Karma Ritual (Fire)");
    // 5 read + 3 matrix copies + 2 variants.
    EXPECT_EQ(d.talents.Count(), 10u);
    EXPECT_EQ(galesinger.talents[4].talent, d.talents.FindTalent("Durability"));
    EXPECT_EQ(galesinger.FindDiscTalent("durability"), &galesinger.talents[4]);
    EXPECT_EQ(galesinger.FindDiscTalent("DURABILITY (9/9)"), &galesinger.talents[4]);
    EXPECT_EQ(cinder.FindDiscTalent("Durability"), nullptr);
}

// A talent file may mark Durability as a matrix talent: its numbered offers must not be taken
// for the Durability offer they all look like, or the numbering never ends. Numbers already
// offered under their own name are skipped.
TEST(DisciplineDatabase, MatrixNumbersSkipOfferedNamesAndEndForDurability) {
    Disciplines d;
    d.talents.FindTalent("Durability")->matrix = 1;
    d.talents.AddTalent(std::make_unique<CVARN_DBTalent>())->name = "Woven Matrix 2";
    ASSERT_EQ(d.Read(Input("disciplines2.dat")), ReadResult::Ok);
    const CVARN_DBDiscipline& edgesworn = *d.list.disciplines[0];
    EXPECT_EQ(
        OfferNames(edgesworn),
        (std::vector<std::string>{"Durability (7/6) 1", "Durability (7/6) 2", "durability (7/6) 3",
                                  "Woven Matrix 2", "Woven Matrix 1", "WOVEN MATRIX 3"}));
    // Every Durability offer is still the one Durability talent.
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(edgesworn.talents[i].talent, d.talents.FindTalent("Durability"));
    EXPECT_EQ(OfferNames(*d.list.disciplines[1]), std::vector<std::string>{"Woven Matrix 1"});
}

TEST(DisciplineDatabase, RacesModifiersAbilitiesAndDescription) {
    Disciplines d;
    ASSERT_EQ(d.Read(Input("disciplines3.dat")), ReadResult::Ok);
    EXPECT_EQ(d.prompt.messages, std::vector<std::string>{"Error : No discipline in .dat file"});
    const CVARN_DBDiscipline& edgesworn = *d.list.disciplines[0];
    EXPECT_EQ(Races(edgesworn), (std::vector<CVARN_RaceDesc*>{d.Race(0), d.Race(2)}));
    std::vector<std::string> read; // modifiers "code circle value", abilities, offers
    for (const CVARN_DiscModifier& m : edgesworn.modifiers)
        read.push_back(std::to_string(m.code) + " " + std::to_string(m.circle) + " " +
                       std::to_string(m.value));
    for (const CVARN_DiscAbility& a : edgesworn.abilities)
        read.push_back(std::to_string(a.circle) + " " + a.text);
    // Offers without a readable circle or flag get circle 0 / flag off.
    for (const CVARN_DiscTalent& t : edgesworn.talents)
        read.push_back(std::to_string(t.circle) + " " + std::to_string(t.disciplineTalent));
    EXPECT_EQ(read, (std::vector<std::string>{std::to_string(ModKarmaMax) + " 5 1",
                                              std::to_string(ModNone) + " 2 3",
                                              std::to_string(ModInitiative) + " 0 0",
                                              "4 Battle cry", "0 No circle", "0 0", "3 0"}));
    EXPECT_EQ(edgesworn.highestCircle, 3);
    EXPECT_EQ(edgesworn.description, "First line\nSecond line\n");
    // "Korrun " keeps its blank and is unknown.
    // A named list keeps repeats; forbidding takes out the first.
    EXPECT_EQ(Races(*d.list.disciplines[1]), (std::vector<CVARN_RaceDesc*>{d.Race(0), d.Race(1)}));
    EXPECT_TRUE(d.list.disciplines[2]->races.empty());
    EXPECT_EQ(d.list.disciplines[2]->description, "Last line\n");

    // A list of every race that gains one goes on as a list of its own.
    CVARN_DiscRaces all;
    all.SetAll(d.races.races);
    all.Remove(d.Race(1));
    all.Append(d.Race(1));
    EXPECT_EQ(std::vector<CVARN_RaceDesc*>(all.begin(), all.end()),
              (std::vector<CVARN_RaceDesc*>{d.Race(0), d.Race(2), d.Race(1)}));
    EXPECT_EQ(d.list.disciplines[2]->highestCircle, 0);
}

TEST(DisciplineDatabase, UnknownTalentStopsReading) {
    Disciplines d;
    EXPECT_EQ(d.Read(Input("disciplines4.dat")), ReadResult::Fatal);
    EXPECT_EQ(d.prompt.messages,
              std::vector<std::string>{"Unknown Arrowhand Talent : Bow Mastery\nVARN is not usable "
                                       "until this error is removed"});
    EXPECT_EQ(d.list.disciplines.size(), 1u);
    EXPECT_TRUE(d.list.disciplines[0]->talents.empty());
}
