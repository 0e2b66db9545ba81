#include "shell/SheetLayout.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "widgets/QtText.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <functional>
#include <numeric>

using varn_sheet::Align;
using varn_sheet::Block;
using varn_sheet::Section;
using varn_sheet::SheetContent;
using Font = SheetLayout::Font;

namespace {

constexpr size_t kCompactColumns = 4;
const QColor kInk(17, 17, 17);
const QColor kGrey(90, 90, 90);
const QColor kZebra(238, 238, 238);

QFont MakeFont(double points, bool bold, const QPaintDevice& device) {
    // A proportional face that the package list installs everywhere; any sans face stands in.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    // No ligatures: "fl" stays two letters, so that a search of the PDF finds every word.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return QFont(f, &device);
}

} // namespace

// Builds the pages of a layout: a cursor runs down the page and every section, row and
// box is placed as an item of the current page.
class SheetLayoutBuilder {
public:
    SheetLayoutBuilder(SheetLayout& layout, const QPaintDevice& device)
        : l(layout), dpi(device.logicalDpiY()) {
        const struct {
            Font font;
            double points;
            bool bold;
        } fonts[] = {{Font::Title, 17, true},     {Font::Subtitle, 9, false},
                     {Font::Section, 10.5, true}, {Font::Heading, 9.5, true},
                     {Font::Header, 9, true},     {Font::Body, 9, false},
                     {Font::Label, 9, false}};
        for (const auto& f : fonts)
            l.fonts[static_cast<int>(f.font)] = MakeFont(f.points, f.bold, device);
        margin = Mm(SheetLayout::kMarginMm);
        left = margin;
        right = l.paper.width() - margin;
        top = margin;
        bottom = l.paper.height() - margin;
        pad = Mm(1.6);
        cellPad = Mm(1.1);
        gap = Mm(3);
    }

    void Build(const SheetContent& content) {
        NewPage();
        // A long name takes as many lines, and pages, as it needs.
        for (const QString& line : Wrap(Font::Title, FromCore(content.title), right - left)) {
            if (y + LineHeight(Font::Title) > bottom)
                NewPage();
            Text(left, y + Ascent(Font::Title), Font::Title, line, right - left);
            y += LineHeight(Font::Title);
        }
        Text(left, y + Ascent(Font::Subtitle), Font::Subtitle, FromCore(content.subtitle),
             right - left);
        y += LineHeight(Font::Subtitle) + gap;
        for (size_t i = 0; i < content.sections.size();) {
            if (!content.sections[i].compact) {
                PlaceSection(content.sections[i++]);
                continue;
            }
            std::vector<const Section*> row;
            while (i < content.sections.size() && content.sections[i].compact &&
                   row.size() < kCompactColumns)
                row.push_back(&content.sections[i++]);
            PlaceCompactRow(row);
        }
    }

private:
    // A piece of a section that is never split: a table row, a line of text, a heading.
    struct Unit {
        double height;
        std::function<void(double y)> place;
        const Unit* header = nullptr; // the table header that repeats above it after a break
    };

    double Mm(double mm) const { return mm * dpi / 25.4; }
    QFontMetricsF Metrics(Font f) const { return QFontMetricsF(l.fonts[static_cast<int>(f)]); }
    double LineHeight(Font f) const { return Metrics(f).height() * 1.12; }
    double Ascent(Font f) const { return Metrics(f).ascent(); }
    double Width(Font f, const QString& s) const { return Metrics(f).horizontalAdvance(s); }

    void NewPage() {
        l.pages.emplace_back();
        y = top;
    }

    SheetLayout::Page& page() { return l.pages.back(); }

    // Text whose baseline starts at (x, baseline); never wider than `room`.
    void Text(double x, double baseline, Font f, const QString& s, double room) {
        if (s.isEmpty())
            return;
        QString shown = s;
        if (Width(f, s) > room)
            shown = Metrics(f).elidedText(s, Qt::ElideRight, room);
        page().push_back({SheetLayout::Item::Kind::Text, QRectF(x, baseline, 0, 0), f, shown});
    }

