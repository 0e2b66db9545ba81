#include "character/CharacterJson.h"

#include "character/Character.h"
#include "character/CharacterFields.h"
#include "character/TextUtf8.h"
#include "rules/RulesDatabase.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace {

using Json = nlohmann::ordered_json;

struct AttributeName {
    const char* name;
    CVARN_AttributeSlot slot;
};

// The sheet's order, which is also the document's.
constexpr AttributeName kAttributes[] = {{"Dexterity", AttDexterity}, {"Strength", AttStrength},
                                         {"Toughness", AttToughness}, {"Perception", AttPerception},
                                         {"Willpower", AttWillpower}, {"Charisma", AttCharisma}};

std::string Text(const std::string& s) {
    return varn_text::ToUtf8(s);
}

// The character's plain fields that the document shows: those of the document itself, or
// those of the objects below it, each object's keys in the order of the field table.
void PlainValues(Json& j, const CVARN_Character& c, bool ofTheDocument) {
    VisitCharacterFields([&](const CVARN_FieldRow& row, auto member) {
        if (row.jsonObject == nullptr || (*row.jsonObject == '\0') != ofTheDocument)
            return;
        Json& object = ofTheDocument ? j : j[row.jsonObject];
        const auto& value = c.*member;
        using Value = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<Value, std::string>)
            object[row.jsonKey] = Text(value);
        else if constexpr (std::is_arithmetic_v<Value>)
            object[row.jsonKey] =
                row.jsonForm == CVARN_JsonForm::Switch ? Json(value != 0) : Json(value);
    });
}

const char* KindOf(const CVARN_CharEquip& piece) {
    if (dynamic_cast<const CVARN_CharEquipThreadArmor*>(&piece))
        return "threadArmor";
    if (dynamic_cast<const CVARN_CharEquipArmor*>(&piece))
        return "armor";
    if (dynamic_cast<const CVARN_CharEquipShield*>(&piece))
        return "shield";
    if (dynamic_cast<const CVARN_CharEquipWeapon*>(&piece))
        return "weapon";
    return "misc";
}

