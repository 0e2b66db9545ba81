#include "editor/PageAttributes.h"
#include "pages1_harness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

void Retype(QLineEdit *edit, const QString &text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

QStringList Items(const QComboBox *box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items << box->itemText(i);
  return items;
}

} // namespace

// Walker: no racial modifiers, every base at 10 (value 10, step 5, cost 5).
TEST(PageAttributes, ShowsEveryCharacteristicOfTheCharacter) {
  Pages1Character host(SmallRules(), "Walker");
  auto &page = host.Add<CVARN_PageAttributes>();

  EXPECT_EQ(Items(page.RaceList()), QStringList({"Flyer", "Stone", "Walker"}));
  EXPECT_EQ(page.RaceList()->currentText(), "Walker");
  for (int a = 0; a < AttCount; ++a) {
    const auto slot = static_cast<CVARN_AttributeSlot>(a);
    EXPECT_EQ(page.BaseSpin(slot)->minimum(), 2);
    EXPECT_EQ(page.BaseSpin(slot)->maximum(), 18);
    EXPECT_EQ(page.BaseSpin(slot)->value(), 10);
    EXPECT_EQ(page.LevelSpin(slot)->maximum(), 5);
    EXPECT_EQ(page.ModifierText(slot)->text(), "+0");
    EXPECT_EQ(page.ValueText(slot)->text(), "10");
    EXPECT_EQ(page.StepText(slot)->text(), "5");
  }
  EXPECT_EQ(page.PointsText()->text(), "30 / 66");
  EXPECT_TRUE(page.PointsIcon()->isHidden());
  EXPECT_EQ(page.IncreasesText()->text(), "0 / 0");
  EXPECT_TRUE(page.IncreasesIcon()->isHidden());
  EXPECT_EQ(page.AbilitiesEdit()->toPlainText(),
            "Patient: waits a day without food.\nSteady: never loses its "
            "footing on a road.\n");
  EXPECT_EQ(page.InitiativeText()->text(), "d8 (5)");
  EXPECT_EQ(page.PhysicalDefenseText()->text(), "6");
  EXPECT_EQ(page.SpellDefenseText()->text(), "6");
  EXPECT_EQ(page.SocialDefenseText()->text(), "6");
  EXPECT_EQ(page.PhysicalArmorText()->text(), "0");
  EXPECT_EQ(page.MysticArmorText()->text(), "1");
  EXPECT_EQ(page.LandText()->text(), "30/60");
  EXPECT_EQ(page.FlyText()->text(), "N/A");
  EXPECT_EQ(page.DeathText()->text(), "30");
  EXPECT_EQ(page.UnconsciousnessText()->text(), "20");
  EXPECT_EQ(page.WoundText()->text(), "7");
  EXPECT_EQ(page.RecoveryTestsText()->text(), "2");
  EXPECT_EQ(page.RecoveryDiceText()->text(), "d8 (5)");
  EXPECT_EQ(page.CarryText()->text(), "50 Lbs");
  EXPECT_EQ(page.LiftText()->text(), "100 Lbs");
  EXPECT_EQ(page.KarmaCostText()->text(), "10");
  EXPECT_EQ(page.KarmaMaxText()->text(), "10");
  EXPECT_EQ(page.KarmaDiceText()->text(), "d4");
  EXPECT_EQ(page.KarmaBoughtEdit()->text(), "0");
  EXPECT_EQ(page.KarmaSpentEdit()->text(), "0");
  EXPECT_EQ(page.KarmaAvailableText()->text(), "5");
  EXPECT_TRUE(page.KarmaAvailableIcon()->isHidden());

  // A race the rules do not hold selects nothing.
  host.character.raceName = "Nowhere";
  page.RefreshFromCharacter();
  EXPECT_EQ(page.RaceList()->currentIndex(), -1);
}

TEST(PageAttributes, ChoosingARaceRedrawsThePage) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  auto &page = host.Add<CVARN_PageAttributes>();
  Pages1Character::ShowActive(page);

  page.RaceList()->setFocus();
  QTest::keyClick(page.RaceList(), Qt::Key_Up); // Walker -> Stone
  ASSERT_EQ(c.raceName, "Stone");
  EXPECT_GT(host.relay.modifiedMarks, 0);
  EXPECT_EQ(page.ModifierText(AttStrength)->text(), "+2");
  EXPECT_EQ(page.ModifierText(AttDexterity)->text(), "-1");
  EXPECT_EQ(page.BaseSpin(AttStrength)->minimum(), 8);
  EXPECT_EQ(page.BaseSpin(AttDexterity)->maximum(), 15);
  // Values and steps follow the new modifiers at once.
  EXPECT_EQ(page.ValueText(AttStrength)->text(), "12");
  EXPECT_EQ(page.ValueText(AttDexterity)->text(), "9");
  EXPECT_EQ(page.StepText(AttDexterity)->text(), "4");
  EXPECT_EQ(page.PhysicalArmorText()->text(), "2");
  EXPECT_EQ(page.AbilitiesEdit()->toPlainText(), "Heavy: cannot swim.\n");
  EXPECT_EQ(page.KarmaAvailableText()->text(), "4");

  QTest::keyClick(page.RaceList(), Qt::Key_Up); // Stone -> Flyer
  ASSERT_EQ(c.raceName, "Flyer");
  EXPECT_EQ(page.LandText()->text(), "28/56");
  EXPECT_EQ(page.FlyText()->text(), "36/72");
  // Toughness 9 gives 1 test a day, and the race takes 2: none left.
  EXPECT_EQ(page.RecoveryTestsText()->text(), "None");
  EXPECT_EQ(page.PhysicalDefenseText()->text(), "8");
}

