// What the user can see of the program's own windows.
#include "editor/CharacterSheet.h"
#include "shell/AboutDialog.h"
#include "shell/CharacterWindow.h"
#include "shell/DocFixture.h"
#include "shell/SheetExport.h"
#include "support/ShownWhole.h"

using varn_test::ShownWhole;

// Each tab of the About box shows its whole page: the page fills the room under the tabs and
// nothing on it is cut off, whichever tab is chosen first.
TEST(Guards, EveryPageOfTheAboutBoxIsShownWhole) {
    AboutDialog dlg;
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
            EXPECT_TRUE(ShownWhole(w)) << name.toStdString() << " on tab " << tab;
        }
        // The page holding them: the same place and size for both tabs.
        QWidget* page = dlg.findChild<QWidget*>(named[tab].front());
        while (page->parentWidget()->parentWidget() != &dlg)
            page = page->parentWidget();
        EXPECT_TRUE(ShownWhole(page)) << tab;
        EXPECT_GT(page->height(), dlg.height() / 2) << tab;
        if (pageRect.isNull())
            pageRect = page->geometry();
        EXPECT_EQ(page->geometry(), pageRect) << tab;
    }
}

// Whatever kind of text field the user types in, the keys of one visit are one step of the
// history, and the next visit is the next step.
using varn_test::DocFixture;

// Every kind of export writes its file and says nothing, or writes nothing, answers false and
// says why.
TEST_F(DocFixture, EveryExportWritesOrSaysWhyNot) {
    CharacterDocument* doc = docs->openDocumentFile(varn_test::kVeteran);
    ASSERT_NE(doc, nullptr);
    const struct {
        ExportKind kind;
        const char* name;
    } kinds[] = {{ExportKind::Json, "v.json"},
                 {ExportKind::SheetHtml, "v.html"},
                 {ExportKind::SheetPdf, "v.pdf"}};
    for (const auto& k : kinds) {
        prompt->shown.clear();
        const QString bad = Scratch(QStringLiteral("no/such/dir/") + k.name);
        EXPECT_FALSE(ExportDocument(*doc, k.kind, bad)) << k.name;
        ASSERT_EQ(prompt->shown.size(), 1) << k.name;
        EXPECT_TRUE(prompt->shown[0].startsWith("warn: ")) << k.name;
        EXPECT_FALSE(QFileInfo::exists(bad)) << k.name;

        prompt->shown.clear();
        EXPECT_TRUE(ExportDocument(*doc, k.kind, Scratch(k.name))) << k.name;
        EXPECT_TRUE(prompt->shown.isEmpty()) << k.name;
        EXPECT_GT(QFileInfo(Scratch(k.name)).size(), 100) << k.name;
    }
    EXPECT_FALSE(doc->isModified());
}

// A size stored by an earlier run saves measuring a window whose pages are not built yet; a
// sheet whose pages are all built measures them, whatever was stored, and a sheet without a
// character measures its pages too.
TEST_F(DocFixture, AStoredSheetSizeIsTrustedOnlyWhenItSavesWork) {
    CharacterWindow::forgetSizeForRun();
    CharacterDocument* doc = docs->fileNew(); // measures and stores the size
    ASSERT_NE(doc, nullptr);
    CVARN_CharacterSheet* sheet = varn_test::ViewOf(doc)->sheet();
    const QSize natural = NaturalSheetSize(*sheet);
    const QSize stale = natural + QSize(300, 200);
    QSettings().setValue("CharacterSheet/size", stale);

    CharacterWindow::forgetSizeForRun();
    EXPECT_EQ(varn_test::ViewOf(docs->fileNew())->sheet()->SheetSizeForRun(), stale); // unbuilt

    CharacterWindow::forgetSizeForRun();
    EXPECT_EQ(sheet->SheetSizeForRun(), natural); // every page built

    CharacterWindow::forgetSizeForRun();
    CVARN_CharacterSheet unbound;
    unbound.CreatePages({});
    EXPECT_EQ(unbound.SheetSizeForRun(), NaturalSheetSize(unbound));
    CharacterWindow::forgetSizeForRun();
}