Json Derived(const CVARN_Character& c) {
    const SystemTables& tables = c.Rules().systemTables;
    auto dice = [&](int step) { return tables.GetActionDice(step); };
    Json d = Json::object();
    Json atts = Json::object();
    for (const AttributeName& a : kAttributes) {
        const CVARN_CharAtt& att = c.Att(a.slot);
        atts[a.name] = {{"value", att.Value()},     {"step", att.Step()},
                        {"dice", dice(att.Step())}, {"raceModifier", att.raceModifier},
                        {"minimum", att.minimum},   {"maximum", att.maximum},
                        {"cost", att.Cost()}};
    }
    d["attributes"] = std::move(atts);
    d["attributePointsUsed"] = c.AttributePointsUsed();
    d["highestCircle"] = c.highestCircle;
    d["defenses"] = {
        {"physical", c.physicalDefense}, {"spell", c.spellDefense}, {"social", c.socialDefense}};
    d["armors"] = {{"physical", c.physicArmor}, {"mystic", c.mysticArmor}};
    d["initiative"] = {{"step", c.initiativeStep}, {"dice", dice(c.initiativeStep)}};
    d["damage"] = {{"deathRating", c.deathRating},
                   {"unconsciousnessRating", c.unconsciousnessRating},
                   {"woundThreshold", c.woundThreshold},
                   {"recoveryTests", c.recoveryTests},
                   {"recoveryStep", c.recoveryStep},
                   {"recoveryDice", dice(c.recoveryStep)},
                   {"durabilityRank", c.durabilityRank},
                   {"deathPerRank", c.deathPerRank},
                   {"unconsciousnessPerRank", c.unconsciousnessPerRank}};
    d["movement"] = {{"landFull", c.landFull},
                     {"landCombat", c.landCombat},
                     {"flyFull", c.flyFull},
                     {"flyCombat", c.flyCombat}};
    d["capacity"] = {{"carrying", c.carryingCapacity}, {"lifting", c.liftingCapacity}};
    d["karma"] = {{"step", c.karmaStep},
                  {"dice", dice(c.karmaStep)},
                  {"cost", c.karmaCost},
                  {"maximum", c.karmaMax},
                  {"current", c.karmaCurrent}};
    d["legend"] = {{"available", c.AvailableLegend()}, {"spent", c.SpentLegend()},
                   {"talents", c.talentLegend},        {"skills", c.skillLegend},
                   {"increases", c.increaseLegend},    {"karma", c.karmaLegend}};

    Json talents = Json::array();
    for (const auto& t : c.talents) {
        Json granting = Json::array();
        for (const CVARN_DBDiscipline* g : t->grantingDisciplines) {
            const CVARN_DiscTalent* offer = g->FindDiscTalent(t->name);
            granting.push_back({{"name", Text(g->name)}, {"circle", offer ? offer->circle : 0}});
        }
        const CVARN_DBTalent* e = t->talent;
        const bool hasStep = e && !e->formula.empty() && t->rank > 0;
        const int step = hasStep ? t->ComputeTalentStep(c) : 0;
        talents.push_back({{"name", Text(t->name)},
                           {"disciplines", std::move(granting)},
                           {"formula", e ? Text(e->formula) : ""},
                           {"step", hasStep ? Json(step) : Json(nullptr)},
                           {"dice", hasStep ? Json(dice(step)) : Json(nullptr)},
                           {"action", e && e->action},
                           {"karma", e && e->karma},
                           {"strain", e ? e->strain : 0},
                           {"legendCost", t->legendCost}});
    }
    d["talents"] = std::move(talents);

    Json skills = Json::array();
    for (const auto& s : c.skills) {
        const CVARN_DBSkill* e = s->skill;
        const bool hasStep = e && !e->formula.empty();
        const int step = hasStep ? s->ComputeSkillStep() : 0;
        skills.push_back({{"name", e ? Text(e->name) : ""},
                          {"type", e ? Text(e->type) : ""},
                          {"formula", e ? Text(e->formula) : ""},
                          {"step", hasStep ? Json(step) : Json(nullptr)},
                          {"dice", hasStep ? Json(dice(step)) : Json(nullptr)},
                          {"action", e && e->action},
                          {"karma", e && e->karma}});
    }
    d["skills"] = std::move(skills);

    Json weapons = Json::array();
    for (const auto& piece : c.equipment)
        if (const auto* w = dynamic_cast<const CVARN_ItemWeapon*>(piece->item)) {
            const int step = w->DamageStep(c);
            weapons.push_back({{"name", Text(piece->name)},
                               {"damage", w->damage},
                               {"damageStep", step},
                               {"dice", dice(step)}});
        }
    d["weapons"] = std::move(weapons);
    return d;
}

// ---------------------------------------------------------------- import

struct ImportError {
    std::string message;
};

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

class Importer {
public:
    Importer(CVARN_Character& character, CVARN_JsonImport& result)
        : c(character), rules(character.Rules()), result(result) {}

