#include "editor/PageSpells.h"

#include "character/Character.h"
#include "character/PageFacts.h"
#include "editor/DlgInfoSpell.h"
#include "editor/EntryTips.h"
#include "editor/SortedTree.h"
#include "rules/RulesDatabase.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"
#include "widgets/QtText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

void SetBold(QTreeWidgetItem* item) {
    static const QFont bold = [] {
        QFont font;
        font.setBold(true);
        return font;
    }();
    item->setFont(0, bold);
}

const CVARN_DBSpell* SpellOf(const QTreeWidgetItem* item) {
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<const CVARN_DBSpell*>(
        item->data(0, CVARN_PageSpells::SpellRole).value<quintptr>());
}

std::string TypeOf(const QTreeWidgetItem* typeNode) {
    return typeNode->data(0, CVARN_PageSpells::TypeRole).toByteArray().toStdString();
}

// Two wide, so that "Circle  9" sorts before "Circle 10".
QString CircleText(int circle) {
    return QString::asprintf("Circle %2d", circle);
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& text) {
    for (int i = 0; i < parent->childCount(); ++i)
        if (QString::compare(parent->child(i)->text(0), text, Qt::CaseInsensitive) == 0)
            return parent->child(i);
    return nullptr;
}

constexpr const char* kInfoLabels[6] = {
    "Threads :", "Weaving :", "Reattuning :", "Range :", "Difficulty :", "Duration :"};

} // namespace

CVARN_PageSpells::CVARN_PageSpells(QWidget* parent)
    : CVARN_Page(QStringLiteral("Grimoire"), parent) {
    auto* warningGroup = new QGroupBox(this);
    m_warningIcon = new QLabel(warningGroup);
    m_warningIcon->setObjectName(QStringLiteral("warningIcon"));
    m_warningIcon->setPixmap(WarningPicture(this));
    m_warningIcon->setAlignment(Qt::AlignTop);
    m_warningIcon->hide();
    m_warningEdit = new QPlainTextEdit(warningGroup);
    m_warningEdit->setObjectName(QStringLiteral("warningEdit"));
    m_warningEdit->setReadOnly(true);
    m_warningEdit->setMaximumHeight(m_warningEdit->fontMetrics().lineSpacing() * 3 + 12);
    m_learn = new QPushButton(QStringLiteral("---"), warningGroup);
    m_learn->setObjectName(QStringLiteral("learnButton"));
    m_learn->setEnabled(false);
    auto* warningLayout = new QHBoxLayout(warningGroup);
    warningLayout->addWidget(m_warningIcon);
    warningLayout->addWidget(m_warningEdit, 1);
    warningLayout->addWidget(m_learn, 0, Qt::AlignVCenter);

    auto* available = new QGroupBox(QStringLiteral("Available Spells"), this);
    m_tree = new QTreeWidget(available);
    m_tree->setObjectName(QStringLiteral("spellTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_find = new CVARN_FindField(m_tree, available);
    m_find->setObjectName(QStringLiteral("findField"));
    CVARN_FindField::InstallShortcut(this);
    auto* availableLayout = new QVBoxLayout(available);
    availableLayout->addWidget(m_find);
    availableLayout->addWidget(m_tree);
    InstallEntryTips(m_tree, [](const QTreeWidgetItem* node) { return SpellTip(SpellOf(node)); });

    auto* known = new QGroupBox(QStringLiteral("Character Spells"), this);
    m_list = new CMyListCtrl(known);
    m_list->setObjectName(QStringLiteral("spellList"));
    m_list->InsertColumn(0, QStringLiteral("Spell"), Qt::AlignLeft, 150);
    m_list->InsertColumn(1, QStringLiteral("Magic"), Qt::AlignHCenter, 100);
    m_list->InsertColumn(2, QStringLiteral("Circle"), Qt::AlignHCenter, 50);
    m_list->SetSortOnInsert(true);
    m_list->SetStretchColumn(0);
    InstallEntryTips(m_list, [](const QTreeWidgetItem* row) {
        const auto* record = reinterpret_cast<const CVARN_PCSpell*>(
            row->data(0, CMyListCtrl::ItemDataRole).value<quintptr>());
        return SpellTip(record != nullptr ? record->spell : nullptr);
    });
    auto* knownLayout = new QVBoxLayout(known);
    knownLayout->addWidget(m_list);

    auto* info = new QGroupBox(QStringLiteral("Information"), this);
    auto* infoLayout = new QGridLayout(info);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kInfoLabels[i]), info);
        m_info[i] = new QLabel(info);
        m_info[i]->setObjectName(QStringLiteral("infoText%1").arg(i));
        m_info[i]->setTextFormat(Qt::PlainText);
        infoLayout->addWidget(label, i / 2, (i % 2) * 2);
        infoLayout->addWidget(m_info[i], i / 2, (i % 2) * 2 + 1);
    }
    infoLayout->setColumnStretch(1, 1);
    infoLayout->setColumnStretch(3, 1);
    m_effect = new QPlainTextEdit(info);
    m_effect->setObjectName(QStringLiteral("effectEdit"));
    m_effect->setReadOnly(true);
    m_effect->setPlainText(QStringLiteral("Effect : "));
    infoLayout->addWidget(m_effect, 3, 0, 1, 4);
    m_describe = new QPushButton(QStringLiteral("Description"), info);
    m_describe->setObjectName(QStringLiteral("descriptionButton"));
    m_describe->setEnabled(false);
    infoLayout->addWidget(m_describe, 4, 3, Qt::AlignRight);

    auto* left = new QVBoxLayout;
    left->addWidget(warningGroup);
    left->addWidget(available, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(known, 1);
    right->addWidget(info, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    setTabOrder(m_learn, m_find);
    setTabOrder(m_find, m_tree);
    setTabOrder(m_tree, m_list);
    setTabOrder(m_list, m_effect);
    setTabOrder(m_effect, m_describe);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
            &CVARN_PageSpells::OnTreeSelectionChanged);
    connect(m_list, &CMyListCtrl::SelectedRowChanged, this, &CVARN_PageSpells::OnListRowSelected);
    connect(m_learn, &QPushButton::clicked, this, &CVARN_PageSpells::OnLearnClicked);
    connect(m_describe, &QPushButton::clicked, this, &CVARN_PageSpells::OnDescriptionClicked);
}

