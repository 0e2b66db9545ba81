#pragma once

#include <QPointer>
#include <QTreeWidget>
#include <QWidget>

class CMyListCtrl;
class QAbstractItemView;

// Keeps the current row of a single-selection `view` (drawn with a focus frame, which many
// styles fill like a highlight) on its selected row: with nothing selected there is no current
// row either, and a row selected without becoming current becomes it. So no row looks marked
// that the page does not treat as selected. Installing it twice on a view does nothing more.
void KeepCurrentOnSelection(QAbstractItemView* view);

// The small pop-up that shows the whole text of a list cell that is cut off. It lets every
// mouse event through to the list below, so a click on the tip acts on the list.
class CTitleTip : public QWidget {
    Q_OBJECT
public:
    explicit CTitleTip(CMyListCtrl* list);

    // Shows `text` over `cellRect` (list viewport coordinates) starting at `textLeft`; does
    // nothing when the text fits in `availableWidth`. Returns whether the tip is shown.
    bool Show(const QRect& cellRect, int textLeft, int availableWidth, const QString& text);
    void Hide();
    // The cell (viewport coordinates of the list) the tip belongs to.
    QRect CellRect() const { return m_cell; }
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CMyListCtrl* m_list;
    QRect m_cell;
    QString m_text;
};

// Multi-column report list with single selection. Adds what the pages need on top of Qt's
// tree widget: byte-wise sorting by a column on a header click (so "10" sorts before "2"),
// title tips for cut-off cells, dimmed rows drawn in the grey text colour, and three ways of
// highlighting the selected row.
class CMyListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    enum Role {
        ItemDataRole = Qt::UserRole,  // quintptr, on column 0
        DimmedRole = Qt::UserRole + 1 // bool, on column 0
    };
    enum HighlightMode {
        HighlightLabel = 0, // the first column's text only
        HighlightAllColumns = 1,
        HighlightRow = 2 // the whole row, to the right edge of the list
    };

    explicit CMyListCtrl(QWidget* parent = nullptr);

    // Columns. Returns the new column's index, or -1.
    int InsertColumn(int col, const QString& heading, Qt::Alignment align = Qt::AlignLeft,
                     int width = -1);
    int GetColumnCount() const;
    void SetColumnWidth(int col, int width);
    // The column that takes the room the list gains when it grows (and gives it back, down to
    // the width it had when chosen), so long names show whole in a large window. The user
    // can still drag every column.
    void SetStretchColumn(int col);

    // Rows. DeleteAllItems also forgets the header's sort arrow: rows put back come in the
    // order they are inserted, not in the order the arrow would claim. InsertItem returns the index
    // the row really got: with SetSortOnInsert on it goes where the first column's order puts it;
    // -1 on failure.
    int InsertItem(int row, const QString& text);
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const;
    bool SetItemText(int row, int col, const QString& text);
    QString GetItemText(int row, int col) const;
    bool SetItemData(int row, quintptr data);
    quintptr GetItemData(int row) const;
    int FindItemByData(quintptr data) const; // -1 if no row carries it
    bool SetItemIcon(int row, const QIcon& icon);
    bool SetRowDimmed(int row, bool dimmed);
    bool IsRowDimmed(int row) const;
    QTreeWidgetItem* Row(int row) const;
    int RowOf(const QTreeWidgetItem* item) const;

    // Selection (single). SelectRow(-1) clears it.
    int GetSelectedRow() const;
    void SelectRow(int row);

    // New rows are placed in the order of their first column (ignoring case), like a list
    // created sorted.
    void SetSortOnInsert(bool on) { m_sortOnInsert = on; }

    // What a header click does: the same column again flips the direction, another column
    // sorts ascending.
    void SortByColumn(int col);
    // Sorts rows low..high (all rows for high = -1) by the bytes of their texts in `col`. Rows
    // move whole: texts, icon, data, dimmed state and selection. Returns false when the column
    // does not exist or there is nothing to sort.
    bool SortByColumnText(int col, bool ascending, int low = 0, int high = -1);
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }

    // Returns the previous mode; a mode above 2 is refused.
    int SetHighlightMode(int mode);
    int GetHighlightMode() const { return m_highlight; }
    // When off, a selected row is highlighted only while the list has the focus.
    void SetShowSelectionAlways(bool on);

    CTitleTip* TitleTip() const { return m_tip; }
    // Space kept on each side of a cell's text.
    int TextOffset() const;
    // Where the text of a cell is drawn (viewport coordinates); empty if there is no cell.
    QRect CellTextRect(int row, int col) const;
    QRect CellRect(int row, int col) const;
    // Shows the title tip for the cell under `pos` (viewport coordinates) if its text is cut
    // off; hides a tip that belongs to another cell. Returns whether a tip is shown.
    bool UpdateTitleTip(const QPoint& pos);

signals:
    // The selected row changed (-1: none).
    void SelectedRowChanged(int row);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnHeaderClicked(int section);
    int SortedInsertPosition(const QString& text) const;
    bool m_hasColumns = false;
    bool m_sortOnInsert = false;
    bool m_showSelectionAlways = true;
    int m_highlight = HighlightRow;
    int m_sortColumn = -1;
    int m_stretchColumn = -1;
    int m_stretchMinimum = 0;
    bool m_sortAscending = true;
    CTitleTip* m_tip = nullptr;
};
