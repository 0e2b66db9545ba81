#include "character/HtmlSheet.h"

#include "character/TextUtf8.h"

namespace {

using namespace varn_sheet;

// Texts come from data and character files byte for byte: markup characters are escaped
// and bytes that are not UTF-8 are read as Latin-1, as the desktop program shows them.
// Control characters, which a page may not hold, are shown as "\x1B".
void Escaped(std::string& out, const std::string& text) {
    const std::string utf8 = varn_text::ShowControls(text, true);
    for (char ch : utf8) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += ch;
        }
    }
}

const char* AlignClass(Align a) {
    switch (a) {
    case Align::Right:
        return " class=\"n\"";
    case Align::Center:
        return " class=\"c\"";
    default:
        return "";
    }
}

constexpr const char* kStyle = R"(<style>
@page { margin: 14mm 12mm; }
html { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 10pt;
  color: #111; background: #fff; }
body { margin: 0 auto; max-width: 190mm; padding: 6mm; }
h1 { font-size: 18pt; margin: 0; }
.sub { color: #555; font-size: 9pt; margin: 0 0 4mm 0; }
section { border: 0.6pt solid #333; border-radius: 2pt; margin: 0 0 3mm 0;
  padding: 1.5mm 2.5mm 2mm 2.5mm; break-inside: avoid; page-break-inside: avoid; }
section.long { break-inside: auto; page-break-inside: auto; }
h2 { font-size: 11pt; margin: 0 0 1.5mm 0; border-bottom: 0.6pt solid #333;
  text-transform: uppercase; letter-spacing: 0.05em; }
h3 { font-size: 10pt; margin: 2mm 0 1mm 0; }
.grid { display: grid; grid-template-columns: repeat(4, 1fr); gap: 3mm; margin-bottom: 3mm; }
.grid section { margin: 0; }
table { border-collapse: collapse; width: 100%; font-variant-numeric: tabular-nums; }
thead { display: table-header-group; }
tr { break-inside: avoid; page-break-inside: avoid; }
th { text-align: left; font-size: 9pt; border-bottom: 0.4pt solid #777; padding: 0.5mm 1.5mm; }
td { padding: 0.4mm 1.5mm; vertical-align: top; }
tbody tr:nth-child(even) td { background: #f0f0f0; }
.n { text-align: right; }
.c { text-align: center; }
table.f td:first-child { color: #444; }
table.f td:last-child { text-align: right; }
p { margin: 0 0 1mm 0; }
@media print { body { padding: 0; max-width: none; } }
</style>
)";

void WriteBlock(std::string& out, const varn_sheet::Block& b) {
    if (!b.heading.empty()) {
        out += "<h3>";
        Escaped(out, b.heading);
        out += "</h3>\n";
    }
    switch (b.kind) {
    case Block::Kind::Text:
        for (const auto& row : b.rows) {
            out += "<p>";
            Escaped(out, row.empty() ? std::string() : row[0]);
            out += "</p>\n";
        }
        return;
    case Block::Kind::Fields:
        out += "<table class=\"f\">\n";
        for (const auto& row : b.rows) {
            out += "<tr>";
            for (const std::string& cell : row) {
                out += "<td>";
                Escaped(out, cell);
                out += "</td>";
            }
            out += "</tr>\n";
        }
        out += "</table>\n";
        return;
    case Block::Kind::Table:
        out += "<table>\n<thead><tr>";
        for (const Column& col : b.columns) {
            out += "<th";
            out += AlignClass(col.align);
            out += ">";
            Escaped(out, col.title);
            out += "</th>";
        }
        out += "</tr></thead>\n<tbody>\n";
        for (const auto& row : b.rows) {
            out += "<tr>";
            for (size_t i = 0; i < row.size(); ++i) {
                out += "<td";
                out += AlignClass(i < b.columns.size() ? b.columns[i].align : Align::Left);
                out += ">";
                Escaped(out, row[i]);
                out += "</td>";
            }
            out += "</tr>\n";
        }
        out += "</tbody>\n</table>\n";
        return;
    }
}

void WriteSection(std::string& out, const varn_sheet::Section& s) {
    size_t rows = 0;
    for (const auto& b : s.blocks)
        rows += b.rows.size();
    // A box too long for one page may break; its tables repeat their headers.
    out += rows > 30 ? "<section class=\"long\">\n<h2>" : "<section>\n<h2>";
    Escaped(out, s.title);
    out += "</h2>\n";
    for (const auto& b : s.blocks)
        WriteBlock(out, b);
    out += "</section>\n";
}

} // namespace

std::string BuildHtmlSheet(const SheetContent& content) {
    std::string out;
    out.reserve(16384);
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    Escaped(out, content.title);
    out += "</title>\n";
    out += kStyle;
    out += "</head>\n<body>\n<h1>";
    Escaped(out, content.title);
    out += "</h1>\n<p class=\"sub\">";
    Escaped(out, content.subtitle);
    out += "</p>\n";
    for (size_t i = 0; i < content.sections.size();) {
        if (!content.sections[i].compact) {
            WriteSection(out, content.sections[i++]);
            continue;
        }
        out += "<div class=\"grid\">\n";
        while (i < content.sections.size() && content.sections[i].compact)
            WriteSection(out, content.sections[i++]);
        out += "</div>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

std::string BuildHtmlSheet(const CVARN_Character& character) {
    return BuildHtmlSheet(BuildSheetContent(character));
}
