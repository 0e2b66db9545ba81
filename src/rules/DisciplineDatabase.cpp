#include "rules/DisciplineDatabase.h"

#include "rules/DataFile.h"
#include "rules/NameIndex.h"
#include "rules/RaceDatabase.h"
#include "rules/TalentDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <utility>

using namespace DataFile;

namespace {

bool IsDurabilityOffer(std::string_view name) {
    return StartsWithNoCase(name, "DURABILITY") && name.find('(') != std::string_view::npos;
}

const CVARN_DiscTalent* FindOffer(const std::vector<CVARN_DiscTalent>& offers,
                                  std::string_view name) {
    if (EqualsNoCase(name, "DURABILITY") || IsDurabilityOffer(name)) {
        for (const auto& offer : offers)
            if (IsDurabilityOffer(offer.name))
                return &offer;
        return nullptr;
    }
    for (const auto& offer : offers)
        if (EqualsNoCase(offer.name, name))
            return &offer;
    return nullptr;
}

} // namespace

const CVARN_DiscTalent* CVARN_DBDiscipline::FindDiscTalent(const std::string& name) const {
    return FindOffer(talents, name);
}

void CVARN_DiscRaces::SetAll(const std::vector<std::unique_ptr<CVARN_RaceDesc>>& races) {
    table = &races;
    tableCount = count = races.size();
    removed.clear();
    named.clear();
}

void CVARN_DiscRaces::Remove(const CVARN_RaceDesc* race, size_t position) {
    if (table == nullptr || position >= tableCount || (*table)[position].get() != race) {
        Remove(race);
        return;
    }
    if (removed.empty())
        removed.resize(tableCount);
    if (!removed[position]) {
        removed[position] = true;
        --count;
    }
}

void CVARN_DiscRaces::Remove(const CVARN_RaceDesc* race) {
    if (table == nullptr) {
        const auto found = std::find(named.begin(), named.end(), race);
        if (found != named.end()) {
            named.erase(found);
            --count;
        }
        return;
    }
    for (size_t i = 0; i < tableCount; ++i) {
        if ((*table)[i].get() != race)
            continue;
        if (removed.empty())
            removed.resize(tableCount);
        if (!removed[i]) {
            removed[i] = true;
            --count;
        }
        return;
    }
}

void CVARN_DiscRaces::Clear() {
    table = nullptr;
    tableCount = count = 0;
    removed.clear();
    named.clear();
}

void CVARN_DiscRaces::Append(const CVARN_RaceDesc* race) {
    if (table != nullptr) { // from here on, a list of its own
        std::vector<const CVARN_RaceDesc*> listed(begin(), end());
        Clear();
        named = std::move(listed);
        count = named.size();
    }
    named.push_back(race);
    ++count;
}

const CVARN_RaceDesc* CVARN_DiscRaces::At(size_t index) const {
    return table != nullptr ? (*table)[index].get() : named[index];
}

size_t CVARN_DiscRaces::NextFrom(size_t index) const {
    if (table == nullptr || removed.empty())
        return std::min(index, Limit());
    while (index < tableCount && removed[index])
        ++index;
    return std::min(index, tableCount);
}

const CVARN_DBDiscipline* DisciplineList::FindDiscipline(const std::string& name) const {
    for (const auto& discipline : disciplines)
        if (EqualsNoCase(discipline->name, name))
            return discipline.get();
    return nullptr;
}

std::string_view DisciplineList::KeepOfferName(std::string_view name) {
    auto found = offerNames.find(name);
    if (found == offerNames.end())
        found = offerNames.emplace(name).first;
    return *found;
}

namespace {

// Resolves talent names exactly as TalentTable::Find does (Durability offers to
// Durability; of equal names the entry added last), without walking a bucket chain per
// look-up: a large talent file makes the chains long, and a discipline file asks for a
// talent on most of its lines. The table's reader index is dropped with the resolver: it
// serves the reading of the files only.
class TalentResolver {
public:
    explicit TalentResolver(TalentTable& talents)
        : talents(talents), byName(talents.ReaderIndex()) {}
    TalentResolver(const TalentResolver&) = delete;
    TalentResolver& operator=(const TalentResolver&) = delete;
    ~TalentResolver() { talents.DropReaderIndex(); }

    const CVARN_DBTalent* Find(std::string_view name) const { return byName.Find(LookedUp(name)); }

    // Find in steps (see NameIndex): the hash of what `name` looks up, then the fetches.
    static uint32_t Hash(std::string_view name) { return TalentNameIndex::Hash(LookedUp(name)); }
    // The same for a name whose own hash is known and that is no Durability offer.
    static bool HashIsOwn(std::string_view name) { return !IsDurabilityOffer(name); }
    const TalentNameIndex& Index() const { return byName; }
    const CVARN_DBTalent* Find(std::string_view name, uint32_t hash) const {
        return byName.Find(LookedUp(name), hash);
    }

