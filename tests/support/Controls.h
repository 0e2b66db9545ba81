#pragma once

#include "editor/Page.h"

#include <QString>
#include <QWidget>

#include <stdexcept>

// The control of type W named `name` under `scope` (a page, a window). The page that holds it
// is filled first, as it would be once the user sees it, so that its trees hold their entries.
// A missing or ambiguous name fails the test with that name.
template <class W> W* Control(QWidget* scope, const QString& name) {
    const QList<W*> found = scope->findChildren<W*>(name);
    if (found.size() != 1) {
        const char* what = found.isEmpty() ? "no " : "more than one ";
        throw std::runtime_error(what + std::string(W::staticMetaObject.className()) + " named \"" +
                                 name.toStdString() + "\" in " + scope->metaObject()->className());
    }
    for (QWidget* w = found.front(); w != nullptr; w = w->parentWidget())
        if (auto* page = qobject_cast<CVARN_Page*>(w)) {
            page->EnsureFilled();
            break;
        }
    return found.front();
}

// One of a row of controls named `name` followed by their index ("baseSpin0", "baseSpin1"...).
template <class W> W* Control(QWidget* scope, const QString& name, int index) {
    return Control<W>(scope, name + QString::number(index));
}
