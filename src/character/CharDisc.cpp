#include "character/CharText.h"
#include "character/Character.h"

#include "rules/RulesDatabase.h"

#include <algorithm>
#include <string>

namespace {

constexpr int16_t kCircleRankTable[16] = {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 12, 12, 13};

} // namespace

int16_t CircleRank(int circle) {
    return kCircleRankTable[std::clamp(circle, 0, 15)];
}

int16_t* CVARN_DiscBonuses::ForModifier(int code) {
    switch (code) {
    case ModPhysicalDefense:
        return &physicalDefense;
    case ModSocialDefense:
        return &socialDefense;
    case ModSpellDefense:
        return &spellDefense;
    case ModRecoveryTests:
        return &recoveryTests;
    case ModInitiative:
        return &initiative;
    case ModKarmaMax:
        return &karmaMax;
    case ModKarmaStep:
        return &karmaStep;
    default:
        return nullptr;
    }
}

void CVARN_DiscBonuses::TakeLargest(const CVARN_DiscBonuses& o) {
    physicalDefense = std::max(physicalDefense, o.physicalDefense);
    socialDefense = std::max(socialDefense, o.socialDefense);
    spellDefense = std::max(spellDefense, o.spellDefense);
    recoveryTests = std::max(recoveryTests, o.recoveryTests);
    initiative = std::max(initiative, o.initiative);
    karmaMax = std::max(karmaMax, o.karmaMax);
    karmaStep = std::max(karmaStep, o.karmaStep);
}

void CVARN_CharDisc::SetCircle(int n) {
    circle = static_cast<int16_t>(n);
    bonuses = {};
    if (discipline == nullptr)
        return;
    for (const CVARN_DiscModifier& modifier : discipline->modifiers)
        if (modifier.circle <= n)
            if (int16_t* bonus = bonuses.ForModifier(modifier.code))
                *bonus = static_cast<int16_t>(*bonus + modifier.value);
    if (character != nullptr)
        GrantCircleTalents(*discipline, *character, n);
}

void GrantCircleTalents(const CVARN_DBDiscipline& discipline, CVARN_Character& character,
                        int circle) {
    for (const CVARN_DiscTalent& offer : discipline.talents) {
        if (offer.talent == nullptr)
            continue;
        CVARN_CharTalent* talent = character.talentLinks.Find(offer.talent);
        if (offer.circle > circle) {
            if (talent == nullptr)
                continue;
            // Forget which durability offer named it: the disciplines still granting it
            // give it back its numbers.
            if (varn_text::IsNumberedDurability(talent->name))
                talent->name = "DURABILITY";
            talent->RefreshDisciplines();
            if (talent->grantingDisciplines.empty())
                character.RemoveTalent(talent);
        } else {
            if (talent == nullptr) {
                auto created = std::make_unique<CVARN_CharTalent>(offer.talent);
                created->character = &character;
                talent = created.get();
                character.talents.push_back(std::move(created));
                character.talentLinks.Link(offer.talent, talent);
            }
            talent->RefreshDisciplines();
            talent->granted = 1;
        }
    }
}

void CVARN_Character::RemoveTalent(CVARN_CharTalent* talent) {
    auto it = std::find_if(talents.begin(), talents.end(),
                           [talent](const auto& t) { return t.get() == talent; });
    if (it == talents.end())
        return;
    talentLinks.Unlink(talent->talent, talent);
    talents.erase(it);
}

void CVARN_Character::SetDisciplineCircle(const CVARN_DBDiscipline* entry, int circle) {
    if (entry == nullptr)
        return;
    CVARN_CharDisc* record = disciplineLinks.Find(entry);
    if (circle > 0 && circle <= entry->highestCircle) {
        if (record == nullptr) {
            auto created = std::make_unique<CVARN_CharDisc>();
            created->discipline = entry;
            created->character = this;
            created->name = entry->name;
            record = created.get();
            disciplines.push_back(std::move(created));
            disciplineLinks.Link(entry, record);
        }
        record->SetCircle(circle);
    } else if (circle == 0 && record != nullptr) {
        // Still in the list at circle 0 while its talents are taken back, so that it no
        // longer counts as granting them.
        record->SetCircle(0);
        disciplineLinks.Unlink(entry, record);
        std::erase_if(disciplines, [record](const auto& d) { return d.get() == record; });
    }

    ComputeDisciplineModifiers();
    talentLegend = SumTalentLegend();
    for (size_t i = 0; i < talents.size(); ++i)
        UpdateDurability(talents[i].get());
    // A durability talent taken away with its circle takes its ratings bonus along.
    if (durabilityRank != 0 && !HasDurabilityTalent()) {
        durabilityRank = 0;
        ComputeDamageRatings();
    }
    Notify(HintCircle);
    Notify(HintLegend);
}

