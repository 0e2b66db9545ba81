#include "shell/PrintOptionsPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The notes are wrapped to the pane's width rather than widening it.
constexpr int kNoteWidth = 240;

QLabel* MakeNote(const QString& text, QWidget* parent) {
    auto* note = new QLabel(text, parent);
    note->setWordWrap(true);
    note->setFixedWidth(kNoteWidth);
    note->setTextFormat(Qt::PlainText);
    return note;
}
} // namespace

PrintOptionsPage::PrintOptionsPage(QWidget* parent)
    : CVARN_Page(QStringLiteral("Options..."), parent),
      m_print(new QPushButton(QStringLiteral("Print"), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);
    layout->addWidget(m_print, 0, Qt::AlignLeft);
    auto* choice = new QGroupBox(QStringLiteral("Sheet"), this);
    auto* choiceLayout = new QVBoxLayout(choice);
    m_characterSheet = new QRadioButton(QStringLiteral("Character sheet"), choice);
    m_textSheet = new QRadioButton(QStringLiteral("Text sheet"), choice);
    m_characterSheet->setChecked(true);
    auto* group = new QButtonGroup(choice);
    group->addButton(m_characterSheet);
    group->addButton(m_textSheet);
    choiceLayout->addWidget(m_characterSheet);
    choiceLayout->addWidget(m_textSheet);
    layout->addWidget(choice);
    connect(m_characterSheet, &QRadioButton::toggled, this, &PrintOptionsPage::sheetChoiceChanged);
    layout->addWidget(
        MakeNote(QStringLiteral("* You may add or remove any text of the text sheet before "
                                "printing."),
                 this));
    layout->addStretch(1);
    connect(m_print, &QPushButton::clicked, this, &PrintOptionsPage::printRequested);
}

bool PrintOptionsPage::characterSheetChosen() const {
    return m_characterSheet->isChecked();
}
