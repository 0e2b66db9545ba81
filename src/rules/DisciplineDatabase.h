#pragma once

#include "DBRefToPCData.h"
#include "ReadResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;
class CVARN_CharDisc;
class CVARN_DBTalent;
class CVARN_DBDiscipline;
class CVARN_RaceDesc;
class RaceTable;
class TalentTable;

struct CVARN_DiscTalent {
    CVARN_DBTalent* talent = nullptr;
    CVARN_DBDiscipline* discipline = nullptr;
    std::string name;             // as offered: "Durability (7/6)", "Spell Matrix 2", ...
    int32_t disciplineTalent = 0; // the "Disc." flag
    int16_t circle = 0;
};

enum CVARN_ModifierCode : int16_t {
    ModNone = 100,
    ModPhysicalDefense = 101,
    ModSocialDefense = 102,
    ModSpellDefense = 103,
    ModRecoveryTests = 104,
    ModInitiative = 105,
    ModKarmaMax = 106,
    ModKarmaStep = 107,
};

struct CVARN_DiscModifier {
    int16_t code = ModNone;
    int16_t circle = 0;
    int16_t value = 0;
};

struct CVARN_DiscAbility {
    std::string text;
    int16_t circle = 0;
};

class CVARN_DBDiscipline : public CVARN_DBRefToPCData<CVARN_CharDisc> {
public:
    // The offer named `name`: any name "DURABILITY" or "DURABILITY...(...)" matches the
    // first durability offer whatever its numbers; otherwise equal ignoring case.
    const CVARN_DiscTalent* FindDiscTalent(const std::string& name) const;

    std::string name;
    int16_t highestCircle = 0;
    std::vector<CVARN_DiscAbility> abilities;
    std::vector<CVARN_DiscTalent> talents;
    std::vector<CVARN_DiscModifier> modifiers;
    std::vector<CVARN_RaceDesc*> races; // the races that may follow it
    std::string description;
};

class DisciplineList {
public:
    CVARN_DBDiscipline* FindDiscipline(const std::string& name) const;

    std::vector<std::unique_ptr<CVARN_DBDiscipline>> disciplines; // file order
};

// Reads Disciplines.dat, resolving talents (adding numbered and variant entries to
// `talents`) and race names. Fatal for a missing file or an unresolvable talent.
ReadResult ReadDisciplines(DisciplineList& disciplines, TalentTable& talents,
                           const RaceTable& races, const std::string& dataDirectory,
                           CVARN_UserPrompt& prompt);
