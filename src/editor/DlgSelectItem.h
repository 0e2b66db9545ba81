#pragma once

#include "editor/EquipmentTree.h"

#include <QDialog>

class CVARN_FindField;
class QTreeWidget;
class QTreeWidgetItem;
class EquipmentDatabase;
class CVARN_Item;
class CVARN_CharEquip;

// Lets the user pick an equipment entry of the same kind as `piece` (any armour, shield or
// weapon when there is no piece), for instance to replace a piece whose entry the data files
// no longer hold. Miscellaneous entries are never offered.
class CVARN_DlgSelectItem : public QDialog {
    Q_OBJECT
public:
    CVARN_DlgSelectItem(const EquipmentDatabase& db, const CVARN_CharEquip* piece,
                        QWidget* parent = nullptr);

    // Runs the dialog modally; the chosen entry, or nullptr.
    const CVARN_Item* Run();
    // The entry of the selected node (nullptr for a category or path node, or after Cancel).
    const CVARN_Item* Result() const { return m_result; }

    // The categories offered for a piece of this kind, in order.
    static std::vector<EquipmentCategory> CategoriesFor(const CVARN_CharEquip* piece);

    QTreeWidget* Tree() const { return m_tree; }
    CVARN_FindField* FindField() const { return m_find; }

    void reject() override;

private:
    void OnSelectionChanged(QTreeWidgetItem* selected);
    const CVARN_CharEquip* m_piece;
    const CVARN_Item* m_result = nullptr;
    QTreeWidget* m_tree = nullptr;
    CVARN_FindField* m_find = nullptr;
};
