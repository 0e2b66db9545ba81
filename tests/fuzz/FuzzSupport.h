#pragma once

// Shared by the fuzz targets: a prompt that says yes to everything it is asked, the shipped
// rules, and a check that no rules entry still points at a character.

#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Answers OK, so the paths behind each question run too (never a rename: the data-file
// question only comes up for a shortened file name, which the fuzz folders never hold).
class YesPrompt : public CVARN_UserPrompt {
public:
    explicit YesPrompt(const CVARN_Item* replacement = nullptr) : replacement(replacement) {}
    void ShowMessage(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return answer; }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip&) override { return replacement; }
    bool answer = true;
    const CVARN_Item* replacement;
};

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// The shipped rules, loaded once for the whole run.
inline RulesDatabase& ShippedRules() {
    static RulesDatabase* rules = [] {
        auto* db = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        Require(LoadRulesDatabase(*db, VARN_SHIPPED_DATA_DIR, prompt), "the shipped rules load");
        return db;
    }();
    return *rules;
}

inline bool NoReferences(const RulesDatabase& db) {
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

} // namespace fuzz
