#include "editor/DlgInfoSpell.h"

#include "widgets/AccessibleNames.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CVARN_DlgInfoSpell::CVARN_DlgInfoSpell(const QString& name, const QString& description,
                                       QWidget* parent)
    : QDialog(parent), m_name(name), m_description(description) {
    setWindowTitle(QStringLiteral("Spell"));
    setModal(true);

    auto* nameGroup = new QGroupBox(QStringLiteral("Name"), this);
    m_nameLabel = new QLabel(m_name, nameGroup);
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_nameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* nameLayout = new QVBoxLayout(nameGroup);
    nameLayout->addWidget(m_nameLabel);

    auto* descriptionGroup = new QGroupBox(QStringLiteral("Description"), this);
    m_descriptionEdit = new QPlainTextEdit(descriptionGroup);
    m_descriptionEdit->setReadOnly(true);
    m_descriptionEdit->setPlainText(m_description);
    auto* descriptionLayout = new QVBoxLayout(descriptionGroup);
    descriptionLayout->addWidget(m_descriptionEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addWidget(descriptionGroup, 1);
    layout->addWidget(buttons);
    NameControls(this);
    resize(360, 300);
}
