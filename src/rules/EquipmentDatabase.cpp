#include "rules/EquipmentDatabase.h"

#include "rules/DataFile.h"
#include "rules/UserPrompt.h"

#include <initializer_list>
#include <utility>

using namespace DataFile;

const CVARN_ThreadPower* CVARN_ThreadItemArmor::FindPower(int rank) const {
    for (const auto& power : powers)
        if (power.rank == rank)
            return &power;
    return nullptr;
}

CVARN_ThreadPower* CVARN_ThreadItemArmor::FindPower(int rank) {
    return const_cast<CVARN_ThreadPower*>(std::as_const(*this).FindPower(rank));
}

namespace {

template <typename Item>
Item* FindByName(const std::vector<std::unique_ptr<Item>>& items, const std::string& name) {
    for (const auto& item : items)
        if (EqualsNoCase(item->name, name))
            return item.get();
    return nullptr;
}

} // namespace

const CVARN_ItemMisc* EquipmentDatabase::FindMisc(const std::string& name) const {
    return FindByName(misc, name);
}

const CVARN_ItemArmor* EquipmentDatabase::FindArmor(const std::string& name) const {
    return FindByName(armors, name);
}

const CVARN_ThreadItemArmor* EquipmentDatabase::FindThreadArmor(const std::string& name) const {
    return FindByName(threadArmors, name);
}

const CVARN_ItemShield* EquipmentDatabase::FindShield(const std::string& name) const {
    return FindByName(shields, name);
}

const CVARN_ItemWeapon* EquipmentDatabase::FindWeapon(const std::string& name) const {
    return FindByName(weapons, name);
}

size_t EquipmentDatabase::Count() const {
    return misc.size() + armors.size() + shields.size() + weapons.size() + threadArmors.size();
}

