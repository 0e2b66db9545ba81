#include "ui/MyTabCtrl.h"

#include <QPaintEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace {
// Height of a raised edge: unselected tabs keep their caption below it.
constexpr int EdgeHeight = 2;
} // namespace

CMyTabCtrl::CMyTabCtrl(QWidget* parent) : QTabBar(parent) {
    setDrawBase(true);
    setElideMode(Qt::ElideNone);
}

QColor CMyTabCtrl::CaptionColor() const {
    return palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                           QPalette::ButtonText);
}

QSize CMyTabCtrl::UniformTabSize() const {
    QSize size;
    for (int i = 0; i < count(); ++i)
        size = size.expandedTo(QTabBar::tabSizeHint(i));
    return size;
}

QSize CMyTabCtrl::tabSizeHint(int index) const {
    if (index < 0 || index >= count())
        return QTabBar::tabSizeHint(index);
    return UniformTabSize();
}

QSize CMyTabCtrl::minimumTabSizeHint(int index) const {
    if (index < 0 || index >= count())
        return QTabBar::minimumTabSizeHint(index);
    QSize size = UniformTabSize();
    if (elideMode() == Qt::ElideNone)
        return size;
    // Squeezed tabs shrink together, down to a few letters of the widest caption. Qt's own
    // measure cannot be used: it asks tabSizeHint(), which answers for all tabs at once.
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(tabText(i)));
    const int shortest = fontMetrics().horizontalAdvance(QStringLiteral("Xxx\u2026"));
    size.setWidth(size.width() - widest + std::min(widest, shortest));
    return size;
}

void CMyTabCtrl::paintEvent(QPaintEvent* event) {
    QStylePainter painter(this);
    painter.setClipRegion(event->region());
    if (drawBase()) {
        QStyleOptionTabBarBase base;
        base.initFrom(this);
        base.shape = shape();
        base.documentMode = documentMode();
        base.rect = rect();
        base.rect.setTop(base.rect.bottom() -
                         style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this) + 1);
        base.selectedTabRect = tabRect(currentIndex());
        for (int i = 0; i < count(); ++i)
            base.tabBarRect |= tabRect(i);
        painter.drawPrimitive(QStyle::PE_FrameTabBarBase, base);
    }
    // The selected tab overlaps its neighbours, so it is drawn last.
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex())
            PaintTab(painter, i);
    }
    if (currentIndex() >= 0)
        PaintTab(painter, currentIndex());
}

void CMyTabCtrl::PaintTab(QPainter& painter, int index) const {
    if (index < 0 || index >= count())
        return;
    const bool selected = index == currentIndex();
    QStyleOptionTab option;
    initStyleOption(&option, index);
    if (!option.rect.intersects(rect()))
        return;

    painter.save();
    // The frame of the tab is the style's; its inside is ours.
    style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);

    const int frame = 2;
    QRect inside = option.rect.adjusted(frame, frame, -frame, selected ? 0 : -1);
    inside.setTop(inside.top() + EdgeHeight);
    painter.fillRect(inside, palette().color(QPalette::Button));

    painter.setPen(CaptionColor());
    painter.setFont(font());
    QString caption = tabText(index).left(MaxCaptionLength);
    if (elideMode() != Qt::ElideNone)
        caption = fontMetrics().elidedText(caption, elideMode(), inside.width());
    if (selected) {
        inside.setTop(inside.top() - EdgeHeight);
        painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                         caption);
    } else {
        painter.drawText(inside.adjusted(0, 0, 0, -1),
                         Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine |
                             Qt::TextShowMnemonic,
                         caption);
    }
    painter.restore();
}
