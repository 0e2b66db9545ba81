#pragma once

#include "ReadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CVARN_UserPrompt;

// Bucket of a name in the 256-bucket tables: byte sum of the trimmed, upper-cased name.
int HashName(const std::string& name);

class CVARN_DBSkill {
public:
    ~CVARN_DBSkill(); // unlinks the chain iteratively: long chains must not recurse

    std::string name;
    std::string description;
    std::string formula;
    std::unique_ptr<CVARN_DBSkill> next;
    std::string type;
    int16_t attribute = 0; // 0 none, 1 Str, 2 Dex, 3 Tou, 4 Per, 5 Wil, 6 Cha
    int16_t bonus = 0;
    int16_t strain = 0;
    uint8_t action = 0;
    uint8_t karma = 0;
};

class SkillTable {
public:
    SkillTable() = default;
    SkillTable(const SkillTable&) = delete;
    SkillTable& operator=(const SkillTable&) = delete;
    ~SkillTable(); // buckets 255 down to 0

    // Entry whose name equals `name` ignoring case; of two, the one added later.
    CVARN_DBSkill* FindSkill(const std::string& name) const;
    // Puts the entry at the head of its bucket; returns it.
    CVARN_DBSkill* AddSkill(std::unique_ptr<CVARN_DBSkill> entry);
    // Walk order: buckets 0 to 255, each chain from its head.
    CVARN_DBSkill* FirstSkill() const;
    CVARN_DBSkill* NextSkill(const CVARN_DBSkill* entry) const;
    size_t Count() const;

    std::array<std::unique_ptr<CVARN_DBSkill>, 256> buckets;
};

// Derives attribute code and bonus from a formula text (shared by skills and talents).
// The bonus is only touched when the formula holds a "+" followed by a number.
void ParseFormula(const std::string& formula, int16_t& attribute, int16_t& bonus);

ReadResult ReadSkills(SkillTable& skills, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt);
