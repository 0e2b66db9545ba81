#pragma once

#include <QTabWidget>

class CMyTabCtrl;
class QScrollArea;

// A tabbed sheet of pages whose tab strip is a CMyTabCtrl. Each page sits in a frameless scroll
// area: the page fills the sheet when there is room, and scrolls when the sheet is made
// smaller than the page can be. The page functions below speak of the pages themselves.
class CMyPropertySheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CMyPropertySheet(QWidget* parent = nullptr);
    explicit CMyPropertySheet(const QString& caption, QWidget* parent = nullptr);

    // Appends a page under the given caption; returns its index. The sheet takes ownership.
    int AddPage(QWidget* page, const QString& caption);
    // Indexes outside the pages are ignored.
    void SetActivePage(int index);
    void SetActivePage(QWidget* page);
    int GetActivePageIndex() const;
    QWidget* GetActivePage() const;
    int GetPageCount() const;
    QWidget* GetPage(int index) const; // nullptr outside the pages
    // The scroll area around the page of a tab (nullptr outside the pages).
    QScrollArea* GetPageScroller(int index) const;
    int GetPageIndex(QWidget* page) const; // -1 if not a page of this sheet

    // Qt's tab bar has no rows of tabs. With stacked tabs on, the strip drops its scroll
    // arrows and shrinks the (equal) tabs, eliding captions, so that every tab stays in view.
    void EnableStackedTabs(bool enable);
    bool StackedTabsEnabled() const { return m_stacked; }

    CMyTabCtrl* GetTabControl() const;
    // The tab strip's rectangle in the sheet's coordinates.
    QRect GetTabControlRect() const;

signals:
    // A page became the active one (also when pages are added to an empty sheet).
    void PageActivated(int index);

private:
    void Init();
    bool m_stacked = false;
};
