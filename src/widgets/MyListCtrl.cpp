#include "widgets/MyListCtrl.h"

#include "widgets/QtText.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include <algorithm>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// The current row follows the selection

namespace {

class CurrentKeeper : public QObject {
public:
    explicit CurrentKeeper(QAbstractItemView* view) : QObject(view), m_view(view) {
        QItemSelectionModel* model = view->selectionModel();
        connect(model, &QItemSelectionModel::selectionChanged, this, &CurrentKeeper::Agree);
        connect(model, &QItemSelectionModel::currentChanged, this, &CurrentKeeper::Agree);
    }

private:
    void Agree() {
        QItemSelectionModel* model = m_view->selectionModel();
        if (m_busy || model == nullptr)
            return;
        const QModelIndexList selected = model->selectedIndexes();
        const QModelIndex wanted = selected.isEmpty() ? QModelIndex() : selected.front();
        const QModelIndex current = model->currentIndex();
        if (wanted.isValid() ? current.isValid() && current.row() == wanted.row() &&
                                   current.parent() == wanted.parent()
                             : !current.isValid())
            return;
        m_busy = true;
        model->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
        m_busy = false;
    }

    QAbstractItemView* m_view;
    bool m_busy = false;
};

} // namespace

void KeepCurrentOnSelection(QAbstractItemView* view) {
    if (view == nullptr || view->selectionModel() == nullptr ||
        view->property("varnCurrentKept").toBool())
        return;
    view->setProperty("varnCurrentKept", true);
    new CurrentKeeper(view);
}

// ---------------------------------------------------------------------------------------------
// CTitleTip

CTitleTip::CTitleTip(CMyListCtrl* list)
    : QWidget(list, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                        Qt::WindowDoesNotAcceptFocus),
      m_list(list) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setPalette(QToolTip::palette());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
}

bool CTitleTip::Show(const QRect& cellRect, int textLeft, int availableWidth, const QString& text) {
    if (isVisible())
        return true;
    setFont(m_list->font());
    const int textWidth = fontMetrics().horizontalAdvance(text);
    if (textWidth <= availableWidth)
        return false;
    m_cell = cellRect;
    m_text = text;
    // One pixel of border on each side keeps the tip's text exactly over the cell's text.
    const QPoint topLeft = m_list->viewport()->mapToGlobal(QPoint(textLeft - 1, cellRect.top()));
    setGeometry(QRect(topLeft, QSize(textWidth + 4, cellRect.height())));
    show(); // a tool tip window stays on top by itself
    return true;
}

void CTitleTip::Hide() {
    if (isVisible())
        hide();
    m_cell = QRect();
    m_text.clear();
}

void CTitleTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect().adjusted(1, 0, -1, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

// ---------------------------------------------------------------------------------------------
// CMyListCtrl

CMyListCtrl::CMyListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    headerItem()->setText(0, QString());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    m_tip = new CTitleTip(this);
    KeepCurrentOnSelection(this);

    connect(header(), &QHeaderView::sectionClicked, this, &CMyListCtrl::OnHeaderClicked);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        // The highlight may reach past the last column, which Qt does not repaint itself.
        viewport()->update();
        emit SelectedRowChanged(GetSelectedRow());
    });
    connect(this, &QTreeWidget::currentItemChanged, viewport(), qOverload<>(&QWidget::update));
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    m_tip->Hide();
            });
}

// Columns --------------------------------------------------------------------------------------

int CMyListCtrl::GetColumnCount() const {
    // A new list has Qt's one unnamed column, which is not a column of ours until named.
    return m_hasColumns ? columnCount() : 0;
}

