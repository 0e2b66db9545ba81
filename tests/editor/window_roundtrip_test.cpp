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
    for (QTreeWidgetItemIterator it(Control<QTreeWidget>(skills, "skillTree"));
         *it != nullptr && !skillNode; ++it)
        if ((*it)->parent() != nullptr && (*it)->parent()->parent() != nullptr)
            skillNode = *it;
    ASSERT_NE(skillNode, nullptr);
    ClickNode(Control<QTreeWidget>(skills, "skillTree"), skillNode);
    QTest::keyClick(Control<QSpinBox>(skills, "rankSpin"), Qt::Key_Up);
    EXPECT_TRUE(doc->isModified());
    const QString skillName = skillNode->text(0);

    // A thread armour, worn and woven to rank 1.
    auto* equipment = varn_test::PageOf<CVARN_PageEquipment>(doc, 5);
    QTreeWidget* available = Control<QTreeWidget>(equipment, "availableTree");
    for (QTreeWidgetItemIterator it(available); *it != nullptr; ++it)
        if (EquipmentItem(*it) == eq.threadArmors.at(0).get())
            ClickNode(available, *it, true);
    QTreeWidget* owned = Control<QTreeWidget>(equipment, "characterTree");
    ASSERT_NE(NodeAt(owned, {"Armors"}), nullptr);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    ClickBox(Control<QCheckBox>(equipment, "wornBox"));
    QTest::keyClick(Control<QSpinBox>(equipment, "threadSpin"), Qt::Key_Up);

    auto* spells = varn_test::PageOf<CVARN_PageSpells>(doc, 6);
    QTreeWidgetItem* magic = Control<QTreeWidget>(spells, "spellTree")->topLevelItem(0);
    ClickNode(Control<QTreeWidget>(spells, "spellTree"), magic->child(0)->child(0));
    QTest::mouseClick(Control<QPushButton>(spells, "learnButton"), Qt::LeftButton);
    const QStringList spellRow = RowTexts(Control<CMyListCtrl>(spells, "spellList"), 0);
    EXPECT_EQ(spellRow.value(1), magic->text(0));

    auto* system = varn_test::PageOf<CVARN_PageSystem>(doc, 7);
    ClickBox(Control<QCheckBox>(system, "compatibilityBox"));
    ClickBox(Control<QCheckBox>(system, "attributeIncreaseBox"));
    QTest::keyClick(Control<QSpinBox>(system, "budgetSpin"), Qt::Key_Down);

    const QString path = Scratch("pages.vrn");
    ASSERT_TRUE(doc->saveDocument(path));
    doc->close();
    varn_test::FlushDeletes();

    CharacterDocument* reopened = docs->openDocumentFile(path);
    ASSERT_NE(reopened, nullptr);
    skills = varn_test::PageOf<CVARN_PageSkills>(reopened, 4);
    ASSERT_EQ(Control<CMyListCtrl>(skills, "skillList")->GetItemCount(), 1);
    EXPECT_EQ(RowTexts(Control<CMyListCtrl>(skills, "skillList"), 0).mid(0, 2),
              QStringList({skillName, "1"}));

    equipment = varn_test::PageOf<CVARN_PageEquipment>(reopened, 5);
    owned = Control<QTreeWidget>(equipment, "characterTree");
    EXPECT_EQ(ChildTexts(owned->invisibleRootItem()), QStringList{"Armors"});
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Armors"})->child(0)), EquipmentState::ArmorWorn);
    EXPECT_TRUE(Control<QCheckBox>(equipment, "wornBox")->isChecked());
    EXPECT_EQ(Control<QSpinBox>(equipment, "threadSpin")->value(), 1);

    spells = varn_test::PageOf<CVARN_PageSpells>(reopened, 6);
    ASSERT_EQ(Control<CMyListCtrl>(spells, "spellList")->GetItemCount(), 1);
    EXPECT_EQ(RowTexts(Control<CMyListCtrl>(spells, "spellList"), 0), spellRow);

    system = varn_test::PageOf<CVARN_PageSystem>(reopened, 7);
    EXPECT_EQ((QList<bool>{Control<QCheckBox>(system, "compatibilityBox")->isChecked(),
                           Control<QCheckBox>(system, "attributeIncreaseBox")->isChecked(),
                           Control<QCheckBox>(system, "attributesCostBox")->isChecked()}),
              (QList<bool>{false, false, true}));
    EXPECT_EQ(Control<QSpinBox>(system, "budgetSpin")->value(), 65);
    EXPECT_FALSE(reopened->isModified());
}
