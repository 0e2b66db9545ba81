#include "ui/FindField.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QShortcut>
#include <QTreeView>

#include <vector>

namespace {

struct Node {
    QModelIndex index;
    int parent; // position in the walk, -1 at the top
    bool leaf;
    bool shown;
};

// Every node in pre-order, without recursion: sub-category paths come from the data files and
// may be deep.
std::vector<Node> Walk(const QAbstractItemModel& model) {
    std::vector<Node> nodes;
    std::vector<std::pair<QModelIndex, int>> pending;
    for (int row = model.rowCount() - 1; row >= 0; --row)
        pending.emplace_back(model.index(row, 0), -1);
    while (!pending.empty()) {
        const auto [index, parent] = pending.back();
        pending.pop_back();
        const int rows = model.rowCount(index);
        const int self = static_cast<int>(nodes.size());
        nodes.push_back({index, parent, rows == 0, false});
        for (int row = rows - 1; row >= 0; --row)
            pending.emplace_back(model.index(row, 0, index), self);
    }
    return nodes;
}

} // namespace

int FilterTree(QTreeView* tree, const QString& text) {
    QAbstractItemModel* model = tree != nullptr ? tree->model() : nullptr;
    if (model == nullptr)
        return 0;
    std::vector<Node> nodes = Walk(*model);
    int matches = 0;
    const bool all = text.isEmpty();
    // Children come after their parent in the walk, so going backwards every node is settled
    // before it passes its state up.
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node) {
        if (all ||
            (node->leaf && node->index.data().toString().contains(text, Qt::CaseInsensitive))) {
            node->shown = true;
            matches += node->leaf ? 1 : 0;
        }
        if (node->shown && node->parent >= 0)
            nodes[static_cast<size_t>(node->parent)].shown = true;
    }
    const bool updates = tree->updatesEnabled();
    tree->setUpdatesEnabled(false);
    for (const Node& node : nodes) {
        const QModelIndex parent = node.index.parent();
        if (tree->isRowHidden(node.index.row(), parent) == node.shown)
            tree->setRowHidden(node.index.row(), parent, !node.shown);
        if (!all && !node.leaf && node.shown && !tree->isExpanded(node.index))
            tree->expand(node.index);
    }
    if (QItemSelectionModel* selection = tree->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) {
            bool hidden = false;
            for (QModelIndex i = index; i.isValid() && !hidden; i = i.parent())
                hidden = tree->isRowHidden(i.row(), i.parent());
            if (hidden) {
                selection->clear();
                break;
            }
        }
    }
    tree->setUpdatesEnabled(updates);
    return matches;
}

CVARN_FindField::CVARN_FindField(QTreeView* target, QWidget* parent)
    : QLineEdit(parent), m_target(target) {
    setClearButtonEnabled(true);
    setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
    connect(this, &QLineEdit::textChanged, this, &CVARN_FindField::Apply);
}

void CVARN_FindField::Apply() {
    if (m_target == nullptr || m_target->model() == nullptr)
        return;
    const QString wanted = text().trimmed();
    if (wanted.isEmpty() && !m_searching)
        return; // a tree refilled without a search shows everything already
    QAbstractItemModel& model = *m_target->model();
    if (!wanted.isEmpty() && !m_searching) {
        m_searching = true;
        m_expandedBefore.clear();
        for (const Node& node : Walk(model))
            if (!node.leaf && m_target->isExpanded(node.index))
                m_expandedBefore.append(QPersistentModelIndex(node.index));
    }
    FilterTree(m_target, wanted);
    if (wanted.isEmpty() && m_searching) {
        m_searching = false;
        for (const Node& node : Walk(model))
            if (!node.leaf && m_target->isExpanded(node.index))
                m_target->collapse(node.index);
        for (const QPersistentModelIndex& index : m_expandedBefore)
            if (index.isValid())
                m_target->expand(index);
        m_expandedBefore.clear();
        // Back in the full view the selection is where the user left it.
        if (QModelIndex current = m_target->currentIndex(); current.isValid())
            m_target->scrollTo(current);
    }
}

void CVARN_FindField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CVARN_FindField::InstallShortcut(QWidget* scope, std::function<QWidget*()> fields) {
    auto* shortcut = new QShortcut(QKeySequence::Find, scope);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, scope, [scope, fields] {
        QWidget* root = fields ? fields() : scope;
        if (root == nullptr)
            return;
        const QList<CVARN_FindField*> found = root->findChildren<CVARN_FindField*>();
        if (found.isEmpty())
            return;
        CVARN_FindField* chosen = found.front();
        QWidget* focus = QApplication::focusWidget();
        for (CVARN_FindField* field : found) {
            QTreeView* tree = field->Target();
            if (focus != nullptr && tree != nullptr && (focus == tree || tree->isAncestorOf(focus)))
                chosen = field;
        }
        chosen->setFocus(Qt::ShortcutFocusReason);
        chosen->selectAll();
    });
}
