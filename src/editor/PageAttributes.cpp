#include "editor/PageAttributes.h"

#include "character/Character.h"
#include "character/PageFacts.h"
#include "rules/RulesDatabase.h"
#include "widgets/QtText.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QLabel* MakeValue(QWidget* parent, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = new QLabel(parent);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// One line of a value group: its caption, the value's object name and where the value goes.
struct ValueLine {
    const char* label;
    const char* name;
    QLabel** value;
};

// A group box of "label  value" lines.
QGroupBox* MakeValueGroup(QWidget* parent, const QString& caption,
                          std::initializer_list<ValueLine> lines) {
    auto* group = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const auto& [label, name, value] : lines) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), group), row, 0);
        *value = MakeValue(group);
        (*value)->setObjectName(QLatin1String(name));
        grid->addWidget(*value, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QString Number(int v) {
    return QString::number(v);
}

QString Signed(int v) {
    return v < 0 ? QString::number(v) : QStringLiteral("+%1").arg(v);
}

// Attribute rows of the page, top to bottom, and the character's slot of each.
struct AttributeRowName {
    CVARN_AttributeSlot slot;
    const char* label;
};
constexpr AttributeRowName kRows[AttCount] = {
    {AttDexterity, "Dexterity"},   {AttStrength, "Strength"},   {AttToughness, "Toughness"},
    {AttPerception, "Perception"}, {AttWillpower, "Willpower"}, {AttCharisma, "Charisma"}};

} // namespace

