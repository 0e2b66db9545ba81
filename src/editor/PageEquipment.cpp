#include "editor/PageEquipment.h"

#include "character/Character.h"
#include "character/PageFacts.h"
#include "editor/EntryTips.h"
#include "editor/EquipmentTree.h"
#include "editor/PageSkills.h"
#include "rules/RulesDatabase.h"
#include "widgets/FindField.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace {

const QString kDash = QStringLiteral("-");
const QString kNoPiece = QStringLiteral("---");
EquipmentCategory TreeCategory(int category) {
    switch (category) {
    case 0:
        return EquipmentCategory::Armors;
    case 1:
        return EquipmentCategory::Miscellaneous;
    case 2:
        return EquipmentCategory::Shields;
    default:
        return EquipmentCategory::Weapons;
    }
}

} // namespace

CVARN_PageEquipment::CVARN_PageEquipment(QWidget* parent)
    : CVARN_Page(QStringLiteral("Equipment"), parent) {
    auto* availableGroup = new QGroupBox(QStringLiteral("Available Equipment"), this);
    m_available = new QTreeWidget(availableGroup);
    m_available->setObjectName(QStringLiteral("availableTree"));
    m_available->setHeaderHidden(true);
    m_available->setSelectionMode(QAbstractItemView::SingleSelection);
    m_findAvailable = new CVARN_FindField(m_available, availableGroup);
    m_findAvailable->setObjectName(QStringLiteral("availableFind"));
    auto* availableLayout = new QVBoxLayout(availableGroup);
    availableLayout->addWidget(m_findAvailable);
    availableLayout->addWidget(m_available);
    InstallEntryTips(m_available,
                     [](const QTreeWidgetItem* node) { return ItemTip(EquipmentItem(node)); });

    auto* characteristics = new QGroupBox(QStringLiteral("Characteristics"), this);
    auto* grid = new QGridLayout(characteristics);
    for (int row = 0; row < RowCount; ++row) {
        m_labels[row] = new QLabel(kDash, characteristics);
        m_labels[row]->setObjectName(QStringLiteral("characteristicLabel%1").arg(row));
        m_values[row] = new QLabel(kDash, characteristics);
        m_values[row]->setObjectName(QStringLiteral("characteristicValue%1").arg(row));
        m_values[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(m_labels[row], row, 0);
        grid->addWidget(m_values[row], row, 1);
    }
    grid->setColumnStretch(1, 1);

    m_equip = new QPushButton(QStringLiteral("Equip"), this);
    m_equip->setObjectName(QStringLiteral("equipButton"));
    m_equip->setEnabled(false);
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    m_remove->setObjectName(QStringLiteral("removeButton"));
    m_remove->setEnabled(false);
    m_warningIcon = new QLabel(this);
    m_warningIcon->setObjectName(QStringLiteral("warningIcon"));
    m_warningIcon->setPixmap(WarningPicture(this));
    m_warningIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_warningIcon->hide();
    m_warningEdit = new QPlainTextEdit(this);
    m_warningEdit->setObjectName(QStringLiteral("warningEdit"));
    m_warningEdit->setReadOnly(true);

    auto* middle = new QVBoxLayout;
    middle->addWidget(characteristics);
    middle->addWidget(m_equip);
    middle->addWidget(m_remove);
    middle->addWidget(m_warningIcon);
    middle->addWidget(m_warningEdit, 1);

    auto* ownedGroup = new QGroupBox(QStringLiteral("Character Equipment"), this);
    m_worn = new QCheckBox(kNoPiece, ownedGroup);
    m_worn->setObjectName(QStringLiteral("wornBox"));
    m_worn->setEnabled(false);
    auto* threadLabel = new QLabel(QStringLiteral("Thread"), ownedGroup);
    m_thread = new CVARN_SpinBox(ownedGroup);
    m_thread->setObjectName(QStringLiteral("threadSpin"));
    m_thread->setRange(0, 0);
    m_thread->setEnabled(false);
    threadLabel->setBuddy(m_thread);
    m_owned = new QTreeWidget(ownedGroup);
    m_owned->setObjectName(QStringLiteral("characterTree"));
    m_owned->setHeaderHidden(true);
    m_owned->setSelectionMode(QAbstractItemView::SingleSelection);
    m_owned->setExpandsOnDoubleClick(false);
    auto* ownedTop = new QHBoxLayout;
    ownedTop->addWidget(m_worn);
    ownedTop->addStretch(1);
    ownedTop->addWidget(threadLabel);
    ownedTop->addWidget(m_thread);
    m_findOwned = new CVARN_FindField(m_owned, ownedGroup);
    m_findOwned->setObjectName(QStringLiteral("characterFind"));
    CVARN_FindField::InstallShortcut(this);
    InstallEntryTips(m_owned, [](const QTreeWidgetItem* node) {
        const CVARN_CharEquip* piece = PieceOf(node);
        return ItemTip(piece != nullptr ? piece->item : nullptr);
    });
    auto* ownedLayout = new QVBoxLayout(ownedGroup);
    ownedLayout->addLayout(ownedTop);
    ownedLayout->addWidget(m_findOwned);
    ownedLayout->addWidget(m_owned, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(availableGroup, 3);
    layout->addLayout(middle, 2);
    layout->addWidget(ownedGroup, 3);

    setTabOrder(m_findAvailable, m_available);
    setTabOrder(m_available, m_equip);
    setTabOrder(m_equip, m_remove);
    setTabOrder(m_remove, m_warningEdit);
    setTabOrder(m_warningEdit, m_worn);
    setTabOrder(m_worn, m_thread);
    setTabOrder(m_thread, m_findOwned);
    setTabOrder(m_findOwned, m_owned);

    m_available->installEventFilter(this);
    m_owned->installEventFilter(this);
    connect(m_available, &QTreeWidget::itemSelectionChanged, this,
            &CVARN_PageEquipment::OnAvailableSelected);
    connect(m_available, &QTreeWidget::itemDoubleClicked, this, &CVARN_PageEquipment::OnEquip);
    connect(m_equip, &QPushButton::clicked, this, &CVARN_PageEquipment::OnEquip);
    connect(m_owned, &QTreeWidget::itemSelectionChanged, this,
            &CVARN_PageEquipment::OnOwnedSelected);
    connect(m_owned, &QTreeWidget::itemDoubleClicked, this,
            &CVARN_PageEquipment::OnOwnedDoubleClicked);
    connect(m_worn, &QCheckBox::clicked, this, &CVARN_PageEquipment::OnWornClicked);
    connect(m_thread, &QSpinBox::valueChanged, this, &CVARN_PageEquipment::OnThreadChanged);
    connect(m_remove, &QPushButton::clicked, this, &CVARN_PageEquipment::OnRemove);
}

CVARN_CharEquip* CVARN_PageEquipment::PieceOf(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return nullptr;
    return reinterpret_cast<CVARN_CharEquip*>(node->data(0, PieceRole).value<quintptr>());
}

void CVARN_PageEquipment::RefreshFromCharacter() {
    ClearCharacteristics();
    {
        const QSignalBlocker block(m_available);
        m_available->clear();
    }
    m_equip->setEnabled(false);
    DeferFill();
    FillCharacterTree();
    CheckWornArmors();
}

void CVARN_PageEquipment::OnCharacterRestored() {
    // The tree of what can be bought shows the data set, which undo does not touch. The
    // character's pieces are new objects; when they are the ones shown, the tree keeps its
    // nodes (and the user's scroll position and selection) and only points them at them.
    ClearCharacteristics();
    if (RepointPieceNodes())
        OnOwnedSelected();
    else
        FillCharacterTree();
    CheckWornArmors();
}

void CVARN_PageEquipment::OnCharacterUpdate(int hint, CVARN_CharEquip* object) {
    if (!initialised)
        return;
    switch (hint) {
    case HintStrengthBase:
        // A weapon's damage step follows Strength: what is shown may be out of
        // date.
        ClearCharacteristics();
        break;
    case HintEquipmentAdded:
        AddPieceNode(object);
        m_findOwned->Apply();
        break;
    case HintEquipmentRemoved:
        RemovePieceNode(object);
        break;
    case HintEquipmentChanged:
        UpdatePieceNode(object);
        break;
    default:
        break;
    }
}

bool CVARN_PageEquipment::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_available)
            OnAvailableSelected();
        else if (watched == m_owned)
            OnOwnedSelected();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == m_owned && key == Qt::Key_Delete) {
            OnRemove();
            return true;
        }
        // Enter buys the selected item, as a double click does.
        if (watched == m_available && (key == Qt::Key_Return || key == Qt::Key_Enter) &&
            EquipmentItem(m_available->currentItem()) != nullptr) {
            OnEquip();
            return true;
        }
    }
    return CVARN_Page::eventFilter(watched, event);
}

