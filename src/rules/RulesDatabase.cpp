#include "rules/RulesDatabase.h"

#include "rules/GatheredMessages.h"
#include "rules/IniFile.h"
#include "rules/Platform.h"
#include "rules/UserPrompt.h"

#include <filesystem>

std::string ProgramDirectory() {
    const std::filesystem::path program = Platform::ExecutablePath();
    // Where the system cannot tell, the current directory is the best guess.
    if (program.empty() || !program.has_parent_path())
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
    // look up races, disciplines resolve talents and races. Each file's messages are
    // counted apart.
    bool ok = true;
    auto read = [&](const char* fileName, auto&& reader) {
        if (!ok)
            return;
        CVARN_GatheredMessages messages(prompt, "File '" + std::string(fileName) + "': ");
        ok = reader(messages) == ReadResult::Ok;
        messages.Flush();
    };
    using Prompt = CVARN_UserPrompt;
    read("Skills.dat", [&](Prompt& p) { return ReadSkills(db.skillTable, dir, p); });
    read("Races.dat", [&](Prompt& p) { return ReadRaces(db.raceTable, db.skillTable, dir, p); });
    read("Talents.dat", [&](Prompt& p) {
        return ReadTalents(db.talentTable, db.skillTable, db.raceTable, dir, p);
    });
    read("Disciplines.dat", [&](Prompt& p) {
        return ReadDisciplines(db.disciplineList, db.talentTable, db.raceTable, dir, p);
    });
    read("Spells.dat", [&](Prompt& p) { return ReadSpells(db.spellTable, dir, p); });
    read("Equipment.dat", [&](Prompt& p) { return ReadEquipment(db.equipmentDatabase, dir, p); });
    read("VARN.dat", [&](Prompt& p) {
        return ReadSystemTables(db.systemTables, dir, p) ? ReadResult::Ok : ReadResult::Fatal;
    });
    if (!ok)
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
