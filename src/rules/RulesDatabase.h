#pragma once

#include "DisciplineDatabase.h"
#include "EquipmentDatabase.h"
#include "RaceDatabase.h"
#include "SkillDatabase.h"
#include "SpellDatabase.h"
#include "SystemTables.h"
#include "TalentDatabase.h"

#include <string>

class CVARN_UserPrompt;

// Every rule the program knows, read once at start-up. Entries are never removed, so
// links to them stay valid for the whole run. Members are destroyed in reverse order:
// spells, skills, talents, system tables, races, equipment, disciplines.
struct RulesDatabase {
    RulesDatabase() = default;
    RulesDatabase(const RulesDatabase&) = delete;
    RulesDatabase& operator=(const RulesDatabase&) = delete;

    std::string dataDirectory; // always ends with "/"
    DisciplineList disciplineList;
    EquipmentDatabase equipmentDatabase;
    RaceTable raceTable;
    SystemTables systemTables;
    TalentTable talentTable;
    SkillTable skillTable;
    SpellTable spellTable;
};

// Directory of the running program, ending with "/" (symbolic links resolved).
std::string ProgramDirectory();

// The data directory for a program directory: the "Data" key of section "VARN" of
// VARN.ini beside the program if that file exists (empty key: the root), else the program
// directory; then "Data/" is appended, with a "/" before it when missing.
std::string DataDirectoryFor(const std::string& programDirectory);

// Reads the seven files of `dataDirectory` in start-up order (skills, races, talents,
// disciplines, spells, equipment, system tables). False when start-up must end: a missing
// or unreadable file, an unresolvable discipline talent, or a VARN.dat without an attribute
// or dice table (reported with a message).
bool LoadRulesDatabase(RulesDatabase& db, const std::string& dataDirectory,
                       CVARN_UserPrompt& prompt);
