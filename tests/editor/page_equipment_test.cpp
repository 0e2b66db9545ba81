#include "PageHost.h"

using namespace editor_test;

namespace {

QStringList Characteristics(CVARN_PageEquipment* page) {
    QStringList rows;
    for (int r = 0; r < CVARN_PageEquipment::RowCount; ++r)
        rows << Text(page, Nth("characteristicLabel", r)) + "=" +
                    Text(page, Nth("characteristicValue", r));
    return rows;
}

const QStringList kNothing = {"-=-", "-=-", "-=-", "-=-", "-=-", "-=-", "-=-", "-=-"};
const QString kTooMuch = "Rules do not allow wearing more than one set of armor.";

class PageEquipmentTest : public OnePage<CVARN_PageEquipment, true> {
protected:
    // Buys the entry at `path` of the available tree with the "Equip" button.
    void Buy(const QStringList& path) {
        ClickNode(goods, NodeAt(goods, path));
        QTest::mouseClick(Control<QPushButton>(page, "equipButton"), Qt::LeftButton);
    }
    QTreeWidgetItem* Owned(const QString& category, int i) const {
        QTreeWidgetItem* node = NodeAt(owned, {category});
        return node != nullptr ? node->child(i) : nullptr;
    }
    QStringList Categories() const { return ChildTexts(owned->invisibleRootItem()); }

    QTreeWidget* owned = Control<QTreeWidget>(page, "characterTree");
    QTreeWidget* goods = Control<QTreeWidget>(page, "availableTree");
};

} // namespace

TEST_F(PageEquipmentTest, AvailableItemsShowTheirCharacteristics) {
    EXPECT_EQ(ChildTexts(goods->invisibleRootItem()),
              QStringList({"Armors", "Shields", "Weapons", "Thread Armors", "Miscellaneous"}));
    EXPECT_FALSE(Control<QCheckBox>(page, "wornBox")->isEnabled());
    EXPECT_EQ(Control<QCheckBox>(page, "wornBox")->text(), "---");

    ClickNode(goods, NodeAt(goods, {"Weapons", "Blades", "Dirk"}));
    EXPECT_TRUE(Control<QPushButton>(page, "equipButton")->isEnabled());
    const int step = 2 + host.character.Att(AttStrength).Step();
    EXPECT_EQ(Characteristics(page),
              QStringList({"Weight=1.5", "Cost=8.0", QString("Damage=+2 (%1)").arg(step),
                           "Min. Str=5", "Min. Dex=7", "Size=1", "-=-", "-=-"}));
    // Strength changes the damage step: what was shown is cleared.
    host.character.SetAttributeBase(AttStrength, host.character.Att(AttStrength).base + 1);
    EXPECT_EQ(Characteristics(page), kNothing);

    ClickNode(goods, NodeAt(goods, {"Shields", "Round Shield"}));
    EXPECT_EQ(Characteristics(page),
              QStringList({"Weight=10.0", "Cost=30.0", "Physic=3", "Mystic=1", "Initiative=-1",
                           "Shatter=19", "-=-", "-=-"}));
    ClickNode(goods, NodeAt(goods, {"Thread Armors", "Woven Mail"}));
    EXPECT_EQ(Characteristics(page),
              QStringList({"Weight=20.0", "Cost=300.0", "Physic=4", "Mystic=2", "Initiative=-1",
                           "Nb Thread=3", "-=-", "-=-"}));
    ClickNode(goods, NodeAt(goods, {"Miscellaneous", "Rope"}));
    EXPECT_EQ(Characteristics(page).mid(0, 3), QStringList({"Weight=5.0", "Cost=1.0", "-=-"}));
    ClickNode(goods, NodeAt(goods, {"Weapons"}));
    EXPECT_FALSE(Control<QPushButton>(page, "equipButton")->isEnabled());
    EXPECT_EQ(Characteristics(page), kNothing);
}