void CVARN_Character::ComputeDisciplineModifiers() {
    highestCircle = 0;
    // Bonuses of several disciplines do not add up: the largest counts, and a negative one
    // never takes a value below 0.
    CVARN_DiscBonuses largest;
    for (const auto& d : disciplines) {
        highestCircle = std::max(highestCircle, d->circle);
        largest.TakeLargest(d->bonuses);
    }
    const CVARN_DiscBonuses was = disciplineBonuses;
    disciplineBonuses = largest;
    if (largest.physicalDefense != was.physicalDefense ||
        largest.socialDefense != was.socialDefense || largest.spellDefense != was.spellDefense)
        ComputeDefenses();
    if (largest.recoveryTests != was.recoveryTests)
        ComputeDamageRatings();
    if (largest.initiative != was.initiative)
        ComputeInitiative();
    if (largest.karmaMax != was.karmaMax || largest.karmaStep != was.karmaStep)
        ComputeKarma();
    Notify(HintDisciplineBonuses);
    SetModified();
}

std::string CVARN_Character::CheckCircleRequirements() const {
    std::string text;
    for (const auto& d : disciplines) {
        const int n = d->circle;
        if (n < 2 || d->discipline == nullptr)
            continue;
        const CVARN_DBDiscipline& entry = *d->discipline;

        const int rankNeeded = CircleRank(n);
        int count = 0;
        for (const auto& t : talents) {
            if (!t->granted || t->rank < rankNeeded)
                continue;
            const CVARN_DiscTalent* offer = entry.FindDiscTalent(t->name);
            if (offer != nullptr && offer->circle <= n)
                ++count;
        }
        if (count < n + 3)
            // Built by concatenation: a name is bytes from a file and may hold anything.
            text += "You need " + std::to_string(n + 3) + " " + d->name + " talent(s) at rank " +
                    std::to_string(rankNeeded) + " to be " + d->name + " (" + std::to_string(n) +
                    ").\r\n\r\n";

        for (int k = 1; k < n; ++k) {
            const int rank = CircleRank(k + 1);
            bool met = false;
            for (const CVARN_DiscTalent& offer : entry.talents) {
                if (offer.circle != k)
                    continue;
                for (const auto& t : talents) {
                    if (t->rank < rank)
                        continue;
                    // The durability talent answers to this discipline's durability offer
                    // whichever offer named it, as in the count above.
                    if (varn_text::EqualNoCase(t->name, offer.name) ||
                        (varn_text::IsDurability(t->name) &&
                         entry.FindDiscTalent(t->name) == &offer)) {
                        met = true;
                        break;
                    }
                }
                if (met)
                    break;
            }
            if (!met)
                text += "You need a " + d->name + " (" + std::to_string(k) + ") talent at rank " +
                        std::to_string(rank) + " to be at least " + d->name + " (" +
                        std::to_string(k + 1) + ").\r\n\r\n";
        }
    }
    return text;
}

bool CVARN_Character::HasDurabilityTalent() const {
    return std::any_of(talents.begin(), talents.end(),
                       [](const auto& t) { return varn_text::IsDurability(t->name); });
}

CVARN_CharDisc* CVARN_Character::FindCharDisc(const CVARN_DBDiscipline* entry) const {
    for (const auto& d : disciplines)
        if (d->discipline == entry)
            return d.get();
    return nullptr;
}

CVARN_CharTalent* CVARN_Character::FindCharTalent(const CVARN_DBTalent* entry) const {
    return talentLinks.Find(entry);
}

CVARN_CharDisc* CVARN_Character::FindCharDiscByName(const std::string& disciplineName) const {
    const CVARN_DBDiscipline* entry = rules.disciplineList.FindDiscipline(disciplineName);
    return entry != nullptr ? FindCharDisc(entry) : nullptr;
}
