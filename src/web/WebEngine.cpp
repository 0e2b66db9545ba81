#include "web/WebEngine.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"
#include "character/PageFacts.h"
#include "character/TextSheet.h"
#include "character/TextUtf8.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

constexpr int AmountLimit = 999999999;
constexpr int KarmaLimit = 32767;

const char* const AttributeNames[AttCount] = {"Dexterity", "Strength",   "Toughness",
                                              "Charisma",  "Perception", "Willpower"};
// The order of the Attributes page's rows.
const CVARN_AttributeSlot PageOrder[AttCount] = {AttDexterity,  AttStrength,  AttToughness,
                                                 AttPerception, AttWillpower, AttCharisma};

std::string Text(const std::string& s) {
    return varn_text::ToUtf8(s);
}

// Messages the way the desktop's message boxes see them; questions are answered Cancel, as
// varn-tool answers them.
class RecordingPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(Text(text)); }
    bool AskOkCancel(const std::string& text) override {
        messages.push_back(Text(text));
        return false;
    }
    std::vector<std::string> messages;
};

std::string Result(bool ok, const std::vector<std::string>& messages) {
    return Json{{"ok", ok}, {"messages", messages}}.dump();
}

std::string Refusal(const std::string& message) {
    return Json{{"ok", false}, {"message", message}}.dump();
}

// An entry named `name` (UTF-8, as the page has it): by its stored bytes first, then among
// the entries whose bytes are not UTF-8.
template <class Entry, class Find, class Each>
Entry* FindNamed(const std::string& name, Find find, Each each) {
    if (Entry* entry = find(name))
        return entry;
    Entry* found = nullptr;
    each([&](Entry* entry) {
        if (found == nullptr && !varn_text::IsValidUtf8(entry->name) && Text(entry->name) == name)
            found = entry;
    });
    return found;
}

const CVARN_DBSkill* FindSkill(const RulesDatabase& rules, const std::string& name) {
    return FindNamed<const CVARN_DBSkill>(
        name, [&](const std::string& n) { return rules.skillTable.Find(n); },
        [&](auto visit) {
            for (auto* e = rules.skillTable.First(); e; e = rules.skillTable.Next(e))
                visit(e);
        });
}

const CVARN_DBSpell* FindSpell(const RulesDatabase& rules, const std::string& name) {
    return FindNamed<const CVARN_DBSpell>(
        name, [&](const std::string& n) { return rules.spellTable.Find(n); },
        [&](auto visit) {
            for (auto* e = rules.spellTable.First(); e; e = rules.spellTable.Next(e))
                visit(e);
        });
}

template <class List> const CVARN_Item* FindIn(const List& list, const std::string& name) {
    for (const auto& entry : list)
        if (entry->name == name || Text(entry->name) == name)
            return entry.get();
    return nullptr;
}

const CVARN_Item* FindItem(const RulesDatabase& rules, const std::string& category,
                           const std::string& name) {
    const EquipmentDatabase& db = rules.equipmentDatabase;
    if (category == "armors")
        return FindIn(db.armors, name);
    if (category == "threadArmors")
        return FindIn(db.threadArmors, name);
    if (category == "shields")
        return FindIn(db.shields, name);
    if (category == "weapons")
        return FindIn(db.weapons, name);
    if (category == "misc")
        return FindIn(db.misc, name);
    return nullptr;
}

const char* CategoryOf(const CVARN_CharEquip& piece) {
    if (dynamic_cast<const CVARN_CharEquipThreadArmor*>(&piece))
        return "threadArmors";
    if (dynamic_cast<const CVARN_CharEquipArmor*>(&piece))
        return "armors";
    if (dynamic_cast<const CVARN_CharEquipShield*>(&piece))
        return "shields";
    if (dynamic_cast<const CVARN_CharEquipWeapon*>(&piece))
        return "weapons";
    return "misc";
}

Json Rows(const CVARN_ItemDetails& details) {
    Json rows = Json::array();
    for (const CVARN_ItemDetail& row : details)
        rows.push_back(Json::array({row.label, row.value}));
    return rows;
}

Json Strings(const std::vector<std::string>& list) {
    Json out = Json::array();
    for (const std::string& s : list)
        out.push_back(Text(s));
    return out;
}

bool LessFolded(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

const char* const ViewParts[] = {"character", "attributes", "disciplines", "talents",
                                 "skills",    "spells",     "equipment",   "system"};

} // namespace