CVARN_PageAttributes::CVARN_PageAttributes(QWidget* parent)
    : CVARN_Page(QStringLiteral("Attributes"), parent) {
    // --- left: race, attributes, abilities
    auto* raceGroup = new QGroupBox(QStringLiteral("Race"), this);
    m_race = new CVARN_ComboBox(raceGroup);
    m_race->setObjectName(QStringLiteral("raceList"));
    m_race->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* raceLayout = new QHBoxLayout(raceGroup);
    raceLayout->addWidget(m_race, 1);

    auto* attributes = new QWidget(this);
    auto* grid = new QGridLayout(attributes);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Base"), attributes), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Level"), attributes), 0, 3, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Step"), attributes), 0, 5, Qt::AlignHCenter);
    int row = 1;
    for (const AttributeRowName& r : kRows) {
        const CVARN_AttributeSlot a = r.slot;
        auto* label = new QLabel(QString::fromLatin1(r.label), attributes);
        m_base[a] = MakeStepper(attributes);
        m_base[a]->setObjectName(QStringLiteral("baseSpin%1").arg(a));
        m_modifier[a] = MakeValue(attributes, Qt::AlignRight);
        m_modifier[a]->setObjectName(QStringLiteral("modifierText%1").arg(a));
        m_level[a] = MakeStepper(attributes);
        m_level[a]->setObjectName(QStringLiteral("levelSpin%1").arg(a));
        m_value[a] = MakeValue(attributes, Qt::AlignRight);
        m_value[a]->setObjectName(QStringLiteral("valueText%1").arg(a));
        m_step[a] = MakeValue(attributes, Qt::AlignRight);
        m_step[a]->setObjectName(QStringLiteral("stepText%1").arg(a));
        label->setBuddy(m_base[a]);
        grid->addWidget(label, row, 0);
        grid->addWidget(m_base[a], row, 1);
        grid->addWidget(m_modifier[a], row, 2);
        grid->addWidget(m_level[a], row, 3);
        grid->addWidget(m_value[a], row, 4);
        grid->addWidget(m_step[a], row, 5);
        connect(m_base[a], &QSpinBox::valueChanged, this,
                [this, a](int v) { OnBaseChanged(a, v); });
        connect(m_level[a], &QSpinBox::valueChanged, this,
                [this, a](int v) { OnLevelChanged(a, v); });
        ++row;
    }
    m_points = MakeValue(attributes);
    m_points->setObjectName(QStringLiteral("pointsText"));
    m_points->setText(QStringLiteral("xx / 66"));
    m_pointsIcon = MakeWarningIcon(attributes);
    m_pointsIcon->setObjectName(QStringLiteral("pointsIcon"));
    m_increases = MakeValue(attributes, Qt::AlignHCenter);
    m_increases->setObjectName(QStringLiteral("increasesText"));
    m_increases->setText(QStringLiteral("xx / cc"));
    m_increasesIcon = MakeWarningIcon(attributes);
    m_increasesIcon->setObjectName(QStringLiteral("increasesIcon"));
    auto* pointsRow = new QHBoxLayout;
    pointsRow->addWidget(m_points);
    pointsRow->addWidget(m_pointsIcon);
    pointsRow->addStretch(1);
    grid->addLayout(pointsRow, row, 0, 1, 3);
    auto* increasesRow = new QHBoxLayout;
    increasesRow->addWidget(m_increases);
    increasesRow->addWidget(m_increasesIcon);
    grid->addLayout(increasesRow, row, 3, 1, 3);
    for (int column : {2, 4, 5})
        grid->setColumnMinimumWidth(column, fontMetrics().horizontalAdvance(QStringLiteral("-00")));

    auto* abilitiesGroup = new QGroupBox(QStringLiteral("Race Abilities"), this);
    m_abilities = new QPlainTextEdit(abilitiesGroup);
    m_abilities->setObjectName(QStringLiteral("abilitiesEdit"));
    m_abilities->setReadOnly(true);
    m_abilities->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_abilities->setTabChangesFocus(true);
    auto* abilitiesLayout = new QVBoxLayout(abilitiesGroup);
    abilitiesLayout->addWidget(m_abilities);

    auto* left = new QVBoxLayout;
    left->addWidget(raceGroup);
    left->addWidget(attributes);
    left->addWidget(abilitiesGroup, 1);

    // --- middle: initiative, defences, armours, movement
    auto* initiativeGroup = new QGroupBox(QStringLiteral("Initiative Dice"), this);
    m_initiative = MakeValue(initiativeGroup);
    m_initiative->setObjectName(QStringLiteral("initiativeText"));
    auto* initiativeLayout = new QHBoxLayout(initiativeGroup);
    initiativeLayout->addWidget(m_initiative);

    auto* middle = new QVBoxLayout;
    middle->addWidget(initiativeGroup);
    middle->addWidget(MakeValueGroup(this, QStringLiteral("Defenses"),
                                     {{"Physical", "physicalDefenseText", &m_physicalDefense},
                                      {"Spell", "spellDefenseText", &m_spellDefense},
                                      {"Social", "socialDefenseText", &m_socialDefense}}));
    middle->addWidget(MakeValueGroup(this, QStringLiteral("Armors"),
                                     {{"Physical", "physicalArmorText", &m_physicalArmor},
                                      {"Mystic", "mysticArmorText", &m_mysticArmor}}));
    middle->addWidget(MakeValueGroup(this, QStringLiteral("Movement"),
                                     {{"Land", "landText", &m_land}, {"Fly", "flyText", &m_fly}}));
    middle->addStretch(1);

    // --- right: damage, capacity, karma
    auto* right = new QVBoxLayout;
    right->addWidget(
        MakeValueGroup(this, QStringLiteral("Damage"),
                       {{"Death Rating", "deathText", &m_death},
                        {"Unconsciouness Rating", "unconsciousnessText", &m_unconsciousness},
                        {"Wound Threshold", "woundText", &m_wound},
                        {"Recovery Test per Day", "recoveryTestsText", &m_recoveryTests},
                        {"Recovery Dice", "recoveryDiceText", &m_recoveryDice}}));
    right->addWidget(
        MakeValueGroup(this, QStringLiteral("Capacity"),
                       {{"Carry", "carryText", &m_carry}, {"Lift", "liftText", &m_lift}}));

    auto* karmaGroup = new QGroupBox(QStringLiteral("Karma"), this);
    auto* karmaGrid = new QGridLayout(karmaGroup);
    auto addKarmaLine = [&](int line, const char* text, QWidget* value) {
        auto* label = new QLabel(QString::fromLatin1(text), karmaGroup);
        label->setBuddy(value);
        karmaGrid->addWidget(label, line, 0);
        karmaGrid->addWidget(value, line, 1);
    };
    m_karmaCost = MakeValue(karmaGroup);
    m_karmaCost->setObjectName(QStringLiteral("karmaCostText"));
    m_karmaMax = MakeValue(karmaGroup);
    m_karmaMax->setObjectName(QStringLiteral("karmaMaxText"));
    m_karmaDice = MakeValue(karmaGroup);
    m_karmaDice->setObjectName(QStringLiteral("karmaDiceText"));
    // Digits only, at most five of them: a karma field is 16-bit.
    auto* karmaDigits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), this);
    m_karmaBought = new QLineEdit(karmaGroup);
    m_karmaBought->setObjectName(QStringLiteral("karmaBoughtEdit"));
    m_karmaSpent = new QLineEdit(karmaGroup);
    m_karmaSpent->setObjectName(QStringLiteral("karmaSpentEdit"));
    for (QLineEdit* edit : {m_karmaBought, m_karmaSpent}) {
        edit->setValidator(karmaDigits);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { OnKarmaEdited(edit); });
        edit->installEventFilter(this);
    }
    m_karmaAvailable = MakeValue(karmaGroup);
    m_karmaAvailable->setObjectName(QStringLiteral("karmaAvailableText"));
    m_karmaIcon = MakeWarningIcon(karmaGroup);
    m_karmaIcon->setObjectName(QStringLiteral("karmaAvailableIcon"));
    addKarmaLine(0, "Cost :", m_karmaCost);
    addKarmaLine(1, "Max :", m_karmaMax);
    addKarmaLine(2, "Dice :", m_karmaDice);
    addKarmaLine(3, "Bought", m_karmaBought);
    addKarmaLine(4, "Spent", m_karmaSpent);
    addKarmaLine(5, "Available Points :", m_karmaAvailable);
    karmaGrid->addWidget(m_karmaIcon, 5, 2);
    karmaGrid->setColumnStretch(1, 1);
    right->addWidget(karmaGroup);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(middle, 2);
    layout->addLayout(right, 2);

    // Keyboard order: race, then each attribute's base and level row by row, then
    // karma.
    QWidget* previous = m_race;
    for (const AttributeRowName& r : kRows) {
        setTabOrder(previous, m_base[r.slot]);
        setTabOrder(m_base[r.slot], m_level[r.slot]);
        previous = m_level[r.slot];
    }
    setTabOrder(previous, m_abilities);
    setTabOrder(m_abilities, m_karmaBought);
    setTabOrder(m_karmaBought, m_karmaSpent);

    connect(m_race, &QComboBox::currentIndexChanged, this, &CVARN_PageAttributes::OnRaceActivated);
}

