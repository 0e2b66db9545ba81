#include "rules/TalentDatabase.h"

#include "rules/BucketChain.h"
#include "rules/DataFile.h"
#include "rules/NameIndex.h"
#include "rules/RaceDatabase.h"
#include "rules/SkillDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <utility>

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

template class BucketTable<CVARN_DBTalent>;

TalentTable::TalentTable() = default;

TalentTable::~TalentTable() = default;

const CVARN_DBTalent* TalentTable::Find(std::string_view name) const {
    // Every "Durability (x/y)" offer is the one Durability talent.
    if (StartsWithNoCase(name, "DURABILITY") && name.find('(') != std::string_view::npos)
        return BucketTable::Find("DURABILITY");
    return BucketTable::Find(name);
}

CVARN_DBTalent* TalentTable::Find(std::string_view name) {
    return const_cast<CVARN_DBTalent*>(std::as_const(*this).Find(name));
}

CVARN_DBTalent* TalentTable::Add(std::unique_ptr<CVARN_DBTalent> entry) {
    CVARN_DBTalent* added = BucketTable::Add(std::move(entry));
    if (readerIndex)
        readerIndex->AddOrReplace(added);
    return added;
}

TalentNameIndex& TalentTable::ReaderIndex() {
    if (readerIndex)
        return *readerIndex;
    // The chains are walked side by side, so that entries are fetched from memory together
    // rather than one cache miss after another. Each chain still runs from its head, so of
    // equal names (always in one bucket) the head-most, the latest added, is met first and
    // wins, as it does in Find.
    std::vector<CVARN_DBTalent*> cursors;
    for (const auto& head : buckets)
        if (head)
            cursors.push_back(head.get());
    std::vector<CVARN_DBTalent*> entries;
    while (!cursors.empty()) {
        for (CVARN_DBTalent*& cursor : cursors) {
            entries.push_back(cursor);
            cursor = cursor->next.get();
        }
        std::erase(cursors, nullptr);
    }
    auto index = std::make_unique<TalentNameIndex>(entries.size());
    for (CVARN_DBTalent* entry : entries)
        index->AddIfAbsent(entry);
    readerIndex = std::move(index);
    return *readerIndex;
}

void TalentTable::DropReaderIndex() {
    readerIndex.reset();
}

namespace {

void AddTalentSkill(const CVARN_DBTalent& talent, SkillTable& skills) {
    auto skill = std::make_unique<CVARN_DBSkill>();
    skill->name = talent.name;
    skill->type = "Talent";
    skill->description = talent.description;
    skill->formula = talent.formula;
    skill->attribute = talent.attribute;
    skill->bonus = talent.bonus;
    skill->strain = talent.strain;
    skill->action = talent.action;
    skill->karma = talent.karma;
    skills.Add(std::move(skill));
}

// The talents marked as skills become skills in the table's walk order.
void AddTalentSkills(const TalentTable& talents, SkillTable& skills) {
    for (const CVARN_DBTalent* talent = talents.First(); talent != nullptr;
         talent = talents.Next(talent))
        if (talent->skill)
            AddTalentSkill(*talent, skills);
}

// The same for a table that holds only `added`, in the order they were added, of which only
// those at `candidates` (ascending) can be marked: a large table is not walked for a few
// entries. The walk runs through the buckets in order, each chain from its newest entry.
void AddTalentSkills(const std::vector<CVARN_DBTalent*>& added,
                     const std::vector<size_t>& candidates, SkillTable& skills) {
    struct Place {
        int bucket;
        size_t order;
    };
    std::vector<Place> places;
    for (size_t i = 0; i < candidates.size(); ++i)
        if ((i == 0 || candidates[i] != candidates[i - 1]) && added[candidates[i]]->skill)
            places.push_back(Place{HashBytes(added[candidates[i]]->name), candidates[i]});
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return a.bucket != b.bucket ? a.bucket < b.bucket : a.order > b.order;
    });
    for (const Place& place : places)
        AddTalentSkill(*added[place.order], skills);
}

} // namespace

ReadResult ReadTalents(TalentTable& talents, SkillTable& skills, const RaceTable& races,
                       const std::string& dataDirectory, CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Talents.dat", "File 'Talents.dat' not found", prompt))
        return ReadResult::Fatal;

    // Indexed while each name is at hand: the discipline file looks every talent up by name.
    talents.ReaderIndex();
    const bool startedEmpty = talents.First() == nullptr;
    std::vector<CVARN_DBTalent*> added;  // while the table started empty
    std::vector<size_t> skillCandidates; // positions in `added` that had a "Skill:" line
    const bool read = ReadEntries(
        file, ' ', "Error : No talent in .dat file", prompt,
        [&](std::string_view header) {
            const std::string_view name = HeaderName(header);
            constexpr std::string_view specialPrefix = "Special:";
            std::unique_ptr<CVARN_DBTalent> entry;
            if (StartsWithNoCase(name, specialPrefix)) {
                entry = std::make_unique<CVARN_DBTalentSpecial>();
                entry->name = std::string(name.substr(specialPrefix.size()));
            } else {
                entry = std::make_unique<CVARN_DBTalent>();
                entry->name = std::string(name);
            }
            CVARN_DBTalent* talent = talents.Add(std::move(entry));
            if (startedEmpty)
                added.push_back(talent);
            return talent;
        },
        [&](CVARN_DBTalent& talent, std::string_view line) {
            if (ReadAbilityKeyword(talent, line))
                return true;
            std::string_view value;
            if (MatchKeyword(line, "Skill:", value)) {
                talent.skill = IsYes(value) ? 1 : 0;
                if (startedEmpty)
                    skillCandidates.push_back(added.size() - 1);
            } else if (MatchKeyword(line, "Karma:", value)) {
                talent.karma = IsYes(value) ? 1 : 0;
            } else if (MatchKeyword(line, "Matrix:", value)) {
                talent.matrix = IsYes(value) ? 1 : 0;
            } else if (MatchKeyword(line, "Authorized Races:", value)) {
                // Only special talents carry a race list; on an ordinary talent the line means
                // nothing. Unknown race names are skipped: a list never holds an empty link.
                if (auto* special = dynamic_cast<CVARN_DBTalentSpecial*>(&talent)) {
                    ForEachInList(value, [&](std::string_view raceName) {
                        if (const CVARN_RaceDesc* race = races.FindRace(std::string(raceName)))
                            special->authorizedRaces.push_back(race);
                    });
                }
            } else {
                return false;
            }
            return true;
        });
    if (!read)
        return ReadResult::Fatal;
    if (startedEmpty)
        AddTalentSkills(added, skillCandidates, skills);
    else
        AddTalentSkills(talents, skills);
    return ReadResult::Ok;
}
