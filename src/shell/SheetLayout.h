#pragma once

#include "character/SheetContent.h"

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

#include <vector>

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class CVARN_Character;

// The laid-out character sheet on pages: boxed sections with headings, tables with their
// figures right-aligned, several small boxes of figures side by side. A section moves to
// the next page whole unless it is longer than a page; then it runs over, and each table
// that breaks repeats its header row. Everything is measured on the device it is laid out
// for (its resolution sizes the fonts) and stays inside the margins.
class SheetLayout {
public:
    // Margins of every page, on every paper size.
    static constexpr double kMarginMm = 12.0;

    // Lays out `content` for pages of `paper` (in the device's pixels, origin at the
    // paper's top-left corner) on `device`.
    SheetLayout(const varn_sheet::SheetContent& content, QSizeF paper, const QPaintDevice& device);

    int pageCount() const { return static_cast<int>(pages.size()); }
    // Paints page `index` (from 0) with the painter's origin at the paper's corner.
    void paintPage(QPainter& painter, int index) const;

    enum class Font { Title, Subtitle, Section, Heading, Header, Body, Label, Count };

private:
    struct Item {
        enum class Kind { Text, Line, Box, Fill } kind;
        QRectF rect; // text: baseline start in topLeft; line: from topLeft to bottomRight
        Font font = Font::Body;
        QString text;
    };
    using Page = std::vector<Item>;
    friend class SheetLayoutBuilder;

    QSizeF paper;
    QFont fonts[static_cast<int>(Font::Count)];
    std::vector<Page> pages;
};

// The character's laid-out sheet into a PDF file: A4 or US Letter, portrait. The file is
// saved as a character file is (WriteFileBytes): false, with the usual failure text in
// `error`, when it cannot be written whole, and the old file is kept.
bool WriteSheetPdf(const CVARN_Character& character, const QString& path,
                   QPageSize::PageSizeId paper, QString* error);

// The sheet as the bytes of a PDF file on pages of `layout`; empty when painting failed.
QByteArray SheetPdfBytes(const varn_sheet::SheetContent& content, const QPageLayout& layout,
                         const QString& title, int resolution);
// Saves PDF bytes at `path` as WriteSheetPdf does; empty bytes are a failed save.
bool WritePdfFile(const QByteArray& bytes, const QString& path, QString* error);

// Prints every page of the sheet on `device` (a printer or a PDF writer), laid out for its
// paper. False when the painter could not start on it.
bool PaintSheet(const varn_sheet::SheetContent& content, QPagedPaintDevice& device);