void CVARN_PageAttributes::RefreshFromCharacter() {
    FillRaceList();
    for (QSpinBox* level : m_level) {
        const QSignalBlocker blocker(level);
        level->setRange(0, 5);
    }
    RaceDisplay();
    LevelPositions();
    PointsDisplay();
    StepDisplay();
    ValueDisplay();
    IncreaseDisplay();
    StepDisplay();
    LevelPositions();
    CapacityDisplay();
    ValueDisplay();
    DefensesDisplay();
    DamageDisplay();
    ArmorsDisplay();
    MovementDisplay();
    InitiativeDisplay();
    KarmaDisplay();
}

void CVARN_PageAttributes::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    switch (hint) {
    case HintArmors:
        ArmorsDisplay();
        break;
    case HintDamageRatings:
        DamageDisplay();
        break;
    case HintDefenses:
        DefensesDisplay();
        break;
    case HintMovement:
        MovementDisplay();
        break;
    case HintRace:
        RaceDisplay();
        // A new race changes the race modifiers, so the values, the steps and
        // possibly the clamped base values and their cost change with it: they are
        // not announced apart.
        LevelPositions();
        PointsDisplay();
        break;
    case HintIncreases:
        StepDisplay();
        ValueDisplay();
        break;
    case HintInitiative:
        InitiativeDisplay();
        break;
    case HintCapacity:
        CapacityDisplay();
        break;
    case HintAttributePoints:
    case HintAttributesCost:
        PointsDisplay();
        break;
    case HintDisciplineBonuses:
    case HintAttributeIncrease:
        IncreaseDisplay();
        break;
    case HintKarma:
        KarmaDisplay();
        break;
    default:
        break;
    }
}

