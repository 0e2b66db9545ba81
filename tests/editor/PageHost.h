#pragma once

// Hosts editor pages on a character without a document: the host plays the document and the
// view, passing each change of the character to its pages from the last tab to the first.
// Holds what the editor tests share: the pages, the rules they run on, clicks as a user's.

#include "character/Character.h"
#include "character/CharacterSnapshot.h"
#include "editor/DlgInfoSpell.h"
#include "editor/DlgSelectItem.h"
#include "editor/EquipmentTree.h"
#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "editor/PageDiscipline.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "editor/PageTalents.h"
#include "rules/UserPrompt.h"
#include "shell/CharacterWindow.h"
#include "shell/DocFixture.h"
#include "support/Controls.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"
#include "widgets/MyPropertySheet.h"
#include "widgets/VarnResources.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace editor_test {

using varn_test::ShippedRules;

// tests/data/pages1: three races and four disciplines with their talents.
inline RulesDatabase& SmallRules() {
    static RulesDatabase* db = [] {
        auto* rules = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        EXPECT_TRUE(LoadRulesDatabase(*rules, VARN_TEST_DATA_DIR "pages1/", prompt));
        return rules;
    }();
    return *db;
}

// The shipped races, talents and disciplines, with the skills, spells and equipment of
// tests/data/pages2 instead of the shipped ones. Never freed: characters point into it.
inline RulesDatabase& SmallItemRules() {
    static RulesDatabase* db = [] {
        auto* rules = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        EXPECT_TRUE(LoadRulesDatabase(*rules, VARN_SHIPPED_DATA_DIR, prompt));
        for (auto& bucket : rules->skillTable.buckets)
            bucket.reset();
        for (auto& bucket : rules->spellTable.buckets)
            bucket.reset();
        EquipmentDatabase& eq = rules->equipmentDatabase;
        eq = EquipmentDatabase{};
        const std::string dir = VARN_TEST_DATA_DIR "pages2/";
        EXPECT_EQ(ReadSkills(rules->skillTable, dir, prompt), ReadResult::Ok);
        EXPECT_EQ(ReadSpells(rules->spellTable, dir, prompt), ReadResult::Ok);
        EXPECT_EQ(ReadEquipment(eq, dir, prompt), ReadResult::Ok);
        return rules;
    }();
    return *db;
}

// A page bound the way the sheet binds it, minus the document.
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
    // A character of `race`, or of the first race of the rules.
    explicit PageHost(RulesDatabase& rules, const std::string& race = {}) : character(rules) {
        InitVarnResources();
        character.document = this;
        character.SetRaceByName(race.empty() ? rules.raceTable.races.front()->name : race);
        Forget();
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
        for (auto it = pages.rbegin(); it != pages.rend(); ++it)
            (*it)->OnCharacterUpdate(hint, piece);
    }
    void SetModifiedFlag() override { ++modifiedMarks; }

    int Count(int hint) const { return static_cast<int>(std::ranges::count(hints, hint)); }
    void Forget() {
        hints.clear();
        modifiedMarks = 0;
    }

    CVARN_Character character;
    std::vector<int> hints;
    int modifiedMarks = 0;
    std::vector<CVARN_Page*> pages; // in tab order
    std::vector<std::unique_ptr<CVARN_Page>> owned;
};

// One page on a character of the small rules: a Walker, or with `Items` the first race of the
// item rules.
template <class P, bool Items = false> class OnePage : public ::testing::Test {
protected:
    PageHost host{Items ? SmallItemRules() : SmallRules(), Items ? "" : "Walker"};
    CVARN_Character& c = host.character;
    Hosted<P>* page = host.Add<P>();
};

// Activates the page's window, so that the focus moves as it does for a user.
inline void Activate(QWidget* page) {
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
}

// Clicks a node as the user would: its branch is opened and the node scrolled into view.
inline void ClickNode(QTreeWidget* tree, QTreeWidgetItem* node, bool twice = false) {
    ASSERT_NE(node, nullptr);
    for (QTreeWidgetItem* p = node->parent(); p != nullptr; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(node);
    const QPoint at = tree->visualItemRect(node).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}
inline void ClickRow(CMyListCtrl* list, int row) {
    ClickNode(list, list->Row(row));
}

// A check box or radio button is clicked on its indicator, wherever the layout stretched it.
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

// The leaves a user can see: shown, with every node above them shown and open.
inline QStringList VisibleLeaves(QTreeWidget* tree) {
    QStringList leaves;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        bool shown = (*it)->childCount() == 0;
        for (const QTreeWidgetItem* n = *it; n != nullptr && shown; n = n->parent())
            shown = !n->isHidden() && (n == *it || n->isExpanded());
        if (shown)
            leaves << (*it)->text(0);
    }
    return leaves;
}

inline QStringList ChildTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

// The caption of a control: the text of the label that names it as its buddy.
inline QString Caption(const QWidget* control) {
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label->text();
    return {};
}

// The text of the label named `name` under `scope`; several at once, to compare together.
inline QString Text(QWidget* scope, const QString& name) {
    return Control<QLabel>(scope, name)->text();
}
inline QStringList Texts(QWidget* scope, std::initializer_list<QString> names) {
    QStringList texts;
    for (const QString& name : names)
        texts << Text(scope, name);
    return texts;
}
// The name of one of a row of controls: "baseSpin" and 2 give "baseSpin2".
inline QString Nth(const char* name, int index) {
    return name + QString::number(index);
}

// The texts of one column of a list, top to bottom.
inline QStringList Column(const CMyListCtrl* list, int col) {
    QStringList texts;
    for (int row = 0; row < list->GetItemCount(); ++row)
        texts << list->GetItemText(row, col);
    return texts;
}

// The texts of every column of one row.
inline QStringList RowTexts(const CMyListCtrl* list, int row) {
    QStringList texts;
    for (int col = 0; col < list->GetColumnCount(); ++col)
        texts << list->GetItemText(row, col);
    return texts;
}

} // namespace editor_test
