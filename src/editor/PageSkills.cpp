#include "editor/PageSkills.h"

#include "character/Character.h"
#include "editor/EntryTips.h"
#include "editor/SortedTree.h"
#include "rules/RulesDatabase.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"
#include "widgets/QtText.h"
#include "widgets/VarnResources.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

const CVARN_DBSkill* SkillOf(const QTreeWidgetItem* item) {
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<const CVARN_DBSkill*>(
        item->data(0, CVARN_PageSkills::SkillRole).value<quintptr>());
}

// The letter groups of a type, in the order a skill looks for its place. A
// skill goes to the first group whose last letter is not below its own initial.
constexpr const char* kLetterNodes[] = {"A-F", "G-L", "M-R", "S-Z"};

} // namespace

CVARN_PageSkills::CVARN_PageSkills(QWidget* parent)
    : CVARN_CatalogPage(QStringLiteral("Skills"), tr("Available Skills"), tr("Character Skills"),
                        tr("Skill Information"),
                        {{"Skill", Qt::AlignLeft, 110},
                         {"Rank", Qt::AlignHCenter, 40},
                         {"Formula", Qt::AlignHCenter, 70},
                         {"Step", Qt::AlignHCenter, 40}},
                        parent) {
    m_tree->setObjectName(QStringLiteral("skillTree"));
    m_find->setObjectName(QStringLiteral("findField"));
    m_list->setObjectName(QStringLiteral("skillList"));

    QGroupBox* info = m_info;
    auto* rankLabel = new QLabel(QStringLiteral("Rank"), info);
    m_rank = new CVARN_SpinBox(info);
    m_rank->setObjectName(QStringLiteral("rankSpin"));
    m_rank->setRange(0, 0);
    m_rank->setEnabled(false);
    rankLabel->setBuddy(m_rank);
    m_formula = new QLabel(QStringLiteral("Formula : ?"), info);
    m_formula->setObjectName(QStringLiteral("formulaText"));
    m_strain = new QLabel(QStringLiteral("Strain : ?"), info);
    m_strain->setObjectName(QStringLiteral("strainText"));
    m_action = new QCheckBox(QStringLiteral("Action"), info);
    m_action->setObjectName(QStringLiteral("actionBox"));
    m_karma = new QCheckBox(QStringLiteral("Karma"), info);
    m_karma->setObjectName(QStringLiteral("karmaBox"));
    m_description = new QPlainTextEdit(info);
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_description->setReadOnly(true);

    auto* infoLayout = new QGridLayout(info);
    infoLayout->addWidget(rankLabel, 0, 0);
    infoLayout->addWidget(m_rank, 0, 1);
    infoLayout->addWidget(m_formula, 0, 2);
    infoLayout->addWidget(m_strain, 0, 3);
    infoLayout->addWidget(m_action, 1, 2);
    infoLayout->addWidget(m_karma, 1, 3);
    infoLayout->addWidget(m_description, 2, 0, 1, 4);
    infoLayout->setColumnStretch(2, 1);
    infoLayout->setColumnStretch(3, 1);

    LayOut(nullptr, 3, 2);
    setTabOrder(m_list, m_rank);
    setTabOrder(m_rank, m_action);
    setTabOrder(m_action, m_karma);
    setTabOrder(m_karma, m_description);

    connect(m_rank, &QSpinBox::valueChanged, this, &CVARN_PageSkills::OnRankChanged);
    connect(m_action, &QCheckBox::clicked, this, &CVARN_PageSkills::OnFlagClicked);
    connect(m_karma, &QCheckBox::clicked, this, &CVARN_PageSkills::OnFlagClicked);
}

void CVARN_PageSkills::RefreshFromCharacter() {
    m_ready = false;
    // The nodes and rows are rebuilt: nothing stays selected.
    m_selNode = nullptr;
    m_selSkill = nullptr;
    m_selCharSkill = nullptr;
    m_selIndex = -1;
    SetupRank();
    ClearTree();
    FillList();
    ShowInformation();
    m_ready = true;
}

