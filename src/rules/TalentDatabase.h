#pragma once

#include "BucketTable.h"
#include "ReadResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;
class CVARN_RaceDesc;
class RaceTable;
class CVARN_DBSkill;
template <typename Entry> class BucketTable;
using SkillTable = BucketTable<CVARN_DBSkill>;

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
    std::vector<const CVARN_RaceDesc*> authorizedRaces;
};

class TalentNameIndex;

class TalentTable : public BucketTable<CVARN_DBTalent> {
public:
    TalentTable();
    ~TalentTable();

    // As the table's Find, but a key starting with "DURABILITY" and holding "(" looks up
    // "DURABILITY". Of two entries with the same name the later added is found.
    const CVARN_DBTalent* Find(std::string_view name) const;
    CVARN_DBTalent* Find(std::string_view name);
    // As the table's Add, keeping the readers' index in step.
    CVARN_DBTalent* Add(std::unique_ptr<CVARN_DBTalent> entry);

    // For the readers, which look up a talent on nearly every line of a discipline file: a
    // look-up by name that finds what Find finds without walking a chain. Built from
    // the chains on first use, then kept in step by Add (entries come in through it)
    // until DropReaderIndex.
    TalentNameIndex& ReaderIndex();
    void DropReaderIndex();

private:
    std::unique_ptr<TalentNameIndex> readerIndex;
};

// Reads Talents.dat, then copies every talent marked as a skill into `skills`.
ReadResult ReadTalents(TalentTable& talents, SkillTable& skills, const RaceTable& races,
                       const std::string& dataDirectory, CVARN_UserPrompt& prompt);
