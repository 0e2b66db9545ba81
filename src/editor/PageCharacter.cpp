#include "editor/PageCharacter.h"

#include "character/Character.h"
#include "character/PageFacts.h"
#include "character/SheetContent.h"
#include "widgets/QtText.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Reads a number the way "%d" does: leading white space, an optional sign, then
// digits up to the first other character. False when the text does not start
// with a number. The value is held to +-limit instead of overflowing.
bool ReadDecimal(const QString& text, int32_t limit, int32_t& value) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size() || text[i] < u'0' || text[i] > u'9')
        return false;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > limit)
            magnitude = limit;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

QString Number(int64_t v) {
    return QString::number(v);
}

} // namespace

CVARN_PageCharacter::CVARN_PageCharacter(QWidget* parent)
    : CVARN_Page(QStringLiteral("Character"), parent) {
    auto* nameLabel = new QLabel(QStringLiteral("Name"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    nameLabel->setBuddy(m_name);

    auto* descriptionGroup = new QGroupBox(QStringLiteral("Description"), this);
    m_description = new QPlainTextEdit(descriptionGroup);
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    auto* descriptionLayout = new QVBoxLayout(descriptionGroup);
    descriptionLayout->addWidget(m_description);

    auto* creationGroup =
        new QGroupBox(QStringLiteral("Legend Points for Character Creation"), this);
    auto* creationLabel = new QLabel(QStringLiteral("Total"), creationGroup);
    m_creation = new QLineEdit(creationGroup);
    m_creation->setObjectName(QStringLiteral("creationEdit"));
    creationLabel->setBuddy(m_creation);
    auto* creationLayout = new QHBoxLayout(creationGroup);
    creationLayout->addWidget(creationLabel);
    creationLayout->addWidget(m_creation);
    creationLayout->addStretch(1);

    auto* legendGroup = new QGroupBox(QStringLiteral("Legend Points"), this);
    auto* digitsOnly =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto* earnedLabel = new QLabel(QStringLiteral("Total Earned"), legendGroup);
    m_earned = new QLineEdit(legendGroup);
    m_earned->setObjectName(QStringLiteral("earnedEdit"));
    m_earned->setValidator(digitsOnly);
    earnedLabel->setBuddy(m_earned);
    auto* extraLabel = new QLabel(QStringLiteral("Extra Costs"), legendGroup);
    m_extra = new QLineEdit(legendGroup);
    m_extra->setObjectName(QStringLiteral("extraCostsEdit"));
    m_extra->setValidator(digitsOnly);
    extraLabel->setBuddy(m_extra);
    auto* spentLabel = new QLabel(QStringLiteral("VARN Spent"), legendGroup);
    m_spent = new QLabel(legendGroup);
    m_spent->setObjectName(QStringLiteral("spentText"));
    auto* availableLabel = new QLabel(QStringLiteral("Available"), legendGroup);
    m_available = new QLabel(legendGroup);
    m_available->setObjectName(QStringLiteral("availableText"));
    m_availableIcon = MakeWarningIcon(legendGroup);
    m_availableIcon->setObjectName(QStringLiteral("availableIcon"));
    for (QLabel* shown : {m_spent, m_available})
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* legendLayout = new QGridLayout(legendGroup);
    legendLayout->addWidget(earnedLabel, 0, 0);
    legendLayout->addWidget(m_earned, 0, 1);
    legendLayout->addWidget(extraLabel, 1, 0);
    legendLayout->addWidget(m_extra, 1, 1);
    legendLayout->addWidget(spentLabel, 2, 0);
    legendLayout->addWidget(m_spent, 2, 1);
    legendLayout->addWidget(availableLabel, 3, 0);
    legendLayout->addWidget(m_available, 3, 1);
    legendLayout->addWidget(m_availableIcon, 2, 2, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    legendLayout->setColumnStretch(3, 1);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(descriptionGroup, 1);
    layout->addWidget(creationGroup);
    layout->addWidget(legendGroup);

    setTabOrder(m_name, m_description);
    setTabOrder(m_description, m_creation);
    setTabOrder(m_creation, m_earned);
    setTabOrder(m_earned, m_extra);

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!initialised || m_filling)
            return;
        character->SetName(ToCore(text));
    });
    // Texts no sheet chokes on; a longer one read from a file is kept until edited.
    m_name->setMaxLength(static_cast<int>(varn_sheet::kNameLimit));
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        if (!initialised || m_filling)
            return;
        QString text = m_description->toPlainText();
        const qsizetype most = std::max<qsizetype>(varn_sheet::kDescriptionLimit,
                                                   FromCore(character->description).size());
        if (text.size() > most) {
            text.truncate(most);
            m_filling = true;
            m_description->setPlainText(text);
            m_description->moveCursor(QTextCursor::End);
            m_filling = false;
        }
        character->SetDescription(ToCore(text));
    });
    for (QLineEdit* amount : {m_creation, m_earned, m_extra}) {
        connect(amount, &QLineEdit::textEdited, this, [this, amount] { OnAmountEdited(amount); });
        connect(amount, &QLineEdit::returnPressed, this, &CVARN_PageCharacter::CommitAmounts);
        amount->installEventFilter(this);
    }
}

void CVARN_PageCharacter::RefreshFromCharacter() {
    TextDisplay();
    LegendDisplay();
}

void CVARN_PageCharacter::OnCharacterUpdate(int hint, CVARN_CharEquip*) {
    if (!initialised)
        return;
    if (hint == HintLegend)
        LegendDisplay();
    else if (hint == HintNameDescription)
        TextDisplay();
}

void CVARN_PageCharacter::TextDisplay() {
    // Only a field that differs is set: the window being typed in keeps its cursor.
    m_filling = true;
    const QString name = FromCore(character->name);
    if (m_name->text() != name)
        m_name->setText(name);
    const QString description = FromCore(character->description);
    if (m_description->toPlainText() != description)
        m_description->setPlainText(description);
    m_filling = false;
}

void CVARN_PageCharacter::LegendDisplay() {
    m_filling = true;
    m_creation->setText(Number(character->creationLegend));
    m_earned->setText(Number(character->legendEarned));
    m_extra->setText(Number(character->extraCosts));
    m_filling = false;
    m_spent->setText(Number(character->SpentLegend()));
    AvailableDisplay();
}

void CVARN_PageCharacter::AvailableDisplay() {
    const int64_t available = character->AvailableLegend();
    m_availableIcon->setVisible(LegendOverspent(*character));
    m_available->setText(Number(available));
}

void CVARN_PageCharacter::OnAmountEdited(QLineEdit* edit) {
    if (!initialised || m_filling)
        return;
    m_edited = true;
    int32_t amount = 0;
    const QString text = edit->text();
    // A text that does not start with a number (a lone "-" on the way to "-500")
    // leaves the amount as it was.
    if (text.isEmpty() || ReadDecimal(text, AmountLimit, amount)) {
        if (edit == m_creation)
            character->SetCreationLegend(amount);
        else if (edit == m_earned)
            character->SetLegendEarned(amount);
        else
            character->SetExtraCosts(amount);
    }
    AvailableDisplay();
    character->SetModified();
}

void CVARN_PageCharacter::CommitAmounts() {
    if (!initialised || !m_edited)
        return;
    m_edited = false;
    character->SetModified();
    // Once per edit, not per keystroke: every page that shows legend points
    // redraws.
    character->Notify(HintLegend);
}

bool CVARN_PageCharacter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut &&
        (watched == m_creation || watched == m_earned || watched == m_extra))
        CommitAmounts();
    return CVARN_Page::eventFilter(watched, event);
}
