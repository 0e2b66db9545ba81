// Pictures of the eight pages for the documentation; not a test, so not run by ctest:
//   VARN_SCREENSHOT_DIR=docs/pages QT_QPA_PLATFORM=xcb xvfb-run -a build/bin/varn-screenshots
// Besides the pages as they are, a find field at work (find.png) and every page again at
// twice the size under a dark palette (dark/), as a high-DPI screen with a dark theme shows
// them.

#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "editor/PageDiscipline.h"
#include "editor/PageEquipment.h"
#include "editor/PageHost.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "editor/PageTalents.h"
#include "support/Controls.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"
#include "widgets/MyPropertySheet.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>

using namespace editor_test;

namespace {
QPalette DarkPalette() {
    QPalette p;
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230), grey(128, 128, 128),
        accent(58, 130, 210);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(120));
    p.setColor(QPalette::Dark, window.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, grey);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, grey);
    return p;
}
} // namespace

TEST(Screenshots, EightPages) {
    const QString dir = qEnvironmentVariable("VARN_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VARN_SCREENSHOT_DIR to make the pictures";
    ASSERT_TRUE(QDir().mkpath(dir));
    RulesDatabase& rules = ShippedRules();
    PageHost host(rules);
    CVARN_Character& c = host.character;
    c.name = "Ilse Varrow";
    c.description = "Ferry-keeper's daughter from the lower river, sworn to the storm.";
    c.SetLegendEarned(2500);
    const CVARN_DBDiscipline* discipline = rules.disciplineList.FindDiscipline("Galesinger");
    ASSERT_NE(discipline, nullptr);
    // Some talents ranked, so that the circle check still warns.
    c.SetDisciplineCircle(discipline, 3);
    c.SetAttributeIncreases(AttWillpower, 1);
    c.SetKarmaBought(4);
    for (size_t i = 0; i < c.talents.size(); i += 2)
        c.SetTalentRank(c.talents[i].get(), 3);
    if (CVARN_CharTalent* weaving = c.FindCharTalent("Thread Weaving (Tempestry)"))
        c.SetTalentRank(weaving, 2);

    CMyPropertySheet sheet(QStringLiteral("VARN"));
    host.Make<CVARN_PageCharacter>();
    host.Make<CVARN_PageAttributes>();
    auto* disciplines = host.Make<CVARN_PageDiscipline>();
    auto* talents = host.Make<CVARN_PageTalents>();
    auto* skills = host.Make<CVARN_PageSkills>();
    auto* equipment = host.Make<CVARN_PageEquipment>();
    auto* spells = host.Make<CVARN_PageSpells>();
    host.Make<CVARN_PageSystem>();
    for (CVARN_Page* page : host.pages)
        sheet.AddPage(page, page->Caption());
    sheet.resize(1000, 600);
    sheet.show();
    const auto shoot = [&](int tab, const char* name) {
        sheet.SetActivePage(tab);
        QTest::qWait(50);
        EXPECT_TRUE(sheet.grab().save(dir + "/" + name + ".png")) << name;
    };
    shoot(0, "character");
    shoot(1, "attributes");

    sheet.SetActivePage(disciplines);
    auto* list = Control<QListWidget>(disciplines, "disciplineList");
    list->setCurrentItem(list->findItems("Galesinger", Qt::MatchStartsWith).value(0));
    Control<QListWidget>(disciplines, "talentList")->setCurrentRow(0);
    shoot(2, "discipline");
    Control<CMyListCtrl>(talents, "talentList")->SelectRow(1);
    shoot(3, "talents");

    // Skills: a few learned, one selected.
    sheet.SetActivePage(skills);
    int learned = 0;
    for (CVARN_DBSkill* s = rules.skillTable.First(); s != nullptr && learned < 5;
         s = rules.skillTable.Next(s))
        if (s->type != "Talent")
            c.SetSkillRank(s, 1 + learned++ % 3);
    ClickRow(Control<CMyListCtrl>(skills, "skillList"), 1);
    shoot(4, "skills");

    // Equipment: worn armour and shield, a thread armour woven to rank 1, a weapon.
    sheet.SetActivePage(equipment);
    const EquipmentDatabase& eq = rules.equipmentDatabase;
    const CVARN_Item* bought[] = {eq.armors.at(1).get(), eq.shields.at(2).get(),
                                  eq.weapons.at(2).get(), eq.threadArmors.at(0).get(),
                                  eq.misc.at(0).get()};
    for (const CVARN_Item* item : bought)
        c.AddEquipment(item);
    auto* owned = Control<QTreeWidget>(equipment, "characterTree");
    owned->expandAll();
    ClickNode(owned, NodeAt(owned, {"Shields"})->child(0), true);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(0), true);
    ClickNode(owned, NodeAt(owned, {"Armors"})->child(1));
    QTest::keyClick(Control<QSpinBox>(equipment, "threadSpin"), Qt::Key_Up);
    auto* available = Control<QTreeWidget>(equipment, "availableTree");
    available->expandAll();
    available->scrollToTop();
    shoot(5, "equipment");

    // Grimoire: a spell known, another selected.
    sheet.SetActivePage(spells);
    auto* tree = Control<QTreeWidget>(spells, "spellTree");
    ASSERT_NE(NodeAt(tree, {"Tempestry"}), nullptr);
    ASSERT_NE(NodeAt(tree, {"Cinderlore"}), nullptr);
    ClickNode(tree, NodeAt(tree, {"Tempestry"})->child(0)->child(0));
    QTest::mouseClick(Control<QPushButton>(spells, "learnButton"), Qt::LeftButton);
    ClickNode(tree, NodeAt(tree, {"Cinderlore"})->child(0)->child(0));
    shoot(6, "grimoire");
    shoot(7, "system");

    sheet.SetActivePage(skills);
    auto* find = Control<CVARN_FindField>(skills, "findField");
    find->setText(QStringLiteral("ing"));
    shoot(4, "find");
    find->clear();

    const QString dark = dir + "/dark";
    ASSERT_TRUE(QDir().mkpath(dark));
    const QString style = QApplication::style()->name();
    const QPalette palette = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
    const char* const names[] = {"character", "attributes", "discipline", "talents",
                                 "skills",    "equipment",  "grimoire",   "system"};
    for (int tab = 0; tab < 8; ++tab) {
        sheet.SetActivePage(tab);
        QTest::qWait(50);
        QPixmap shot(sheet.size() * 2);
        shot.setDevicePixelRatio(2);
        shot.fill(QApplication::palette().color(QPalette::Window));
        sheet.render(&shot);
        EXPECT_TRUE(shot.save(dark + "/" + names[tab] + ".png")) << names[tab];
    }
    QApplication::setPalette(palette);
    QApplication::setStyle(style);
}
