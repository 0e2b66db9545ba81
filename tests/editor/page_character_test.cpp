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
    EXPECT_EQ(Texts(page, {"spentText", "availableText"}), QStringList({"0", "1000"}));

    Retype(Control<QLineEdit>(page, "extraCostsEdit"), "250");
    EXPECT_EQ(c.extraCosts, 250);
    EXPECT_EQ(Text(page, "availableText"), "750");
    EXPECT_EQ(host.Count(HintLegend), 0);
    EXPECT_GT(host.modifiedMarks, 0);
    Control<QLineEdit>(page, "extraCostsEdit")->selectAll();
    QTest::keyClick(Control<QLineEdit>(page, "extraCostsEdit"), Qt::Key_Backspace);
    EXPECT_EQ(c.extraCosts, 0) << "an empty edit is 0 at once";
    EXPECT_EQ(Text(page, "availableText"), "1000");

    Retype(Control<QLineEdit>(page, "earnedEdit"), "12a3"); // the letter is refused
    EXPECT_EQ(c.legendEarned, 123);
    EXPECT_EQ(host.Count(HintLegend), 1) << "leaving Extra Costs";
    Control<QLineEdit>(page, "nameEdit")->setFocus();
    Control<QLineEdit>(page, "earnedEdit")->setFocus();
    Control<QLineEdit>(page, "nameEdit")->setFocus();
    EXPECT_EQ(host.Count(HintLegend), 2) << "a second visit without typing is silent";

    // "Total" takes any text: a sign is fine, a word leaves the amount alone. Overspent
    // shows the warning.
    EXPECT_TRUE(Control<QLabel>(page, "availableIcon")->isHidden());
    Retype(Control<QLineEdit>(page, "creationEdit"), "-300");
    Retype(Control<QLineEdit>(page, "creationEdit"), "many");
    EXPECT_EQ(c.creationLegend, -300);
    QTest::keyClick(Control<QLineEdit>(page, "creationEdit"), Qt::Key_Return);
    EXPECT_EQ(host.Count(HintLegend), 3);
    EXPECT_EQ(Control<QLineEdit>(page, "creationEdit")->text(), "-300")
        << "the legend hint redraws the edits";
    EXPECT_EQ(Text(page, "availableText"), "-177");
    EXPECT_FALSE(Control<QLabel>(page, "availableIcon")->isHidden());

    // Amounts too large for the account are held, not wrapped around.
    Retype(Control<QLineEdit>(page, "earnedEdit"), "99999999999");
    Retype(Control<QLineEdit>(page, "creationEdit"), "5000000000");
    EXPECT_EQ(c.legendEarned, CVARN_PageCharacter::AmountLimit);
    EXPECT_EQ(Text(page, "availableText"), QString::number(2 * CVARN_PageCharacter::AmountLimit));
    EXPECT_TRUE(Control<QLabel>(page, "availableIcon")->isHidden());
}

// Typed or pasted text stops at the limits; a longer text read from a file is kept whole until
// the user edits it (the name field shows its first 200 characters).
TEST_F(PageCharacter, NameAndDescriptionStopAtTheirLimits) {
    const int nameLimit = static_cast<int>(varn_sheet::kNameLimit);
    const int descriptionLimit = static_cast<int>(varn_sheet::kDescriptionLimit);
    Activate(page);
    QGuiApplication::clipboard()->setText(QString(nameLimit - 1, 'n') + "abc");
    Control<QLineEdit>(page, "nameEdit")->setFocus();
    Control<QLineEdit>(page, "nameEdit")->paste();
    EXPECT_EQ(c.name, std::string(nameLimit - 1, 'n') + "a");
    QTest::keyClicks(Control<QLineEdit>(page, "nameEdit"), "z");
    EXPECT_EQ(c.name.size(), varn_sheet::kNameLimit);

    QGuiApplication::clipboard()->setText(QString(descriptionLimit - 2, 'd') + "wxyz");
    Control<QPlainTextEdit>(page, "descriptionEdit")->setFocus();
    Control<QPlainTextEdit>(page, "descriptionEdit")->paste();
    EXPECT_EQ(c.description, std::string(descriptionLimit - 2, 'd') + "wx");
    QTest::keyClicks(Control<QPlainTextEdit>(page, "descriptionEdit"), "z");
    EXPECT_EQ(c.description.size(), varn_sheet::kDescriptionLimit);

    const std::string longName(nameLimit + 50, 'L');
    const std::string longDescription(descriptionLimit + 50, 'D');
    c.name = longName;
    c.description = longDescription;
    page->RefreshFromCharacter();
    EXPECT_EQ(Control<QLineEdit>(page, "nameEdit")->text(), QString(nameLimit, 'L'));
    EXPECT_EQ(Control<QPlainTextEdit>(page, "descriptionEdit")->toPlainText().size(),
              descriptionLimit + 50);
    EXPECT_EQ(c.name, longName);
    EXPECT_EQ(c.description, longDescription);
    Control<QPlainTextEdit>(page, "descriptionEdit")->moveCursor(QTextCursor::End);
    QTest::keyClicks(Control<QPlainTextEdit>(page, "descriptionEdit"),
                     "z"); // no room beyond what it had
    EXPECT_EQ(c.description, longDescription);
    Control<QLineEdit>(page, "nameEdit")->setFocus();
    Control<QLineEdit>(page, "nameEdit")->end(false);
    QTest::keyClick(Control<QLineEdit>(page, "nameEdit"), Qt::Key_Backspace);
    EXPECT_EQ(c.name, std::string(nameLimit - 1, 'L'));
}