void CVARN_PageSpells::RefreshFromCharacter() {
    m_ready = false;
    m_selNode = nullptr;
    m_selSpell = nullptr;
    m_selCharSpell = nullptr;
    m_selType.clear();
    m_selIndex = -1;
    m_tree->clear();
    DeferFill();
    FillList();
    ShowInformation();
    CheckThreadWeaving();
    UpdateButton();
    m_ready = true;
}

void CVARN_PageSpells::OnCharacterRestored() {
    // The tree shows the data set, which undo does not touch: only the character's side is
    // redrawn, and the spell in view stays selected.
    m_selCharSpell = m_selSpell != nullptr ? character->FindPCSpell(m_selSpell) : nullptr;
    FillList();
    CheckThreadWeaving();
    UpdateButton();
}

void CVARN_PageSpells::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    switch (hint) {
    case HintCircle:
    case HintTalentRank:
        CheckThreadWeaving();
        break;
    case HintSpellAdded:
    case HintSpellRemoved:
        FillList();
        break;
    default:
        break;
    }
}

void CVARN_PageSpells::FillTree() {
    const bool wasReady = m_ready;
    m_ready = false;
    m_tree->clear();
    m_selNode = nullptr;
    const SpellTable& spells = character->Rules().spellTable;
    SortedTreeBuilder builder;
    // Types that differ only in letter case share a node, the first one's.
    QHash<QString, int> typeNodes;
    // Two circles share a text only when they are the same number.
    QHash<std::pair<int, int>, int> circleNodes;
    for (const CVARN_DBSpell* spell = spells.First(); spell != nullptr;
         spell = spells.Next(spell)) {
        // A spell of several types of magic is listed under each of them.
        for (const std::string& type : spell->types) {
            const QString typeText = FromCore(type);
            const QString typeKey = FoldCase(typeText);
            auto typeNode = typeNodes.find(typeKey);
            if (typeNode == typeNodes.end()) {
                const int node = builder.Add(-1, typeText);
                builder.Item(node)->setData(0, TypeRole, QByteArray::fromStdString(type));
                SetBold(builder.Item(node));
                typeNode = typeNodes.insert(typeKey, node);
            }
            auto circleNode = circleNodes.find({*typeNode, spell->circle});
            if (circleNode == circleNodes.end()) {
                const int node = builder.Add(*typeNode, CircleText(spell->circle));
                builder.Item(node)->setData(0, CircleRole, int(spell->circle));
                SetBold(builder.Item(node));
                circleNode = circleNodes.insert({*typeNode, spell->circle}, node);
            }
            builder.Item(builder.Add(*circleNode, FromCore(spell->name)))
                ->setData(0, SpellRole, QVariant::fromValue(reinterpret_cast<quintptr>(spell)));
        }
    }
    builder.AddTo(m_tree);
    m_find->Apply();
    m_ready = wasReady;
}

void CVARN_PageSpells::FillList() {
    // A record the character has just destroyed may still be remembered here.
    const auto& known = character->spells;
    if (m_selCharSpell != nullptr &&
        std::none_of(known.begin(), known.end(),
                     [this](const auto& s) { return s.get() == m_selCharSpell; }))
        m_selCharSpell = nullptr;

    const bool wasReady = m_ready;
    m_ready = false;
    m_list->DeleteAllItems();
    for (const auto& record : known) {
        const CVARN_DBSpell* spell = record->spell;
        const int row = m_list->InsertItem(m_list->GetItemCount(),
                                           spell != nullptr ? FromCore(spell->name) : QString());
        if (row < 0)
            continue;
        m_list->SetItemText(row, 1, FromCore(record->spellType));
        m_list->SetItemText(row, 2,
                            spell != nullptr ? QString::asprintf("%2d", spell->circle) : QString());
        m_list->SetItemData(row, reinterpret_cast<quintptr>(record.get()));
    }
    m_ready = wasReady;
    MarkList();
}

