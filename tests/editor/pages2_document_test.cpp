// The last four pages inside a real character window: edits reach the document, and a saved
// character reopens showing the same.

#include "editor/EquipmentTree.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "pages2_host.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPropertySheet.h"
#include "ui/View.h"
#include "ui/doc_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

template <class P> P* ShowPage(CVARN_Doc* doc, int tab) {
    auto* view = qobject_cast<CVARN_View*>(doc->Views().value(0));
    if (view == nullptr)
        return nullptr;
    auto* page = dynamic_cast<P*>(view->Page(tab));
    if (page != nullptr)
        view->Sheet()->SetActivePage(page);
    return page;
}

} // namespace

using Pages2Document = varn_test::DocFixture;

TEST_F(Pages2Document, EditsReachTheDocumentAndSurviveSaving) {
    using pages2::ClickBox;
    using pages2::ClickNode;
    using pages2::NodeAt;
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    const RulesDatabase& rules = varn_test::ShippedRules();

    auto* skills = ShowPage<CVARN_PageSkills>(doc, 4);
    ASSERT_NE(skills, nullptr);
    EXPECT_TRUE(skills->IsInitialised());
    EXPECT_FALSE(doc->IsModified());
    QTreeWidget* skillTree = skills->SkillTree();
    QTreeWidgetItem* type = skillTree->topLevelItem(0);
    ASSERT_GT(type->childCount(), 0);
    QTreeWidgetItem* skillNode = nullptr;
    for (int i = 0; i < type->childCount() && skillNode == nullptr; ++i)
        if (type->child(i)->childCount() > 0)
            skillNode = type->child(i)->child(0);
    ASSERT_NE(skillNode, nullptr);
    ClickNode(skillTree, skillNode);
    QTest::keyClick(skills->RankSpin(), Qt::Key_Up);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(skills->SkillList()->GetItemCount(), 1);
    const QString skillName = skillNode->text(0);

    auto* equipment = ShowPage<CVARN_PageEquipment>(doc, 5);
    ASSERT_NE(equipment, nullptr);
    const std::string armor = rules.equipmentDatabase.armors.at(0)->name;
    QTreeWidget* available = equipment->AvailableTree();
    for (QTreeWidgetItemIterator it(available); *it != nullptr; ++it)
        if (EquipmentItem(*it) == rules.equipmentDatabase.armors.at(0).get())
            ClickNode(available, *it, true);
    QTreeWidget* owned = equipment->CharacterTree();
    ASSERT_NE(NodeAt(owned, {"Armors"}), nullptr);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0));
    ClickBox(equipment->WornBox());

    auto* spells = ShowPage<CVARN_PageSpells>(doc, 6);
    ASSERT_NE(spells, nullptr);
    QTreeWidgetItem* magic = spells->SpellTree()->topLevelItem(0);
    ClickNode(spells->SpellTree(), magic->child(0)->child(0));
    QTest::mouseClick(spells->LearnButton(), Qt::LeftButton);
    const QString spellRow = spells->SpellList()->GetItemText(0, 0) + "|" + magic->text(0);
    EXPECT_EQ(spells->SpellList()->GetItemText(0, 1), magic->text(0));

    auto* system = ShowPage<CVARN_PageSystem>(doc, 7);
    ASSERT_NE(system, nullptr);
    ClickBox(system->CompatibilityBox());

    const QString path = Scratch("pages2.vrn");
    ASSERT_TRUE(doc->SaveDocument(path));
    doc->OnCloseDocument();
    varn_test::FlushDeletes();

    CVARN_Doc* reopened = docs->OpenDocumentFile(path);
    ASSERT_NE(reopened, nullptr);
    skills = ShowPage<CVARN_PageSkills>(reopened, 4);
    ASSERT_NE(skills, nullptr);
    ASSERT_EQ(skills->SkillList()->GetItemCount(), 1);
    EXPECT_EQ(skills->SkillList()->GetItemText(0, 0), skillName);
    EXPECT_EQ(skills->SkillList()->GetItemText(0, 1), "1");

    equipment = ShowPage<CVARN_PageEquipment>(reopened, 5);
    owned = equipment->CharacterTree();
    ASSERT_NE(NodeAt(owned, {"Armors"}), nullptr);
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Armors"})->child(0)), EquipmentState::ArmorWorn);

    spells = ShowPage<CVARN_PageSpells>(reopened, 6);
    ASSERT_EQ(spells->SpellList()->GetItemCount(), 1);
    EXPECT_EQ(spells->SpellList()->GetItemText(0, 0) + "|" + spells->SpellList()->GetItemText(0, 1),
              spellRow);

    system = ShowPage<CVARN_PageSystem>(reopened, 7);
    EXPECT_FALSE(system->CompatibilityBox()->isChecked());
    EXPECT_FALSE(reopened->IsModified());
}
