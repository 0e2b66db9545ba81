#include "editor/PageTalents.h"

#include "character/Character.h"
#include "editor/EntryTips.h"
#include "rules/TalentDatabase.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

quintptr Key(const CVARN_CharTalent* talent) {
    return reinterpret_cast<quintptr>(talent);
}

} // namespace

CVARN_PageTalents::CVARN_PageTalents(QWidget* parent)
    : CVARN_Page(QStringLiteral("Talents"), parent) {
    auto* rankLabel = new QLabel(QStringLiteral("Talent Rank :"), this);
    m_rank = MakeStepper(this);
    m_rank->setObjectName(QStringLiteral("rankSpin"));
    m_rank->setRange(0, 15);
    m_rank->setEnabled(false);
    rankLabel->setBuddy(m_rank);

    m_showRankZero = new QCheckBox(QStringLiteral("Show 'Rank 0' Talents"), this);
    m_showRankZero->setObjectName(QStringLiteral("showRankZeroBox"));
    m_showRankZero->setChecked(true);

    m_warning = MakeWarningIcon(this);
    m_warning->setObjectName(QStringLiteral("warningIcon"));
    m_check = new QPlainTextEdit(this);
    m_check->setObjectName(QStringLiteral("checkEdit"));
    m_check->setReadOnly(true);
    m_check->setTabChangesFocus(true);

    m_list = new CMyListCtrl(this);
    m_list->setObjectName(QStringLiteral("talentList"));
    m_list->SetSortOnInsert(true);
    // Column widths of the original list, which were measured in a font of about five pixels
    // per character; the title tips show whatever still does not fit.
    const double scale = std::max(1.0, fontMetrics().averageCharWidth() / 5.0);
    const auto width = [scale](int w) { return static_cast<int>(w * scale); };
    m_list->InsertColumn(ColName, QStringLiteral("Talents"), Qt::AlignLeft, width(110));
    m_list->InsertColumn(ColRank, QStringLiteral("Rank"), Qt::AlignHCenter, width(40));
    m_list->InsertColumn(ColDiscipline, QStringLiteral("Discipline"), Qt::AlignLeft, width(100));
    m_list->InsertColumn(ColFormula, QStringLiteral("Formula"), Qt::AlignHCenter, width(70));
    m_list->InsertColumn(ColStep, QStringLiteral("Step"), Qt::AlignHCenter, width(40));
    m_list->setMinimumWidth(width(110 + 40 + 100 + 70 + 40) + 8);
    m_list->installEventFilter(this);
    m_list->SetStretchColumn(ColName);
    InstallEntryTips(m_list, [](const QTreeWidgetItem* row) {
        const auto* talent = reinterpret_cast<const CVARN_CharTalent*>(
            row->data(0, CMyListCtrl::ItemDataRole).value<quintptr>());
        return TalentTip(talent != nullptr ? talent->talent : nullptr);
    });
    m_find = new CVARN_FindField(m_list, this);
    m_find->setObjectName(QStringLiteral("findField"));
    CVARN_FindField::InstallShortcut(this);

    auto* rankRow = new QHBoxLayout;
    rankRow->addWidget(rankLabel);
    rankRow->addWidget(m_rank);
    rankRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addLayout(rankRow);
    left->addWidget(m_showRankZero);
    left->addSpacing(8);
    left->addWidget(m_warning, 0, Qt::AlignLeft);
    left->addWidget(m_check, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(m_find);
    right->addWidget(m_list, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 5);

    setTabOrder(m_find, m_list);
    setTabOrder(m_list, m_rank);
    setTabOrder(m_rank, m_showRankZero);
    setTabOrder(m_showRankZero, m_check);

    connect(m_list, &CMyListCtrl::SelectedRowChanged, this, [this] {
        if (!m_filling)
            SyncSelection();
    });
    connect(m_rank, &QSpinBox::valueChanged, this, [this] { ChangeRank(); });
    connect(m_showRankZero, &QCheckBox::clicked, this, [this] {
        if (initialised)
            FillList();
    });
}

void CVARN_PageTalents::RefreshFromCharacter() {
    {
        const QSignalBlocker blocker(m_rank);
        m_rank->setRange(0, 15);
        m_rank->setValue(0);
    }
    FillList();
    CheckDisplay();
}

void CVARN_PageTalents::OnCharacterRestored() {
    // The selected talent stays selected where the restored character still has it.
    const CVARN_DBTalent* selected = m_talent != nullptr ? m_talent->talent : nullptr;
    RefreshFromCharacter();
    if (selected == nullptr)
        return;
    if (const CVARN_CharTalent* talent = character->FindCharTalent(selected)) {
        const int row = m_list->FindItemByData(Key(talent));
        if (row >= 0) {
            m_list->SelectRow(row);
            SyncSelection();
        }
    }
}

void CVARN_PageTalents::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    if (MovesAttributeSteps(hint) || hint == HintCircle || hint == HintDisciplineBonuses) {
        FillList();
        CheckDisplay();
    }
}

