#pragma once

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

class SpellTable {
public:
    SpellTable() = default;
    SpellTable(const SpellTable&) = delete;
    SpellTable& operator=(const SpellTable&) = delete;
    ~SpellTable(); // buckets 255 down to 0

    CVARN_DBSpell* FindSpell(const std::string& name) const;
    CVARN_DBSpell* AddSpell(std::unique_ptr<CVARN_DBSpell> entry);
    CVARN_DBSpell* FirstSpell() const;
    CVARN_DBSpell* NextSpell(const CVARN_DBSpell* entry) const;
    size_t Count() const;

    std::array<std::unique_ptr<CVARN_DBSpell>, 256> buckets;
};

ReadResult ReadSpells(SpellTable& spells, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt);
