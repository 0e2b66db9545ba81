#include "editor/PageDiscipline.h"

#include "character/Character.h"
#include "character/PageFacts.h"
#include "editor/EntryTips.h"
#include "rules/RulesDatabase.h"
#include "widgets/MyListCtrl.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

QPlainTextEdit* MakeReadOnlyText(QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setReadOnly(true);
    edit->setTabChangesFocus(true);
    return edit;
}

template <typename T> T* EntryOf(const QListWidgetItem* item) {
    return reinterpret_cast<T*>(item->data(CVARN_PageDiscipline::EntryRole).value<quintptr>());
}

} // namespace

CVARN_PageDiscipline::CVARN_PageDiscipline(QWidget* parent)
    : CVARN_Page(QStringLiteral("Discipline"), parent) {
    // --- left: the disciplines, the adept circle, the abilities
    auto* disciplinesGroup = new QGroupBox(QStringLiteral("Available Disciplines"), this);
    m_disciplines = new QListWidget(disciplinesGroup);
    m_disciplines->setObjectName(QStringLiteral("disciplineList"));
    m_disciplines->setSelectionMode(QAbstractItemView::SingleSelection);
    KeepCurrentOnSelection(m_disciplines);
    auto* disciplinesLayout = new QVBoxLayout(disciplinesGroup);
    disciplinesLayout->addWidget(m_disciplines);

    auto* adeptGroup = new QGroupBox(QStringLiteral("Adept circle..."), this);
    m_adeptCircle = MakeStepper(adeptGroup);
    m_adeptCircle->setObjectName(QStringLiteral("adeptCircleSpin"));
    m_adeptCircle->setRange(0, 0);
    m_adeptCircle->setEnabled(false);
    auto* adeptLayout = new QHBoxLayout(adeptGroup);
    adeptLayout->addWidget(m_adeptCircle);
    adeptLayout->addStretch(1);

    auto* abilitiesGroup = new QGroupBox(QStringLiteral("Abilities"), this);
    m_abilities = MakeReadOnlyText(abilitiesGroup);
    m_abilities->setObjectName(QStringLiteral("abilitiesEdit"));
    auto* abilitiesLayout = new QVBoxLayout(abilitiesGroup);
    abilitiesLayout->addWidget(m_abilities);

    auto* left = new QVBoxLayout;
    left->addWidget(disciplinesGroup, 3);
    left->addWidget(adeptGroup);
    left->addWidget(abilitiesGroup, 2);

    // --- right: the talents circle by circle, the discipline's description
    auto* talentsGroup = new QGroupBox(QStringLiteral("Talents"), this);
    auto* viewLabel = new QLabel(QStringLiteral("View talents at circle..."), talentsGroup);
    m_viewCircle = MakeStepper(talentsGroup);
    m_viewCircle->setObjectName(QStringLiteral("viewCircleSpin"));
    m_viewCircle->setRange(1, 1);
    viewLabel->setBuddy(m_viewCircle);
    m_talents = new QListWidget(talentsGroup);
    m_talents->setObjectName(QStringLiteral("talentList"));
    m_talents->setSelectionMode(QAbstractItemView::SingleSelection);
    KeepCurrentOnSelection(m_talents);
    m_formula = new QLabel(QStringLiteral("Formula :"), talentsGroup);
    m_formula->setObjectName(QStringLiteral("formulaText"));
    m_strain = new QLabel(QStringLiteral("Strain :"), talentsGroup);
    m_strain->setObjectName(QStringLiteral("strainText"));
    m_talentDescription = MakeReadOnlyText(talentsGroup);
    m_talentDescription->setObjectName(QStringLiteral("talentDescriptionEdit"));
    m_action = new QCheckBox(QStringLiteral("Action"), talentsGroup);
    m_action->setObjectName(QStringLiteral("actionBox"));
    m_karma = new QCheckBox(QStringLiteral("Karma"), talentsGroup);
    m_karma->setObjectName(QStringLiteral("karmaBox"));
    m_discTalent = new QCheckBox(QStringLiteral("Disc."), talentsGroup);
    m_discTalent->setObjectName(QStringLiteral("disciplineTalentBox"));

    auto* viewRow = new QHBoxLayout;
    viewRow->addWidget(viewLabel);
    viewRow->addWidget(m_viewCircle);
    viewRow->addStretch(1);
    auto* flagsRow = new QHBoxLayout;
    flagsRow->addWidget(m_action);
    flagsRow->addWidget(m_karma);
    flagsRow->addWidget(m_discTalent);
    flagsRow->addStretch(1);
    auto* talentDetails = new QVBoxLayout;
    talentDetails->addWidget(m_formula);
    talentDetails->addWidget(m_strain);
    talentDetails->addWidget(m_talentDescription, 1);
    talentDetails->addLayout(flagsRow);
    auto* talentsBody = new QHBoxLayout;
    talentsBody->addWidget(m_talents, 1);
    talentsBody->addLayout(talentDetails, 1);
    auto* talentsLayout = new QVBoxLayout(talentsGroup);
    talentsLayout->addLayout(viewRow);
    talentsLayout->addLayout(talentsBody, 1);

    auto* informationGroup = new QGroupBox(QStringLiteral("Discipline information"), this);
    m_information = MakeReadOnlyText(informationGroup);
    m_information->setObjectName(QStringLiteral("informationEdit"));
    auto* informationLayout = new QVBoxLayout(informationGroup);
    informationLayout->addWidget(m_information);

    auto* right = new QVBoxLayout;
    right->addWidget(talentsGroup, 3);
    right->addWidget(informationGroup, 2);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    setTabOrder(m_disciplines, m_adeptCircle);
    setTabOrder(m_adeptCircle, m_abilities);
    setTabOrder(m_abilities, m_viewCircle);
    setTabOrder(m_viewCircle, m_talents);
    setTabOrder(m_talents, m_talentDescription);
    setTabOrder(m_talentDescription, m_action);
    setTabOrder(m_action, m_karma);
    setTabOrder(m_karma, m_discTalent);
    setTabOrder(m_discTalent, m_information);

    connect(m_disciplines, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            SelectDiscipline();
    });
    connect(m_talents, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            SelectTalent();
    });
    connect(m_adeptCircle, &QSpinBox::valueChanged, this,
            &CVARN_PageDiscipline::OnAdeptCircleChanged);
    connect(m_viewCircle, &QSpinBox::valueChanged, this,
            &CVARN_PageDiscipline::OnViewCircleChanged);
    // The flags describe the talent; they are not the user's to change.
    for (QCheckBox* box : {m_action, m_karma, m_discTalent})
        connect(box, &QCheckBox::clicked, this, &CVARN_PageDiscipline::ShowTalentFlags);
}