// The character's document: the web page keeps no per-change state of its own.
class VarnWebEngine::Observer : public CVARN_CharacterObserver {
public:
    void OnCharacterChange(int, CVARN_CharEquip*) override {}
    void SetModifiedFlag() override {}
};

VarnWebEngine::VarnWebEngine() : observer(std::make_unique<Observer>()) {}

VarnWebEngine::~VarnWebEngine() {
    history.clear();
    character.reset(); // before the rules its records point into
    rules.reset();
}

// --- data set

std::string
VarnWebEngine::LoadDataSet(const std::vector<std::pair<std::string, std::string>>& files) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder =
        fs::temp_directory_path(error) / ("varn-data-" + std::to_string(++dataSets));
    fs::remove_all(folder, error);
    fs::create_directories(folder, error);
    if (error)
        return Result(false, {"The data set could not be stored: " + error.message()});
    for (const auto& [name, bytes] : files) {
        // Only the file's own name counts: a folder picked in the browser gives its paths.
        const std::string base = fs::path(name).filename().string();
        if (base.empty() || base == "." || base == "..")
            continue;
        if (WriteFileBytes((folder / base).string(), bytes) != CVARN_FileFailure::None)
            return Result(false, {"The data set could not be stored."});
    }
    std::string result = LoadDataFolder(folder.string() + "/");
    fs::remove_all(folder, error);
    return result;
}

std::string VarnWebEngine::LoadDataFolder(const std::string& folder) {
    RecordingPrompt prompt;
    auto loaded = std::make_unique<RulesDatabase>();
    std::string directory = folder;
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    if (!LoadRulesDatabase(*loaded, directory, prompt))
        return Result(false, prompt.messages);
    history.clear();
    character.reset();
    quotedDisciplineNames.clear();
    rules = std::move(loaded);
    NewCharacter();
    return Result(true, prompt.messages);
}

namespace {

Json RaceEntry(const CVARN_RaceDesc& race) {
    Json abilities = Json::array();
    for (const CVARN_RaceAbility& ability : race.abilities)
        abilities.push_back(Text(ability.text));
    return {{"name", Text(race.name)}, {"abilities", std::move(abilities)}};
}

Json DisciplineEntry(const CVARN_DBDiscipline& d) {
    Json abilities = Json::array();
    for (const CVARN_DiscAbility& a : d.abilities)
        abilities.push_back({{"circle", a.circle}, {"text", Text(a.text)}});
    Json talents = Json::array();
    for (const CVARN_DiscTalent& t : d.talents)
        talents.push_back({{"circle", t.circle},
                           {"name", Text(std::string(t.name))},
                           {"talent", t.talent ? Json(Text(t.talent->name)) : Json()},
                           {"disciplineTalent", t.disciplineTalent != 0}});
    return {{"name", Text(d.name)},
            {"highestCircle", d.highestCircle},
            {"description", Text(d.description)},
            {"abilities", std::move(abilities)},
            {"talents", std::move(talents)}};
}

Json TalentEntry(const CVARN_DBTalent& t) {
    return {{"name", Text(t.name)},  {"formula", Text(t.formula)},
            {"strain", t.strain},    {"action", t.action != 0},
            {"karma", t.karma != 0}, {"description", Text(t.description)}};
}

Json SkillEntry(const CVARN_DBSkill& s) {
    return {{"name", Text(s.name)},
            {"type", Text(s.type)},
            {"formula", Text(s.formula)},
            {"strain", s.strain},
            {"action", s.action != 0},
            {"karma", s.karma != 0},
            {"description", Text(s.description)}};
}

Json SpellEntry(const CVARN_DBSpell& s) {
    return {{"name", Text(s.name)},
            {"circle", s.circle},
            {"types", Strings(s.types)},
            {"threads", Text(s.threads)},
            {"weaving", Text(s.weaving)},
            {"reattuning", Text(s.reattuning)},
            {"range", Text(s.range)},
            {"difficulty", Text(s.difficulty)},
            {"duration", Text(s.duration)},
            {"effect", Text(s.effect)},
            {"description", Text(s.description)}};
}

// Races as the race list shows them: sorted by name, ignoring case.
std::vector<const CVARN_RaceDesc*> SortedRaces(const RulesDatabase& rules) {
    std::vector<const CVARN_RaceDesc*> sorted;
    for (const auto& race : rules.raceTable.races)
        sorted.push_back(race.get());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](auto* a, auto* b) { return LessFolded(a->name, b->name); });
    return sorted;
}

