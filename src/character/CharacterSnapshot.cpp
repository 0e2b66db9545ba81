#include "character/CharacterSnapshot.h"

#include "character/Character.h"
#include "character/CharacterFields.h"
#include "rules/RulesDatabase.h"

#include <algorithm>
#include <iterator>

struct CVARN_CharacterSnapshot::Scalars {
#define VARN_DECLARE(member, ...) decltype(CVARN_Character::member) member;
    VARN_CHARACTER_FIELDS(VARN_DECLARE)
#undef VARN_DECLARE
    bool operator==(const Scalars&) const = default;
};

namespace {

using EquipmentList = std::vector<std::unique_ptr<CVARN_CharEquip>>;

bool SameEquipment(const EquipmentList& a, const EquipmentList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x->Equals(*y); });
}

bool SameEquipment(const EquipmentList& a, const std::vector<std::unique_ptr<CVARN_CharEquip>>* b) {
    return b != nullptr && SameEquipment(a, *b);
}

// The character's records as values, or the previous snapshot's list when they equal it.
template <typename Record>
std::shared_ptr<const std::vector<Record>>
CopyRecords(const std::vector<std::unique_ptr<Record>>& live,
            const std::shared_ptr<const std::vector<Record>>* previous) {
    if (previous != nullptr && *previous != nullptr &&
        std::equal(live.begin(), live.end(), (*previous)->begin(), (*previous)->end(),
                   [](const auto& x, const Record& y) { return *x == y; }))
        return *previous;
    auto copy = std::make_shared<std::vector<Record>>();
    copy->reserve(live.size());
    for (const auto& record : live)
        copy->push_back(*record);
    return copy;
}

// Drops the character's records of one kind with their links.
template <typename Record, typename Entry>
void ReleaseRecords(std::vector<std::unique_ptr<Record>>& records,
                    CVARN_RecordLinks<Entry, Record>& links,
                    std::vector<std::unique_ptr<Record>>* retired) {
    links.Clear();
    if (retired != nullptr)
        std::move(records.begin(), records.end(), std::back_inserter(*retired));
    records.clear();
}

template <typename Record, typename Entry>
void MakeRecords(CVARN_Character& character, std::vector<std::unique_ptr<Record>>& records,
                 CVARN_RecordLinks<Entry, Record>& links, const std::vector<Record>& copies,
                 const Entry* Record::*entryOf) {
    records.reserve(copies.size());
    for (const Record& copy : copies) {
        auto record = std::make_unique<Record>(copy);
        record->character = &character;
        links.Link(record.get()->*entryOf, record.get());
        records.push_back(std::move(record));
    }
}

template <typename Record> size_t ListBytes(const std::vector<Record>& list) {
    return sizeof(list) + list.capacity() * sizeof(Record);
}

size_t StringBytes(const std::string& s) {
    // Short strings live inside the object.
    return s.capacity() > 15 ? s.capacity() + 1 : 0;
}

} // namespace

CVARN_CharacterSnapshot::CVARN_CharacterSnapshot() = default;

CVARN_CharacterSnapshot::Ptr
CVARN_CharacterSnapshot::Take(const CVARN_Character& c, const CVARN_CharacterSnapshot* previous) {
    std::shared_ptr<CVARN_CharacterSnapshot> s(new CVARN_CharacterSnapshot);
    auto scalars = std::make_shared<Scalars>();
#define VARN_COPY(member, ...) scalars->member = c.member;
    VARN_CHARACTER_FIELDS(VARN_COPY)
#undef VARN_COPY
    if (previous != nullptr && *previous->scalars == *scalars)
        s->scalars = previous->scalars;
    else
        s->scalars = std::move(scalars);
    std::copy(std::begin(c.attributes), std::end(c.attributes), s->attributes.begin());
    s->disciplines = CopyRecords(c.disciplines, previous ? &previous->disciplines : nullptr);
    s->talents = CopyRecords(c.talents, previous ? &previous->talents : nullptr);
    s->skills = CopyRecords(c.skills, previous ? &previous->skills : nullptr);
    s->spells = CopyRecords(c.spells, previous ? &previous->spells : nullptr);
    if (previous != nullptr && SameEquipment(c.equipment, previous->equipment.get())) {
        s->equipment = previous->equipment;
    } else {
        auto pieces = std::make_shared<EquipmentList>();
        pieces->reserve(c.equipment.size());
        for (const auto& piece : c.equipment)
            pieces->push_back(piece->Clone());
        s->equipment = std::move(pieces);
    }
    return s;
}

