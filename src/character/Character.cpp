#include "character/Character.h"

#include "rules/RulesDatabase.h"

#include <algorithm>

namespace {

// Stands in for the race until one is chosen: compute operations may run on a character
// that has none yet (an equipment change, or the destructor), and then add nothing.
const CVARN_RaceDesc& NoRace() {
    static const CVARN_RaceDesc none;
    return none;
}

int16_t Add16(int a, int b) {
    return static_cast<int16_t>(a + b);
}

// Start + bought - spent, held at the ends of its 16-bit field: near the limits a karma
// purchase must not turn the current karma negative.
int16_t CurrentKarma(int start, int bought, int spent) {
    return static_cast<int16_t>(std::clamp(start + bought - spent, -32768, 32767));
}

} // namespace

CVARN_Character::CVARN_Character(const RulesDatabase& rulesDatabase) : rules(rulesDatabase) {}

// The records link only to read-only rules entries: nothing outside the character knows of
// them, and a document being destroyed is never called back from here.
CVARN_Character::~CVARN_Character() = default;

const CVARN_RaceDesc& CVARN_Character::Race() const {
    return race != nullptr ? *race : NoRace();
}

const CVARN_AttributeRow& CVARN_Character::Row(int value) const {
    return rules.systemTables.AttributeRow(value);
}

// --- race, attributes, karma

void CVARN_Character::SetRace(const CVARN_RaceDesc* newRace) {
    if (newRace == nullptr)
        return;
    race = newRace;
    raceName = newRace->name;
    const int16_t highest = rules.systemTables.HighestAttributeValue();
    for (int a = 0; a < AttCount; ++a)
        attributes[a].SetRaceRow(newRace->atts[a], highest);
    Notify(HintRace);
    RecomputeAll();
    SetModified();
}

bool CVARN_Character::SetRaceByName(const std::string& raceToFind) {
    const CVARN_RaceDesc* found = rules.raceTable.FindRace(raceToFind);
    if (found == nullptr)
        return false;
    SetRace(found);
    SetModified();
    return true;
}

namespace {

int BaseHint(CVARN_AttributeSlot attribute) {
    switch (attribute) {
    case AttDexterity:
        return HintDexterityBase;
    case AttStrength:
        return HintStrengthBase;
    case AttToughness:
        return HintToughnessBase;
    case AttCharisma:
        return HintCharismaBase;
    case AttPerception:
        return HintPerceptionBase;
    case AttWillpower:
        return HintWillpowerBase;
    default:
        return 0;
    }
}

} // namespace

void CVARN_Character::RecomputeAfterAttribute(CVARN_AttributeSlot attribute) {
    switch (attribute) {
    case AttDexterity:
        ComputeDefenses();
        ComputeMovement();
        ComputeInitiative();
        break;
    case AttStrength:
        ComputeCapacity();
        break;
    case AttToughness:
        ComputeDamageRatings();
        break;
    case AttCharisma:
    case AttPerception:
        ComputeDefenses();
        break;
    case AttWillpower:
        ComputeArmors();
        break;
    default:
        break;
    }
}

void CVARN_Character::SetAttributeBase(CVARN_AttributeSlot attribute, int v) {
    if (attribute < 0 || attribute >= AttCount)
        return;
    attributes[attribute].SetBase(v);
    Notify(BaseHint(attribute));
    RecomputeAfterAttribute(attribute);
    SetModified();
}

void CVARN_Character::SetAttributeIncreases(CVARN_AttributeSlot attribute, int n) {
    if (attribute < 0 || attribute >= AttCount)
        return;
    attributes[attribute].SetIncreases(n);
    Notify(HintIncreases);
    RecomputeIncreaseLegend();
    RecomputeAfterAttribute(attribute);
    SetModified();
}

void CVARN_Character::SetKarmaBought(int n) {
    karmaBought = static_cast<int16_t>(n);
    karmaCurrent = CurrentKarma(Race().karmaStart, karmaBought, karmaSpent);
    SetModified();
    RecomputeKarmaLegend();
}

void CVARN_Character::SetKarmaSpent(int n) {
    karmaSpent = static_cast<int16_t>(n);
    karmaCurrent = CurrentKarma(Race().karmaStart, karmaBought, karmaSpent);
    SetModified();
}

int CVARN_Character::AttributePointsUsed() const {
    int used = 0;
    for (const auto& a : attributes)
        used += a.cost;
    return used;
}

int CVARN_Character::TotalIncreases() const {
    int total = 0;
    for (const auto& a : attributes)
        total += a.increases;
    return total;
}

