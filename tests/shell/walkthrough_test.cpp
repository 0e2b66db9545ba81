// What a new user ran into: shortcuts in the print window, a print window that keeps an old
// character, replacements chosen on opening, the main window's title, undo that hides where it
// acts, windows larger than the area, names for screen readers and the user's data folder.
#include "app/AppCore.h"
#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "shell/CharacterWindow.h"
#include "shell/DataFolderDialog.h"
#include "shell/DocFixture.h"
#include "shell/PrintOptionsPage.h"
#include "shell/PrintOptionsView.h"
#include "shell/PrintTextView.h"
#include "shell/PrintWindow.h"
#include "shell/SheetPreview.h"
#include "support/Controls.h"
#include "widgets/MyPropertySheet.h"

#include <QAccessible>

using namespace varn_test;
using Command = MainWindow::Command;

namespace {
class Walkthrough : public DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        docs->setPrintWindowOpener(&PrintWindow::open);
    }

    CharacterDocument* OpenVeteran() {
        CharacterDocument* doc = docs->openDocumentFile(kVeteran);
        EXPECT_NE(doc, nullptr);
        return doc;
    }
    // Types into the name field as the user would; the step is recorded at once.
    void TypeName(CharacterDocument* doc, const QString& text) {
        QLineEdit* name = Control<QLineEdit>(PageOf<CVARN_PageCharacter>(doc, 0), "nameEdit");
        name->setFocus();
        QTest::keyClicks(name, text);
        doc->recordPendingStep();
    }
    PrintWindow* Print(CharacterDocument* doc) {
        frame->mdiArea()->setActiveSubWindow(doc->windows().front());
        frame->action(Command::Print)->trigger();
        return frame->mdiArea()->findChild<PrintWindow*>();
    }
    static QImage FirstPreviewPage(PrintWindow* print) {
        const QList<QLabel*> pages = print->sheetView()->findChildren<QLabel*>();
        return pages.isEmpty() ? QImage() : pages.front()->pixmap().toImage();
    }
};
} // namespace

// In the print window Undo and Redo act on its text, never on the character hidden behind
// it, even when the text does not have the focus (after the Edit menu was opened and closed).
TEST_F(Walkthrough, UndoInThePrintWindowActsOnItsText) {
    CharacterDocument* doc = OpenVeteran();
    TypeName(doc, "x");
    const std::string renamed = doc->character().name;
    PrintWindow* print = Print(doc);
    ASSERT_NE(print, nullptr);
    print->optionsView()->optionsPage()->textSheetChoice()->click();
    PrintTextView* text = print->textView();
    const QString before = text->toPlainText();
    text->setFocus();
    QTest::keyClicks(text, "Q");
    ASSERT_NE(text->toPlainText(), before);
    frame->menuBar()->setFocus();
    ASSERT_TRUE(frame->undoAction()->isEnabled());
    frame->undoAction()->trigger();
    EXPECT_EQ(text->toPlainText(), before);
    EXPECT_EQ(doc->character().name, renamed);
    EXPECT_EQ(doc->undoStack().index(), 1);
    // On the laid-out sheet there is nothing to undo.
    print->optionsView()->optionsPage()->characterSheetChoice()->click();
    EXPECT_FALSE(frame->undoAction()->isEnabled());
}

// The preview and the text follow the character; text the user edited stays, and the window
// says it shows an earlier state until Refresh makes it anew.
TEST_F(Walkthrough, ThePrintWindowFollowsTheCharacter) {
    CharacterDocument* doc = OpenVeteran();
    PrintWindow* print = Print(doc);
    ASSERT_NE(print, nullptr);
    const QImage preview = FirstPreviewPage(print);
    doc->character().name = "Odrin Vale";
    doc->character().SetModified();
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->textView()->toPlainText().contains("Odrin Vale"));
    EXPECT_NE(FirstPreviewPage(print), preview);
    EXPECT_FALSE(print->textIsStale());

    QTest::keyClicks(print->textView(), "My notes ");
    doc->undo();
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->textIsStale());
    EXPECT_TRUE(print->textView()->toPlainText().contains("My notes"));
    print->refreshButton()->click();
    EXPECT_FALSE(print->textIsStale());
    EXPECT_FALSE(print->textView()->toPlainText().contains("My notes"));
    EXPECT_FALSE(print->textView()->toPlainText().contains("Odrin Vale"));
}

// A replacement chosen for unknown equipment is a change: the document is modified and Close
// asks; declining the search leaves the document unmodified, so Close asks nothing and the file
// keeps the name. Unknown miscellaneous goods are reported, not offered for a search that finds
// nothing.
TEST_F(Walkthrough, AReplacementChosenOnOpeningMarksTheDocument) {
    QByteArray bytes = ReadAll(kVeteran);
    bytes.replace("Padded Jerkin", "Padded Jorkin");
    bytes.replace("Bedroll", "Bedrolx");
    const QString path = Scratch("lost.vrn");
    ASSERT_TRUE(WriteAll(path, bytes));
    prompt->confirmAnswer = true;
    const CVARN_Item* armour = ShippedRules().equipmentDatabase.armors.at(0).get();
    for (const CVARN_Item* choice : {static_cast<const CVARN_Item*>(nullptr), armour}) {
        prompt->shown.clear();
        prompt->replacement = choice;
        CharacterDocument* doc = docs->openDocumentFile(path);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(prompt->shown, (QStringList{"confirm: Unknown object Padded Jorkin\nDo you want "
                                              "to search it in database?",
                                              "select item", "inform: Unknown object Bedrolx"}));
        EXPECT_EQ(doc->isModified(), choice != nullptr);
        EXPECT_EQ(frame->isWindowModified(), choice != nullptr);
        prompt->shown.clear();
        frame->action(Command::Close)->trigger();
        EXPECT_EQ(prompt->shown, choice ? QStringList{"save?: lost.vrn"} : QStringList());
    }
}

