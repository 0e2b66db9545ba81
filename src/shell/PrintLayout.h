#pragma once

#include <QMarginsF>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QTextBlock;
class QTextDocument;

// Printed pages keep 1200 twips (60 points, five sixths of an inch) free on every side.
inline constexpr int VARN_PRINT_MARGIN_TWIPS = 1200;
QMarginsF PrintMarginsInPoints();

// One printed page: the document positions [first, end) of the text it shows.
struct PrintPage {
    int first = 0;
    int end = 0;
};

// A copy of a text laid out for a paged device: the paper less the margins, in the device's
// own resolution, so that fonts and line breaks are those the device will print. Each line
// lies whole on one page; a line that would cross the bottom of the body starts the next
// page, so the pages follow one another without losing or repeating a line.
class PrintLayout {
public:
    // Gives `device` the print margins, then lays the text out on its page body. The device
    // must outlive the layout.
    PrintLayout(const QTextDocument& text, QPagedPaintDevice& device);
    ~PrintLayout();
    PrintLayout(const PrintLayout&) = delete;
    PrintLayout& operator=(const PrintLayout&) = delete;

    // Pages up to the one where the text ends; an empty text still has one (blank) page.
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<PrintPage>& pages() const { return m_pages; }
    // The plain text of a page (paragraphs joined with "\n"), for checks and previews.
    QString pageText(int page) const;
    // Width and height of the page body in device pixels.
    QSizeF bodySize() const { return m_body; }

    // Paints one page (from 0) with the painter's origin at the top left of the body.
    void drawPage(QPainter& painter, int page) const;

private:
    void paginate();
    QPointF blockOrigin(const QTextBlock& block) const;

    // A line of the laid-out text: its block's number, its index in the block, its page.
    struct PlacedLine {
        int block;
        int line;
        int page;
    };

    std::unique_ptr<QTextDocument> m_doc;
    QSizeF m_body;
    std::vector<PrintPage> m_pages;
    std::vector<PlacedLine> m_lines; // in text order, so by page
};

// How a print run ended: every page sent, stopped by the user, the device could not be
// painted on at all, or it failed after some pages had gone.
enum class PrintResult { Printed, Cancelled, Failed, Interrupted };

// Sends pages fromPage to toPage of `layout` (counted from 1; 0 means from the first or to
// the last) to the device it was laid out for, each of them `copies` times, collated.
// Before each page `pageStarting`, if given, is told its number; returning false stops the
// run (a printer then drops the job).
PrintResult RenderLayoutPages(const PrintLayout& layout, QPagedPaintDevice& device,
                              int fromPage = 0, int toPage = 0, int copies = 1,
                              const std::function<bool(int page)>& pageStarting = {});

// Lays `text` out for `device` and sends it, as above.
PrintResult RenderTextPages(const QTextDocument& text, QPagedPaintDevice& device, int fromPage = 0,
                            int toPage = 0, int copies = 1,
                            const std::function<bool(int page)>& pageStarting = {});
