#pragma once

#include "BucketTable.h"
#include "ReadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;

class CVARN_DBSpell {
public:
    ~CVARN_DBSpell(); // unlinks the chain iteratively

    std::string name;
    std::string threads;
    std::string weaving;
    std::string reattuning;
    std::string range;
    std::string duration;
    std::string effect;
    std::string difficulty;
    std::string description;
    int16_t circle = 0;
    std::unique_ptr<CVARN_DBSpell> next;
    std::vector<std::string> types;
};

using SpellTable = BucketTable<CVARN_DBSpell>;

ReadResult ReadSpells(SpellTable& spells, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt);