const CVARN_CharAtt* CVARN_Character::AttByCode(int code) const {
    switch (code) {
    case 1:
        return &attributes[AttStrength];
    case 2:
        return &attributes[AttDexterity];
    case 3:
        return &attributes[AttToughness];
    case 4:
        return &attributes[AttPerception];
    case 5:
        return &attributes[AttWillpower];
    case 6:
        return &attributes[AttCharisma];
    default:
        return nullptr;
    }
}

// --- derived values

void CVARN_Character::RecomputeAll() {
    ComputeDisciplineModifiers();
    ComputeArmors();
    ComputeDamageRatings();
    ComputeDefenses();
    ComputeMovement();
    ComputeInitiative();
    ComputeKarma();
    RecomputeIncreaseLegend();
    RecomputeTalentLegend();
    RecomputeKarmaLegend();
    ComputeCapacity();
}

void CVARN_Character::ComputeArmors() {
    const CVARN_RaceDesc& r = Race();
    physicArmor = r.physicalArmor;
    mysticArmor = Add16(r.mysticArmor, Row(attributes[AttWillpower].value).mysticArmor);
    for (const auto& piece : equipment) {
        if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece.get());
            thread != nullptr && thread->worn) {
            const auto* entry = dynamic_cast<const CVARN_ThreadItemArmor*>(thread->item);
            if (const CVARN_ThreadPower* power =
                    entry != nullptr ? entry->FindPower(thread->threadRank) : nullptr) {
                physicArmor = Add16(physicArmor, power->physicArmor);
                mysticArmor = Add16(mysticArmor, power->mysticArmor);
            }
        }
        if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get());
            armor != nullptr && armor->worn) {
            if (const auto* entry = dynamic_cast<const CVARN_ItemArmor*>(armor->item)) {
                physicArmor = Add16(physicArmor, entry->physicArmor);
                mysticArmor = Add16(mysticArmor, entry->mysticArmor);
            }
        } else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get());
                   shield != nullptr && shield->worn) {
            if (const auto* entry = dynamic_cast<const CVARN_ItemShield*>(shield->item)) {
                physicArmor = Add16(physicArmor, entry->physicArmor);
                mysticArmor = Add16(mysticArmor, entry->mysticArmor);
            }
        }
    }
    Notify(HintArmors);
}

void CVARN_Character::ComputeDefenses() {
    const CVARN_RaceDesc& r = Race();
    physicalDefense =
        static_cast<int16_t>(disciplineBonuses.physicalDefense +
                             Row(attributes[AttDexterity].value).defense + r.physicalDefense);
    spellDefense =
        static_cast<int16_t>(disciplineBonuses.spellDefense +
                             Row(attributes[AttPerception].value).defense + r.spellDefense);
    socialDefense =
        static_cast<int16_t>(disciplineBonuses.socialDefense +
                             Row(attributes[AttCharisma].value).defense + r.socialDefense);
    Notify(HintDefenses);
}

void CVARN_Character::ComputeDamageRatings() {
    const CVARN_RaceDesc& r = Race();
    const CVARN_AttributeRow& t = Row(attributes[AttToughness].value);
    recoveryTests = Add16(disciplineBonuses.recoveryTests, t.recoveryTests);
    recoveryStep = attributes[AttToughness].step;
    // A race that changes the number of recovery tests never leaves the character without
    // one: -1 stands for "less than one a day". Without a racial modifier the sum stands.
    if (r.recoveryTests != 0) {
        recoveryTests = Add16(recoveryTests, r.recoveryTests);
        if (recoveryTests <= 0)
            recoveryTests = -1;
    }
    unconsciousnessRating =
        static_cast<int16_t>(durabilityRank * unconsciousnessPerRank + t.unconsciousnessBase);
    deathRating = static_cast<int16_t>(durabilityRank * deathPerRank + t.deathBase);
    woundThreshold = Add16(t.woundThreshold, r.woundThreshold);
    Notify(HintDamageRatings);
}

void CVARN_Character::ComputeMovement() {
    const CVARN_RaceDesc& r = Race();
    const int highest = rules.systemTables.HighestAttributeValue();
    auto toRow = [highest](int16_t index) {
        int i = index <= 0 ? 1 : index;
        return i > highest ? highest : i;
    };
    const int landIndex = toRow(Add16(attributes[AttDexterity].value, r.movementModifier));
    const int flyIndex = toRow(Add16(attributes[AttDexterity].value, r.flyModifier));
    landCombat = Row(landIndex).combatMovement;
    landFull = Row(landIndex).fullMovement;
    if (r.canFly) {
        flyCombat = Row(flyIndex).combatMovement;
        flyFull = Row(flyIndex).fullMovement;
    } else {
        flyCombat = 0;
        flyFull = 0;
    }
    Notify(HintMovement);
}