void CVARN_PageDiscipline::RefreshFromCharacter() {
    FillDisciplines();
}

void CVARN_PageDiscipline::OnCharacterRestored() {
    // The discipline in view stays in view; only its record and circle are new.
    const CVARN_DBDiscipline* shown = m_discipline;
    FillDisciplines();
    for (int row = 0; shown != nullptr && row < m_disciplines->count(); ++row) {
        QListWidgetItem* item = m_disciplines->item(row);
        if (EntryOf<const CVARN_DBDiscipline>(item) == shown) {
            m_disciplines->setCurrentItem(item);
            item->setSelected(true);
            break;
        }
    }
}

void CVARN_PageDiscipline::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    if (hint == HintRace || hint == HintRaceDisciplineCompatibility)
        FillDisciplines();
}

QString CVARN_PageDiscipline::EntryText(const CVARN_DBDiscipline& discipline) const {
    QString text = FromCore(discipline.name);
    const CVARN_CharDisc* record = character->FindCharDisc(&discipline);
    if (record != nullptr && record->circle >= 1)
        text += QStringLiteral("   (%1)").arg(record->circle);
    return text;
}

namespace {
bool TextBefore(const QListWidgetItem* a, const QListWidgetItem* b) {
    return QString::compare(a->text(), b->text(), Qt::CaseInsensitive) < 0;
}
} // namespace

