#pragma once

// A small rules database made in code for the character file and text sheet tests, two
// characters built on it the way the pages build them, and byte helpers for hand-made files.

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace filetest {

// Records every message and question; answers questions with `answer` and the item
// question with `replacement`.
class RecordingPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override { calls.push_back("message: " + text); }
    bool AskOkCancel(const std::string& text) override {
        calls.push_back("question: " + text);
        return answer;
    }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override {
        calls.push_back("select: " + piece.name);
        return replacement;
    }
    std::vector<std::string> calls;
    bool answer = false;
    const CVARN_Item* replacement = nullptr;
};

struct TestRules {
    RulesDatabase db;
    CVARN_ItemArmor* leatherCoat = nullptr;
    CVARN_ThreadItemArmor* wovenMail = nullptr;
    CVARN_ItemShield* buckler = nullptr;
    CVARN_ItemWeapon* shortSword = nullptr;
    CVARN_ItemMisc* rope = nullptr;

    TestRules();
    // True when no entry holds a reference to any character any more.
    bool NoReferences() const;
};

inline CVARN_RaceDesc* AddRace(RulesDatabase& db, const std::string& name) {
    db.raceTable.races.push_back(std::make_unique<CVARN_RaceDesc>());
    db.raceTable.races.back()->name = name;
    db.raceTable.haveRace = 1;
    return db.raceTable.races.back().get();
}

inline CVARN_DBTalent* AddTalent(RulesDatabase& db, const std::string& name,
                                 const std::string& formula, int attribute, int strain, bool action,
                                 bool karma) {
    auto t = std::make_unique<CVARN_DBTalent>();
    t->name = name;
    t->formula = formula;
    t->attribute = static_cast<int16_t>(attribute);
    t->strain = static_cast<int16_t>(strain);
    t->action = action;
    t->karma = karma;
    return db.talentTable.AddTalent(std::move(t));
}

inline void Offer(CVARN_DBDiscipline* d, CVARN_DBTalent* talent, const std::string& offerName,
                  int circle, bool disciplineTalent) {
    CVARN_DiscTalent offer;
    offer.talent = talent;
    offer.discipline = d;
    offer.name = offerName;
    offer.circle = static_cast<int16_t>(circle);
    offer.disciplineTalent = disciplineTalent;
    d->talents.push_back(offer);
    if (offer.circle > d->highestCircle)
        d->highestCircle = offer.circle;
}