void CVARN_PageAttributes::FillRaceList() {
    const QSignalBlocker blocker(m_race);
    m_race->clear();
    const auto& races = character->Rules().raceTable.races;
    // Each entry carries its race's index, so that the race is chosen by its own
    // name even when that name is not valid UTF-8.
    std::vector<std::pair<QString, int>> entries;
    entries.reserve(races.size());
    for (size_t i = 0; i < races.size(); ++i)
        entries.emplace_back(FromCore(races[i]->name), static_cast<int>(i));
    std::stable_sort(entries.begin(), entries.end(), [](const auto& x, const auto& y) {
        return QString::compare(x.first, y.first, Qt::CaseInsensitive) < 0;
    });
    int selected = -1;
    const QString current = FromCore(character->raceName);
    for (const auto& [text, index] : entries) {
        m_race->addItem(text, index);
        if (selected < 0 && QString::compare(text, current, Qt::CaseInsensitive) == 0)
            selected = m_race->count() - 1;
    }
    m_race->setCurrentIndex(selected);
}

void CVARN_PageAttributes::RaceDisplay() {
    for (int a = 0; a < AttCount; ++a) {
        const CVARN_CharAtt& att = character->Att(static_cast<CVARN_AttributeSlot>(a));
        const QSignalBlocker blocker(m_base[a]);
        m_base[a]->setRange(att.minimum, att.maximum);
        m_base[a]->setValue(att.base);
        m_modifier[a]->setText(Signed(att.raceModifier));
    }
    QString abilities;
    if (character->race != nullptr) {
        for (const CVARN_RaceAbility& ability : character->race->abilities)
            abilities += FromCore(ability.text) + u'\n';
    }
    m_abilities->setPlainText(abilities);
}

void CVARN_PageAttributes::LevelPositions() {
    for (int a = 0; a < AttCount; ++a) {
        const QSignalBlocker blocker(m_level[a]);
        m_level[a]->setValue(character->Att(static_cast<CVARN_AttributeSlot>(a)).increases);
    }
}

void CVARN_PageAttributes::PointsDisplay() {
    StepDisplay();
    ValueDisplay();
    m_points->setText(FromCore(AttributePointsText(*character)));
    m_pointsIcon->setVisible(AttributePointsOver(*character));
}

void CVARN_PageAttributes::StepDisplay() {
    for (int a = 0; a < AttCount; ++a)
        m_step[a]->setText(Number(character->Att(static_cast<CVARN_AttributeSlot>(a)).step));
}

void CVARN_PageAttributes::ValueDisplay() {
    for (int a = 0; a < AttCount; ++a)
        m_value[a]->setText(Number(character->Att(static_cast<CVARN_AttributeSlot>(a)).value));
}

void CVARN_PageAttributes::IncreaseDisplay() {
    m_increases->setText(FromCore(::IncreasesText(*character)));
    m_increasesIcon->setVisible(IncreasesOver(*character));
}

void CVARN_PageAttributes::DefensesDisplay() {
    m_physicalDefense->setText(Number(character->physicalDefense));
    m_spellDefense->setText(Number(character->spellDefense));
    m_socialDefense->setText(Number(character->socialDefense));
}

void CVARN_PageAttributes::ArmorsDisplay() {
    m_physicalArmor->setText(Number(character->physicArmor));
    m_mysticArmor->setText(Number(character->mysticArmor));
}

