#include "character/CharacterJson.h"

#include "character/Character.h"
#include "character/CharacterFields.h"
#include "character/CharacterFile.h"
#include "character/PageFacts.h"
#include "character/SheetContent.h"
#include "character/TextSheet.h"
#include "character/TextUtf8.h"
#include "rules/RulesDatabase.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Written with its keys in the order of the sheet.
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
    VisitCharacterFields([&](const CVARN_FieldRow& row, auto member, auto) {
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
                           {"disciplineTalent", IsDisciplineTalent(*t)},
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

// The document as read: objects keep their keys in a map, so that looking a key up costs
// the logarithm of their number however many a hostile document holds.
using In = nlohmann::json;

struct ImportError {
    std::string message;
};

// A text of the document in a message: quoted, control characters made visible.
std::string Quoted(const std::string& s) {
    return "\"" + varn_text::ShowControls(s) + "\"";
}

std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

// What the importer reads, by the shape of its path ("talents[]" for any talent): the
// keys of each object, and the lists. Everything else is checked as JSON and dropped as it
// is read, so that neither "derived" nor unknown keys cost memory.
struct Shape {
    std::string pattern;
    std::vector<std::string> keys; // empty for a list
};

// The plain fields' keys come from the field table: those of the document itself, and an
// object ("karma", "legend", "options") for each group of rows, holding the keys import reads
// (an object of none is passed over as the derived values are).
std::vector<Shape> MakeShapes() {
    std::vector<Shape> shapes = {
        {"",
         {"format", "version", "attributes", "disciplines", "talents", "skills", "spells",
          "equipment", "derived"}},
        {"attributes",
         {"Dexterity", "Strength", "Toughness", "Perception", "Willpower", "Charisma"}},
        {"attributes.*", {"base", "increases"}},
        {"disciplines", {}},
        {"disciplines[]", {"name", "circle"}},
        {"talents", {}},
        {"talents[]", {"name", "rank"}},
        {"skills", {}},
        {"skills[]", {"name", "rank"}},
        {"spells", {}},
        {"spells[]", {"name", "type"}},
        {"equipment", {}},
        {"equipment[]", {"kind", "name", "worn", "threadRank"}},
    };
    VisitCharacterFields([&](const CVARN_FieldRow& row, auto, auto) {
        if (row.jsonObject == nullptr)
            return;
        std::vector<std::string>& document = shapes.front().keys;
        if (*row.jsonObject == '\0') { // the race is read apart, but it is still a known key
            document.emplace_back(row.jsonKey);
            return;
        }
        auto object = std::find_if(shapes.begin(), shapes.end(),
                                   [&](const Shape& s) { return s.pattern == row.jsonObject; });
        if (object == shapes.end()) {
            document.emplace_back(row.jsonObject);
            shapes.push_back({row.jsonObject, {}});
            object = shapes.end() - 1;
        }
        if (row.input.read)
            object->keys.emplace_back(row.jsonKey);
    });
    return shapes;
}

const Shape* FindShape(const std::string& pattern) {
    static const std::vector<Shape> shapes = MakeShapes();
    for (const Shape& s : shapes)
        if (pattern == s.pattern)
            return &s;
    return nullptr;
}

constexpr size_t kDeepestNesting = 64;
constexpr size_t kMostWarnings = 100;

// Reads the document event by event into the part the importer uses. Keys are checked for
// duplicates in every object; a fault stops the reading with its path.
class DocumentReader : public nlohmann::json_sax<In> {
public:
    explicit DocumentReader(CVARN_JsonImport& result) : result(result) {}

    In root;
    std::string error;
    size_t moreWarnings = 0;

    bool null() override { return Value(In(nullptr)); }
    bool boolean(bool v) override { return Value(In(v)); }
    bool number_integer(number_integer_t v) override { return Value(In(v)); }
    bool number_unsigned(number_unsigned_t v) override { return Value(In(v)); }
    bool number_float(number_float_t v, const string_t&) override { return Value(In(v)); }
    bool string(string_t& v) override { return Value(In(std::move(v))); }
    bool binary(binary_t&) override { return Value(In(nullptr)); }

    bool start_object(std::size_t) override { return Open(true); }
    bool start_array(std::size_t) override { return Open(false); }

    bool key(string_t& k) override {
        Frame& f = frames.back();
        f.key = k;
        f.keep = false;
        f.keys.push_back(k);
        if (!f.shape)
            return true;
        for (const std::string& known : f.shape->keys)
            f.keep = f.keep || k == known;
        if (!f.keep && !(f.pattern.empty() && k == "derived"))
            Warn(Join(f.path, varn_text::ShowControls(k)) + ": unknown key, ignored");
        return true;
    }

    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) override {
        if (e.id == 406)
            return Fail(frames.empty() ? "document" : Child(frames.back()),
                        "a number too large to read");
        return Fail("document", "not valid JSON at byte " + std::to_string(position));
    }

private:
    struct Frame {
        In* node = nullptr;           // where the values go; null when they are only checked
        const Shape* shape = nullptr; // what the importer reads of it
        std::string path;             // for messages
        std::string pattern;          // for the shape
        bool array = false;
        size_t count = 0;              // values so far
        std::string key;               // the key of the value to come, in an object
        bool keep = false;             // whether that value is kept
        std::vector<std::string> keys; // of an object, for its duplicates
    };

    std::string Child(const Frame& f) const {
        return f.array ? Index(f.path, f.count) : Join(f.path, varn_text::ShowControls(f.key));
    }

    std::string ChildPattern(const Frame& f) const {
        if (f.array)
            return f.pattern + "[]";
        if (f.pattern == "attributes")
            return "attributes.*";
        return f.pattern.empty() ? f.key : f.pattern + "." + f.key;
    }

    // Where the next value goes: a slot of the kept part, or nowhere.
    In* Slot() {
        if (frames.empty())
            return &root;
        Frame& f = frames.back();
        if (!f.node)
            return nullptr;
        if (f.node->is_array())
            return &f.node->emplace_back();
        return f.keep ? &(*f.node)[f.key] : nullptr;
    }

    bool Value(In&& v) {
        if (!frames.empty() && !Count())
            return false;
        if (In* slot = Slot())
            *slot = std::move(v);
        return true;
    }

    bool Count() {
        Frame& f = frames.back();
        if (f.node && f.node->is_array() && f.count >= kCharacterJsonListLimit)
            return Fail(f.path,
                        "more than " + std::to_string(kCharacterJsonListLimit) + " entries");
        ++f.count;
        return true;
    }

    bool Open(bool object) {
        if (frames.size() >= kDeepestNesting)
            return Fail(frames.back().path.empty() ? "document" : frames.back().path,
                        "nested deeper than " + std::to_string(kDeepestNesting) + " levels");
        std::string path = frames.empty() ? std::string() : Child(frames.back());
        std::string pattern = frames.empty() ? std::string() : ChildPattern(frames.back());
        if (!frames.empty() && !Count())
            return false;
        In* slot = Slot();
        const Shape* shape = slot ? FindShape(pattern) : nullptr;
        // A container where the importer expects another kind of value is kept empty, for
        // the importer to name what it found.
        if (shape && (shape->keys.size() > 0) != object)
            shape = nullptr;
        if (slot)
            *slot = object ? In::object() : In::array();
        Frame& f = frames.emplace_back();
        f.node = shape ? slot : nullptr;
        f.shape = shape;
        f.path = std::move(path);
        f.pattern = std::move(pattern);
        f.array = !object;
        return true;
    }

    bool Close() {
        Frame& f = frames.back();
        if (f.keys.size() > 1) {
            std::sort(f.keys.begin(), f.keys.end());
            auto twice = std::adjacent_find(f.keys.begin(), f.keys.end());
            if (twice != f.keys.end())
                return Fail(Join(f.path, varn_text::ShowControls(*twice)), "duplicate key");
        }
        frames.pop_back();
        return true;
    }

    void Warn(std::string text) {
        if (result.warnings.size() < kMostWarnings)
            result.warnings.push_back(std::move(text));
        else
            ++moreWarnings;
    }

    bool Fail(const std::string& path, const std::string& what) {
        if (error.empty())
            error = (path.empty() ? std::string("document") : path) + ": " + what;
        return false;
    }

    CVARN_JsonImport& result;
    std::vector<Frame> frames;
};

class Importer {
public:
    Importer(CVARN_Character& character, CVARN_JsonImport& result)
        : c(character), rules(character.Rules()), result(result) {}

    void Run(const In& doc) {
        if (!doc.is_object())
            Fail("document", "expected an object, found " + TypeName(doc));
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
        PlainValues(doc, true);
        Attributes(Required(doc, "attributes", ""));
        if (const In* v = Optional(doc, "disciplines"))
            Disciplines(*v);
        if (const In* v = Optional(doc, "talents"))
            Talents(*v);
        if (const In* v = Optional(doc, "skills"))
            Skills(*v);
        if (const In* v = Optional(doc, "spells"))
            Spells(*v);
        if (const In* v = Optional(doc, "equipment"))
            Equipment(*v);
        PlainValues(doc, false);
        // What reading a character file ends with: every derived value up to date.
        c.RecomputeAll();
        RuleWarnings();
    }

private:
    [[noreturn]] static void Fail(const std::string& path, const std::string& what) {
        throw ImportError{path + ": " + what};
    }

    static bool IsWhole(const In& v) {
        if (v.is_number_integer())
            return true;
        if (!v.is_number_float())
            return false;
        const double d = v.get<double>();
        return std::isfinite(d) && std::trunc(d) == d;
    }

    static std::string TypeName(const In& v) {
        if (v.is_number())
            return IsWhole(v) ? "a number" : "a number with a fraction";
        const std::string name = v.type_name();
        if (name == "null")
            return "null";
        return (name == "object" || name == "array") ? "an " + name : "a " + name;
    }

    const In& Required(const In& obj, const char* key, const std::string& path) {
        auto it = obj.find(key);
        if (it == obj.end())
            Fail(Join(path, key), "missing");
        return *it;
    }

    static const In* Optional(const In& obj, const char* key) {
        auto it = obj.find(key);
        return it == obj.end() ? nullptr : &*it;
    }

    // Keys the document reader kept that this object, of its kind, does not take.
    void CheckKeys(const In& obj, const std::string& path,
                   std::initializer_list<const char*> known) {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool found = false;
            for (const char* k : known)
                found = found || it.key() == k;
            if (!found)
                result.warnings.push_back(Join(path, it.key()) + ": unknown key, ignored");
        }
    }

    static const In& Object(const In& v, const std::string& path) {
        if (!v.is_object())
            Fail(path, "expected an object, found " + TypeName(v));
        return v;
    }

    static const In& Array(const In& v, const std::string& path) {
        if (!v.is_array())
            Fail(path, "expected an array, found " + TypeName(v));
        return v;
    }

    static std::string String(const In& v, const std::string& path) {
        if (!v.is_string())
            Fail(path, "expected a string, found " + TypeName(v));
        return v.get<std::string>();
    }

    // A text the user typed, at most `limit` characters long.
    static std::string Text(const In& v, const std::string& path, size_t limit) {
        std::string s = String(v, path);
        size_t characters = 0;
        for (char ch : s)
            characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        if (characters > limit)
            Fail(path, std::to_string(characters) + " characters, more than the " +
                           std::to_string(limit) + " a text may have");
        return s;
    }

    static bool Bool(const In& v, const std::string& path) {
        if (!v.is_boolean())
            Fail(path, "expected true or false, found " + TypeName(v));
        return v.get<bool>();
    }

    // A whole number (10, 10.0, 1e1 alike) within low..high.
    static int64_t Integer(const In& v, const std::string& path, int64_t low, int64_t high) {
        if (!IsWhole(v))
            Fail(path, "expected an integer, found " + TypeName(v));
        const auto outOfRange = [&] {
            Fail(path, v.dump() + " is out of range " + std::to_string(low) + " to " +
                           std::to_string(high));
        };
        if (v.is_number_float()) {
            const double d = v.get<double>();
            if (d < static_cast<double>(low) || d > static_cast<double>(high))
                outOfRange();
            return static_cast<int64_t>(d);
        }
        if (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(high))
            outOfRange();
        const int64_t n = v.get<int64_t>();
        if (n < low || n > high)
            outOfRange();
        return n;
    }

    void Attributes(const In& v) {
        Object(v, "attributes");
        for (const AttributeName& a : kAttributes) {
            const std::string path = Join("attributes", a.name);
            const In& att = Object(Required(v, a.name, "attributes"), path);
            const CVARN_CharAtt& now = c.Att(a.slot);
            // The range the Attributes page offers for the race.
            const int low = std::min(now.minimum, now.maximum);
            const int high = std::max(now.minimum, now.maximum);
            c.SetAttributeBase(a.slot, static_cast<int>(Integer(Required(att, "base", path),
                                                                Join(path, "base"), low, high)));
            if (const In* n = Optional(att, "increases"))
                c.SetAttributeIncreases(
                    a.slot, static_cast<int>(Integer(*n, Join(path, "increases"), 0, 5)));
        }
    }

    void Disciplines(const In& v) {
        Array(v, "disciplines");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("disciplines", i);
            const In& d = Object(v[i], path);
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
            disciplinePaths.push_back(Join(path, "name"));
        }
    }

    void Talents(const In& v) {
        Array(v, "talents");
        std::vector<const CVARN_CharTalent*> seen;
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("talents", i);
            const In& t = Object(v[i], path);
            const std::string name = String(Required(t, "name", path), Join(path, "name"));
            CVARN_CharTalent* talent = c.FindCharTalent(name);
            if (!talent) {
                if (!rules.talentTable.Find(name))
                    Fail(Join(path, "name"), "no talent " + Quoted(name) + " in the data set");
                Fail(Join(path, "name"), "talent " + Quoted(name) +
                                             " is not offered by the character's disciplines "
                                             "at their circles");
            }
            if (std::find(seen.begin(), seen.end(), talent) != seen.end())
                Fail(Join(path, "name"), "talent " + Quoted(name) + " is listed twice");
            seen.push_back(talent);
            const int rank =
                static_cast<int>(Integer(Required(t, "rank", path), Join(path, "rank"), 0, 15));
            c.SetTalentRank(talent, rank);
        }
    }

    void Skills(const In& v) {
        Array(v, "skills");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("skills", i);
            const In& s = Object(v[i], path);
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

    void Spells(const In& v) {
        Array(v, "spells");
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("spells", i);
            const In& s = Object(v[i], path);
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

    void Equipment(const In& v) {
        Array(v, "equipment");
        const EquipmentDatabase& db = rules.equipmentDatabase;
        for (size_t i = 0; i < v.size(); ++i) {
            const std::string path = Index("equipment", i);
            const In& p = Object(v[i], path);
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
                if (const In* r = Optional(p, "threadRank"))
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

    // The plain values of the document itself, or those of the objects below it, as the
    // field table says, each object's keys in the order of the table.
    void PlainValues(const In& doc, bool ofTheDocument) {
        std::string object;
        const In* values = nullptr;
        VisitCharacterFields([&](const CVARN_FieldRow& row, auto member, auto setter) {
            if (!row.input.read || (*row.jsonObject == '\0') != ofTheDocument)
                return;
            if (values == nullptr || object != row.jsonObject) {
                object = row.jsonObject;
                values = ofTheDocument ? &doc : Optional(doc, row.jsonObject);
                if (values != nullptr)
                    Object(*values, object);
            }
            const In* v = values != nullptr ? Optional(*values, row.jsonKey) : nullptr;
            if (v == nullptr)
                return;
            const std::string path = Join(object, row.jsonKey);
            auto& field = c.*member;
            using Value = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<Value, std::string>) {
                field = Text(*v, path, static_cast<size_t>(row.input.high));
            } else if constexpr (std::is_arithmetic_v<Value>) {
                const int64_t n = row.jsonForm == CVARN_JsonForm::Switch
                                      ? (Bool(*v, path) ? 1 : 0)
                                      : Integer(*v, path, row.input.low, row.input.high);
                if constexpr (std::is_null_pointer_v<decltype(setter)>) {
                    // As the System page sets its switches and budget.
                    field = static_cast<Value>(n);
                    c.SetModified();
                } else {
                    (c.*setter)(static_cast<int32_t>(n));
                }
            }
        });
    }

    // What the pages mark with a warning sign: the character is imported, and told.
    void RuleWarnings() {
        for (size_t i = 0; i < c.disciplines.size() && i < disciplinePaths.size(); ++i) {
            const CVARN_DBDiscipline* d = c.disciplines[i]->discipline;
            if (d && !DisciplineOffered(c, *d))
                result.warnings.push_back(disciplinePaths[i] + ": discipline " + Quoted(d->name) +
                                          " is not open to the race " + Quoted(c.raceName));
        }
        if (AttributePointsOver(c))
            result.warnings.push_back("attributes: " + std::to_string(c.AttributePointsUsed()) +
                                      " attribute points used, over the budget of " +
                                      std::to_string(c.attributePoints));
        if (IncreasesOver(c))
            result.warnings.push_back("attributes: " + std::to_string(c.TotalIncreases()) +
                                      " increases, over the " +
                                      std::to_string(AllowedIncreases(c)) + " allowed at circle " +
                                      std::to_string(c.highestCircle));
    }

    CVARN_Character& c;
    const RulesDatabase& rules;
    CVARN_JsonImport& result;
    std::vector<std::string> disciplinePaths; // of c.disciplines, in their order
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

namespace {

std::string TooLarge() {
    return "document: larger than " + std::to_string(kCharacterJsonSizeLimit >> 20) +
           " MiB, the most a character document may be";
}

} // namespace

CVARN_JsonImport CharacterFromJson(CVARN_Character& character, std::string_view text) {
    CVARN_JsonImport result;
    if (text.size() > kCharacterJsonSizeLimit) {
        result.error = TooLarge();
        return result;
    }
    In doc;
    {
        DocumentReader reader(result);
        try {
            In::sax_parse(text.begin(), text.end(), &reader);
        } catch (const std::bad_alloc&) {
            reader.error = "document: not enough memory to read it";
        }
        if (!reader.error.empty()) {
            result.warnings.clear();
            result.error = reader.error;
            return result;
        }
        if (reader.moreWarnings > 0)
            result.warnings.push_back(std::to_string(reader.moreWarnings) +
                                      " more unknown keys, ignored");
        doc = std::move(reader.root);
    }
    try {
        Importer(character, result).Run(doc);
        result.ok = true;
    } catch (const ImportError& e) {
        result.error = e.message;
    } catch (const std::bad_alloc&) {
        result.error = "document: not enough memory to import it";
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

std::string ReadCharacterFileExplained(CVARN_Character& character, const std::string& path,
                                       CVARN_UserPrompt& prompt) {
    const std::string shown = varn_text::ShowControls(path);
    std::string bytes;
    CVARN_FileFailure failure = ReadFileBytes(path, bytes);
    if (failure == CVARN_FileFailure::UnexpectedFormat)
        return shown + " is too large for a character file (more than 256 MiB)";
    if (failure != CVARN_FileFailure::None)
        return FileFailureText(failure, shown);
    const size_t first = bytes.find_first_not_of(" \t\r\n");
    if (IsJsonPath(path) || (first != std::string::npos && bytes[first] == '{'))
        return shown + " is a JSON character, not a character file: \"varn-tool import " + shown +
               " OUT.vrn\" makes one of it";
    failure = ReadCharacter(character, bytes, prompt);
    return failure == CVARN_FileFailure::None ? std::string() : FileFailureText(failure, shown);
}

std::string ReadJsonDocument(const std::string& path, std::string& text) {
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return FileFailureText(FileFailureFromErrno(errno), varn_text::ShowControls(path));
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           text.size() <= kCharacterJsonSizeLimit)
        text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int err = errno;
    std::fclose(file);
    if (text.size() > kCharacterJsonSizeLimit) {
        text.clear();
        return TooLarge();
    }
    if (failed)
        return FileFailureText(FileFailureFromErrno(err), varn_text::ShowControls(path));
    return {};
}