    // The table keeps its reader index in step.
    CVARN_DBTalent* Add(std::unique_ptr<CVARN_DBTalent> entry) {
        return talents.Add(std::move(entry));
    }

private:
    static std::string_view LookedUp(std::string_view name) {
        return IsDurabilityOffer(name) ? std::string_view("DURABILITY") : name;
    }

    TalentTable& talents;
    const TalentNameIndex& byName;
};

// RaceTable::FindRace (the first race of a name) for the race lists of every discipline.
class RaceResolver {
public:
    explicit RaceResolver(const RaceTable& races) : byName(races.races.size()), table(races) {
        position.reserve(races.races.size());
        for (size_t i = 0; i < races.races.size(); ++i) {
            byName.AddIfAbsent(races.races[i].get());
            position.emplace(races.races[i].get(), i);
        }
    }
    const CVARN_RaceDesc* Find(std::string_view name) const { return byName.Find(name); }
    const std::vector<std::unique_ptr<CVARN_RaceDesc>>& All() const { return table.races; }
    // Where a race found here stands in the table.
    size_t PositionOf(const CVARN_RaceDesc* race) const { return position.at(race); }

private:
    NameIndex<CVARN_RaceDesc> byName;
    std::unordered_map<const CVARN_RaceDesc*, size_t> position;
    const RaceTable& table;
};

// "Talent: name |circle|flag". A line without the bars offers the talent at circle 0 and
// not as a discipline talent; the name is still resolved (and must exist).
struct OfferLine {
    std::string_view name;
    int32_t circle = 0;
    char flag = '\0';
    uint32_t hash = 0;    // TalentResolver::Hash of the name
    bool ownHash = false; // and the name's own hash, as it is no Durability offer
};

OfferLine ParseOffer(std::string_view value) {
    OfferLine offer;
    const size_t bar = value.find('|');
    offer.name = TrimRight(value.substr(0, bar));
    if (bar != std::string_view::npos) {
        std::string_view rest = value.substr(bar);
        if (ScanLiteral(rest, '|') && ScanInt32(rest, offer.circle) && ScanLiteral(rest, '|') &&
            !rest.empty())
            offer.flag = rest[0];
    }
    offer.ownHash = TalentResolver::HashIsOwn(offer.name);
    offer.hash =
        offer.ownHash ? TalentNameIndex::Hash(offer.name) : TalentResolver::Hash(offer.name);
    return offer;
}

// The numbers a discipline gives its matrix offers: each offer of a matrix talent is named
// with the first number n = 1, 2, ... for which the discipline offers nothing of that name yet.
// Names are compared ignoring case and by name alone: the Durability rule of FindDiscTalent
// would find an offer for every "Durability (x/y) n" once the discipline has one, and the
// search would never end. A discipline only ever gains offers, so the first free number of a
// base name never goes down: each base name keeps where its last search stopped, and a
// discipline that offers one matrix talent thousands of times is numbered in linear time.
//
// The offers that may clash with a numbered name are found through a table of their hashes
// and places in the discipline's list, so that noting an offer costs no allocation: most
// offers are noted, few are ever asked about.
class OfferNumbers {
public:
    // From here on, the offers of `discipline` (which only gains offers).
    void NewDiscipline(const CVARN_DBDiscipline& discipline) {
        offers = &discipline.talents;
        for (const uint32_t at : used)
            slots[at] = Slot{};
        used.clear();
        next.clear();
    }

    // The offer just added to the discipline's list, with the hash of its name when the caller
    // knows it (0 for not known).
    void Offered(uint32_t knownHash, bool hashKnown) {
        const size_t index = offers->size() - 1;
        const std::string_view name = (*offers)[index].name;
        if (!MayBeNumbered(name))
            return;
        if ((used.size() + 1) * 2 > slots.size())
            Grow();
        const uint32_t hash = hashKnown ? knownHash : TalentNameIndex::Hash(name);
        Put(Slot{hash, static_cast<uint32_t>(index + 1)});
    }

    // `base` followed by a blank and its first free number; `hash` is set to that name's hash.
    const std::string& Number(std::string_view base, uint32_t& hash) {
        auto found = next.find(base);
        if (found == next.end())
            found = next.emplace(std::string(base), 1).first;
        for (int& n = found->second;; ++n) {
            char digits[16];
            const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
            numbered.assign(base);
            numbered += ' ';
            numbered.append(digits, end);
            hash = TalentNameIndex::Hash(numbered);
            if (!Taken(numbered, hash))
                return numbered;
        }
    }

private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t offer = 0; // place in the list + 1; 0 for a free slot
    };