// Every piece of equipment with its category, in the page's order of categories.
template <class Visit> void ForEachItem(const RulesDatabase& rules, Visit visit) {
    const EquipmentDatabase& db = rules.equipmentDatabase;
    for (const auto& item : db.armors)
        visit("armors", *item);
    for (const auto& item : db.shields)
        visit("shields", *item);
    for (const auto& item : db.weapons)
        visit("weapons", *item);
    for (const auto& item : db.threadArmors)
        visit("threadArmors", *item);
    for (const auto& item : db.misc)
        visit("misc", *item);
}

// Writes JSON text straight into a string, as nlohmann's dump() writes it: a large data
// set's lists are long, and building them as JSON values first takes many times as long.
class JsonWriter {
public:
    JsonWriter& Open(char bracket) {
        Separate();
        out += bracket;
        first = true;
        return *this;
    }
    JsonWriter& Close(char bracket) {
        out += bracket;
        first = false;
        return *this;
    }
    JsonWriter& Key(const char* key) {
        Separate();
        out += '"';
        out += key;
        out += "\":";
        first = true;
        return *this;
    }
    // A text of the data set (converted to UTF-8 first).
    JsonWriter& String(const std::string& raw) {
        Separate();
        Quote(Text(raw));
        return *this;
    }
    JsonWriter& Number(long value) {
        Separate();
        out += std::to_string(value);
        return *this;
    }
    JsonWriter& Strings(const std::vector<std::string>& list) {
        Open('[');
        for (const std::string& s : list)
            String(s);
        return Close(']');
    }
    std::string out;

private:
    void Separate() {
        if (!first)
            out += ',';
        first = false;
    }
    void Quote(const std::string& text) {
        out += '"';
        for (char c : text) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;
                }
            }
        }
        out += '"';
    }
    bool first = true;
};

} // namespace

std::string VarnWebEngine::Catalog() const {
    if (!rules)
        return "{}";
    Json all = Json::object();
    for (const char* part : {"races", "disciplines", "talents", "skills", "spells", "equipment"})
        all[part] = CatalogList(part);
    return all.dump();
}

std::string VarnWebEngine::CatalogPart(const std::string& part) const {
    if (!rules)
        return "[]";
    JsonWriter w;
    w.Open('[');
    if (part == "races") {
        for (const CVARN_RaceDesc* race : SortedRaces(*rules)) {
            w.Open('{').Key("name").String(race->name).Key("abilities").Open('[');
            for (const CVARN_RaceAbility& ability : race->abilities)
                w.String(ability.text);
            w.Close(']').Close('}');
        }
    } else if (part == "disciplines") {
        for (const auto& d : rules->disciplineList.disciplines)
            w.Open('{')
                .Key("name")
                .String(d->name)
                .Key("highestCircle")
                .Number(d->highestCircle)
                .Close('}');
    } else if (part == "talents") {
        const TalentTable& table = rules->talentTable;
        for (auto* t = table.First(); t != nullptr; t = table.Next(t))
            w.Open('{').Key("name").String(t->name).Close('}');
    } else if (part == "skills") {
        const SkillTable& table = rules->skillTable;
        for (auto* s = table.First(); s != nullptr; s = table.Next(s))
            w.Open('{').Key("name").String(s->name).Key("type").String(s->type).Close('}');
    } else if (part == "spells") {
        const SpellTable& table = rules->spellTable;
        for (auto* s = table.First(); s != nullptr; s = table.Next(s))
            w.Open('{')
                .Key("name")
                .String(s->name)
                .Key("circle")
                .Number(s->circle)
                .Key("types")
                .Strings(s->types)
                .Close('}');
    } else if (part == "equipment") {
        ForEachItem(*rules, [&](const char* category, const CVARN_Item& item) {
            w.Open('{')
                .Key("category")
                .String(category)
                .Key("name")
                .String(item.name)
                .Key("path")
                .Strings(item.path)
                .Close('}');
        });
    }
    w.Close(']');
    return std::move(w.out);
}

