// What a new user ran into: shortcuts in the print window, a print window that keeps an old
// character, replacements chosen on opening, the main window's title, undo that hides where it
// acts, windows larger than the area, names for screen readers and the user's data folder.
#include "app/AppCore.h"
#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "shell/ChildFrame.h"
#include "shell/DataFolder.h"
#include "shell/DocFixture.h"
#include "shell/PrintingPageOptions.h"
#include "shell/PrintingSplitFrame.h"
#include "shell/PrintingViewOptions.h"
#include "shell/PrintingViewText.h"
#include "shell/SheetPreview.h"
#include "support/Controls.h"
#include "widgets/MyPropertySheet.h"

#include <QAccessible>

using namespace varn_test;
using Command = CVARN_MainFrame::Command;

namespace {
class Walkthrough : public DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        docs->SetPrintWindowOpener(&CVARN_PrintingSplitFrame::Open);
    }

    CVARN_Doc* OpenVeteran() {
        CVARN_Doc* doc = docs->OpenDocumentFile(kVeteran);
        EXPECT_NE(doc, nullptr);
        return doc;
    }
    // Types into the name field as the user would; the step is recorded at once.
    void TypeName(CVARN_Doc* doc, const QString& text) {
        QLineEdit* name = Control<QLineEdit>(PageOf<CVARN_PageCharacter>(doc, 0), "nameEdit");
        name->setFocus();
        QTest::keyClicks(name, text);
        doc->RecordPendingStep();
    }
    CVARN_PrintingSplitFrame* Print(CVARN_Doc* doc) {
        frame->MdiArea()->setActiveSubWindow(doc->Frames().front());
        frame->Action(Command::Print)->trigger();
        return frame->MdiArea()->findChild<CVARN_PrintingSplitFrame*>();
    }
    static QImage FirstPreviewPage(CVARN_PrintingSplitFrame* print) {
        const QList<QLabel*> pages = print->SheetView()->findChildren<QLabel*>();
        return pages.isEmpty() ? QImage() : pages.front()->pixmap().toImage();
    }
};
} // namespace

// In the print window Undo and Redo act on its text, never on the character hidden behind
// it, even when the text does not have the focus (after the Edit menu was opened and closed).
TEST_F(Walkthrough, UndoInThePrintWindowActsOnItsText) {
    CVARN_Doc* doc = OpenVeteran();
    TypeName(doc, "x");
    const std::string renamed = doc->Character().name;
    CVARN_PrintingSplitFrame* print = Print(doc);
    ASSERT_NE(print, nullptr);
    print->OptionsView()->OptionsPage()->TextSheetChoice()->click();
    CVARN_PrintingViewText* text = print->TextView();
    const QString before = text->toPlainText();
    text->setFocus();
    QTest::keyClicks(text, "Q");
    ASSERT_NE(text->toPlainText(), before);
    frame->menuBar()->setFocus();
    ASSERT_TRUE(frame->UndoAction()->isEnabled());
    frame->UndoAction()->trigger();
    EXPECT_EQ(text->toPlainText(), before);
    EXPECT_EQ(doc->Character().name, renamed);
    EXPECT_EQ(doc->UndoStack().index(), 1);
    // On the laid-out sheet there is nothing to undo.
    print->OptionsView()->OptionsPage()->CharacterSheetChoice()->click();
    EXPECT_FALSE(frame->UndoAction()->isEnabled());
}

// The preview and the text follow the character; text the user edited stays, and the window
// says it shows an earlier state until Refresh makes it anew.
TEST_F(Walkthrough, ThePrintWindowFollowsTheCharacter) {
    CVARN_Doc* doc = OpenVeteran();
    CVARN_PrintingSplitFrame* print = Print(doc);
    ASSERT_NE(print, nullptr);
    const QImage preview = FirstPreviewPage(print);
    doc->Character().name = "Odrin Vale";
    doc->Character().SetModified();
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->TextView()->toPlainText().contains("Odrin Vale"));
    EXPECT_NE(FirstPreviewPage(print), preview);
    EXPECT_FALSE(print->TextIsStale());

    QTest::keyClicks(print->TextView(), "My notes ");
    doc->Undo();
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->TextIsStale());
    EXPECT_TRUE(print->TextView()->toPlainText().contains("My notes"));
    print->RefreshButton()->click();
    EXPECT_FALSE(print->TextIsStale());
    EXPECT_FALSE(print->TextView()->toPlainText().contains("My notes"));
    EXPECT_FALSE(print->TextView()->toPlainText().contains("Odrin Vale"));
}

