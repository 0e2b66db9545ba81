#include "PageHost.h"

using namespace editor_test;
using PageSpells = OnePage<CVARN_PageSpells, true>;

TEST_F(PageSpells, LearnForgetAndTheButton) {
    QTreeWidget* tree = Control<QTreeWidget>(page, "spellTree");
    CMyListCtrl* list = Control<CMyListCtrl>(page, "spellList");
    QPushButton* button = Control<QPushButton>(page, "learnButton");
    EXPECT_EQ(button->text(), "---");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(page, "descriptionButton")->isEnabled());

    // Learned under its second type, the spell records the type its node names.
    ClickNode(tree, NodeAt(tree, {"Tempestry", "Circle 10", "Twofold Ward"}));
    EXPECT_EQ(button->text(), "Learn");
    EXPECT_EQ(Text(page, Nth("infoText", 0)), "2");
    EXPECT_EQ(Control<QPlainTextEdit>(page, "effectEdit")->toPlainText(),
              "Effect : +3 to spell defense");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(host.character.spells.size(), 1u);
    EXPECT_EQ(host.character.spells[0]->spellType, "Tempestry");
    EXPECT_GT(host.modifiedMarks, 0);
    EXPECT_EQ(RowTexts(list, 0), QStringList({"Twofold Ward", "Tempestry", "10"}));
    EXPECT_EQ(list->GetSelectedRow(), 0);
    EXPECT_EQ(button->text(), "Forget");

    // A second spell, then the list row of the first takes the tree to its type's node.
    ClickNode(tree, NodeAt(tree, {"Cinderlore", "Circle  1", "Ember Dart"}));
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_EQ(Texts(page, {Nth("infoText", 1), Nth("infoText", 4)}),
              QStringList({"5/10", "Spell defense"}));
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(RowTexts(list, 0), QStringList({"Ember Dart", "Cinderlore", " 1"}));
    ClickRow(list, 1);
    EXPECT_EQ(tree->currentItem(), NodeAt(tree, {"Tempestry", "Circle 10", "Twofold Ward"}));
    EXPECT_EQ(button->text(), "Forget");

    // Forgetting removes the row; the same spell stays selected and can be learned again.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(host.Count(HintSpellRemoved), 1);
    EXPECT_EQ(host.character.spells.size(), 1u);
    EXPECT_EQ(Column(list, 0), QStringList({"Ember Dart"}));
    EXPECT_EQ(button->text(), "Learn");
    ASSERT_NE(page->SelectedSpell(), nullptr);
    EXPECT_EQ(page->SelectedSpell()->name, "Twofold Ward");

    // Group nodes: nothing to learn.
    ClickNode(tree, NodeAt(tree, {"Cinderlore", "Circle 10"}));
    EXPECT_EQ(button->text(), "---");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(Control<QPlainTextEdit>(page, "effectEdit")->toPlainText(), "Effect : ");
    EXPECT_EQ(Text(page, Nth("infoText", 0)), "");
}

TEST_F(PageSpells, ThreadWeavingWarningFollowsTheTalent) {
    QTreeWidget* tree = Control<QTreeWidget>(page, "spellTree");
    EXPECT_TRUE(Control<QLabel>(page, "warningIcon")->isHidden());

    ClickNode(tree, NodeAt(tree, {"Tempestry", "Circle  9", "Gust"}));
    const QString missing = "This character doesn't know the Thread Weaving (Tempestry) talent\n\n";
    EXPECT_EQ(Control<QPlainTextEdit>(page, "warningEdit")->toPlainText(), missing);
    EXPECT_FALSE(Control<QLabel>(page, "warningIcon")->isHidden());

    // The discipline grants the talent at rank 0: still a warning.
    host.character.SetDisciplineCircle(SmallItemRules().disciplineList.FindDiscipline("Galesinger"),
                                       1);
    CVARN_CharTalent* weaving = host.character.FindCharTalent("Thread Weaving (Tempestry)");
    ASSERT_NE(weaving, nullptr);
    EXPECT_EQ(page->WarningText(), missing);
    host.character.SetTalentRank(weaving, 1);
    EXPECT_EQ(Control<QPlainTextEdit>(page, "warningEdit")->toPlainText(), "");
    EXPECT_TRUE(Control<QLabel>(page, "warningIcon")->isHidden());

    // Another type of magic has its own talent; a learned spell chosen in the list is
    // checked as well.
    const QString cinder = "This character doesn't know the Thread Weaving (Cinderlore) talent\n\n";
    ClickNode(tree, NodeAt(tree, {"Cinderlore", "Circle  1", "Ember Dart"}));
    EXPECT_EQ(page->WarningText(), cinder);
    QTest::mouseClick(Control<QPushButton>(page, "learnButton"), Qt::LeftButton);
    ClickNode(tree, NodeAt(tree, {"Tempestry", "Circle  9", "Gust"}));
    EXPECT_EQ(page->WarningText(), "");
    ClickRow(Control<CMyListCtrl>(page, "spellList"), 0);
    EXPECT_EQ(page->WarningText(), cinder);
    ClickNode(tree, NodeAt(tree, {"Cinderlore"}));
    EXPECT_EQ(page->WarningText(), "");
}

TEST_F(PageSpells, DescriptionOpensTheSpellWindow) {
    QTreeWidget* tree = Control<QTreeWidget>(page, "spellTree");
    ClickNode(tree, NodeAt(tree, {"Cinderlore", "Circle  1", "Ember Dart"}));
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CVARN_DlgInfoSpell*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = {dialog->windowTitle(), dialog->NameLabel()->text(),
                 dialog->DescriptionEdit()->toPlainText()};
        dialog->accept();
    });
    QTest::mouseClick(Control<QPushButton>(page, "descriptionButton"), Qt::LeftButton);
    EXPECT_EQ(shown,
              QStringList({"Spell", "Ember Dart", "Throws a spark that grows on its way. "}));
}
