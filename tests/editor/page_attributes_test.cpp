#include "PageHost.h"

using namespace editor_test;
using PageAttributes = OnePage<CVARN_PageAttributes>;

// Walker: no racial modifiers, every base at 10 (value 10, step 5, cost 5).
TEST_F(PageAttributes, ShowsTheCharacterInItsFormats) {
    EXPECT_EQ(page->RaceList()->currentText(), "Walker");
    EXPECT_EQ(page->BaseSpin(AttCharisma)->minimum(), 2);
    EXPECT_EQ(page->BaseSpin(AttCharisma)->maximum(), 18);
    EXPECT_EQ(Texts({page->ModifierText(AttCharisma), page->StepText(AttCharisma),
                     page->PointsText(), page->IncreasesText(), page->InitiativeText(),
                     page->LandText(), page->FlyText(), page->RecoveryTestsText(),
                     page->CarryText(), page->KarmaDiceText(), page->KarmaAvailableText()}),
              QStringList({"+0", "5", "30 / 66", "0 / 0", "d8 (5)", "30/60", "N/A", "2", "50 Lbs",
                           "d4", "5"}));
    EXPECT_EQ(page->AbilitiesEdit()->toPlainText(),
              "Patient: waits a day without food.\nSteady: never loses its footing on a road.\n");
    EXPECT_EQ(
        Texts({page->PhysicalDefenseText(), page->SpellDefenseText(), page->SocialDefenseText()}),
        QStringList({QString::number(c.physicalDefense), QString::number(c.spellDefense),
                     QString::number(c.socialDefense)}));
    for (QLabel* icon : {page->PointsIcon(), page->IncreasesIcon(), page->KarmaAvailableIcon()})
        EXPECT_TRUE(icon->isHidden());
    QStringList karmaRows;
    for (QWidget* value : std::initializer_list<QWidget*>{
             page->KarmaCostText(), page->KarmaMaxText(), page->KarmaDiceText(),
             page->KarmaBoughtEdit(), page->KarmaSpentEdit(), page->KarmaAvailableText()})
        karmaRows << Caption(value);
    EXPECT_EQ(karmaRows,
              QStringList({"Cost :", "Max :", "Dice :", "Bought", "Spent", "Available Points :"}));

    host.character.raceName = "Nowhere";
    page->RefreshFromCharacter();
    EXPECT_EQ(page->RaceList()->currentIndex(), -1);
}

// No other hint reports the values, steps and points a race changes: the race change
// redraws them itself.
TEST_F(PageAttributes, ChoosingARaceRedrawsThePage) {
    Activate(page);
    page->RaceList()->setFocus();
    QTest::keyClick(page->RaceList(), Qt::Key_Up); // Walker -> Stone
    ASSERT_EQ(host.character.raceName, "Stone");
    EXPECT_EQ(page->BaseSpin(AttStrength)->minimum(), 8);
    EXPECT_EQ(Texts({page->ModifierText(AttDexterity), page->ValueText(AttStrength),
                     page->StepText(AttDexterity), page->PhysicalArmorText()}),
              QStringList({"-1", "12", "4", "2"}));
    EXPECT_EQ(page->AbilitiesEdit()->toPlainText(), "Heavy: cannot swim.\n");

    QTest::keyClick(page->RaceList(), Qt::Key_Up); // Stone -> Flyer
    EXPECT_EQ(page->FlyText()->text(), "36/72");
    // Toughness 9 gives 1 test a day, and the race takes 2: none left.
    EXPECT_EQ(page->RecoveryTestsText()->text(), "None");
}

TEST_F(PageAttributes, BaseValuesAndIncreasesGoThroughTheCharacter) {
    Activate(page);

    QSpinBox* toughness = page->BaseSpin(AttToughness);
    toughness->setFocus();
    QTest::keyClick(toughness, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttToughness).base, 11);
    EXPECT_EQ(host.Count(HintToughnessBase), 1);
    EXPECT_EQ(page->PointsText()->text(), "31 / 66");
    QTest::keyClick(toughness, Qt::Key_PageDown); // held at the minimum, 2
    EXPECT_EQ(c.Att(AttToughness).base, 2);
    EXPECT_EQ(Texts({page->PointsText(), page->RecoveryTestsText()}),
              QStringList({"22 / 66", "1/2"}));
    toughness->setValue(7); // one test a day
    EXPECT_EQ(page->RecoveryTestsText()->text(), "1");

    // One increase before circle 2 is one too many while the rule is on.
    QSpinBox* level = page->LevelSpin(AttDexterity);
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttDexterity).increases, 1);
    EXPECT_EQ(Texts({page->ValueText(AttDexterity), page->IncreasesText()}),
              QStringList({"11", "1 / 0"}));
    EXPECT_FALSE(page->IncreasesIcon()->isHidden());
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 3);
    EXPECT_EQ(page->IncreasesText()->text(), "1 / 2");
    EXPECT_TRUE(page->IncreasesIcon()->isHidden());
}

TEST_F(PageAttributes, KarmaEditsUpdateAtOnceAndAnnounceOnLeaving) {
    Activate(page);
    QLineEdit* spent = page->KarmaSpentEdit();
    QLineEdit* bought = page->KarmaBoughtEdit();

    spent->setFocus();
    spent->selectAll();
    QTest::keyClicks(spent, "3");
    EXPECT_EQ(page->KarmaAvailableText()->text(), "2");
    QTest::keyClick(spent, Qt::Key_Backspace);
    EXPECT_EQ(c.karmaSpent, 0);
    EXPECT_EQ(page->KarmaAvailableText()->text(), "5");
    EXPECT_EQ(host.Count(HintKarma), 0);

    bought->setFocus();
    EXPECT_EQ(host.Count(HintKarma), 1);
    EXPECT_EQ(spent->text(), "0") << "the karma hint redrew the emptied edit";
    bought->selectAll();
    QTest::keyClicks(bought, "6");
    EXPECT_EQ(c.karmaLegend, 60);
    EXPECT_FALSE(page->KarmaAvailableIcon()->isHidden()) << "11 is above the maximum of 10";
    page->BaseSpin(AttDexterity)->setFocus();
    bought->setFocus();
    page->BaseSpin(AttDexterity)->setFocus();
    EXPECT_EQ(host.Count(HintKarma), 2) << "a second visit without typing is silent";

    // The karma fields are 16-bit: a sixth digit is refused, larger numbers are held.
    bought->selectAll();
    QTest::keyClicks(bought, "999999");
    EXPECT_EQ(bought->text(), "99999");
    EXPECT_EQ(c.karmaBought, CVARN_PageAttributes::KarmaLimit);
}