// A replacement chosen for unknown equipment is a change: the document is modified and Close
// asks. Unknown miscellaneous goods are reported, not offered for a search that finds nothing.
TEST_F(Walkthrough, AReplacementChosenOnOpeningMarksTheDocument) {
    QByteArray bytes = ReadAll(kVeteran);
    bytes.replace("Padded Jerkin", "Padded Jorkin");
    bytes.replace("Bedroll", "Bedrolx");
    const QString path = Scratch("lost.vrn");
    ASSERT_TRUE(WriteAll(path, bytes));
    prompt->confirmAnswer = true;
    prompt->replacement = ShippedRules().equipmentDatabase.armors.at(0).get();
    CVARN_Doc* doc = docs->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(prompt->shown, (QStringList{"confirm: Unknown object Padded Jorkin\nDo you want to "
                                          "search it in database?",
                                          "select item", "inform: Unknown object Bedrolx"}));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(frame->isWindowModified());
    prompt->shown.clear();
    frame->Action(Command::Close)->trigger();
    EXPECT_EQ(prompt->shown, QStringList{"save?: lost.vrn"});
}

// The title names the active document once, with its mark, whatever is maximised and
// whichever window is active.
TEST_F(Walkthrough, TheTitleFollowsTheActiveDocument) {
    CVARN_Doc* doc = OpenVeteran();
    QMdiSubWindow* window = doc->Frames().front();
    EXPECT_EQ(frame->windowTitle(), "VARN - veteran.vrn[*]");
    EXPECT_FALSE(frame->isWindowModified());
    TypeName(doc, "y");
    EXPECT_TRUE(frame->isWindowModified());
    window->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "VARN - veteran.vrn[*]");
    window->showNormal();
    ASSERT_NE(Print(doc), nullptr);
    EXPECT_EQ(frame->windowTitle(), "VARN - veteran.vrn[*] - Printing...");
    CVARN_Doc* other = docs->OnFileNew();
    frame->MdiArea()->setActiveSubWindow(other->Frames().front());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "VARN - VARN1[*]");
    EXPECT_FALSE(frame->isWindowModified());
}

// Undo and redo bring the page of the change to the front; Exit's question about a character
// brings its window to the front.
TEST_F(Walkthrough, UndoShowsItsPageAndExitShowsTheWindowItAsksAbout) {
    CVARN_Doc* doc = OpenVeteran();
    CVARN_View* view = ViewOf(doc);
    auto* attributes = PageOf<CVARN_PageAttributes>(doc, 1);
    QSpinBox* strength = Control<QSpinBox>(attributes, "baseSpin", AttStrength);
    strength->setFocus();
    strength->stepUp();
    doc->RecordPendingStep();
    TypeName(doc, "z");
    for (int page : {0, 1}) {
        view->Sheet()->SetActivePage(5);
        frame->UndoAction()->trigger();
        EXPECT_EQ(view->Sheet()->GetActivePageIndex(), page);
    }
    view->Sheet()->SetActivePage(7);
    frame->RedoAction()->trigger();
    EXPECT_EQ(view->Sheet()->GetActivePageIndex(), 1);

    CVARN_Doc* other = docs->OnFileNew();
    frame->MdiArea()->setActiveSubWindow(other->Frames().front());
    prompt->saveAnswers = {CVARN_QtPrompt::SaveAnswer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompt->shown, QStringList{"save?: veteran.vrn"});
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), doc->Frames().front());
}

// A character window never reaches past the area, also when the area shrinks (as at start-up,
// where the first window is sized before the main window is shown).
TEST_F(Walkthrough, WindowsFitTheArea) {
    CVARN_Doc* doc = OpenVeteran();
    QMdiSubWindow* window = doc->Frames().front();
    for (const QSize size : {QSize(700, 500), QSize(500, 420)}) {
        frame->resize(size);
        QCoreApplication::processEvents();
        const QRect room = frame->MdiArea()->viewport()->rect();
        EXPECT_TRUE(room.contains(window->geometry()))
            << window->geometry().height() << " in " << room.height();
    }
}

