// A player makes a character with the shipped data through the first four pages only: race
// and attributes, a discipline taken to circle 3, talents ranked until the Talents page has
// nothing left to warn about.

#include "PageHost.h"

using namespace editor_test;

TEST(Playthrough, ACharacterReachesCircleThreeWithoutWarnings) {
    RulesDatabase& rules = ShippedRules();
    ASSERT_GE(rules.raceTable.races.size(), 2u);
    PageHost host(rules);
    CVARN_Character& c = host.character;
    auto* character = host.Add<CVARN_PageCharacter>();
    auto* attributes = host.Add<CVARN_PageAttributes>();
    auto* disciplines = host.Add<CVARN_PageDiscipline>();
    auto* talents = host.Add<CVARN_PageTalents>();

    // Race: the last one of the list, whatever it is.
    Activate(attributes);
    QComboBox* race = Control<QComboBox>(attributes, "raceList");
    race->setFocus();
    QTest::keyClick(race, Qt::Key_End);
    EXPECT_EQ(QString::fromStdString(c.raceName), race->itemText(race->count() - 1));
    QSpinBox* dexterity = Control<QSpinBox>(attributes, "baseSpin", AttDexterity);
    dexterity->setFocus();
    QTest::keyClick(dexterity, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttDexterity).base, dexterity->value());

    // Discipline: the first one offered, to circle 3.
    Activate(disciplines);
    QListWidget* list = Control<QListWidget>(disciplines, "disciplineList");
    ASSERT_GT(list->count(), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    ASSERT_NE(disciplines->SelectedDiscipline(), nullptr);
    QSpinBox* adept = Control<QSpinBox>(disciplines, "adeptCircleSpin");
    adept->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(adept, Qt::Key_Up);
    const CVARN_CharDisc* record = c.FindCharDisc(disciplines->SelectedDiscipline());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->circle, 3);
    EXPECT_TRUE(list->selectedItems().front()->text().endsWith("   (3)"));

    // Talents: each to rank 3 by the Right key.
    Activate(talents);
    CMyListCtrl* talentList = Control<CMyListCtrl>(talents, "talentList");
    EXPECT_FALSE(Control<QLabel>(talents, "warningIcon")->isHidden());
    ASSERT_EQ(talentList->GetItemCount(), static_cast<int>(c.talents.size()));
    talentList->setFocus();
    for (int row = 0; row < talentList->GetItemCount(); ++row) {
        talentList->SelectRow(row);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(talentList, Qt::Key_Right);
        EXPECT_EQ(talentList->GetItemText(row, CVARN_PageTalents::ColRank), "3");
        EXPECT_FALSE(talentList->IsRowDimmed(row));
    }
    EXPECT_EQ(Control<QPlainTextEdit>(talents, "checkEdit")->toPlainText(), "");
    EXPECT_TRUE(Control<QLabel>(talents, "warningIcon")->isHidden());

    // The Character page has followed every purchase.
    EXPECT_GT(c.talentLegend, 0);
    EXPECT_EQ(Control<QLabel>(character, "spentText")->text(), QString::number(c.SpentLegend()));
    EXPECT_EQ(Control<QLabel>(character, "availableText")->text(),
              QString::number(c.AvailableLegend()));
    EXPECT_EQ(Control<QLabel>(character, "availableIcon")->isHidden(), c.AvailableLegend() >= 0);
}
