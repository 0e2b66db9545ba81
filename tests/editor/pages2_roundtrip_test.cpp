// A character edited through the Skills, Equipment, Grimoire and System pages,
// saved and read back, shows the same on every page.

#include "character/CharacterFile.h"
#include "editor/EquipmentTree.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "pages2_host.h"
#include "ui/MyListCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace pages2;

TEST(Pages2, EditedCharacterSurvivesSavingAndReading) {
    RulesDatabase& rules = SmallRules();
    std::string bytes;
    {
        PageHost host(rules);
        auto* skills = host.Add<CVARN_PageSkills>();
        auto* equipment = host.Add<CVARN_PageEquipment>();
        auto* spells = host.Add<CVARN_PageSpells>();
        auto* system = host.Add<CVARN_PageSystem>();

        ClickNode(skills->SkillTree(),
                  NodeAt(skills->SkillTree(), {"Trade", "G-L", "Ledger Keeping"}));
        QTest::keyClick(skills->RankSpin(),
                        Qt::Key_PageUp); // ten steps, held at 10

        ClickNode(spells->SpellTree(),
                  NodeAt(spells->SpellTree(), {"Cinderlore", "Circle 10", "Twofold Ward"}));
        QTest::mouseClick(spells->LearnButton(), Qt::LeftButton);

        QTreeWidget* available = equipment->AvailableTree();
        for (const QStringList& path :
             {QStringList{"Thread Armors", "Woven Mail"}, QStringList{"Shields", "Round Shield"}}) {
            ClickNode(available, NodeAt(available, path));
            QTest::mouseClick(equipment->EquipButton(), Qt::LeftButton);
        }
        QTreeWidget* owned = equipment->CharacterTree();
        ClickNode(owned, NodeAt(owned, {"Armors", "Woven Mail"}));
        ClickBox(equipment->WornBox());
        QTest::keyClick(equipment->ThreadSpin(), Qt::Key_Up);
        ClickNode(owned, NodeAt(owned, {"Shields", "Round Shield"}), true);

        ClickBox(system->AttributeIncreaseBox());
        QTest::keyClick(system->BudgetSpin(), Qt::Key_Down);
        bytes = WriteCharacter(host.character);
    }

    PageHost host(rules);
    CVARN_SilentPrompt prompt;
    ASSERT_EQ(ReadCharacter(host.character, bytes, prompt), CVARN_FileFailure::None);
    auto* skills = host.Add<CVARN_PageSkills>();
    auto* equipment = host.Add<CVARN_PageEquipment>();
    auto* spells = host.Add<CVARN_PageSpells>();
    auto* system = host.Add<CVARN_PageSystem>();

    ASSERT_EQ(skills->SkillList()->GetItemCount(), 1);
    EXPECT_EQ(skills->SkillList()->GetItemText(0, 0), "Ledger Keeping");
    EXPECT_EQ(skills->SkillList()->GetItemText(0, 1), "10");

    ASSERT_EQ(spells->SpellList()->GetItemCount(), 1);
    EXPECT_EQ(spells->SpellList()->GetItemText(0, 1), "Cinderlore");

    QTreeWidget* owned = equipment->CharacterTree();
    EXPECT_EQ(ChildTexts(owned->invisibleRootItem()), QStringList({"Armors", "Shields"}));
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Armors", "Woven Mail"})),
              EquipmentState::ArmorWorn);
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Shields", "Round Shield"})),
              EquipmentState::ShieldWorn);
    ClickNode(owned, NodeAt(owned, {"Armors", "Woven Mail"}));
    EXPECT_EQ(equipment->ThreadSpin()->value(), 1);
    EXPECT_TRUE(equipment->WornBox()->isChecked());
    EXPECT_EQ(equipment->CharacteristicValue(2)->text(), "5");

    EXPECT_FALSE(system->AttributeIncreaseBox()->isChecked());
    EXPECT_TRUE(system->AttributesCostBox()->isChecked());
    EXPECT_EQ(system->BudgetSpin()->value(), 65);
}