void CVARN_PageSpells::MarkList() {
    const bool wasReady = m_ready;
    m_ready = false;
    m_selIndex = -1;
    if (m_selCharSpell != nullptr)
        m_selIndex = m_list->FindItemByData(reinterpret_cast<quintptr>(m_selCharSpell));
    m_list->SelectRow(m_selIndex);
    if (m_selIndex >= 0)
        m_list->scrollToItem(m_list->Row(m_selIndex));
    m_ready = wasReady;
}

void CVARN_PageSpells::UpdateButton() {
    m_learn->setEnabled(m_selSpell != nullptr || m_selCharSpell != nullptr);
    if (m_selCharSpell != nullptr)
        m_learn->setText(QStringLiteral("Forget"));
    else if (m_selSpell != nullptr)
        m_learn->setText(QStringLiteral("Learn"));
    else
        m_learn->setText(QStringLiteral("---"));
}

void CVARN_PageSpells::ShowInformation() {
    const CVARN_DBSpell* s = m_selSpell;
    m_describe->setEnabled(s != nullptr);
    const std::string* texts[6] = {};
    if (s != nullptr) {
        texts[0] = &s->threads;
        texts[1] = &s->weaving;
        texts[2] = &s->reattuning;
        texts[3] = &s->range;
        texts[4] = &s->difficulty;
        texts[5] = &s->duration;
    }
    for (int i = 0; i < 6; ++i)
        m_info[i]->setText(texts[i] != nullptr ? FromCore(*texts[i]) : QString());
    m_effect->setPlainText(QStringLiteral("Effect : ") +
                           (s != nullptr ? FromCore(s->effect) : QString()));
}

void CVARN_PageSpells::CheckThreadWeaving() {
    m_warning =
        m_selSpell != nullptr ? FromCore(ThreadWeavingWarning(*character, m_selType)) : QString();
    m_warningEdit->setPlainText(m_warning);
    m_warningIcon->setVisible(!m_warning.isEmpty());
}

QTreeWidgetItem* CVARN_PageSpells::FindSpellNode(const std::string& type,
                                                 const CVARN_DBSpell* spell) const {
    EnsureFilled();
    QTreeWidgetItem* typeNode = ChildNamed(m_tree->invisibleRootItem(), FromCore(type));
    if (typeNode != nullptr) {
        for (int c = 0; c < typeNode->childCount(); ++c) {
            QTreeWidgetItem* circleNode = typeNode->child(c);
            for (int i = 0; i < circleNode->childCount(); ++i)
                if (SpellOf(circleNode->child(i)) == spell)
                    return circleNode->child(i);
        }
    }
    // A record whose type of magic the spell no longer lists (a character from
    // another data set): show the spell wherever it stands.
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it)
        if (SpellOf(*it) == spell)
            return *it;
    return nullptr;
}

void CVARN_PageSpells::OnTreeSelectionChanged() {
    if (!m_ready)
        return;
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    m_selNode = selected.isEmpty() ? nullptr : selected.front();
    m_selSpell = SpellOf(m_selNode);
    m_selType.clear();
    if (m_selSpell != nullptr && m_selNode->parent() != nullptr &&
        m_selNode->parent()->parent() != nullptr)
        m_selType = TypeOf(m_selNode->parent()->parent());
    m_selCharSpell = m_selSpell != nullptr ? character->FindPCSpell(m_selSpell) : nullptr;
    MarkList();
    ShowInformation();
    CheckThreadWeaving();
    UpdateButton();
}

void CVARN_PageSpells::OnListRowSelected(int row) {
    if (!m_ready)
        return;
    if (row < 0) {
        // A click beside the rows clears Qt's selection; keep showing the selected
        // spell.
        MarkList();
        return;
    }
    m_selIndex = row;
    m_selCharSpell = reinterpret_cast<CVARN_PCSpell*>(m_list->GetItemData(row));
    if (m_selCharSpell != nullptr) {
        m_selSpell = m_selCharSpell->spell;
        m_selType = m_selCharSpell->spellType;
        m_ready = false;
        m_selNode = FindSpellNode(m_selType, m_selSpell);
        m_tree->setCurrentItem(m_selNode);
        if (m_selNode != nullptr)
            m_tree->scrollToItem(m_selNode);
        m_ready = true;
    }
    ShowInformation();
    CheckThreadWeaving();
    UpdateButton();
}

void CVARN_PageSpells::OnLearnClicked() {
    if (m_selCharSpell != nullptr) {
        // Forget the record before the character destroys it.
        CVARN_PCSpell* record = m_selCharSpell;
        m_selCharSpell = nullptr;
        character->RemoveSpell(record);
    } else if (m_selSpell != nullptr) {
        character->AddSpell(m_selSpell, m_selType);
        m_selCharSpell = character->FindPCSpell(m_selSpell);
    }
    MarkList();
    UpdateButton();
}

void CVARN_PageSpells::OnDescriptionClicked() {
    if (m_selSpell == nullptr)
        return;
    CVARN_DlgInfoSpell dialog(FromCore(m_selSpell->name), FromCore(m_selSpell->description), this);
    dialog.exec();
}
