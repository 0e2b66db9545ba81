#include "shell/PrintingViewText.h"

#include "character/TextSheet.h"
#include "shell/Doc.h"
#include "shell/DocManager.h"
#include "shell/QtPrompt.h"
#include "shell/SheetPainter.h"
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

CVARN_PrintingViewText::CVARN_PrintingViewText(CVARN_Doc* doc, QWidget* parent)
    : QTextEdit(parent), m_owner(doc) {
    // Pasted text takes the print font instead of bringing its own formatting along.
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    charFormat.setFont(PrintFont());
    ResetContents();
    if (m_owner)
        m_owner->AddView(this);
}

CVARN_PrintingViewText::~CVARN_PrintingViewText() {
    if (m_owner)
        m_owner->RemoveView(this);
}

CVARN_Doc* CVARN_PrintingViewText::GetDocument() const {
    return m_owner ? m_shown : nullptr;
}

QFont CVARN_PrintingViewText::PrintFont() {
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

void CVARN_PrintingViewText::ResetContents() {
    clear();
    document()->setDefaultFont(charFormat.font());
    QTextOption option = document()->defaultTextOption();
    option.setTabs({});
    document()->setDefaultTextOption(option);
    setCurrentCharFormat(charFormat);
    moveCursor(QTextCursor::Start);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

void CVARN_PrintingViewText::OnInitialUpdate() {
    m_shown = m_owner.data();
    QString text;
    if (m_shown != nullptr) {
        std::string sheet;
        BuildTextSheet(m_shown->Character(), sheet);
        text = FromCore(sheet);
    } else {
        text = QStringLiteral("Error - Can't find character informations !!!");
    }
    setPlainText(text);
    // The font goes into the text itself, so that a copy laid out for the printer keeps it.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(charFormat);
    setCurrentCharFormat(charFormat);
    moveCursor(QTextCursor::Start);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

QString CVARN_PrintingViewText::JobName() const {
    const CVARN_Doc* doc = GetDocument();
    return doc != nullptr ? doc->Title().left(kMaxJobNameLength) : QString();
}

QPrinter& CVARN_PrintingViewText::Printer() {
    if (m_owner)
        return m_owner->Manager().Printer();
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

void CVARN_PrintingViewText::ReportFailure(const QString& text) {
    if (m_owner)
        m_owner->Manager().Prompt().Warn(text);
    else
        QMessageBox::warning(window(), QStringLiteral("VARN"), text);
}

CVARN_PrintResult CVARN_PrintingViewText::OnFilePrint() {
    QPrinter& printer = Printer();
    // Named before the dialog: it proposes the name for printing to a file.
    printer.setDocName(JobName());
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return CVARN_PrintResult::Cancelled;
    return PrintOn(printer);
}

CVARN_PrintResult CVARN_PrintingViewText::PrintOn(QPrinter& printer) {
    const QString jobName = JobName();
    printer.setDocName(jobName);
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return SendPages(printer, printer);

    // A PDF file is made whole in memory, then saved as every other file is, so that a
    // failed write keeps the old file.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CVARN_PrintResult result;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        writer.setCreator(QStringLiteral("VARN"));
        writer.setTitle(jobName);
        result = SendPages(printer, writer);
    } // the writer finishes the file as it goes
    if (result != CVARN_PrintResult::Printed)
        return result;
    QString error;
    if (!WritePdfFile(bytes, printer.outputFileName(), &error)) {
        ReportFailure(error);
        return CVARN_PrintResult::Failed;
    }
    return result;
}

CVARN_PrintResult CVARN_PrintingViewText::SendPages(QPrinter& printer, QPagedPaintDevice& device) {
    const QString jobName = printer.docName();
    const CVARN_PrintLayout layout(*document(), device);

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
    const int last = toPage > 0 ? std::min(toPage, layout.PageCount()) : layout.PageCount();
    const int sheets = std::max(last - first + 1, 0) * std::max(copies, 1);
    progress.setRange(0, std::max(sheets, 1));
    QString heading = jobName;
    if (!printer.printerName().isEmpty() && printer.outputFileName().isEmpty())
        heading += QStringLiteral("\non ") + printer.printerName();
    else if (!printer.outputFileName().isEmpty())
        heading += QStringLiteral("\nto ") + printer.outputFileName();

    int sent = 0;
    const CVARN_PrintResult result =
        RenderLayoutPages(layout, device, fromPage, toPage, copies, [&](int page) {
            progress.setValue(sent++);
            progress.setLabelText(heading + QStringLiteral("\nPage %1").arg(page));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.setValue(progress.maximum());

    if (result == CVARN_PrintResult::Failed)
        ReportFailure(QStringLiteral("Could not start print job."));
    else if (result == CVARN_PrintResult::Interrupted)
        ReportFailure(QStringLiteral("The print job failed before it was finished."));
    return result;
}