// The title names the active document once, with its mark, whatever is maximised and
// whichever window is active.
TEST_F(Walkthrough, TheTitleFollowsTheActiveDocument) {
    CharacterDocument* doc = OpenVeteran();
    QMdiSubWindow* window = doc->windows().front();
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
    CharacterDocument* other = docs->fileNew();
    frame->mdiArea()->setActiveSubWindow(other->windows().front());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "VARN - VARN1[*]");
    EXPECT_FALSE(frame->isWindowModified());
}

// Undo and redo bring the page of the change to the front; Exit's question about a character
// brings its window to the front.
TEST_F(Walkthrough, UndoShowsItsPageAndExitShowsTheWindowItAsksAbout) {
    CharacterDocument* doc = OpenVeteran();
    CharacterView* view = ViewOf(doc);
    auto* attributes = PageOf<CVARN_PageAttributes>(doc, 1);
    QSpinBox* strength = Control<QSpinBox>(attributes, "baseSpin", AttStrength);
    strength->setFocus();
    strength->stepUp();
    doc->recordPendingStep();
    TypeName(doc, "z");
    for (int page : {0, 1}) {
        view->sheet()->SetActivePage(5);
        frame->undoAction()->trigger();
        EXPECT_EQ(view->sheet()->GetActivePageIndex(), page);
    }
    view->sheet()->SetActivePage(7);
    frame->redoAction()->trigger();
    EXPECT_EQ(view->sheet()->GetActivePageIndex(), 1);

    CharacterDocument* other = docs->fileNew();
    frame->mdiArea()->setActiveSubWindow(other->windows().front());
    prompt->saveAnswers = {QtPrompt::SaveAnswer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompt->shown, QStringList{"save?: veteran.vrn"});
    EXPECT_EQ(frame->mdiArea()->currentSubWindow(), doc->windows().front());
}

// A character window never reaches past the area, also when the area shrinks (as at start-up,
// where the first window is sized before the main window is shown).
TEST_F(Walkthrough, WindowsFitTheArea) {
    CharacterDocument* doc = OpenVeteran();
    QMdiSubWindow* window = doc->windows().front();
    for (const QSize size : {QSize(700, 500), QSize(500, 420)}) {
        frame->resize(size);
        QCoreApplication::processEvents();
        const QRect room = frame->mdiArea()->viewport()->rect();
        EXPECT_TRUE(room.contains(window->geometry()))
            << window->geometry().height() << " in " << room.height();
    }
}

// Every control can be told apart by a screen reader: a name and a description through Qt's
// accessibility interface, on every page, in the print window and in the data folder dialog.
TEST_F(Walkthrough, EveryControlHasAnAccessibleNameAndDescription) {
    CharacterDocument* doc = OpenVeteran();
    CharacterView* view = ViewOf(doc);
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
    for (int page = 0; page < view->sheet()->GetPageCount(); ++page) {
        view->sheet()->SetActivePage(page);
        check(view->page(page));
    }
    PrintWindow* print = Print(doc);
    ASSERT_NE(print, nullptr);
    print->optionsView()->optionsPage()->textSheetChoice()->click();
    check(print);
    DataFolderDialog dialog(QStringLiteral("/data"));
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

    DataFolderDialog dialog(QStringLiteral("/shipped"));
    dialog.folderEdit()->setText(broken);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.refusal().contains("File 'Races.dat' not found"))
        << dialog.refusal().toStdString();
    EXPECT_EQ(varn_data_folder::chosenFolder(), QString());
    dialog.folderEdit()->setText(data);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(varn_data_folder::chosenFolder(), data);

    const StartupOptions options = ParseCommandLine({"--data", broken, kVeteran, "--data=" + data});
    EXPECT_EQ(options.dataDirectory, data);
    EXPECT_EQ(options.arguments, QStringList{kVeteran});

    frame.reset();
    FlushDeletes();
    auto start = [](const QString& dataDirectory) {
        auto core = std::make_unique<AppCore>(std::make_unique<RecordingPrompt>(ShippedRules()));
        EXPECT_TRUE(
            core->initialize({.arguments = {}, .dataDirectory = dataDirectory, .splash = false}));
        return QString::fromStdString(core->rules().dataDirectory);
    };
    EXPECT_EQ(start(QString()), data + "/");
    EXPECT_EQ(start(QStringLiteral(VARN_SHIPPED_DATA_DIR)), VARN_SHIPPED_DATA_DIR);

    // Without a choice, the user's own folder comes before the shipped set.
    varn_data_folder::setChosenFolder(QString());
    QStandardPaths::setTestModeEnabled(true);
    const QString own = varn_data_folder::userFolder();
    QDir().mkpath(own);
    for (const QString& name : shipped.entryList({"*.dat"}, QDir::Files))
        QFile::copy(shipped.filePath(name), own + "/" + name);
    EXPECT_EQ(start(QString()), own + "/");
    QDir(own).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}
