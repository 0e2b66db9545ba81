#pragma once

// Change notifications, sent by the character to its document, which passes them on to
// every view.
enum ChangeHint : int {
    HintArmors = 1000,
    HintDamageRatings = 1001,
    HintDefenses = 1002,
    HintMovement = 1003,
    HintRace = 1004,
    HintIncreases = 1005,
    HintInitiative = 1006,
    HintCapacity = 1007,
    HintLegend = 1008,
    HintCharismaBase = 1010,
    HintWillpowerBase = 1011,
    HintPerceptionBase = 1012,
    HintStrengthBase = 1013,
    HintDexterityBase = 1014,
    HintToughnessBase = 1015,
    HintAttributePoints = 1016,
    HintCircle = 1020,
    HintTalentRank = 1022,
    HintSkillAdded = 1024,
    HintSkillRemoved = 1025,
    HintSkillRank = 1026,
    HintSpellAdded = 1027,
    HintSpellRemoved = 1028,
    HintDisciplineBonuses = 1030,
    HintKarma = 1040,
    HintEquipmentAdded = 1050,
    HintEquipmentRemoved = 1051,
    HintEquipmentChanged = 1052,
    HintRaceDisciplineCompatibility = 1060,
    HintAttributesCost = 1061,
    HintAttributeIncrease = 1062,
    // The name or the description: every window on the character shows the text it holds.
    HintNameDescription = 1063,
};

class CVARN_CharEquip;

// The owner of a character (the document): receives every change and the modified mark.
class CVARN_CharacterObserver {
public:
    virtual ~CVARN_CharacterObserver() = default;
    virtual void OnCharacterChange(int hint, CVARN_CharEquip* piece) = 0;
    virtual void SetModifiedFlag() = 0;
};
