#include "character/SheetContent.h"

#include "character/Character.h"
#include "character/TextSheet.h"
#include "rules/RulesDatabase.h"

#include <cstdio>
#include <string>

namespace varn_sheet {

namespace {

using Row = std::vector<std::string>;

std::string Num(int64_t v) {
    return std::to_string(v);
}

std::string Signed(int v) {
    return v > 0 ? "+" + std::to_string(v) : std::to_string(v);
}

std::string Weight(float w) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(w));
    return buffer;
}

const char* Mark(bool on) {
    return on ? "Yes" : "";
}

Column Left(const char* title) {
    return {title, Align::Left};
}

Column Right(const char* title) {
    return {title, Align::Right};
}

Column Center(const char* title) {
    return {title, Align::Center};
}

Block Fields(std::vector<Row> rows) {
    Block b;
    b.kind = Block::Kind::Fields;
    b.rows = std::move(rows);
    return b;
}

Block Table(std::string heading, std::vector<Column> columns) {
    Block b;
    b.kind = Block::Kind::Table;
    b.heading = std::move(heading);
    b.columns = std::move(columns);
    return b;
}

// Paragraphs of a typed text: one per line, blank lines dropped, "\r" of Windows line ends
// removed.
Block Paragraphs(const std::string& text, std::string heading = {}) {
    Block b;
    b.kind = Block::Kind::Text;
    b.heading = std::move(heading);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            b.rows.push_back({line});
        start = end + 1;
    }
    return b;
}

class Builder {
public:
    explicit Builder(const CVARN_Character& character)
        : c(character), tables(character.Rules().systemTables) {}

    SheetContent Build() {
        SheetContent s;
        s.title = c.name.empty() ? std::string("Unnamed character") : c.name;
        s.subtitle = std::string("Mistreach character sheet - VARN ") + VARN_SHEET_VERSION;
        s.sections.push_back(Identity());
        s.sections.push_back(Attributes());
        Characteristics(s.sections);
        if (Section t = Talents(); !t.blocks.empty())
            s.sections.push_back(std::move(t));
        if (Section k = Skills(); !k.blocks.empty())
            s.sections.push_back(std::move(k));
        if (Section p = Spells(); !p.blocks.empty())
            s.sections.push_back(std::move(p));
        if (Section e = Equipment(); !e.blocks.empty())
            s.sections.push_back(std::move(e));
        if (Section a = Abilities(); !a.blocks.empty())
            s.sections.push_back(std::move(a));
        if (Block d = Paragraphs(c.description); !d.rows.empty())
            s.sections.push_back({"Description", false, {std::move(d)}});
        return s;
    }

private:
    std::string Dice(int step) const { return tables.GetActionDice(step); }

    std::string DisciplineList() const {
        std::string text;
        for (const auto& d : c.disciplines) {
            if (d->circle <= 0)
                continue;
            if (!text.empty())
                text += ", ";
            text += d->name + " (" + Num(d->circle) + ")";
        }
        return text;
    }

    Section Identity() const {
        return {"Character",
                false,
                {Fields({{"Name", c.name},
                         {"Race", c.raceName},
                         {"Disciplines", DisciplineList()},
                         {"Highest circle", Num(c.highestCircle)}})}};
    }

    Section Attributes() const {
        Block t = Table("", {Left("Attribute"), Right("Value"), Right("Step"), Left("Dice"),
                             Right("Base"), Right("Level")});
        static const std::pair<const char*, CVARN_AttributeSlot> order[] = {
            {"Dexterity", AttDexterity},   {"Strength", AttStrength},   {"Toughness", AttToughness},
            {"Perception", AttPerception}, {"Willpower", AttWillpower}, {"Charisma", AttCharisma}};
        for (auto [label, slot] : order) {
            const CVARN_CharAtt& a = c.Att(slot);
            t.rows.push_back({label, Num(a.Value()), Num(a.Step()), Dice(a.Step()), Num(a.base),
                              Num(a.Increases())});
        }
        return {"Attributes", false, {std::move(t)}};
    }

