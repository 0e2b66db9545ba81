#include "PageHost.h"

#include "character/SheetContent.h"

#include <QClipboard>
#include <QGuiApplication>

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
    // The texts are told to the other windows through the character, and nothing else is.
    EXPECT_GT(host.Count(HintNameDescription), 0);
    EXPECT_EQ(host.Count(HintNameDescription), static_cast<int>(host.hints.size()));

    host.Forget();
    page->RefreshFromCharacter(); // a redraw is not an edit
    EXPECT_EQ(host.modifiedMarks, 0);
}

// Typed or pasted text stops at the limits; a longer text read from a file is kept whole until
// the user edits it (the name field shows its first 200 characters).
TEST_F(PageCharacter, NameAndDescriptionStopAtTheirLimits) {
    const int nameLimit = static_cast<int>(varn_sheet::kNameLimit);
    const int descriptionLimit = static_cast<int>(varn_sheet::kDescriptionLimit);
    Activate(page);
    QGuiApplication::clipboard()->setText(QString(nameLimit - 1, 'n') + "abc");
    page->NameEdit()->setFocus();
    page->NameEdit()->paste();
    EXPECT_EQ(c.name, std::string(nameLimit - 1, 'n') + "a");
    QTest::keyClicks(page->NameEdit(), "z");
    EXPECT_EQ(c.name.size(), varn_sheet::kNameLimit);

    QGuiApplication::clipboard()->setText(QString(descriptionLimit - 2, 'd') + "wxyz");
    page->DescriptionEdit()->setFocus();
    page->DescriptionEdit()->paste();
    EXPECT_EQ(c.description, std::string(descriptionLimit - 2, 'd') + "wx");
    QTest::keyClicks(page->DescriptionEdit(), "z");
    EXPECT_EQ(c.description.size(), varn_sheet::kDescriptionLimit);

    const std::string longName(nameLimit + 50, 'L');
    const std::string longDescription(descriptionLimit + 50, 'D');
    c.name = longName;
    c.description = longDescription;
    page->RefreshFromCharacter();
    EXPECT_EQ(page->NameEdit()->text(), QString(nameLimit, 'L'));
    EXPECT_EQ(page->DescriptionEdit()->toPlainText().size(), descriptionLimit + 50);
    EXPECT_EQ(c.name, longName);
    EXPECT_EQ(c.description, longDescription);
    page->DescriptionEdit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(page->DescriptionEdit(), "z"); // no room beyond what it had
    EXPECT_EQ(c.description, longDescription);
    page->NameEdit()->setFocus();
    page->NameEdit()->end(false);
    QTest::keyClick(page->NameEdit(), Qt::Key_Backspace);
    EXPECT_EQ(c.name, std::string(nameLimit - 1, 'L'));
}
