#include "rules/RaceDatabase.h"

#include "rules/DataFile.h"
#include "rules/SkillDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <utility>

using namespace DataFile;

const CVARN_RaceDesc* RaceTable::FindRace(const std::string& name) const {
    for (const auto& race : races)
        if (EqualsNoCase(race->name, name))
            return race.get();
    return nullptr;
}

CVARN_RaceDesc* RaceTable::FindRace(const std::string& name) {
    return const_cast<CVARN_RaceDesc*>(std::as_const(*this).FindRace(name));
}

namespace {

void AddRacialLore(SkillTable& skills, const std::string& raceName) {
    auto skill = std::make_unique<CVARN_DBSkill>();
    skill->name = "Racial Lore : " + raceName;
    skill->type = "Knowledge";
    skill->description = "See Race Description for this knowledge.";
    skill->formula = "Per";
    skill->attribute = 4;
    skill->action = 1;
    skills.Add(std::move(skill));
}

// "Att:", "Min:" and "Max:" values: three letters naming the attribute, one separator, the
// number. Returns nullptr when the letters name no attribute.
int16_t* AttributeField(CVARN_RaceDesc& race, std::string_view value, int16_t CVARN_RaceAtt::*field,
                        std::string_view& number) {
    // Same order as CVARN_AttributeSlot.
    static constexpr std::string_view names[AttCount] = {"Dex", "Str", "Tou", "Cha", "Per", "Wil"};
    if (value.size() < 3)
        return nullptr;
    for (int slot = 0; slot < AttCount; ++slot) {
        if (EqualsNoCase(value.substr(0, 3), names[slot])) {
            number = TrimLeft(value.substr(value.size() < 4 ? value.size() : 4));
            return &(race.atts[slot].*field);
        }
    }
    return nullptr;
}

// Applies one property line; false when its keyword is unknown.
bool ReadRaceProperty(CVARN_RaceDesc& race, std::string_view line) {
    std::string_view value;
    struct AttributeKeyword {
        std::string_view keyword;
        int16_t CVARN_RaceAtt::*field;
    };
    static constexpr AttributeKeyword attributeKeywords[] = {
        {"Att:", &CVARN_RaceAtt::modifier},
        {"Min:", &CVARN_RaceAtt::minimum},
        {"Max:", &CVARN_RaceAtt::maximum},
    };
    for (const auto& [keyword, field] : attributeKeywords) {
        if (MatchKeyword(line, keyword, value)) {
            std::string_view number;
            int16_t* target = AttributeField(race, value, field, number);
            if (target == nullptr)
                return false;
            ReadInt16(number, *target);
            return true;
        }
    }
    if (MatchKeyword(line, "Mvt:", value)) {
        ReadInt16(value, race.movementModifier);
        return true;
    }
    if (MatchKeyword(line, "Fly:", value)) {
        ReadInt16(value, race.flyModifier);
        race.canFly = 1;
        return true;
    }
    struct NumberKeyword {
        std::string_view keyword;
        int16_t CVARN_RaceDesc::*field; // nullptr: the ability line
    };
    static constexpr NumberKeyword otherKeywords[] = {
        {"Karma Cost:", &CVARN_RaceDesc::karmaCost},
        {"Karma Max:", &CVARN_RaceDesc::karmaMax},
        {"Karma Start:", &CVARN_RaceDesc::karmaStart},
        {"Karma Step:", &CVARN_RaceDesc::karmaStep},
        {"Ability:", nullptr},
        {"Recovery Test:", &CVARN_RaceDesc::recoveryTests},
        {"Spell Def:", &CVARN_RaceDesc::spellDefense},
        {"Physical Def:", &CVARN_RaceDesc::physicalDefense},
        {"Social Def:", &CVARN_RaceDesc::socialDefense},
        {"Wound Threshold:", &CVARN_RaceDesc::woundThreshold},
        {"Physic Armor:", &CVARN_RaceDesc::physicalArmor},
        {"Mystic Armor:", &CVARN_RaceDesc::mysticArmor},
    };
    for (const auto& [keyword, field] : otherKeywords) {
        if (!MatchKeyword(line, keyword, value))
            continue;
        if (field == nullptr) // gathered in file order, reversed when the file is read
            race.abilities.push_back(CVARN_RaceAbility{std::string(value)});
        else
            ReadInt16(value, race.*field);
        return true;
    }
    return false;
}

} // namespace

ReadResult ReadRaces(RaceTable& races, SkillTable& skills, const std::string& dataDirectory,
                     CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Races.dat", "File 'Races.dat' not found", prompt))
        return ReadResult::Fatal;

    const size_t firstNew = races.races.size();
    CVARN_RaceDesc* current = nullptr;
    std::string_view raw;
    while (file.NextLine(raw)) {
        // Only a truly empty line is skipped: a line of blanks is a fault of this file.
        if (raw.empty())
            continue;
        const std::string_view line = Trim(raw);
        const char first = line.empty() ? '\0' : line[0];
        if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) {
            if (current == nullptr) {
                prompt.ShowMessage("No Race Name?");
                continue;
            }
            if (!ReadRaceProperty(*current, line))
                prompt.ShowMessage("File Races.dat\nUnknown Keyword : " + std::string(line));
        } else if (first == '[') {
            auto race = std::make_unique<CVARN_RaceDesc>();
            race->name = std::string(HeaderName(line));
            current = race.get();
            races.races.push_back(std::move(race));
            races.haveRace = 1;
            AddRacialLore(skills, current->name);
        } else if (first == '#') {
            continue;
        } else {
            prompt.ShowMessage("Error in file");
        }
    }
    if (file.ReadFailed())
        return ReadResult::Fatal;
    // Each ability goes first in its race's list, so the list runs in reverse file order.
    for (size_t i = firstNew; i < races.races.size(); ++i)
        std::reverse(races.races[i]->abilities.begin(), races.races[i]->abilities.end());
    return ReadResult::Ok;
}
