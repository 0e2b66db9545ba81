#include "rules/RulesDatabase.h"

#include "rules/IniFile.h"
#include "rules/UserPrompt.h"

#include <filesystem>

std::string ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    // Without /proc there is no way to know: the current directory is the best guess.
    if (error || !program.has_parent_path())
        return "./";
    std::string directory = program.parent_path().string();
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

std::string DataDirectoryFor(const std::string& programDirectory) {
    std::string base = programDirectory;
    const std::string ini = programDirectory + "VARN.ini";
    std::error_code error;
    if (std::filesystem::exists(ini, error)) {
        // A settings file without the key puts the data at the root, as it always has.
        base = ReadIniValue(ini, "VARN", "Data").value_or("");
        if (base.size() > 258)
            base.resize(258);
    }
    if (base.empty() || base.back() != '/')
        base += '/';
    return base + "Data/";
}

bool LoadRulesDatabase(RulesDatabase& db, const std::string& dataDirectory,
                       CVARN_UserPrompt& prompt) {
    db.dataDirectory = dataDirectory;
    if (!db.dataDirectory.empty() && db.dataDirectory.back() != '/')
        db.dataDirectory += '/';
    const std::string& dir = db.dataDirectory;

    // Each reader depends on the ones before it: races and talents add skills, talents
    // look up races, disciplines resolve talents and races.
    if (ReadSkills(db.skillTable, dir, prompt) == ReadResult::Fatal)
        return false;
    if (ReadRaces(db.raceTable, db.skillTable, dir, prompt) == ReadResult::Fatal)
        return false;
    if (ReadTalents(db.talentTable, db.skillTable, db.raceTable, dir, prompt) == ReadResult::Fatal)
        return false;
    if (ReadDisciplines(db.disciplineList, db.talentTable, db.raceTable, dir, prompt) ==
        ReadResult::Fatal)
        return false;
    if (ReadSpells(db.spellTable, dir, prompt) == ReadResult::Fatal)
        return false;
    if (ReadEquipment(db.equipmentDatabase, dir, prompt) == ReadResult::Fatal)
        return false;
    if (!ReadSystemTables(db.systemTables, dir, prompt))
        return false;

    // Every character needs both tables (attribute rows for its derived values, dice for its
    // steps): better to stop here with a clear message than to show a broken sheet.
    bool usable = true;
    if (!db.systemTables.HasAttributeRows()) {
        prompt.ShowMessage("File 'VARN.dat' has no [Attributes] table");
        usable = false;
    }
    if (!db.systemTables.HasDiceTexts()) {
        prompt.ShowMessage("File 'VARN.dat' has no [Action Dice] table");
        usable = false;
    }
    return usable;
}
