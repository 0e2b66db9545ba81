#pragma once

#include <QList>
#include <QString>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Builds a tree of the data set outside its widget, then puts it in at once in the order of
// the skill and spell trees: the top-level nodes, their children and their grandchildren each
// sorted by text ignoring case, nodes of the same text in the order they were added; deeper
// levels stay in that order. Each item is attached once, to its final place: moving items
// inside a shown tree, or reading their texts back through the item, costs far more on a
// large data set.
class SortedTreeBuilder {
public:
    // Adds a node showing `text` below node `parent`, or at the top for -1; the node's number,
    // for adding below it. Item() gives its item, for setting its data.
    int Add(int parent, const QString& text);
    QTreeWidgetItem* Item(int node) const { return m_nodes[static_cast<size_t>(node)].item; }
    ~SortedTreeBuilder();

    // Sorts, attaches every item and appends the top-level nodes to `tree`. The builder is
    // empty afterwards. A builder dropped before holds no items.
    void AddTo(QTreeWidget* tree);

private:
    struct Node {
        QTreeWidgetItem* item = nullptr;
        QString text;
        std::vector<int> children;
    };
    void Sort(std::vector<int>& nodes) const;
    QList<QTreeWidgetItem*> Attach(const std::vector<int>& nodes, int level);

    std::vector<Node> m_nodes;
    std::vector<int> m_top;
};
