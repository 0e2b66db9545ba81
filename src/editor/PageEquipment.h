#pragma once

#include "editor/Page.h"

#include <QString>

class CVARN_FindField;
class CVARN_Item;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// The "Equipment" tab: the rules' equipment on the left, what the character
// owns on the right, the characteristics of the selected item between them.
// Buying, removing, wearing and weaving threads all go through the character's
// equipment operations.
class CVARN_PageEquipment : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageEquipment(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterRestored() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    // The worn-armour warning as composed, with its "\r\n" line break.
    QString WarningText() const { return m_warning; }

    // The piece a node of the character tree carries (nullptr for category
    // nodes).
    static CVARN_CharEquip* PieceOf(const QTreeWidgetItem* node);
    static constexpr int PieceRole = Qt::UserRole + 1;
    static constexpr int RowCount = 8;

protected:
    void FillDeferred() override { FillAvailableTree(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Category { Armors, Miscellaneous, Shields, Weapons, CategoryCount };

    void ClearCharacteristics();
    void SetRow(int row, const QString& label, const QString& value);
    void ShowEntry(const CVARN_Item* entry);
    void ShowPiece(const CVARN_CharEquip* piece);
    void FillAvailableTree();
    void FillCharacterTree();
    void AddPieceNode(CVARN_CharEquip* piece);
    void RemovePieceNode(const CVARN_CharEquip* piece);
    void UpdatePieceNode(const CVARN_CharEquip* piece);
    QTreeWidgetItem* FindPieceNode(const CVARN_CharEquip* piece) const;
    void CheckWornArmors();
    CVARN_CharEquip* SelectedPiece() const;

    void OnAvailableSelected();
    void OnEquip();
    void OnOwnedSelected();
    void OnWornClicked();
    void OnOwnedDoubleClicked(QTreeWidgetItem* node);
    void OnThreadChanged(int rank);
    void OnRemove();

    QTreeWidget* m_available = nullptr;
    CVARN_FindField* m_findAvailable = nullptr;
    CVARN_FindField* m_findOwned = nullptr;
    QLabel* m_labels[RowCount] = {};
    QLabel* m_values[RowCount] = {};
    QPushButton* m_equip = nullptr;
    QPushButton* m_remove = nullptr;
    QLabel* m_warningIcon = nullptr;
    QPlainTextEdit* m_warningEdit = nullptr;
    QCheckBox* m_worn = nullptr;
    QSpinBox* m_thread = nullptr;
    QTreeWidget* m_owned = nullptr;

    static int CategoryOf(const CVARN_CharEquip& piece);
    // After a restore: points the character tree's nodes at the new pieces when they are the
    // same pieces in the same order; false (nothing changed) otherwise.
    bool RepointPieceNodes();

    // The category nodes of the character tree that exist, indexed by Category.
    QTreeWidgetItem* m_categoryNodes[CategoryCount] = {};
    QString m_warning;
};