Json VarnWebEngine::CatalogList(const std::string& part) const {
    Json list = Json::array();
    if (part == "races") {
        for (const CVARN_RaceDesc* race : SortedRaces(*rules))
            list.push_back(RaceEntry(*race));
    } else if (part == "disciplines") {
        for (const auto& d : rules->disciplineList.disciplines)
            list.push_back(DisciplineEntry(*d));
    } else if (part == "talents") {
        const TalentTable& table = rules->talentTable;
        for (auto* t = table.First(); t != nullptr; t = table.Next(t))
            list.push_back(TalentEntry(*t));
    } else if (part == "skills") {
        const SkillTable& table = rules->skillTable;
        for (auto* s = table.First(); s != nullptr; s = table.Next(s))
            list.push_back(SkillEntry(*s));
    } else if (part == "spells") {
        const SpellTable& table = rules->spellTable;
        for (auto* s = table.First(); s != nullptr; s = table.Next(s))
            list.push_back(SpellEntry(*s));
    } else if (part == "equipment") {
        ForEachItem(*rules, [&](const char* category, const CVARN_Item& item) {
            list.push_back(
                {{"category", category}, {"name", Text(item.name)}, {"path", Strings(item.path)}});
        });
    }
    return list;
}

std::string VarnWebEngine::Entry(const std::string& kind, const std::string& name) const {
    if (!rules)
        return "null";
    Json entry;
    if (kind == "discipline") {
        for (const auto& d : rules->disciplineList.disciplines)
            if (d->name == name || Text(d->name) == name) {
                entry = DisciplineEntry(*d);
                break;
            }
    } else if (kind == "talent") {
        const TalentTable& table = rules->talentTable;
        const CVARN_DBTalent* found = table.Find(name);
        for (auto* t = table.First(); found == nullptr && t != nullptr; t = table.Next(t))
            if (Text(t->name) == name)
                found = t;
        if (found != nullptr)
            entry = TalentEntry(*found);
    } else if (kind == "skill") {
        if (const CVARN_DBSkill* skill = FindSkill(*rules, name))
            entry = SkillEntry(*skill);
    } else if (kind == "spell") {
        if (const CVARN_DBSpell* spell = FindSpell(*rules, name))
            entry = SpellEntry(*spell);
    }
    return entry.dump();
}

std::string VarnWebEngine::ItemDetails(const std::string& category, const std::string& item) const {
    if (!character)
        return "[]";
    return Rows(::ItemDetails(*character, FindItem(*rules, category, item))).dump();
}

std::string VarnWebEngine::ThreadWeavingWarning(const std::string& spellType) const {
    return character ? Text(::ThreadWeavingWarning(*character, spellType)) : std::string();
}

// --- files

void VarnWebEngine::NewCharacter() {
    if (!rules)
        return;
    history.clear();
    character = std::make_unique<CVARN_Character>(*rules);
    character->document = observer.get();
    const auto& races = rules->raceTable.races;
    if (!races.empty() && races.front())
        character->SetRaceByName(races.front()->name);
    ResetHistory();
}

std::string VarnWebEngine::OpenVrn(std::string_view bytes, const std::string& fileName) {
    if (!rules)
        return Result(false, {"No data set is loaded."});
    RecordingPrompt prompt;
    auto opened = std::make_unique<CVARN_Character>(*rules);
    opened->document = observer.get();
    const CVARN_FileFailure failure = ReadCharacter(*opened, bytes, prompt);
    if (failure != CVARN_FileFailure::None) {
        prompt.messages.push_back(Text(FileFailureText(failure, fileName)));
        return Result(false, prompt.messages);
    }
    history.clear();
    character = std::move(opened);
    ResetHistory();
    return Result(true, prompt.messages);
}

std::string VarnWebEngine::SaveVrn() const {
    return character ? WriteCharacter(*character) : std::string();
}

std::string VarnWebEngine::ImportJson(std::string_view text) {
    if (!rules)
        return Result(false, {"No data set is loaded."});
    auto imported = std::make_unique<CVARN_Character>(*rules);
    imported->document = observer.get();
    const CVARN_JsonImport result = CharacterFromJson(*imported, text);
    if (!result.ok)
        return Result(false, {result.error});
    history.clear();
    character = std::move(imported);
    ResetHistory();
    return Json{{"ok", true}, {"messages", Json::array()}, {"warnings", result.warnings}}.dump();
}

std::string VarnWebEngine::ExportJson() const {
    return character ? CharacterToJson(*character) : std::string();
}

std::string VarnWebEngine::TextSheet() const {
    if (!character)
        return {};
    std::string sheet;
    BuildTextSheet(*character, sheet);
    return WithCrLf(sheet);
}

std::string VarnWebEngine::HtmlSheet() const {
    return character ? BuildHtmlSheet(*character) : std::string();
}

// --- the character as the pages show it

std::string VarnWebEngine::View() {
    if (!character)
        return "{}";
    std::string view = ViewPart("header");
    view.pop_back();
    for (const char* part : ViewParts) {
        view += ",\"";
        view += part;
        view += "\":";
        view += ViewPart(part);
    }
    return view + '}';
}

