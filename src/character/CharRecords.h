#pragma once

#include "rules/RaceDatabase.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CVARN_Character;
class CVARN_DBDiscipline;
class CVARN_DBTalent;
class CVARN_DBSkill;
class CVARN_DBSpell;
class SystemTables;

// Purchase cost in attribute points of a base value (bases 0 to 18; a base outside the
// table costs what the nearest end costs).
int16_t AttributeCost(int base);

// The talent rank that circle advancement asks for at a circle (circles 0 to 15; circles
// beyond the table ask what circle 15 asks).
int16_t CircleRank(int circle);

// Adds and removes the character's talents for the discipline at `circle`: offers up to
// the circle are granted, offers above it are taken back unless another of the
// character's disciplines still grants the talent.
void GrantCircleTalents(const CVARN_DBDiscipline& discipline, CVARN_Character& character,
                        int circle);

class CVARN_CharAtt {
public:
    // Takes the race's row, keeping value >= 1 and value + 5 increases within the table,
    // then re-clamps the base.
    void SetRaceRow(const CVARN_RaceAtt& row, int16_t highestAttributeValue);
    void SetBase(int v);
    void SetIncreases(int n);

    int16_t Value() const { return value; }
    int16_t Step() const { return step; }
    int16_t Increases() const { return increases; }
    int16_t Cost() const { return cost; }

    int16_t version = 2;
    int16_t cost = 0;
    int16_t base = 10;
    int16_t minimum = 0;
    int16_t maximum = 0;
    int16_t raceModifier = 0;
    int16_t increases = 0;
    int16_t value = 0;
    int16_t step = 0;
    int32_t increaseLegend = 0;

    void Recompute(); // value and step from base, raceModifier and increases

    // Every field, so that the undo history can tell whether anything changed.
    bool operator==(const CVARN_CharAtt&) const = default;
};

// What the circles of a discipline add to the character's values. Each discipline record
// keeps its own; the character keeps the largest of each across its disciplines.
struct CVARN_DiscBonuses {
    int16_t physicalDefense = 0;
    int16_t socialDefense = 0;
    int16_t spellDefense = 0;
    int16_t recoveryTests = 0;
    int16_t initiative = 0;
    int16_t karmaMax = 0;
    int16_t karmaStep = 0;

    // The bonus a discipline modifier of `code` adds to; nullptr for a code of no bonus.
    int16_t* ForModifier(int code);
    // Each bonus the largest of this one and `other`'s.
    void TakeLargest(const CVARN_DiscBonuses& other);

    bool operator==(const CVARN_DiscBonuses&) const = default;
};

class CVARN_CharDisc {
public:
    void SetCircle(int n);

    const CVARN_DBDiscipline* discipline = nullptr;
    CVARN_Character* character = nullptr;
    std::string name;
    int16_t circle = 0;
    CVARN_DiscBonuses bonuses;
    int16_t version = 1;

    // Every field, so that the undo history can tell whether anything changed.
    bool operator==(const CVARN_CharDisc&) const = default;
};

class CVARN_CharTalent {
public:
    explicit CVARN_CharTalent(const CVARN_DBTalent* entry = nullptr);

    // rank and legendCost; no notification (SetTalentRank notifies).
    void SetRank(int r);
    int16_t ComputeTalentStep(const CVARN_Character& character);
    // Rebuilds grantingDisciplines and disciplinesText from the character's disciplines at
    // their circles; a durability talent takes the name of its first granting offer.
    void RefreshDisciplines();
    const CVARN_DBDiscipline* FirstGrantingDiscipline() const {
        return grantingDisciplines.empty() ? nullptr : grantingDisciplines.front();
    }

    CVARN_Character* character = nullptr;
    const CVARN_DBTalent* talent = nullptr;
    int16_t offerCircle = 1;
    std::string name;
    int32_t granted = 0;
    int16_t rank = 0;
    int16_t step = 0;
    int16_t version = 4;
    int32_t legendCost = 0;
    std::string disciplinesText;
    std::vector<const CVARN_DBDiscipline*> grantingDisciplines;

    // Every field, so that the undo history can tell whether anything changed.
    bool operator==(const CVARN_CharTalent&) const = default;
};

class CVARN_PCSkill {
public:
    int16_t ComputeSkillStep();

    int16_t version = 4;
    int16_t rank = 0;
    int16_t step = 0;
    const CVARN_DBSkill* skill = nullptr;
    CVARN_Character* character = nullptr;

    // Every field, so that the undo history can tell whether anything changed.
    bool operator==(const CVARN_PCSkill&) const = default;
};

class CVARN_PCSpell {
public:
    int16_t version = 4;
    std::string spellType;
    const CVARN_DBSpell* spell = nullptr;
    CVARN_Character* character = nullptr;

    // Every field, so that the undo history can tell whether anything changed.
    bool operator==(const CVARN_PCSpell&) const = default;
};

// Skill and spell records of older files: read, turned into current records, discarded.
struct CVARN_IOSkill {
    int16_t rank = 0;
    std::string name;
    const CVARN_DBSkill* skill = nullptr;
};

struct CVARN_IOSpell {
    std::string spellType;
    std::string name;
    const CVARN_DBSpell* spell = nullptr;
};

// Which of a character's records stands for each rules entry of one kind. The rules are
// read-only and shared by every open character, so these links live in the character. An
// entry keeps the first record linked to it until that record is unlinked.
template <typename Entry, typename Record> class CVARN_RecordLinks {
public:
    Record* Find(const Entry* entry) const {
        auto it = links.find(entry);
        return it != links.end() ? it->second : nullptr;
    }
    void Link(const Entry* entry, Record* record) {
        if (entry != nullptr)
            links.emplace(entry, record);
    }
    // Only while the entry still names that very record.
    void Unlink(const Entry* entry, const Record* record) {
        auto it = links.find(entry);
        if (it != links.end() && it->second == record)
            links.erase(it);
    }
    void Clear() { links.clear(); }
    size_t Size() const { return links.size(); }

private:
    std::unordered_map<const Entry*, Record*> links;
};
