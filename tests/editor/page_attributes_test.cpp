#include "PageHost.h"

using namespace editor_test;
using PageAttributes = OnePage<CVARN_PageAttributes>;

// Walker: no racial modifiers, every base at 10 (value 10, step 5, cost 5).
TEST_F(PageAttributes, ShowsTheCharacterInItsFormats) {
    EXPECT_EQ(Control<QComboBox>(page, "raceList")->currentText(), "Walker");
    EXPECT_EQ(Control<QSpinBox>(page, "baseSpin", AttCharisma)->minimum(), 2);
    EXPECT_EQ(Control<QSpinBox>(page, "baseSpin", AttCharisma)->maximum(), 18);
    EXPECT_EQ(
        Texts(page, {Nth("modifierText", AttCharisma), Nth("stepText", AttCharisma), "pointsText",
                     "increasesText", "initiativeText", "landText", "flyText", "recoveryTestsText",
                     "carryText", "karmaDiceText", "karmaAvailableText"}),
        QStringList(
            {"+0", "5", "30 / 66", "0 / 0", "d8 (5)", "30/60", "N/A", "2", "50 Lbs", "d4", "5"}));
    EXPECT_EQ(Control<QPlainTextEdit>(page, "abilitiesEdit")->toPlainText(),
              "Patient: waits a day without food.\nSteady: never loses its footing on a road.\n");
    EXPECT_TRUE(Control<QPlainTextEdit>(page, "abilitiesEdit")->isReadOnly());
    EXPECT_EQ(Texts(page, {"physicalDefenseText", "spellDefenseText", "socialDefenseText"}),
              QStringList({QString::number(c.physicalDefense), QString::number(c.spellDefense),
                           QString::number(c.socialDefense)}));
    for (const char* icon : {"pointsIcon", "increasesIcon", "karmaAvailableIcon"})
        EXPECT_TRUE(Control<QLabel>(page, icon)->isHidden()) << icon;
    QStringList karmaRows;
    for (const char* value : {"karmaCostText", "karmaMaxText", "karmaDiceText", "karmaBoughtEdit",
                              "karmaSpentEdit", "karmaAvailableText"})
        karmaRows << Caption(Control<QWidget>(page, value));
    EXPECT_EQ(karmaRows,
              QStringList({"Cost :", "Max :", "Dice :", "Bought", "Spent", "Available Points :"}));

    host.character.raceName = "Nowhere";
    page->RefreshFromCharacter();
    EXPECT_EQ(Control<QComboBox>(page, "raceList")->currentIndex(), -1);
}

// No other hint reports the values, steps and points a race changes: the race change
// redraws them itself.
TEST_F(PageAttributes, ChoosingARaceRedrawsThePage) {
    Activate(page);
    Control<QComboBox>(page, "raceList")->setFocus();
    QTest::keyClick(Control<QComboBox>(page, "raceList"), Qt::Key_Up); // Walker -> Stone
    ASSERT_EQ(host.character.raceName, "Stone");
    EXPECT_EQ(Control<QSpinBox>(page, "baseSpin", AttStrength)->minimum(), 8);
    EXPECT_EQ(Texts(page, {Nth("modifierText", AttDexterity), Nth("valueText", AttStrength),
                           Nth("stepText", AttDexterity), "physicalArmorText"}),
              QStringList({"-1", "12", "4", "2"}));
    EXPECT_EQ(Control<QPlainTextEdit>(page, "abilitiesEdit")->toPlainText(),
              "Heavy: cannot swim.\n");

    QTest::keyClick(Control<QComboBox>(page, "raceList"), Qt::Key_Up); // Stone -> Flyer
    EXPECT_EQ(Text(page, "flyText"), "36/72");
    // Toughness 9 gives 1 test a day, and the race takes 2: none left.
    EXPECT_EQ(Text(page, "recoveryTestsText"), "None");
}

TEST_F(PageAttributes, BaseValuesAndIncreasesGoThroughTheCharacter) {
    Activate(page);

    QSpinBox* toughness = Control<QSpinBox>(page, "baseSpin", AttToughness);
    toughness->setFocus();
    QTest::keyClick(toughness, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttToughness).base, 11);
    EXPECT_EQ(host.Count(HintToughnessBase), 1);
    EXPECT_EQ(Text(page, "pointsText"), "31 / 66");
    QTest::keyClick(toughness, Qt::Key_PageDown); // held at the minimum, 2
    EXPECT_EQ(c.Att(AttToughness).base, 2);
    EXPECT_EQ(Texts(page, {"pointsText", "recoveryTestsText"}), QStringList({"22 / 66", "1/2"}));
    toughness->setValue(7); // one test a day
    EXPECT_EQ(Text(page, "recoveryTestsText"), "1");

    // One increase before circle 2 is one too many while the rule is on.
    QSpinBox* level = Control<QSpinBox>(page, "levelSpin", AttDexterity);
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Up);
    EXPECT_EQ(c.Att(AttDexterity).increases, 1);
    EXPECT_EQ(Texts(page, {Nth("valueText", AttDexterity), "increasesText"}),
              QStringList({"11", "1 / 0"}));
    EXPECT_FALSE(Control<QLabel>(page, "increasesIcon")->isHidden());
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 3);
    EXPECT_EQ(Text(page, "increasesText"), "1 / 2");
    EXPECT_TRUE(Control<QLabel>(page, "increasesIcon")->isHidden());
}

TEST_F(PageAttributes, KarmaEditsUpdateAtOnceAndAnnounceOnLeaving) {
    Activate(page);
    QLineEdit* spent = Control<QLineEdit>(page, "karmaSpentEdit");
    QLineEdit* bought = Control<QLineEdit>(page, "karmaBoughtEdit");

    spent->setFocus();
    spent->selectAll();
    QTest::keyClicks(spent, "3");
    EXPECT_EQ(Text(page, "karmaAvailableText"), "2");
    QTest::keyClick(spent, Qt::Key_Backspace);
    EXPECT_EQ(c.karmaSpent, 0);
    EXPECT_EQ(Text(page, "karmaAvailableText"), "5");
    EXPECT_EQ(host.Count(HintKarma), 0);

    bought->setFocus();
    EXPECT_EQ(host.Count(HintKarma), 1);
    EXPECT_EQ(spent->text(), "0") << "the karma hint redrew the emptied edit";
    bought->selectAll();
    QTest::keyClicks(bought, "6");
    EXPECT_EQ(c.karmaLegend, 60);
    EXPECT_FALSE(Control<QLabel>(page, "karmaAvailableIcon")->isHidden())
        << "11 is above the maximum of 10";
    Control<QSpinBox>(page, "baseSpin", AttDexterity)->setFocus();
    bought->setFocus();
    Control<QSpinBox>(page, "baseSpin", AttDexterity)->setFocus();
    EXPECT_EQ(host.Count(HintKarma), 2) << "a second visit without typing is silent";

    // The karma fields are 16-bit: a sixth digit is refused, larger numbers are held.
    bought->selectAll();
    QTest::keyClicks(bought, "999999");
    EXPECT_EQ(bought->text(), "99999");
    EXPECT_EQ(c.karmaBought, CVARN_PageAttributes::KarmaLimit);
}
