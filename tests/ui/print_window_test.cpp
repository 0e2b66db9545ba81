#include "app/AppCore.h"
#include "character/TextSheet.h"
#include "ui/ChildFrame.h"
#include "ui/Doc.h"
#include "ui/DocManager.h"
#include "ui/MainFrame.h"
#include "ui/MyPropertySheet.h"
#include "ui/MySplitterWnd.h"
#include "ui/PrintingPageOptions.h"
#include "ui/PrintingSplitFrame.h"
#include "ui/PrintingViewOptions.h"
#include "ui/PrintingViewText.h"
#include "ui/QtPrompt.h"
#include "ui/QtText.h"
#include "ui/View.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Records the message boxes instead of showing them.
class RecordingPrompt : public CVARN_QtPrompt {
public:
    explicit RecordingPrompt(const RulesDatabase& rules) : CVARN_QtPrompt(rules) {}
    void Inform(const QString& text) override { shown << text; }
    bool Confirm(const QString& text) override {
        shown << text;
        return false;
    }
    void Warn(const QString& text) override { shown << text; }
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
    QStringList shown;
};

// Removes the windows that close() handed to the event loop.
void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Answers the next print dialog from the event loop, as a user would.
void AnswerPrintDialog(bool accept) {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            accept ? dialog->accept() : dialog->reject();
        } else if (timer->elapsed() < 10000) {
            QTimer::singleShot(20, *poll);
        }
    };
    QTimer::singleShot(0, *poll);
}

class PrintWindow : public ::testing::Test {
protected:
    void SetUp() override {
        auto recording = std::make_unique<RecordingPrompt>(m_promptRules);
        prompt = recording.get();
        app = std::make_unique<CVARN_AppCore>(std::move(recording));
        CVARN_StartupOptions options;
        options.dataDirectory = QStringLiteral(VARN_SHIPPED_DATA_DIR);
        options.splash = false;
        ASSERT_TRUE(app->InitInstance(options));
        docs = app->DocManager();
        mainFrame = app->MainFrame();
        ASSERT_EQ(docs->Documents().size(), 1);
        doc = docs->Documents().front();
        ASSERT_EQ(doc->Frames().size(), 1);
        characterFrame = doc->Frames().front();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        // As the program does on exit: the documents close before the main window goes.
        if (docs != nullptr)
            docs->CloseAllDocuments();
        FlushDeletes();
        app.reset();
        FlushDeletes();
    }

    CVARN_PrintingSplitFrame* PrintFrame() const {
        for (QMdiSubWindow* frame : doc->Frames()) {
            if (auto* printing = qobject_cast<CVARN_PrintingSplitFrame*>(frame))
                return printing;
        }
        return nullptr;
    }
    int PrintFrameCount() const {
        int count = 0;
        for (QMdiSubWindow* frame : mainFrame->MdiArea()->subWindowList())
            count += qobject_cast<CVARN_PrintingSplitFrame*>(frame) != nullptr;
        return count;
    }
    QString Sheet() const {
        std::string sheet;
        BuildTextSheet(doc->Character(), sheet);
        return FromCore(sheet);
    }
    bool PrintEnabled() const {
        return mainFrame->Action(CVARN_MainFrame::Command::Print)->isEnabled();
    }

    RulesDatabase m_promptRules; // the prompt only looks things up for the item dialog
    RecordingPrompt* prompt = nullptr;
    std::unique_ptr<CVARN_AppCore> app;
    CMyDocManager* docs = nullptr;
    CVARN_MainFrame* mainFrame = nullptr;
    CVARN_Doc* doc = nullptr;
    QPointer<QMdiSubWindow> characterFrame;
};

} // namespace

