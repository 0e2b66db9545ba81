#pragma once

// Rules made in code for the character tests: a plain attribute table for the rule tests; a
// small complete database for the file and sheet tests with two characters built on it the
// way the pages build them; a recording document and a byte builder for hand-made files.

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "rules/RulesDatabase.h"
#include "support/RecordLinksCheck.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
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

// Loads one of the rule sets under tests/data/, which load without a word. The small rules of
// "unit/": the races Plain and Odd, the disciplines Edgesworn, Pathreader and Runecaller with
// their talents, two skills, a spell, a piece of each kind, and the attribute table of TestRow.
inline void LoadTestRules(RulesDatabase& db, const std::string& folder) {
    RecordingPrompt prompt;
    if (!LoadRulesDatabase(db, VARN_TEST_DATA_DIR + folder, prompt) || !prompt.messages.empty())
        throw std::runtime_error("the test rules in " + folder + " do not load");
}

// Records every hint ("1000"...) and modified mark ("M") in order; a hint about a piece of
// equipment carries the piece's name as it was when the hint came ("1050 Rope").
class RecordingDocument : public CVARN_CharacterObserver {
public:
    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override {
        events.push_back(std::to_string(hint) + (piece != nullptr ? " " + piece->name : ""));
    }
    void SetModifiedFlag() override { events.push_back("M"); }
    void Clear() { events.clear(); }
    std::vector<std::string> events;
};

// The small rules of "unit/" and a character on them, with no race yet, whose document
// records every hint.
class UnitCharacter : public ::testing::Test {
protected:
    UnitCharacter() {
        LoadTestRules(db, "unit/");
        c.document = &doc;
    }

    RulesDatabase db;
    RecordingDocument doc;
    CVARN_Character c{db};
};

using Events = std::vector<std::string>;
using Texts = std::vector<std::string>;

// The database of the file and sheet tests (tests/data/character): two races, two
// disciplines, skills, spells and one piece of equipment of each kind.
struct TestRules {
    RulesDatabase db;
    CVARN_ItemArmor* leatherCoat = nullptr;
    CVARN_ThreadItemArmor* wovenMail = nullptr;
    CVARN_ItemShield* buckler = nullptr;
    CVARN_ItemWeapon* shortSword = nullptr;
    CVARN_ItemMisc* rope = nullptr;

    TestRules() {
        LoadTestRules(db, "character/");
        EquipmentDatabase& e = db.equipmentDatabase;
        leatherCoat = e.armors.at(0).get();
        wovenMail = e.threadArmors.at(0).get();
        buckler = e.shields.at(0).get();
        shortSword = e.weapons.at(0).get();
        rope = e.misc.at(0).get();
    }
};

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
    const int bases[] = {15, 11, 13, 8, 14, 12}; // Dex Str Tou Cha Per Wil
    for (int a = 0; a < AttCount; ++a)
        c->SetAttributeBase(static_cast<CVARN_AttributeSlot>(a), bases[a]);
    c->SetAttributeIncreases(AttDexterity, 2);
    c->SetAttributeIncreases(AttWillpower, 1);
    c->SetDisciplineCircle(db.disciplineList.FindDiscipline("Warden"), 3);
    c->SetDisciplineCircle(db.disciplineList.FindDiscipline("Windweaver"), 2);
    // Talent and skill ranks, then spells, as tests/data/file/full_character.txt sets them.
    std::ifstream steps(VARN_TEST_DATA_DIR "file/full_character.txt");
    for (std::string line; std::getline(steps, line);) {
        const size_t space = line.find(' '), bar = line.find('|');
        const std::string name = line.substr(space + 1, bar - space - 1),
                          value = line.substr(bar + 1);
        if (line.starts_with("talent "))
            c->SetTalentRank(c->FindCharTalent(name), std::stoi(value));
        else if (line.starts_with("skill "))
            c->SetSkillRank(db.skillTable.Find(name), std::stoi(value));
        else
            c->AddSpell(db.spellTable.Find(name), value);
    }
    c->AddEquipment(rules.leatherCoat);
    auto* mail = static_cast<CVARN_CharEquipThreadArmor*>(c->AddEquipment(rules.wovenMail));
    mail->worn = 1;
    mail->threadRank = 2;
    c->EquipmentChanged(mail);
    auto* shield = static_cast<CVARN_CharEquipShield*>(c->AddEquipment(rules.buckler));
    shield->worn = 1;
    c->EquipmentChanged(shield);
    c->AddEquipment(rules.shortSword);
    c->AddEquipment(rules.rope);
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

inline bool Silent(const RecordingPrompt& p) {
    return p.messages.empty() && p.questions.empty() && p.replacementRequests.empty();
}

struct Loaded {
    std::unique_ptr<CVARN_Character> c;
    CVARN_FileFailure failure;
};

inline Loaded Load(TestRules& rules, const std::string& bytes, CVARN_UserPrompt& prompt) {
    Loaded l{std::make_unique<CVARN_Character>(rules.db), CVARN_FileFailure::None};
    l.failure = ReadCharacter(*l.c, bytes, prompt);
    return l;
}

// What reading `bytes` gives, as one text for an expected file: the failure, the messages and
// questions, the character's JSON document and the bytes it writes again, which must read back
// to themselves.
inline std::string ReadReport(TestRules& rules, const std::string& bytes, RecordingPrompt& prompt) {
    Loaded l = Load(rules, bytes, prompt);
    std::string report = "failure " + std::to_string(static_cast<int>(l.failure)) + "\n";
    for (const std::string& m : prompt.messages)
        report += "message: " + m + "\n";
    for (const std::string& q : prompt.questions)
        report += "question: " + q + "\n";
    report += std::to_string(prompt.replacementRequests.size()) + " replacements asked\n";
    report += CharacterToJson(*l.c) + "\nwritten again:";
    const std::string written = WriteCharacter(*l.c);
    CVARN_SilentPrompt quiet;
    Loaded back = Load(rules, written, quiet);
    EXPECT_EQ(WriteCharacter(*back.c), written);
    char hex[4];
    for (size_t i = 0; i < written.size(); ++i) {
        std::snprintf(hex, sizeof hex, i % 16 ? " %02x" : "\n%02x",
                      static_cast<unsigned char>(written[i]));
        report += hex;
    }
    return report + "\n";
}

// Little-endian builder for hand-made files.
class Bytes {
public:
    Bytes& Raw(const std::string& text) {
        s += text;
        return *this;
    }
    Bytes& B(int v) { return Raw(std::string(1, static_cast<char>(v))); }
    Bytes& W(int v) { return B(v & 0xFF).B((v >> 8) & 0xFF); }
    Bytes& D(int64_t v) { return W(static_cast<int>(v & 0xFFFF)).W(static_cast<int>(v >> 16)); }
    // A string with its one-byte length.
    Bytes& S(const std::string& text) { return B(static_cast<int>(text.size())).Raw(text); }
    // A new class tag with its name.
    Bytes& NewClass(const std::string& name, int schema = 3) {
        return W(0xFFFF).W(schema).W(static_cast<int>(name.size())).Raw(name);
    }
    std::string s;
};

} // namespace chartest
