#pragma once

#include "ReadResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;
class CVARN_DBSkill;
template <typename Entry> class BucketTable;
using SkillTable = BucketTable<CVARN_DBSkill>;

// Attribute slots of races and characters, in their stored order.
enum CVARN_AttributeSlot {
    AttDexterity,
    AttStrength,
    AttToughness,
    AttCharisma,
    AttPerception,
    AttWillpower,
    AttCount
};

struct CVARN_RaceAtt {
    int16_t minimum = 2;
    int16_t maximum = 18;
    int16_t modifier = 0;
};

struct CVARN_RaceAbility {
    std::string text;
};

class CVARN_RaceDesc {
public:
    std::string name;
    CVARN_RaceAtt atts[AttCount]; // indexed by CVARN_AttributeSlot
    int32_t canFly = 0;
    int16_t movementModifier = 0;
    int16_t flyModifier = 0;
    int16_t physicalArmor = 0;
    int16_t mysticArmor = 0;
    int16_t woundThreshold = 0;
    int16_t recoveryTests = 0;
    int16_t physicalDefense = 0;
    int16_t socialDefense = 0;
    int16_t spellDefense = 0;
    int16_t karmaCost = 0;
    int16_t karmaMax = 0;
    int16_t karmaStart = 0;
    int16_t karmaStep = 0;
    std::vector<CVARN_RaceAbility> abilities; // newest first (reverse file order)
};

class RaceTable {
public:
    // First race whose name equals `name` ignoring case (not trimmed), or nullptr.
    const CVARN_RaceDesc* FindRace(const std::string& name) const;
    CVARN_RaceDesc* FindRace(const std::string& name);

    int32_t haveRace = 0;
    std::vector<std::unique_ptr<CVARN_RaceDesc>> races; // file order
};

// Reads Races.dat and adds one racial-lore skill per race to `skills`.
ReadResult ReadRaces(RaceTable& races, SkillTable& skills, const std::string& dataDirectory,
                     CVARN_UserPrompt& prompt);
