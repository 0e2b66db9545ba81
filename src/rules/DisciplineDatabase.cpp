#include "rules/DisciplineDatabase.h"

#include "rules/DataFile.h"
#include "rules/NameIndex.h"
#include "rules/RaceDatabase.h"
#include "rules/TalentDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>

using namespace DataFile;

namespace {

bool IsDurabilityOffer(std::string_view name) {
    return StartsWithNoCase(name, "DURABILITY") && name.find('(') != std::string_view::npos;
}

} // namespace

const CVARN_DiscTalent* CVARN_DBDiscipline::FindDiscTalent(const std::string& name) const {
    if (EqualsNoCase(name, "DURABILITY") || IsDurabilityOffer(name)) {
        for (const auto& offer : talents)
            if (IsDurabilityOffer(offer.name))
                return &offer;
        return nullptr;
    }
    for (const auto& offer : talents)
        if (EqualsNoCase(offer.name, name))
            return &offer;
    return nullptr;
}

CVARN_DBDiscipline* DisciplineList::FindDiscipline(const std::string& name) const {
    for (const auto& discipline : disciplines)
        if (EqualsNoCase(discipline->name, name))
            return discipline.get();
    return nullptr;
}

namespace {

// Resolves talent names exactly as TalentTable::FindTalent does (Durability offers to
// Durability; of equal names the entry added last), without walking a bucket chain per
// look-up: a large talent file makes the chains long, and a discipline file asks for a
// talent on most of its lines. Built once from the table, kept in step with what the reader
// adds.
class TalentResolver {
public:
    explicit TalentResolver(TalentTable& talents) : talents(talents) {
        // The chains are walked side by side, so that entries are fetched from memory
        // together rather than one cache miss after another. Each chain still runs from its
        // head, so of equal names (always in one bucket) the head-most, the latest added, is
        // met first and wins.
        std::vector<CVARN_DBTalent*> cursors;
        for (const auto& head : talents.buckets)
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
        byName.Reserve(entries.size());
        for (CVARN_DBTalent* entry : entries)
            byName.AddIfAbsent(entry->name, entry);
    }

    CVARN_DBTalent* Find(std::string_view name) const {
        return byName.Find(IsDurabilityOffer(name) ? std::string_view("DURABILITY") : name);
    }

