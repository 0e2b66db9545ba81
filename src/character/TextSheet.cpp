// The plain-text character sheet: the text export and the print window show this text.

#include "character/TextSheet.h"

#include "character/Character.h"
#include "rules/RulesDatabase.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

// Appends numbers through a printf format. Texts from the character or the rules are
// never passed through a format: a "%" in a name must print as itself.
void AppendF(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void AppendF(std::string& out, const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0)
        out.append(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
}

void Blanks(std::string& out, long n) {
    if (n > 0)
        out.append(static_cast<size_t>(n), ' ');
}

const char* YesNo(bool flag) {
    return flag ? "Yes" : " No";
}

class SheetBuilder {
public:
    SheetBuilder(const CVARN_Character& character, std::string& out)
        : c(character), tables(character.Rules().systemTables), out(out) {}

    void Build() {
        out.clear();
        AppendF(out, "Mistreach Character Generator %s\n\n", VARN_SHEET_VERSION);
        out += "NAME       : " + c.name + "\n";
        out += "RACE       : " + c.raceName + "\n\n";
        if (!c.description.empty())
            out += c.description + "\n\n";
        Disciplines();
        AppendF(out, " TOTAL LEGEND     : %d\n", c.legendEarned);
        AppendF(out, " LEGEND AVAILABLE : %lld\n", static_cast<long long>(c.AvailableLegend()));
        out += "\n\nATTRIBUTES\n";
        Attributes();
        out += "\n\nCHARACTERISTICS\n\n";
        Characteristics();
        out += "\n\nRACE ABILITIES\n";
        if (c.race)
            for (const CVARN_RaceAbility& ability : c.race->abilities)
                out += "   " + ability.text + "\n";
        out += "\n\nDISCIPLINE ABILITIES\n";
        DisciplineAbilities();
        out += "\n\n";
        Talents();
        Skills();
        Spells();
        Equipment();
    }

private:
    std::string Dice(int step) const { return tables.GetActionDice(step); }

    void Disciplines() {
        out += "DISCIPLINE : ";
        for (size_t i = 0; i < c.disciplines.size(); ++i) {
            const CVARN_CharDisc& d = *c.disciplines[i];
            if (d.circle == 0)
                continue;
            out += d.discipline ? d.discipline->name : d.name;
            AppendF(out, " (%d)", d.circle);
            // A separator follows every item but the list's last record, even when the
            // records after it print nothing.
            if (i + 1 != c.disciplines.size())
                out += ", ";
        }
        out += "\n\n";
    }

    void Attribute(const char* label, CVARN_AttributeSlot slot) {
        const CVARN_CharAtt& a = c.Att(slot);
        AppendF(out, "   %s (%2d) : %2d / ", label, a.Value(), a.Step());
        out += Dice(a.Step()) + "\n";
    }

    void Attributes() {
        // The sheet's order, not the order the character keeps them in.
        Attribute("Dexterity ", AttDexterity);
        Attribute("Strength  ", AttStrength);
        Attribute("Toughness ", AttToughness);
        Attribute("Perception", AttPerception);
        Attribute("Willpower ", AttWillpower);
        Attribute("Charisma  ", AttCharisma);
    }

    void Characteristics() {
        AppendF(out, "   Initiative     Step     :   %d\n", c.initiativeStep);
        out += "                  Dice     : " + Dice(c.initiativeStep) + "\n\n";
        AppendF(out, "   Defenses       Physical :  %2d\n", c.physicalDefense);
        AppendF(out, "                  Spell    :  %2d\n", c.spellDefense);
        AppendF(out, "                  Social   :  %2d\n\n", c.socialDefense);
        AppendF(out, "   Armors         Physic   :   %2d\n", c.physicArmor);
        AppendF(out, "                  Mystic   :   %2d\n\n", c.mysticArmor);
        AppendF(out, "   Damage         Death Rating :  %3d\n", c.deathRating);
        AppendF(out, "                  Wound Thres. :   %2d\n", c.woundThreshold);
        AppendF(out, "                  Unc. Rating  :  %3d\n\n", c.unconsciousnessRating);
        AppendF(out, "                  Nb tests     :    %d\n", c.recoveryTests);
        out += "                  Recover step : " + Dice(c.recoveryStep);
        AppendF(out, " (%d)\n\n", c.recoveryStep);
        AppendF(out, "   Capacity       Carrying     : %4d lbs\n", c.carryingCapacity);
        AppendF(out, "                  Lifting      : %4d lbs\n\n", c.liftingCapacity);
        out += "   Karma          Dice     : " + Dice(c.karmaStep) + "\n";
        AppendF(out, "                  Cost     : %2d\n", c.karmaCost);
        AppendF(out, "                  Max.     : %2d\n", c.karmaMax);
        AppendF(out, "                  Current  : %2d\n\n", c.karmaCurrent);
        AppendF(out, "   Movement (Land) Full     : %3d yds/round\n", c.landFull);
        AppendF(out, "                   Combat   : %3d yds/round\n", c.landCombat);
        if (c.race && c.race->canFly) {
            AppendF(out, "            (Fly)  Full     : %3d yds/round\n", c.flyFull);
            AppendF(out, "                   Combat   : %3d yds/round\n", c.flyCombat);
        }
    }

    void DisciplineAbilities() {
        for (const auto& d : c.disciplines) {
            out += "   " + d->name + "\n";
            if (!d->discipline)
                continue;
            for (const CVARN_DiscAbility& ability : d->discipline->abilities) {
                if (ability.circle > d->circle)
                    continue;
                AppendF(out, "      (%2d)  ", ability.circle);
                out += ability.text + "\n";
            }
        }
    }

    void Talents() {
        bool anyRanked = std::any_of(c.talents.begin(), c.talents.end(),
                                     [](const auto& t) { return t->rank > 0; });
        if (!anyRanked)
            return;
        size_t width = 0;
        for (const auto& t : c.talents)
            width = std::max(width, t->name.size());
        out += "TALENTS";
        Blanks(out, static_cast<long>(width));
        out += "Rank   Disc.  Karma  Action  Strain  Dice\n";
        for (const auto& t : c.talents) {
            if (t->rank <= 0)
                continue;
            out += "   " + t->name;
            Blanks(out, static_cast<long>(width + 3) - static_cast<long>(t->name.size()));
            const CVARN_DBTalent* entry = t->talent;
            bool karma = entry && entry->karma;
            bool action = entry && entry->action;
            int strain = entry ? entry->strain : 0;
            const char* disc = YesNo(IsDisciplineTalent(*t));
            if (entry && !entry->formula.empty()) {
                // The step is a cache the record keeps; working it out changes nothing else.
                int step = t->ComputeTalentStep(c);
                AppendF(out, "(%2d/%2d)  %s    %s     %s     %2d    ", t->rank, step, disc,
                        YesNo(karma), YesNo(action), strain);
                out += Dice(step) + "\n";
            } else {
                AppendF(out, "   (%2d)  %s    %s     %s     %2d\n", t->rank, disc, YesNo(karma),
                        YesNo(action), strain);
            }
        }
        out += "\n\n";
    }

    void Skills() {
        if (c.skills.empty())
            return;
        auto nameOf = [](const CVARN_PCSkill& s) -> const std::string& {
            static const std::string none;
            return s.skill ? s.skill->name : none;
        };
        size_t width = 0;
        for (const auto& s : c.skills)
            width = std::max(width, nameOf(*s).size());
        out += "SKILLS";
        Blanks(out, static_cast<long>(width));
        out += "  Rank    Action    Dice\n";
        for (const auto& s : c.skills) {
            if (s->rank <= 0)
                continue;
            const std::string& name = nameOf(*s);
            out += "   " + name;
            Blanks(out, static_cast<long>(width + 3) - static_cast<long>(name.size()));
            const char* action = YesNo(s->skill && s->skill->action);
            if (s->skill && !s->skill->formula.empty()) {
                int step = s->ComputeSkillStep();
                AppendF(out, "(%2d/%2d)     %s    ", s->rank, step, action);
                out += Dice(step) + "\n";
            } else {
                AppendF(out, "   (%2d)     %s\n", s->rank, action);
            }
        }
        out += "\n\n";
    }

    void Spells() {
        if (c.spells.empty())
            return;
        static const CVARN_DBSpell noSpell;
        size_t longest = 0;
        for (const auto& s : c.spells)
            longest = std::max(longest, s->spell ? s->spell->name.size() : 0);
        long width = static_cast<long>(longest) + 3;
        out += "SPELLS\n";
        Blanks(out, width);
        out += "   Circle  Threads  Weaving\n";
        for (const auto& s : c.spells) {
            const CVARN_DBSpell& spell = s->spell ? *s->spell : noSpell;
            out += "   " + spell.name;
            Blanks(out, width - static_cast<long>(spell.name.size()));
            AppendF(out, "  %2d", spell.circle);
            Blanks(out, 9 - static_cast<long>(spell.threads.size()));
            out += spell.threads;
            std::string weaving = spell.weaving + "/" + spell.reattuning + "\n";
            Blanks(out, 12 - static_cast<long>(weaving.size()));
            out += weaving;
        }
        out += "\n\n";
    }

    void Equipment() {
        if (c.equipment.empty())
            return;
        out += "EQUIPMENT\n";
        for (const auto& piece : c.equipment) {
            out += "   " + piece->name + "\n";
            if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get())) {
                if (armor->worn)
                    out += "      Worn\n";
            } else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get())) {
                if (shield->worn)
                    out += "      Worn\n";
            }
            if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece.get()))
                if (thread->threadRank > 0)
                    AppendF(out, "      Thread %d attached\n", thread->threadRank);
            if (dynamic_cast<const CVARN_CharEquipWeapon*>(piece.get())) {
                if (auto* weapon = dynamic_cast<const CVARN_ItemWeapon*>(piece->item)) {
                    int step = weapon->DamageStep(c);
                    AppendF(out, "      Damages: %+d (%2d)  ", weapon->damage, step);
                    out += Dice(step) + "\n";
                }
            }
            out += "\n";
        }
    }

    const CVARN_Character& c;
    const SystemTables& tables;
    std::string& out;
};

} // namespace

bool IsDisciplineTalent(const CVARN_CharTalent& t) {
    const CVARN_DBDiscipline* first = t.FirstGrantingDiscipline();
    if (!first)
        return false;
    const CVARN_DiscTalent* offer = first->FindDiscTalent(t.name);
    return offer && offer->disciplineTalent;
}

void BuildTextSheet(const CVARN_Character& character, std::string& out) {
    SheetBuilder(character, out).Build();
}
