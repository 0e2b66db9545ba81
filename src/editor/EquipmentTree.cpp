#include "editor/EquipmentTree.h"

#include "character/CharEquip.h"
#include "rules/EquipmentDatabase.h"
#include "widgets/QtText.h"
#include "widgets/VarnResources.h"

#include <QHash>
#include <QTreeWidget>

#include <utility>

QIcon EquipmentStateIcon(int number) {
    if (number <= EquipmentState::None || number >= EquipmentState::Count)
        return QIcon();
    InitVarnResources();
    return VarnIcon(QStringLiteral(":/state/%1.png").arg(number));
}

void SetEquipmentNodeState(QTreeWidgetItem* node, int number) {
    if (node == nullptr)
        return;
    node->setIcon(0, EquipmentStateIcon(number));
    node->setData(0, EquipmentStateRole, number);
}

int EquipmentNodeState(const QTreeWidgetItem* node) {
    return node == nullptr ? EquipmentState::None : node->data(0, EquipmentStateRole).toInt();
}

QString EquipmentCategoryName(EquipmentCategory category) {
    switch (category) {
    case EquipmentCategory::Armors:
        return QStringLiteral("Armors");
    case EquipmentCategory::Shields:
        return QStringLiteral("Shields");
    case EquipmentCategory::Weapons:
        return QStringLiteral("Weapons");
    case EquipmentCategory::ThreadArmors:
        return QStringLiteral("Thread Armors");
    case EquipmentCategory::Miscellaneous:
        return QStringLiteral("Miscellaneous");
    }
    return QString();
}

int EquipmentCategoryState(EquipmentCategory category) {
    switch (category) {
    case EquipmentCategory::Armors:
        return EquipmentState::Armors;
    case EquipmentCategory::Shields:
        return EquipmentState::Shields;
    case EquipmentCategory::Weapons:
        return EquipmentState::Weapons;
    case EquipmentCategory::ThreadArmors:
        return EquipmentState::ThreadArmors;
    case EquipmentCategory::Miscellaneous:
        return EquipmentState::Miscellaneous;
    }
    return EquipmentState::None;
}

int EquipmentPieceState(const CVARN_CharEquip& piece) {
    // A thread armour is an armour too, so this covers both.
    if (const auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(&piece))
        return armor->worn != 0 ? EquipmentState::ArmorWorn : EquipmentState::ArmorNotWorn;
    if (const auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(&piece))
        return shield->worn != 0 ? EquipmentState::ShieldWorn : EquipmentState::ShieldNotWorn;
    return EquipmentState::None;
}

namespace {

// The path nodes made so far under each node, by case-folded text. Entry nodes are leaves of
// their own and never enter it: a path piece never merges into one.
using PathNodes = QHash<std::pair<QTreeWidgetItem*, QString>, QTreeWidgetItem*>;

template <class List>
void AppendEntries(QTreeWidgetItem* categoryNode, const List& entries, PathNodes& pathNodes) {
    for (const auto& entry : entries) {
        QTreeWidgetItem* node = categoryNode;
        for (const std::string& piece : entry->path) {
            const QString text = FromCore(piece);
            QTreeWidgetItem*& child = pathNodes[{node, FoldCase(text)}];
            if (child == nullptr)
                child = new QTreeWidgetItem(node, QStringList(text));
            node = child;
        }
        auto* leaf = new QTreeWidgetItem(node, QStringList(FromCore(entry->name)));
        const CVARN_Item* item = entry.get();
        leaf->setData(0, EquipmentItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    }
}

} // namespace

void BuildEquipmentTree(QTreeWidget* tree, const EquipmentDatabase& db,
                        const std::vector<EquipmentCategory>& categories) {
    if (tree == nullptr)
        return;
    PathNodes pathNodes;
    for (const EquipmentCategory category : categories) {
        auto* node = new QTreeWidgetItem(QStringList(EquipmentCategoryName(category)));
        QFont bold = tree->font();
        bold.setBold(true);
        node->setFont(0, bold);
        SetEquipmentNodeState(node, EquipmentCategoryState(category));
        switch (category) {
        case EquipmentCategory::Armors:
            AppendEntries(node, db.armors, pathNodes);
            break;
        case EquipmentCategory::Shields:
            AppendEntries(node, db.shields, pathNodes);
            break;
        case EquipmentCategory::Weapons:
            AppendEntries(node, db.weapons, pathNodes);
            break;
        case EquipmentCategory::ThreadArmors:
            AppendEntries(node, db.threadArmors, pathNodes);
            break;
        case EquipmentCategory::Miscellaneous:
            AppendEntries(node, db.misc, pathNodes);
            break;
        }
        // Filled outside the tree: the view follows one insertion, not one per entry.
        tree->addTopLevelItem(node);
    }
}

const CVARN_Item* EquipmentItem(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return nullptr;
    return reinterpret_cast<const CVARN_Item*>(node->data(0, EquipmentItemRole).value<quintptr>());
}
