#pragma once

#include <QRect>
#include <QWidget>

namespace varn_test {

// Whether `w` is shown at no less than its smallest size, inside each of the widgets around it.
inline bool ShownWhole(const QWidget* w) {
    if (!w->isVisible() || w->width() < w->minimumSizeHint().width() ||
        w->height() < w->minimumSizeHint().height())
        return false;
    for (const QWidget* p = w->parentWidget(); p != nullptr && !p->isWindow();
         p = p->parentWidget())
        if (!p->parentWidget()->rect().contains(
                QRect(w->mapTo(p->parentWidget(), QPoint()), w->size())))
            return false;
    return w->window()->rect().contains(QRect(w->mapTo(w->window(), QPoint()), w->size()));
}

} // namespace varn_test
