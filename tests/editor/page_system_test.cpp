#include "editor/PageAttributes.h"
#include "editor/PageSystem.h"
#include "pages2_host.h"
#include "ui/MyListCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace pages2;

TEST(PageSystem, ShowsTheCharactersOptions) {
    PageHost host(ShippedRules());
    host.character.attributesCost = 0;
    host.character.attributeIncrease = 0;
    host.character.attributesMinMax = 1;
    host.character.circleAdvancement = 0;
    host.character.attributePoints = 80;
    auto* page = host.Add<CVARN_PageSystem>();

    EXPECT_TRUE(page->CompatibilityBox()->isChecked());
    EXPECT_FALSE(page->AttributesCostBox()->isChecked());
    EXPECT_FALSE(page->AttributeIncreaseBox()->isChecked());
    EXPECT_EQ(page->AttributeIncreaseBox()->text(), "Atribute Increase");
    EXPECT_EQ(page->BudgetSpin()->value(), 80);
    EXPECT_EQ(page->BudgetSpin()->minimum(), 1);
    EXPECT_EQ(page->BudgetSpin()->maximum(), 999);
    EXPECT_FALSE(page->BudgetSpin()->isEnabled());
    // The stored-only switches show what is stored and cannot be changed here.
    EXPECT_TRUE(page->MinMaxBox()->isChecked());
    EXPECT_FALSE(page->CircleAdvancementBox()->isChecked());
    EXPECT_FALSE(page->MinMaxBox()->isEnabled());
    EXPECT_FALSE(page->CircleAdvancementBox()->isEnabled());
    EXPECT_FALSE(page->ArmorsWornBox()->isEnabled());
    ClickBox(page->MinMaxBox());
    EXPECT_EQ(host.character.attributesMinMax, 1);
    EXPECT_FALSE(page->BooksList()->isEnabled());
    EXPECT_EQ(page->BooksList()->GetItemCount(), 0);
    for (int i = 0; i < CVARN_PageSystem::DataEditionCount; ++i)
        EXPECT_FALSE(page->DataEditionButton(i)->isEnabled());
    EXPECT_EQ(page->DataEditionButton(6)->text(), "Races");
    EXPECT_TRUE(host.hints.empty());
    EXPECT_FALSE(host.modified);
}

TEST(PageSystem, SwitchesChangeTheCharacterAndTellTheOtherPages) {
    PageHost host(ShippedRules());
    auto* page = host.Add<CVARN_PageSystem>();
    EXPECT_TRUE(page->BudgetSpin()->isEnabled());
    EXPECT_EQ(page->BudgetSpin()->value(), 66);

    ClickBox(page->AttributesCostBox());
    EXPECT_EQ(host.character.attributesCost, 0);
    EXPECT_FALSE(page->BudgetSpin()->isEnabled());
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributesCost}));
    EXPECT_TRUE(host.modified);
    QTest::keyClick(page->AttributesCostBox(), Qt::Key_Space);
    EXPECT_EQ(host.character.attributesCost, 1);
    EXPECT_TRUE(page->BudgetSpin()->isEnabled());

    host.hints.clear();
    ClickBox(page->CompatibilityBox());
    ClickBox(page->AttributeIncreaseBox());
    EXPECT_EQ(host.character.raceDisciplineCompatibility, 0);
    EXPECT_EQ(host.character.attributeIncrease, 0);
    EXPECT_EQ(host.hints,
              std::vector<int>({HintRaceDisciplineCompatibility, HintAttributeIncrease}));

    // The budget moves by the arrows only and stays within 1 to 999.
    host.hints.clear();
    QTest::keyClick(page->BudgetSpin(), Qt::Key_Up);
    EXPECT_EQ(host.character.attributePoints, 67);
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributePoints}));
    QTest::keyClicks(page->BudgetSpin(), "5");
    EXPECT_EQ(host.character.attributePoints, 67);
    host.character.attributePoints = 1;
    page->RefreshFromCharacter();
    QTest::keyClick(page->BudgetSpin(), Qt::Key_Down);
    EXPECT_EQ(host.character.attributePoints, 1);
}

TEST(PageSystem, AttributesPageFollowsTheSwitches) {
    PageHost host(ShippedRules());
    auto* attributes = host.Add<CVARN_PageAttributes>();
    auto* system = host.Add<CVARN_PageSystem>();
    const int spent = host.character.AttributePointsUsed();
    ASSERT_LT(spent, 66);
    EXPECT_EQ(attributes->PointsText()->text(), QString("%1 / 66").arg(spent));

    ClickBox(system->AttributesCostBox());
    EXPECT_EQ(attributes->PointsText()->text(), QString("%1 / --").arg(spent));
    EXPECT_TRUE(attributes->PointsIcon()->isHidden());
    ClickBox(system->AttributesCostBox());
    EXPECT_EQ(attributes->PointsText()->text(), QString("%1 / 66").arg(spent));

    // A budget below what is spent warns at once.
    host.character.attributePoints = static_cast<int16_t>(spent);
    system->RefreshFromCharacter();
    QTest::keyClick(system->BudgetSpin(), Qt::Key_Down);
    EXPECT_EQ(attributes->PointsText()->text(), QString("%1 / %2").arg(spent).arg(spent - 1));
    EXPECT_FALSE(attributes->PointsIcon()->isHidden());

    ClickBox(system->AttributeIncreaseBox());
    EXPECT_TRUE(attributes->IncreasesText()->text().endsWith(" / --"));
}
