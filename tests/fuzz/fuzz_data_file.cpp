// Fuzzes one data-file reader, chosen at build time by VARN_FUZZ_FILE. The input becomes
// that file in a private data folder beside the shipped versions of the files it builds
// on; what reads is then put to use by a character where the file feeds one.
//
// With VARN_FUZZ_WITH, the input holds two files: the one named there, a line "%%", then the
// one of VARN_FUZZ_FILE (an input without that line is all the first file, the second empty).
// So the two vary together: a discipline file meets talent files it was not written for.

#include "FuzzSupport.h"

#include "character/Character.h"
#include "character/TextSheet.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view fuzzedFile = VARN_FUZZ_FILE;
std::string folder; // ends with "/"

void RemoveFolder() {
    std::error_code error;
    fs::remove_all(folder, error);
}

bool Is(std::string_view name) {
    return fuzzedFile == name;
}

// Sets up characters the way the pages do, so that the values the file gave are used.
void UseRules(const RulesDatabase& db) {
    if (!db.systemTables.HasAttributeRows() || !db.systemTables.HasDiceTexts())
        return; // start-up stops here
    size_t raceCount = std::min<size_t>(db.raceTable.races.size(), 8);
    for (size_t r = 0; r < raceCount; ++r) {
        CVARN_Character c(db);
        c.SetRace(db.raceTable.races[r].get());
        if (Is("Disciplines.dat") && r == 0) {
            size_t count = std::min<size_t>(db.disciplineList.disciplines.size(), 12);
            for (size_t d = 0; d < count; ++d) {
                CVARN_DBDiscipline* discipline = db.disciplineList.disciplines[d].get();
                c.SetDisciplineCircle(discipline, discipline->highestCircle);
            }
            for (const auto& t : c.talents)
                c.SetTalentRank(t.get(), 3);
            c.CheckCircleRequirements();
        }
        if (Is("Equipment.dat") && r == 0) {
            const EquipmentDatabase& e = db.equipmentDatabase;
            // Up to four pieces of each kind, all worn, thread armour at rank 1.
            auto wear = [&](const auto& list) {
                for (size_t i = 0; i < list.size() && i < 4; ++i) {
                    CVARN_CharEquip* piece = c.AddEquipment(list[i].get());
                    if (auto* thread = dynamic_cast<CVARN_CharEquipThreadArmor*>(piece))
                        thread->threadRank = 1;
                    if (auto* armor = dynamic_cast<CVARN_CharEquipArmor*>(piece))
                        armor->worn = 1;
                    if (auto* shield = dynamic_cast<CVARN_CharEquipShield*>(piece))
                        shield->worn = 1;
                    c.EquipmentChanged(piece);
                }
            };
            wear(e.armors);
            wear(e.threadArmors);
            wear(e.shields);
            wear(e.weapons);
            wear(e.misc);
        }
        std::string sheet;
        BuildTextSheet(c, sheet);
        fuzz::Require(LinksMatchRecords(c), "each record is linked to its entry");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/varn-fuzz-XXXXXX";
    fuzz::Require(::mkdtemp(pattern) != nullptr, "a private data folder");
    folder = std::string(pattern) + "/";
    std::atexit(RemoveFolder);
    for (const char* name : {"Skills.dat", "Races.dat", "Talents.dat", "Disciplines.dat",
                             "Spells.dat", "Equipment.dat", "VARN.dat"})
        fs::copy_file(std::string(VARN_SHIPPED_DATA_DIR) + name, folder + name);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto write = [](std::string_view name, std::string_view content) {
        std::ofstream out(folder + std::string(name), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    };
    std::string_view input(reinterpret_cast<const char*>(data), size);
#ifdef VARN_FUZZ_WITH
    constexpr std::string_view separator = "\n%%\n";
    const size_t split = input.find(separator);
    write(VARN_FUZZ_WITH, input.substr(0, split));
    input = split == std::string_view::npos ? std::string_view()
                                            : input.substr(split + separator.size());
#endif
    write(fuzzedFile, input);
    fuzz::YesPrompt prompt;
    auto db = std::make_unique<RulesDatabase>();
    db->dataDirectory = folder;
    const std::string& dir = folder;

    // Only the readers the fuzzed file builds on, then the fuzzed one.
    if (Is("Skills.dat")) {
        ReadSkills(db->skillTable, dir, prompt);
        return 0;
    }
    if (Is("Spells.dat")) {
        ReadSpells(db->spellTable, dir, prompt);
        return 0;
    }
    bool ok = ReadSkills(db->skillTable, dir, prompt) == ReadResult::Ok &&
              ReadRaces(db->raceTable, db->skillTable, dir, prompt) == ReadResult::Ok;
    if (ok && (Is("Talents.dat") || Is("Disciplines.dat")))
        ok = ReadTalents(db->talentTable, db->skillTable, db->raceTable, dir, prompt) ==
             ReadResult::Ok;
    if (ok && Is("Disciplines.dat"))
        ok = ReadDisciplines(db->disciplineList, db->talentTable, db->raceTable, dir, prompt) ==
             ReadResult::Ok;
    if (ok && Is("Equipment.dat"))
        ok = ReadEquipment(db->equipmentDatabase, dir, prompt) == ReadResult::Ok;
    if (ok && !Is("Talents.dat"))
        ok = ReadSystemTables(db->systemTables, dir, prompt);
    if (ok && !Is("Talents.dat"))
        UseRules(*db);
    return 0;
}