// --- characteristics

void CVARN_PageEquipment::SetRow(int row, const QString& label, const QString& value) {
    m_labels[row]->setText(label);
    m_values[row]->setText(value);
}

void CVARN_PageEquipment::ClearCharacteristics() {
    for (int row = 0; row < RowCount; ++row)
        SetRow(row, kDash, kDash);
}

void CVARN_PageEquipment::ShowEntry(const CVARN_Item* entry) {
    if (entry == nullptr)
        return;
    for (size_t row = 0; const CVARN_ItemDetail& detail : ItemDetails(*character, entry))
        SetRow(int(row++), FromCore(detail.label), FromCore(detail.value));
}

void CVARN_PageEquipment::ShowPiece(const CVARN_CharEquip* piece) {
    if (piece == nullptr)
        return;
    for (size_t row = 0;
         const CVARN_ItemDetail& detail : ItemDetails(*character, piece->item, piece))
        SetRow(int(row++), FromCore(detail.label), FromCore(detail.value));
}

// --- trees

void CVARN_PageEquipment::FillAvailableTree() {
    const QSignalBlocker block(m_available);
    m_available->clear();
    BuildEquipmentTree(m_available, character->Rules().equipmentDatabase,
                       {EquipmentCategory::Armors, EquipmentCategory::Shields,
                        EquipmentCategory::Weapons, EquipmentCategory::ThreadArmors,
                        EquipmentCategory::Miscellaneous});
    m_findAvailable->Apply();
    m_equip->setEnabled(false);
}

