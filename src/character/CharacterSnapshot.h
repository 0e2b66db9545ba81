#pragma once

#include "character/CharEquip.h"
#include "character/CharRecords.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CVARN_Character;
class CVARN_RaceDesc;

// The records a restore took out of the character, kept alive (no longer linked) for as long as views may still look at what they remembered of them.
struct CVARN_RetiredRecords {
    std::vector<std::unique_ptr<CVARN_CharDisc>> disciplines;
    std::vector<std::unique_ptr<CVARN_CharTalent>> talents;
    std::vector<std::unique_ptr<CVARN_PCSkill>> skills;
    std::vector<std::unique_ptr<CVARN_PCSpell>> spells;
    std::vector<std::unique_ptr<CVARN_CharEquip>> equipment;
};

// The whole state of a character at one moment: every stored field, every derived value and
// legend sum, and a copy of each record, so that restoring it gives back exactly that
// character. Reading the character file back would not do: some values (a talent's legend
// cost after its offer circle moved, the skill legend kept by difference) are computed
// differently on reading than they were while editing.
//
// Snapshots are immutable once taken. A record list that did not change since the previous
// snapshot is shared with it, so a long history of small changes stays small.
class CVARN_CharacterSnapshot {
public:
    using Ptr = std::shared_ptr<const CVARN_CharacterSnapshot>;

    // `previous`, when given, lends its unchanged record lists.
    static Ptr Take(const CVARN_Character& character, const CVARN_CharacterSnapshot* previous);

    // Makes `character` exactly the snapshot's character, its links to the rules entries
    // made anew for the new records. The old records go to `retired` when given (else they are
    // destroyed). Sends no notification: the caller redraws afterwards.
    void RestoreInto(CVARN_Character& character, CVARN_RetiredRecords* retired = nullptr) const;

    // Every value compared, the records field by field.
    bool operator==(const CVARN_CharacterSnapshot& other) const;

    // Bytes this snapshot holds, its share of shared lists counted in full; for the history's
    // memory figures.
    size_t MemoryBytes() const;

    // A short name of what changed between two states ("Talent Rank", "Race", "Buy Item",
    // ...), for the Undo and Redo items; "Change" when nothing specific stands out.
    static std::string DescribeChange(const CVARN_CharacterSnapshot& before,
                                      const CVARN_CharacterSnapshot& after);

    struct Scalars;

private:
    CVARN_CharacterSnapshot();

    std::shared_ptr<const Scalars> scalars;
    std::array<CVARN_CharAtt, AttCount> attributes;
    std::shared_ptr<const std::vector<CVARN_CharDisc>> disciplines;
    std::shared_ptr<const std::vector<CVARN_CharTalent>> talents;
    std::shared_ptr<const std::vector<CVARN_PCSkill>> skills;
    std::shared_ptr<const std::vector<CVARN_PCSpell>> spells;
    std::shared_ptr<const std::vector<std::unique_ptr<CVARN_CharEquip>>> equipment;
};
