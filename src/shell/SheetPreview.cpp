#include "shell/SheetPreview.h"

#include "character/SheetContent.h"
#include "shell/CharacterDocument.h"
#include "shell/DocumentManager.h"
#include "shell/QtPrompt.h"
#include "shell/SheetLayout.h"

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

SheetPreview::SheetPreview(CharacterDocument* doc, QWidget* parent)
    : QScrollArea(parent), m_owner(doc), m_pages(new QWidget), m_layout(new QVBoxLayout(m_pages)) {
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_layout->setSpacing(12);
    m_layout->setContentsMargins(12, 12, 12, 12);
    setWidget(m_pages);
    setWidgetResizable(true);
}

SheetPreview::~SheetPreview() = default;

QPrinter& SheetPreview::printer() {
    if (m_owner)
        return m_owner->manager().printer();
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

void SheetPreview::initialUpdate() {
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_pageCount = 0;
    if (!m_owner)
        return;
    const QSizeF mm = printer().pageLayout().fullRect(QPageLayout::Millimeter).size();
    const QSize pixels(qRound(mm.width() / 25.4 * kPreviewDpi),
                       qRound(mm.height() / 25.4 * kPreviewDpi));
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(qRound(kPreviewDpi / 0.0254));
    probe.setDotsPerMeterY(qRound(kPreviewDpi / 0.0254));
    const SheetLayout layout(varn_sheet::BuildSheetContent(m_owner->character()), QSizeF(pixels),
                             probe);
    m_pageCount = layout.pageCount();
    for (int page = 0; page < layout.pageCount(); ++page) {
        QImage image(pixels, QImage::Format_RGB32);
        image.setDotsPerMeterX(probe.dotsPerMeterX());
        image.setDotsPerMeterY(probe.dotsPerMeterY());
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        layout.paintPage(painter, page);
        painter.end();
        auto* label = new QLabel(m_pages);
        label->setPixmap(QPixmap::fromImage(image));
        label->setFrameShape(QFrame::Box);
        m_layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    m_layout->addStretch(1);
}

PrintResult SheetPreview::filePrint() {
    QPrinter& printer = this->printer();
    if (m_owner)
        printer.setDocName(m_owner->title().left(31));
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return PrintResult::Cancelled;
    return printOn(printer);
}

PrintResult SheetPreview::printOn(QPrinter& printer) {
    if (!m_owner)
        return PrintResult::Failed;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Printing to a PDF file saves it as an export does, keeping the old file on failure.
        QPageLayout layout = printer.pageLayout();
        layout.setMargins(QMarginsF(0, 0, 0, 0));
        const QByteArray pdf = SheetPdfBytes(varn_sheet::BuildSheetContent(m_owner->character()),
                                             layout, printer.docName(), printer.resolution());
        QString error;
        if (!WritePdfFile(pdf, printer.outputFileName(), &error)) {
            m_owner->manager().prompt().warn(error);
            return PrintResult::Failed;
        }
        return PrintResult::Printed;
    }
    if (!PaintSheet(varn_sheet::BuildSheetContent(m_owner->character()), printer)) {
        m_owner->manager().prompt().warn(QStringLiteral("Could not start print job."));
        return PrintResult::Failed;
    }
    return PrintResult::Printed;
}