inline TestRules::TestRules() {
    SystemTables& t = db.systemTables;
    t.highestAttributeValue = 30;
    t.attributeRows.push_back(CVARN_AttributeRow{}); // value 0 is never looked up
    for (int v = 1; v <= 30; ++v) {
        CVARN_AttributeRow r;
        r.defense = static_cast<int16_t>(v / 2 + 1);
        r.fullMovement = static_cast<int16_t>(10 * v + 20);
        r.combatMovement = static_cast<int16_t>(5 * v + 10);
        r.carrying = static_cast<int16_t>(10 * v + 15);
        r.lifting = static_cast<int16_t>(20 * v + 30);
        r.deathBase = static_cast<int16_t>(v + 18);
        r.unconsciousnessBase = static_cast<int16_t>(v + 9);
        r.woundThreshold = static_cast<int16_t>(v / 2 + 3);
        r.recoveryTests = static_cast<int16_t>(v / 6 + 1);
        r.mysticArmor = static_cast<int16_t>(v / 6);
        t.attributeRows.push_back(r);
    }
    t.diceTexts = {"-",      "D4-2",   "D4-1",   "D4",      "D6",      "D8",      "D10",
                   "D12",    "2D6",    "D8+D6",  "D10+D6",  "D10+D8",  "2D10",    "D12+D10",
                   "D20+D4", "D20+D6", "D20+D8", "D20+D10", "D20+D12", "D20+2D6", "D20+D8+D6"};
    t.highestStep = static_cast<int16_t>(t.diceTexts.size() - 1);

    CVARN_RaceDesc* human = AddRace(db, "Human");
    human->karmaCost = 10;
    human->karmaMax = 20;
    human->karmaStart = 5;
    human->karmaStep = 4;
    human->abilities = {{"Versatile: may learn one talent of any discipline."},
                        {"Stubborn: +1 to resist fear."}};
    CVARN_RaceDesc* sky = AddRace(db, "Skyborn");
    sky->atts[AttDexterity].modifier = 2;
    sky->atts[AttStrength].modifier = -2;
    sky->atts[AttToughness].maximum = 16;
    sky->canFly = 1;
    sky->movementModifier = -4;
    sky->flyModifier = 4;
    sky->physicalArmor = 1;
    sky->recoveryTests = -1;
    sky->spellDefense = 1;
    sky->karmaCost = 15;
    sky->karmaMax = 30;
    sky->karmaStart = 6;
    sky->karmaStep = 5;
    sky->abilities = {{"Flight: flies at full speed in clear weather."}};

    CVARN_DBTalent* durability = AddTalent(db, "Durability", "", 0, 0, false, false);
    CVARN_DBTalent* melee = AddTalent(db, "Melee Weapons", "Dex", 2, 0, true, false);
    CVARN_DBTalent* avoid = AddTalent(db, "Avoid Blow", "Dex + 1", 2, 1, false, true);
    avoid->bonus = 1;
    CVARN_DBTalent* anticipate = AddTalent(db, "Anticipate", "", 0, 0, false, true);
    CVARN_DBTalent* unarmed = AddTalent(db, "Unarmed Combat", "Str", 1, 0, true, false);
    CVARN_DBTalent* weaving = AddTalent(db, "Thread Weaving (Windcraft)", "Per", 4, 0, true, true);
    CVARN_DBTalent* spellcasting = AddTalent(db, "Spellcasting", "Per", 4, 0, true, true);
    CVARN_DBTalent* matrix = AddTalent(db, "Spell Matrix 1", "", 0, 0, false, false);
    CVARN_DBTalent* readWriting = AddTalent(db, "Read and Write Magic", "Per", 4, 0, true, false);
    CVARN_DBTalent* stormWard = AddTalent(db, "Storm Ward", "Wil + 2", 5, 2, true, true);
    stormWard->bonus = 2;

    auto warden = std::make_unique<CVARN_DBDiscipline>();
    warden->name = "Warden";
    Offer(warden.get(), durability, "Durability (7/6)", 1, true);
    Offer(warden.get(), melee, "Melee Weapons", 1, true);
    Offer(warden.get(), avoid, "Avoid Blow", 1, true);
    Offer(warden.get(), anticipate, "Anticipate", 1, false);
    Offer(warden.get(), unarmed, "Unarmed Combat", 2, true);
    Offer(warden.get(), stormWard, "Storm Ward", 3, true);
    warden->modifiers = {{ModPhysicalDefense, 2, 1}, {ModInitiative, 3, 1}};
    warden->abilities = {{"Night Eyes: sees in darkness as in dim light.", 1},
                         {"Stand Fast: may not be knocked down by a charge.", 3}};
    db.disciplineList.disciplines.push_back(std::move(warden));

    auto weaver = std::make_unique<CVARN_DBDiscipline>();
    weaver->name = "Windweaver";
    Offer(weaver.get(), durability, "Durability (4/3)", 1, true);
    Offer(weaver.get(), weaving, "Thread Weaving (Windcraft)", 1, true);
    Offer(weaver.get(), spellcasting, "Spellcasting", 1, true);
    Offer(weaver.get(), readWriting, "Read and Write Magic", 1, false);
    Offer(weaver.get(), matrix, "Spell Matrix 1", 2, true);
    Offer(weaver.get(), avoid, "Avoid Blow", 2, false);
    weaver->modifiers = {{ModSpellDefense, 1, 1}, {ModKarmaStep, 2, 1}};
    weaver->abilities = {{"Windsense: knows the weather of the next day.", 1},
                         {"Feather Fall: falls as slowly as a leaf.", 4}};
    db.disciplineList.disciplines.push_back(std::move(weaver));

    auto addSkill = [&](const std::string& name, const std::string& formula, int attribute,
                        bool action) {
        auto s = std::make_unique<CVARN_DBSkill>();
        s->name = name;
        s->formula = formula;
        s->attribute = static_cast<int16_t>(attribute);
        s->action = action;
        db.skillTable.AddSkill(std::move(s));
    };
    addSkill("Climbing", "Dex", 2, true);
    addSkill("Cooking", "", 0, false);
    addSkill("Lore: Old Kingdoms", "Per", 4, false);

    auto addSpell = [&](const std::string& name, int circle, const std::string& threads,
                        const std::string& weaving, const std::string& reattuning) {
        auto s = std::make_unique<CVARN_DBSpell>();
        s->name = name;
        s->circle = static_cast<int16_t>(circle);
        s->threads = threads;
        s->weaving = weaving;
        s->reattuning = reattuning;
        s->types = {"Windcraft", "Tidecraft"};
        db.spellTable.AddSpell(std::move(s));
    };
    addSpell("Gust", 1, "0", "5", "12");
    addSpell("Wall of Whirling Air", 3, "12", "6", "13");

    EquipmentDatabase& e = db.equipmentDatabase;
    e.armors.push_back(std::make_unique<CVARN_ItemArmor>());
    leatherCoat = e.armors.back().get();
    leatherCoat->name = "Leather Coat";
    leatherCoat->path = {"Light"};
    leatherCoat->physicArmor = 3;
    leatherCoat->initiative = -1;
    e.threadArmors.push_back(std::make_unique<CVARN_ThreadItemArmor>());
    wovenMail = e.threadArmors.back().get();
    wovenMail->name = "Woven Mail";
    wovenMail->physicArmor = 4;
    wovenMail->mysticArmor = 1;
    wovenMail->initiative = -2;
    wovenMail->threadCount = 3;
    wovenMail->powers = {{1, 1, 0, 0}, {2, 1, 2, 1}};
    e.shields.push_back(std::make_unique<CVARN_ItemShield>());
    buckler = e.shields.back().get();
    buckler->name = "Buckler";
    buckler->physicArmor = 1;
    e.weapons.push_back(std::make_unique<CVARN_ItemWeapon>());
    shortSword = e.weapons.back().get();
    shortSword->name = "Short Sword";
    shortSword->path = {"Blades", "Short"};
    shortSword->damage = 3;
    e.misc.push_back(std::make_unique<CVARN_ItemMisc>());
    rope = e.misc.back().get();
    rope->name = "Rope (50 ft, 100% hemp)";
    rope->path = {"Tools"};
}