    void Run(const Json& doc) {
        if (!doc.is_object())
            Fail("document", "expected an object, found " + TypeName(doc));
        CheckKeys(doc, "",
                  {"format", "version", "name", "race", "description", "attributes", "karma",
                   "legend", "options", "disciplines", "talents", "skills", "spells", "equipment",
                   "derived"});
        const std::string format = String(Required(doc, "format", ""), "format");
        if (format != kCharacterJsonFormat)
            Fail("format", Quoted(format) + " is not " + Quoted(kCharacterJsonFormat));
        const int64_t version =
            Integer(Required(doc, "version", ""), "version", std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max());
        if (version != kCharacterJsonVersion)
            Fail("version", "version " + std::to_string(version) +
                                " is not supported (this program reads version " +
                                std::to_string(kCharacterJsonVersion) + ")");

        const std::string race = String(Required(doc, "race", ""), "race");
        if (!c.SetRaceByName(race))
            Fail("race", "no race " + Quoted(race) + " in the data set");
        if (const Json* v = Optional(doc, "name"))
            c.name = String(*v, "name");
        if (const Json* v = Optional(doc, "description"))
            c.description = String(*v, "description");
        Attributes(Required(doc, "attributes", ""));
        if (const Json* v = Optional(doc, "disciplines"))
            Disciplines(*v);
        if (const Json* v = Optional(doc, "talents"))
            Talents(*v);
        if (const Json* v = Optional(doc, "skills"))
            Skills(*v);
        if (const Json* v = Optional(doc, "spells"))
            Spells(*v);
        if (const Json* v = Optional(doc, "equipment"))
            Equipment(*v);
        if (const Json* v = Optional(doc, "karma"))
            Karma(*v);
        if (const Json* v = Optional(doc, "legend"))
            Legend(*v);
        if (const Json* v = Optional(doc, "options"))
            Options(*v);
        // What reading a character file ends with: every derived value up to date.
        c.RecomputeAll();
    }

private:
    [[noreturn]] static void Fail(const std::string& path, const std::string& what) {
        throw ImportError{path + ": " + what};
    }

    static std::string Join(const std::string& path, const std::string& key) {
        return path.empty() ? key : path + "." + key;
    }

    static std::string Index(const std::string& path, size_t i) {
        return path + "[" + std::to_string(i) + "]";
    }

    static std::string TypeName(const Json& v) {
        if (v.is_number_float())
            return "a number with a fraction";
        const std::string name = v.type_name();
        if (name == "null")
            return "null";
        return (name == "object" || name == "array") ? "an " + name : "a " + name;
    }

    const Json& Required(const Json& obj, const char* key, const std::string& path) {
        auto it = obj.find(key);
        if (it == obj.end())
            Fail(Join(path, key), "missing");
        return *it;
    }

    static const Json* Optional(const Json& obj, const char* key) {
        auto it = obj.find(key);
        return it == obj.end() ? nullptr : &*it;
    }