    // Only a name ending in a blank and digits can equal a numbered name.
    static bool MayBeNumbered(std::string_view name) {
        size_t digits = 0;
        while (digits < name.size() && name[name.size() - 1 - digits] >= '0' &&
               name[name.size() - 1 - digits] <= '9')
            ++digits;
        return digits > 0 && digits < name.size() && name[name.size() - 1 - digits] == ' ';
    }

    bool Taken(std::string_view name, uint32_t hash) const {
        const size_t mask = slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots[i];
            if (slot.offer == 0)
                return false;
            if (slot.hash == hash && EqualsNoCase((*offers)[slot.offer - 1].name, name))
                return true;
        }
    }

    void Put(const Slot& slot) {
        const size_t mask = slots.size() - 1;
        size_t i = slot.hash & mask;
        while (slots[i].offer != 0)
            i = (i + 1) & mask;
        slots[i] = slot;
        used.push_back(static_cast<uint32_t>(i));
    }

    void Grow() {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        std::vector<uint32_t> filled;
        filled.swap(used);
        for (const uint32_t at : filled)
            Put(old[at]);
    }

    // Case-blind hashing and comparison, so that base names are looked up as they come.
    struct NoCaseHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return TalentNameIndex::Hash(text); }
    };
    struct NoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
    };

    const std::vector<CVARN_DiscTalent>* offers = nullptr;
    std::vector<Slot> slots = std::vector<Slot>(64); // a power of two, at most half full
    std::vector<uint32_t> used;                      // the filled slots
    std::unordered_map<std::string, int, NoCaseHash, NoCaseEqual> next; // first number to try
    std::string numbered;
};

ReadResult ReadTalentOffer(CVARN_DBDiscipline& discipline, TalentResolver& talents,
                           const OfferLine& line, OfferNumbers& numbers, DisciplineList& list,
                           CVARN_UserPrompt& prompt) {
    std::string_view name = line.name;
    const int32_t circle = line.circle;
    const char flag = line.flag;
    // The hash of `name` itself, where it is known: each name is hashed once.
    uint32_t ownHash = line.hash;
    bool ownHashKnown = line.ownHash;

    const CVARN_DBTalent* talent = talents.Find(name, line.hash);
    bool makeEntry = false;
    if (talent != nullptr && talent->matrix) {
        // Each offer of a matrix talent is its own numbered talent: "Spell Matrix 1", " 2"...
        name = numbers.Number(name, ownHash);
        ownHashKnown = true;
        makeEntry = true;
    }
    if (talent == nullptr) {
        // "Thread Weaving (Wizard)" and "Karma Ritual (...)" are variants of the base talent.
        const bool parenthesised = name.find('(') != std::string_view::npos;
        if (parenthesised && StartsWithNoCase(name, "THREAD WEAVING")) {
            talent = talents.Find("THREAD WEAVING");
            makeEntry = true;
        } else if (parenthesised && StartsWithNoCase(name, "KARMA RITUAL")) {
            talent = talents.Find("KARMA RITUAL");
            makeEntry = true;
        }
    }
    if (talent == nullptr) {
        prompt.ShowMessage("Unknown " + discipline.name + " Talent : " + std::string(name) +
                           "\nVARN is not usable until this error is removed");
        return ReadResult::Fatal;
    }
    // A numbered or variant name is a talent of its own, created once and then shared by
    // every discipline offering the same name.
    const CVARN_DBTalent* link = talent;
    if (makeEntry) {
        link = ownHashKnown && TalentResolver::HashIsOwn(name) ? talents.Find(name, ownHash)
                                                               : talents.Find(name);
        if (link == nullptr) {
            auto copy = talent->Copy();
            copy->name = std::string(name);
            link = talents.Add(std::move(copy));
        }
    }

    CVARN_DiscTalent offer;
    offer.talent = link;
    offer.discipline = &discipline;
    // Entries are never removed nor renamed, so the offer may share its talent's name.
    offer.name = name == link->name ? std::string_view(link->name) : list.KeepOfferName(name);
    offer.disciplineTalent = (flag == 'y' || flag == 'Y') ? 1 : 0;
    offer.circle = ClampToInt16(circle);
    discipline.highestCircle = std::max(discipline.highestCircle, offer.circle);
    discipline.talents.push_back(offer);
    numbers.Offered(ownHash, ownHashKnown);
    return ReadResult::Ok;
}

// The offers on consecutive lines of a discipline, resolved when the run ends. A large talent
// table does not fit the processor's cache, and a look-up waits for memory several times
// (slot, entry, name), each wait depending on the one before. So the memory of every look-up
// of the run is asked for one step at a time, for all offers of the run at once: the waits of
// one step overlap instead of following one another. The offers are still resolved one by one
// in file order, and a run ends before any other line of the file takes effect, so what is
// read, reported and stopped at is as if each line were taken alone.
class OfferRun {
public:
    explicit OfferRun(const TalentNameIndex& index) : index(index) {}

