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
    EXPECT_EQ(Entries(Control<QListWidget>(page, "disciplineList")),
              QStringList({"Arrowhand", "Warden"}));

    c.raceDisciplineCompatibility = 0;
    c.Notify(HintRaceDisciplineCompatibility);
    EXPECT_EQ(Entries(Control<QListWidget>(page, "disciplineList")),
              QStringList({"Arrowhand", "Skyguard", "Warden"}));

    // A race change refills the list, circles shown, nothing selected.
    c.raceDisciplineCompatibility = 1;
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 2);
    ClickEntry(Control<QListWidget>(page, "disciplineList"), "Arrowhand");
    c.SetRaceByName("Flyer");
    EXPECT_EQ(Entries(Control<QListWidget>(page, "disciplineList")),
              QStringList({"Skyguard", "Warden   (2)"}));
    EXPECT_EQ(page->SelectedDiscipline(), nullptr);
    EXPECT_EQ(Control<QPlainTextEdit>(page, "informationEdit")->toPlainText(), "");
}

TEST_F(PageDiscipline, BrowsesADisciplineCircleByCircle) {
    Activate(page);

    ClickEntry(Control<QListWidget>(page, "disciplineList"), "Warden");
    EXPECT_EQ(Control<QPlainTextEdit>(page, "informationEdit")->toPlainText().trimmed(),
              "Wardens keep the roads.");
    EXPECT_EQ(Control<QPlainTextEdit>(page, "abilitiesEdit")->toPlainText(),
              "(1)   Knows every milestone.\n(3)   Never lost on a road.\n");
    EXPECT_EQ(Control<QSpinBox>(page, "viewCircleSpin")->maximum(), 3);
    EXPECT_EQ(Entries(Control<QListWidget>(page, "talentList")),
              QStringList({"Aim", "Durability (5/4)", "Guard", "Spot"}));

    ClickEntry(Control<QListWidget>(page, "talentList"), "Aim");
    EXPECT_TRUE(Control<QListWidget>(page, "talentList")
                    ->currentItem()
                    ->toolTip()
                    .contains("Looses an arrow at a target."));
    EXPECT_EQ(Text(page, "formulaText"), "Formula :  Dex + 1");
    EXPECT_EQ(Text(page, "strainText"), "Strain :  1");
    // The flags describe the talent: clicking them changes nothing.
    QTest::mouseClick(Control<QCheckBox>(page, "karmaBox"), Qt::LeftButton);
    QTest::mouseClick(Control<QCheckBox>(page, "disciplineTalentBox"), Qt::LeftButton);
    EXPECT_TRUE(Control<QCheckBox>(page, "karmaBox")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(page, "disciplineTalentBox")->isChecked()) << "offered with N";

    Control<QSpinBox>(page, "viewCircleSpin")->setFocus();
    QTest::keyClick(Control<QSpinBox>(page, "viewCircleSpin"), Qt::Key_Up);
    EXPECT_EQ(Entries(Control<QListWidget>(page, "talentList")), QStringList({"Steady Hand"}));
    EXPECT_EQ(Text(page, "formulaText") +
                  Control<QPlainTextEdit>(page, "talentDescriptionEdit")->toPlainText(),
              "");

    // Another discipline keeps the viewed circle where its range allows.
    ClickEntry(Control<QListWidget>(page, "disciplineList"), "Arrowhand");
    EXPECT_EQ(Control<QSpinBox>(page, "viewCircleSpin")->value(), 2);
    EXPECT_EQ(Entries(Control<QListWidget>(page, "talentList")), QStringList({"Far Shot"}));
}

TEST_F(PageDiscipline, TheAdeptCircleAddsChangesAndRemovesTheDiscipline) {
    const CVARN_DBDiscipline* warden = c.Rules().disciplineList.FindDiscipline("Warden");
    Activate(page);
    QSpinBox* adept = Control<QSpinBox>(page, "adeptCircleSpin");

    adept->setFocus();
    QTest::keyClick(adept, Qt::Key_Up); // no discipline selected: nothing
    EXPECT_TRUE(c.disciplines.empty());

    ClickEntry(Control<QListWidget>(page, "disciplineList"), "Warden");
    host.Forget();
    adept->setFocus();
    QTest::keyClick(adept, Qt::Key_Up);
    ASSERT_NE(c.FindCharDisc(warden), nullptr);
    EXPECT_EQ(host.Count(HintCircle), 1);
    EXPECT_EQ(host.Count(HintLegend), 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(adept, Qt::Key_Up);
    EXPECT_EQ(c.FindCharDisc(warden)->circle, 3) << "held at the highest circle";
    EXPECT_EQ(Entries(Control<QListWidget>(page, "disciplineList")),
              QStringList({"Arrowhand", "Warden   (3)"}));
    EXPECT_EQ(Control<QListWidget>(page, "disciplineList")->selectedItems().value(0)->text(),
              "Warden   (3)");

    QTest::keyClick(adept, Qt::Key_PageDown);
    EXPECT_EQ(c.FindCharDisc(warden), nullptr);
    EXPECT_TRUE(c.talents.empty());
    EXPECT_EQ(Control<QListWidget>(page, "disciplineList")->selectedItems().value(0)->text(),
              "Warden");
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
             Control<QSpinBox>(&discipline, "adeptCircleSpin"),
             Control<QSpinBox>(&talents, "rankSpin"), Control<QSpinBox>(&skills, "rankSpin"),
             Control<QPushButton>(&equipment, "equipButton"),
             Control<QPushButton>(&equipment, "removeButton"),
             Control<QCheckBox>(&equipment, "wornBox"), Control<QSpinBox>(&equipment, "threadSpin"),
             Control<QPushButton>(&spells, "learnButton"),
             Control<QPushButton>(&spells, "descriptionButton")})
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_EQ(Control<QSpinBox>(&talents, "rankSpin")->value() +
                  Control<QSpinBox>(&skills, "rankSpin")->value(),
              0);
    EXPECT_EQ(Control<QSpinBox>(&discipline, "viewCircleSpin")->maximum(), 1);
}