inline bool TestRules::NoReferences() const {
    for (const auto& d : db.disciplineList.disciplines)
        if (!d->References().empty())
            return false;
    for (auto* t = db.talentTable.FirstTalent(); t; t = db.talentTable.NextTalent(t))
        if (!t->References().empty())
            return false;
    for (auto* s = db.skillTable.FirstSkill(); s; s = db.skillTable.NextSkill(s))
        if (!s->References().empty())
            return false;
    for (auto* s = db.spellTable.FirstSpell(); s; s = db.spellTable.NextSpell(s))
        if (!s->References().empty())
            return false;
    return true;
}

// A character as a new document makes it: the first race, nothing else.
inline std::unique_ptr<CVARN_Character> NewCharacter(TestRules& rules) {
    auto c = std::make_unique<CVARN_Character>(rules.db);
    c->SetRaceByName(rules.db.raceTable.races.front()->name);
    return c;
}

// A character with a record of every kind, built through the operations the pages use.
inline std::unique_ptr<CVARN_Character> FullCharacter(TestRules& rules) {
    RulesDatabase& db = rules.db;
    auto c = std::make_unique<CVARN_Character>(db);
    c->SetRaceByName("skyborn");
    c->name = "Ilsa Brightwind";
    c->description = "Born above the clouds.\nCarries a 100% honest smile.";
    c->SetAttributeBase(AttDexterity, 15);
    c->SetAttributeBase(AttStrength, 11);
    c->SetAttributeBase(AttToughness, 13);
    c->SetAttributeBase(AttPerception, 14);
    c->SetAttributeBase(AttWillpower, 12);
    c->SetAttributeBase(AttCharisma, 8);
    c->SetAttributeIncreases(AttDexterity, 2);
    c->SetAttributeIncreases(AttWillpower, 1);
    c->SetDisciplineCircle(db.disciplineList.FindDiscipline("Warden"), 3);
    c->SetDisciplineCircle(db.disciplineList.FindDiscipline("Windweaver"), 2);
    auto rank = [&](const char* name, int r) { c->SetTalentRank(c->FindCharTalent(name), r); };
    rank("Durability (7/6)", 4);
    rank("Melee Weapons", 5);
    rank("Avoid Blow", 4);
    rank("Anticipate", 2);
    rank("Unarmed Combat", 3);
    rank("Storm Ward", 3);
    rank("Thread Weaving (Windcraft)", 3);
    rank("Spellcasting", 3);
    rank("Spell Matrix 1", 2);
    c->SetSkillRank(db.skillTable.FindSkill("Climbing"), 3);
    c->SetSkillRank(db.skillTable.FindSkill("Cooking"), 1);
    c->SetSkillRank(db.skillTable.FindSkill("Lore: Old Kingdoms"), 2);
    c->AddSpell(db.spellTable.FindSpell("Wall of Whirling Air"), "Windcraft");
    c->AddSpell(db.spellTable.FindSpell("Gust"), "Tidecraft");
    auto* coat = static_cast<CVARN_CharEquipArmor*>(c->AddEquipment(rules.leatherCoat));
    auto* mail = static_cast<CVARN_CharEquipThreadArmor*>(c->AddEquipment(rules.wovenMail));
    mail->worn = 1;
    mail->threadRank = 2;
    c->EquipmentChanged(mail);
    auto* shield = static_cast<CVARN_CharEquipShield*>(c->AddEquipment(rules.buckler));
    shield->worn = 1;
    c->EquipmentChanged(shield);
    c->AddEquipment(rules.shortSword);
    c->AddEquipment(rules.rope);
    (void)coat;
    c->SetKarmaBought(7);
    c->SetKarmaSpent(3);
    c->SetLegendEarned(125000);
    c->SetExtraCosts(350);
    c->SetCreationLegend(1500);
    c->attributesMinMax = 0;
    c->armorsWornLimit = 0;
    c->attributePoints = 70;
    return c;
}

// Little-endian builder for hand-made files.
class Bytes {
public:
    Bytes& W(int v) {
        s.push_back(static_cast<char>(v & 0xFF));
        s.push_back(static_cast<char>((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& D(int64_t v) {
        for (int i = 0; i < 4; ++i)
            s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& B(int v) {
        s.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& Raw(const std::string& text) {
        s += text;
        return *this;
    }
    // A string with its one-byte length.
    Bytes& S(const std::string& text) {
        B(static_cast<int>(text.size()));
        return Raw(text);
    }
    // A new class tag with its name.
    Bytes& NewClass(const std::string& name, int schema = 3) {
        W(0xFFFF).W(schema).W(static_cast<int>(name.size()));
        return Raw(name);
    }
    std::string s;
};

} // namespace filetest
