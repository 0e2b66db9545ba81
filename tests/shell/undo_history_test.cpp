// The undo history of a document: random page operations undone and redone exactly, the Edit
// menu through real windows and the shared history of several windows.

#include "character/CharacterFile.h"
#include "character/CharacterSnapshot.h"
#include "character/TextSheet.h"
#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "editor/PageDiscipline.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "editor/PageTalents.h"
#include "editor/Pages.h"
#include "shell/DocFixture.h"
#include "support/Controls.h"
#include "support/RecordLinksCheck.h"
#include "widgets/MyListCtrl.h"

#include <algorithm>
#include <functional>
#include <random>

using namespace varn_test;

namespace {

// Everything that tells one character state from another.
struct State {
    CVARN_CharacterSnapshot::Ptr snapshot;
    std::string bytes, sheet;

    explicit State(const CVARN_Character& c)
        : snapshot(CVARN_CharacterSnapshot::Take(c, nullptr)), bytes(WriteCharacter(c)) {
        BuildTextSheet(c, sheet);
    }
    bool operator==(const State& o) const {
        return *snapshot == *o.snapshot && bytes == o.bytes && sheet == o.sheet;
    }
};

// Every talent, skill, spell and item of a data set, in walk order.
struct Entries {
    std::vector<const CVARN_DBTalent*> talents;
    std::vector<const CVARN_DBSkill*> skills;
    std::vector<const CVARN_DBSpell*> spells;
    std::vector<const CVARN_Item*> items;

    explicit Entries(const RulesDatabase& db) {
        for (auto* t = db.talentTable.First(); t; t = db.talentTable.Next(t))
            talents.push_back(t);
        for (auto* s = db.skillTable.First(); s; s = db.skillTable.Next(s))
            skills.push_back(s);
        for (auto* s = db.spellTable.First(); s; s = db.spellTable.Next(s))
            spells.push_back(s);
        auto add = [this](const auto& list) {
            for (const auto& item : list)
                items.push_back(item.get());
        };
        const auto& eq = db.equipmentDatabase;
        add(eq.armors);
        add(eq.threadArmors);
        add(eq.shields);
        add(eq.weapons);
        add(eq.misc);
    }
};

// One operation a page can do, drawn at random, made the way the page makes it.
void RandomOperation(CVARN_Character& c, const Entries& all, std::mt19937& rng) {
    auto pick = [&rng](size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng);
    };
    auto number = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const RulesDatabase& db = c.Rules();
    const auto slot = static_cast<CVARN_AttributeSlot>(number(0, AttCount - 1));
    auto circle = [&] {
        auto& discipline =
            db.disciplineList.disciplines[pick(db.disciplineList.disciplines.size())];
        c.SetDisciplineCircle(discipline.get(), number(0, discipline->highestCircle));
    };
    auto rank = [&] {
        if (!c.talents.empty())
            c.SetTalentRank(c.talents[pick(c.talents.size())].get(), number(0, 15));
    };
    const std::function<void()> operations[] = {
        [&] { c.SetRace(db.raceTable.races[pick(db.raceTable.races.size())].get()); },
        [&] { c.SetAttributeBase(slot, number(c.Att(slot).minimum, c.Att(slot).maximum)); },
        [&] { c.SetAttributeIncreases(slot, number(0, 5)); },
        [&] { c.SetKarmaBought(number(0, 30)); },
        [&] {
            c.SetLegendEarned(number(0, 50000));
            c.Notify(HintLegend);
            c.SetModified();
        },
        [&] {
            c.name = "Hero " + std::to_string(number(0, 999));
            c.SetModified();
        },
        circle,
        circle,
        rank,
        rank,
        [&] { c.SetSkillRank(all.skills[pick(all.skills.size())], number(0, 10)); },
        [&] {
            const CVARN_DBSpell* spell = all.spells[pick(all.spells.size())];
            if (CVARN_PCSpell* known = c.FindPCSpell(spell))
                c.RemoveSpell(known);
            else
                c.AddSpell(spell, spell->types.empty() ? std::string() : spell->types.front());
        },
        [&] { c.AddEquipment(all.items[pick(all.items.size())]); },
        [&] {
            if (!c.equipment.empty())
                c.RemoveEquipment(c.equipment[pick(c.equipment.size())].get());
        },
        [&] {
            if (c.equipment.empty())
                return;
            CVARN_CharEquip* piece = c.equipment[pick(c.equipment.size())].get();
            if (auto* thread = dynamic_cast<CVARN_CharEquipThreadArmor*>(piece);
                thread && number(0, 1))
                thread->threadRank = static_cast<int16_t>(number(0, 10));
            else if (auto* armor = dynamic_cast<CVARN_CharEquipArmor*>(piece))
                armor->worn = !armor->worn;
            else if (auto* shield = dynamic_cast<CVARN_CharEquipShield*>(piece))
                shield->worn = !shield->worn;
            c.EquipmentChanged(piece);
        },
        [&] {
            c.attributesCost = number(0, 1);
            c.attributePoints = static_cast<int16_t>(number(40, 90));
            c.Notify(HintAttributesCost);
            c.SetModified();
        },
    };
    operations[number(0, 15)]();
}

} // namespace

