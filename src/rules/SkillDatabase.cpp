#include "rules/SkillDatabase.h"

#include "rules/BucketChain.h"
#include "rules/DataFile.h"
#include "rules/TalentDatabase.h"
#include "rules/UserPrompt.h"

using namespace DataFile;

int HashName(const std::string& name) {
    return HashBytes(name);
}

void ParseFormula(const std::string& formula, int16_t& attribute, int16_t& bonus) {
    // The order decides, not the position in the text: "Str + Dex" is a Dexterity formula.
    // One pass over the text notes which abbreviations occur; the first of the list wins.
    static constexpr std::string_view abbreviations[] = {"Dex", "Str", "Tou", "Per", "Wil", "Cha"};
    static constexpr int16_t codes[] = {2, 1, 3, 4, 5, 6};
    unsigned found = 0;
    for (size_t at = 0; at + 3 <= formula.size(); ++at) {
        const char first = formula[at];
        if (first != 'D' && first != 'S' && first != 'T' && first != 'P' && first != 'W' &&
            first != 'C')
            continue;
        const std::string_view window = std::string_view(formula).substr(at, 3);
        for (size_t i = 0; i < std::size(abbreviations); ++i)
            if (window == abbreviations[i])
                found |= 1u << i;
    }
    attribute = 0;
    for (size_t i = 0; i < std::size(abbreviations); ++i) {
        if (found & (1u << i)) {
            attribute = codes[i];
            break;
        }
    }
    const size_t plus = formula.find('+');
    if (plus == std::string::npos)
        return;
    std::string_view rest = std::string_view(formula).substr(plus + 1);
    int64_t value = 0;
    if (ScanInteger(rest, value))
        bonus = ClampToInt16(value);
}

CVARN_DBSkill::~CVARN_DBSkill() {
    UnlinkChain(next);
}

template class BucketTable<CVARN_DBSkill>;

template <typename Entry> bool ReadAbilityKeyword(Entry& entry, std::string_view line) {
    std::string_view value;
    if (MatchKeyword(line, "Formula:", value)) {
        entry.formula = std::string(value);
        ParseFormula(entry.formula, entry.attribute, entry.bonus);
    } else if (MatchKeyword(line, "Strain:", value)) {
        ReadInt16(value, entry.strain);
    } else if (MatchKeyword(line, "Action:", value)) {
        entry.action = IsYes(value) ? 1 : 0;
    } else {
        return false;
    }
    return true;
}

template bool ReadAbilityKeyword(CVARN_DBSkill&, std::string_view);
template bool ReadAbilityKeyword(CVARN_DBTalent&, std::string_view);

ReadResult ReadSkills(SkillTable& skills, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Skills.dat", "File 'Skills.dat' not found", prompt))
        return ReadResult::Fatal;

    const bool read = ReadEntries(
        file, ' ', "Error : No Skill in .dat file", prompt,
        [&skills](std::string_view header) {
            auto entry = std::make_unique<CVARN_DBSkill>();
            entry->name = std::string(HeaderName(header));
            return skills.Add(std::move(entry));
        },
        [](CVARN_DBSkill& skill, std::string_view line) {
            if (ReadAbilityKeyword(skill, line))
                return true;
            // "Skill:" means something in Talents.dat only; it is recognised here so that it
            // stays out of the text.
            std::string_view value;
            if (MatchKeyword(line, "Skill:", value))
                return true;
            if (MatchKeyword(line, "Type:", value)) {
                skill.type = std::string(value);
                return true;
            }
            return false;
        });
    return read ? ReadResult::Ok : ReadResult::Fatal;
}