    void Line(double x1, double y1, double x2, double y2) {
        page().push_back({SheetLayout::Item::Kind::Line,
                          QRectF(QPointF(x1, y1), QPointF(x2, y2)),
                          Font::Body,
                          {}});
    }

    void Box(const QRectF& r) {
        page().push_back({SheetLayout::Item::Kind::Box, r, Font::Body, {}});
    }

    void Fill(const QRectF& r) {
        page().push_back({SheetLayout::Item::Kind::Fill, r, Font::Body, {}});
    }

    // Greedy word wrap to `width`; a word longer than a line is cut where it must be.
    std::vector<QString> Wrap(Font f, const QString& text, double width) const {
        std::vector<QString> lines;
        const QFontMetricsF m = Metrics(f);
        QString line;
        double lineWidth = 0;
        const double space = m.horizontalAdvance(QLatin1Char(' '));
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            // Widths add up word by word: a long text wraps in time in proportion to it.
            const double wordWidth = m.horizontalAdvance(word);
            if (!line.isEmpty() && lineWidth + space + wordWidth <= width) {
                line += QLatin1Char(' ') + word;
                lineWidth += space + wordWidth;
                continue;
            }
            if (!line.isEmpty())
                lines.push_back(line);
            line = word;
            lineWidth = wordWidth;
            if (lineWidth <= width || word.size() < 2)
                continue;
            // Too long for a line: cut into the longest pieces that fit, found by halving.
            qsizetype at = 0;
            for (;;) {
                const qsizetype rest = word.size() - at;
                qsizetype low = 1, high = std::min<qsizetype>(rest, 4096);
                while (low < high) {
                    const qsizetype mid = (low + high + 1) / 2;
                    if (m.horizontalAdvance(word.mid(at, mid)) <= width)
                        low = mid;
                    else
                        high = mid - 1;
                }
                if (low < rest && low > 1 && word.at(at + low).isLowSurrogate())
                    --low; // never between the halves of a character
                if (low == rest)
                    break;
                lines.push_back(word.mid(at, low));
                at += low;
            }
            line = word.mid(at);
            lineWidth = m.horizontalAdvance(line);
        }
        if (!line.isEmpty() || lines.empty())
            lines.push_back(line);
        return lines;
    }

    // Column widths for a table `width` wide: natural widths where they fit; otherwise the
    // text columns after the first share what the others leave, and wrap.
    std::vector<double> ColumnWidths(const Block& b, Font headerFont, double width) const {
        const size_t n = std::max<size_t>(b.columns.size(), b.rows.empty() ? 0 : b.rows[0].size());
        std::vector<double> natural(n, 0);
        for (size_t i = 0; i < b.columns.size(); ++i)
            natural[i] = Width(headerFont, FromCore(b.columns[i].title));
        for (const auto& row : b.rows)
            for (size_t i = 0; i < row.size() && i < n; ++i)
                natural[i] = std::max(natural[i], Width(Font::Body, FromCore(row[i])));
        for (double& w : natural)
            w += 2 * cellPad + 1;
        const double sum = std::accumulate(natural.begin(), natural.end(), 0.0);
        if (sum <= width) {
            for (double& w : natural)
                w += (width - sum) * w / sum;
            return natural;
        }
        auto shrinkable = [&](size_t i) {
            return i > 0 && (i >= b.columns.size() || b.columns[i].align == Align::Left);
        };
        double fixed = 0;
        std::vector<double> flexible;
        for (size_t i = 0; i < n; ++i)
            if (shrinkable(i))
                flexible.push_back(natural[i]);
            else
                fixed += natural[i];
        std::vector<double> widths = natural;
        const double room = width - fixed;
        // The widest text columns give way first, down to a common width, so that short
        // columns (a range, a duration) keep their words on one line.
        std::sort(flexible.begin(), flexible.end());
        double cap = 0, before = 0;
        for (size_t k = 0; k < flexible.size(); ++k) {
            const double level = (room - before) / static_cast<double>(flexible.size() - k);
            if (level <= flexible[k]) {
                cap = level;
                break;
            }
            before += flexible[k];
        }
        if (!flexible.empty() && cap >= Mm(12)) {
            for (size_t i = 0; i < n; ++i)
                if (shrinkable(i))
                    widths[i] = std::min(natural[i], cap);
            return widths;
        }
        // Figures are never split: their columns keep their width and the text columns
        // share what is left.
        auto figure = [&](size_t i) {
            return i < b.columns.size() && b.columns[i].align != Align::Left;
        };
        double figures = 0, texts = 0;
        for (size_t i = 0; i < n; ++i)
            (figure(i) ? figures : texts) += natural[i];
        if (texts > 0 && figures < width) {
            for (size_t i = 0; i < n; ++i)
                if (!figure(i))
                    widths[i] = (width - figures) * natural[i] / texts;
            return widths;
        }
        for (double& w : widths)
            w = width * w / sum;
        return widths;
    }

    // The units of one block, `width` wide, starting at `x`.
    void BlockUnits(const Block& b, double x, double width, bool compact,
                    std::vector<std::unique_ptr<Unit>>& units) {
        if (!b.heading.empty()) {
            const QString heading = FromCore(b.heading);
            units.push_back(std::make_unique<Unit>(Unit{
                LineHeight(Font::Heading) + Mm(0.6), [=, this](double top) {
                    Text(x, top + Mm(0.6) + Ascent(Font::Heading), Font::Heading, heading, width);
                }}));
        }
        const double line = LineHeight(Font::Body);
        if (b.kind == Block::Kind::Text) {
            for (const auto& row : b.rows)
                for (const QString& text :
                     Wrap(Font::Body, FromCore(row.empty() ? std::string() : row[0]), width)) {
                    units.push_back(std::make_unique<Unit>(
                        Unit{line, [=, this](double top) {
                                 Text(x, top + Ascent(Font::Body), Font::Body, text, width);
                             }}));
                }
            return;
        }

        const bool fields = b.kind == Block::Kind::Fields;
        Block shape = b;
        if (fields)
            shape.columns = {{"", Align::Left}, {"", compact ? Align::Right : Align::Left}};
        const std::vector<double> widths = ColumnWidths(shape, Font::Header, width);
        std::vector<double> starts(widths.size(), x);
        for (size_t i = 1; i < widths.size(); ++i)
            starts[i] = starts[i - 1] + widths[i - 1];

        std::vector<Align> aligns;
        for (const auto& column : shape.columns)
            aligns.push_back(column.align);
        auto cellText = [=, this](const QString& text, size_t i, Font f, double baseline) {
            const double inner = widths[i] - 2 * cellPad;
            const Align align = i < aligns.size() ? aligns[i] : Align::Left;
            double at = starts[i] + cellPad;
            const double w = std::min(Width(f, text), inner);
            if (align == Align::Right)
                at = starts[i] + widths[i] - cellPad - w;
            else if (align == Align::Center)
                at = starts[i] + (widths[i] - w) / 2;
            Text(at, baseline, f, text, inner);
        };

        const Unit* header = nullptr;
        if (!fields) {
            std::vector<QString> titles;
            for (const auto& c : b.columns)
                titles.push_back(FromCore(c.title));
            const double h = LineHeight(Font::Header) + Mm(0.4);
            units.push_back(std::make_unique<Unit>(
                Unit{h, [=, this](double top) {
                         for (size_t i = 0; i < titles.size(); ++i)
                             cellText(titles[i], i, Font::Header, top + Ascent(Font::Header));
                         Line(x, top + h - Mm(0.2), x + width, top + h - Mm(0.2));
                     }}));
            header = units.back().get();
        }
        for (size_t r = 0; r < b.rows.size(); ++r) {
            std::vector<std::vector<QString>> cells;
            size_t lines = 1;
            for (size_t i = 0; i < b.rows[r].size() && i < widths.size(); ++i) {
                cells.push_back(Wrap(Font::Body, FromCore(b.rows[r][i]), widths[i] - 2 * cellPad));
                lines = std::max(lines, cells.back().size());
            }
            const double h = lines * line + Mm(0.5);
            const bool zebra = !fields && r % 2 == 1;
            const Font labelFont = fields ? Font::Label : Font::Body;
            if (h > (bottom - top) / 3) {
                // A row too tall to keep whole goes on line by line, over pages if need be.
                for (size_t k = 0; k < lines; ++k) {
                    const double lh = k + 1 == lines ? line + Mm(0.5) : line;
                    units.push_back(std::make_unique<Unit>(Unit{
                        lh,
                        [=, this](double top) {
                            if (zebra)
                                Fill(QRectF(x, top, width, lh));
                            for (size_t i = 0; i < cells.size(); ++i)
                                if (k < cells[i].size())
                                    cellText(cells[i][k], i, i == 0 ? labelFont : Font::Body,
                                             top + (k == 0 ? Mm(0.25) : 0) + Ascent(Font::Body));
                        },
                        header}));
                }
                continue;
            }
            units.push_back(std::make_unique<Unit>(
                Unit{h,
                     [=, this](double top) {
                         if (zebra)
                             Fill(QRectF(x, top, width, h));
                         for (size_t i = 0; i < cells.size(); ++i)
                             for (size_t k = 0; k < cells[i].size(); ++k)
                                 cellText(cells[i][k], i, i == 0 ? labelFont : Font::Body,
                                          top + Mm(0.25) + k * line + Ascent(Font::Body));
                     },
                     header}));
        }
    }

    double SectionTitleHeight() const { return LineHeight(Font::Section) + Mm(1.2); }

    void SectionTitle(const QString& title, double x, double width, double top) {
        Text(x + pad, top + pad + Ascent(Font::Section), Font::Section, title, width - 2 * pad);
        const double under = top + pad + LineHeight(Font::Section) + Mm(0.3);
        Line(x + pad, under, x + width - pad, under);
    }

    void PlaceSection(const Section& s) {
        std::vector<std::unique_ptr<Unit>> units;
        const double inner = right - left - 2 * pad;
        for (const Block& b : s.blocks)
            BlockUnits(b, left + pad, inner, false, units);
        const QString title = FromCore(s.title).toUpper();
        const double head = pad + SectionTitleHeight();
        double total = head + pad;
        for (const auto& u : units)
            total += u->height;

        const double pageRoom = bottom - top;
        if (y + total > bottom && total <= pageRoom)
            NewPage();
        else if (total > pageRoom && units.size() > 1 &&
                 y + head + pad + units[0]->height + units[1]->height > bottom)
            NewPage();

        double boxTop = y;
        SectionTitle(title, left, right - left, boxTop);
        y += head;
        for (const auto& u : units) {
            const bool isHeader = IsHeader(u.get(), units);
            if (y + u->height + pad > bottom && y > boxTop + head) {
                // The box ends here and goes on, under its title, on the next page.
                Box(QRectF(left, boxTop, right - left, y + pad - boxTop));
                NewPage();
                boxTop = y;
                SectionTitle(title + QStringLiteral(" (continued)"), left, right - left, boxTop);
                y += head;
                if (u->header && !isHeader) {
                    u->header->place(y);
                    y += u->header->height;
                }
            }
            u->place(y);
            y += u->height;
        }
        Box(QRectF(left, boxTop, right - left, y + pad - boxTop));
        y += pad + gap;
    }

    static bool IsHeader(const Unit* u, const std::vector<std::unique_ptr<Unit>>& units) {
        for (const auto& other : units)
            if (other->header == u)
                return true;
        return false;
    }

    void PlaceCompactRow(const std::vector<const Section*>& row) {
        const double columns = static_cast<double>(kCompactColumns);
        const double width = (right - left - gap * (columns - 1)) / columns;
        std::vector<std::vector<std::unique_ptr<Unit>>> boxes(row.size());
        double tallest = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            const double x = left + i * (width + gap);
            for (const Block& b : row[i]->blocks)
                BlockUnits(b, x + pad, width - 2 * pad, true, boxes[i]);
            double h = pad + SectionTitleHeight() + pad;
            for (const auto& u : boxes[i])
                h += u->height;
            tallest = std::max(tallest, h);
        }
        if (y + tallest > bottom)
            NewPage();
        for (size_t i = 0; i < row.size(); ++i) {
            const double x = left + i * (width + gap);
            SectionTitle(FromCore(row[i]->title).toUpper(), x, width, y);
            double at = y + pad + SectionTitleHeight();
            for (const auto& u : boxes[i]) {
                u->place(at);
                at += u->height;
            }
            Box(QRectF(x, y, width, tallest));
        }
        y += tallest + gap;
    }

    SheetLayout& l;
    double dpi;
    double margin, left, right, top, bottom, pad, cellPad, gap;
    double y = 0;
};