void CVARN_PageEquipment::FillCharacterTree() {
    {
        const QSignalBlocker block(m_owned);
        m_owned->clear();
        for (auto*& node : m_categoryNodes)
            node = nullptr;
        for (const auto& piece : character->equipment)
            AddPieceNode(piece.get());
        m_findOwned->Apply();
    }
    OnOwnedSelected();
}

int CVARN_PageEquipment::CategoryOf(const CVARN_CharEquip& piece) {
    if (dynamic_cast<const CVARN_CharEquipArmor*>(&piece) != nullptr)
        return Armors;
    if (dynamic_cast<const CVARN_CharEquipShield*>(&piece) != nullptr)
        return Shields;
    if (dynamic_cast<const CVARN_CharEquipWeapon*>(&piece) != nullptr)
        return Weapons;
    return Miscellaneous;
}

bool CVARN_PageEquipment::RepointPieceNodes() {
    // Each category's pieces, in list order, must equal its nodes one for one: then a fill
    // would build this very tree.
    int shown[CategoryCount] = {};
    std::vector<std::pair<QTreeWidgetItem*, CVARN_CharEquip*>> moves;
    moves.reserve(character->equipment.size());
    for (const auto& piece : character->equipment) {
        const int category = CategoryOf(*piece);
        QTreeWidgetItem* categoryNode = m_categoryNodes[category];
        QTreeWidgetItem* node =
            categoryNode != nullptr ? categoryNode->child(shown[category]++) : nullptr;
        const CVARN_CharEquip* was = node != nullptr ? PieceOf(node) : nullptr;
        if (was == nullptr || !was->Equals(*piece))
            return false;
        moves.emplace_back(node, piece.get());
    }
    for (int category = 0; category < CategoryCount; ++category) {
        const QTreeWidgetItem* categoryNode = m_categoryNodes[category];
        if (categoryNode != nullptr && categoryNode->childCount() != shown[category])
            return false;
    }
    const QSignalBlocker block(m_owned);
    for (const auto& [node, piece] : moves)
        node->setData(0, PieceRole, QVariant::fromValue(reinterpret_cast<quintptr>(piece)));
    return true;
}

void CVARN_PageEquipment::AddPieceNode(CVARN_CharEquip* piece) {
    if (piece == nullptr)
        return;
    const int category = CategoryOf(*piece);
    QTreeWidgetItem*& categoryNode = m_categoryNodes[category];
    if (categoryNode == nullptr) {
        const EquipmentCategory kind = TreeCategory(category);
        categoryNode = new QTreeWidgetItem(QStringList(EquipmentCategoryName(kind)));
        QFont font = categoryNode->font(0);
        font.setBold(true);
        categoryNode->setFont(0, font);
        SetEquipmentNodeState(categoryNode, EquipmentCategoryState(kind));
        int index = 0;
        while (index < m_owned->topLevelItemCount() &&
               QString::compare(m_owned->topLevelItem(index)->text(0), categoryNode->text(0),
                                Qt::CaseInsensitive) < 0)
            ++index;
        m_owned->insertTopLevelItem(index, categoryNode);
    }
    auto* node = new QTreeWidgetItem(categoryNode, QStringList(FromCore(piece->name)));
    node->setData(0, PieceRole, QVariant::fromValue(reinterpret_cast<quintptr>(piece)));
    const int state = EquipmentPieceState(*piece);
    if (state != EquipmentState::None)
        SetEquipmentNodeState(node, state);
    m_owned->scrollToItem(node);
}

QTreeWidgetItem* CVARN_PageEquipment::FindPieceNode(const CVARN_CharEquip* piece) const {
    if (piece == nullptr)
        return nullptr;
    for (QTreeWidgetItemIterator it(m_owned); *it != nullptr; ++it)
        if (PieceOf(*it) == piece)
            return *it;
    return nullptr;
}

