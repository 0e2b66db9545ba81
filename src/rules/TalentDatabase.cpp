#include "rules/TalentDatabase.h"

#include "rules/BucketChain.h"
#include "rules/DataFile.h"
#include "rules/RaceDatabase.h"
#include "rules/SkillDatabase.h"
#include "rules/UserPrompt.h"

using namespace DataFile;

CVARN_DBTalent::~CVARN_DBTalent() {
    UnlinkChain(next);
}

std::unique_ptr<CVARN_DBTalent> CVARN_DBTalent::Copy() const {
    auto copy = std::make_unique<CVARN_DBTalent>();
    copy->name = name;
    copy->description = description;
    copy->formula = formula;
    copy->strain = strain;
    copy->attribute = attribute;
    copy->bonus = bonus;
    copy->action = action;
    copy->karma = karma;
    copy->matrix = matrix;
    copy->skill = skill;
    copy->special = special;
    return copy;
}

TalentTable::~TalentTable() {
    DestroyBuckets(buckets);
}

CVARN_DBTalent* TalentTable::FindTalent(const std::string& name) const {
    // Every "Durability (x/y)" offer is the one Durability talent.
    if (StartsWithNoCase(name, "DURABILITY") && name.find('(') != std::string::npos)
        return FindInBucket(buckets, "DURABILITY");
    return FindInBucket(buckets, name);
}

CVARN_DBTalent* TalentTable::AddTalent(std::unique_ptr<CVARN_DBTalent> entry) {
    return AddToBucket(buckets, std::move(entry));
}

CVARN_DBTalent* TalentTable::FirstTalent() const {
    return FirstInBuckets(buckets, 0);
}

CVARN_DBTalent* TalentTable::NextTalent(const CVARN_DBTalent* entry) const {
    return NextInBuckets(buckets, entry);
}

size_t TalentTable::Count() const {
    return CountBuckets(buckets);
}

namespace {

void AddTalentSkills(const TalentTable& talents, SkillTable& skills) {
    for (const CVARN_DBTalent* talent = talents.FirstTalent(); talent != nullptr;
         talent = talents.NextTalent(talent)) {
        if (!talent->skill)
            continue;
        auto skill = std::make_unique<CVARN_DBSkill>();
        skill->name = talent->name;
        skill->type = "Talent";
        skill->description = talent->description;
        skill->formula = talent->formula;
        skill->attribute = talent->attribute;
        skill->bonus = talent->bonus;
        skill->strain = talent->strain;
        skill->action = talent->action;
        skill->karma = talent->karma;
        skills.AddSkill(std::move(skill));
    }
}

} // namespace

ReadResult ReadTalents(TalentTable& talents, SkillTable& skills, const RaceTable& races,
                       const std::string& dataDirectory, CVARN_UserPrompt& prompt) {
    Reader file;
    switch (file.Open(dataDirectory, "Talents.dat", prompt)) {
    case Reader::OpenResult::NotFound:
        prompt.ShowMessage("File 'Talents.dat' not found");
        return ReadResult::Fatal;
    case Reader::OpenResult::Failed:
        return ReadResult::Ok;
    case Reader::OpenResult::Opened:
        break;
    }

    CVARN_DBTalent* current = nullptr;
    std::string raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            const std::string_view name = HeaderName(line);
            constexpr std::string_view specialPrefix = "Special:";
            std::unique_ptr<CVARN_DBTalent> entry;
            if (StartsWithNoCase(name, specialPrefix)) {
                entry = std::make_unique<CVARN_DBTalentSpecial>();
                entry->name = std::string(name.substr(specialPrefix.size()));
            } else {
                entry = std::make_unique<CVARN_DBTalent>();
                entry->name = std::string(name);
            }
            current = talents.AddTalent(std::move(entry));
            continue;
        }
        if (current == nullptr) {
            prompt.ShowMessage("Error : No talent in .dat file");
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
            current->skill = IsYes(value) ? 1 : 0;
        } else if (MatchKeyword(line, "Karma:", value)) {
            current->karma = IsYes(value) ? 1 : 0;
        } else if (MatchKeyword(line, "Matrix:", value)) {
            current->matrix = IsYes(value) ? 1 : 0;
        } else if (MatchKeyword(line, "Authorized Races:", value)) {
            // Only special talents carry a race list; on an ordinary talent the line means
            // nothing. Unknown race names are skipped: a list never holds an empty link.
            if (auto* special = dynamic_cast<CVARN_DBTalentSpecial*>(current)) {
                for (std::string_view raceName : SplitList(value))
                    if (CVARN_RaceDesc* race = races.FindRace(std::string(raceName)))
                        special->authorizedRaces.push_back(race);
            }
        } else {
            current->description.append(line);
            current->description += ' ';
        }
    }
    if (file.ReadFailed())
        return ReadResult::Ok;
    AddTalentSkills(talents, skills);
    return ReadResult::Ok;
}