    void CheckKeys(const Json& obj, const std::string& path,
                   std::initializer_list<const char*> known) {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool found = false;
            for (const char* k : known)
                found = found || it.key() == k;
            if (!found)
                result.warnings.push_back(Join(path, it.key()) + ": unknown key, ignored");
        }
    }

    static const Json& Object(const Json& v, const std::string& path) {
        if (!v.is_object())
            Fail(path, "expected an object, found " + TypeName(v));
        return v;
    }

    static const Json& Array(const Json& v, const std::string& path) {
        if (!v.is_array())
            Fail(path, "expected an array, found " + TypeName(v));
        return v;
    }

    static std::string String(const Json& v, const std::string& path) {
        if (!v.is_string())
            Fail(path, "expected a string, found " + TypeName(v));
        return v.get<std::string>();
    }

    static bool Bool(const Json& v, const std::string& path) {
        if (!v.is_boolean())
            Fail(path, "expected true or false, found " + TypeName(v));
        return v.get<bool>();
    }

    static int64_t Integer(const Json& v, const std::string& path, int64_t low, int64_t high) {
        if (!v.is_number_integer())
            Fail(path, "expected an integer, found " + TypeName(v));
        if (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(high))
            Fail(path, v.dump() + " is out of range " + std::to_string(low) + " to " +
                           std::to_string(high));
        const int64_t n = v.get<int64_t>();
        if (n < low || n > high)
            Fail(path, std::to_string(n) + " is out of range " + std::to_string(low) + " to " +
                           std::to_string(high));
        return n;
    }

    void Attributes(const Json& v) {
        Object(v, "attributes");
        CheckKeys(v, "attributes",
                  {"Dexterity", "Strength", "Toughness", "Perception", "Willpower", "Charisma"});
        for (const AttributeName& a : kAttributes) {
            const std::string path = Join("attributes", a.name);
            const Json& att = Object(Required(v, a.name, "attributes"), path);
            CheckKeys(att, path, {"base", "increases"});
            const CVARN_CharAtt& now = c.Att(a.slot);
            // The range the Attributes page offers for the race.
            const int low = std::min(now.minimum, now.maximum);
            const int high = std::max(now.minimum, now.maximum);
            c.SetAttributeBase(a.slot, static_cast<int>(Integer(Required(att, "base", path),
                                                                Join(path, "base"), low, high)));
            if (const Json* n = Optional(att, "increases"))
                c.SetAttributeIncreases(
                    a.slot, static_cast<int>(Integer(*n, Join(path, "increases"), 0, 5)));
        }
    }

    void Disciplines(const Json& v) {
        Array(v, "disciplines");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("disciplines", i);
            const Json& d = Object(v[i], path);
            CheckKeys(d, path, {"name", "circle"});
            const std::string name = String(Required(d, "name", path), Join(path, "name"));
            const CVARN_DBDiscipline* entry = rules.disciplineList.FindDiscipline(name);
            if (!entry)
                Fail(Join(path, "name"), "no discipline " + Quoted(name) + " in the data set");
            if (c.FindCharDisc(entry))
                Fail(Join(path, "name"), "discipline " + Quoted(name) + " is listed twice");
            const int circle =
                static_cast<int>(Integer(Required(d, "circle", path), Join(path, "circle"), 1,
                                         std::max<int>(1, entry->highestCircle)));
            c.SetDisciplineCircle(entry, circle);
        }
    }

    void Talents(const Json& v) {
        Array(v, "talents");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("talents", i);
            const Json& t = Object(v[i], path);
            CheckKeys(t, path, {"name", "rank"});
            const std::string name = String(Required(t, "name", path), Join(path, "name"));
            CVARN_CharTalent* talent = c.FindCharTalent(name);
            if (!talent) {
                if (!rules.talentTable.Find(name))
                    Fail(Join(path, "name"), "no talent " + Quoted(name) + " in the data set");
                Fail(Join(path, "name"), "talent " + Quoted(name) +
                                             " is not offered by the character's disciplines "
                                             "at their circles");
            }
            const int rank =
                static_cast<int>(Integer(Required(t, "rank", path), Join(path, "rank"), 0, 15));
            c.SetTalentRank(talent, rank);
        }
    }

    void Skills(const Json& v) {
        Array(v, "skills");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("skills", i);
            const Json& s = Object(v[i], path);
            CheckKeys(s, path, {"name", "rank"});
            const std::string name = String(Required(s, "name", path), Join(path, "name"));
            const CVARN_DBSkill* entry = rules.skillTable.Find(name);
            if (!entry)
                Fail(Join(path, "name"), "no skill " + Quoted(name) + " in the data set");
            if (c.FindPCSkill(entry))
                Fail(Join(path, "name"), "skill " + Quoted(name) + " is listed twice");
            const int rank =
                static_cast<int>(Integer(Required(s, "rank", path), Join(path, "rank"), 1, 10));
            c.SetSkillRank(entry, rank);
        }
    }

    void Spells(const Json& v) {
        Array(v, "spells");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("spells", i);
            const Json& s = Object(v[i], path);
            CheckKeys(s, path, {"name", "type"});
            const std::string name = String(Required(s, "name", path), Join(path, "name"));
            const CVARN_DBSpell* entry = rules.spellTable.Find(name);
            if (!entry)
                Fail(Join(path, "name"), "no spell " + Quoted(name) + " in the data set");
            if (c.FindPCSpell(entry))
                Fail(Join(path, "name"), "spell " + Quoted(name) + " is listed twice");
            const std::string type = String(Required(s, "type", path), Join(path, "type"));
            // The Grimoire offers a spell under each of its types of magic and no other.
            bool known = false;
            for (const std::string& t : entry->types)
                known = known || t == type;
            if (!known)
                Fail(Join(path, "type"),
                     "spell " + Quoted(name) + " is not a spell of " + Quoted(type));
            c.AddSpell(entry, type);
        }
    }

    void Equipment(const Json& v) {
        Array(v, "equipment");
        const EquipmentDatabase& db = rules.equipmentDatabase;
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("equipment", i);
            const Json& p = Object(v[i], path);
            const std::string kind = String(Required(p, "kind", path), Join(path, "kind"));
            const std::string name = String(Required(p, "name", path), Join(path, "name"));
            const CVARN_Item* entry = nullptr;
            bool wearable = true;
            if (kind == "weapon") {
                entry = db.FindWeapon(name);
                wearable = false;
            } else if (kind == "armor") {
                entry = db.FindArmor(name);
            } else if (kind == "threadArmor") {
                entry = db.FindThreadArmor(name);
            } else if (kind == "shield") {
                entry = db.FindShield(name);
            } else if (kind == "misc") {
                entry = db.FindMisc(name);
                wearable = false;
            } else {
                Fail(Join(path, "kind"), Quoted(kind) + " is not one of \"weapon\", \"armor\", "
                                                        "\"threadArmor\", \"shield\", \"misc\"");
            }
            if (!entry)
                Fail(Join(path, "name"), "no " + kind + " " + Quoted(name) + " in the data set");
            if (kind == "threadArmor")
                CheckKeys(p, path, {"kind", "name", "worn", "threadRank"});
            else if (wearable)
                CheckKeys(p, path, {"kind", "name", "worn"});
            else
                CheckKeys(p, path, {"kind", "name"});

            const bool worn =
                wearable && Optional(p, "worn") && Bool(*Optional(p, "worn"), Join(path, "worn"));
            int threadRank = 0;
            if (kind == "threadArmor")
                if (const Json* r = Optional(p, "threadRank"))
                    threadRank = static_cast<int>(
                        Integer(*r, Join(path, "threadRank"), 0,
                                static_cast<const CVARN_ThreadItemArmor*>(entry)->threadCount));

            CVARN_CharEquip* piece = c.AddEquipment(entry);
            if (!worn && threadRank == 0)
                continue;
            if (auto* thread = dynamic_cast<CVARN_CharEquipThreadArmor*>(piece))
                thread->threadRank = static_cast<int16_t>(threadRank);
            if (auto* armor = dynamic_cast<CVARN_CharEquipArmor*>(piece))
                armor->worn = worn ? 1 : 0;
            else if (auto* shield = dynamic_cast<CVARN_CharEquipShield*>(piece))
                shield->worn = worn ? 1 : 0;
            c.EquipmentChanged(piece);
        }
    }

    void Karma(const Json& v) {
        Object(v, "karma");
        CheckKeys(v, "karma", {"bought", "spent"});
        if (const Json* n = Optional(v, "bought"))
            c.SetKarmaBought(static_cast<int>(Integer(*n, "karma.bought", 0, 32767)));
        if (const Json* n = Optional(v, "spent"))
            c.SetKarmaSpent(static_cast<int>(Integer(*n, "karma.spent", 0, 32767)));
    }

    void Legend(const Json& v) {
        Object(v, "legend");
        CheckKeys(v, "legend", {"earned", "creation", "extraCosts"});
        const int64_t most = std::numeric_limits<int32_t>::max();
        if (const Json* n = Optional(v, "earned"))
            c.SetLegendEarned(static_cast<int32_t>(Integer(*n, "legend.earned", 0, most)));
        if (const Json* n = Optional(v, "creation"))
            c.SetCreationLegend(static_cast<int32_t>(Integer(*n, "legend.creation", 0, most)));
        if (const Json* n = Optional(v, "extraCosts"))
            c.SetExtraCosts(static_cast<int32_t>(Integer(*n, "legend.extraCosts", 0, most)));
    }

    void Options(const Json& v) {
        Object(v, "options");
        CheckKeys(v, "options",
                  {"attributesCost", "attributeIncrease", "attributesMinMax", "circleAdvancement",
                   "armorsWornLimit", "raceDisciplineCompatibility", "attributePoints"});
        // The System page's switches: plain fields of the character, set as the page sets them.
        auto flag = [&](const char* key, int32_t& field) {
            if (const Json* b = Optional(v, key)) {
                field = Bool(*b, Join("options", key)) ? 1 : 0;
                c.SetModified();
            }
        };
        flag("attributesCost", c.attributesCost);
        flag("attributeIncrease", c.attributeIncrease);
        flag("attributesMinMax", c.attributesMinMax);
        flag("circleAdvancement", c.circleAdvancement);
        flag("armorsWornLimit", c.armorsWornLimit);
        flag("raceDisciplineCompatibility", c.raceDisciplineCompatibility);
        if (const Json* n = Optional(v, "attributePoints")) {
            c.attributePoints =
                static_cast<int16_t>(Integer(*n, "options.attributePoints", 1, 999));
            c.SetModified();
        }
    }

    CVARN_Character& c;
    const RulesDatabase& rules;
    CVARN_JsonImport& result;
};

} // namespace