SheetLayout::SheetLayout(const varn_sheet::SheetContent& content, QSizeF paperSize,
                         const QPaintDevice& device)
    : paper(paperSize) {
    SheetLayoutBuilder(*this, device).Build(content);
}

void SheetLayout::paintPage(QPainter& painter, int index) const {
    if (index < 0 || index >= pageCount())
        return;
    painter.save();
    const double unit = std::max(1.0, paper.width() / 800.0); // about 0.25 mm on any device
    const QPen thin(kGrey, unit);
    const QPen rule(kInk, unit * 1.4);
    for (const Item& item : pages[static_cast<size_t>(index)]) {
        switch (item.kind) {
        case Item::Kind::Text:
            painter.setPen(item.font == Font::Label || item.font == Font::Subtitle ? kGrey : kInk);
            painter.setFont(fonts[static_cast<int>(item.font)]);
            painter.drawText(item.rect.topLeft(), item.text);
            break;
        case Item::Kind::Line:
            painter.setPen(thin);
            painter.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            break;
        case Item::Kind::Box:
            painter.setPen(rule);
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(item.rect, unit * 3, unit * 3);
            break;
        case Item::Kind::Fill:
            painter.fillRect(item.rect, kZebra);
            break;
        }
    }
    painter.restore();
}

bool PaintSheet(const varn_sheet::SheetContent& content, QPagedPaintDevice& device) {
    // The layout places everything from the paper's corner, margins included.
    auto* printer = dynamic_cast<QPrinter*>(&device);
    const bool wasFullPage = printer != nullptr && printer->fullPage();
    if (printer != nullptr)
        printer->setFullPage(true);
    else
        device.setPageMargins(QMarginsF(0, 0, 0, 0));
    const SheetLayout layout(content, QSizeF(device.width(), device.height()), device);
    QPainter painter;
    bool ok = painter.begin(&device);
    for (int page = 0; ok && page < layout.pageCount(); ++page) {
        if (page > 0)
            ok = device.newPage();
        if (ok)
            layout.paintPage(painter, page);
    }
    if (painter.isActive())
        ok = painter.end() && ok;
    if (printer != nullptr)
        printer->setFullPage(wasFullPage);
    return ok;
}