void CVARN_Character::ComputeInitiative() {
    initiativeStep = Add16(disciplineBonuses.initiative, attributes[AttDexterity].step);
    for (const auto& piece : equipment) {
        if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece.get());
            thread != nullptr && thread->worn) {
            const auto* entry = dynamic_cast<const CVARN_ThreadItemArmor*>(thread->item);
            if (const CVARN_ThreadPower* power =
                    entry != nullptr ? entry->FindPower(thread->threadRank) : nullptr)
                initiativeStep = Add16(initiativeStep, power->initiative);
        }
        if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get());
            armor != nullptr && armor->worn) {
            if (const auto* entry = dynamic_cast<const CVARN_ItemArmor*>(armor->item))
                initiativeStep = Add16(initiativeStep, entry->initiative);
        } else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get());
                   shield != nullptr && shield->worn) {
            if (const auto* entry = dynamic_cast<const CVARN_ItemShield*>(shield->item))
                initiativeStep = Add16(initiativeStep, entry->initiative);
        }
    }
    if (initiativeStep < 0)
        initiativeStep = 0;
    Notify(HintInitiative);
}

void CVARN_Character::ComputeKarma() {
    const CVARN_RaceDesc& r = Race();
    karmaMax = Add16(r.karmaMax, disciplineBonuses.karmaMax);
    karmaCost = r.karmaCost;
    karmaStep = Add16(r.karmaStep, disciplineBonuses.karmaStep);
    karmaCurrent = CurrentKarma(r.karmaStart, karmaBought, karmaSpent);
    Notify(HintKarma);
}

void CVARN_Character::ComputeCapacity() {
    const CVARN_AttributeRow& row = Row(attributes[AttStrength].value);
    liftingCapacity = row.lifting;
    carryingCapacity = row.carrying;
    Notify(HintCapacity);
}

// --- legend

// Seven 32-bit amounts cannot leave the range of 64 bits, however they are set.
int64_t CVARN_Character::AvailableLegend() const {
    return int64_t{legendEarned} + creationLegend - skillLegend - talentLegend - extraCosts -
           increaseLegend - karmaLegend;
}

int64_t CVARN_Character::SpentLegend() const {
    return int64_t{skillLegend} + talentLegend + increaseLegend + karmaLegend;
}

void CVARN_Character::RecomputeIncreaseLegend() {
    int64_t sum = 0;
    for (const auto& a : attributes)
        sum += a.increaseLegend;
    increaseLegend = static_cast<int32_t>(sum);
    Notify(HintLegend);
}

int32_t CVARN_Character::SumTalentLegend() const {
    int64_t sum = 0;
    for (const auto& t : talents)
        sum += t->legendCost;
    return static_cast<int32_t>(sum);
}

void CVARN_Character::RecomputeTalentLegend() {
    talentLegend = SumTalentLegend();
    Notify(HintLegend);
}

void CVARN_Character::RecomputeKarmaLegend() {
    karmaLegend = static_cast<int32_t>(karmaBought) * karmaCost;
    Notify(HintLegend);
}

// --- notifications

// --- texts and system options

void CVARN_Character::SetName(const std::string& text) {
    name = text;
    // A new name is worth saving: without the mark, closing the window would drop it
    // without asking.
    SetModified();
    Notify(HintNameDescription);
}

void CVARN_Character::SetDescription(const std::string& text) {
    description = text;
    SetModified();
    Notify(HintNameDescription);
}

void CVARN_Character::SetRaceDisciplineCompatibility(bool on) {
    raceDisciplineCompatibility = on ? 1 : 0;
    Notify(HintRaceDisciplineCompatibility);
    SetModified();
}

void CVARN_Character::SetAttributesCost(bool on) {
    attributesCost = on ? 1 : 0;
    Notify(HintAttributesCost);
    SetModified();
}

void CVARN_Character::SetAttributeIncrease(bool on) {
    attributeIncrease = on ? 1 : 0;
    Notify(HintAttributeIncrease);
    SetModified();
}

void CVARN_Character::SetStoredOnlyOptions(bool minMax, bool circles, bool armorsWorn) {
    attributesMinMax = minMax ? 1 : 0;
    circleAdvancement = circles ? 1 : 0;
    armorsWornLimit = armorsWorn ? 1 : 0;
    SetModified();
}

void CVARN_Character::SetAttributePoints(int points) {
    attributePoints = static_cast<int16_t>(points);
    Notify(HintAttributePoints);
    SetModified();
}

void CVARN_Character::Notify(int hint, CVARN_CharEquip* piece) {
    if (document != nullptr)
        document->OnCharacterChange(hint, piece);
}

void CVARN_Character::SetModified() {
    if (document != nullptr)
        document->SetModifiedFlag();
}
