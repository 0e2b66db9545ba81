#include "editor/Page.h"

#include "ui/Doc.h"
#include "ui/VarnResources.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

CVARN_Page::CVARN_Page(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption) {}

void CVARN_Page::Bind(CVARN_Doc* doc, CVARN_View* hostView) {
    document = doc;
    view = hostView;
    character = doc != nullptr ? &doc->Character() : nullptr;
    initialised = true;
}

void CVARN_Page::OnCharacterUpdate(CVARN_View* sender, int hint, CVARN_CharEquip* object) {
    (void)sender;
    (void)hint;
    (void)object;
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

void CVARN_Page::NotifyAllViews(int hint, CVARN_CharEquip* object) {
    if (document != nullptr)
        document->UpdateAllViews(view, hint, object);
}

void CVARN_Page::SetDocumentModified() {
    if (document != nullptr)
        document->SetModifiedFlag();
}

void MakeSpinTextReadOnly(QSpinBox* spin) {
    if (auto* edit = spin->findChild<QLineEdit*>())
        edit->setReadOnly(true);
}

QSpinBox* MakeStepper(QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    MakeSpinTextReadOnly(spin);
    spin->setAlignment(Qt::AlignRight);
    return spin;
}

QLabel* MakeWarningIcon(QWidget* parent) {
    InitVarnResources();
    auto* icon = new QLabel(parent);
    QPixmap picture(QStringLiteral(":/icons/warning.png"));
    if (picture.isNull())
        picture = parent->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32);
    icon->setPixmap(picture);
    QSizePolicy policy = icon->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    icon->setSizePolicy(policy);
    icon->hide();
    return icon;
}
