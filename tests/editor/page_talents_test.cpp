#include "PageHost.h"

using namespace editor_test;

namespace {

class PageTalentsTest : public OnePage<CVARN_PageTalents> {
protected:
    void SetUp() override { Activate(page); }

    int RowOf(const QString& name) const {
        return static_cast<int>(Column(list, CVARN_PageTalents::ColName).indexOf(name));
    }
    QString Step(const QString& name) const {
        return list->GetItemText(RowOf(name), CVARN_PageTalents::ColStep);
    }

    const CVARN_DBDiscipline* warden = c.Rules().disciplineList.FindDiscipline("Warden");
    CMyListCtrl* list = Control<CMyListCtrl>(page, "talentList");
};

} // namespace

TEST_F(PageTalentsTest, ListsTheGrantedTalentsAndTheCircleCheck) {
    EXPECT_FALSE(Control<QSpinBox>(page, "rankSpin")->isEnabled());
    c.SetDisciplineCircle(warden, 1);
    EXPECT_EQ(Column(list, CVARN_PageTalents::ColName),
              QStringList({"Aim", "Durability (5/4)", "Guard", "Spot"}));
    EXPECT_EQ(RowTexts(list, 0), QStringList({"Aim", "0", "Warden ( 1)", "Dex + 1", "0"}));
    for (int row = 0; row < list->GetItemCount(); ++row)
        EXPECT_TRUE(list->IsRowDimmed(row));
    EXPECT_TRUE(Control<QLabel>(page, "warningIcon")->isHidden()) << "circle 1 asks for nothing";

    c.SetDisciplineCircle(warden, 2);
    EXPECT_EQ(list->GetItemCount(), 5);
    EXPECT_FALSE(Control<QLabel>(page, "warningIcon")->isHidden());
    EXPECT_EQ(Control<QPlainTextEdit>(page, "checkEdit")->toPlainText(),
              "You need 5 Warden talent(s) at rank 2 to be Warden (2).\n\n"
              "You need a Warden (1) talent at rank 2 to be at least Warden (2).\n\n");
    // A page bound to a character that already falls short warns at once.
    PageHost other(SmallRules(), "Walker");
    other.character.SetDisciplineCircle(warden, 2);
    EXPECT_FALSE(Control<QLabel>(other.Add<CVARN_PageTalents>(), "warningIcon")->isHidden());
}

TEST_F(PageTalentsTest, TheRankMovesByTheArrowsAndByTheKeys) {
    c.SetDisciplineCircle(warden, 1);
    const int row = RowOf("Aim");
    ClickRow(list, row);
    ASSERT_EQ(list->GetSelectedRow(), row);
    host.Forget();
    QTest::keyClick(Control<QSpinBox>(page, "rankSpin"), Qt::Key_Up);
    CVARN_CharTalent* aim = c.FindCharTalent("Aim");
    EXPECT_EQ(aim->rank, 1);
    EXPECT_EQ(host.Count(HintTalentRank), 1);
    EXPECT_EQ(host.Count(HintLegend), 1);
    EXPECT_FALSE(list->IsRowDimmed(row));
    EXPECT_EQ(Step("Aim"), "7"); // 1 + 1 + Dexterity step 5

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(aim->rank, 3);
    EXPECT_EQ(Control<QSpinBox>(page, "rankSpin")->value(), 3);
    EXPECT_EQ(list->GetItemText(row, CVARN_PageTalents::ColRank), "3");
    EXPECT_EQ(list->GetSelectedRow(), row) << "the keys do not move the selection";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(list, Qt::Key_Left);
    EXPECT_TRUE(list->IsRowDimmed(row));
    // At rank 0 a Left key leaves the character untouched: no hint, no modified mark.
    host.Forget();
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(aim->rank, 0);
    EXPECT_TRUE(host.hints.empty());
    EXPECT_EQ(host.modifiedMarks, 0);

    QTest::keyClick(list, Qt::Key_Down); // Up and Down still walk the list
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(c.durabilityRank, 1);

    list->SelectRow(-1);
    EXPECT_FALSE(Control<QSpinBox>(page, "rankSpin")->isEnabled());
    host.Forget();
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_TRUE(host.hints.empty());
}

TEST_F(PageTalentsTest, HidingRankZeroAndAttributeChangesRefillTheList) {
    c.SetDisciplineCircle(warden, 1);
    c.SetTalentRank(c.FindCharTalent("Guard"), 2);
    ClickRow(list, RowOf("Spot"));
    QTest::mouseClick(Control<QCheckBox>(page, "showRankZeroBox"), Qt::LeftButton);
    EXPECT_EQ(Column(list, CVARN_PageTalents::ColName), QStringList{"Guard"});
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_FALSE(Control<QSpinBox>(page, "rankSpin")->isEnabled());
    EXPECT_EQ(Step("Guard"), "7"); // 2 + Strength step 5

    ClickRow(list, RowOf("Guard"));
    c.SetAttributeBase(AttStrength, 16); // step 7
    EXPECT_EQ(Step("Guard"), "9");
    EXPECT_EQ(list->GetSelectedRow(), -1);

    QTest::mouseClick(Control<QCheckBox>(page, "showRankZeroBox"), Qt::LeftButton);
    EXPECT_EQ(list->GetItemCount(), 4);
    ClickRow(list, RowOf("Spot"));
    c.Notify(HintLegend); // not a hint of this page
    EXPECT_EQ(list->GetSelectedRow(), RowOf("Spot"));
}
