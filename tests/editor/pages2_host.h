#pragma once

// Hosts editor pages on a character without a main window: the host is the
// character's observer and passes every change on to its pages, as the document
// and its view do.

#include "character/Character.h"
#include "editor/Page.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "ui/VarnResources.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages; file-local so that they never meet another harness's.
static inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
static inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{' << l.join("\", \"").toStdString() << '}';
}

namespace pages2 {

// Rules read once per run and never freed: characters of every test point into
// them.
inline RulesDatabase& ShippedRules() {
    static RulesDatabase* db = [] {
        auto* rules = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        if (!LoadRulesDatabase(*rules, VARN_SHIPPED_DATA_DIR, prompt))
            ADD_FAILURE() << "the shipped data set does not load";
        return rules;
    }();
    return *db;
}

// The shipped races, talents and disciplines, with the skills, spells and
// equipment of tests/data/pages2 instead of the shipped ones.
inline RulesDatabase& SmallRules() {
    static RulesDatabase* db = [] {
        auto* rules = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        if (!LoadRulesDatabase(*rules, VARN_SHIPPED_DATA_DIR, prompt))
            ADD_FAILURE() << "the shipped data set does not load";
        const std::string dir = VARN_TEST_DATA_DIR "pages2/";
        for (auto& bucket : rules->skillTable.buckets)
            bucket.reset();
        for (auto& bucket : rules->spellTable.buckets)
            bucket.reset();
        EquipmentDatabase& eq = rules->equipmentDatabase;
        eq.misc.clear();
        eq.armors.clear();
        eq.shields.clear();
        eq.weapons.clear();
        eq.threadArmors.clear();
        EXPECT_EQ(ReadSkills(rules->skillTable, dir, prompt), ReadResult::Ok);
        EXPECT_EQ(ReadSpells(rules->spellTable, dir, prompt), ReadResult::Ok);
        EXPECT_EQ(ReadEquipment(eq, dir, prompt), ReadResult::Ok);
        return rules;
    }();
    return *db;
}

// A page whose binding the test does itself, without a document.
template <class P> class Hosted : public P {
public:
    void Attach(CVARN_Character* c) {
        this->character = c;
        this->initialised = true;
        this->RefreshFromCharacter();
    }
};

class PageHost : public CVARN_CharacterObserver {
public:
    explicit PageHost(RulesDatabase& rules) : character(rules) {
        InitVarnResources();
        character.document = this;
        character.SetRaceByName(rules.raceTable.races.front()->name);
        hints.clear();
        modified = false;
    }
    ~PageHost() override {
        pages.clear();
        owned.clear();
        character.document = nullptr;
    }

    // Makes a page, binds it to the character and shows it.
    template <class P> Hosted<P>* Add() {
        auto page = std::make_unique<Hosted<P>>();
        Hosted<P>* p = page.get();
        p->resize(900, 560);
        p->Attach(&character);
        p->show();
        pages.push_back(p);
        owned.push_back(std::move(page));
        return p;
    }
    // A page that someone else owns (a sheet), bound to the character.
    template <class P> Hosted<P>* Make() {
        auto* p = new Hosted<P>();
        p->Attach(&character);
        pages.push_back(p);
        return p;
    }

    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override {
        hints.push_back(hint);
        // From the last tab to the first, as the view does.
        for (auto it = pages.rbegin(); it != pages.rend(); ++it)
            (*it)->OnCharacterUpdate(nullptr, hint, piece);
    }
    void SetModifiedFlag() override { modified = true; }

    bool Sent(int hint) const { return std::find(hints.begin(), hints.end(), hint) != hints.end(); }

    CVARN_Character character;
    std::vector<int> hints;
    bool modified = false;
    std::vector<CVARN_Page*> pages; // the pages that hear the changes
    std::vector<std::unique_ptr<CVARN_Page>> owned;
};

// Clicks a node as the user would: its branch is opened and the node scrolled
// into view.
inline void ClickNode(QTreeWidget* tree, QTreeWidgetItem* node, bool twice = false) {
    for (QTreeWidgetItem* p = node->parent(); p != nullptr; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(node);
    const QPoint at = tree->visualItemRect(node).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// A check box or radio button is clicked on its indicator, wherever the layout
// stretched it.
inline void ClickBox(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// The node reached by following texts (ignoring case) from the top of the tree.
inline QTreeWidgetItem* NodeAt(QTreeWidget* tree, const QStringList& texts) {
    QTreeWidgetItem* node = tree->invisibleRootItem();
    for (const QString& text : texts) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && next == nullptr; ++i)
            if (node->child(i)->text(0).compare(text, Qt::CaseInsensitive) == 0)
                next = node->child(i);
        if (next == nullptr)
            return nullptr;
        node = next;
    }
    return node;
}

inline QStringList ChildTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

} // namespace pages2
