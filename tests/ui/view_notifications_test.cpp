// The character view and its sheet: page order and binding, and the change notifications
// that reach every page of every view of a document, from the last tab to the first.
#include "doc_fixture.h"

#include "editor/Page.h"
#include "editor/Pages.h"
#include "ui/ChildFrame.h"
#include "ui/View.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace varn_test;

namespace {
// Writes what it hears to a log, as "view:tab:hint" (or "view:tab:refresh").
class CountingPage : public CVARN_Page {
public:
    CountingPage(QStringList& log, int view, int tab)
        : CVARN_Page(QStringLiteral("Tab%1").arg(tab)), m_log(log),
          m_name(QStringLiteral("%1:%2:").arg(view).arg(tab)) {}

    void RefreshFromCharacter() override { m_log.append(m_name + "refresh"); }
    void OnCharacterUpdate(CVARN_View*, int hint, CVARN_CharEquip*) override {
        m_log.append(m_name + QString::number(hint));
    }

private:
    QStringList& m_log;
    QString m_name;
};

class ViewFixture : public DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        CVARN_ChildFrame::ForgetSizeForRun();
        docs->Template()->SetPageFactory([this](int tab) -> std::unique_ptr<CVARN_Page> {
            if (tab == 0)
                ++views;
            if (tab >= 3)
                return nullptr; // three pages are enough to see the order
            return std::make_unique<CountingPage>(log, views, tab);
        });
    }
    void TearDown() override {
        DocFixture::TearDown();
        CVARN_ChildFrame::ForgetSizeForRun();
    }
    QStringList log;
    int views = 0;
};
} // namespace

TEST_F(ViewFixture, BindingRefreshesEveryPageFromTheLastTabAndShowsTheFirst) {
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(log, (QStringList{"1:2:refresh", "1:1:refresh", "1:0:refresh"}));
    auto* view = qobject_cast<CVARN_View*>(doc->Frames().front()->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->Sheet()->GetActivePageIndex(), 0);
    for (int tab = 0; tab < 3; ++tab) {
        CVARN_Page* page = view->Page(tab);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->IsInitialised());
        EXPECT_EQ(page->GetCharacter(), &doc->Character());
        EXPECT_EQ(page->GetView(), view);
    }
}

TEST_F(ViewFixture, NotificationsReachEveryPageOfEveryViewFromTheLastTab) {
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    frame->OnWindowNew();
    ASSERT_EQ(doc->Frames().size(), 2);

    // A view that has not had its first update hears nothing.
    CVARN_View unbound(doc, [this](int tab) -> std::unique_ptr<CVARN_Page> {
        return tab == 0 ? std::make_unique<CountingPage>(log, 9, 0) : nullptr;
    });

    log.clear();
    doc->Character().Notify(HintLegend);
    EXPECT_EQ(
        log, (QStringList{"1:2:1008", "1:1:1008", "1:0:1008", "2:2:1008", "2:1:1008", "2:0:1008"}));

    // A page's own change goes through the document to all pages, its own included.
    log.clear();
    auto* second = qobject_cast<CVARN_View*>(doc->Frames().back()->widget());
    ASSERT_NE(second, nullptr);
    doc->UpdateAllViews(second, HintAttributePoints);
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