void CVARN_PageDiscipline::InsertSorted(QListWidget* list, QListWidgetItem* item) {
    // After every entry of the same text, by halving: the list is in order already.
    int low = 0;
    int high = list->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (TextBefore(item, list->item(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    list->insertItem(low, item);
}

void CVARN_PageDiscipline::AddSorted(QListWidget* list, std::vector<QListWidgetItem*>& items) {
    // The order inserting one by one gives (entries of the same text in the order given), at
    // the cost of one sort: a list of hundreds of entries is refilled on every change of race.
    std::stable_sort(items.begin(), items.end(), TextBefore);
    for (QListWidgetItem* item : items)
        list->addItem(item);
    items.clear();
}

void CVARN_PageDiscipline::FillDisciplines() {
    m_filling = true;
    m_disciplines->clear();
    std::vector<QListWidgetItem*> items;
    for (const CVARN_DBDiscipline* discipline : OfferedDisciplines(*character)) {
        auto* item = new QListWidgetItem(EntryText(*discipline));
        item->setData(EntryRole, QVariant::fromValue(reinterpret_cast<quintptr>(discipline)));
        items.push_back(item);
    }
    AddSorted(m_disciplines, items);
    m_filling = false;
    SelectDiscipline();
}

void CVARN_PageDiscipline::SelectDiscipline() {
    const QList<QListWidgetItem*> selected = m_disciplines->selectedItems();
    const QSignalBlocker adeptBlocker(m_adeptCircle);
    const QSignalBlocker viewBlocker(m_viewCircle);
    if (selected.isEmpty()) {
        m_discipline = nullptr;
        m_record = nullptr;
        m_adept = 0;
        m_viewCircle->setRange(1, 1);
        m_adeptCircle->setRange(0, 0);
        m_adeptCircle->setValue(0);
        m_information->clear();
    } else {
        m_discipline = EntryOf<const CVARN_DBDiscipline>(selected.front());
        m_record = character->FindCharDisc(m_discipline);
        m_adept = m_record != nullptr ? m_record->circle : 0;
        const int highest = std::max<int>(m_discipline->highestCircle, 1);
        m_viewCircle->setRange(1, highest);
        m_adeptCircle->setRange(0, m_discipline->highestCircle);
        m_adeptCircle->setValue(m_adept);
        m_information->setPlainText(FromCore(m_discipline->description));
    }
    // The viewed circle stays where it was unless the new range cuts it.
    m_viewed = static_cast<int16_t>(m_viewCircle->value());
    m_adeptCircle->setEnabled(true);
    for (QCheckBox* box : {m_action, m_karma, m_discTalent})
        box->setChecked(false);
    FillAbilities();
    FillTalents();
}

void CVARN_PageDiscipline::FillAbilities() {
    QString text;
    if (m_discipline != nullptr) {
        for (const CVARN_DiscAbility& ability : m_discipline->abilities)
            text += QStringLiteral("(%1)   ").arg(ability.circle) + FromCore(ability.text) + u'\n';
    }
    m_abilities->setPlainText(text);
}

void CVARN_PageDiscipline::FillTalents() {
    m_filling = true;
    m_talents->clear();
    std::vector<QListWidgetItem*> items;
    if (m_discipline != nullptr) {
        for (const CVARN_DiscTalent& offer : m_discipline->talents) {
            if (offer.circle != m_viewed)
                continue;
            auto* item = new QListWidgetItem(FromCore(std::string(offer.name)));
            item->setData(EntryRole, QVariant::fromValue(reinterpret_cast<quintptr>(&offer)));
            item->setToolTip(TalentTip(offer.talent));
            items.push_back(item);
        }
    }
    AddSorted(m_talents, items);
    m_filling = false;
    SelectTalent();
}

void CVARN_PageDiscipline::SelectTalent() {
    const QList<QListWidgetItem*> selected = m_talents->selectedItems();
    if (selected.isEmpty()) {
        m_talentIndex = -1;
        m_talent = nullptr;
        m_formula->clear();
        m_strain->clear();
        m_talentDescription->clear();
        return;
    }
    m_talentIndex = m_talents->row(selected.front());
    m_talent = EntryOf<const CVARN_DiscTalent>(selected.front());
    const CVARN_DBTalent* entry = m_talent->talent;
    m_talentDescription->setPlainText(entry != nullptr ? FromCore(entry->description) : QString());
    m_formula->setText(QStringLiteral("Formula :  ") +
                       (entry != nullptr ? FromCore(entry->formula) : QString()));
    m_strain->setText(QStringLiteral("Strain :  %1").arg(entry != nullptr ? entry->strain : 0));
    ShowTalentFlags();
}

void CVARN_PageDiscipline::ShowTalentFlags() {
    const CVARN_DBTalent* entry = m_talent != nullptr ? m_talent->talent : nullptr;
    m_action->setChecked(entry != nullptr && entry->action != 0);
    m_karma->setChecked(entry != nullptr && entry->karma != 0);
    m_discTalent->setChecked(m_talent != nullptr && m_talent->disciplineTalent != 0);
}

void CVARN_PageDiscipline::OnAdeptCircleChanged(int circle) {
    if (!initialised)
        return;
    if (m_discipline == nullptr) {
        m_adept = 0;
        return;
    }
    m_adept = static_cast<int16_t>(circle);
    character->SetDisciplineCircle(m_discipline, circle);
    m_record = character->FindCharDisc(m_discipline);

    // The entry's circle suffix changes, and with it possibly its place in the
    // list.
    const QList<QListWidgetItem*> selected = m_disciplines->selectedItems();
    if (!selected.isEmpty()) {
        m_filling = true;
        QListWidgetItem* item = m_disciplines->takeItem(m_disciplines->row(selected.front()));
        item->setText(EntryText(*m_discipline));
        InsertSorted(m_disciplines, item);
        m_disciplines->setCurrentItem(item);
        item->setSelected(true);
        m_filling = false;
    }
    FillAbilities();
}

void CVARN_PageDiscipline::OnViewCircleChanged(int circle) {
    if (!initialised)
        return;
    m_viewed = static_cast<int16_t>(circle);
    FillTalents();
}
