#include "editor/DlgSelectItem.h"

#include "character/CharEquip.h"
#include "editor/EntryTips.h"
#include "rules/EquipmentDatabase.h"
#include "widgets/AccessibleNames.h"
#include "widgets/FindField.h"
#include "widgets/QtText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

CVARN_DlgSelectItem::CVARN_DlgSelectItem(const EquipmentDatabase& db, const CVARN_CharEquip* piece,
                                         QWidget* parent)
    : QDialog(parent), m_piece(piece) {
    setWindowTitle(QStringLiteral("Select Item..."));
    if (piece != nullptr)
        setWindowTitle(QStringLiteral("Replace... ") + FromCore(piece->name));

    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMinimumSize(260, 300);
    BuildEquipmentTree(m_tree, db, CategoriesFor(piece));
    InstallEntryTips(m_tree,
                     [](const QTreeWidgetItem* node) { return ItemTip(EquipmentItem(node)); });
    m_find = new CVARN_FindField(m_tree, this);
    CVARN_FindField::InstallShortcut(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CVARN_DlgSelectItem::reject);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
        OnSelectionChanged(selected.isEmpty() ? nullptr : selected.first());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_find);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    setTabOrder(m_find, m_tree);
    m_tree->setAccessibleName(QStringLiteral("Equipment"));
    m_tree->setAccessibleDescription(QStringLiteral("The entries to choose from, by category"));
    NameControls(this);
    m_tree->setFocus();
}

std::vector<EquipmentCategory> CVARN_DlgSelectItem::CategoriesFor(const CVARN_CharEquip* piece) {
    if (piece == nullptr)
        return {EquipmentCategory::Armors, EquipmentCategory::Shields, EquipmentCategory::Weapons,
                EquipmentCategory::ThreadArmors};
    // Most derived kind first: a thread armour is an armour too, but is only ever replaced by
    // another thread armour.
    if (dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece) != nullptr)
        return {EquipmentCategory::ThreadArmors};
    if (dynamic_cast<const CVARN_CharEquipArmor*>(piece) != nullptr)
        return {EquipmentCategory::Armors};
    if (dynamic_cast<const CVARN_CharEquipShield*>(piece) != nullptr)
        return {EquipmentCategory::Shields};
    if (dynamic_cast<const CVARN_CharEquipWeapon*>(piece) != nullptr)
        return {EquipmentCategory::Weapons};
    return {}; // miscellaneous goods are never offered
}

void CVARN_DlgSelectItem::OnSelectionChanged(QTreeWidgetItem* selected) {
    // A category or path node carries no entry: choosing it means choosing nothing.
    m_result = EquipmentItem(selected);
}

void CVARN_DlgSelectItem::reject() {
    m_result = nullptr;
    QDialog::reject();
}

const CVARN_Item* CVARN_DlgSelectItem::Run() {
    if (exec() != QDialog::Accepted)
        m_result = nullptr;
    return m_result;
}