TEST_F(PageEquipmentTest, CategoryNodesComeAndGoWithTheirPieces) {
    Buy({"Miscellaneous", "Rope"});
    Buy({"Weapons", "Blades", "Dirk"});
    Buy({"Shields", "Buckler"});
    EXPECT_EQ(Categories(), QStringList({"Miscellaneous", "Shields", "Weapons"}));
    EXPECT_EQ(EquipmentNodeState(NodeAt(owned, {"Weapons"})), EquipmentState::Weapons);
    EXPECT_EQ(EquipmentNodeState(Owned("Shields", 0)), EquipmentState::ShieldNotWorn);

    // The Delete key removes the last weapon, and its category with it.
    ClickNode(owned, Owned("Weapons", 0));
    EXPECT_TRUE(Control<QPushButton>(page, "removeButton")->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(page, "wornBox")->isEnabled());
    QTest::keyClick(owned, Qt::Key_Delete);
    EXPECT_EQ(host.Count(HintEquipmentRemoved), 1);
    EXPECT_EQ(Categories(), QStringList({"Miscellaneous", "Shields"}));

    // Bought again with a double click, in alphabetical place; armour goes first.
    ClickNode(goods, NodeAt(goods, {"Weapons", "Blades", "Dirk"}), true);
    Buy({"Armors", "Light", "Quilted Coat"});
    EXPECT_EQ(Categories(), QStringList({"Armors", "Miscellaneous", "Shields", "Weapons"}));

    // "Remove" on the rope removes "Miscellaneous"; a category node removes nothing.
    ClickNode(owned, Owned("Miscellaneous", 0));
    QTest::mouseClick(Control<QPushButton>(page, "removeButton"), Qt::LeftButton);
    EXPECT_EQ(Categories(), QStringList({"Armors", "Shields", "Weapons"}));
    ClickNode(owned, NodeAt(owned, {"Shields"}));
    EXPECT_FALSE(Control<QPushButton>(page, "removeButton")->isEnabled());
    QTest::keyClick(owned, Qt::Key_Delete);
    EXPECT_EQ(host.character.equipment.size(), 3u);
}

TEST_F(PageEquipmentTest, WearingTooMuchShowsTheWarning) {
    Buy({"Shields", "Buckler"});
    Buy({"Shields", "Round Shield"});
    Buy({"Armors", "Light", "Quilted Coat"});
    Buy({"Thread Armors", "Woven Mail"});
    const int basePhysic = host.character.physicArmor;

    // Both shields and one armour: only the shield line, without a line break.
    ClickNode(owned, Owned("Shields", 0));
    EXPECT_EQ(Control<QCheckBox>(page, "wornBox")->text(), "Shield in use");
    ClickBox(Control<QCheckBox>(page, "wornBox"));
    ClickNode(owned, Owned("Shields", 1), true); // a double click wears it too
    ClickNode(owned, Owned("Armors", 0));
    EXPECT_EQ(Control<QCheckBox>(page, "wornBox")->text(), "Armor in use");
    ClickBox(Control<QCheckBox>(page, "wornBox"));
    EXPECT_EQ(host.character.physicArmor, basePhysic + 1 + 3 + 2);
    EXPECT_EQ(EquipmentNodeState(Owned("Shields", 1)), EquipmentState::ShieldWorn);
    EXPECT_EQ(EquipmentNodeState(Owned("Armors", 0)), EquipmentState::ArmorWorn);
    EXPECT_EQ(page->WarningText(), kTooMuch);
    EXPECT_FALSE(Control<QLabel>(page, "warningIcon")->isHidden());

    // A second armour adds the armour line before it.
    ClickNode(owned, Owned("Armors", 1));
    QTest::keyClick(Control<QCheckBox>(page, "wornBox"), Qt::Key_Space);
    EXPECT_EQ(page->WarningText(), kTooMuch + "\r\n" + kTooMuch);
    EXPECT_EQ(Control<QPlainTextEdit>(page, "warningEdit")->toPlainText(),
              kTooMuch + "\n" + kTooMuch);

    // Taking off the shields leaves the armour line; removing a worn armour clears it.
    ClickNode(owned, Owned("Shields", 0), true);
    EXPECT_EQ(page->WarningText(), kTooMuch + "\r\n");
    ClickNode(owned, Owned("Armors", 0));
    QTest::mouseClick(Control<QPushButton>(page, "removeButton"), Qt::LeftButton);
    EXPECT_EQ(page->WarningText(), "");
    EXPECT_TRUE(Control<QLabel>(page, "warningIcon")->isHidden());
}

