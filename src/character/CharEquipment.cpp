#include "character/Character.h"

#include "rules/RulesDatabase.h"

#include <algorithm>

namespace {

// Armours of either kind and shields change the armours and the initiative when worn.
bool IsWearable(const CVARN_CharEquip* piece) {
    return dynamic_cast<const CVARN_CharEquipArmor*>(piece) != nullptr ||
           dynamic_cast<const CVARN_CharEquipShield*>(piece) != nullptr;
}

// The record kind of an entry, most derived first: a thread armour is also an armour.
std::unique_ptr<CVARN_CharEquip> MakePiece(const CVARN_Item* entry) {
    if (dynamic_cast<const CVARN_ThreadItemArmor*>(entry))
        return std::make_unique<CVARN_CharEquipThreadArmor>();
    if (dynamic_cast<const CVARN_ItemArmor*>(entry))
        return std::make_unique<CVARN_CharEquipArmor>();
    if (dynamic_cast<const CVARN_ItemShield*>(entry))
        return std::make_unique<CVARN_CharEquipShield>();
    if (dynamic_cast<const CVARN_ItemWeapon*>(entry))
        return std::make_unique<CVARN_CharEquipWeapon>();
    if (dynamic_cast<const CVARN_ItemMisc*>(entry))
        return std::make_unique<CVARN_CharEquipMisc>();
    return nullptr;
}

} // namespace

int16_t CVARN_ItemWeapon::DamageStep(const CVARN_Character& character) const {
    return static_cast<int16_t>(damage + character.Att(AttStrength).step);
}

CVARN_CharEquip* CVARN_Character::AddEquipment(const CVARN_Item* entry) {
    if (entry == nullptr)
        return nullptr;
    std::unique_ptr<CVARN_CharEquip> created = MakePiece(entry);
    CVARN_CharEquip* piece = created.get();
    if (created != nullptr) {
        created->name = entry->name;
        created->path = entry->path;
        created->item = entry;
        equipment.push_back(std::move(created));
        if (IsWearable(piece))
            ComputeArmors();
    }
    Notify(HintEquipmentAdded, piece);
    SetModified();
    return piece;
}

void CVARN_Character::RemoveEquipment(CVARN_CharEquip* piece) {
    auto it = std::find_if(equipment.begin(), equipment.end(),
                           [piece](const auto& p) { return p.get() == piece; });
    if (piece == nullptr || it == equipment.end())
        return;
    // Kept alive until the views have been told, so they can still look at it.
    std::unique_ptr<CVARN_CharEquip> removed = std::move(*it);
    equipment.erase(it);
    if (IsWearable(piece)) {
        ComputeArmors();
        ComputeInitiative();
    }
    Notify(HintEquipmentRemoved, piece);
    removed.reset();
    SetModified();
}

void CVARN_Character::EquipmentChanged(CVARN_CharEquip* piece) {
    if (IsWearable(piece)) {
        ComputeArmors();
        ComputeInitiative();
    }
    Notify(HintEquipmentChanged, piece);
    SetModified();
}