std::string VarnWebEngine::ViewPart(const std::string& part) {
    if (!character)
        return "null";
    if (part == "header")
        return Json{{"modified", IsModified()}, {"undoText", UndoText()}, {"redoText", RedoText()}}
            .dump();
    if (part == "disciplines")
        return DisciplinesText();
    return ViewSection(part).dump();
}

// The Discipline page's list, written straight to text: a large data set offers thousands of
// disciplines and the list is read again after every change on that page.
std::string VarnWebEngine::DisciplinesText() {
    const CVARN_Character& c = *character;
    const auto& all = c.Rules().disciplineList.disciplines;
    if (quotedDisciplineNames.size() != all.size()) {
        quotedDisciplineNames.clear();
        for (const auto& d : all)
            quotedDisciplineNames.push_back(Json(Text(d->name)).dump());
    }
    std::string out = "{\"list\":[";
    for (size_t i = 0; i < all.size(); ++i) {
        const CVARN_DBDiscipline& d = *all[i];
        if (!DisciplineOffered(c, d))
            continue;
        const CVARN_CharDisc* record = c.FindCharDisc(&d);
        const int circle = record != nullptr ? record->circle : 0;
        const std::string& name = quotedDisciplineNames[i];
        if (out.back() != '[')
            out += ',';
        out += "{\"name\":";
        out += name;
        out += ",\"label\":";
        out +=
            circle >= 1 ? Json(Text(d.name) + "   (" + std::to_string(circle) + ")").dump() : name;
        out += ",\"circle\":" + std::to_string(circle);
        out += ",\"highestCircle\":" + std::to_string(d.highestCircle) + "}";
    }
    return out + "]}";
}

