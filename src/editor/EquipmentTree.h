#pragma once

#include <QIcon>
#include <QString>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class EquipmentDatabase;
class CVARN_Item;
class CVARN_CharEquip;

// State image numbers of equipment trees. Each picks one of the 16x16 pictures
// ":/state/N.png"; 0 means no picture.
namespace EquipmentState {
constexpr int None = 0;
constexpr int Armors = 1;
constexpr int Shields = 2;
constexpr int Weapons = 3;
constexpr int Miscellaneous = 4;
constexpr int ThreadArmors = 6;
constexpr int ArmorWorn = 10; // armour or thread armour
constexpr int ArmorNotWorn = 11;
constexpr int ShieldWorn = 12;
constexpr int ShieldNotWorn = 13;
constexpr int Count = 14;
} // namespace EquipmentState

enum class EquipmentCategory { Armors, Shields, Weapons, ThreadArmors, Miscellaneous };

// Data roles of equipment tree nodes (column 0).
constexpr int EquipmentItemRole = Qt::UserRole;       // quintptr of const CVARN_Item*
constexpr int EquipmentStateRole = Qt::UserRole + 10; // int, the state image number

// The picture of a state image number; a null icon for 0 or a number out of range.
QIcon EquipmentStateIcon(int number);
// Sets a node's state image (and remembers its number under EquipmentStateRole).
void SetEquipmentNodeState(QTreeWidgetItem* node, int number);
int EquipmentNodeState(const QTreeWidgetItem* node);

QString EquipmentCategoryName(EquipmentCategory category);
int EquipmentCategoryState(EquipmentCategory category);
// The state image of a character's piece: worn or not worn for armours and shields, 0 for the
// other kinds.
int EquipmentPieceState(const CVARN_CharEquip& piece);

// Appends, for each category in the given order, a bold top-level node with the category's
// name and state image, and under it the category's entries in file order, each below the
// nodes of its sub-category path. Path pieces that differ only in letter case share a node.
// Nothing is sorted. Entry nodes carry their entry (EquipmentItem).
void BuildEquipmentTree(QTreeWidget* tree, const EquipmentDatabase& db,
                        const std::vector<EquipmentCategory>& categories);

// The entry a node carries; nullptr for category and path nodes and for nullptr.
const CVARN_Item* EquipmentItem(const QTreeWidgetItem* node);
