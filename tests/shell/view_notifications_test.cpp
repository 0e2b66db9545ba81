// The character view and its sheet: page order and binding, and the change notifications
// that reach every page of every view of a document, from the last tab to the first.
#include "shell/DocFixture.h"

#include "editor/Page.h"
#include "editor/Pages.h"
#include "shell/CharacterView.h"
#include "shell/CharacterWindow.h"

using namespace varn_test;

namespace {
// Writes what it hears to a log, as "view:tab:hint" (or "view:tab:refresh").
struct CountingPage : CVARN_Page {
    CountingPage(QStringList& log, int view, int tab)
        : CVARN_Page(QStringLiteral("Tab%1").arg(tab)), log(log),
          name(QStringLiteral("%1:%2:").arg(view).arg(tab)) {}
    void RefreshFromCharacter() override { log.append(name + "refresh"); }
    void OnCharacterUpdate(int hint, CVARN_CharEquip*) override {
        log.append(name + QString::number(hint));
    }
    QStringList& log;
    QString name;
};

} // namespace

TEST_F(DocFixture, BindingAndNotificationsReachEveryPageOfEveryViewFromTheLastTab) {
    // Three pages are enough to see the order; windows of three pages must not leave their
    // size to the rest of the run.
    struct ForgetSize {
        ForgetSize() { CharacterWindow::forgetSizeForRun(); }
        ~ForgetSize() { CharacterWindow::forgetSizeForRun(); }
    } forgetSize;
    QStringList log;
    int views = 0;
    docs->setPageFactory([&](int tab) -> std::unique_ptr<CVARN_Page> {
        views += tab == 0 ? 1 : 0;
        return tab < 3 ? std::make_unique<CountingPage>(log, views, tab) : nullptr;
    });
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(log, (QStringList{"1:2:refresh", "1:1:refresh", "1:0:refresh"}));
    CharacterView* view = ViewOf(doc);
    ASSERT_EQ(view, doc->windows().front()->widget());
    EXPECT_EQ(view->document(), doc);
    EXPECT_EQ(view->sheet()->GetActivePageIndex(), 0);
    for (int tab = 0; tab < 3; ++tab) {
        CVARN_Page* page = view->page(tab);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->IsInitialised());
        EXPECT_EQ(page->GetCharacter(), &doc->character());
    }
    frame->newWindow();

    // A view that has not had its first update hears nothing.
    CharacterView unbound(doc, [&log](int tab) -> std::unique_ptr<CVARN_Page> {
        return tab == 0 ? std::make_unique<CountingPage>(log, 9, 0) : nullptr;
    });

    log.clear();
    doc->character().Notify(HintLegend);
    EXPECT_EQ(
        log, (QStringList{"1:2:1008", "1:1:1008", "1:0:1008", "2:2:1008", "2:1:1008", "2:0:1008"}));

    // A change made on one window's page reaches all pages, its own included.
    log.clear();
    doc->character().SetAttributePoints(70);
    EXPECT_EQ(log.size(), 6);
    EXPECT_TRUE(log.contains("2:0:1016"));

    // A closed window's pages hear no more.
    doc->windows().back()->close();
    log.clear();
    doc->character().Notify(HintRace);
    EXPECT_EQ(log, (QStringList{"1:2:1004", "1:1:1004", "1:0:1004"}));
}

TEST(ViewPages, TheSheetHasTheEightPagesInTabOrder) {
    CharacterWindow::forgetSizeForRun();
    CharacterView view(nullptr);
    QStringList captions;
    for (int tab = 0; tab < view.sheet()->GetPageCount(); ++tab)
        captions.append(view.sheet()->tabText(tab));
    EXPECT_EQ(captions, (QStringList{"Character", "Attributes", "Discipline", "Talents", "Skills",
                                     "Equipment", "Grimoire", "System"}));
    EXPECT_EQ(CreateCharacterPage(8), nullptr);
    EXPECT_EQ(view.sheet()->windowTitle(), "VARN");

    // Every control of every page has a place of its own: none lies over another.
    view.resize(1000, 700);
    view.show();
    for (int tab = 0; tab < view.sheet()->GetPageCount(); ++tab) {
        view.sheet()->SetActivePage(tab);
        QCoreApplication::processEvents();
        QWidget* page = view.page(tab);
        QList<QWidget*> controls;
        for (QWidget* w : page->findChildren<QWidget*>())
            if (w->isVisibleTo(page) &&
                (qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                 qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                 qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w)))
                controls << w;
        const auto place = [page](QWidget* w) {
            return QRect(w->mapTo(page, QPoint()), w->size());
        };
        for (QWidget* a : controls)
            for (QWidget* b : controls)
                if (a < b && !a->isAncestorOf(b) && !b->isAncestorOf(a)) {
                    EXPECT_FALSE(place(a).intersects(place(b)))
                        << tab << ": " << a->metaObject()->className() << " "
                        << b->metaObject()->className();
                }
    }
}