// One page's part of the view: a page reads only its own, so only the shown page's is built
// after a change.
Json VarnWebEngine::ViewSection(const std::string& part) {
    CVARN_Character& c = *character;
    if (part == "character")
        return {{"name", Text(c.name)},
                {"description", Text(c.description)},
                {"creation", c.creationLegend},
                {"earned", c.legendEarned},
                {"extra", c.extraCosts},
                {"spent", c.SpentLegend()},
                {"available", c.AvailableLegend()},
                {"availableWarning", LegendOverspent(c)}};
    if (part == "attributes") {
        Json attributes = Json::array();
        for (CVARN_AttributeSlot slot : PageOrder) {
            const CVARN_CharAtt& att = c.Att(slot);
            char modifier[16];
            std::snprintf(modifier, sizeof modifier, "%+d", att.raceModifier);
            attributes.push_back({{"name", AttributeNames[slot]},
                                  {"base", att.base},
                                  {"min", att.minimum},
                                  {"max", att.maximum},
                                  {"modifier", modifier},
                                  {"increases", att.increases},
                                  {"value", att.value},
                                  {"step", att.step},
                                  {"cost", att.cost}});
        }
        Json raceAbilities = Json::array();
        if (c.race != nullptr)
            for (const CVARN_RaceAbility& ability : c.race->abilities)
                raceAbilities.push_back(Text(ability.text));

        const std::string dice = c.Rules().systemTables.GetActionDice(c.karmaStep);
        return {{"race", c.race != nullptr ? Text(c.raceName) : ""},
                {"raceAbilities", std::move(raceAbilities)},
                {"attributes", std::move(attributes)},
                {"points", AttributePointsText(c)},
                {"pointsWarning", AttributePointsOver(c)},
                {"increases", IncreasesText(c)},
                {"increasesWarning", IncreasesOver(c)},
                {"physicalDefense", c.physicalDefense},
                {"spellDefense", c.spellDefense},
                {"socialDefense", c.socialDefense},
                {"physicalArmor", c.physicArmor},
                {"mysticArmor", c.mysticArmor},
                {"land", LandMovementText(c)},
                {"fly", FlyMovementText(c)},
                {"death", c.deathRating},
                {"unconsciousness", c.unconsciousnessRating},
                {"wound", c.woundThreshold},
                {"recoveryTests", RecoveryTestsText(c)},
                {"recoveryDice", Text(StepDiceText(c, c.recoveryStep))},
                {"initiative", Text(StepDiceText(c, c.initiativeStep))},
                {"carry", std::to_string(c.carryingCapacity) + " Lbs"},
                {"lift", std::to_string(c.liftingCapacity) + " Lbs"},
                {"karma",
                 {{"max", c.karmaMax},
                  {"bought", c.karmaBought},
                  {"spent", c.karmaSpent},
                  {"cost", c.karmaCost},
                  {"dice", Text(dice)},
                  {"available", c.karmaCurrent},
                  {"warning", KarmaOutOfRange(c)}}}};
    }
    if (part == "talents") {
        Json talents = Json::array();
        for (const auto& owned : c.talents) {
            CVARN_CharTalent& t = *owned;
            t.ComputeTalentStep(c); // as the Talents page does when it lists them
            talents.push_back({{"name", Text(t.name)},
                               {"rank", t.rank},
                               {"discipline", Text(t.disciplinesText)},
                               {"formula", t.talent != nullptr ? Text(t.talent->formula) : ""},
                               {"step", t.step},
                               {"dimmed", t.rank == 0}});
        }
        std::string check = c.CheckCircleRequirements();
        for (size_t at; (at = check.find("\r\n")) != std::string::npos;)
            check.erase(at, 1);

        return {{"list", std::move(talents)}, {"check", Text(check)}};
    }
    if (part == "skills") {
        Json skills = Json::array();
        for (const auto& record : c.skills) {
            const CVARN_DBSkill* skill = record->skill;
            skills.push_back({{"name", skill ? Text(skill->name) : ""},
                              {"type", skill ? Text(skill->type) : ""},
                              {"rank", record->rank},
                              {"formula", skill ? Text(skill->formula) : ""},
                              {"step", record->ComputeSkillStep()}});
        }

        return {{"list", std::move(skills)}};
    }
    if (part == "spells") {
        Json spells = Json::array();
        for (const auto& record : c.spells) {
            const CVARN_DBSpell* spell = record->spell;
            spells.push_back({{"name", spell ? Text(spell->name) : ""},
                              {"type", Text(record->spellType)},
                              {"circle", spell ? spell->circle : 0}});
        }

        return {{"list", std::move(spells)}};
    }
    if (part == "equipment") {
        Json owned = Json::array();
        for (size_t i = 0; i < c.equipment.size(); ++i) {
            const CVARN_CharEquip& piece = *c.equipment[i];
            Json worn;
            if (const auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(&piece))
                worn = armor->worn != 0;
            else if (const auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(&piece))
                worn = shield->worn != 0;
            Json threadRank;
            int threadMax = 0;
            if (const auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(&piece)) {
                threadRank = thread->threadRank;
                if (const auto* entry = dynamic_cast<const CVARN_ThreadItemArmor*>(piece.item))
                    threadMax = entry->threadCount;
            }
            owned.push_back({{"index", i},
                             {"category", CategoryOf(piece)},
                             {"name", Text(piece.name)},
                             {"path", Strings(piece.path)},
                             {"worn", std::move(worn)},
                             {"threadRank", std::move(threadRank)},
                             {"threadMax", threadMax},
                             {"rows", Rows(::ItemDetails(c, piece.item, &piece))}});
        }
        std::string wornWarning = WornArmorsWarning(c);
        for (size_t at; (at = wornWarning.find("\r\n")) != std::string::npos;)
            wornWarning.erase(at, 1);

        return {{"owned", std::move(owned)}, {"warning", std::move(wornWarning)}};
    }
    if (part == "system")
        return {{"raceDisciplineCompatibility", c.raceDisciplineCompatibility != 0},
                {"attributesCost", c.attributesCost != 0},
                {"attributeIncrease", c.attributeIncrease != 0},
                {"attributesMinMax", c.attributesMinMax != 0},
                {"circleAdvancement", c.circleAdvancement != 0},
                {"armorsWornLimit", c.armorsWornLimit != 0},
                {"attributePoints", c.attributePoints},
                {"attributePointsEnabled", c.attributesCost != 0}};
    return nullptr;
}

// --- operations

std::string VarnWebEngine::Apply(std::string_view operation) {
    if (!character)
        return Refusal("No data set is loaded.");
    std::string result = ApplyOperation(operation);
    character->RefreshSteps();
    RecordStep();
    return result;
}

