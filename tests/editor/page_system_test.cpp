#include "PageHost.h"

using namespace editor_test;

// The switches change the character and tell the other pages: the Attributes page shows
// the points and increases they govern.
TEST(PageSystem, SwitchesAndBudgetReachTheAttributesPage) {
    PageHost host(ShippedRules());
    CVARN_Character& c = host.character;
    auto* attributes = host.Add<CVARN_PageAttributes>();
    auto* system = host.Add<CVARN_PageSystem>();
    const int spent = c.AttributePointsUsed();
    ASSERT_LT(spent, 66);
    const auto points = [&] { return Text(attributes, "pointsText"); };
    EXPECT_EQ(points(), QString("%1 / 66").arg(spent));
    // The stored-only switches show what is stored and cannot be changed here.
    QStringList stored{"minMaxBox", "circleAdvancementBox", "armorsWornBox", "booksList"};
    for (int i = 0; i < CVARN_PageSystem::DataEditionCount; ++i)
        stored << Nth("dataEditionButton", i);
    for (const QString& name : stored)
        EXPECT_FALSE(Control<QWidget>(system, name)->isEnabled()) << name.toStdString();

    ClickBox(Control<QCheckBox>(system, "attributesCostBox"));
    EXPECT_EQ(c.attributesCost, 0);
    EXPECT_FALSE(Control<QSpinBox>(system, "budgetSpin")->isEnabled());
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributesCost}));
    EXPECT_GT(host.modifiedMarks, 0);
    EXPECT_EQ(points(), QString("%1 / --").arg(spent));
    EXPECT_TRUE(Control<QLabel>(attributes, "pointsIcon")->isHidden());
    QTest::keyClick(Control<QCheckBox>(system, "attributesCostBox"), Qt::Key_Space);
    EXPECT_EQ(c.attributesCost, 1);
    EXPECT_TRUE(Control<QSpinBox>(system, "budgetSpin")->isEnabled());
    EXPECT_EQ(points(), QString("%1 / 66").arg(spent));

    host.Forget();
    ClickBox(Control<QCheckBox>(system, "compatibilityBox"));
    EXPECT_EQ(Control<QCheckBox>(system, "attributeIncreaseBox")->text(), "Attribute Increase");
    ClickBox(Control<QCheckBox>(system, "attributeIncreaseBox"));
    EXPECT_EQ(c.raceDisciplineCompatibility + c.attributeIncrease, 0);
    EXPECT_EQ(host.hints,
              std::vector<int>({HintRaceDisciplineCompatibility, HintAttributeIncrease}));
    EXPECT_TRUE(Text(attributes, "increasesText").endsWith(" / --"));

    // The budget stays within 1 to 999, and warns at once when below what is spent.
    host.Forget();
    QTest::keyClick(Control<QSpinBox>(system, "budgetSpin"), Qt::Key_Up);
    EXPECT_EQ(c.attributePoints, 67);
    EXPECT_EQ(host.hints, std::vector<int>({HintAttributePoints}));
    c.attributePoints = static_cast<int16_t>(spent);
    system->RefreshFromCharacter();
    QTest::keyClick(Control<QSpinBox>(system, "budgetSpin"), Qt::Key_Down);
    EXPECT_EQ(points(), QString("%1 / %2").arg(spent).arg(spent - 1));
    EXPECT_FALSE(Control<QLabel>(attributes, "pointsIcon")->isHidden());
    c.attributePoints = 1;
    system->RefreshFromCharacter();
    QTest::keyClick(Control<QSpinBox>(system, "budgetSpin"), Qt::Key_Down);
    EXPECT_EQ(c.attributePoints, 1);
}
