#include "widgets/MyPropertySheet.h"

#include "widgets/MyTabCtrl.h"

#include <QScrollArea>

namespace {

// Asks for the whole page, where Qt's scroll area would cap its wish at a few dozen lines, so
// that the sheet's natural size stays the size of its largest page.
class PageScroller : public QScrollArea {
public:
    explicit PageScroller(QWidget* page, std::function<QWidget*()> make = {})
        : m_make(std::move(make)) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setFocusPolicy(Qt::NoFocus);
        if (page != nullptr)
            setWidget(page);
        viewport()->setAutoFillBackground(false);
    }
    // The page, built by its maker if it was not yet.
    QWidget* Page() {
        if (widget() == nullptr && m_make) {
            const auto make = std::move(m_make);
            m_make = nullptr;
            if (QWidget* page = make())
                setWidget(page);
        }
        return widget();
    }
    QSize sizeHint() const override {
        return widget() != nullptr ? widget()->sizeHint() : QScrollArea::sizeHint();
    }

private:
    std::function<QWidget*()> m_make;
};

} // namespace

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
        if (index < 0)
            return;
        GetPage(index);
        emit PageActivated(index);
    });
}

int CMyPropertySheet::AddPage(QWidget* page, const QString& caption) {
    if (page == nullptr)
        return -1;
    return addTab(new PageScroller(page), caption);
}

int CMyPropertySheet::AddPage(std::function<QWidget*()> make, const QString& caption) {
    if (!make)
        return -1;
    auto* scroller = new PageScroller(nullptr, std::move(make));
    const int index = addTab(scroller, caption);
    // The first tab of an empty sheet is shown at once.
    if (index == currentIndex())
        scroller->Page();
    return index;
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
    return GetPage(currentIndex());
}

int CMyPropertySheet::GetPageCount() const {
    return count();
}

QWidget* CMyPropertySheet::GetPage(int index) const {
    auto* scroller = dynamic_cast<PageScroller*>(GetPageScroller(index));
    return scroller != nullptr ? scroller->Page() : nullptr;
}

QWidget* CMyPropertySheet::GetBuiltPage(int index) const {
    QScrollArea* scroller = GetPageScroller(index);
    return scroller != nullptr ? scroller->widget() : nullptr;
}

QScrollArea* CMyPropertySheet::GetPageScroller(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return qobject_cast<QScrollArea*>(widget(index));
}

int CMyPropertySheet::GetPageIndex(QWidget* page) const {
    if (page == nullptr)
        return -1;
    for (int i = 0; i < count(); ++i)
        if (GetBuiltPage(i) == page)
            return i;
    return -1;
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
