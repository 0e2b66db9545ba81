#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CVARN_Item;

// A piece of equipment the character owns. Kinds are told apart with dynamic_cast, most
// derived first: a thread armour is also an armour.
class CVARN_CharEquip {
public:
    virtual ~CVARN_CharEquip() = default;
    // Class name as stored in character files.
    virtual const char* ClassName() const = 0;

    int32_t schema = -2; // record version read from a file; -2 for a new piece
    std::string name;
    std::vector<std::string> path;
    const CVARN_Item* item = nullptr;
};

class CVARN_CharEquipArmor : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipArmor"; }
    int32_t worn = 0;
};

class CVARN_CharEquipThreadArmor : public CVARN_CharEquipArmor {
public:
    const char* ClassName() const override { return "CVARN_CharEquipThreadArmor"; }
    int16_t threadRank = 0;
};

class CVARN_CharEquipShield : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipShield"; }
    int32_t worn = 0;
};

class CVARN_CharEquipWeapon : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipWeapon"; }
};

class CVARN_CharEquipMisc : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipMisc"; }
};
