// What is drawn highlighted is what the page acts on. A list draws its current row with a
// focus frame (many styles fill it), so after a filter, a removal or an addition the current
// row and the selected row are one and the same, or there is neither; and the page's controls
// follow that row.
#include "PageHost.h"

#include <functional>

using namespace editor_test;

namespace {

bool Shown(const QTreeView* view, QModelIndex index) {
    for (; index.isValid(); index = index.parent())
        if (view->isRowHidden(index.row(), index.parent()))
            return false;
    return true;
}

// The row a user sees marked in `view` (current, or selected), checking that both agree.
QModelIndex Marked(const QTreeView* view, const char* step) {
    QModelIndex current = view->currentIndex();
    if (current.isValid())
        current = current.siblingAtColumn(0);
    QModelIndex selected;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        if (Shown(view, index))
            selected = index;
    EXPECT_EQ(current, selected) << step << ": current \""
                                 << current.data().toString().toStdString() << "\", selected \""
                                 << selected.data().toString().toStdString() << '"';
    return selected;
}

QTreeWidgetItem* Find(QTreeWidget* tree, const QString& text) {
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        if ((*it)->text(0) == text)
            return *it;
    return nullptr;
}

struct Pages {
    PageHost host{SmallItemRules()};
    CVARN_PageEquipment* equipment = host.Add<CVARN_PageEquipment>();
    CVARN_PageSkills* skills = host.Add<CVARN_PageSkills>();

    // Clicks the node `name` of the tree `tree` on `page` (twice: a double click).
    static void Pick(QWidget* page, const char* tree, const QString& name, bool twice = false) {
        ClickNode(Control<QTreeWidget>(page, tree), Find(Control<QTreeWidget>(page, tree), name),
                  twice);
    }
    void Buy(const QString& name) { Pick(equipment, "availableTree", name, true); }
    void Rank(const QString& name, int rank) {
        Pick(skills, "skillTree", name);
        Control<QSpinBox>(skills, "rankSpin")->setValue(rank);
    }
    void Check(const char* step) {
        QTreeWidget* owned = Control<QTreeWidget>(equipment, "characterTree");
        const QModelIndex piece = Marked(owned, step);
        const bool pieceMarked = piece.isValid() && owned->model()->rowCount(piece) == 0;
        EXPECT_EQ(pieceMarked, Control<QPushButton>(equipment, "removeButton")->isEnabled())
            << step;
        const QModelIndex entry = Marked(Control<QTreeWidget>(equipment, "availableTree"), step);
        const bool entryMarked = entry.isValid() && entry.model()->rowCount(entry) == 0;
        EXPECT_EQ(entryMarked, Control<QPushButton>(equipment, "equipButton")->isEnabled()) << step;
        if (!entry.isValid()) {
            EXPECT_EQ(pieceMarked, Text(equipment, Nth("characteristicValue", 0)) != "-") << step;
        }
        const QModelIndex node = Marked(Control<QTreeWidget>(skills, "skillTree"), step);
        const QModelIndex row = Marked(Control<CMyListCtrl>(skills, "skillList"), step);
        const bool skill = row.isValid() || (node.isValid() && !node.model()->hasChildren(node));
        EXPECT_EQ(skill, Control<QSpinBox>(skills, "rankSpin")->isEnabled()) << step;
        EXPECT_EQ(skill,
                  !Control<QPlainTextEdit>(skills, "descriptionEdit")->toPlainText().isEmpty())
            << step;
    }
};

struct Case {
    const char* step;
    std::function<void(Pages&)> act;
};

} // namespace

TEST(SelectionAgrees, AfterFilterRemovalAndAddition) {
    const Case cases[] = {
        {"piece removed",
         [](Pages& p) {
             p.Pick(p.equipment, "characterTree", "Buckler");
             QTest::mouseClick(Control<QPushButton>(p.equipment, "removeButton"), Qt::LeftButton);
         }},
        {"piece deleted by key",
         [](Pages& p) {
             p.Pick(p.equipment, "characterTree", "Dirk");
             QTest::keyClick(Control<QTreeWidget>(p.equipment, "characterTree"), Qt::Key_Delete);
         }},
        {"piece bought",
         [](Pages& p) {
             p.Pick(p.equipment, "characterTree", "Dirk");
             p.Buy("Rope");
         }},
        {"pieces filtered away and back",
         [](Pages& p) {
             p.Pick(p.equipment, "characterTree", "Dirk");
             QTest::keyClicks(Control<CVARN_FindField>(p.equipment, "characterFind"), "zz");
             QTest::keyClick(Control<CVARN_FindField>(p.equipment, "characterFind"),
                             Qt::Key_Escape);
         }},
        {"goods filtered",
         [](Pages& p) {
             p.Pick(p.equipment, "availableTree", "Rope");
             QTest::keyClicks(Control<CVARN_FindField>(p.equipment, "availableFind"), "dirk");
         }},
        {"skill removed",
         [](Pages& p) {
             p.Rank("Mending", 2);
             ClickRow(Control<CMyListCtrl>(p.skills, "skillList"), 0);
             Control<QSpinBox>(p.skills, "rankSpin")->setValue(0);
         }},
        {"skill filtered away",
         [](Pages& p) {
             p.Rank("Mending", 2);
             QTest::keyClicks(Control<CVARN_FindField>(p.skills, "findField"), "zzz");
         }},
        {"skill filtered away and back",
         [](Pages& p) {
             p.Rank("Mending", 2);
             QTest::keyClicks(Control<CVARN_FindField>(p.skills, "findField"), "zzz");
             QTest::keyClick(Control<CVARN_FindField>(p.skills, "findField"), Qt::Key_Escape);
             EXPECT_NE(p.skills->SelectedSkill(), nullptr) << "back where it was";
         }},
        {"letter node after a skill",
         [](Pages& p) {
             p.Rank("Mending", 2);
             p.Pick(p.skills, "skillTree", "A-F");
         }},
        {"skill list tabbed into after a removal",
         [](Pages& p) {
             p.Rank("Mending", 2);
             p.Rank("Zither Playing", 1);
             Control<QSpinBox>(p.skills, "rankSpin")->setValue(0);
             Control<CMyListCtrl>(p.skills, "skillList")->setFocus(Qt::TabFocusReason);
         }},
        {"skill added",
         [](Pages& p) {
             p.Rank("Mending", 2);
             p.Rank("Zither Playing", 1);
         }},
    };
    for (const Case& c : cases) {
        Pages p;
        Activate(p.equipment);
        Activate(p.skills);
        p.Buy("Dirk");
        p.Buy("Buckler");
        c.act(p);
        p.Check(c.step);
    }
}