void CVARN_PageSkills::OnCharacterRestored() {
    // The tree shows the data set, which undo does not touch: only the character's side is
    // redrawn, and the skill in view stays selected.
    m_selCharSkill = m_selSkill != nullptr ? character->FindPCSkill(m_selSkill) : nullptr;
    SetupRank();
    FillList();
}

void CVARN_PageSkills::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    if (MovesAttributeSteps(hint) || hint == HintSkillAdded || hint == HintSkillRemoved ||
        hint == HintSkillRank)
        FillList();
}

QString CVARN_PageSkills::NodeTip(const QTreeWidgetItem* node) const {
    return SkillTip(SkillOf(node));
}

QString CVARN_PageSkills::RecordTip(quintptr record) const {
    const auto* skill = reinterpret_cast<const CVARN_PCSkill*>(record);
    return SkillTip(skill != nullptr ? skill->skill : nullptr);
}

void CVARN_PageSkills::BuildTree(SortedTreeBuilder& builder) {
    const SkillTable& skills = character->Rules().skillTable;
    // The type nodes by case-folded name: types that differ only in letter case share a node.
    // Each is followed by its four letter nodes. Only type nodes are looked up: a skill placed
    // at the top level is not a type node, whatever its name.
    QHash<QString, int> typeNodes;
    for (const CVARN_DBSkill* skill = skills.First(); skill != nullptr;
         skill = skills.Next(skill)) {
        const QString type = FromCore(skill->type);
        const QString typeKey = FoldCase(type);
        auto typeNode = typeNodes.find(typeKey);
        if (typeNode == typeNodes.end()) {
            const int node = builder.Add(-1, type);
            SetBold(builder.Item(node));
            for (const char* letters : kLetterNodes)
                SetBold(builder.Item(builder.Add(node, QString::fromLatin1(letters))));
            typeNode = typeNodes.insert(typeKey, node);
        }

        // The initial is compared as a signed byte: names starting with a byte
        // above 127 land in the first group, names starting after 'Z' (such as '_')
        // in none.
        char initial = skill->name.empty() ? '\0' : skill->name[0];
        if (initial >= 'a' && initial <= 'z')
            initial = static_cast<char>(initial - 'a' + 'A');
        int parent = -1;
        for (int i = 0; i < 4; ++i) {
            if (static_cast<signed char>(kLetterNodes[i][2]) >= static_cast<signed char>(initial)) {
                parent = *typeNode + 1 + i;
                break;
            }
        }
        builder.Item(builder.Add(parent, FromCore(skill->name)))
            ->setData(0, SkillRole, QVariant::fromValue(reinterpret_cast<quintptr>(skill)));
    }
}

void CVARN_PageSkills::FillList() {
    // A record removed by the character may still be remembered here; forget it
    // before the rows are compared with it.
    const auto& owned = character->skills;
    if (m_selCharSkill != nullptr &&
        std::none_of(owned.begin(), owned.end(),
                     [this](const auto& s) { return s.get() == m_selCharSkill; }))
        m_selCharSkill = m_selSkill != nullptr ? character->FindPCSkill(m_selSkill) : nullptr;

    const bool wasReady = m_ready;
    m_ready = false;
    m_list->DeleteAllItems();
    for (const auto& record : owned) {
        const CVARN_DBSkill* skill = record->skill;
        const int row = m_list->InsertItem(m_list->GetItemCount(),
                                           skill != nullptr ? FromCore(skill->name) : QString());
        if (row < 0)
            continue;
        m_list->SetItemText(row, 1, QString::number(record->rank));
        m_list->SetItemText(row, 2, skill != nullptr ? FromCore(skill->formula) : QString());
        m_list->SetItemText(row, 3, QString::number(record->ComputeSkillStep()));
        m_list->SetItemData(row, reinterpret_cast<quintptr>(record.get()));
    }
    m_ready = wasReady;
    MarkList();
}

