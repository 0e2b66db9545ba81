// The print window of a character: one per character, the character window kept open while
// it is there, the options pane and its splitter, and the Print button.
#include "shell/DocFixture.h"

#include "character/TextSheet.h"
#include "shell/PrintOptionsPage.h"
#include "shell/PrintOptionsView.h"
#include "shell/PrintTextView.h"
#include "shell/PrintWindow.h"
#include "shell/SheetPreview.h"
#include "widgets/MyPropertySheet.h"
#include "widgets/MySplitterWnd.h"
#include "widgets/QtText.h"

#include <QPrintDialog>
#include <QPrinter>

using namespace varn_test;
using Command = MainWindow::Command;

namespace {
// Answers the next print dialog once it runs its own event loop, as a user would.
void AnswerPrintDialog(bool accept) {
    QTimer::singleShot(0, qApp, [accept] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()))
            accept ? dialog->accept() : dialog->reject();
    });
}

class PrintWindowTest : public DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        docs->setPrintWindowOpener(&PrintWindow::open);
        doc = docs->fileNew();
        ASSERT_NE(doc, nullptr);
        characterFrame = doc->windows().front();
    }

    // The print windows in the main window (one at most is right).
    QList<PrintWindow*> PrintFrames() const {
        return frame->mdiArea()->findChildren<PrintWindow*>();
    }
    PrintWindow* PrintFrame() const { return PrintFrames().value(0); }
    bool Enabled(Command command) const { return frame->action(command)->isEnabled(); }
    // Presses Print in the open print window and answers the dialog; whether the window went.
    bool printAndClose(bool accept) {
        QPointer<PrintWindow> print(PrintFrame());
        AnswerPrintDialog(accept);
        print->optionsView()->optionsPage()->printButton()->click();
        FlushDeletes();
        return print.isNull() && !doc->isPrinting();
    }

    CharacterDocument* doc = nullptr;
    QPointer<QMdiSubWindow> characterFrame;
};
} // namespace

TEST_F(PrintWindowTest,
       OpensOnceKeepsTheCharacterWindowOpenShowsItsPanesAndEndsPrintingWhenClosed) {
    frame->mdiArea()->setActiveSubWindow(characterFrame);
    ASSERT_TRUE(Enabled(Command::Print));
    frame->action(Command::Print)->trigger();
    PrintWindow* print = PrintFrame();
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(doc->isPrinting());
    EXPECT_EQ(print->windowTitle(), "Printing...");
    EXPECT_TRUE(print->isMaximized());

    // A second Print does nothing; the character window offers none.
    doc->startPrinting();
    EXPECT_EQ(PrintFrames().size(), 1);
    frame->mdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_FALSE(Enabled(Command::Print));

    // The character window refuses to close while its character prints.
    EXPECT_FALSE(characterFrame->close());
    EXPECT_EQ(prompt->shown,
              QStringList{"inform: Close the print window of this character first."});
    FlushDeletes();
    ASSERT_TRUE(characterFrame);

    // The text is the sheet, in the print font, editable; edits touch nothing else.
    PrintTextView* text = print->textView();
    std::string sheet;
    BuildTextSheet(doc->character(), sheet);
    EXPECT_EQ(text->toPlainText(), FromCore(sheet));
    EXPECT_FALSE(text->isReadOnly());
    const QFont font = text->document()->defaultFont();
    // Whatever face stands in, the sheet's columns need every character equally wide.
    const QFontMetricsF metrics(font);
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"))
        << QFontInfo(font).family().toStdString();
    text->moveCursor(QTextCursor::End);
    text->insertPlainText("A NOTE OF MY OWN");
    EXPECT_FALSE(doc->isModified());

    // Closing the print window ends printing at once, and a stale pane going later does
    // not end the printing of a print window opened in between.
    QPointer<PrintWindow> closed(print);
    EXPECT_TRUE(print->close());
    EXPECT_FALSE(doc->isPrinting());
    frame->mdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_TRUE(Enabled(Command::Print));
    doc->startPrinting();
    FlushDeletes();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(doc->isPrinting());
    ASSERT_EQ(PrintFrames().size(), 1);
    print = PrintFrame();
    EXPECT_EQ(print->textView()->toPlainText(), FromCore(sheet)); // the note is gone
    QCoreApplication::processEvents();

    CMyPropertySheet* tools = print->optionsView()->toolsSheet();
    ASSERT_EQ(tools->GetPageCount(), 1);
    PrintOptionsPage* page = print->optionsView()->optionsPage();
    // The tab, the button and the notes, word for word.
    QStringList texts{tools->tabText(0), page->printButton()->text()};
    for (const QLabel* label : page->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts.join('\n') + '\n',
              QString::fromUtf8(ReadAll(VARN_TEST_DATA_DIR "ui/print-options.txt")));

    // The laid-out sheet is shown first; the text sheet is the other choice.
    ASSERT_TRUE(page->characterSheetChoice()->isChecked());
    EXPECT_EQ(print->sheetPane(), print->sheetView());
    EXPECT_GE(print->sheetView()->pageCount(), 1);
    page->textSheetChoice()->click();
    EXPECT_EQ(print->sheetPane(), print->textView());

    // Neither pane prints; Page Setup is for the sheet pane only. F6 and Shift+F6 move
    // between the panes.
    EXPECT_FALSE(Enabled(Command::Print));
    EXPECT_FALSE(Enabled(Command::PageSetup));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    page->printButton()->setFocus();
    frame->moveToPane(true);
    EXPECT_TRUE(print->textView()->hasFocus());
    EXPECT_TRUE(Enabled(Command::PageSetup));
    frame->moveToPane(false);
    EXPECT_TRUE(print->optionsView()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_FALSE(Enabled(Command::PageSetup));
    frame->mdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_TRUE(Enabled(Command::PageSetup));
    frame->mdiArea()->setActiveSubWindow(print);
    EXPECT_EQ(Enabled(Command::PageSetup), print->activePane() == print->textView());

    // The options column shows its whole sheet; the bar does not drag.
    CMySplitterWnd* splitter = print->splitter();
    const int width = splitter->FirstColumnWidth();
    EXPECT_GE(width, tools->width());
    EXPECT_GT(splitter->sizes().at(1), width);
    QSplitterHandle* bar = splitter->handle(1);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    QTest::mouseMove(bar, QPoint(120, 60));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(120, 60));
    EXPECT_EQ(splitter->FirstColumnWidth(), width);

    // Double clicks hide the options and bring them back at their width; so does a new
    // size of the window.
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    EXPECT_EQ(splitter->FirstColumnWidth(), 0);
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    EXPECT_EQ(splitter->FirstColumnWidth(), width);
    splitter->ToggleFirstColumn();
    ASSERT_EQ(splitter->FirstColumnWidth(), 0);
    print->showNormal();
    print->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(splitter->FirstColumnWidth(),
              print->optionsView()->columnWidthFor(splitter->height()));
    EXPECT_GT(splitter->FirstColumnWidth(), 0);

    // Close in the File menu takes the character and both its windows.
    QPointer<PrintWindow> second(print);
    frame->mdiArea()->setActiveSubWindow(characterFrame);
    frame->action(Command::Close)->trigger();
    FlushDeletes();
    EXPECT_FALSE(second);
    EXPECT_FALSE(characterFrame);
    EXPECT_TRUE(docs->documents().isEmpty());
}