    void Add(std::string_view value) {
        const OfferLine line = ParseOffer(value);
        index.PrefetchSlot(line.hash);
        offers.push_back(
            Offer{text.size(), line.name.size(), line.circle, line.flag, line.hash, line.ownHash});
        text.append(line.name);
    }

    ReadResult Resolve(CVARN_DBDiscipline& discipline, TalentResolver& talents,
                       DisciplineList& list, CVARN_UserPrompt& prompt) {
        for (const Offer& offer : offers)
            index.PrefetchEntry(offer.hash);
        for (const Offer& offer : offers)
            index.PrefetchName(offer.hash);

        discipline.talents.reserve(discipline.talents.size() + offers.size());
        ReadResult result = ReadResult::Ok;
        for (const Offer& offer : offers) {
            const OfferLine line{std::string_view(text).substr(offer.nameOffset, offer.nameLength),
                                 offer.circle, offer.flag, offer.hash, offer.ownHash};
            result = ReadTalentOffer(discipline, talents, line, numbers, list, prompt);
            if (result == ReadResult::Fatal)
                break;
        }
        text.clear();
        offers.clear();
        return result;
    }

    bool Empty() const { return offers.empty(); }
    void NewDiscipline(const CVARN_DBDiscipline& discipline) { numbers.NewDiscipline(discipline); }

private:
    struct Offer {
        size_t nameOffset; // in `text`
        size_t nameLength;
        int32_t circle;
        char flag;
        uint32_t hash;
        bool ownHash;
    };

    const TalentNameIndex& index;
    std::string text; // the offered names, one after another
    std::vector<Offer> offers;
    OfferNumbers numbers;
};

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
    const std::string_view key = value.substr(0, colon);
    CVARN_DiscModifier modifier;
    for (const auto& [text, code] : keys) // each key text ends in its colon
        if (EqualsNoCase(key, text.substr(0, text.size() - 1)))
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
    ForEachInList(value, [&](std::string_view raceName) {
        if (const CVARN_RaceDesc* race = races.Find(raceName))
            discipline.races.Remove(race, races.PositionOf(race));
    });
}

// Unknown names are skipped: the list never holds an empty link.
void AuthorizeRaces(CVARN_DBDiscipline& discipline, const RaceResolver& races,
                    std::string_view value) {
    discipline.races.Clear();
    ForEachInList(value, [&](std::string_view raceName) {
        if (const CVARN_RaceDesc* race = races.Find(raceName))
            discipline.races.Append(race);
    });
}

} // namespace

ReadResult ReadDisciplines(DisciplineList& disciplines, TalentTable& talents,
                           const RaceTable& races, const std::string& dataDirectory,
                           CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Disciplines.dat", "File 'Disciplines.dat' not found",
                      prompt))
        return ReadResult::Fatal;

    TalentResolver talentResolver(talents);
    const RaceResolver raceResolver(races);
    CVARN_DBDiscipline* current = nullptr;
    Description description('\n');
    OfferRun offers(talentResolver.Index());
    std::string_view raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        std::string_view value;
        if (current != nullptr && MatchKeyword(line, "Talent:", value)) {
            offers.Add(value);
            continue;
        }
        if (!offers.Empty() &&
            offers.Resolve(*current, talentResolver, disciplines, prompt) == ReadResult::Fatal) {
            description.MoveTo(current->description);
            return ReadResult::Fatal;
        }
        if (line[0] == '[') {
            if (current != nullptr)
                description.MoveTo(current->description);
            auto discipline = std::make_unique<CVARN_DBDiscipline>();
            discipline->name = std::string(HeaderName(line));
            discipline->races.SetAll(raceResolver.All());
            current = discipline.get();
            disciplines.disciplines.push_back(std::move(discipline));
            offers.NewDiscipline(*current);
            continue;
        }
        if (current == nullptr) {
            prompt.ShowMessage("Error : No discipline in .dat file");
            continue;
        }
        if (MatchKeyword(line, "Modifier:", value)) {
            ReadModifier(*current, value);
        } else if (MatchKeyword(line, "Ability:", value)) {
            ReadAbility(*current, value);
        } else if (MatchKeyword(line, "Forbidden Races:", value)) {
            ForbidRaces(*current, raceResolver, value);
        } else if (MatchKeyword(line, "Authorized Races:", value)) {
            AuthorizeRaces(*current, raceResolver, value);
        } else {
            description.Append(line);
        }
    }
    if (file.ReadFailed())
        return ReadResult::Fatal;
    if (current != nullptr)
        description.MoveTo(current->description);
    if (!offers.Empty() &&
        offers.Resolve(*current, talentResolver, disciplines, prompt) == ReadResult::Fatal)
        return ReadResult::Fatal;
    return ReadResult::Ok;
}