void CVARN_PageEquipment::RemovePieceNode(const CVARN_CharEquip* piece) {
    QTreeWidgetItem* node = FindPieceNode(piece);
    if (node == nullptr)
        return;
    QTreeWidgetItem* categoryNode = node->parent();
    delete node;
    // An empty category goes; the next piece of its kind creates it again.
    if (categoryNode != nullptr && categoryNode->childCount() == 0) {
        for (auto*& known : m_categoryNodes)
            if (known == categoryNode)
                known = nullptr;
        delete categoryNode;
    }
}

void CVARN_PageEquipment::UpdatePieceNode(const CVARN_CharEquip* piece) {
    QTreeWidgetItem* node = FindPieceNode(piece);
    if (node == nullptr)
        return;
    const int state = EquipmentPieceState(*piece);
    if (state != EquipmentState::None)
        SetEquipmentNodeState(node, state);
    m_owned->viewport()->update();
}

void CVARN_PageEquipment::CheckWornArmors() {
    m_warning = FromCore(WornArmorsWarning(*character));
    QString shown = m_warning;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_warningEdit->setPlainText(shown);
    m_warningIcon->setVisible(!m_warning.isEmpty());
}

CVARN_CharEquip* CVARN_PageEquipment::SelectedPiece() const {
    const QList<QTreeWidgetItem*> selected = m_owned->selectedItems();
    return selected.isEmpty() ? nullptr : PieceOf(selected.front());
}

// --- user actions

void CVARN_PageEquipment::OnAvailableSelected() {
    ClearCharacteristics();
    const QList<QTreeWidgetItem*> selected = m_available->selectedItems();
    const CVARN_Item* entry = selected.isEmpty() ? nullptr : EquipmentItem(selected.front());
    m_equip->setEnabled(entry != nullptr);
    ShowEntry(entry);
}

void CVARN_PageEquipment::OnEquip() {
    const QList<QTreeWidgetItem*> selected = m_available->selectedItems();
    const CVARN_Item* entry = selected.isEmpty() ? nullptr : EquipmentItem(selected.front());
    if (entry != nullptr)
        character->AddEquipment(entry);
}

void CVARN_PageEquipment::OnOwnedSelected() {
    CVARN_CharEquip* piece = SelectedPiece();
    m_remove->setEnabled(piece != nullptr);
    ClearCharacteristics();
    {
        const QSignalBlocker block(m_thread);
        const auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(piece);
        const auto* entry =
            thread != nullptr ? dynamic_cast<const CVARN_ThreadItemArmor*>(thread->item) : nullptr;
        if (thread != nullptr) {
            m_thread->setRange(0, entry != nullptr ? entry->threadCount : 0);
            m_thread->setValue(thread->threadRank);
            m_thread->setEnabled(true);
        } else {
            m_thread->setRange(0, 0);
            m_thread->setValue(0);
            m_thread->setEnabled(false);
        }
    }
    if (const auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece)) {
        m_worn->setText(QStringLiteral("Armor in use"));
        m_worn->setEnabled(true);
        m_worn->setChecked(armor->worn != 0);
    } else if (const auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece)) {
        m_worn->setText(QStringLiteral("Shield in use"));
        m_worn->setEnabled(true);
        m_worn->setChecked(shield->worn != 0);
    } else {
        m_worn->setText(kNoPiece);
        m_worn->setEnabled(false);
        m_worn->setChecked(false);
    }
    ShowPiece(piece);
}

void CVARN_PageEquipment::OnWornClicked() {
    CVARN_CharEquip* piece = SelectedPiece();
    if (piece == nullptr)
        return;
    SetPieceWorn(*character, *piece, m_worn->isChecked());
    CheckWornArmors();
}

void CVARN_PageEquipment::OnOwnedDoubleClicked(QTreeWidgetItem* node) {
    // Only armours and shields can be put on; a double click on anything else
    // changes nothing (and so does not mark the character modified).
    CVARN_CharEquip* piece = PieceOf(node);
    if (piece == nullptr || !m_worn->isEnabled() || SelectedPiece() != piece)
        return;
    m_worn->setChecked(!m_worn->isChecked());
    OnWornClicked();
}

void CVARN_PageEquipment::OnThreadChanged(int rank) {
    auto* thread = dynamic_cast<CVARN_CharEquipThreadArmor*>(SelectedPiece());
    if (thread == nullptr)
        return;
    SetPieceThreadRank(*character, *thread, rank);
    ClearCharacteristics();
    ShowPiece(thread);
}

void CVARN_PageEquipment::OnRemove() {
    CVARN_CharEquip* piece = SelectedPiece();
    if (piece == nullptr)
        return;
    character->RemoveEquipment(piece);
    CheckWornArmors();
}