void CVARN_CharacterSnapshot::RestoreInto(CVARN_Character& c, CVARN_RetiredRecords* retired) const {
    // Disciplines go first, as in the destructor; nothing is recomputed on the way: every
    // derived value comes back from the snapshot.
    ReleaseRecords(c.disciplines, c.disciplineLinks, retired ? &retired->disciplines : nullptr);
    ReleaseRecords(c.talents, c.talentLinks, retired ? &retired->talents : nullptr);
    ReleaseRecords(c.skills, c.skillLinks, retired ? &retired->skills : nullptr);
    ReleaseRecords(c.spells, c.spellLinks, retired ? &retired->spells : nullptr);
    if (retired != nullptr)
        std::move(c.equipment.begin(), c.equipment.end(), std::back_inserter(retired->equipment));
    c.equipment.clear();

#define VARN_RESTORE(member, ...) c.member = scalars->member;
    VARN_CHARACTER_FIELDS(VARN_RESTORE)
#undef VARN_RESTORE
    std::copy(attributes.begin(), attributes.end(), std::begin(c.attributes));

    MakeRecords(c, c.disciplines, c.disciplineLinks, *disciplines, &CVARN_CharDisc::discipline);
    MakeRecords(c, c.talents, c.talentLinks, *talents, &CVARN_CharTalent::talent);
    MakeRecords(c, c.skills, c.skillLinks, *skills, &CVARN_PCSkill::skill);
    MakeRecords(c, c.spells, c.spellLinks, *spells, &CVARN_PCSpell::spell);
    c.equipment.reserve(equipment->size());
    for (const auto& piece : *equipment)
        c.equipment.push_back(piece->Clone());
}

namespace {
// Lists shared between two snapshots are equal without a look inside.
template <typename T>
bool Same(const std::shared_ptr<const T>& a, const std::shared_ptr<const T>& b) {
    return a == b || *a == *b;
}
} // namespace

bool CVARN_CharacterSnapshot::operator==(const CVARN_CharacterSnapshot& o) const {
    return Same(scalars, o.scalars) && attributes == o.attributes &&
           Same(disciplines, o.disciplines) && Same(talents, o.talents) && Same(skills, o.skills) &&
           Same(spells, o.spells) &&
           (equipment == o.equipment || SameEquipment(*equipment, *o.equipment));
}

size_t CVARN_CharacterSnapshot::MemoryBytes() const {
    size_t bytes = sizeof(*this) + sizeof(Scalars) + StringBytes(scalars->raceName) +
                   StringBytes(scalars->name) + StringBytes(scalars->description);
    bytes += ListBytes(*disciplines);
    for (const auto& d : *disciplines)
        bytes += StringBytes(d.name);
    bytes += ListBytes(*talents);
    for (const auto& t : *talents)
        bytes += StringBytes(t.name) + StringBytes(t.disciplinesText) +
                 t.grantingDisciplines.capacity() * sizeof(void*);
    bytes += ListBytes(*skills) + ListBytes(*spells);
    for (const auto& s : *spells)
        bytes += StringBytes(s.spellType);
    bytes += ListBytes(*equipment);
    for (const auto& piece : *equipment) {
        bytes += sizeof(CVARN_CharEquipThreadArmor) + StringBytes(piece->name) +
                 piece->path.capacity() * sizeof(std::string);
        for (const std::string& element : piece->path)
            bytes += StringBytes(element);
    }
    return bytes;
}

std::string CVARN_CharacterSnapshot::DescribeChange(const CVARN_CharacterSnapshot& before,
                                                    const CVARN_CharacterSnapshot& after) {
    const Scalars& a = *before.scalars;
    const Scalars& b = *after.scalars;
    // The plain fields the user sets, each changed only by its own operation: a race is the
    // widest change (it moves the attributes and many numbers), and it is what the user did.
    const char* named = nullptr;
#define VARN_NAME_STEP(member, object, key, form, undo, ...)                                       \
    if (named == nullptr && a.member != b.member)                                                  \
        named = undo;
    VARN_CHARACTER_FIELDS(VARN_NAME_STEP)
#undef VARN_NAME_STEP
    if (named != nullptr)
        return named;
    // Then from the widest change of the records to the narrowest.
    if (*before.disciplines != *after.disciplines)
        return "Discipline Circle";
    for (size_t i = 0; i < before.attributes.size(); ++i) {
        if (before.attributes[i].base != after.attributes[i].base)
            return "Attribute Base";
        if (before.attributes[i].increases != after.attributes[i].increases)
            return "Attribute Level";
    }
    if (*before.skills != *after.skills)
        return "Skill Rank";
    if (before.spells->size() != after.spells->size())
        return before.spells->size() < after.spells->size() ? "Learn Spell" : "Forget Spell";
    const EquipmentList& was = *before.equipment;
    const EquipmentList& now = *after.equipment;
    if (was.size() != now.size())
        return was.size() < now.size() ? "Buy Item" : "Remove Item";
    for (size_t i = 0; i < was.size(); ++i) {
        if (was[i]->Equals(*now[i]))
            continue;
        auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(was[i].get());
        auto* threadNow = dynamic_cast<const CVARN_CharEquipThreadArmor*>(now[i].get());
        if (thread != nullptr && threadNow != nullptr &&
            thread->threadRank != threadNow->threadRank)
            return "Thread Rank";
        return "Wear Item";
    }
    if (*before.talents != *after.talents)
        return "Talent Rank";
    return "Change";
}
