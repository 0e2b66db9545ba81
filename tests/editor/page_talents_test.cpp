#include "editor/PageTalents.h"
#include "pages1_harness.h"
#include "ui/MyListCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

QStringList Column(const CMyListCtrl *list, int col) {
  QStringList texts;
  for (int row = 0; row < list->GetItemCount(); ++row)
    texts << list->GetItemText(row, col);
  return texts;
}

int RowOf(const CMyListCtrl *list, const QString &name) {
  for (int row = 0; row < list->GetItemCount(); ++row) {
    if (list->GetItemText(row, CVARN_PageTalents::ColName) == name)
      return row;
  }
  return -1;
}

void ClickRow(CMyListCtrl *list, const QString &name) {
  const int row = RowOf(list, name);
  ASSERT_GE(row, 0) << name.toStdString();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->CellRect(row, 0).center());
  ASSERT_EQ(list->GetSelectedRow(), row);
}

class PageTalentsTest : public ::testing::Test {
protected:
  PageTalentsTest() : host(SmallRules(), "Walker"), c(host.character) {
    warden = c.Rules().disciplineList.FindDiscipline("Warden");
  }
  void SetUp() override {
    page = &host.Add<CVARN_PageTalents>();
    Pages1Character::ShowActive(*page);
    list = page->TalentList();
  }

  Pages1Character host;
  CVARN_Character &c;
  CVARN_DBDiscipline *warden = nullptr;
  CVARN_PageTalents *page = nullptr;
  CMyListCtrl *list = nullptr;
};

} // namespace

TEST_F(PageTalentsTest, ListsTheGrantedTalentsAfterACircleChange) {
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_FALSE(page->RankSpin()->isEnabled());
  EXPECT_TRUE(page->ShowRankZeroBox()->isChecked());
  EXPECT_TRUE(page->WarningIcon()->isHidden());

  c.SetDisciplineCircle(warden, 1);
  EXPECT_EQ(Column(list, CVARN_PageTalents::ColName),
            QStringList({"Aim", "Durability (5/4)", "Guard", "Spot"}));
  const int aim = RowOf(list, "Aim");
  EXPECT_EQ(list->GetItemText(aim, CVARN_PageTalents::ColRank), "0");
  EXPECT_EQ(list->GetItemText(aim, CVARN_PageTalents::ColDiscipline),
            "Warden ( 1)");
  EXPECT_EQ(list->GetItemText(aim, CVARN_PageTalents::ColFormula), "Dex + 1");
  EXPECT_EQ(list->GetItemText(aim, CVARN_PageTalents::ColStep), "0");
  for (int row = 0; row < list->GetItemCount(); ++row)
    EXPECT_TRUE(list->IsRowDimmed(row));
  EXPECT_EQ(page->CheckEdit()->toPlainText(), "")
      << "circle 1 asks for nothing";
  EXPECT_TRUE(page->WarningIcon()->isHidden());

  c.SetDisciplineCircle(warden, 2);
  EXPECT_EQ(list->GetItemCount(), 5);
  EXPECT_FALSE(page->WarningIcon()->isHidden());
  EXPECT_EQ(
      page->CheckEdit()->toPlainText(),
      "You need 5 Warden talent(s) at rank 2 to be Warden (2).\n\n"
      "You need a Warden (1) talent at rank 2 to be at least Warden (2).\n\n");
}

