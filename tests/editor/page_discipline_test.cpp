#include "editor/PageDiscipline.h"
#include "pages1_harness.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

QStringList Texts(const QListWidget *list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i)
    texts << list->item(i)->text();
  return texts;
}

void ClickEntry(QListWidget *list, const QString &text) {
  const QList<QListWidgetItem *> found =
      list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(found.front()).center());
}

QString SelectedText(const QListWidget *list) {
  const QList<QListWidgetItem *> selected = list->selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

} // namespace

TEST(PageDiscipline, OffersTheDisciplinesTheRaceMayFollow) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  CVARN_PageDiscipline fresh;
  EXPECT_FALSE(fresh.AdeptCircleSpin()->isEnabled());

  auto &page = host.Add<CVARN_PageDiscipline>();
  EXPECT_EQ(Texts(page.DisciplineList()), QStringList({"Archer", "Warden"}));
  EXPECT_TRUE(page.DisciplineList()->selectedItems().isEmpty());
  EXPECT_TRUE(page.AdeptCircleSpin()->isEnabled());
  EXPECT_EQ(page.AdeptCircleSpin()->maximum(), 0);

  c.raceDisciplineCompatibility = 0;
  c.Notify(HintRaceDisciplineCompatibility);
  EXPECT_EQ(Texts(page.DisciplineList()),
            QStringList({"Archer", "Skyguard", "Warden"}));

  // A circle shows as a suffix; a race change refills the list with nothing
  // selected.
  c.raceDisciplineCompatibility = 1;
  c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 2);
  page.show();
  ClickEntry(page.DisciplineList(), "Archer");
  c.SetRaceByName("Flyer");
  EXPECT_EQ(Texts(page.DisciplineList()),
            QStringList({"Skyguard", "Warden   (2)"}));
  EXPECT_TRUE(page.DisciplineList()->selectedItems().isEmpty());
  EXPECT_EQ(page.SelectedDiscipline(), nullptr);
  EXPECT_EQ(page.InformationEdit()->toPlainText(), "");
}

TEST(PageDiscipline, BrowsesADisciplineCircleByCircle) {
  Pages1Character host(SmallRules(), "Walker");
  auto &page = host.Add<CVARN_PageDiscipline>();
  Pages1Character::ShowActive(page);

  ClickEntry(page.DisciplineList(), "Warden");
  EXPECT_EQ(page.AbilitiesEdit()->toPlainText(),
            "(1)   Knows every milestone.\n(3)   Never lost on a road.\n");
  EXPECT_TRUE(page.InformationEdit()->toPlainText().startsWith(
      "Wardens keep the roads."));
  EXPECT_EQ(page.ViewCircleSpin()->minimum(), 1);
  EXPECT_EQ(page.ViewCircleSpin()->maximum(), 3);
  EXPECT_EQ(page.AdeptCircleSpin()->maximum(), 3);
  EXPECT_EQ(page.AdeptCircleSpin()->value(), 0);
  EXPECT_EQ(Texts(page.TalentList()),
            QStringList({"Aim", "Durability (5/4)", "Guard", "Spot"}));
  EXPECT_EQ(page.FormulaText()->text(), "");

  ClickEntry(page.TalentList(), "Aim");
  EXPECT_EQ(page.FormulaText()->text(), "Formula :  Dex + 1");
  EXPECT_EQ(page.StrainText()->text(), "Strain :  1");
  EXPECT_TRUE(page.TalentDescriptionEdit()->toPlainText().startsWith(
      "Looses an arrow"));
  EXPECT_TRUE(page.ActionBox()->isChecked());
  EXPECT_TRUE(page.KarmaBox()->isChecked());
  EXPECT_FALSE(page.DisciplineTalentBox()->isChecked()) << "offered with N";

  // The flags describe the talent: clicking them changes nothing.
  QTest::mouseClick(page.ActionBox(), Qt::LeftButton);
  QTest::mouseClick(page.DisciplineTalentBox(), Qt::LeftButton);
  EXPECT_TRUE(page.ActionBox()->isChecked());
  EXPECT_FALSE(page.DisciplineTalentBox()->isChecked());

  ClickEntry(page.TalentList(), "Guard");
  EXPECT_TRUE(page.DisciplineTalentBox()->isChecked());
  EXPECT_FALSE(page.KarmaBox()->isChecked());

  page.ViewCircleSpin()->setFocus();
  QTest::keyClick(page.ViewCircleSpin(), Qt::Key_Up);
  EXPECT_EQ(Texts(page.TalentList()), QStringList({"Steady Hand"}));
  EXPECT_EQ(page.FormulaText()->text(), "");
  QTest::keyClick(page.ViewCircleSpin(), Qt::Key_Up);
  QTest::keyClick(page.ViewCircleSpin(),
                  Qt::Key_Up); // held at the highest circle
  EXPECT_EQ(Texts(page.TalentList()), QStringList({"Far Shot"}));

  // Another discipline keeps the viewed circle where its range allows.
  ClickEntry(page.DisciplineList(), "Archer");
  EXPECT_EQ(page.ViewCircleSpin()->maximum(), 2);
  EXPECT_EQ(page.ViewCircleSpin()->value(), 2);
  EXPECT_EQ(Texts(page.TalentList()), QStringList({"Far Shot"}));
  EXPECT_EQ(page.AbilitiesEdit()->toPlainText(), "");
  EXPECT_FALSE(page.ActionBox()->isChecked());
}

