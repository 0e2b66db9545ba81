#pragma once

// Shared by the fuzz targets: a prompt that says yes to everything it is asked, and the
// shipped rules.

#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "support/RecordLinksCheck.h"

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
inline const RulesDatabase& ShippedRules() {
    static RulesDatabase* rules = [] {
        auto* db = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        Require(LoadRulesDatabase(*db, VARN_SHIPPED_DATA_DIR, prompt), "the shipped rules load");
        return db;
    }();
    return *rules;
}

} // namespace fuzz