int CMyListCtrl::InsertColumn(int col, const QString& heading, Qt::Alignment align, int width) {
    if (col < 0)
        return -1;
    const int count = GetColumnCount();
    col = std::min(col, count);
    if (count > 0) {
        setColumnCount(count + 1);
        // Shift the texts right of the new column; row data stays on column 0.
        auto shift = [&](QTreeWidgetItem* item) {
            for (int c = count; c > col; --c) {
                item->setText(c, item->text(c - 1));
                item->setTextAlignment(c, Qt::Alignment(item->textAlignment(c - 1)));
            }
            item->setText(col, QString());
        };
        shift(headerItem());
        for (int r = 0; r < topLevelItemCount(); ++r)
            shift(topLevelItem(r));
    }
    headerItem()->setText(col, heading);
    headerItem()->setTextAlignment(col, (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    m_hasColumns = true;
    for (int r = 0; r < topLevelItemCount(); ++r)
        topLevelItem(r)->setTextAlignment(col, align | Qt::AlignVCenter);
    if (width >= 0)
        header()->resizeSection(col, width);
    return col;
}

void CMyListCtrl::SetColumnWidth(int col, int width) {
    if (col >= 0 && col < columnCount() && width >= 0)
        header()->resizeSection(col, width);
}

void CMyListCtrl::SetStretchColumn(int col) {
    if (col < 0 || col >= columnCount())
        return;
    m_stretchColumn = col;
    m_stretchMinimum = header()->sectionSize(col);
}

void CMyListCtrl::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    if (m_stretchColumn < 0 || m_stretchColumn >= columnCount())
        return;
    int others = 0;
    for (int c = 0; c < columnCount(); ++c)
        if (c != m_stretchColumn && !header()->isSectionHidden(c))
            others += header()->sectionSize(c);
    header()->resizeSection(m_stretchColumn,
                            std::max(m_stretchMinimum, viewport()->width() - others));
}

// Rows -----------------------------------------------------------------------------------------

QTreeWidgetItem* CMyListCtrl::Row(int row) const {
    if (row < 0 || row >= topLevelItemCount())
        return nullptr;
    return topLevelItem(row);
}

int CMyListCtrl::RowOf(const QTreeWidgetItem* item) const {
    return item == nullptr ? -1 : indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

int CMyListCtrl::GetItemCount() const {
    return topLevelItemCount();
}

int CMyListCtrl::SortedInsertPosition(const QString& text) const {
    int row = 0;
    const int count = topLevelItemCount();
    while (row < count &&
           QString::compare(topLevelItem(row)->text(0), text, Qt::CaseInsensitive) <= 0)
        ++row;
    return row;
}

int CMyListCtrl::InsertItem(int row, const QString& text) {
    if (row < 0)
        return -1;
    row = m_sortOnInsert ? SortedInsertPosition(text) : std::min(row, topLevelItemCount());
    auto* item = new QTreeWidgetItem();
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setText(0, text);
    for (int c = 0; c < columnCount(); ++c)
        item->setTextAlignment(c, Qt::Alignment(headerItem()->textAlignment(c)));
    insertTopLevelItem(row, item);
    return row;
}

bool CMyListCtrl::DeleteItem(int row) {
    if (row < 0 || row >= topLevelItemCount())
        return false;
    m_tip->Hide();
    delete takeTopLevelItem(row);
    return true;
}

void CMyListCtrl::DeleteAllItems() {
    m_tip->Hide();
    clear();
    m_sortColumn = -1;
    m_sortAscending = true;
    header()->setSortIndicatorShown(false);
}

bool CMyListCtrl::SetItemText(int row, int col, const QString& text) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr || col < 0 || col >= columnCount())
        return false;
    item->setText(col, text);
    return true;
}

QString CMyListCtrl::GetItemText(int row, int col) const {
    const QTreeWidgetItem* item = Row(row);
    if (item == nullptr || col < 0 || col >= columnCount())
        return QString();
    return item->text(col);
}

bool CMyListCtrl::SetItemData(int row, quintptr data) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr)
        return false;
    item->setData(0, ItemDataRole, QVariant::fromValue<quintptr>(data));
    return true;
}

quintptr CMyListCtrl::GetItemData(int row) const {
    const QTreeWidgetItem* item = Row(row);
    return item == nullptr ? 0 : item->data(0, ItemDataRole).value<quintptr>();
}

int CMyListCtrl::FindItemByData(quintptr data) const {
    for (int r = 0; r < topLevelItemCount(); ++r) {
        if (topLevelItem(r)->data(0, ItemDataRole).value<quintptr>() == data)
            return r;
    }
    return -1;
}

bool CMyListCtrl::SetItemIcon(int row, const QIcon& icon) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr)
        return false;
    item->setIcon(0, icon);
    return true;
}

bool CMyListCtrl::SetRowDimmed(int row, bool dimmed) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr)
        return false;
    item->setData(0, DimmedRole, dimmed);
    return true;
}

bool CMyListCtrl::IsRowDimmed(int row) const {
    const QTreeWidgetItem* item = Row(row);
    return item != nullptr && item->data(0, DimmedRole).toBool();
}

// Selection ------------------------------------------------------------------------------------

int CMyListCtrl::GetSelectedRow() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : RowOf(items.first());
}

void CMyListCtrl::SelectRow(int row) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr) {
        clearSelection();
        return;
    }
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void CMyListCtrl::SetShowSelectionAlways(bool on) {
    m_showSelectionAlways = on;
    viewport()->update();
}

// Sorting --------------------------------------------------------------------------------------

void CMyListCtrl::OnHeaderClicked(int section) {
    SortByColumn(section);
}

