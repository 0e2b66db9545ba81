#include "editor/SortedTree.h"

#include <QTreeWidget>

#include <algorithm>

SortedTreeBuilder::~SortedTreeBuilder() {
    for (const Node& node : m_nodes)
        delete node.item;
}

int SortedTreeBuilder::Add(int parent, const QString& text) {
    const int node = static_cast<int>(m_nodes.size());
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    m_nodes.push_back(Node{item, text, {}});
    (parent < 0 ? m_top : m_nodes[static_cast<size_t>(parent)].children).push_back(node);
    return node;
}

void SortedTreeBuilder::Sort(std::vector<int>& nodes) const {
    std::stable_sort(nodes.begin(), nodes.end(), [this](int a, int b) {
        return QString::compare(m_nodes[static_cast<size_t>(a)].text,
                                m_nodes[static_cast<size_t>(b)].text, Qt::CaseInsensitive) < 0;
    });
}

QList<QTreeWidgetItem*> SortedTreeBuilder::Attach(const std::vector<int>& nodes, int level) {
    // Recursive: the trees built here are three or four levels deep.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(nodes.size()));
    for (const int index : nodes) {
        Node& node = m_nodes[static_cast<size_t>(index)];
        if (!node.children.empty()) {
            if (level < 2)
                Sort(node.children);
            node.item->addChildren(Attach(node.children, level + 1));
        }
        items.append(node.item);
    }
    return items;
}

void SortedTreeBuilder::AddTo(QTreeWidget* tree) {
    Sort(m_top);
    tree->addTopLevelItems(Attach(m_top, 0));
    m_nodes.clear();
    m_top.clear();
}
