// The last four pages inside a real character window: edits reach the document, and a saved
// character reopens showing the same on every page.

#include "PageHost.h"

using namespace editor_test;

using PagesWindow = varn_test::DocFixture;

TEST_F(PagesWindow, EditsReachTheDocumentAndSurviveSavingAndReopening) {
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    const EquipmentDatabase& eq = ShippedRules().equipmentDatabase;

    auto* skills = varn_test::PageOf<CVARN_PageSkills>(doc, 4);
    EXPECT_TRUE(skills->IsInitialised());
    EXPECT_FALSE(doc->isModified());
    QTreeWidgetItem* skillNode = nullptr; // the first skill under a type and a letter group
    for (QTreeWidgetItemIterator it(skills->SkillTree()); *it != nullptr && !skillNode; ++it)
        if ((*it)->parent() != nullptr && (*it)->parent()->parent() != nullptr)
            skillNode = *it;
    ASSERT_NE(skillNode, nullptr);
    ClickNode(skills->SkillTree(), skillNode);
    QTest::keyClick(skills->RankSpin(), Qt::Key_Up);
    EXPECT_TRUE(doc->isModified());
    const QString skillName = skillNode->text(0);

    // A thread armour, worn and woven to rank 1.
    auto* equipment = varn_test::PageOf<CVARN_PageEquipment>(doc, 5);
    QTreeWidget* available = equipment->AvailableTree();
    for (QTreeWidgetItemIterator it(available); *it != nullptr; ++it)
        if (EquipmentItem(*it) == eq.threadArmors.at(0).get())
            ClickNode(available, *it, true);
    QTreeWidget* owned = equipment->CharacterTree();
    ASSERT_NE(NodeAt(owned, {"Armors"}), nullptr);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    ClickBox(equipment->WornBox());
    QTest::keyClick(equipment->ThreadSpin(), Qt::Key_Up);

    auto* spells = varn_test::PageOf<CVARN_PageSpells>(doc, 6);
    QTreeWidgetItem* magic = spells->SpellTree()->topLevelItem(0);
    ClickNode(spells->SpellTree(), magic->child(0)->child(0));
    QTest::mouseClick(spells->LearnButton(), Qt::LeftButton);
    const QStringList spellRow = RowTexts(spells->SpellList(), 0);
    EXPECT_EQ(spellRow.value(1), magic->text(0));

    auto* system = varn_test::PageOf<CVARN_PageSystem>(doc, 7);
    ClickBox(system->CompatibilityBox());
    ClickBox(system->AttributeIncreaseBox());
    QTest::keyClick(system->BudgetSpin(), Qt::Key_Down);

    const QString path = Scratch("pages.vrn");
    ASSERT_TRUE(doc->saveDocument(path));
    doc->close();
    varn_test::FlushDeletes();

    CharacterDocument* reopened = docs->openDocumentFile(path);
    ASSERT_NE(reopened, nullptr);
    skills = varn_test::PageOf<CVARN_PageSkills>(reopened, 4);
    ASSERT_EQ(skills->SkillList()->GetItemCount(), 1);
    EXPECT_EQ(RowTexts(skills->SkillList(), 0).mid(0, 2), QStringList({skillName, "1"}));

    equipment = varn_test::PageOf<CVARN_PageEquipment>(reopened, 5);
    owned = equipment->CharacterTree();
    EXPECT_EQ(ChildTexts(owned->invisibleRootItem()), QStringList{"Armors"});
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Armors"})->child(0)), EquipmentState::ArmorWorn);
    EXPECT_TRUE(equipment->WornBox()->isChecked());
    EXPECT_EQ(equipment->ThreadSpin()->value(), 1);

    spells = varn_test::PageOf<CVARN_PageSpells>(reopened, 6);
    ASSERT_EQ(spells->SpellList()->GetItemCount(), 1);
    EXPECT_EQ(RowTexts(spells->SpellList(), 0), spellRow);

    system = varn_test::PageOf<CVARN_PageSystem>(reopened, 7);
    EXPECT_EQ((QList<bool>{system->CompatibilityBox()->isChecked(),
                           system->AttributeIncreaseBox()->isChecked(),
                           system->AttributesCostBox()->isChecked()}),
              (QList<bool>{false, false, true}));
    EXPECT_EQ(system->BudgetSpin()->value(), 65);
    EXPECT_FALSE(reopened->isModified());
}