std::string VarnWebEngine::ApplyOperation(std::string_view operation) {
    const Json op = Json::parse(operation, nullptr, false);
    if (!op.is_object() || !op.contains("op") || !op["op"].is_string())
        return Refusal("Not an operation: " + std::string(operation));
    const std::string name = op["op"];
    auto text = [&](const char* key) -> std::string {
        const auto it = op.find(key);
        return it != op.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    auto number = [&](const char* key, long long low, long long high) -> int {
        const auto it = op.find(key);
        long long v = it != op.end() && it->is_number() ? it->get<long long>() : 0;
        return static_cast<int>(std::clamp(v, low, high));
    };
    auto flag = [&](const char* key) {
        const auto it = op.find(key);
        return it != op.end() && it->is_boolean() && it->get<bool>();
    };
    CVARN_Character& c = *character;
    const Json ok = {{"ok", true}};

    auto attribute = [&]() -> int {
        const std::string wanted = text("attribute");
        for (int a = 0; a < AttCount; ++a)
            if (wanted == AttributeNames[a])
                return a;
        return -1;
    };
    auto piece = [&]() -> CVARN_CharEquip* {
        const int index = number("index", -1, 1LL << 30);
        return index >= 0 && static_cast<size_t>(index) < c.equipment.size()
                   ? c.equipment[static_cast<size_t>(index)].get()
                   : nullptr;
    };

    if (name == "name" || name == "description") {
        (name == "name" ? c.name : c.description) = text("value");
        c.SetModified();
    } else if (name == "legend") {
        const std::string field = text("field");
        const int amount = number("value", -AmountLimit, AmountLimit);
        if (field == "creation")
            c.SetCreationLegend(amount);
        else if (field == "earned")
            c.SetLegendEarned(amount);
        else if (field == "extra")
            c.SetExtraCosts(amount);
        else
            return Refusal("No legend field \"" + field + "\".");
        c.SetModified();
        c.Notify(HintLegend);
    } else if (name == "race") {
        const std::string wanted = text("name");
        const CVARN_RaceDesc* race = nullptr;
        for (const auto& r : rules->raceTable.races)
            if (race == nullptr && (r->name == wanted || Text(r->name) == wanted))
                race = r.get();
        if (race == nullptr || !c.SetRaceByName(race->name))
            return Refusal("No race \"" + wanted + "\" in the data set.");
    } else if (name == "attributeBase" || name == "attributeIncreases") {
        const int a = attribute();
        if (a < 0)
            return Refusal("No attribute \"" + text("attribute") + "\".");
        const auto slot = static_cast<CVARN_AttributeSlot>(a);
        if (name == "attributeBase")
            c.SetAttributeBase(slot, number("value", c.Att(slot).minimum, c.Att(slot).maximum));
        else
            c.SetAttributeIncreases(slot, number("value", 0, 5));
    } else if (name == "karmaBought" || name == "karmaSpent") {
        const int amount = number("value", 0, KarmaLimit);
        if (name == "karmaBought")
            c.SetKarmaBought(amount);
        else
            c.SetKarmaSpent(amount);
        c.Notify(HintKarma);
    } else if (name == "circle") {
        const std::string wanted = text("discipline");
        const CVARN_DBDiscipline* discipline = nullptr;
        for (const CVARN_DBDiscipline* d : OfferedDisciplines(c))
            if (discipline == nullptr && (d->name == wanted || Text(d->name) == wanted))
                discipline = d;
        if (discipline == nullptr)
            return Refusal("No discipline \"" + wanted + "\" among the available disciplines.");
        c.SetDisciplineCircle(discipline, number("circle", 0, discipline->highestCircle));
    } else if (name == "talentRank") {
        const std::string wanted = text("talent");
        CVARN_CharTalent* talent = c.FindCharTalent(wanted);
        for (const auto& t : c.talents)
            if (talent == nullptr && Text(t->name) == wanted)
                talent = t.get();
        if (talent == nullptr)
            return Refusal("The character has no talent \"" + wanted + "\".");
        c.SetTalentRank(talent, number("rank", 0, 15));
    } else if (name == "skillRank") {
        const CVARN_DBSkill* skill = FindSkill(*rules, text("skill"));
        if (skill == nullptr)
            return Refusal("No skill \"" + text("skill") + "\" in the data set.");
        c.SetSkillRank(skill, number("rank", 0, 10));
    } else if (name == "learnSpell" || name == "forgetSpell") {
        const CVARN_DBSpell* spell = FindSpell(*rules, text("spell"));
        if (spell == nullptr)
            return Refusal("No spell \"" + text("spell") + "\" in the data set.");
        CVARN_PCSpell* known = c.FindPCSpell(spell);
        if (name == "forgetSpell") {
            if (known == nullptr)
                return Refusal("The character does not know \"" + text("spell") + "\".");
            c.RemoveSpell(known);
        } else {
            if (known != nullptr)
                return Refusal("The character already knows \"" + text("spell") + "\".");
            const std::string type = text("type");
            const auto it = std::find_if(spell->types.begin(), spell->types.end(),
                                         [&](const std::string& t) { return Text(t) == type; });
            if (it == spell->types.end())
                return Refusal("\"" + text("spell") + "\" is no spell of " + type + ".");
            c.AddSpell(spell, *it);
        }
    } else if (name == "buy") {
        const CVARN_Item* item = FindItem(*rules, text("category"), text("item"));
        if (item == nullptr)
            return Refusal("No item \"" + text("item") + "\" among the " + text("category") + ".");
        c.AddEquipment(item);
    } else if (name == "remove" || name == "wear" || name == "threadRank") {
        CVARN_CharEquip* owned = piece();
        if (owned == nullptr)
            return Refusal("The character has no piece of equipment at that index.");
        if (name == "remove") {
            c.RemoveEquipment(owned);
        } else if (name == "wear") {
            if (!SetPieceWorn(c, *owned, flag("worn")))
                return Refusal("Only armors and shields can be worn.");
        } else {
            const auto* entry = dynamic_cast<const CVARN_ThreadItemArmor*>(owned->item);
            if (!SetPieceThreadRank(c, *owned,
                                    number("rank", 0, entry != nullptr ? entry->threadCount : 0)))
                return Refusal("Only thread items have thread ranks.");
        }
    } else if (name == "option") {
        const std::string option = text("option");
        const int32_t on = flag("value") ? 1 : 0;
        int hint = 0;
        if (option == "raceDisciplineCompatibility") {
            c.raceDisciplineCompatibility = on;
            hint = HintRaceDisciplineCompatibility;
        } else if (option == "attributesCost") {
            c.attributesCost = on;
            hint = HintAttributesCost;
        } else if (option == "attributeIncrease") {
            c.attributeIncrease = on;
            hint = HintAttributeIncrease;
        } else if (option == "attributesMinMax") {
            c.attributesMinMax = on;
        } else if (option == "circleAdvancement") {
            c.circleAdvancement = on;
        } else if (option == "armorsWornLimit") {
            c.armorsWornLimit = on;
        } else {
            return Refusal("No option \"" + option + "\".");
        }
        if (hint != 0)
            c.Notify(hint);
        c.SetModified();
    } else if (name == "attributePoints") {
        c.attributePoints = static_cast<int16_t>(number("value", 1, 999));
        c.Notify(HintAttributePoints);
        c.SetModified();
    } else {
        return Refusal("No operation \"" + name + "\".");
    }
    return ok.dump();
}

// --- undo

void VarnWebEngine::ResetHistory() {
    character->RefreshSteps();
    history.clear();
    history.push_back(CVARN_CharacterSnapshot::Take(*character, nullptr));
    current = 0;
    saved = 0;
}

void VarnWebEngine::RecordStep() {
    CVARN_CharacterSnapshot::Ptr now =
        CVARN_CharacterSnapshot::Take(*character, history[current].get());
    if (*now == *history[current])
        return;
    history.resize(current + 1); // a new change drops what could be redone
    if (saved != std::string::npos && saved > current)
        saved = std::string::npos;
    history.push_back(std::move(now));
    ++current;
    if (history.size() > UndoLimit + 1) {
        history.erase(history.begin());
        --current;
        saved = saved == 0 || saved == std::string::npos ? std::string::npos : saved - 1;
    }
}

void VarnWebEngine::Restore(size_t index) {
    history[index]->RestoreInto(*character);
    current = index;
}

bool VarnWebEngine::Undo() {
    if (!character || current == 0)
        return false;
    Restore(current - 1);
    return true;
}

bool VarnWebEngine::Redo() {
    if (!character || current + 1 >= history.size())
        return false;
    Restore(current + 1);
    return true;
}

std::string VarnWebEngine::UndoText() const {
    if (current == 0 || history.empty())
        return {};
    return "Undo " +
           CVARN_CharacterSnapshot::DescribeChange(*history[current - 1], *history[current]);
}

std::string VarnWebEngine::RedoText() const {
    if (current + 1 >= history.size())
        return {};
    return "Redo " +
           CVARN_CharacterSnapshot::DescribeChange(*history[current], *history[current + 1]);
}

bool VarnWebEngine::IsModified() const {
    return character != nullptr && current != saved;
}

void VarnWebEngine::MarkSaved() {
    saved = current;
}