TEST(PageDiscipline, TheAdeptCircleAddsChangesAndRemovesTheDiscipline) {
  Pages1Character host(SmallRules(), "Walker");
  CVARN_Character &c = host.character;
  CVARN_DBDiscipline *warden =
      c.Rules().disciplineList.FindDiscipline("Warden");
  auto &page = host.Add<CVARN_PageDiscipline>();
  Pages1Character::ShowActive(page);

  // Without a selected discipline the circle stays at 0 and nothing happens.
  QSpinBox *adept = page.AdeptCircleSpin();
  adept->setFocus();
  QTest::keyClick(adept, Qt::Key_Up);
  EXPECT_EQ(adept->value(), 0);
  EXPECT_TRUE(c.disciplines.empty());

  ClickEntry(page.DisciplineList(), "Warden");
  host.relay.Forget();
  adept->setFocus();
  QTest::keyClick(adept, Qt::Key_Up);
  ASSERT_NE(c.FindCharDisc(warden), nullptr);
  EXPECT_EQ(c.FindCharDisc(warden)->circle, 1);
  EXPECT_EQ(host.relay.Count(HintCircle), 1);
  EXPECT_EQ(host.relay.Count(HintLegend), 1);
  EXPECT_EQ(SelectedText(page.DisciplineList()), "Warden   (1)");
  EXPECT_EQ(page.SelectedRecord(), c.FindCharDisc(warden));
  EXPECT_EQ(c.talents.size(), 4u);

  for (int i = 0; i < 3; ++i)
    QTest::keyClick(adept, Qt::Key_Up);
  EXPECT_EQ(c.FindCharDisc(warden)->circle, 3) << "held at the highest circle";
  EXPECT_EQ(Texts(page.DisciplineList()),
            QStringList({"Archer", "Warden   (3)"}));

  // A redraw from the character shows the same.
  page.RefreshFromCharacter();
  EXPECT_EQ(Texts(page.DisciplineList()),
            QStringList({"Archer", "Warden   (3)"}));
  ClickEntry(page.DisciplineList(), "Warden   (3)");
  EXPECT_EQ(adept->value(), 3);

  adept->setFocus();
  QTest::keyClick(adept, Qt::Key_PageDown);
  EXPECT_EQ(c.FindCharDisc(warden), nullptr);
  EXPECT_TRUE(c.talents.empty());
  EXPECT_EQ(Texts(page.DisciplineList()), QStringList({"Archer", "Warden"}));
  EXPECT_EQ(SelectedText(page.DisciplineList()), "Warden");
  EXPECT_EQ(page.SelectedRecord(), nullptr);
}