TEST_F(PrintWindow, OpensOnceKeepsTheCharacterWindowOpenAndEndsPrintingWhenClosed) {
    mainFrame->MdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_TRUE(PrintEnabled());

    mainFrame->Action(CVARN_MainFrame::Command::Print)->trigger();
    CVARN_PrintingSplitFrame* frame = PrintFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(doc->IsPrinting());
    EXPECT_EQ(frame->windowTitle(), "Printing...");
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->mdiArea(), mainFrame->MdiArea());

    // A second Print does nothing; the character window offers none.
    doc->StartPrinting();
    EXPECT_EQ(PrintFrameCount(), 1);
    mainFrame->MdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_FALSE(PrintEnabled());
    auto* view = qobject_cast<CVARN_View*>(characterFrame->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->CanPrint());

    // The character window refuses to close while its character prints.
    prompt->shown.clear();
    EXPECT_FALSE(characterFrame->close());
    EXPECT_EQ(prompt->shown, QStringList{"Cannot close window while printing!!!"});
    FlushDeletes();
    ASSERT_TRUE(characterFrame);
    EXPECT_TRUE(characterFrame->isVisible());

    // The text is the sheet, in the print font, editable; edits touch nothing else.
    CVARN_PrintingViewText* text = frame->TextView();
    EXPECT_EQ(text->toPlainText(), Sheet());
    EXPECT_FALSE(text->isReadOnly());
    const QFont font = text->document()->defaultFont();
    EXPECT_EQ(font.family(), "Courier New");
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());
    // Whatever face stands in, the sheet's columns need every character equally wide.
    const QFontMetricsF metrics(font);
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"))
        << QFontInfo(font).family().toStdString();
    text->moveCursor(QTextCursor::End);
    text->insertPlainText("A NOTE OF MY OWN");
    EXPECT_FALSE(doc->IsModified());

    // Closing the print window ends printing at once, and a stale pane going later does
    // not end the printing of a print window opened in between.
    QPointer<CVARN_PrintingSplitFrame> closed(frame);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(doc->IsPrinting());
    mainFrame->MdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_TRUE(PrintEnabled());
    doc->StartPrinting();
    EXPECT_TRUE(doc->IsPrinting());
    FlushDeletes();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(doc->IsPrinting());
    ASSERT_EQ(PrintFrameCount(), 1);
    EXPECT_EQ(PrintFrame()->TextView()->toPlainText(), Sheet()); // the note is gone

    // File > Close takes both windows with it.
    QPointer<CVARN_PrintingSplitFrame> second(PrintFrame());
    doc->OnCloseDocument();
    FlushDeletes();
    EXPECT_FALSE(second);
    EXPECT_FALSE(characterFrame);
    EXPECT_TRUE(docs->Documents().isEmpty());
}

