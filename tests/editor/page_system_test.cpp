#include "PageHost.h"

using namespace editor_test;

TEST(PageSystem, ShowsTheOptionsAndKeepsTheStoredOnlyOnes) {
    PageHost host(ShippedRules());
    CVARN_Character& c = host.character;
    c.attributesCost = 0;
    c.attributesMinMax = 1;
    c.attributePoints = 80;
    auto* page = host.Add<CVARN_PageSystem>();
    EXPECT_FALSE(page->AttributesCostBox()->isChecked());
    EXPECT_EQ(page->AttributeIncreaseBox()->text(), "Attribute Increase");
    EXPECT_EQ(page->BudgetSpin()->value(), 80);
    EXPECT_FALSE(page->BudgetSpin()->isEnabled());
    // The stored-only switches show what is stored and cannot be changed here.
    EXPECT_TRUE(page->MinMaxBox()->isChecked());
    ClickBox(page->MinMaxBox());
    EXPECT_EQ(c.attributesMinMax, 1);
    QList<QWidget*> stored = {page->MinMaxBox(), page->CircleAdvancementBox(),
                              page->ArmorsWornBox(), page->BooksList()};
    for (int i = 0; i < CVARN_PageSystem::DataEditionCount; ++i)
        stored << page->DataEditionButton(i);
    for (QWidget* control : stored)
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_TRUE(host.hints.empty() && host.modifiedMarks == 0);
}

// The switches change the character and tell the other pages: the Attributes page shows
// the points and increases they govern.
TEST(PageSystem, SwitchesAndBudgetReachTheAttributesPage) {
    PageHost host(ShippedRules());
    CVARN_Character& c = host.character;
    auto* attributes = host.Add<CVARN_PageAttributes>();
    auto* system = host.Add<CVARN_PageSystem>();
    const int spent = c.AttributePointsUsed();
    ASSERT_LT(spent, 66);
    const auto points = [&] { return attributes->PointsText()->text(); };
    EXPECT_EQ(points(), QString("%1 / 66").arg(spent));

    ClickBox(system->AttributesCostBox());
    EXPECT_EQ(c.attributesCost, 0);
    EXPECT_FALSE(system->BudgetSpin()->isEnabled());
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributesCost}));
    EXPECT_GT(host.modifiedMarks, 0);
    EXPECT_EQ(points(), QString("%1 / --").arg(spent));
    EXPECT_TRUE(attributes->PointsIcon()->isHidden());
    QTest::keyClick(system->AttributesCostBox(), Qt::Key_Space);
    EXPECT_EQ(c.attributesCost, 1);
    EXPECT_TRUE(system->BudgetSpin()->isEnabled());
    EXPECT_EQ(points(), QString("%1 / 66").arg(spent));

    host.Forget();
    ClickBox(system->CompatibilityBox());
    ClickBox(system->AttributeIncreaseBox());
    EXPECT_EQ(c.raceDisciplineCompatibility + c.attributeIncrease, 0);
    EXPECT_EQ(host.hints,
              std::vector<int>({HintRaceDisciplineCompatibility, HintAttributeIncrease}));
    EXPECT_TRUE(attributes->IncreasesText()->text().endsWith(" / --"));

    // The budget stays within 1 to 999, and warns at once when below what is spent.
    host.Forget();
    QTest::keyClick(system->BudgetSpin(), Qt::Key_Up);
    EXPECT_EQ(c.attributePoints, 67);
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributePoints}));
    c.attributePoints = static_cast<int16_t>(spent);
    system->RefreshFromCharacter();
    QTest::keyClick(system->BudgetSpin(), Qt::Key_Down);
    EXPECT_EQ(points(), QString("%1 / %2").arg(spent).arg(spent - 1));
    EXPECT_FALSE(attributes->PointsIcon()->isHidden());
    c.attributePoints = 1;
    system->RefreshFromCharacter();
    QTest::keyClick(system->BudgetSpin(), Qt::Key_Down);
    EXPECT_EQ(c.attributePoints, 1);
}
