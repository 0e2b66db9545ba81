#pragma once

// Hosts editor pages on a character without a document or a window: the relay plays the
// document and the view, passing each change of the character to the pages from the last
// tab to the first.

#include "character/Character.h"
#include "editor/Page.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << texts.join(QStringLiteral(" | ")).toStdString();
}

// The rules of a data directory, read once per run.
inline RulesDatabase& Pages1Rules(const std::string& directory) {
    static std::map<std::string, std::unique_ptr<RulesDatabase>> loaded;
    auto& rules = loaded[directory];
    if (!rules) {
        rules = std::make_unique<RulesDatabase>();
        CVARN_SilentPrompt prompt;
        EXPECT_TRUE(LoadRulesDatabase(*rules, directory, prompt)) << directory;
    }
    return *rules;
}
inline RulesDatabase& SmallRules() {
    return Pages1Rules(VARN_TEST_DATA_DIR "pages1/");
}
inline RulesDatabase& ShippedRules() {
    return Pages1Rules(VARN_SHIPPED_DATA_DIR);
}

class Pages1Relay : public CVARN_CharacterObserver {
public:
    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override {
        hints.push_back(hint);
        for (auto it = pages.rbegin(); it != pages.rend(); ++it)
            (*it)->OnCharacterUpdate(nullptr, hint, piece);
    }
    void SetModifiedFlag() override { ++modifiedMarks; }
    int Count(int hint) const { return static_cast<int>(std::ranges::count(hints, hint)); }
    void Forget() {
        hints.clear();
        modifiedMarks = 0;
    }

    std::vector<CVARN_Page*> pages; // in tab order
    std::vector<int> hints;
    int modifiedMarks = 0;
};

// A page bound the way the sheet binds it, minus the document.
template <typename PageT> class Pages1Hosted : public PageT {
public:
    void Attach(CVARN_Character& c) {
        this->character = &c;
        this->initialised = true;
        this->RefreshFromCharacter();
    }
};

// A character of the given race whose changes reach the pages added to it.
class Pages1Character {
public:
    Pages1Character(RulesDatabase& rules, const std::string& race) : character(rules) {
        character.document = &relay;
        character.SetRaceByName(race);
        relay.Forget();
    }
    ~Pages1Character() { character.document = nullptr; }

    template <typename PageT> Pages1Hosted<PageT>& Add() {
        auto page = std::make_unique<Pages1Hosted<PageT>>();
        auto& added = *page;
        relay.pages.push_back(page.get());
        owned.push_back(std::move(page));
        added.Attach(character);
        return added;
    }

    // Shows the page in an active window, so that the focus moves as it does for a user.
    static void ShowActive(QWidget& page) {
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }

    Pages1Relay relay;
    CVARN_Character character;
    std::vector<std::unique_ptr<CVARN_Page>> owned;
};
