#include "ui/MyPropertySheet.h"

#include "ui/MyTabCtrl.h"

CMyPropertySheet::CMyPropertySheet(QWidget* parent) : QTabWidget(parent) {
    Init();
}

CMyPropertySheet::CMyPropertySheet(const QString& caption, QWidget* parent) : QTabWidget(parent) {
    setWindowTitle(caption);
    Init();
}

void CMyPropertySheet::Init() {
    setTabBar(new CMyTabCtrl(this));
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            emit PageActivated(index);
    });
}

int CMyPropertySheet::AddPage(QWidget* page, const QString& caption) {
    if (page == nullptr)
        return -1;
    return addTab(page, caption);
}

void CMyPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= count())
        return;
    setCurrentIndex(index);
}

void CMyPropertySheet::SetActivePage(QWidget* page) {
    SetActivePage(GetPageIndex(page));
}

int CMyPropertySheet::GetActivePageIndex() const {
    return currentIndex();
}

QWidget* CMyPropertySheet::GetActivePage() const {
    return currentWidget();
}

int CMyPropertySheet::GetPageCount() const {
    return count();
}

QWidget* CMyPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return widget(index);
}

int CMyPropertySheet::GetPageIndex(QWidget* page) const {
    return page == nullptr ? -1 : indexOf(page);
}

void CMyPropertySheet::EnableStackedTabs(bool enable) {
    m_stacked = enable;
    setUsesScrollButtons(!enable);
    setElideMode(enable ? Qt::ElideRight : Qt::ElideNone);
}

CMyTabCtrl* CMyPropertySheet::GetTabControl() const {
    return static_cast<CMyTabCtrl*>(tabBar());
}

QRect CMyPropertySheet::GetTabControlRect() const {
    return tabBar()->geometry();
}
