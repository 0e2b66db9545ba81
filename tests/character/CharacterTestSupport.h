#pragma once

// Small rules made in code for the character tests, and a recording document.

#include "character/Character.h"
#include "rules/RulesDatabase.h"

#include <memory>
#include <string>
#include <vector>

namespace chartest {

// Rows 0 to `highest`, each field a simple function of the value.
inline CVARN_AttributeRow TestRow(int v) {
    auto s = [](int x) { return static_cast<int16_t>(x); };
    return {s(v / 2),  s(10 * v), s(5 * v),     s(10 * v + 1), s(20 * v + 2),
            s(20 + v), s(10 + v), s(v / 2 + 3), s(v / 6),      s(v / 5)};
}

inline void FillSystemTables(SystemTables& tables, int highest = 30) {
    tables.highestAttributeValue = static_cast<int16_t>(highest);
    tables.attributeRows.clear();
    for (int v = 0; v <= highest; ++v)
        tables.attributeRows.push_back(TestRow(v));
}

inline CVARN_RaceDesc* AddRace(RulesDatabase& db, const std::string& name) {
    db.raceTable.races.push_back(std::make_unique<CVARN_RaceDesc>());
    db.raceTable.races.back()->name = name;
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
    db.disciplineList.disciplines.push_back(std::make_unique<CVARN_DBDiscipline>());
    db.disciplineList.disciplines.back()->name = name;
    return db.disciplineList.disciplines.back().get();
}

// Offers the talent entry `talentName` (default: the offer's own name) at `circle`.
inline void Offer(RulesDatabase& db, CVARN_DBDiscipline* d, const std::string& offerName,
                  int circle, const std::string& talentName = "") {
    CVARN_DiscTalent offer;
    offer.name = offerName;
    offer.talent = db.talentTable.FindTalent(talentName.empty() ? offerName : talentName);
    offer.discipline = d;
    offer.circle = static_cast<int16_t>(circle);
    d->talents.push_back(offer);
    d->highestCircle = std::max(d->highestCircle, offer.circle);
}

// Records every hint ("1000"...) and modified mark ("M") in order, with the name of the
// piece of equipment as it was when the hint came.
class RecordingDocument : public CVARN_CharacterObserver {
public:
    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override {
        events.push_back(std::to_string(hint));
        pieces.push_back(piece);
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

using Events = std::vector<std::string>;

} // namespace chartest