TEST_F(DocFixture, RandomPageOperationsUndoAndRedoExactly) {
    for (const unsigned seed : {1u, 2u}) {
        CharacterDocument* doc = docs->openDocumentFile(kVeteran);
        ASSERT_NE(doc, nullptr);
        CVARN_Character& c = doc->character();
        const Entries all(ShippedRules());
        std::mt19937 rng(seed);
        std::vector<State> states{State(c)};
        for (int op = 0; op < 200; ++op) {
            RandomOperation(c, all, rng);
            doc->recordPendingStep(); // the end of the event that made the change
            if (doc->undoStack().index() == static_cast<int>(states.size()))
                states.emplace_back(c);
            ASSERT_EQ(doc->undoStack().index() + 1, static_cast<int>(states.size()))
                << "seed " << seed << " operation " << op;
        }
        for (size_t step = states.size() - 1; step > 0; --step) {
            doc->undo();
            ASSERT_TRUE(State(c) == states[step - 1]) << "seed " << seed << " undo to " << step - 1;
            ASSERT_TRUE(LinksMatchRecords(c)) << "seed " << seed << " undo to " << step - 1;
        }
        EXPECT_FALSE(doc->isModified()) << "back at the state of the file";
        for (size_t step = 1; step < states.size(); ++step) {
            doc->redo();
            ASSERT_TRUE(State(c) == states[step]) << "seed " << seed << " redo to " << step;
            ASSERT_TRUE(LinksMatchRecords(c)) << "seed " << seed << " redo to " << step;
        }
        doc->close();
        FlushDeletes();
    }
}

TEST_F(DocFixture, PagesBuiltAfterAChangeAddNothingToTheNextStep) {
    // After the first window the sheet's size is known, so a later window builds each page
    // when it is first shown, after the attributes have moved the steps it lists.
    docs->openDocumentFile(kVeteran)->close();
    FlushDeletes();
    CharacterDocument* doc = docs->openDocumentFile(kVeteran);
    ASSERT_NE(doc, nullptr);
    CVARN_Character& c = doc->character();
    for (int a = 0; a < AttCount; ++a) {
        const auto slot = static_cast<CVARN_AttributeSlot>(a);
        c.SetAttributeBase(slot, c.Att(slot).base + 3);
    }
    doc->recordPendingStep();
    for (int tab = 0; tab < CharacterPageCount; ++tab) {
        ViewOf(doc)->sheet()->SetActivePage(tab);
        QCoreApplication::processEvents();
    }
    const int steps = doc->undoStack().count();
    CVARN_CharTalent* talent = c.talents.front().get();
    c.SetTalentRank(talent, talent->rank % 15 + 1);
    doc->recordPendingStep();
    EXPECT_EQ(doc->undoStack().count(), steps + 1);
    EXPECT_EQ(doc->undoStack().undoText(), "Talent Rank");
    doc->undo();
    EXPECT_EQ(doc->undoStack().undoText(), "Attribute Base");
}

