#include "rules/RulesDatabase.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";
const char* const startOrder[] = {"Skills.dat", "Races.dat",     "Talents.dat", "Disciplines.dat",
                                  "Spells.dat", "Equipment.dat", "VARN.dat"};

struct EveryMessagePrompt : RecordingPrompt {
    bool every = false;
    bool TakesEveryMessage() const override { return every; }
};

// One line for a start-up from `dir` (shown as "$DIR/"), answering `yes` or no to every
// question: whether it went on, the questions, the messages, and a mark for each reader that
// read something (skills, races, talents, disciplines, spells, equipment).
std::string StartUp(const std::string& dir, bool everyMessage = false, bool yes = false) {
    RulesDatabase db;
    EveryMessagePrompt prompt;
    prompt.every = everyMessage;
    prompt.defaultAnswer = yes;
    std::string record = LoadRulesDatabase(db, dir, prompt) ? "loaded" : "refused";
    for (const std::string& q : prompt.questions)
        record += " | asked " + q;
    for (const std::string& m : prompt.messages)
        record += " | " + m;
    record += " | marks ";
    for (bool mark : {db.skillTable.Count() > 0, !db.raceTable.races.empty(),
                      db.talentTable.Count() > 0, !db.disciplineList.disciplines.empty(),
                      db.spellTable.Count() > 0, db.equipmentDatabase.Count() > 0})
        record += mark ? '1' : '0';
    for (size_t at = 0; (at = record.find(dir, at)) != std::string::npos;)
        record.replace(at, dir.size(), "$DIR/");
    return record + "\n";
}

} // namespace

// A data file that is missing, or there but not readable whole, is never taken for an empty
// one: the reason is shown and start-up ends, whichever of the seven it is, with nothing after
// it read (rules/start_up_refused.txt: missing, then a directory, for each file in order).
TEST(RulesDatabase, AMissingOrUnreadableFileStopsStartUp) {
    std::string record;
    for (const char* name : startOrder) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        dir.Remove(name);
        record += StartUp(dir.path);
        std::filesystem::create_directory(dir.path + name);
        record += StartUp(dir.path);
    }
    record += StartUp(basicSet + "no/such/dir/");

    TempDir dir;
    dir.CopyFrom(basicSet);
    // A FIFO would block start-up for ever, /dev/zero would never end.
    dir.Remove("Equipment.dat");
    ASSERT_EQ(::mkfifo((dir.path + "Equipment.dat").c_str(), 0600), 0);
    record += StartUp(dir.path);
    dir.Remove("Equipment.dat");
    dir.CopyFrom(basicSet);
    dir.Remove("VARN.dat");
    std::filesystem::create_symlink("/dev/zero", dir.path + "VARN.dat");
    record += StartUp(dir.path);
    dir.Remove("VARN.dat");
    dir.CopyFrom(basicSet);
    // Sparse: refused by its size before a byte is read.
    std::filesystem::resize_file(dir.path + "Talents.dat", (uintmax_t{256} << 20) + 1);
    record += StartUp(dir.path);
    ExpectFile(record, "rules/start_up_refused.txt");
    dir.CopyFrom(basicSet);
    if (::geteuid() != 0) { // permissions do not stop root
        std::filesystem::permissions(dir.path + "Races.dat", std::filesystem::perms::none);
        EXPECT_EQ(StartUp(dir.path),
                  "refused | File 'Races.dat' cannot be read: Permission denied | marks 100000\n");
    }
}

// A file full of faults must not mean a box per fault: each file shows its first 20 messages
// and one more for the rest; a prompt that takes every message gets them all (in that order in
// rules/start_up_twenty.txt).
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
    ExpectFile(StartUp(dir.path) + StartUp(dir.path, true), "rules/start_up_twenty.txt");
}

// An unknown discipline talent stops start-up after the faults reported before it, with nothing
// after it read; VARN.dat without one of its tables fails clearly (rules/start_up_fatal.txt).
TEST(RulesDatabase, FatalFaultsStopStartUp) {
    const std::vector<std::pair<const char*, std::string>> cases[] = {
        {{"Races.dat", "Karma Max: 1\n[Velde]\n"},
         {"Disciplines.dat", "[Arrowhand]\nTalent: Bow |1|Y\n"}},
        {{"VARN.dat", "[Action Dice]\n3 D6\n"}},
        {{"VARN.dat", "[Attributes]\n2 1 1 1 1 1 1 1 1 1 1\n"}},
        {{"VARN.dat", ""}}};
    std::string record;
    for (const auto& files : cases) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        for (const auto& [name, content] : files)
            dir.Write(name, content);
        record += StartUp(dir.path);
    }
    ExpectFile(record, "rules/start_up_fatal.txt");
}

// The answer to the rename question decides (rules/start_up_renamed.txt: yes, no, then both
// names present, or only the long one, where nothing is asked).
TEST(RulesDatabase, ShortenedNamesAreRenamedOnlyWithConsent) {
    std::string record;
    for (bool answer : {true, false}) {
        TempDir dir;
        dir.CopyFrom(basicSet);
        std::filesystem::rename(dir.path + "Disciplines.dat", dir.path + "Discipli.dat");
        record += StartUp(dir.path, false, answer);
        EXPECT_EQ(dir.Exists("Disciplines.dat"), answer);
        EXPECT_EQ(dir.Exists("Discipli.dat"), !answer);
    }
    TempDir dir;
    dir.CopyFrom(basicSet);
    dir.Write("Equipmen.dat", "");
    dir.Write("Discipli.dat", "");
    record += StartUp(dir.path);
    ExpectFile(record, "rules/start_up_renamed.txt");
}

// A rename that fails says so, with the reason, instead of "not found"; start-up then ends
// (rules/start_up_rename_failed.txt). The long name is made to fail by its path length, which
// stops root too.
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
    ExpectFile(StartUp(path, false, true), "rules/start_up_rename_failed.txt");
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

// A byte-order mark in front of a data file, as some editors save UTF-8, is no part of the
// data: every file with one loads as the same file without it, with no message.
TEST(RulesDatabase, AByteOrderMarkIsSkipped) {
    TempDir dir;
    dir.CopyFrom(basicSet);
    for (const char* name : startOrder)
        dir.Write(name, "\xEF\xBB\xBF" + Slurp(basicSet + name));
    EXPECT_EQ(StartUp(dir.path), StartUp(basicSet));
}
