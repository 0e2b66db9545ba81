#include "character/PageFacts.h"

#include "character/Character.h"
#include "rules/RulesDatabase.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Format(const char* format, int a, int b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string Amount(float v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", double(v));
    return text;
}

} // namespace

int AllowedIncreases(const CVARN_Character& character) {
    return std::max(character.highestCircle - 1, 0);
}

bool LegendOverspent(const CVARN_Character& character) {
    return character.AvailableLegend() < 0;
}

std::string AttributePointsText(const CVARN_Character& character) {
    const int spent = character.AttributePointsUsed();
    if (character.attributesCost == 0)
        return Format("%d / --", spent);
    return Format("%d / %d", spent, character.attributePoints);
}

bool AttributePointsOver(const CVARN_Character& character) {
    return character.attributesCost != 0 &&
           character.AttributePointsUsed() > character.attributePoints;
}

std::string IncreasesText(const CVARN_Character& character) {
    const int used = character.TotalIncreases();
    if (character.attributeIncrease == 0)
        return Format("%d / --", used);
    return Format("%d / %d", used, AllowedIncreases(character));
}

bool IncreasesOver(const CVARN_Character& character) {
    return character.attributeIncrease != 0 &&
           character.TotalIncreases() > AllowedIncreases(character);
}

bool KarmaOutOfRange(const CVARN_Character& character) {
    return character.karmaCurrent > character.karmaMax || character.karmaCurrent < 0;
}

std::string LandMovementText(const CVARN_Character& character) {
    return Format("%d/%d", character.landCombat, character.landFull);
}

std::string FlyMovementText(const CVARN_Character& character) {
    if (character.flyCombat < 1)
        return "N/A";
    return Format("%d/%d", character.flyCombat, character.flyFull);
}

std::string RecoveryTestsText(const CVARN_Character& character) {
    if (character.recoveryTests >= 1)
        return Format("%d", character.recoveryTests);
    return character.recoveryTests == 0 ? "1/2" : "None";
}

std::string StepDiceText(const CVARN_Character& character, int step) {
    return character.Rules().systemTables.GetActionDice(step) + Format(" (%d)", step);
}

bool DisciplineOffered(const CVARN_Character& character, const CVARN_DBDiscipline& discipline) {
    if (character.raceDisciplineCompatibility == 0)
        return true;
    return std::find(discipline.races.begin(), discipline.races.end(), character.race) !=
           discipline.races.end();
}

std::vector<const CVARN_DBDiscipline*> OfferedDisciplines(const CVARN_Character& character) {
    std::vector<const CVARN_DBDiscipline*> offered;
    for (const auto& discipline : character.Rules().disciplineList.disciplines)
        if (DisciplineOffered(character, *discipline))
            offered.push_back(discipline.get());
    return offered;
}

std::string ThreadWeavingWarning(const CVARN_Character& character, const std::string& spellType) {
    const std::string talentName = "Thread Weaving (" + spellType + ")";
    const CVARN_CharTalent* talent = character.FindCharTalent(talentName);
    if (talent != nullptr && talent->rank >= 1)
        return {};
    return "This character doesn't know the " + talentName + " talent\n\n";
}

std::string WornArmorsWarning(const CVARN_Character& character) {
    static const std::string tooMany = "Rules do not allow wearing more than one set of armor.";
    int armors = 0;
    int shields = 0;
    for (const auto& piece : character.equipment) {
        if (const auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get()))
            armors += armor->worn != 0;
        else if (const auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get()))
            shields += shield->worn != 0;
    }
    std::string warning;
    if (armors > 1)
        warning += tooMany + "\r\n";
    if (shields > 1)
        warning += tooMany;
    return warning;
}

bool SetPieceWorn(CVARN_Character& character, CVARN_CharEquip& piece, bool worn) {
    if (auto* armor = dynamic_cast<CVARN_CharEquipArmor*>(&piece))
        armor->worn = worn ? 1 : 0;
    else if (auto* shield = dynamic_cast<CVARN_CharEquipShield*>(&piece))
        shield->worn = worn ? 1 : 0;
    else
        return false;
    character.EquipmentChanged(&piece);
    return true;
}

bool SetPieceThreadRank(CVARN_Character& character, CVARN_CharEquip& piece, int rank) {
    auto* thread = dynamic_cast<CVARN_CharEquipThreadArmor*>(&piece);
    if (thread == nullptr)
        return false;
    thread->threadRank = static_cast<int16_t>(rank);
    character.EquipmentChanged(thread);
    return true;
}

CVARN_ItemDetails ItemDetails(const CVARN_Character& character, const CVARN_Item* entry,
                              const CVARN_CharEquip* piece) {
    CVARN_ItemDetails rows;
    for (CVARN_ItemDetail& row : rows)
        row = {"-", "-"};
    if (entry == nullptr)
        return rows;
    rows[0] = {"Weight", Amount(entry->weight)};
    rows[1] = {"Cost", Amount(entry->cost)};
    const auto* owned = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece);
    if (const auto* thread = dynamic_cast<const CVARN_ThreadItemArmor*>(entry);
        thread != nullptr && owned != nullptr) {
        // The power of exactly the woven rank adds to the armour's own values; a rank
        // without a power record adds nothing.
        const CVARN_ThreadPower* power = thread->FindPower(owned->threadRank);
        const int physic = thread->physicArmor + (power != nullptr ? power->physicArmor : 0);
        const int mystic = thread->mysticArmor + (power != nullptr ? power->mysticArmor : 0);
        const int initiative = thread->initiative + (power != nullptr ? power->initiative : 0);
        rows[2] = {"Physic", Format("%d", int16_t(physic))};
        rows[3] = {"Mystic", Format("%d", int16_t(mystic))};
        rows[4] = {"Initiative", Format("%+d", initiative)};
        rows[5] = {"Nb Thread", Format("%d", thread->threadCount)};
    } else if (const auto* armor = dynamic_cast<const CVARN_ItemArmor*>(entry)) {
        rows[2] = {"Physic", Format("%d", armor->physicArmor)};
        rows[3] = {"Mystic", Format("%d", armor->mysticArmor)};
        rows[4] = {"Initiative", Format("%+d", armor->initiative)};
        if (const auto* threadEntry = dynamic_cast<const CVARN_ThreadItemArmor*>(entry))
            rows[5] = {"Nb Thread", Format("%d", threadEntry->threadCount)};
    } else if (const auto* shield = dynamic_cast<const CVARN_ItemShield*>(entry)) {
        rows[2] = {"Physic", Format("%d", shield->physicArmor)};
        rows[3] = {"Mystic", Format("%d", shield->mysticArmor)};
        rows[4] = {"Initiative", Format("%+d", shield->initiative)};
        rows[5] = {"Shatter", Format("%d", shield->shatter)};
    } else if (const auto* weapon = dynamic_cast<const CVARN_ItemWeapon*>(entry)) {
        rows[2] = {"Damage", Format("%+d (%d)", weapon->damage, weapon->DamageStep(character))};
        rows[3] = {"Min. Str", Format("%d", weapon->minStrength)};
        rows[4] = {"Min. Dex", Format("%d", weapon->minDexterity)};
        rows[5] = {"Size", Format("%d", weapon->size)};
    }
    return rows;
}