    void Characteristics(std::vector<Section>& out) const {
        out.push_back({"Defences",
                       true,
                       {Fields({{"Physical", Num(c.physicalDefense)},
                                {"Spell", Num(c.spellDefense)},
                                {"Social", Num(c.socialDefense)}})}});
        out.push_back(
            {"Armours",
             true,
             {Fields({{"Physical", Num(c.physicArmor)}, {"Mystic", Num(c.mysticArmor)}})}});
        out.push_back(
            {"Initiative",
             true,
             {Fields({{"Step", Num(c.initiativeStep)}, {"Dice", Dice(c.initiativeStep)}})}});
        out.push_back({"Damage",
                       true,
                       {Fields({{"Death rating", Num(c.deathRating)},
                                {"Unconsciousness", Num(c.unconsciousnessRating)},
                                {"Wound threshold", Num(c.woundThreshold)},
                                {"Recovery tests", Num(c.recoveryTests)},
                                {"Recovery step", Num(c.recoveryStep)},
                                {"Recovery dice", Dice(c.recoveryStep)}})}});
        std::vector<Row> movement = {{"Land, full", Num(c.landFull) + " yds"},
                                     {"Land, combat", Num(c.landCombat) + " yds"}};
        if (c.race && c.race->canFly) {
            movement.push_back({"Flight, full", Num(c.flyFull) + " yds"});
            movement.push_back({"Flight, combat", Num(c.flyCombat) + " yds"});
        }
        out.push_back({"Movement", true, {Fields(std::move(movement))}});
        out.push_back({"Carrying",
                       true,
                       {Fields({{"Carrying", Num(c.carryingCapacity) + " lbs"},
                                {"Lifting", Num(c.liftingCapacity) + " lbs"}})}});
        out.push_back({"Karma",
                       true,
                       {Fields({{"Step", Num(c.karmaStep)},
                                {"Dice", Dice(c.karmaStep)},
                                {"Cost", Num(c.karmaCost)},
                                {"Maximum", Num(c.karmaMax)},
                                {"Current", Num(c.karmaCurrent)}})}});
        out.push_back({"Legend",
                       true,
                       {Fields({{"Earned", Num(c.legendEarned)},
                                {"Creation", Num(c.creationLegend)},
                                {"Spent", Num(c.SpentLegend())},
                                {"Extra costs", Num(c.extraCosts)},
                                {"Available", Num(c.AvailableLegend())}})}});
    }

    static std::string Granting(const CVARN_CharTalent& t) {
        std::string text;
        for (const CVARN_DBDiscipline* d : t.grantingDisciplines) {
            const CVARN_DiscTalent* offer = d->FindDiscTalent(t.name);
            if (!text.empty())
                text += ", ";
            text += d->name;
            if (offer)
                text += " (" + Num(offer->circle) + ")";
        }
        return text;
    }

    Section Talents() const {
        Block t = Table("", {Left("Talent"), Left("Discipline"), Center("Disc."), Right("Rank"),
                             Left("Formula"), Right("Step"), Left("Dice"), Center("Action"),
                             Center("Karma"), Right("Strain")});
        for (const auto& talent : c.talents) {
            if (talent->rank <= 0)
                continue;
            const CVARN_DBTalent* entry = talent->talent;
            std::string step, dice;
            if (entry && !entry->formula.empty()) {
                int s = talent->ComputeTalentStep(c);
                step = Num(s);
                dice = Dice(s);
            }
            t.rows.push_back({talent->name, Granting(*talent), Mark(IsDisciplineTalent(*talent)),
                              Num(talent->rank), entry ? entry->formula : std::string(), step, dice,
                              Mark(entry && entry->action), Mark(entry && entry->karma),
                              Num(entry ? entry->strain : 0)});
        }
        if (t.rows.empty())
            return {"Talents", false, {}};
        return {"Talents", false, {std::move(t)}};
    }

    Section Skills() const {
        Block t = Table("", {Left("Skill"), Left("Type"), Right("Rank"), Left("Formula"),
                             Right("Step"), Left("Dice"), Center("Action"), Center("Karma")});
        for (const auto& s : c.skills) {
            if (s->rank <= 0 || !s->skill)
                continue;
            const CVARN_DBSkill& entry = *s->skill;
            std::string step, dice;
            if (!entry.formula.empty()) {
                int v = s->ComputeSkillStep();
                step = Num(v);
                dice = Dice(v);
            }
            t.rows.push_back({entry.name, entry.type, Num(s->rank), entry.formula, step, dice,
                              Mark(entry.action), Mark(entry.karma)});
        }
        if (t.rows.empty())
            return {"Skills", false, {}};
        return {"Skills", false, {std::move(t)}};
    }

    Section Spells() const {
        // One table per type of magic, in the order the types first appear.
        Section s{"Spells", false, {}};
        for (const auto& spell : c.spells) {
            if (!spell->spell)
                continue;
            const std::string heading = spell->spellType.empty() ? "Other" : spell->spellType;
            Block* block = nullptr;
            for (Block& b : s.blocks)
                if (b.heading == heading)
                    block = &b;
            if (!block) {
                s.blocks.push_back(Table(heading, {Left("Spell"), Right("Circle"), Right("Threads"),
                                                   Left("Weaving"), Left("Range"), Left("Duration"),
                                                   Left("Effect")}));
                block = &s.blocks.back();
            }
            const CVARN_DBSpell& e = *spell->spell;
            block->rows.push_back({e.name, Num(e.circle), e.threads, e.weaving + "/" + e.reattuning,
                                   e.range, e.duration, e.effect});
        }
        return s;
    }

