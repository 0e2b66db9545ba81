#include "PageHost.h"

using namespace editor_test;
using PageDiscipline = OnePage<CVARN_PageDiscipline>;

namespace {

QStringList Entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void ClickEntry(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
}

} // namespace

TEST_F(PageDiscipline, OffersTheDisciplinesTheRaceMayFollow) {
    EXPECT_EQ(Entries(page->DisciplineList()), QStringList({"Arrowhand", "Warden"}));

    c.raceDisciplineCompatibility = 0;
    c.Notify(HintRaceDisciplineCompatibility);
    EXPECT_EQ(Entries(page->DisciplineList()), QStringList({"Arrowhand", "Skyguard", "Warden"}));

    // A race change refills the list, circles shown, nothing selected.
    c.raceDisciplineCompatibility = 1;
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 2);
    ClickEntry(page->DisciplineList(), "Arrowhand");
    c.SetRaceByName("Flyer");
    EXPECT_EQ(Entries(page->DisciplineList()), QStringList({"Skyguard", "Warden   (2)"}));
    EXPECT_EQ(page->SelectedDiscipline(), nullptr);
    EXPECT_EQ(page->InformationEdit()->toPlainText(), "");
}

TEST_F(PageDiscipline, BrowsesADisciplineCircleByCircle) {
    Activate(page);

    ClickEntry(page->DisciplineList(), "Warden");
    EXPECT_EQ(page->AbilitiesEdit()->toPlainText(),
              "(1)   Knows every milestone.\n(3)   Never lost on a road.\n");
    EXPECT_EQ(page->ViewCircleSpin()->maximum(), 3);
    EXPECT_EQ(Entries(page->TalentList()),
              QStringList({"Aim", "Durability (5/4)", "Guard", "Spot"}));

    ClickEntry(page->TalentList(), "Aim");
    EXPECT_TRUE(
        page->TalentList()->currentItem()->toolTip().contains("Looses an arrow at a target."));
    EXPECT_EQ(page->FormulaText()->text(), "Formula :  Dex + 1");
    EXPECT_EQ(page->StrainText()->text(), "Strain :  1");
    // The flags describe the talent: clicking them changes nothing.
    QTest::mouseClick(page->KarmaBox(), Qt::LeftButton);
    QTest::mouseClick(page->DisciplineTalentBox(), Qt::LeftButton);
    EXPECT_TRUE(page->KarmaBox()->isChecked());
    EXPECT_FALSE(page->DisciplineTalentBox()->isChecked()) << "offered with N";

    page->ViewCircleSpin()->setFocus();
    QTest::keyClick(page->ViewCircleSpin(), Qt::Key_Up);
    EXPECT_EQ(Entries(page->TalentList()), QStringList({"Steady Hand"}));
    EXPECT_EQ(page->FormulaText()->text() + page->TalentDescriptionEdit()->toPlainText(), "");

    // Another discipline keeps the viewed circle where its range allows.
    ClickEntry(page->DisciplineList(), "Arrowhand");
    EXPECT_EQ(page->ViewCircleSpin()->value(), 2);
    EXPECT_EQ(Entries(page->TalentList()), QStringList({"Far Shot"}));
}

TEST_F(PageDiscipline, TheAdeptCircleAddsChangesAndRemovesTheDiscipline) {
    const CVARN_DBDiscipline* warden = c.Rules().disciplineList.FindDiscipline("Warden");
    Activate(page);
    QSpinBox* adept = page->AdeptCircleSpin();

    adept->setFocus();
    QTest::keyClick(adept, Qt::Key_Up); // no discipline selected: nothing
    EXPECT_TRUE(c.disciplines.empty());

    ClickEntry(page->DisciplineList(), "Warden");
    host.Forget();
    adept->setFocus();
    QTest::keyClick(adept, Qt::Key_Up);
    ASSERT_NE(c.FindCharDisc(warden), nullptr);
    EXPECT_EQ(host.Count(HintCircle), 1);
    EXPECT_EQ(host.Count(HintLegend), 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(adept, Qt::Key_Up);
    EXPECT_EQ(c.FindCharDisc(warden)->circle, 3) << "held at the highest circle";
    EXPECT_EQ(Entries(page->DisciplineList()), QStringList({"Arrowhand", "Warden   (3)"}));
    EXPECT_EQ(page->DisciplineList()->selectedItems().value(0)->text(), "Warden   (3)");

    QTest::keyClick(adept, Qt::Key_PageDown);
    EXPECT_EQ(c.FindCharDisc(warden), nullptr);
    EXPECT_TRUE(c.talents.empty());
    EXPECT_EQ(page->DisciplineList()->selectedItems().value(0)->text(), "Warden");
}

// Until a character is bound, no control of a page can change one.
TEST(Pages, ControlsThatChangeACharacterStartDisabled) {
    InitVarnResources();
    CVARN_PageDiscipline discipline;
    CVARN_PageTalents talents;
    CVARN_PageSkills skills;
    CVARN_PageEquipment equipment;
    CVARN_PageSpells spells;
    for (QWidget* control : std::initializer_list<QWidget*>{
             discipline.AdeptCircleSpin(), talents.RankSpin(), skills.RankSpin(),
             equipment.EquipButton(), equipment.RemoveButton(), equipment.WornBox(),
             equipment.ThreadSpin(), spells.LearnButton(), spells.DescriptionButton()})
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_EQ(talents.RankSpin()->value() + skills.RankSpin()->value(), 0);
    EXPECT_EQ(discipline.ViewCircleSpin()->maximum(), 1);
}