void CVARN_PageAttributes::MovementDisplay() {
    m_land->setText(QStringLiteral("%1/%2").arg(character->landCombat).arg(character->landFull));
    if (character->flyCombat >= 1)
        m_fly->setText(QStringLiteral("%1/%2").arg(character->flyCombat).arg(character->flyFull));
    else
        m_fly->setText(QStringLiteral("N/A"));
}

void CVARN_PageAttributes::DamageDisplay() {
    m_death->setText(Number(character->deathRating));
    m_unconsciousness->setText(Number(character->unconsciousnessRating));
    m_wound->setText(Number(character->woundThreshold));
    const int tests = character->recoveryTests;
    if (tests >= 1)
        m_recoveryTests->setText(Number(tests));
    else if (tests == 0)
        m_recoveryTests->setText(QStringLiteral("1/2"));
    else
        m_recoveryTests->setText(QStringLiteral("None"));
    const SystemTables& tables = character->Rules().systemTables;
    m_recoveryDice->setText(FromCore(tables.GetActionDice(character->recoveryStep)) +
                            QStringLiteral(" (%1)").arg(character->recoveryStep));
}

void CVARN_PageAttributes::InitiativeDisplay() {
    const SystemTables& tables = character->Rules().systemTables;
    m_initiative->setText(FromCore(tables.GetActionDice(character->initiativeStep)) +
                          QStringLiteral(" (%1)").arg(character->initiativeStep));
}

void CVARN_PageAttributes::CapacityDisplay() {
    m_carry->setText(QStringLiteral("%1 Lbs").arg(character->carryingCapacity));
    m_lift->setText(QStringLiteral("%1 Lbs").arg(character->liftingCapacity));
}

void CVARN_PageAttributes::KarmaDisplay() {
    m_karmaMax->setText(Number(character->karmaMax));
    m_karmaBought->setText(Number(character->karmaBought));
    m_karmaSpent->setText(Number(character->karmaSpent));
    m_karmaCost->setText(Number(character->karmaCost));
    m_karmaDice->setText(
        FromCore(character->Rules().systemTables.GetActionDice(character->karmaStep)));
    KarmaAvailableDisplay();
}

void CVARN_PageAttributes::KarmaAvailableDisplay() {
    m_karmaAvailable->setText(Number(character->karmaCurrent));
    m_karmaIcon->setVisible(KarmaOutOfRange(*character));
}

void CVARN_PageAttributes::OnRaceActivated(int index) {
    if (!initialised || index < 0)
        return;
    const auto& races = character->Rules().raceTable.races;
    const int race = m_race->itemData(index).toInt();
    if (race >= 0 && static_cast<size_t>(race) < races.size())
        character->SetRaceByName(races[race]->name);
}

void CVARN_PageAttributes::OnBaseChanged(CVARN_AttributeSlot a, int value) {
    if (!initialised)
        return;
    character->SetAttributeBase(a, value);
    PointsDisplay();
}

void CVARN_PageAttributes::OnLevelChanged(CVARN_AttributeSlot a, int value) {
    if (!initialised)
        return;
    character->SetAttributeIncreases(a, value);
    StepDisplay();
    ValueDisplay();
    IncreaseDisplay();
}

void CVARN_PageAttributes::OnKarmaEdited(QLineEdit* edit) {
    if (!initialised)
        return;
    m_karmaEdited = true;
    const int amount = std::min(edit->text().toInt(), KarmaLimit); // "" gives 0
    if (edit == m_karmaBought)
        character->SetKarmaBought(amount);
    else
        character->SetKarmaSpent(amount);
    KarmaAvailableDisplay();
}

bool CVARN_PageAttributes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && m_karmaEdited &&
        (watched == m_karmaBought || watched == m_karmaSpent)) {
        m_karmaEdited = false;
        character->Notify(HintKarma);
    }
    return CVARN_Page::eventFilter(watched, event);
}
