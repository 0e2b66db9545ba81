#pragma once

#include "editor/Page.h"

#include <QtGlobal>

#include <initializer_list>

class CMyListCtrl;
class CVARN_FindField;
class QGroupBox;
class QTreeWidget;
class QTreeWidgetItem;
class SortedTreeBuilder;

// The layout of a page that offers the rules' entries of one kind to the character: on the
// left every entry in a tree with a find field, on the right the character's records in a
// list above a pane of information on the selected entry. The tree, filled when the page is
// first seen, and the list select each other: the page says which node a row stands for.
class CVARN_CatalogPage : public CVARN_Page {
    Q_OBJECT
public:
    // A column of the character's list.
    struct Column {
        const char* title;
        Qt::Alignment align;
        int width;
    };

protected:
    // The three groups are made with the given titles, the list with `columns`; the page adds
    // the information pane's controls to `m_info` and calls LayOut().
    CVARN_CatalogPage(const QString& caption, const QString& availableTitle,
                      const QString& ownedTitle, const QString& infoTitle,
                      std::initializer_list<Column> columns, QWidget* parent);

    // Places the groups: `aboveTree` (if any) over the tree, the list over the information
    // pane with these stretches. The tab order runs from the find field to the tree and the
    // list; the page continues it from the list.
    void LayOut(QWidget* aboveTree, int listStretch, int infoStretch);

    // Adds every entry of the rules to `builder`.
    virtual void BuildTree(SortedTreeBuilder& builder) = 0;
    // The hover texts of a node of the tree and of a record of the list.
    virtual QString NodeTip(const QTreeWidgetItem* node) const = 0;
    virtual QString RecordTip(quintptr record) const = 0;
    // A node of the tree (m_selNode, possibly nullptr) or a row of the list (m_selIndex) was
    // selected by the user.
    virtual void OnNodeSelected() = 0;
    virtual void OnRowSelected() = 0;
    // Marks the record in view in the list.
    virtual void MarkList() = 0;

    // Empties the tree, and fills it when the page is first seen.
    void ClearTree();
    void FillDeferred() override;
    // Makes `node` the tree's current node, in view, without taking it for the user's choice.
    void ShowNode(QTreeWidgetItem* node);
    static void SetBold(QTreeWidgetItem* node);

    QTreeWidget* m_tree = nullptr;
    CVARN_FindField* m_find = nullptr;
    CMyListCtrl* m_list = nullptr;
    QGroupBox* m_info = nullptr;

    // False until the first refresh, and while the page moves a selection itself so that the
    // selection events it causes are ignored.
    bool m_ready = false;
    int m_selIndex = -1;
    QTreeWidgetItem* m_selNode = nullptr;

private:
    void OnTreeSelectionChanged();
    void OnListRowSelected(int row);

    QGroupBox* m_available = nullptr;
    QGroupBox* m_owned = nullptr;
};
