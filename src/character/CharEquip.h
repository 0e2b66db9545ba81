#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class CVARN_Item;

// The kinds of piece, most derived first where one is also another.
enum class CVARN_EquipKind { Armor, ThreadArmor, Shield, Weapon, Misc };

// Kind, Clone and Equals of one kind of piece.
#define VARN_EQUIP_KIND(Kind, kindValue)                                                           \
    CVARN_EquipKind EquipKind() const override {                                                   \
        return CVARN_EquipKind::kindValue;                                                         \
    }                                                                                              \
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
    // What the piece is; the character file stores it under a name of its own.
    virtual CVARN_EquipKind EquipKind() const = 0;
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
    VARN_EQUIP_KIND(CVARN_CharEquipArmor, Armor)
    int32_t worn = 0;
};

class CVARN_CharEquipThreadArmor : public CVARN_CharEquipArmor {
public:
    VARN_EQUIP_KIND(CVARN_CharEquipThreadArmor, ThreadArmor)
    int16_t threadRank = 0;
};

class CVARN_CharEquipShield : public CVARN_CharEquip {
public:
    VARN_EQUIP_KIND(CVARN_CharEquipShield, Shield)
    int32_t worn = 0;
};

class CVARN_CharEquipWeapon : public CVARN_CharEquip {
public:
    VARN_EQUIP_KIND(CVARN_CharEquipWeapon, Weapon)
};

class CVARN_CharEquipMisc : public CVARN_CharEquip {
public:
    VARN_EQUIP_KIND(CVARN_CharEquipMisc, Misc)
};
