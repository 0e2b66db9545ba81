// The laid-out sheet on paper (read back from the PDF with pdftotext), File > Export and
// File > Open of a JSON character.
#include "ui/DocFixture.h"

#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/SheetContent.h"
#include "ui/SheetExport.h"
#include "ui/SheetPainter.h"

using namespace varn_test;

using SheetExport = DocFixture;

// Every talent, skill, spell and item the sheet lists shows up exactly once, on the pages
// the layout makes, and no word strays into the margins.
TEST_F(SheetExport, PdfHoldsEveryNameOnceInsideTheMarginsAndJsonGoesOutAndComesBack) {
    CVARN_Doc* doc = docs->OpenDocumentFile(kVeteran);
    ASSERT_NE(doc, nullptr);
    const CVARN_Character& c = doc->Character();
    std::vector<std::string> names;
    for (const auto& t : c.talents)
        if (t->rank > 0)
            names.push_back(t->name);
    for (const auto& s : c.skills)
        names.push_back(s->skill->name);
    for (const auto& s : c.spells)
        names.push_back(s->spell->name);
    for (const auto& e : c.equipment)
        names.push_back(e->name);
    ASSERT_GT(names.size(), 20u);

    for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        SCOPED_TRACE(paper == QPageSize::A4 ? "A4" : "Letter");
        const QString pdf = Scratch(QStringLiteral("sheet.pdf"));
        QString error;
        ASSERT_TRUE(WriteSheetPdf(c, pdf, paper, &error)) << error.toStdString();

        const QString text = PdfText(pdf).replace(QRegularExpression("\\s+"), " ");
        for (const std::string& name : names)
            EXPECT_EQ(text.count(QString::fromStdString(name)), 1) << name;

        // Word boxes in points against the page size.
        const QString boxes = PdfText(pdf, QStringLiteral("-bbox"));
        static const QRegularExpression page(
            QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
        static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">"));
        const double margin = CVARN_SheetLayout::kMarginMm / 25.4 * 72 - 0.5;
        int pages = 0, words = 0;
        double width = 0, height = 0;
        for (const QString& line : boxes.split(QLatin1Char('\n'))) {
            if (auto m = page.match(line); m.hasMatch()) {
                ++pages;
                width = m.captured(1).toDouble();
                height = m.captured(2).toDouble();
            } else if (auto w = word.match(line); w.hasMatch()) {
                ++words;
                EXPECT_GE(w.captured(1).toDouble(), margin) << line.toStdString();
                EXPECT_GE(w.captured(2).toDouble(), margin) << line.toStdString();
                EXPECT_LE(w.captured(3).toDouble(), width - margin) << line.toStdString();
                EXPECT_LE(w.captured(4).toDouble(), height - margin) << line.toStdString();
            }
        }
        EXPECT_EQ(pages, paper == QPageSize::A4 ? 3 : 4); // Letter is shorter
        EXPECT_GT(words, 300);
    }

    // Export writes the file and leaves the document alone; a JSON character opens as a new,
    // unsaved character whose Save asks for a .vrn name; a bad one is reported and opens
    // nothing.
    const QString json = Scratch(QStringLiteral("serrow.json"));
    ASSERT_TRUE(ExportDocument(*doc, CVARN_ExportKind::Json, json));
    ASSERT_TRUE(ExportDocument(*doc, CVARN_ExportKind::SheetHtml, Scratch("serrow.html")));
    EXPECT_EQ(doc->PathName(), QFileInfo(kVeteran).absoluteFilePath());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(QFile(Scratch("serrow.html")).size() > 1000);

    CVARN_Doc* imported = docs->OpenDocumentFile(json);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->Title(), "serrow");
    EXPECT_TRUE(imported->PathName().isEmpty());
    EXPECT_FALSE(imported->IsModified());
    EXPECT_EQ(WriteCharacter(imported->Character()), WriteCharacter(doc->Character()));

    const QString bad = Scratch(QStringLiteral("bad.json"));
    ASSERT_TRUE(WriteAll(bad, R"({"format": "varn-character", "version": 1, "race": "Nobody"})"));
    EXPECT_EQ(docs->OpenDocumentFile(bad), nullptr);
    EXPECT_EQ(prompt->shown, QStringList{"warn: race: no race \"Nobody\" in the data set"});
    EXPECT_FALSE(ExportDocument(*doc, CVARN_ExportKind::SheetPdf, Scratch("no/such/dir/x.pdf")));
}

// A section longer than a page runs over under its title, and its table header repeats on
// every page; the rows stay in order, each once.
TEST_F(SheetExport, LongSectionRepeatsItsTableHeader) {
    varn_sheet::SheetContent content;
    content.title = "Long";
    varn_sheet::Block table;
    table.kind = varn_sheet::Block::Kind::Table;
    table.columns = {{"Entry", varn_sheet::Align::Left}, {"Value", varn_sheet::Align::Right}};
    for (int i = 0; i < 150; ++i)
        table.rows.push_back({"Row" + std::to_string(i) + "x", std::to_string(i)});
    content.sections.push_back({"Ledger", false, {table}});
    const QString pdf = Scratch(QStringLiteral("long.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        ASSERT_TRUE(PaintSheet(content, writer));
    }
    const QString all = PdfText(pdf);
    const QStringList pages = all.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].count(QStringLiteral("Entry Value")), 1) << p;
        EXPECT_EQ(pages[p].count(QStringLiteral("LEDGER (continued)")), p > 0 ? 1 : 0) << p;
    }
    qsizetype at = 0;
    for (int i = 0; i < 150; ++i) {
        const QString row = QStringLiteral("Row%1x").arg(i);
        EXPECT_EQ(all.count(row), 1) << i;
        at = all.indexOf(row, at);
        EXPECT_GE(at, 0) << i;
    }
}
