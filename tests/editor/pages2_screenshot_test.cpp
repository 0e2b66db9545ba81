// Pictures of the Skills, Equipment, Grimoire and System pages for the documentation, taken
// only when VARN_SCREENSHOT_DIR names a folder. Under a virtual X display:
//   VARN_SCREENSHOT_DIR=docs/pages QT_QPA_PLATFORM=xcb xvfb-run -a
//   test_gui --gtest_filter=Pages2.Screenshots

#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "pages2_host.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPropertySheet.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

using namespace pages2;

TEST(Pages2, Screenshots) {
    const QString dir = qEnvironmentVariable("VARN_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "VARN_SCREENSHOT_DIR is not set";
    ASSERT_TRUE(QDir().mkpath(dir));

    RulesDatabase& rules = ShippedRules();
    PageHost host(rules);
    CVARN_Character& c = host.character;
    c.name = "Ysolde Marrow";
    c.SetDisciplineCircle(rules.disciplineList.FindDiscipline("Galesinger"), 2);
    if (CVARN_CharTalent* weaving = c.FindCharTalent("Thread Weaving (Tempestry)"))
        c.SetTalentRank(weaving, 2);

    CMyPropertySheet sheet(QStringLiteral("VARN"));
    for (const char* caption : {"Character", "Attributes", "Discipline", "Talents"})
        sheet.AddPage(new QWidget, QString::fromLatin1(caption));
    auto* skills = host.Make<CVARN_PageSkills>();
    auto* equipment = host.Make<CVARN_PageEquipment>();
    auto* spells = host.Make<CVARN_PageSpells>();
    auto* system = host.Make<CVARN_PageSystem>();
    sheet.AddPage(skills, skills->Caption());
    sheet.AddPage(equipment, equipment->Caption());
    sheet.AddPage(spells, spells->Caption());
    sheet.AddPage(system, system->Caption());
    sheet.resize(1000, 600);
    sheet.show();

    // Skills: a few learned, one selected in the tree.
    sheet.SetActivePage(skills);
    const SkillTable& skillTable = rules.skillTable;
    int learned = 0;
    for (CVARN_DBSkill* s = skillTable.FirstSkill(); s != nullptr && learned < 5;
         s = skillTable.NextSkill(s))
        if (s->type != "Talent")
            c.SetSkillRank(s, 1 + learned++ % 3);
    QTest::mouseClick(skills->SkillList()->viewport(), Qt::LeftButton, {},
                      skills->SkillList()->visualItemRect(skills->SkillList()->Row(1)).center());
    QTest::qWait(50);
    sheet.grab().save(dir + "/skills.png");

    // Equipment: worn armour and shield, a thread armour woven to rank 1, a weapon.
    sheet.SetActivePage(equipment);
    const EquipmentDatabase& eq = rules.equipmentDatabase;
    const CVARN_Item* bought[] = {eq.armors.at(1).get(), eq.shields.at(2).get(),
                                  eq.weapons.at(2).get(), eq.threadArmors.at(0).get(),
                                  eq.misc.at(0).get()};
    for (const CVARN_Item* item : bought)
        c.AddEquipment(item);
    QTreeWidget* owned = equipment->CharacterTree();
    owned->expandAll();
    ClickNode(owned, NodeAt(owned, {"Shields"})->child(0), true);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0), true);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(1));
    QTest::keyClick(equipment->ThreadSpin(), Qt::Key_Up);
    QTreeWidget* available = equipment->AvailableTree();
    available->expandAll();
    available->scrollToTop();
    QTest::qWait(50);
    sheet.grab().save(dir + "/equipment.png");

    // Grimoire: a spell known, another selected.
    sheet.SetActivePage(spells);
    QTreeWidget* tree = spells->SpellTree();
    QTreeWidgetItem* tempestry = NodeAt(tree, {"Tempestry"});
    ASSERT_NE(tempestry, nullptr);
    ClickNode(tree, tempestry->child(0)->child(0));
    QTest::mouseClick(spells->LearnButton(), Qt::LeftButton);
    QTreeWidgetItem* cinderlore = NodeAt(tree, {"Cinderlore"});
    ASSERT_NE(cinderlore, nullptr);
    ClickNode(tree, cinderlore->child(0)->child(0));
    QTest::qWait(50);
    sheet.grab().save(dir + "/grimoire.png");

    sheet.SetActivePage(system);
    QTest::qWait(50);
    sheet.grab().save(dir + "/system.png");
}
