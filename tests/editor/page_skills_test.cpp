#include "PageHost.h"

using namespace editor_test;
using PageSkills = OnePage<CVARN_PageSkills, true>;

TEST_F(PageSkills, RankAddsAndRemovesSkillsAndKeepsSelectionInStep) {
    QTreeWidget* tree = Control<QTreeWidget>(page, "skillTree");
    CMyListCtrl* list = Control<CMyListCtrl>(page, "skillList");
    QSpinBox* rank = Control<QSpinBox>(page, "rankSpin");
    EXPECT_FALSE(rank->isEnabled());

    ClickNode(tree, NodeAt(tree, {"Trade", "A-F", "Bargaining"}));
    EXPECT_EQ(rank->maximum(), 10);
    EXPECT_EQ(Texts(page, {"formulaText", "strainText"}),
              QStringList({"Formula : Cha + 2", "Strain :  1"}));
    EXPECT_EQ(Control<QPlainTextEdit>(page, "descriptionEdit")->toPlainText(),
              "Haggles over prices. ");

    // The arrow keys set the rank, which adds the skill.
    QTest::keyClick(rank, Qt::Key_Up);
    QTest::keyClick(rank, Qt::Key_Up);
    ASSERT_EQ(c.skills.size(), 1u);
    EXPECT_EQ(c.skills[0]->rank, 2);
    EXPECT_EQ(host.Count(HintSkillAdded), 1);
    EXPECT_GT(host.modifiedMarks, 0);
    const auto step = [&] { return QString::number(2 + 2 + c.Att(AttCharisma).Step()); };
    EXPECT_EQ(RowTexts(list, 0), QStringList({"Bargaining", "2", "Cha + 2", step()}));
    EXPECT_EQ(list->GetSelectedRow(), 0);
    EXPECT_FALSE(list->Row(0)->icon(0).isNull());
    c.SetAttributeBase(AttCharisma, c.Att(AttCharisma).base + 3);
    EXPECT_EQ(list->GetItemText(0, 3), step());

    // A second skill, then selecting the first one in the list moves the tree along.
    ClickNode(tree, NodeAt(tree, {"Artisan", "M-R", "Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_EQ(rank->value(), 0);
    QTest::keyClick(rank, Qt::Key_Up);
    EXPECT_EQ(Column(list, 0), QStringList({"Bargaining", "Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), 1);
    EXPECT_TRUE(list->Row(0)->icon(0).isNull());
    ClickRow(list, 0);
    EXPECT_EQ(tree->currentItem(), NodeAt(tree, {"Trade", "A-F", "Bargaining"}));
    EXPECT_EQ(rank->value(), 2);

    // Back to 0: the row goes, the skill stays selected in the tree.
    QTest::keyClick(rank, Qt::Key_Down);
    QTest::keyClick(rank, Qt::Key_Down);
    EXPECT_EQ(host.Count(HintSkillRemoved), 1);
    EXPECT_EQ(Column(list, 0), QStringList({"Mending"}));
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_EQ(tree->currentItem()->text(0), "Bargaining");
    EXPECT_TRUE(rank->isEnabled());

    // A group node: nothing to rank, nothing to show.
    ClickNode(tree, NodeAt(tree, {"Trade"}));
    EXPECT_FALSE(rank->isEnabled());
    EXPECT_EQ(Texts(page, {"formulaText", "strainText"}),
              QStringList({"Formula : ?", "Strain : ?"}));
}

// The flags describe the skill: clicking them changes nothing. Karma, which only talent
// copies have in real data, adds 2 to the strain.
TEST_F(PageSkills, FlagsFollowTheRulesAndCannotBeClicked) {
    CVARN_DBSkill* mending = SmallItemRules().skillTable.Find("Mending");
    ASSERT_NE(mending, nullptr);
    const uint8_t karma = std::exchange(mending->karma, 1);
    ClickNode(Control<QTreeWidget>(page, "skillTree"),
              NodeAt(Control<QTreeWidget>(page, "skillTree"), {"Artisan", "M-R", "Mending"}));
    EXPECT_EQ(Text(page, "strainText"), "Strain :  0 (+2)");
    ClickBox(Control<QCheckBox>(page, "actionBox"));
    ClickBox(Control<QCheckBox>(page, "karmaBox"));
    EXPECT_TRUE(Control<QCheckBox>(page, "actionBox")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(page, "karmaBox")->isChecked());
    ClickNode(Control<QTreeWidget>(page, "skillTree"),
              NodeAt(Control<QTreeWidget>(page, "skillTree"), {"Trade"}));
    EXPECT_FALSE(Control<QCheckBox>(page, "actionBox")->isChecked());
    mending->karma = karma;
}
