#include "editor/PageSkills.h"
#include "pages2_host.h"
#include "ui/MyListCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>

using namespace pages2;

namespace {

void ClickRow(CMyListCtrl* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->Row(row)).center());
}

QStringList ListColumn(CMyListCtrl* list, int col) {
    QStringList texts;
    for (int r = 0; r < list->GetItemCount(); ++r)
        texts << list->GetItemText(r, col);
    return texts;
}

} // namespace

TEST(PageSkills, TreeGroupsSkillsByTypeAndLetter) {
    PageHost host(SmallRules());
    auto* page = host.Add<CVARN_PageSkills>();
    QTreeWidget* tree = page->SkillTree();

    // A name after 'Z' stands at the top level, sorted among the types; "trade"
    // and "Trade" share one node (named as the first skill that the table walk
    // meets).
    EXPECT_EQ(ChildTexts(tree->invisibleRootItem()).join(",").toLower(),
              "_hidden lore,artisan,trade");
    QTreeWidgetItem* artisan = NodeAt(tree, {"Artisan"});
    ASSERT_NE(artisan, nullptr);
    // Four letter groups even where some stay empty.
    EXPECT_EQ(ChildTexts(artisan), QStringList({"A-F", "G-L", "M-R", "S-Z"}));
    EXPECT_TRUE(artisan->font(0).bold());
    EXPECT_TRUE(artisan->child(0)->font(0).bold());
    EXPECT_EQ(ChildTexts(NodeAt(tree, {"Artisan", "A-F"})), QStringList({"1st Aid"}));
    EXPECT_EQ(NodeAt(tree, {"Artisan", "G-L"})->childCount(), 0);
    EXPECT_EQ(ChildTexts(NodeAt(tree, {"Artisan", "S-Z"})), QStringList({"Zither Playing"}));
    // A lower-case initial lands where its upper-case form would; children are
    // sorted.
    EXPECT_EQ(ChildTexts(NodeAt(tree, {"Trade", "A-F"})),
              QStringList({"apple picking", "Bargaining"}));
    EXPECT_FALSE(NodeAt(tree, {"Trade", "A-F", "Bargaining"})->font(0).bold());
}

TEST(PageSkills, RankAddsAndRemovesSkillsAndKeepsSelectionInStep) {
    PageHost host(SmallRules());
    auto* page = host.Add<CVARN_PageSkills>();
    QTreeWidget* tree = page->SkillTree();
    CMyListCtrl* list = page->SkillList();
    QSpinBox* rank = page->RankSpin();
    EXPECT_FALSE(rank->isEnabled());
    EXPECT_EQ(page->FormulaText()->text(), "Formula : ?");

    ClickNode(tree, NodeAt(tree, {"Trade", "A-F", "Bargaining"}));
    ASSERT_NE(page->SelectedSkill(), nullptr);
    EXPECT_TRUE(rank->isEnabled());
    EXPECT_EQ(rank->maximum(), 10);
    EXPECT_EQ(rank->value(), 0);
    EXPECT_EQ(page->FormulaText()->text(), "Formula : Cha + 2");
    EXPECT_EQ(page->StrainText()->text(), "Strain :  1");
    EXPECT_EQ(page->DescriptionEdit()->toPlainText(), "Haggles over prices. ");

    // Typing does nothing; the arrow keys set the rank, which adds the skill.
    QTest::keyClicks(rank, "7");
    EXPECT_TRUE(host.character.skills.empty());
    QTest::keyClick(rank, Qt::Key_Up);
    QTest::keyClick(rank, Qt::Key_Up);
    ASSERT_EQ(host.character.skills.size(), 1u);
    EXPECT_EQ(host.character.skills[0]->rank, 2);
    EXPECT_TRUE(host.Sent(HintSkillAdded));
    EXPECT_TRUE(host.modified);
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetItemText(0, 0), "Bargaining");
    EXPECT_EQ(list->GetItemText(0, 1), "2");
    EXPECT_EQ(list->GetItemText(0, 2), "Cha + 2");
    const int chaStep = host.character.Att(AttCharisma).Step();
    EXPECT_EQ(list->GetItemText(0, 3), QString::number(2 + 2 + chaStep));
    EXPECT_EQ(list->GetSelectedRow(), 0);
    EXPECT_FALSE(list->Row(0)->icon(0).isNull());

    // The step follows the attribute.
    host.character.SetAttributeBase(AttCharisma, host.character.Att(AttCharisma).base + 3);
    EXPECT_EQ(list->GetItemText(0, 3),
              QString::number(2 + 2 + host.character.Att(AttCharisma).Step()));

    // A second skill, then selecting the first one in the list moves the tree
    // along.
    ClickNode(tree, NodeAt(tree, {"Artisan", "M-R", "Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_EQ(rank->value(), 0);
    QTest::keyClick(rank, Qt::Key_Up);
    EXPECT_EQ(ListColumn(list, 0), QStringList({"Bargaining", "Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), 1);
    EXPECT_TRUE(list->Row(0)->icon(0).isNull());
    ClickRow(list, 0);
    EXPECT_EQ(tree->currentItem(), NodeAt(tree, {"Trade", "A-F", "Bargaining"}));
    EXPECT_EQ(rank->value(), 2);
    EXPECT_EQ(page->FormulaText()->text(), "Formula : Cha + 2");

    // Back to 0: the row goes, the skill stays selected in the tree.
    QTest::keyClick(rank, Qt::Key_Down);
    QTest::keyClick(rank, Qt::Key_Down);
    EXPECT_TRUE(host.Sent(HintSkillRemoved));
    EXPECT_EQ(ListColumn(list, 0), QStringList({"Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_EQ(tree->currentItem()->text(0), "Bargaining");
    EXPECT_TRUE(rank->isEnabled());
    EXPECT_EQ(host.character.FindPCSkill(page->SelectedSkill()), nullptr);

    // A group node: nothing to rank, nothing to show.
    ClickNode(tree, NodeAt(tree, {"Trade"}));
    EXPECT_FALSE(rank->isEnabled());
    EXPECT_EQ(page->FormulaText()->text(), "Formula : ?");
    EXPECT_EQ(page->StrainText()->text(), "Strain : ?");
    EXPECT_FALSE(page->ActionBox()->isChecked());
}

TEST(PageSkills, FlagsFollowTheRulesAndCannotBeClicked) {
    PageHost host(SmallRules());
    auto* page = host.Add<CVARN_PageSkills>();
    QTreeWidget* tree = page->SkillTree();
    CVARN_DBSkill* mending = SmallRules().skillTable.FindSkill("Mending");
    ASSERT_NE(mending, nullptr);
    const uint8_t karma = mending->karma;
    mending->karma = 1; // only talent copies have it in real data
    ClickNode(tree, NodeAt(tree, {"Artisan", "M-R", "Mending"}));
    EXPECT_EQ(page->StrainText()->text(), "Strain :  0 (+2)");
    EXPECT_TRUE(page->ActionBox()->isChecked());
    EXPECT_TRUE(page->KarmaBox()->isChecked());
    ClickBox(page->ActionBox());
    ClickBox(page->KarmaBox());
    EXPECT_TRUE(page->ActionBox()->isChecked());
    EXPECT_TRUE(page->KarmaBox()->isChecked());
    mending->karma = karma;
}
