#include "widgets/MyTabCtrl.h"

#include <QPaintEvent>
#include <QStyle>
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

QString CMyTabCtrl::MeasureKey() const {
    // The captions and icons; a new font or style clears the figures (changeEvent). The
    // texts are compared, never shaped.
    QString key = QString::number(iconSize().width()) + QLatin1Char('x') +
                  QString::number(iconSize().height());
    for (int i = 0; i < count(); ++i)
        key += QLatin1Char('\n') + tabText(i) + QLatin1Char('|') +
               QString::number(tabIcon(i).cacheKey());
    return key;
}

void CMyTabCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_measuredFor.clear();
    QTabBar::changeEvent(event);
}

void CMyTabCtrl::Measure() const {
    // Every layout of the strip asks each tab, and each answer looks at every tab: measured
    // once for as long as nothing that goes into the measure changes.
    QString key = MeasureKey();
    if (key == m_measuredFor)
        return;
    m_measuredFor = std::move(key);
    m_uniform = QSize();
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        m_uniform = m_uniform.expandedTo(QTabBar::tabSizeHint(i));
        widest = std::max(widest, fontMetrics().horizontalAdvance(tabText(i)));
    }
    const int shortest = fontMetrics().horizontalAdvance(QStringLiteral("Xxx\u2026"));
    m_squeezedWidth = m_uniform.width() - widest + std::min(widest, shortest);
}

QSize CMyTabCtrl::UniformTabSize() const {
    Measure();
    return m_uniform;
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
    size.setWidth(m_squeezedWidth);
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
