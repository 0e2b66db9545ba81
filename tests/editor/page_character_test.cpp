#include "editor/PageCharacter.h"
#include "pages1_harness.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Replaces the edit's text the way a user does: select all, then type over it.
void Retype(QLineEdit *edit, const QString &text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

CVARN_CharDisc *TakeDiscipline(CVARN_Character &c, const char *name,
                               int circle) {
  CVARN_DBDiscipline *entry = c.Rules().disciplineList.FindDiscipline(name);
  c.SetDisciplineCircle(entry, circle);
  return c.FindCharDisc(entry);
}

} // namespace

TEST(PageCharacter, ShowsTheCharacterAndItsLegendAccount) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  c.name = "Ilse";
  c.description = "Keeps the north road.\nOwes the ferryman.";
  c.SetLegendEarned(500);
  c.SetExtraCosts(200);
  auto &page = host.Add<CVARN_PageCharacter>();

  EXPECT_EQ(page.NameEdit()->text(), "Ilse");
  EXPECT_EQ(page.DescriptionEdit()->toPlainText(),
            "Keeps the north road.\nOwes the ferryman.");
  EXPECT_EQ(page.CreationEdit()->text(), "1000");
  EXPECT_EQ(page.EarnedEdit()->text(), "500");
  EXPECT_EQ(page.ExtraCostsEdit()->text(), "200");
  EXPECT_EQ(page.SpentText()->text(), "0");
  EXPECT_EQ(page.AvailableText()->text(), "1300");
  EXPECT_TRUE(page.AvailableIcon()->isHidden());

  // Spending through another page reaches this one by hint 1008: rank 5 of a
  // circle-1 talent costs 1900, more than is left.
  TakeDiscipline(c, "Warden", 1);
  c.SetTalentRank(c.FindCharTalent("Guard"), 5);
  EXPECT_EQ(page.SpentText()->text(), "1900");
  EXPECT_EQ(page.AvailableText()->text(), "-600");
  EXPECT_FALSE(page.AvailableIcon()->isHidden());

  c.SetTalentRank(c.FindCharTalent("Guard"), 4);
  EXPECT_EQ(page.AvailableText()->text(), "200");
  EXPECT_TRUE(page.AvailableIcon()->isHidden());

  // A hint the page does not list changes nothing on it.
  c.SetLegendEarned(0);
  c.Notify(HintKarma);
  EXPECT_EQ(page.EarnedEdit()->text(), "500");
}

TEST(PageCharacter, AmountsFollowEachKeystrokeAndAreAnnouncedOnceOnLeaving) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  auto &page = host.Add<CVARN_PageCharacter>();
  Pages1Character::ShowActive(page);

  Retype(page.ExtraCostsEdit(), "250");
  EXPECT_EQ(c.extraCosts, 250);
  EXPECT_EQ(page.AvailableText()->text(), "750");
  EXPECT_EQ(host.relay.Count(HintLegend), 0);
  EXPECT_GT(host.relay.modifiedMarks, 0);

  // Emptying the edit is 0 at once.
  page.ExtraCostsEdit()->selectAll();
  QTest::keyClick(page.ExtraCostsEdit(), Qt::Key_Backspace);
  EXPECT_EQ(c.extraCosts, 0);
  EXPECT_EQ(page.AvailableText()->text(), "1000");

  Retype(page.EarnedEdit(), "12a3"); // the letter is refused
  EXPECT_EQ(page.EarnedEdit()->text(), "123");
  EXPECT_EQ(c.legendEarned, 123);
  EXPECT_EQ(host.relay.Count(HintLegend), 1)
      << "leaving Extra Costs announced it";

  page.NameEdit()->setFocus();
  EXPECT_EQ(host.relay.Count(HintLegend), 2);
  // Leaving again without a change announces nothing.
  page.EarnedEdit()->setFocus();
  page.NameEdit()->setFocus();
  EXPECT_EQ(host.relay.Count(HintLegend), 2);

  // "Total" takes any text: a sign is fine, a word leaves the amount alone.
  Retype(page.CreationEdit(), "-300");
  EXPECT_EQ(c.creationLegend, -300);
  Retype(page.CreationEdit(), "many");
  EXPECT_EQ(c.creationLegend, -300);
  QTest::keyClick(page.CreationEdit(), Qt::Key_Return);
  EXPECT_EQ(host.relay.Count(HintLegend), 3);
  EXPECT_EQ(page.CreationEdit()->text(), "-300")
      << "1008 redraws the edits from the character";
  EXPECT_EQ(page.AvailableText()->text(), "-177");
  EXPECT_FALSE(page.AvailableIcon()->isHidden());

  // Amounts too large for the account are held, not wrapped around.
  Retype(page.EarnedEdit(), "99999999999");
  EXPECT_EQ(c.legendEarned, CVARN_PageCharacter::AmountLimit);
  Retype(page.CreationEdit(), "5000000000");
  EXPECT_EQ(c.creationLegend, CVARN_PageCharacter::AmountLimit);
  EXPECT_EQ(page.AvailableText()->text(),
            QString::number(2 * CVARN_PageCharacter::AmountLimit));
}

TEST(PageCharacter, NameAndDescriptionAreKeptAndMarkTheCharacterModified) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  auto &page = host.Add<CVARN_PageCharacter>();
  Pages1Character::ShowActive(page);

  page.NameEdit()->setFocus();
  QTest::keyClicks(page.NameEdit(), "Brann");
  EXPECT_EQ(c.name, "Brann");
  // Typing a name alone must be enough to be asked about saving on close.
  EXPECT_GT(host.relay.modifiedMarks, 0);

  host.relay.Forget();
  page.DescriptionEdit()->setFocus();
  QTest::keyClicks(page.DescriptionEdit(), "Tall");
  QTest::keyClick(page.DescriptionEdit(), Qt::Key_Return);
  QTest::keyClicks(page.DescriptionEdit(), "Grey-eyed");
  EXPECT_EQ(c.description, "Tall\nGrey-eyed");
  EXPECT_GT(host.relay.modifiedMarks, 0);
  EXPECT_TRUE(host.relay.hints.empty());

  // Redrawing the page does not count as an edit.
  host.relay.Forget();
  page.RefreshFromCharacter();
  EXPECT_EQ(host.relay.modifiedMarks, 0);
}

TEST(PageCharacter, AnUnboundPageIgnoresTyping) {
  CVARN_PageCharacter page;
  page.show();
  QTest::keyClicks(page.EarnedEdit(), "42");
  QTest::keyClicks(page.NameEdit(), "x");
  page.OnCharacterUpdate(nullptr, HintLegend, nullptr);
  EXPECT_EQ(page.SpentText()->text(), "");
}
