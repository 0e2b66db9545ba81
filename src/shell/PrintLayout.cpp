#include "shell/PrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

QMarginsF PrintMarginsInPoints() {
    const qreal points = VARN_PRINT_MARGIN_TWIPS / 20.0;
    return QMarginsF(points, points, points, points);
}

PrintLayout::PrintLayout(const QTextDocument& text, QPagedPaintDevice& device)
    : m_doc(text.clone()) {
    // In standard mode a printer refuses margins below its unprintable border; its own
    // (wider) margins then stay, which still keeps every line on the paper.
    device.setPageMargins(PrintMarginsInPoints(), QPageLayout::Point);
    m_body = QSizeF(device.width(), device.height());

    // Laid out in the device's resolution: the printed lines break where the device's font
    // metrics say, not where the screen's would.
    m_doc->documentLayout()->setPaintDevice(&device);
    m_doc->setDocumentMargin(0);
    m_doc->setPageSize(m_body);
    paginate();
}

PrintLayout::~PrintLayout() = default;

QPointF PrintLayout::blockOrigin(const QTextBlock& block) const {
    // The block's lines are placed relative to this point of the whole text.
    return m_doc->documentLayout()->blockBoundingRect(block).topLeft();
}

void PrintLayout::paginate() {
    m_pages.clear();
    m_lines.clear();
    const qreal pageHeight = m_body.height();
    int lastPage = 0;
    std::vector<int> firstOfPage; // document position of each page's first line, -1 if none
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        if (lines == nullptr)
            continue;
        const qreal blockTop = blockOrigin(block).y();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            // The layout already moved lines that would cross a page bottom onto the next
            // page; a small tolerance keeps rounding from putting a line on the page above.
            const qreal top = blockTop + line.y();
            const int page =
                pageHeight > 0 ? static_cast<int>(std::floor((top + 0.5) / pageHeight)) : 0;
            if (page >= static_cast<int>(firstOfPage.size()))
                firstOfPage.resize(page + 1, -1);
            if (firstOfPage[page] < 0)
                firstOfPage[page] = block.position() + line.textStart();
            lastPage = std::max(lastPage, page);
            m_lines.push_back({block.blockNumber(), i, page});
        }
    }
    // Printing stops after the page on which the text ends; a page left empty inside the
    // text (a line taller than a page) keeps its neighbour's start.
    const int end = std::max(0, m_doc->characterCount() - 1);
    m_pages.resize(lastPage + 1);
    int next = end;
    for (int page = lastPage; page >= 0; --page) {
        const int first = page < static_cast<int>(firstOfPage.size()) && firstOfPage[page] >= 0
                              ? firstOfPage[page]
                              : next;
        m_pages[page] = {page == 0 ? 0 : first, next};
        next = m_pages[page].first;
    }
}

QString PrintLayout::pageText(int page) const {
    if (page < 0 || page >= pageCount())
        return QString();
    // Raw text positions are document positions: one character per position.
    QString text =
        m_doc->toRawText().mid(m_pages[page].first, m_pages[page].end - m_pages[page].first);
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void PrintLayout::drawPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount())
        return;
    // Line by line rather than the whole text under a clip: a paragraph that runs over a
    // page bottom would otherwise put its hidden lines into the page too, where a PDF
    // reader still finds them when searching or copying.
    const qreal pageTop = page * m_body.height();
    painter.save();
    painter.setPen(Qt::black);
    const auto first = std::lower_bound(m_lines.begin(), m_lines.end(), page,
                                        [](const PlacedLine& l, int p) { return l.page < p; });
    for (auto it = first; it != m_lines.end() && it->page == page; ++it) {
        const QTextBlock block = m_doc->findBlockByNumber(it->block);
        const QTextLayout* lines = block.layout();
        if (lines == nullptr)
            continue;
        lines->lineAt(it->line).draw(&painter, blockOrigin(block) - QPointF(0, pageTop));
    }
    painter.restore();
}

PrintResult RenderLayoutPages(const PrintLayout& layout, QPagedPaintDevice& device, int fromPage,
                              int toPage, int copies,
                              const std::function<bool(int page)>& pageStarting) {
    const int first = std::max(fromPage, 1);
    const int last = toPage > 0 ? std::min(toPage, layout.pageCount()) : layout.pageCount();
    copies = std::max(copies, 1);
    if (first > last)
        return PrintResult::Printed; // a range past the end: nothing to send

    QPainter painter;
    if (!painter.begin(&device))
        return PrintResult::Failed;
    bool started = false;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (pageStarting && !pageStarting(page)) {
                // A printer drops the job instead of printing what was sent so far.
                if (auto* printer = dynamic_cast<QPrinter*>(&device))
                    printer->abort();
                painter.end();
                return PrintResult::Cancelled;
            }
            if (started && !device.newPage()) {
                painter.end();
                return PrintResult::Interrupted;
            }
            started = true;
            layout.drawPage(painter, page - 1);
        }
    }
    return painter.end() ? PrintResult::Printed : PrintResult::Interrupted;
}

PrintResult RenderTextPages(const QTextDocument& text, QPagedPaintDevice& device, int fromPage,
                            int toPage, int copies,
                            const std::function<bool(int page)>& pageStarting) {
    const PrintLayout layout(text, device);
    return RenderLayoutPages(layout, device, fromPage, toPage, copies, pageStarting);
}
