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

    void Buy(const QString& name) {
        ClickNode(equipment->AvailableTree(), Find(equipment->AvailableTree(), name), true);
    }
    void Rank(const QString& name, int rank) {
        ClickNode(skills->SkillTree(), Find(skills->SkillTree(), name));
        skills->RankSpin()->setValue(rank);
    }
    void Check(const char* step) {
        QTreeWidget* owned = equipment->CharacterTree();
        const QModelIndex piece = Marked(owned, step);
        const bool pieceMarked = piece.isValid() && owned->model()->rowCount(piece) == 0;
        EXPECT_EQ(pieceMarked, equipment->RemoveButton()->isEnabled()) << step;
        const QModelIndex entry = Marked(equipment->AvailableTree(), step);
        const bool entryMarked =
            entry.isValid() && equipment->AvailableTree()->model()->rowCount(entry) == 0;
        EXPECT_EQ(entryMarked, equipment->EquipButton()->isEnabled()) << step;
        if (!entry.isValid()) {
            EXPECT_EQ(pieceMarked, equipment->CharacteristicValue(0)->text() != "-") << step;
        }
        const QModelIndex node = Marked(skills->SkillTree(), step);
        const QModelIndex row = Marked(skills->SkillList(), step);
        const bool skill =
            row.isValid() || (node.isValid() && !skills->SkillTree()->model()->hasChildren(node));
        EXPECT_EQ(skill, skills->RankSpin()->isEnabled()) << step;
        EXPECT_EQ(skill, !skills->DescriptionEdit()->toPlainText().isEmpty()) << step;
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
             ClickNode(p.equipment->CharacterTree(), Find(p.equipment->CharacterTree(), "Buckler"));
             QTest::mouseClick(p.equipment->RemoveButton(), Qt::LeftButton);
         }},
        {"piece deleted by key",
         [](Pages& p) {
             ClickNode(p.equipment->CharacterTree(), Find(p.equipment->CharacterTree(), "Dirk"));
             QTest::keyClick(p.equipment->CharacterTree(), Qt::Key_Delete);
         }},
        {"piece bought",
         [](Pages& p) {
             ClickNode(p.equipment->CharacterTree(), Find(p.equipment->CharacterTree(), "Dirk"));
             p.Buy("Rope");
         }},
        {"pieces filtered away and back",
         [](Pages& p) {
             ClickNode(p.equipment->CharacterTree(), Find(p.equipment->CharacterTree(), "Dirk"));
             QTest::keyClicks(p.equipment->CharacterFind(), "zz");
             QTest::keyClick(p.equipment->CharacterFind(), Qt::Key_Escape);
         }},
        {"goods filtered",
         [](Pages& p) {
             ClickNode(p.equipment->AvailableTree(), Find(p.equipment->AvailableTree(), "Rope"));
             QTest::keyClicks(p.equipment->AvailableFind(), "dirk");
         }},
        {"skill removed",
         [](Pages& p) {
             p.Rank("Mending", 2);
             ClickRow(p.skills->SkillList(), 0);
             p.skills->RankSpin()->setValue(0);
         }},
        {"skill filtered away",
         [](Pages& p) {
             p.Rank("Mending", 2);
             QTest::keyClicks(p.skills->FindField(), "zzz");
         }},
        {"skill filtered away and back",
         [](Pages& p) {
             p.Rank("Mending", 2);
             QTest::keyClicks(p.skills->FindField(), "zzz");
             QTest::keyClick(p.skills->FindField(), Qt::Key_Escape);
             EXPECT_NE(p.skills->SelectedSkill(), nullptr) << "back where it was";
         }},
        {"letter node after a skill",
         [](Pages& p) {
             p.Rank("Mending", 2);
             ClickNode(p.skills->SkillTree(), Find(p.skills->SkillTree(), "A-F"));
         }},
        {"skill list tabbed into after a removal",
         [](Pages& p) {
             p.Rank("Mending", 2);
             p.Rank("Zither Playing", 1);
             p.skills->RankSpin()->setValue(0);
             p.skills->SkillList()->setFocus(Qt::TabFocusReason);
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
