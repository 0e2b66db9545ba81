#pragma once

// Small rules made in code for the character tests, a recording document, and helpers.

#include "character/Character.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace chartest {

// The attribute table of the tests: rows 0 to 30, each field a simple function of the
// value so that expectations can be written from the formula.
inline CVARN_AttributeRow TestRow(int v) {
    CVARN_AttributeRow r;
    r.defense = static_cast<int16_t>(v / 2);
    r.fullMovement = static_cast<int16_t>(10 * v);
    r.combatMovement = static_cast<int16_t>(5 * v);
    r.carrying = static_cast<int16_t>(10 * v + 1);
    r.lifting = static_cast<int16_t>(20 * v + 2);
    r.deathBase = static_cast<int16_t>(20 + v);
    r.unconsciousnessBase = static_cast<int16_t>(10 + v);
    r.woundThreshold = static_cast<int16_t>(v / 2 + 3);
    r.recoveryTests = static_cast<int16_t>(v / 6);
    r.mysticArmor = static_cast<int16_t>(v / 5);
    return r;
}

inline void FillSystemTables(SystemTables& tables, int highest = 30) {
    tables.highestAttributeValue = static_cast<int16_t>(highest);
    tables.attributeRows.clear();
    for (int v = 0; v <= highest; ++v)
        tables.attributeRows.push_back(TestRow(v));
    tables.highestStep = 20;
    tables.diceTexts.assign(21, "");
    for (int s = 0; s <= 20; ++s)
        tables.diceTexts[static_cast<size_t>(s)] = "D" + std::to_string(s);
}

inline CVARN_RaceDesc* AddRace(RulesDatabase& db, const std::string& name) {
    auto race = std::make_unique<CVARN_RaceDesc>();
    race->name = name;
    db.raceTable.races.push_back(std::move(race));
    db.raceTable.haveRace = 1;
    return db.raceTable.races.back().get();
}

inline CVARN_DBTalent* AddTalent(RulesDatabase& db, const std::string& name, int attribute = 0,
                                 int bonus = 0) {
    auto t = std::make_unique<CVARN_DBTalent>();
    t->name = name;
    t->attribute = static_cast<int16_t>(attribute);
    t->bonus = static_cast<int16_t>(bonus);
    return db.talentTable.AddTalent(std::move(t));
}

inline CVARN_DBDiscipline* AddDiscipline(RulesDatabase& db, const std::string& name) {
    auto d = std::make_unique<CVARN_DBDiscipline>();
    d->name = name;
    db.disciplineList.disciplines.push_back(std::move(d));
    return db.disciplineList.disciplines.back().get();
}

// Offers the talent (found by `talentName` in the table) under `offerName` at `circle`.
inline void Offer(RulesDatabase& db, CVARN_DBDiscipline* d, const std::string& offerName,
                  int circle, const std::string& talentName = "") {
    CVARN_DiscTalent offer;
    offer.name = offerName;
    offer.talent = db.talentTable.FindTalent(talentName.empty() ? offerName : talentName);
    offer.discipline = d;
    offer.circle = static_cast<int16_t>(circle);
    d->talents.push_back(offer);
    if (circle > d->highestCircle)
        d->highestCircle = static_cast<int16_t>(circle);
}

inline void Modifier(CVARN_DBDiscipline* d, int16_t code, int circle, int value) {
    d->modifiers.push_back({code, static_cast<int16_t>(circle), static_cast<int16_t>(value)});
}

inline CVARN_DBSkill* AddSkill(RulesDatabase& db, const std::string& name, int attribute = 0,
                               int bonus = 0) {
    auto s = std::make_unique<CVARN_DBSkill>();
    s->name = name;
    s->attribute = static_cast<int16_t>(attribute);
    s->bonus = static_cast<int16_t>(bonus);
    return db.skillTable.AddSkill(std::move(s));
}

inline CVARN_DBSpell* AddSpell(RulesDatabase& db, const std::string& name) {
    auto s = std::make_unique<CVARN_DBSpell>();
    s->name = name;
    s->types = {"Wizardry", "Nethermancy"};
    return db.spellTable.AddSpell(std::move(s));
}

// A document that writes down what the character tells it. "M" stands for the modified
// mark, every other entry is a hint number.
class RecordingDocument : public CVARN_CharacterObserver {
public:
    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override {
        events.push_back(std::to_string(hint));
        pieces.push_back(piece);
        // Read while the piece is still alive: a removed piece is destroyed afterwards.
        pieceNames.push_back(piece != nullptr ? piece->name : "");
    }
    void SetModifiedFlag() override {
        events.push_back("M");
        pieces.push_back(nullptr);
        pieceNames.emplace_back();
    }
    void Clear() {
        events.clear();
        pieces.clear();
        pieceNames.clear();
    }
    std::vector<std::string> events;
    std::vector<CVARN_CharEquip*> pieces;
    std::vector<std::string> pieceNames;
};

inline std::vector<std::string> Events(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

class RecordingPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskOkCancel(const std::string& text) override {
        messages.push_back(text);
        return false;
    }
    std::vector<std::string> messages;
};

} // namespace chartest