TEST_F(PrintWindowTest, PrintButtonPrintsThenClosesTheWindow) {
    // Cancelling the dialog prints nothing and still closes the window.
    doc->startPrinting();
    EXPECT_TRUE(printAndClose(false));
    EXPECT_FALSE(characterFrame->isMaximized()); // a character window keeps its size

    // Printing to a PDF file through the dialog: the job is named after the document
    // (cut to 31 characters), the text goes out with the user's edits, and the window closes.
    doc->setTitle(QStringLiteral("A-rather-long-character-name-for-a-job.vrn"));
    doc->startPrinting();
    ASSERT_NE(PrintFrame(), nullptr);
    EXPECT_EQ(PrintFrame()->textView()->jobName(), "A-rather-long-character-name-fo");
    for (int i = 0; i < 150; ++i)
        PrintFrame()->textView()->append(QStringLiteral("extra line %1").arg(i));
    QPrinter& printer = docs->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Scratch("sheet.pdf"));
    PrintFrame()->optionsView()->optionsPage()->textSheetChoice()->click();
    EXPECT_TRUE(printAndClose(true));
    EXPECT_EQ(printer.docName(), "A-rather-long-character-name-fo");
    const QByteArray bytes = ReadAll(Scratch("sheet.pdf"));
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(bytes.count("/Type /Page\n"), 2); // the sheet plus the added lines
    EXPECT_TRUE(prompt->shown.isEmpty());

    // The laid-out sheet, the default, prints its own pages.
    doc->startPrinting();
    printer.setOutputFileName(Scratch("laid-out.pdf"));
    EXPECT_TRUE(printAndClose(true));
    EXPECT_TRUE(ReadAll(Scratch("laid-out.pdf")).contains("/Type /Page\n"));

    // A PDF file that cannot be saved is reported as any file is, and nothing is written.
    doc->startPrinting();
    ASSERT_NE(PrintFrame(), nullptr);
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(Scratch("no-such-folder/sheet.pdf"));
    EXPECT_EQ(PrintFrame()->textView()->printOn(broken), PrintResult::Failed);
    EXPECT_EQ(prompt->shown, QStringList{"warn: " + Scratch("no-such-folder/sheet.pdf") +
                                         " contains an invalid path."});
    EXPECT_FALSE(QFile::exists(Scratch("no-such-folder/sheet.pdf")));
}
