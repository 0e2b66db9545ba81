#pragma once

#include "ReadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;
class CVARN_RaceDesc;
class RaceTable;
class SkillTable;

class CVARN_DBTalent {
public:
    virtual ~CVARN_DBTalent(); // unlinks the chain iteratively

    // A fresh ordinary entry with every field and flag of this one and no
    // successor (numbered matrix copies and Thread Weaving / Karma Ritual variants).
    std::unique_ptr<CVARN_DBTalent> Copy() const;

    std::string name;
    std::string description;
    std::string formula;
    std::unique_ptr<CVARN_DBTalent> next;
    int16_t strain = 0;
    int16_t attribute = 0;
    int16_t bonus = 0;
    uint8_t action = 0;
    uint8_t karma = 0;
    uint8_t matrix = 0;
    uint8_t skill = 0;
    uint8_t special = 0;
};

class CVARN_DBTalentSpecial : public CVARN_DBTalent {
public:
    CVARN_DBTalentSpecial() { special = 1; }
    std::vector<CVARN_RaceDesc*> authorizedRaces;
};

class TalentNameIndex;

class TalentTable {
public:
    TalentTable();
    TalentTable(const TalentTable&) = delete;
    TalentTable& operator=(const TalentTable&) = delete;
    ~TalentTable(); // buckets 255 down to 0

    // Upper-cased key; a key starting with "DURABILITY" and holding "(" looks up
    // "DURABILITY". Of two entries with the same name the later added is found.
    CVARN_DBTalent* FindTalent(const std::string& name) const;
    CVARN_DBTalent* AddTalent(std::unique_ptr<CVARN_DBTalent> entry);
    CVARN_DBTalent* FirstTalent() const;
    CVARN_DBTalent* NextTalent(const CVARN_DBTalent* entry) const;
    size_t Count() const;

    // For the readers, which look up a talent on nearly every line of a discipline file: a
    // look-up by name that finds what FindTalent finds without walking a chain. Built from
    // the chains on first use, then kept in step by AddTalent (entries come in through it)
    // until DropReaderIndex.
    TalentNameIndex& ReaderIndex();
    void DropReaderIndex();

    std::array<std::unique_ptr<CVARN_DBTalent>, 256> buckets;

private:
    std::unique_ptr<TalentNameIndex> readerIndex;
};

// Reads Talents.dat, then copies every talent marked as a skill into `skills`.
ReadResult ReadTalents(TalentTable& talents, SkillTable& skills, const RaceTable& races,
                       const std::string& dataDirectory, CVARN_UserPrompt& prompt);