void CVARN_PageSkills::MarkList() {
    const bool wasReady = m_ready;
    m_ready = false;
    m_selIndex = -1;
    const QIcon& selectedIcon = VarnIcon(QStringLiteral(":/state/0.png"));
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        const bool selected =
            m_selCharSkill != nullptr &&
            m_list->GetItemData(row) == reinterpret_cast<quintptr>(m_selCharSkill);
        m_list->SetItemIcon(row, selected ? selectedIcon : QIcon());
        if (selected)
            m_selIndex = row;
    }
    m_list->SelectRow(m_selIndex);
    if (m_selIndex >= 0)
        m_list->scrollToItem(m_list->Row(m_selIndex));
    m_list->viewport()->update();
    m_ready = wasReady;
}

void CVARN_PageSkills::SetupRank() {
    const QSignalBlocker block(m_rank);
    if (m_selSkill != nullptr) {
        m_rank->setRange(0, 10);
        const CVARN_PCSkill* record = character->FindPCSkill(m_selSkill);
        m_rank->setValue(record != nullptr ? record->rank : 0);
        m_rank->setEnabled(true);
    } else {
        m_rank->setRange(0, 0);
        m_rank->setValue(0);
        m_rank->setEnabled(false);
    }
}

void CVARN_PageSkills::ShowInformation() {
    if (m_selSkill != nullptr) {
        m_action->setChecked(m_selSkill->action != 0);
        m_karma->setChecked(m_selSkill->karma != 0);
        m_description->setPlainText(FromCore(m_selSkill->description));
        m_formula->setText(QStringLiteral("Formula : ") + FromCore(m_selSkill->formula));
        m_strain->setText(m_selSkill->karma != 0
                              ? QString::asprintf("Strain :  %d (+2)", m_selSkill->strain)
                              : QString::asprintf("Strain :  %d", m_selSkill->strain));
    } else {
        m_action->setChecked(false);
        m_karma->setChecked(false);
        m_description->clear();
        m_formula->setText(QStringLiteral("Formula : ?"));
        m_strain->setText(QStringLiteral("Strain : ?"));
    }
}

QTreeWidgetItem* CVARN_PageSkills::FindSkillNode(const CVARN_DBSkill* skill) const {
    EnsureFilled();
    // Any level: a skill named after 'Z' stands at the top of the tree.
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it)
        if (SkillOf(*it) == skill)
            return *it;
    return nullptr;
}

void CVARN_PageSkills::OnNodeSelected() {
    m_selSkill = SkillOf(m_selNode);
    // The list marks the character's record of the skill in view, or nothing.
    m_selCharSkill = m_selSkill != nullptr ? character->FindPCSkill(m_selSkill) : nullptr;
    MarkList();
    SetupRank();
    ShowInformation();
}

void CVARN_PageSkills::OnRowSelected() {
    m_selCharSkill = reinterpret_cast<CVARN_PCSkill*>(m_list->GetItemData(m_selIndex));
    if (m_selCharSkill != nullptr) {
        m_selSkill = m_selCharSkill->skill;
        ShowNode(FindSkillNode(m_selSkill));
    }
    SetupRank();
    MarkList();
    ShowInformation();
}

void CVARN_PageSkills::OnRankChanged(int rank) {
    if (!m_ready || m_selSkill == nullptr)
        return;
    character->SetSkillRank(m_selSkill, rank);
    m_selCharSkill = character->FindPCSkill(m_selSkill);
    MarkList();
}

void CVARN_PageSkills::OnFlagClicked() {
    // The flags belong to the rules: the boxes only show them.
    m_action->setChecked(m_selSkill != nullptr && m_selSkill->action != 0);
    m_karma->setChecked(m_selSkill != nullptr && m_selSkill->karma != 0);
}