// Every control can be told apart by a screen reader: a name and a description through Qt's
// accessibility interface, on every page, in the print window and in the data folder dialog.
TEST_F(Walkthrough, EveryControlHasAnAccessibleNameAndDescription) {
    CVARN_Doc* doc = OpenVeteran();
    CVARN_View* view = ViewOf(doc);
    QStringList unnamed;
    auto check = [&unnamed](QWidget* root) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(root) ||
                qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr ||
                qobject_cast<QComboBox*>(w->parentWidget()) != nullptr)
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            // Qt's tab strip names itself after its current tab and describes nothing; its
            // tabs are its controls.
            const bool tabs = qobject_cast<QTabBar*>(w) != nullptr;
            if (a == nullptr || a->text(QAccessible::Name).isEmpty() ||
                (!tabs && a->text(QAccessible::Description).isEmpty()))
                unnamed << QStringLiteral("%1 %2 in %3")
                               .arg(w->metaObject()->className(), w->objectName(),
                                    root->windowTitle());
        }
    };
    for (int page = 0; page < view->Sheet()->GetPageCount(); ++page) {
        view->Sheet()->SetActivePage(page);
        check(view->Page(page));
    }
    CVARN_PrintingSplitFrame* print = Print(doc);
    ASSERT_NE(print, nullptr);
    print->OptionsView()->OptionsPage()->TextSheetChoice()->click();
    check(print);
    CVARN_DataFolderDlg dialog(QStringLiteral("/data"));
    check(&dialog);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join('\n').toStdString();
}

// The data folder: the command line's, else the user's choice (refused with its reason when
// it does not load), else the user's own data folder, else the shipped set.
TEST_F(Walkthrough, TheUserChoosesTheDataFolder) {
    const QString data = Scratch("MyData");
    QDir().mkpath(data);
    const QDir shipped(VARN_SHIPPED_DATA_DIR);
    for (const QString& name : shipped.entryList({"*.dat"}, QDir::Files))
        QFile::copy(shipped.filePath(name), data + "/" + name);
    const QString broken = Scratch("Broken");
    QDir().mkpath(broken);
    WriteAll(broken + "/Skills.dat", "[Climbing]\n");

    CVARN_DataFolderDlg dialog(QStringLiteral("/shipped"));
    dialog.FolderEdit()->setText(broken);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.Refusal().contains("File 'Races.dat' not found"))
        << dialog.Refusal().toStdString();
    EXPECT_EQ(varn_data_folder::ChosenFolder(), QString());
    dialog.FolderEdit()->setText(data);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(varn_data_folder::ChosenFolder(), data);

    const CVARN_StartupOptions options =
        ParseCommandLine({"--data", broken, kVeteran, "--data=" + data});
    EXPECT_EQ(options.dataDirectory, data);
    EXPECT_EQ(options.arguments, QStringList{kVeteran});

    frame.reset();
    FlushDeletes();
    auto start = [](const QString& dataDirectory) {
        auto core =
            std::make_unique<CVARN_AppCore>(std::make_unique<RecordingPrompt>(ShippedRules()));
        EXPECT_TRUE(
            core->InitInstance({.arguments = {}, .dataDirectory = dataDirectory, .splash = false}));
        return QString::fromStdString(core->Rules().dataDirectory);
    };
    EXPECT_EQ(start(QString()), data + "/");
    EXPECT_EQ(start(QStringLiteral(VARN_SHIPPED_DATA_DIR)), VARN_SHIPPED_DATA_DIR);

    // Without a choice, the user's own folder comes before the shipped set.
    varn_data_folder::SetChosenFolder(QString());
    QStandardPaths::setTestModeEnabled(true);
    const QString own = varn_data_folder::UserFolder();
    QDir().mkpath(own);
    for (const QString& name : shipped.entryList({"*.dat"}, QDir::Files))
        QFile::copy(shipped.filePath(name), own + "/" + name);
    EXPECT_EQ(start(QString()), own + "/");
    QDir(own).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}
