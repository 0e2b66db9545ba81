#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class CVARN_Item;

// Clone and Equals of one kind of piece.
#define VARN_EQUIP_KIND(Kind)                                                                      \
    std::unique_ptr<CVARN_CharEquip> Clone() const override {                                      \
        return std::make_unique<Kind>(*this);                                                      \
    }                                                                                              \
    bool Equals(const CVARN_CharEquip& other) const override {                                     \
        return typeid(other) == typeid(*this) && *this == static_cast<const Kind&>(other);         \
    }                                                                                              \
    bool operator==(const Kind&) const = default;

// A piece of equipment the character owns. Kinds are told apart with dynamic_cast, most
// derived first: a thread armour is also an armour.
class CVARN_CharEquip {
public:
    virtual ~CVARN_CharEquip() = default;
    // Class name as stored in character files.
    virtual const char* ClassName() const = 0;
    // A copy of the same kind, and a comparison that tells kinds apart; the undo history
    // keeps pieces this way.
    virtual std::unique_ptr<CVARN_CharEquip> Clone() const = 0;
    virtual bool Equals(const CVARN_CharEquip& other) const = 0;
    bool operator==(const CVARN_CharEquip&) const = default;

    int32_t schema = -2; // record version read from a file; -2 for a new piece
    std::string name;
    std::vector<std::string> path;
    const CVARN_Item* item = nullptr;
};

class CVARN_CharEquipArmor : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipArmor"; }
    VARN_EQUIP_KIND(CVARN_CharEquipArmor)
    int32_t worn = 0;
};

class CVARN_CharEquipThreadArmor : public CVARN_CharEquipArmor {
public:
    const char* ClassName() const override { return "CVARN_CharEquipThreadArmor"; }
    VARN_EQUIP_KIND(CVARN_CharEquipThreadArmor)
    int16_t threadRank = 0;
};

class CVARN_CharEquipShield : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipShield"; }
    VARN_EQUIP_KIND(CVARN_CharEquipShield)
    int32_t worn = 0;
};

class CVARN_CharEquipWeapon : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipWeapon"; }
    VARN_EQUIP_KIND(CVARN_CharEquipWeapon)
};

class CVARN_CharEquipMisc : public CVARN_CharEquip {
public:
    const char* ClassName() const override { return "CVARN_CharEquipMisc"; }
    VARN_EQUIP_KIND(CVARN_CharEquipMisc)
};