TEST_F(PageTalentsTest, TheRankMovesByTheArrowsAndByTheKeys) {
  c.SetDisciplineCircle(warden, 1);
  ClickRow(list, "Aim");
  EXPECT_TRUE(page->RankSpin()->isEnabled());
  EXPECT_EQ(page->RankSpin()->value(), 0);

  host.relay.Forget();
  page->RankSpin()->setFocus();
  QTest::keyClick(page->RankSpin(), Qt::Key_Up);
  CVARN_CharTalent *aim = c.FindCharTalent("Aim");
  EXPECT_EQ(aim->rank, 1);
  EXPECT_EQ(host.relay.Count(HintTalentRank), 1);
  EXPECT_EQ(host.relay.Count(HintLegend), 1);
  int row = RowOf(list, "Aim");
  EXPECT_FALSE(list->IsRowDimmed(row));
  EXPECT_EQ(list->GetItemText(row, CVARN_PageTalents::ColRank), "1");
  EXPECT_EQ(list->GetItemText(row, CVARN_PageTalents::ColStep),
            "7"); // 1 + 1 + Dex step 5

  list->setFocus();
  QTest::keyClick(list, Qt::Key_Right);
  QTest::keyClick(list, Qt::Key_Right);
  EXPECT_EQ(aim->rank, 3);
  EXPECT_EQ(page->RankSpin()->value(), 3);
  EXPECT_EQ(list->GetItemText(row, CVARN_PageTalents::ColStep), "9");
  EXPECT_EQ(list->GetSelectedRow(), row)
      << "the keys do not move the selection";
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(list, Qt::Key_Left);
  EXPECT_EQ(aim->rank, 0);
  EXPECT_TRUE(list->IsRowDimmed(row));
  EXPECT_EQ(list->GetItemText(row, CVARN_PageTalents::ColStep), "0");

  // At 0 the Left key changes nothing, not even the modified mark.
  host.relay.Forget();
  QTest::keyClick(list, Qt::Key_Left);
  EXPECT_EQ(aim->rank, 0);
  EXPECT_TRUE(host.relay.hints.empty());
  EXPECT_EQ(host.relay.modifiedMarks, 0);

  // The Up and Down keys still walk the list.
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->GetItemText(list->GetSelectedRow(), 0), "Durability (5/4)");
  QTest::keyClick(list, Qt::Key_Right);
  EXPECT_EQ(c.durabilityRank, 1);

  // With nothing selected the keys do nothing.
  list->SelectRow(-1);
  EXPECT_FALSE(page->RankSpin()->isEnabled());
  host.relay.Forget();
  QTest::keyClick(list, Qt::Key_Right);
  EXPECT_TRUE(host.relay.hints.empty());
}

TEST_F(PageTalentsTest, HidingRankZeroAndAttributeChangesRefillTheList) {
  c.SetDisciplineCircle(warden, 1);
  c.SetTalentRank(c.FindCharTalent("Guard"), 2);
  ClickRow(list, "Spot");

  QTest::mouseClick(page->ShowRankZeroBox(), Qt::LeftButton);
  EXPECT_FALSE(page->ShowRankZeroBox()->isChecked());
  EXPECT_EQ(Column(list, CVARN_PageTalents::ColName), QStringList({"Guard"}));
  EXPECT_EQ(list->GetSelectedRow(), -1);
  EXPECT_EQ(page->SelectedTalent(), nullptr);
  EXPECT_FALSE(page->RankSpin()->isEnabled());
  EXPECT_FALSE(list->IsRowDimmed(0));
  EXPECT_EQ(list->GetItemText(0, CVARN_PageTalents::ColStep),
            "7"); // 2 + Str step 5

  ClickRow(list, "Guard");
  c.SetAttributeBase(AttStrength, 16); // value 16, step 7
  EXPECT_EQ(list->GetItemText(0, CVARN_PageTalents::ColStep), "9");
  EXPECT_EQ(list->GetSelectedRow(), -1);
  EXPECT_FALSE(page->RankSpin()->isEnabled());

  QTest::mouseClick(page->ShowRankZeroBox(), Qt::LeftButton);
  EXPECT_EQ(list->GetItemCount(), 4);

  // Hints the page does not list leave the list and its selection alone.
  ClickRow(list, "Spot");
  c.Notify(HintTalentRank);
  c.Notify(HintLegend);
  EXPECT_EQ(list->GetItemText(list->GetSelectedRow(), 0), "Spot");
}

TEST_F(PageTalentsTest, RankingTheTalentsClearsTheCircleWarning) {
  c.SetDisciplineCircle(warden, 3);
  EXPECT_FALSE(page->WarningIcon()->isHidden());
  EXPECT_TRUE(page->CheckEdit()->toPlainText().startsWith(
      "You need 6 Warden talent(s) at rank 3 to be Warden (3)."));

  for (const QString &name : {"Aim", "Durability (5/4)", "Far Shot", "Guard",
                              "Spot", "Steady Hand"}) {
    ClickRow(list, name);
    list->setFocus();
    for (int i = 0; i < 3; ++i)
      QTest::keyClick(list, Qt::Key_Right);
  }
  EXPECT_EQ(page->CheckEdit()->toPlainText(), "");
  EXPECT_TRUE(page->WarningIcon()->isHidden());
  for (const auto &talent : c.talents)
    EXPECT_EQ(talent->rank, 3) << talent->name;
}