TEST(PageAttributes, BaseValuesAndIncreasesGoThroughTheCharacter) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  auto &page = host.Add<CVARN_PageAttributes>();
  Pages1Character::ShowActive(page);

  QSpinBox *toughness = page.BaseSpin(AttToughness);
  toughness->setFocus();
  QTest::keyClick(toughness, Qt::Key_Up);
  EXPECT_EQ(c.Att(AttToughness).base, 11);
  EXPECT_EQ(host.relay.Count(HintToughnessBase), 1);
  EXPECT_EQ(page.PointsText()->text(), "31 / 66");
  EXPECT_EQ(page.ValueText(AttToughness)->text(), "11");
  // Typing into the number does nothing: only the arrows move it.
  QTest::keyClicks(toughness, "7");
  EXPECT_EQ(c.Att(AttToughness).base, 11);

  QTest::keyClick(toughness,
                  Qt::Key_PageDown); // far below the minimum: held at 2
  EXPECT_EQ(toughness->value(), 2);
  EXPECT_EQ(c.Att(AttToughness).base, 2);
  EXPECT_EQ(page.PointsText()->text(), "22 / 66");
  EXPECT_EQ(page.RecoveryTestsText()->text(), "1/2");
  EXPECT_EQ(page.DeathText()->text(), "14");

  // The budget and the rule switch come from the System page.
  c.attributePoints = 20;
  c.Notify(HintAttributePoints);
  EXPECT_EQ(page.PointsText()->text(), "22 / 20");
  EXPECT_FALSE(page.PointsIcon()->isHidden());
  c.attributesCost = 0;
  c.Notify(HintAttributesCost);
  EXPECT_EQ(page.PointsText()->text(), "22 / --");
  EXPECT_TRUE(page.PointsIcon()->isHidden());

  // One increase at circle 0 is one too many while the rule is on.
  QSpinBox *level = page.LevelSpin(AttDexterity);
  level->setFocus();
  QTest::keyClick(level, Qt::Key_Up);
  EXPECT_EQ(c.Att(AttDexterity).increases, 1);
  EXPECT_EQ(page.ValueText(AttDexterity)->text(), "11");
  EXPECT_EQ(page.IncreasesText()->text(), "1 / 0");
  EXPECT_FALSE(page.IncreasesIcon()->isHidden());
  EXPECT_EQ(c.increaseLegend, 800);

  c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 3);
  EXPECT_EQ(page.IncreasesText()->text(), "1 / 2");
  EXPECT_TRUE(page.IncreasesIcon()->isHidden());
  EXPECT_EQ(page.PhysicalDefenseText()->text(), "8")
      << "circle 2 of Warden adds 1";
  c.attributeIncrease = 0;
  c.Notify(HintAttributeIncrease);
  EXPECT_EQ(page.IncreasesText()->text(), "1 / --");

  // Before the page is bound its arrows change nothing.
  CVARN_PageAttributes unbound;
  unbound.BaseSpin(AttStrength)->setRange(2, 18);
  unbound.BaseSpin(AttStrength)->setValue(12);
  EXPECT_EQ(c.Att(AttStrength).base, 10);
}

TEST(PageAttributes, KarmaEditsUpdateAtOnceAndAnnounceOnLeaving) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  auto &page = host.Add<CVARN_PageAttributes>();
  Pages1Character::ShowActive(page);

  Retype(page.KarmaSpentEdit(), "3");
  EXPECT_EQ(c.karmaSpent, 3);
  EXPECT_EQ(page.KarmaAvailableText()->text(), "2");
  page.KarmaSpentEdit()->selectAll();
  QTest::keyClick(page.KarmaSpentEdit(), Qt::Key_Delete);
  EXPECT_EQ(c.karmaSpent, 0);
  EXPECT_EQ(page.KarmaAvailableText()->text(), "5");
  EXPECT_EQ(host.relay.Count(HintKarma), 0);

  Retype(page.KarmaBoughtEdit(), "6");
  EXPECT_EQ(host.relay.Count(HintKarma), 1) << "leaving Spent";
  EXPECT_EQ(c.karmaBought, 6);
  EXPECT_EQ(c.karmaLegend, 60);
  EXPECT_EQ(page.KarmaAvailableText()->text(), "11");
  EXPECT_FALSE(page.KarmaAvailableIcon()->isHidden())
      << "above the maximum of 10";
  EXPECT_EQ(page.KarmaSpentEdit()->text(), "0")
      << "1040 redrew the emptied edit";

  page.BaseSpin(AttDexterity)->setFocus();
  EXPECT_EQ(host.relay.Count(HintKarma), 2);
  page.KarmaBoughtEdit()->setFocus();
  page.BaseSpin(AttDexterity)->setFocus();
  EXPECT_EQ(host.relay.Count(HintKarma), 2)
      << "nothing typed, nothing announced";

  // The karma fields are 16-bit: longer numbers are refused, larger ones held.
  Retype(page.KarmaBoughtEdit(), "999999");
  EXPECT_EQ(page.KarmaBoughtEdit()->text(), "99999");
  EXPECT_EQ(c.karmaBought, CVARN_PageAttributes::KarmaLimit);
  Retype(page.KarmaBoughtEdit(), "-1");
  EXPECT_EQ(c.karmaBought, 1);
}