    static std::string Powers(const CVARN_ThreadItemArmor& entry) {
        std::string text;
        for (const CVARN_ThreadPower& p : entry.powers) {
            if (!text.empty())
                text += "; ";
            text += "Rank " + Num(p.rank) + ":";
            std::string effects;
            auto add = [&](const char* what, int v) {
                if (v != 0)
                    effects += std::string(effects.empty() ? " " : ", ") + what + " " + Signed(v);
            };
            add("physical", p.physicArmor);
            add("mystic", p.mysticArmor);
            add("initiative", p.initiative);
            text += effects.empty() ? " -" : effects;
        }
        return text;
    }

    Section Equipment() const {
        Block weapons = Table("Weapons", {Left("Weapon"), Right("Damage"), Right("Step"),
                                          Left("Dice"), Right("Size"), Right("Weight")});
        Block armours = Table("Armour", {Left("Armour"), Right("Physical"), Right("Mystic"),
                                         Right("Initiative"), Center("Worn"), Right("Weight")});
        Block threads = Table("Thread items",
                              {Left("Item"), Right("Thread"), Right("Physical"), Right("Mystic"),
                               Right("Initiative"), Center("Worn"), Left("Powers")});
        Block shields = Table("Shields", {Left("Shield"), Right("Physical"), Right("Mystic"),
                                          Right("Initiative"), Right("Shatter"), Center("Worn"),
                                          Right("Weight")});
        Block other = Table("Other", {Left("Item"), Left("Kind"), Right("Weight")});
        for (const auto& piece : c.equipment) {
            const CVARN_Item* item = piece->item;
            const std::string weight = item ? Weight(item->weight) : std::string();
            if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece.get())) {
                const auto* e = dynamic_cast<const CVARN_ThreadItemArmor*>(item);
                threads.rows.push_back(
                    {piece->name, e ? Num(thread->threadRank) + " of " + Num(e->threadCount) : "",
                     e ? Num(e->physicArmor) : "", e ? Num(e->mysticArmor) : "",
                     e ? Signed(e->initiative) : "", Mark(thread->worn), e ? Powers(*e) : ""});
            } else if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get())) {
                const auto* e = dynamic_cast<const CVARN_ItemArmor*>(item);
                armours.rows.push_back({piece->name, e ? Num(e->physicArmor) : "",
                                        e ? Num(e->mysticArmor) : "",
                                        e ? Signed(e->initiative) : "", Mark(armor->worn), weight});
            } else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get())) {
                const auto* e = dynamic_cast<const CVARN_ItemShield*>(item);
                shields.rows.push_back({piece->name, e ? Num(e->physicArmor) : "",
                                        e ? Num(e->mysticArmor) : "",
                                        e ? Signed(e->initiative) : "", e ? Num(e->shatter) : "",
                                        Mark(shield->worn), weight});
            } else if (dynamic_cast<const CVARN_CharEquipWeapon*>(piece.get())) {
                const auto* e = dynamic_cast<const CVARN_ItemWeapon*>(item);
                std::string step, dice;
                if (e) {
                    int s = e->DamageStep(c);
                    step = Num(s);
                    dice = Dice(s);
                }
                weapons.rows.push_back({piece->name, e ? Signed(e->damage) : "", step, dice,
                                        e ? Num(e->size) : "", weight});
            } else {
                std::string kind;
                for (const std::string& part : piece->path)
                    kind += (kind.empty() ? "" : " / ") + part;
                other.rows.push_back({piece->name, kind, weight});
            }
        }
        Section s{"Equipment", false, {}};
        for (Block* b : {&weapons, &armours, &threads, &shields, &other})
            if (!b->rows.empty())
                s.blocks.push_back(std::move(*b));
        return s;
    }

    Section Abilities() const {
        Section s{"Abilities", false, {}};
        if (c.race && !c.race->abilities.empty()) {
            Block b;
            b.kind = Block::Kind::Text;
            b.heading = "Race: " + c.race->name;
            // Kept newest first by the reader: the file's order reads better.
            for (auto it = c.race->abilities.rbegin(); it != c.race->abilities.rend(); ++it)
                b.rows.push_back({it->text});
            s.blocks.push_back(std::move(b));
        }
        for (const auto& d : c.disciplines) {
            if (!d->discipline)
                continue;
            Block t =
                Table(d->name + " (" + Num(d->circle) + ")", {Right("Circle"), Left("Ability")});
            for (const CVARN_DiscAbility& a : d->discipline->abilities)
                if (a.circle <= d->circle)
                    t.rows.push_back({Num(a.circle), a.text});
            if (!t.rows.empty())
                s.blocks.push_back(std::move(t));
        }
        return s;
    }

    const CVARN_Character& c;
    const SystemTables& tables;
};

} // namespace

SheetContent BuildSheetContent(const CVARN_Character& character) {
    return Builder(character).Build();
}

} // namespace varn_sheet