    CVARN_DBTalent* Add(std::unique_ptr<CVARN_DBTalent> entry) {
        CVARN_DBTalent* added = talents.AddTalent(std::move(entry));
        byName.AddOrReplace(added->name, added);
        return added;
    }

private:
    TalentTable& talents;
    NameIndex<CVARN_DBTalent> byName;
};

// RaceTable::FindRace (the first race of a name) for the race lists of every discipline.
class RaceResolver {
public:
    explicit RaceResolver(const RaceTable& races) : byName(races.races.size()) {
        all.reserve(races.races.size());
        for (const auto& race : races.races) {
            byName.AddIfAbsent(race->name, race.get());
            all.push_back(race.get());
        }
    }
    CVARN_RaceDesc* Find(std::string_view name) const { return byName.Find(name); }
    const std::vector<CVARN_RaceDesc*>& All() const { return all; }

private:
    NameIndex<CVARN_RaceDesc> byName;
    std::vector<CVARN_RaceDesc*> all;
};

// "Talent: name |circle|flag". A line without the bars offers the talent at circle 0 and
// not as a discipline talent; the name is still resolved (and must exist).
ReadResult ReadTalentOffer(CVARN_DBDiscipline& discipline, TalentResolver& talents,
                           std::string_view value, CVARN_UserPrompt& prompt) {
    const size_t bar = value.find('|');
    std::string name(TrimRight(value.substr(0, bar)));
    int32_t circle = 0;
    char flag = '\0';
    if (bar != std::string_view::npos) {
        std::string_view rest = value.substr(bar);
        if (ScanLiteral(rest, '|') && ScanInt32(rest, circle) && ScanLiteral(rest, '|') &&
            !rest.empty())
            flag = rest[0];
    }

    CVARN_DBTalent* talent = talents.Find(name);
    bool makeEntry = false;
    if (talent != nullptr && talent->matrix) {
        // Each offer of a matrix talent is its own numbered talent: "Spell Matrix 1", " 2"...
        for (int n = 1;; ++n) {
            std::string numbered = name + " " + std::to_string(n);
            if (discipline.FindDiscTalent(numbered) == nullptr) {
                name = std::move(numbered);
                break;
            }
        }
        makeEntry = true;
    }
    if (talent == nullptr) {
        // "Thread Weaving (Wizard)" and "Karma Ritual (...)" are variants of the base talent.
        const bool parenthesised = name.find('(') != std::string::npos;
        if (parenthesised && StartsWithNoCase(name, "THREAD WEAVING")) {
            talent = talents.Find("THREAD WEAVING");
            makeEntry = true;
        } else if (parenthesised && StartsWithNoCase(name, "KARMA RITUAL")) {
            talent = talents.Find("KARMA RITUAL");
            makeEntry = true;
        }
    }
    if (talent == nullptr) {
        prompt.ShowMessage("Unknown " + discipline.name + " Talent : " + name +
                           "\nVARN is not usable until this error is removed");
        return ReadResult::Fatal;
    }
    // A numbered or variant name is a talent of its own, created once and then shared by
    // every discipline offering the same name.
    CVARN_DBTalent* link = talent;
    if (makeEntry) {
        link = talents.Find(name);
        if (link == nullptr) {
            auto copy = talent->Copy();
            copy->name = name;
            link = talents.Add(std::move(copy));
        }
    }

    CVARN_DiscTalent offer;
    offer.talent = link;
    offer.discipline = &discipline;
    offer.name = std::move(name);
    offer.disciplineTalent = (flag == 'y' || flag == 'Y') ? 1 : 0;
    offer.circle = ClampToInt16(circle);
    discipline.highestCircle = std::max(discipline.highestCircle, offer.circle);
    discipline.talents.push_back(std::move(offer));
    return ReadResult::Ok;
}

// "Modifier: Karma Max: (5) 1". Unreadable numbers stay 0; the record is added anyway.
void ReadModifier(CVARN_DBDiscipline& discipline, std::string_view value) {
    struct Key {
        std::string_view text;
        CVARN_ModifierCode code;
    };
    static constexpr Key keys[] = {
        {"Physical Def:", ModPhysicalDefense}, {"Social Def:", ModSocialDefense},
        {"Spell Def:", ModSpellDefense},       {"Recovery Test:", ModRecoveryTests},
        {"Initiative:", ModInitiative},        {"Karma Max:", ModKarmaMax},
        {"Karma Step:", ModKarmaStep},
    };
    const size_t colon = value.find(':');
    const std::string key = std::string(value.substr(0, colon)) + ":";
    CVARN_DiscModifier modifier;
    for (const auto& [text, code] : keys)
        if (EqualsNoCase(key, text))
            modifier.code = code;

    std::string_view rest =
        colon == std::string_view::npos ? std::string_view() : TrimLeft(value.substr(colon + 1));
    int32_t circle = 0;
    int32_t amount = 0;
    if (ScanLiteral(rest, '(') && ScanInt32(rest, circle) && ScanLiteral(rest, ')'))
        ScanInt32(rest, amount);
    modifier.circle = ClampToInt16(circle);
    modifier.value = ClampToInt16(amount);
    discipline.modifiers.push_back(modifier);
}

// "Ability: (3) text". Without a ")" the whole value is the text, at circle 0, rather than
// losing the text to an unreadable circle.
void ReadAbility(CVARN_DBDiscipline& discipline, std::string_view value) {
    CVARN_DiscAbility ability;
    const size_t close = value.find(')');
    if (close == std::string_view::npos || close == 0) {
        ability.text = std::string(value);
    } else {
        std::string_view circleText = value.substr(1, close - 1);
        int32_t circle = 0;
        ScanInt32(circleText, circle);
        ability.circle = ClampToInt16(circle);
        ability.text = std::string(TrimLeft(value.substr(close + 1)));
    }
    discipline.abilities.push_back(std::move(ability));
}

void ForbidRaces(CVARN_DBDiscipline& discipline, const RaceResolver& races,
                 std::string_view value) {
    for (std::string_view raceName : SplitList(value)) {
        CVARN_RaceDesc* race = races.Find(raceName);
        if (race == nullptr)
            continue;
        auto found = std::find(discipline.races.begin(), discipline.races.end(), race);
        if (found != discipline.races.end())
            discipline.races.erase(found);
    }
}

// Unknown names are skipped: the list never holds an empty link.
void AuthorizeRaces(CVARN_DBDiscipline& discipline, const RaceResolver& races,
                    std::string_view value) {
    discipline.races.clear();
    for (std::string_view raceName : SplitList(value))
        if (CVARN_RaceDesc* race = races.Find(raceName))
            discipline.races.push_back(race);
}

} // namespace

ReadResult ReadDisciplines(DisciplineList& disciplines, TalentTable& talents,
                           const RaceTable& races, const std::string& dataDirectory,
                           CVARN_UserPrompt& prompt) {
    Reader file;
    switch (file.Open(dataDirectory, "Disciplines.dat", prompt)) {
    case Reader::OpenResult::NotFound:
        prompt.ShowMessage("File 'Disciplines.dat' not found");
        return ReadResult::Fatal;
    case Reader::OpenResult::Failed:
        return ReadResult::Ok;
    case Reader::OpenResult::Opened:
        break;
    }

    TalentResolver talentResolver(talents);
    const RaceResolver raceResolver(races);
    CVARN_DBDiscipline* current = nullptr;
    std::string raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            auto discipline = std::make_unique<CVARN_DBDiscipline>();
            discipline->name = std::string(HeaderName(line));
            discipline->races = raceResolver.All();
            current = discipline.get();
            disciplines.disciplines.push_back(std::move(discipline));
            continue;
        }
        if (current == nullptr) {
            prompt.ShowMessage("Error : No discipline in .dat file");
            continue;
        }
        std::string_view value;
        if (MatchKeyword(line, "Talent:", value)) {
            if (ReadTalentOffer(*current, talentResolver, value, prompt) == ReadResult::Fatal)
                return ReadResult::Fatal;
        } else if (MatchKeyword(line, "Modifier:", value)) {
            ReadModifier(*current, value);
        } else if (MatchKeyword(line, "Ability:", value)) {
            ReadAbility(*current, value);
        } else if (MatchKeyword(line, "Forbidden Races:", value)) {
            ForbidRaces(*current, raceResolver, value);
        } else if (MatchKeyword(line, "Authorized Races:", value)) {
            AuthorizeRaces(*current, raceResolver, value);
        } else {
            current->description.append(line);
            current->description += '\n';
        }
    }
    return ReadResult::Ok;
}
