// Text laid out on printer pages, read back from the PDF.
#include "shell/DocFixture.h"
#include "shell/PrintLayout.h"
#include "shell/PrintTextView.h"

#include <memory>
#include <vector>

using varn_test::PdfText;

namespace {

// A sheet-like text in the print font: numbered lines, every seventh one far wider than the
// page so that it wraps onto several printed lines.
std::unique_ptr<QTextDocument> NumberedText(int lines, bool wide = true) {
    QStringList text;
    for (int i = 1; i <= lines; ++i) {
        text << QStringLiteral("L%1 %2")
                    .arg(i, 4, 10, QLatin1Char('0'))
                    .arg(wide && i % 7 == 0 ? QString(260, QLatin1Char('w'))
                                            : QStringLiteral("value %1").arg(i * 3));
    }
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(PrintTextView::printFont());
    doc->setPlainText(text.join(QLatin1Char('\n')));
    return doc;
}

// The line markers ("L0001") found in a text, in order.
QStringList Markers(const QString& text) {
    QStringList found;
    static const QRegularExpression marker(QStringLiteral("L\\d{4}"));
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

std::unique_ptr<QPdfWriter> LetterPdf(const QString& path) {
    auto pdf = std::make_unique<QPdfWriter>(path);
    pdf->setPageSize(QPageSize(QPageSize::Letter));
    pdf->setResolution(1200);
    return pdf;
}

} // namespace

TEST(PrintLayout, PagesFollowOneAnotherAndPrintInRangesCopiesUntilCancelled) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    const auto text = NumberedText(400);
    auto pdf = LetterPdf(path);
    const PrintLayout layout(*text, *pdf);

    // Letter paper, 8.5 by 11 inches, less 5/6 inch on each side, at 1200 dots per inch.
    EXPECT_NEAR(layout.bodySize().width(), (8.5 - 2 * 5.0 / 6) * 1200, 2);
    EXPECT_NEAR(layout.bodySize().height(), (11 - 2 * 5.0 / 6) * 1200, 2);

    ASSERT_GE(layout.pageCount(), 4);
    const auto& pages = layout.pages();
    EXPECT_EQ(pages.back().end, text->characterCount() - 1);
    QString joined;
    for (int p = 0; p < layout.pageCount(); ++p) {
        EXPECT_EQ(pages[p].first, p > 0 ? pages[p - 1].end : 0) << "page " << p;
        EXPECT_LT(pages[p].first, pages[p].end) << "page " << p << " is empty";
        joined += layout.pageText(p);
    }
    EXPECT_EQ(joined, text->toPlainText());

    // 8-point lines on the printer: some seventy to a page, not the many hundreds that a
    // layout measured with the screen's resolution would squeeze onto it.
    const auto shortLines = NumberedText(300, false);
    auto pdf2 = LetterPdf(dir.filePath("short.pdf"));
    const PrintLayout plain(*shortLines, *pdf2);
    ASSERT_GE(plain.pageCount(), 3);
    const qsizetype perPage = Markers(plain.pageText(0)).size();
    EXPECT_TRUE(perPage >= 50 && perPage <= 95) << perPage;

    // What reaches the paper: one PDF page per layout page, each with exactly its own lines.
    ASSERT_EQ(RenderLayoutPages(layout, *pdf), PrintResult::Printed);
    pdf.reset();
    const QStringList printed = PdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), layout.pageCount());
    for (int p = 0; p < layout.pageCount(); ++p)
        EXPECT_EQ(Markers(printed[p]), Markers(layout.pageText(p))) << "page " << p + 1;

    // Pages 2 and 3, twice, collated.
    pdf = LetterPdf(dir.filePath("range.pdf"));
    std::vector<int> started;
    auto record = [&](int page) {
        started.push_back(page);
        return true;
    };
    EXPECT_EQ(RenderTextPages(*text, *pdf, 2, 3, 2, record), PrintResult::Printed);
    pdf.reset();
    EXPECT_EQ(started, (std::vector<int>{2, 3, 2, 3}));
    EXPECT_EQ(PdfText(dir.filePath("range.pdf")).count(QLatin1Char('\f')), 4);

    // A range reaching past the end stops at the last page.
    started.clear();
    EXPECT_EQ(RenderLayoutPages(plain, *pdf2, plain.pageCount(), 99, 1, record),
              PrintResult::Printed);
    EXPECT_EQ(started, (std::vector<int>{plain.pageCount()}));

    // The user's Cancel before the second page stops the run there.
    started.clear();
    auto pdf3 = LetterPdf(dir.filePath("cancel.pdf"));
    EXPECT_EQ(RenderTextPages(*text, *pdf3, 0, 0, 1,
                              [&](int page) {
                                  started.push_back(page);
                                  return page < 2;
                              }),
              PrintResult::Cancelled);
    EXPECT_EQ(started, (std::vector<int>{1, 2}));

    // An empty text is one blank page.
    QTextDocument empty;
    const PrintLayout blank(empty, *pdf2);
    ASSERT_EQ(blank.pageCount(), 1);
    EXPECT_EQ(blank.pages()[0].first, 0);
    EXPECT_EQ(blank.pages()[0].end, 0);
}
