#include "rules/RulesDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";
const char* const startOrder[] = {"Skills.dat", "Races.dat",     "Talents.dat", "Disciplines.dat",
                                  "Spells.dat", "Equipment.dat", "VARN.dat"};
const char* const notFound[] = {"File 'Skills.dat' not found",  "File 'Races.dat' not found",
                                "File 'Talents.dat' not found", "File 'Disciplines.dat' not found",
                                "File 'Spells.dat' not found",  "File Equipment.dat not found",
                                "File 'VARN.dat' not found"};

} // namespace

// A data file that is missing, or there but not readable whole, is never taken for an empty
// one: the reason is shown and start-up ends, whichever of the seven it is, with nothing after
// it read.
TEST(RulesDatabase, AMissingOrUnreadableFileStopsStartUp) {
    // No reason: the file is missing.
    auto expectRefused = [](const TempDir& dir, size_t index, const std::string& reason) {
        RulesDatabase db;
        RecordingPrompt prompt;
        EXPECT_FALSE(LoadRulesDatabase(db, dir.path, prompt)) << startOrder[index];
        EXPECT_EQ(prompt.messages, std::vector<std::string>{
                                       reason.empty() ? notFound[index]
                                                      : std::string("File '") + startOrder[index] +
                                                            "' cannot be read: " + reason});
        // Each reader leaves a mark; the ones after the failed file left none.
        EXPECT_EQ(db.skillTable.Count() > 0, index > 0);
        EXPECT_EQ(!db.raceTable.races.empty(), index > 1);
        EXPECT_EQ(db.talentTable.Count() > 0, index > 2);
        EXPECT_EQ(!db.disciplineList.disciplines.empty(), index > 3);
        EXPECT_EQ(db.spellTable.Count() > 0, index > 4);
        EXPECT_EQ(db.equipmentDatabase.Count() > 0, index > 5);
    };
    for (size_t index = 0; index < std::size(startOrder); ++index) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        dir.Remove(startOrder[index]);
        expectRefused(dir, index, "");
        std::filesystem::create_directory(dir.path + startOrder[index]);
        expectRefused(dir, index, "it is a directory");
    }
    RulesDatabase db;
    RecordingPrompt prompt;
    EXPECT_FALSE(LoadRulesDatabase(db, basicSet + "no/such/dir/", prompt));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{notFound[0]});

    TempDir dir;
    dir.CopyFrom(basicSet);
    // A FIFO would block start-up for ever, /dev/zero would never end.
    dir.Remove("Equipment.dat");
    ASSERT_EQ(::mkfifo((dir.path + "Equipment.dat").c_str(), 0600), 0);
    expectRefused(dir, 5, "it is not a regular file");
    dir.Remove("Equipment.dat");
    dir.CopyFrom(basicSet);
    dir.Remove("VARN.dat");
    std::filesystem::create_symlink("/dev/zero", dir.path + "VARN.dat");
    expectRefused(dir, 6, "it is not a regular file");
    dir.Remove("VARN.dat");
    dir.CopyFrom(basicSet);
    // Sparse: refused by its size before a byte is read.
    std::filesystem::resize_file(dir.path + "Talents.dat", (uintmax_t{256} << 20) + 1);
    expectRefused(dir, 2, "it is larger than 256 MB");
    dir.CopyFrom(basicSet);
    if (::geteuid() != 0) { // permissions do not stop root
        std::filesystem::permissions(dir.path + "Races.dat", std::filesystem::perms::none);
        expectRefused(dir, 1, "Permission denied");
    }
}

// A file full of faults must not mean a box per fault: each file shows its first 20 messages
// and one more for the rest; a prompt that takes every message gets them all.
TEST(RulesDatabase, EachFileShowsTwentyMessagesAndGathersTheRest) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    std::string races = "[Velde]\n", skills;
    for (int i = 1; i <= 30; ++i)
        races += "Bad " + std::to_string(i) + "\n";
    for (int i = 0; i < 21; ++i) // one over: shown as it is
        skills += "Strain: 1\n";
    dir.Write("Races.dat", races);
    dir.Write("Skills.dat", skills);
    struct AllPrompt : RecordingPrompt {
        bool TakesEveryMessage() const override { return true; }
    };
    for (bool all : {false, true}) {
        RulesDatabase db;
        AllPrompt every;
        RecordingPrompt boxes;
        RecordingPrompt& prompt = all ? every : boxes;
        LoadRulesDatabase(db, dir.path, prompt);
        std::vector<std::string> expected;
        for (int i = 0; i < 21; ++i)
            expected.push_back("Error : No Skill in .dat file");
        for (int i = 1; i <= (all ? 30 : 20); ++i)
            expected.push_back("File Races.dat\nUnknown Keyword : Bad " + std::to_string(i));
        if (!all)
            expected.push_back("File 'Races.dat': 10 more messages not shown, the last of them:\n"
                               "File Races.dat\nUnknown Keyword : Bad 30");
        ASSERT_GE(prompt.messages.size(), expected.size());
        prompt.messages.resize(expected.size());
        EXPECT_EQ(prompt.messages, expected);
    }
}

