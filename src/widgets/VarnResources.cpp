#include "widgets/VarnResources.h"

#include <QHash>
#include <QIcon>
#include <QString>
#include <QtGlobal>

// Q_INIT_RESOURCE declares a function at namespace scope, so it cannot sit inside another
// namespace or a member function of a class in one.
static void InitVarnResourcesOnce() {
    Q_INIT_RESOURCE(varn);
}

void InitVarnResources() {
    static const bool done = (InitVarnResourcesOnce(), true);
    (void)done;
}

const QIcon& VarnIcon(const QString& path) {
    InitVarnResources();
    static QHash<QString, QIcon> icons;
    auto it = icons.find(path);
    if (it == icons.end())
        it = icons.insert(path, QIcon(path));
    return *it;
}
