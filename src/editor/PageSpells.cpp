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

#include <algorithm>
#include <utility>

namespace {

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
    : CVARN_CatalogPage(QStringLiteral("Grimoire"), QStringLiteral("Available Spells"),
                        QStringLiteral("Character Spells"), QStringLiteral("Information"),
                        {{"Spell", Qt::AlignLeft, 150},
                         {"Magic", Qt::AlignHCenter, 100},
                         {"Circle", Qt::AlignHCenter, 50}},
                        parent) {
    m_tree->setObjectName(QStringLiteral("spellTree"));
    m_find->setObjectName(QStringLiteral("findField"));
    m_list->setObjectName(QStringLiteral("spellList"));

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

    auto* infoLayout = new QGridLayout(m_info);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kInfoLabels[i]), m_info);
        m_infoTexts[i] = new QLabel(m_info);
        m_infoTexts[i]->setObjectName(QStringLiteral("infoText%1").arg(i));
        m_infoTexts[i]->setTextFormat(Qt::PlainText);
        infoLayout->addWidget(label, i / 2, (i % 2) * 2);
        infoLayout->addWidget(m_infoTexts[i], i / 2, (i % 2) * 2 + 1);
    }
    infoLayout->setColumnStretch(1, 1);
    infoLayout->setColumnStretch(3, 1);
    m_effect = new QPlainTextEdit(m_info);
    m_effect->setObjectName(QStringLiteral("effectEdit"));
    m_effect->setReadOnly(true);
    m_effect->setPlainText(QStringLiteral("Effect : "));
    infoLayout->addWidget(m_effect, 3, 0, 1, 4);
    m_describe = new QPushButton(QStringLiteral("Description"), m_info);
    m_describe->setObjectName(QStringLiteral("descriptionButton"));
    m_describe->setEnabled(false);
    infoLayout->addWidget(m_describe, 4, 3, Qt::AlignRight);

    setTabOrder(m_learn, m_find);
    LayOut(warningGroup, 1, 1);
    setTabOrder(m_list, m_effect);
    setTabOrder(m_effect, m_describe);

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
    ClearTree();
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

QString CVARN_PageSpells::NodeTip(const QTreeWidgetItem* node) const {
    return SpellTip(SpellOf(node));
}

QString CVARN_PageSpells::RecordTip(quintptr record) const {
    const auto* spell = reinterpret_cast<const CVARN_PCSpell*>(record);
    return SpellTip(spell != nullptr ? spell->spell : nullptr);
}

void CVARN_PageSpells::BuildTree(SortedTreeBuilder& builder) {
    const SpellTable& spells = character->Rules().spellTable;
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
        m_infoTexts[i]->setText(texts[i] != nullptr ? FromCore(*texts[i]) : QString());
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

void CVARN_PageSpells::OnNodeSelected() {
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

void CVARN_PageSpells::OnRowSelected() {
    m_selCharSpell = reinterpret_cast<CVARN_PCSpell*>(m_list->GetItemData(m_selIndex));
    if (m_selCharSpell != nullptr) {
        m_selSpell = m_selCharSpell->spell;
        m_selType = m_selCharSpell->spellType;
        ShowNode(FindSpellNode(m_selType, m_selSpell));
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