// An unknown discipline talent stops start-up after the faults reported before it, with nothing
// after it read; VARN.dat without one of its tables fails clearly.
TEST(RulesDatabase, FatalFaultsStopStartUp) {
    const std::string noAttributes = "File 'VARN.dat' has no [Attributes] table";
    const std::string noDice = "File 'VARN.dat' has no [Action Dice] table";
    const struct {
        std::vector<std::pair<const char*, std::string>> files;
        std::vector<std::string> messages;
    } cases[] = {
        {{{"Races.dat", "Karma Max: 1\n[Velde]\n"},
          {"Disciplines.dat", "[Arrowhand]\nTalent: Bow |1|Y\n"}},
         {"No Race Name?",
          "Unknown Arrowhand Talent : Bow\nVARN is not usable until this error is removed"}},
        {{{"VARN.dat", "[Action Dice]\n3 D6\n"}}, {noAttributes}},
        {{{"VARN.dat", "[Attributes]\n2 1 1 1 1 1 1 1 1 1 1\n"}}, {noDice}},
        {{{"VARN.dat", ""}}, {noAttributes, noDice}}};
    for (const auto& [files, messages] : cases) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        for (const auto& [name, content] : files)
            dir.Write(name, content);
        RulesDatabase db;
        RecordingPrompt prompt;
        EXPECT_FALSE(LoadRulesDatabase(db, dir.path, prompt)) << messages.back();
        EXPECT_EQ(prompt.messages, messages);
        EXPECT_EQ(db.spellTable.Count() > 0, files[0].first == std::string("VARN.dat"));
    }
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

// A rename that fails says so, with the reason, instead of "not found"; start-up then ends.
// The long name is made to fail by its path length, which stops root too.
TEST(RulesDatabase, AFailedRenameOfAShortenedNameIsReported) {
    TempDir top;
    std::string path = top.path;
    // The short name fits the system's path limit (4095 bytes), the long one does not.
    while (path.size() + 12 < 4095) {
        path += std::string(std::min<size_t>(200, 4095 - 12 - path.size() - 1), 'd') + "/";
        std::filesystem::create_directory(path);
    }
    ASSERT_EQ(path.size() + 12, 4095u);
    TempDir set;
    set.CopyFrom(basicSet);
    for (const char* name : {"Skills.dat", "Races.dat", "Talents.dat"}) // read before it
        std::filesystem::copy_file(set.path + name, path + name);
    std::filesystem::copy_file(set.path + "Disciplines.dat", path + "Discipli.dat");
    RulesDatabase db;
    RecordingPrompt prompt;
    prompt.defaultAnswer = true;
    EXPECT_FALSE(LoadRulesDatabase(db, path, prompt));
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(
        prompt.messages,
        std::vector<std::string>{
            "File 'Discipli.dat' could not be renamed to 'Disciplines.dat': File name too long"});
    EXPECT_TRUE(db.disciplineList.disciplines.empty());
}

TEST(RulesDatabase, DataDirectoryFromTheSettingsFile) {
    TempDir program;
    EXPECT_EQ(DataDirectoryFor(program.path), program.path + "Data/");
    const std::pair<std::string, std::string> cases[] = {
        {"[Other]\nData=/elsewhere\n", "/Data/"},
        {"; comment\n[varn]\n  data =  /opt/varn  \n", "/opt/varn/Data/"},
        {"[VARN]\r\nDATA=/opt/varn/\r\n", "/opt/varn/Data/"},
        {"[VARN]\nData=\"/with quotes\"\nData=/second\n", "/with quotes/Data/"},
        {"[VARN]\nData=''\n", "/Data/"},
        {"[VARN]\nData=\"/x'\n", "\"/x'/Data/"},
        {"[VARN]\nData=/" + std::string(300, 'a') + "\n", "/" + std::string(257, 'a') + "/Data/"}};
    for (const auto& [ini, directory] : cases) {
        program.Write("VARN.ini", ini);
        EXPECT_EQ(DataDirectoryFor(program.path), directory) << ini;
    }

    const std::string self = ProgramDirectory();
    EXPECT_EQ(self.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(self + "test_rules"));
}
