#pragma once

#include "ReadResult.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CVARN_UserPrompt;
class CVARN_DBTalent;
class CVARN_DBDiscipline;
class CVARN_RaceDesc;
class RaceTable;
class TalentTable;

struct CVARN_DiscTalent {
    const CVARN_DBTalent* talent = nullptr;
    const CVARN_DBDiscipline* discipline = nullptr;
    // As offered: "Durability (7/6)", "Spell Matrix 2", ... Held by the talent entry it links
    // to when the two are spelt alike (nearly always), else by the discipline list.
    std::string_view name;
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

// The races that may follow a discipline, in order. A discipline starts with every race of
// the race table, and most keep them all or all but a few: such a list is the table itself
// with the few marked off, a bit per race, rather than a copy of the table in every
// discipline (hundreds of races times hundreds of disciplines in a large data set). A list
// named race by race ("Authorized Races:") is kept as named, repeats included.
class CVARN_DiscRaces {
public:
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = const CVARN_RaceDesc*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = const CVARN_RaceDesc*;

        Iterator() = default;
        const CVARN_RaceDesc* operator*() const { return list->At(index); }
        Iterator& operator++() {
            index = list->NextFrom(index + 1);
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return index == other.index; }

    private:
        friend class CVARN_DiscRaces;
        Iterator(const CVARN_DiscRaces* list, size_t index) : list(list), index(index) {}
        const CVARN_DiscRaces* list = nullptr;
        size_t index = 0;
    };
    using const_iterator = Iterator;

    // Every race the table holds now, in its order. The table must outlive the list; races
    // it gains later are not in the list.
    void SetAll(const std::vector<std::unique_ptr<CVARN_RaceDesc>>& table);
    // Takes the first occurrence of `race` out of the list, if it is there.
    void Remove(const CVARN_RaceDesc* race);
    // The same, for a race known to stand at `position` of the race table: no search.
    void Remove(const CVARN_RaceDesc* race, size_t position);
    void Clear();
    void Append(const CVARN_RaceDesc* race);

    Iterator begin() const { return Iterator(this, NextFrom(0)); }
    Iterator end() const { return Iterator(this, Limit()); }
    size_t size() const { return count; }
    bool empty() const { return count == 0; }

private:
    const CVARN_RaceDesc* At(size_t index) const;
    size_t NextFrom(size_t index) const; // the first index from `index` on still listed
    size_t Limit() const { return table != nullptr ? tableCount : named.size(); }

    const std::vector<std::unique_ptr<CVARN_RaceDesc>>* table = nullptr; // every race but...
    size_t tableCount = 0;
    std::vector<bool> removed;                // ...those marked here (empty while none is)
    std::vector<const CVARN_RaceDesc*> named; // without a table: the races as named
    size_t count = 0;
};

class CVARN_DBDiscipline {
public:
    // The offer named `name`: any name "DURABILITY" or "DURABILITY...(...)" matches the
    // first durability offer whatever its numbers; otherwise equal ignoring case.
    const CVARN_DiscTalent* FindDiscTalent(const std::string& name) const;

    std::string name;
    int16_t highestCircle = 0;
    std::vector<CVARN_DiscAbility> abilities;
    std::vector<CVARN_DiscTalent> talents;
    std::vector<CVARN_DiscModifier> modifiers;
    CVARN_DiscRaces races; // the races that may follow it
    std::string description;
};

class DisciplineList {
public:
    const CVARN_DBDiscipline* FindDiscipline(const std::string& name) const;

    std::vector<std::unique_ptr<CVARN_DBDiscipline>> disciplines; // file order

    // The offer names spelt otherwise than their talent's ("Durability (7/6)"), each spelling
    // kept once for every offer of it; never moved once added.
    std::string_view KeepOfferName(std::string_view name);

private:
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_set<std::string, NameHash, std::equal_to<>> offerNames;
};

// Reads Disciplines.dat, resolving talents (adding numbered and variant entries to
// `talents`) and race names. Fatal for a missing file or an unresolvable talent.
ReadResult ReadDisciplines(DisciplineList& disciplines, TalentTable& talents,
                           const RaceTable& races, const std::string& dataDirectory,
                           CVARN_UserPrompt& prompt);
