#include "shell/PrintTextView.h"

#include "character/TextSheet.h"
#include "shell/CharacterDocument.h"
#include "shell/DocumentManager.h"
#include "shell/QtPrompt.h"
#include "shell/SheetLayout.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QBuffer>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTextCursor>
#include <QTextDocument>

#include <string>

namespace {
// Longest job name print spoolers are sure to take.
constexpr int kMaxJobNameLength = 31;
} // namespace

PrintTextView::PrintTextView(CharacterDocument* doc, QWidget* parent)
    : QTextEdit(parent), m_owner(doc) {
    // Pasted text takes the print font instead of bringing its own formatting along.
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    m_charFormat.setFont(printFont());
    resetContents();
    if (m_owner)
        m_owner->addView(this);
}

PrintTextView::~PrintTextView() {
    if (m_owner)
        m_owner->removeView(this);
}

CharacterDocument* PrintTextView::characterDocument() const {
    return m_owner ? m_shown : nullptr;
}

QFont PrintTextView::printFont() {
    QFont font(QStringLiteral("Courier New"));
    // The sheet is laid out in columns: any stand-in face must be fixed-pitch too.
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(8);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void PrintTextView::resetContents() {
    clear();
    document()->setDefaultFont(m_charFormat.font());
    QTextOption option = document()->defaultTextOption();
    option.setTabs({});
    document()->setDefaultTextOption(option);
    setCurrentCharFormat(m_charFormat);
    moveCursor(QTextCursor::Start);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

void PrintTextView::initialUpdate() {
    m_shown = m_owner.data();
    QString text;
    if (m_shown != nullptr) {
        std::string sheet;
        BuildTextSheet(m_shown->character(), sheet);
        text = FromCore(sheet);
    } else {
        text = QStringLiteral("Error - Can't find character informations !!!");
    }
    setPlainText(text);
    // The font goes into the text itself, so that a copy laid out for the printer keeps it.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(m_charFormat);
    setCurrentCharFormat(m_charFormat);
    moveCursor(QTextCursor::Start);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

QString PrintTextView::jobName() const {
    const CharacterDocument* doc = characterDocument();
    return doc != nullptr ? doc->title().left(kMaxJobNameLength) : QString();
}

QPrinter& PrintTextView::printer() {
    if (m_owner)
        return m_owner->manager().printer();
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

void PrintTextView::reportFailure(const QString& text) {
    if (m_owner)
        m_owner->manager().prompt().warn(text);
    else
        QMessageBox::warning(window(), QStringLiteral("VARN"), text);
}

PrintResult PrintTextView::filePrint() {
    QPrinter& printer = this->printer();
    // Named before the dialog: it proposes the name for printing to a file.
    printer.setDocName(jobName());
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return PrintResult::Cancelled;
    return printOn(printer);
}

PrintResult PrintTextView::printOn(QPrinter& printer) {
    const QString name = jobName();
    printer.setDocName(name);
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return sendPages(printer, printer);

    // A PDF file is made whole in memory, then saved as every other file is, so that a
    // failed write keeps the old file.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PrintResult result;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        writer.setCreator(QStringLiteral("VARN"));
        writer.setTitle(name);
        result = sendPages(printer, writer);
    } // the writer finishes the file as it goes
    if (result != PrintResult::Printed)
        return result;
    QString error;
    if (!WritePdfFile(bytes, printer.outputFileName(), &error)) {
        reportFailure(error);
        return PrintResult::Failed;
    }
    return result;
}

PrintResult PrintTextView::sendPages(QPrinter& printer, QPagedPaintDevice& device) {
    const QString name = printer.docName();
    const PrintLayout layout(*document(), device);

    int fromPage = 0;
    int toPage = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        fromPage = printer.fromPage();
        toPage = printer.toPage();
    }
    // A printer that cannot make copies itself gets each page as often as asked.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();

    QProgressDialog progress(this);
    progress.setWindowTitle(QStringLiteral("Printing"));
    progress.setCancelButtonText(QStringLiteral("Cancel"));
    // Nothing else may happen meanwhile: closing the print window would pull the text out
    // from under the job.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    const int first = std::max(fromPage, 1);
    const int last = toPage > 0 ? std::min(toPage, layout.pageCount()) : layout.pageCount();
    const int sheets = std::max(last - first + 1, 0) * std::max(copies, 1);
    progress.setRange(0, std::max(sheets, 1));
    QString heading = name;
    if (!printer.printerName().isEmpty() && printer.outputFileName().isEmpty())
        heading += QStringLiteral("\non ") + printer.printerName();
    else if (!printer.outputFileName().isEmpty())
        heading += QStringLiteral("\nto ") + printer.outputFileName();

    int sent = 0;
    const PrintResult result =
        RenderLayoutPages(layout, device, fromPage, toPage, copies, [&](int page) {
            progress.setValue(sent++);
            progress.setLabelText(heading + QStringLiteral("\nPage %1").arg(page));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.setValue(progress.maximum());

    if (result == PrintResult::Failed)
        reportFailure(QStringLiteral("Could not start print job."));
    else if (result == PrintResult::Interrupted)
        reportFailure(QStringLiteral("The print job failed before it was finished."));
    return result;
}
