#pragma once

// The example characters of examples/, built from the shipped data the way a player builds
// them on the pages. Choices are made by what the data offers (a caster discipline is one
// that teaches Thread Weaving at circle 1, ...) rather than by name, so a renamed entry does not
// break the build; VARN_REGENERATE_EXAMPLES=1 rewrites the files after the data changed.

#include "character/Character.h"
#include "rules/RulesDatabase.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace examples {

inline std::string ExamplesDirectory() {
    return std::string(VARN_SHIPPED_DATA_DIR) + "../examples/";
}

// Spell casters weave threads from their first circle; the others learn it later, if at all.
inline bool IsCaster(const CVARN_DBDiscipline& d) {
    return std::any_of(d.talents.begin(), d.talents.end(), [](const CVARN_DiscTalent& t) {
        return t.circle == 1 && t.name.starts_with("Thread Weaving (");
    });
}

inline bool Allows(const CVARN_DBDiscipline& d, const CVARN_RaceDesc* race) {
    return std::find(d.races.begin(), d.races.end(), race) != d.races.end();
}

// The first discipline open to the race that is (or is not) a spell caster's.
inline CVARN_DBDiscipline* PickDiscipline(RulesDatabase& db, const CVARN_RaceDesc* race,
                                          bool caster, const CVARN_DBDiscipline* not_ = nullptr) {
    for (auto& d : db.disciplineList.disciplines)
        if (d.get() != not_ && Allows(*d, race) && IsCaster(*d) == caster)
            return d.get();
    return nullptr;
}

inline void RankAll(CVARN_Character& c, int rank) {
    for (const auto& t : c.talents)
        c.SetTalentRank(t.get(), rank);
}

template <typename List> auto* Nth(const List& list, size_t n) {
    return list.empty() ? nullptr : list[std::min(n, list.size() - 1)].get();
}

// A new adept: one discipline at circle 1, a few skills, plain gear.
inline std::unique_ptr<CVARN_Character> Beginner(RulesDatabase& db) {
    auto c = std::make_unique<CVARN_Character>(db);
    CVARN_RaceDesc* race = db.raceTable.races.front().get();
    c->SetRace(race);
    c->name = "Tamsin Fordwalker";
    c->description = "Left the ferry at sixteen with a borrowed blade and a debt.";
    c->SetAttributeBase(AttDexterity, 15);
    c->SetAttributeBase(AttStrength, 14);
    c->SetAttributeBase(AttToughness, 13);
    c->SetAttributeBase(AttPerception, 11);
    c->SetAttributeBase(AttWillpower, 10);
    c->SetAttributeBase(AttCharisma, 9);
    c->SetDisciplineCircle(PickDiscipline(db, race, false), 1);
    RankAll(*c, 1); // spent within the creation points
    int n = 0;
    for (CVARN_DBSkill* s = db.skillTable.FirstSkill(); s && n < 2;
         s = db.skillTable.NextSkill(s), ++n)
        c->SetSkillRank(s, 1);
    const EquipmentDatabase& e = db.equipmentDatabase;
    if (auto* armor = dynamic_cast<CVARN_CharEquipArmor*>(c->AddEquipment(Nth(e.armors, 1)))) {
        armor->worn = 1;
        c->EquipmentChanged(armor);
    }
    c->AddEquipment(Nth(e.weapons, 1));
    c->AddEquipment(Nth(e.misc, 0));
    c->AddEquipment(Nth(e.misc, 2));
    c->SetKarmaBought(2);
    return c;
}

// A seasoned caster: a flying race if there is one, a caster discipline at circle 8 and a
// second discipline at circle 3, spells of its magic, worn thread armour and a shield.
inline std::unique_ptr<CVARN_Character> Veteran(RulesDatabase& db) {
    auto c = std::make_unique<CVARN_Character>(db);
    CVARN_RaceDesc* race = db.raceTable.races.back().get();
    for (auto& r : db.raceTable.races)
        if (r->canFly) {
            race = r.get();
            break;
        }
    c->SetRace(race);
    c->name = "Serrow Vane, called the Weathercock";
    c->description = "Twice struck by lightning, once on purpose.\n"
                     "Keeps a ledger of every storm she has turned aside.";
    c->SetAttributeBase(AttDexterity, 13);
    c->SetAttributeBase(AttStrength, 10);
    c->SetAttributeBase(AttToughness, 13);
    c->SetAttributeBase(AttPerception, 16);
    c->SetAttributeBase(AttWillpower, 15);
    c->SetAttributeBase(AttCharisma, 10);
    c->SetAttributeIncreases(AttPerception, 3);
    c->SetAttributeIncreases(AttWillpower, 2);
    c->SetAttributeIncreases(AttToughness, 1);
    CVARN_DBDiscipline* caster = PickDiscipline(db, race, true);
    c->SetDisciplineCircle(caster, 8);
    c->SetDisciplineCircle(PickDiscipline(db, race, false), 3);
    RankAll(*c, 8); // what circle 8 asks of its talents

    // Spells of the magic her thread weaving serves, up to her circle.
    std::string magic;
    for (const CVARN_DiscTalent& t : caster->talents)
        if (t.name.starts_with("Thread Weaving (") && t.name.back() == ')') {
            magic = t.name.substr(16, t.name.size() - 17);
            break;
        }
    std::vector<CVARN_DBSpell*> spells;
    for (CVARN_DBSpell* s = db.spellTable.FirstSpell(); s; s = db.spellTable.NextSpell(s))
        if (s->circle <= 8 && std::find(s->types.begin(), s->types.end(), magic) != s->types.end())
            spells.push_back(s);
    std::stable_sort(
        spells.begin(), spells.end(),
        [](const CVARN_DBSpell* a, const CVARN_DBSpell* b) { return a->circle < b->circle; });
    for (size_t i = 0; i < spells.size() && i < 8; ++i)
        c->AddSpell(spells[i], magic);
    int n = 0;
    for (CVARN_DBSkill* s = db.skillTable.FirstSkill(); s && n < 4;
         s = db.skillTable.NextSkill(s), ++n)
        c->SetSkillRank(s, 6 - n);

    const EquipmentDatabase& e = db.equipmentDatabase;
    if (auto* mail =
            dynamic_cast<CVARN_CharEquipThreadArmor*>(c->AddEquipment(Nth(e.threadArmors, 0)))) {
        mail->worn = 1;
        mail->threadRank = static_cast<int16_t>(std::min<int>(
            3,
            mail->item ? static_cast<const CVARN_ThreadItemArmor*>(mail->item)->threadCount : 0));
        c->EquipmentChanged(mail);
    }
    if (auto* shield = dynamic_cast<CVARN_CharEquipShield*>(c->AddEquipment(Nth(e.shields, 0)))) {
        shield->worn = 1;
        c->EquipmentChanged(shield);
    }
    c->AddEquipment(Nth(e.armors, 0)); // packed away, not worn
    c->AddEquipment(Nth(e.weapons, 0));
    c->AddEquipment(Nth(e.misc, 1));
    c->SetKarmaBought(15);
    c->SetKarmaSpent(4);
    c->SetExtraCosts(1200);
    // Earned just enough for all of it, with a little left to spend.
    c->SetLegendEarned(c->SpentLegend() + c->extraCosts - c->creationLegend + 2350);
    return c;
}

struct Example {
    const char* file;
    std::unique_ptr<CVARN_Character> (*build)(RulesDatabase&);
};

inline const std::vector<Example>& All() {
    static const std::vector<Example> all = {{"beginner.vrn", Beginner}, {"veteran.vrn", Veteran}};
    return all;
}

} // namespace examples
