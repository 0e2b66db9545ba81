// Every reader on the files it builds on: each folder of tests/data/rules/read/ holds the data
// files of one case. They are read in start-up order, and everything that was read (every field
// of every entry, in table order, talents numbered in the talent table's walk), the messages and
// the look-ups the expected record names must match that record, the folder's expected.txt.

#include "rules/RulesDatabase.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <type_traits>
#include <utility>

namespace {

// Once loaded, the rules are shared read-only: a look-up on a const table hands out entries
// that cannot be changed through it, and entries link to each other the same way.
template <typename Entry, typename Found>
constexpr bool ReadOnly = std::is_same_v<Found, const Entry*>;

[[maybe_unused]] void LookUpsOnLoadedRules(const RulesDatabase& db) {
    static_assert(ReadOnly<CVARN_DBTalent, decltype(db.talentTable.Find(""))>);
    static_assert(ReadOnly<CVARN_DBTalent, decltype(db.talentTable.First())>);
    static_assert(ReadOnly<CVARN_DBSkill, decltype(db.skillTable.Find(""))>);
    static_assert(ReadOnly<CVARN_DBSpell, decltype(db.spellTable.Next(nullptr))>);
    static_assert(ReadOnly<CVARN_DBDiscipline, decltype(db.disciplineList.FindDiscipline(""))>);
    static_assert(ReadOnly<CVARN_RaceDesc, decltype(db.raceTable.FindRace(""))>);
    static_assert(ReadOnly<CVARN_ItemArmor, decltype(db.equipmentDatabase.FindArmor(""))>);
    static_assert(ReadOnly<CVARN_ItemWeapon, decltype(db.equipmentDatabase.FindWeapon(""))>);
    static_assert(ReadOnly<CVARN_DBTalent, decltype(CVARN_DiscTalent::talent)>);
    static_assert(
        ReadOnly<CVARN_RaceDesc, decltype(*db.disciplineList.disciplines[0]->races.begin())>);
}

// One line: a label, then the values, each after a "|".
template <typename... T>
void Line(std::ostream& out, const std::string& label, const T&... values) {
    out << label;
    ((out << "|" << values), ...);
    out << "\n";
}

std::string Names(const auto& list, const char* separator = ",") {
    std::string names;
    for (const auto& entry : list)
        names += (names.empty() ? "" : separator) + entry->name;
    return names;
}

std::string Words(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += "[" + w + "]";
    return text;
}

void DumpItem(std::ostream& out, const char* kind, const CVARN_Item& i) {
    Line(out, kind, i.name, Words(i.path), i.weight, i.cost);
}

void DumpArmour(std::ostream& out, const char* kind, const CVARN_ItemArmor& a) {
    DumpItem(out, kind, a);
    Line(out, "  armour", a.physicArmor, a.mysticArmor, a.initiative);
}

std::string Dump(const RulesDatabase& db) {
    std::ostringstream o;
    o << "races (have " << db.raceTable.haveRace << ")\n";
    for (const auto& r : db.raceTable.races) {
        Line(o, "race", r->name, r->canFly, r->movementModifier, r->flyModifier, r->physicalArmor,
             r->mysticArmor, r->woundThreshold, r->recoveryTests, r->physicalDefense,
             r->socialDefense, r->spellDefense, r->karmaCost, r->karmaMax, r->karmaStart,
             r->karmaStep);
        o << "  min/max/modifier";
        for (const CVARN_RaceAtt& a : r->atts)
            o << " " << a.minimum << "/" << a.maximum << "/" << a.modifier;
        o << "\n";
        for (const CVARN_RaceAbility& a : r->abilities)
            Line(o, "  ability", a.text);
    }
    std::map<const CVARN_DBTalent*, std::string> id;
    for (auto* t = db.talentTable.First(); t; t = db.talentTable.Next(t)) {
        id[t] = "#" + std::to_string(id.size() + 1) + " " + t->name;
        Line(o, "talent " + id[t], t->formula, t->attribute, t->bonus, t->strain, +t->action,
             +t->karma, +t->matrix, +t->skill, +t->special, t->description);
        if (auto* s = dynamic_cast<const CVARN_DBTalentSpecial*>(t))
            Line(o, "  authorized", Names(s->authorizedRaces));
    }
    for (const auto& d : db.disciplineList.disciplines) {
        Line(o, "discipline", d->name, d->highestCircle, Names(d->races), d->description);
        for (const CVARN_DiscModifier& m : d->modifiers)
            Line(o, "  modifier", m.code, m.circle, m.value);
        for (const CVARN_DiscAbility& a : d->abilities)
            Line(o, "  ability", a.circle, a.text);
        for (const CVARN_DiscTalent& t : d->talents)
            Line(o, "  offer", t.circle, t.disciplineTalent, t.name, id[t.talent],
                 t.discipline == d.get());
    }
    for (auto* s = db.skillTable.First(); s; s = db.skillTable.Next(s))
        Line(o, "skill", s->name, s->formula, s->type, s->attribute, s->bonus, s->strain,
             +s->action, +s->karma, s->description);
    for (auto* s = db.spellTable.First(); s; s = db.spellTable.Next(s))
        Line(o, "spell", s->name, s->circle, Words(s->types), s->threads, s->weaving, s->reattuning,
             s->range, s->duration, s->effect, s->difficulty, s->description);
    const EquipmentDatabase& e = db.equipmentDatabase;
    for (const auto& w : e.weapons) {
        DumpItem(o, "weapon", *w);
        Line(o, "  weapon", w->damage, w->minStrength, w->minDexterity, w->size);
    }
    for (const auto& a : e.armors)
        DumpArmour(o, "armour", *a);
    for (const auto& a : e.threadArmors) {
        DumpArmour(o, "thread armour", *a);
        Line(o, "  threads", a->threadCount);
        for (const CVARN_ThreadPower& p : a->powers)
            Line(o, "  power", p.rank, p.physicArmor, p.mysticArmor, p.initiative);
    }
    for (const auto& s : e.shields) {
        DumpItem(o, "shield", *s);
        Line(o, "  shield", s->physicArmor, s->mysticArmor, s->initiative, s->shatter);
    }
    for (const auto& m : e.misc)
        DumpItem(o, "misc", *m);
    const SystemTables& t = db.systemTables;
    o << "attribute rows up to " << t.HighestAttributeValue() << "\n";
    for (size_t v = 0; v < t.attributeRows.size(); ++v) {
        const CVARN_AttributeRow& r = t.attributeRows[v];
        Line(o, std::to_string(v), r.defense, r.fullMovement, r.combatMovement, r.carrying,
             r.lifting, r.deathBase, r.unconsciousnessBase, r.woundThreshold, r.recoveryTests,
             r.mysticArmor);
    }
    o << "action dice up to " << t.HighestStep() << "\n";
    for (size_t step = 0; step < t.diceTexts.size(); ++step)
        Line(o, std::to_string(step), t.diceTexts[step]);
    return o.str();
}

// "kind name": what the table of that kind finds for the name.
std::string LookUp(const RulesDatabase& db, const std::string& query) {
    const size_t space = query.find(' '), colon = query.find(':');
    const std::string kind = query.substr(0, space), name = query.substr(space + 1);
    auto found = [](const auto* entry) {
        return entry ? "[" + std::string(entry->name) + "]" : "none";
    };
    const EquipmentDatabase& e = db.equipmentDatabase;
    if (kind == "race")
        return found(db.raceTable.FindRace(name));
    if (kind == "talent")
        return found(db.talentTable.Find(name));
    if (kind == "skill")
        return found(db.skillTable.Find(name));
    if (kind == "spell")
        return found(db.spellTable.Find(name));
    if (kind == "offer") // "offer Discipline:talent"
        return found(db.disciplineList.FindDiscipline(query.substr(space + 1, colon - space - 1))
                         ->FindDiscTalent(query.substr(colon + 1)));
    if (kind == "armour")
        return found(e.FindArmor(name));
    if (kind == "power") { // "power thread armour:rank"
        const CVARN_ThreadPower* p = e.FindThreadArmor(query.substr(space + 1, colon - space - 1))
                                         ->FindPower(std::stoi(query.substr(colon + 1)));
        return p ? std::to_string(p->physicArmor) : "none";
    }
    if (kind == "dice")
        return db.systemTables.GetActionDice(std::stoi(name));
    return std::to_string(db.systemTables.AttributeRow(std::stoi(name)).defense); // "row value"
}

} // namespace