TEST_F(DocFixture, EditMenuUndoesEachPageAndNamesTheStep) {
    CharacterDocument* doc = docs->openDocumentFile(kVeteran);
    ASSERT_NE(doc, nullptr);
    QAction* undo = frame->undoAction();
    EXPECT_EQ(frame->editMenu()->actions(), (QList<QAction*>{undo, frame->redoAction()}));
    EXPECT_FALSE(undo->isEnabled()) << "an opened file starts an empty history";
    CVARN_Character& c = doc->character();

    // A change through each page's own controls is one named step, undone exactly: the
    // page shows what it showed and the document is back at the file.
    auto* attributes = PageOf<CVARN_PageAttributes>(doc, 1);
    auto* discipline = PageOf<CVARN_PageDiscipline>(doc, 2);
    auto* talents = PageOf<CVARN_PageTalents>(doc, 3);
    auto* skills = PageOf<CVARN_PageSkills>(doc, 4);
    auto* equipment = PageOf<CVARN_PageEquipment>(doc, 5);
    auto* spells = PageOf<CVARN_PageSpells>(doc, 6);
    QSpinBox* budget = Control<QSpinBox>(PageOf<CVARN_PageSystem>(doc, 7), "budgetSpin");
    QSpinBox* circle = Control<QSpinBox>(discipline, "adeptCircleSpin");
    QComboBox* races = Control<QComboBox>(attributes, "raceList");
    const auto bump = [](QSpinBox* rank, int top) { rank->setValue(rank->value() % top + 1); };
    struct PageCase { // the pages after the first, in tab order
        const char* step;
        std::function<void()> select; // a row whose values the change acts on
        std::function<QString()> shown;
        std::function<void()> change;
    };
    const PageCase pages[] = {
        {"Race", [] {},
         [&] { return races->currentText() + Control<QLabel>(attributes, "deathText")->text(); },
         [&] { races->setCurrentIndex((races->currentIndex() + 1) % races->count()); }},
        {"Discipline Circle",
         [&] { Control<QListWidget>(discipline, "disciplineList")->setCurrentRow(0); },
         [&] { return QString::number(circle->value()); },
         [&] { circle->setValue(circle->value() == 0 ? circle->maximum() : 0); }},
        {"Talent Rank", [&] { Control<CMyListCtrl>(talents, "talentList")->SelectRow(0); },
         [&] { return Rows(Control<CMyListCtrl>(talents, "talentList")); },
         [&] { bump(Control<QSpinBox>(talents, "rankSpin"), 15); }},
        {"Skill Rank", [&] { Control<CMyListCtrl>(skills, "skillList")->SelectRow(0); },
         [&] { return Rows(Control<CMyListCtrl>(skills, "skillList")); },
         [&] { bump(Control<QSpinBox>(skills, "rankSpin"), 10); }},
        {"Buy Item",
         [&] {
             QTreeWidgetItemIterator it(Control<QTreeWidget>(equipment, "availableTree"),
                                        QTreeWidgetItemIterator::NoChildren);
             Control<QTreeWidget>(equipment, "availableTree")->setCurrentItem(*it);
         },
         [&] { return Rows(Control<QTreeWidget>(equipment, "characterTree")); },
         [&] { Control<QPushButton>(equipment, "equipButton")->click(); }},
        {"Forget Spell", [&] { Control<CMyListCtrl>(spells, "spellList")->SelectRow(0); },
         [&] { return Rows(Control<CMyListCtrl>(spells, "spellList")); },
         [&] { Control<QPushButton>(spells, "learnButton")->click(); }},
        {"Attribute Points", [] {}, [&] { return QString::number(budget->value()); },
         [&] { budget->setValue(budget->value() + 5); }},
    };
    for (const PageCase& p : pages) {
        ViewOf(doc)->sheet()->SetActivePage(static_cast<int>(&p - pages) + 1);
        p.select();
        const QString before = p.shown();
        const State saved(c);
        p.change();
        QCoreApplication::processEvents();
        EXPECT_NE(p.shown(), before) << p.step;
        EXPECT_EQ(undo->text(), QString("Undo ") + p.step);
        undo->trigger();
        EXPECT_EQ(p.shown(), before) << p.step;
        EXPECT_TRUE(State(c) == saved) << p.step;
        EXPECT_FALSE(doc->isModified()) << p.step;
    }

    // Character: typing is one step per visit of the field.
    QLineEdit* edit = Control<QLineEdit>(PageOf<CVARN_PageCharacter>(doc, 0), "nameEdit");
    const QString name = edit->text();
    edit->setFocus();
    QTest::keyClicks(edit, "Brand");
    QCoreApplication::processEvents();
    EXPECT_EQ(doc->undoStack().count(), 1) << "five keys, one step; the undone steps went";
    EXPECT_EQ(undo->text(), "Undo Name");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier); // the document's undo
    EXPECT_EQ(edit->text(), name);
    EXPECT_EQ(QString::fromStdString(c.name), name);

    // A change made outside the pages is a step of its own, at the end of the event.
    const size_t pieces = c.equipment.size();
    c.AddEquipment(ShippedRules().equipmentDatabase.weapons.front().get());
    QCoreApplication::processEvents();
    EXPECT_EQ(undo->text(), "Undo Buy Item");
    undo->trigger();
    EXPECT_EQ(c.equipment.size(), pieces);
}