std::string CharacterToJson(const CVARN_Character& c) {
    Json j;
    j["format"] = kCharacterJsonFormat;
    j["version"] = kCharacterJsonVersion;
    PlainValues(j, c, true);
    Json atts = Json::object();
    for (const AttributeName& a : kAttributes)
        atts[a.name] = {{"base", c.Att(a.slot).base}, {"increases", c.Att(a.slot).increases}};
    j["attributes"] = std::move(atts);
    PlainValues(j, c, false);
    Json list = Json::array();
    for (const auto& d : c.disciplines)
        list.push_back({{"name", Text(d->name)}, {"circle", d->circle}});
    j["disciplines"] = std::move(list);
    list = Json::array();
    for (const auto& t : c.talents)
        list.push_back({{"name", Text(t->name)}, {"rank", t->rank}});
    j["talents"] = std::move(list);
    list = Json::array();
    for (const auto& s : c.skills)
        list.push_back({{"name", s->skill ? Text(s->skill->name) : ""}, {"rank", s->rank}});
    j["skills"] = std::move(list);
    list = Json::array();
    for (const auto& s : c.spells)
        list.push_back(
            {{"name", s->spell ? Text(s->spell->name) : ""}, {"type", Text(s->spellType)}});
    j["spells"] = std::move(list);
    list = Json::array();
    for (const auto& piece : c.equipment) {
        Json p = {{"kind", KindOf(*piece)}, {"name", Text(piece->name)}};
        if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get()))
            p["worn"] = armor->worn != 0;
        else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get()))
            p["worn"] = shield->worn != 0;
        if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece.get()))
            p["threadRank"] = thread->threadRank;
        list.push_back(std::move(p));
    }
    j["equipment"] = std::move(list);
    j["derived"] = Derived(c);
    return j.dump(2) + "\n";
}

CVARN_JsonImport CharacterFromJson(CVARN_Character& character, std::string_view text) {
    CVARN_JsonImport result;
    Json doc;
    try {
        doc = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        result.error = "document: not valid JSON at byte " + std::to_string(e.byte);
        return result;
    } catch (const Json::out_of_range&) {
        // The reader gives up on a number beyond a double, such as 1e99999.
        result.error = "document: a number too large to read";
        return result;
    }
    try {
        Importer(character, result).Run(doc);
        result.ok = true;
    } catch (const ImportError& e) {
        result.error = e.message;
    }
    return result;
}

bool IsJsonPath(const std::string& path) {
    if (path.size() < 5)
        return false;
    std::string tail = path.substr(path.size() - 5);
    for (char& ch : tail)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return tail == ".json";
}
