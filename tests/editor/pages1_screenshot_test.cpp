// Pictures of the first four pages for the documentation, made only on request:
//   VARN_SCREENSHOT_DIR=docs/pages xvfb-run test_gui --gtest_filter=Pages1Screenshots.*

#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "editor/PageDiscipline.h"
#include "editor/PageTalents.h"
#include "pages1_harness.h"
#include "ui/MyListCtrl.h"

#include <QDir>
#include <QListWidget>

TEST(Pages1Screenshots, FirstFourPages) {
    const QString directory = qEnvironmentVariable("VARN_SCREENSHOT_DIR");
    if (directory.isEmpty())
        GTEST_SKIP() << "set VARN_SCREENSHOT_DIR to make the pictures";
    RulesDatabase& rules = ShippedRules();
    Pages1Character host(rules, rules.raceTable.races.front()->name);
    CVARN_Character& c = host.character;
    c.name = "Ilse Varrow";
    c.description = "Ferry-keeper's daughter from the lower river, sworn to the storm.";
    c.SetLegendEarned(2500);
    auto& character = host.Add<CVARN_PageCharacter>();
    auto& attributes = host.Add<CVARN_PageAttributes>();
    auto& disciplines = host.Add<CVARN_PageDiscipline>();
    auto& talents = host.Add<CVARN_PageTalents>();

    // A discipline at circle 3 with some talents ranked, so that the check still warns.
    CVARN_DBDiscipline* discipline = nullptr;
    for (const auto& entry : rules.disciplineList.disciplines) {
        if (discipline == nullptr && std::ranges::count(entry->races, c.race) > 0)
            discipline = entry.get();
    }
    ASSERT_NE(discipline, nullptr);
    c.SetDisciplineCircle(discipline, 3);
    c.SetAttributeIncreases(AttWillpower, 1);
    c.SetKarmaBought(4);
    for (size_t i = 0; i < c.talents.size(); i += 2)
        c.SetTalentRank(c.talents[i].get(), 3);
    // The ranks were set behind the pages' backs: redraw them all.
    for (CVARN_Page* page : host.relay.pages)
        page->RefreshFromCharacter();

    QListWidget* list = disciplines.DisciplineList();
    list->setCurrentItem(
        list->findItems(QString::fromStdString(discipline->name), Qt::MatchStartsWith).value(0));
    disciplines.TalentList()->setCurrentRow(0);
    talents.TalentList()->SelectRow(1);

    QDir().mkpath(directory);
    const std::pair<CVARN_Page*, const char*> shots[] = {{&character, "character"},
                                                         {&attributes, "attributes"},
                                                         {&disciplines, "discipline"},
                                                         {&talents, "talents"}};
    for (const auto& [page, name] : shots) {
        page->resize(page->sizeHint().expandedTo(QSize(760, 480)));
        page->show();
        QApplication::processEvents();
        EXPECT_TRUE(page->grab().save(directory + "/" + name + ".png")) << name;
        page->hide();
    }
}
