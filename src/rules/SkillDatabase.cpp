#include "rules/SkillDatabase.h"

#include "rules/BucketChain.h"
#include "rules/DataFile.h"
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

ReadResult ReadSkills(SkillTable& skills, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Skills.dat", "File 'Skills.dat' not found", prompt))
        return ReadResult::Fatal;

    CVARN_DBSkill* current = nullptr;
    Description description(' ');
    std::string_view raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (current != nullptr)
                description.MoveTo(current->description);
            auto entry = std::make_unique<CVARN_DBSkill>();
            entry->name = std::string(HeaderName(line));
            current = skills.Add(std::move(entry));
            continue;
        }
        if (current == nullptr) {
            prompt.ShowMessage("Error : No Skill in .dat file");
            continue;
        }
        std::string_view value;
        if (MatchKeyword(line, "Formula:", value)) {
            current->formula = std::string(value);
            ParseFormula(current->formula, current->attribute, current->bonus);
        } else if (MatchKeyword(line, "Strain:", value)) {
            ReadInt16(value, current->strain);
        } else if (MatchKeyword(line, "Action:", value)) {
            current->action = IsYes(value) ? 1 : 0;
        } else if (MatchKeyword(line, "Skill:", value)) {
            // Meaningful in Talents.dat only; recognised here so it stays out of the text.
        } else if (MatchKeyword(line, "Type:", value)) {
            current->type = std::string(value);
        } else {
            description.Append(line);
        }
    }
    if (file.ReadFailed())
        return ReadResult::Fatal;
    if (current != nullptr)
        description.MoveTo(current->description);
    return ReadResult::Ok;
}
