#include "widgets/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

QString Clean(QString text) {
    if (text.contains(QLatin1Char('<'))) { // rich text
        static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
        text.remove(tag);
    }
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
}

bool IsControl(const QWidget* w) {
    // Line edits inside spin boxes and combo boxes are named through their owner.
    if (qobject_cast<const QLineEdit*>(w) != nullptr &&
        (qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) != nullptr ||
         qobject_cast<const QComboBox*>(w->parentWidget()) != nullptr))
        return false;
    if (w->focusPolicy() != Qt::NoFocus)
        return true;
    return qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QAbstractItemView*>(w) != nullptr ||
           qobject_cast<const QTextEdit*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr ||
           qobject_cast<const QSlider*>(w) != nullptr;
}

const QLabel* LabelBefore(QLayout* layout, const QWidget* w) {
    if (auto* form = qobject_cast<QFormLayout*>(layout))
        return qobject_cast<const QLabel*>(form->labelForField(const_cast<QWidget*>(w)));
    const int index = layout->indexOf(w);
    if (index < 0)
        return nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        for (int c = column - 1; c >= 0; --c) {
            QLayoutItem* item = grid->itemAtPosition(row, c);
            if (item != nullptr && item->widget() != nullptr)
                return qobject_cast<const QLabel*>(item->widget());
        }
        // A label above, as a list's heading.
        if (QLayoutItem* item = grid->itemAtPosition(row - 1, column);
            item != nullptr && item->widget() != nullptr)
            return qobject_cast<const QLabel*>(item->widget());
        return nullptr;
    }
    for (int i = index - 1; i >= 0; --i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item != nullptr && item->widget() != nullptr)
            return qobject_cast<const QLabel*>(item->widget());
    }
    return nullptr;
}

QLayout* LayoutHolding(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    if (parent == nullptr || parent->layout() == nullptr)
        return nullptr;
    QList<QLayout*> pending{parent->layout()};
    while (!pending.isEmpty()) {
        QLayout* layout = pending.takeFirst();
        if (layout->indexOf(w) >= 0)
            return layout;
        for (int i = 0; i < layout->count(); ++i)
            if (QLayout* inner = layout->itemAt(i)->layout())
                pending.append(inner);
    }
    return nullptr;
}

QString NameFor(const QWidget* w, const QHash<const QWidget*, const QLabel*>& buddies) {
    if (const QLabel* buddy = buddies.value(w); buddy != nullptr && !Clean(buddy->text()).isEmpty())
        return Clean(buddy->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w);
        button != nullptr && !Clean(button->text()).isEmpty())
        return Clean(button->text());
    if (QLayout* layout = LayoutHolding(w)) {
        if (const QLabel* label = LabelBefore(layout, w);
            label != nullptr && label->buddy() == nullptr && !Clean(label->text()).isEmpty())
            return Clean(label->text());
    }
    if (!Clean(w->toolTip()).isEmpty())
        return Clean(w->toolTip());
    if (qobject_cast<const QTabBar*>(w) != nullptr)
        return QStringLiteral("Pages");
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return Clean(label->text());
    for (const QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (const auto* box = qobject_cast<const QGroupBox*>(p);
            box != nullptr && !Clean(box->title()).isEmpty())
            return Clean(box->title());
    }
    // Nothing beside it says what it is: what kind of control it is, at least.
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->placeholderText().isEmpty() ? QStringLiteral("Find")
                                                 : Clean(edit->placeholderText());
    if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) {
        const QAbstractItemModel* model = view->model();
        const QString first =
            model != nullptr ? model->headerData(0, Qt::Horizontal).toString() : QString();
        return first.isEmpty() ? QStringLiteral("List") : Clean(first) + QStringLiteral(" list");
    }
    if (qobject_cast<const QPlainTextEdit*>(w) != nullptr ||
        qobject_cast<const QTextEdit*>(w) != nullptr)
        return QStringLiteral("Text");
    return Clean(w->windowTitle()).isEmpty() ? QStringLiteral("Pane") : Clean(w->windowTitle());
}

QString HeadersOf(const QAbstractItemView* view) {
    const QAbstractItemModel* model = view->model();
    if (model == nullptr)
        return {};
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString header = model->headerData(c, Qt::Horizontal).toString();
        if (!header.isEmpty())
            headers << header;
    }
    return headers.isEmpty() ? QString()
                             : QStringLiteral("Columns: ") + headers.join(QStringLiteral(", "));
}

} // namespace

void NameControls(QWidget* root) {
    if (root == nullptr)
        return;
    QHash<const QWidget*, const QLabel*> buddies;
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (label->buddy() != nullptr)
            buddies.insert(label->buddy(), label);
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!IsControl(w))
            continue;
        if (w->accessibleName().isEmpty()) {
            const QString name = NameFor(w, buddies);
            w->setAccessibleName(name);
        }
        if (w->accessibleDescription().isEmpty()) {
            QString description = Clean(w->toolTip());
            if (const auto* view = qobject_cast<const QAbstractItemView*>(w);
                view != nullptr && description.isEmpty())
                description = HeadersOf(view);
            if (const auto* tabs = qobject_cast<const QTabBar*>(w);
                tabs != nullptr && description.isEmpty()) {
                QStringList names;
                for (int i = 0; i < tabs->count(); ++i)
                    names << Clean(tabs->tabText(i));
                description = names.join(QStringLiteral(", "));
            }
            if (description.isEmpty())
                description = w->accessibleName();
            w->setAccessibleDescription(description);
        }
    }
}
