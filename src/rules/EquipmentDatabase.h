#pragma once

#include "ReadResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVARN_UserPrompt;
class CVARN_Character;

// Equipment entries. Kinds are told apart with dynamic_cast, most derived first: a thread
// armour is also an armour.
class CVARN_Item {
public:
    virtual ~CVARN_Item() = default;
    std::string name;
    std::vector<std::string> path; // sub-category path, outermost first
    float weight = 0;
    float cost = 0;
};

class CVARN_ItemMisc : public CVARN_Item {};

class CVARN_ItemArmor : public CVARN_Item {
public:
    int16_t mysticArmor = 0;
    int16_t physicArmor = 0;
    int16_t initiative = 0;
};

struct CVARN_ThreadPower {
    int16_t rank = 0;
    int16_t physicArmor = 0;
    int16_t mysticArmor = 0;
    int16_t initiative = 0;
};

class CVARN_ThreadItemArmor : public CVARN_ItemArmor {
public:
    // The power record of exactly `rank`, or nullptr.
    const CVARN_ThreadPower* FindPower(int rank) const;
    CVARN_ThreadPower* FindPower(int rank);

    std::vector<CVARN_ThreadPower> powers; // in the order their ranks first appear
    int16_t threadCount = 0;
};

class CVARN_ItemShield : public CVARN_Item {
public:
    int16_t mysticArmor = 0;
    int16_t physicArmor = 0;
    int16_t initiative = 0;
    int16_t shatter = 0;
};

class CVARN_ItemWeapon : public CVARN_Item {
public:
    // damage + the character's Strength step, as a 16-bit value.
    int16_t DamageStep(const CVARN_Character& character) const;

    int16_t damage = 0;
    int16_t minStrength = 0;
    int16_t minDexterity = 0;
    int16_t size = 0;
};

class EquipmentDatabase {
public:
    const CVARN_ItemMisc* FindMisc(const std::string& name) const;
    const CVARN_ItemArmor* FindArmor(const std::string& name) const;
    const CVARN_ThreadItemArmor* FindThreadArmor(const std::string& name) const;
    const CVARN_ItemShield* FindShield(const std::string& name) const;
    const CVARN_ItemWeapon* FindWeapon(const std::string& name) const;
    size_t Count() const;

    std::vector<std::unique_ptr<CVARN_ItemMisc>> misc;
    std::vector<std::unique_ptr<CVARN_ItemArmor>> armors;
    std::vector<std::unique_ptr<CVARN_ItemShield>> shields;
    std::vector<std::unique_ptr<CVARN_ItemWeapon>> weapons;
    std::vector<std::unique_ptr<CVARN_ThreadItemArmor>> threadArmors;
};

ReadResult ReadEquipment(EquipmentDatabase& equipment, const std::string& dataDirectory,
                         CVARN_UserPrompt& prompt);