QByteArray SheetPdfBytes(const varn_sheet::SheetContent& content, const QPageLayout& layout,
                         const QString& title, int resolution) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool ok;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("VARN"));
        writer.setTitle(title);
        ok = PaintSheet(content, writer);
    } // the writer finishes the file as it goes
    return ok ? bytes : QByteArray();
}

bool WritePdfFile(const QByteArray& bytes, const QString& path, QString* error) {
    const std::string target = QFile::encodeName(path).toStdString();
    CVARN_FileFailure failure = CVARN_FileFailure::SaveFailed;
    if (!bytes.isEmpty())
        failure = WriteFileBytes(target, std::string_view(bytes.constData(), bytes.size()));
    if (failure == CVARN_FileFailure::None)
        return true;
    if (error)
        *error = FromCore(FileFailureText(failure, target));
    return false;
}

bool WriteSheetPdf(const CVARN_Character& character, const QString& path,
                   QPageSize::PageSizeId paper, QString* error) {
    // Made whole in memory, then saved as every other file is: beside the target, renamed
    // over it when complete, so a failure keeps the old file.
    const QPageLayout layout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    return WritePdfFile(SheetPdfBytes(varn_sheet::BuildSheetContent(character), layout,
                                      FromCore(character.name), 600),
                        path, error);
}
