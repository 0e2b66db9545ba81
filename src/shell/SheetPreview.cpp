#include "shell/SheetPreview.h"

#include "character/SheetContent.h"
#include "shell/Doc.h"
#include "shell/DocManager.h"
#include "shell/QtPrompt.h"
#include "shell/SheetPainter.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace {
// Pages are drawn at the screen's usual resolution; the layout is measured at the same
// one, so the preview wraps and breaks exactly where the paper does.
constexpr int kPreviewDpi = 96;
} // namespace

CVARN_SheetPreview::CVARN_SheetPreview(CVARN_Doc* doc, QWidget* parent)
    : QScrollArea(parent), m_owner(doc), m_pages(new QWidget), m_layout(new QVBoxLayout(m_pages)) {
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_layout->setSpacing(12);
    m_layout->setContentsMargins(12, 12, 12, 12);
    setWidget(m_pages);
    setWidgetResizable(true);
}

CVARN_SheetPreview::~CVARN_SheetPreview() = default;

QPrinter& CVARN_SheetPreview::Printer() {
    if (m_owner)
        return m_owner->Manager().Printer();
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

void CVARN_SheetPreview::OnInitialUpdate() {
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_pageCount = 0;
    if (!m_owner)
        return;
    const QSizeF mm = Printer().pageLayout().fullRect(QPageLayout::Millimeter).size();
    const QSize pixels(qRound(mm.width() / 25.4 * kPreviewDpi),
                       qRound(mm.height() / 25.4 * kPreviewDpi));
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(qRound(kPreviewDpi / 0.0254));
    probe.setDotsPerMeterY(qRound(kPreviewDpi / 0.0254));
    const CVARN_SheetLayout layout(varn_sheet::BuildSheetContent(m_owner->Character()),
                                   QSizeF(pixels), probe);
    m_pageCount = layout.PageCount();
    for (int page = 0; page < layout.PageCount(); ++page) {
        QImage image(pixels, QImage::Format_RGB32);
        image.setDotsPerMeterX(probe.dotsPerMeterX());
        image.setDotsPerMeterY(probe.dotsPerMeterY());
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        layout.PaintPage(painter, page);
        painter.end();
        auto* label = new QLabel(m_pages);
        label->setPixmap(QPixmap::fromImage(image));
        label->setFrameShape(QFrame::Box);
        m_layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    m_layout->addStretch(1);
}

CVARN_PrintResult CVARN_SheetPreview::OnFilePrint() {
    QPrinter& printer = Printer();
    if (m_owner)
        printer.setDocName(m_owner->Title().left(31));
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return CVARN_PrintResult::Cancelled;
    return PrintOn(printer);
}

CVARN_PrintResult CVARN_SheetPreview::PrintOn(QPrinter& printer) {
    if (!m_owner)
        return CVARN_PrintResult::Failed;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Printing to a PDF file saves it as an export does, keeping the old file on failure.
        QPageLayout layout = printer.pageLayout();
        layout.setMargins(QMarginsF(0, 0, 0, 0));
        const QByteArray pdf = SheetPdfBytes(varn_sheet::BuildSheetContent(m_owner->Character()),
                                             layout, printer.docName(), printer.resolution());
        QString error;
        if (!WritePdfFile(pdf, printer.outputFileName(), &error)) {
            m_owner->Manager().Prompt().Warn(error);
            return CVARN_PrintResult::Failed;
        }
        return CVARN_PrintResult::Printed;
    }
    if (!PaintSheet(varn_sheet::BuildSheetContent(m_owner->Character()), printer)) {
        m_owner->Manager().Prompt().Warn(QStringLiteral("Could not start print job."));
        return CVARN_PrintResult::Failed;
    }
    return CVARN_PrintResult::Printed;
}