TEST_F(PageEquipmentTest, ThreadRankWeavesThePowerOfExactlyThatRank) {
    Buy({"Thread Armors", "Woven Mail"});
    Buy({"Armors", "Light", "Quilted Coat"});
    QSpinBox* thread = Control<QSpinBox>(page, "threadSpin");

    ClickNode(owned, Owned("Armors", 1));
    EXPECT_FALSE(thread->isEnabled());
    ClickNode(owned, Owned("Armors", 0));
    ASSERT_TRUE(thread->isEnabled());
    EXPECT_EQ(thread->maximum(), 3);
    ClickBox(Control<QCheckBox>(page, "wornBox"));
    const int wornPhysic = host.character.physicArmor;

    QTest::keyClick(thread, Qt::Key_Up);
    auto* mail = dynamic_cast<CVARN_CharEquipThreadArmor*>(host.character.equipment[0].get());
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->threadRank, 1);
    EXPECT_EQ(Text(page, Nth("characteristicValue", 2)), "5");
    EXPECT_EQ(host.character.physicArmor, wornPhysic + 1);
    // Rank 2 has no power: the plain armour values.
    QTest::keyClick(thread, Qt::Key_Up);
    EXPECT_EQ(Text(page, Nth("characteristicValue", 2)), "4");
    EXPECT_EQ(host.character.physicArmor, wornPhysic);
    QTest::keyClick(thread, Qt::Key_Up);
    QTest::keyClick(thread, Qt::Key_Up); // held at the thread count
    EXPECT_EQ(mail->threadRank, 3);
    EXPECT_EQ(Characteristics(page),
              QStringList({"Weight=20.0", "Cost=300.0", "Physic=7", "Mystic=4", "Initiative=+0",
                           "Nb Thread=3", "-=-", "-=-"}));
    EXPECT_GT(host.Count(HintEquipmentChanged), 0);
}

// Undo puts new pieces in the character. When they are the pieces shown, the nodes stay (with
// the selection and scroll position) and point at the new pieces; otherwise the tree is built
// again.
TEST_F(PageEquipmentTest, ARestoreKeepsTheNodesOfUnchangedPiecesAndPointsThemAtTheNewOnes) {
    Buy({"Shields", "Round Shield"});
    Buy({"Weapons", "Blades", "Dirk"});
    CVARN_Character& c = host.character;
    const CVARN_CharacterSnapshot::Ptr state = CVARN_CharacterSnapshot::Take(c, nullptr);
    const auto restore = [&] {
        CVARN_RetiredRecords retired;
        state->RestoreInto(c, &retired);
        page->OnCharacterRestored();
    };
    QTreeWidgetItem* dirk = Owned("Weapons", 0);
    ClickNode(owned, dirk);
    c.SetLegendEarned(c.legendEarned + 100);
    restore();
    EXPECT_EQ(owned->currentItem(), dirk);
    EXPECT_EQ(page->PieceOf(owned->currentItem()), c.equipment.at(1).get());
    EXPECT_EQ(page->PieceOf(Owned("Shields", 0)), c.equipment.at(0).get());

    ClickNode(owned, Owned("Shields", 0));
    QTest::mouseClick(Control<QCheckBox>(page, "wornBox"), Qt::LeftButton);
    ASSERT_TRUE(Control<QCheckBox>(page, "wornBox")->isChecked());
    restore();
    QTreeWidgetItem* shield = Owned("Shields", 0);
    EXPECT_EQ(page->PieceOf(shield), c.equipment.at(0).get());
    ClickNode(owned, shield);
    EXPECT_FALSE(Control<QCheckBox>(page, "wornBox")->isChecked()) << "the tree was built again";
}
