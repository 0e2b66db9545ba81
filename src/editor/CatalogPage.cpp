#include "editor/CatalogPage.h"

#include "editor/EntryTips.h"
#include "editor/SortedTree.h"
#include "widgets/FindField.h"
#include "widgets/MyListCtrl.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Keeps a page from reacting to the selections it makes itself while it lives.
class QuietSelection {
public:
    explicit QuietSelection(bool& ready) : m_flag(ready), m_was(ready) { ready = false; }
    ~QuietSelection() { m_flag = m_was; }
    QuietSelection(const QuietSelection&) = delete;
    QuietSelection& operator=(const QuietSelection&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

} // namespace

CVARN_CatalogPage::CVARN_CatalogPage(const QString& caption, const QString& availableTitle,
                                     const QString& ownedTitle, const QString& infoTitle,
                                     std::initializer_list<Column> columns, QWidget* parent)
    : CVARN_Page(caption, parent) {
    m_available = new QGroupBox(availableTitle, this);
    m_tree = new QTreeWidget(m_available);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_find = new CVARN_FindField(m_tree, m_available);
    CVARN_FindField::InstallShortcut(this);
    auto* availableLayout = new QVBoxLayout(m_available);
    availableLayout->addWidget(m_find);
    availableLayout->addWidget(m_tree);
    InstallEntryTips(m_tree, [this](const QTreeWidgetItem* node) { return NodeTip(node); });

    m_owned = new QGroupBox(ownedTitle, this);
    m_list = new CMyListCtrl(m_owned);
    int col = 0;
    for (const Column& c : columns)
        m_list->InsertColumn(col++, QString::fromLatin1(c.title), c.align, c.width);
    m_list->SetSortOnInsert(true);
    m_list->SetStretchColumn(0);
    InstallEntryTips(m_list, [this](const QTreeWidgetItem* row) {
        return RecordTip(row->data(0, CMyListCtrl::ItemDataRole).value<quintptr>());
    });
    auto* ownedLayout = new QVBoxLayout(m_owned);
    ownedLayout->addWidget(m_list);

    m_info = new QGroupBox(infoTitle, this);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
            &CVARN_CatalogPage::OnTreeSelectionChanged);
    connect(m_list, &CMyListCtrl::SelectedRowChanged, this, &CVARN_CatalogPage::OnListRowSelected);
}

void CVARN_CatalogPage::LayOut(QWidget* aboveTree, int listStretch, int infoStretch) {
    auto* left = new QVBoxLayout;
    if (aboveTree != nullptr)
        left->addWidget(aboveTree);
    left->addWidget(m_available, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_owned, listStretch);
    right->addWidget(m_info, infoStretch);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    setTabOrder(m_find, m_tree);
    setTabOrder(m_tree, m_list);
}

void CVARN_CatalogPage::ClearTree() {
    m_tree->clear();
    DeferFill();
}

void CVARN_CatalogPage::FillDeferred() {
    const QuietSelection quiet(m_ready);
    m_tree->clear();
    m_selNode = nullptr;
    SortedTreeBuilder builder;
    BuildTree(builder);
    builder.AddTo(m_tree);
    m_find->Apply();
}

void CVARN_CatalogPage::ShowNode(QTreeWidgetItem* node) {
    const QuietSelection quiet(m_ready);
    m_selNode = node;
    m_tree->setCurrentItem(node);
    if (node != nullptr)
        m_tree->scrollToItem(node);
}

void CVARN_CatalogPage::SetBold(QTreeWidgetItem* node) {
    static const QFont bold = [] {
        QFont font;
        font.setBold(true);
        return font;
    }();
    node->setFont(0, bold);
}

void CVARN_CatalogPage::OnTreeSelectionChanged() {
    if (!m_ready)
        return;
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    m_selNode = selected.isEmpty() ? nullptr : selected.front();
    OnNodeSelected();
}

void CVARN_CatalogPage::OnListRowSelected(int row) {
    if (!m_ready)
        return;
    if (row < 0) {
        // A click beside the rows clears Qt's selection; keep showing the record in view.
        MarkList();
        return;
    }
    m_selIndex = row;
    OnRowSelected();
}
