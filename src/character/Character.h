#pragma once

#include "character/ChangeHint.h"
#include "character/CharEquip.h"
#include "character/CharRecords.h"
#include "rules/RaceDatabase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct RulesDatabase;
struct CVARN_AttributeRow;
class CVARN_RaceDesc;
class CVARN_DBDiscipline;
class CVARN_DBTalent;
class CVARN_DBSkill;
class CVARN_DBSpell;
class CVARN_Item;
class CVARN_UserPrompt;

// The player character: every rule computation lives here. Derived values are stored and
// recomputed by the operations that change what they depend on; each change ends with a
// notification to the document (and the modified mark where stored data changed).
class CVARN_Character {
public:
    explicit CVARN_Character(const RulesDatabase& rules);
    ~CVARN_Character();
    CVARN_Character(const CVARN_Character&) = delete;
    CVARN_Character& operator=(const CVARN_Character&) = delete;

    const RulesDatabase& Rules() const { return rules; }

    // --- race, attributes, karma
    void SetRace(const CVARN_RaceDesc* race);
    // False (and nothing changes) when no race has that name.
    bool SetRaceByName(const std::string& name);
    void SetAttributeBase(CVARN_AttributeSlot attribute, int v);
    void SetAttributeIncreases(CVARN_AttributeSlot attribute, int n);
    void SetKarmaBought(int n);
    void SetKarmaSpent(int n);

    // --- the texts and the system options: each stores, marks the character modified and
    // tells the views (the stored-only switches are kept and shown; no rule consults them)
    void SetName(const std::string& text);
    void SetDescription(const std::string& text);
    void SetRaceDisciplineCompatibility(bool on);
    void SetAttributesCost(bool on);
    void SetAttributeIncrease(bool on);
    void SetStoredOnlyOptions(bool minMax, bool circleAdvancement, bool armorsWornLimit);
    void SetAttributePoints(int points);
    int AttributePointsUsed() const;
    int TotalIncreases() const;

    CVARN_CharAtt& Att(CVARN_AttributeSlot a) { return attributes[a]; }
    const CVARN_CharAtt& Att(CVARN_AttributeSlot a) const { return attributes[a]; }
    // Attribute by the code of talent and skill entries: 1 Str, 2 Dex, 3 Tou, 4 Per, 5 Wil,
    // 6 Cha; nullptr for any other code.
    const CVARN_CharAtt* AttByCode(int code) const;

    // --- derived values
    void RecomputeAll();
    void ComputeArmors();
    void ComputeDefenses();
    void ComputeDamageRatings();
    void ComputeMovement();
    void ComputeInitiative();
    void ComputeKarma();
    void ComputeCapacity();

    // --- disciplines and talents
    void SetDisciplineCircle(const CVARN_DBDiscipline* entry, int circle);
    void ComputeDisciplineModifiers();
    std::string CheckCircleRequirements() const;
    CVARN_CharDisc* FindCharDisc(const CVARN_DBDiscipline* entry) const;
    CVARN_CharDisc* FindCharDiscByName(const std::string& name) const;
    void SetTalentRank(CVARN_CharTalent* talent, int r);
    void UpdateDurability(CVARN_CharTalent* talent);
    CVARN_CharTalent* FindCharTalent(const std::string& name) const;
    // The record that stands for a talent entry; nullptr when the character has none.
    CVARN_CharTalent* FindCharTalent(const CVARN_DBTalent* entry) const;
    // True while the character holds the durability talent, at any rank.
    bool HasDurabilityTalent() const;

    // --- skills and spells
    void SetSkillRank(const CVARN_DBSkill* entry, int rank);
    CVARN_PCSkill* FindPCSkill(const CVARN_DBSkill* entry) const;
    void AddSpell(const CVARN_DBSpell* entry, const std::string& spellType);
    void RemoveSpell(CVARN_PCSpell* record);
    CVARN_PCSpell* FindPCSpell(const CVARN_DBSpell* entry) const;
    // Brings the steps kept in the talent and skill records up to date with the attributes.
    // The pages compute a step when they show it; taking a snapshot after this means showing
    // a step later is never taken for a change of the character.
    void RefreshSteps();
    // The character's record for an entry, made (and linked to the entry) when it has none;
    // no notification. A new skill record has rank 0 until the caller sets it.
    CVARN_PCSkill* MakePCSkill(const CVARN_DBSkill* entry);
    CVARN_PCSpell* MakePCSpell(const CVARN_DBSpell* entry, const std::string& spellType);
    // Older file records, without notification. An old record whose entry was not found
    // (`skill` / `spell` null) is reported through `prompt` with its name prefixed by
    // "Unknown skill :" / "Unknown spell :"; pass `old.name` as read from the file.
    void ConvertIOSkill(const CVARN_IOSkill& old, CVARN_UserPrompt& prompt);
    void ConvertIOSpell(const CVARN_IOSpell& old, CVARN_UserPrompt& prompt);