void CMyListCtrl::SortByColumn(int col) {
    if (col < 0 || col >= GetColumnCount())
        return;
    m_sortAscending = col == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = col;
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(col, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    SortByColumnText(m_sortColumn, m_sortAscending);
}

bool CMyListCtrl::SortByColumnText(int col, bool ascending, int low, int high) {
    const int count = topLevelItemCount();
    if (col < 0 || col >= GetColumnCount())
        return false;
    if (high == -1 || high >= count)
        high = count - 1;
    low = std::max(low, 0);
    if (high <= low)
        return false;

    m_tip->Hide();
    QTreeWidgetItem* selected = Row(GetSelectedRow());
    QTreeWidgetItem* current = currentItem();
    const int selectedRowBefore = GetSelectedRow();

    struct Entry {
        std::string key;
        QTreeWidgetItem* item;
    };
    std::vector<Entry> rows;
    rows.reserve(static_cast<size_t>(high - low + 1));
    {
        // Taking rows out moves the selection through states the pages must not see.
        const QSignalBlocker blocker(this);
        for (int r = low; r <= high; ++r) {
            QTreeWidgetItem* item = takeTopLevelItem(low);
            rows.push_back({ToCore(item->text(col)), item});
        }
        // Byte order of UTF-8 is code point order, and std::string compares bytes unsigned:
        // case-sensitive, and "10" before "2". A stable sort keeps rows with equal texts in
        // their order.
        std::stable_sort(rows.begin(), rows.end(), [ascending](const Entry& a, const Entry& b) {
            return ascending ? a.key < b.key : b.key < a.key;
        });
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(rows.size()));
        for (const Entry& e : rows)
            items.append(e.item);
        insertTopLevelItems(low, items);

        if (current != nullptr)
            selectionModel()->setCurrentIndex(indexFromItem(current),
                                              QItemSelectionModel::NoUpdate);
        if (selected != nullptr)
            selected->setSelected(true);
    }
    viewport()->update();
    const int selectedRowAfter = GetSelectedRow();
    if (selectedRowAfter != selectedRowBefore)
        emit SelectedRowChanged(selectedRowAfter);
    return true;
}

// Highlight and drawing ------------------------------------------------------------------------

int CMyListCtrl::SetHighlightMode(int mode) {
    const int previous = m_highlight;
    if (mode < 0 || mode > HighlightRow)
        return previous;
    m_highlight = mode;
    viewport()->update();
    return previous;
}

int CMyListCtrl::TextOffset() const {
    return 2 * fontMetrics().horizontalAdvance(QChar(' '));
}

QRect CMyListCtrl::CellRect(int row, int col) const {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr || col < 0 || col >= columnCount())
        return QRect();
    return visualRect(indexFromItem(item, col));
}

namespace {
int IconWidth(const QTreeWidgetItem* item, const QTreeWidget* tree) {
    if (item->icon(0).isNull())
        return 0;
    QSize size = tree->iconSize();
    if (!size.isValid()) {
        const int metric = tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree);
        size = QSize(metric, metric);
    }
    return size.width() + 4;
}
} // namespace

QRect CMyListCtrl::CellTextRect(int row, int col) const {
    const QRect cell = CellRect(row, col);
    if (!cell.isValid())
        return QRect();
    const int offset = TextOffset();
    if (col == 0) {
        QRect label = cell;
        label.setLeft(label.left() + IconWidth(Row(row), this));
        return label.adjusted(offset / 2, 0, -offset, 0);
    }
    return cell.adjusted(offset, 0, -offset, 0);
}

void CMyListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const QTreeWidgetItem* item = itemFromIndex(index);
    if (item == nullptr)
        return;
    const int row = RowOf(item);
    const int columns = columnCount();
    const int offset = TextOffset();
    const QFontMetrics metrics(option.font);
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QPalette& pal = palette();

    const bool highlighted = item->isSelected() && (hasFocus() || m_showSelectionAlways);
    const bool dimmed = item->data(0, DimmedRole).toBool();

    const QRect cell0 = visualRect(indexFromItem(const_cast<QTreeWidgetItem*>(item), 0));
    const int iconWidth = IconWidth(item, this);
    QRect label = cell0;
    label.setLeft(cell0.left() + iconWidth);
    QRect bounds = option.rect;
    bounds.setLeft(header()->sectionViewportPosition(header()->logicalIndex(0)));
    bounds.setRight(header()->sectionViewportPosition(header()->logicalIndex(columns - 1)) +
                    header()->sectionSize(header()->logicalIndex(columns - 1)) - 1);

    QRect highlight;
    switch (m_highlight) {
    case HighlightLabel:
        highlight = label;
        highlight.setWidth(
            std::min(label.width(), metrics.horizontalAdvance(item->text(0)) + offset));
        break;
    case HighlightAllColumns:
        highlight = QRect(QPoint(label.left(), bounds.top()), bounds.bottomRight());
        break;
    default:
        highlight = QRect(QPoint(label.left(), bounds.top()),
                          QPoint(viewport()->width() - 1, bounds.bottom()));
        break;
    }

    QColor text;
    if (highlighted) {
        text = pal.color(group, QPalette::HighlightedText);
        painter->fillRect(highlight, pal.color(group, QPalette::Highlight));
    } else {
        text = dimmed ? pal.color(QPalette::Disabled, QPalette::Text)
                      : pal.color(group, QPalette::Text);
        painter->fillRect(highlight, pal.color(group, QPalette::Base));
    }

    painter->save();
    painter->setFont(option.font);
    if (iconWidth > 0) {
        const int size = iconWidth - 4;
        const QRect iconRect(cell0.left() + 2, cell0.top() + (cell0.height() - size) / 2, size,
                             size);
        painter->save();
        painter->setClipRect(cell0);
        item->icon(0).paint(painter, iconRect, Qt::AlignCenter,
                            highlighted ? QIcon::Selected : QIcon::Normal);
        painter->restore();
    }

    const QRect textRect0 = label.adjusted(offset / 2, 0, -offset, 0);
    painter->setPen(text);
    painter->drawText(
        textRect0, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        metrics.elidedText(item->text(0), Qt::ElideRight, std::max(textRect0.width(), 0)));

    if (m_highlight == HighlightLabel) {
        // Only the first column is highlighted; the others are drawn as plain text.
        painter->setPen(pal.color(group, QPalette::Text));
    }
    for (int visual = 0; visual < columns; ++visual) {
        const int col = header()->logicalIndex(visual);
        if (col == 0 || header()->isSectionHidden(col))
            continue;
        const QRect cell(header()->sectionViewportPosition(col), bounds.top(),
                         header()->sectionSize(col), bounds.height());
        if (m_highlight == HighlightLabel)
            painter->fillRect(cell, pal.color(group, QPalette::Base));
        const QString cellText = item->text(col);
        if (cellText.isEmpty())
            continue;
        const QRect textRect = cell.adjusted(offset, 0, -offset, 0);
        if (textRect.width() <= 0)
            continue;
        const Qt::Alignment align =
            (Qt::Alignment(headerItem()->textAlignment(col)) & Qt::AlignHorizontal_Mask) |
            Qt::AlignVCenter;
        painter->setClipRect(cell);
        painter->drawText(textRect, align | Qt::TextSingleLine,
                          metrics.elidedText(cellText, Qt::ElideRight, textRect.width()));
        painter->setClipping(false);
    }
    painter->restore();

    if (row >= 0 && item == currentItem() && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = highlight;
        focus.backgroundColor =
            pal.color(group, highlighted ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
}

// Title tips and input -------------------------------------------------------------------------

bool CMyListCtrl::UpdateTitleTip(const QPoint& pos) {
    if (m_tip->isVisible()) {
        if (m_tip->CellRect().adjusted(-1, -1, 1, 1).contains(pos))
            return true;
        m_tip->Hide();
    }
    if (QApplication::activeWindow() == nullptr)
        return false;
    if (pos.x() < 0 || pos.x() >= viewport()->width())
        return false;
    QTreeWidgetItem* item = itemAt(pos);
    const int col = header()->logicalIndexAt(pos.x());
    if (item == nullptr || col < 0)
        return false;
    const int row = RowOf(item);
    QRect cell = CellRect(row, col);
    cell.setRight(std::min(cell.right(), viewport()->width() - 1));
    const QRect textRect = CellTextRect(row, col);
    const int available = std::min(textRect.right(), viewport()->width() - 1) - textRect.left() + 1;
    const QString text = item->text(col);
    if (text.isEmpty())
        return false;
    return m_tip->Show(cell, textRect.left(), available, text);
}

void CMyListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton &&
        !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        UpdateTitleTip(event->position().toPoint());
    else
        m_tip->Hide();
    QTreeWidget::mouseMoveEvent(event);
}

void CMyListCtrl::mousePressEvent(QMouseEvent* event) {
    m_tip->Hide();
    QTreeWidget::mousePressEvent(event);
}

void CMyListCtrl::keyPressEvent(QKeyEvent* event) {
    m_tip->Hide();
    QTreeWidget::keyPressEvent(event);
}

void CMyListCtrl::leaveEvent(QEvent* event) {
    m_tip->Hide();
    QTreeWidget::leaveEvent(event);
}

void CMyListCtrl::focusOutEvent(QFocusEvent* event) {
    m_tip->Hide();
    QTreeWidget::focusOutEvent(event);
    viewport()->update();
}

void CMyListCtrl::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    viewport()->update();
}

void CMyListCtrl::hideEvent(QHideEvent* event) {
    m_tip->Hide();
    QTreeWidget::hideEvent(event);
}

void CMyListCtrl::wheelEvent(QWheelEvent* event) {
    m_tip->Hide();
    QTreeWidget::wheelEvent(event);
}

void CMyListCtrl::scrollContentsBy(int dx, int dy) {
    m_tip->Hide();
    QTreeWidget::scrollContentsBy(dx, dy);
}
