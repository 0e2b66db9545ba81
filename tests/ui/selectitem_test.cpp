#include "character/CharEquip.h"
#include "editor/DlgSelectItem.h"
#include "editor/EquipmentTree.h"
#include "rules/EquipmentDatabase.h"

#include <QFont>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class T>
T* Add(std::vector<std::unique_ptr<T>>& list, const char* name,
       std::vector<std::string> path = {}) {
    auto entry = std::make_unique<T>();
    entry->name = name;
    entry->path = std::move(path);
    list.push_back(std::move(entry));
    return list.back().get();
}

struct Equipment {
    EquipmentDatabase db;
    Equipment() {
        Add(db.armors, "Padded Vest", {"Light"});
        Add(db.armors, "Scale Coat", {"heavy", "Metal"});
        Add(db.armors, "Plate", {"Heavy", "METAL"});
        Add(db.shields, "Buckler");
        Add(db.weapons, "Dagger", {"Blades"});
        Add(db.threadArmors, "Mistweave Cloak");
        Add(db.misc, "Rope");
    }
};

QStringList TopLevelTexts(const QTreeWidget* tree) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(0);
    return texts;
}

QTreeWidgetItem* Find(const QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

TEST(SelectItem, OffersOnlyCategoriesOfThePiecesKind) {
    Equipment e;
    const QStringList all = {"Armors", "Shields", "Weapons", "Thread Armors"};
    {
        CVARN_DlgSelectItem dlg(e.db, nullptr);
        EXPECT_EQ(TopLevelTexts(dlg.Tree()), all); // never Miscellaneous
        EXPECT_EQ(dlg.windowTitle(), "Select Item...");
    }
    CVARN_CharEquipThreadArmor thread;
    thread.name = "Old Cloak";
    CVARN_CharEquipArmor armor;
    CVARN_CharEquipShield shield;
    CVARN_CharEquipWeapon weapon;
    CVARN_CharEquipMisc misc;
    const std::pair<const CVARN_CharEquip*, QStringList> cases[] = {
        {&thread, {"Thread Armors"}}, // a thread armour is an armour, yet not offered plain ones
        {&armor, {"Armors"}},         {&shield, {"Shields"}}, {&weapon, {"Weapons"}}, {&misc, {}},
    };
    for (const auto& [piece, expected] : cases) {
        CVARN_DlgSelectItem dlg(e.db, piece);
        EXPECT_EQ(TopLevelTexts(dlg.Tree()), expected) << piece->ClassName();
        EXPECT_EQ(dlg.Result(), nullptr);
    }
    CVARN_DlgSelectItem dlg(e.db, &thread);
    EXPECT_EQ(dlg.windowTitle(), "Replace... Old Cloak");
}

TEST(SelectItem, TreeGroupsPathsIgnoringCaseAndKeepsFileOrder) {
    Equipment e;
    QTreeWidget tree;
    BuildEquipmentTree(&tree, e.db, {EquipmentCategory::Miscellaneous, EquipmentCategory::Armors});
    ASSERT_EQ(TopLevelTexts(&tree), QStringList({"Miscellaneous", "Armors"}));
    QTreeWidgetItem* armors = tree.topLevelItem(1);
    EXPECT_TRUE(armors->font(0).bold());
    EXPECT_EQ(EquipmentNodeState(armors), EquipmentState::Armors);
    EXPECT_EQ(EquipmentNodeState(tree.topLevelItem(0)), EquipmentState::Miscellaneous);
    EXPECT_EQ(EquipmentItem(armors), nullptr);

    // "heavy"/"Heavy" and "Metal"/"METAL" share their nodes; the first spelling names them.
    ASSERT_EQ(armors->childCount(), 2);
    EXPECT_EQ(armors->child(0)->text(0), "Light");
    QTreeWidgetItem* heavy = armors->child(1);
    EXPECT_EQ(heavy->text(0), "heavy");
    ASSERT_EQ(heavy->childCount(), 1);
    QTreeWidgetItem* metal = heavy->child(0);
    EXPECT_EQ(metal->text(0), "Metal");
    ASSERT_EQ(metal->childCount(), 2);
    EXPECT_EQ(metal->child(0)->text(0), "Scale Coat"); // file order, not sorted
    EXPECT_EQ(metal->child(1)->text(0), "Plate");
    EXPECT_EQ(EquipmentItem(metal->child(1)), e.db.armors[2].get());
    EXPECT_EQ(EquipmentItem(metal), nullptr);
    EXPECT_FALSE(metal->child(1)->font(0).bold());
}

TEST(SelectItem, ResultFollowsSelectionAndOkOnPathNodeGivesNone) {
    Equipment e;
    {
        CVARN_DlgSelectItem dlg(e.db, nullptr);
        QTreeWidgetItem* plate = Find(dlg.Tree(), "Plate");
        ASSERT_NE(plate, nullptr);
        dlg.Tree()->setCurrentItem(plate);
        EXPECT_EQ(dlg.Result(), e.db.armors[2].get());
        dlg.Tree()->setCurrentItem(Find(dlg.Tree(), "Metal"));
        EXPECT_EQ(dlg.Result(), nullptr);
        QTimer::singleShot(0, &dlg, &QDialog::accept);
        EXPECT_EQ(dlg.Run(), nullptr);
    }
    {
        CVARN_DlgSelectItem dlg(e.db, nullptr);
        dlg.Tree()->setCurrentItem(Find(dlg.Tree(), "Dagger"));
        QTimer::singleShot(0, &dlg, &QDialog::accept);
        EXPECT_EQ(dlg.Run(), e.db.weapons[0].get());
    }
    {
        CVARN_DlgSelectItem dlg(e.db, nullptr);
        dlg.Tree()->setCurrentItem(Find(dlg.Tree(), "Dagger"));
        QTimer::singleShot(0, &dlg, &QDialog::reject); // Cancel forgets the choice
        EXPECT_EQ(dlg.Run(), nullptr);
        EXPECT_EQ(dlg.Result(), nullptr);
    }
}

TEST(SelectItem, PieceStateImages) {
    CVARN_CharEquipThreadArmor thread;
    CVARN_CharEquipShield shield;
    CVARN_CharEquipWeapon weapon;
    EXPECT_EQ(EquipmentPieceState(thread), EquipmentState::ArmorNotWorn);
    thread.worn = 1;
    EXPECT_EQ(EquipmentPieceState(thread), EquipmentState::ArmorWorn);
    EXPECT_EQ(EquipmentPieceState(shield), EquipmentState::ShieldNotWorn);
    shield.worn = -7; // any nonzero flag is on
    EXPECT_EQ(EquipmentPieceState(shield), EquipmentState::ShieldWorn);
    EXPECT_EQ(EquipmentPieceState(weapon), EquipmentState::None);
    for (int n = 1; n < EquipmentState::Count; ++n)
        EXPECT_FALSE(EquipmentStateIcon(n).pixmap(16, 16).isNull()) << n;
    EXPECT_TRUE(EquipmentStateIcon(0).isNull());
    EXPECT_TRUE(EquipmentStateIcon(14).isNull());
}
