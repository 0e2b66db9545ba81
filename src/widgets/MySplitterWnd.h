#pragma once

#include <QSplitter>
#include <QSplitterHandle>

// A splitter whose bar cannot be dragged: the print window gives its options pane the width
// that pane needs. A double click on the bar hides the first column (down to its minimum
// width) and a second one brings it back at the width it had.
class CMySplitterWnd : public QSplitter {
    Q_OBJECT
public:
    explicit CMySplitterWnd(QWidget* parent = nullptr);

    // Width of the first column and the smallest width it may be given.
    void SetFirstColumnInfo(int ideal, int minimum);
    int FirstColumnWidth() const;
    int FirstColumnMinimum() const { return m_minimum; }
    // The double-click toggle: collapse to the minimum, or restore the remembered width.
    void ToggleFirstColumn();

protected:
    QSplitterHandle* createHandle() override;

private:
    void ApplyFirstColumnWidth(int width);

    int m_minimum = 0;
    int m_remembered = 0;
};

// The bar between the columns: ignores the mouse except for the double click.
class CMySplitterHandle : public QSplitterHandle {
    Q_OBJECT
public:
    CMySplitterHandle(Qt::Orientation orientation, CMySplitterWnd* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
