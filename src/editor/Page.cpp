#include "editor/Page.h"

#include "character/ChangeHint.h"
#include "widgets/AccessibleNames.h"
#include "widgets/VarnResources.h"

#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QSpinBox>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

CVARN_Page::CVARN_Page(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption) {}

void CVARN_Page::Bind(CVARN_Character* boundCharacter) {
    character = boundCharacter;
    initialised = true;
}

QSize CVARN_Page::ComputeNaturalSize() {
    ensurePolished();
    const QSize natural = sizeHint().expandedTo(QSize(0, 0));
    naturalWidth = natural.width();
    naturalHeight = natural.height();
    return natural;
}

QSize CVARN_Page::sizeHint() const {
    if (layout() != nullptr)
        return QWidget::sizeHint();
    // Hand-placed controls: the largest right and bottom edges, seen from the page's corner.
    const QRect children = childrenRect();
    if (children.isNull())
        return QSize(0, 0);
    return QSize(children.right() + 1, children.bottom() + 1);
}

void CVARN_Page::DeferFill() {
    m_fillPending = true;
    if (isVisible())
        EnsureFilled();
}

void CVARN_Page::EnsureFilled() const {
    if (!m_fillPending)
        return;
    m_fillPending = false;
    // Pages are never made const: the accessors that call this are const for their callers.
    const_cast<CVARN_Page*>(this)->FillDeferred();
}

void CVARN_Page::showEvent(QShowEvent* event) {
    EnsureFilled();
    // The controls get their accessible names once, when the page is first seen.
    if (!property("varnNamed").toBool()) {
        setProperty("varnNamed", true);
        NameControls(this);
    }
    QWidget::showEvent(event);
}

CVARN_SpinBox::CVARN_SpinBox(QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setFocusPolicy(Qt::StrongFocus);
}

QValidator::State CVARN_SpinBox::validate(QString& input, int& pos) const {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
        return state;
    // Qt refuses a number above the range outright, so "99" could not even be typed into a
    // box that ends at 15. Any whole number is let through and brought into range on Enter.
    bool number = false;
    const QString typed = input.trimmed();
    typed.toLongLong(&number);
    // A sign alone is the start of a number: "-5" in a box from 0 must reach fixup as typed.
    number = number || typed == QLatin1String("-") || typed == QLatin1String("+");
    return number ? QValidator::Intermediate : QValidator::Invalid;
}

void CVARN_SpinBox::fixup(QString& input) const {
    QSpinBox::fixup(input);
    // An emptied box (or a sign alone) means no new number: the box keeps its value.
    const QString typed = input.trimmed();
    if (typed.isEmpty() || typed == QLatin1String("-") || typed == QLatin1String("+")) {
        input = textFromValue(value());
        return;
    }
    bool number = false;
    const qlonglong asNumber = typed.toLongLong(&number);
    if (number)
        input =
            textFromValue(static_cast<int>(std::clamp<qlonglong>(asNumber, minimum(), maximum())));
}

void CVARN_SpinBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore(); // goes on to the parent, which scrolls
        return;
    }
    QSpinBox::wheelEvent(event);
}

CVARN_ComboBox::CVARN_ComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CVARN_ComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

QSpinBox* MakeStepper(QWidget* parent) {
    auto* spin = new CVARN_SpinBox(parent);
    spin->setAlignment(Qt::AlignRight);
    return spin;
}

QPixmap WarningPicture(const QWidget* widget) {
    InitVarnResources();
    QIcon icon = VarnIcon(QStringLiteral(":/icons/warning.png"));
    if (icon.isNull())
        icon = widget->style()->standardIcon(QStyle::SP_MessageBoxWarning);
    // At least two device pixels per pixel: a label shows its pixmap as it is, whatever the
    // device it is finally painted on.
    return icon.pixmap(QSize(32, 32), std::max(2.0, widget->devicePixelRatioF()));
}

QLabel* MakeWarningIcon(QWidget* parent) {
    auto* icon = new QLabel(parent);
    icon->setPixmap(WarningPicture(parent));
    QSizePolicy policy = icon->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    icon->setSizePolicy(policy);
    icon->hide();
    return icon;
}

bool MovesAttributeSteps(int hint) {
    switch (hint) {
    case HintIncreases:
    case HintCharismaBase:
    case HintWillpowerBase:
    case HintPerceptionBase:
    case HintStrengthBase:
    case HintDexterityBase:
    case HintToughnessBase:
        return true;
    default:
        return false;
    }
}
