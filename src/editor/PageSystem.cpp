#include "editor/PageSystem.h"

#include "character/Character.h"
#include "editor/Page.h"
#include "widgets/MyListCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr const char* kDataEdition[CVARN_PageSystem::DataEditionCount] = {
    "Books", "Talents", "Equipment", "Spells", "Skills", "Disciplines", "Races"};
} // namespace

CVARN_PageSystem::CVARN_PageSystem(QWidget* parent) : CVARN_Page(QStringLiteral("System"), parent) {
    auto* checks = new QGroupBox(QStringLiteral("Check Points..."), this);
    m_compatibility = new QCheckBox(QStringLiteral("Race/Discipline Compatibility"), checks);
    m_compatibility->setObjectName(QStringLiteral("compatibilityBox"));
    m_attributesCost = new QCheckBox(QStringLiteral("Attributes Cost"), checks);
    m_attributesCost->setObjectName(QStringLiteral("attributesCostBox"));
    m_budget = new CVARN_SpinBox(checks);
    m_budget->setObjectName(QStringLiteral("budgetSpin"));
    m_budget->setRange(1, 999);
    m_budget->setAccessibleName(QStringLiteral("Attribute points"));
    m_attributeIncrease = new QCheckBox(QStringLiteral("Attribute Increase"), checks);
    m_attributeIncrease->setObjectName(QStringLiteral("attributeIncreaseBox"));
    // Kept with the character but no rule reads them yet: shown, not editable.
    m_minMax = new QCheckBox(QStringLiteral("Attributes Min/Max"), checks);
    m_minMax->setObjectName(QStringLiteral("minMaxBox"));
    m_circleAdvancement = new QCheckBox(QStringLiteral("Circle Advancement"), checks);
    m_circleAdvancement->setObjectName(QStringLiteral("circleAdvancementBox"));
    m_armorsWorn = new QCheckBox(QStringLiteral("Number of Armors Worn"), checks);
    m_armorsWorn->setObjectName(QStringLiteral("armorsWornBox"));
    m_minMax->setEnabled(false);
    m_circleAdvancement->setEnabled(false);
    m_armorsWorn->setEnabled(false);

    auto* checksLayout = new QGridLayout(checks);
    checksLayout->addWidget(m_compatibility, 0, 0, 1, 2);
    checksLayout->addWidget(m_attributesCost, 1, 0);
    checksLayout->addWidget(m_budget, 1, 1, Qt::AlignLeft);
    checksLayout->addWidget(m_attributeIncrease, 2, 0, 1, 2);
    checksLayout->addWidget(m_minMax, 3, 0, 1, 2);
    checksLayout->addWidget(m_circleAdvancement, 4, 0, 1, 2);
    checksLayout->addWidget(m_armorsWorn, 5, 0, 1, 2);
    checksLayout->setColumnStretch(1, 1);
    checksLayout->setRowStretch(6, 1);

    auto* books = new QGroupBox(QStringLiteral("Books"), this);
    m_books = new CMyListCtrl(books);
    m_books->setObjectName(QStringLiteral("booksList"));
    m_books->setHeaderHidden(true);
    m_books->setEnabled(false);
    auto* booksLayout = new QVBoxLayout(books);
    booksLayout->addWidget(m_books);

    auto* dataEdition = new QGroupBox(QStringLiteral("Data Edition"), this);
    auto* dataLayout = new QVBoxLayout(dataEdition);
    for (int i = 0; i < DataEditionCount; ++i) {
        m_dataEdition[i] = new QPushButton(QString::fromLatin1(kDataEdition[i]), dataEdition);
        m_dataEdition[i]->setObjectName(QStringLiteral("dataEditionButton%1").arg(i));
        m_dataEdition[i]->setEnabled(false);
        dataLayout->addWidget(m_dataEdition[i]);
    }
    dataLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(checks, 2);
    layout->addWidget(books, 2);
    layout->addWidget(dataEdition, 1);

    setTabOrder(m_compatibility, m_attributesCost);
    setTabOrder(m_attributesCost, m_budget);
    setTabOrder(m_budget, m_attributeIncrease);

    connect(m_compatibility, &QCheckBox::clicked, this, &CVARN_PageSystem::OnCompatibilityClicked);
    connect(m_attributesCost, &QCheckBox::clicked, this,
            &CVARN_PageSystem::OnAttributesCostClicked);
    connect(m_attributeIncrease, &QCheckBox::clicked, this,
            &CVARN_PageSystem::OnAttributeIncreaseClicked);
    connect(m_minMax, &QCheckBox::clicked, this, &CVARN_PageSystem::OnStoredOnlyClicked);
    connect(m_circleAdvancement, &QCheckBox::clicked, this, &CVARN_PageSystem::OnStoredOnlyClicked);
    connect(m_armorsWorn, &QCheckBox::clicked, this, &CVARN_PageSystem::OnStoredOnlyClicked);
    connect(m_budget, &QSpinBox::valueChanged, this, &CVARN_PageSystem::OnBudgetChanged);
}

void CVARN_PageSystem::RefreshFromCharacter() {
    m_compatibility->setChecked(character->raceDisciplineCompatibility != 0);
    m_attributesCost->setChecked(character->attributesCost != 0);
    m_attributeIncrease->setChecked(character->attributeIncrease != 0);
    // The stored-only switches show what the character holds, so that a saved
    // character never looks as if they were off when they are on.
    m_minMax->setChecked(character->attributesMinMax != 0);
    m_circleAdvancement->setChecked(character->circleAdvancement != 0);
    m_armorsWorn->setChecked(character->armorsWornLimit != 0);
    {
        const QSignalBlocker block(m_budget);
        m_budget->setRange(1, 999);
        m_budget->setValue(character->attributePoints);
    }
    m_budget->setEnabled(character->attributesCost != 0);
}

void CVARN_PageSystem::OnCompatibilityClicked(bool on) {
    if (!initialised)
        return;
    character->SetRaceDisciplineCompatibility(on);
}

void CVARN_PageSystem::OnAttributesCostClicked(bool on) {
    if (!initialised)
        return;
    m_budget->setEnabled(on);
    character->SetAttributesCost(on);
}

void CVARN_PageSystem::OnAttributeIncreaseClicked(bool on) {
    if (!initialised)
        return;
    character->SetAttributeIncrease(on);
}

void CVARN_PageSystem::OnStoredOnlyClicked() {
    if (!initialised)
        return;
    character->SetStoredOnlyOptions(m_minMax->isChecked(), m_circleAdvancement->isChecked(),
                                    m_armorsWorn->isChecked());
}

void CVARN_PageSystem::OnBudgetChanged(int points) {
    if (!initialised)
        return;
    character->SetAttributePoints(points);
}
