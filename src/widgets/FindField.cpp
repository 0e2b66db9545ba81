#include "widgets/FindField.h"

#include "widgets/MyListCtrl.h"
#include "widgets/QtText.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QShortcut>
#include <QTreeView>

CVARN_FindField::CVARN_FindField(QTreeView* target, QWidget* parent)
    : QLineEdit(parent), m_target(target) {
    // The trees searched hold one line per node. With uniform heights Qt lays out the
    // thousands of rows a search may open without measuring each one.
    if (m_target != nullptr)
        m_target->setUniformRowHeights(true);
    setClearButtonEnabled(true);
    setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
    KeepCurrentOnSelection(m_target);
    connect(this, &QLineEdit::textChanged, this, &CVARN_FindField::Apply);
}

void CVARN_FindField::WatchModel() {
    QAbstractItemModel* model = m_target != nullptr ? m_target->model() : nullptr;
    if (model == m_watched)
        return;
    if (m_watched != nullptr)
        disconnect(m_watched, nullptr, this, nullptr);
    m_watched = model;
    m_nodes.clear();
    m_current = false;
    if (model == nullptr)
        return;
    // Any change of the rows or their texts makes the walk below out of date.
    const auto forget = [this] { m_current = false; };
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, forget);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, forget);
    connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, forget);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, forget);
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
    connect(model, &QObject::destroyed, this, [this] {
        m_watched = nullptr;
        m_current = false;
    });
}

void CVARN_FindField::Walk() {
    // Every node in pre-order, without recursion: sub-category paths come from the data files
    // and may be deep. Kept until the tree changes, so a keystroke only compares texts.
    m_nodes.clear();
    const QAbstractItemModel& model = *m_watched;
    std::vector<std::pair<QModelIndex, int>> pending;
    for (int row = model.rowCount() - 1; row >= 0; --row)
        pending.emplace_back(model.index(row, 0), -1);
    while (!pending.empty()) {
        const auto [index, parent] = pending.back();
        pending.pop_back();
        const int rows = model.rowCount(index);
        const int self = static_cast<int>(m_nodes.size());
        Node node;
        node.index = index;
        node.parent = parent;
        node.leaf = rows == 0;
        if (node.leaf)
            node.text = FoldCase(index.data().toString());
        node.hidden = m_target->isRowHidden(index.row(), index.parent());
        m_nodes.push_back(std::move(node));
        for (int row = rows - 1; row >= 0; --row)
            pending.emplace_back(model.index(row, 0, index), self);
    }
    m_current = true;
    m_lastWanted = QString();
}

bool CVARN_FindField::IsHidden(QModelIndex index) const {
    for (; index.isValid(); index = index.parent())
        if (m_target->isRowHidden(index.row(), index.parent()))
            return true;
    return false;
}

int CVARN_FindField::Filter(const QString& text) {
    int matches = 0;
    const QString wanted = FoldCase(text);
    const bool all = wanted.isEmpty();
    // A text that holds the last one can only match where the last one matched.
    const bool narrowing = !all && !m_lastWanted.isEmpty() && wanted.contains(m_lastWanted);
    std::vector<char> shown(m_nodes.size(), 0);
    // Children come after their parent in the walk, so going backwards every node is settled
    // before it passes its state up.
    for (size_t i = m_nodes.size(); i-- > 0;) {
        Node& node = m_nodes[i];
        if (node.leaf && !all)
            node.matched = (!narrowing || node.matched) && node.text.contains(wanted);
        if (all || (node.leaf && node.matched)) {
            shown[i] = 1;
            matches += node.leaf ? 1 : 0;
        }
        if (shown[i] && node.parent >= 0)
            shown[static_cast<size_t>(node.parent)] = 1;
    }
    const bool updates = m_target->updatesEnabled();
    m_target->setUpdatesEnabled(false);
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        Node& node = m_nodes[i];
        // Below a hidden node nothing shows whatever its state: it is left as it is, and set
        // right when a later search shows its parent again. So a search that hides almost
        // everything does not touch every node of a large tree.
        if (node.parent >= 0 && !shown[static_cast<size_t>(node.parent)])
            continue;
        if (node.hidden == !shown[i]) {
            if (shown[i] && !all && !node.leaf && !m_target->isExpanded(node.index))
                m_target->expand(node.index);
            continue;
        }
        node.hidden = !shown[i];
        m_target->setRowHidden(node.index.row(), node.index.parent(), node.hidden);
        if (shown[i] && !all && !node.leaf && !m_target->isExpanded(node.index))
            m_target->expand(node.index);
    }
    // A selected entry that got hidden is unselected: nothing acts on what cannot be seen.
    // It is selected again when a later search shows it and nothing else was chosen meanwhile,
    // so that emptying the field puts the user back where the search began.
    if (QItemSelectionModel* selection = m_target->selectionModel()) {
        const QModelIndexList selected = selection->selectedRows();
        if (!selected.isEmpty()) {
            m_unselected = QPersistentModelIndex();
            for (const QModelIndex& index : selected) {
                if (IsHidden(index)) {
                    m_unselected = index;
                    selection->clear();
                    break;
                }
            }
        } else if (m_unselected.isValid() && !IsHidden(m_unselected)) {
            const QModelIndex again = m_unselected;
            m_unselected = QPersistentModelIndex();
            selection->setCurrentIndex(again, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
        }
    }
    m_target->setUpdatesEnabled(updates);
    m_lastWanted = all ? QString() : wanted;
    return matches;
}

int CVARN_FindField::Apply() {
    if (m_target == nullptr)
        return 0;
    const QString wanted = text().trimmed();
    if (wanted.isEmpty() && !m_searching)
        return 0; // a tree refilled without a search shows everything already
    WatchModel();
    if (m_watched == nullptr)
        return 0;
    if (!m_current)
        Walk();
    if (!wanted.isEmpty() && !m_searching) {
        m_searching = true;
        m_expandedBefore.clear();
        for (const Node& node : m_nodes)
            if (!node.leaf && m_target->isExpanded(node.index))
                m_expandedBefore.append(QPersistentModelIndex(node.index));
    }
    const int matches = Filter(wanted);
    if (wanted.isEmpty()) {
        m_searching = false;
        for (const Node& node : m_nodes)
            if (!node.leaf && m_target->isExpanded(node.index))
                m_target->collapse(node.index);
        for (const QPersistentModelIndex& index : m_expandedBefore)
            if (index.isValid())
                m_target->expand(index);
        m_expandedBefore.clear();
        // Back in the full view the selection is where the user left it.
        if (const QModelIndex current = m_target->currentIndex(); current.isValid())
            m_target->scrollTo(current);
    }
    return matches;
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
