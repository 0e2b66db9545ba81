#pragma once

// A check of a character's links to the rules, for the tests of several areas and the fuzz
// targets.

#include "character/Character.h"

#include <algorithm>

// Each record the character holds is the one its link names, and no other link is left.
inline bool LinksMatchRecords(const CVARN_Character& c) {
    auto exact = [](const auto& records, const auto& links, auto entryOf) {
        return links.Size() == records.size() &&
               std::all_of(records.begin(), records.end(), [&](const auto& record) {
                   const auto* entry = (*record).*entryOf;
                   return entry != nullptr && links.Find(entry) == record.get();
               });
    };
    return exact(c.disciplines, c.disciplineLinks, &CVARN_CharDisc::discipline) &&
           exact(c.talents, c.talentLinks, &CVARN_CharTalent::talent) &&
           exact(c.skills, c.skillLinks, &CVARN_PCSkill::skill) &&
           exact(c.spells, c.spellLinks, &CVARN_PCSpell::spell);
}
