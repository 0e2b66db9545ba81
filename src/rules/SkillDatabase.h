#pragma once

#include "BucketTable.h"
#include "ReadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

using SkillTable = BucketTable<CVARN_DBSkill>;

// Derives attribute code and bonus from a formula text (shared by skills and talents).
// The bonus is only touched when the formula holds a "+" followed by a number.
void ParseFormula(const std::string& formula, int16_t& attribute, int16_t& bonus);

// Reads a line of the keywords skills and talents share ("Formula:", "Strain:", "Action:") into
// `entry`, a CVARN_DBSkill or a CVARN_DBTalent; false when the line is none of them.
template <typename Entry> bool ReadAbilityKeyword(Entry& entry, std::string_view line);

ReadResult ReadSkills(SkillTable& skills, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt);
