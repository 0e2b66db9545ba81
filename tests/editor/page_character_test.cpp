#include "editor/PageCharacter.h"
#include "pages1_harness.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Types over the whole text of the edit, as a user who selected it all.
void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST(PageCharacter, ShowsTheLegendAccountAndWarnsWhenOverspent) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    c.name = "Ilse";
    c.SetLegendEarned(500);
    c.SetExtraCosts(200);
    auto& page = host.Add<CVARN_PageCharacter>();
    EXPECT_EQ(page.NameEdit()->text(), "Ilse");
    EXPECT_EQ(page.CreationEdit()->text(), "1000");
    EXPECT_EQ(page.SpentText()->text(), "0");
    EXPECT_EQ(page.AvailableText()->text(), "1300");
    EXPECT_TRUE(page.AvailableIcon()->isHidden());

    // Spending elsewhere arrives by hint 1008: rank 5 of a circle-1 talent costs
    // 1900.
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 1);
    c.SetTalentRank(c.FindCharTalent("Guard"), 5);
    EXPECT_EQ(page.SpentText()->text(), "1900");
    EXPECT_EQ(page.AvailableText()->text(), "-600");
    EXPECT_FALSE(page.AvailableIcon()->isHidden());
    c.SetTalentRank(c.FindCharTalent("Guard"), 4);
    EXPECT_EQ(page.AvailableText()->text(), "200");
    EXPECT_TRUE(page.AvailableIcon()->isHidden());
}

TEST(PageCharacter, AmountsFollowEachKeystrokeAndAreAnnouncedOnceOnLeaving) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto& page = host.Add<CVARN_PageCharacter>();
    Pages1Character::ShowActive(page);

    Retype(page.ExtraCostsEdit(), "250");
    EXPECT_EQ(c.extraCosts, 250);
    EXPECT_EQ(page.AvailableText()->text(), "750");
    EXPECT_EQ(host.relay.Count(HintLegend), 0);
    EXPECT_GT(host.relay.modifiedMarks, 0);
    page.ExtraCostsEdit()->selectAll();
    QTest::keyClick(page.ExtraCostsEdit(), Qt::Key_Backspace);
    EXPECT_EQ(c.extraCosts, 0) << "an empty edit is 0 at once";
    EXPECT_EQ(page.AvailableText()->text(), "1000");

    Retype(page.EarnedEdit(), "12a3"); // the letter is refused
    EXPECT_EQ(c.legendEarned, 123);
    EXPECT_EQ(host.relay.Count(HintLegend), 1) << "leaving Extra Costs";
    page.NameEdit()->setFocus();
    page.EarnedEdit()->setFocus();
    page.NameEdit()->setFocus();
    EXPECT_EQ(host.relay.Count(HintLegend), 2) << "a second visit without typing is silent";

    // "Total" takes any text: a sign is fine, a word leaves the amount alone.
    Retype(page.CreationEdit(), "-300");
    Retype(page.CreationEdit(), "many");
    EXPECT_EQ(c.creationLegend, -300);
    QTest::keyClick(page.CreationEdit(), Qt::Key_Return);
    EXPECT_EQ(host.relay.Count(HintLegend), 3);
    EXPECT_EQ(page.CreationEdit()->text(), "-300") << "1008 redraws the edits";
    EXPECT_EQ(page.AvailableText()->text(), "-177");

    // Amounts too large for the account are held, not wrapped around.
    Retype(page.EarnedEdit(), "99999999999");
    Retype(page.CreationEdit(), "5000000000");
    EXPECT_EQ(c.legendEarned, CVARN_PageCharacter::AmountLimit);
    EXPECT_EQ(page.AvailableText()->text(), QString::number(2 * CVARN_PageCharacter::AmountLimit));
}

TEST(PageCharacter, NameAndDescriptionAreKeptAndMarkTheCharacterModified) {
    Pages1Character host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto& page = host.Add<CVARN_PageCharacter>();
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

    host.relay.Forget();
    page.RefreshFromCharacter(); // a redraw is not an edit
    EXPECT_EQ(host.relay.modifiedMarks, 0);
}