namespace {

enum class Category { None, Armor, Shield, Weapon, ThreadArmor, Misc };

// One value slot of an item line: a float or a 16-bit integer.
struct Slot {
    Slot(float& target) : real(&target) {}
    Slot(int16_t& target) : integer(&target) {}
    float* real = nullptr;
    int16_t* integer = nullptr;
};

// Parses "| v | v | ... |" from the first "|" on, a blank in the layout matching any run of
// white space. Stops at the first mismatch: the slots after it keep their defaults.
void ParseItemValues(std::string_view rest, std::initializer_list<Slot> slots) {
    if (!ScanLiteral(rest, '|'))
        return;
    for (const Slot& slot : slots) {
        rest = TrimLeft(rest);
        const bool read =
            slot.real != nullptr ? ScanFloat(rest, *slot.real) : ScanInt16(rest, *slot.integer);
        if (!read)
            return;
        rest = TrimLeft(rest);
        if (!ScanLiteral(rest, '|'))
            return;
    }
}

template <typename Item>
Item& AddItem(std::vector<std::unique_ptr<Item>>& list, std::string_view name,
              const std::vector<std::string>& path) {
    auto item = std::make_unique<Item>();
    item->name = std::string(name);
    item->path = path;
    list.push_back(std::move(item));
    return *list.back();
}

void ReadItemLine(EquipmentDatabase& equipment, Category category, std::string_view line,
                  const std::vector<std::string>& path) {
    const size_t bar = line.find('|');
    const std::string_view name = TrimRight(line.substr(0, bar));
    const std::string_view rest = bar == std::string_view::npos ? "" : line.substr(bar);
    switch (category) {
    case Category::Misc: {
        auto& item = AddItem(equipment.misc, name, path);
        ParseItemValues(rest, {item.cost, item.weight});
        break;
    }
    case Category::Armor: {
        auto& item = AddItem(equipment.armors, name, path);
        ParseItemValues(
            rest, {item.cost, item.physicArmor, item.mysticArmor, item.weight, item.initiative});
        break;
    }
    case Category::ThreadArmor: {
        auto& item = AddItem(equipment.threadArmors, name, path);
        ParseItemValues(
            rest, {item.cost, item.physicArmor, item.mysticArmor, item.weight, item.initiative});
        break;
    }
    case Category::Shield: {
        auto& item = AddItem(equipment.shields, name, path);
        ParseItemValues(rest, {item.cost, item.physicArmor, item.mysticArmor, item.weight,
                               item.initiative, item.shatter});
        break;
    }
    case Category::Weapon: {
        auto& item = AddItem(equipment.weapons, name, path);
        ParseItemValues(rest, {item.cost, item.damage, item.minStrength, item.minDexterity,
                               item.weight, item.size});
        break;
    }
    case Category::None:
        break;
    }
}

std::string UnknownPowerKeyword(std::string_view keyword, std::string_view itemName) {
    return "Unknown keyword '" + std::string(keyword) + "' in thread item '" +
           std::string(itemName) + "'";
}

// "Power: (2) Physic Armor: 3" for the last thread armour read.
void ReadPowerLine(EquipmentDatabase& equipment, std::string_view line, CVARN_UserPrompt& prompt) {
    // With no thread armour yet the line has nothing to belong to; it is reported with an
    // empty item name and dropped.
    if (equipment.threadArmors.empty()) {
        prompt.ShowMessage(UnknownPowerKeyword(line, ""));
        return;
    }
    CVARN_ThreadItemArmor& armor = *equipment.threadArmors.back();
    const std::string_view powerText = TrimLeft(line.substr(6));
    const size_t close = powerText.find(')');
    std::string_view rankText = powerText.substr(0, close);
    int16_t rank = 0;
    // A rank that cannot be read would invent a record of rank 0: report the line instead.
    if (close == std::string_view::npos || !ScanLiteral(rankText, '(') ||
        !ScanInt16(rankText, rank)) {
        prompt.ShowMessage(UnknownPowerKeyword(powerText, armor.name));
        return;
    }
    const std::string_view keywordText = TrimLeft(powerText.substr(close + 1));

    CVARN_ThreadPower* power = armor.FindPower(rank);
    if (power == nullptr) {
        armor.powers.push_back(CVARN_ThreadPower{rank, 0, 0, 0});
        power = &armor.powers.back();
    }
    if (rank > armor.threadCount)
        armor.threadCount = rank;

    std::string_view value;
    if (MatchKeyword(keywordText, "Physic Armor:", value))
        ReadInt16(value, power->physicArmor);
    else if (MatchKeyword(keywordText, "Mystic Armor:", value))
        ReadInt16(value, power->mysticArmor);
    else if (MatchKeyword(keywordText, "Initiative:", value))
        ReadInt16(value, power->initiative);
    else
        prompt.ShowMessage(UnknownPowerKeyword(keywordText, armor.name));
}

Category CategoryOf(std::string_view name) {
    if (EqualsNoCase(name, "Armors"))
        return Category::Armor;
    if (EqualsNoCase(name, "Shields"))
        return Category::Shield;
    if (EqualsNoCase(name, "Weapons"))
        return Category::Weapon;
    if (EqualsNoCase(name, "Thread Armors"))
        return Category::ThreadArmor;
    if (EqualsNoCase(name, "Miscellaneous"))
        return Category::Misc;
    return Category::None;
}

} // namespace

ReadResult ReadEquipment(EquipmentDatabase& equipment, const std::string& dataDirectory,
                         CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Equipment.dat", "File Equipment.dat not found", prompt))
        return ReadResult::Fatal;

    Category category = Category::None;
    std::vector<std::string> path;
    const bool read = ForEachLine(
        file,
        [&](std::string_view line) {
            // "Weapons->Blades->Long": the category, then the sub-category path. Pieces are
            // not trimmed, so "Weapons ->Blades" names no category.
            std::string_view header = HeaderName(line);
            path.clear();
            size_t arrow = header.find("->");
            category = CategoryOf(header.substr(0, arrow));
            while (arrow != std::string_view::npos) {
                header.remove_prefix(arrow + 2);
                arrow = header.find("->");
                path.emplace_back(header.substr(0, arrow));
            }
        },
        [&](std::string_view line) {
            if (category == Category::ThreadArmor && StartsWithNoCase(line, "Power:"))
                ReadPowerLine(equipment, line, prompt);
            else
                ReadItemLine(equipment, category, line, path);
        });
    return read ? ReadResult::Ok : ReadResult::Fatal;
}
