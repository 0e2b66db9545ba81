#pragma once

#include <QLineEdit>
#include <QList>
#include <QPersistentModelIndex>

#include <functional>
#include <vector>

class QAbstractItemModel;
class QTreeView;

// The find-as-you-type field above a tree or list: a clear button, Esc empties it (and is
// passed on when it is empty already, so that Esc still closes a dialog).
//
// The tree shows the entries whose first-column text holds the typed text (ignoring case),
// with every node above a match shown and expanded; the rest is hidden. Entries are the
// leaves: a category never matches by its own name, so typing "c" does not bring back every
// spell under "Circle 3". A selected entry that gets hidden is unselected, so that nothing
// acts on an entry the user cannot see, and selected again when it shows again (unless
// another was chosen meanwhile). The tree's current row stays on its selected one. Emptying the
// field shows every node again with the expansion the tree had before the search began.
class CVARN_FindField : public QLineEdit {
    Q_OBJECT
public:
    explicit CVARN_FindField(QTreeView* target, QWidget* parent = nullptr);

    QTreeView* Target() const { return m_target; }
    // Filters the tree by the current text; returns the number of matching entries. Owners
    // call it again after refilling the tree.
    int Apply();

    // Makes Ctrl+F (the platform's Find key) inside `scope` focus a find field: the one whose
    // tree has the focus, or else the first one under `fields()` (`scope` itself by default).
    static void InstallShortcut(QWidget* scope, std::function<QWidget*()> fields = {});

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Node {
        QModelIndex index;
        int parent = -1; // position in m_nodes, -1 at the top
        bool leaf = false;
        bool hidden = false;  // as last set on the tree
        bool matched = false; // by the last search text
        QString text;         // leaves only, case-folded once per walk
    };
    void WatchModel();
    void Walk();
    int Filter(const QString& text);
    bool IsHidden(QModelIndex index) const; // it or a node above it

    QTreeView* m_target;
    QAbstractItemModel* m_watched = nullptr;
    std::vector<Node> m_nodes;
    bool m_current = false; // m_nodes matches the tree
    // The case-folded text `matched` was set for (null when not set since the last walk).
    QString m_lastWanted;
    bool m_searching = false;
    // Expanded nodes from before the search; nodes removed meanwhile drop out by themselves.
    QList<QPersistentModelIndex> m_expandedBefore;
    // The entry the search unselected because it hid it.
    QPersistentModelIndex m_unselected;
};
