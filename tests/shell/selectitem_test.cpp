#include "character/CharEquip.h"
#include "editor/DlgSelectItem.h"
#include "editor/EquipmentTree.h"
#include "rules/EquipmentDatabase.h"
#include "rules/UserPrompt.h"
#include "shell/DocFixture.h"

namespace {

// The tree below an item, one line per node, indented by depth.
QStringList Outline(const QTreeWidgetItem* item, const QString& indent = {}) {
    QStringList lines;
    for (int i = 0; i < item->childCount(); ++i)
        lines << indent + item->child(i)->text(0) << Outline(item->child(i), indent + "  ");
    return lines;
}

} // namespace

TEST(SelectItem, OffersThePiecesKindGroupsPathsIgnoringCaseAndGivesTheSelectedItem) {
    // Armour paths that differ only in case, one piece of every other kind.
    EquipmentDatabase db;
    CVARN_SilentPrompt quiet;
    ASSERT_EQ(ReadEquipment(db, VARN_TEST_DATA_DIR "select/", quiet), ReadResult::Ok);
    CVARN_CharEquipThreadArmor thread;
    thread.name = "Old Cloak";
    CVARN_CharEquipArmor armor;
    CVARN_CharEquipShield shield;
    CVARN_CharEquipWeapon weapon;
    CVARN_CharEquipMisc misc;
    const std::pair<const CVARN_CharEquip*, QStringList> cases[] = {
        {nullptr, {"Armors", "Shields", "Weapons", "Thread Armors"}}, // never Miscellaneous
        {&thread, {"Thread Armors"}}, // a thread armour is an armour, yet not offered plain ones
        {&armor, {"Armors"}},
        {&shield, {"Shields"}},
        {&weapon, {"Weapons"}},
        {&misc, {}},
    };
    for (const auto& [piece, expected] : cases) {
        CVARN_DlgSelectItem dlg(db, piece);
        EXPECT_EQ(Outline(dlg.Tree()->invisibleRootItem()).filter(QRegularExpression("^\\S")),
                  expected)
            << (piece ? static_cast<int>(piece->EquipKind()) : -1);
    }

    QTreeWidget tree;
    BuildEquipmentTree(&tree, db, {EquipmentCategory::Miscellaneous, EquipmentCategory::Armors});
    // "heavy"/"Heavy" and "Metal"/"METAL" share their nodes; the first spelling names them.
    // Entries keep the order of the file.
    EXPECT_EQ(Outline(tree.invisibleRootItem()),
              (QStringList{"Miscellaneous", "  Rope", "Armors", "  Light", "    Padded Vest",
                           "  heavy", "    Metal", "      Scale Coat", "      Plate"}));
    QTreeWidgetItem* armors = tree.topLevelItem(1);
    EXPECT_EQ(EquipmentNodeState(armors), EquipmentState::Armors);
    EXPECT_EQ(EquipmentItem(armors->child(1)->child(0)->child(1)), db.armors[2].get());

    // Selects the entry of that text, answers the dialog, and gives what it returns.
    auto run = [&db](const QString& text, bool ok) {
        CVARN_DlgSelectItem dlg(db, nullptr);
        const auto found = dlg.Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        if (!found.isEmpty())
            dlg.Tree()->setCurrentItem(found.first());
        QTimer::singleShot(0, &dlg, [&dlg, ok] {
            dlg.findChild<QDialogButtonBox*>()
                ->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
            if (dlg.isVisible()) { // the button did nothing: end the dialog all the same
                ADD_FAILURE() << "the dialog stays open";
                dlg.done(QDialog::Rejected);
            }
        });
        return dlg.Run();
    };
    EXPECT_EQ(run("Plate", true), db.armors[2].get());
    EXPECT_EQ(run("Metal", true), nullptr);
    EXPECT_EQ(run("Dagger", true), db.weapons[0].get());
    EXPECT_EQ(run("Dagger", false), nullptr);
}
