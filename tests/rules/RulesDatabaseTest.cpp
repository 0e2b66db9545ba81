#include "rules/RulesDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";
const char* const startOrder[] = {"Skills.dat", "Races.dat",     "Talents.dat", "Disciplines.dat",
                                  "Spells.dat", "Equipment.dat", "VARN.dat"};
const char* const notFound[] = {"File 'Skills.dat' not found",  "File 'Races.dat' not found",
                                "File 'Talents.dat' not found", "File 'Disciplines.dat' not found",
                                "File 'Spells.dat' not found",  "File Equipment.dat not found",
                                "File 'VARN.dat' not found"};

} // namespace

TEST(RulesDatabase, LoadsTheBasicSetAcrossReaders) {
    RulesDatabase db;
    RecordingPrompt prompt;
    ASSERT_TRUE(LoadRulesDatabase(db, basicSet, prompt));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(db.dataDirectory, basicSet);
    EXPECT_EQ(db.raceTable.races.size(), 3u);
    EXPECT_EQ(db.disciplineList.disciplines.size(), 2u);
    EXPECT_EQ(db.talentTable.Count(), 10u);
    EXPECT_EQ(db.skillTable.Count(), 6u); // 2 read, 3 racial lores, 1 talent
    EXPECT_EQ(db.spellTable.Count(), 2u);
    EXPECT_EQ(db.equipmentDatabase.Count(), 5u);
    EXPECT_NE(db.skillTable.FindSkill("Racial Lore : Korrun"), nullptr);
    EXPECT_EQ(db.skillTable.FindSkill("melee weapons")->type, "Talent");
    // Disciplines saw the races and talents read before them.
    const CVARN_DBDiscipline* warrior = db.disciplineList.FindDiscipline("Warrior");
    EXPECT_EQ(warrior->races.size(), 2u);
    EXPECT_EQ(warrior->FindDiscTalent("Durability")->talent,
              db.talentTable.FindTalent("Durability"));
    EXPECT_EQ(db.systemTables.GetActionDice(5), "D8");
    EXPECT_EQ(db.systemTables.AttributeRow(10).carrying, 80);
}

TEST(RulesDatabase, AMissingFileStopsStartUpAndNothingAfterItIsRead) {
    for (size_t missing = 0; missing < std::size(startOrder); ++missing) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        dir.Remove(startOrder[missing]);
        RulesDatabase db;
        RecordingPrompt prompt;
        EXPECT_FALSE(LoadRulesDatabase(db, dir.path, prompt)) << startOrder[missing];
        EXPECT_EQ(prompt.messages, std::vector<std::string>{notFound[missing]});
        // Each reader leaves a mark; the ones after the missing file left none.
        EXPECT_EQ(db.skillTable.Count() > 0, missing > 0);
        EXPECT_EQ(!db.raceTable.races.empty(), missing > 1);
        EXPECT_EQ(db.talentTable.Count() > 0, missing > 2);
        EXPECT_EQ(!db.disciplineList.disciplines.empty(), missing > 3);
        EXPECT_EQ(db.spellTable.Count() > 0, missing > 4);
        EXPECT_EQ(db.equipmentDatabase.Count() > 0, missing > 5);
    }
    RulesDatabase db;
    RecordingPrompt prompt;
    EXPECT_FALSE(LoadRulesDatabase(db, basicSet + "no/such/dir/", prompt));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{notFound[0]});

    // A file that exists but cannot be read is no "not found": silently empty, start-up goes on.
    TempDir dir;
    dir.CopyFrom(basicSet);
    dir.Remove("Spells.dat");
    std::filesystem::create_directory(dir.path + "Spells.dat");
    RulesDatabase unreadable;
    RecordingPrompt quiet;
    EXPECT_TRUE(LoadRulesDatabase(unreadable, dir.path, quiet));
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_EQ(unreadable.spellTable.Count(), 0u);
}

