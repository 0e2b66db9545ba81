// What is drawn highlighted is what the page acts on: after a filter, a removal or an
// addition, a highlighted row always comes with the page's controls for it, and a row the
// page does not treat as selected is not highlighted.
#include "PageHost.h"

using namespace editor_test;

namespace {
// The highlighted rows a user can see.
QList<QTreeWidgetItem*> Highlighted(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> shown;
    for (QTreeWidgetItem* item : tree->selectedItems()) {
        bool hidden = false;
        for (QTreeWidgetItem* n = item; n != nullptr && !hidden; n = n->parent())
            hidden = n->isHidden();
        if (!hidden)
            shown << item;
    }
    return shown;
}
} // namespace

TEST(SelectionAgrees, OnTheEquipmentPage) {
    PageHost host(SmallItemRules());
    auto* page = host.Add<CVARN_PageEquipment>();
    Activate(page);
    QTreeWidget* available = page->AvailableTree();
    QTreeWidget* owned = page->CharacterTree();
    auto agree = [&](const char* step) {
        const bool entry =
            !Highlighted(available).isEmpty() && Highlighted(available).front()->childCount() == 0;
        EXPECT_EQ(entry, page->EquipButton()->isEnabled()) << step;
        const QList<QTreeWidgetItem*> pieces = Highlighted(owned);
        const bool piece = !pieces.isEmpty() && pieces.front()->childCount() == 0;
        EXPECT_EQ(piece, page->RemoveButton()->isEnabled()) << step;
        if (!entry) {
            EXPECT_EQ(piece, page->CharacteristicValue(0)->text() != "-") << step;
        }
    };
    for (const char* name : {"Dirk", "Buckler", "Quilted Coat", "Rope"}) {
        QTreeWidgetItem* node = nullptr;
        for (QTreeWidgetItemIterator it(available); *it != nullptr && node == nullptr; ++it)
            if ((*it)->text(0) == name)
                node = *it;
        ClickNode(available, node, true);
        agree(name);
    }
    ClickNode(owned, NodeAt(owned, {"Shields"})->child(0));
    QTest::mouseClick(page->RemoveButton(), Qt::LeftButton);
    agree("removed");
    ClickNode(owned, NodeAt(owned, {"Weapons"})->child(0));
    QTest::keyClicks(page->CharacterFind(), "zz");
    agree("filtered away");
    QTest::keyClick(page->CharacterFind(), Qt::Key_Escape);
    agree("filter cleared");
    ClickNode(available, NodeAt(available, {"Miscellaneous", "Rope"}));
    QTest::keyClicks(page->AvailableFind(), "dirk");
    agree("available filtered");
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    QTest::keyClick(owned, Qt::Key_Delete);
    agree("deleted");
}

TEST(SelectionAgrees, OnTheSkillsPage) {
    PageHost host(SmallItemRules());
    auto* page = host.Add<CVARN_PageSkills>();
    Activate(page);
    QTreeWidget* tree = page->SkillTree();
    auto agree = [&](const char* step) {
        const QList<QTreeWidgetItem*> shown = Highlighted(tree);
        const bool skill = !shown.isEmpty() && shown.front()->childCount() == 0;
        EXPECT_EQ(skill, page->RankSpin()->isEnabled()) << step;
        EXPECT_EQ(skill, !page->DescriptionEdit()->toPlainText().isEmpty()) << step;
    };
    QTreeWidgetItem* first = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr && first == nullptr; ++it)
        if ((*it)->childCount() == 0)
            first = *it;
    ClickNode(tree, first);
    agree("clicked");
    page->RankSpin()->setValue(3);
    agree("ranked");
    QTest::keyClicks(page->FindField(), "zzz");
    agree("filtered away");
    QTest::keyClick(page->FindField(), Qt::Key_Escape);
    agree("filter cleared");
    page->RankSpin()->setValue(0);
    agree("removed");
    CMyListCtrl* list = page->SkillList();
    EXPECT_EQ(list->selectedItems().isEmpty(), list->GetItemCount() == 0);
}
