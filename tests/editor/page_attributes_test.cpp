#include "editor/PageAttributes.h"
#include "pages1_harness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

// Walker: no racial modifiers, every base at 10 (value 10, step 5, cost 5).
TEST(PageAttributes, ShowsTheCharacterInItsFormats) {
    Pages1Character host(SmallRules(), "Walker");
    auto& page = host.Add<CVARN_PageAttributes>();

    QComboBox* races = page.RaceList();
    ASSERT_EQ(races->count(), 3);
    EXPECT_EQ(races->itemText(0), "Flyer");
    EXPECT_EQ(races->itemText(2), "Walker");
    EXPECT_EQ(races->currentText(), "Walker");
    EXPECT_EQ(page.BaseSpin(AttCharisma)->minimum(), 2);
    EXPECT_EQ(page.BaseSpin(AttCharisma)->maximum(), 18);
    EXPECT_EQ(page.LevelSpin(AttCharisma)->maximum(), 5);
    EXPECT_EQ(page.ModifierText(AttCharisma)->text(), "+0");
    EXPECT_EQ(page.StepText(AttCharisma)->text(), "5");
    EXPECT_EQ(page.PointsText()->text(), "30 / 66");
    EXPECT_EQ(page.IncreasesText()->text(), "0 / 0");
    EXPECT_EQ(page.AbilitiesEdit()->toPlainText(),
              "Patient: waits a day without food.\nSteady: never loses its "
              "footing on a road.\n");
    EXPECT_EQ(page.InitiativeText()->text(), "d8 (5)");
    EXPECT_EQ(page.MysticArmorText()->text(), "1");
    EXPECT_EQ(page.LandText()->text(), "30/60");
    EXPECT_EQ(page.FlyText()->text(), "N/A");
    EXPECT_EQ(page.RecoveryTestsText()->text(), "2");
    EXPECT_EQ(page.RecoveryDiceText()->text(), "d8 (5)");
    EXPECT_EQ(page.CarryText()->text(), "50 Lbs");
    EXPECT_EQ(page.KarmaDiceText()->text(), "d4");
    EXPECT_EQ(page.KarmaAvailableText()->text(), "5");
    for (QLabel* icon : {page.PointsIcon(), page.IncreasesIcon(), page.KarmaAvailableIcon()})
        EXPECT_TRUE(icon->isHidden());

    host.character.raceName = "Nowhere";
    page.RefreshFromCharacter();
    EXPECT_EQ(races->currentIndex(), -1);
}

TEST(PageAttributes, ChoosingARaceRedrawsThePage) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto& page = host.Add<CVARN_PageAttributes>();
    Pages1Character::ShowActive(page);

    page.RaceList()->setFocus();
    QTest::keyClick(page.RaceList(), Qt::Key_Up); // Walker -> Stone
    ASSERT_EQ(c.raceName, "Stone");
    EXPECT_EQ(page.ModifierText(AttDexterity)->text(), "-1");
    EXPECT_EQ(page.BaseSpin(AttStrength)->minimum(), 8);
    // Values and steps follow the new modifiers at once.
    EXPECT_EQ(page.ValueText(AttStrength)->text(), "12");
    EXPECT_EQ(page.StepText(AttDexterity)->text(), "4");
    EXPECT_EQ(page.PhysicalArmorText()->text(), "2");
    EXPECT_EQ(page.AbilitiesEdit()->toPlainText(), "Heavy: cannot swim.\n");

    QTest::keyClick(page.RaceList(), Qt::Key_Up); // Stone -> Flyer
    EXPECT_EQ(page.FlyText()->text(), "36/72");
    // Toughness 9 gives 1 test a day, and the race takes 2: none left.
    EXPECT_EQ(page.RecoveryTestsText()->text(), "None");
}

TEST(PageAttributes, BaseValuesAndIncreasesGoThroughTheCharacter) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto& page = host.Add<CVARN_PageAttributes>();
    Pages1Character::ShowActive(page);

    QSpinBox* toughness = page.BaseSpin(AttToughness);
    toughness->setFocus();
    QTest::keyClick(toughness, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttToughness).base, 11);
    EXPECT_EQ(host.relay.Count(HintToughnessBase), 1);
    EXPECT_EQ(page.PointsText()->text(), "31 / 66");
    QTest::keyClicks(toughness, "7"); // the number cannot be typed into
    EXPECT_EQ(c.Att(AttToughness).base, 11);
    QTest::keyClick(toughness, Qt::Key_PageDown); // held at the minimum, 2
    EXPECT_EQ(c.Att(AttToughness).base, 2);
    EXPECT_EQ(page.PointsText()->text(), "22 / 66");
    EXPECT_EQ(page.RecoveryTestsText()->text(), "1/2");

    c.attributePoints = 20;
    c.Notify(HintAttributePoints);
    EXPECT_EQ(page.PointsText()->text(), "22 / 20");
    EXPECT_FALSE(page.PointsIcon()->isHidden());
    c.attributesCost = 0;
    c.Notify(HintAttributesCost);
    EXPECT_EQ(page.PointsText()->text(), "22 / --");
    EXPECT_TRUE(page.PointsIcon()->isHidden());

    // One increase before circle 2 is one too many while the rule is on.
    QSpinBox* level = page.LevelSpin(AttDexterity);
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttDexterity).increases, 1);
    EXPECT_EQ(page.ValueText(AttDexterity)->text(), "11");
    EXPECT_EQ(page.IncreasesText()->text(), "1 / 0");
    EXPECT_FALSE(page.IncreasesIcon()->isHidden());
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 3);
    EXPECT_EQ(page.IncreasesText()->text(), "1 / 2");
    EXPECT_TRUE(page.IncreasesIcon()->isHidden());
    c.attributeIncrease = 0;
    c.Notify(HintAttributeIncrease);
    EXPECT_EQ(page.IncreasesText()->text(), "1 / --");
}

TEST(PageAttributes, KarmaEditsUpdateAtOnceAndAnnounceOnLeaving) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto& page = host.Add<CVARN_PageAttributes>();
    Pages1Character::ShowActive(page);
    QLineEdit* spent = page.KarmaSpentEdit();
    QLineEdit* bought = page.KarmaBoughtEdit();

    spent->setFocus();
    spent->selectAll();
    QTest::keyClicks(spent, "3");
    EXPECT_EQ(page.KarmaAvailableText()->text(), "2");
    QTest::keyClick(spent, Qt::Key_Backspace);
    EXPECT_EQ(c.karmaSpent, 0);
    EXPECT_EQ(page.KarmaAvailableText()->text(), "5");
    EXPECT_EQ(host.relay.Count(HintKarma), 0);

    bought->setFocus();
    EXPECT_EQ(host.relay.Count(HintKarma), 1);
    EXPECT_EQ(spent->text(), "0") << "1040 redrew the emptied edit";
    bought->selectAll();
    QTest::keyClicks(bought, "6");
    EXPECT_EQ(c.karmaLegend, 60);
    EXPECT_FALSE(page.KarmaAvailableIcon()->isHidden()) << "11 is above the maximum of 10";
    page.BaseSpin(AttDexterity)->setFocus();
    bought->setFocus();
    page.BaseSpin(AttDexterity)->setFocus();
    EXPECT_EQ(host.relay.Count(HintKarma), 2);

    // The karma fields are 16-bit: a sixth digit is refused, larger numbers are
    // held.
    bought->selectAll();
    QTest::keyClicks(bought, "999999");
    EXPECT_EQ(bought->text(), "99999");
    EXPECT_EQ(c.karmaBought, CVARN_PageAttributes::KarmaLimit);
}
