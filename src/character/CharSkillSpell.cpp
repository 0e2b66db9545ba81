#include "character/Character.h"

#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>

int16_t CVARN_PCSkill::ComputeSkillStep() {
    int sum = rank;
    if (skill != nullptr) {
        sum += skill->bonus;
        if (character != nullptr)
            if (const CVARN_CharAtt* att = character->AttByCode(skill->attribute))
                sum += att->step;
    }
    step = static_cast<int16_t>(sum);
    return step;
}

void CVARN_Character::RefreshSteps() {
    for (const auto& talent : talents)
        talent->ComputeTalentStep(*this);
    for (const auto& skill : skills)
        skill->ComputeSkillStep();
}

CVARN_PCSkill* CVARN_Character::FindPCSkill(const CVARN_DBSkill* entry) const {
    return skillLinks.Find(entry);
}

CVARN_PCSpell* CVARN_Character::FindPCSpell(const CVARN_DBSpell* entry) const {
    return spellLinks.Find(entry);
}

CVARN_PCSkill* CVARN_Character::MakePCSkill(const CVARN_DBSkill* entry) {
    if (CVARN_PCSkill* existing = skillLinks.Find(entry))
        return existing;
    auto created = std::make_unique<CVARN_PCSkill>();
    created->skill = entry;
    created->character = this;
    CVARN_PCSkill* record = created.get();
    skills.push_back(std::move(created));
    skillLinks.Link(entry, record);
    return record;
}

CVARN_PCSpell* CVARN_Character::MakePCSpell(const CVARN_DBSpell* entry,
                                            const std::string& spellType) {
    if (CVARN_PCSpell* existing = spellLinks.Find(entry))
        return existing;
    auto created = std::make_unique<CVARN_PCSpell>();
    created->spell = entry;
    created->character = this;
    created->spellType = spellType;
    CVARN_PCSpell* record = created.get();
    spells.push_back(std::move(created));
    spellLinks.Link(entry, record);
    return record;
}

void CVARN_Character::SetSkillRank(const CVARN_DBSkill* entry, int r) {
    if (entry == nullptr)
        return;
    CVARN_PCSkill* record = skillLinks.Find(entry);
    const int before = record != nullptr ? record->rank : 0;
    if (r >= 1 && r <= 10) {
        if (record != nullptr) {
            record->rank = static_cast<int16_t>(r);
            Notify(HintSkillRank);
        } else {
            MakePCSkill(entry)->rank = static_cast<int16_t>(r);
            Notify(HintSkillAdded);
        }
    } else if (r == 0 && record != nullptr) {
        skillLinks.Unlink(entry, record);
        std::erase_if(skills, [record](const auto& s) { return s.get() == record; });
        Notify(HintSkillRemoved);
    }
    const CVARN_PCSkill* now = skillLinks.Find(entry);
    const int after = now != nullptr ? now->rank : 0;
    // Skill legend is never summed afresh: each change adds what the new rank costs more
    // (or less) than the old one.
    skillLegend = static_cast<int32_t>(int64_t{skillLegend} + SkillCost(after) - SkillCost(before));
    Notify(HintLegend);
    SetModified();
}

void CVARN_Character::AddSpell(const CVARN_DBSpell* entry, const std::string& spellType) {
    if (entry == nullptr)
        return;
    if (spellLinks.Find(entry) == nullptr) {
        MakePCSpell(entry, spellType);
        Notify(HintSpellAdded);
    }
    SetModified();
}

void CVARN_Character::RemoveSpell(CVARN_PCSpell* record) {
    // Only a record of this character's list: another character's record names an entry
    // whose link here is to a record of this character.
    auto it = std::find_if(spells.begin(), spells.end(),
                           [record](const auto& s) { return s.get() == record; });
    if (record != nullptr && it != spells.end()) {
        spellLinks.Unlink(record->spell, record);
        spells.erase(it);
        Notify(HintSpellRemoved);
    }
    SetModified();
}

void CVARN_Character::ConvertIOSkill(const CVARN_IOSkill& old, CVARN_UserPrompt& prompt) {
    if (old.skill == nullptr) {
        prompt.ShowMessage("Unknown skill Unknown skill :" + old.name +
                           "\n Please verify in Skills data file");
        return;
    }
    // A skill exists at ranks 1 to 10: an old rank below that adds nothing, one above it
    // is kept at 10 (the cost table ends there).
    if (old.rank < 1)
        return;
    CVARN_PCSkill* record = MakePCSkill(old.skill);
    const int before = record->rank;
    record->rank = std::min<int16_t>(old.rank, 10);
    // By difference, so that a skill named twice in one file is paid for once.
    skillLegend =
        static_cast<int32_t>(int64_t{skillLegend} + SkillCost(record->rank) - SkillCost(before));
}

void CVARN_Character::ConvertIOSpell(const CVARN_IOSpell& old, CVARN_UserPrompt& prompt) {
    if (old.spell == nullptr) {
        prompt.ShowMessage("Unknown spell Unknown spell :" + old.name +
                           "\n Please verify in Spells data file");
        return;
    }
    MakePCSpell(old.spell, old.spellType);
}