TEST(Readers, ReadWhatTheirFilesSay) {
    const std::filesystem::path top = VARN_TEST_DATA_DIR "rules/read";
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(top)) {
        if (!entry.is_directory())
            continue;
        ++cases;
        const std::string dir = entry.path().string() + "/", expected = dir + "expected.txt";
        SCOPED_TRACE(dir);
        RulesDatabase db;
        RecordingPrompt prompt;
        std::ostringstream record;
        auto read = [&](const std::string& file, auto reader) {
            if (std::filesystem::exists(dir + file))
                record << file << ": " << (reader() == ReadResult::Ok ? "ok" : "fatal") << "\n";
        };
        read("Skills.dat", [&] { return ReadSkills(db.skillTable, dir, prompt); });
        read("Races.dat", [&] { return ReadRaces(db.raceTable, db.skillTable, dir, prompt); });
        read("Talents.dat",
             [&] { return ReadTalents(db.talentTable, db.skillTable, db.raceTable, dir, prompt); });
        read("Disciplines.dat", [&] {
            return ReadDisciplines(db.disciplineList, db.talentTable, db.raceTable, dir, prompt);
        });
        read("Spells.dat", [&] { return ReadSpells(db.spellTable, dir, prompt); });
        read("Equipment.dat", [&] { return ReadEquipment(db.equipmentDatabase, dir, prompt); });
        read("VARN.dat", [&] {
            return ReadSystemTables(db.systemTables, dir, prompt) ? ReadResult::Ok
                                                                  : ReadResult::Fatal;
        });
        for (const std::string& m : prompt.messages)
            record << "message: " << m << "\n";
        // The look-ups are those the expected record names: "find QUERY: ANSWER".
        std::istringstream lines(Slurp(expected));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("find ")) {
                const std::string query = line.substr(5, line.rfind(": ") - 5);
                record << "find " << query << ": " << LookUp(db, query) << "\n";
            }
        ExpectFile(record.str() + Dump(db), expected.substr(sizeof VARN_TEST_DATA_DIR - 1));
    }
    EXPECT_EQ(cases, 15);
}

