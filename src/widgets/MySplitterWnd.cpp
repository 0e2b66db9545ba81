#include "widgets/MySplitterWnd.h"

#include <QMouseEvent>

#include <algorithm>

CMySplitterWnd::CMySplitterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setChildrenCollapsible(true);
    setOpaqueResize(true);
}

QSplitterHandle* CMySplitterWnd::createHandle() {
    return new CMySplitterHandle(orientation(), this);
}

void CMySplitterWnd::SetFirstColumnInfo(int ideal, int minimum) {
    m_minimum = std::max(minimum, 0);
    ApplyFirstColumnWidth(std::max(ideal, m_minimum));
}

int CMySplitterWnd::FirstColumnWidth() const {
    const QList<int> widths = sizes();
    return widths.isEmpty() ? 0 : widths.front();
}

void CMySplitterWnd::ToggleFirstColumn() {
    const int current = FirstColumnWidth();
    if (current > m_minimum) {
        m_remembered = current;
        ApplyFirstColumnWidth(m_minimum);
    } else {
        ApplyFirstColumnWidth(m_remembered);
    }
}

void CMySplitterWnd::ApplyFirstColumnWidth(int width) {
    if (count() < 2)
        return;
    QList<int> widths = sizes();
    int total = 0;
    for (int w : widths)
        total += w;
    // Before the splitter has a size of its own its columns are all 0; the width is then
    // kept for when it gets one.
    total = std::max(total, this->width() - handleWidth() * (count() - 1));
    width = std::max(width, 0);
    widths[0] = width;
    widths[1] = std::max(total - width, 0);
    for (int i = 2; i < widths.size(); ++i)
        widths[i] = 0;
    // A pane with a minimum size would refuse a narrower column; the first column must be
    // free to shrink down to its own minimum.
    if (QWidget* first = widget(0))
        first->setMinimumWidth(0);
    setSizes(widths);
}

CMySplitterHandle::CMySplitterHandle(Qt::Orientation orientation, CMySplitterWnd* parent)
    : QSplitterHandle(orientation, parent) {
    // The bar cannot be dragged, so it should not look as if it could.
    setCursor(Qt::ArrowCursor);
}

void CMySplitterHandle::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CMySplitterHandle::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void CMySplitterHandle::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void CMySplitterHandle::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (auto* splitter = qobject_cast<CMySplitterWnd*>(this->splitter()))
        splitter->ToggleFirstColumn();
}