TEST_F(PrintWindow, OptionsPaneAndSplitter) {
    doc->StartPrinting();
    CVARN_PrintingSplitFrame* frame = PrintFrame();
    ASSERT_NE(frame, nullptr);
    QCoreApplication::processEvents();

    CMyPropertySheet* tools = frame->OptionsView()->ToolsSheet();
    EXPECT_EQ(tools->windowTitle(), "Tools");
    ASSERT_EQ(tools->GetPageCount(), 1);
    EXPECT_EQ(tools->tabText(0), "Options...");
    CVARN_PrintingPageOptions* page = frame->OptionsView()->OptionsPage();
    EXPECT_EQ(page->PrintButton()->text(), "Print");
    QStringList notes;
    for (const QLabel* label : page->findChildren<QLabel*>())
        notes << label->text();
    EXPECT_EQ(notes,
              (QStringList{"* If you want, you may add/remove any text before printing, like the "
                           "VARN version ; )",
                           "* Don't worry about this scrollbar on the right. It's a bug I know.",
                           "* NOTE : On this page will come some check boxes to choose what you "
                           "want to print from character data"}));

    // Neither pane prints; Page Setup is for the text pane only.
    QAction* pageSetup = mainFrame->Action(CVARN_MainFrame::Command::PageSetup);
    EXPECT_FALSE(frame->CanPrint());
    EXPECT_FALSE(PrintEnabled());
    EXPECT_FALSE(frame->CanPageSetup());
    EXPECT_FALSE(pageSetup->isEnabled());
    EXPECT_EQ(frame->ActivePane(), frame->OptionsView());
    mainFrame->activateWindow();
    if (QTest::qWaitForWindowActive(mainFrame)) {
        frame->TextView()->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(frame->ActivePane(), frame->TextView());
        EXPECT_TRUE(pageSetup->isEnabled());
        frame->OptionsView()->OptionsPage()->PrintButton()->setFocus();
        QCoreApplication::processEvents();
        EXPECT_FALSE(pageSetup->isEnabled());
    }
    mainFrame->MdiArea()->setActiveSubWindow(characterFrame);
    EXPECT_TRUE(pageSetup->isEnabled());
    mainFrame->MdiArea()->setActiveSubWindow(frame);
    EXPECT_EQ(pageSetup->isEnabled(), frame->ActivePane() == frame->TextView());

    // The options column shows its whole sheet; the bar does not drag.
    CMySplitterWnd* splitter = frame->Splitter();
    const int width = splitter->FirstColumnWidth();
    EXPECT_GE(width, tools->width());
    EXPECT_GT(splitter->sizes().at(1), width);
    QSplitterHandle* bar = splitter->handle(1);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    QTest::mouseMove(bar, QPoint(120, 60));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(120, 60));
    EXPECT_EQ(splitter->FirstColumnWidth(), width);

    // Double clicks hide the options and bring them back at their width.
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    EXPECT_EQ(splitter->FirstColumnWidth(), 0);
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
    EXPECT_EQ(splitter->FirstColumnWidth(), width);

    // So does a new size of the window.
    splitter->ToggleFirstColumn();
    ASSERT_EQ(splitter->FirstColumnWidth(), 0);
    frame->showNormal();
    frame->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(splitter->FirstColumnWidth(),
              frame->OptionsView()->ColumnWidthFor(splitter->height()));
    EXPECT_GT(splitter->FirstColumnWidth(), 0);
}

TEST_F(PrintWindow, PrintButtonPrintsThenClosesTheWindow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPrinter& printer = docs->Printer();

    // Cancelling the dialog prints nothing and still closes the window.
    doc->StartPrinting();
    QPointer<CVARN_PrintingSplitFrame> frame(PrintFrame());
    ASSERT_TRUE(frame);
    AnswerPrintDialog(false);
    frame->OptionsView()->OptionsPage()->PrintButton()->click();
    FlushDeletes();
    EXPECT_FALSE(frame);
    EXPECT_FALSE(doc->IsPrinting());
    EXPECT_TRUE(prompt->shown.isEmpty());
    EXPECT_FALSE(characterFrame->isMaximized()); // a character window keeps its size

    // Printing to a PDF file through the dialog: the job is named after the document
    // (cut to 31 characters), the text goes out with the user's edits, and the window closes.
    doc->SetTitle(QStringLiteral("A-rather-long-character-name-for-a-job.vrn"));
    doc->StartPrinting();
    frame = PrintFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->TextView()->JobName(), "A-rather-long-character-name-fo");
    for (int i = 0; i < 150; ++i)
        frame->TextView()->append(QStringLiteral("extra line %1").arg(i));
    const QString pdf = dir.filePath("sheet.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    AnswerPrintDialog(true);
    frame->OptionsView()->OptionsPage()->PrintButton()->click();
    FlushDeletes();
    EXPECT_FALSE(frame);
    EXPECT_FALSE(doc->IsPrinting());
    EXPECT_EQ(printer.docName(), "A-rather-long-character-name-fo");
    QFile out(pdf);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(bytes.count("/Type /Page\n"), 2); // the sheet plus the added lines
    EXPECT_TRUE(prompt->shown.isEmpty());

    // A job that cannot start is reported and prints nothing.
    doc->StartPrinting();
    frame = PrintFrame();
    ASSERT_TRUE(frame);
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(dir.filePath("no-such-folder/sheet.pdf"));
    EXPECT_EQ(frame->TextView()->PrintOn(broken), CVARN_PrintResult::Failed);
    EXPECT_EQ(prompt->shown, QStringList{"Could not start print job."});
    EXPECT_FALSE(QFile::exists(dir.filePath("no-such-folder/sheet.pdf")));
}
