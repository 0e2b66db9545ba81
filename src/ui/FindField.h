#pragma once

#include <QLineEdit>
#include <QList>
#include <QPersistentModelIndex>

#include <functional>

class QTreeView;

// Shows the entries of `tree` whose first-column text holds `text` (ignoring case), with
// every node above a match shown and expanded; hides the rest. Entries are the leaves: a
// category never matches by its own name, so typing "c" does not bring back every spell under
// "Circle 3". An empty text shows every node and leaves the expansion alone. A selected entry
// that gets hidden is unselected, so that nothing acts on an entry the user cannot see.
// Returns the number of matching entries.
int FilterTree(QTreeView* tree, const QString& text);

// The find-as-you-type field above a tree or list: a clear button, Esc empties it (and is
// passed on when it is empty already, so that Esc still closes a dialog). Emptying it restores
// the expansion the tree had before the search began.
class CVARN_FindField : public QLineEdit {
    Q_OBJECT
public:
    explicit CVARN_FindField(QTreeView* target, QWidget* parent = nullptr);

    QTreeView* Target() const { return m_target; }
    // Filters the tree by the current text. Owners call it again after refilling the tree.
    void Apply();

    // Makes Ctrl+F (the platform's Find key) inside `scope` focus a find field: the one whose
    // tree has the focus, or else the first one under `fields()` (`scope` itself by default).
    static void InstallShortcut(QWidget* scope, std::function<QWidget*()> fields = {});

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeView* m_target;
    bool m_searching = false;
    // Expanded nodes from before the search; nodes removed meanwhile drop out by themselves.
    QList<QPersistentModelIndex> m_expandedBefore;
};
