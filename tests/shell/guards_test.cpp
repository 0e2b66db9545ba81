// What the user can see of the program's own windows, found by name as a user finds them.
#include "shell/AboutDlg.h"
#include "shell/DocFixture.h"

namespace {

// Whether every pixel of `w` is on the screen: shown, inside its window, not cut by a parent.
bool WhollyVisible(const QWidget* w) {
    return w->isVisible() && !w->rect().isEmpty() && w->visibleRegion() == QRegion(w->rect());
}

} // namespace

// Each tab of the About box shows its whole page: the page fills the room under the tabs and
// nothing on it is cut off, whichever tab is chosen first.
TEST(Guards, EveryPageOfTheAboutBoxIsShownWhole) {
    CVARN_AboutDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* tabs = dlg.findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    const QStringList named[] = {{"legalUpper", "legalLower"}, {"tipsPicture"}};
    QRect pageRect;
    for (int tab : {1, 0, 1}) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (const QString& name : named[tab]) {
            auto* w = dlg.findChild<QWidget*>(name);
            ASSERT_NE(w, nullptr) << name.toStdString();
            EXPECT_TRUE(WhollyVisible(w)) << name.toStdString() << " on tab " << tab;
        }
        // The page holding them: the same place and size for both tabs.
        QWidget* page = dlg.findChild<QWidget*>(named[tab].front());
        while (page->parentWidget()->parentWidget() != &dlg)
            page = page->parentWidget();
        EXPECT_TRUE(WhollyVisible(page)) << tab;
        EXPECT_GT(page->height(), dlg.height() / 2) << tab;
        if (pageRect.isNull())
            pageRect = page->geometry();
        EXPECT_EQ(page->geometry(), pageRect) << tab;
    }
}