    // --- equipment
    CVARN_CharEquip* AddEquipment(const CVARN_Item* entry);
    void RemoveEquipment(CVARN_CharEquip* piece);
    void EquipmentChanged(CVARN_CharEquip* piece);

    // --- legend
    // Worked out in 64 bits: every stored amount at its largest still gives the true figure.
    int64_t AvailableLegend() const;
    int64_t SpentLegend() const;
    void RecomputeIncreaseLegend();
    void RecomputeTalentLegend();
    void RecomputeKarmaLegend();
    void SetLegendEarned(int32_t v) { legendEarned = v; }
    void SetCreationLegend(int32_t v) { creationLegend = v; }
    void SetExtraCosts(int32_t v) { extraCosts = v; }

    // Sum of the talents' legend costs (what RecomputeTalentLegend stores, without
    // notifying); file reading uses it after setting the ranks.
    int32_t SumTalentLegend() const;

    // The chosen race, or a race of zeros while none is chosen.
    const CVARN_RaceDesc& Race() const;

    // --- notifications
    void Notify(int hint, CVARN_CharEquip* piece = nullptr);
    void SetModified();

    // Members, in the order of the character's own description.
    int16_t version = 15;
    const CVARN_RaceDesc* race = nullptr;
    int16_t karmaBought = 0;
    int16_t karmaSpent = 0;
    int16_t karmaMax = 0;
    CVARN_CharacterObserver* document = nullptr;
    CVARN_CharAtt attributes[AttCount]; // Dexterity, Strength, Toughness, Charisma,
                                        // Perception, Willpower
    std::string raceName;
    std::string name;
    std::string description;
    int16_t highestCircle = 0;
    CVARN_DiscBonuses disciplineBonuses;
    int32_t attributesCost = 1;
    int32_t attributeIncrease = 1;
    // These three are kept, saved and shown, but no rule consults them; a new character
    // starts with them on, like every other switch.
    int32_t attributesMinMax = 1;
    int32_t circleAdvancement = 1;
    int32_t armorsWornLimit = 1;
    int32_t raceDisciplineCompatibility = 1;
    int16_t attributePoints = 66;
    int32_t talentLegend = 0;
    int32_t legendEarned = 0;
    int32_t creationLegend = 1000;
    int32_t extraCosts = 0;
    int32_t increaseLegend = 0;
    int32_t karmaLegend = 0;
    int32_t skillLegend = 0;
    int16_t karmaCurrent = 0;
    int16_t karmaCost = 0;
    int16_t karmaStep = 0;
    int16_t mysticArmor = 0;
    int16_t physicArmor = 0;
    int16_t physicalDefense = 0;
    int16_t socialDefense = 0;
    int16_t spellDefense = 0;
    int16_t unconsciousnessRating = 0;
    int16_t deathRating = 0;
    int16_t woundThreshold = 0;
    int16_t recoveryTests = 0;
    int16_t recoveryStep = 0;
    int16_t initiativeStep = 0;
    int16_t flyCombat = 0;
    int16_t flyFull = 0;
    int16_t landCombat = 0;
    int16_t landFull = 0;
    int16_t durabilityRank = 0;
    int16_t deathPerRank = 0;
    int16_t unconsciousnessPerRank = 0;
    int16_t liftingCapacity = 0;
    int16_t carryingCapacity = 0;
    std::vector<std::unique_ptr<CVARN_CharDisc>> disciplines;
    std::vector<std::unique_ptr<CVARN_CharTalent>> talents;
    std::vector<std::unique_ptr<CVARN_PCSkill>> skills;
    std::vector<std::unique_ptr<CVARN_PCSpell>> spells;
    std::vector<std::unique_ptr<CVARN_CharEquip>> equipment;
    // The record of each entry, kept with the lists above by every operation that adds or
    // removes a record (and by undo).
    CVARN_RecordLinks<CVARN_DBDiscipline, CVARN_CharDisc> disciplineLinks;
    CVARN_RecordLinks<CVARN_DBTalent, CVARN_CharTalent> talentLinks;
    CVARN_RecordLinks<CVARN_DBSkill, CVARN_PCSkill> skillLinks;
    CVARN_RecordLinks<CVARN_DBSpell, CVARN_PCSpell> spellLinks;

private:
    const CVARN_AttributeRow& Row(int value) const;
    void RecomputeAfterAttribute(CVARN_AttributeSlot attribute);
    void RemoveTalent(CVARN_CharTalent* talent);
    friend void GrantCircleTalents(const CVARN_DBDiscipline&, CVARN_Character&, int);

    const RulesDatabase& rules;
};
