#pragma once

#include <QTabWidget>

#include <functional>

class CMyTabCtrl;
class QScrollArea;

// A tabbed sheet of pages whose tab strip is a CMyTabCtrl. Each page sits in a frameless scroll
// area: the page fills the sheet when there is room, and scrolls when the sheet is made
// smaller than the page can be. The page functions below speak of the pages themselves. A
// page may be added as a maker, called the first time its tab is shown or its page asked for:
// a sheet of many pages opens at the cost of the one in view.
class CMyPropertySheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CMyPropertySheet(QWidget* parent = nullptr);
    explicit CMyPropertySheet(const QString& caption, QWidget* parent = nullptr);

    // Appends a page under the given caption; returns its index. The sheet takes ownership.
    int AddPage(QWidget* page, const QString& caption);
    // Appends a tab whose page `make` builds when first needed; returns its index.
    int AddPage(std::function<QWidget*()> make, const QString& caption);
    // Indexes outside the pages are ignored.
    void SetActivePage(int index);
    void SetActivePage(QWidget* page);
    int GetActivePageIndex() const;
    QWidget* GetActivePage() const;
    int GetPageCount() const;
    QWidget* GetPage(int index) const; // nullptr outside the pages; builds a page not built yet
    QWidget* GetBuiltPage(int index) const; // nullptr as well for a page not built yet
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