// A list of every race that gains one goes on as a list of its own.
TEST(Readers, DisciplineRacesFromTheWholeTable) {
    RaceTable races;
    for (const char* name : {"Velde", "Fethrin", "Korrun"})
        races.races.emplace_back(std::make_unique<CVARN_RaceDesc>())->name = name;
    CVARN_DiscRaces all;
    all.SetAll(races.races);
    all.Remove(races.races[1].get());
    all.Append(races.races[1].get());
    EXPECT_EQ(Names(all), "Velde,Korrun,Fethrin");
}

// Talents marked as skills are copied in the talent table's walk order, whether the table
// started empty (the reader then sorts only what it read) or already held entries.
TEST(Readers, TalentSkillCopiesFollowTheTableWalkEitherWay) {
    std::string content;
    for (int i = 0; i < 60; ++i) {
        // Short names collide in buckets; every seventh name repeats an earlier one.
        const int n = i % 7 == 6 ? i - 5 : i;
        content += "[T" + std::string(1, static_cast<char>('a' + n % 26)) + std::to_string(n % 9) +
                   "]\n" + (i % 3 ? "Skill: yes\n" : "") + "Copy " + std::to_string(i) + "\n";
    }
    content += "[Ta1]\nSkill: yes\nSkill: no\n"; // the last word counts
    TempDir dir;
    dir.Write("Talents.dat", content);
    RulesDatabase empty, filled;
    auto first = std::make_unique<CVARN_DBTalent>();
    first->name = "Td3";
    filled.talentTable.Add(std::move(first));
    RecordingPrompt prompt;
    for (RulesDatabase* db : {&empty, &filled})
        ReadTalents(db->talentTable, db->skillTable, db->raceTable, dir.path, prompt);
    auto walk = [](const SkillTable& skills) {
        std::vector<std::string> order;
        for (const CVARN_DBSkill* s = skills.First(); s; s = skills.Next(s))
            order.push_back(s->name + "/" + s->description);
        return order;
    };
    EXPECT_EQ(walk(empty.skillTable).size(), 40u);
    EXPECT_EQ(walk(empty.skillTable), walk(filled.skillTable));
}