void CVARN_PageTalents::ShowRow(int row, const CVARN_CharTalent& talent) {
    m_list->SetItemText(row, ColName, FromCore(talent.name));
    m_list->SetItemText(row, ColRank, QString::number(talent.rank));
    m_list->SetItemText(row, ColStep, QString::number(talent.step));
    m_list->SetRowDimmed(row, talent.rank == 0);
}

void CVARN_PageTalents::FillList() {
    m_filling = true;
    m_list->setUpdatesEnabled(false);
    m_list->DeleteAllItems();
    const bool showRankZero = m_showRankZero->isChecked();
    for (const auto& owned : character->talents) {
        CVARN_CharTalent& talent = *owned;
        if (!showRankZero && talent.rank == 0)
            continue;
        talent.ComputeTalentStep(*character);
        const int row = m_list->InsertItem(m_list->GetItemCount(), FromCore(talent.name));
        if (row < 0)
            continue;
        m_list->SetItemData(row, Key(&talent));
        m_list->SetItemText(row, ColDiscipline, FromCore(talent.disciplinesText));
        m_list->SetItemText(row, ColFormula,
                            talent.talent != nullptr ? FromCore(talent.talent->formula)
                                                     : QString());
        ShowRow(row, talent);
    }
    m_find->Apply();
    m_list->setUpdatesEnabled(true);
    m_filling = false;
    m_selectedRow = -1;
    SyncSelection();
}

void CVARN_PageTalents::SyncSelection() {
    const int row = m_list->GetSelectedRow();
    const QSignalBlocker blocker(m_rank);
    if (row >= 0) {
        m_selectedRow = row;
        m_talent = reinterpret_cast<CVARN_CharTalent*>(m_list->GetItemData(row));
        m_rank->setEnabled(m_talent != nullptr);
        m_rank->setValue(m_talent != nullptr ? m_talent->rank : 0);
    } else {
        m_selectedRow = -1;
        m_talent = nullptr;
        m_rank->setEnabled(false);
        m_rank->setValue(0);
    }
}

void CVARN_PageTalents::ChangeRank() {
    if (!initialised || m_talent == nullptr)
        return;
    CVARN_CharTalent* talent = m_talent;
    character->SetTalentRank(talent, m_rank->value());
    // The rows may have been refilled by a notification of the change; the talent
    // then has a fresh row (or none) and needs no redraw here.
    if (m_talent == talent) {
        talent->ComputeTalentStep(*character);
        const int row = m_list->FindItemByData(Key(talent));
        if (row >= 0)
            ShowRow(row, *talent);
    }
    CheckDisplay();
}

void CVARN_PageTalents::CheckDisplay() {
    QString text = FromCore(character->CheckCircleRequirements());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_warning->setVisible(!text.isEmpty());
    m_check->setPlainText(text);
}

bool CVARN_PageTalents::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress && m_talent != nullptr) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            const int before = m_rank->value();
            {
                const QSignalBlocker blocker(m_rank);
                m_rank->setValue(before + (key == Qt::Key_Left ? -1 : 1));
            }
            // At 0 or 15 the key changes nothing, and the character is left
            // untouched.
            if (m_rank->value() != before)
                ChangeRank();
            return true;
        }
    }
    return CVARN_Page::eventFilter(watched, event);
}
