#include "editor/PageTalents.h"
#include "pages1_harness.h"
#include "ui/MyListCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

int RowOf(const CMyListCtrl* list, const QString& name) {
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemText(row, CVARN_PageTalents::ColName) == name)
            return row;
    }
    return -1;
}

class PageTalentsTest : public ::testing::Test {
protected:
    PageTalentsTest() : host(SmallRules(), "Walker"), c(host.character) {
        warden = c.Rules().disciplineList.FindDiscipline("Warden");
        page = &host.Add<CVARN_PageTalents>();
        list = page->TalentList();
    }
    void SetUp() override { Pages1Character::ShowActive(*page); }

    void ClickRow(const QString& name) {
        const int row = RowOf(list, name);
        ASSERT_GE(row, 0) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->CellRect(row, 0).center());
        ASSERT_EQ(list->GetSelectedRow(), row);
    }
    QString Cell(const QString& name, int col) const {
        return list->GetItemText(RowOf(list, name), col);
    }

    Pages1Character host;
    CVARN_Character& c;
    CVARN_DBDiscipline* warden = nullptr;
    CVARN_PageTalents* page = nullptr;
    CMyListCtrl* list = nullptr;
};

} // namespace

TEST_F(PageTalentsTest, ListsTheGrantedTalentsAndTheCircleCheck) {
    EXPECT_FALSE(page->RankSpin()->isEnabled());
    c.SetDisciplineCircle(warden, 1);
    ASSERT_EQ(list->GetItemCount(), 4);
    EXPECT_EQ(list->GetItemText(0, CVARN_PageTalents::ColName), "Aim");
    EXPECT_EQ(list->GetItemText(1, CVARN_PageTalents::ColName), "Durability (5/4)");
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColRank), "0");
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColDiscipline), "Warden ( 1)");
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColFormula), "Dex + 1");
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColStep), "0");
    for (int row = 0; row < list->GetItemCount(); ++row)
        EXPECT_TRUE(list->IsRowDimmed(row));
    EXPECT_TRUE(page->WarningIcon()->isHidden()) << "circle 1 asks for nothing";

    c.SetDisciplineCircle(warden, 2);
    EXPECT_EQ(list->GetItemCount(), 5);
    EXPECT_FALSE(page->WarningIcon()->isHidden());
    EXPECT_EQ(page->CheckEdit()->toPlainText(),
              "You need 5 Warden talent(s) at rank 2 to be Warden (2).\n\n"
              "You need a Warden (1) talent at rank 2 to be at least Warden (2).\n\n");
}

TEST_F(PageTalentsTest, TheRankMovesByTheArrowsAndByTheKeys) {
    c.SetDisciplineCircle(warden, 1);
    ClickRow("Aim");
    EXPECT_TRUE(page->RankSpin()->isEnabled());
    host.relay.Forget();
    page->RankSpin()->setFocus();
    QTest::keyClick(page->RankSpin(), Qt::Key_Up);
    CVARN_CharTalent* aim = c.FindCharTalent("Aim");
    EXPECT_EQ(aim->rank, 1);
    EXPECT_EQ(host.relay.Count(HintTalentRank), 1);
    EXPECT_EQ(host.relay.Count(HintLegend), 1);
    const int row = RowOf(list, "Aim");
    EXPECT_FALSE(list->IsRowDimmed(row));
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColStep),
              "7"); // 1 + 1 + Dexterity step 5

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(aim->rank, 3);
    EXPECT_EQ(page->RankSpin()->value(), 3);
    EXPECT_EQ(Cell("Aim", CVARN_PageTalents::ColRank), "3");
    EXPECT_EQ(list->GetSelectedRow(), row) << "the keys do not move the selection";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(list, Qt::Key_Left);
    EXPECT_TRUE(list->IsRowDimmed(row));
    host.relay.Forget();
    QTest::keyClick(list, Qt::Key_Left); // at 0: no change, no modified mark
    EXPECT_EQ(aim->rank, 0);
    EXPECT_TRUE(host.relay.hints.empty());
    EXPECT_EQ(host.relay.modifiedMarks, 0);

    QTest::keyClick(list, Qt::Key_Down); // Up and Down still walk the list
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(c.durabilityRank, 1);

    list->SelectRow(-1);
    EXPECT_FALSE(page->RankSpin()->isEnabled());
    host.relay.Forget();
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_TRUE(host.relay.hints.empty());
}

TEST_F(PageTalentsTest, HidingRankZeroAndAttributeChangesRefillTheList) {
    c.SetDisciplineCircle(warden, 1);
    c.SetTalentRank(c.FindCharTalent("Guard"), 2);
    ClickRow("Spot");
    QTest::mouseClick(page->ShowRankZeroBox(), Qt::LeftButton);
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetSelectedRow(), -1);
    EXPECT_FALSE(page->RankSpin()->isEnabled());
    EXPECT_EQ(Cell("Guard", CVARN_PageTalents::ColStep),
              "7"); // 2 + Strength step 5

    ClickRow("Guard");
    c.SetAttributeBase(AttStrength, 16); // step 7
    EXPECT_EQ(Cell("Guard", CVARN_PageTalents::ColStep), "9");
    EXPECT_EQ(list->GetSelectedRow(), -1);

    QTest::mouseClick(page->ShowRankZeroBox(), Qt::LeftButton);
    EXPECT_EQ(list->GetItemCount(), 4);
    ClickRow("Spot");
    c.Notify(HintLegend); // not a hint of this page
    EXPECT_EQ(list->GetSelectedRow(), RowOf(list, "Spot"));
}

TEST_F(PageTalentsTest, RankingTheTalentsClearsTheCircleWarning) {
    c.SetDisciplineCircle(warden, 3);
    EXPECT_TRUE(page->CheckEdit()->toPlainText().startsWith(
        "You need 6 Warden talent(s) at rank 3 to be Warden (3)."));
    for (const char* name :
         {"Aim", "Durability (5/4)", "Far Shot", "Guard", "Spot", "Steady Hand"}) {
        ClickRow(name);
        list->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(list, Qt::Key_Right);
    }
    EXPECT_EQ(page->CheckEdit()->toPlainText(), "");
    EXPECT_TRUE(page->WarningIcon()->isHidden());
}