TEST(RulesDatabase, UnknownDisciplineTalentFailsButReportedFaultsGoOn) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    dir.Write("Races.dat", "Karma Max: 1\n[Human]\n");
    dir.Write("Disciplines.dat", "[Archer]\nTalent: Bow |1|Y\n");
    RulesDatabase db;
    RecordingPrompt prompt;
    EXPECT_FALSE(LoadRulesDatabase(db, dir.path, prompt));
    EXPECT_EQ(prompt.messages,
              (std::vector<std::string>{
                  "No Race Name?",
                  "Unknown Archer Talent : Bow\nVARN is not usable until this error is removed"}));
    EXPECT_EQ(db.spellTable.Count(), 0u);
}

TEST(RulesDatabase, VarnDatWithoutATableFailsClearly) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    dir.Write("VARN.dat", "[Action Dice]\n3 D6\n");
    RulesDatabase db;
    RecordingPrompt prompt;
    EXPECT_FALSE(LoadRulesDatabase(db, dir.path, prompt));
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{"File 'VARN.dat' has no [Attributes] table"});

    dir.Write("VARN.dat", "");
    RulesDatabase db2;
    RecordingPrompt prompt2;
    EXPECT_FALSE(LoadRulesDatabase(db2, dir.path, prompt2));
    EXPECT_EQ(prompt2.messages,
              (std::vector<std::string>{"File 'VARN.dat' has no [Attributes] table",
                                        "File 'VARN.dat' has no [Action Dice] table"}));
}

TEST(RulesDatabase, ShortenedNamesAreRenamedOnlyWithConsent) {
    const std::string question = "Discipli.dat file found"
                                 "\nYour unzipper had probably truncated this file name"
                                 "\nAm I allowed to rename it?\n( NewName : ";
    for (bool answer : {true, false}) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        std::filesystem::rename(dir.path + "Disciplines.dat", dir.path + "Discipli.dat");
        RulesDatabase db;
        RecordingPrompt prompt;
        prompt.answers = {answer};
        EXPECT_EQ(LoadRulesDatabase(db, dir.path, prompt), answer);
        ASSERT_EQ(prompt.questions.size(), 1u);
        EXPECT_EQ(prompt.questions[0], dir.path + question + dir.path + "Disciplines.dat )");
        EXPECT_EQ(dir.Exists("Disciplines.dat"), answer);
        EXPECT_EQ(dir.Exists("Discipli.dat"), !answer);
        if (answer)
            EXPECT_TRUE(prompt.messages.empty());
        else
            EXPECT_EQ(prompt.messages, std::vector<std::string>{notFound[3]});
    }
    // Both names present, or only the long one: nothing is asked.
    TempDir dir;
    dir.CopyFrom(basicSet);
    dir.Write("Equipmen.dat", "");
    dir.Write("Discipli.dat", "");
    RulesDatabase db;
    RecordingPrompt prompt;
    EXPECT_TRUE(LoadRulesDatabase(db, dir.path, prompt));
    EXPECT_TRUE(prompt.questions.empty());
}

TEST(RulesDatabase, DataDirectoryFromTheSettingsFile) {
    TempDir program;
    EXPECT_EQ(DataDirectoryFor(program.path), program.path + "Data/");
    program.Write("VARN.ini", "[Other]\nData=/elsewhere\n");
    EXPECT_EQ(DataDirectoryFor(program.path), "/Data/");
    program.Write("VARN.ini", "; comment\n[varn]\n  data =  /opt/varn  \n");
    EXPECT_EQ(DataDirectoryFor(program.path), "/opt/varn/Data/");
    program.Write("VARN.ini", "[VARN]\r\nDATA=/opt/varn/\r\n");
    EXPECT_EQ(DataDirectoryFor(program.path), "/opt/varn/Data/");
    program.Write("VARN.ini", "[VARN]\nData=\"/with quotes\"\nData=/second\n");
    EXPECT_EQ(DataDirectoryFor(program.path), "/with quotes/Data/");
    program.Write("VARN.ini", "[VARN]\nData=/" + std::string(300, 'a') + "\n");
    EXPECT_EQ(DataDirectoryFor(program.path), "/" + std::string(257, 'a') + "/Data/");

    const std::string self = ProgramDirectory();
    EXPECT_EQ(self.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(self + "test_rules"));
}
