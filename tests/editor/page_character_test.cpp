#include "PageHost.h"

using namespace editor_test;
using PageCharacter = OnePage<CVARN_PageCharacter>;

namespace {

// Types over the whole text of the edit, as a user who selected it all.
void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST_F(PageCharacter, AmountsFollowEachKeystrokeAndAreAnnouncedOnceOnLeaving) {
    Activate(page);
    EXPECT_EQ(Texts({page->SpentText(), page->AvailableText()}), QStringList({"0", "1000"}));

    Retype(page->ExtraCostsEdit(), "250");
    EXPECT_EQ(c.extraCosts, 250);
    EXPECT_EQ(page->AvailableText()->text(), "750");
    EXPECT_EQ(host.Count(HintLegend), 0);
    EXPECT_GT(host.modifiedMarks, 0);
    page->ExtraCostsEdit()->selectAll();
    QTest::keyClick(page->ExtraCostsEdit(), Qt::Key_Backspace);
    EXPECT_EQ(c.extraCosts, 0) << "an empty edit is 0 at once";
    EXPECT_EQ(page->AvailableText()->text(), "1000");

    Retype(page->EarnedEdit(), "12a3"); // the letter is refused
    EXPECT_EQ(c.legendEarned, 123);
    EXPECT_EQ(host.Count(HintLegend), 1) << "leaving Extra Costs";
    page->NameEdit()->setFocus();
    page->EarnedEdit()->setFocus();
    page->NameEdit()->setFocus();
    EXPECT_EQ(host.Count(HintLegend), 2) << "a second visit without typing is silent";

    // "Total" takes any text: a sign is fine, a word leaves the amount alone. Overspent
    // shows the warning.
    EXPECT_TRUE(page->AvailableIcon()->isHidden());
    Retype(page->CreationEdit(), "-300");
    Retype(page->CreationEdit(), "many");
    EXPECT_EQ(c.creationLegend, -300);
    QTest::keyClick(page->CreationEdit(), Qt::Key_Return);
    EXPECT_EQ(host.Count(HintLegend), 3);
    EXPECT_EQ(page->CreationEdit()->text(), "-300") << "the legend hint redraws the edits";
    EXPECT_EQ(page->AvailableText()->text(), "-177");
    EXPECT_FALSE(page->AvailableIcon()->isHidden());

    // Amounts too large for the account are held, not wrapped around.
    Retype(page->EarnedEdit(), "99999999999");
    Retype(page->CreationEdit(), "5000000000");
    EXPECT_EQ(c.legendEarned, CVARN_PageCharacter::AmountLimit);
    EXPECT_EQ(page->AvailableText()->text(), QString::number(2 * CVARN_PageCharacter::AmountLimit));
    EXPECT_TRUE(page->AvailableIcon()->isHidden());
}

// Typing a name or a description alone must be enough to be asked about saving on close.
TEST_F(PageCharacter, NameAndDescriptionAreKeptAndMarkTheCharacterModified) {
    c.name = "Ilse";
    page->RefreshFromCharacter();
    Activate(page);
    EXPECT_EQ(page->NameEdit()->text(), "Ilse");

    page->NameEdit()->setFocus();
    QTest::keyClicks(page->NameEdit(), " Brann");
    EXPECT_EQ(c.name, "Ilse Brann");
    EXPECT_GT(host.modifiedMarks, 0);

    host.Forget();
    page->DescriptionEdit()->setFocus();
    QTest::keyClicks(page->DescriptionEdit(), "Tall");
    QTest::keyClick(page->DescriptionEdit(), Qt::Key_Return);
    QTest::keyClicks(page->DescriptionEdit(), "Grey-eyed");
    EXPECT_EQ(c.description, "Tall\nGrey-eyed");
    EXPECT_GT(host.modifiedMarks, 0);
    EXPECT_TRUE(host.hints.empty());

    host.Forget();
    page->RefreshFromCharacter(); // a redraw is not an edit
    EXPECT_EQ(host.modifiedMarks, 0);
}
