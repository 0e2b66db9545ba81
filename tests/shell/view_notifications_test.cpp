// The character view and its sheet: page order and binding, and the change notifications
// that reach every page of every view of a document, from the last tab to the first.
#include "shell/DocFixture.h"

#include "editor/Page.h"
#include "editor/Pages.h"
#include "shell/ChildFrame.h"
#include "shell/View.h"

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
        ForgetSize() { CVARN_ChildFrame::ForgetSizeForRun(); }
        ~ForgetSize() { CVARN_ChildFrame::ForgetSizeForRun(); }
    } forgetSize;
    QStringList log;
    int views = 0;
    docs->SetPageFactory([&](int tab) -> std::unique_ptr<CVARN_Page> {
        views += tab == 0 ? 1 : 0;
        return tab < 3 ? std::make_unique<CountingPage>(log, views, tab) : nullptr;
    });
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(log, (QStringList{"1:2:refresh", "1:1:refresh", "1:0:refresh"}));
    CVARN_View* view = ViewOf(doc);
    ASSERT_EQ(view, doc->Frames().front()->widget());
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->Sheet()->GetActivePageIndex(), 0);
    for (int tab = 0; tab < 3; ++tab) {
        CVARN_Page* page = view->Page(tab);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->IsInitialised());
        EXPECT_EQ(page->GetCharacter(), &doc->Character());
    }
    frame->OnWindowNew();

    // A view that has not had its first update hears nothing.
    CVARN_View unbound(doc, [&log](int tab) -> std::unique_ptr<CVARN_Page> {
        return tab == 0 ? std::make_unique<CountingPage>(log, 9, 0) : nullptr;
    });

    log.clear();
    doc->Character().Notify(HintLegend);
    EXPECT_EQ(
        log, (QStringList{"1:2:1008", "1:1:1008", "1:0:1008", "2:2:1008", "2:1:1008", "2:0:1008"}));

    // A change made on one window's page reaches all pages, its own included.
    log.clear();
    doc->Character().SetAttributePoints(70);
    EXPECT_EQ(log.size(), 6);
    EXPECT_TRUE(log.contains("2:0:1016"));

    // A closed window's pages hear no more.
    doc->Frames().back()->close();
    log.clear();
    doc->Character().Notify(HintRace);
    EXPECT_EQ(log, (QStringList{"1:2:1004", "1:1:1004", "1:0:1004"}));
}

TEST(ViewPages, TheSheetHasTheEightPagesInTabOrder) {
    CVARN_ChildFrame::ForgetSizeForRun();
    CVARN_View view(nullptr);
    QStringList captions;
    for (int tab = 0; tab < view.Sheet()->GetPageCount(); ++tab)
        captions.append(view.Sheet()->tabText(tab));
    EXPECT_EQ(captions, (QStringList{"Character", "Attributes", "Discipline", "Talents", "Skills",
                                     "Equipment", "Grimoire", "System"}));
    EXPECT_EQ(CreateCharacterPage(8), nullptr);
    EXPECT_EQ(view.Sheet()->windowTitle(), "VARN");

    // Every control of every page has a place of its own: none lies over another.
    view.resize(1000, 700);
    view.show();
    for (int tab = 0; tab < view.Sheet()->GetPageCount(); ++tab) {
        view.Sheet()->SetActivePage(tab);
        QCoreApplication::processEvents();
        QWidget* page = view.Page(tab);
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
